#pragma once
// "Komunikacija": the serial port and speed of a direct line, or a modem connection on that
// port (see register/LineRoutines.h for the work behind the buttons).
//
// Controls by objectName: Combo1 (ports; entry i is COM<i+1>, shown with the device it
// stands for), Combo2 (speeds), Tone, PhoneNumber, Password, Toolbar1 (actions Connect,
// Disconnect, Salva, Annulla; the key is each action's data and objectName), Stop (ends
// dialling or hanging up between two reads of the modem's answer) and lblDevices (the serial
// devices present on this machine).
#include "shell/ui/WindowHooks.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;

namespace kalvo {

struct AppContext;
struct LineChoice;

class frmcomline : public QWidget, public RefreshableWindow {
    Q_OBJECT
public:
    explicit frmcomline(AppContext &context, QWidget *parent = nullptr);

    // Fills the controls again from LinkSettings, leaving the speed list as it is (a speed
    // stored as a list index becomes its baud rate).
    void Osvezi();
    void refreshFromData() override { Osvezi(); }

    // The one handler of every tool-bar button; dispatches on the button's key.
    void Toolbar1_ButtonClick(QAction *button);

    // True while a tool-bar action runs.
    bool isRunning() const { return m_running; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void fillFromSettings();
    void fillDevices();
    LineChoice choice() const;
    void closeWindow();
    bool stopRequested();

    AppContext &m_ctx;
    QComboBox *m_ports;
    QComboBox *m_speeds;
    QCheckBox *m_tone;
    QLineEdit *m_phone;
    QLineEdit *m_password;
    QToolBar *m_toolbar;
    QPushButton *m_stop;
    QLabel *m_devices;
    bool m_running = false;
    bool m_stopRequested = false;
    bool m_closeWhenDone = false;
};

} // namespace kalvo
