// The department, cashier and VAT sales windows (offscreen): lines built from the totals of
// ProgrammingData, lists that follow lstplu, the VAT chart and the current window name.
#include "sales/ui/frmDepSales.h"
#include "sales/ui/frmVATSales.h"
#include "shell/AppContext.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>

#include <memory>

using namespace kalvo;

class SalesTotalsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<AppContext> m_ctx;
    ScriptedPrompter m_prompter;

    template <typename T> static T *child(QWidget &w, const QString &name)
    {
        auto *c = w.findChild<T *>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }

private slots:
    void init()
    {
        m_ctx = std::make_unique<AppContext>();
        m_ctx->prompter = &m_prompter;
        m_ctx->data.ResetTables();
        m_ctx->data.CyrillicMode = false;
        m_ctx->data.LinkSettings.DisplayCyrillic = false;
        m_ctx->settings.fontlatin = "DejaVu Sans Mono";
    }

    void departments()
    {
        m_ctx->data.Departments[1].name = "Hleb";
        m_ctx->data.Departments[1].salesQuantity = "1500";
        m_ctx->data.Departments[1].salesAmount = "12345";
        frmDepSales w(*m_ctx);
        QCOMPARE(w.windowTitle(), QString("Prodaja po odeljenjima"));
        QCOMPARE(m_ctx->CurrentFormName, QString("frmDepSales"));
        auto *names = child<QListWidget>(w, "lstplu");
        QCOMPARE(names->count(), 10);
        QCOMPARE(child<QListWidget>(w, "ListR")->count(), 10);
        QCOMPARE(names->item(0)->text(), QString(" 1  Hleb        "));
        QVERIFY(names->item(9)->text().startsWith("10  "));
        QCOMPARE(child<QListWidget>(w, "ListR")->item(0)->text(), QString("1.5"));
        QCOMPARE(child<QListWidget>(w, "ListI")->item(0)->text(), QString("123.45"));
        QCOMPARE(child<QListWidget>(w, "ListI")->item(1)->text(), QString("0"));
        QCOMPARE(names->font().family(), QString("DejaVu Sans Mono"));
    }

    void cashiersFollowLstplu()
    {
        m_ctx->data.Operators[6].code = " 12345";
        m_ctx->data.Operators[6].receiptCount = "8";
        m_ctx->data.Operators[6].salesAmount = "99.5";
        frmOperSales w(*m_ctx);
        w.resize(600, 200);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(m_ctx->CurrentFormName, QString("frmOperSales"));
        auto *names = child<QListWidget>(w, "lstplu");
        QCOMPARE(names->count(), 31);
        names->setCurrentRow(5);
        for (const char *n : {"ListS", "ListR", "ListI"})
            QCOMPARE(child<QListWidget>(w, n)->currentRow(), 5);
        QCOMPARE(child<QListWidget>(w, "ListS")->currentItem()->text(), QString("12345"));
        QCOMPARE(child<QListWidget>(w, "ListR")->currentItem()->text(), QString("8"));
        QCOMPARE(child<QListWidget>(w, "ListI")->currentItem()->text(), QString("99.5"));
        names->scrollToBottom();
        QVERIFY(names->verticalScrollBar()->value() > 0);
        QCOMPARE(child<QListWidget>(w, "ListI")->verticalScrollBar()->value(), names->verticalScrollBar()->value());
    }

    void vatRatesAndChart()
    {
        for (int r = 0; r < 9; ++r) {
            m_ctx->data.VatRates[std::size_t(r)].rate = std::to_string(r * 250);
            m_ctx->data.VatRates[std::size_t(r)].salesAmount = std::to_string(r * 10) + ".5";
        }
        m_ctx->data.VatRates[1].rate = "2000";
        frmVATSales w(*m_ctx);
        QCOMPARE(w.windowTitle(), QString("Prodaja po stopama"));
        QCOMPARE(m_ctx->CurrentFormName, QString("ne"));
        QCOMPARE(child<QLabel>(w, "VATnum_8")->text(), QString("8"));
        QCOMPARE(child<QLabel>(w, "PERC_0")->text(), QString("0%"));
        QCOMPARE(child<QLabel>(w, "PERC_1")->text(), QString("20%"));
        QCOMPARE(child<QLineEdit>(w, "value_3")->text(), QString("30.5"));
        QCOMPARE(child<QLineEdit>(w, "value_9")->text(), QString("364.5"));
        auto *chart = child<QChartView>(w, "MSChart1")->chart();
        auto *series = qobject_cast<QBarSeries *>(chart->series().value(0));
        QVERIFY(series);
        QCOMPARE(series->barSets().size(), 1);
        QCOMPARE(series->barSets()[0]->count(), 9);
        QCOMPARE(series->barSets()[0]->at(4), 40.5);
    }
};

QTEST_MAIN(SalesTotalsTest)
#include "sales_totals_test.moc"
