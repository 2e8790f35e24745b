// The send window driven through its controls against a simulated register: the order of
// the kinds, the progress labels, the result pictures, the refusal and silence paths, the
// guard against a second send inside the first, and the message panel.
#include "../core/routine_rig.h"

#include "register/ui/frmtrasm.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTimer>

using namespace kalvo;
using kalvo::test::RoutineRig;

namespace {

QByteArray sp(int n) { return QByteArray(n, ' '); }

// Plain Latin, every table blank: a test names only what it sends.
void blankLatin(AppContext &ctx)
{
    ctx.data.CyrillicMode = false;
    ctx.data.LinkSettings.DisplayCyrillic = false;
    for (auto &dep : ctx.data.Departments)
        dep.name.clear();
}

void tick(QWidget &window, const QStringList &items)
{
    auto *list = window.findChild<QListWidget *>("List1");
    QVERIFY(list);
    for (const QString &text : items) {
        const auto found = list->findItems(text, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        found.first()->setSelected(true);
    }
}

QAction *button(QWidget &window, const char *key) { return window.findChild<QAction *>(key); }

QString text(QWidget &window, const char *label) { return window.findChild<QLabel *>(label)->text(); }

// The shown pictures of a kind: "ok", "failed", "" (none) or "both" (a fault).
QString result(QWidget &window, const char *picture)
{
    bool ok = false;
    bool failed = false;
    const auto labels = window.findChildren<QLabel *>(picture);
    for (QLabel *label : labels)
        (label->property("index").toInt() == 0 ? ok : failed) |= !label->isHidden();
    if (labels.size() != 2)
        return "missing";
    return ok && failed ? "both" : ok ? "ok" : failed ? "failed" : "";
}

const char *const kPictures[] = {"ImgRep", "ImgPLU", "ImgInv",  "IMGOP", "ImgVal", "ImgSistem",
                                 "ImgInt", "Imgadve", "ImgUni", "ImgTip", "ImgMsg"};

// Every picture is hidden except those named.
bool onlyResults(QWidget &window, const QMap<QString, QString> &expected)
{
    bool same = true;
    for (const char *name : kPictures) {
        const QString got = result(window, name);
        const QString want = expected.value(name);
        if (got != want) {
            qWarning("%s: %s, expected %s", name, qPrintable(got), qPrintable(want));
            same = false;
        }
    }
    return same;
}

} // namespace

class FrmTrasmTest : public QObject {
    Q_OBJECT
private slots:
    void init() { qputenv("ZIB_TIMEOUT_SCALE", "0.05"); }

    void kindsGoInListOrder();
    void blankDepartmentsSkippedWhileLabelCounts();
    void cancelOnRefusedDepartment();
    void silentRegister();
    void secondPressDuringSendIgnored();
    void messagePanel();
};

void FrmTrasmTest::kindsGoInListOrder()
{
    RoutineRig rig;
    QVERIFY(rig.open());
    blankLatin(rig.ctx);
    rig.ctx.data.Departments[2].name = "Voce";
    rig.ctx.data.Departments[2].maxPrice = "1500";
    frmtrasm window(rig.ctx);
    QCOMPARE(rig.ctx.CurrentFormName, QString("frmtrasm"));
    const auto list = window.findChild<QListWidget *>("List1");
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    QCOMPARE(items, (QStringList{"Odeljenja", "Artikli", "Lager artikala", "Kasiri", "Valute", "Opsti podaci",
                                 "Zaglavlje", "Reklama", "Jedinice mere", "Tipovi artikala", "Poruka"}));
    QVERIFY(onlyResults(window, {}));

    window.findChild<QLineEdit *>("Red1")->setText("Dobar dan");
    tick(window, {"Poruka", "Odeljenja"}); // the message ticked first
    button(window, "invia")->trigger();

    QVERIFY(rig.payloadsAre({"T", "R01Voce        00001500", "k" + QByteArray("Dobar dan") + sp(23) + sp(64)}));
    QVERIFY(onlyResults(window, {{"ImgRep", "ok"}, {"ImgMsg", "ok"}}));
    QCOMPARE(text(window, "Label1"), QString("Poruka:"));
    QCOMPARE(text(window, "Label6"), QString("0"));
    QVERIFY(rig.prompter.prompts.empty());
    QVERIFY(!window.isRunning());
}

void FrmTrasmTest::blankDepartmentsSkippedWhileLabelCounts()
{
    RoutineRig rig;
    QVERIFY(rig.open());
    blankLatin(rig.ctx);
    rig.ctx.data.Departments[3].name = "Hleb";
    rig.ctx.data.Departments[3].maxPrice = "20";
    frmtrasm window(rig.ctx);
    tick(window, {"Odeljenja"});
    button(window, "invia")->trigger();

    QVERIFY(rig.payloadsAre({"T", "R02Hleb        00000020"}));
    QCOMPARE(text(window, "Label1"), QString("Odeljenje:"));
    QCOMPARE(text(window, "Label6"), QString("10")); // departments 4..10 are blank yet counted
    QVERIFY(onlyResults(window, {{"ImgRep", "ok"}}));
}

void FrmTrasmTest::cancelOnRefusedDepartment()
{
    RoutineRig rig;
    const QByteArray refused = "R01Drugo       00000100";
    QVERIFY(rig.open({"--set", "reply request=\"" + QString::fromLatin1(refused) + "\" answer=nak"}));
    blankLatin(rig.ctx);
    const char *names[] = {"Prvo", "Drugo", "Trece"};
    for (int k = 1; k <= 3; ++k) {
        rig.ctx.data.Departments[std::size_t(k)].name = names[k - 1];
        rig.ctx.data.Departments[std::size_t(k)].maxPrice = "100";
    }
    rig.prompter.answer(Answer::Cancel);
    frmtrasm window(rig.ctx);
    tick(window, {"Odeljenja", "Opsti podaci"});
    button(window, "invia")->trigger();

    // the departments stop at the refused one; the next ticked kind still goes out
    const auto got = rig.sim.payloads();
    QCOMPARE(got.size(), 4);
    QCOMPARE(got.mid(0, 3), (QList<QByteArray>{"T", "R00Prvo        00000100", refused}));
    QVERIFY(got[3].startsWith('X'));
    QCOMPARE(rig.prompter.prompts.size(), std::size_t(1));
    QCOMPARE(rig.prompter.last().text, QString("Odeljenje 01 nije primljeno u kasu!\r\n"));
    QCOMPARE(rig.prompter.last().buttons, Buttons::RetryCancel);
    QVERIFY(onlyResults(window, {{"ImgRep", "failed"}, {"ImgSistem", "ok"}}));
}

void FrmTrasmTest::silentRegister()
{
    RoutineRig rig;
    QVERIFY(rig.open({"--fault", "silent:3"}));
    blankLatin(rig.ctx);
    rig.ctx.data.Departments[1].name = "Prvo";
    frmtrasm window(rig.ctx);
    tick(window, {"Odeljenja", "Poruka"});
    // pictures of an earlier send are gone as soon as the next one starts
    window.findChildren<QLabel *>("ImgRep").first()->show();
    button(window, "invia")->trigger();

    QVERIFY(rig.payloadsAre({"T", "T", "T"}));
    QVERIFY(!rig.prompter.prompts.empty());
    QCOMPARE(rig.prompter.last().text, QString("Veza nije u redu!"));
    QCOMPARE(rig.prompter.last().title, QString("Orvel Cash Registers"));
    QCOMPARE(rig.prompter.last().icon, Icon::Critical);
    QVERIFY(onlyResults(window, {}));
    QVERIFY(text(window, "Label1").isEmpty());
}

void FrmTrasmTest::secondPressDuringSendIgnored()
{
    RoutineRig rig;
    QVERIFY(rig.open());
    blankLatin(rig.ctx);
    rig.ctx.data.Departments[1].name = "Prvo";
    rig.ctx.data.Departments[2].name = "Drugo";
    QPointer<frmtrasm> window = new frmtrasm(rig.ctx);
    tick(*window, {"Odeljenja"});
    bool pressed = false;
    // runs while the window processes events after the first department
    QTimer::singleShot(0, window, [&] {
        pressed = true;
        QVERIFY(window->isRunning());
        window->Toolbar1_ButtonClick(button(*window, "invia"));
        window->Toolbar1_ButtonClick(button(*window, "esci"));
        QVERIFY(!window->close()); // the window stays while the send runs
    });
    button(*window, "invia")->trigger();

    QVERIFY(pressed);
    QVERIFY(rig.payloadsAre({"T", "R00Prvo        00000000", "R01Drugo       00000000"}));
    QCOMPARE(rig.ctx.CurrentFormName, QString(" "));
    // "Izlaz" pressed during the send closes the window once the send has ended
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());
}

void FrmTrasmTest::messagePanel()
{
    RoutineRig rig;
    QVERIFY(rig.open());
    blankLatin(rig.ctx);
    rig.ctx.data.LinkSettings.lineWidth = 22;
    rig.ctx.settings.fontlatin = "DejaVu Sans Mono";
    rig.ctx.settings.fontcyrilic = "Helvetica Ciril";
    frmtrasm window(rig.ctx);
    QLineEdit *rows[] = {window.findChild<QLineEdit *>("Red1"), window.findChild<QLineEdit *>("Red2"),
                         window.findChild<QLineEdit *>("Red3")};
    for (QLineEdit *row : rows) {
        QVERIFY(row);
        QCOMPARE(row->maxLength(), 22);
        QCOMPARE(row->font().family(), QString("DejaVu Sans Mono"));
    }
    rig.ctx.data.LinkSettings.lineWidth = 32; // the main window's "Sirina 32"
    window.applyLineWidth();
    QCOMPARE(rows[2]->maxLength(), 32);

    // register code typed with CyrillicMode off is unfolded by the send and stays so
    rows[0]->setText("Odeqewe");
    tick(window, {"Poruka"});
    button(window, "invia")->trigger();
    QVERIFY(rig.payloadsAre({"T", "k" + QByteArray("Odeljenje") + sp(23) + sp(64)}));
    QCOMPARE(rows[0]->text(), QString("Odeljenje"));

    // the main window's Cyrillic toggle folds the rows into register code
    rig.ctx.data.CyrillicMode = true;
    window.applyCyrillicMode(true, "Helvetica Ciril");
    QCOMPARE(rows[0]->text(), QString("Odeqewe"));
    QCOMPARE(rows[0]->font().family(), QString("Helvetica Ciril"));

    // Esc in the list hides the message panel; ticking the message brings it back
    auto *panel = window.findChild<QFrame *>("Picture1");
    auto *list = window.findChild<QListWidget *>("List1");
    list->clearSelection();
    QVERIFY(!panel->isHidden());
    QTest::keyClick(list, Qt::Key_Escape);
    QVERIFY(panel->isHidden());
    tick(window, {"Poruka"});
    QVERIFY(!panel->isHidden());
}

QTEST_MAIN(FrmTrasmTest)
#include "frmtrasm_test.moc"
