#include "sales/ui/frmVATSales.h"

#include "sales/SalesViews.h"
#include "shell/AppContext.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QValueAxis>

#include <algorithm>

namespace kalvo {

frmVATSales::frmVATSales(AppContext &context, QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmVATSales"));
    setWindowTitle(QStringLiteral("Prodaja po stopama"));
    context.CurrentFormName = QStringLiteral("ne");

    const VatSales sales = VatRateSales(context.data);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Stopa"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Procenat"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Vrednost"), this), 0, 2);
    const QString tip = QStringLiteral("Ukupna vrednost prodate robe");
    auto makeValue = [this, &tip](int index, const QString &text) {
        auto *v = new QLineEdit(text, this);
        v->setObjectName(QStringLiteral("value_%1").arg(index));
        v->setToolTip(tip);
        v->setReadOnly(true);
        v->setAlignment(Qt::AlignRight);
        return v;
    };

    QStringList categories;
    auto *bars = new QBarSet(QStringLiteral("Prodaja"));
    double highest = 0;
    for (int r = 0; r < ProgrammingData::kVatRateCount; ++r) {
        const VatSalesRow &row = sales.rows[std::size_t(r)];
        auto *num = new QLabel(row.number, this);
        num->setObjectName(QStringLiteral("VATnum_%1").arg(r));
        auto *perc = new QLabel(row.percent, this);
        perc->setObjectName(QStringLiteral("PERC_%1").arg(r));
        perc->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(num, r + 1, 0);
        grid->addWidget(perc, r + 1, 1);
        grid->addWidget(makeValue(r, row.amount), r + 1, 2);
        categories << QStringLiteral("Stopa %1").arg(r);
        *bars << row.value;
        highest = std::max(highest, row.value);
    }
    const int totalRow = ProgrammingData::kVatRateCount + 1;
    grid->addWidget(new QLabel(QStringLiteral("UKUPNO"), this), totalRow, 1, Qt::AlignRight);
    grid->addWidget(makeValue(ProgrammingData::kVatRateCount, sales.totalText), totalRow, 2);
    grid->setRowStretch(totalRow + 1, 1);

    auto *series = new QBarSeries;
    series->append(bars);
    auto *chart = new QChart;
    chart->addSeries(series);
    chart->legend()->hide();
    auto *axisX = new QBarCategoryAxis;
    axisX->append(categories);
    chart->addAxis(axisX, Qt::AlignBottom);
    series->attachAxis(axisX);
    auto *axisY = new QValueAxis;
    double lowest = 0;
    for (const VatSalesRow &row : sales.rows)
        lowest = std::min(lowest, row.value);
    axisY->setRange(lowest, highest > lowest ? highest : lowest + 1);
    axisY->applyNiceNumbers();
    chart->addAxis(axisY, Qt::AlignLeft);
    series->attachAxis(axisY);

    auto *view = new QChartView(chart, this);
    view->setObjectName(QStringLiteral("MSChart1"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(640, 320);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(view, 1);
    resize(1000, 440);
}

} // namespace kalvo
