#include "ui/filterfield.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <algorithm>

#include "tree/configtree.h"
#include "ui/maintoolbar.h"

namespace tav {

FilterField::FilterField(ConfigTree& tree, const QWidget& toolBar, QLabel* note, QWidget* band)
    : QLineEdit(band), m_tree(tree), m_toolBar(toolBar), m_note(note) {
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
    m_note->hide();
    Place();
}

void FilterField::ShowNote(const QString& text) {
    m_note->setText(text);
    m_note->setVisible(!text.isEmpty());
    Place();
}

void FilterField::Place() {
    const int x = m_toolBar.geometry().right() + 1 + kGap;
    const int height = std::min(sizeHint().height(), MainToolBar::kBandHeight);
    const int y = (MainToolBar::kBandHeight - height) / 2;
    const int right = parentWidget()->width() - kGap;
    // The note keeps the room its text needs (never less than its minimum, never left of the
    // toolbar); the field takes the rest.
    const int noteWidth = std::max(kNoteMinimumWidth, m_note->sizeHint().width());
    const int noteX = std::max(x, right - noteWidth);
    m_note->setGeometry(noteX, y, std::max(kNoteMinimumWidth, right - noteX), height);
    const int fieldRight = m_note->isHidden() ? right : noteX - kGap;
    setGeometry(x, y, std::max(0, fieldRight - x), height);
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
