// How the main window follows the document model: the title with its modified mark, the Edit
// menu's Undo and Redo, the editor panel after an undo, and the note after a save.
#include <QAction>
#include <QLabel>
#include <QTime>

#include "document/configdocument.h"
#include "qtbridge/textconv.h"
#include "tree/configtree.h"
#include "ui/editorpanel.h"
#include "ui/filterfield.h"
#include "ui/maindialog.h"
#include "ui/messagereporter.h"

namespace tav {

namespace {

constexpr int kSaveNoteMilliseconds = 5000;

}  // namespace

// The tree listens first (it was made first), so the selection is up to date here.
void MainDialog::WatchDocument() {
    m_listenerId =
        m_document->AddListener([this](const DocumentChange& change) { OnDocumentChange(change); });
    m_statusTimer.setSingleShot(true);
    m_statusTimer.setInterval(kSaveNoteMilliseconds);
    connect(&m_statusTimer, &QTimer::timeout, this, [this] { m_filter->ShowNote(QString()); });
    UpdateTitle();
    UpdateEditActions();
}

void MainDialog::OnDocumentChange(const DocumentChange& change) {
    switch (change.kind) {
        case DocumentChange::Kind::Value:
            FollowValueChange(change.row);
            break;
        case DocumentChange::Kind::Saved:
            ShowSaveNote();
            [[fallthrough]];
        case DocumentChange::Kind::Reset:
        case DocumentChange::Kind::History:
            UpdateTitle();
            UpdateEditActions();
            break;
        default:
            break;
    }
}

// Qt shows "[*]" as "*" while the window is modified, and not at all otherwise; a title without
// a document has no place for the mark.
void MainDialog::UpdateTitle() {
    if (m_document->Name().empty()) {
        setWindowModified(false);
        setWindowTitle(ProgramTitle());
        return;
    }
    setWindowTitle(tr("%1[*] - %2").arg(ToQt(m_document->Name()), ProgramTitle()));

    setWindowModified(m_document->IsModified());
}

void MainDialog::UpdateEditActions() {
    m_undoAction->setEnabled(m_document->CanUndo());
    m_redoAction->setEnabled(m_document->CanRedo());
}

// The panel is filled again only when it shows something else than the document holds (after an
// undo, a redo or a save's stamps): refilling the edit being typed in would move its cursor and
// forget its own undo.
void MainDialog::FollowValueChange(std::uint16_t row) {
    if (static_cast<int>(row) != m_tree->FieldIndexOf() || PanelShowsSelection()) {
        return;
    }
    QWidget* focused = focusWidget();
    OnSelChangedTree();
    // Refilling hides and shows the editors, which would move the focus out of them.
    if (focused != nullptr && focused->isVisible()) {
        focused->setFocus();
    }
}

bool MainDialog::PanelShowsSelection() const {
    const QString value = ToQt(m_tree->SelectedValue());
    switch (m_panel->ShownEditor()) {
        case EditorPanel::Editor::Text:
            return m_panel->Value() == value;
        case EditorPanel::Editor::Boolean:
            // The combo shows True only for the value "True" itself.
            return m_panel->BooleanIsTrue() == (value == QStringLiteral("True"));
        case EditorPanel::Editor::ReplacementEntry: {
            std::string from;
            std::string to;
            m_tree->GetSelectedReplacement(from, to);
            return m_panel->ReplaceText() == ToQt(from) && m_panel->ByText() == ToQt(to);
        }
        default:
            return true;
    }
}

void MainDialog::ShowSaveNote() {
    m_filter->ShowNote(tr("Saved at %1").arg(QTime::currentTime().toString(u"HH:mm:ss")));
    m_statusTimer.start();
}

void MainDialog::OnEditUndo() {
    m_document->Undo();
}

void MainDialog::OnEditRedo() {
    m_document->Redo();
}

}  // namespace tav
