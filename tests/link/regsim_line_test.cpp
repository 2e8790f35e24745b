// kalvo-regsim's line code as the other tests rely on it: its own frame check, text lines,
// the link's life cycle, bad arguments, and the line faults that replace or drop the line.
#include "RegSim.h"
#include "TestSupport.h"
#include "register/Link.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QtTest>

using kalvo::Link;
using kalvo::test::RegSim;

namespace {

// Waits until the simulator's log holds an entry with this tag.
bool waitForTag(const RegSim &sim, char tag, int ms = 2000)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        for (const RegSim::Entry &e : sim.log())
            if (e.tag == tag)
                return true;
        QThread::msleep(5);
    }
    return false;
}

QByteArray sentBytes(const RegSim &sim)
{
    QByteArray out;
    for (const RegSim::Entry &e : sim.log())
        if (e.tag == 'S')
            out += e.bytes;
    return out;
}

} // namespace

class RegSimLineTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!qEnvironmentVariableIsSet("ZIB_TIMEOUT_SCALE"))
            qputenv("ZIB_TIMEOUT_SCALE", "0.05");
    }

    void workstationBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<char>("tag");
        QTest::addColumn<QByteArray>("logged");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("good frame") << QByteArray::fromHex("02543B3A03") << 'F' << QByteArray("T") << QByteArray("\x06");
        QTest::newRow("bad checksum: NAK") << QByteArray::fromHex("02543C3A03") << 'B' << QByteArray("T<:")
                                           << QByteArray("\x15");
        QTest::newRow("checksum off in the high bits: NAK") << QByteArray::fromHex("02544B3A03") << 'B'
                                                            << QByteArray("TK:") << QByteArray("\x15");
        QTest::newRow("dial command") << QByteArray("ATDT123\r\n") << 'L' << QByteArray("ATDT123") << QByteArray();
        QTest::newRow("password without line end") << QByteArray("tajna") << 'L' << QByteArray("tajna") << QByteArray();
        QTest::newRow("lone ACK") << QByteArray("\x06") << 'A' << QByteArray() << QByteArray();
        QTest::newRow("log escapes") << QByteArray("\x02\\\"\x01\x80" "00" "\x03") << 'F'
                                     << QByteArray("\\\"\x01\x80") << QByteArray("\x06");
    }
    // What the simulator makes of raw bytes from the workstation, and what it answers.
    void workstationBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(char, tag);
        QFETCH(QByteArray, logged);
        QFETCH(QByteArray, answer);
        RegSim sim;
        QVERIFY2(sim.start({"--basic"}), qPrintable(sim.errorString()));
        sim.usePort(5);
        Link link;
        link.setLibraryPath(kalvo::test::binDir() + "libZibDll.so");
        QCOMPARE(link.Init_RS232(5), 0);
        QCOMPARE(link.send_data(bytes), 0);
        QVERIFY(waitForTag(sim, tag));
        QThread::msleep(50);
        QList<QByteArray> seen;
        for (const RegSim::Entry &e : sim.log())
            if (e.tag == tag)
                seen.append(e.bytes);
        QCOMPARE(seen, QList<QByteArray>{logged});
        QCOMPARE(sentBytes(sim), answer);
        link.Close_RS232();
    }

    // A stale link of an earlier run is replaced; SIGTERM ends the run cleanly and removes it.
    void linkLifeCycle()
    {
        RegSim sim;
        QVERIFY(QFile::link("/nonexistent/old-pty", sim.linkPath()));
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        QVERIFY(QFileInfo(sim.linkPath()).symLinkTarget().startsWith("/dev/pts/"));
        QCOMPARE(sim.stop(), 0);
        QVERIFY(!QFileInfo(sim.linkPath()).isSymLink());
        QVERIFY(!QFileInfo::exists(sim.controlPath()));
    }

    void refusedStarts_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("plainFileAtLink");
        QTest::addColumn<QString>("says");
        QTest::newRow("unknown fault") << QStringList{"--fault", "explode"} << false << "unknown fault";
        QTest::newRow("bad count") << QStringList{"--fault", "nak:0"} << false << "count";
        QTest::newRow("bad hex") << QStringList{"--fault", "reply:4G"} << false << "hex";
        QTest::newRow("a file is in the way") << QStringList{} << true << "not a symbolic link";
    }
    void refusedStarts()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, plainFileAtLink);
        QFETCH(QString, says);
        RegSim sim;
        if (plainFileAtLink) {
            QFile f(sim.linkPath());
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QVERIFY(!sim.start(args));
        QVERIFY2(sim.errorString().contains(says), qPrintable(sim.errorString()));
        if (plainFileAtLink)
            QVERIFY(QFileInfo(sim.linkPath()).isFile()); // left alone
    }

    // "reopen" gives a fresh line on the same path; "drop" ends the simulator.
    void lineFaults()
    {
        RegSim sim;
        QVERIFY2(sim.start({"--basic", "--fault", "reopen", "--fault", "nak", "--fault", "drop"}), qPrintable(sim.errorString()));
        sim.usePort(6);
        Link link;
        link.setLibraryPath(kalvo::test::binDir() + "libZibDll.so");
        QCOMPARE(link.Init_RS232(6), 0);
        const QString firstPty = QFileInfo(sim.linkPath()).symLinkTarget();

        QCOMPARE(link.send_frameT("T", 8000), 2); // the line went away under us
        QVERIFY(QFileInfo(sim.linkPath()).isSymLink());
        QCOMPARE(link.Init_RS232(6), 0);
        QCOMPARE(link.send_frame("A"), 1); // the new line answers (the queued NAK)
        QCOMPARE(link.send_frame("B"), 2); // dropped
        QVERIFY(sim.waitForExit());
        QVERIFY(!QFileInfo(sim.linkPath()).isSymLink());
        QCOMPARE(sim.payloads(), (QList<QByteArray>{"T", "A", "B"}));
        QVERIFY(firstPty.startsWith("/dev/pts/"));
        link.Close_RS232();
    }

    void help()
    {
        QProcess p;
        p.start(kalvo::test::binDir() + "kalvo-regsim", {"--help"});
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitCode(), 0);
        const QByteArray text = p.readAllStandardOutput();
        for (const char *word : {"--link", "--control", "--log", "--state", "--fault", "reopen", "hangup"})
            QVERIFY2(text.contains(word), word);
    }
};

QTEST_GUILESS_MAIN(RegSimLineTest)
#include "regsim_line_test.moc"
