// Choosing a document file: the window asks, an implementation decides how (the platform's file
// dialog in the program, a script in the tests).
#pragma once

#include <QString>
#include <optional>
#include <string>

class QWidget;

namespace tav {

// A file the user chose: its full path and its name without the folder.
struct ChosenFile {
    std::string path;
    std::string name;
};

class FileChooser {
public:
    virtual ~FileChooser() = default;

    // Asks for a document to open, starting in `folder`, over the window `owner`. The file need
    // not exist. Returns nothing when the user cancels.
    virtual std::optional<ChosenFile> ChooseOpen(QWidget* owner, const QString& folder) = 0;

    // Asks for the name to save a document under, starting in `folder`; a name without an
    // extension gets ".tac", and an existing file is only returned after the user has agreed to
    // replace it. Returns nothing when the user cancels.
    virtual std::optional<ChosenFile> ChooseSave(QWidget* owner, const QString& folder) = 0;

    // Asks for an existing folder (the catalogue folder), starting in `folder`; returns its full
    // path, or nothing when the user cancels. A chooser that offers no folders returns nothing.
    virtual std::optional<std::string> ChooseFolder(QWidget* owner, const QString& folder);
};

// The platform's file dialog: one filter "TAC files (*.tac)", default suffix "tac".
class DialogFileChooser final : public FileChooser {
public:
    std::optional<ChosenFile> ChooseOpen(QWidget* owner, const QString& folder) override;
    std::optional<ChosenFile> ChooseSave(QWidget* owner, const QString& folder) override;
    std::optional<std::string> ChooseFolder(QWidget* owner, const QString& folder) override;
};

}  // namespace tav
