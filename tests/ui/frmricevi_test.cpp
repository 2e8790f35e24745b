// The receive window driven through its controls against a simulated register: tables and
// the read-back table filled, pictures and progress labels, the two operations that change
// the register (asked first), and the guard against a second operation inside the first.
#include "../core/routine_rig.h"

#include "register/ui/frmRicevi.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

Q_DECLARE_METATYPE(kalvo::Answer)

using namespace kalvo;
using kalvo::test::RoutineRig;

namespace {

QByteArray article(const QByteArray &code, const QByteArray &name)
{
    return "article code=" + code + " name=\"" + name
           + "\" department=2 price=8990 single=1 vat=3 unit=0 type=4 total=0 quantity=0 stock=12500\n";
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

QAction *button(QWidget &window, const QString &key) { return window.findChild<QAction *>(key); }

QString text(QWidget &window, const char *label) { return window.findChild<QLabel *>(label)->text(); }

// The shown pictures of a kind: "ok", "failed", "" (none), "both" or "missing" (faults).
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

QList<QByteArray> departmentRequests()
{
    QList<QByteArray> requests;
    for (int i = 0; i < 10; ++i)
        requests << "B0" + QByteArray::number(i);
    return requests;
}

} // namespace

class FrmRiceviTest : public QObject {
    Q_OBJECT
private slots:
    void init() { qputenv("ZIB_TIMEOUT_SCALE", "0.05"); }

    void receiveDepartmentsAndArticles();
    void registerOperationsAskFirst_data();
    void registerOperationsAskFirst();
    void secondOperationDuringReceiveIgnored();
};

void FrmRiceviTest::receiveDepartmentsAndArticles()
{
    RoutineRig rig;
    QVERIFY(rig.writeState("department 5 name=Hleb maxprice=00000100 amount=12345 quantity=2000\n"
                           "clear articles\n" + article("000000000011", "Mleko") + article("000000000022", "Jaja")));
    QVERIFY(rig.open({"--state", rig.statePath()}));
    frmRicevi window(rig.ctx);
    QCOMPARE(rig.ctx.CurrentFormName, QString("ne"));
    QCOMPARE(window.findChild<QListWidget *>("List1")->count(), 9);
    tick(window, {"Artikli", "Odeljenja"});
    button(window, "invia")->trigger();

    QVERIFY(rig.payloadsAre(QList<QByteArray>{"T"} + departmentRequests()
                            + QList<QByteArray>{"n", "PTFIRST", "PTNEXT", "PTNEXT"}));
    const DepartmentRecord &bread = rig.ctx.data.Departments[6];
    QCOMPARE(bread.name, std::string("Hleb        "));
    const auto rows = rig.store().readBackList(ReadBackList::Articles, ArticleStore::Rows::All);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].barCode, QByteArray("000000000011"));
    QCOMPARE(rows[1].description, QByteArray("Jaja").leftJustified(28, ' '));
    QCOMPARE(result(window, "ImgRep"), QString("ok"));
    QCOMPARE(result(window, "ImgPLU"), QString("ok"));
    for (const char *other : {"ImgPLUsold", "IMGOP", "ImgVal", "ImgSistem", "IMGIVA", "ImgUni", "ImgTip"})
        QCOMPARE(result(window, other), QString());
    QCOMPARE(text(window, "Label1"), QString("Artikal:"));
    QCOMPARE(text(window, "Label7"), QString("2")); // the counter of the last request
    QVERIFY(rig.prompter.prompts.empty());
}

void FrmRiceviTest::registerOperationsAskFirst_data()
{
    QTest::addColumn<QString>("control"); // a tool-bar key or a command button
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QList<QByteArray>>("payloads");
    QTest::addColumn<QString>("report"); // the last message after the question, if any
    QTest::addColumn<QString>("label7");
    const QList<QByteArray> deleted{"T", "n", "PTFIRST", "PTFIRST", "PD000000000011", "PTFIRST", "PD000000000022"};
    QTest::newRow("Brisanje PLU, No") << "delete" << Answer::No << QList<QByteArray>{} << "" << "";
    QTest::newRow("Brisanje PLU, Yes") << "delete" << Answer::Yes << deleted << "" << "0";
    QTest::newRow("Brisanje Artikala, Yes") << "Command1" << Answer::Yes << deleted << "" << "0";
    QTest::newRow("Brisanje prom., No") << "erase" << Answer::No << QList<QByteArray>{} << "" << "";
    QTest::newRow("Brisanje Prodaje, Yes")
        << "Command2" << Answer::Yes << QList<QByteArray>{"T", "PE", "n"} << "Operacija izvrsena !" << "";
}

void FrmRiceviTest::registerOperationsAskFirst()
{
    QFETCH(QString, control);
    QFETCH(Answer, answer);
    QFETCH(QList<QByteArray>, payloads);
    QFETCH(QString, report);
    QFETCH(QString, label7);
    RoutineRig rig;
    QVERIFY(rig.writeState("clear articles\n" + article("000000000011", "Mleko") + article("000000000022", "Jaja")));
    QVERIFY(rig.open({"--state", rig.statePath()}));
    rig.prompter.answer(answer);
    frmRicevi window(rig.ctx);
    if (control.startsWith("Command")) {
        auto *command = window.findChild<QPushButton *>(control);
        QVERIFY(command);
        command->click();
    } else {
        button(window, control)->trigger();
    }

    QVERIFY(rig.payloadsAre(payloads));
    QVERIFY(!rig.prompter.prompts.empty());
    QCOMPARE(rig.prompter.prompts.front().text, QString("Da li ste sigurni?"));
    QCOMPARE(rig.prompter.prompts.front().buttons, Buttons::YesNo);
    QCOMPARE(rig.prompter.prompts.size(), std::size_t(report.isEmpty() ? 1 : 2));
    if (!report.isEmpty())
        QCOMPARE(rig.prompter.last().text, report);
    QCOMPARE(text(window, "Label7"), label7);
    if (payloads.contains("PD000000000011"))
        QCOMPARE(text(window, "Label1"), QString("Artikal:"));
}

void FrmRiceviTest::secondOperationDuringReceiveIgnored()
{
    RoutineRig rig;
    QVERIFY(rig.open());
    QPointer<frmRicevi> window = new frmRicevi(rig.ctx);
    tick(*window, {"Odeljenja"});
    bool pressed = false;
    // runs while the window processes events after the first department
    QTimer::singleShot(0, window, [&] {
        pressed = true;
        QVERIFY(window->isRunning());
        for (const char *key : {"invia", "delete", "erase", "esci"})
            window->Toolbar1_ButtonClick(button(*window, key));
        window->findChild<QPushButton *>("Command1")->click();
        QVERIFY(!window->close());
    });
    button(*window, "invia")->trigger();

    QVERIFY(pressed);
    QVERIFY(rig.payloadsAre(QList<QByteArray>{"T"} + departmentRequests()));
    QVERIFY(rig.prompter.prompts.empty()); // no "Da li ste sigurni?" either
    QCOMPARE(result(*window, "ImgRep"), QString("ok"));
    // "Izlaz" pressed during the reception closes the window once it has ended
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());
}

QTEST_MAIN(FrmRiceviTest)
#include "frmricevi_test.moc"
