#pragma once
// Message boxes and file dialogs shown with widgets.
#include "shell/Prompter.h"

class QWidget;

namespace kalvo {

class WidgetPrompter : public Prompter {
public:
    explicit WidgetPrompter(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    Answer ask(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
    QString openFileName(const FileDialogRequest &request) override;
    QString saveFileName(const FileDialogRequest &request) override;

private:
    QWidget *m_parent;
};

} // namespace kalvo
