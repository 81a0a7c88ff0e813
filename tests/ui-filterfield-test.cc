// The filter field of the main window: its place in the toolbar band, Ctrl+F, typing and Escape.
#include <QApplication>
#include <QLabel>
#include <QTest>

#include "tree/configtree.h"
#include "ui-fakes.h"
#include "ui/filterfield.h"
#include "ui/maintoolbar.h"

namespace tavtest {
namespace {

using tav::ControlId;

TEST_F(WindowTest, FilterFieldFillsTheBandRightOfTheToolbar) {
    Build();
    auto* field = m_window->findChild<tav::FilterField*>();
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->isVisible());
    EXPECT_EQ(field->parentWidget(), m_window->ClientArea());
    for (const QSize size : {QSize(), QSize(640, 480)}) {
        if (size.isValid()) {
            m_window->resize(size);
        }
        const QRect place = field->geometry();
        EXPECT_GT(place.left(), Control(ControlId::ToolBar)->geometry().right()) << size.width();
        EXPECT_GE(place.top(), 0);
        EXPECT_LT(place.bottom(), tav::MainToolBar::kBandHeight) << "above the path display";
        EXPECT_GT(place.width(), 100) << size.width();
        EXPECT_EQ(place.right(), Control(ControlId::PathDisplay)->geometry().right())
            << "the same right edge as the path display";
    }
}

TEST_F(WindowTest, CtrlFFocusesTheFilterWhichFiltersTheTreeUntilEscape) {
    Build();
    auto* field = m_window->findChild<tav::FilterField*>();
    ASSERT_NE(field, nullptr);
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    Select("Title");
    QTest::keyClick(&Tree(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), field);
    QTest::keyClicks(field, QStringLiteral("BEEP"));
    EXPECT_EQ(Tree().Filter(), QStringLiteral("BEEP"));
    EXPECT_TRUE(Item("Title")->isHidden());
    EXPECT_FALSE(Item("Beep on error")->isHidden());
    EXPECT_EQ(Tree().currentItem(), Item("Title")) << "the selection stays";
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_TRUE(Tree().Filter().isEmpty());
    EXPECT_FALSE(Item("Title")->isHidden());
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_FALSE(Document().IsModified());
}

}  // namespace
}  // namespace tavtest
