// The main window's side of the editor panel: which editor the tree's selection shows, filled from
// it, and every user change in the panel passed straight to the tree.
#include <QLabel>

#include "base/textencoding.h"
#include "document/configdocument.h"
#include "qtbridge/textconv.h"
#include "tree/configtree.h"
#include "ui/editorpanel.h"
#include "ui/maindialog.h"
#include "ui/messagereporter.h"

namespace tav {

namespace {

// The editor that fits the tree's selection: a field's by its type, the replacement list's for
// its section; no other item is edited.
EditorPanel::Editor EditorFor(const ConfigTree& tree) {
    if (const std::optional<FieldType> type = tree.SelectedFieldType()) {
        switch (*type) {
            case FieldType::Boolean:
                return EditorPanel::Editor::Boolean;
            case FieldType::Text:
                return EditorPanel::Editor::Text;
            case FieldType::Replacement:
                return EditorPanel::Editor::ReplacementEntry;
            case FieldType::Other:
                break;
        }
        return EditorPanel::Editor::None;
    }
    if (tree.SelectedSectionKind() == SectionKind::Replacements) {
        return EditorPanel::Editor::ReplacementList;
    }
    return EditorPanel::Editor::None;
}

}  // namespace

void MainDialog::ConnectEditorPanel() {
    connect(m_panel, &EditorPanel::booleanChosen, this, &MainDialog::OnSelChangeValueCombo);
    connect(m_panel, &EditorPanel::valueEdited, this, &MainDialog::OnChangeValueEdit);
    connect(m_panel, &EditorPanel::replacementEdited, this, &MainDialog::OnChangeReplaceEdit);
    connect(m_panel, &EditorPanel::addClicked, this, &MainDialog::OnAddReplacement);
    connect(m_panel, &EditorPanel::deleteClicked, this, &MainDialog::OnDeleteReplacement);
}

void MainDialog::ShowEditorForSelection() {
    const EditorPanel::Editor editor = EditorFor(*m_tree);
    m_panel->ShowEditor(editor);
    // The value editors are named after the setting they edit (an entry's label is its text).
    if (editor == EditorPanel::Editor::Boolean || editor == EditorPanel::Editor::Text) {
        m_panel->SetSettingName(
            ToQt(m_document->Label(static_cast<std::uint16_t>(m_tree->FieldIndexOf()))));
    }
    if (editor == EditorPanel::Editor::Boolean) {
        // The stored value stays as it is ("true", "1"...) until the user picks an entry.
        m_panel->SetBoolean(m_tree->SelectedValue() == "True");
    } else if (editor == EditorPanel::Editor::Text) {
        m_panel->SetValue(ToQt(m_tree->SelectedValue()));
    }
}

void MainDialog::OnSelChangedTree() {
    m_refusalShown = false;
    m_panel->MarkRefused(EditorPanel::Boxes::Value, QString());
    m_panel->MarkRefused(EditorPanel::Boxes::Replacement, QString());
    m_pathDisplay->setText(ToQt(m_tree->SelectedPath()));
    ShowEditorForSelection();
    const EditorPanel::Editor editor = EditorFor(*m_tree);
    if (editor == EditorPanel::Editor::ReplacementList) {
        m_panel->SetReplacement(QString(), QString());
    } else if (editor == EditorPanel::Editor::ReplacementEntry) {
        std::string from;
        std::string to;
        m_tree->GetSelectedReplacement(from, to);
        m_panel->SetReplacement(ToQt(from), ToQt(to));
    }
}

void MainDialog::OnSelChangeValueCombo(bool isTrue) {
    // True and False are all a boolean takes, and every encoding holds them.
    static_cast<void>(m_tree->SetSelectedValue(isTrue ? "True" : "False"));
}

void MainDialog::OnChangeValueEdit(const QString& text) {
    const Status set = m_tree->SetSelectedValue(FromQt(text));
    if (!set && m_panel->DropUnencodable(EditorPanel::Boxes::Value, m_document->Encoding())) {
        TellLeftOut(set);
        ReportRefusal(m_tree->SetSelectedValue(FromQt(m_panel->Value())),
                      tr("The value was not changed: %1."), EditorPanel::Boxes::Value);
        return;
    }
    ReportRefusal(set, tr("The value was not changed: %1."), EditorPanel::Boxes::Value);
}

// A character the document's encoding cannot hold is taken out of the box at once, and the rest
// of the typing goes on into the document; said each time.
void MainDialog::TellLeftOut(const Status& refused) {
    m_services.messages.ShowWarning(
        this, tr("Left out of the text: %1.").arg(ToQt(refused.Error().reason)));
}

// Any other text the document refuses stays in its box, so nothing typed or pasted is lost; the
// field keeps its last value. Said once in a message, and on the boxes (in red, with the reason as
// their tooltip) until a text is taken again or the selection moves.
void MainDialog::ReportRefusal(const Status& status, const QString& message,
                               EditorPanel::Boxes boxes) {
    const QString reason = status ? QString() : message.arg(ToQt(status.Error().reason));
    m_panel->MarkRefused(boxes, reason);
    if (status) {
        m_refusalShown = false;
        return;
    }
    if (!m_refusalShown) {
        m_refusalShown = true;
        m_services.messages.ShowWarning(this, reason);
    }
}

void MainDialog::OnAddReplacement() {
    if (const Status added =
            m_tree->AddReplacement(FromQt(m_panel->ReplaceText()), FromQt(m_panel->ByText()));
        !added) {
        // The texts stay in the edits, so nothing the user typed is lost.
        m_services.messages.ShowWarning(
            this, tr("The string replacement was not added: %1.").arg(ToQt(added.Error().reason)));
        return;
    }
    m_panel->SetReplacement(QString(), QString());
}

void MainDialog::OnDeleteReplacement() {
    // The tree selects another item and reports it; the panel follows from there.
    m_tree->DeleteSelectedReplacement();
}

// While the replacement section is selected, typing only prepares the texts for Add.
void MainDialog::OnChangeReplaceEdit() {
    if (m_tree->SelectedFieldType() != FieldType::Replacement) {
        return;
    }
    const auto modify = [this] {
        return m_tree->ModifySelectedReplacement(FromQt(m_panel->ReplaceText()),
                                                 FromQt(m_panel->ByText()));
    };
    const Status modified = modify();
    if (!modified &&
        m_panel->DropUnencodable(EditorPanel::Boxes::Replacement, m_document->Encoding())) {
        TellLeftOut(modified);
        ReportRefusal(modify(), tr("The string replacement was not changed: %1."),
                      EditorPanel::Boxes::Replacement);
        return;
    }
    ReportRefusal(modified, tr("The string replacement was not changed: %1."),
                  EditorPanel::Boxes::Replacement);
}

}  // namespace tav
