#include "ConsolePrompter.h"

namespace kalvo::cli {

namespace {

const char *buttonsName(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return "Ok";
    case Buttons::OkCancel: return "Ok/Cancel";
    case Buttons::YesNo: return "Yes/No";
    case Buttons::YesNoCancel: return "Yes/No/Cancel";
    case Buttons::RetryCancel: return "Retry/Cancel";
    case Buttons::AbortRetryIgnore: return "Abort/Retry/Ignore";
    }
    return "?";
}

const char *answerName(Answer answer)
{
    switch (answer) {
    case Answer::Ok: return "Ok";
    case Answer::Cancel: return "Cancel";
    case Answer::Yes: return "Yes";
    case Answer::No: return "No";
    case Answer::Retry: return "Retry";
    case Answer::Abort: return "Abort";
    case Answer::Ignore: return "Ignore";
    }
    return "?";
}

} // namespace

QString ConsolePrompter::lineFor(const QString &text, const QString &title)
{
    QString body = text;
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    while (body.endsWith(QLatin1Char('\n')))
        body.chop(1);
    return title + QLatin1String(": ") + body;
}

Answer ConsolePrompter::decide(const QString &text, const QString &title, Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        return yes_ ? Answer::Ok : Answer::Cancel;
    case Buttons::YesNo:
        return yes_ ? Answer::Yes : Answer::No;
    case Buttons::YesNoCancel:
        return yes_ ? Answer::Yes : Answer::Cancel;
    case Buttons::RetryCancel:
    case Buttons::AbortRetryIgnore: {
        const bool again = text == lastText_ && title == lastTitle_;
        if (!again)
            retried_ = 0;
        lastText_ = text;
        lastTitle_ = title;
        if (retried_ < retries_) {
            ++retried_;
            return Answer::Retry;
        }
        return buttons == Buttons::RetryCancel ? Answer::Cancel : Answer::Abort;
    }
    }
    return Answer::Cancel;
}

Answer ConsolePrompter::ask(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    ++shown_;
    if (icon == Icon::Critical)
        ++failures_;
    const Answer answer = decide(text, title, buttons);
    if (answer == Answer::No || answer == Answer::Cancel)
        ++declined_;
    if (buttons != Buttons::RetryCancel && buttons != Buttons::AbortRetryIgnore) {
        // any other box breaks a run of the same Retry question
        lastText_.clear();
        lastTitle_.clear();
        retried_ = 0;
    }
    QByteArray line = lineFor(text, title).toUtf8();
    if (buttons != Buttons::Ok)
        line += QByteArray(" [") + buttonsName(buttons) + " -> " + answerName(answer) + "]";
    line += '\n';
    std::fwrite(line.constData(), 1, std::size_t(line.size()), out_);
    std::fflush(out_);
    return answer;
}

QString ConsolePrompter::openFileName(const FileDialogRequest &request)
{
    std::fprintf(out_, "%s: (file dialog cancelled: give the path as an argument)\n", qPrintable(request.title));
    return {};
}

QString ConsolePrompter::saveFileName(const FileDialogRequest &request)
{
    return openFileName(request);
}

} // namespace kalvo::cli
