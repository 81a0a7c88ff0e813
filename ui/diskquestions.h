// The question a save asks when the document's file was changed by someone else since it was
// opened or last saved: the window asks, an implementation decides how (a dialog in the program, a
// script in the tests).
#pragma once

#include <QString>
#include <vector>

class QWidget;

namespace tav {

// A setting both sides changed: where it is, the value here and the value in the file.
struct DiskConflict {
    QString what;
    QString mine;
    QString theirs;
};

struct DiskDecision {
    enum class Answer {
        Merge,      // write my edits, take the file's other changes
        Overwrite,  // write my document as it is, dropping the file's changes
        Reload,     // drop my edits, show the file
        Cancel,     // do not save
    };
    Answer answer = Answer::Cancel;
    std::vector<bool> takeTheirs;  // for a Merge: one per conflict, true to take the file's value
};

class DiskQuestions {
public:
    virtual ~DiskQuestions() = default;

    // Asks how to save `name`, whose file changed on disk; `conflicts` lists the settings changed
    // on both sides (empty: Merge loses nothing and is the default answer).
    virtual DiskDecision AskHowToSave(QWidget* owner, const QString& name,
                                      const std::vector<DiskConflict>& conflicts) = 0;
};

// A dialog: the message, the conflicts with a "Use the file's value" box each, and the buttons
// Merge, Overwrite, Reload and Cancel.
class DialogDiskQuestions final : public DiskQuestions {
public:
    DiskDecision AskHowToSave(QWidget* owner, const QString& name,
                              const std::vector<DiskConflict>& conflicts) override;
};

}  // namespace tav
