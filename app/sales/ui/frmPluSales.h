#pragma once
// The two article lists read back from the register: frmPluSales ("Primljeni artikli",
// ZIB_PLU_RCV) and frmPluSalesSold ("Prodati artikli", ZIB_PLU_RCV_SOLD). Both show code
// and name, price, stock, quantity sold and sales value in five side-by-side lists, one
// article's details on a double click, find an article by its code and copy the list into
// the article table ("Prebaci u PLU"). They edit nothing.
//
// Controls by objectName: lstplu, listC, ListL, listP, listI (the five lists), Fart (code to
// search), FinfArt ("Pronadji"), PLU_preb ("Prebaci u PLU"), Picture1 holding the details
// Barcode, txtDesc, txtprezzo, txtiva, cmbreparto, Mestype, Artype, chkblocco, qty, value,
// txtLager, and Toolbar2 (actions keyed "nuovo", "inserisci", "aggiorna", "elimina",
// "findArt", "esci"; only the last three act).
#include "data/ArticleStore.h"
#include "shell/ui/WindowHooks.h"

#include <QList>
#include <QWidget>

#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolBar;
class QFrame;

namespace kalvo {

struct AppContext;

class PluSalesView : public QWidget, public CyrillicSwitchable {
    Q_OBJECT
public:
    void FillSalesLists();
    void ShowArticleDetail();
    void SyncLists();
    void PronadjiArt();
    void PrepareNewArticle();
    void ApplyScript();
    void PLU_preb_Click();
    void Toolbar2_ButtonClick(QAction *button);

    void applyCyrillicMode(bool on, const QString &fontFamily) override;

protected:
    PluSalesView(AppContext &context, ReadBackList list, QWidget *parent);
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool sold() const { return m_list == ReadBackList::SoldArticles; }
    QString formName() const;
    ArticleStore store() const;
    void fillCombos();
    void setFonts(const QString &family);
    void renderTexts(bool cyrillic);
    void closeWindow();

    AppContext &m_ctx;
    ReadBackList m_list;
    QList<QByteArray> m_codes;   // BAR_CODE of each line, in list order
    QList<QByteArray> m_lines;   // the lstplu lines as built, before the script is applied
    // The register texts shown in the detail fields and combos, kept as read so that a
    // change of script converts them from the original and not from an earlier rendering.
    QByteArray m_code, m_name, m_stock;
    std::array<QByteArray, 10> m_departments;
    std::array<QByteArray, 11> m_units;
    std::array<QByteArray, 8> m_types;

    QToolBar *m_toolbar;
    QListWidget *m_lstplu, *m_listC, *m_listL, *m_listP, *m_listI;
    QLineEdit *m_fart;
    QPushButton *m_find, *m_transfer;
    QFrame *m_picture;
    QLineEdit *m_barcode, *m_desc, *m_price, *m_qty, *m_value, *m_lager;
    QComboBox *m_iva, *m_reparto, *m_mestype, *m_artype;
    QCheckBox *m_blocco;
};

class frmPluSales : public PluSalesView {
    Q_OBJECT
public:
    explicit frmPluSales(AppContext &context, QWidget *parent = nullptr);
};

class frmPluSalesSold : public PluSalesView {
    Q_OBJECT
public:
    explicit frmPluSalesSold(AppContext &context, QWidget *parent = nullptr);
};

} // namespace kalvo
