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
    Answer askWithDefault(const QString &text, const QString &title, Icon icon, Buttons buttons,
                          Answer defaultAnswer) override;
    QString openFileName(const FileDialogRequest &request) override;
    QString saveFileName(const FileDialogRequest &request) override;

private:
    Answer show(const QString &text, const QString &title, Icon icon, Buttons buttons,
                std::optional<Answer> defaultAnswer);
    QWidget *m_parent;
};

} // namespace kalvo
