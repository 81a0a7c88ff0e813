// A one-line label that cuts a text too long for it in the middle, so that both ends of a path
// stay readable; the whole text is its tooltip.
#pragma once

#include <QLabel>

namespace tav {

class ElidedLabel final : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    // text() stays the whole text; this is what the label shows of it at its current width: the
    // text itself when it fits, else its start and end around an ellipsis.
    QString ShownText() const;

    // As high as QLabel, and only a few characters wide: the text is cut to whatever width the
    // label gets, so that a long path never widens the window.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // Shows the whole text as the tooltip, whether or not it is cut.
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tav
