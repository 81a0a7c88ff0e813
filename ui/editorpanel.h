// The editor panel of the main window: the band between the path display and the tree that shows
// the one editor fitting the selected item, and tells what the user does in it. It holds no
// document: the window fills it from the tree's selection and passes the user's changes on.
#pragma once

#include <QWidget>
#include <vector>

#include "base/textencoding.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tav {

class EditorPanel final : public QWidget {
    Q_OBJECT

public:
    // What the band shows: nothing, the True/False box, the value box, or the Replace and By boxes
    // with Add (the list of string replacements) or with Delete (one of its entries).
    enum class Editor { None, Boolean, Text, ReplacementList, ReplacementEntry };
    // The boxes a refusal or a clean-up concerns: the value box, or the Replace and By boxes.
    enum class Boxes { Value, Replacement };

    // Builds every control, hidden; the band is as high as its highest control from the start, so
    // the tree below it does not move when another editor shows.
    explicit EditorPanel(QWidget* parent = nullptr);

    // Shows the controls of `editor` and hides every other; the boxes keep their texts.
    void ShowEditor(Editor editor);
    Editor ShownEditor() const { return m_shown; }

    // Fill the boxes as the document holds them, without telling anyone; a text box shows the
    // start of its text (a text longer than the box would otherwise show its end).
    void SetBoolean(bool isTrue);
    void SetValue(const QString& text);
    void SetReplacement(const QString& from, const QString& to);
    // Names the value box and the True/False box after the setting they edit (its label), for
    // screen readers; the boxes' values stay their values.
    void SetSettingName(const QString& label);

    // What the boxes hold now.
    bool BooleanIsTrue() const;
    QString Value() const;
    QString ReplaceText() const;
    QString ByText() const;

    // The value, Replace and By boxes, for the window to route their undo keys.
    std::vector<QLineEdit*> TextBoxes() const;

    // Takes out of `boxes` the characters `encoding` cannot hold, keeping each cursor after the
    // same typing; true when any went, from any of the boxes.
    bool DropUnencodable(Boxes boxes, TextEncoding encoding);
    // Shows on `boxes` themselves why their text was not taken: in red, with `reason` as their
    // tooltip; an empty reason takes the mark away.
    void MarkRefused(Boxes boxes, const QString& reason);

    // As wide as the widest editor needs at least, and as high as the highest control, shown or
    // not.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // A new font gives the Replace and By boxes their least width in its characters.
    void changeEvent(QEvent* event) override;

signals:
    // Only the user's own changes are told (textEdited, activated): filling the panel from the
    // document never writes back into it.
    void booleanChosen(bool isTrue);
    void valueEdited(const QString& text);
    // The text of the Replace or the By box was edited.
    void replacementEdited();
    void addClicked();
    void deleteClicked();

private:
    void CreateControls();
    void DescribeControls();
    void CreateLayout();
    int BandHeight() const;
    int LeastWidth() const;
    void SetLeastBoxWidths();

    QComboBox* m_valueCombo = nullptr;
    QLineEdit* m_valueEdit = nullptr;
    QLabel* m_replaceLabel = nullptr;
    QLineEdit* m_replaceEdit = nullptr;
    QLabel* m_byLabel = nullptr;
    QLineEdit* m_byEdit = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    Editor m_shown = Editor::None;
};

}  // namespace tav
