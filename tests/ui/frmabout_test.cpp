// The About window (offscreen): texts, links opening their addresses, the system
// information program from Kalvo.ini or PATH, and its opening from the main window.
#include "TestSupport.h"

#include "shell/AboutInfo.h"
#include "shell/AppContext.h"
#include "shell/AppGlobals.h"
#include "shell/ui/frmAbout.h"
#include "shell/ui/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace kalvo;

namespace {

class UrlSink : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

} // namespace

class FrmAboutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppContext> m_ctx;
    ScriptedPrompter m_prompter;
    UrlSink m_urls;
    QByteArray m_path;

    QString folder() const { return m_dir->path() + "/"; }

    void useIni(const QByteArray &text)
    {
        QFile f(folder() + "Kalvo.ini");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.close();
        m_ctx = std::make_unique<AppContext>();
        m_ctx->appFolder = folder();
        m_ctx->prompter = &m_prompter;
        LoadSettings(*m_ctx);
    }

    // An executable script that leaves a marker file (its path + ".ran") when it runs.
    QString makeTool(const QString &name)
    {
        const QString path = folder() + name;
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return {};
        // shell built-ins only: PATH holds nothing but the test folder
        f.write("#!/bin/sh\n: > '" + QFile::encodeName(path) + ".ran'\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    static QList<QLabel *> links(const frmAbout &about)
    {
        QList<QLabel *> list = about.findChildren<QLabel *>("lblWeb");
        std::sort(list.begin(), list.end(),
                  [](QLabel *a, QLabel *b) { return a->property("index").toInt() < b->property("index").toInt(); });
        return list;
    }

private slots:
    void initTestCase()
    {
        m_path = qgetenv("PATH");
        QDesktopServices::setUrlHandler("https", &m_urls, "open");
        QDesktopServices::setUrlHandler("mailto", &m_urls, "open");
    }

    void cleanupTestCase()
    {
        qputenv("PATH", m_path);
        QDesktopServices::unsetUrlHandler("https");
        QDesktopServices::unsetUrlHandler("mailto");
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder() + "user");
        m_prompter.clear();
        m_urls.opened.clear();
        qputenv("PATH", m_path);
    }

    void textsAndLinks()
    {
        useIni("[about]\r\ndownload=https://example.org/preuzimanja\r\nmail=podrska@example.org\r\n"
               "web=https://example.org/\r\n");
        frmAbout about(*m_ctx);
        QCOMPARE(about.windowTitle(), "O programu Kalvo...");
        QCOMPARE(about.findChild<QLabel *>("lblVersion")->text(), "Version " + VersionText());
        QVERIFY(about.findChild<QLabel *>("lblDescription")->text().contains("Orvel Cash Registers"));
        QVERIFY(!about.findChild<QLabel *>("lblDisclaimer")->text().isEmpty());
        QCOMPARE(about.findChild<QPushButton *>("cmdOK")->text(), "OK");
        QCOMPARE(about.findChild<QPushButton *>("cmdSysInfo")->text(), "&System Info...");

        const QList<QLabel *> labels = links(about);
        QCOMPARE(labels.size(), 3);
        for (QLabel *l : labels)
            emit l->linkActivated("#");
        QLabel *hot = about.findChild<QLabel *>("imgHot");
        QTest::mouseClick(hot, Qt::LeftButton);
        QCOMPARE(m_urls.opened, QList<QUrl>({QUrl("https://example.org/preuzimanja"),
                                             QUrl("mailto:podrska@example.org"), QUrl("https://example.org/"),
                                             QUrl("https://example.org/")}));
    }

    // Addresses that are not configured leave their labels inert.
    void unconfiguredLinksOpenNothing()
    {
        useIni("");
        frmAbout about(*m_ctx);
        for (QLabel *l : links(about)) {
            QVERIFY(!l->isEnabled());
            emit l->linkActivated("#");
        }
        QTest::mouseClick(about.findChild<QLabel *>("imgHot"), Qt::LeftButton);
        QVERIFY(m_urls.opened.isEmpty());
    }

    void systemInfo_data()
    {
        QTest::addColumn<QByteArray>("sysinfo"); // [about] sysinfo
        QTest::addColumn<QString>("tool");       // program put in the folder that is PATH
        QTest::addColumn<QString>("ran");        // the program expected to start ("" = none)
        QTest::newRow("configured") << QByteArray("{app.path}\\sysinfo-tool") << "sysinfo-tool" << "sysinfo-tool";
        QTest::newRow("configured but missing") << QByteArray("{app.path}\\nothing-here") << "hardinfo" << "";
        QTest::newRow("found on PATH") << QByteArray() << "hardinfo" << "hardinfo";
        QTest::newRow("none anywhere") << QByteArray() << "" << "";
    }

    void systemInfo()
    {
        QFETCH(QByteArray, sysinfo);
        QFETCH(QString, tool);
        QFETCH(QString, ran);
        useIni(sysinfo.isEmpty() ? QByteArray() : "[about]\r\nsysinfo=" + sysinfo + "\r\n");
        if (!tool.isEmpty())
            QVERIFY(!makeTool(tool).isEmpty());
        qputenv("PATH", QFile::encodeName(m_dir->path()));

        frmAbout about(*m_ctx);
        QTest::mouseClick(about.findChild<QPushButton *>("cmdSysInfo"), Qt::LeftButton);
        if (!ran.isEmpty()) {
            QVERIFY(QTest::qWaitFor([&] { return QFile::exists(folder() + ran + ".ran"); }, 5000));
            QVERIFY(m_prompter.prompts.empty());
        } else {
            QCOMPARE(m_prompter.texts(), QStringList({"Sistemske informacije trenutno nisu dostupne"}));
            QVERIFY(!QFile::exists(folder() + tool + ".ran"));
        }
    }

    // "O programu..." opens the window modally, centred on the screen; "OK" closes it.
    void openedFromMainWindowCentred()
    {
        useIni("");
        frmMain w(*m_ctx);
        w.show();
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *about = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
            if (!about)
                return;
            seen = true;
            const QRect screen = about->screen()->geometry();
            const QRect frame = about->frameGeometry();
            QVERIFY(qAbs(frame.center().x() - screen.center().x()) <= 1);
            QVERIFY(qAbs(frame.center().y() - screen.center().y()) <= 1);
            QTest::mouseClick(about->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
        });
        QTimer::singleShot(3000, [] {
            if (QWidget *m = QApplication::activeModalWidget())
                m->close();
        });
        w.menuItem("mnuHelpAbout")->trigger();
        QVERIFY(seen);
    }
};

QTEST_MAIN(FrmAboutTest)
#include "frmabout_test.moc"
