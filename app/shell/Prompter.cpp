#include "shell/Prompter.h"

namespace kalvo {

QStringList ScriptedPrompter::texts() const
{
    QStringList out;
    for (const Prompt &p : prompts)
        out << p.text;
    return out;
}

Answer ScriptedPrompter::defaultAnswer(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::OkCancel: return Answer::Cancel;
    case Buttons::YesNo: return Answer::No;
    case Buttons::YesNoCancel: return Answer::Cancel;
    case Buttons::RetryCancel: return Answer::Cancel;
    case Buttons::AbortRetryIgnore: return Answer::Abort;
    }
    return Answer::Ok;
}

Answer ScriptedPrompter::ask(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    prompts.push_back({text, title, icon, buttons});
    if (answers.empty())
        return defaultAnswer(buttons);
    Answer a = answers.front();
    answers.pop_front();
    return a;
}

Answer ScriptedPrompter::askWithDefault(const QString &text, const QString &title, Icon icon,
                                        Buttons buttons, Answer defaultAnswer)
{
    const Answer a = ask(text, title, icon, buttons);
    prompts.back().defaultAnswer = defaultAnswer;
    return a;
}

QString ScriptedPrompter::openFileName(const FileDialogRequest &request)
{
    dialogs.push_back(request);
    if (fileNames.empty())
        return {};
    QString f = fileNames.front();
    fileNames.pop_front();
    return f;
}

QString ScriptedPrompter::saveFileName(const FileDialogRequest &request)
{
    FileDialogRequest r = request;
    r.kind = FileDialogRequest::Save;
    return openFileName(r);
}

} // namespace kalvo
