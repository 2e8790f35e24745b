#include "register/ReceiveRoutines.h"

#include "data/ArticleStore.h"
#include "data/RegisterText.h"
#include "register/RegisterCommands.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/AppGlobals.h"

namespace kalvo {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

std::string str(const QByteArray &b) { return std::string(b.constData(), std::size_t(b.size())); }
QString title() { return QString::fromLatin1(kAppTitle); }

const ReceiveRoutines::KindInfo kKinds[ReceiveRoutines::KindCount] = {
    {"Odeljenja", "Odeljenje:"}, {"Artikli", "Artikal:"},   {"Prodati artikli", "Artikal:"},
    {"Kasiri", "Kasir:"},        {"Valute", "Valuta:"},     {"Opsti podaci", "Sistem:"},
    {"Poreske stope", "Stopa:"}, {"Jedinice mere", "Jedinica:"}, {"Tipovi artikala", "Tip:"},
};

// Replaces every name of a table's used range by its From8859 form.
template <typename Table, typename Name>
void namesFrom8859(Table &table, int first, int last, Name name)
{
    for (int k = first; k <= last; ++k) {
        std::string &text = name(table[std::size_t(k)]);
        text = From8859(text);
    }
}

// ReplyText ends with the answer frame's first checksum character; the fields are read
// from the payload alone, so a short answer never lends that character to a name.
QByteArray answerPayload(const QByteArray &replyText)
{
    return replyText.isEmpty() ? replyText : replyText.chopped(1);
}

} // namespace

const ReceiveRoutines::KindInfo &ReceiveRoutines::kindInfo(Kind kind)
{
    static const KindInfo none{"", ""};
    return kind >= 0 && kind < KindCount ? kKinds[kind] : none;
}

ReceiveRoutines::ReceiveRoutines(AppContext &ctx, RoutineCallbacks callbacks)
    : ctx_(ctx), cb_(std::move(callbacks))
{
}

void ReceiveRoutines::progress(int record)
{
    if (cb_.recordNumber)
        cb_.recordNumber(record);
    if (cb_.processEvents)
        cb_.processEvents();
}

bool ReceiveRoutines::testLink()
{
    return ctx_.link.TestLink() == 0;
}

bool ReceiveRoutines::run(Kind kind)
{
    switch (kind) {
    case Departments: return ricevi_rep();
    case Articles: return ricevi_plu();
    case SoldArticles: return ricevi_plu_sold();
    case Operators: return ricevi_op();
    case Currencies: return ricevi_val();
    case System: return ricevi_sist();
    case VatRates: return ricevi_Iva();
    case Units: return ricevi_units();
    case ArticleTypes: return ricevi_tip();
    case KindCount: break;
    }
    return false;
}

int ReceiveRoutines::exchange(const QByteArray &request, bool slow)
{
    auto &link = ctx_.link;
    link.FrameText = request;
    return slow ? link.get_frame120s(link.FrameText) : link.getFrame();
}

ReceiveRoutines::Got ReceiveRoutines::get(const QByteArray &request, const QString &failure, bool slow,
                                          bool decimalPoints)
{
    for (;;) {
        const int n = exchange(request, slow);
        if (n > 0) {
            if (decimalPoints)
                ctx_.link.ReplyText = withDecimalPoints(ctx_.link.ReplyText);
            reply_ = answerPayload(ctx_.link.ReplyText);
            return Got::Answer;
        }
        if (n == 0)
            return Got::Ack;
        if (ctx_.ui().ask(failure + kCrLf, title(), Icon::None, Buttons::RetryCancel) != Answer::Retry)
            return Got::Cancelled;
    }
}

bool ReceiveRoutines::ricevi_rep()
{
    try {
        auto &data = ctx_.data;
        data.CyrillicFormFlags.departments = false;
        for (int i = 0; i < ProgrammingData::kDepartmentCount; ++i) {
            const Got got = get(departmentRequest(i),
                                QStringLiteral(" Odeljenje %1 nije primljeno iz kase!").arg(i + 1));
            if (got == Got::Cancelled)
                return false;
            if (got == Got::Ack)
                continue;
            const auto answer = parseDepartmentAnswer(reply_);
            if (!answer)
                return false;
            auto &dep = data.Departments[std::size_t(answer->element)];
            dep.name = str(answer->name);
            dep.maxPrice = str(answer->maxPrice);
            dep.salesAmount = str(answer->salesAmount);
            dep.salesQuantity = str(answer->salesQuantity);
            if (HasNoLatinLetters(dep.name))
                data.CyrillicFormFlags.departments = true;
            progress(i + 1);
        }
        if (data.CyrillicFormFlags.departments)
            namesFrom8859(data.Departments, 1, ProgrammingData::kDepartmentCount,
                          [](DepartmentRecord &r) -> std::string & { return r.name; });
        return true;
    } catch (const AppError &) {
        return false; // a failed kind, without a message
    }
}

bool ReceiveRoutines::ricevi_Iva()
{
    try {
        for (int i = 0; i < ProgrammingData::kVatRateCount; ++i) {
            const Got got = get(vatRateRequest(i),
                                QStringLiteral(" Stopa %1 nije primljena iz kase!").arg(i, 2, 10, QLatin1Char('0')));
            if (got == Got::Cancelled)
                return false;
            if (got == Got::Ack)
                continue;
            const auto answer = parseVatRateAnswer(reply_);
            if (!answer)
                return false;
            auto &vat = ctx_.data.VatRates[std::size_t(answer->element)];
            vat.rate = str(answer->rate);
            vat.salesAmount = str(answer->salesAmount);
            progress(i);
        }
        return true;
    } catch (const AppError &) {
        return false; // a failed kind, without a message
    }
}

bool ReceiveRoutines::ricevi_op()
{
    try {
        auto &data = ctx_.data;
        for (int i = 0; i < ProgrammingData::kOperatorCount; ++i) {
            const Got got = get(operatorRequest(i), QStringLiteral(" Kasir %1 nije primljen iz kase!").arg(i + 1));
            if (got == Got::Cancelled)
                return false;
            if (got == Got::Ack)
                continue;
            const auto answer = parseOperatorAnswer(reply_);
            if (!answer || answer->element > ProgrammingData::kOperatorCount)
                return false;
            auto &op = data.Operators[std::size_t(answer->element)];
            op.name = str(answer->name);
            op.code = str(answer->code);
            op.salesAmount = str(answer->salesAmount);
            op.receiptCount = str(answer->receiptCount);
            if (HasNoLatinLetters(op.name))
                data.CyrillicFormFlags.operators = true;
            progress(i + 1);
        }
        if (data.CyrillicFormFlags.operators)
            namesFrom8859(data.Operators, 1, ProgrammingData::kOperatorCount,
                          [](OperatorRecord &r) -> std::string & { return r.name; });
        return true;
    } catch (const AppError &) {
        return false; // a failed kind, without a message
    }
}

bool ReceiveRoutines::ricevi_val()
{
    try {
        auto &data = ctx_.data;
        data.CyrillicFormFlags.currencies = false;
        for (int i = 0; i < ProgrammingData::kCurrencyCount; ++i) {
            const Got got = get(currencyRequest(i), QStringLiteral(" Valuta %1 nije primljena iz kase!").arg(i + 1));
            if (got == Got::Cancelled)
                return false;
            if (got == Got::Ack)
                continue;
            const auto answer = parseCurrencyAnswer(reply_);
            if (!answer)
                return false;
            auto &cur = data.Currencies[std::size_t(answer->element)];
            cur.name = str(answer->name);
            cur.rate = str(answer->rate);
            if (HasNoLatinLetters(cur.name))
                data.CyrillicFormFlags.currencies = true;
            progress(i + 1);
        }
        if (data.CyrillicFormFlags.currencies)
            namesFrom8859(data.Currencies, 1, ProgrammingData::kCurrencyCount,
                          [](CurrencyRecord &r) -> std::string & { return r.name; });
        return true;
    } catch (const AppError &) {
        return false; // a failed kind, without a message
    }
}

bool ReceiveRoutines::ricevi_sist()
{
    try {
        const Got got = get(registerSettingsRequest(), QStringLiteral("Podaci o sistemu nisu primljeni iz kase!"));
        if (got == Got::Cancelled)
            return false;
        if (got == Got::Ack)
            return true;
        const auto answer = parseRegisterSettingsAnswer(reply_);
        if (!answer)
            return false;
        auto &s = ctx_.data.RegisterSettings;
        s.registerNumber = str(answer->registerNumber);
        s.printIntensity = str(answer->printIntensity);
        s.logo1Number = str(answer->logo1Number);
        if (answer->logo1On)
            s.logo1Enabled = "1";
        s.logo2Number = str(answer->logo2Number);
        if (answer->logo2On)
            s.logo2Enabled = "1";
        s.cashierLoginRequired = str(answer->cashierLoginRequired);
        s.toneSignal = str(answer->toneSignal);
        s.speedIndex = str(answer->speedIndex);
        s.testMenu = str(answer->testMenu);
        return true;
    } catch (const AppError &) {
        return false; // a failed kind, without a message
    }
}

template <typename Table>
bool ReceiveRoutines::receiveNames(Table &table, int count, bool &cyrillicFlag, QByteArray (*request)(int),
                                   std::optional<QByteArray> (*parse)(QByteArrayView),
                                   const QString &failureFormat)
{
    try {
        cyrillicFlag = false;
        for (int i = 1; i <= count; ++i) {
            const Got got = get(request(i), failureFormat.arg(i));
            if (got == Got::Cancelled)
                return false;
            if (got == Got::Ack)
                continue;
            const auto name = parse(reply_);
            if (!name)
                return false;
            table[std::size_t(i)].name = str(*name);
            if (HasNoLatinLetters(table[std::size_t(i)].name))
                cyrillicFlag = true;
            progress(i);
        }
        if (cyrillicFlag)
            namesFrom8859(table, 1, count, [](auto &r) -> std::string & { return r.name; });
        return true;
    } catch (const AppError &) {
        return false; // a failed kind, without a message
    }
}

bool ReceiveRoutines::ricevi_units()
{
    auto &data = ctx_.data;
    return receiveNames(data.Units, ProgrammingData::kUnitCount, data.CyrillicFormFlags.units, unitRequest,
                        parseUnitAnswer, QStringLiteral(" Jedinica %1 nije primljena iz kase!"));
}

bool ReceiveRoutines::ricevi_tip()
{
    auto &data = ctx_.data;
    return receiveNames(data.ArticleTypes, ProgrammingData::kArticleTypeCount, data.CyrillicFormFlags.articleTypes,
                        articleTypeRequest, parseArticleTypeAnswer, QStringLiteral(" Tip %1 nije primljen iz kase!"));
}

bool ReceiveRoutines::ricevi_plu() { return readArticles(false); }
bool ReceiveRoutines::ricevi_plu_sold() { return readArticles(true); }

namespace {

// An answer that cannot be read where the article lists need a value.
constexpr qint32 kErrBadAnswer = 13;

[[noreturn]] void badAnswer(const QString &what)
{
    throw AppError(kErrBadAnswer, QStringLiteral("Neispravan odgovor kase (%1)").arg(what));
}

double number(const QByteArray &text, const char *field)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok)
        badAnswer(QString::fromLatin1(field));
    return value;
}

int wholeNumber(const QByteArray &text, const char *field)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        badAnswer(QString::fromLatin1(field));
    return value;
}

} // namespace

bool ReceiveRoutines::readArticles(bool sold)
{
    const QString failure = QStringLiteral("Greska pri prenosu podataka!");
    try {
        const ArticleStore store(ctx_.settings.connectionString);
        ReadBackWriter writer(store, sold ? ReadBackList::SoldArticles : ReadBackList::Articles);
        writer.clear();

        const Got status = get(QByteArray(kStatusRequest), failure);
        if (status == Got::Cancelled)
            return false;
        if (status == Got::Ack)
            badAnswer(QStringLiteral("broj artikala"));
        const auto parsed = parseRegisterStatus(reply_);
        if (!parsed)
            badAnswer(QStringLiteral("broj artikala"));
        const int count = parsed->articleCount;

        QByteArray request(kFirstArticleRequest);
        for (int c = 0; c <= count; ++c) {
            if (!sold)
                progress(c);
            const Got got = get(request, failure, sold, true);
            if (got == Got::Cancelled)
                return false;
            if (got == Got::Ack)
                break;
            const auto answer = parseArticleAnswer(reply_);
            if (!answer)
                badAnswer(QStringLiteral("artikal"));
            ReadBackArticle row;
            row.barCode = answer->barCode;
            row.department = wholeNumber(answer->department, "DEPARTMENT");
            std::string name = str(answer->description);
            if (HasNoLatinLetters(name)) {
                name = From8859(name);
                ctx_.data.CyrillicFormFlags.articles = true;
            }
            row.description = QByteArray(name.data(), qsizetype(name.size()));
            row.price = number(answer->price, "PRICE");
            row.oneItem = number(answer->oneItem, "ONE_ITEM") != 0;
            row.vatCode = wholeNumber(answer->vatCode, "VAT_CODE");
            row.mesType = wholeNumber(answer->mesType, "MES_TYPE");
            row.artType = wholeNumber(answer->artType, "ART_TYPE");
            row.total = number(answer->total, "TOTAL");
            row.qty = number(answer->qty, "QTY");
            row.inventary = number(answer->inventary, "INVENTARY");
            if (!sold || row.qty != 0) {
                writer.add(row);
                if (sold)
                    progress(writer.added());
            }
            request = QByteArray(sold ? kNextSoldArticleRequest : kNextArticleRequest);
        }
        return true;
    } catch (const AppError &error) {
        ShowError(error, sold ? QStringLiteral("frmRicevi.ricevi_plu_sold()") : QStringLiteral("frmRicevi.ricevi_plu()"),
                  ctx_.ui());
        return false;
    }
}

bool ReceiveRoutines::confirm()
{
    return ctx_.ui().ask(QStringLiteral("Da li ste sigurni?"), title(), Icon::Exclamation, Buttons::YesNo)
           == Answer::Yes;
}

void ReceiveRoutines::Command1_Click()
{
    try {
        if (!confirm())
            return;
        auto &link = ctx_.link;
        if (link.TestLink() != 0) {
            ctx_.ui().ask(QStringLiteral("Veza nije u redu!"), title(), Icon::Critical, Buttons::Ok);
            return;
        }
        if (exchange(QByteArray(kStatusRequest)) <= 0) {
            ctx_.ui().ask(QStringLiteral("Komunikacija nije dobra !"), title(), Icon::Critical, Buttons::Ok);
            return;
        }
        const auto status = parseRegisterStatus(answerPayload(link.ReplyText));
        if (!status) {
            ctx_.ui().ask(QStringLiteral("Komunikacija nije dobra !"), title(), Icon::Critical, Buttons::Ok);
            return;
        }
        int remaining = status->articleCount;
        exchange(QByteArray(kFirstArticleRequest)); // the answer is not used
        if (cb_.kindCaption)
            cb_.kindCaption(QStringLiteral("Artikal:"));
        for (int i = 0; i < status->articleCount; ++i) {
            const int n = exchange(QByteArray(kFirstArticleRequest));
            if (n < 0)
                return;
            if (n > 0) {
                link.ReplyText = withDecimalPoints(link.ReplyText);
                link.FrameText = deleteArticlePayload(answerPayload(link.ReplyText));
                if (link.sendFrame() != 0) {
                    ctx_.ui().ask(QStringLiteral("Operacija brisanja nije izvrsena! Da li ste izvrsili dnevni izvestaj ?"),
                                  QStringLiteral("Orvel Cash Registers "), Icon::Critical, Buttons::Ok);
                    return;
                }
            }
            --remaining;
            progress(remaining);
        }
    } catch (const AppError &error) {
        ShowError(error, QStringLiteral("frmRicevi.Command1_Click()"), ctx_.ui());
    }
}

void ReceiveRoutines::Command2_Click()
{
    try {
        if (!confirm())
            return;
        auto &link = ctx_.link;
        if (link.TestLink() != 0) {
            ctx_.ui().ask(QStringLiteral("Veza nije u redu!"), title(), Icon::Critical, Buttons::Ok);
            return;
        }
        link.FrameText = eraseArticleSalesPayload();
        if (link.sendFrame() != 0) {
            ctx_.ui().ask(QStringLiteral("Operacija nije izvrsena !"), title(), Icon::Critical, Buttons::Ok);
            return;
        }
        if (exchange(QByteArray(kStatusRequest), true) > 0)
            ctx_.ui().ask(QStringLiteral("Operacija izvrsena !"), title(), Icon::Information, Buttons::Ok);
        else
            ctx_.ui().ask(QStringLiteral("Operacija nije izvrsena !"), title(), Icon::Critical, Buttons::Ok);
    } catch (const AppError &error) {
        ShowError(error, QStringLiteral("frmRicevi.Command2_Click()"), ctx_.ui());
    }
}

} // namespace kalvo
