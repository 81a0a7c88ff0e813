#include "ui/elidedlabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace tav {

QString ElidedLabel::ShownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width());
}

QSize ElidedLabel::sizeHint() const {
    return minimumSizeHint();
}

QSize ElidedLabel::minimumSizeHint() const {
    // Room for the ellipsis and a character on either side of it.
    const QMargins margins = contentsMargins();
    const int width = fontMetrics().horizontalAdvance(QStringLiteral("W\u2026W")) +
                      2 * (frameWidth() + margin()) + margins.left() + margins.right();
    return {width, QLabel::sizeHint().height()};
}

bool ElidedLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (text().isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), text(), this);
        }
        return true;
    }
    return QLabel::event(event);
}

// QLabel would cut the text at its right end; the frame is still QLabel's own.
void ElidedLabel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(),
                          isEnabled(), ShownText(), foregroundRole());
}

}  // namespace tav
