#include "data/ProgrammingData.h"

namespace kalvo {

std::string RegisterSettings::text() const
{
    return registerNumber.str() + printIntensity.str() + speedIndex.str() + logo1Enabled.str()
           + logo1Number.str() + logo2Enabled.str() + logo2Number.str() + cashierLoginRequired.str()
           + toneSignal.str() + testMenu.str();
}

void CyrillicFormFlags::setAll(bool value)
{
    headerLines = operators = departments = articles = value;
    currencies = advertLines = units = articleTypes = value;
}

std::string StoredLine(const LineLayout &layout)
{
    std::string line = layout.text;
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    // exactly 32: a longer text would move the flags off characters 33 and 34 (and no
    // printed line is wider than 32)
    line.resize(kStoredLineTextWidth, ' ');
    line += layout.bold ? '1' : '0';
    line += layout.centered ? '1' : '0';
    return line;
}

LineLayout LayoutFromStoredLine(const std::string &stored, int lineWidth)
{
    LineLayout layout;
    const std::size_t width = lineWidth > 0 ? std::size_t(lineWidth) : 0;
    layout.text = stored.substr(0, std::min(width, stored.size()));
    // the padding of the stored form is not part of the text (it would count against the
    // line width in the editor)
    while (!layout.text.empty() && layout.text.back() == ' ')
        layout.text.pop_back();
    // character 33: its numeric value (a digit, anything else counts as 0)
    const char boldFlag = stored.size() > kStoredLineTextWidth ? stored[kStoredLineTextWidth] : '\0';
    layout.bold = boldFlag >= '1' && boldFlag <= '9';
    // character 34: anything but "0" (a missing character included) is centred
    layout.centered = !(stored.size() > kStoredLineTextWidth + 1 && stored[kStoredLineTextWidth + 1] == '0');
    return layout;
}

int PrintWidth(const LineLayout &layout)
{
    int width = 0;
    for (char c : layout.text)
        width += (layout.bold && c != ' ') ? 2 : 1;
    return width;
}

void ProgrammingData::ResetLines()
{
    for (int i = 0; i < kLinesUsed; ++i) {
        HeaderLines[i].clear();
        AdvertLines[i].clear();
        HeaderLayouts[i] = LineLayout{};
        AdvertLayouts[i] = LineLayout{};
    }
}

void ProgrammingData::ResetRegisterSettings()
{
    RegisterSettings = kalvo::RegisterSettings{};
}

void ProgrammingData::ResetDepartments()
{
    for (int i = 0; i <= kDepartmentCount; ++i) {
        DepartmentRecord &d = Departments[i];
        d.name = "Odeqewe " + std::to_string(i);
        d.maxPrice.clear();
        d.vatGroup = "0";
        d.singleItem = "0";
        d.salesAmount = "0";
        d.salesQuantity = "0";
    }
}

void ProgrammingData::ResetOperators()
{
    for (int i = 1; i <= kOperatorCount; ++i) {
        OperatorRecord &o = Operators[i];
        o.code = std::to_string(i);
        o.name = "Kasir " + std::to_string(i);
        o.salesAmount = "0";
        o.receiptCount = "0";
    }
}

void ProgrammingData::ResetLinkSettings(const std::string &pulseDialPrefix)
{
    LinkSettings.DisplayCyrillic = true;
    LinkSettings.port = 1;
    LinkSettings.lineWidth = 22;
    LinkSettings.dialMode = pulseDialPrefix;
    LinkSettings.phoneNumber.clear();
    LinkSettings.phonePassword.clear();
    LinkSettings.baudRate = 9600;
}

void ProgrammingData::ResetUnitNames()
{
    for (int i = 1; i <= kUnitCount; ++i)
        Units[i].name = "JM" + std::to_string(i + 5);
}

void ProgrammingData::ResetArticleTypeNames()
{
    for (int i = 1; i <= kArticleTypeCount; ++i)
        ArticleTypes[i].name = "Tip " + std::to_string(i);
}

void ProgrammingData::ResetDepartmentNames()
{
    // the sign-padded number form: a blank stands where a minus sign would
    for (int i = 1; i <= kDepartmentCount; ++i)
        Departments[i].name = "Odeqewe  " + std::to_string(i);
}

void ProgrammingData::ResetTables()
{
    ResetLines();
    ResetRegisterSettings();
    ResetDepartments();
    ResetOperators();
}

void ProgrammingData::LayoutsFromLines()
{
    for (int i = 0; i < kLinesUsed; ++i) {
        HeaderLayouts[i] = LayoutFromStoredLine(HeaderLines[i], LinkSettings.lineWidth);
        AdvertLayouts[i] = LayoutFromStoredLine(AdvertLines[i], LinkSettings.lineWidth);
    }
}

void ProgrammingData::LinesFromLayouts()
{
    for (int i = 0; i < kLinesUsed; ++i) {
        HeaderLines[i] = StoredLine(HeaderLayouts[i]);
        AdvertLines[i] = StoredLine(AdvertLayouts[i]);
    }
}

} // namespace kalvo
