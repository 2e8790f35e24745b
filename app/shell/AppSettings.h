#pragma once
// Values read once from Kalvo.ini at start-up (LoadSettings) and never written back.
#include <QByteArray>
#include <QString>

namespace kalvo {

struct AppSettings {
    QString connectionString;   // [database] connectionstring, {app.path}\ expanded
    QByteArray atdp;            // [modem] pulse-dial prefix
    QByteArray atdt;            // [modem] tone-dial prefix
    QByteArray atdisconnect;    // [modem] hang-up command
    double maxcena = 0;         // [application.rules] maximum price
    double maxcek = 0;          // maximum cheque payment
    double maxkartica = 0;      // maximum card payment
    double maxkes = 0;          // maximum cash payment
    QString fontcyrilic;        // font while the Cyrillic display is on
    QString fontlatin;          // font while the Cyrillic display is off
};

} // namespace kalvo
