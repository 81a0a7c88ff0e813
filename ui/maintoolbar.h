// The strip of image buttons along the top of the main window: New, Open, Save, a gap, Help.
#pragma once

#include <QToolBar>

class QAction;

namespace tav {

// The main window's actions the toolbar shows; the menu shows the same objects.
struct ToolBarActions {
    QAction* newDocument = nullptr;
    QAction* open = nullptr;
    QAction* save = nullptr;
    QAction* help = nullptr;
};

class MainToolBar final : public QToolBar {
    Q_OBJECT

public:
    // Indent of the first button from the left edge of the window's band, in pixels.
    static constexpr int kIndent = 5;

    // Gives each action its button image (shown on the toolbar only, not in the menu) and adds
    // them as buttons without tooltips, each with an accessible name. The window's layout places
    // it.
    MainToolBar(const ToolBarActions& actions, QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddButton(QAction* action, const char* image, const QString& name);
};

}  // namespace tav
