#include "filechooser.h"

#include <QFileDialog>
#include <QFileInfo>

#include "tree/textconv.h"

namespace tav {

namespace {

// Runs one file dialog in `mode` and returns the single file chosen.
std::optional<ChosenFile> RunFileDialog(QWidget* owner, const QString& folder,
                                        QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner, QString(), folder, QStringLiteral("TAC files (*.tac)"));
    dialog.setAcceptMode(mode);
    // Open accepts a name that does not exist yet: it starts an empty document under that name.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("tac"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, mode != QFileDialog::AcceptSave);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = dialog.selectedFiles().constFirst();
    return ChosenFile{FromQt(path), FromQt(QFileInfo(path).fileName())};
}

}  // namespace

std::optional<ChosenFile> DialogFileChooser::ChooseOpen(QWidget* owner, const QString& folder) {
    return RunFileDialog(owner, folder, QFileDialog::AcceptOpen);
}

std::optional<ChosenFile> DialogFileChooser::ChooseSave(QWidget* owner, const QString& folder) {
    return RunFileDialog(owner, folder, QFileDialog::AcceptSave);
}

}  // namespace tav
