#pragma once
// Every message box and file dialog of the program goes through a Prompter.
// The program uses the widget implementation (shell/ui/WidgetPrompter); tests and
// the command-line tool use scripted or console implementations.
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

namespace kalvo {

enum class Icon { None, Information, Exclamation, Critical, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class Answer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

struct Prompt {
    QString text;
    QString title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    std::optional<Answer> defaultAnswer; // the button that Enter presses, when not the first
};

struct FileDialogRequest {
    enum Kind { Open, Save } kind = Open;
    QString title;
    QString folder;
    QString filter;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows a message box and returns the button pressed.
    virtual Answer ask(const QString &text, const QString &title, Icon icon = Icon::None,
                       Buttons buttons = Buttons::Ok) = 0;
    // The same with a chosen default button (the one Enter presses).
    virtual Answer askWithDefault(const QString &text, const QString &title, Icon icon, Buttons buttons,
                                  Answer defaultAnswer)
    {
        (void)defaultAnswer;
        return ask(text, title, icon, buttons);
    }
    // File dialogs: an empty result means the user cancelled.
    virtual QString openFileName(const FileDialogRequest &request) = 0;
    virtual QString saveFileName(const FileDialogRequest &request) = 0;

    void tell(const QString &text, const QString &title, Icon icon = Icon::None) {
        ask(text, title, icon, Buttons::Ok);
    }
};

// Records every prompt and answers from queues. When the answer queue is empty the
// "safe" button answers: Ok for Ok boxes, Cancel for Retry/Cancel and Ok/Cancel,
// No for Yes/No, Abort for Abort/Retry/Ignore.
class ScriptedPrompter : public Prompter {
public:
    std::vector<Prompt> prompts;
    std::vector<FileDialogRequest> dialogs;
    std::deque<Answer> answers;
    std::deque<QString> fileNames;

    void answer(Answer a) { answers.push_back(a); }
    void answerFile(const QString &path) { fileNames.push_back(path); }
    const Prompt &last() const { return prompts.back(); }
    QStringList texts() const;
    void clear() { prompts.clear(); dialogs.clear(); answers.clear(); fileNames.clear(); }

    Answer ask(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
    Answer askWithDefault(const QString &text, const QString &title, Icon icon, Buttons buttons,
                          Answer defaultAnswer) override;
    QString openFileName(const FileDialogRequest &request) override;
    QString saveFileName(const FileDialogRequest &request) override;

    static Answer defaultAnswer(Buttons buttons);
};

} // namespace kalvo
