#include "ui/programstyle.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QStyleOption>
#include <QWidget>
#include <optional>

namespace tav {

namespace {

// An icon that is the base style's standard icon, looked up on its first use. QIcon does its
// device-pixel-ratio arithmetic around its engine, so each call is passed on to the looked-up
// icon in a form that gives its engine the arguments this engine was given.
class DeferredIconEngine final : public QIconEngine {
public:
    DeferredIconEngine(const ProgramStyle& style, QStyle::StandardPixmap icon,
                       const QStyleOption* option, const QWidget* widget)
        : m_style(&style), m_icon(icon), m_widget(widget) {
        if (option != nullptr) {
            // Only the plain part of the option is kept (its direction, state and palette): the
            // widget's own kind of option (a QStyleOptionFrame for a line edit) ends with this
            // call.
            m_option = *option;
            m_option->type = QStyleOption::SO_Default;
            m_option->version = QStyleOption::Version;
            m_option->styleObject = nullptr;
        }
    }

    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }
    QString key() const override { return QStringLiteral("tav.deferred"); }

    // As Qt's pixmap and theme engines draw: the pixmap for `rect` at the device's ratio. (Passed
    // to QIcon::paint, `rect`, already fitted to actualSize by the caller, would be fitted again.)
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const QPaintDevice* device = painter->device();
        const qreal ratio =
            device != nullptr ? device->devicePixelRatio() : qApp->devicePixelRatio();
        painter->drawPixmap(rect, Icon().pixmap(rect.size(), ratio, mode, state));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, 1.0, mode, state);
    }
    // `size` is in device pixels, the logical size times `scale` (rounded); dividing recovers the
    // logical size exactly for any scale of 1 or more, and QIcon multiplies it again.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        const QSize logical(qRound(size.width() / scale), qRound(size.height() / scale));
        return Icon().pixmap(logical, scale, mode, state);
    }
    // QIcon::actualSize would scale `size` by the screen's ratio once more: the size of the
    // pixmap drawn for `size` at ratio 1 is what the engine answers for it.
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, 1.0, mode, state).size();
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    QString iconName() override { return Icon().name(); }
    bool isNull() override { return Icon().isNull(); }

private:
    const QIcon& Icon() {
        if (!m_looked) {
            m_looked = true;
            if (m_style != nullptr) {
                m_lookedUp = m_style->BaseStandardIcon(
                    m_icon, m_option.has_value() ? &*m_option : nullptr, m_widget.data());
            }
        }
        return m_lookedUp;
    }

    QPointer<const ProgramStyle> m_style;
    QStyle::StandardPixmap m_icon;
    std::optional<QStyleOption> m_option;
    QPointer<const QWidget> m_widget;
    bool m_looked = false;
    QIcon m_lookedUp;
};

}  // namespace

ProgramStyle::ProgramStyle() = default;

bool ProgramStyle::IsDeferred(StandardPixmap icon) {
    switch (icon) {
        case SP_ToolBarHorizontalExtensionButton:
        case SP_ToolBarVerticalExtensionButton:
        case SP_LineEditClearButton:
            return true;
        default:
            return false;
    }
}

QIcon ProgramStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                 const QWidget* widget) const {
    if (IsDeferred(icon) && !m_lookingUp) {
        return QIcon(new DeferredIconEngine(*this, icon, option, widget));
    }
    return QProxyStyle::standardIcon(icon, option, widget);
}

QIcon ProgramStyle::BaseStandardIcon(StandardPixmap icon, const QStyleOption* option,
                                     const QWidget* widget) const {
    const bool wasLookingUp = m_lookingUp;
    m_lookingUp = true;
    QIcon found = QProxyStyle::standardIcon(icon, option, widget);
    m_lookingUp = wasLookingUp;
    return found;
}

}  // namespace tav
