#pragma once
// Hooks through which the main window's menu commands reach the open work window.
//
// The main window finds the window named by AppContext::CurrentFormName among its
// children (objectName) and, when that window implements the hook, calls it:
//
//  - RefreshableWindow::refreshFromData(): after "&Otvori" has read a programming file,
//    for the editors of file data (frmadvertize, frmIntestazione, frmoperatori, frmreparti,
//    frmValuta, frmsistema) and the line window frmcomline (its Osvezi). The window reloads
//    every field it shows from ProgrammingData / LinkSettings.
//  - LineWidthAware::applyLineWidth(): after "Sirina 32" has changed LinkSettings.lineWidth,
//    for frmtrasm, frmPlu, frmIntestazione and frmadvertize. The window sets its text-length
//    limits again for the new width.
//  - CyrillicSwitchable::applyCyrillicMode(): after "Cirilica" has flipped CyrillicMode. The
//    window converts the texts of its lists and edit boxes with ConvertRegisterText (to the
//    register code when `on`, to Latin otherwise) and gives them the font family passed.
//
// A work window inherits the hooks that concern it besides its QWidget base, e.g.
//     class frmreparti : public QWidget, public RefreshableWindow, public CyrillicSwitchable
// Hooks run on the user-interface thread; an exception they throw is reported by the
// main window's handler.
#include <QString>

namespace kalvo {

class RefreshableWindow {
public:
    virtual ~RefreshableWindow() = default;
    virtual void refreshFromData() = 0;
};

class LineWidthAware {
public:
    virtual ~LineWidthAware() = default;
    virtual void applyLineWidth() = 0;
};

class CyrillicSwitchable {
public:
    virtual ~CyrillicSwitchable() = default;
    virtual void applyCyrillicMode(bool on, const QString &fontFamily) = 0;
};

} // namespace kalvo
