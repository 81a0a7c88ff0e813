// The filter field in the toolbar band of the main window: what is typed there filters the tree.
#pragma once

#include <QLineEdit>

class QAction;
class QLabel;

namespace tav {

class ConfigTree;

class FilterField final : public QLineEdit {
    Q_OBJECT

public:
    // A field whose every change of text is passed to `tree` (ConfigTree::SetFilter); Escape
    // empties it. `note` is the label beside it that ShowNote fills, hidden until then. `tree`
    // and `note` must outlive it; the window's layout places both.
    FilterField(ConfigTree& tree, QLabel* note, QWidget* parent);

    // Shows `text` in the note, which the layout gives the room its text needs beside the field;
    // an empty text hides the note and gives the field its room back.
    void ShowNote(const QString& text);

    // The Find action (Ctrl+F), active anywhere in the field's window: it puts the keyboard focus
    // into the field and selects its text.
    QAction* FindAction() const { return m_find; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnFind();

    ConfigTree& m_tree;
    QLabel* m_note;
    QAction* m_find = nullptr;
};

}  // namespace tav
