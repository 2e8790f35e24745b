// Start-up settings, path expansion, the error box and the once-per-user font offer.
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/AppGlobals.h"
#include "shell/Prompter.h"
#include "shell/UserStore.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

using namespace kalvo;

Q_DECLARE_METATYPE(kalvo::Icon)

class AppGlobalsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_userStore;              // stands in for the user's settings folder
    std::unique_ptr<QTemporaryDir> m_folder; // the program folder of one case
    ScriptedPrompter m_prompter;
    std::unique_ptr<AppContext> m_ctx;

    QString folder() const { return m_folder->path() + QLatin1Char('/'); }

    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile f(folder() + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QString storeFile() const
    {
        return m_userStore.path() + QStringLiteral("/%1/%2.conf").arg(UserStore::kOrganization, UserStore::kApplication);
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_userStore.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_userStore.path());
    }

    void init()
    {
        QFile::remove(storeFile());
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        m_prompter.clear();
        m_ctx = std::make_unique<AppContext>();
        m_ctx->appFolder = folder();
        m_ctx->prompter = &m_prompter;
    }

    void appFolderIsTheExecutablesFolderWithOneSlash()
    {
        const QString f = AppFolder();
        QVERIFY(f.endsWith(QLatin1Char('/')));
        QVERIFY(!f.endsWith(QStringLiteral("//")));
        QCOMPARE(f, QCoreApplication::applicationDirPath() + QLatin1Char('/'));
        QCOMPARE(AppContext().appFolder, f);
    }

    void showError_data()
    {
        QTest::addColumn<qint32>("code");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("sender");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<kalvo::Icon>("icon");

        const QString db = QStringLiteral("Baza trenutno nije dostupna.\n"
                                          "Molimo Vas, proverite globalne parametre za pristup podacima.");
        QTest::newRow("database, sender") << kErrGenericFailure << "driver said no" << "frmMain.Form_Load()" << db
                                          << "Orvel Cash Registers(Sender:='frmMain.Form_Load()')" << Icon::Exclamation;
        QTest::newRow("database, no sender") << kErrGenericFailure << "" << "" << db << "Orvel Cash Registers"
                                             << Icon::Exclamation;
        QTest::newRow("other, blank sender") << 53 << "File not found" << "   " << "53 - File not found"
                                             << "Orvel Cash Registers" << Icon::Critical;
        QTest::newRow("negative code in decimal")
            << qint32(0x80040E14u) << "Syntax error" << "frmPlu.carica_PLU()" << "-2147217900 - Syntax error"
            << "Orvel Cash Registers(Sender:='frmPlu.carica_PLU()')" << Icon::Critical;
    }

    void showError()
    {
        QFETCH(qint32, code);
        QFETCH(QString, description);
        QFETCH(QString, sender);
        ScriptedPrompter p;
        ShowError(AppError(code, description), sender, p);
        QCOMPARE(p.prompts.size(), size_t(1));
        QTEST(p.last().text, "text");
        QTEST(p.last().title, "title");
        QTEST(p.last().icon, "icon");
        QCOMPARE(p.last().buttons, Buttons::Ok);
    }

    void expandAppPath_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("connection string") << "Driver=QSQLITE;Database={app.path}\\kalvo.db"
                                           << "Driver=QSQLITE;Database=/opt/k/kalvo.db";
        QTest::newRow("slash form") << "{app.path}/docs/a.pdf" << "/opt/k/docs/a.pdf";
        QTest::newRow("sub-folders of the path") << "{app.path}\\docs\\upute\\a.pdf" << "/opt/k/docs/upute/a.pdf";
        QTest::newRow("path ends at ';'") << "Database={app.path}\\d\\k.db;Password=a\\b"
                                          << "Database=/opt/k/d/k.db;Password=a\\b";
        QTest::newRow("twice") << "{app.path}\\a;{app.path}/b" << "/opt/k/a;/opt/k/b";
        QTest::newRow("no placeholder unchanged") << "C:\\docs\\a.pdf" << "C:\\docs\\a.pdf";
        QTest::newRow("address unchanged") << "http://example.org/a" << "http://example.org/a";
        QTest::newRow("case-sensitive") << "{APP.PATH}\\a" << "{APP.PATH}\\a";
        QTest::newRow("without separator") << "{app.path}kalvo.db" << "{app.path}kalvo.db";
        QTest::newRow("empty") << "" << "";
    }

    void expandAppPath()
    {
        QFETCH(QString, text);
        QTEST(ExpandAppPath(text, QStringLiteral("/opt/k/")), "expected");
    }

    void leadingNumber_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("integer") << QByteArray("50000") << 50000.0;
        QTest::newRow("decimal point") << QByteArray("99.5") << 99.5;
        QTest::newRow("blanks around") << QByteArray("  12 ") << 12.0;
        QTest::newRow("blanks inside") << QByteArray("1 000 000") << 1000000.0;
        QTest::newRow("trailing text") << QByteArray("250din") << 250.0;
        QTest::newRow("comma ends it") << QByteArray("1,5") << 1.0;
        QTest::newRow("negative") << QByteArray("-3.25") << -3.25;
        QTest::newRow("leading point") << QByteArray(".5") << 0.5;
        QTest::newRow("exponent") << QByteArray("1e3") << 1000.0;
        QTest::newRow("D exponent") << QByteArray("2D2") << 200.0;
        QTest::newRow("bare exponent letter") << QByteArray("7e") << 7.0;
        QTest::newRow("letters") << QByteArray("abc") << 0.0;
        QTest::newRow("empty") << QByteArray() << 0.0;
        QTest::newRow("sign only") << QByteArray("-") << 0.0;
        QTest::newRow("overflow") << QByteArray("1e999") << 0.0;
        QTest::newRow("binary junk") << QByteArray("\xff\x00\x01", 3) << 0.0;
    }

    void leadingNumber()
    {
        QFETCH(QByteArray, text);
        QTEST(LeadingNumber(text), "expected");
    }

    void loadSettingsReadsEveryKey()
    {
        writeFile("Kalvo.ini",
                  "; settings\r\n"
                  "[database]\r\nconnectionstring=Driver=QSQLITE;Database={app.path}\\data\\kalvo.db\r\n"
                  "[modem]\r\natdp=ATDP\r\natdt=ATDT\r\natdisconnect=ATH0\r\n"
                  "[application.rules]\r\nmaxcena=99999.99\r\nmaxcek=50000\r\nmaxkartica=1e5\r\nmaxkes= 7 500 \r\n"
                  "fontcyrilic=\"Helvetica Ciril\"\r\nfontlatin=Courier New\r\n");
        QVERIFY(LoadSettings(*m_ctx));
        const AppSettings &s = m_ctx->settings;
        QCOMPARE(m_ctx->ini.FileName, folder() + "Kalvo.ini");
        QCOMPARE(s.connectionString, "Driver=QSQLITE;Database=" + folder() + "data/kalvo.db");
        QCOMPARE(s.atdp, QByteArray("ATDP"));
        QCOMPARE(s.atdt, QByteArray("ATDT"));
        QCOMPARE(s.atdisconnect, QByteArray("ATH0"));
        QCOMPARE(s.maxcena, 99999.99);
        QCOMPARE(s.maxcek, 50000.0);
        QCOMPARE(s.maxkartica, 100000.0);
        QCOMPARE(s.maxkes, 7500.0);
        QCOMPARE(s.fontcyrilic, QStringLiteral("Helvetica Ciril"));
        QCOMPARE(s.fontlatin, QStringLiteral("Courier New"));
        QVERIFY(m_prompter.prompts.empty());
    }

    void shippedIniLoads()
    {
        QVERIFY(QFile::copy(test::sourceDir() + "app/Kalvo.ini", folder() + "Kalvo.ini"));
        for (const char *v : {"ZIB_COM1", "ZIB_COM2"})
            qunsetenv(v);
        LoadSettings(*m_ctx);
        ApplyPortSettings(*m_ctx);
        const AppSettings &s = m_ctx->settings;
        QCOMPARE(s.connectionString, "Driver=QSQLITE;Database=" + folder() + "kalvo.db");
        QCOMPARE(s.atdp, QByteArray("ATDP"));
        QCOMPARE(s.atdt, QByteArray("ATDT"));
        QCOMPARE(s.atdisconnect, QByteArray("ATH"));
        QCOMPARE(s.maxcena, 999999.99);
        QVERIFY(s.maxcek > 0 && s.maxkartica > 0 && s.maxkes > 0);
        QCOMPARE(s.fontcyrilic, QStringLiteral("Helvetica Ciril"));
        QCOMPARE(s.fontlatin, QStringLiteral("Courier New"));
        // the commented examples stay comments
        QVERIFY(!qEnvironmentVariableIsSet("ZIB_COM1"));
        QVERIFY(m_ctx->ini.GetSetting("about", "sysinfo").isEmpty());
        QCOMPARE(m_ctx->ini.GetSetting("system.fonts", "font1"), QByteArray("HelveticaCiril.ttf"));
        QVERIFY(m_ctx->ini.GetSetting("web1", "caption").isEmpty());
    }

    void loadSettingsWithoutIniGivesEmptyAndZero()
    {
        m_ctx->settings.maxcena = 5;   // a stale value must not survive
        QVERIFY(LoadSettings(*m_ctx));
        const AppSettings &s = m_ctx->settings;
        QVERIFY(s.connectionString.isEmpty());
        QVERIFY(s.atdp.isEmpty() && s.atdt.isEmpty() && s.atdisconnect.isEmpty());
        QCOMPARE(s.maxcena, 0.0);
        QCOMPARE(s.maxcek, 0.0);
        QCOMPARE(s.maxkartica, 0.0);
        QCOMPARE(s.maxkes, 0.0);
        QVERIFY(s.fontcyrilic.isEmpty() && s.fontlatin.isEmpty());
        QVERIFY(m_prompter.prompts.empty());
    }

    void loadSettingsJunkLimitsBecomeZero()
    {
        writeFile("Kalvo.ini", QByteArray("[application.rules]\nmaxcena=puno\nmaxcek=\nmaxkartica=\xff\xfe\nmaxkes=--5\n"
                                          "fontlatin=\xc8" "a\x9a" "ak\n"));
        QVERIFY(LoadSettings(*m_ctx));
        QCOMPARE(m_ctx->settings.maxcena, 0.0);
        QCOMPARE(m_ctx->settings.maxcek, 0.0);
        QCOMPARE(m_ctx->settings.maxkartica, 0.0);
        QCOMPARE(m_ctx->settings.maxkes, 0.0);
        // a file written on Windows (Windows-1250) reads with its letters intact
        QCOMPARE(m_ctx->settings.fontlatin, QStringLiteral("\u010Ca\u0161ak"));
        QVERIFY(m_prompter.prompts.empty());
    }

    void loadSettingsFindsIniInOtherLetterCase()
    {
        writeFile("KALVO.INI", "[modem]\natdp=ATDP\n");
        LoadSettings(*m_ctx);
        QCOMPARE(m_ctx->settings.atdp, QByteArray("ATDP"));
    }

    void portsSetTheLinkEnvironment()
    {
        for (const char *v : {"ZIB_COM7", "ZIB_COM8", "ZIB_COM9", "ZIB_COM12"})
            qunsetenv(v);
        qputenv("ZIB_COM8", "/dev/already-chosen");
        writeFile("Kalvo.ini", "[ports]\n; com9=/dev/commented\ncom7=/dev/ttyUSB0\nCOM8=/dev/ttyUSB1\n"
                               "com9=\ncomx=/dev/x\ncom0=/dev/zero-port\nCom12={app.path}\\vcom\n");
        LoadSettings(*m_ctx);
        ApplyPortSettings(*m_ctx);
        QCOMPARE(qgetenv("ZIB_COM7"), QByteArray("/dev/ttyUSB0"));
        QCOMPARE(qgetenv("ZIB_COM8"), QByteArray("/dev/already-chosen"));
        QVERIFY(!qEnvironmentVariableIsSet("ZIB_COM9"));
        QVERIFY(!qEnvironmentVariableIsSet("ZIB_COM0"));
        QCOMPARE(qgetenv("ZIB_COM12"), QFile::encodeName(folder() + "vcom"));
        for (const char *v : {"ZIB_COM7", "ZIB_COM8", "ZIB_COM12"})
            qunsetenv(v);
    }

    void fontOfferedOnceEvenWhenInstallerMissing()
    {
        OfferFontInstall(*m_ctx);
        QCOMPARE(m_prompter.prompts.size(), size_t(1));
        QCOMPARE(m_prompter.last().text, QStringLiteral("Runek nije instaliran na vasem racunaru."));
        QCOMPARE(m_prompter.last().title, QStringLiteral("Runek"));
        QCOMPARE(m_prompter.last().icon, Icon::Exclamation);
        QCOMPARE(UserStore::GetSetting("system.io", "addfonts"), QStringLiteral("1"));
        // the flag lives in the per-user store's section system.io
        QSettings raw(storeFile(), QSettings::IniFormat);
        QCOMPARE(raw.value("system.io/addfonts").toString(), QStringLiteral("1"));

        OfferFontInstall(*m_ctx);
        QCOMPARE(m_prompter.prompts.size(), size_t(1));
    }

    void fontOfferHonoursStoredFlag_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("offered");
        QTest::newRow("0") << "0" << true;
        QTest::newRow("junk counts as 0") << "x" << true;
        QTest::newRow("1") << "1" << false;
        QTest::newRow("other non-zero") << "2" << false;
    }

    void fontOfferHonoursStoredFlag()
    {
        QFETCH(QString, stored);
        QFETCH(bool, offered);
        QVERIFY(UserStore::SaveSetting("system.io", "addfonts", stored));
        OfferFontInstall(*m_ctx);
        QCOMPARE(m_prompter.prompts.size(), size_t(offered ? 1 : 0));
        QCOMPARE(UserStore::GetSetting("system.io", "addfonts"), offered ? QStringLiteral("1") : stored);
    }

    void fontInstallerStartsFromProgramFolder()
    {
        const QString marker = folder() + "started";
        writeFile("runek", "#!/bin/sh\necho \"$PWD\" > started.tmp && mv started.tmp started\n");
        QVERIFY(QFile::setPermissions(folder() + "runek", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        OfferFontInstall(*m_ctx);
        QVERIFY(m_prompter.prompts.empty());
        QCOMPARE(UserStore::GetSetting("system.io", "addfonts"), QStringLiteral("1"));
        QDeadlineTimer deadline(5000);
        while (!QFile::exists(marker) && !deadline.hasExpired())
            QThread::msleep(20);
        QFile f(marker);
        QVERIFY2(f.open(QIODevice::ReadOnly), "the installer did not run");
        QCOMPARE(QString::fromLocal8Bit(f.readAll()).trimmed() + '/', QDir(folder()).canonicalPath() + '/');
    }

    void fontInstallerNotExecutable()
    {
        writeFile("runek", "not a program");
        QVERIFY(!LaunchFontInstaller(*m_ctx));
        QCOMPARE(m_prompter.texts(), QStringList{"Runek nije instaliran na vasem racunaru."});
    }
};

QTEST_GUILESS_MAIN(AppGlobalsTest)
#include "appglobals_test.moc"
