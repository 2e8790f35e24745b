#pragma once
// Sales by VAT rate (frmVATSales, "Prodaja po stopama"): for rates 0..8 the number, the
// percentage and the sales value, the total beside "UKUPNO", and a bar chart of the nine
// values. Built once from ProgrammingData when the window opens.
//
// Controls by objectName: VATnum_0..VATnum_8, PERC_0..PERC_8, value_0..value_9 (value_9 is
// the total) and MSChart1 (the chart view; its one bar set holds the nine values, categories
// "Stopa 0".."Stopa 8").
#include <QWidget>

namespace kalvo {

struct AppContext;

class frmVATSales : public QWidget {
    Q_OBJECT
public:
    explicit frmVATSales(AppContext &context, QWidget *parent = nullptr);
};

} // namespace kalvo
