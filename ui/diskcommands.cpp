// Changes made to the open document's file by someone else: the notice while the document is open,
// and the question a save asks (Merge, Overwrite, Reload, Cancel).
#include <QDir>

#include "document/configdocument.h"
#include "qtbridge/textconv.h"
#include "ui/disknotice.h"
#include "ui/diskquestions.h"
#include "ui/filewatcher.h"
#include "ui/maindialog.h"
#include "ui/messagereporter.h"

namespace tav {

namespace {

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

}  // namespace

void MainDialog::CreateDiskWatch() {
    if (m_services.watcher != nullptr) {
        connect(m_services.watcher, &FileWatcher::fileChanged, this,
                &MainDialog::OnFileChangedOnDisk);
    }
    WatchDocumentFile();
}

void MainDialog::WatchDocumentFile() {
    const QString path = ToQt(m_document->Path());
    if (m_services.watcher != nullptr && path != m_watchedPath) {
        m_services.watcher->Watch(path);
    }
    m_watchedPath = path;
}

// Told while the document is open: says so without taking the focus from the user's typing.
// The program's own saves change the file too; they are not someone else's.
void MainDialog::OnFileChangedOnDisk() {
    const Expected<ConfigDocument::DiskState> disk = m_document->CheckDisk();
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
        connect(m_diskNotice, &DiskNotice::reloadRequested, this, &MainDialog::OnReloadFromDisk);
    }
    m_diskNotice->ShowFor(ToQt(m_document->Name()), disk->deleted);
    PlaceDiskNotice();
}

void MainDialog::OnReloadFromDisk() {
    const std::string path = m_document->Path();
    const std::string name = m_document->Name();
    if (MayDiscardDocument()) {
        OpenDocument(path, name, tr("The document could not be read again."));
    }
}

// Asked before a save writes over a file someone else changed since it was read or saved.
MainDialog::DiskOutcome MainDialog::ResolveDiskChanges(std::string_view diskBytes) {
    const DiskComparison comparison = m_document->CompareWithDisk(diskBytes);
    const std::vector<DiskConflict> conflicts = ConflictsOf(*m_document, comparison);
    DiskDecision decision;
    if (m_services.disk != nullptr) {
        decision = m_services.disk->AskHowToSave(this, ToQt(m_document->Name()), conflicts);
    } else if (conflicts.empty()) {
        decision.answer = DiskDecision::Answer::Merge;
    } else {
        m_services.messages.ShowWarning(
            this, tr("%1 was changed on the disk, also where you made changes; it was not saved.")
                      .arg(ToQt(m_document->Name())));
    }
    switch (decision.answer) {
        case DiskDecision::Answer::Merge:
            for (const std::string& warning :
                 m_document->MergeDisk(diskBytes, ChoicesOf(comparison, decision.takeTheirs))) {
                ReportFileError(tr("Not everything in this file could be loaded."),
                                FileError{m_document->Path(), warning});
            }
            return DiskOutcome::Save;
        case DiskDecision::Answer::Overwrite:
            return DiskOutcome::Save;
        case DiskDecision::Answer::Reload:
            OpenDocument(m_document->Path(), m_document->Name(),
                         tr("The document could not be read again."));
            return DiskOutcome::Reloaded;
        case DiskDecision::Answer::Cancel:
            break;
    }
    return DiskOutcome::Cancelled;
}

// Along the bottom of the client area, over the tree, as high as its text needs.
void MainDialog::PlaceDiskNotice() {
    if (m_diskNotice == nullptr) {
        return;
    }
    const int height = m_diskNotice->sizeHint().height();
    m_diskNotice->setGeometry(0, std::max(0, m_client->height() - height), m_client->width(),
                              height);
}

}  // namespace tav
