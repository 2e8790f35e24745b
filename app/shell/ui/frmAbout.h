#pragma once
// "O programu Kalvo...": program title, version, rights notice and warning, three link
// labels (lblWeb, element number in the property "index") and the picture imgHot, which
// open their addresses; "&System Info..." (cmdSysInfo) and "OK" (cmdOK).
// Addresses and the system information program come from Kalvo.ini [about]
// (see shell/AboutInfo.h).
#include <QDialog>

namespace kalvo {

struct AppContext;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(AppContext &context, QWidget *parent = nullptr);

    // Starts the system information program, or says that there is none.
    void cmdSysInfo_Click();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openAddress(const QString &address);

    AppContext &m_ctx;
    QString m_webAddress;
    bool m_centred = false;
};

} // namespace kalvo
