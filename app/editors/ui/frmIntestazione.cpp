#include "editors/ui/frmIntestazione.h"

#include "data/Codec.h"
#include "data/RegisterText.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/AppGlobals.h"
#include "shell/ui/KeyedToolbar.h"
#include "shell/ScreenFonts.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QToolBar>
#include <QValidator>
#include <QVBoxLayout>

namespace kalvo {

namespace {

constexpr qint32 kErrInternal = 51;
// title of the line windows' messages, as the register operators know it
const char kLinesTitle[] = "Orvel Cash Regiters";

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

LineEditorWindow::LineEditorWindow(AppContext &context, LineTable table, const Texts &texts, QWidget *parent)
    : QWidget(parent), m_ctx(context), m_table(table), m_name(QString::fromLatin1(texts.name))
{
    setObjectName(m_name);
    setWindowTitle(QString::fromLatin1(texts.caption));
    setAttribute(Qt::WA_DeleteOnClose);

    std::vector<ToolbarButton> buttons = {
        {"Bold", "Podebljano", "Bold"},
        {"Center", "Centrirano", "Center"},
        {"Align Left", "Uz levu ivicu", "Align Left"},
    };
    if (texts.alignRight)
        buttons.push_back({"Align Right", "Uz desnu ivicu", "Align Right"});
    buttons.push_back({"Aggiorna", "Sacuvaj", texts.saveTip});
    buttons.push_back({"Annulla", "Izlaz", "Zatvaranje forme"});
    m_toolbar = MakeKeyedToolbar(this, QStringLiteral("Toolbar1"), buttons);
    connect(m_toolbar, &QToolBar::actionTriggered, this, &LineEditorWindow::Toolbar1_ButtonClick);

    auto *heading = new QLabel(QString::fromLatin1(texts.heading), this);
    heading->setObjectName(QStringLiteral("Label1"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    heading->setFont(headingFont);

    auto *grid = new QGridLayout;
    for (int i = 0; i < kBoxes; ++i) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("rtftext"));
        edit->setProperty("index", i);
        edit->setToolTip(QString::fromLatin1(texts.tips[std::size_t(i)]));
        edit->setValidator(new AnsiValidator(edit));
        edit->installEventFilter(this);
        // a box never shrinks below its text (a narrower line width is reported on saving,
        // not by cutting what was typed); it allows no more than the width once it fits
        connect(edit, &QLineEdit::textEdited, this, [this, edit] {
            edit->setMaxLength(std::max<int>(LineBoxLength(m_ctx.data.LinkSettings.lineWidth), int(edit->text().size())));
        });
        m_boxes[std::size_t(i)] = edit;
        grid->addWidget(new QLabel(QStringLiteral("%1 - Red").arg(i + 1), this), i, 0);
        grid->addWidget(edit, i, 1);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_toolbar);
    layout->addWidget(heading);
    layout->addLayout(grid);
    layout->addStretch(1);

    // opening: the window's name, then limits, fonts and lines
    m_ctx.CurrentFormName = m_name;
    const bool cyrillic = m_table == LineTable::Header ? m_ctx.data.CyrillicFormFlags.headerLines
                                                       : m_ctx.data.LinkSettings.DisplayCyrillic;
    setBoxFont(QString::fromLatin1(cyrillic ? kCyrillicFont : kLatinFont));
    for (int i = 0; i < kBoxes; ++i)
        m_normalSize[std::size_t(i)] = m_boxes[std::size_t(i)]->font().pointSizeF();
    applyLineWidth();
    loadLines();
    setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 40);
}

void LineEditorWindow::setBoxFont(const QString &family)
{
    for (QLineEdit *edit : m_boxes) {
        QFont f = edit->font();
        f.setFamily(family);
        f.setStyleHint(QFont::TypeWriter);
        edit->setFont(f);
    }
}

void LineEditorWindow::setBold(int index, bool bold)
{
    QLineEdit *edit = box(index);
    QFont f = edit->font();
    f.setBold(bold);
    // a bold line keeps the normal size; a normal line gets back the size it loaded with
    if (!bold && m_normalSize[std::size_t(index)] > 0)
        f.setPointSizeF(m_normalSize[std::size_t(index)]);
    edit->setFont(f);
}

void LineEditorWindow::loadLines()
{
    const EditedLines lines = LoadLinesForEditing(m_ctx.data, m_table);
    // every box shows the data just loaded: a line that is empty now does not keep the
    // text of the one it replaced
    for (int i = 0; i < kBoxes; ++i) {
        const LineLayout &line = lines[std::size_t(i)];
        QLineEdit *edit = box(i);
        const QString text = fromBytes(line.text);
        edit->setMaxLength(std::max<int>(LineBoxLength(m_ctx.data.LinkSettings.lineWidth), int(text.size())));
        edit->setText(text.trimmed().isEmpty() ? QString() : text);
        m_centered[std::size_t(i)] = line.centered;
        edit->setAlignment(line.centered ? Qt::AlignHCenter : Qt::AlignLeft);
        setBold(i, line.bold);
    }
}

void LineEditorWindow::applyLineWidth()
{
    const int limit = LineBoxLength(m_ctx.data.LinkSettings.lineWidth);
    for (QLineEdit *edit : m_boxes)
        edit->setMaxLength(std::max<int>(limit, int(edit->text().size())));
}

void LineEditorWindow::applyCyrillicMode(bool on, const QString &fontFamily)
{
    for (QLineEdit *edit : m_boxes)
        edit->setText(fromBytes(ConvertRegisterText(toBytes(edit->text()), !on)));
    applyLineWidth();
    setBoxFont(fontFamily);
}

bool LineEditorWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn)
        for (int i = 0; i < kBoxes; ++i)
            if (watched == m_boxes[std::size_t(i)])
                m_current = i;
    return QWidget::eventFilter(watched, event);
}

bool LineEditorWindow::save()
{
    EditedLines lines{};
    for (int i = 0; i < kBoxes; ++i) {
        lines[std::size_t(i)].text = toBytes(box(i)->text());
        lines[std::size_t(i)].bold = box(i)->font().bold();
        lines[std::size_t(i)].centered = m_centered[std::size_t(i)];
    }
    const QString failure = SaveEditedLines(m_ctx.data, m_table, lines);
    if (failure.isEmpty())
        return true;
    m_ctx.ui().tell(failure, QString::fromLatin1(kLinesTitle), Icon::Information);
    return false;
}

void LineEditorWindow::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void LineEditorWindow::Toolbar1_ButtonClick(QAction *button)
{
    try {
        const QString key = button->data().toString();
        const int index = m_current;
        QLineEdit *edit = box(index);
        if (key == QLatin1String("Bold")) {
            setBold(index, !edit->font().bold());
        } else if (key == QLatin1String("Center")) {
            edit->setAlignment(Qt::AlignHCenter);
            m_centered[std::size_t(index)] = true;
        } else if (key == QLatin1String("Align Left")) {
            edit->setAlignment(Qt::AlignLeft);
            m_centered[std::size_t(index)] = false;
        } else if (key == QLatin1String("Annulla")) {
            m_ctx.CurrentFormName = QStringLiteral(" ");
            closeWindow();
            return;
        } else if (key == QLatin1String("Aggiorna")) {
            if (save()) {
                m_ctx.CurrentFormName = QStringLiteral(" ");
                closeWindow();
                return;
            }
        }
        edit->setFocus();
    } catch (const AppError &e) {
        ShowError(e, m_name + QStringLiteral(".Toolbar1_ButtonClick()"), m_ctx.ui());
    } catch (const std::exception &e) {
        ShowError(AppError(kErrInternal, QString::fromLocal8Bit(e.what())), m_name + QStringLiteral(".Toolbar1_ButtonClick()"),
                  m_ctx.ui());
    }
}

frmIntestazione::frmIntestazione(AppContext &context, QWidget *parent)
    : LineEditorWindow(context, LineTable::Header,
                       Texts{"frmIntestazione",
                             "Zaglavlje",
                             "Zaglavlje Isecka",
                             "Memorisanje podataka",
                             {"Prvi red zaglavlja", "Drugi red zaglavlja", "Treci red zaglavlja", "Cetvrti red zaglavlja",
                              "Peti red zaglavlja", "Sesti red zaglavlja"},
                             false},
                       parent)
{
}

} // namespace kalvo
