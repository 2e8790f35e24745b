// The program's Link object: binding the library by name, the exchange state, the
// direct/modem variants and the library's messages reaching the Prompter.
#include "RegSim.h"
#include "TestSupport.h"
#include "register/Link.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtTest>

#include <memory>

using kalvo::AppError;
using kalvo::Link;
using kalvo::test::RegSim;

namespace {

qint64 scaled(int ms)
{
    return qint64(ms * qEnvironmentVariable("ZIB_TIMEOUT_SCALE", "1").toDouble());
}

QString libraryPath()
{
    return kalvo::test::binDir() + "libZibDll.so";
}

} // namespace

class LinkBindingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!qEnvironmentVariableIsSet("ZIB_TIMEOUT_SCALE"))
            qputenv("ZIB_TIMEOUT_SCALE", "0.05");
    }

    void bindingFailures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("no library") << QDir::tempPath() + "/no-such-dir/libZibDll.so" << int(kalvo::kErrLinkLibrary)
                                    << "no-such-dir/libZibDll.so";
        QTest::newRow("library without the export") << "libm.so.6" << int(kalvo::kErrLinkEntry) << "Init_RS232bd";
    }
    // A missing library or export is an AppError for the caller's handler, not a crash.
    void bindingFailures()
    {
        QFETCH(QString, path);
        QFETCH(int, code);
        QFETCH(QString, mentions);
        Link link;
        link.setLibraryPath(path);
        try {
            link.Init_RS232bd(1, 9600);
            QFAIL("no error raised");
        } catch (const AppError &e) {
            QCOMPARE(e.code, code);
            QVERIFY2(e.description.contains(mentions), qPrintable(e.description));
        }
        // Still failing on the next call, and still no crash.
        QVERIFY_THROWS_EXCEPTION(AppError, link.Close_RS232());
    }

    // Library messages reach the Prompter that the context holds at that moment.
    void messagesReachTheContextPrompter()
    {
        kalvo::AppContext context;
        kalvo::ScriptedPrompter prompter;
        context.prompter = &prompter;
        context.link.setLibraryPath(libraryPath());
        context.link.Close_RS232();
        QCOMPARE(context.link.Testconnessione(), -2);
        QCOMPARE(context.link.LinkResult, -2);
        QCOMPARE(prompter.prompts.size(), size_t(1));
        QCOMPARE(prompter.last().text, QString("Podesite vezu i pokusajte ponovo!"));
        QCOMPARE(prompter.last().title, QString("ZibDll"));
        QCOMPARE(prompter.last().icon, kalvo::Icon::None);
        QCOMPARE(prompter.last().buttons, kalvo::Buttons::Ok);
    }

    void variantsFollowModemLink_data()
    {
        QTest::addColumn<bool>("modem");
        QTest::newRow("direct") << false;
        QTest::newRow("modem") << true;
    }
    // ModemLink picks get_frameM (three ACKs) over get_frame (one), and the 20 s tries of
    // send_frameM / TestconnessioneM over the 8 s ones.
    void variantsFollowModemLink()
    {
        QFETCH(bool, modem);
        RegSim sim;
        QVERIFY2(sim.start({"--basic"}), qPrintable(sim.errorString()));
        sim.usePort(4);
        Link link;
        link.setLibraryPath(libraryPath());
        QCOMPARE(link.Init_RS232(4), 0);
        link.ModemLink = modem;

        QVERIFY(sim.command("reply 414243"));
        link.FrameText = "J";
        QCOMPARE(link.getFrame(), 4);
        QCOMPARE(link.LinkResult, 4);
        // ReplyText: positions 1 to n of the answer (the payload, then the first checksum char).
        QCOMPARE(link.ReplyText, QByteArray("ABC9"));
        QElapsedTimer wait;
        wait.start();
        while (sim.acksReceived() < (modem ? 3 : 1) && wait.elapsed() < 2000)
            QThread::msleep(5);
        QThread::msleep(50);
        QCOMPARE(sim.acksReceived(), modem ? 3 : 1);

        // One silent try, then the register acknowledges: the try's length tells the variant.
        const qint64 tryMs = scaled(modem ? 20000 : 8000);
        QVERIFY(sim.command("silent"));
        link.FrameText = "R01";
        QElapsedTimer t;
        t.start();
        QCOMPARE(link.sendFrame(), 0);
        qint64 elapsed = t.elapsed();
        QVERIFY2(elapsed >= tryMs && elapsed < tryMs + scaled(12000), qPrintable(QString::number(elapsed)));

        QVERIFY(sim.command("silent"));
        t.restart();
        QCOMPARE(link.TestLink(), qint16(0));
        elapsed = t.elapsed();
        QVERIFY2(elapsed >= tryMs && elapsed < tryMs + scaled(12000), qPrintable(QString::number(elapsed)));

        QCOMPARE(sim.payloads(), (QList<QByteArray>{"J", "R01", "R01", "T", "T"}));

        // A failed get leaves ReplyText as it was.
        QVERIFY(sim.command("nak"));
        QCOMPARE(link.getFrame(), -5);
        QCOMPARE(link.ReplyText, QByteArray("ABC9"));
        link.Close_RS232();
    }

    void delayWaits()
    {
        QElapsedTimer t;
        t.start();
        kalvo::Delay(120);
        QVERIFY(t.elapsed() >= 120);
        t.restart();
        kalvo::Delay(-5);
        kalvo::Delay(0);
        QVERIFY(t.elapsed() < 50);
    }
};

QTEST_GUILESS_MAIN(LinkBindingTest)
#include "link_binding_test.moc"
