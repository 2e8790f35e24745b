// kalvo-cli: the workstation's routines from the command line, for scripted and batch work.
// It reads the same Kalvo.ini as the program, opens the same article database and drives
// the same send, receive, programming-file and article routines; the messages those
// routines would show go to stderr (ConsolePrompter).
#include "ArticleCsv.h"
#include "ConsolePrompter.h"
#include "JsonOut.h"

#include "data/ArticleStore.h"
#include "data/Codec.h"
#include "data/ProgrammingFile.h"
#include "register/ReceiveRoutines.h"
#include "register/RegisterCommands.h"
#include "register/SendRoutines.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/AppGlobals.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QSaveFile>

#include <array>
#include <cstdio>
#include <optional>
#include <vector>

namespace kalvo::cli {
namespace {

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;   // a kind failed, a file was refused, a row was refused
constexpr int kExitUsage = 2;    // bad command line
constexpr int kExitLink = 3;     // the port could not be opened or the register did not answer

constexpr qint32 kErrInternal = 51;

const char kProgramHelp[] =
    "Usage: kalvo-cli [options] COMMAND [arguments]\n"
    "\n"
    "Drives the workstation's own routines without the windows: the same Kalvo.ini, article\n"
    "database, programming file reader and writer, and send and receive routines.\n"
    "\n"
    "Commands:\n"
    "  file show FILE             print a programming file as JSON\n"
    "  file copy IN OUT           read IN and write it to OUT\n"
    "  send KIND...               send programming data to the register\n"
    "  receive KIND...            read programming data and sales back from the register\n"
    "  articles list              print the article table as JSON\n"
    "  articles export CSV        write the article table as CSV (\"-\": stdout)\n"
    "  articles import CSV        add or change articles from CSV (\"-\": stdin)\n"
    "  delete-articles            delete every article in the register (asks; --yes)\n"
    "  erase-sales                erase the register's article sales (asks; --yes)\n"
    "  test-link                  test the link to the register\n"
    "  status                     print the register's status as JSON\n"
    "  help [COMMAND]             this text, or a command's\n"
    "\n"
    "Options for every command:\n"
    "  --ini PATH       settings file (default: Kalvo.ini beside the program)\n"
    "  --retries N      answer a Retry/Cancel question with Retry up to N times, then\n"
    "                   Cancel (default 0)\n"
    "  --yes            answer Yes/No questions with Yes (default No)\n"
    "  --help, -h       help (after a command: that command's help)\n"
    "  --version        the program version\n"
    "\n"
    "Line options (send, receive, delete-articles, erase-sales, test-link, status):\n"
    "  --port N         COM<N> (default: the port saved by the line window, else 1)\n"
    "  --device PATH    the device behind that port (sets ZIB_COM<N>)\n"
    "  --baud RATE      line speed (default: the saved speed, else 9600)\n"
    "  --modem          use the modem variants of the link (the line is already dialled)\n"
    "\n"
    "Every message box of the routines is written to stderr as \"title: text\", followed by\n"
    "the answer given when it asks a question. Exit status: 0 success, 1 something failed\n"
    "or was refused, 2 bad command line, 3 the port could not be opened or the register\n"
    "did not answer.\n";

const char kFileHelp[] =
    "Usage: kalvo-cli file show FILE\n"
    "       kalvo-cli file copy IN OUT\n"
    "\n"
    "show: reads FILE with the program's reader and prints every table as JSON, with\n"
    "\"FileVersion\" and \"ok\" (whether the reader read every key). Exit 0 when it did,\n"
    "1 otherwise (the reader's message is on stderr).\n"
    "copy: reads IN and writes it to OUT with the program's writer. An existing OUT keeps\n"
    "the lines the writer does not write. Nothing is written when IN is not read whole.\n";

const char kSendHelp[] =
    "Usage: kalvo-cli send KIND... [--file PROGFILE] [--message \"row1|row2|row3\"] [line options]\n"
    "\n"
    "Tests the link, then sends the kinds in the send window's fixed order, whatever order\n"
    "they are given in, and prints one line per kind: \"KIND: ok\" or \"KIND: failed\".\n"
    "Kinds: departments, articles, stock, cashiers, currencies, system, header, advert,\n"
    "units, types, message; \"all\" is every kind but message.\n"
    "  --file PROGFILE   the programming data to send (default: the program's start-up\n"
    "                    tables); its SETLNG decides the Cyrillic mode, as when the main\n"
    "                    window opens a file\n"
    "  --message TEXT    the three message rows, separated by '|' (each at most the line\n"
    "                    width of the data: 22 or 32 characters)\n"
    "Articles and their stock come from the article database. Exit 0 only when every kind\n"
    "succeeded.\n";

const char kReceiveHelp[] =
    "Usage: kalvo-cli receive KIND... [--file PROGFILE] [--save PROGFILE] [line options]\n"
    "\n"
    "Tests the link, then reads the kinds in the receive window's fixed order and prints\n"
    "JSON: \"results\" (true/false per kind) and the tables received.\n"
    "Kinds: departments, articles, sold, cashiers, currencies, system, vat, units, types;\n"
    "\"all\" is every kind.\n"
    "Article lists go into the read-back tables ZIB_PLU_RCV (articles) and ZIB_PLU_RCV_SOLD\n"
    "(sold), as in the receive window; the article table is not changed.\n"
    "  --file PROGFILE   the programming data to start from (default: the program's\n"
    "                    start-up tables, or the --save file when it exists)\n"
    "  --save PROGFILE   write the programming data to this file afterwards\n"
    "Exit 0 only when every kind succeeded (and the file was written).\n";

const char kArticlesHelp[] =
    "Usage: kalvo-cli articles list\n"
    "       kalvo-cli articles export CSV\n"
    "       kalvo-cli articles import CSV\n"
    "\n"
    "list: every row of ZIB_PLU as JSON, in code order.\n"
    "export: the same rows as CSV (UTF-8, a header row, the columns of ZIB_PLU:\n"
    "BAR_CODE,DESCRIPTION,PRICE,VAT_CODE,MES_TYPE,ART_TYPE,ONE_ITEM,DEPARTMENT,INVENTARY,\n"
    "MAX_VALUE). \"-\" writes to stdout.\n"
    "import: checks every row with the article editor's rules (price limit maxcena of\n"
    "Kalvo.ini); a row whose code is stored changes that article, any other row adds one.\n"
    "Every refused row is reported with its line number and message, and then nothing is\n"
    "changed. MAX_VALUE is optional and ignored; columns may come in any order. \"-\" reads\n"
    "stdin.\n";

const char kRegisterOpHelp[] =
    "Usage: kalvo-cli delete-articles [--yes] [line options]\n"
    "       kalvo-cli erase-sales [--yes] [line options]\n"
    "\n"
    "The receive window's two operations that change the register: delete every article\n"
    "in it (\"Brisanje PLU\"), or erase its article sales (\"Brisanje prom.\"). Both ask\n"
    "\"Da li ste sigurni?\" first: without --yes the answer is No and nothing is changed\n"
    "(exit 1). Exit 1 also when the routine reported a failure.\n";

const char kTestLinkHelp[] =
    "Usage: kalvo-cli test-link [line options]\n"
    "\n"
    "Tests the link as the send window does; prints \"ok\" and exits 0 when the register\n"
    "answered, else shows \"Veza nije u redu!\" and exits 3.\n";

const char kStatusHelp[] =
    "Usage: kalvo-cli status [line options]\n"
    "\n"
    "Asks the register for its status (\"n\", up to three times) and prints the decoded\n"
    "answer as JSON: menuPosition, lastError, operatingState, articleCount. Exit 3 when no\n"
    "answer came, 1 when the answer could not be decoded.\n";

struct Options {
    QString ini;
    std::optional<int> port;
    QString device;
    std::optional<qint32> baud;
    bool modem = false;
    QString file;
    QString save;
    std::optional<QString> message;
    int retries = 0;
    bool yes = false;
    bool help = false;
    bool version = false;
    QStringList positional;
    QStringList given; // options seen, by name
};

void err(const QString &text)
{
    const QByteArray bytes = (QStringLiteral("kalvo-cli: ") + text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void out(const QString &text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

std::optional<long long> wholeNumber(const QString &text, long long minimum, long long maximum)
{
    bool ok = false;
    const long long value = text.toLongLong(&ok);
    if (!ok || value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

// Parses the command line; false with a message on a fault.
bool parseOptions(const QStringList &args, Options &o, QString &error)
{
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        if (!a.startsWith(QLatin1String("-")) || a == QLatin1String("-")) {
            o.positional << a;
            continue;
        }
        QString name = a;
        std::optional<QString> inlineValue;
        if (const qsizetype eq = a.indexOf(QLatin1Char('=')); a.startsWith(QLatin1String("--")) && eq > 0) {
            name = a.left(eq);
            inlineValue = a.mid(eq + 1);
        }
        auto value = [&]() -> std::optional<QString> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 >= args.size()) {
                error = name + QStringLiteral(" needs a value");
                return std::nullopt;
            }
            return args[++i];
        };
        auto flagOnly = [&] {
            if (inlineValue) {
                error = name + QStringLiteral(" takes no value");
                return false;
            }
            return true;
        };
        o.given << name;
        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            if (!flagOnly())
                return false;
            o.help = true;
        } else if (name == QLatin1String("--version")) {
            if (!flagOnly())
                return false;
            o.version = true;
        } else if (name == QLatin1String("--modem")) {
            if (!flagOnly())
                return false;
            o.modem = true;
        } else if (name == QLatin1String("--yes")) {
            if (!flagOnly())
                return false;
            o.yes = true;
        } else if (name == QLatin1String("--ini") || name == QLatin1String("--device") || name == QLatin1String("--file")
                   || name == QLatin1String("--save") || name == QLatin1String("--message")) {
            const auto v = value();
            if (!v)
                return false;
            if (v->isEmpty() && name != QLatin1String("--message")) {
                error = name + QStringLiteral(" needs a value");
                return false;
            }
            if (name == QLatin1String("--ini"))
                o.ini = *v;
            else if (name == QLatin1String("--device"))
                o.device = *v;
            else if (name == QLatin1String("--file"))
                o.file = *v;
            else if (name == QLatin1String("--save"))
                o.save = *v;
            else
                o.message = *v;
        } else if (name == QLatin1String("--port")) {
            const auto v = value();
            if (!v)
                return false;
            const auto n = wholeNumber(*v, 1, 255);
            if (!n) {
                error = QStringLiteral("--port wants a number from 1 to 255, not \"%1\"").arg(*v);
                return false;
            }
            o.port = int(*n);
        } else if (name == QLatin1String("--baud")) {
            const auto v = value();
            if (!v)
                return false;
            const auto n = wholeNumber(*v, 1, 0x7FFFFFFF);
            if (!n) {
                error = QStringLiteral("--baud wants a positive number, not \"%1\"").arg(*v);
                return false;
            }
            o.baud = qint32(*n);
        } else if (name == QLatin1String("--retries")) {
            const auto v = value();
            if (!v)
                return false;
            const auto n = wholeNumber(*v, 0, 1000000);
            if (!n) {
                error = QStringLiteral("--retries wants a number from 0 to 1000000, not \"%1\"").arg(*v);
                return false;
            }
            o.retries = int(*n);
        } else {
            error = QStringLiteral("unknown option %1").arg(a);
            return false;
        }
    }
    return true;
}

// ---- the command's world -------------------------------------------------------------

class Cli {
public:
    Cli(const Options &options) : o_(options), prompter_(options.retries, options.yes)
    {
        ctx_.appFolder = AppFolder();
        ctx_.prompter = &prompter_;
        AppContext::setInstance(&ctx_);
    }
    ~Cli()
    {
        if (portOpen_) {
            try {
                ctx_.link.Close_RS232();
            } catch (const std::exception &) {
            }
        }
        AppContext::setInstance(nullptr);
    }

    int run(const QString &command);

private:
    bool loadSettings();
    void startUpTables();
    bool readFile(const QString &path);
    int openLine();
    ArticleStore store() const { return ArticleStore(ctx_.settings.connectionString); }
    RoutineCallbacks callbacks()
    {
        RoutineCallbacks cb;
        cb.recordNumber = [this](int) { prompter_.newRecord(); };
        return cb;
    }
    void report(const AppError &e, const QString &routine) { ShowError(e, QStringLiteral("kalvo-cli.") + routine + QStringLiteral("()"), prompter_); }

    int fileShow(const QString &path);
    int fileCopy(const QString &in, const QString &outPath);
    int send(const QStringList &kinds);
    int receive(const QStringList &kinds);
    int articlesList();
    int articlesExport(const QString &path);
    int articlesImport(const QString &path);
    int registerOperation(bool deleteArticles);
    int testLink();
    int status();

    const Options &o_;
    ConsolePrompter prompter_;
    AppContext ctx_;
    bool portOpen_ = false;
};

bool Cli::loadSettings()
{
    if (o_.ini.isEmpty()) {
        LoadSettings(ctx_);
        return true;
    }
    if (!QFileInfo(o_.ini).isFile()) {
        err(QStringLiteral("settings file %1 does not exist").arg(o_.ini));
        return false;
    }
    LoadSettings(ctx_, o_.ini);
    return true;
}

// The tables as the main window sets them when it loads.
void Cli::startUpTables()
{
    ProgrammingData &data = ctx_.data;
    data.ResetTables();
    data.ResetLinkSettings(ctx_.settings.atdp.toStdString());
    data.CyrillicFormFlags.setAll(true);
    data.ResetUnitNames();
    data.ResetArticleTypeNames();
    data.ResetDepartmentNames();
    data.CyrillicMode = true;
}

// Reads a programming file as the main window's "open" does.
bool Cli::readFile(const QString &path)
{
    ProgrammingData &data = ctx_.data;
    data.ProgrammingFilePath = path;
    if (!QFileInfo::exists(path))
        err(QStringLiteral("%1 does not exist").arg(path));
    const bool ok = ReadProgrammingFile(data, prompter_);
    data.CyrillicMode = data.LinkSettings.DisplayCyrillic;
    return ok;
}

// Opens the port for the link commands. Returns kExitOk or the exit code of the failure.
int Cli::openLine()
{
    int port = o_.port.value_or(0);
    qint32 baud = o_.baud.value_or(0);
    if (!o_.port || !o_.baud) {
        // the line window's choice, as the main window reopens it at start
        try {
            if (const std::optional<PortSettings> row = store().loadPort()) {
                if (!o_.port && row->port >= 1 && row->port <= 255)
                    port = row->port;
                if (!o_.baud && row->baudRate > 0)
                    baud = row->baudRate;
            }
        } catch (const AppError &e) {
            err(QStringLiteral("no saved line settings (%1); using the defaults").arg(e.description));
        }
    }
    if (port == 0)
        port = 1;
    if (baud == 0)
        baud = 9600;
    if (!o_.device.isEmpty())
        qputenv(QByteArray("ZIB_COM" + QByteArray::number(port)).constData(), QFile::encodeName(o_.device));
    ApplyPortSettings(ctx_);
    const qint32 result = ctx_.link.Init_RS232bd(port, baud);
    if (result != 0) {
        const QByteArray device = qgetenv(QByteArray("ZIB_COM" + QByteArray::number(port)).constData());
        err(QStringLiteral("COM%1 (%2) could not be opened at %3 bit/s (result %4)")
                .arg(port)
                .arg(device.isEmpty() ? QStringLiteral("/dev/ttyS%1").arg(port - 1) : QString::fromLocal8Bit(device))
                .arg(baud)
                .arg(result));
        return kExitLink;
    }
    portOpen_ = true;
    ctx_.link.ModemLink = o_.modem;
    return kExitOk;
}

// ---- file --------------------------------------------------------------------------------

int Cli::fileShow(const QString &path)
{
    startUpTables();
    const bool ok = readFile(path);
    QJsonObject json = programmingDataJson(ctx_.data);
    json.insert(QStringLiteral("ok"), ok);
    printJson(json);
    return ok ? kExitOk : kExitFailed;
}

int Cli::fileCopy(const QString &in, const QString &outPath)
{
    startUpTables();
    if (!readFile(in)) {
        err(QStringLiteral("%1 was not read whole; %2 is not written").arg(in, outPath));
        return kExitFailed;
    }
    ctx_.data.ProgrammingFilePath = outPath;
    if (!WriteProgrammingFile(ctx_.data, prompter_)) {
        err(QStringLiteral("%1 was not written whole").arg(outPath));
        return kExitFailed;
    }
    return kExitOk;
}

// ---- send and receive -------------------------------------------------------------------

struct KindName {
    const char *name;
    int kind;
};

const KindName kSendKinds[] = {
    {"departments", SendRoutines::Departments}, {"articles", SendRoutines::Articles},
    {"stock", SendRoutines::ArticleStock},      {"cashiers", SendRoutines::Operators},
    {"currencies", SendRoutines::Currencies},   {"system", SendRoutines::System},
    {"header", SendRoutines::Header},           {"advert", SendRoutines::Advert},
    {"units", SendRoutines::Units},             {"types", SendRoutines::ArticleTypes},
    {"message", SendRoutines::Message},
};

const KindName kReceiveKinds[] = {
    {"departments", ReceiveRoutines::Departments}, {"articles", ReceiveRoutines::Articles},
    {"sold", ReceiveRoutines::SoldArticles},       {"cashiers", ReceiveRoutines::Operators},
    {"currencies", ReceiveRoutines::Currencies},   {"system", ReceiveRoutines::System},
    {"vat", ReceiveRoutines::VatRates},            {"units", ReceiveRoutines::Units},
    {"types", ReceiveRoutines::ArticleTypes},
};

template <std::size_t N>
const char *kindName(const KindName (&table)[N], int kind)
{
    for (const KindName &k : table)
        if (k.kind == kind)
            return k.name;
    return "?";
}

// The kinds named on the command line as a set over 0..count-1; false with a message for
// an unknown name or none at all. "all" takes every kind but `allExcept` (-1: none).
template <std::size_t N>
bool selectKinds(const KindName (&table)[N], const QStringList &names, int allExcept, std::vector<bool> &selected)
{
    selected.assign(N, false);
    if (names.isEmpty()) {
        err(QStringLiteral("name at least one kind (see --help)"));
        return false;
    }
    for (const QString &name : names) {
        if (name == QLatin1String("all")) {
            for (const KindName &k : table)
                if (k.kind != allExcept)
                    selected[std::size_t(k.kind)] = true;
            continue;
        }
        bool found = false;
        for (const KindName &k : table)
            if (name == QLatin1String(k.name)) {
                selected[std::size_t(k.kind)] = true;
                found = true;
            }
        if (!found) {
            QStringList known;
            for (const KindName &k : table)
                known << QLatin1String(k.name);
            err(QStringLiteral("unknown kind \"%1\" (kinds: %2, all)").arg(name, known.join(QStringLiteral(", "))));
            return false;
        }
    }
    return true;
}

int Cli::send(const QStringList &kinds)
{
    std::vector<bool> selected;
    if (!selectKinds(kSendKinds, kinds, SendRoutines::Message, selected))
        return kExitUsage;

    startUpTables();
    if (!o_.file.isEmpty() && !readFile(o_.file)) {
        err(QStringLiteral("%1 was not read whole; nothing is sent").arg(o_.file));
        return kExitFailed;
    }

    std::array<std::string, 3> rows;
    if (o_.message) {
        const QStringList parts = o_.message->split(QLatin1Char('|'));
        if (parts.size() > 3) {
            err(QStringLiteral("--message has more than three rows"));
            return kExitUsage;
        }
        const int width = ctx_.data.LinkSettings.lineWidth == 22 ? 22 : 32;
        for (qsizetype i = 0; i < parts.size(); ++i) {
            bool mapped = true;
            const QByteArray bytes = unicodeToAnsi(parts[i], &mapped);
            if (!mapped) {
                err(QStringLiteral("message row %1 has a character the register's code page does not hold").arg(i + 1));
                return kExitUsage;
            }
            if (bytes.size() > width) {
                err(QStringLiteral("message row %1 is longer than %2 characters").arg(i + 1).arg(width));
                return kExitUsage;
            }
            rows[std::size_t(i)] = bytes.toStdString();
        }
    }

    if (const int line = openLine(); line != kExitOk)
        return line;

    SendRoutines routines(ctx_, callbacks());
    routines.messageRows = rows;
    try {
        if (!routines.testLink())
            return kExitLink;
    } catch (const AppError &e) {
        report(e, QStringLiteral("send"));
        return kExitLink;
    }
    bool all = true;
    for (int kind = 0; kind < SendRoutines::KindCount; ++kind) {
        if (!selected[std::size_t(kind)])
            continue;
        bool ok = false;
        try {
            prompter_.newRecord();
            ok = routines.run(SendRoutines::Kind(kind));
        } catch (const AppError &e) {
            report(e, QStringLiteral("send"));
        } catch (const std::exception &e) {
            report(AppError(kErrInternal, QString::fromLocal8Bit(e.what())), QStringLiteral("send"));
        }
        out(QStringLiteral("%1: %2").arg(QLatin1String(kindName(kSendKinds, kind)), ok ? QLatin1String("ok") : QLatin1String("failed")));
        all = all && ok;
    }
    return all ? kExitOk : kExitFailed;
}

int Cli::receive(const QStringList &kinds)
{
    std::vector<bool> selected;
    if (!selectKinds(kReceiveKinds, kinds, -1, selected))
        return kExitUsage;

    startUpTables();
    // the tables the register does not send back come from a file: --file, or the file
    // about to be overwritten, so that saving keeps them
    const QString base = !o_.file.isEmpty() ? o_.file : (!o_.save.isEmpty() && QFileInfo::exists(o_.save) ? o_.save : QString());
    if (!base.isEmpty() && !readFile(base)) {
        err(QStringLiteral("%1 was not read whole; nothing is received").arg(base));
        return kExitFailed;
    }

    if (const int line = openLine(); line != kExitOk)
        return line;

    ReceiveRoutines routines(ctx_, callbacks());
    try {
        if (!routines.testLink())
            return kExitLink; // the link library has said so
    } catch (const AppError &e) {
        report(e, QStringLiteral("receive"));
        return kExitLink;
    }

    bool all = true;
    QJsonObject results;
    QJsonObject json;
    const ProgrammingData &data = ctx_.data;
    for (int kind = 0; kind < ReceiveRoutines::KindCount; ++kind) {
        if (!selected[std::size_t(kind)])
            continue;
        bool ok = false;
        try {
            prompter_.newRecord();
            ok = routines.run(ReceiveRoutines::Kind(kind));
        } catch (const AppError &e) {
            report(e, QStringLiteral("receive"));
        } catch (const std::exception &e) {
            report(AppError(kErrInternal, QString::fromLocal8Bit(e.what())), QStringLiteral("receive"));
        }
        results.insert(QLatin1String(kindName(kReceiveKinds, kind)), ok);
        all = all && ok;

        switch (ReceiveRoutines::Kind(kind)) {
        case ReceiveRoutines::Departments: json.insert(QStringLiteral("Departments"), departmentsJson(data)); break;
        case ReceiveRoutines::Operators: json.insert(QStringLiteral("Operators"), operatorsJson(data)); break;
        case ReceiveRoutines::Currencies: json.insert(QStringLiteral("Currencies"), currenciesJson(data)); break;
        case ReceiveRoutines::System: json.insert(QStringLiteral("RegisterSettings"), registerSettingsJson(data.RegisterSettings)); break;
        case ReceiveRoutines::VatRates: json.insert(QStringLiteral("VatRates"), vatRatesJson(data)); break;
        case ReceiveRoutines::Units: json.insert(QStringLiteral("Units"), unitsJson(data)); break;
        case ReceiveRoutines::ArticleTypes: json.insert(QStringLiteral("ArticleTypes"), articleTypesJson(data)); break;
        case ReceiveRoutines::Articles:
        case ReceiveRoutines::SoldArticles: {
            const ReadBackList list = kind == ReceiveRoutines::Articles ? ReadBackList::Articles : ReadBackList::SoldArticles;
            try {
                json.insert(ArticleStore::tableName(list), readBackJson(store().readBackList(list, ArticleStore::Rows::All)));
            } catch (const AppError &e) {
                report(e, QStringLiteral("receive"));
                all = false;
            }
            break;
        }
        case ReceiveRoutines::KindCount: break;
        }
    }
    json.insert(QStringLiteral("results"), results);

    if (!o_.save.isEmpty()) {
        ctx_.data.ProgrammingFilePath = o_.save;
        if (!WriteProgrammingFile(ctx_.data, prompter_)) {
            err(QStringLiteral("%1 was not written whole").arg(o_.save));
            all = false;
        }
    }
    printJson(json);
    return all ? kExitOk : kExitFailed;
}

// ---- articles ----------------------------------------------------------------------------

int Cli::articlesList()
{
    printJson(articlesJson(store().sendList()));
    return kExitOk;
}

int Cli::articlesExport(const QString &path)
{
    const QByteArray csv = articlesToCsv(store().sendList());
    if (path == QLatin1String("-")) {
        std::fwrite(csv.constData(), 1, std::size_t(csv.size()), stdout);
        std::fflush(stdout);
        return kExitOk;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
        err(QStringLiteral("%1: %2").arg(path, file.errorString()));
        return kExitFailed;
    }
    return kExitOk;
}

int Cli::articlesImport(const QString &path)
{
    QByteArray text;
    if (path == QLatin1String("-")) {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) {
            err(QStringLiteral("stdin cannot be read"));
            return kExitFailed;
        }
        text = in.readAll();
    } else {
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly)) {
            err(QStringLiteral("%1: %2").arg(path, in.errorString()));
            return kExitFailed;
        }
        text = in.readAll();
    }

    const ArticleStore articles = store();
    const ArticleImport check = checkArticleCsv(text, articles, ctx_.settings.maxcena);
    if (!check.error.isEmpty()) {
        err(QStringLiteral("%1: %2; nothing is imported").arg(path, check.error));
        return kExitFailed;
    }
    if (!check.refused.isEmpty()) {
        for (const RefusedRow &row : check.refused)
            err(QStringLiteral("%1:%2: %3%4").arg(path).arg(row.line)
                    .arg(row.column.isEmpty() ? QString() : row.column + QStringLiteral(": "), row.message));
        err(QStringLiteral("%1 row(s) refused; nothing is imported").arg(check.refused.size()));
        return kExitFailed;
    }

    int added = 0;
    int changed = 0;
    for (qsizetype i = 0; i < check.articles.size(); ++i) {
        const Article &a = check.articles[i];
        bool stored = false;
        try {
            stored = check.replaces[i] ? articles.updateArticle(a.barCode, a) : articles.insertArticle(a);
        } catch (const AppError &e) {
            report(e, QStringLiteral("articles.import"));
        }
        if (!stored) {
            err(QStringLiteral("article %1 could not be stored; the %2 article(s) before it were stored")
                    .arg(QString::fromLatin1(a.barCode)).arg(i));
            return kExitFailed;
        }
        ++(check.replaces[i] ? changed : added);
    }
    out(QStringLiteral("%1 article(s) imported: %2 added, %3 changed").arg(added + changed).arg(added).arg(changed));
    return kExitOk;
}

// ---- the line -----------------------------------------------------------------------------

int Cli::registerOperation(bool deleteArticles)
{
    if (const int line = openLine(); line != kExitOk)
        return line;
    const int failures = prompter_.failures();
    const int declined = prompter_.declined();
    ReceiveRoutines routines(ctx_, callbacks());
    if (deleteArticles)
        routines.Command1_Click();
    else
        routines.Command2_Click();
    return prompter_.failures() == failures && prompter_.declined() == declined ? kExitOk : kExitFailed;
}

int Cli::testLink()
{
    if (const int line = openLine(); line != kExitOk)
        return line;
    if (!SendRoutines(ctx_).testLink())
        return kExitLink;
    out(QStringLiteral("ok"));
    return kExitOk;
}

int Cli::status()
{
    if (const int line = openLine(); line != kExitOk)
        return line;
    qint32 result = 0;
    for (int attempt = 0; attempt < 3 && result <= 0; ++attempt) {
        ctx_.link.FrameText = kStatusRequest;
        result = ctx_.link.getFrame();
    }
    if (result <= 0) {
        err(QStringLiteral("the register did not answer the status request (result %1)").arg(result));
        return kExitLink;
    }
    // ReplyText ends with the first checksum character
    const QByteArray payload = ctx_.link.ReplyText.chopped(1);
    const std::optional<RegisterStatus> st = parseRegisterStatus(payload);
    if (!st) {
        err(QStringLiteral("the status answer \"%1\" could not be decoded").arg(QString::fromLatin1(payload.toPercentEncoding(" "))));
        return kExitFailed;
    }
    printJson(QJsonObject{
        {QStringLiteral("menuPosition"), int(st->menuPosition)},
        {QStringLiteral("lastError"), int(st->lastError)},
        {QStringLiteral("operatingState"), int(st->operatingState)},
        {QStringLiteral("articleCount"), int(st->articleCount)},
    });
    return kExitOk;
}

// ---- dispatch -------------------------------------------------------------------------------

const char *helpFor(const QString &command)
{
    if (command == QLatin1String("file"))
        return kFileHelp;
    if (command == QLatin1String("send"))
        return kSendHelp;
    if (command == QLatin1String("receive"))
        return kReceiveHelp;
    if (command == QLatin1String("articles"))
        return kArticlesHelp;
    if (command == QLatin1String("delete-articles") || command == QLatin1String("erase-sales"))
        return kRegisterOpHelp;
    if (command == QLatin1String("test-link"))
        return kTestLinkHelp;
    if (command == QLatin1String("status"))
        return kStatusHelp;
    return nullptr;
}

bool isLinkCommand(const QString &command)
{
    return command == QLatin1String("send") || command == QLatin1String("receive") || command == QLatin1String("test-link")
           || command == QLatin1String("status") || command == QLatin1String("delete-articles")
           || command == QLatin1String("erase-sales");
}

// Refuses options that the command does not use.
bool optionsFit(const QString &command, const Options &o)
{
    QStringList allowed = {QStringLiteral("--ini"), QStringLiteral("--retries"), QStringLiteral("--yes"),
                           QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("--version")};
    if (isLinkCommand(command))
        allowed << QStringLiteral("--port") << QStringLiteral("--device") << QStringLiteral("--baud") << QStringLiteral("--modem");
    if (command == QLatin1String("send"))
        allowed << QStringLiteral("--file") << QStringLiteral("--message");
    if (command == QLatin1String("receive"))
        allowed << QStringLiteral("--file") << QStringLiteral("--save");
    for (const QString &name : o.given) {
        if (!allowed.contains(name)) {
            err(QStringLiteral("%1 does not apply to \"%2\"").arg(name, command));
            return false;
        }
    }
    return true;
}

int Cli::run(const QString &command)
{
    const QStringList args = o_.positional.mid(1);
    auto usage = [&](const QString &text) {
        err(text + QStringLiteral(" (kalvo-cli %1 --help)").arg(command));
        return kExitUsage;
    };
    const QString sub = args.value(0);

    if (command == QLatin1String("file")) {
        if (sub == QLatin1String("show") && args.size() == 2) {
        } else if (sub == QLatin1String("copy") && args.size() == 3) {
        } else {
            return usage(QStringLiteral("file wants \"show FILE\" or \"copy IN OUT\""));
        }
    } else if (command == QLatin1String("articles")) {
        if (!((sub == QLatin1String("list") && args.size() == 1)
              || ((sub == QLatin1String("export") || sub == QLatin1String("import")) && args.size() == 2)))
            return usage(QStringLiteral("articles wants \"list\", \"export CSV\" or \"import CSV\""));
    } else if (isLinkCommand(command) && command != QLatin1String("send") && command != QLatin1String("receive")
               && !args.isEmpty()) {
        return usage(QStringLiteral("%1 takes no arguments").arg(command));
    }

    if (!loadSettings())
        return kExitUsage;
    try {
        if (command == QLatin1String("file"))
            return sub == QLatin1String("show") ? fileShow(args[1]) : fileCopy(args[1], args[2]);
        if (command == QLatin1String("send"))
            return send(args);
        if (command == QLatin1String("receive"))
            return receive(args);
        if (command == QLatin1String("articles")) {
            if (sub == QLatin1String("list"))
                return articlesList();
            return sub == QLatin1String("export") ? articlesExport(args[1]) : articlesImport(args[1]);
        }
        if (command == QLatin1String("delete-articles") || command == QLatin1String("erase-sales"))
            return registerOperation(command == QLatin1String("delete-articles"));
        if (command == QLatin1String("test-link"))
            return testLink();
        if (command == QLatin1String("status"))
            return status();
    } catch (const AppError &e) {
        report(e, command);
        return kExitFailed;
    } catch (const std::exception &e) {
        report(AppError(kErrInternal, QString::fromLocal8Bit(e.what())), command);
        return kExitFailed;
    }
    return kExitUsage;
}

int runMain(const QStringList &arguments)
{
    Options o;
    QString error;
    if (!parseOptions(arguments, o, error)) {
        err(error + QStringLiteral(" (kalvo-cli --help)"));
        return kExitUsage;
    }
    if (o.version) {
        out(QStringLiteral("kalvo-cli ") + VersionText());
        return kExitOk;
    }
    QString command = o.positional.value(0);
    if (command == QLatin1String("help")) {
        command = o.positional.value(1);
        o.help = true;
    }
    if (o.help) {
        const char *text = command.isEmpty() ? kProgramHelp : helpFor(command);
        if (!text) {
            err(QStringLiteral("unknown command \"%1\" (kalvo-cli --help)").arg(command));
            return kExitUsage;
        }
        std::fputs(text, stdout);
        return kExitOk;
    }
    if (command.isEmpty()) {
        std::fputs(kProgramHelp, stderr);
        return kExitUsage;
    }
    if (!helpFor(command)) {
        err(QStringLiteral("unknown command \"%1\" (kalvo-cli --help)").arg(command));
        return kExitUsage;
    }
    if (!optionsFit(command, o))
        return kExitUsage;
    Cli cli(o);
    return cli.run(command);
}

} // namespace
} // namespace kalvo::cli

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kalvo-cli"));
    QCoreApplication::setApplicationVersion(kalvo::VersionText());
    return kalvo::cli::runMain(QCoreApplication::arguments());
}
