// The tree's item model on its own: the drop rules of Qt's drag-and-drop interface, and the signals
// each kind of document change becomes.
#include <gtest/gtest.h>

#include <QFont>
#include <QMimeData>
#include <QSignalSpy>
#include <memory>

#include "testutil.h"
#include "tree/configtreemodel.h"

namespace {

using tav::ConfigTreeModel;
constexpr std::uint16_t kP = 0, kQ = 1, kR = 2, kU = 3, kX = 4, kFirstEntry = 5;

// Alpha holds the ordered P, Q, R and the unordered U; Beta the ordered X; Swaps the entry a.
struct ModelFixture {
    tavtest::TempDir dir;
    std::shared_ptr<tav::ConfigDocument> doc;
    std::unique_ptr<ConfigTreeModel> model;

    ModelFixture() {
        tavtest::WriteFile(dir.File("Sections.txt"),
                           "1,A,Y,Alpha,SN,2\n2,B,Y,Beta,SN,2\n3,S,N,Swaps,SR,2\n");
        tavtest::WriteFile(dir.File("Fields.txt"),
                           "P,P,C,Y,1\nQ,Q,C,Y,1\nR,R,C,Y,1\nU,U,C,N,1\nX,X,C,Y,2\n");
        tavtest::WriteFile(dir.File("d.tac"), "[S]\nr0=a,1\n");
        doc = std::make_shared<tav::ConfigDocument>(
            tav::LoadCatalogues(dir.Path(), [](const tav::FileError&) {}));
        EXPECT_TRUE(tavtest::OpenFile(*doc, dir.File("d.tac"), ""));
        model = std::make_unique<ConfigTreeModel>(doc);
    }
    std::unique_ptr<QMimeData> Dragged(int row) const {
        return std::unique_ptr<QMimeData>(model->mimeData({model->IndexOfRow(row)}));
    }
    std::string Label(int row) const {
        return model->IndexOfRow(row).data().toString().toStdString();
    }
};

TEST(TreeModelDropTest, OnlyOrderedFieldsDragAndDropOntoTheirOwnSection) {
    ModelFixture t;
    for (const int row : {int{kU}, int{kFirstEntry}}) {
        EXPECT_EQ(t.Dragged(row), nullptr) << "row " << row << " does not drag";
        EXPECT_FALSE(t.model->flags(t.model->IndexOfRow(row)) & Qt::ItemIsDragEnabled);
    }
    EXPECT_EQ(t.model->mimeData({t.model->IndexOfSection(0)}), nullptr);
    struct Case {
        const char* name;
        QModelIndex target;
        int row;  // Qt's drop row: -1 is a drop onto `target`
        Qt::DropAction action;
        bool accepted;
    };
    const Case cases[] = {
        {"ordered_field", t.model->IndexOfRow(kP), -1, Qt::MoveAction, true},
        {"itself", t.model->IndexOfRow(kR), -1, Qt::MoveAction, false},
        {"unordered_field", t.model->IndexOfRow(kU), -1, Qt::MoveAction, false},
        {"other_section", t.model->IndexOfRow(kX), -1, Qt::MoveAction, false},
        {"entry", t.model->IndexOfRow(kFirstEntry), -1, Qt::MoveAction, false},
        {"section", t.model->IndexOfSection(0), -1, Qt::MoveAction, false},
        {"between_rows", t.model->IndexOfSection(0), 0, Qt::MoveAction, false},
        {"root", t.model->RootIndex(), -1, Qt::MoveAction, false},
        {"copy", t.model->IndexOfRow(kP), -1, Qt::CopyAction, false},
    };
    const auto dragged = t.Dragged(kR);
    ASSERT_NE(dragged, nullptr);
    for (const Case& c : cases) {
        EXPECT_EQ(t.model->canDropMimeData(dragged.get(), c.action, c.row, 0, c.target), c.accepted)
            << c.name;
        if (!c.accepted) {
            EXPECT_FALSE(t.model->dropMimeData(dragged.get(), c.action, c.row, 0, c.target));
            EXPECT_FALSE(t.doc->CanUndo()) << c.name << " changed the document";
        }
    }
    QMimeData foreign;
    foreign.setText(QStringLiteral("2"));
    EXPECT_FALSE(
        t.model->canDropMimeData(&foreign, Qt::MoveAction, -1, 0, t.model->IndexOfRow(kP)));
}

TEST(TreeModelDropTest, ADropMovesTheItemAndIsOneUndoStep) {
    ModelFixture t;
    QSignalSpy moves(t.model.get(), &QAbstractItemModel::rowsMoved);
    const QPersistentModelIndex r = t.model->IndexOfRow(kR);
    ASSERT_TRUE(
        t.model->dropMimeData(t.Dragged(kR).get(), Qt::MoveAction, -1, 0, t.model->IndexOfRow(kP)));
    EXPECT_EQ(moves.count(), 1);
    EXPECT_EQ(r.row(), 0) << "R went before P";
    EXPECT_EQ(t.model->IndexOfRow(kP).row(), 1);
    ASSERT_TRUE(t.doc->Undo());
    EXPECT_EQ(r.row(), 2);
    EXPECT_EQ(t.model->RowOf(r), kR);
}

TEST(TreeModelFollowTest, EachChangeBecomesItsSignals) {
    ModelFixture t;
    QSignalSpy changed(t.model.get(), &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(t.model.get(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(t.model.get(), &QAbstractItemModel::rowsRemoved);
    QSignalSpy resets(t.model.get(), &QAbstractItemModel::modelReset);
    ASSERT_TRUE(t.doc->SetValue(kQ, "x"));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.front().front().value<QModelIndex>(), t.model->IndexOfRow(kQ));
    EXPECT_EQ(t.Label(kQ), "Q = \"x\"");
    EXPECT_TRUE(t.model->IndexOfRow(kQ).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(t.model->IndexOfRow(kP).data(Qt::FontRole).isValid()) << "unchanged: no font";

    const QPersistentModelIndex first = t.model->IndexOfRow(kFirstEntry);
    ASSERT_TRUE(t.doc->AddEntry("b", "2"));
    ASSERT_TRUE(t.doc->AddEntry("c", "3"));
    EXPECT_EQ(inserted.count(), 2);
    QSignalSpy going(t.model.get(), &ConfigTreeModel::entryAboutToBeRemoved);
    const QPersistentModelIndex last = t.model->IndexOfRow(kFirstEntry + 2);
    ASSERT_TRUE(t.doc->RemoveEntry(kFirstEntry + 1));
    EXPECT_EQ(removed.count(), 1);
    ASSERT_EQ(going.count(), 1);
    EXPECT_EQ(t.model->RowOf(last), kFirstEntry + 1) << "renumbered before the removal is told";
    EXPECT_EQ(t.model->RowOf(first), kFirstEntry);
    EXPECT_EQ(t.Label(kFirstEntry + 1), "String [c] Replaced by [3]");
    EXPECT_EQ(resets.count(), 0) << "no edit rebuilds the items";
    t.doc->New();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(t.model->data(t.model->RootIndex()).toString(), QStringLiteral("File : [none]"));
}

}  // namespace
