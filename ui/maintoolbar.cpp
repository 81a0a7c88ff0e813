#include "ui/maintoolbar.h"

#include <QAction>
#include <QEvent>
#include <QIcon>
#include <QLayout>

#include "resources/images.h"

namespace tav {

namespace {

constexpr QSize kImageSize(16, 15);

}  // namespace

MainToolBar::MainToolBar(const ToolBarActions& actions, QWidget* parent) : QToolBar(parent) {
    setMovable(false);
    setFloatable(false);
    setIconSize(kImageSize);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    // The layout of a horizontal toolbar reads its margins crosswise, so none is set there: the
    // indent is the toolbar's own place instead.
    layout()->setContentsMargins(0, 0, 0, 0);
    AddButton(actions.newDocument, "tool1-new", tr("New"));
    AddButton(actions.open, "tool2-open", tr("Open"));
    AddButton(actions.save, "tool3-save", tr("Save"));
    addSeparator();
    AddButton(actions.help, "tool4-help", tr("Help"));
}

void MainToolBar::AddButton(QAction* action, const char* image, const QString& name) {
    action->setIcon(ProgramImage(image));
    action->setIconVisibleInMenu(false);
    addAction(action);
    QWidget* button = widgetForAction(action);
    button->setAccessibleName(name);
    button->installEventFilter(this);
}

// The buttons show no tooltips: Qt would otherwise show each action's text.
bool MainToolBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        return true;
    }
    return QToolBar::eventFilter(watched, event);
}

}  // namespace tav
