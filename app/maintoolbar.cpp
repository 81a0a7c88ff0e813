#include "maintoolbar.h"

#include <QAction>
#include <QEvent>
#include <QIcon>
#include <QLayout>
#include <algorithm>

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
    AddButton(actions.newDocument, ":/images/tool1-new.svg", tr("New"));
    AddButton(actions.open, ":/images/tool2-open.svg", tr("Open"));
    AddButton(actions.save, ":/images/tool3-save.svg", tr("Save"));
    addSeparator();
    AddButton(actions.help, ":/images/tool4-help.svg", tr("Help"));
    const QSize size = sizeHint();
    setGeometry(kIndent, std::max(0, (kBandHeight - size.height()) / 2), size.width(),
                std::min(size.height(), kBandHeight));
}

void MainToolBar::AddButton(QAction* action, const char* image, const QString& name) {
    action->setIcon(QIcon(QLatin1String(image)));
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
