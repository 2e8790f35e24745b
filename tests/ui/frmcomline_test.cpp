// The line window driven through its controls (offscreen) against the register simulator:
// captions, loading and refreshing, saving the port and reopening it at the next start,
// dialling at 9600, the empty-number warning, Stop, errors and the main window's refresh.
#include "RegSim.h"
#include "TestSupport.h"

#include "data/ArticleStore.h"
#include "data/ProgrammingFile.h"
#include "register/LineRoutines.h"
#include "register/ui/frmcomline.h"
#include "shell/AppContext.h"
#include "shell/AppGlobals.h"
#include "shell/ui/frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <memory>

using namespace kalvo;

namespace {

struct ScaleGuard {
    explicit ScaleGuard(const char *scale) { qputenv("ZIB_TIMEOUT_SCALE", scale); }
    ~ScaleGuard() { qunsetenv("ZIB_TIMEOUT_SCALE"); }
};

// The speed a pty slave is set to, seen through a descriptor of our own opened before the
// workstation opens the line exclusively.
struct LineObserver {
    int fd = -1;
    explicit LineObserver(const QString &path) { fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK); }
    ~LineObserver()
    {
        if (fd >= 0)
            ::close(fd);
    }
    speed_t speed() const
    {
        termios t{};
        tcgetattr(fd, &t);
        return cfgetospeed(&t);
    }
};

} // namespace

class FrmComLineTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppContext> m_ctx;
    ScriptedPrompter m_prompter;

    QString folder() const { return m_dir->path() + "/"; }

    void newContext()
    {
        m_ctx = std::make_unique<AppContext>();
        m_ctx->appFolder = folder();
        m_ctx->prompter = &m_prompter;
        m_ctx->link.setLibraryPath(test::binDir() + "libZibDll.so");
        LoadSettings(*m_ctx);
        m_ctx->data.ResetTables();
        m_ctx->data.LinkSettings.dialMode = "ATDP";
    }

    ArticleStore store() const { return ArticleStore(m_ctx->settings.connectionString); }

    template <typename T> static T *child(QWidget &w, const char *name)
    {
        auto *c = w.findChild<T *>(QString::fromLatin1(name));
        if (!c)
            qWarning("no control %s", name);
        return c;
    }
    static QAction *button(frmcomline &w, const char *key)
    {
        for (QAction *a : child<QToolBar>(w, "Toolbar1")->actions())
            if (a->data().toString() == QLatin1String(key))
                return a;
        qWarning("no button %s", key);
        return nullptr;
    }
    // Presses the tool button of a key, as the operator does.
    static void press(frmcomline &w, const char *key)
    {
        auto *bar = child<QToolBar>(w, "Toolbar1");
        auto *tool = qobject_cast<QToolButton *>(bar->widgetForAction(button(w, key)));
        QVERIFY(tool);
        QTest::mouseClick(tool, Qt::LeftButton);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder() + "user");
        QFile ini(folder() + "Kalvo.ini");
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[database]\r\nconnectionstring=Driver=QSQLITE;Database={app.path}\\kalvo.db\r\n"
                  "[modem]\r\natdp=ATDP\r\natdt=ATDT\r\natdisconnect=ATH0\r\n");
        ini.close();
        m_prompter.clear();
        m_prompter.prompts.clear();
        newContext();
    }

    void cleanup()
    {
        if (m_ctx)
            m_ctx->link.Close_RS232();
        for (int port = 1; port <= 8; ++port)
            qunsetenv(("ZIB_COM" + QByteArray::number(port)).constData());
    }

    void controls()
    {
        qputenv("ZIB_COM2", "/dev/ttyUSB0");
        frmcomline w(*m_ctx);
        w.show();
        QCOMPARE(w.objectName(), QString("frmcomline"));
        QCOMPARE(w.windowTitle(), QString("Komunikacija"));
        QCOMPARE(m_ctx->CurrentFormName, QString("frmcomline"));

        auto *ports = child<QComboBox>(w, "Combo1");
        QCOMPARE(ports->count(), 8);
        QCOMPARE(ports->itemText(0), QString("Com1 (/dev/ttyS0)"));
        QCOMPARE(ports->itemText(1), QString("Com2 (/dev/ttyUSB0)"));
        QCOMPARE(ports->itemText(7), QString("Com8 (/dev/ttyS7)"));
        QCOMPARE(ports->toolTip(), QString("Izbor porta za komunikaciju"));
        auto *speeds = child<QComboBox>(w, "Combo2");
        QStringList speedTexts;
        for (int i = 0; i < speeds->count(); ++i)
            speedTexts << speeds->itemText(i);
        QCOMPARE(speedTexts, QStringList({"4800 bps", "9600 bps", "19200 bps", "38400 bps", "57600 bps"}));
        QCOMPARE(speeds->toolTip(), QString("Izbor brzine prenosa"));
        QCOMPARE(child<QCheckBox>(w, "Tone")->text(), QString("Pulsno ili tonsko bitanje "));
        QCOMPARE(child<QLineEdit>(w, "PhoneNumber")->toolTip(), QString("Telefonski broj sa kojim se ostvaruje veza"));
        QVERIFY(child<QLineEdit>(w, "Password"));
        QVERIFY(!child<QPushButton>(w, "Stop")->isEnabled());
        QVERIFY(child<QLabel>(w, "lblDevices")->text().contains("[ports]"));
        QStringList labels;
        for (QLabel *l : w.findChildren<QLabel *>())
            labels << l->text();
        for (const char *text : {"Serijska kom. linija:", "Telefonski broj:", "Lozinka:", "Tone/Pulse"})
            QVERIFY2(labels.contains(QString::fromLatin1(text)), text);

        const struct {
            const char *key, *caption, *tip;
        } buttons[] = {{"Connect", "Connect", "Povezivanje putem modema"},
                       {"Disconnect", "Disconnect", "Prekid ostvarene modemske veze"},
                       {"Salva", "Sacuvaj", "Inicijalizacija porta za RS232 komunikaciju"},
                       {"Annulla", "Izlaz", "Zatvaranje forme"}};
        const QList<QAction *> actions = child<QToolBar>(w, "Toolbar1")->actions();
        QCOMPARE(actions.size(), 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(actions[i]->data().toString(), QString(buttons[i].key));
            QCOMPARE(actions[i]->text(), QString(buttons[i].caption));
            QCOMPARE(actions[i]->toolTip(), QString(buttons[i].tip));
        }
    }

    // Loading fills the controls from LinkSettings; Osvezi does too, but leaves the speed
    // list alone and turns a speed stored as a list index into baud.
    void loadAndRefresh()
    {
        LinkSettings &link = m_ctx->data.LinkSettings;
        link.port = 3;
        link.baudRate = 38400;
        link.dialMode = "ATDT";
        link.phoneNumber = "0113334455";
        link.phonePassword = "tajna";
        frmcomline w(*m_ctx);
        w.show();
        auto *ports = child<QComboBox>(w, "Combo1");
        auto *speeds = child<QComboBox>(w, "Combo2");
        auto *tone = child<QCheckBox>(w, "Tone");
        QCOMPARE(ports->currentIndex(), 2);
        QCOMPARE(speeds->currentIndex(), 3);
        QVERIFY(tone->isChecked());
        QCOMPARE(child<QLineEdit>(w, "PhoneNumber")->text(), QString("0113334455"));
        QCOMPARE(child<QLineEdit>(w, "Password")->text(), QString("tajna"));

        // unticking the box: pulse dialling
        QTest::mouseClick(tone, Qt::LeftButton, {}, QPoint(4, tone->height() / 2));
        QCOMPARE(link.dialMode, std::string("ATDP"));

        link.port = 6;
        link.baudRate = 2;
        link.phoneNumber = "777";
        m_ctx->CurrentFormName = "frmPlu";
        w.Osvezi();
        QCOMPARE(m_ctx->CurrentFormName, QString("frmcomline"));
        QCOMPARE(link.baudRate, 19200);
        QCOMPARE(ports->currentIndex(), 5);
        QCOMPARE(speeds->currentIndex(), 3);
        QVERIFY(!tone->isChecked());
        QCOMPARE(child<QLineEdit>(w, "PhoneNumber")->text(), QString("777"));

        // a speed and a port outside the lists leave them without a selection
        link.baudRate = 1200;
        link.port = 12;
        frmcomline other(*m_ctx);
        other.show();
        QCOMPARE(child<QComboBox>(other, "Combo2")->currentIndex(), -1);
        QCOMPARE(child<QComboBox>(other, "Combo1")->currentIndex(), -1);
    }

    // "Sacuvaj" on COM2 at 19200 stores one PORT row; the next start reopens COM2 there.
    void saveReopensAtNextStart()
    {
        test::RegSim sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        sim.usePort(2);
        m_ctx->link.ModemLink = true;
        {
            frmcomline w(*m_ctx);
            w.show();
            child<QComboBox>(w, "Combo1")->setCurrentIndex(1);
            child<QComboBox>(w, "Combo2")->setCurrentIndex(2);
            child<QLineEdit>(w, "PhoneNumber")->setText("0112");
            press(w, "Salva");
            QCOMPARE(m_prompter.texts(), QStringList{"Komunikacioni port je odabran."});
            press(w, "Salva");
        }
        QVERIFY(!m_ctx->link.ModemLink);
        const PortSettings expected{2, 19200, "ATDP", "0112"};
        QCOMPARE(store().loadPort(), std::optional<PortSettings>(expected));
        m_ctx->link.Close_RS232(); // the program ends

        newContext();
        m_prompter.clear();
        frmMain main(*m_ctx);
        main.show();
        QCOMPARE(m_ctx->data.LinkSettings.port, 2);
        QCOMPARE(m_ctx->data.LinkSettings.baudRate, 19200);
        QCOMPARE(m_ctx->link.Testconnessione(), 0);
        QVERIFY(m_prompter.prompts.empty());
        frmcomline w(*m_ctx);
        w.show();
        QCOMPARE(child<QComboBox>(w, "Combo1")->currentIndex(), 1);
        QCOMPARE(child<QComboBox>(w, "Combo2")->currentIndex(), 2);
        main.close();
    }

    // "Connect" opens the port at 9600 whatever the speed list says, dials with the tone
    // prefix and sends the password after CONNECT.
    void connectDialsAt9600()
    {
        ScaleGuard scale("0.005");
        test::RegSim sim;
        QVERIFY2(sim.start({"--dial", "CONNECT 9600"}), qPrintable(sim.errorString()));
        sim.usePort(4);
        LineObserver line(sim.linkPath());
        QVERIFY(line.fd >= 0);
        frmcomline w(*m_ctx);
        w.show();
        child<QComboBox>(w, "Combo1")->setCurrentIndex(3);
        child<QComboBox>(w, "Combo2")->setCurrentIndex(4);
        press(w, "Salva");
        QCOMPARE(line.speed(), speed_t(B57600));

        auto *tone = child<QCheckBox>(w, "Tone");
        QTest::mouseClick(tone, Qt::LeftButton, {}, QPoint(4, tone->height() / 2));
        QVERIFY(tone->isChecked());
        child<QLineEdit>(w, "PhoneNumber")->setText("123");
        child<QLineEdit>(w, "Password")->setText("tajna");
        m_prompter.clear();
        press(w, "Connect");
        QCOMPARE(m_prompter.texts(), QStringList{"Komunikacija je ostvarena ! "});
        QVERIFY(m_ctx->link.ModemLink);
        QCOMPARE(line.speed(), speed_t(B9600));
        QVERIFY(QTest::qWaitFor([&] { return sim.textLines().size() == 2; }, 3000));
        QCOMPARE(sim.textLines(), QList<QByteArray>({"ATDT123", "tajna"}));
        const PortSettings expected{4, 57600, "ATDT", "123"};
        QCOMPARE(store().loadPort(), std::optional<PortSettings>(expected));

        m_prompter.clear();
        press(w, "Disconnect");
        QCOMPARE(m_prompter.texts(), QStringList{"Komunikacija je prekinuta ! "});
        QVERIFY(!m_ctx->link.ModemLink);
    }

    void emptyNumberOnlyWarns()
    {
        test::RegSim sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        sim.usePort(3);
        QCOMPARE(m_ctx->link.Init_RS232bd(3, 9600), 0);
        frmcomline w(*m_ctx);
        w.show();
        child<QComboBox>(w, "Combo1")->setCurrentIndex(1);
        press(w, "Connect");
        QCOMPARE(m_prompter.texts(), QStringList{"Unesite telefonski broj !"});
        QCOMPARE(m_prompter.last().title, QString("Orvel Cash registers"));
        QCOMPARE(m_prompter.last().icon, Icon::Exclamation);
        QCOMPARE(m_ctx->link.Testconnessione(), 0); // COM3 still open
        QVERIFY(sim.textLines().isEmpty());
        QVERIFY(!store().loadPort());
    }

    // Stop, or closing the window, ends dialling between two reads; no message follows.
    void stopEndsDialling_data()
    {
        QTest::addColumn<bool>("closeWindow");
        QTest::newRow("Stop") << false;
        QTest::newRow("window closed") << true;
    }
    void stopEndsDialling()
    {
        QFETCH(bool, closeWindow);
        ScaleGuard scale("0.002"); // 120 ms a read: 150 reads would take 18 s
        test::RegSim sim;
        QVERIFY2(sim.start({"--dial", "none"}), qPrintable(sim.errorString()));
        sim.usePort(1);
        QMdiArea area;
        auto *w = new frmcomline(*m_ctx);
        QMdiSubWindow *sub = area.addSubWindow(w);
        area.show();
        QPointer<QMdiSubWindow> alive(sub);
        child<QComboBox>(*w, "Combo1")->setCurrentIndex(0);
        child<QLineEdit>(*w, "PhoneNumber")->setText("555");
        auto *stop = child<QPushButton>(*w, "Stop");
        bool stopEnabled = false, running = false;
        QTimer::singleShot(400, w, [&] {
            stopEnabled = stop->isEnabled();
            running = w->isRunning();
            if (closeWindow)
                sub->close();
            else
                QTest::mouseClick(stop, Qt::LeftButton);
        });
        QElapsedTimer clock;
        clock.start();
        press(*w, "Connect");
        QVERIFY2(clock.elapsed() < 5000, "dialling went on after Stop");
        QVERIFY(stopEnabled);
        QVERIFY(running);
        QVERIFY(m_prompter.prompts.empty());
        QVERIFY(!m_ctx->link.ModemLink);
        if (closeWindow) {
            QVERIFY(QTest::qWaitFor([&] { return alive.isNull(); }, 3000));
        } else {
            QVERIFY(!w->isRunning());
            QVERIFY(!stop->isEnabled());
            QVERIFY(child<QToolBar>(*w, "Toolbar1")->isEnabled());
        }
    }

    // A database that cannot be opened: the error box names the window's handler.
    void databaseErrorReported()
    {
        test::RegSim sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        sim.usePort(1);
        m_ctx->settings.connectionString.clear();
        frmcomline w(*m_ctx);
        w.show();
        child<QComboBox>(w, "Combo1")->setCurrentIndex(0);
        press(w, "Salva");
        QCOMPARE(m_prompter.prompts.size(), size_t(2));
        QCOMPARE(m_prompter.prompts[0].text, QString("Komunikacioni port je odabran."));
        QCOMPARE(m_prompter.last().title, QString("Orvel Cash Registers(Sender:='frmComLine.Toolbar1_ButtonClick()')"));
        QVERIFY(m_prompter.last().text.startsWith("Baza trenutno nije dostupna."));
        QVERIFY(!w.isRunning());
    }

    void izlazClosesWindow()
    {
        QMdiArea area;
        auto *w = new frmcomline(*m_ctx);
        QPointer<QMdiSubWindow> sub(area.addSubWindow(w));
        area.show();
        press(*w, "Annulla");
        QCOMPARE(m_ctx->CurrentFormName, QString(" "));
        QVERIFY(QTest::qWaitFor([&] { return sub.isNull(); }, 3000));
        QVERIFY(m_prompter.prompts.empty());
    }

    // "&Otvori" in the main window refreshes the open line window from the file.
    void refreshedAfterFileOpen()
    {
        test::RegSim sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        sim.usePort(4);
        ProgrammingData file;
        file.ResetTables();
        file.LinkSettings.port = 4;
        file.LinkSettings.baudRate = 38400;
        file.LinkSettings.phoneNumber = "555";
        file.LinkSettings.dialMode = "ATDT";
        file.ProgrammingFilePath = folder() + "kasa.ini";
        QVERIFY(WriteProgrammingFile(file, m_prompter));

        frmMain main(*m_ctx);
        main.show();
        auto *w = new frmcomline(*m_ctx);
        main.mdiArea()->addSubWindow(w)->show();
        const int speedIndex = child<QComboBox>(*w, "Combo2")->currentIndex();
        m_prompter.clear();
        m_prompter.answerFile(folder() + "kasa.ini");
        QAction *open = main.menuItem("mnuFileOpen");
        QVERIFY(open);
        open->trigger();
        QCOMPARE(child<QComboBox>(*w, "Combo1")->currentIndex(), 3);
        QCOMPARE(child<QLineEdit>(*w, "PhoneNumber")->text(), QString("555"));
        QVERIFY(child<QCheckBox>(*w, "Tone")->isChecked());
        QCOMPARE(child<QComboBox>(*w, "Combo2")->currentIndex(), speedIndex);
        main.close();
    }
};

QTEST_MAIN(FrmComLineTest)
#include "frmcomline_test.moc"
