// The line routines: the result-word search, speeds and devices, and the port choice, modem
// dialling and hang-up against the register simulator's modem (and, for the exact bytes on
// the line, against a bare pseudo-terminal played by the test).
#include "routine_rig.h"

#include "data/ProgrammingData.h"
#include "register/LineRoutines.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <thread>

using namespace kalvo;
using test::RoutineRig;

Q_DECLARE_METATYPE(kalvo::DialWord)
Q_DECLARE_METATYPE(kalvo::LineOutcome)

namespace {

// Time-out scales: one read of the modem's answer (60 s unscaled) then takes 300 ms, long
// enough for the simulator's answer to arrive whole, or 12 ms where only silence comes.
constexpr char kAnswerScale[] = "0.005";
constexpr char kSilenceScale[] = "0.0002";

struct ScaleGuard {
    explicit ScaleGuard(const char *scale) { qputenv("ZIB_TIMEOUT_SCALE", scale); }
    ~ScaleGuard() { qunsetenv("ZIB_TIMEOUT_SCALE"); }
};

void setModemSettings(AppContext &ctx)
{
    ctx.settings.atdt = "ATDT";
    ctx.settings.atdp = "ATDP";
    ctx.settings.atdisconnect = "ATH0";
    ctx.data.LinkSettings.dialMode = "ATDT";
}

LineChoice modemChoice(int port, const QByteArray &number = "123", const QByteArray &password = "pw")
{
    LineChoice c;
    c.port = port;
    c.baudRate = 57600;
    c.phoneNumber = number;
    c.password = password;
    return c;
}

// A pseudo-terminal the test holds itself: the library opens the slave as a port, a thread
// of the test plays the modem on the master.
struct BarePty {
    int master = -1;
    QByteArray slave;

    bool open()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            return false;
        slave = ptsname(master);
        termios t{};
        tcgetattr(master, &t);
        cfmakeraw(&t);
        return tcsetattr(master, TCSANOW, &t) == 0;
    }
    ~BarePty()
    {
        if (master >= 0)
            close(master);
    }
    // Reads until `end` has come or `ms` of quiet passed.
    QByteArray readUntil(const QByteArray &end, int ms = 2000)
    {
        QByteArray out;
        pollfd p{master, POLLIN, 0};
        while (!out.endsWith(end) && poll(&p, 1, ms) > 0 && (p.revents & POLLIN)) {
            char c;
            if (read(master, &c, 1) != 1)
                break;
            out += c;
        }
        return out;
    }
    bool write(const QByteArray &bytes)
    {
        return ::write(master, bytes.constData(), size_t(bytes.size())) == ssize_t(bytes.size());
    }
    // The speed the slave side was set to (a pty master reports its slave's settings).
    speed_t slaveSpeed() const
    {
        termios t{};
        tcgetattr(master, &t);
        return cfgetospeed(&t);
    }
};

} // namespace

class LineRoutinesTest : public QObject {
    Q_OBJECT

private slots:
    void dialWords_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<DialWord>("word");
        QTest::newRow("echo, then CONNECT 9600") << QByteArray("ATDT123\r\r\nCONNECT 9600\r\n") << DialWord::Connect;
        QTest::newRow("the echo alone") << QByteArray("ATDT123\r\r\n") << DialWord::None;
        QTest::newRow("BUSY after RING") << QByteArray("\r\nRING\r\n\r\nBUSY\r\n") << DialWord::Busy;
        QTest::newRow("NO CARRIER") << QByteArray("\r\nNO CARRIER\r\n") << DialWord::NoCarrier;
        QTest::newRow("NO ANSWER") << QByteArray("\r\nNO ANSWER\r\n") << DialWord::NoAnswer;
        QTest::newRow("NO DIALTONE") << QByteArray("\r\nNO DIALTONE\r\n") << DialWord::NoDialtone;
        QTest::newRow("RING") << QByteArray("\r\nRING\r\n") << DialWord::Ring;
        QTest::newRow("word at the very end") << QByteArray("xxCONNECT") << DialWord::Connect;
        QTest::newRow("word cut short") << QByteArray("\r\nCONNEC") << DialWord::None;
        QTest::newRow("lower case") << QByteArray("\r\nconnect 9600\r\n") << DialWord::None;
        QTest::newRow("behind a NUL") << QByteArray("\0\0\r\nBUSY\r\n", 10) << DialWord::Busy;
    }
    void dialWords()
    {
        QFETCH(QByteArray, answer);
        QFETCH(DialWord, word);
        QCOMPARE(FindDialWord(answer), word);
    }

    void speeds_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("normalised");
        QTest::newRow("4800") << 4800 << 0 << 4800;
        QTest::newRow("57600") << 57600 << 4 << 57600;
        QTest::newRow("index 0") << 0 << -1 << 4800;
        QTest::newRow("index 4") << 4 << -1 << 57600;
        QTest::newRow("5: neither") << 5 << -1 << 5;
        QTest::newRow("1200") << 1200 << -1 << 1200;
        QTest::newRow("negative") << -1 << -1 << -1;
    }
    void speeds()
    {
        QFETCH(int, stored);
        QFETCH(int, index);
        QFETCH(int, normalised);
        QCOMPARE(LineSpeedIndex(stored), index);
        if (index >= 0)
            QCOMPARE(LineSpeedAt(index), stored);
        LinkSettings link;
        link.baudRate = stored;
        NormaliseStoredSpeed(link);
        QCOMPARE(link.baudRate, normalised);
        QCOMPARE(LineSpeedAt(5), -1);
        QCOMPARE(LineSpeedAt(-1), -1);
    }

    void devices()
    {
        qputenv("ZIB_COM3", "/dev/ttyUSB7");
        qputenv("ZIB_COM4", "");
        qunsetenv("ZIB_COM5");
        QCOMPARE(ComDevicePath(3), QString("/dev/ttyUSB7"));
        QCOMPARE(ComDevicePath(4), QString("/dev/ttyS3"));
        QCOMPARE(ComDevicePath(5), QString("/dev/ttyS4"));
        qunsetenv("ZIB_COM3");
        qunsetenv("ZIB_COM4");

        QTemporaryDir dev;
        for (const char *name : {"ttyS10", "ttyS2", "ttyUSB0", "ttyACM1", "tty0", "ttyS", "ttyUSBx", "ttyS1a",
                                 "console", "ttyS0"}) {
            QFile f(dev.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString d = dev.path() + "/";
        QCOMPARE(SerialDevicesPresent(dev.path()),
                 QStringList({d + "ttyS0", d + "ttyS2", d + "ttyS10", d + "ttyUSB0", d + "ttyACM1"}));
        QVERIFY(SerialDevicesPresent(dev.filePath("missing")).isEmpty());
    }

    void toneDialling()
    {
        AppContext ctx;
        setModemSettings(ctx);
        LineRoutines line(ctx);
        line.setToneDialling(false);
        QCOMPARE(ctx.data.LinkSettings.dialMode, std::string("ATDP"));
        QVERIFY(!line.toneDialling());
        line.setToneDialling(true);
        QCOMPARE(ctx.data.LinkSettings.dialMode, std::string("ATDT"));
        QVERIFY(line.toneDialling());
        ctx.data.LinkSettings.dialMode = "ATD";
        QVERIFY(!line.toneDialling());
    }

    // Saving twice leaves one row; the modem state ends; the settings take the choice.
    void salvaStoresOneRow()
    {
        RoutineRig rig;
        QVERIFY(rig.open());
        setModemSettings(rig.ctx);
        rig.ctx.link.ModemLink = true;
        LineRoutines line(rig.ctx);
        LineChoice c{RoutineRig::kPort, 38400, "0112", "pw"};
        QCOMPARE(line.Salva(c), LineOutcome::PortSelected);
        c.baudRate = 19200;
        QCOMPARE(line.Salva(c), LineOutcome::PortSelected);

        QCOMPARE(rig.prompter.prompts.size(), size_t(2));
        QCOMPARE(rig.prompter.last().text, QString("Komunikacioni port je odabran."));
        QCOMPARE(rig.prompter.last().title, QString("Orvel Cash Registers"));
        QCOMPARE(rig.prompter.last().icon, Icon::None);
        QVERIFY(!rig.ctx.link.ModemLink);
        const PortSettings expected{RoutineRig::kPort, 19200, "ATDT", "0112"};
        QCOMPARE(rig.store().loadPort(), std::optional<PortSettings>(expected));
        const LinkSettings &link = rig.ctx.data.LinkSettings;
        QCOMPARE(link.baudRate, 19200);
        QCOMPARE(link.phonePassword, std::string("pw"));
        QCOMPARE(rig.ctx.link.Testconnessione(), 0); // open on the register
    }

    void salvaOpenFails_data()
    {
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<int>("baud");
        QTest::addColumn<LineOutcome>("outcome");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("no such device") << QByteArray("/nonexistent/tty") << 9600 << LineOutcome::PortBusy
                                        << QStringList({"Port je zauzet!", "Port je zauzet !"});
        QTest::newRow("speed refused") << QByteArray() << 12345 << LineOutcome::PortRefused
                                       << QStringList({"Port nije dobro podesen ! "});
    }
    // Nothing is stored and the modem state stays as it was.
    void salvaOpenFails()
    {
        QFETCH(QByteArray, device);
        QFETCH(int, baud);
        QFETCH(LineOutcome, outcome);
        QFETCH(QStringList, texts);
        RoutineRig rig;
        QVERIFY(rig.open());
        if (!device.isEmpty())
            qputenv("ZIB_COM6", device);
        else
            rig.sim.usePort(6);
        rig.ctx.link.ModemLink = true;
        QCOMPARE(LineRoutines(rig.ctx).Salva({6, baud, "1", ""}), outcome);
        QCOMPARE(rig.prompter.texts(), texts);
        QCOMPARE(rig.prompter.last().icon, Icon::Critical);
        QVERIFY(rig.ctx.link.ModemLink);
        QVERIFY(!rig.store().loadPort());
        qunsetenv("ZIB_COM6");
    }

    // The bytes on the line: the dial command with CR LF, the port at 9600 whatever speed
    // was chosen, the password without a line end, the hang-up command.
    void bytesOnTheLine()
    {
        ScaleGuard scale(kAnswerScale);
        BarePty pty;
        QVERIFY(pty.open());
        qputenv("ZIB_COM5", pty.slave);
        ScriptedPrompter prompter;
        AppContext ctx;
        ctx.prompter = &prompter;
        ctx.link.setLibraryPath(test::binDir() + "libZibDll.so");
        QTemporaryDir db;
        ctx.settings.connectionString = "Driver=QSQLITE;Database=" + db.filePath("kalvo.db");
        setModemSettings(ctx);

        QByteArray dialled, password, hangUp;
        std::atomic<bool> passwordRead{false};
        std::thread modem([&] {
            dialled = pty.readUntil("\r\n");
            pty.write("ATDT123\r\r\nCONNECT 9600\r\n");
            password = pty.readUntil("\n", 1000); // no line end: ends on quiet
            passwordRead = true;
            hangUp = pty.readUntil("\r\n");
            pty.write("ATH0\r\r\nOK\r\n");
        });
        LineRoutines line(ctx);
        const LineOutcome connected = line.Connect(modemChoice(5, "123", "tajna"));
        const speed_t speed = pty.slaveSpeed();
        const bool modemLink = ctx.link.ModemLink;
        const bool heard = QTest::qWaitFor([&] { return passwordRead.load(); }, 3000);
        const LineOutcome disconnected = line.Disconnect();
        modem.join();
        ctx.link.Close_RS232();
        qunsetenv("ZIB_COM5");

        QVERIFY(heard);
        QCOMPARE(dialled, QByteArray("ATDT123\r\n"));
        QCOMPARE(connected, LineOutcome::Connected);
        QVERIFY(modemLink);
        QCOMPARE(speed, speed_t(B9600));
        QCOMPARE(password, QByteArray("tajna"));
        QCOMPARE(hangUp, QByteArray("ATH0\r\n"));
        QCOMPARE(disconnected, LineOutcome::Disconnected);
        QVERIFY(!ctx.link.ModemLink);
        QCOMPARE(prompter.texts(), QStringList({"Komunikacija je ostvarena ! ", "Komunikacija je prekinuta ! "}));
        // the PORT row keeps the chosen speed, the port and the dial prefix
        const PortSettings expected{5, 57600, "ATDT", "123"};
        QCOMPARE(ArticleStore(ctx.settings.connectionString).loadPort(), std::optional<PortSettings>(expected));
    }

    void dialResults_data()
    {
        QTest::addColumn<QStringList>("dials");
        QTest::addColumn<QList<int>>("answers"); // Answer values given to Retry/Cancel boxes
        QTest::addColumn<LineOutcome>("outcome");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("dialCount");
        const QList<int> none;
        const QString connected = "Komunikacija je ostvarena ! ";
        QTest::newRow("CONNECT") << QStringList{"CONNECT 9600"} << none << LineOutcome::Connected
                                 << QStringList{connected} << 1;
        QTest::newRow("BUSY wins over RING") << QStringList{"RING\r\n\r\nBUSY"} << none << LineOutcome::Cancelled
                                             << QStringList{"Broj je zauzet !\r\n"} << 1;
        QTest::newRow("NO CARRIER") << QStringList{"NO CARRIER"} << none << LineOutcome::Cancelled
                                    << QStringList{"Linija je zauzeta !\r\n"} << 1;
        QTest::newRow("NO ANSWER") << QStringList{"NO ANSWER"} << none << LineOutcome::Cancelled
                                   << QStringList{"Nema odgovora !\r\n"} << 1;
        QTest::newRow("NO DIALTONE") << QStringList{"NO DIALTONE"} << none << LineOutcome::Cancelled
                                     << QStringList{"Linija je prekinuta !\r\n"} << 1;
        QTest::newRow("RING") << QStringList{"RING"} << none << LineOutcome::Ringing
                              << QStringList{"Imate poziv ! "} << 1;
        QTest::newRow("BUSY, Retry, CONNECT")
            << QStringList{"BUSY", "CONNECT 9600"} << QList<int>{int(Answer::Retry)} << LineOutcome::Connected
            << QStringList{"Broj je zauzet !\r\n", connected} << 2;
    }
    void dialResults()
    {
        QFETCH(QStringList, dials);
        QFETCH(QList<int>, answers);
        QFETCH(LineOutcome, outcome);
        QFETCH(QStringList, texts);
        QFETCH(int, dialCount);
        ScaleGuard scale(kAnswerScale);
        RoutineRig rig;
        QStringList args;
        for (const QString &d : dials)
            args << "--dial" << d;
        QVERIFY(rig.open(args));
        setModemSettings(rig.ctx);
        for (int a : answers)
            rig.prompter.answer(Answer(a));

        QCOMPARE(LineRoutines(rig.ctx).Connect(modemChoice(RoutineRig::kPort)), outcome);
        QCOMPARE(rig.prompter.texts(), texts);
        for (const Prompt &p : rig.prompter.prompts) {
            QCOMPARE(p.title, QString("Orvel Cash Registers"));
            QCOMPARE(p.buttons, p.text.endsWith("\r\n") ? Buttons::RetryCancel : Buttons::Ok);
        }
        const bool connected = outcome == LineOutcome::Connected;
        QCOMPARE(rig.ctx.link.ModemLink, connected);
        // the modem heard the dial command once per attempt, then the password after CONNECT
        QList<QByteArray> lines;
        for (int i = 0; i < dialCount; ++i)
            lines << "ATDT123";
        if (connected) {
            lines << "pw";
            QVERIFY(QTest::qWaitFor([&] { return rig.sim.textLines().size() == lines.size(); }, 3000));
        }
        QCOMPARE(rig.sim.textLines(), lines);
    }

    // A modem that answers nothing, or nothing of use: 150 answers are read, then the
    // failure is shown; the port still works.
    void noResultWord_data()
    {
        QTest::addColumn<QString>("dial");
        QTest::newRow("silence") << "none";
        QTest::newRow("garbage") << "\x7f#@! CONNEC 17 BUS";
    }
    void noResultWord()
    {
        QFETCH(QString, dial);
        ScaleGuard scale(kSilenceScale);
        RoutineRig rig;
        QVERIFY(rig.open({"--dial", dial}));
        setModemSettings(rig.ctx);
        rig.ctx.link.ModemLink = true;
        int reads = 0;
        LineRoutines line(rig.ctx, [&] { ++reads; return false; });
        QCOMPARE(line.Connect(modemChoice(RoutineRig::kPort)), LineOutcome::NotConnected);
        QCOMPARE(reads, LineRoutines::kDialAnswers);
        QCOMPARE(rig.prompter.texts(), QStringList{"Komunikacija nije ostvarena !"});
        QCOMPARE(rig.prompter.last().icon, Icon::Critical);
        QVERIFY(!rig.ctx.link.ModemLink);
        QCOMPARE(rig.ctx.link.Testconnessione(), 0);
    }

    void stopEndsDialling()
    {
        ScaleGuard scale(kSilenceScale);
        RoutineRig rig;
        QVERIFY(rig.open({"--dial", "none"}));
        setModemSettings(rig.ctx);
        int reads = 0;
        LineRoutines line(rig.ctx, [&] { return ++reads == 3; });
        QCOMPARE(line.Connect(modemChoice(RoutineRig::kPort)), LineOutcome::Stopped);
        QCOMPARE(reads, 3);
        QVERIFY(rig.prompter.prompts.empty());
        QVERIFY(!rig.ctx.link.ModemLink);
    }

    // An empty number only warns: the port, the settings and the line stay untouched.
    void emptyNumber()
    {
        RoutineRig rig;
        QVERIFY(rig.open());
        setModemSettings(rig.ctx);
        const LinkSettings before = rig.ctx.data.LinkSettings;
        QCOMPARE(LineRoutines(rig.ctx).Connect(modemChoice(3, "")), LineOutcome::NoNumber);
        QCOMPARE(rig.prompter.texts(), QStringList{"Unesite telefonski broj !"});
        QCOMPARE(rig.prompter.last().title, QString("Orvel Cash registers"));
        QCOMPARE(rig.prompter.last().icon, Icon::Exclamation);
        QVERIFY(rig.ctx.data.LinkSettings == before);
        QVERIFY(!rig.store().loadPort());
        QCOMPARE(rig.ctx.link.Testconnessione(), 0); // still open on the register
        QVERIFY(rig.sim.textLines().isEmpty());
    }

    void disconnect_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<LineOutcome>("outcome");
        QTest::addColumn<int>("reads");
        QTest::newRow("OK to ATH0") << QByteArray("ATH0") << true << LineOutcome::Disconnected << 0;
        // the simulator's modem ignores text that is not an AT command
        QTest::newRow("no OK") << QByteArray("HANG") << true << LineOutcome::AlreadyDisconnected
                               << LineRoutines::kHangUpAnswers;
        QTest::newRow("no port open") << QByteArray("ATH0") << false << LineOutcome::AlreadyDisconnected << 0;
    }
    void disconnect()
    {
        QFETCH(QByteArray, command);
        QFETCH(bool, portOpen);
        QFETCH(LineOutcome, outcome);
        QFETCH(int, reads);
        ScaleGuard scale(kSilenceScale);
        RoutineRig rig;
        QVERIFY(rig.open());
        if (!portOpen)
            rig.ctx.link.Close_RS232();
        setModemSettings(rig.ctx);
        rig.ctx.settings.atdisconnect = command;
        rig.ctx.link.ModemLink = true;
        int counted = 0;
        LineRoutines line(rig.ctx, [&] { ++counted; return false; });
        QCOMPARE(line.Disconnect(), outcome);
        QCOMPARE(counted, reads);
        QVERIFY(!rig.ctx.link.ModemLink);
        if (outcome == LineOutcome::Disconnected) {
            QCOMPARE(rig.prompter.texts(), QStringList{"Komunikacija je prekinuta ! "});
            QCOMPARE(rig.prompter.last().icon, Icon::None);
            QCOMPARE(rig.ctx.link.Testconnessione(), 0); // the port stays open
        } else {
            QCOMPARE(rig.prompter.texts(), QStringList{"Komunikacija je vec bila prekinuta !"});
            QCOMPARE(rig.prompter.last().icon, Icon::Critical);
        }
    }
};

QTEST_GUILESS_MAIN(LineRoutinesTest)
#include "line_routines_test.moc"
