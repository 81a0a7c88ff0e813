// Telling the user about a problem, and asking what to do with unsaved changes: the window asks,
// an implementation decides how (a message box in the program, a record and a script in the
// tests).
#pragma once

#include <QString>
#include <memory>

class QMessageBox;
class QWidget;

namespace tav {

struct FileError;

// The user's answer to the unsaved-changes question.
enum class SaveAnswer {
    Save,     // save the document, then go on
    Discard,  // go on without saving
    Cancel,   // do not go on: the command is abandoned
};

// The user's answer to the question about an unfinished earlier save of a document being opened.
enum class LeftoverAnswer {
    Restore,  // write the complete content the save left in its copy over the file, then open it
    Keep,     // remove the copy and open the file as it is
    Cancel,   // open nothing
};

// What the question about the catalogue folder offers, and in which situation it is asked.
struct CatalogueQuestion {
    QString text;                // where the programs looked, or the folder in use; what went wrong
    bool offerExamples = false;  // the installation's example catalogues exist
    bool atStart = false;        // declining opens the editor without catalogues (else: keeps them)
};

// The user's answer to the question about the catalogue folder.
enum class CatalogueAnswer {
    ChooseFolder,  // choose a folder with the folder chooser
    UseExamples,   // use the installation's example catalogues (only when offered)
    Cancel,        // go on without catalogues at start; keep the catalogues in use otherwise
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

    // Asks over `owner`, before the document `documentName` is opened, what to do about an
    // earlier save of it that did not finish: the file may be incomplete, and `copyPath` (in the
    // platform's notation) holds the complete content of that save. Restore is the default
    // answer; closing the question is Cancel. A reporter that cannot ask (it only reports)
    // answers Cancel, which changes nothing on disk.
    virtual LeftoverAnswer AskAboutUnfinishedSave(QWidget* owner, const QString& documentName,
                                                  const QString& copyPath);

    // Tells over `owner` that the file `path` (in the platform's notation), chosen from the list
    // of recent files, is no longer there, and asks whether to take it off the list; returns the
    // answer. Yes is the default answer; closing the question is No. A reporter that cannot ask
    // shows the news as a warning and answers No.
    virtual bool AskToForgetMissingFile(QWidget* owner, const QString& path);

    // Asks over `owner` where the catalogues are to come from (see CatalogueQuestion) and returns
    // the answer; Choose folder is the default answer, closing the question is Cancel. A
    // reporter that cannot ask shows the text as a warning and answers Cancel.
    virtual CatalogueAnswer AskForCatalogues(QWidget* owner, const CatalogueQuestion& question);
};

// Modal message boxes titled "TAV Configuration Manager".
class MessageBoxReporter final : public MessageReporter {
public:
    void ShowWarning(QWidget* owner, const QString& text) override;
    SaveAnswer AskToSaveChanges(QWidget* owner, const QString& documentName) override;
    LeftoverAnswer AskAboutUnfinishedSave(QWidget* owner, const QString& documentName,
                                          const QString& copyPath) override;
    bool AskToForgetMissingFile(QWidget* owner, const QString& path) override;
    CatalogueAnswer AskForCatalogues(QWidget* owner, const CatalogueQuestion& question) override;
};

// The questions MessageBoxReporter asks, built but not shown: every button has a letter of its
// own to press with Alt.
std::unique_ptr<QMessageBox> SaveChangesBox(QWidget* owner, const QString& documentName);
std::unique_ptr<QMessageBox> UnfinishedSaveBox(QWidget* owner, const QString& documentName,
                                               const QString& copyPath);
std::unique_ptr<QMessageBox> MissingFileBox(QWidget* owner, const QString& path);
std::unique_ptr<QMessageBox> CataloguesBox(QWidget* owner, const CatalogueQuestion& question);

// "TAV Configuration Manager": the title of the program's message boxes and notices.
QString ProgramTitle();

// `what` (a sentence saying what failed), a blank line, then the file in the platform's own
// notation, the reason and, for a failed write, the state it left the file in
// (FileError::Message): the form of every file problem the user is shown.
QString FileErrorText(const QString& what, const FileError& error);

}  // namespace tav
