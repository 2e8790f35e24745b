#pragma once
// The font installer's window: a notice, a picture and the "Install Fonts" button. The
// timer tmrStart installs the fonts of Kalvo.ini 1500 ms after the start and then ends the
// program.
#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace runek {

class frmMain : public QWidget {
    Q_OBJECT
public:
    // programFolder: where Kalvo.ini, fonts.ini and fonts/ are; fontsFolder: the user's
    // fonts folder. Both end in '/'.
    frmMain(const QString &programFolder, const QString &fontsFolder, QWidget *parent = nullptr);

    // Centres the window on its screen and starts the timer.
    void start();

signals:
    // The installation of the timer is over; the program ends.
    void finished();

private:
    void tmrStart_Timer();
    void Command3_Click();

    QString m_programFolder;
    QString m_fontsFolder;
    QLabel *m_label = nullptr;
    QLabel *m_image = nullptr;
    QPushButton *m_install = nullptr;
    QTimer *m_timer = nullptr;
};

} // namespace runek
