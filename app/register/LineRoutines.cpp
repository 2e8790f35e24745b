#include "register/LineRoutines.h"

#include "data/ArticleStore.h"
#include "data/ProgrammingData.h"
#include "shell/AppContext.h"
#include "shell/AppGlobals.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace kalvo {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kTitle = QString::fromLatin1(kAppTitle);

// Answers shorter than this are not searched for a dial result (the shortest word, "BUSY",
// comes with its line ends).
constexpr int kMinDialAnswer = 7;
constexpr int kMinHangUpAnswer = 2;

struct WordEntry {
    const char *word;
    DialWord result;
};
// The table order decides when an answer holds several words.
constexpr WordEntry kDialWords[] = {
    {"CONNECT", DialWord::Connect},   {"BUSY", DialWord::Busy},
    {"NO CARRIER", DialWord::NoCarrier}, {"NO ANSWER", DialWord::NoAnswer},
    {"NO DIALTON", DialWord::NoDialtone}, {"RING", DialWord::Ring},
};

QByteArray toBytes(const std::string &s) { return QByteArray(s.data(), qsizetype(s.size())); }
std::string toStd(const QByteArray &b) { return std::string(b.constData(), std::size_t(b.size())); }

} // namespace

// ---- speeds and devices ------------------------------------------------------------------

int LineSpeedIndex(qint32 baudRate)
{
    const auto it = std::find(kLineSpeeds.begin(), kLineSpeeds.end(), baudRate);
    return it == kLineSpeeds.end() ? -1 : int(it - kLineSpeeds.begin());
}

qint32 LineSpeedAt(int index)
{
    return index >= 0 && index < int(kLineSpeeds.size()) ? kLineSpeeds[std::size_t(index)] : -1;
}

void NormaliseStoredSpeed(LinkSettings &link)
{
    if (const qint32 speed = LineSpeedAt(link.baudRate); speed > 0)
        link.baudRate = speed;
}

QString ComDevicePath(int port)
{
    const QByteArray variable = "ZIB_COM" + QByteArray::number(port);
    const QByteArray value = qgetenv(variable.constData());
    if (!value.isEmpty())
        return QString::fromLocal8Bit(value);
    return QStringLiteral("/dev/ttyS") + QString::number(port - 1);
}

QStringList SerialDevicesPresent(const QString &folder)
{
    static const QRegularExpression pattern(QStringLiteral("^tty(S|USB|ACM)([0-9]{1,6})$"));
    static const QStringList groups = {QStringLiteral("S"), QStringLiteral("USB"), QStringLiteral("ACM")};
    struct Found {
        int group;
        int number;
        QString path;
    };
    std::vector<Found> found;
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (m.hasMatch())
            found.push_back({int(groups.indexOf(m.captured(1))), m.captured(2).toInt(), dir.filePath(name)});
    }
    std::sort(found.begin(), found.end(), [](const Found &a, const Found &b) {
        return a.group != b.group ? a.group < b.group : a.number != b.number ? a.number < b.number : a.path < b.path;
    });
    QStringList out;
    for (const Found &f : found)
        out << f.path;
    return out;
}

DialWord FindDialWord(const QByteArray &answer)
{
    for (const WordEntry &entry : kDialWords)
        if (answer.contains(entry.word))
            return entry.result;
    return DialWord::None;
}

// ---- the routines ------------------------------------------------------------------------

LineRoutines::LineRoutines(AppContext &ctx, std::function<bool()> stopRequested)
    : ctx_(ctx), stopRequested_(std::move(stopRequested))
{
}

void LineRoutines::setToneDialling(bool tone)
{
    ctx_.data.LinkSettings.dialMode = toStd(tone ? ctx_.settings.atdt : ctx_.settings.atdp);
}

bool LineRoutines::toneDialling() const
{
    return toBytes(ctx_.data.LinkSettings.dialMode) == ctx_.settings.atdt;
}

bool LineRoutines::stopRequested()
{
    return stopRequested_ && stopRequested_();
}

void LineRoutines::takeChoice(const LineChoice &choice)
{
    LinkSettings &link = ctx_.data.LinkSettings;
    link.port = std::int16_t(std::clamp(choice.port, int(std::numeric_limits<std::int16_t>::min()),
                                        int(std::numeric_limits<std::int16_t>::max())));
    link.baudRate = choice.baudRate;
    link.phonePassword = toStd(choice.password);
    link.phoneNumber = toStd(choice.phoneNumber);
}

bool LineRoutines::portOpened(qint32 result)
{
    if (result == 0)
        return true;
    if (result == 2)
        ctx_.ui().tell(QStringLiteral("Port nije dobro podesen ! "), kTitle, Icon::Critical);
    else // 1: the library has said "Port je zauzet!" itself
        ctx_.ui().tell(QStringLiteral("Port je zauzet !"), kTitle, Icon::Critical);
    return false;
}

void LineRoutines::storePort()
{
    const LinkSettings &link = ctx_.data.LinkSettings;
    PortSettings row;
    row.port = link.port;
    row.baudRate = link.baudRate;
    row.dialMode = toBytes(link.dialMode);
    row.phoneNumber = toBytes(link.phoneNumber);
    ArticleStore(ctx_.settings.connectionString).savePort(row);
}

LineOutcome LineRoutines::Salva(const LineChoice &choice)
{
    Link &link = ctx_.link;
    link.Close_RS232();
    link.Close_RS232();
    takeChoice(choice);
    const qint32 result = link.Init_RS232bd(ctx_.data.LinkSettings.port, choice.baudRate);
    if (!portOpened(result))
        return result == 2 ? LineOutcome::PortRefused : LineOutcome::PortBusy;
    // The port was closed and reopened for the direct line: whatever modem connection
    // there was is gone, also when the row below cannot be stored.
    link.ModemLink = false;
    ctx_.ui().tell(QStringLiteral("Komunikacioni port je odabran."), kTitle);
    storePort();
    return LineOutcome::PortSelected;
}

LineOutcome LineRoutines::Connect(const LineChoice &choice)
{
    if (choice.phoneNumber.isEmpty()) {
        ctx_.ui().tell(QStringLiteral("Unesite telefonski broj !"), QStringLiteral("Orvel Cash registers"),
                       Icon::Exclamation);
        return LineOutcome::NoNumber;
    }
    Link &link = ctx_.link;
    link.Close_RS232();
    takeChoice(choice);
    // the line to the modem always runs at 9600 baud
    const qint32 result = link.Init_RS232(ctx_.data.LinkSettings.port);
    if (!portOpened(result))
        return result == 2 ? LineOutcome::PortRefused : LineOutcome::PortBusy;
    link.ModemLink = false; // up again only when the modem says CONNECT
    storePort();
    return dial();
}

LineOutcome LineRoutines::dial()
{
    Link &link = ctx_.link;
    const LinkSettings &settings = ctx_.data.LinkSettings;
    const QByteArray command = toBytes(settings.dialMode) + toBytes(settings.phoneNumber) + "\r\n";
    for (;;) {
        // A dial command the library cannot send (too long for its buffer) brings no answer.
        if (link.send_data(command) != 0)
            break;
        DialWord word = DialWord::None;
        for (int i = 0; i < kDialAnswers && word == DialWord::None; ++i) {
            qint32 count = 0;
            QByteArray answer;
            link.read_data(count, answer);
            if (count >= kMinDialAnswer)
                word = FindDialWord(answer.left(count));
            if (word == DialWord::None && stopRequested())
                return LineOutcome::Stopped;
        }
        QString text;
        switch (word) {
        case DialWord::None:
            ctx_.ui().tell(QStringLiteral("Komunikacija nije ostvarena !"), kTitle, Icon::Critical);
            return LineOutcome::NotConnected;
        case DialWord::Connect:
            link.ModemLink = true;
            link.send_data(toBytes(settings.phonePassword));
            ctx_.ui().tell(QStringLiteral("Komunikacija je ostvarena ! "), kTitle);
            return LineOutcome::Connected;
        case DialWord::Ring:
            ctx_.ui().tell(QStringLiteral("Imate poziv ! "), kTitle);
            return LineOutcome::Ringing;
        case DialWord::Busy: text = QStringLiteral("Broj je zauzet !"); break;
        case DialWord::NoCarrier: text = QStringLiteral("Linija je zauzeta !"); break;
        case DialWord::NoAnswer: text = QStringLiteral("Nema odgovora !"); break;
        case DialWord::NoDialtone: text = QStringLiteral("Linija je prekinuta !"); break;
        }
        if (ctx_.ui().ask(text + kCrLf, kTitle, Icon::None, Buttons::RetryCancel) != Answer::Retry)
            return LineOutcome::Cancelled;
        Delay(kRedialDelayMs);
    }
    ctx_.ui().tell(QStringLiteral("Komunikacija nije ostvarena !"), kTitle, Icon::Critical);
    return LineOutcome::NotConnected;
}

LineOutcome LineRoutines::Disconnect()
{
    Link &link = ctx_.link;
    const QByteArray command = ctx_.settings.atdisconnect + "\r\n";
    bool ok = false;
    // A hang-up that cannot be sent (no port open) brings no answer: no wait for one.
    if (link.send_data(command) == 0) {
        for (int i = 0; i < kHangUpAnswers && !ok; ++i) {
            qint32 count = 0;
            QByteArray answer;
            link.read_data(count, answer);
            ok = count >= kMinHangUpAnswer && answer.left(count).contains("OK");
            if (!ok && stopRequested()) {
                link.ModemLink = false;
                return LineOutcome::Stopped;
            }
        }
    }
    link.ModemLink = false;
    if (ok) {
        ctx_.ui().tell(QStringLiteral("Komunikacija je prekinuta ! "), kTitle);
        return LineOutcome::Disconnected;
    }
    ctx_.ui().tell(QStringLiteral("Komunikacija je vec bila prekinuta !"), kTitle, Icon::Critical);
    return LineOutcome::AlreadyDisconnected;
}

} // namespace kalvo
