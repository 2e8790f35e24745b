// The header and advertising line windows driven through their controls (offscreen):
// loading, the bold/centre/left buttons on the focused box, saving and its two refusals,
// closing, the line-width and Cyrillic hooks, the refresh after a file is opened.
#include "editors/ui/frmIntestazione.h"
#include "editors/ui/frmadvertize.h"
#include "shell/AppContext.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QToolBar>

#include <memory>

using namespace kalvo;

namespace {

std::string stored(const std::string &text, const char *flags)
{
    std::string s = text;
    s.resize(32, ' ');
    return s + flags;
}

} // namespace

class FrmIntestazioneTest : public QObject {
    Q_OBJECT

    std::unique_ptr<AppContext> m_ctx;
    ScriptedPrompter m_prompter;

    ProgrammingData &data() { return m_ctx->data; }

    static QList<QLineEdit *> boxes(QWidget &w) { return w.findChildren<QLineEdit *>("rtftext"); }

    static void press(QWidget &w, const char *key)
    {
        auto *action = w.findChild<QToolBar *>("Toolbar1")->findChild<QAction *>(key);
        QVERIFY2(action, key);
        action->trigger();
    }

    // Gives the box the focus as a click would.
    static void focusBox(QWidget &w, int index)
    {
        QLineEdit *box = boxes(w).at(index);
        box->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(box->hasFocus());
    }

    static void show(QWidget &w)
    {
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }

private slots:
    void init()
    {
        m_prompter.clear();
        m_ctx = std::make_unique<AppContext>();
        m_ctx->prompter = &m_prompter;
        data().ResetLines();
        data().LinkSettings.lineWidth = 22;
        data().CyrillicMode = true;
    }

    void opensWithStoredLines()
    {
        data().HeaderLines[0] = stored("PRODAVNICA", "11");
        data().HeaderLines[1] = stored("ULICA 5", "10");
        data().HeaderLines[2] = std::string(32, ' ') + "01";  // spaces only: shown empty
        frmIntestazione w(*m_ctx);
        QCOMPARE(m_ctx->CurrentFormName, QString("frmIntestazione"));
        QCOMPARE(w.windowTitle(), QString("Zaglavlje"));
        const auto b = boxes(w);
        QCOMPARE(b.size(), 6);
        QCOMPARE(b[0]->toolTip(), QString("Prvi red zaglavlja"));
        QCOMPARE(b[5]->toolTip(), QString("Sesti red zaglavlja"));
        QCOMPARE(b[0]->text(), QString("PRODAVNICA"));
        QVERIFY(b[0]->alignment() & Qt::AlignHCenter);
        QVERIFY(b[0]->font().bold());
        QCOMPARE(b[1]->text(), QString("ULICA 5"));
        QVERIFY(b[1]->alignment() & Qt::AlignLeft);
        QVERIFY(b[1]->font().bold());
        QCOMPARE(b[2]->text(), QString());
        QVERIFY(!b[3]->font().bold());
        QCOMPARE(b[0]->maxLength(), 22);
        QCOMPARE(w.findChild<QToolBar *>("Toolbar1")->actions().size(), 5);
    }

    void buttonsActOnFocusedBoxAndSaveStores()
    {
        frmIntestazione w(*m_ctx);
        QPointer<QWidget> alive(&w);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        show(w);
        const auto b = boxes(w);
        b[0]->setText("KALVO DOO");
        b[2]->setText("PIB 123");
        focusBox(w, 2);
        press(w, "Bold");
        press(w, "Center");
        QVERIFY(b[2]->font().bold());
        QVERIFY(b[2]->hasFocus());
        QVERIFY(!b[0]->font().bold());
        focusBox(w, 0);
        press(w, "Center");
        press(w, "Align Left");  // back to the left
        press(w, "Bold");
        press(w, "Bold");  // and normal again
        press(w, "Aggiorna");
        QVERIFY(m_prompter.prompts.empty());
        QCOMPARE(data().HeaderLines[0], stored("KALVO DOO", "00"));
        QCOMPARE(data().HeaderLines[2], stored("PIB 123", "11"));
        QCOMPARE(data().HeaderLines[1], stored("", "00"));
        QVERIFY(data().AdvertLines[0].empty());
        QCOMPARE(m_ctx->CurrentFormName, QString(" "));
        QVERIFY(!w.isVisible());
    }

    void refusedSaveKeepsWindowAndData()
    {
        data().HeaderLines[0] = stored("STARO", "00");
        frmIntestazione w(*m_ctx);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        show(w);
        const auto b = boxes(w);
        b[0]->setText("NOVO");
        b[3]->setText(QString(12, 'B'));
        focusBox(w, 3);
        press(w, "Bold");
        press(w, "Aggiorna");
        QCOMPARE(m_prompter.prompts.size(), std::size_t(1));
        QCOMPARE(m_prompter.last().text,
                 QString(" Podebljana slova zauzimaju 2 mesta tako da je broj karaktera u redu 4 veci od 22 ! "));
        QCOMPARE(m_prompter.last().title, QString("Orvel Cash Regiters"));
        QCOMPARE(m_prompter.last().icon, Icon::Information);
        QCOMPARE(data().HeaderLines[0], stored("STARO", "00"));
        QVERIFY(w.isVisible());
        QCOMPARE(m_ctx->CurrentFormName, QString("frmIntestazione"));
        QCOMPARE(b[3]->text(), QString(12, 'B'));
    }

    void annullaClosesWithoutSaving()
    {
        frmadvertize w(*m_ctx);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        show(w);
        boxes(w)[0]->setText("AKCIJA");
        press(w, "Annulla");
        QVERIFY(data().AdvertLines[0].empty());
        QCOMPARE(m_ctx->CurrentFormName, QString(" "));
        QVERIFY(!w.isVisible());
    }

    // A narrower width limits typing but never cuts a line already there; saving says which.
    void lineWidthHook()
    {
        data().LinkSettings.lineWidth = 32;
        data().HeaderLines[1] = stored(std::string(30, 'W'), "00");
        frmIntestazione w(*m_ctx);
        const auto b = boxes(w);
        QCOMPARE(b[0]->maxLength(), 32);
        QCOMPARE(b[1]->text().size(), 30);
        data().LinkSettings.lineWidth = 22;
        w.applyLineWidth();
        QCOMPARE(b[0]->maxLength(), 22);
        QCOMPARE(b[1]->text().size(), 30);
        QVERIFY(!w.save());
        QCOMPARE(m_prompter.last().text, QString(" Broj karaktera u redu 2 je veci od 22 ! "));
        QCOMPARE(data().HeaderLines[1], stored(std::string(30, 'W'), "00"));
    }

    void cyrillicHookConvertsBoxes()
    {
        frmIntestazione w(*m_ctx);
        boxes(w)[0]->setText("Odeljenje");
        w.applyCyrillicMode(true, "Helvetica Ciril");
        QCOMPARE(boxes(w)[0]->text(), QString("Odeqewe"));
        QCOMPARE(boxes(w)[0]->font().family(), QString("Helvetica Ciril"));
        w.applyCyrillicMode(false, "Courier New");
        QCOMPARE(boxes(w)[0]->text(), QString("Odeljenje"));
    }

    // Opening another file while the window is open shows that file's lines only.
    void refreshShowsNewData()
    {
        data().AdvertLines[0] = stored("STARI TEKST", "11");
        data().AdvertLines[1] = stored("DRUGI", "00");
        frmadvertize w(*m_ctx);
        data().ResetLines();
        data().AdvertLines[1] = stored("NOVI", "01");
        w.refreshFromData();
        const auto b = boxes(w);
        QCOMPARE(b[0]->text(), QString());
        QVERIFY(!b[0]->font().bold());
        QCOMPARE(b[1]->text(), QString("NOVI"));
        QVERIFY(b[1]->alignment() & Qt::AlignHCenter);
        QVERIFY(w.save());
        QCOMPARE(data().AdvertLines[0], stored("", "00"));
        QCOMPARE(data().AdvertLines[1], stored("NOVI", "01"));
    }

    void advertWindowExtras()
    {
        data().LinkSettings.DisplayCyrillic = false;
        data().CyrillicFormFlags.advertLines = true;
        frmadvertize w(*m_ctx);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        show(w);
        QCOMPARE(m_ctx->CurrentFormName, QString("frmadvertize"));
        QCOMPARE(w.windowTitle(), QString("Reklamna poruka"));
        QCOMPARE(boxes(w)[1]->toolTip(), QString("Drugi red reklamne poruke"));
        QVERIFY(!data().CyrillicFormFlags.advertLines);
        auto *check = w.findChild<QCheckBox *>("Check1");
        QVERIFY(check && !check->isChecked());
        QCOMPARE(boxes(w)[0]->font().family(), QString("Courier New"));
        check->click();
        QVERIFY(data().CyrillicFormFlags.advertLines);
        QCOMPARE(boxes(w)[0]->font().family(), QString("Helvetica Ciril"));

        // "Align Right" changes nothing
        boxes(w)[0]->setText("TEKST");
        focusBox(w, 0);
        press(w, "Center");
        press(w, "Align Right");
        QVERIFY(boxes(w)[0]->alignment() & Qt::AlignHCenter);
        QVERIFY(w.save());
        QCOMPARE(data().AdvertLines[0], stored("TEKST", "01"));
    }

    // Characters outside the register's code page cannot be typed.
    void refusesForeignCharacters()
    {
        frmIntestazione w(*m_ctx);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        show(w);
        focusBox(w, 0);
        for (const QChar c : QString::fromUtf8("AБ€")) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(boxes(w)[0], &press);
        }
        QCOMPARE(boxes(w)[0]->text(), QString::fromUtf8("A€"));
        QVERIFY(w.save());
        QCOMPARE(data().HeaderLines[0].substr(0, 2), std::string("A\x80"));
    }
};

QTEST_MAIN(FrmIntestazioneTest)
#include "frmintestazione_test.moc"
