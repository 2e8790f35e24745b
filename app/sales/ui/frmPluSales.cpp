#include "sales/ui/frmPluSales.h"

#include "data/Codec.h"
#include "data/RegisterText.h"
#include "sales/SalesViews.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/AppGlobals.h"
#include "shell/ui/AppGlobalsUi.h"
#include "shell/ui/KeyedToolbar.h"
#include "shell/ScreenFonts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace kalvo {

namespace {

const char kTransferTitle[] = "Orvel Cash Registars";
const char kSearchTitle[] = "Pretrazivanje";
const char kEmptyList[] = "Nema artikala u listi.";
constexpr qint32 kErrInternal = 51;

// The register's tax letters in register code.
const char *const kVatItems[] = {"0 - A", "1 - G", "2 - D", "3 - \\", "4 - E", "5 - @", "6 - I", "7 - J", "8 - K"};
const char *const kFixedUnits[] = {"kom", "kg", "m", "l", "g", " "};
constexpr int kProposedVatIndex = 2;

QString shown(const QByteArray &bytes, bool cyrillic)
{
    return ansiToUnicode(QByteArray::fromStdString(ConvertRegisterText(bytes.toStdString(), !cyrillic)));
}

QListWidget *makeList(const char *name, const QString &tip, QWidget *parent)
{
    auto *l = new QListWidget(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setToolTip(tip);
    return l;
}

QLineEdit *makeField(const char *name, const QString &tip, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setToolTip(tip);
    e->setReadOnly(true);
    return e;
}

QComboBox *makeCombo(const char *name, const QString &tip, QWidget *parent)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setToolTip(tip);
    return c;
}

// Keys that move through the list rather than ask for a new article.
bool isNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_Left: case Qt::Key_Right:
    case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Home: case Qt::Key_End:
    case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Shift: case Qt::Key_Control:
    case Qt::Key_Alt: case Qt::Key_Meta:
        return true;
    default:
        return false;
    }
}

// Sets a read-only field's text whole, even when it is longer than the field's typing limit.
void showWhole(QLineEdit *field, const QString &text)
{
    if (text.size() > field->maxLength())
        field->setMaxLength(int(text.size()));
    field->setText(text);
}

} // namespace

PluSalesView::PluSalesView(AppContext &context, ReadBackList list, QWidget *parent)
    : QWidget(parent), m_ctx(context), m_list(list)
{
    setAttribute(Qt::WA_DeleteOnClose);
    const bool isSold = sold();
    setObjectName(formName());
    setWindowTitle(isSold ? QStringLiteral("Prodati artikli") : QStringLiteral("Primljeni artikli"));

    m_toolbar = MakeKeyedToolbar(this, QStringLiteral("Toolbar2"), {
        {"nuovo", "Novi", ""},
        {"inserisci", "Dodaj", ""},
        {"aggiorna", "Azuriraj", ""},
        {"elimina", "Prebaci u PLU", isSold ? "" : "Spremanje primljenih artikala za slanje"},
        {"findArt", "Pronadji", "Trazenje sifre artikla"},
        {"esci", "Izlaz", "Zatvaranje forme"},
    });
    // the editing keys of the article editor have no action in these lists
    for (QAction *a : m_toolbar->actions())
        a->setEnabled(a->data().toString() != QLatin1String("nuovo")
                      && a->data().toString() != QLatin1String("inserisci")
                      && a->data().toString() != QLatin1String("aggiorna"));
    connect(m_toolbar, &QToolBar::actionTriggered, this, &PluSalesView::Toolbar2_ButtonClick);

    // search and transfer
    m_fart = new QLineEdit(QStringLiteral("000000000000"), this);
    m_fart->setObjectName(QStringLiteral("Fart"));
    m_fart->setToolTip(QStringLiteral("Sifra artikla za pretragu"));
    m_find = new QPushButton(QStringLiteral("Pronadji"), this);
    m_find->setObjectName(QStringLiteral("FinfArt"));
    m_transfer = new QPushButton(QStringLiteral("Prebaci u PLU"), this);
    m_transfer->setObjectName(QStringLiteral("PLU_preb"));
    connect(m_find, &QPushButton::clicked, this, &PluSalesView::PronadjiArt);
    connect(m_fart, &QLineEdit::returnPressed, this, &PluSalesView::PronadjiArt);
    connect(m_transfer, &QPushButton::clicked, this, &PluSalesView::PLU_preb_Click);

    // the five lists
    m_lstplu = makeList("lstplu", QStringLiteral("Sifre i nazivi artikala"), this);
    m_listC = makeList("listC", QStringLiteral("Cene artikala"), this);
    m_listL = makeList("ListL", isSold ? QStringLiteral("Stanje artikala na lageru") : QStringLiteral("Stanje lagera artikala"), this);
    m_listP = makeList("listP", QStringLiteral("Prodata kolicina"), this);
    m_listI = makeList("listI", QStringLiteral("Vrednost prodate robe"), this);
    for (QListWidget *l : {m_lstplu, m_listC, m_listL, m_listP, m_listI})
        l->setVerticalScrollBarPolicy(l == m_lstplu ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    connect(m_lstplu, &QListWidget::currentRowChanged, this, &PluSalesView::SyncLists);
    connect(m_lstplu->verticalScrollBar(), &QScrollBar::valueChanged, this, &PluSalesView::SyncLists);
    connect(m_lstplu, &QListWidget::itemDoubleClicked, this, &PluSalesView::ShowArticleDetail);
    // the other lists follow lstplu: a click in one of them selects that line in lstplu
    for (QListWidget *l : {m_listC, m_listL, m_listP, m_listI})
        connect(l, &QListWidget::itemClicked, this, [this, l] { m_lstplu->setCurrentRow(l->currentRow()); });
    m_lstplu->installEventFilter(this);

    // details
    m_picture = new QFrame(this);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setFrameShape(QFrame::StyledPanel);
    m_picture->setFocusPolicy(Qt::ClickFocus);
    m_picture->installEventFilter(this);
    m_barcode = makeField("Barcode", QStringLiteral("Sifra ili barkod artikla"), m_picture);
    m_desc = makeField("txtDesc", QStringLiteral("Naziv artikla"), m_picture);
    m_price = makeField("txtprezzo", QStringLiteral("Cena artikla"), m_picture);
    m_qty = makeField("qty", QStringLiteral("Prodata kolicina"), m_picture);
    m_value = makeField("value", QStringLiteral("Vrednost prodaje"), m_picture);
    m_lager = makeField("txtLager", QStringLiteral("Stanje na lageru"), m_picture);
    m_iva = makeCombo("txtiva", QStringLiteral("Poreska stopa"), m_picture);
    m_reparto = makeCombo("cmbreparto", QStringLiteral("Odeljenje"), m_picture);
    m_mestype = makeCombo("Mestype", QStringLiteral("Jedinica mere"), m_picture);
    m_artype = makeCombo("Artype", QStringLiteral("Tip artikla"), m_picture);
    m_blocco = new QCheckBox(QStringLiteral("Pojedinacna prodaja"), m_picture);
    m_blocco->setObjectName(QStringLiteral("chkblocco"));
    // the view edits nothing: the choices show the article's values and take no input
    for (QWidget *w : std::initializer_list<QWidget *>{m_iva, m_reparto, m_mestype, m_artype, m_blocco})
        w->setAttribute(Qt::WA_TransparentForMouseEvents), w->setFocusPolicy(Qt::NoFocus);

    auto *details = new QGridLayout(m_picture);
    int row = 0;
    auto addRow = [&](const QString &label, QWidget *field, int column) {
        details->addWidget(new QLabel(label, m_picture), row, column * 2);
        details->addWidget(field, row, column * 2 + 1);
    };
    addRow(QStringLiteral("Artikal"), m_barcode, 0);
    addRow(QStringLiteral("Odeljenje"), m_reparto, 1);
    ++row;
    addRow(QStringLiteral("Naziv"), m_desc, 0);
    addRow(QStringLiteral("Poreska stopa"), m_iva, 1);
    ++row;
    addRow(QStringLiteral("Cena"), m_price, 0);
    addRow(QStringLiteral("Jedinica mere"), m_mestype, 1);
    ++row;
    addRow(QStringLiteral("Lager"), m_lager, 0);
    addRow(QStringLiteral("Tip artikla"), m_artype, 1);
    ++row;
    addRow(QStringLiteral("Kolicina"), m_qty, 0);
    details->addWidget(m_blocco, row, 3);
    ++row;
    addRow(QStringLiteral("Vrednost"), m_value, 0);

    auto *search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("Sifra:"), this));
    search->addWidget(m_fart);
    search->addWidget(m_find);
    search->addStretch(1);
    search->addWidget(m_transfer);

    auto *lists = new QGridLayout;
    const QString heads[] = {QStringLiteral("Spisak Artikala"), QStringLiteral("Cena"), QStringLiteral("Lager"),
                             QStringLiteral("Kolicina"), QStringLiteral("Vrednost")};
    QListWidget *const columns[] = {m_lstplu, m_listC, m_listL, m_listP, m_listI};
    for (int i = 0; i < 5; ++i) {
        lists->addWidget(new QLabel(heads[i], this), 0, i);
        lists->addWidget(columns[i], 1, i);
        lists->setColumnStretch(i, i == 0 ? 4 : 1);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_toolbar);
    layout->addLayout(search);
    layout->addLayout(lists, 1);
    layout->addWidget(m_picture);

    // window load
    m_ctx.CurrentFormName = formName();
    m_price->setMaxLength(int(SalesNumberText(m_ctx.settings.maxcena).size()));
    // The register's display language would choose the font, but the article table's own
    // script flag decides again, so the flag alone settles it.
    setFonts(QString::fromLatin1(m_ctx.data.CyrillicFormFlags.articles ? kCyrillicFont : kLatinFont));
    fillCombos();
    FillSalesLists();
    ApplyScript();
    resize(900, 560);
}

QString PluSalesView::formName() const
{
    return sold() ? QStringLiteral("frmPluSalesSold") : QStringLiteral("frmPluSales");
}

ArticleStore PluSalesView::store() const
{
    return ArticleStore(m_ctx.settings.connectionString);
}

void PluSalesView::fillCombos()
{
    const ProgrammingData &data = m_ctx.data;
    for (int d = 0; d < ProgrammingData::kDepartmentCount; ++d)
        m_departments[std::size_t(d)] = QByteArray::fromStdString(data.Departments[std::size_t(d + 1)].name);
    int u = 0;
    for (const char *fixed : kFixedUnits)
        m_units[std::size_t(u++)] = fixed;
    for (int i = 1; i <= ProgrammingData::kUnitCount; ++i)
        m_units[std::size_t(u++)] = QByteArray::fromStdString(data.Units[std::size_t(i)].name);
    for (int t = 0; t < ProgrammingData::kArticleTypeCount; ++t)
        m_types[std::size_t(t)] = QByteArray::fromStdString(data.ArticleTypes[std::size_t(t + 1)].name);
    m_iva->clear();
    for (const char *item : kVatItems)
        m_iva->addItem(QString::fromLatin1(item));
}

void PluSalesView::setFonts(const QString &family)
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_lstplu, m_desc, m_barcode, m_reparto, m_mestype, m_artype}) {
        QFont f = w->font();
        f.setFamily(family);
        w->setFont(f);
    }
}

void PluSalesView::FillSalesLists()
{
    for (QListWidget *l : {m_lstplu, m_listC, m_listL, m_listP, m_listI})
        l->clear();
    m_codes.clear();
    m_lines.clear();
    try {
        BusyCursor busy;
        const QList<ReadBackArticle> rows = store().readBackList(m_list, ArticleStore::Rows::Listed);
        for (const ReadBackArticle &a : rows) {
            m_codes.append(a.barCode);
            m_lines.append(ArticleSalesLine(a.barCode, a.description));
            m_lstplu->addItem(ansiToUnicode(m_lines.constLast()));
            m_listC->addItem(SalesNumberText(a.price));
            m_listL->addItem(SalesNumberText(a.inventary));
            m_listP->addItem(SalesNumberText(a.qty));
            m_listI->addItem(SalesNumberText(a.total));
        }
    } catch (const AppError &e) {
        ShowError(e, formName() + QStringLiteral(".FillSalesLists()"), m_ctx.ui());
    }
}

void PluSalesView::SyncLists()
{
    const int row = m_lstplu->currentRow();
    const int top = m_lstplu->verticalScrollBar()->value();
    for (QListWidget *l : {m_listC, m_listL, m_listP, m_listI}) {
        if (row >= 0 && row < l->count())
            l->setCurrentRow(row);
        else
            l->clearSelection();
        l->verticalScrollBar()->setValue(top);
    }
}

void PluSalesView::ShowArticleDetail()
{
    const int row = m_lstplu->currentRow();
    if (row < 0 || row >= m_codes.size())
        return;
    try {
        const QByteArray code = m_codes[row].rightJustified(12, ' ').left(12).trimmed();
        const std::optional<ReadBackArticle> a = store().fetchReadBack(m_list, code);
        if (!a)
            return;
        m_name = a->description;
        m_code = a->barCode;
        m_stock = SalesNumberText(a->inventary).toLatin1();
        showWhole(m_price, SalesNumberText(a->price));
        m_iva->setCurrentIndex(a->vatCode);
        m_blocco->setChecked(a->oneItem);
        m_reparto->setCurrentIndex(a->department);
        m_mestype->setCurrentIndex(a->mesType);
        m_artype->setCurrentIndex(a->artType);
        m_qty->setText(SalesNumberText(a->qty));
        m_value->setText(SalesNumberText(a->total));
        renderTexts(m_ctx.data.CyrillicMode);
    } catch (const AppError &e) {
        ShowError(e, formName() + QStringLiteral(".ShowArticleDetail()"), m_ctx.ui());
    }
}

void PluSalesView::PronadjiArt()
{
    const QString title = QString::fromLatin1(kAppTitle);
    if (sold() && m_lstplu->count() == 0) {
        m_ctx.ui().ask(QString::fromLatin1(kEmptyList), title, Icon::None, Buttons::Ok);
        return;
    }
    const SearchCode typed = CheckSearchCode(m_fart->text());
    if (!typed.ok()) {
        m_ctx.ui().ask(typed.message, title, Icon::Critical, Buttons::Ok);
        return;
    }
    try {
        const SearchResult r = FindArticleCode(m_codes, typed.value);
        if (r.selected >= 0)
            m_lstplu->setCurrentRow(r.selected);
        if (r.found) {
            SyncLists();
            if (sold())
                ShowArticleDetail();
        } else if (sold()) {
            m_ctx.ui().ask(QStringLiteral("Artikal ne postoji."), QString::fromLatin1(kSearchTitle),
                           Icon::Exclamation, Buttons::Ok);
        }
    } catch (const AppError &e) {
        ShowError(e, formName() + QStringLiteral(".PronadjiArt()"), m_ctx.ui());
        if (m_lstplu->count() > 0) {
            m_lstplu->setCurrentRow(0);
            SyncLists();
        }
    }
}

void PluSalesView::PrepareNewArticle()
{
    try {
        QList<QByteArray> codes;
        for (const ReadBackArticle &a : store().readBackList(m_list, ArticleStore::Rows::All))
            codes.append(a.barCode);
        m_code = QByteArray::number(FirstFreeCode(codes));
    } catch (const AppError &e) {
        ShowError(e, formName() + QStringLiteral(".PrepareNewArticle()"), m_ctx.ui());
        return;
    }
    m_name.clear();
    m_stock = "0";
    m_price->clear();
    m_qty->clear();
    m_value->clear();
    m_iva->setCurrentIndex(kProposedVatIndex);
    m_reparto->setCurrentIndex(0);
    m_artype->setCurrentIndex(0);
    m_blocco->setChecked(false);
    renderTexts(m_ctx.data.CyrillicMode);
}

void PluSalesView::ApplyScript()
{
    renderTexts(m_ctx.data.CyrillicMode);
}

void PluSalesView::applyCyrillicMode(bool on, const QString &fontFamily)
{
    renderTexts(on);
    if (!fontFamily.isEmpty())
        setFonts(fontFamily);
}

void PluSalesView::renderTexts(bool cyrillic)
{
    for (int i = 0; i < m_lines.size() && i < m_lstplu->count(); ++i)
        m_lstplu->item(i)->setText(shown(m_lines[i], cyrillic));
    auto refill = [cyrillic](QComboBox *combo, const auto &items) {
        const int current = combo->currentIndex();
        combo->clear();
        for (const QByteArray &item : items)
            combo->addItem(shown(item, cyrillic));
        combo->setCurrentIndex(current);
    };
    refill(m_reparto, m_departments);
    refill(m_mestype, m_units);
    refill(m_artype, m_types);
    m_desc->setText(shown(m_name, cyrillic));
    m_barcode->setText(shown(m_code, cyrillic));
    m_lager->setText(shown(m_stock, cyrillic));
}

void PluSalesView::PLU_preb_Click()
{
    const QString title = QString::fromLatin1(kAppTitle);
    try {
        const ArticleStore db = store();
        // Copying an empty list would only empty the article table.
        if (db.readBackList(m_list, ArticleStore::Rows::All).isEmpty()) {
            m_ctx.ui().ask(QString::fromLatin1(kEmptyList), title, Icon::Exclamation, Buttons::Ok);
            return;
        }
        if (m_ctx.ui().ask(QStringLiteral("Da li ste sigurni?"), title, Icon::Exclamation, Buttons::YesNo) != Answer::Yes)
            return;
        BusyCursor busy;
        db.transferToArticles(m_list);
    } catch (const AppError &e) {
        ShowError(e, formName() + QStringLiteral(".PLU_preb_Click()"), m_ctx.ui());
        return;
    }
    m_ctx.ui().ask(QStringLiteral("Preneto ! "), QString::fromLatin1(kTransferTitle), Icon::Information, Buttons::Ok);
}

void PluSalesView::Toolbar2_ButtonClick(QAction *button)
{
    const QString key = button ? button->data().toString() : QString();
    try {
        if (key == QLatin1String("elimina"))
            PLU_preb_Click();
        else if (key == QLatin1String("findArt"))
            PronadjiArt();
        else if (key == QLatin1String("esci")) {
            m_ctx.CurrentFormName = QStringLiteral(" ");
            closeWindow();
        }
    } catch (const std::exception &e) {
        ShowError(AppError(kErrInternal, QString::fromLocal8Bit(e.what())),
                  formName() + QStringLiteral(".Toolbar2_ButtonClick()"), m_ctx.ui());
    }
}

bool PluSalesView::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_lstplu || watched == m_picture) && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!isNavigationKey(key->key()))
            PrepareNewArticle();
    }
    return QWidget::eventFilter(watched, event);
}

void PluSalesView::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

frmPluSales::frmPluSales(AppContext &context, QWidget *parent)
    : PluSalesView(context, ReadBackList::Articles, parent)
{
}

frmPluSalesSold::frmPluSalesSold(AppContext &context, QWidget *parent)
    : PluSalesView(context, ReadBackList::SoldArticles, parent)
{
}

} // namespace kalvo
