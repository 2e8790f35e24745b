#pragma once
// Sales by department (frmDepSales, "Prodaja po odeljenjima") and by cashier (frmOperSales,
// "Prodaja kasira"), built once from the totals of ProgrammingData when the window opens.
//
// Controls by objectName: lstplu (number and name) and beside it, line for line,
// frmDepSales: ListR (quantity sold), ListI (sales value);
// frmOperSales: ListS (access code), ListR (receipts issued), ListI (sales value).
// A click in lstplu selects the same line in the other lists and scrolls them alike.
#include "shell/ui/WindowHooks.h"

#include <QList>
#include <QWidget>

#include <string>

class QListWidget;
class QGridLayout;

namespace kalvo {

struct AppContext;

class SalesTotalsView : public QWidget, public CyrillicSwitchable {
    Q_OBJECT
public:
    void SyncLists();
    // Renders the lstplu lines in the script of CyrillicMode with the matching font.
    void ApplyScript();
    void applyCyrillicMode(bool on, const QString &fontFamily) override;

protected:
    struct Column {
        const char *name;
        const char *heading;
        const char *tip;
    };
    SalesTotalsView(AppContext &context, const char *formName, const QString &caption, const QString &heading,
                    const QList<Column> &columns, QWidget *parent);
    // Adds one line to every list: the register bytes of lstplu, then the other columns.
    void addLine(const std::string &line, const QStringList &values);
    void setListFont(const QString &family);

    AppContext &m_ctx;
    QListWidget *m_lstplu;
    QList<QListWidget *> m_others;
    QList<std::string> m_lines;  // lstplu lines as built, before the script is applied
};

class frmDepSales : public SalesTotalsView {
    Q_OBJECT
public:
    explicit frmDepSales(AppContext &context, QWidget *parent = nullptr);
};

class frmOperSales : public SalesTotalsView {
    Q_OBJECT
public:
    explicit frmOperSales(AppContext &context, QWidget *parent = nullptr);
};

} // namespace kalvo
