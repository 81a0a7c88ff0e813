// Start-up: what the first window loads, and the program's style, which looks the standard icons
// of hidden buttons up only when they are drawn, yet draws them exactly as the base style does.
#include <link.h>

#include <QApplication>
#include <QImage>
#include <QLibraryInfo>
#include <QPainter>
#include <QStyleOption>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <set>
#include <string>

#include "ui-fakes.h"
#include "ui/filterfield.h"
#include "ui/programstyle.h"

namespace tavtest {
namespace {

// The file names of the shared objects mapped into this process, as the dynamic loader lists them.
std::set<std::string> LoadedObjects() {
    std::set<std::string> names;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            static_cast<std::set<std::string>*>(data)->insert(info->dlpi_name);
            return 0;
        },
        &names);
    return names;
}

// What the first window has no use for: image-format plugins, icon engines and the libraries they
// bring (none of its images is read from a file), and chmlib (it shows no help file).
constexpr const char* kUnneededParts[] = {"/imageformats/", "/iconengines/", "libQt6Svg", "libjpeg",
                                          "libchm"};

bool IsUnneededAtStart(const std::string& path) {
    return std::any_of(std::begin(kUnneededParts), std::end(kUnneededParts),
                       [&path](const char* part) { return path.find(part) != std::string::npos; });
}

bool IsQtPlugin(const std::string& path) {
    return path.starts_with(QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString() + "/");
}

std::set<std::string> Matching(const std::set<std::string>& paths,
                               bool (*test)(const std::string&)) {
    std::set<std::string> found;
    std::copy_if(paths.begin(), paths.end(), std::inserter(found, found.end()), test);
    return found;
}

TEST_F(WindowTest, TheFirstWindowLoadsNoImagePluginIconEngineOrLibraryItDoesNotUse) {
    const std::set<std::string> before = LoadedObjects();
    if (!Matching(before, IsUnneededAtStart).empty()) {
        GTEST_SKIP() << "an earlier test in this process loaded what the first window does not "
                        "use; run this test alone (as ctest does)";
    }
    Build();
    m_window->grab();  // every visible control painted
    const std::set<std::string> after = LoadedObjects();
    EXPECT_EQ(Matching(after, IsUnneededAtStart), std::set<std::string>());
    std::set<std::string> added;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::inserter(added, added.end()));
    EXPECT_EQ(Matching(added, IsQtPlugin), std::set<std::string>());

    // Text in the find field shows its clear button, which then looks its icon up.
    auto* field = m_window->findChild<tav::FilterField*>();
    QTest::keyClicks(field, QStringLiteral("font"));
    auto* clear = field->findChild<QToolButton*>();
    ASSERT_NE(clear, nullptr);
    EXPECT_TRUE(clear->isVisible());
    const auto* style = qobject_cast<const tav::ProgramStyle*>(QApplication::style());
    ASSERT_NE(style, nullptr);
    const QIcon expected = style->BaseStandardIcon(QStyle::SP_LineEditClearButton, nullptr, field);
    EXPECT_FALSE(expected.isNull());
    EXPECT_EQ(clear->icon().pixmap(16).toImage(), expected.pixmap(16).toImage());
}

QImage Painted(const QIcon& icon, QSize size, qreal ratio, QIcon::Mode mode) {
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, QRect(QPoint(0, 0), size), Qt::AlignCenter, mode);
    return image;
}

struct IconCase {
    const char* name;
    QStyle::StandardPixmap icon;
    Qt::LayoutDirection direction;
};

const IconCase kIconCases[] = {
    {"tool bar extension", QStyle::SP_ToolBarHorizontalExtensionButton, Qt::LeftToRight},
    {"tool bar extension, right to left", QStyle::SP_ToolBarHorizontalExtensionButton,
     Qt::RightToLeft},
    {"vertical tool bar extension", QStyle::SP_ToolBarVerticalExtensionButton, Qt::LeftToRight},
    {"clear button", QStyle::SP_LineEditClearButton, Qt::LeftToRight},
    {"not deferred: message box warning", QStyle::SP_MessageBoxWarning, Qt::LeftToRight},
};

TEST(ProgramStyle, DrawsEveryStandardIconAsItsBaseStyleAtEverySizeRatioAndMode) {
    const tav::ProgramStyle style;
    for (const IconCase& c : kIconCases) {
        SCOPED_TRACE(c.name);
        QStyleOption option;
        option.direction = c.direction;
        const QIcon icon = style.standardIcon(c.icon, &option);
        const QIcon base = style.baseStyle()->standardIcon(c.icon, &option);
        ASSERT_FALSE(base.isNull());
        EXPECT_FALSE(icon.isNull());
        EXPECT_EQ(icon.availableSizes(), base.availableSizes());
        for (const QSize size : {QSize(8, 8), QSize(12, 12), QSize(16, 16), QSize(40, 24)}) {
            for (const qreal ratio : {1.0, 1.25, 2.0}) {
                for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active}) {
                    SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height()
                                                    << " at " << ratio << ", mode " << mode);
                    EXPECT_EQ(icon.pixmap(size, ratio, mode).toImage(),
                              base.pixmap(size, ratio, mode).toImage());
                    EXPECT_EQ(Painted(icon, size, ratio, mode), Painted(base, size, ratio, mode));
                }
            }
            EXPECT_EQ(icon.actualSize(size), base.actualSize(size));
        }
    }
}

// The case above would not see a lost direction if both directions drew alike.
TEST(ProgramStyle, TheDirectionTravelsWithTheDeferredIcon) {
    const tav::ProgramStyle style;
    QStyleOption leftToRight;
    QStyleOption rightToLeft;
    rightToLeft.direction = Qt::RightToLeft;
    const auto image = [&style](const QStyleOption& option) {
        return style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, &option)
            .pixmap(16)
            .toImage();
    };
    EXPECT_NE(image(leftToRight), image(rightToLeft));
}

}  // namespace
}  // namespace tavtest
