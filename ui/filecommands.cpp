// The File menu of the main window: New, Open, Save, Save As and Exit. The tree reads and writes
// the document; these handlers choose the file, report failures and keep the remembered folder.
#include <QDir>

#include "catalog/fileaccess.h"
#include "filechooser.h"
#include "maindialog.h"
#include "messagereporter.h"
#include "tree/configtree.h"
#include "tree/textconv.h"

namespace tav {

namespace {

// The folder of `path` in the platform's notation, without a trailing separator. A path whose
// only separator is its first character (or that has none) is kept whole.
std::string FolderOf(const std::string& path) {
    const QString native = QDir::toNativeSeparators(ToQt(path));
    const qsizetype cut = native.lastIndexOf(QDir::separator());
    return FromQt(cut > 0 ? native.left(cut) : native);
}

}  // namespace

void MainDialog::OnFileNew() {
    if (const auto error = m_tree->ReadDocument(std::string(), std::string())) {
        ReportFileError(tr("A new document could not be started."), *error);
        return;
    }
    m_tree->BuildTree();
}

void MainDialog::OnFileOpen() {
    const QString start = m_openFolder.empty() ? QStringLiteral(".") : ToQt(m_openFolder);
    const std::optional<ChosenFile> chosen = m_services.files.ChooseOpen(this, start);
    if (!chosen) {
        return;
    }
    if (const auto error = m_tree->ReadDocument(chosen->path, chosen->name)) {
        ReportFileError(tr("The document could not be opened."), *error);
        return;
    }
    m_tree->BuildTree();
    m_openFolder = FolderOf(chosen->path);
}

void MainDialog::OnFileSave() {
    // A document that has no file yet gets one through Save As.
    if (m_tree->DocPath().empty()) {
        OnFileSaveAs();
        return;
    }
    if (const auto error = m_tree->SaveDocument(std::string())) {
        ReportFileError(tr("The document could not be saved."), *error);
    }
}

// Writes the document under a new name, then reads that file back so the tree shows what was
// written. The remembered folder belongs to Open and stays as it is.
void MainDialog::OnFileSaveAs() {
    const std::optional<ChosenFile> chosen = m_services.files.ChooseSave(this, QStringLiteral("."));
    if (!chosen) {
        return;
    }
    if (const auto error = m_tree->SaveDocument(chosen->path)) {
        ReportFileError(tr("The document could not be saved."), *error);
        return;
    }
    if (const auto error = m_tree->ReadDocument(chosen->path, chosen->name)) {
        ReportFileError(tr("The document was saved but could not be read back."), *error);
        return;
    }
    m_tree->BuildTree();
}

// Ends the program without a question, as the close box does; nothing is saved.
void MainDialog::OnFileExit() {
    done(QDialog::Accepted);
}

}  // namespace tav
