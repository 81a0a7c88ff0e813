// The filter field of the main window: its place in the toolbar band, Ctrl+F, typing and Escape.
#include <QApplication>
#include <QTest>

#include "tree/configtree.h"
#include "ui-fakes.h"
#include "ui/filterfield.h"

namespace tavtest {
namespace {

TEST_F(WindowTest, FilterFieldFillsTheBandAndFiltersTheTreeFromCtrlFUntilEscape) {
    Build();
    auto* field = m_window->findChild<tav::FilterField*>();
    ASSERT_NE(field, nullptr);
    const QRect place = field->geometry();
    EXPECT_GT(place.left(), Control(ControlId::ToolBar)->geometry().right());
    EXPECT_GE(place.top(), 0);
    EXPECT_LT(place.bottom(), Control(ControlId::PathDisplay)->geometry().top())
        << "above the path display";
    EXPECT_EQ(place.right(), Control(ControlId::PathDisplay)->geometry().right());
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    Select("Title");
    QTest::keyClick(&Tree(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), field);
    QTest::keyClicks(field, QStringLiteral("BEEP"));
    EXPECT_TRUE(Item("Title").isHidden());
    EXPECT_FALSE(Item("Beep on error").isHidden());
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_FALSE(Item("Title").isHidden());
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(CurrentItem(Tree()), Item("Title"));
}

}  // namespace
}  // namespace tavtest
