#include "editors/ui/frmPlu.h"

#include "data/ArticleStore.h"
#include "data/Codec.h"
#include "editors/PluEditor.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/AppGlobals.h"
#include "shell/ui/AppGlobalsUi.h"
#include "shell/ui/KeyedToolbar.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QToolBar>
#include <QVBoxLayout>

namespace kalvo {

namespace {

constexpr qint32 kErrInternal = 51;
constexpr int kCodeFieldLength = 32;    // longer codes are refused by the validation
constexpr int kStockFieldLength = 20;

QLineEdit *makeEdit(const char *name, const char *tip, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setToolTip(QString::fromLatin1(tip));
    return e;
}

QComboBox *makeCombo(const char *name, const char *tip, QWidget *parent)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setToolTip(QString::fromLatin1(tip));
    return c;
}

QListWidget *makeList(const char *name, const char *tip, QWidget *parent)
{
    auto *l = new QListWidget(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setToolTip(QString::fromLatin1(tip));
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    return l;
}

void fillCombo(QComboBox *combo, const QStringList &items)
{
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(items.isEmpty() ? -1 : 0);
}

// A stored position shown in its combo; a position the combo lacks shows nothing chosen.
void choose(QComboBox *combo, int position)
{
    combo->setCurrentIndex(position >= 0 && position < combo->count() ? position : -1);
}

} // namespace

frmPlu::frmPlu(AppContext &context, QWidget *parent) : QWidget(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("frmPlu"));
    setWindowTitle(QStringLiteral("Artikli"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_toolbar = MakeKeyedToolbar(this, QStringLiteral("Toolbar2"), {
        {"nuovo", "Novi", "Unos podataka za novi artikal"},
        {"inserisci", "Dodaj", "Memorisanje novog artikla"},
        {"aggiorna", "Azuriraj", "Memorisanje promenjenih podataka"},
        {"elimina", "Obrisi", "Brisanje odabranog artikla"},
        {"findArt", "Pronadji", "Trazenje sifre artikla"},
        {"esci", "Izlaz", "Zatvaranje forme"},
    });
    connect(m_toolbar, &QToolBar::actionTriggered, this, &frmPlu::Toolbar2_ButtonClick);

    // ---- the list side
    auto *listBox = new QGroupBox(QStringLiteral("Spisak Artikala"), this);
    m_list = makeList("lstplu", "Sifre i Nazivi artikala", listBox);
    m_prices = makeList("ListCene", "Cene artikala", listBox);
    m_stock = makeList("ListL", "Stanje lagera koje se programira u kasu", listBox);
    m_list->setMinimumWidth(340);
    m_prices->setFixedWidth(110);
    m_stock->setFixedWidth(110);
    m_find = makeEdit("Fart", "Sifra artikla za pretragu", listBox);
    m_find->setText(QStringLiteral("000000000000"));

    auto *listGrid = new QGridLayout(listBox);
    listGrid->addWidget(new QLabel(QStringLiteral("Artikal"), listBox), 0, 0);
    listGrid->addWidget(new QLabel(QStringLiteral("Cena"), listBox), 0, 1);
    listGrid->addWidget(new QLabel(QStringLiteral("Lager"), listBox), 0, 2);
    listGrid->addWidget(m_list, 1, 0);
    listGrid->addWidget(m_prices, 1, 1);
    listGrid->addWidget(m_stock, 1, 2);
    auto *findRow = new QHBoxLayout;
    findRow->addWidget(new QLabel(QStringLiteral("BARKOD"), listBox));
    findRow->addWidget(m_find, 1);
    listGrid->addLayout(findRow, 2, 0, 1, 3);

    // the three lists move their selection together
    for (QListWidget *source : {m_list, m_prices, m_stock}) {
        connect(source, &QListWidget::currentRowChanged, this, [this](int row) { selectRow(row); });
    }
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        guarded("lstplu_DblClick", [&] { fetchRow(m_list->row(item)); });
    });

    // ---- the edit panel
    m_panel = new QGroupBox(QStringLiteral("Artikal"), this);
    m_panel->setObjectName(QStringLiteral("Picture1"));
    m_code = makeEdit("Barcode", "Sifra ili barkod artikla", m_panel);
    m_code->setMaxLength(kCodeFieldLength);
    m_name = makeEdit("txtDesc", "Naziv artikla", m_panel);
    m_price = makeEdit("txtprezzo", "Cena artikla", m_panel);
    m_department = makeCombo("cmbreparto", "Odeljenje", m_panel);
    m_vat = makeCombo("vatCom", "Poreska stopa", m_panel);
    m_unit = makeCombo("Mestype", "Jedinica mere", m_panel);
    m_type = makeCombo("Artype", "Tip artikla", m_panel);
    m_oneItem = new QCheckBox(m_panel);
    m_oneItem->setObjectName(QStringLiteral("chkblocco"));
    m_oneItem->setToolTip(QStringLiteral("Pojedinacna prodaja"));
    m_stockField = makeEdit("TextLager", "Stanje lagera artikla", m_panel);
    m_stockField->setMaxLength(kStockFieldLength);

    auto *grid = new QGridLayout(m_panel);
    int r = 0;
    auto addRow = [&](const char *label, QWidget *field) {
        grid->addWidget(new QLabel(QString::fromLatin1(label), m_panel), r, 0);
        grid->addWidget(field, r, 1);
        ++r;
    };
    addRow("BARKOD", m_code);
    addRow("Naziv", m_name);
    addRow("Cena", m_price);
    addRow("Lager", m_stockField);
    addRow("Odeljenje", m_department);
    addRow("Poreska stopa", m_vat);
    addRow("Jedinica mere", m_unit);
    addRow("Tip artikla", m_type);
    addRow("Pojedinacna prodaja :", m_oneItem);
    grid->setRowStretch(r, 1);
    m_panel->setMinimumWidth(380);
    m_panel->hide();

    connect(m_price, &QLineEdit::editingFinished, this,
            [this] { m_price->setText(FormatPriceField(m_price->text())); });
    connect(m_stockField, &QLineEdit::editingFinished, this, [this] {
        m_stockField->setText(FormatStockField(m_stockField->text(), m_unit->currentIndex()));
    });
    connect(m_unit, &QComboBox::currentIndexChanged, this, [this](int unit) {
        m_stockField->setText(FormatStockField(m_stockField->text(), unit));
    });

    // Esc in the list or the panel puts the panel away
    m_list->installEventFilter(this);
    m_panel->installEventFilter(this);
    for (QWidget *w : m_panel->findChildren<QWidget *>())
        w->installEventFilter(this);

    // ---- bottom row
    m_cyrillic = new QCheckBox(QStringLiteral("Cirilica"), this);
    m_cyrillic->setObjectName(QStringLiteral("Check1"));
    connect(m_cyrillic, &QCheckBox::clicked, this, [this](bool checked) {
        m_ctx.data.CyrillicFormFlags.articles = checked;
        setFieldFont(QString::fromLatin1(checked ? kCyrillicFont : kLatinFont));
    });
    m_close = new QPushButton(QStringLiteral("Izlaz"), this);
    m_close->setObjectName(QStringLiteral("Command1"));
    m_close->setToolTip(QStringLiteral("Zatvaranje forme"));
    connect(m_close, &QPushButton::clicked, this, [this] {
        m_ctx.CurrentFormName = QStringLiteral(" ");
        closeWindow();
    });

    auto *middle = new QHBoxLayout;
    middle->addWidget(listBox, 1);
    middle->addWidget(m_panel);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_cyrillic);
    bottom->addStretch(1);
    bottom->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_toolbar);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);

    Form_Load();
}

template <class F> void frmPlu::guarded(const char *routine, F &&action)
{
    const QString sender = QStringLiteral("frmPlu.%1()").arg(QString::fromLatin1(routine));
    try {
        action();
    } catch (const AppError &e) {
        ShowError(e, sender, m_ctx.ui());
    } catch (const std::exception &e) {
        ShowError(AppError(kErrInternal, QString::fromLocal8Bit(e.what())), sender, m_ctx.ui());
    }
}

void frmPlu::Form_Load()
{
    m_ctx.CurrentFormName = QStringLiteral("frmPlu");
    const ProgrammingData &data = m_ctx.data;
    fillCombo(m_department, PluDepartmentItems(data));
    fillCombo(m_vat, PluVatItems());
    fillCombo(m_unit, PluUnitItems(data));
    fillCombo(m_type, PluArticleTypeItems(data));
    m_price->setMaxLength(PriceFieldLength(m_ctx.settings.maxcena));
    applyLineWidth();
    m_cyrillic->setChecked(data.CyrillicFormFlags.articles);
    setFieldFont(PluFontFamily(data));
    guarded("Form_Load", [this] { carica_PLU(); });
}

bool frmPlu::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape &&
        watched->isWidgetType()) {
        hidePanel();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmPlu::applyLineWidth()
{
    m_name->setMaxLength(NameFieldLength(m_ctx.data.LinkSettings.lineWidth));
}

void frmPlu::applyCyrillicMode(bool on, const QString &fontFamily)
{
    for (QListWidget *list : {m_list}) {
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setText(ConvertShownText(list->item(i)->text(), on));
    }
    for (QComboBox *combo : {m_department, m_unit, m_type}) {
        for (int i = 0; i < combo->count(); ++i)
            combo->setItemText(i, ConvertShownText(combo->itemText(i), on));
    }
    // the name box may hold a longer stored name than its limit: keep it whole
    const QString name = ConvertShownText(m_name->text(), on);
    m_name->setMaxLength(std::max<int>(m_name->maxLength(), int(name.size())));
    m_name->setText(name);
    setFieldFont(fontFamily);
}

void frmPlu::setFieldFont(const QString &family)
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_code, m_name, m_department, m_unit, m_type, m_list}) {
        QFont f = w->font();
        f.setFamily(family);
        w->setFont(f);
    }
}

void frmPlu::carica_PLU()
{
    const QList<Article> articles = ArticleStore(m_ctx.settings.connectionString).listArticles();
    const QList<PluListRow> rows = PluListRows(articles, m_ctx.data.CyrillicMode);
    for (QListWidget *list : {m_list, m_prices, m_stock}) {
        const QSignalBlocker block(list);
        list->clear();
    }
    for (const PluListRow &row : rows) {
        m_list->addItem(row.plu);
        m_prices->addItem(row.price);
        m_stock->addItem(row.stock);
    }
}

void frmPlu::selectRow(int row)
{
    for (QListWidget *list : {m_list, m_prices, m_stock}) {
        if (list->currentRow() != row && row < list->count()) {
            const QSignalBlocker block(list);
            list->setCurrentRow(row);
        }
    }
}

void frmPlu::clearFields()
{
    for (QLineEdit *e : {m_code, m_name, m_price, m_stockField})
        e->clear();
    for (QComboBox *c : {m_department, m_vat, m_unit, m_type}) {
        const QSignalBlocker block(c);
        c->setCurrentIndex(c->count() > 0 ? 0 : -1);
    }
    m_oneItem->setChecked(false);
    applyLineWidth();
}

void frmPlu::hidePanel()
{
    m_panel->hide();
    clearFields();
    m_loaded = false;
}

bool frmPlu::fetchRow(int row)
{
    if (row < 0 || row >= m_list->count())
        return false;
    const QByteArray code = PluRowCode(m_list->item(row)->text());
    const std::optional<Article> found = ArticleStore(m_ctx.settings.connectionString).fetchArticle(code);
    if (!found) {
        m_ctx.ui().tell(QString::fromLatin1(plumsg::kNotFound), QString::fromLatin1(kPluTitle), Icon::Exclamation);
        return false;
    }
    const Article &a = *found;
    const QString name = PluNameForEdit(a.description);
    applyLineWidth();
    // a name stored under a wider line setting is shown whole, not cut to the limit
    m_name->setMaxLength(std::max<int>(m_name->maxLength(), int(name.size())));
    m_name->setText(name);
    m_price->setText(FormatPriceField(QString::number(a.price, 'f', 2)));
    choose(m_vat, a.vatCode);
    m_code->setText(QString::fromLatin1(a.barCode));
    m_oneItem->setChecked(a.oneItem);
    choose(m_department, a.department);
    {
        const QSignalBlocker block(m_unit);
        choose(m_unit, a.mesType);
    }
    choose(m_type, a.artType);
    m_stockField->setText(FormatStockField(QString::number(a.inventary, 'f', 3), a.mesType));
    for (QWidget *w : std::initializer_list<QWidget *>{m_code, m_name, m_price, m_department, m_vat, m_unit,
                                                      m_type, m_oneItem, m_stockField})
        w->setEnabled(true);
    m_panel->show();
    m_loaded = true;
    m_loadedArticle = a;
    return true;
}

ArticleForm frmPlu::form() const
{
    // a combo left without a choice (a stored position it lacks) keeps the stored value
    auto position = [this](const QComboBox *combo, int stored) {
        const int index = combo->currentIndex();
        return index >= 0 ? index : (m_loaded ? stored : 0);
    };
    ArticleForm f;
    f.code = m_code->text();
    f.name = unicodeToAnsi(m_name->text());
    f.price = m_price->text();
    f.stock = m_stockField->text();
    f.vatCode = position(m_vat, m_loadedArticle.vatCode);
    f.mesType = position(m_unit, m_loadedArticle.mesType);
    f.artType = position(m_type, m_loadedArticle.artType);
    f.department = position(m_department, m_loadedArticle.department);
    f.oneItem = m_oneItem->isChecked();
    return f;
}

void frmPlu::Toolbar2_ButtonClick(QAction *button)
{
    if (!button)
        return;
    const QString key = button->data().toString();
    guarded("Toolbar2_ButtonClick", [&] {
        if (key == QLatin1String("nuovo"))
            nuovo();
        else if (key == QLatin1String("inserisci"))
            insert_plu();
        else if (key == QLatin1String("aggiorna"))
            update_plu();
        else if (key == QLatin1String("elimina"))
            delete_plu();
        else if (key == QLatin1String("findArt"))
            findArt();
        else if (key == QLatin1String("esci")) {
            m_ctx.CurrentFormName = QStringLiteral(" ");
            closeWindow();
        }
    });
}

void frmPlu::nuovo()
{
    m_panel->show();
    for (QWidget *w : std::initializer_list<QWidget *>{m_code, m_name, m_price, m_department, m_vat, m_unit,
                                                      m_type, m_oneItem, m_stockField})
        w->setEnabled(true);
    clearFields();
    m_code->setFocus();
    m_loaded = false;
    m_newChosen = true;
}

void frmPlu::insert_plu()
{
    if (m_panel->isHidden() || !m_code->isEnabled() || !m_newChosen) {
        m_ctx.ui().tell(QString::fromLatin1(plumsg::kChooseNew), QString::fromLatin1(kPluToolbarTitle),
                        Icon::Critical);
        return;
    }
    const ArticleStore store(m_ctx.settings.connectionString);
    const ArticleCheck check = store.validateArticle(form(), m_ctx.settings.maxcena, std::nullopt);
    if (!check.ok) {
        m_ctx.ui().tell(check.message, QString::fromLatin1(kPluTitle), Icon::Critical);
        return;
    }
    m_price->setText(check.priceText);
    m_stockField->setText(check.stockText);
    if (!store.insertArticle(check.article)) {
        m_ctx.ui().tell(QString::fromLatin1(articlemsg::kArticleExists), QString::fromLatin1(kPluTitle),
                        Icon::Exclamation);
        return;
    }
    hidePanel();
    carica_PLU();
}

void frmPlu::update_plu()
{
    if (!m_loaded) {
        m_ctx.ui().tell(QString::fromLatin1(plumsg::kDoubleClickFirst), QString::fromLatin1(kPluToolbarTitle),
                        Icon::Exclamation);
        return;
    }
    const ArticleStore store(m_ctx.settings.connectionString);
    const ArticleCheck check =
        store.validateArticle(form(), m_ctx.settings.maxcena, m_loadedArticle.barCode);
    if (!check.ok) {
        m_ctx.ui().tell(check.message, QString::fromLatin1(kPluTitle), Icon::Critical);
        return;
    }
    m_price->setText(check.priceText);
    m_stockField->setText(check.stockText);
    const bool updated = store.updateArticle(m_loadedArticle.barCode, check.article);
    if (!updated) {
        // deleted meanwhile (another workstation): nothing was stored
        m_ctx.ui().tell(QString::fromLatin1(plumsg::kNotFound), QString::fromLatin1(kPluTitle),
                        Icon::Exclamation);
    }
    hidePanel();
    carica_PLU();
}

void frmPlu::delete_plu()
{
    const int row = m_list->currentRow();
    if (row < 0) {
        m_ctx.ui().tell(QString::fromLatin1(plumsg::kSelectFirst), QString::fromLatin1(kPluToolbarTitle),
                        Icon::Exclamation);
        return;
    }
    if (m_ctx.ui().ask(QString::fromLatin1(plumsg::kSure), QString::fromLatin1(kPluToolbarTitle),
                       Icon::Exclamation, Buttons::YesNo) != Answer::Yes)
        return;
    const QByteArray code = PluRowCode(m_list->item(row)->text());
    hidePanel();
    ArticleStore(m_ctx.settings.connectionString).deleteArticle(code);
    carica_PLU();
}

void frmPlu::findArt()
{
    const QString typed = m_find->text();
    if (const auto refusal = CheckPluSearchCode(typed)) {
        m_ctx.ui().tell(*refusal, QString::fromLatin1(kPluTitle), Icon::Critical);
        return;
    }
    QStringList rows;
    rows.reserve(m_list->count());
    for (int i = 0; i < m_list->count(); ++i)
        rows << m_list->item(i)->text();
    const int row = FindPluRow(rows, typed);
    if (row < 0) {
        m_ctx.ui().tell(QString::fromLatin1(plumsg::kNotFound), QString::fromLatin1(kPluTitle),
                        Icon::Exclamation);
        return;
    }
    m_list->setCurrentRow(row);
    selectRow(row);
    m_list->scrollToItem(m_list->item(row));
    fetchRow(row);
}

void frmPlu::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

} // namespace kalvo
