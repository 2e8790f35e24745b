#include "shell/ui/WidgetPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace kalvo {

Answer WidgetPrompter::ask(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    return show(text, title, icon, buttons, std::nullopt);
}

Answer WidgetPrompter::askWithDefault(const QString &text, const QString &title, Icon icon, Buttons buttons,
                                      Answer defaultAnswer)
{
    return show(text, title, icon, buttons, defaultAnswer);
}

Answer WidgetPrompter::show(const QString &text, const QString &title, Icon icon, Buttons buttons,
                            std::optional<Answer> defaultAnswer)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    }
    QMessageBox::StandardButtons sb;
    switch (buttons) {
    case Buttons::Ok: sb = QMessageBox::Ok; break;
    case Buttons::OkCancel: sb = QMessageBox::Ok | QMessageBox::Cancel; break;
    case Buttons::YesNo: sb = QMessageBox::Yes | QMessageBox::No; break;
    case Buttons::YesNoCancel: sb = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case Buttons::RetryCancel: sb = QMessageBox::Retry | QMessageBox::Cancel; break;
    case Buttons::AbortRetryIgnore: sb = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore; break;
    }
    box.setStandardButtons(sb);
    if (defaultAnswer) {
        static const std::pair<Answer, QMessageBox::StandardButton> kButtons[] = {
            {Answer::Ok, QMessageBox::Ok},       {Answer::Cancel, QMessageBox::Cancel},
            {Answer::Yes, QMessageBox::Yes},     {Answer::No, QMessageBox::No},
            {Answer::Retry, QMessageBox::Retry}, {Answer::Abort, QMessageBox::Abort},
            {Answer::Ignore, QMessageBox::Ignore},
        };
        for (const auto &[answer, button] : kButtons)
            if (answer == *defaultAnswer && (sb & button))
                box.setDefaultButton(button);
    }
    // A box shown during a long operation gets the normal pointer back while it is open.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int pressed = box.exec();
    QApplication::restoreOverrideCursor();
    switch (pressed) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Retry: return Answer::Retry;
    case QMessageBox::Abort: return Answer::Abort;
    case QMessageBox::Ignore: return Answer::Ignore;
    default: return Answer::Cancel;
    }
}

QString WidgetPrompter::openFileName(const FileDialogRequest &request)
{
    return QFileDialog::getOpenFileName(m_parent, request.title, request.folder, request.filter);
}

QString WidgetPrompter::saveFileName(const FileDialogRequest &request)
{
    return QFileDialog::getSaveFileName(m_parent, request.title, request.folder, request.filter);
}

} // namespace kalvo
