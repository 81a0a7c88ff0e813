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
    // Space between the toolbar and the field, and between the field and the band's right edge.
    static constexpr int kGap = 10;
    // The least width of the note, also while it is hidden.
    static constexpr int kNoteMinimumWidth = 20;

    // A field in `band` (the window's client area), right of `toolBar` in the band's top
    // MainToolBar::kBandHeight pixels and stretching to kGap before the band's right edge, or
    // before the note while one shows; it places itself and `note` now and again whenever `band`
    // is resized. Every change of its text is passed to `tree` (ConfigTree::SetFilter); Escape
    // empties it. `tree`, `toolBar` and `note` (a label in `band`) must outlive it.
    FilterField(ConfigTree& tree, const QWidget& toolBar, QLabel* note, QWidget* band);

    // Shows `text` in the note at the band's right end, the field giving it room, so that the
    // note is never covered; an empty text hides the note and gives the field its room back.
    void ShowNote(const QString& text);

    // The Find action (Ctrl+F), active anywhere in the field's window: it puts the keyboard focus
    // into the field and selects its text.
    QAction* FindAction() const { return m_find; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();
    void OnFind();

    ConfigTree& m_tree;
    const QWidget& m_toolBar;
    QLabel* m_note;
    QAction* m_find = nullptr;
};

}  // namespace tav
