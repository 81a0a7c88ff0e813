#include "ui/editorpanel.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <algorithm>
#include <initializer_list>
#include <vector>

#include "qtbridge/textconv.h"

namespace tav {

namespace {

// Combo entry 1 is "True"; the list is fixed.
constexpr int kTrueEntry = 1;
// However narrow the window, the Replace and By boxes show this many characters.
constexpr int kLeastBoxCharacters = 9;

// Takes out of `edit` the characters `encoding` cannot hold, keeping the cursor after the same
// typing; true when any went. The box then shows what the document can take.
bool DropFrom(QLineEdit* edit, TextEncoding encoding) {
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

void ShowFromStart(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    edit->setCursorPosition(0);
}

void Mark(QLineEdit* edit, const QString& reason) {
    edit->setToolTip(reason);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, reason.isEmpty() ? QPalette().color(QPalette::Text)
                                                      : QColor(Qt::red).darker(130));
    edit->setPalette(palette);
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

EditorPanel::EditorPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("editorPanel"));
    CreateControls();
    CreateLayout();
    SetLeastBoxWidths();
    ShowEditor(Editor::None);
}

void EditorPanel::SetLeastBoxWidths() {
    for (QLineEdit* box : {m_replaceEdit, m_byEdit}) {
        box->setMinimumWidth(kLeastBoxCharacters * box->fontMetrics().averageCharWidth());
    }
}

void EditorPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        SetLeastBoxWidths();
    }
}

// Made in the order of the band, which is also the order Tab goes through them.
void EditorPanel::CreateControls() {
    m_valueEdit = Named(new QLineEdit(this), "valueEdit");
    m_valueCombo = Named(new QComboBox(this), "valueCombo");
    m_valueCombo->addItems({QStringLiteral("False"), QStringLiteral("True")});
    m_replaceLabel = Named(new QLabel(tr("Replace"), this), "replaceLabel");
    m_replaceEdit = Named(new QLineEdit(this), "replaceEdit");
    m_byLabel = Named(new QLabel(tr("By"), this), "byLabel");
    m_byEdit = Named(new QLineEdit(this), "byEdit");
    m_addButton = Named(new QPushButton(tr("Add"), this), "addButton");
    m_deleteButton = Named(new QPushButton(tr("Delete"), this), "deleteButton");
    m_replaceLabel->setBuddy(m_replaceEdit);
    m_byLabel->setBuddy(m_byEdit);
    DescribeControls();
    // No button is the default: Enter in an edit must neither add nor delete anything.
    for (QPushButton* button : {m_addButton, m_deleteButton}) {
        button->setAutoDefault(false);
    }
    connect(m_valueCombo, &QComboBox::activated, this,
            [this](int index) { emit booleanChosen(index == kTrueEntry); });
    connect(m_valueEdit, &QLineEdit::textEdited, this, &EditorPanel::valueEdited);
    connect(m_replaceEdit, &QLineEdit::textEdited, this, &EditorPanel::replacementEdited);
    connect(m_byEdit, &QLineEdit::textEdited, this, &EditorPanel::replacementEdited);
    connect(m_addButton, &QPushButton::clicked, this, &EditorPanel::addClicked);
    connect(m_deleteButton, &QPushButton::clicked, this, &EditorPanel::deleteClicked);
}

// What a screen reader says beyond a control's name; the value box and the True/False box get
// their names from SetSettingName.
void EditorPanel::DescribeControls() {
    m_valueEdit->setAccessibleDescription(tr("The value of the selected setting"));
    m_valueCombo->setAccessibleDescription(tr("The value of the selected setting: True or False"));
    m_replaceEdit->setAccessibleDescription(tr("The text to be replaced"));
    m_byEdit->setAccessibleDescription(tr("The text it is replaced by"));
    m_addButton->setAccessibleDescription(tr("Adds the string replacement to the list"));
    m_deleteButton->setAccessibleDescription(tr("Deletes the selected string replacement"));
}

// One row: at most one of the value box, the combo and the replacement row shows, and the shown
// one takes the whole width; the Replace and By boxes share what their labels and the button
// leave.
void EditorPanel::CreateLayout() {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_valueEdit, 1);
    row->addWidget(m_valueCombo, 1);
    row->addWidget(m_replaceLabel);
    row->addWidget(m_replaceEdit, 1);
    row->addWidget(m_byLabel);
    row->addWidget(m_byEdit, 1);
    row->addWidget(m_addButton);
    row->addWidget(m_deleteButton);
}

void EditorPanel::ShowEditor(Editor editor) {
    m_shown = editor;
    const bool replacement =
        editor == Editor::ReplacementList || editor == Editor::ReplacementEntry;
    m_valueCombo->setVisible(editor == Editor::Boolean);
    m_valueEdit->setVisible(editor == Editor::Text);
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_replaceLabel, m_replaceEdit, m_byLabel, m_byEdit}) {
        control->setVisible(replacement);
    }
    m_addButton->setVisible(editor == Editor::ReplacementList);
    m_deleteButton->setVisible(editor == Editor::ReplacementEntry);
}

void EditorPanel::SetBoolean(bool isTrue) {
    m_valueCombo->setCurrentIndex(isTrue ? kTrueEntry : 0);
}

void EditorPanel::SetValue(const QString& text) {
    ShowFromStart(m_valueEdit, text);
}

void EditorPanel::SetReplacement(const QString& from, const QString& to) {
    ShowFromStart(m_replaceEdit, from);
    ShowFromStart(m_byEdit, to);
}

void EditorPanel::SetSettingName(const QString& label) {
    m_valueEdit->setAccessibleName(label);
    m_valueCombo->setAccessibleName(label);
}

bool EditorPanel::BooleanIsTrue() const {
    return m_valueCombo->currentIndex() == kTrueEntry;
}

QString EditorPanel::Value() const {
    return m_valueEdit->text();
}

QString EditorPanel::ReplaceText() const {
    return m_replaceEdit->text();
}

QString EditorPanel::ByText() const {
    return m_byEdit->text();
}

std::vector<QLineEdit*> EditorPanel::TextBoxes() const {
    return {m_valueEdit, m_replaceEdit, m_byEdit};
}

bool EditorPanel::DropUnencodable(Boxes boxes, TextEncoding encoding) {
    if (boxes == Boxes::Value) {
        return DropFrom(m_valueEdit, encoding);
    }
    // No short-circuit: each box is cleaned.
    const bool fromReplace = DropFrom(m_replaceEdit, encoding);
    const bool fromBy = DropFrom(m_byEdit, encoding);
    return fromReplace || fromBy;
}

void EditorPanel::MarkRefused(Boxes boxes, const QString& reason) {
    if (boxes == Boxes::Value) {
        Mark(m_valueEdit, reason);
        return;
    }
    Mark(m_replaceEdit, reason);
    Mark(m_byEdit, reason);
}

int EditorPanel::BandHeight() const {
    int height = 0;
    for (const QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        height = std::max(height, control->sizeHint().height());
    }
    return height;
}

// The widest of the three rows at their least, so that showing another editor never makes the
// window grow.
int EditorPanel::LeastWidth() const {
    const auto least = [](const QWidget* control) {
        return std::max(control->minimumSizeHint().width(), control->minimumWidth());
    };
    const int spacing = std::max(0, layout()->spacing());
    const int replacementRow = least(m_replaceLabel) + least(m_replaceEdit) + least(m_byLabel) +
                               least(m_byEdit) +
                               std::max(least(m_addButton), least(m_deleteButton)) + 4 * spacing;
    return std::max({least(m_valueEdit), least(m_valueCombo), replacementRow});
}

QSize EditorPanel::sizeHint() const {
    return {std::max(QWidget::sizeHint().width(), LeastWidth()), BandHeight()};
}

QSize EditorPanel::minimumSizeHint() const {
    return {LeastWidth(), BandHeight()};
}

}  // namespace tav
