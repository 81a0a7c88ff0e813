// The File menu of the main window: New, Open, Save, Save As and Exit. The document model reads
// and writes the file; these handlers choose the file, report failures and keep the remembered
// folder.
#include <QDir>

#include "catalog/fileerror.h"
#include "document/configdocument.h"
#include "document/documentio.h"
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

// Opens `path` under `name`, reporting a failure under `failure` and every warning of the read.
bool MainDialog::OpenDocument(const std::string& path, const std::string& name,
                              const QString& failure) {
    const auto opened = m_document->Open(path, name);
    if (!opened) {
        ReportFileError(failure, opened.Error());
        return false;
    }
    for (const std::string& warning : *opened) {
        ReportFileError(tr("Not everything in this file could be loaded."),
                        FileError{path, warning});
    }
    return true;
}

void MainDialog::OnFileNew() {
    m_document->New();
}

void MainDialog::OnFileOpen() {
    const QString start = m_openFolder.empty() ? QStringLiteral(".") : ToQt(m_openFolder);
    const std::optional<ChosenFile> chosen = m_services.files.ChooseOpen(this, start);
    if (!chosen) {
        return;
    }
    if (OpenDocument(chosen->path, chosen->name, tr("The document could not be opened."))) {
        m_openFolder = FolderOf(chosen->path);
    }
}

void MainDialog::OnFileSave() {
    // A document that has no file yet gets one through Save As.
    if (m_document->Path().empty()) {
        OnFileSaveAs();
        return;
    }
    if (const Status saved = m_document->Save(CurrentTimeText()); !saved) {
        ReportFileError(tr("The document could not be saved."), saved.Error());
    }
}

// Writes the document under a new name, then reads that file back so the tree shows what was
// written. The remembered folder belongs to Open and stays as it is.
void MainDialog::OnFileSaveAs() {
    const std::optional<ChosenFile> chosen = m_services.files.ChooseSave(this, QStringLiteral("."));
    if (!chosen) {
        return;
    }
    if (const Status saved = m_document->SaveAs(chosen->path, chosen->name, CurrentTimeText());
        !saved) {
        ReportFileError(tr("The document could not be saved."), saved.Error());
        return;
    }
    OpenDocument(chosen->path, chosen->name,
                 tr("The document was saved but could not be read back."));
}

// Ends the program without a question, as the close box does; nothing is saved.
void MainDialog::OnFileExit() {
    done(QDialog::Accepted);
}

}  // namespace tav
