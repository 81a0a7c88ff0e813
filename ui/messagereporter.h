// Telling the user about a problem: the window asks, an implementation decides how (a message box
// in the program, a record in the tests).
#pragma once

#include <QString>

class QWidget;

namespace tav {

struct FileError;

class MessageReporter {
public:
    virtual ~MessageReporter() = default;

    // Shows `text` as a warning over `owner` (none: no window yet or any more) and returns once
    // the user has seen it.
    virtual void ShowWarning(QWidget* owner, const QString& text) = 0;
};

// A modal warning box titled "TAV Configuration Manager".
class MessageBoxReporter final : public MessageReporter {
public:
    void ShowWarning(QWidget* owner, const QString& text) override;
};

// `what` (a sentence saying what failed), a blank line, then the file in the platform's own
// notation and the reason: the form of every file problem the user is shown.
QString FileErrorText(const QString& what, const FileError& error);

}  // namespace tav
