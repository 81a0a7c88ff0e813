// The filter field in the toolbar band of the main window: what is typed there filters the tree.
#pragma once

#include <QLineEdit>

class QAction;

namespace tav {

class ConfigTree;

class FilterField final : public QLineEdit {
    Q_OBJECT

public:
    // Space between the toolbar and the field, and between the field and the band's right edge.
    static constexpr int kGap = 10;

    // A field in `band` (the window's client area), right of `toolBar` in the band's top
    // MainToolBar::kBandHeight pixels and stretching to kGap before the band's right edge; it
    // places itself now and again whenever `band` is resized. Every change of its text is passed
    // to `tree` (ConfigTree::SetFilter); Escape empties it. `tree` and `toolBar` must outlive it.
    FilterField(ConfigTree& tree, const QWidget& toolBar, QWidget* band);

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
    QAction* m_find = nullptr;
};

}  // namespace tav
