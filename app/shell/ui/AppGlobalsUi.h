#pragma once
// Widget helpers shared by the windows: centring, opening a document with the desktop's
// default handler, and the hourglass pointer.
#include <QString>

class QWidget;

namespace kalvo {

// Moves the window so that it sits in the middle of its screen:
// left = (screen width - window width) / 2, top = (screen height - window height) / 2.
void CenterOnScreen(QWidget *window);

// Opens a document, folder or address with the desktop's default handler. A relative file
// name is taken relative to `folder`. Errors are ignored; returns whether the desktop took it.
bool OpenDocument(const QString &file, const QString &folder = QString());

// Shows the hourglass pointer for its lifetime; every way out of the scope restores it.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace kalvo
