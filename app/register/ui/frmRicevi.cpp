#include "register/ui/frmRicevi.h"

#include "register/ReceiveRoutines.h"
#include "register/ui/KindList.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/AppGlobals.h"
#include "shell/ui/AppGlobalsUi.h"
#include "shell/ui/KeyedToolbar.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace kalvo {

namespace {

const char *const kSender = "frmRicevi.Toolbar1_ButtonClick()";
constexpr qint32 kErrInternal = 51;

// Result pictures of the kinds, in list order.
const char *const kPictures[ReceiveRoutines::KindCount] = {
    "ImgRep", "ImgPLU", "ImgPLUsold", "IMGOP", "ImgVal", "ImgSistem", "IMGIVA", "ImgUni", "ImgTip",
};

} // namespace

frmRicevi::frmRicevi(AppContext &context, QWidget *parent) : QWidget(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("frmRicevi"));
    setWindowTitle(QStringLiteral("Prijem"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_toolbar = MakeKeyedToolbar(this, QStringLiteral("Toolbar1"), {
        {"delete", "Brisanje PLU", "Brisanje artikala iz kase"},
        {"erase", "Brisanje prom.", "Brisanje prometa prodatih artikala"},
        {"invia", "Prijem", "Prijem podataka iz kase"},
        {"esci", "Izlaz", "Zatvaranje forme"},
    });
    connect(m_toolbar, &QToolBar::actionTriggered, this, &frmRicevi::Toolbar1_ButtonClick);

    QStringList items;
    QStringList pictures;
    for (int k = 0; k < ReceiveRoutines::KindCount; ++k) {
        items << QString::fromLatin1(ReceiveRoutines::kindInfo(ReceiveRoutines::Kind(k)).item);
        pictures << QString::fromLatin1(kPictures[k]);
    }
    m_kinds = new KindList(items, pictures, this);
    m_kinds->list()->setToolTip(QStringLiteral("Lista podataka koji se mogu primiti"));

    auto *progress = new QGroupBox(QStringLiteral("Prijem podataka"), this);
    m_label1 = new QLabel(progress);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label7 = new QLabel(progress);
    m_label7->setObjectName(QStringLiteral("Label7"));
    m_label7->setMinimumWidth(60);
    QFont bold = m_label7->font();
    bold.setBold(true);
    m_label1->setFont(bold);
    m_label7->setFont(bold);
    auto *progressGrid = new QGridLayout(progress);
    progressGrid->addWidget(new QLabel(QStringLiteral("Podatak:"), progress), 0, 0);
    progressGrid->addWidget(m_label1, 0, 1);
    progressGrid->addWidget(new QLabel(QStringLiteral("Broj zadnjeg primljenog podatka"), progress), 1, 0);
    progressGrid->addWidget(m_label7, 1, 1);
    progressGrid->setColumnStretch(1, 1);

    auto *register_ = new QGroupBox(QStringLiteral("Kasa"), this);
    m_command1 = new QPushButton(QStringLiteral("Brisanje Artikala"), register_);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setToolTip(QStringLiteral("Brisanje artikala iz kase"));
    m_command2 = new QPushButton(QStringLiteral("Brisanje Prodaje"), register_);
    m_command2->setObjectName(QStringLiteral("Command2"));
    m_command2->setToolTip(QStringLiteral("Brisanje prometa prodatih artikala"));
    auto *commands = new QHBoxLayout(register_);
    commands->addWidget(m_command1);
    commands->addWidget(m_command2);
    commands->addStretch(1);
    connect(m_command1, &QPushButton::clicked, this, [this] { runOperation(Operation::DeleteArticles); });
    connect(m_command2, &QPushButton::clicked, this, [this] { runOperation(Operation::EraseSales); });

    auto *right = new QVBoxLayout;
    right->addWidget(progress);
    right->addWidget(register_);
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

void frmRicevi::Form_Load()
{
    m_ctx.CurrentFormName = QStringLiteral("ne");
}

void frmRicevi::invia(const RoutineCallbacks &callbacks)
{
    m_kinds->resetPictures();
    ReceiveRoutines receive(m_ctx, callbacks);
    if (!receive.testLink())
        return; // the link library has told the operator already
    QListWidget *list = m_kinds->list();
    for (int row = 0; row < ReceiveRoutines::KindCount; ++row) {
        // read as the reception goes: a kind not reached yet can still be ticked or unticked
        if (!list->item(row)->isSelected())
            continue;
        const auto kind = ReceiveRoutines::Kind(row);
        m_label1->setText(QString::fromLatin1(ReceiveRoutines::kindInfo(kind).caption));
        m_kinds->showResult(row, receive.run(kind));
        QCoreApplication::processEvents();
    }
}

void frmRicevi::runOperation(Operation operation)
{
    if (m_running)
        return;
    m_running = true;
    const auto buttons = m_toolbar->actions();
    for (QAction *a : buttons)
        if (a->data().toString() != QLatin1String("esci"))
            a->setEnabled(false);
    m_command1->setEnabled(false);
    m_command2->setEnabled(false);

    RoutineCallbacks callbacks;
    callbacks.recordNumber = [this](int record) { m_label7->setText(QString::number(record)); };
    callbacks.processEvents = [] { QCoreApplication::processEvents(); };
    callbacks.kindCaption = [this](const QString &caption) { m_label1->setText(caption); };
    try {
        BusyCursor busy;
        switch (operation) {
        case Operation::Receive:
            invia(callbacks);
            break;
        case Operation::DeleteArticles:
            ReceiveRoutines(m_ctx, callbacks).Command1_Click();
            break;
        case Operation::EraseSales:
            ReceiveRoutines(m_ctx, callbacks).Command2_Click();
            break;
        }
    } catch (const AppError &e) {
        ShowError(e, QString::fromLatin1(kSender), m_ctx.ui());
    } catch (const std::exception &e) {
        ShowError(AppError(kErrInternal, QString::fromLocal8Bit(e.what())), QString::fromLatin1(kSender), m_ctx.ui());
    }

    for (QAction *a : buttons)
        a->setEnabled(true);
    m_command1->setEnabled(true);
    m_command2->setEnabled(true);
    m_running = false;
    if (m_closeWhenDone)
        closeWindow();
}

void frmRicevi::Toolbar1_ButtonClick(QAction *button)
{
    if (!button)
        return;
    const QString key = button->data().toString();
    if (key == QLatin1String("esci")) {
        if (m_running)
            m_closeWhenDone = true; // closes once the operation has ended
        else
            closeWindow();
    } else if (key == QLatin1String("invia")) {
        runOperation(Operation::Receive);
    } else if (key == QLatin1String("delete")) {
        runOperation(Operation::DeleteArticles);
    } else if (key == QLatin1String("erase")) {
        runOperation(Operation::EraseSales);
    }
}

void frmRicevi::closeWindow()
{
    m_closeWhenDone = false;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void frmRicevi::closeEvent(QCloseEvent *event)
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
