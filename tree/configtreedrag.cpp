// Drag-and-drop reordering of ordered fields, driven by the tree's own mouse events so that
// either button can drag and the drop goes to the target chosen by the last move.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "tree/configtree.h"

namespace tav {

void ConfigTree::mousePressEvent(QMouseEvent* event) {
    if (m_dragging) {
        return;  // a second button during a drag changes nothing; its release ends the drag
    }
    m_pressButtons = event->buttons();
    m_pressPos = event->position().toPoint();
    QTreeWidget::mousePressEvent(event);
}

void ConfigTree::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (!m_dragging && (event->buttons() & (Qt::LeftButton | Qt::RightButton)) &&
        m_pressButtons != Qt::NoButton &&
        (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        m_pressButtons = Qt::NoButton;  // one drag attempt per press
        OnBeginDrag(m_pressPos);
    }
    if (m_dragging) {
        OnMouseMove(pos);
        return;
    }
    if (event->buttons() == Qt::NoButton) {
        QTreeWidget::mouseMoveEvent(event);  // hover only; dragging never moves the selection
    }
}

void ConfigTree::mouseReleaseEvent(QMouseEvent* event) {
    // A right click that started no drag attempt opens the context menu.
    const bool rightClick =
        event->button() == Qt::RightButton && (m_pressButtons & Qt::RightButton) && !m_dragging;
    m_pressButtons = Qt::NoButton;
    if (m_dragging) {
        FinishDrag();
        return;
    }
    QTreeWidget::mouseReleaseEvent(event);
    if (rightClick) {
        ShowContextMenu(event->position().toPoint());
    }
}

void ConfigTree::OnBeginDrag(const QPoint& pressPos) {
    QTreeWidgetItem* item = itemAt(pressPos);
    const int field = FieldIndexOf(item);
    if (item == nullptr || field < 0 ||
        m_document->Row(static_cast<std::uint16_t>(field)).orderPos == 0) {
        return;
    }
    m_dragItem = item;
    m_dropTarget = nullptr;
    m_dragging = true;

    // The drag image: the item's icon and text, its top-left corner at the pointer.
    m_dragImage = new QLabel(viewport());
    const QString text = item->text(0);
    const QSize iconSize = this->iconSize();
    QFontMetrics metrics(font());
    QPixmap pixmap(iconSize.width() + 4 + metrics.horizontalAdvance(text) + 2,
                   std::max(iconSize.height(), metrics.height()));
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        item->icon(0).paint(&painter, QRect(QPoint(0, 0), iconSize));
        painter.setPen(palette().color(QPalette::Text));
        painter.setOpacity(0.75);
        painter.drawText(QRect(iconSize.width() + 4, 0, pixmap.width(), pixmap.height()),
                         Qt::AlignVCenter | Qt::AlignLeft, text);
    }
    m_dragImage->setPixmap(pixmap);
    m_dragImage->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_dragImage->resize(pixmap.size());
    m_dragImage->move(pressPos);
    m_dragImage->show();
}

bool ConfigTree::IsDropTarget(const QTreeWidgetItem* item) const {
    // Only an ordered field of the dragged field's own section: a field dropped into another
    // section would be saved there and read back from its own section, losing the edit.
    const int field = FieldIndexOf(item);
    return field >= 0 && m_document->Row(static_cast<std::uint16_t>(field)).orderPos != 0 &&
           item->parent() != nullptr && m_dragItem->parent() != nullptr &&
           item->parent() == m_dragItem->parent();
}

void ConfigTree::OnMouseMove(const QPoint& pos) {
    m_dragImage->move(pos);
    QTreeWidgetItem* item = itemAt(pos);
    if (item == nullptr) {
        return;  // over empty space the previous target stays
    }
    m_dropTarget = IsDropTarget(item) ? item : m_dragItem;
    SetDropHighlight(m_dropTarget);
}

void ConfigTree::FinishDrag() {
    if (!m_dragging) {
        return;
    }
    delete m_dragImage;
    m_dragImage = nullptr;
    if (m_dropTarget == nullptr || m_dropTarget == m_dragItem ||
        IsInSubtree(m_dropTarget, m_dragItem) || m_dropTarget == m_dragItem->parent()) {
        QApplication::beep();
    } else {
        // The document takes the new order; the tree moves its own items, re-creating the dropped
        // one right before the target and selecting it, as a drop always has.
        m_movingItself = true;
        const Status moved =
            m_document->MoveField(static_cast<std::uint16_t>(FieldIndexOf(m_dragItem)),
                                  static_cast<std::uint16_t>(FieldIndexOf(m_dropTarget)));
        m_movingItself = false;
        if (moved) {
            MoveItem(m_dragItem, m_dropTarget);
            delete m_dragItem;
        } else {
            QApplication::beep();
        }
    }
    m_dragging = false;
    m_dragItem = nullptr;
    m_dropTarget = nullptr;
    SetDropHighlight(nullptr);
}

bool ConfigTree::IsInSubtree(const QTreeWidgetItem* item, const QTreeWidgetItem* top) {
    for (; item != nullptr; item = item->parent()) {
        if (item == top) {
            return true;
        }
    }
    return false;
}

void ConfigTree::MoveItem(QTreeWidgetItem* item, QTreeWidgetItem* target) {
    QTreeWidgetItem* parent = target->parent();
    auto* moved = new QTreeWidgetItem();
    moved->setText(0, item->text(0));
    moved->setIcon(0, item->icon(0));
    moved->setFont(0, item->font(0));  // the change mark
    moved->setData(0, ItemTagRole, item->data(0, ItemTagRole));
    parent->insertChild(parent->indexOfChild(target), moved);
    setCurrentItem(moved);
}

void ConfigTree::SetDropHighlight(QTreeWidgetItem* item) {
    m_dropHighlight = QPersistentModelIndex(item == nullptr ? QModelIndex() : indexFromItem(item));
    viewport()->update();
}

QTreeWidgetItem* ConfigTree::DropHighlightItem() const {
    return m_dropHighlight.isValid() ? itemFromIndex(m_dropHighlight) : nullptr;
}

void ConfigTree::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    if (m_dropHighlight.isValid() && index == m_dropHighlight) {
        QColor color = palette().color(QPalette::Highlight);
        color.setAlpha(110);
        painter->fillRect(option.rect, color);
        painter->setPen(palette().color(QPalette::Highlight));
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
    QTreeWidget::drawRow(painter, option, index);
}

}  // namespace tav
