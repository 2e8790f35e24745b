// libZibDll.so on a real pseudo-terminal: against kalvo-regsim, or against a bare pty whose
// master side the test reads to see the exact bytes on the wire.
#include "RegSim.h"
#include "TestSupport.h"
#include "register/Link.h"
#include "shell/Prompter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QtTest>

#include <memory>

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

using kalvo::Link;
using kalvo::test::RegSim;

namespace {

constexpr int kSimPort = 1;
constexpr int kPtyPort = 2;

double timeoutScale()
{
    return qEnvironmentVariable("ZIB_TIMEOUT_SCALE", "1").toDouble();
}

// A library time-out of `ms` as it runs under the test's scale.
qint64 scaled(int ms)
{
    return qint64(ms * timeoutScale());
}

double cpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// A pseudo-terminal the test holds itself: the library opens the slave as a port, the test
// reads and writes the master.
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
        tcsetattr(master, TCSANOW, &t);
        return true;
    }
    ~BarePty()
    {
        if (master >= 0)
            close(master);
    }
    // Everything written so far (waits briefly for stragglers).
    QByteArray drain()
    {
        QByteArray out;
        pollfd p{master, POLLIN, 0};
        while (poll(&p, 1, 100) > 0 && (p.revents & POLLIN)) {
            char buf[512];
            const ssize_t n = read(master, buf, sizeof buf);
            if (n <= 0)
                break;
            out.append(buf, int(n));
        }
        return out;
    }
};

QByteArray frameOf(const QByteArray &payload)
{
    unsigned sum = 0;
    for (char c : payload)
        sum += static_cast<unsigned char>(c);
    const unsigned char k = static_cast<unsigned char>(~sum);
    return '\x02' + payload + char(0x30 | (k & 15)) + char(0x30 | (k >> 4)) + '\x03';
}

} // namespace

class ZibDllTest : public QObject {
    Q_OBJECT

    std::unique_ptr<RegSim> sim;
    std::unique_ptr<Link> link;
    kalvo::ScriptedPrompter prompter;

    // Starts the simulator and opens it as COM1.
    bool openSim(const QStringList &args = {})
    {
        sim = std::make_unique<RegSim>();
        if (!sim->start(QStringList{"--basic"} + args)) {
            qWarning() << sim->errorString();
            return false;
        }
        sim->usePort(kSimPort);
        return link->Init_RS232(kSimPort) == 0;
    }

    // Waits for the simulator to have logged `n` ACKs, then a little more so that an
    // unexpected extra one would show.
    int acksAfterSettling(int n)
    {
        QElapsedTimer t;
        t.start();
        while (sim->acksReceived() < n && t.elapsed() < 2000)
            QThread::msleep(5);
        QThread::msleep(50);
        return sim->acksReceived();
    }

    void send(const QString &fn, const QByteArray &payload)
    {
        if (fn == "send_frame")
            link->send_frame(payload);
        else if (fn == "send_frameM")
            link->send_frameM(payload);
        else if (fn == "send_frameMD")
            link->send_frameMD(payload);
        else if (fn == "send_frame120s")
            link->send_frame120s(payload);
        else
            QFAIL("unknown function");
    }

private slots:
    void initTestCase()
    {
        if (!qEnvironmentVariableIsSet("ZIB_TIMEOUT_SCALE"))
            qputenv("ZIB_TIMEOUT_SCALE", "0.05");
        QVERIFY2(timeoutScale() > 0 && timeoutScale() <= 0.1, "the tests expect a small ZIB_TIMEOUT_SCALE");
    }

    void init()
    {
        prompter.clear();
        link = std::make_unique<Link>();
        link->setLibraryPath(kalvo::test::binDir() + "libZibDll.so");
        link->setPrompter(&prompter);
    }

    void cleanup()
    {
        link->Close_RS232();
        link.reset();
        sim.reset();
    }

    void framesOnTheWire_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("T") << QByteArray("T") << QByteArray::fromHex("02543B3A03");
        QTest::newRow("ABC") << QByteArray("ABC") << QByteArray::fromHex("02414243393303");
        QTest::newRow("sum FF, checksum 00") << QByteArray("\xFF") << QByteArray::fromHex("02FF303003");
        QTest::newRow("high nibble E") << QByteArray("\x10") << QByteArray::fromHex("02103F3E03");
        QTest::newRow("sum wraps") << QByteArray("\x80\x80\x01") << QByteArray::fromHex("028080013E3F03");
    }
    // The exact bytes a frame puts on the line, read from the pty's master side.
    void framesOnTheWire()
    {
        QFETCH(QByteArray, payload);
        QFETCH(QByteArray, wire);
        BarePty pty;
        QVERIFY(pty.open());
        qputenv("ZIB_COM2", pty.slave);
        QCOMPARE(link->Init_RS232(kPtyPort), 0);
        QCOMPARE(link->send_frameT(payload, 1), 2);
        QCOMPARE(pty.drain().toHex(), wire.toHex());
    }

    void payloadLimits_data()
    {
        QTest::addColumn<QString>("fn");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("written");
        QTest::newRow("frame of 252") << "send_frameT" << 252 << 2 << 256;
        QTest::newRow("frame of 253 refused") << "send_frameT" << 253 << 2 << 0;
        QTest::newRow("empty frame refused") << "send_frameT" << 0 << 2 << 0;
        QTest::newRow("get of 253 refused") << "get_frameT" << 253 << -5 << 0;
        QTest::newRow("raw 256") << "send_data" << 256 << 0 << 256;
        QTest::newRow("raw 257 refused") << "send_data" << 257 << -1 << 0;
    }
    // The 256-byte transmit buffer is never overrun: too long a payload is refused unsent.
    void payloadLimits()
    {
        QFETCH(QString, fn);
        QFETCH(int, size);
        QFETCH(int, result);
        QFETCH(int, written);
        BarePty pty;
        QVERIFY(pty.open());
        qputenv("ZIB_COM2", pty.slave);
        QCOMPARE(link->Init_RS232(kPtyPort), 0);
        const QByteArray payload(size, 'x');
        int r = 0;
        if (fn == "send_frameT")
            r = link->send_frameT(payload, 1);
        else if (fn == "get_frameT")
            r = link->get_frameT(payload, 1);
        else
            r = link->send_data(payload);
        QCOMPARE(r, result);
        QCOMPARE(pty.drain().size(), written);
    }

    void sendResults_data()
    {
        QTest::addColumn<QString>("fn");
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("transmissions");
        QTest::addColumn<int>("minMs"); // unscaled
        QTest::newRow("ack") << "send_frame" << QStringList{} << 0 << 1 << 0;
        QTest::newRow("nak after one transmission") << "send_frame" << QStringList{"nak"} << 1 << 1 << 0;
        QTest::newRow("silence: three transmissions") << "send_frame" << QStringList{"silent:3"} << 2 << 3 << 24000;
        QTest::newRow("third try answered") << "send_frame" << QStringList{"silent:2"} << 0 << 3 << 16000;
        QTest::newRow("nak on the second try") << "send_frame" << QStringList{"silent", "nak"} << 1 << 2 << 8000;
        QTest::newRow("junk before the ack") << "send_frame" << QStringList{"garbage"} << 0 << 1 << 0;
        QTest::newRow("modem: 20 s tries") << "send_frameM" << QStringList{"silent:3"} << 2 << 3 << 60000;
        QTest::newRow("MD: one try") << "send_frameMD" << QStringList{"silent"} << 2 << 1 << 20000;
    }
    void sendResults()
    {
        QFETCH(QString, fn);
        QFETCH(QStringList, faults);
        QFETCH(int, result);
        QFETCH(int, transmissions);
        QFETCH(int, minMs);
        QVERIFY(openSim());
        for (const QString &f : faults)
            QVERIFY2(sim->command(f), qPrintable(sim->errorString()));
        QElapsedTimer t;
        t.start();
        send(fn, "R01");
        const qint64 elapsed = t.elapsed();
        QCOMPARE(link->LinkResult, result);
        QCOMPARE(sim->payloads(), QList<QByteArray>(transmissions, "R01"));
        QVERIFY2(elapsed >= scaled(minMs), qPrintable(QString::number(elapsed)));
        QVERIFY2(elapsed < scaled(minMs) + 2000, qPrintable(QString::number(elapsed)));
    }

    void getResults_data()
    {
        QTest::addColumn<QString>("fn");
        QTest::addColumn<QString>("command"); // simulator command before the exchange
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("payload"); // expected in ReplyBuffer[1..L]
        QTest::addColumn<int>("acks");           // ACK bytes the workstation sends back
        const auto raw = [](const QByteArray &bytes) { return "raw " + QString::fromLatin1(bytes.toHex()); };
        QTest::newRow("answer frame") << "get_frame" << "reply 414243" << 4 << QByteArray("ABC") << 1;
        QTest::newRow("one payload byte") << "get_frame" << raw(frameOf("T")) << 2 << QByteArray("T") << 1;
        QTest::newRow("modem: three acks") << "get_frameM" << "reply 414243" << 4 << QByteArray("ABC") << 3;
        QTest::newRow("register acks") << "get_frame" << "" << 0 << QByteArray() << 0;
        QTest::newRow("junk before an ACK") << "get_frame" << "garbage" << 0 << QByteArray() << 0;
        QTest::newRow("garbage before a frame") << "get_frame" << raw("\xFF\x55zq" + frameOf("AB")) << 3 << QByteArray("AB") << 1;
        QTest::newRow("second STX restarts") << "get_frame" << raw("\x02XY" + frameOf("AB")) << 3 << QByteArray("AB") << 1;
        QTest::newRow("ETX at index 1 is data") << "get_frame" << raw(frameOf("\x03Z")) << 3 << QByteArray("\x03Z") << 1;
        QTest::newRow("ETX at index 2 is data") << "get_frame" << raw(frameOf("Z\x03")) << 3 << QByteArray("Z\x03") << 1;
        QTest::newRow("ETX at index 3 is data") << "get_frame" << raw(frameOf("ZY\x03W")) << 5 << QByteArray("ZY\x03W") << 1;
        QTest::newRow("ACK mid-frame") << "get_frame" << raw("\x02" "AB\x06" "CD") << 0 << QByteArray() << 0;
        QTest::newRow("checksum 0x4B for 0x3B") << "get_frame" << raw(QByteArray::fromHex("02544B3A03")) << 2 << QByteArray("T") << 1;
        QTest::newRow("checksum 0x7A for 0x3A") << "get_frame" << raw(QByteArray::fromHex("02543B7A03")) << 2 << QByteArray("T") << 1;
        QTest::newRow("bad checksum") << "get_frame" << raw(QByteArray::fromHex("02543C3A03")) << -4 << QByteArray() << 0;
        QTest::newRow("silence") << "get_frame" << "silent" << -5 << QByteArray() << 0;
        QTest::newRow("half a frame") << "get_frame" << raw("\x02" "AB") << -5 << QByteArray() << 0;
    }
    void getResults()
    {
        QFETCH(QString, fn);
        QFETCH(QString, command);
        QFETCH(int, result);
        QFETCH(QByteArray, payload);
        QFETCH(int, acks);
        QVERIFY(openSim());
        if (!command.isEmpty())
            QVERIFY2(sim->command(command), qPrintable(sim->errorString()));
        QElapsedTimer t;
        t.start();
        const int r = fn == "get_frameM" ? link->get_frameM("n") : link->get_frame("n");
        const qint64 elapsed = t.elapsed();
        QCOMPARE(r, result);
        if (r > 0) {
            QCOMPARE(link->ReplyBuffer.at(0), '\x02');
            QCOMPARE(link->ReplyBuffer.mid(1, r - 1), payload);
        }
        if (r == -5)
            QVERIFY(elapsed >= scaled(8000));
        QVERIFY(elapsed < scaled(8000) + 2000);
        QCOMPARE(sim->payloads(), QList<QByteArray>{"n"});
        QCOMPARE(acksAfterSettling(acks), acks);
    }

    // Bytes waiting before a get exchange are flushed, not taken for the answer.
    void getFlushesStaleInput()
    {
        QVERIFY(openSim());
        QVERIFY(sim->command("write " + QString::fromLatin1(frameOf("OLD").toHex())));
        QThread::msleep(50);
        QVERIFY(sim->command("reply 4E4557")); // "NEW"
        QCOMPARE(link->get_frame("n"), 4);
        QCOMPARE(link->ReplyBuffer.mid(1, 3), QByteArray("NEW"));
    }

    void receiveLimit_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("result");
        const QByteArray as(246, 'A'); // sum 0x76, complement 0x89: checksum chars "98"
        QTest::newRow("300 bytes without ETX") << QByteArray('\x02' + QByteArray(300, 'A')) << -4;
        QTest::newRow("cut at 250, checksum fits") << QByteArray('\x02' + as + "98Z" + QByteArray(40, 'B')) << 247;
    }
    // Collecting stops at 250 bytes: the caller's 250-byte buffer is never written past.
    void receiveLimit()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, result);
        QVERIFY(openSim());
        void *lib = dlopen(QFile::encodeName(kalvo::test::binDir() + "libZibDll.so").constData(), RTLD_NOW);
        QVERIFY(lib);
        auto getFrame = reinterpret_cast<int32_t (*)(const char *, int32_t, char *)>(dlsym(lib, "get_frame"));
        QVERIFY(getFrame);
        QVERIFY(sim->command("raw " + QString::fromLatin1(answer.toHex())));
        QByteArray buffer(250 + 16, '\xEE');
        const int r = getFrame("n", 1, buffer.data());
        dlclose(lib);
        QCOMPARE(r, result);
        QCOMPARE(buffer.mid(250), QByteArray(16, '\xEE'));
        QCOMPARE(buffer.mid(1, 249), answer.mid(1, 249));
    }

    void readData_data()
    {
        QTest::addColumn<QString>("fn");
        QTest::addColumn<int>("waiting"); // bytes the modem has sent
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("minMs"); // unscaled
        QTest::newRow("time-out with 12 bytes") << "read_data" << 12 << 12 << 12 << 60000;
        QTest::newRow("nothing") << "read_data" << 0 << 0 << 0 << 60000;
        QTest::newRow("250 bytes: at once, count 0") << "read_data" << 300 << 250 << 0 << 0;
        QTest::newRow("ini: ATMI, 20 s") << "read_data_ini" << 5 << 5 << 5 << 20000;
    }
    void readData()
    {
        QFETCH(QString, fn);
        QFETCH(int, waiting);
        QFETCH(int, result);
        QFETCH(int, count);
        QFETCH(int, minMs);
        QVERIFY(openSim());
        QByteArray sent;
        for (int i = 0; i < waiting; ++i)
            sent += char('0' + i % 10);
        if (waiting)
            QVERIFY(sim->command("write " + QString::fromLatin1(sent.toHex())));
        QThread::msleep(50);
        qint32 outCount = -1;
        QByteArray received;
        QElapsedTimer t;
        t.start();
        const int r = fn == "read_data" ? link->read_data(outCount, received) : link->read_data_ini(outCount, received);
        const qint64 elapsed = t.elapsed();
        QCOMPARE(r, result);
        QCOMPARE(outCount, count);
        QCOMPARE(received, sent.left(result));
        QVERIFY2(elapsed >= scaled(minMs), qPrintable(QString::number(elapsed)));
        QVERIFY2(elapsed < scaled(minMs) + 2000, qPrintable(QString::number(elapsed)));
        if (fn == "read_data_ini") {
            QThread::msleep(200); // the simulator hands over unended text after 100 ms
            QCOMPARE(sim->textLines(), QList<QByteArray>{"ATMI"});
        }
    }

    void linkTestWithoutPort_data()
    {
        QTest::addColumn<bool>("modem");
        QTest::newRow("Testconnessione") << false;
        QTest::newRow("TestconnessioneM") << true;
    }
    void linkTestWithoutPort()
    {
        QFETCH(bool, modem);
        link->Close_RS232();
        QElapsedTimer t;
        t.start();
        QCOMPARE(modem ? link->TestconnessioneM() : link->Testconnessione(), -2);
        QVERIFY(t.elapsed() < 200);
        QCOMPARE(prompter.prompts.size(), size_t(1));
        QCOMPARE(prompter.last().text, QString("Podesite vezu i pokusajte ponovo!"));
        QCOMPARE(prompter.last().title, QString("ZibDll"));
        QCOMPARE(prompter.last().icon, kalvo::Icon::None);
        QCOMPARE(prompter.last().buttons, kalvo::Buttons::Ok);
    }

    void linkTestAgainstRegister_data()
    {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<int>("result");
        QTest::newRow("acknowledged") << QStringList{} << 0;
        QTest::newRow("refused") << QStringList{"--fault", "nak"} << -2;
        QTest::newRow("silent") << QStringList{"--fault", "silent:3"} << -2;
    }
    void linkTestAgainstRegister()
    {
        QFETCH(QStringList, faults);
        QFETCH(int, result);
        QVERIFY(openSim(faults));
        QCOMPARE(link->Testconnessione(), result);
        QCOMPARE(sim->payloads().value(0), QByteArray("T"));
        QCOMPARE(prompter.texts(), result == 0 ? QStringList{} : QStringList{"Podesite vezu i pokusajte ponovo!"});
    }

    void openFailures_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("device missing") << 7 << 9600 << 1 << QStringList{"Port je zauzet!"};
        QTest::newRow("port 0") << 0 << 9600 << 1 << QStringList{"Port je zauzet!"};
        QTest::newRow("negative port") << -3 << 9600 << 1 << QStringList{"Port je zauzet!"};
        QTest::newRow("baud the line lacks") << kSimPort << 12345 << 2 << QStringList{};
        QTest::newRow("57600") << kSimPort << 57600 << 0 << QStringList{};
    }
    void openFailures()
    {
        QFETCH(int, port);
        QFETCH(int, baud);
        QFETCH(int, result);
        QFETCH(QStringList, messages);
        qputenv("ZIB_COM7", QFile::encodeName(QDir::tempPath() + "/no-such-dir/tty"));
        sim = std::make_unique<RegSim>();
        QVERIFY(sim->start({"--basic"}));
        sim->usePort(kSimPort);
        QCOMPARE(link->Init_RS232bd(port, baud), result);
        QCOMPARE(prompter.texts(), messages);
        if (!messages.isEmpty())
            QCOMPARE(prompter.last().title, QString("ZibDll"));
        // Refused settings leave the port open; a failed open leaves none.
        QCOMPARE(link->Testconnessione(), result == 1 ? -2 : 0);
    }

    // Opening again without closing first moves to the new port instead of leaking the old.
    void reopenWithoutClose()
    {
        QVERIFY(openSim());
        BarePty pty;
        QVERIFY(pty.open());
        qputenv("ZIB_COM2", pty.slave);
        QCOMPARE(link->Init_RS232(kPtyPort), 0);
        link->send_frameT("T", 1);
        QCOMPARE(pty.drain(), QByteArray::fromHex("02543B3A03"));
        QCOMPARE(sim->payloads(), QList<QByteArray>{});
    }

    void vanishedDevice_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("simulator killed") << "kill";
        QTest::newRow("line dropped by the simulator") << "hangup";
    }
    // The register's side disappears: every call ends with its time-out code, no crash,
    // no hang, no spinning.
    void vanishedDevice()
    {
        QFETCH(QString, how);
        QVERIFY(openSim());
        if (how == "kill") {
            sim->kill();
        } else {
            QVERIFY(sim->command("hangup"));
            QVERIFY(sim->waitForExit());
        }
        QElapsedTimer t;
        t.start();
        const double cpu0 = cpuMs();
        QCOMPARE(link->send_frame("T"), 2);
        QCOMPARE(link->get_frame("n"), -5);
        QCOMPARE(link->send_data("ATH\r\n"), -1);
        QCOMPARE(link->send_ack(), 0);
        QCOMPARE(link->Testconnessione(), -2);
        const qint64 wall = t.elapsed();
        const double cpu = cpuMs() - cpu0;
        QVERIFY2(wall < scaled(6 * 8000) + 3000, qPrintable(QString::number(wall)));
        QVERIFY2(cpu < 0.05 * double(wall), qPrintable(QString("cpu %1 ms of %2 ms").arg(cpu).arg(wall)));
    }

    void silenceSleeps_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("register silent") << "silent";
        QTest::newRow("register gone") << "kill";
    }
    // While waiting out a silence the process sleeps: well under 5 % of one CPU.
    void silenceSleeps()
    {
        QFETCH(QString, how);
        QVERIFY(openSim({"--fault", "silent"}));
        if (how == "kill")
            sim->kill();
        const int timeoutMs = int(1500 / timeoutScale()); // 1.5 s of real time
        QElapsedTimer t;
        t.start();
        const double cpu0 = cpuMs();
        QCOMPARE(link->send_frameT("T", timeoutMs), 2);
        const qint64 wall = t.elapsed();
        const double cpu = cpuMs() - cpu0;
        QVERIFY(wall >= 1500);
        QVERIFY2(cpu < 0.05 * double(wall), qPrintable(QString("cpu %1 ms of %2 ms").arg(cpu).arg(wall)));
    }
};

QTEST_GUILESS_MAIN(ZibDllTest)
#include "zibdll_test.moc"
