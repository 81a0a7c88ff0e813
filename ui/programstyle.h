// The application's style: the one Qt would choose (the platform's, or the one named with -style
// or QT_STYLE_OVERRIDE), except that the standard icons of buttons that are hidden when a window
// opens are looked up only when one is first drawn.
//
// Widgets ask their style for these icons while they are built: QMenuBar and QToolBar for the
// extension button that appears only when their items do not fit, QLineEdit for the clear button
// that appears only once the field holds text. Looking one up reads Qt's image files through
// QImageReader, which loads every image-format plugin (and with them QtSvg and libjpeg) to probe
// the file, and on a desktop searches the icon theme. Deferred, none of that happens before the
// user sees the main window; what the buttons show is the base style's own icon, unchanged.
#pragma once

#include <QProxyStyle>

namespace tav {

class ProgramStyle final : public QProxyStyle {
    Q_OBJECT

public:
    // Over the application's default style, created when first needed.
    ProgramStyle();

    // For the icons IsDeferred accepts: an icon that asks the base style for the real one
    // (BaseStandardIcon, with `option`'s direction and `widget` while it exists) when it is first
    // drawn, measured or listed, and then draws exactly as that one. Any other icon: the base
    // style's, at once.
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;

    // The base style's icon, looked up now.
    QIcon BaseStandardIcon(StandardPixmap icon, const QStyleOption* option,
                           const QWidget* widget) const;

    // The extension buttons of tool bars and menu bars and the clear button of line edits.
    static bool IsDeferred(StandardPixmap icon);

private:
    // Set while the base style looks an icon up: should it ask its proxy (this style) for an
    // icon meanwhile, that one is not deferred again.
    mutable bool m_lookingUp = false;
};

}  // namespace tav
