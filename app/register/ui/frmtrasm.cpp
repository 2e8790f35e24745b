#include "register/ui/frmtrasm.h"

#include "data/Codec.h"
#include "register/SendRoutines.h"
#include "register/ui/KindList.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/AppGlobals.h"
#include "shell/ui/AppGlobalsUi.h"
#include "shell/ui/KeyedToolbar.h"
#include "shell/ScreenFonts.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
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

const char *const kSender = "frmtrasm.Toolbar1_ButtonClick()";
constexpr qint32 kErrInternal = 51;

// Result pictures of the kinds, in list order.
const char *const kPictures[SendRoutines::KindCount] = {
    "ImgRep", "ImgPLU", "ImgInv", "IMGOP", "ImgVal", "ImgSistem", "ImgInt", "Imgadve", "ImgUni", "ImgTip", "ImgMsg",
};

} // namespace

frmtrasm::frmtrasm(AppContext &context, QWidget *parent) : QWidget(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("frmtrasm"));
    setWindowTitle(QStringLiteral("Slanje"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_toolbar = MakeKeyedToolbar(this, QStringLiteral("Toolbar1"), {
        {"invia", "Posalji", "Programiranje podataka u fiskalni uredjaj"},
        {"esci", "Izlaz", "Zatvaranje forme"},
    });
    connect(m_toolbar, &QToolBar::actionTriggered, this, &frmtrasm::Toolbar1_ButtonClick);

    QStringList items;
    QStringList pictures;
    for (int k = 0; k < SendRoutines::KindCount; ++k) {
        items << QString::fromLatin1(SendRoutines::kindInfo(SendRoutines::Kind(k)).item);
        pictures << QString::fromLatin1(kPictures[k]);
    }
    m_kinds = new KindList(items, pictures, this);
    m_kinds->list()->setToolTip(QStringLiteral("Lista podataka koji se mogu poslati"));
    m_kinds->list()->installEventFilter(this);
    connect(m_kinds->list(), &QListWidget::itemSelectionChanged, this, [this] {
        // the message panel comes back when the message is ticked
        if (m_kinds->list()->item(SendRoutines::Message)->isSelected())
            m_panel->show();
    });

    auto *progress = new QGroupBox(QStringLiteral("Slanje podataka"), this);
    m_label1 = new QLabel(progress);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label6 = new QLabel(progress);
    m_label6->setObjectName(QStringLiteral("Label6"));
    m_label6->setMinimumWidth(60);
    QFont bold = m_label6->font();
    bold.setBold(true);
    m_label1->setFont(bold);
    m_label6->setFont(bold);
    auto *progressGrid = new QGridLayout(progress);
    progressGrid->addWidget(new QLabel(QStringLiteral("Podatak:"), progress), 0, 0);
    progressGrid->addWidget(m_label1, 0, 1);
    progressGrid->addWidget(new QLabel(QStringLiteral("Zadnji isprogramirani podatak"), progress), 1, 0);
    progressGrid->addWidget(m_label6, 1, 1);
    progressGrid->setColumnStretch(1, 1);

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("Picture1"));
    m_panel->setFrameShape(QFrame::StyledPanel);
    auto *panelGrid = new QGridLayout(m_panel);
    panelGrid->addWidget(new QLabel(QStringLiteral("Poruka:"), m_panel), 0, 0, 1, 2);
    static const char *const rowTips[3] = {"Prvi red poruke", "Drugi red poruke", "Treci red poruke"};
    for (int i = 0; i < 3; ++i) {
        m_rows[i] = new QLineEdit(m_panel);
        m_rows[i]->setObjectName(QStringLiteral("Red%1").arg(i + 1));
        m_rows[i]->setToolTip(QString::fromLatin1(rowTips[i]));
        // room for a full line of the widest register font
        m_rows[i]->setMinimumWidth(m_rows[i]->fontMetrics().horizontalAdvance(QString(32, QLatin1Char('W'))) / 2 + 40);
        panelGrid->addWidget(new QLabel(QStringLiteral("Red %1:").arg(i + 1), m_panel), i + 1, 0);
        panelGrid->addWidget(m_rows[i], i + 1, 1);
    }

    auto *right = new QVBoxLayout;
    right->addWidget(progress);
    right->addWidget(m_panel);
    right->addStretch(1);

    auto *body = new QHBoxLayout;
    body->addWidget(m_kinds, 0, Qt::AlignTop);
    body->addLayout(right, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_toolbar);
    layout->addLayout(body);
    layout->addStretch(1);

    Form_Load();
}

void frmtrasm::Form_Load()
{
    m_ctx.CurrentFormName = QStringLiteral("frmtrasm");
    setRowsFont(m_ctx.data.CyrillicMode ? QString::fromLatin1(kCyrillicFont) : QStringLiteral("MS Sans Serif"));
    applyLineWidth();
    normaliseMessageRows();
}

void frmtrasm::setRowsFont(const QString &family)
{
    if (family.isEmpty())
        return;
    for (QLineEdit *row : m_rows) {
        QFont font = row->font();
        font.setFamily(family);
        row->setFont(font);
    }
}

void frmtrasm::applyLineWidth()
{
    const int length = m_ctx.data.LinkSettings.lineWidth == 22 ? 22 : 32;
    for (QLineEdit *row : m_rows)
        row->setMaxLength(length);
}

void frmtrasm::applyCyrillicMode(bool /*on*/, const QString &fontFamily)
{
    // the rows follow CyrillicMode, which the main window has set already
    setRowsFont(fontFamily);
    normaliseMessageRows();
}

void frmtrasm::rowsToRoutines(SendRoutines &send) const
{
    for (int i = 0; i < 3; ++i)
        send.messageRows[std::size_t(i)] = unicodeToAnsi(m_rows[i]->text()).toStdString();
}

void frmtrasm::rowsFromRoutines(const SendRoutines &send)
{
    for (int i = 0; i < 3; ++i) {
        const QString text = ansiToUnicode(QByteArray::fromStdString(send.messageRows[std::size_t(i)]));
        if (text != m_rows[i]->text())
            m_rows[i]->setText(text);
    }
}

void frmtrasm::normaliseMessageRows()
{
    SendRoutines send(m_ctx);
    rowsToRoutines(send);
    send.normaliseMessageRows();
    rowsFromRoutines(send);
    setRowsFont(m_ctx.data.CyrillicMode ? m_ctx.settings.fontcyrilic : m_ctx.settings.fontlatin);
}

void frmtrasm::reset_img()
{
    m_kinds->resetPictures();
}

void frmtrasm::invia()
{
    BusyCursor busy;
    reset_img();
    RoutineCallbacks callbacks;
    callbacks.recordNumber = [this](int record) { m_label6->setText(QString::number(record)); };
    callbacks.processEvents = [] { QCoreApplication::processEvents(); };
    SendRoutines send(m_ctx, callbacks);
    if (!send.testLink())
        return;
    QListWidget *list = m_kinds->list();
    for (int row = 0; row < SendRoutines::KindCount; ++row) {
        // read as the send goes: a kind not reached yet can still be ticked or unticked
        if (!list->item(row)->isSelected())
            continue;
        const auto kind = SendRoutines::Kind(row);
        m_label1->setText(QString::fromLatin1(SendRoutines::kindInfo(kind).caption));
        // the message rows as they stand now; several routines normalise them
        rowsToRoutines(send);
        const bool ok = send.run(kind);
        rowsFromRoutines(send);
        m_kinds->showResult(row, ok);
        QCoreApplication::processEvents();
    }
}

void frmtrasm::Toolbar1_ButtonClick(QAction *button)
{
    if (!button)
        return;
    const QString key = button->data().toString();
    if (key == QLatin1String("esci")) {
        m_ctx.CurrentFormName = QStringLiteral(" ");
        if (m_running)
            m_closeWhenDone = true; // closes once the send has ended
        else
            closeWindow();
        return;
    }
    if (key != QLatin1String("invia") || m_running)
        return;

    m_running = true;
    QAction *sendButton = m_toolbar->findChild<QAction *>(QStringLiteral("invia"));
    if (sendButton)
        sendButton->setEnabled(false);
    try {
        invia();
    } catch (const AppError &e) {
        ShowError(e, QString::fromLatin1(kSender), m_ctx.ui());
    } catch (const std::exception &e) {
        ShowError(AppError(kErrInternal, QString::fromLocal8Bit(e.what())), QString::fromLatin1(kSender), m_ctx.ui());
    }
    normaliseMessageRows();
    if (sendButton)
        sendButton->setEnabled(true);
    m_running = false;
    if (m_closeWhenDone)
        closeWindow();
}

bool frmtrasm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_kinds->list() && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        m_panel->hide();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmtrasm::closeWindow()
{
    m_closeWhenDone = false;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void frmtrasm::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        // the routine on the stack still uses this window: close when it ends
        m_closeWhenDone = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace kalvo
