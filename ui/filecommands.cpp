// The File menu of the main window: New, Open, Save, Save As, Recent and Exit, a dropped file,
// the unsaved-changes question before any of them discards the document, and the question about
// an unfinished earlier save before a document is opened. The document model reads and writes
// the file; these handlers choose the file, report failures and keep the remembered folder and
// the recent files.
#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <filesystem>
#include <system_error>

#include "base/fileerror.h"
#include "document/configdocument.h"
#include "document/documentio.h"
#include "qtbridge/textconv.h"
#include "storage/documentfile.h"
#include "storage/leftovers.h"
#include "tree/configtree.h"
#include "ui/filechooser.h"
#include "ui/maindialog.h"
#include "ui/messagereporter.h"
#include "ui/workfeedback.h"

namespace tav {

namespace {

// The folder of `path` in the platform's notation, without a trailing separator. A path whose
// only separator is its first character (or that has none) is kept whole.
std::string NativeFolderOf(const std::string& path) {
    const QString native = QDir::toNativeSeparators(ToQt(path));
    const qsizetype cut = native.lastIndexOf(QDir::separator());
    return FromQt(cut > 0 ? native.left(cut) : native);
}

// The local .tac file a drag carries, or an empty string when it carries anything else (also
// more than one file).
QString DraggedDocument(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return {};
    }
    const QUrl url = data->urls().constFirst();
    const QString path = url.toLocalFile();
    const bool isDocument =
        url.isLocalFile() && QFileInfo(path).suffix().compare(u"tac", Qt::CaseInsensitive) == 0;
    return isDocument ? path : QString();
}

}  // namespace

// Opens `path` under `name`, reporting a failure under `failure` and every warning of the read.
bool MainDialog::OpenDocument(const std::string& path, const std::string& name,
                              const QString& failure) {
    const auto opened = [&] {
        const WorkFeedback busy(this, tr("Opening %1…").arg(ToQt(name)));
        return m_document->Open(path, name);
    }();
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

bool MainDialog::MayDiscardDocument() {
    if (!m_document->IsModified()) {
        return true;
    }
    switch (m_services.messages.AskToSaveChanges(this, ToQt(m_document->Name()))) {
        case SaveAnswer::Save:
            return SaveDocument();
        case SaveAnswer::Discard:
            return true;
        case SaveAnswer::Cancel:
            break;
    }
    return false;
}

void MainDialog::OnFileNew() {
    if (MayDiscardDocument()) {
        m_document->New();
    }
}

void MainDialog::OnFileOpen() {
    if (!MayDiscardDocument()) {
        return;
    }
    const QString start = m_openFolder.empty() ? QStringLiteral(".") : ToQt(m_openFolder);
    if (const std::optional<ChosenFile> chosen = m_services.files.ChooseOpen(this, start)) {
        OpenChosenFile(chosen->path, chosen->name);
    }
}

bool MainDialog::OpenFile(const std::string& path) {
    if (!MayDiscardDocument()) {
        return false;
    }
    return OpenChosenFile(path, FromQt(QFileInfo(ToQt(path)).fileName()));
}

// Every open of a file the user names (Open, a recent file, a dropped file, the command line)
// comes here; reading a document back or again after a save does not.
bool MainDialog::OpenChosenFile(const std::string& path, const std::string& name) {
    if (!SettleUnfinishedSave(path, name) ||
        !OpenDocument(path, name, tr("The document could not be opened."))) {
        return false;
    }
    m_openFolder = NativeFolderOf(path);
    m_recent.Add(path);
    UpdateRecentMenu();
    return true;
}

// When an earlier save of the document at `path` stopped part-way through writing the file in
// place, the user chooses between the complete content it left in its copy and the file as it
// is, before the document is read. Returns whether the document may be opened now.
bool MainDialog::SettleUnfinishedSave(const std::string& path, const std::string& name) {
    const Expected<Leftovers> found = FindLeftovers(path);
    // A document that cannot be looked at is reported by the read that follows.
    if (!found || !found->Unfinished()) {
        return true;
    }
    const LeftoverAnswer answer = m_services.messages.AskAboutUnfinishedSave(
        this, ToQt(name), QDir::toNativeSeparators(ToQt(found->copy)));
    if (answer == LeftoverAnswer::Cancel) {
        return false;
    }
    const bool restore = answer == LeftoverAnswer::Restore;
    const Status settled = [&] {
        const WorkFeedback busy(this,
                                (restore ? tr("Restoring %1…") : tr("Opening %1…")).arg(ToQt(name)),
                                DocumentWrite{ToQt(name)});
        return restore ? RestoreLeftoverCopy(path) : DiscardLeftoverCopy(path);
    }();
    if (!settled) {
        ReportFileError(restore
                            ? tr("The complete content could not be restored; nothing was opened.")
                            : tr("The copy could not be removed; nothing was opened."),
                        settled.Error());
        return false;
    }
    return true;
}

void MainDialog::OnFileRecent(int index) {
    if (index >= 0 && index < static_cast<int>(m_recent.Paths().size())) {
        // A copy: opening puts the path first, which reorders the list.
        const std::string path = m_recent.Paths()[index];
        // Open itself would start a new document under a name that is not there; a file on the
        // list is one the user had, so its going is news.
        std::error_code error;
        if (std::filesystem::status(path, error).type() == std::filesystem::file_type::not_found) {
            if (m_services.messages.AskToForgetMissingFile(this,
                                                           QDir::toNativeSeparators(ToQt(path)))) {
                m_recent.Remove(path);
                UpdateRecentMenu();
            }
            return;
        }
        OpenFile(path);
    }
}

void MainDialog::SetRecentFiles(const std::vector<std::string>& paths) {
    m_recent.Assign(paths);
    UpdateRecentMenu();
}

void MainDialog::UpdateRecentMenu() {
    const std::vector<std::string>& paths = m_recent.Paths();
    for (int i = 0; i < m_recentActions.size(); ++i) {
        QAction* action = m_recentActions[i];
        const bool used = i < static_cast<int>(paths.size());
        action->setVisible(used);
        // "&" would mark a shortcut letter; the number before the path is the shortcut.
        action->setText(
            used ? QStringLiteral("&%1 %2").arg(i + 1).arg(
                       QDir::toNativeSeparators(ToQt(paths[i])).replace(u'&', QStringLiteral("&&")))
                 : QString());
    }
}

void MainDialog::OnFileSave() {
    SaveDocument();
}

bool MainDialog::SaveDocument() {
    // A document that has no file yet gets one through Save As.
    if (m_document->Path().empty()) {
        return SaveDocumentAs();
    }
    // Usually the file holds what this document last read or wrote: it is then read once, and
    // written. Otherwise the user looks at the other writer's changes first.
    const Expected<bool> written = [&] {
        const WorkFeedback busy(this, tr("Saving %1…").arg(ToQt(m_document->Name())),
                                DocumentWrite{ToQt(m_document->Name())});
        return m_document->SaveIfUnchangedOnDisk(CurrentTimeText());
    }();
    if (!written) {
        ReportFileError(tr("The document could not be saved."), written.Error());
        return false;
    }
    if (*written) {
        return true;
    }
    // The file's bytes as checked are let go before the save reads the file again.
    if (!SaveMayGoOn()) {
        return false;
    }
    const Status saved = [&] {
        const WorkFeedback busy(this, tr("Saving %1…").arg(ToQt(m_document->Name())),
                                DocumentWrite{ToQt(m_document->Name())});
        return m_document->Save(CurrentTimeText());
    }();
    if (!saved) {
        ReportFileError(tr("The document could not be saved."), saved.Error());
        return false;
    }
    return true;
}

// Whether the save may write: when someone else changed the file, after the user's answer. A
// removed file is simply written again.
bool MainDialog::SaveMayGoOn() {
    const Expected<ConfigDocument::DiskState> disk = [&] {
        const WorkFeedback busy(this, tr("Reading %1…").arg(ToQt(m_document->Name())));
        return m_document->CheckDisk();
    }();
    if (!disk) {
        ReportFileError(tr("The document could not be saved."), disk.Error());
        return false;
    }
    if (disk->changed && !disk->deleted) {
        return ResolveDiskChanges(disk->bytes.View()) == DiskOutcome::Save;
    }
    return true;
}

void MainDialog::OnFileSaveAs() {
    SaveDocumentAs();
}

// A document with a file is saved beside it; a new one where Open would start.
QString MainDialog::SaveAsFolder() const {
    if (!m_document->Path().empty()) {
        return ToQt(NativeFolderOf(m_document->Path()));
    }
    return m_openFolder.empty() ? QStringLiteral(".") : ToQt(m_openFolder);
}

// Writes the document under a new name, then reads that file back so the tree shows what was
// written. The remembered folder belongs to Open and stays as it is.
bool MainDialog::SaveDocumentAs() {
    const std::optional<ChosenFile> chosen = m_services.files.ChooseSave(this, SaveAsFolder());
    if (!chosen) {
        return false;
    }
    if (const Status saved =
            [&] {
                const WorkFeedback busy(this, tr("Saving %1…").arg(ToQt(chosen->name)),
                                        DocumentWrite{ToQt(chosen->name)});
                return m_document->SaveAs(chosen->path, chosen->name, CurrentTimeText());
            }();
        !saved) {
        ReportFileError(tr("The document could not be saved."), saved.Error());
        return false;
    }
    m_recent.Add(chosen->path);
    UpdateRecentMenu();
    OpenDocument(chosen->path, chosen->name,
                 tr("The document was saved but could not be read back."));
    return true;
}

void MainDialog::OnFileExit() {
    if (MayDiscardDocument()) {
        done(QDialog::Accepted);
    }
}

void MainDialog::reject() {
    if (MayDiscardDocument()) {
        QDialog::reject();
    }
}

void MainDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (!DraggedDocument(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainDialog::dropEvent(QDropEvent* event) {
    const QString path = DraggedDocument(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    OpenFile(FromQt(path));
}

}  // namespace tav
