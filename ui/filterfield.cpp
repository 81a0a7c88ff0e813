#include "ui/filterfield.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>

#include "tree/configtree.h"

namespace tav {

FilterField::FilterField(ConfigTree& tree, QLabel* note, QWidget* parent)
    : QLineEdit(parent), m_tree(tree), m_note(note) {
    setObjectName(QStringLiteral("filterField"));
    setPlaceholderText(tr("Find (Ctrl+F)"));
    setAccessibleName(tr("Find"));
    setAccessibleDescription(tr("Shows only the settings whose label or value holds the text"));
    setClearButtonEnabled(true);
    // The clear button Qt adds is a tool button without a text: named for screen readers.
    for (QToolButton* button : findChildren<QToolButton*>()) {
        button->setAccessibleName(tr("Clear"));
        button->setAccessibleDescription(tr("Empties the Find box and shows every setting"));
    }
    m_find = new QAction(tr("Find"), this);
    m_find->setShortcut(QKeySequence::Find);
    m_find->setShortcutContext(Qt::WindowShortcut);
    addAction(m_find);
    connect(m_find, &QAction::triggered, this, &FilterField::OnFind);
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_tree.SetFilter(text); });
    m_note->hide();
}

void FilterField::ShowNote(const QString& text) {
    m_note->setText(text);
    m_note->setVisible(!text.isEmpty());
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
