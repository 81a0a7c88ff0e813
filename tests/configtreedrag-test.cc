#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "treetestutil.h"

namespace {

using tav::ConfigTree;
using tavtest::TreeFixture;
using tavtest::TreeItem;

// Section A (ordered) holds P, Q, R, S, all ordered, and the unordered U after them; section B
// (ordered) holds X and Y.
struct DragFixture : TreeFixture {
    DragFixture()
        : TreeFixture("1,A,Y,Alpha,SN,2\n2,B,Y,Beta,SN,3\n",
                      "P,P,C,Y,1\nQ,Q,C,Y,1\nR,R,C,Y,1\nS,S,C,Y,1\nU,U,C,N,1\nX,X,C,Y,2\n"
                      "Y,Y,C,Y,2\n") {
        for (const TreeItem& section : {Item("Alpha"), Item("Beta")}) {
            section.setExpanded(true);
        }
        tree->show();
    }

    QPoint Centre(const TreeItem& item) const { return tree->ItemRect(item).center(); }

    // Presses `button` on `from`, moves over each point of `path`, releases at the last one.
    void Drag(const TreeItem& from, const std::vector<QPoint>& path,
              Qt::MouseButton button = Qt::LeftButton, Qt::MouseButton release = Qt::NoButton) {
        QWidget* viewport = tree->viewport();
        QTest::mousePress(viewport, button, {}, Centre(from));
        for (const QPoint& point : path) {
            QTest::mouseMove(viewport, point);
        }
        QTest::mouseRelease(viewport, release == Qt::NoButton ? button : release, {},
                            path.empty() ? Centre(from) : path.back());
    }
    // The item of field `name`, or, for a name that is no field, the item whose text starts so.
    TreeItem F(const std::string& name) const {
        return name.size() == 1 ? Item(name + " = ") : Item(name);
    }
    void DragOnto(const char* from, const char* to, Qt::MouseButton button = Qt::LeftButton) {
        Drag(F(from), {Centre(F(to))}, button);
    }
    std::vector<std::string> Alpha() const { return Children(Item("Alpha")); }
};

TreeItem Highlight(const DragFixture& t) {
    return {t.tree.get(), t.tree->DropHighlightIndex()};
}

struct DropCase {
    const char* from;
    const char* to;
    std::vector<std::string> order;
};

TEST(DragDropTest, DroppedItemLandsRightBeforeItsTarget) {
    const DropCase cases[] = {
        {"S", "Q", {"P", "S", "Q", "R", "U"}},
        {"S", "P", {"S", "P", "Q", "R", "U"}},
        {"P", "R", {"Q", "P", "R", "S", "U"}},
        {"P", "Q", {"P", "Q", "R", "S", "U"}},  // re-created in its old place
    };
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        for (const auto& c : cases) {
            DragFixture t;
            t.tree->SetCurrentIndex(t.F(c.from));  // the press then changes no selection
            QSignalSpy reports(t.tree.get(), &ConfigTree::selectionReported);
            std::string reportedLabel;
            QObject::connect(t.tree.get(), &ConfigTree::selectionReported, [&] {
                const int field = t.tree->FieldIndexOf();
                reportedLabel =
                    field < 0 ? "?" : t.doc->Row(static_cast<std::uint16_t>(field)).label;
            });
            t.DragOnto(c.from, c.to, button);
            EXPECT_EQ(t.Alpha(), c.order) << c.from << " on " << c.to << " button " << button;
            EXPECT_EQ(reports.count(), 1) << "the moved item is selected inside the drop";
            EXPECT_EQ(reportedLabel, c.from);
            EXPECT_EQ(tav::FromQt(t.Current().text()).substr(0, 1), c.from);
            EXPECT_FALSE(t.tree->IsDragging());
            EXPECT_FALSE(t.tree->DropHighlightIndex().isValid());
            EXPECT_EQ(t.tree->DragImage(), nullptr);
        }
    }
}

TEST(DragDropTest, RefusedDropsChangeNothing) {
    struct Refusal {
        const char* name;
        const char* from;
        const char* over;  // nullptr: empty space below the items
    };
    const Refusal cases[] = {
        {"sectionItem", "Q", "Alpha"}, {"unorderedField", "Q", "U"}, {"itself", "Q", "Q"},
        {"otherSection", "Q", "X"},    {"root", "Q", "File : ["},
    };
    for (const auto& c : cases) {
        DragFixture t;
        t.DragOnto(c.from, c.over);
        EXPECT_EQ(t.Alpha(), (std::vector<std::string>{"P", "Q", "R", "S", "U"})) << c.name;
        EXPECT_EQ(TreeFixture::Children(t.Item("Beta")), (std::vector<std::string>{"X", "Y"}));
        EXPECT_FALSE(t.tree->IsDragging());
        EXPECT_FALSE(t.tree->DropHighlightIndex().isValid());
    }
}

TEST(DragDropTest, HighlightFollowsTheLastItemAndEmptySpaceKeepsIt) {
    DragFixture t;
    QWidget* viewport = t.tree->viewport();
    const QPoint empty(10, t.tree->viewport()->height() - 5);
    ASSERT_FALSE(t.tree->IndexAt(empty).isValid());
    QTest::mousePress(viewport, Qt::LeftButton, {}, t.Centre(t.F("S")));
    QTest::mouseMove(viewport, t.Centre(t.F("P")));
    ASSERT_TRUE(t.tree->IsDragging());
    EXPECT_EQ(Highlight(t), t.F("P"));
    ASSERT_NE(t.tree->DragImage(), nullptr);
    EXPECT_TRUE(t.tree->DragImage()->isVisible());
    EXPECT_EQ(t.tree->DragImage()->pos(), t.Centre(t.F("P")));
    QTest::mouseMove(viewport, t.Centre(t.Item("Alpha")));
    EXPECT_EQ(Highlight(t), t.F("S")) << "not accepted: the dragged item";
    QTest::mouseMove(viewport, t.Centre(t.F("Q")));
    QTest::mouseMove(viewport, empty);
    EXPECT_EQ(Highlight(t), t.F("Q")) << "empty space keeps the target";
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, empty);
    EXPECT_EQ(t.Alpha(), (std::vector<std::string>{"P", "S", "Q", "R", "U"}));
}

TEST(DragDropTest, OnlyOrderedFieldsStartADrag) {
    for (const char* from : {"U", "Alpha", "File : [", "Parameters"}) {
        DragFixture t;
        QWidget* viewport = t.tree->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, t.Centre(t.F(from)));
        QTest::mouseMove(viewport, t.Centre(t.F("P")));
        EXPECT_FALSE(t.tree->IsDragging()) << from;
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, t.Centre(t.F("P")));
        EXPECT_EQ(t.Alpha(), (std::vector<std::string>{"P", "Q", "R", "S", "U"}));
    }
}

TEST(DragDropTest, EitherButtonEndsADragAndReleaseBeforeAnyTargetRefuses) {
    DragFixture right;
    right.Drag(right.F("S"), {right.Centre(right.F("P"))}, Qt::RightButton, Qt::LeftButton);
    EXPECT_EQ(right.Alpha(), (std::vector<std::string>{"S", "P", "Q", "R", "U"}));

    DragFixture early;
    const QPoint empty(10, early.tree->viewport()->height() - 5);
    early.Drag(early.F("S"), {empty});
    EXPECT_EQ(early.Alpha(), (std::vector<std::string>{"P", "Q", "R", "S", "U"}));
}

TEST(DragDropTest, SaveAfterADropWritesTheNewOrderList) {
    DragFixture t;
    t.DragOnto("S", "P");
    t.DragOnto("R", "Q");
    const std::string path = t.dir.File("order.tac");
    ASSERT_TRUE(tavtest::SaveFileAs(*t.doc, path, "saved.tac", "now"));
    const std::string saved = tavtest::ReadFile(path);
    EXPECT_EQ(saved.rfind(tavtest::Crlf("[A]\nOrder=S,P,R,Q\nS=\nP=\nR=\nQ=\nU=\n"), 0), 0u)
        << saved;
    ASSERT_TRUE(tavtest::OpenFile(*t.doc, path, "order.tac"));
    t.tree->BuildTree();
    t.Item("Alpha").setExpanded(true);
    EXPECT_EQ(t.Alpha(), (std::vector<std::string>{"S", "P", "R", "Q", "U"}));
}

}  // namespace
