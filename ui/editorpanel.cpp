// The editor panel of the main window: the band between the path display and the tree that shows
// the one editor fitting the selected item and passes every user change straight to the tree.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <algorithm>
#include <array>

#include "base/textencoding.h"
#include "qtbridge/textconv.h"
#include "tree/configtree.h"
#include "ui/maindialog.h"
#include "ui/messagereporter.h"

namespace tav {

namespace {

constexpr const char* kBoolean = "B";
constexpr const char* kText = "C";
constexpr const char* kReplacementSection = "SR";
constexpr const char* kReplacementEntry = "RFS";
// Combo entry 1 is "True"; the list is fixed.
constexpr int kTrueEntry = 1;

// Takes out of `edit` the characters `encoding` cannot hold, keeping the cursor after the same
// typing; true when any went. The box then shows what the document can take.
bool DropUnencodable(QLineEdit* edit, TextEncoding encoding) {
    const QString text = edit->text();
    const int cursor = edit->cursorPosition();
    QString kept;
    int keptCursor = cursor;
    for (int at = 0; at < text.size();) {
        const int length = text[at].isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(at, length);
        if (EncodeText(FromQt(character), encoding)) {
            kept += character;
        } else if (at < cursor) {
            keptCursor -= length;
        }
        at += length;
    }
    if (kept.size() == text.size()) {
        return false;
    }
    edit->setText(kept);
    edit->setCursorPosition(keptCursor);
    return true;
}

// Fills `edit` with a text from the document, showing its start: a text longer than the box
// would otherwise show its end ("ales department").
void ShowFromStart(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    edit->setCursorPosition(0);
}

// Shows on `edit` itself, for as long as it holds a text the document did not take, why not.
void MarkRefused(QLineEdit* edit, const QString& reason) {
    edit->setToolTip(reason);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, reason.isEmpty() ? QPalette().color(QPalette::Text)
                                                      : QColor(Qt::red).darker(130));
    edit->setPalette(palette);
}

}  // namespace

// Only the user's own changes reach the handlers (textEdited, activated), so filling the editors
// from the tree never writes back into the document.
void MainDialog::ConnectEditorPanel() {
    connect(m_valueCombo, &QComboBox::activated, this, &MainDialog::OnSelChangeValueCombo);
    connect(m_valueEdit, &QLineEdit::textEdited, this, &MainDialog::OnChangeValueEdit);
    connect(m_replaceEdit, &QLineEdit::textEdited, this, &MainDialog::OnChangeReplaceEdit);
    connect(m_byEdit, &QLineEdit::textEdited, this, &MainDialog::OnChangeByEdit);
    connect(m_addButton, &QPushButton::clicked, this, &MainDialog::OnAddReplacement);
    connect(m_deleteButton, &QPushButton::clicked, this, &MainDialog::OnDeleteReplacement);
}

void MainDialog::ShowEditorFor(const std::string& type) {
    const bool editable = type == kBoolean || type == kText || type == kReplacementSection ||
                          type == kReplacementEntry;
    if (m_valueEdit == nullptr) {
        if (!editable) {
            return;  // no editor made yet, none to hide
        }
        CreateEditorPanel();
    }
    const std::array<QWidget*, 8> editors = {m_valueCombo,  m_valueEdit,   m_replaceLabel,
                                             m_replaceEdit, m_byLabel,     m_byEdit,
                                             m_addButton,   m_deleteButton};
    for (QWidget* editor : editors) {
        editor->hide();
    }
    if (type == kBoolean) {
        m_valueCombo->show();
        // The stored value stays as it is ("true", "1"...) until the user picks an entry.
        m_valueCombo->setCurrentIndex(m_tree->SelectedValue() == "True" ? kTrueEntry : 0);
    } else if (type == kText) {
        m_valueEdit->show();
        ShowFromStart(m_valueEdit, ToQt(m_tree->SelectedValue()));
    } else if (type == kReplacementSection || type == kReplacementEntry) {
        ShowReplacementRow(type == kReplacementEntry);
    }
}

void MainDialog::ShowReplacementRow(bool forEntry) {
    for (QWidget* control :
         {static_cast<QWidget*>(m_replaceLabel), static_cast<QWidget*>(m_replaceEdit),
          static_cast<QWidget*>(m_byLabel), static_cast<QWidget*>(m_byEdit)}) {
        control->show();
    }
    (forEntry ? m_deleteButton : m_addButton)->show();
}

void MainDialog::OnSelChangedTree() {
    m_refusalShown = false;
    if (m_valueEdit != nullptr) {
        for (QLineEdit* edit : {m_valueEdit, m_replaceEdit, m_byEdit}) {
            MarkRefused(edit, QString());
        }
    }
    m_pathDisplay->setText(ToQt(m_tree->SelectedPath()));
    const std::string type = m_tree->SelectedType();
    ShowEditorFor(type);
    if (type == kReplacementSection) {
        m_replaceEdit->clear();
        m_byEdit->clear();
    } else if (type == kReplacementEntry) {
        std::string from;
        std::string to;
        m_tree->GetSelectedReplacement(from, to);
        ShowFromStart(m_replaceEdit, ToQt(from));
        ShowFromStart(m_byEdit, ToQt(to));
    }
}

void MainDialog::OnSelChangeValueCombo(int index) {
    // True and False are all a boolean takes, and every encoding holds them.
    static_cast<void>(m_tree->SetSelectedValue(index == kTrueEntry ? "True" : "False"));
}

void MainDialog::OnChangeValueEdit(const QString& text) {
    const Status set = m_tree->SetSelectedValue(FromQt(text));
    if (!set && DropUnencodable(m_valueEdit, m_document->Encoding())) {
        TellLeftOut(set);
        ReportRefusal(m_tree->SetSelectedValue(FromQt(m_valueEdit->text())),
                      tr("The value was not changed: %1."), {m_valueEdit});
        return;
    }
    ReportRefusal(set, tr("The value was not changed: %1."), {m_valueEdit});
}

// A character the document's encoding cannot hold is taken out of the box at once, and the rest
// of the typing goes on into the document; said each time.
void MainDialog::TellLeftOut(const Status& refused) {
    m_services.messages.ShowWarning(
        this, tr("Left out of the text: %1.").arg(ToQt(refused.Error().reason)));
}

// Any other text the document refuses stays in its box, so nothing typed or pasted is lost; the
// field keeps its last value. Said once in a message, and on the box (in red, with the reason as
// its tooltip) until a text is taken again or the selection moves.
void MainDialog::ReportRefusal(const Status& status, const QString& message,
                               std::initializer_list<QLineEdit*> edits) {
    const QString reason = status ? QString() : message.arg(ToQt(status.Error().reason));
    for (QLineEdit* edit : edits) {
        MarkRefused(edit, reason);
    }
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
            m_tree->AddReplacement(FromQt(m_replaceEdit->text()), FromQt(m_byEdit->text()));
        !added) {
        // The texts stay in the edits, so nothing the user typed is lost.
        m_services.messages.ShowWarning(
            this, tr("The string replacement was not added: %1.").arg(ToQt(added.Error().reason)));
        return;
    }
    m_replaceEdit->clear();
    m_byEdit->clear();
}

void MainDialog::OnDeleteReplacement() {
    // The tree selects another item and reports it; the panel follows from there.
    m_tree->DeleteSelectedReplacement();
}

// While the replacement section is selected, typing only prepares the texts for Add.
void MainDialog::OnChangeReplaceEdit() {
    if (m_tree->SelectedType() != kReplacementEntry) {
        return;
    }
    const auto modify = [this] {
        return m_tree->ModifySelectedReplacement(FromQt(m_replaceEdit->text()),
                                                 FromQt(m_byEdit->text()));
    };
    const Status modified = modify();
    const TextEncoding encoding = m_document->Encoding();
    // Both boxes lose what the encoding cannot hold (no short-circuit: each is cleaned).
    if (!modified && (static_cast<int>(DropUnencodable(m_replaceEdit, encoding)) |
                      static_cast<int>(DropUnencodable(m_byEdit, encoding))) != 0) {
        TellLeftOut(modified);
        ReportRefusal(modify(), tr("The string replacement was not changed: %1."),
                      {m_replaceEdit, m_byEdit});
        return;
    }
    ReportRefusal(modified, tr("The string replacement was not changed: %1."),
                  {m_replaceEdit, m_byEdit});
}

void MainDialog::OnChangeByEdit() {
    OnChangeReplaceEdit();
}

}  // namespace tav
