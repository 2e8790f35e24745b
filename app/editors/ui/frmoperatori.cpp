#include "editors/ui/frmoperatori.h"

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
// a cashier's name travels as 12 characters; 100000 must be typeable to be refused
constexpr int kNameLength = 12;
constexpr int kCodeLength = 6;

const QString kSender = QStringLiteral("frmoperatori.Toolbar2_ButtonClick()");

QString text(const std::string &bytes) { return ansiToUnicode(QByteArray::fromStdString(bytes)); }
std::string bytes(const QString &text) { return unicodeToAnsi(text).toStdString(); }

} // namespace

frmoperatori::frmoperatori(AppContext &context, QWidget *parent)
    : QWidget(parent), m_ctx(context), m_editor(context.data, context.ui())
{
    setObjectName(QStringLiteral("frmoperatori"));
    setWindowTitle(QStringLiteral("Kasiri"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_toolbar = MakeKeyedToolbar(this, QStringLiteral("Toolbar2"), {
        {"aggiorna", "Azuriraj", "Memorisanje unetih podataka"},
        {"elimina", "Obrisi", ""},
        {"Esci", "Izlaz", "Zatvaranje forme"},
    });
    connect(m_toolbar, &QToolBar::actionTriggered, this, &frmoperatori::Toolbar2_ButtonClick);

    auto *heading = new QLabel(QStringLiteral("Spisak Kasira"), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    heading->setFont(headingFont);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstplu"));
    m_list->setToolTip(QStringLiteral("Spisak kasira"));
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->setMinimumWidth(300);

    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("Picture1"));
    m_code = new QLineEdit(m_panel);
    m_code->setObjectName(QStringLiteral("txtcodice"));
    m_code->setToolTip(QStringLiteral("Pristupna sifra kasira"));
    m_code->setMaxLength(kCodeLength);
    m_name = new QLineEdit(m_panel);
    m_name->setObjectName(QStringLiteral("txtDesc"));
    m_name->setToolTip(QStringLiteral("Ime kasira"));
    m_name->setMaxLength(kNameLength);
    auto *grid = new QGridLayout(m_panel);
    grid->addWidget(new QLabel(QStringLiteral("Sifra"), m_panel), 0, 0);
    grid->addWidget(m_code, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Kasir"), m_panel), 1, 0);
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

    auto *body = new QHBoxLayout;
    body->addWidget(m_list, 1);
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
    connect(m_cyrillic, &QCheckBox::clicked, this, &frmoperatori::Check1_Click);
    connect(m_name, &QLineEdit::returnPressed, this, &frmoperatori::txtDesc_Enter);

    // Form_Load
    m_ctx.CurrentFormName = objectName();
    setFonts(QString::fromLatin1(m_ctx.data.CyrillicFormFlags.operators ? kCyrillicFont : kLatinFont));
    fillList();
}

void frmoperatori::setFonts(const QString &family)
{
    for (QWidget *w : {static_cast<QWidget *>(m_name), static_cast<QWidget *>(m_code), static_cast<QWidget *>(m_list)}) {
        QFont f = w->font();
        f.setFamily(family);
        w->setFont(f);
    }
}

void frmoperatori::fillList()
{
    const int row = m_list->currentRow();
    m_list->clear();
    for (const std::string &r : m_editor.fillList())
        m_list->addItem(text(r));
    if (row >= 0 && row < m_list->count())
        m_list->setCurrentRow(row);
}

void frmoperatori::selectRow(int row)
{
    const int number = m_editor.numberOfRow(row);
    if (!number)
        return;
    const OperatorPanel p = m_editor.panelOf(number);
    m_code->setText(text(p.code));
    m_name->setText(text(p.name));
    m_panel->show();
}

OperatorPanel frmoperatori::panel() const
{
    return {bytes(m_code->text()), bytes(m_name->text())};
}

void frmoperatori::clearPanel()
{
    m_code->clear();
    m_name->clear();
}

void frmoperatori::aggiorna()
{
    if (m_panel->isHidden())
        return;
    if (m_editor.aggiorna(m_editor.numberOfRow(m_list->currentRow()), panel())) {
        fillList();
        m_panel->hide();
    }
}

void frmoperatori::Toolbar2_ButtonClick(QAction *button)
{
    if (!button)
        return;
    const QString key = button->data().toString();
    try {
        if (key == QLatin1String("aggiorna")) {
            aggiorna();
        } else if (key == QLatin1String("elimina")) {
            if (m_editor.elimina(m_editor.numberOfRow(m_list->currentRow()), panel())) {
                clearPanel();
                m_panel->hide();
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

void frmoperatori::txtDesc_Enter()
{
    if (m_ctx.ui().ask(QStringLiteral("Da li zelite da azurirate vrednost?"), QStringLiteral("Azuriranje vrednosti"),
                       Icon::Exclamation, Buttons::YesNo) == Answer::Yes)
        aggiorna();
}

void frmoperatori::Check1_Click(bool checked)
{
    if (checked) {
        setFonts(QString::fromLatin1(kCyrillicFont));
        m_editor.toCyrillic();
    } else {
        setFonts(QString::fromLatin1(kLatinFont));
        m_editor.toLatinFont();
    }
    fillList();
}

void frmoperatori::applyCyrillicMode(bool on, const QString &fontFamily)
{
    m_name->setText(text(ConvertRegisterText(bytes(m_name->text()), !on)));
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setText(text(ConvertRegisterText(bytes(m_list->item(i)->text()), !on)));
    setFonts(fontFamily);
}

void frmoperatori::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        clearPanel();
        m_panel->hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmoperatori::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

} // namespace kalvo
