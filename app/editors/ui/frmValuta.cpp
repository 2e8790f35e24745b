#include "editors/ui/frmValuta.h"

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
// a currency name travels as 12 characters; a rate is kept with six decimals
constexpr int kNameLength = 12;
constexpr int kRateLength = 16;

const QString kSender = QStringLiteral("frmValuta.Toolbar2_ButtonClick()");

QString text(const std::string &bytes) { return ansiToUnicode(QByteArray::fromStdString(bytes)); }
std::string bytes(const QString &text) { return unicodeToAnsi(text).toStdString(); }

} // namespace

frmValuta::frmValuta(AppContext &context, QWidget *parent)
    : QWidget(parent), m_ctx(context), m_editor(context.data, context.ui())
{
    setObjectName(QStringLiteral("frmValuta"));
    setWindowTitle(QStringLiteral("Valute"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_toolbar = MakeKeyedToolbar(this, QStringLiteral("Toolbar2"), {
        {"nuovo", "New", "Nuovo Record"},
        {"inserisci", "Insert", "Inserisce il Record"},
        {"aggiorna", "Azuriraj", "Memorisanje unetih podataka"},
        {"elimina", "Obrisi", "Brisanje odabrane valute"},
        {"svuota", "Empty", "Svuota il PLU"},
        {"Esci", "Izlaz", "Zatvaranje forme "},
    });
    connect(m_toolbar, &QToolBar::actionTriggered, this, &frmValuta::Toolbar2_ButtonClick);

    auto *heading = new QLabel(QStringLiteral("Kurs Promene Valuta"), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    heading->setFont(headingFont);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstplu"));
    m_list->setToolTip(QStringLiteral("Spisak valuta"));
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->setMinimumWidth(260);
    auto *columns = new QHBoxLayout;
    columns->addWidget(new QLabel(QStringLiteral("Konverzija"), this));
    columns->addWidget(new QLabel(QStringLiteral("Naziv"), this));
    columns->addStretch(1);

    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("Picture1"));
    m_rate = new QLineEdit(m_panel);
    m_rate->setObjectName(QStringLiteral("txtval"));
    m_rate->setToolTip(QStringLiteral("Kurs promene valute"));
    m_rate->setMaxLength(kRateLength);
    m_name = new QLineEdit(m_panel);
    m_name->setObjectName(QStringLiteral("txtDesc"));
    m_name->setToolTip(QStringLiteral("Naziv valute"));
    m_name->setMaxLength(kNameLength);
    auto *grid = new QGridLayout(m_panel);
    grid->addWidget(new QLabel(QStringLiteral("Kurs"), m_panel), 0, 0);
    grid->addWidget(m_rate, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Naziv"), m_panel), 1, 0);
    grid->addWidget(m_name, 1, 1);
    grid->setRowStretch(2, 1);
    for (QLineEdit *e : m_panel->findChildren<QLineEdit *>())
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 12);
    // the window keeps the panel's room while it is hidden, so showing it moves nothing
    QSizePolicy panelPolicy = m_panel->sizePolicy();
    panelPolicy.setRetainSizeWhenHidden(true);
    m_panel->setSizePolicy(panelPolicy);
    m_panel->hide();

    m_cyrillic = new QCheckBox(QStringLiteral("Cirilica"), this);
    m_cyrillic->setObjectName(QStringLiteral("Check1"));

    auto *left = new QVBoxLayout;
    left->addLayout(columns);
    left->addWidget(m_list, 1);
    auto *body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addWidget(m_panel, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_toolbar);
    layout->addWidget(heading);
    layout->addLayout(body, 1);
    layout->addWidget(m_cyrillic);
    resize(680, 400);

    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) { selectRow(m_list->row(item)); });
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { selectRow(m_list->row(item)); });
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (QListWidgetItem *item = m_list->itemAt(pos)) {
            m_list->setCurrentItem(item);
            selectRow(m_list->row(item));
        }
    });
    connect(m_rate, &QLineEdit::textEdited, this, [this](const QString &typed) {
        const QString kept = FilterRateInput(typed);
        if (kept != typed) {
            const int cursor = m_rate->cursorPosition() - int(typed.size() - kept.size());
            m_rate->setText(kept);
            m_rate->setCursorPosition(std::max(0, cursor));
        }
    });
    connect(m_cyrillic, &QCheckBox::clicked, this, [this](bool checked) {
        setFonts(QString::fromLatin1(checked ? kCyrillicFont : kLatinFont));
        m_editor.setCyrillicFont(checked);
    });

    // Form_Load
    m_ctx.CurrentFormName = objectName();
    setFonts(QString::fromLatin1(m_ctx.data.CyrillicFormFlags.currencies ? kCyrillicFont : kLatinFont));
    fillList();
}

void frmValuta::setFonts(const QString &family)
{
    for (QWidget *w : {static_cast<QWidget *>(m_name), static_cast<QWidget *>(m_rate), static_cast<QWidget *>(m_list)}) {
        QFont f = w->font();
        f.setFamily(family);
        w->setFont(f);
    }
}

void frmValuta::fillList()
{
    m_list->clear();
    for (const std::string &r : m_editor.fillList())
        m_list->addItem(text(r));
}

void frmValuta::selectRow(int row)
{
    const int number = m_editor.numberOfRow(row);
    if (!number)
        return;
    const CurrencyPanel p = m_editor.panelOf(number);
    m_rate->setText(text(p.rate));
    m_name->setText(text(p.name));
    m_panel->show();
}

CurrencyPanel frmValuta::panel() const
{
    return {bytes(m_rate->text()), bytes(m_name->text())};
}

void frmValuta::clearPanel()
{
    m_rate->clear();
    m_name->clear();
}

void frmValuta::Toolbar2_ButtonClick(QAction *button)
{
    if (!button)
        return;
    const QString key = button->data().toString();
    try {
        if (key == QLatin1String("nuovo")) {
            m_list->setCurrentRow(-1);
            clearPanel();
            m_panel->show();
            m_name->setFocus();
        } else if (key == QLatin1String("inserisci")) {
            if (m_editor.inserisci(panel())) {
                fillList();
                m_panel->hide();
            }
        } else if (key == QLatin1String("aggiorna")) {
            const int row = m_list->currentRow();
            if (m_editor.aggiorna(m_editor.numberOfRow(row), panel())) {
                fillList();
                m_list->setCurrentRow(row);
                m_panel->hide();
            }
        } else if (key == QLatin1String("elimina")) {
            if (m_editor.elimina(m_editor.numberOfRow(m_list->currentRow()))) {
                clearPanel();
                m_panel->hide();
                fillList();
            }
        } else if (key == QLatin1String("svuota")) {
            if (m_editor.svuota()) {
                clearPanel();
                fillList();
            }
        } else if (key == QLatin1String("Esci")) {
            m_ctx.CurrentFormName = QStringLiteral(" ");
            closeWindow();
        }
    } catch (const AppError &e) {
        ShowError(e, kSender, m_ctx.ui());
    } catch (const std::exception &e) {
        ShowError(AppError(kErrInternal, QString::fromLocal8Bit(e.what())), kSender, m_ctx.ui());
    }
}

void frmValuta::applyCyrillicMode(bool on, const QString &fontFamily)
{
    m_name->setText(text(ConvertRegisterText(bytes(m_name->text()), !on)));
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setText(text(ConvertRegisterText(bytes(m_list->item(i)->text()), !on)));
    setFonts(fontFamily);
}

void frmValuta::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        clearPanel();
        m_panel->hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmValuta::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

} // namespace kalvo
