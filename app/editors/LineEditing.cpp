#include "editors/LineEditing.h"

#include "data/RegisterText.h"

namespace kalvo {

namespace {

std::array<std::string, ProgrammingData::kLineCapacity> &storedLines(ProgrammingData &data, LineTable table)
{
    return table == LineTable::Header ? data.HeaderLines : data.AdvertLines;
}

std::array<LineLayout, ProgrammingData::kLineCapacity> &layouts(ProgrammingData &data, LineTable table)
{
    return table == LineTable::Header ? data.HeaderLayouts : data.AdvertLayouts;
}

void trimRight(std::string &text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
}

} // namespace

int LineBoxLength(int lineWidth)
{
    return lineWidth == 22 ? 22 : 32;
}

EditedLines LoadLinesForEditing(ProgrammingData &data, LineTable table)
{
    auto &stored = storedLines(data, table);
    auto &layout = layouts(data, table);
    EditedLines shown{};
    for (int i = 0; i < ProgrammingData::kLinesUsed; ++i) {
        if (stored[i].size() <= 2)
            continue;
        // only the text part is converted: a digraph that grows or shrinks the text must
        // not move the flags off characters 33 and 34
        std::string text = stored[i].substr(0, std::min(stored[i].size(), kStoredLineTextWidth));
        trimRight(text);
        text = ConvertRegisterText(text, !data.CyrillicMode);
        text.resize(kStoredLineTextWidth, ' ');
        const std::string flags = stored[i].size() > kStoredLineTextWidth ? stored[i].substr(kStoredLineTextWidth) : std::string();
        stored[i] = text + flags;
        layout[i] = LayoutFromStoredLine(stored[i], data.LinkSettings.lineWidth);
        shown[i] = layout[i];
    }
    return shown;
}

QString CheckLines(const EditedLines &lines, int lineWidth)
{
    for (int n = 1; n <= ProgrammingData::kLinesUsed; ++n) {
        const LineLayout &line = lines[n - 1];
        if (line.text.size() > std::size_t(std::max(lineWidth, 0)))
            return QStringLiteral(" Broj karaktera u redu %1 je veci od %2 ! ").arg(n).arg(lineWidth);
        if (line.bold && PrintWidth(line) > lineWidth)
            return QStringLiteral(" Podebljana slova zauzimaju 2 mesta tako da je broj karaktera u redu %1 veci od %2 ! ")
                .arg(n)
                .arg(lineWidth);
    }
    return QString();
}

QString SaveEditedLines(ProgrammingData &data, LineTable table, EditedLines lines)
{
    for (LineLayout &line : lines)
        trimRight(line.text);
    const QString failure = CheckLines(lines, data.LinkSettings.lineWidth);
    if (!failure.isEmpty())
        return failure;
    auto &stored = storedLines(data, table);
    auto &layout = layouts(data, table);
    for (int i = 0; i < ProgrammingData::kLinesUsed; ++i) {
        layout[i] = lines[i];
        stored[i] = StoredLine(lines[i]);
    }
    return QString();
}

} // namespace kalvo
