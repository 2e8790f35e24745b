#include "editors/ui/frmMesUnits.h"

#include "data/Codec.h"
#include "data/RegisterText.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/AppGlobals.h"
#include "shell/ScreenFonts.h"

#include <QAction>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QToolBar>
#include <QValidator>
#include <QVBoxLayout>

namespace kalvo {

namespace {

constexpr qint32 kErrInternal = 51;

// Refuses characters that the register's code page cannot hold.
class AnsiValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override { return isAnsiText(input) ? Acceptable : Invalid; }
};

QString fromBytes(const std::string &bytes)
{
    return ansiToUnicode(QByteArray::fromStdString(bytes));
}

std::string toBytes(const QString &text)
{
    return unicodeToAnsi(text).toStdString();
}

} // namespace

NameTableWindow::NameTableWindow(AppContext &context, NameTable table, const Texts &texts, QWidget *parent)
    : QWidget(parent), m_ctx(context), m_copy(context.data, table), m_name(QString::fromLatin1(texts.name))
{
    setObjectName(m_name);
    setWindowTitle(QString::fromLatin1(texts.caption));
    setAttribute(Qt::WA_DeleteOnClose);

    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar2"));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const struct {
        const char *key;
        const char *caption;
        const char *tip;
    } buttons[] = {{"aggiorna", "Azuriraj", texts.saveTip}, {"esci", "Izlaz", "Zatvaranje forme"}};
    for (const auto &b : buttons) {
        QAction *a = m_toolbar->addAction(QString::fromLatin1(b.caption));
        a->setObjectName(QString::fromLatin1(b.key));
        a->setData(QString::fromLatin1(b.key));
        a->setToolTip(QString::fromLatin1(b.tip));
    }
    connect(m_toolbar, &QToolBar::actionTriggered, this, &NameTableWindow::Toolbar2_ButtonClick);

    auto *heading = new QLabel(QString::fromLatin1(texts.heading), this);
    heading->setObjectName(QStringLiteral("Label1"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    heading->setFont(headingFont);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstplu"));
    m_list->setToolTip(QString::fromLatin1(texts.listTip));

    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("Picture1"));
    m_desc = new QLineEdit(m_panel);
    m_desc->setObjectName(QStringLiteral("txtDesc"));
    m_desc->setToolTip(QString::fromLatin1(texts.nameTip));
    m_desc->setValidator(new AnsiValidator(m_desc));
    m_short = new QLineEdit(m_panel);
    m_short->setObjectName(QStringLiteral("shortDesc"));
    m_short->setValidator(new AnsiValidator(m_short));
    auto *grid = new QGridLayout(m_panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Naziv"), m_panel), 0, 0);
    grid->addWidget(m_desc, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Skracenica"), m_panel), 1, 0);
    grid->addWidget(m_short, 1, 1);
    m_panel->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_toolbar);
    layout->addWidget(heading);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_panel);

    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) { showEntry(m_list->row(item)); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) { showEntry(m_list->row(item)); });
    // Enter on a row chooses it as a double-click does
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) { showEntry(m_list->row(item)); });

    // opening: the window's name, the fonts of its table's flag, the list
    m_ctx.CurrentFormName = m_name;
    // (DisplayCyrillic would choose first, but the table's flag always decides again)
    const bool cyrillic =
        table == NameTable::Units ? m_ctx.data.CyrillicFormFlags.units : m_ctx.data.CyrillicFormFlags.articleTypes;
    setFonts(QString::fromLatin1(cyrillic ? kCyrillicFont : kLatinFont));
    fillList();
    resize(420, 360);
}

void NameTableWindow::setFonts(const QString &family)
{
    for (QWidget *w : {static_cast<QWidget *>(m_list), static_cast<QWidget *>(m_desc), static_cast<QWidget *>(m_short)}) {
        QFont f = w->font();
        f.setFamily(family);
        f.setStyleHint(QFont::TypeWriter);
        w->setFont(f);
    }
}

void NameTableWindow::fillList()
{
    m_copy.reload();
    m_list->clear();
    for (const std::string &row : m_copy.rows())
        m_list->addItem(fromBytes(row));
}

void NameTableWindow::showEntry(int row)
{
    if (row < 0 || row >= m_copy.count())
        return;
    m_selected = row + 1;
    const NameEntry &e = m_copy.entry(m_selected);
    m_desc->setText(fromBytes(e.name));
    m_short->setText(fromBytes(e.shortName));
    m_panel->show();
}

void NameTableWindow::hidePanel()
{
    m_panel->hide();
    m_desc->clear();
    m_short->clear();
    m_selected = 0;
}

void NameTableWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        hidePanel();
        return;
    }
    QWidget::keyPressEvent(event);
}

void NameTableWindow::applyCyrillicMode(bool on, const QString &fontFamily)
{
    m_desc->setText(fromBytes(ConvertRegisterText(toBytes(m_desc->text()), !on)));
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setText(fromBytes(ConvertRegisterText(toBytes(m_list->item(i)->text()), !on)));
    setFonts(fontFamily);
}

void NameTableWindow::Toolbar2_ButtonClick(QAction *button)
{
    try {
        const QString key = button->data().toString();
        if (key == QLatin1String("aggiorna")) {
            if (m_panel->isHidden() || m_selected == 0)
                return;
            m_copy.update(m_selected, toBytes(m_desc->text()), toBytes(m_short->text()));
            fillList();
            hidePanel();
        } else if (key == QLatin1String("esci")) {
            m_ctx.CurrentFormName = QStringLiteral(" ");
            if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
                sub->close();
            else
                close();
        }
    } catch (const AppError &e) {
        ShowError(e, m_name + QStringLiteral(".Toolbar2_ButtonClick()"), m_ctx.ui());
    } catch (const std::exception &e) {
        ShowError(AppError(kErrInternal, QString::fromLocal8Bit(e.what())), m_name + QStringLiteral(".Toolbar2_ButtonClick()"),
                  m_ctx.ui());
    }
}

frmMesUnits::frmMesUnits(AppContext &context, QWidget *parent)
    : NameTableWindow(context, NameTable::Units,
                      Texts{"frmunits", "Jedinice mere", "Jedinice Mere", "Spisak jedinica mera", "Naziv jedinice mere",
                            "Memorisanje naziva"},
                      parent)
{
}

} // namespace kalvo
