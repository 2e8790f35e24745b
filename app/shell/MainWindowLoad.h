#pragma once
// Widget-free pieces of the main window's load and unload sequences: the stored window
// placement, the document-link sections of Kalvo.ini and the start-up link/database step.
#include <QList>
#include <QRect>
#include <QString>

namespace kalvo {

struct AppContext;

// ---- window placement (per-user store, section "Settings") ----

constexpr double kTwipsPerInch = 1440.0;

// Main window state as stored in "windowstate".
enum class StoredWindowState { Normal = 0, Minimised = 1, Maximised = 2 };

struct StoredPlacement {
    StoredWindowState state = StoredWindowState::Normal;
    // Position and size in twips.
    double left = 1000, top = 1000, width = 6500, height = 6500;
};

// Parses the stored texts. Missing or junk values take their defaults (state 0,
// 1000/1000/6500/6500 twips); an unknown state counts as normal; a size that is not
// positive takes its default.
StoredPlacement ParsePlacement(const QString &windowstate, const QString &left, const QString &top,
                               const QString &width, const QString &height);

// Twips <-> pixels with the screen's logical DPI.
int TwipsToPixels(double twips, double dpi);
double PixelsToTwips(int pixels, double dpi);

// Keeps a window rectangle fully visible: when it does not lie inside one of the available
// screen areas, it is shrunk to the best-overlapping (else the first) area and moved into it.
QRect FitOnScreens(const QRect &window, const QList<QRect> &screens);

// ---- document links of the help menu ----

struct MenuLink {
    int index = 0;      // element of the menu item array (0 = the designed "(nema)" element)
    QString caption;
    QString url;        // {app.path}\ expanded
};

// Reads the sections prefix1 .. prefix100: every section with a non-blank caption gives
// element i (0-based section number); gaps are allowed. Errors skip the section.
// The sections are read from Kalvo.ini (context.ini), addresses expanded with context.appFolder.
QList<MenuLink> LoadMenuLinks(const AppContext &context, const QString &prefix);

} // namespace kalvo
