// Telling the user about a problem, and asking what to do with unsaved changes: the window asks,
// an implementation decides how (a message box in the program, a record and a script in the
// tests).
#pragma once

#include <QString>

class QWidget;

namespace tav {

struct FileError;

// The user's answer to the unsaved-changes question.
enum class SaveAnswer {
    Save,     // save the document, then go on
    Discard,  // go on without saving
    Cancel,   // do not go on: the command is abandoned
};

class MessageReporter {
public:
    virtual ~MessageReporter() = default;

    // Shows `text` as a warning over `owner` (none: no window yet or any more) and returns once
    // the user has seen it.
    virtual void ShowWarning(QWidget* owner, const QString& text) = 0;

    // Asks over `owner` whether the changes to the document `documentName` (its file name; empty
    // for a document that has none yet) are to be saved before a command discards them, and
    // returns the answer. Save is the default answer; closing the question is Cancel.
    virtual SaveAnswer AskToSaveChanges(QWidget* owner, const QString& documentName) = 0;
};

// Modal message boxes titled "TAV Configuration Manager".
class MessageBoxReporter final : public MessageReporter {
public:
    void ShowWarning(QWidget* owner, const QString& text) override;
    SaveAnswer AskToSaveChanges(QWidget* owner, const QString& documentName) override;
};

// `what` (a sentence saying what failed), a blank line, then the file in the platform's own
// notation and the reason: the form of every file problem the user is shown.
QString FileErrorText(const QString& what, const FileError& error);

}  // namespace tav
