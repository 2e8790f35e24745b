// The font installer: the font list of Kalvo.ini, copying without overwriting, the fonts.ini
// paths, fontconfig registration, the window, the real program in a program folder of its
// own, and the generated Helvetica Ciril font.
#include "FontInstaller.h"
#include "frmMain.h"

#include "TestSupport.h"
#include "data/Codec.h"
#include "data/RegisterText.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRawFont>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QString kFontName = QStringLiteral("HelveticaCiril.ttf");

QString builtFont() { return kalvo::test::binDir() + QStringLiteral("fonts/") + kFontName; }

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList fileNames(const QStringList &paths)
{
    QStringList names;
    for (const QString &path : paths)
        names.append(QFileInfo(path).fileName());
    return names;
}

} // namespace

class RunekTest : public QObject {
    Q_OBJECT

private slots:
    void fontList_data();
    void fontList();
    void sourceMatchedWithoutCase();
    void installCopiesInOrderWithoutOverwriting();
    void fontsIniPath_data();
    void fontsIniPath();
    void installFromFontsIni();
    void registerFont();
    void fontsFolderFollowsXdgDataHome();
    void windowInstallsOnItsTimer();
    void programInstallsAndEnds();
    void programWithoutFontListEnds_data();
    void programWithoutFontListEnds();
    void fontShowsCyrillic();
};

void RunekTest::fontList_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("gap between font1 and font3")
        << QByteArray("[system.fonts]\r\nfont1=a.ttf\r\nfont3=c.ttf\r\n") << QStringList{"a.ttf", "c.ttf"};
    QTest::newRow("key order, not file order; names ignore case")
        << QByteArray("[SYSTEM.FONTS]\nFONT2=b.ttf\nFont1=\"a b.ttf\"\n") << QStringList{"a b.ttf", "b.ttf"};
    QTest::newRow("blank values add no row")
        << QByteArray("[system.fonts]\nfont1=   \nfont2=\"\"\nfont3= x.ttf \n") << QStringList{"x.ttf"};
    QTest::newRow("font100 is the last key")
        << QByteArray("[system.fonts]\nfont100=last.ttf\nfont101=over.ttf\nfont0=zero.ttf\n")
        << QStringList{"last.ttf"};
    QTest::newRow("no section") << QByteArray("[modem]\natdp=ATDP\n") << QStringList{};
    QTest::newRow("names that leave the folder are skipped")
        << QByteArray("[system.fonts]\nfont1=../evil.ttf\nfont2=sub/x.ttf\nfont3=..\\y.ttf\nfont4=..\n"
                      "font5=/etc/z.ttf\nfont6=ok.ttf\n")
        << QStringList{"ok.ttf"};
}

void RunekTest::fontList()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, names);
    QTemporaryDir dir;
    const QString program = dir.path() + QStringLiteral("/prog/");
    const QString fonts = dir.path() + QStringLiteral("/fonts/");
    writeFile(program + QStringLiteral("Kalvo.ini"), ini);

    int pumped = 0;
    const QList<runek::FontRow> rows =
        runek::BuildFontList(program + QStringLiteral("Kalvo.ini"), program, fonts, [&] { ++pumped; });
    QStringList got;
    for (const runek::FontRow &row : rows) {
        got.append(QFileInfo(row.destination).fileName());
        QCOMPARE(row.source, program + QStringLiteral("fonts/") + got.last());
        QCOMPARE(row.destination, fonts + got.last());
    }
    QCOMPARE(got, names);
    QVERIFY(pumped >= 100);
}

void RunekTest::sourceMatchedWithoutCase()
{
    QTemporaryDir dir;
    const QString program = dir.path() + QStringLiteral("/");
    writeFile(program + QStringLiteral("fonts/helveticaciril.TTF"), "font");
    writeFile(program + QStringLiteral("Kalvo.ini"), "[system.fonts]\nfont1=HelveticaCiril.ttf\n");
    const auto rows = runek::BuildFontList(program + QStringLiteral("Kalvo.ini"), program, QStringLiteral("/f/"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].source, program + QStringLiteral("fonts/helveticaciril.TTF"));
    QCOMPARE(rows[0].destination, QStringLiteral("/f/HelveticaCiril.ttf"));
}

void RunekTest::installCopiesInOrderWithoutOverwriting()
{
    QTemporaryDir dir;
    const QString program = dir.path() + QStringLiteral("/prog/");
    const QString fonts = dir.path() + QStringLiteral("/share/fonts/");
    writeFile(program + QStringLiteral("kalvo.INI"),
              "[system.fonts]\nfont1=one.ttf\nfont3=three.ttf\nfont4=kept.ttf\nfont5=nosource.ttf\n");
    writeFile(program + QStringLiteral("fonts/one.ttf"), "one");
    writeFile(program + QStringLiteral("fonts/three.ttf"), "three");
    writeFile(program + QStringLiteral("fonts/kept.ttf"), "new");
    writeFile(fonts + QStringLiteral("kept.ttf"), "old");

    QStringList calls;
    const QStringList registered = runek::InstallFonts(program, fonts, [&](const QString &path) {
        calls.append(path);
        return QFileInfo::exists(path);
    });

    QCOMPARE(calls, (QStringList{fonts + "one.ttf", fonts + "three.ttf", fonts + "kept.ttf", fonts + "nosource.ttf"}));
    QCOMPARE(fileNames(registered), (QStringList{"one.ttf", "three.ttf", "kept.ttf"}));
    QCOMPARE(readFile(fonts + "one.ttf"), QByteArray("one"));
    QCOMPARE(readFile(fonts + "three.ttf"), QByteArray("three"));
    QCOMPARE(readFile(fonts + "kept.ttf"), QByteArray("old"));
    QVERIFY(!QFileInfo::exists(fonts + "nosource.ttf"));
    // nothing else was left in the fonts folder (no temporary copies)
    QCOMPARE(QDir(fonts).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

void RunekTest::fontsIniPath_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");

    const QString folder = QStringLiteral("/home/Ana/.local/share/fonts/");
    QTest::newRow("upper case") << QByteArray("SYSTEM.FONT\\HelveticaCiril.TTF") << folder
                                << folder + "helveticaciril.ttf";
    QTest::newRow("mixed case, blanks and CR") << QByteArray("  System.Font\\Helv.ttf \r") << folder
                                               << folder + "helv.ttf";
    QTest::newRow("folder without trailing slash") << QByteArray("system.font\\a.ttf")
                                                   << QStringLiteral("/x/Fonts") << QStringLiteral("/x/Fonts/a.ttf");
    QTest::newRow("other path: backslashes turned")
        << QByteArray("D:\\Fonts\\Sub\\X.TTF") << folder << QStringLiteral("d:/fonts/sub/x.ttf");
    QTest::newRow("blank line") << QByteArray(" \t\r") << folder << QString();
}

void RunekTest::fontsIniPath()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, folder);
    QFETCH(QString, path);
    QCOMPARE(runek::FontsIniPath(line, folder), path);
}

void RunekTest::installFromFontsIni()
{
    QTemporaryDir dir;
    const QString program = dir.path() + QStringLiteral("/prog/");
    const QString fonts = dir.path() + QStringLiteral("/fonts/");
    writeFile(fonts + QStringLiteral("HelveticaCiril.ttf"), "font");
    writeFile(program + QStringLiteral("fonts/Other.ttf"), "other");
    writeFile(program + QStringLiteral("Fonts.INI"),
              "SYSTEM.FONT\\HelveticaCiril.TTF\r\n\r\n   \r\nsystem.font\\Missing.ttf\r\nsystem.font\\other.ttf");

    QStringList calls;
    const QStringList registered = runek::InstallFromFontsIni(program, fonts, [&](const QString &path) {
        calls.append(path);
        return QFileInfo::exists(path);
    });
    // the lower-cased name finds the file as it is spelled on disk
    QCOMPARE(calls, (QStringList{fonts + "HelveticaCiril.ttf", fonts + "missing.ttf", fonts + "other.ttf"}));
    QCOMPARE(registered, QStringList{fonts + "HelveticaCiril.ttf"});
    // nothing copied
    QCOMPARE(QDir(fonts).entryList(QDir::Files), QStringList{"HelveticaCiril.ttf"});

    QVERIFY(runek::InstallFromFontsIni(dir.path() + "/none/", fonts, [](const QString &) { return true; }).isEmpty());
}

void RunekTest::registerFont()
{
    QTemporaryDir dir;
    const QString font = dir.path() + QStringLiteral("/fonts/") + kFontName;
    QDir().mkpath(dir.path() + QStringLiteral("/fonts"));
    QVERIFY(QFile::copy(builtFont(), font));
    writeFile(dir.path() + QStringLiteral("/fonts/notes.ttf"), "not a font");

    QVERIFY(runek::RegisterFont(font));
    QVERIFY(!runek::RegisterFont(dir.path() + QStringLiteral("/fonts/notes.ttf")));
    QVERIFY(!runek::RegisterFont(dir.path() + QStringLiteral("/fonts/missing.ttf")));
}

void RunekTest::fontsFolderFollowsXdgDataHome()
{
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/tmp/data-home/");
    QCOMPARE(runek::FontsFolder(), QStringLiteral("/tmp/data-home/fonts/"));
    qputenv("XDG_DATA_HOME", "relative/path");
    QCOMPARE(runek::FontsFolder(), QDir::homePath() + QStringLiteral("/.local/share/fonts/"));
    if (wasSet)
        qputenv("XDG_DATA_HOME", saved);
    else
        qunsetenv("XDG_DATA_HOME");
}

void RunekTest::windowInstallsOnItsTimer()
{
    QTemporaryDir dir;
    const QString program = dir.path() + QStringLiteral("/prog/");
    const QString fonts = dir.path() + QStringLiteral("/fonts/");
    writeFile(program + QStringLiteral("Kalvo.ini"), "[system.fonts]\nfont1=a.ttf\n");
    writeFile(program + QStringLiteral("fonts/a.ttf"), "a");

    runek::frmMain window(program, fonts);
    QCOMPARE(window.windowTitle(), QStringLiteral("Runek"));
    auto *label = window.findChild<QLabel *>(QStringLiteral("Label1"));
    auto *button = window.findChild<QPushButton *>(QStringLiteral("Command3"));
    auto *image = window.findChild<QLabel *>(QStringLiteral("Image1"));
    auto *timer = window.findChild<QTimer *>(QStringLiteral("tmrStart"));
    QVERIFY(label && button && image && timer);
    QCOMPARE(label->text(), QStringLiteral("Instalacija fontova u toku... Molimo Vas, sacekajte!"));
    QCOMPARE(button->text(), QStringLiteral("Install Fonts"));
    QVERIFY(!image->pixmap().isNull());
    QCOMPARE(timer->interval(), 1500);

    QSignalSpy finished(&window, &runek::frmMain::finished);
    window.show();
    window.start();
    QVERIFY(timer->isActive());
    const QRect screen = window.screen()->geometry();
    QVERIFY(qAbs(window.frameGeometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(window.frameGeometry().center().y() - screen.center().y()) <= 1);

    // the button registers the fonts.ini list only; it copies nothing
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!QFileInfo::exists(fonts + "a.ttf"));

    QVERIFY(finished.wait(5000));
    QVERIFY(!timer->isActive());
    QCOMPARE(readFile(fonts + "a.ttf"), QByteArray("a"));
}

namespace {

// A program folder of its own: the runek program, a settings file and fonts/.
struct ProgramFolder {
    QTemporaryDir dir;
    QString program;
    QString dataHome;
    QString fonts;

    ProgramFolder()
    {
        program = dir.path() + QStringLiteral("/prog/");
        dataHome = dir.path() + QStringLiteral("/data");
        fonts = dataHome + QStringLiteral("/fonts/");
        QDir().mkpath(program + QStringLiteral("fonts"));
        QFile::copy(kalvo::test::binDir() + QStringLiteral("runek"), program + QStringLiteral("runek"));
    }

    // Runs runek; returns its exit code (-1 when it did not end by itself within 20 s).
    int run(qint64 *elapsedMs)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
        env.insert(QStringLiteral("XDG_CACHE_HOME"), dir.path() + QStringLiteral("/cache"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        clock.start();
        process.start(program + QStringLiteral("runek"), {});
        if (!process.waitForFinished(20000)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        *elapsedMs = clock.elapsed();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
};

} // namespace

void RunekTest::programInstallsAndEnds()
{
    ProgramFolder folder;
    QVERIFY(QFile::copy(builtFont(), folder.program + "fonts/" + kFontName));
    writeFile(folder.program + "fonts/Second.ttf", "second, new");
    writeFile(folder.fonts + "Second.ttf", "second, already installed");
    writeFile(folder.program + "KALVO.ini",
              "[system.fonts]\r\nfont1=" + kFontName.toLatin1() + "\r\nfont3=Second.ttf\r\n");

    qint64 elapsed = 0;
    QCOMPARE(folder.run(&elapsed), 0);
    QVERIFY2(elapsed >= 1400, qPrintable(QString::number(elapsed)));
    QCOMPARE(readFile(folder.fonts + kFontName), readFile(builtFont()));
    QCOMPARE(readFile(folder.fonts + "Second.ttf"), QByteArray("second, already installed"));

    // a program started afterwards finds the family in the user's fonts folder
    const QString fcList = QStandardPaths::findExecutable(QStringLiteral("fc-list"));
    if (fcList.isEmpty())
        return;
    QProcess list;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), folder.dataHome);
    env.insert(QStringLiteral("XDG_CACHE_HOME"), folder.dir.path() + QStringLiteral("/cache"));
    list.setProcessEnvironment(env);
    list.start(fcList, {QStringLiteral("Helvetica Ciril"), QStringLiteral("file")});
    QVERIFY(list.waitForFinished(20000));
    QVERIFY2(QString::fromLocal8Bit(list.readAllStandardOutput()).contains(folder.fonts + kFontName),
             "fc-list does not see the installed font");
}

void RunekTest::programWithoutFontListEnds_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("withIni");
    QTest::newRow("no system.fonts section") << QByteArray("[modem]\natdp=ATDP\n") << true;
    QTest::newRow("no settings file") << QByteArray() << false;
}

void RunekTest::programWithoutFontListEnds()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, withIni);
    ProgramFolder folder;
    if (withIni)
        writeFile(folder.program + "Kalvo.ini", ini);
    qint64 elapsed = 0;
    QCOMPARE(folder.run(&elapsed), 0);
    QVERIFY2(elapsed >= 1400, qPrintable(QString::number(elapsed)));
    QVERIFY(!QFileInfo::exists(folder.fonts));
}

void RunekTest::fontShowsCyrillic()
{
    QRawFont font(builtFont(), 16);
    QVERIFY(font.isValid());
    QCOMPARE(font.familyName(), QStringLiteral("Helvetica Ciril"));

    QStringDecoder cyrillic("ISO-8859-5");
    QVERIFY(cyrillic.isValid());
    auto glyph = [&](QChar c) {
        const QList<quint32> glyphs = font.glyphIndexesForString(QString(c));
        return glyphs.isEmpty() ? 0u : glyphs.first();
    };

    // every character of the register's 7-bit code: shown as such, and after To8859 (bytes
    // shown through the program's code page), it is drawn as its Cyrillic letter
    const std::string sevenBit = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz@^[]\\`~{}|";
    for (char c : sevenBit) {
        const std::string bytes = kalvo::To8859(std::string(1, c));
        QCOMPARE(bytes.size(), size_t(1));
        const QString decoded = cyrillic.decode(QByteArray(bytes.data(), 1));
        const QChar letter = decoded.at(0);
        QVERIFY2(letter.unicode() >= 0x400 && letter.unicode() < 0x460, &c);
        const quint32 expected = glyph(letter);
        QVERIFY2(expected != 0, qPrintable(QString(letter)));
        QCOMPARE(glyph(QChar::fromLatin1(c)), expected);
        const QString shown = kalvo::ansiToUnicode(QByteArray(bytes.data(), 1));
        QCOMPARE(glyph(shown.at(0)), expected);
    }
    // digits and punctuation keep their shapes, distinct from the letters
    QVERIFY(glyph(QLatin1Char('0')) != 0);
    QVERIFY(glyph(QLatin1Char('0')) != glyph(QLatin1Char('O')));
    QVERIFY(glyph(QLatin1Char('.')) != 0);
    // the distinct letters really differ (А and Б are not one glyph)
    QVERIFY(glyph(QLatin1Char('A')) != glyph(QLatin1Char('B')));
    QVERIFY(glyph(QLatin1Char('A')) != glyph(QLatin1Char('a')));
}

QTEST_MAIN(RunekTest)
#include "runek_test.moc"
