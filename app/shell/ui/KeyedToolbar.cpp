#include "shell/ui/KeyedToolbar.h"

#include <QAction>
#include <QToolBar>

namespace kalvo {

QToolBar *MakeKeyedToolbar(QWidget *owner, const QString &objectName,
                           const std::vector<ToolbarButton> &buttons)
{
    auto *toolbar = new QToolBar(owner);
    toolbar->setObjectName(objectName);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const ToolbarButton &b : buttons) {
        QAction *a = toolbar->addAction(QString::fromLatin1(b.caption));
        a->setObjectName(QString::fromLatin1(b.key));
        a->setData(QString::fromLatin1(b.key));
        if (*b.tip)
            a->setToolTip(QString::fromLatin1(b.tip));
    }
    return toolbar;
}

} // namespace kalvo
