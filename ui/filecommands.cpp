// How a save works, from the click to the flush (the storage's part is in
// document/documentstorage.cpp):
// 1. File > Save (or Save in the unsaved-changes question) calls Save here. A document without a
//    file goes to SaveAs, which asks for a name and saves the whole document there.
// 2. Save makes one request of the storage: the whole document, only if the file is unchanged
//    since this document read or wrote it, under a wait cursor (and, for a long write or a wait
//    for another program's lock, progress and the lock notice: WorkFeedback).
// 3. When someone else changed the file, the storage asks AskAboutDiskChange with the bytes it
//    read: the feedback ends, the one question service (DiskQuestions) shows the settings both
//    sides changed, and its answer goes back to the storage, which merges and writes, writes,
//    or writes nothing (Reload reads the file again here).
// 4. The storage writes under the file's lock (temporary file, fsync, rename, folder fsync) and
//    the model tells its listeners: the tree and the window show the result, and the save note.
#include "ui/filecommands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <filesystem>
#include <optional>
#include <system_error>

#include "base/fileerror.h"
#include "document/configdocument.h"
#include "document/documentstorage.h"
#include "qtbridge/textconv.h"
#include "storage/documentfile.h"
#include "storage/leftovers.h"
#include "ui/disknotice.h"
#include "ui/diskquestions.h"
#include "ui/filechooser.h"
#include "ui/filewatcher.h"
#include "ui/messagereporter.h"
#include "ui/workfeedback.h"

namespace tav {

namespace {

// The folder Open remembers for `path`, in the platform's notation: the text before the last
// separator when that stands after the first character, otherwise the whole path. This is the
// rule the stored setting has always followed, not FolderOf's: a file in the root folder (or a
// bare name) keeps its whole path.
std::string RememberedFolderOf(const std::string& path) {
    const QString native = QDir::toNativeSeparators(ToQt(path));
    const qsizetype cut = native.lastIndexOf(QDir::separator());
    return FromQt(cut > 0 ? native.left(cut) : native);
}

// The settings both sides changed, as the question lists them.
std::vector<DiskConflict> ConflictsOf(const ConfigDocument& document,
                                      const DiskComparison& comparison) {
    std::vector<DiskConflict> conflicts;
    const Catalogues& defs = document.Defs();
    for (std::size_t i = 0; i < comparison.conflictRows.size(); ++i) {
        const std::uint16_t row = comparison.conflictRows[i];
        const SectionDef* section = defs.sections.RowForId(document.Row(row).sectionId);
        const std::string where = section == nullptr ? std::string() : section->label + "\\";
        conflicts.push_back(DiskConflict{ToQt(where + document.Label(row)),
                                         ToQt(document.Value(row)),
                                         ToQt(comparison.conflictTheirValues[i])});
    }
    if (comparison.entriesConflict) {
        conflicts.push_back(DiskConflict{QObject::tr("The list of string replacements"),
                                         QObject::tr("as edited here"),
                                         QObject::tr("as in the file")});
    }
    for (const std::size_t s : comparison.conflictOrders) {
        conflicts.push_back(
            DiskConflict{QObject::tr("The order of %1").arg(ToQt(defs.sections[s].label)),
                         QObject::tr("as edited here"), QObject::tr("as in the file")});
    }
    return conflicts;
}

// The choices of a merge: the conflicts the user gave to the file, in the order of ConflictsOf.
DiskChoices ChoicesOf(const DiskComparison& comparison, const std::vector<bool>& takeTheirs) {
    DiskChoices choices;
    std::size_t i = 0;
    const auto next = [&] { return i < takeTheirs.size() && takeTheirs[i++]; };
    for (const std::uint16_t row : comparison.conflictRows) {
        if (next()) {
            choices.rows.insert(row);
        }
    }
    if (comparison.entriesConflict) {
        choices.entries = next();
    }
    for (const std::size_t s : comparison.conflictOrders) {
        if (next()) {
            choices.orders.insert(s);
        }
    }
    return choices;
}

DiskResolution::Answer ResolutionOf(DiskDecision::Answer answer) {
    switch (answer) {
        case DiskDecision::Answer::Merge:
            return DiskResolution::Answer::Merge;
        case DiskDecision::Answer::Overwrite:
            return DiskResolution::Answer::Overwrite;
        case DiskDecision::Answer::Reload:
            return DiskResolution::Answer::Reload;
        case DiskDecision::Answer::Cancel:
            break;
    }
    return DiskResolution::Answer::Cancel;
}

}  // namespace

FileCommands::FileCommands(QWidget* window, QWidget* client, QList<QAction*> recentActions,
                           std::string openFolder, FileCommandServices services)
    : m_window(window),
      m_client(client),
      m_recentActions(std::move(recentActions)),
      m_openFolder(std::move(openFolder)),
      m_services(services) {
    if (m_services.watcher != nullptr) {
        connect(m_services.watcher, &FileWatcher::fileChanged, this,
                &FileCommands::OnFileChangedOnDisk);
    }
    m_listenerId = m_services.document.AddListener(
        [this](const DocumentChange& change) { OnDocumentChange(change); });
    WatchDocumentFile();
}

FileCommands::~FileCommands() {
    m_services.document.RemoveListener(m_listenerId);
}

void FileCommands::ReportFileError(const QString& what, const FileError& error) {
    m_services.messages.ShowWarning(m_window, FileErrorText(what, error));
}

// --- Opening -----------------------------------------------------------------------------------

// Opens `path` under `name`, reporting a failure under `failure` and every warning of the read.
bool FileCommands::OpenDocument(const std::string& path, const std::string& name,
                                const QString& failure) {
    const auto opened = [&] {
        const WorkFeedback busy(m_window, tr("Opening %1…").arg(ToQt(name)));
        return m_services.storage.Open(path, name);
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

bool FileCommands::MayDiscardDocument() {
    if (!m_services.document.IsModified()) {
        return true;
    }
    switch (m_services.messages.AskToSaveChanges(m_window, ToQt(m_services.document.Name()))) {
        case SaveAnswer::Save:
            return Save();
        case SaveAnswer::Discard:
            return true;
        case SaveAnswer::Cancel:
            break;
    }
    return false;
}

void FileCommands::New() {
    if (MayDiscardDocument()) {
        m_services.storage.New();
    }
}

void FileCommands::Open() {
    if (!MayDiscardDocument()) {
        return;
    }
    const QString start = m_openFolder.empty() ? QStringLiteral(".") : ToQt(m_openFolder);
    if (const std::optional<ChosenFile> chosen = m_services.files.ChooseOpen(m_window, start)) {
        OpenChosenFile(chosen->path, chosen->name);
    }
}

bool FileCommands::OpenFile(const std::string& path) {
    if (!MayDiscardDocument()) {
        return false;
    }
    return OpenChosenFile(path, FromQt(QFileInfo(ToQt(path)).fileName()));
}

// Every open of a file the user names (Open, a recent file, a dropped file, the command line)
// comes here; reading a document back or again after a save does not.
bool FileCommands::OpenChosenFile(const std::string& path, const std::string& name) {
    if (!SettleUnfinishedSave(path, name) ||
        !OpenDocument(path, name, tr("The document could not be opened."))) {
        return false;
    }
    m_openFolder = RememberedFolderOf(path);
    m_recent.Add(path);
    UpdateRecentMenu();
    return true;
}

// When an earlier save of the document at `path` stopped part-way through writing the file in
// place, the user chooses between the complete content it left in its copy and the file as it
// is, before the document is read. Returns whether the document may be opened now.
bool FileCommands::SettleUnfinishedSave(const std::string& path, const std::string& name) {
    const Expected<Leftovers> found = FindLeftovers(path);
    // A document that cannot be looked at is reported by the read that follows.
    if (!found || !found->Unfinished()) {
        return true;
    }
    const LeftoverAnswer answer = m_services.messages.AskAboutUnfinishedSave(
        m_window, ToQt(name), QDir::toNativeSeparators(ToQt(found->copy)));
    if (answer == LeftoverAnswer::Cancel) {
        return false;
    }
    const bool restore = answer == LeftoverAnswer::Restore;
    const Status settled = [&] {
        const WorkFeedback busy(m_window,
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

void FileCommands::OpenRecent(int index) {
    if (index >= 0 && index < static_cast<int>(m_recent.Paths().size())) {
        // A copy: opening puts the path first, which reorders the list.
        const std::string path = m_recent.Paths()[index];
        // Open itself would start a new document under a name that is not there; a file on the
        // list is one the user had, so its going is news.
        std::error_code error;
        if (std::filesystem::status(path, error).type() == std::filesystem::file_type::not_found) {
            if (m_services.messages.AskToForgetMissingFile(m_window,
                                                           QDir::toNativeSeparators(ToQt(path)))) {
                m_recent.Remove(path);
                UpdateRecentMenu();
            }
            return;
        }
        OpenFile(path);
    }
}

void FileCommands::SetRecentFiles(const std::vector<std::string>& paths) {
    m_recent.Assign(paths);
    UpdateRecentMenu();
}

void FileCommands::UpdateRecentMenu() {
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

QString FileCommands::DraggedDocument(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return {};
    }
    const QUrl url = data->urls().constFirst();
    const QString path = url.toLocalFile();
    const bool isDocument =
        url.isLocalFile() && QFileInfo(path).suffix().compare(u"tac", Qt::CaseInsensitive) == 0;
    return isDocument ? path : QString();
}

// --- Saving ------------------------------------------------------------------------------------

bool FileCommands::Save() {
    ConfigDocument& document = m_services.document;
    // A document that has no file yet gets one through Save As.
    if (document.Path().empty()) {
        return SaveAs();
    }
    const QString name = ToQt(document.Name());
    // The feedback belongs to the storage's reading and writing, not to the question between.
    std::optional<WorkFeedback> busy;
    busy.emplace(m_window, tr("Saving %1…").arg(name), DocumentWrite{name});
    SaveRequest request;
    request.condition = SaveRequest::Condition::IfUnchanged;
    request.onChanged = [&](const DiskChange& change) {
        busy.reset();
        const DiskResolution resolution = AskAboutDiskChange(change);
        if (resolution.answer == DiskResolution::Answer::Merge ||
            resolution.answer == DiskResolution::Answer::Overwrite) {
            busy.emplace(m_window, tr("Saving %1…").arg(name), DocumentWrite{name});
        }
        return resolution;
    };
    request.warn = [&](const std::string& warning) {
        busy.reset();
        ReportFileError(tr("Not everything in this file could be loaded."),
                        FileError{document.Path(), warning});
        busy.emplace(m_window, tr("Saving %1…").arg(name), DocumentWrite{name});
    };
    const Expected<SaveOutcome> saved = m_services.storage.Save(request);
    busy.reset();
    if (!saved) {
        ReportFileError(tr("The document could not be saved."), saved.Error());
        return false;
    }
    if (*saved == SaveOutcome::Reload) {
        OpenDocument(document.Path(), document.Name(), tr("The document could not be read again."));
    }
    return *saved == SaveOutcome::Saved;
}

// Asked before a save writes over a file someone else changed since it was read or saved.
DiskResolution FileCommands::AskAboutDiskChange(const DiskChange& change) {
    const ConfigDocument& document = m_services.document;
    const std::vector<DiskConflict> conflicts = ConflictsOf(document, change.comparison);
    DiskDecision decision;
    if (m_services.disk != nullptr) {
        decision = m_services.disk->AskHowToSave(m_window, ToQt(document.Name()), conflicts);
    } else if (conflicts.empty()) {
        decision.answer = DiskDecision::Answer::Merge;
    } else {
        m_services.messages.ShowWarning(
            m_window,
            tr("%1 was changed on the disk, also where you made changes; it was not saved.")
                .arg(ToQt(document.Name())));
    }
    return DiskResolution{ResolutionOf(decision.answer),
                          ChoicesOf(change.comparison, decision.takeTheirs)};
}

// A document with a file is saved beside it; a new one where Open would start.
QString FileCommands::SaveAsFolder() const {
    if (!m_services.document.Path().empty()) {
        return ToQt(RememberedFolderOf(m_services.document.Path()));
    }
    return m_openFolder.empty() ? QStringLiteral(".") : ToQt(m_openFolder);
}

// Writes the document under a new name, then reads that file back so the tree shows what was
// written. The remembered folder belongs to Open and stays as it is.
bool FileCommands::SaveAs() {
    const std::optional<ChosenFile> chosen = m_services.files.ChooseSave(m_window, SaveAsFolder());
    if (!chosen) {
        return false;
    }
    SaveRequest request;
    request.path = chosen->path;
    request.name = chosen->name;
    const Expected<SaveOutcome> saved = [&] {
        const WorkFeedback busy(m_window, tr("Saving %1…").arg(ToQt(chosen->name)),
                                DocumentWrite{ToQt(chosen->name)});
        return m_services.storage.Save(request);
    }();
    if (!saved) {
        ReportFileError(tr("The document could not be saved."), saved.Error());
        return false;
    }
    m_recent.Add(chosen->path);
    UpdateRecentMenu();
    OpenDocument(chosen->path, chosen->name,
                 tr("The document was saved but could not be read back."));
    return true;
}

// --- Changes made on disk by someone else ------------------------------------------------------

void FileCommands::OnDocumentChange(const DocumentChange& change) {
    // Another file, or ours again: what was said about the old one no longer holds.
    if (change.kind == DocumentChange::Kind::Reset || change.kind == DocumentChange::Kind::Saved) {
        if (m_diskNotice != nullptr) {
            m_diskNotice->hide();
        }
        WatchDocumentFile();
    }
}

void FileCommands::WatchDocumentFile() {
    const QString path = ToQt(m_services.document.Path());
    if (m_services.watcher != nullptr && path != m_watchedPath) {
        m_services.watcher->Watch(path);
    }
    m_watchedPath = path;
}

// Told while the document is open: says so without taking the focus from the user's typing.
// The program's own saves change the file too; they are not someone else's.
void FileCommands::OnFileChangedOnDisk() {
    const Expected<DiskState> disk = m_services.storage.CheckDisk();
    if (!disk || !disk->changed) {
        if (m_diskNotice != nullptr) {
            m_diskNotice->hide();
        }
        return;
    }
    // Made the first time it is needed: most sessions never see it.
    if (m_diskNotice == nullptr) {
        m_diskNotice = new DiskNotice(m_client);
        m_diskNotice->setObjectName(QStringLiteral("diskNotice"));
        connect(m_diskNotice, &DiskNotice::reloadRequested, this, &FileCommands::OnReloadFromDisk);
    }
    m_diskNotice->ShowFor(ToQt(m_services.document.Name()), disk->deleted);
    PlaceDiskNotice();
}

void FileCommands::OnReloadFromDisk() {
    const std::string path = m_services.document.Path();
    const std::string name = m_services.document.Name();
    if (MayDiscardDocument()) {
        OpenDocument(path, name, tr("The document could not be read again."));
    }
}

// Along the bottom of the client area, over the tree, as high as its text needs.
void FileCommands::PlaceDiskNotice() {
    if (m_diskNotice == nullptr) {
        return;
    }
    const int height = m_diskNotice->sizeHint().height();
    m_diskNotice->setGeometry(0, std::max(0, m_client->height() - height), m_client->width(),
                              height);
}

}  // namespace tav
