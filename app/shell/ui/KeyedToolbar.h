#pragma once
// The work windows' tool bars: text buttons that carry their key ("nuovo", "esci", ...)
// as object name and data, so one handler dispatches on the key of the action triggered.
#include <QString>
#include <vector>

class QToolBar;
class QWidget;

namespace kalvo {

struct ToolbarButton {
    const char *key;
    const char *caption;
    const char *tip; // "" for none
};

QToolBar *MakeKeyedToolbar(QWidget *owner, const QString &objectName,
                           const std::vector<ToolbarButton> &buttons);

} // namespace kalvo
