// Drag-and-drop reordering of ordered fields. The gesture is the tree's own, driven by its mouse
// events, so that either button can drag and the drop goes to the target chosen by the last move;
// what may be dropped where, and the move itself, are the model's (ConfigTreeModel's mimeData,
// canDropMimeData and dropMimeData).
#include <QApplication>
#include <QLabel>
#include <QMimeData>
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
    QTreeView::mousePressEvent(event);
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
        QTreeView::mouseMoveEvent(event);  // hover only; dragging never moves the selection
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
    QTreeView::mouseReleaseEvent(event);
    if (rightClick) {
        ShowContextMenu(event->position().toPoint());
    }
}

void ConfigTree::OnBeginDrag(const QPoint& pressPos) {
    const QModelIndex index = IndexAt(pressPos);
    m_dragData.reset(m_model->mimeData({index}));
    if (m_dragData == nullptr) {
        return;  // not an ordered field
    }
    m_dragIndex = index;
    m_dropTarget = QPersistentModelIndex();
    m_dragging = true;

    // The drag image: the item's icon and text, its top-left corner at the pointer.
    m_dragImage = new QLabel(viewport());
    const QString text = index.data(Qt::DisplayRole).toString();
    const QSize iconSize = this->iconSize();
    QFontMetrics metrics(font());
    QPixmap pixmap(iconSize.width() + 4 + metrics.horizontalAdvance(text) + 2,
                   std::max(iconSize.height(), metrics.height()));
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        index.data(Qt::DecorationRole)
            .value<QIcon>()
            .paint(&painter, QRect(QPoint(0, 0), iconSize));
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

void ConfigTree::OnMouseMove(const QPoint& pos) {
    m_dragImage->move(pos);
    const QModelIndex index = IndexAt(pos);
    if (!index.isValid()) {
        return;  // over empty space the previous target stays
    }
    const bool accepted = m_model->canDropMimeData(m_dragData.get(), Qt::MoveAction, -1, -1, index);
    m_dropTarget = accepted ? QPersistentModelIndex(index) : m_dragIndex;
    viewport()->update();
}

void ConfigTree::FinishDrag() {
    if (!m_dragging) {
        return;
    }
    const QPersistentModelIndex dragged = m_dragIndex;  // follows the move
    const bool moved =
        m_dropTarget.isValid() && m_dropTarget != m_dragIndex &&
        m_model->dropMimeData(m_dragData.get(), Qt::MoveAction, -1, -1, m_dropTarget);
    EndDrag();
    if (!moved) {
        QApplication::beep();
        return;
    }
    // The dropped item is selected and reported, as a drop always has.
    if (dragged == m_current) {
        ShowCurrent();
        ReportSelection();
    } else {
        SetCurrentIndex(dragged);
    }
}

void ConfigTree::EndDrag() {
    delete m_dragImage;
    m_dragImage = nullptr;
    m_dragData.reset();
    m_dragging = false;
    m_dragIndex = QPersistentModelIndex();
    m_dropTarget = QPersistentModelIndex();
    viewport()->update();
}

void ConfigTree::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    if (m_dropTarget.isValid() && ToModel(index) == m_dropTarget) {
        QColor color = palette().color(QPalette::Highlight);
        color.setAlpha(110);
        painter->fillRect(option.rect, color);
        painter->setPen(palette().color(QPalette::Highlight));
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
    QTreeView::drawRow(painter, option, index);
}

}  // namespace tav
