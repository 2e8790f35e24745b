#pragma once
// The line window's work without widgets: choosing the port for a direct line ("Sacuvaj"),
// dialling the register's modem ("Connect") and hanging up ("Disconnect"), the PORT row
// that remembers the choice, and the device each "Com<n>" stands for on this machine.
//
// Messages go through the context's Prompter. Errors of the link binding or the database
// come out as AppError for the window's handler to report.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace kalvo {

struct AppContext;
struct LinkSettings;

// The speeds of the speed list, by list index.
inline constexpr std::array<qint32, 5> kLineSpeeds = {4800, 9600, 19200, 38400, 57600};
// List index of a speed; -1 when it is not one of the five.
int LineSpeedIndex(qint32 baudRate);
// Speed of a list index; -1 for an index outside the list.
qint32 LineSpeedAt(int index);
// A speed stored as a list index (0..4) becomes its baud rate; any other value stays.
void NormaliseStoredSpeed(LinkSettings &link);

// The device the link library opens for COM<port>: the environment variable ZIB_COM<port>
// when it is set and not empty, else /dev/ttyS<port-1>.
QString ComDevicePath(int port);
// The serial devices present in `folder` (/dev): ttyS*, ttyUSB* and ttyACM* followed by a
// number, as full paths, grouped in that order and by number within each group.
QStringList SerialDevicesPresent(const QString &folder = QStringLiteral("/dev"));

// The result words of a modem, searched in this order.
enum class DialWord { None, Connect, Busy, NoCarrier, NoAnswer, NoDialtone, Ring };
// The first word of the table order that occurs anywhere in the answer ("BUSY" wins over
// an earlier "RING"); None when no word occurs.
DialWord FindDialWord(const QByteArray &answer);

// What one tool-bar action ended with.
enum class LineOutcome {
    PortSelected,         // Sacuvaj: port open, PORT row stored
    PortBusy,             // the port could not be opened (result 1)
    PortRefused,          // the port refused the line settings (result 2)
    NoNumber,             // Connect without a phone number
    Connected,            // CONNECT: ModemLink on, password sent
    Ringing,              // RING
    Cancelled,            // a Retry/Cancel box answered Cancel
    NotConnected,         // no result word in all the answers (or the dial could not be sent)
    Disconnected,         // OK to the hang-up
    AlreadyDisconnected,  // no OK to the hang-up (or it could not be sent)
    Stopped,              // the stop request ended the wait for answers
};

// The operator's choice in the window.
struct LineChoice {
    int port = 1;               // COM number
    qint32 baudRate = 9600;     // direct-line speed
    QByteArray phoneNumber;     // number dialled (bytes)
    QByteArray password;        // sent after CONNECT (bytes)
};

class LineRoutines {
public:
    // Answers read while dialling, and while hanging up, before giving up.
    static constexpr int kDialAnswers = 150;
    static constexpr int kHangUpAnswers = 100;
    // Wait before dialling again after Retry.
    static constexpr qint16 kRedialDelayMs = 1000;

    // `stopRequested` is asked after every answer read while dialling or hanging up (the
    // window lets its events run there); true ends the wait. May be empty.
    explicit LineRoutines(AppContext &ctx, std::function<bool()> stopRequested = {});

    // The tone/pulse box: the dial prefix becomes the atdt (tone) or atdp (pulse) value
    // of Kalvo.ini.
    void setToneDialling(bool tone);
    // True when the dial prefix equals the atdt value.
    bool toneDialling() const;

    // "Sacuvaj": reopens the port at the chosen speed for a direct line and remembers it.
    LineOutcome Salva(const LineChoice &choice);
    // "Connect": reopens the port at 9600 for the modem, remembers it, dials and waits for
    // the modem's result word.
    LineOutcome Connect(const LineChoice &choice);
    // "Disconnect": sends the hang-up command and waits for OK. The port stays open.
    LineOutcome Disconnect();

private:
    void takeChoice(const LineChoice &choice);
    bool portOpened(qint32 result);
    void storePort();
    LineOutcome dial();
    bool stopRequested();

    AppContext &ctx_;
    std::function<bool()> stopRequested_;
};

} // namespace kalvo
