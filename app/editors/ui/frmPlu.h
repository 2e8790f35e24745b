#pragma once
// "Artikli": lists, creates, changes, deletes and finds the articles of the article
// database (see editors/PluEditor.h for the logic behind the controls).
//
// Controls by objectName: lstplu, ListCene, ListL (parallel lists; their selection moves
// together), Fart (code to search), Picture1 (the edit panel: Barcode, txtDesc, txtprezzo,
// cmbreparto, vatCom, Mestype, Artype, chkblocco, TextLager), Check1 ("Cirilica"),
// Command1 ("Izlaz") and Toolbar2 (keys nuovo, inserisci, aggiorna, elimina, findArt,
// esci: each action's data and objectName).
#include "data/Article.h"
#include "shell/ui/WindowHooks.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolBar;

namespace kalvo {

struct AppContext;

class frmPlu : public QWidget, public LineWidthAware, public CyrillicSwitchable {
    Q_OBJECT
public:
    explicit frmPlu(AppContext &context, QWidget *parent = nullptr);

    // The one handler of every tool-bar button; dispatches on the button's key.
    void Toolbar2_ButtonClick(QAction *button);

    // Fills the three lists from the article database again.
    void carica_PLU();

    void applyLineWidth() override;
    void applyCyrillicMode(bool on, const QString &fontFamily) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void nuovo();
    void insert_plu();
    void update_plu();
    void delete_plu();
    void findArt();
    void closeWindow();
    // Loads the article of a list row into the panel; false when it is gone.
    bool fetchRow(int row);
    void hidePanel();
    void clearFields();
    void selectRow(int row);
    void setFieldFont(const QString &family);
    ArticleForm form() const;
    // Runs an action, reporting a database failure under the routine's name.
    template <class F> void guarded(const char *routine, F &&action);

    AppContext &m_ctx;
    QToolBar *m_toolbar;
    QListWidget *m_list;
    QListWidget *m_prices;
    QListWidget *m_stock;
    QLineEdit *m_find;
    QWidget *m_panel;
    QLineEdit *m_code;
    QLineEdit *m_name;
    QLineEdit *m_price;
    QComboBox *m_department;
    QComboBox *m_vat;
    QComboBox *m_unit;
    QComboBox *m_type;
    QCheckBox *m_oneItem;
    QLineEdit *m_stockField;
    QCheckBox *m_cyrillic;
    QPushButton *m_close;

    bool m_loaded = false;      // a record was loaded by double-click
    bool m_newChosen = false;   // "nuovo" was chosen
    Article m_loadedArticle;    // the loaded record as stored (its code is the one to update)
};

} // namespace kalvo
