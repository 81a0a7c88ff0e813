#include "filterfield.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <algorithm>

#include "maintoolbar.h"
#include "tree/configtree.h"

namespace tav {

FilterField::FilterField(ConfigTree& tree, const QWidget& toolBar, QWidget* band)
    : QLineEdit(band), m_tree(tree), m_toolBar(toolBar) {
    setObjectName(QStringLiteral("filterField"));
    setPlaceholderText(tr("Find (Ctrl+F)"));
    setAccessibleName(tr("Find"));
    setClearButtonEnabled(true);
    m_find = new QAction(tr("Find"), this);
    m_find->setShortcut(QKeySequence::Find);
    m_find->setShortcutContext(Qt::WindowShortcut);
    addAction(m_find);
    connect(m_find, &QAction::triggered, this, &FilterField::OnFind);
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_tree.SetFilter(text); });
    band->installEventFilter(this);
    Place();
}

void FilterField::Place() {
    const int x = m_toolBar.geometry().right() + 1 + kGap;
    const int height = std::min(sizeHint().height(), MainToolBar::kBandHeight);
    setGeometry(x, (MainToolBar::kBandHeight - height) / 2,
                std::max(0, parentWidget()->width() - kGap - x), height);
}

bool FilterField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        Place();
    }
    return QLineEdit::eventFilter(watched, event);
}

void FilterField::OnFind() {
    setFocus(Qt::ShortcutFocusReason);
    selectAll();
}

// Escape empties the field (and so shows the whole tree) instead of reaching the window.
void FilterField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        clear();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace tav
