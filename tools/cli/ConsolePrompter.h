#pragma once
// The command-line Prompter: every box goes to stderr as "title: text", and questions are
// answered from the command line instead of a person.
//
// - Ok boxes: Ok.
// - Retry/Cancel (and Abort/Retry/Ignore): Retry up to `retries` times for the same question
//   asked again and again (the same text and title in a row), then Cancel (Abort). A
//   different question, or newRecord() (a routine has moved on), starts a new count.
// - Yes/No, Yes/No/Cancel, Ok/Cancel: Yes (Ok) with `yes`, else No (Cancel).
// - File dialogs: cancelled (the tool takes every path from its arguments).
// The answer of a question is written after its text: "title: text [Retry/Cancel -> Retry]".
#include "shell/Prompter.h"

#include <cstdio>

namespace kalvo::cli {

class ConsolePrompter : public Prompter {
public:
    ConsolePrompter(int retries, bool yes, std::FILE *out = stderr) : retries_(retries), yes_(yes), out_(out) {}

    Answer ask(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
    QString openFileName(const FileDialogRequest &request) override;
    QString saveFileName(const FileDialogRequest &request) override;

    // A routine reported progress: the next Retry question gets its full count again.
    void newRecord() { retried_ = 0; lastText_.clear(); lastTitle_.clear(); }

    // Number of boxes shown so far.
    int shown() const { return shown_; }
    // Boxes with the critical-stop icon shown so far (the routines' failure reports).
    int failures() const { return failures_; }
    // Questions answered No or Cancel so far.
    int declined() const { return declined_; }

    // The line written for one box (without the answer); line breaks inside the text become
    // "\n", trailing ones are dropped.
    static QString lineFor(const QString &text, const QString &title);

private:
    Answer decide(const QString &text, const QString &title, Buttons buttons);

    int retries_;
    bool yes_;
    std::FILE *out_;
    int shown_ = 0;
    int failures_ = 0;
    int declined_ = 0;
    QString lastText_;
    QString lastTitle_;
    int retried_ = 0;
};

} // namespace kalvo::cli
