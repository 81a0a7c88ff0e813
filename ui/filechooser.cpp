#include "ui/filechooser.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>

#include "qtbridge/textconv.h"

namespace tav {

namespace {

// How long the event loop runs on after a file was chosen, for the window system to take the
// dialog off the screen and the windows below to paint what it uncovered.
constexpr int kSettleMs = 100;

// Runs the event loop for kSettleMs without user input (see RunFileDialog for why).
void Settle() {
    QEventLoop settle;
    QTimer::singleShot(kSettleMs, &settle, &QEventLoop::quit);
    settle.exec(QEventLoop::ExcludeUserInputEvents);
}

// Runs one file dialog in `mode` and returns the single file chosen.
std::optional<ChosenFile> RunFileDialog(QWidget* owner, const QString& folder,
                                        QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner, QString(), folder,
                       QCoreApplication::translate("DialogFileChooser", "TAC files (*.tac)"));
    dialog.setAcceptMode(mode);
    // Open accepts a name that does not exist yet: it starts an empty document under that name.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("tac"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, mode != QFileDialog::AcceptSave);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = dialog.selectedFiles().constFirst();
    // What follows may hold the thread for a while (reading a large document); without this the
    // closed dialog would stay on screen meanwhile. The events are those the dialog's own loop ran
    // a moment ago; the user's input waits.
    Settle();
    return ChosenFile{FromQt(path), FromQt(QFileInfo(path).fileName())};
}

}  // namespace

std::optional<ChosenFile> DialogFileChooser::ChooseOpen(QWidget* owner, const QString& folder) {
    return RunFileDialog(owner, folder, QFileDialog::AcceptOpen);
}

std::optional<std::string> FileChooser::ChooseFolder(QWidget*, const QString&) {
    return std::nullopt;
}

std::optional<std::string> DialogFileChooser::ChooseFolder(QWidget* owner, const QString& folder) {
    QFileDialog dialog(owner, QCoreApplication::translate("DialogFileChooser", "Catalogue Folder"),
                       folder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    Settle();
    return FromQt(dialog.selectedFiles().constFirst());
}

std::optional<ChosenFile> DialogFileChooser::ChooseSave(QWidget* owner, const QString& folder) {
    return RunFileDialog(owner, folder, QFileDialog::AcceptSave);
}

}  // namespace tav
