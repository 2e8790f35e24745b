#include "register/ui/frmcomline.h"

#include "data/Codec.h"
#include "register/LineRoutines.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/AppGlobals.h"
#include "shell/ui/AppGlobalsUi.h"
#include "shell/ui/KeyedToolbar.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace kalvo {

namespace {

constexpr int kPorts = 8;
// Long enough for any number or password, short enough for the link's 256-byte writes.
constexpr int kMaxTextLength = 100;
constexpr qint32 kErrInternal = 51;

const char *const kSender = "frmComLine.Toolbar1_ButtonClick()";

QLabel *makeLabel(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    return l;
}

} // namespace

frmcomline::frmcomline(AppContext &context, QWidget *parent) : QWidget(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("frmcomline"));
    setWindowTitle(QStringLiteral("Komunikacija"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_toolbar = MakeKeyedToolbar(this, QStringLiteral("Toolbar1"), {
        {"Connect", "Connect", "Povezivanje putem modema"},
        {"Disconnect", "Disconnect", "Prekid ostvarene modemske veze"},
        {"Salva", "Sacuvaj", "Inicijalizacija porta za RS232 komunikaciju"},
        {"Annulla", "Izlaz", "Zatvaranje forme"},
    });
    connect(m_toolbar, &QToolBar::actionTriggered, this, &frmcomline::Toolbar1_ButtonClick);

    auto *lineBox = new QGroupBox(QStringLiteral("Komunikaciona linija"), this);
    m_ports = new QComboBox(lineBox);
    m_ports->setObjectName(QStringLiteral("Combo1"));
    m_ports->setToolTip(QStringLiteral("Izbor porta za komunikaciju"));
    m_speeds = new QComboBox(lineBox);
    m_speeds->setObjectName(QStringLiteral("Combo2"));
    m_speeds->setToolTip(QStringLiteral("Izbor brzine prenosa"));
    for (qint32 speed : kLineSpeeds)
        m_speeds->addItem(QString::number(speed) + QStringLiteral(" bps"));
    m_speeds->setCurrentIndex(-1);

    m_tone = new QCheckBox(QStringLiteral("Pulsno ili tonsko bitanje "), lineBox);
    m_tone->setObjectName(QStringLiteral("Tone"));
    m_phone = new QLineEdit(lineBox);
    m_phone->setObjectName(QStringLiteral("PhoneNumber"));
    m_phone->setToolTip(QStringLiteral("Telefonski broj sa kojim se ostvaruje veza"));
    m_phone->setMaxLength(kMaxTextLength);
    m_password = new QLineEdit(lineBox);
    m_password->setObjectName(QStringLiteral("Password"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMaxLength(kMaxTextLength);

    m_stop = new QPushButton(QStringLiteral("Stop"), lineBox);
    m_stop->setObjectName(QStringLiteral("Stop"));
    m_stop->setToolTip(QStringLiteral("Prekid biranja ili raskidanja veze"));
    m_stop->setEnabled(false);
    connect(m_stop, &QPushButton::clicked, this, [this] { m_stopRequested = true; });

    m_devices = new QLabel(lineBox);
    m_devices->setObjectName(QStringLiteral("lblDevices"));
    m_devices->setWordWrap(true);
    m_devices->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *grid = new QGridLayout(lineBox);
    grid->addWidget(makeLabel(QStringLiteral("Serijska kom. linija:"), lineBox), 0, 0);
    grid->addWidget(m_ports, 0, 1);
    grid->addWidget(m_speeds, 0, 2);
    grid->addWidget(makeLabel(QStringLiteral("Tone/Pulse"), lineBox), 1, 0);
    grid->addWidget(m_tone, 1, 1, 1, 2);
    grid->addWidget(makeLabel(QStringLiteral("Telefonski broj:"), lineBox), 2, 0);
    grid->addWidget(m_phone, 2, 1, 1, 2);
    grid->addWidget(makeLabel(QStringLiteral("Lozinka:"), lineBox), 3, 0);
    grid->addWidget(m_password, 3, 1, 1, 2);
    grid->addWidget(m_stop, 4, 2);
    grid->addWidget(m_devices, 5, 0, 1, 3);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_toolbar);
    layout->addWidget(lineBox);
    layout->addStretch(1);

    connect(m_tone, &QCheckBox::clicked, this, [this](bool checked) {
        LineRoutines(m_ctx).setToneDialling(checked);
    });

    Form_Load();
}

void frmcomline::fillDevices()
{
    const int selected = m_ports->currentIndex();
    m_ports->clear();
    for (int port = 1; port <= kPorts; ++port)
        m_ports->addItem(QStringLiteral("Com%1 (%2)").arg(port).arg(ComDevicePath(port)));
    m_ports->setCurrentIndex(selected);

    const QStringList present = SerialDevicesPresent();
    m_devices->setText(QStringLiteral("Serijski uredjaji na ovom racunaru: ") +
                       (present.isEmpty() ? QStringLiteral("(nema)") : present.join(QStringLiteral(", "))) +
                       QStringLiteral("\nUredjaj porta ComN se zadaje u Kalvo.ini, odeljak [ports]: "
                                      "comN=/dev/ttyUSB0"));
}

void frmcomline::fillFromSettings()
{
    m_ctx.CurrentFormName = QStringLiteral("frmcomline");
    fillDevices();
    const LinkSettings &link = m_ctx.data.LinkSettings;
    // a port number outside the list (an edited database) leaves the selection as it is
    if (link.port >= 1 && link.port <= kPorts)
        m_ports->setCurrentIndex(link.port - 1);
    m_tone->setChecked(LineRoutines(m_ctx).toneDialling());
    m_phone->setText(ansiToUnicode(QByteArray::fromStdString(link.phoneNumber)));
    m_password->setText(ansiToUnicode(QByteArray::fromStdString(link.phonePassword)));
}

void frmcomline::Form_Load()
{
    fillFromSettings();
    // a speed that is not one of the list's leaves the list as it is
    if (const int index = LineSpeedIndex(m_ctx.data.LinkSettings.baudRate); index >= 0)
        m_speeds->setCurrentIndex(index);
}

void frmcomline::Osvezi()
{
    NormaliseStoredSpeed(m_ctx.data.LinkSettings);
    fillFromSettings();
}

LineChoice frmcomline::choice() const
{
    const LinkSettings &link = m_ctx.data.LinkSettings;
    LineChoice c;
    // nothing chosen in a list: the setting stays
    c.port = m_ports->currentIndex() >= 0 ? m_ports->currentIndex() + 1 : link.port;
    const qint32 speed = LineSpeedAt(m_speeds->currentIndex());
    c.baudRate = speed > 0 ? speed : link.baudRate;
    c.phoneNumber = unicodeToAnsi(m_phone->text());
    c.password = unicodeToAnsi(m_password->text());
    return c;
}

bool frmcomline::stopRequested()
{
    QCoreApplication::processEvents();
    return m_stopRequested;
}

void frmcomline::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void frmcomline::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        // the action ends at its next stop check; the window closes then
        m_stopRequested = true;
        m_closeWhenDone = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void frmcomline::Toolbar1_ButtonClick(QAction *button)
{
    if (m_running || !button)
        return;
    const QString key = button->data().toString();
    bool closing = false;
    {
        BusyCursor busy;
        m_running = true;
        m_stopRequested = false;
        m_toolbar->setEnabled(false);
        m_stop->setEnabled(true);
        try {
            LineRoutines routines(m_ctx, [this] { return stopRequested(); });
            if (key == QLatin1String("Annulla")) {
                m_ctx.CurrentFormName = QStringLiteral(" ");
                closing = true;
            } else if (key == QLatin1String("Salva")) {
                routines.Salva(choice());
            } else if (key == QLatin1String("Connect")) {
                routines.Connect(choice());
            } else if (key == QLatin1String("Disconnect")) {
                routines.Disconnect();
            }
        } catch (const AppError &e) {
            ShowError(e, QString::fromLatin1(kSender), m_ctx.ui());
        } catch (const std::exception &e) {
            ShowError(AppError(kErrInternal, QString::fromLocal8Bit(e.what())), QString::fromLatin1(kSender),
                      m_ctx.ui());
        }
        m_running = false;
        m_stop->setEnabled(false);
        m_toolbar->setEnabled(true);
    }
    if (closing || m_closeWhenDone)
        closeWindow();
}

} // namespace kalvo
