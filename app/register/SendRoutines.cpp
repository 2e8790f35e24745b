#include "register/SendRoutines.h"

#include "data/ArticleStore.h"
#include "data/Codec.h"
#include "data/RegisterText.h"
#include "register/PrintImage.h"
#include "register/RegisterCommands.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/AppGlobals.h"

#include <cmath>

namespace kalvo {

namespace {

using printimage::padRight;
using printimage::trimmed;

const QString kCrLf = QStringLiteral("\r\n");

QByteArray bytes(const std::string &s) { return QByteArray(s.data(), qsizetype(s.size())); }
std::string str(const QByteArray &b) { return std::string(b.constData(), std::size_t(b.size())); }
// Register bytes shown in a message box.
QString shown(const QByteArray &b) { return ansiToUnicode(b); }
QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

std::string padLeft(const std::string &text, std::size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string zeroPadLeft(const std::string &text, std::size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), '0') + text;
}

const SendRoutines::KindInfo kKinds[SendRoutines::KindCount] = {
    {"Odeljenja", "Odeljenje:"},     {"Artikli", "Artikal:"},    {"Lager artikala", "Artikal:"},
    {"Kasiri", "Kasir:"},            {"Valute", "Valute:"},      {"Opsti podaci", "Sistem:"},
    {"Zaglavlje", "Red:"},           {"Reklama", "Red:"},        {"Jedinice mere", "Jedinica:"},
    {"Tipovi artikala", "Tip:"},     {"Poruka", "Poruka:"},
};

} // namespace

const SendRoutines::KindInfo &SendRoutines::kindInfo(Kind kind)
{
    static const KindInfo none{"", ""};
    return kind >= 0 && kind < KindCount ? kKinds[kind] : none;
}

SendRoutines::SendRoutines(AppContext &ctx, RoutineCallbacks callbacks)
    : ctx_(ctx), cb_(std::move(callbacks))
{
}

std::string SendRoutines::normalised(const std::string &text) const
{
    return ConvertRegisterText(text, !ctx_.data.CyrillicMode);
}

std::string SendRoutines::encoded(const std::string &text) const
{
    return ctx_.data.LinkSettings.DisplayCyrillic ? To8859(text) : text;
}

void SendRoutines::normaliseMessageRows()
{
    for (auto &row : messageRows)
        row = normalised(row);
}

void SendRoutines::progress(int record)
{
    if (cb_.recordNumber)
        cb_.recordNumber(record);
    if (cb_.processEvents)
        cb_.processEvents();
}

bool SendRoutines::testLink()
{
    if (ctx_.link.TestLink() == 0)
        return true;
    ctx_.ui().ask(QStringLiteral("Veza nije u redu!"), QString::fromLatin1(kAppTitle), Icon::Critical,
                  Buttons::Ok);
    return false;
}

SendRoutines::Sent SendRoutines::send(const std::string &payload, const QString &refusal)
{
    for (;;) {
        ctx_.link.FrameText = bytes(payload);
        const int result = ctx_.link.sendFrame();
        if (result == 0)
            return Sent::Accepted;
        if (result == 1) {
            if (ctx_.ui().ask(refusal + kCrLf, QString::fromLatin1(kAppTitle), Icon::None,
                              Buttons::RetryCancel) == Answer::Retry)
                continue;
            return Sent::Cancelled;
        }
        ctx_.ui().ask(QStringLiteral("Komunikacija je prekinuta!"), QStringLiteral("Orvel CAsh Registers"),
                      Icon::Exclamation, Buttons::Ok);
        return Sent::Silent;
    }
}

bool SendRoutines::run(Kind kind)
{
    switch (kind) {
    case Departments: return invia_rep();
    case Articles: return invia_plu();
    case ArticleStock: return invia_plu_inv();
    case Operators: return invia_op();
    case Currencies: return invia_val();
    case System: return invia_sist();
    case Header: return invia_int();
    case Advert: return invia_adv();
    case Units: return invia_units();
    case ArticleTypes: return invia_tip();
    case Message: return Posalji_Msg();
    case KindCount: break;
    }
    return false;
}

bool SendRoutines::invia_rep()
{
    try {
        auto &table = ctx_.data.Departments;
        for (int k = 1; k <= ProgrammingData::kDepartmentCount; ++k) {
            auto &dep = table[std::size_t(k)];
            dep.name = normalised(dep.name);
            if (!trimmed(dep.name).empty()) {
                dep.name = padRight(dep.name, 12);
                const QByteArray payload =
                    departmentPayload(k - 1, bytes(encoded(dep.name)), bytes(dep.maxPrice));
                if (send(str(payload), QStringLiteral("Odeljenje ") + twoDigits(k - 1)
                                           + QStringLiteral(" nije primljeno u kasu!"))
                    != Sent::Accepted)
                    return false;
            }
            progress(k);
        }
        return true;
    } catch (const AppError &) {
        return false; // a failed kind, without a message
    }
}

bool SendRoutines::invia_plu() { return sendArticles(false); }
bool SendRoutines::invia_plu_inv() { return sendArticles(true); }

bool SendRoutines::sendArticles(bool stockOnly)
{
    QList<Article> rows;
    try {
        rows = ArticleStore(ctx_.settings.connectionString).sendList();
    } catch (const AppError &) {
        return false; // the database could not be read: failed without a message
    }
    const QString sender = stockOnly ? QStringLiteral("frmTrasm.invia_plu_inv()") : QStringLiteral("frmTrasm.invia_plu()");
    try {
        progress(0);
        int counted = 0;
        for (const Article &row : rows) {
            if (stockOnly) {
                if (send(str(articleStockPayload(row.barCode, row.inventary)),
                         QStringLiteral(" Za artikal ") + shown(row.barCode) + QStringLiteral(" nije azuriran lager!"))
                    != Sent::Accepted)
                    return false;
                progress(++counted);
                continue;
            }
            ++counted;
            const bool qualifies = !trimmed(str(row.description)).empty() && IsListedCode(row.barCode);
            if (qualifies) {
                ArticleFields fields;
                fields.barCode = row.barCode;
                fields.department = row.department;
                const std::string field = padRight(str(row.description), 28).substr(0, 28);
                fields.description = bytes(encoded(normalised(field)));
                fields.price = row.price;
                fields.oneItem = row.oneItem;
                fields.vatCode = row.vatCode;
                fields.mesType = row.mesType;
                fields.artType = row.artType;
                if (send(str(articlePayload(fields)),
                         QStringLiteral("Artikal ") + shown(row.barCode) + QStringLiteral(" nije primljen u kasu!"))
                    != Sent::Accepted)
                    return false;
            }
            progress(counted);
        }
        return true;
    } catch (const AppError &error) {
        ShowError(error, sender, ctx_.ui());
        return false;
    }
}

bool SendRoutines::invia_op()
{
    try {
        auto &table = ctx_.data.Operators;
        for (int k = 1; k <= ProgrammingData::kOperatorCount; ++k) {
            auto &op = table[std::size_t(k)];
            if (!trimmed(op.code).empty()) {
                op.name = padRight(normalised(op.name), 12);
                op.code = padLeft(op.code, 5);
                const QByteArray payload = operatorPayload(k - 1, bytes(encoded(op.name)), bytes(op.code));
                if (send(str(payload), QStringLiteral(" Operater ") + twoDigits(k - 1)
                                           + QStringLiteral(" nije primjen u kasu!"))
                    != Sent::Accepted)
                    return false;
            }
            progress(k);
        }
        return true;
    } catch (const AppError &) {
        return false; // a failed kind, without a message
    }
}

bool SendRoutines::invia_val()
{
    try {
        normaliseMessageRows();
        auto &table = ctx_.data.Currencies;
        for (int k = 1; k <= ProgrammingData::kCurrencyCount; ++k) {
            auto &cur = table[std::size_t(k)];
            if (!trimmed(cur.name).empty()) {
                cur.name = padRight(normalised(cur.name), 12);
                cur.rate = zeroPadLeft(cur.rate, 9);
                const QByteArray payload = currencyPayload(k - 1, bytes(encoded(cur.name)), bytes(cur.rate));
                if (send(str(payload), QStringLiteral(" Valuta ") + QString::number(k - 1)
                                           + QStringLiteral(" nije primljen u kasu!"))
                    != Sent::Accepted)
                    return false;
            }
            progress(k);
        }
        return true;
    } catch (const AppError &) {
        return false; // a failed kind, without a message
    }
}

bool SendRoutines::invia_sist()
{
    try {
        auto &s = ctx_.data.RegisterSettings;
        s.registerNumber = zeroPadLeft(trimmed(s.registerNumber), 2);
        for (auto *field : {&s.printIntensity, &s.logo1Number, &s.logo2Number})
            if (trimmed(*field).empty())
                *field = "0";
        RegisterSettingsFields fields;
        fields.registerNumber = bytes(s.registerNumber);
        fields.printIntensity = bytes(s.printIntensity);
        fields.logo1Number = bytes(s.logo1Number);
        fields.logo2Number = bytes(s.logo2Number);
        fields.cashierLoginRequired = bytes(s.cashierLoginRequired);
        fields.toneSignal = bytes(s.toneSignal);
        fields.speedIndex = bytes(s.speedIndex);
        fields.testMenu = bytes(s.testMenu);
        progress(0);
        return send(str(registerSettingsPayload(fields)), QStringLiteral(" Podaci nisu primljeni u kasu!"))
               == Sent::Accepted;
    } catch (const AppError &) {
        return false; // a failed kind, without a message
    }
}

bool SendRoutines::invia_units()
{
    try {
        normaliseMessageRows();
        auto &table = ctx_.data.Units;
        for (int k = 1; k <= ProgrammingData::kUnitCount; ++k) {
            auto &unit = table[std::size_t(k)];
            if (!trimmed(unit.name).empty()) {
                unit.name = normalised(unit.name);
                const QByteArray payload = unitPayload(k, bytes(encoded(unit.name)));
                if (send(str(payload), QStringLiteral(" Jedinica ") + QString::number(k)
                                           + QStringLiteral(" nije primljena u kasu!"))
                    != Sent::Accepted)
                    return false;
            }
            progress(k);
        }
        return true;
    } catch (const AppError &) {
        return false; // a failed kind, without a message
    }
}

bool SendRoutines::invia_tip()
{
    try {
        normaliseMessageRows();
        auto &table = ctx_.data.ArticleTypes;
        for (int k = 1; k <= ProgrammingData::kArticleTypeCount; ++k) {
            auto &type = table[std::size_t(k)];
            type.name = normalised(type.name);
            if (!trimmed(type.name).empty()) {
                const QByteArray payload = articleTypePayload(k, bytes(encoded(type.name)));
                if (send(str(payload), QStringLiteral(" Tip ") + QString::number(k)
                                           + QStringLiteral(" nije primljen u kasu!"))
                    != Sent::Accepted)
                    return false;
            }
            progress(k);
        }
        return true;
    } catch (const AppError &) {
        return false; // a failed kind, without a message
    }
}

bool SendRoutines::invia_int() { return sendLines(true); }

bool SendRoutines::invia_adv()
{
    normaliseMessageRows();
    return sendLines(false);
}

bool SendRoutines::sendLines(bool header)
{
    try {
        auto &lines = header ? ctx_.data.HeaderLines : ctx_.data.AdvertLines;
        auto &layouts = header ? ctx_.data.HeaderLayouts : ctx_.data.AdvertLayouts;
        const int width = ctx_.data.LinkSettings.lineWidth;
        constexpr int kLines = ProgrammingData::kLinesUsed;

        for (int r = 0; r < kLines; ++r) {
            auto &stored = lines[std::size_t(r)];
            if (printimage::isEmptyStoredLine(stored))
                continue;
            stored = printimage::normaliseStoredLine(stored, [this](const std::string &t) { return normalised(t); });
            const printimage::LineImage image = printimage::layoutForSending(stored, width);
            auto &layout = layouts[std::size_t(r)];
            layout.text = image.text;
            layout.bold = image.bold;
            layout.centered = image.centered;
        }
        std::array<std::string, kLines> images;
        for (int r = 0; r < kLines; ++r) {
            const auto &layout = layouts[std::size_t(r)];
            std::string text = layout.text;
            if (layout.bold)
                text = printimage::boldImage(text);
            if (layout.centered)
                text = printimage::centredImage(text, width);
            images[std::size_t(r)] = text;
        }
        printimage::markEmptyTrailingLines(images);
        // the layouts hold the print images from here on
        for (int r = 0; r < kLines; ++r)
            layouts[std::size_t(r)].text = images[std::size_t(r)];

        for (int r = 0; r < kLines; ++r) {
            auto &layout = layouts[std::size_t(r)];
            layout.text = normalised(layout.text);
            const QByteArray image = bytes(encoded(layout.text));
            const QByteArray payload = header ? headerLinePayload(r, image) : advertLinePayload(r, image);
            const QString refusal = header ? QStringLiteral(" Red zaglavlja %1 nije primljen u kasu!").arg(r)
                                           : QStringLiteral(" Red reklame %1 nije primljen u kasu!").arg(r);
            if (send(str(payload), refusal) != Sent::Accepted)
                return false;
            progress(r + 1);
        }
        return true;
    } catch (const AppError &) {
        return false; // a failed kind, without a message
    }
}

bool SendRoutines::Posalji_Msg()
{
    try {
        normaliseMessageRows();
        std::array<QByteArray, 3> rows;
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i] = bytes(encoded(padRight(messageRows[i], 32)));
        progress(0);
        const bool ok = send(str(messagePayload(rows[0], rows[1], rows[2])),
                             QStringLiteral(" Poruka nije primljena u kasu!"))
                        == Sent::Accepted;
        normaliseMessageRows();
        return ok;
    } catch (const AppError &) {
        return false; // a failed kind, without a message
    }
}

} // namespace kalvo
