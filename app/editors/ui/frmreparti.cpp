#include "editors/ui/frmreparti.h"

#include "data/Codec.h"
#include "data/RegisterText.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/AppGlobals.h"
#include "shell/ui/KeyedToolbar.h"
#include "shell/ScreenFonts.h"

#include <QAction>
#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QToolBar>
#include <QVBoxLayout>

namespace kalvo {

namespace {

constexpr qint32 kErrInternal = 51;
// a department name travels as 12 characters; the price as 8 digits
constexpr int kNameLength = 12;
constexpr int kPriceLength = 12;


QString text(const std::string &bytes) { return ansiToUnicode(QByteArray::fromStdString(bytes)); }
std::string bytes(const QString &text) { return unicodeToAnsi(text).toStdString(); }

} // namespace

frmreparti::frmreparti(AppContext &context, QWidget *parent)
    : QWidget(parent), m_ctx(context), m_editor(context.data, context.ui())
{
    setObjectName(QStringLiteral("frmreparti"));
    setWindowTitle(QStringLiteral("Odeljenja"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_toolbar = MakeKeyedToolbar(this, QStringLiteral("Toolbar2"), {
        {"nuovo", "New", "Nuovo Record"},
        {"inserisci", "Insert", "Inserisce il Record"},
        {"aggiorna", "Azuriraj", "Memorisanje unetih podataka"},
        {"elimina", "Obrisi", ""},
        {"svuota", "Empty", ""},
        {"esci", "Izlaz", "Zatvaranje forme"},
    });
    connect(m_toolbar, &QToolBar::actionTriggered, this, &frmreparti::Toolbar2_ButtonClick);

    auto *heading = new QLabel(QStringLiteral("Konfiguracija Odeljenja"), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    heading->setFont(headingFont);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstplu"));
    m_list->setToolTip(QStringLiteral("Nazivi odeljenja"));
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->setMinimumWidth(260);

    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("Picture1"));
    m_name = new QLineEdit(m_panel);
    m_name->setObjectName(QStringLiteral("txtDesc"));
    m_name->setToolTip(QStringLiteral("Naziv odeljenja"));
    m_name->setMaxLength(kNameLength);
    m_price = new QLineEdit(m_panel);
    m_price->setObjectName(QStringLiteral("txtprezzo"));
    m_price->setMaxLength(kPriceLength);
    m_vat = new QLineEdit(m_panel);
    m_vat->setObjectName(QStringLiteral("txtiva"));
    m_vat->setMaxLength(1);
    m_single = new QCheckBox(m_panel);
    m_single->setObjectName(QStringLiteral("chksing"));
    auto *grid = new QGridLayout(m_panel);
    grid->addWidget(new QLabel(QStringLiteral("Naziv"), m_panel), 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Max Cena"), m_panel), 1, 0);
    grid->addWidget(m_price, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Poreska stopa"), m_panel), 2, 0);
    grid->addWidget(m_vat, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Auto Close"), m_panel), 3, 0);
    grid->addWidget(m_single, 3, 1);
    grid->setRowStretch(4, 1);
    for (QLineEdit *e : m_panel->findChildren<QLineEdit *>())
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 12);
    // the window keeps the panel's room while it is hidden, so showing it moves nothing
    QSizePolicy panelPolicy = m_panel->sizePolicy();
    panelPolicy.setRetainSizeWhenHidden(true);
    m_panel->setSizePolicy(panelPolicy);
    m_panel->hide();

    m_cyrillic = new QCheckBox(QStringLiteral("Cirilica"), this);
    m_cyrillic->setObjectName(QStringLiteral("Check1"));

    auto *body = new QHBoxLayout;
    body->addWidget(m_list, 1);
    body->addWidget(m_panel, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_toolbar);
    layout->addWidget(heading);
    layout->addLayout(body, 1);
    layout->addWidget(m_cyrillic);
    resize(680, 400);

    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) { loadRow(m_list->row(item), false); });
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { loadRow(m_list->row(item), true); });
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (QListWidgetItem *item = m_list->itemAt(pos)) {
            m_list->setCurrentItem(item);
            loadRow(m_list->row(item), true);
        }
    });
    connect(m_cyrillic, &QCheckBox::clicked, this, &frmreparti::Check1_Click);
    connect(m_name, &QLineEdit::returnPressed, this, &frmreparti::txtDesc_Enter);
    connect(m_vat, &QLineEdit::editingFinished, this, &frmreparti::txtiva_LostFocus);

    // Form_Load
    m_ctx.CurrentFormName = objectName();
    setFonts(QString::fromLatin1(m_ctx.data.CyrillicFormFlags.departments ? kCyrillicFont : kLatinFont));
    fillList();
}

void frmreparti::setFonts(const QString &family)
{
    for (QWidget *w : {static_cast<QWidget *>(m_name), static_cast<QWidget *>(m_price), static_cast<QWidget *>(m_vat),
                       static_cast<QWidget *>(m_list)}) {
        QFont f = w->font();
        f.setFamily(family);
        w->setFont(f);
    }
}

void frmreparti::fillList()
{
    m_list->clear();
    for (const std::string &row : m_editor.fillList())
        m_list->addItem(text(row));
}

void frmreparti::loadRow(int row, bool show)
{
    if (row < 0 || row >= m_list->count())
        return;
    const DepartmentPanel p = m_editor.panelOf(row + 1);
    m_name->setText(text(p.name));
    m_price->setText(text(p.maxPrice));
    m_vat->setText(text(p.vatGroup));
    m_single->setChecked(p.singleItem);
    if (show)
        m_panel->show();
}

DepartmentPanel frmreparti::panel() const
{
    DepartmentPanel p;
    p.name = bytes(m_name->text());
    p.maxPrice = bytes(m_price->text());
    p.vatGroup = bytes(m_vat->text());
    p.singleItem = m_single->isChecked();
    return p;
}

void frmreparti::showPanel(const DepartmentPanel &p)
{
    m_name->setText(text(p.name));
    m_price->setText(text(p.maxPrice));
    m_vat->setText(text(p.vatGroup));
    m_single->setChecked(p.singleItem);
    m_panel->show();
}

void frmreparti::hidePanel()
{
    m_name->clear();
    m_price->clear();
    m_vat->clear();
    m_single->setChecked(false);
    m_panel->hide();
}

void frmreparti::aggiorna()
{
    if (m_panel->isHidden())
        return;
    const DepartmentPanel typed = panel();
    if (NormaliseMaxPrice(typed.maxPrice))
        m_price->setText(text(*NormaliseMaxPrice(typed.maxPrice)));
    if (m_editor.aggiorna(m_list->currentRow() + 1, typed)) {
        const int row = m_list->currentRow();
        fillList();
        m_list->setCurrentRow(row);
        m_panel->hide();
    }
}

void frmreparti::Toolbar2_ButtonClick(QAction *button)
{
    if (!button)
        return;
    const QString key = button->data().toString();
    try {
        if (key == QLatin1String("nuovo")) {
            showPanel(DepartmentPanel{"", "", "0", false});
            m_name->setFocus();
        } else if (key == QLatin1String("aggiorna")) {
            aggiorna();
        } else if (key == QLatin1String("inserisci")) {
            const DepartmentPanel typed = panel();
            if (NormaliseMaxPrice(typed.maxPrice))
                m_price->setText(text(*NormaliseMaxPrice(typed.maxPrice)));
            if (const int number = m_editor.inserisci(m_list->count(), typed)) {
                m_list->addItem(text(m_editor.listRow(number)));
                m_panel->hide();
            }
        } else if (key == QLatin1String("elimina")) {
            const int row = m_list->currentRow();
            if (m_editor.elimina(row + 1)) {
                hidePanel();
                fillList();
                m_list->setCurrentRow(row);
            }
        } else if (key == QLatin1String("svuota")) {
            if (m_editor.svuota()) {
                hidePanel();
                m_list->clear();
            }
        } else if (key == QLatin1String("esci")) {
            m_ctx.CurrentFormName = QStringLiteral(" ");
            closeWindow();
        }
    } catch (const AppError &e) {
        ShowError(e, QStringLiteral("frmreparti.Toolbar2_ButtonClick()"), m_ctx.ui());
    } catch (const std::exception &e) {
        ShowError(AppError(kErrInternal, QString::fromLocal8Bit(e.what())),
                  QStringLiteral("frmreparti.Toolbar2_ButtonClick()"), m_ctx.ui());
    }
}

void frmreparti::txtDesc_Enter()
{
    if (m_ctx.ui().ask(QStringLiteral("Da li zelite da azurirate vrednost?"), QStringLiteral("Azuriranje vrednosti"),
                       Icon::Exclamation, Buttons::YesNo) == Answer::Yes)
        aggiorna();
}

void frmreparti::txtiva_LostFocus()
{
    m_editor.checkVatGroup(bytes(m_vat->text()));
}

void frmreparti::Check1_Click(bool checked)
{
    if (checked) {
        setFonts(QString::fromLatin1(kCyrillicFont));
        m_editor.toCyrillic();
    } else {
        setFonts(QString::fromLatin1(kLatinFont));
        m_editor.toLatinFont();
    }
    const int row = m_list->currentRow();
    fillList();
    m_list->setCurrentRow(row);
}

void frmreparti::applyCyrillicMode(bool on, const QString &fontFamily)
{
    m_name->setText(text(ConvertRegisterText(bytes(m_name->text()), !on)));
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setText(text(ConvertRegisterText(bytes(m_list->item(i)->text()), !on)));
    setFonts(fontFamily);
}

void frmreparti::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        hidePanel();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmreparti::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

} // namespace kalvo
