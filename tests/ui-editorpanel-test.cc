// The editor panel: which editor each selection shows, and how user changes reach the document.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <set>

#include "base/textencoding.h"
#include "document/documenttable.h"
#include "qtbridge/textconv.h"
#include "tree/configtree.h"
#include "ui-fakes.h"

namespace tavtest {
namespace {

constexpr const char* kSections =
    "1,Info,N,Information,SN,2\n2,Options,N,Options,OP,3\n3,Replace,N,String replacements,SR,9\n";
constexpr const char* kFields = "Title,Title,C,N,1\nBeep,Beep,B,N,2\nCount,Count,N,N,2\n";
constexpr const char* kDocument =
    "[Info]\nTitle=Front desk\n[Options]\nBeep=1\nCount=7\n[Replace]\nr0=a,b\nr1=c,d\nr2=\n";

class EditorPanelTest : public WindowTest {
protected:
    void SetUp() override { BuildAndOpen(kSections, kFields, kDocument); }

    QString Path() const { return Control<QLabel>(ControlId::PathDisplay)->text(); }
    // Types at the end of the box's text, as after a click behind it (a box filled from the
    // document shows its start, with the cursor there).
    void Type(ControlId id, const QString& text) const {
        Edit(id)->end(false);
        QTest::keyClicks(Edit(id), text);
    }
    // Types one character QTest has no key for, as a keyboard layout that has one sends it.
    void TypeCharacter(ControlId id, QChar c) const {
        if (Edit(id)->cursorPosition() == 0) {
            Edit(id)->end(false);
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(Edit(id), &press);
    }
};

using Editors = std::set<ControlId>;
const Editors kValueEdit = {ControlId::ValueEdit};
const Editors kCombo = {ControlId::ValueCombo};
const Editors kAddRow = {ControlId::ReplaceLabel, ControlId::ReplaceEdit, ControlId::ByLabel,
                         ControlId::ByEdit, ControlId::AddButton};
const Editors kDeleteRow = {ControlId::ReplaceLabel, ControlId::ReplaceEdit, ControlId::ByLabel,
                            ControlId::ByEdit, ControlId::DeleteButton};

TEST_F(EditorPanelTest, EachTypeCodeShowsItsEditorFilledAndThePath) {
    struct Case {
        const char* label;  // nullptr: the root
        Editors editors;
        QString path;
        QString shows;  // the visible editor's text; "from|to" for the replacement row
    };
    // In this order every state is left for every other kind at least once.
    const std::vector<Case> cases = {
        {"Title", kValueEdit, "Information\\Title", "Front desk"},
        {"Beep", kCombo, "Parameters\\Options\\Beep", "True"},
        {"String [a] Replaced by [b]", kDeleteRow,
         "Parameters\\String replacements\\String [a] Replaced by [b]", "a|b"},
        {"String replacements", kAddRow, "Parameters\\String replacements", "|"},
        {"Count", {}, "Parameters\\Options\\Count", ""},  // a type without an editor
        {"Title", kValueEdit, "Information\\Title", "Front desk"},
        {"String [c] Replaced by [d]", kDeleteRow,
         "Parameters\\String replacements\\String [c] Replaced by [d]", "c|d"},
        {"Options", {}, "Parameters\\Options", ""},
        {"Parameters", {}, "Parameters", ""},
        {"Beep", kCombo, "Parameters\\Options\\Beep", "True"},
        {nullptr, {}, "", ""},
    };
    for (const Case& c : cases) {
        const std::string name = c.label == nullptr ? "the root" : c.label;
        if (c.label == nullptr) {
            Tree().SetCurrentIndex(RootItem(Tree()));
        } else {
            Select(c.label);
        }
        EXPECT_EQ(VisibleEditors(), c.editors) << name;
        EXPECT_EQ(Path(), c.path) << name;
        QString shows;
        if (c.editors == kValueEdit) {
            shows = Edit(ControlId::ValueEdit)->text();
        } else if (c.editors == kCombo) {
            shows = Control<QComboBox>(ControlId::ValueCombo)->currentText();
        } else if (!c.editors.empty()) {
            shows = Edit(ControlId::ReplaceEdit)->text() + "|" + Edit(ControlId::ByEdit)->text();
        }
        EXPECT_EQ(shows, c.shows) << name;
    }
}

TEST_F(EditorPanelTest, ComboShowsTheStoredBooleanAndOtherTextsAreRefused) {
    Select("Beep");  // makes the combo box
    const auto* combo = Control<QComboBox>(ControlId::ValueCombo);
    ASSERT_NE(combo, nullptr);
    struct Case {
        std::string value;
        std::string stored;  // a boolean takes only True or False; anything else changes nothing
    };
    const Case cases[] = {
        {"True", "True"}, {"true", "True"}, {"False", "False"}, {"1", "False"}, {"", "False"}};
    for (const auto& c : cases) {
        Select("Beep");
        EXPECT_EQ(static_cast<bool>(Tree().SetSelectedValue(c.value)), c.value == c.stored)
            << c.value;
        Select("Title");
        Select("Beep");
        EXPECT_EQ(combo->currentText(), QString::fromStdString(c.stored)) << c.value;
        EXPECT_EQ(Tree().SelectedValue(), c.stored) << c.value;
    }
}

TEST_F(EditorPanelTest, ComboStoresOnlyTheUsersPick) {
    TreeItem beep = Select("Beep");
    auto* combo = Control<QComboBox>(ControlId::ValueCombo);
    combo->setCurrentIndex(0);  // a program's choice stores nothing
    EXPECT_EQ(Tree().SelectedValue(), "True");
    combo->setCurrentIndex(1);
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(Tree().SelectedValue(), "False");
    EXPECT_EQ(beep.text(), "Beep = \"False\"");
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(Tree().SelectedValue(), "True");
    EXPECT_EQ(beep.text(), "Beep = \"True\"");
}

TEST_F(EditorPanelTest, TypingStoresEveryKeystrokeAndRelabels) {
    TreeItem title = Select("Title");
    QLineEdit* edit = Edit(ControlId::ValueEdit);
    edit->selectAll();
    for (const QString key : {"N", "e", "w"}) {
        QTest::keyClicks(edit, key);
        EXPECT_EQ(tav::ToQt(Tree().SelectedValue()), edit->text());
        EXPECT_EQ(title.text(), "Title = \"" + edit->text() + "\"");
    }
    EXPECT_EQ(Tree().SelectedValue(), "New");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(Tree().SelectedValue(), "Ne");
}

TEST_F(EditorPanelTest, AddTakesBothTextsAndEmptiesTheEdits) {
    Select("String replacements");
    Type(ControlId::ReplaceEdit, "x");
    Type(ControlId::ByEdit, "y");
    EXPECT_EQ(Document().EntryCount(), 2);  // typing only prepares the texts
    Click(ControlId::AddButton);
    EXPECT_TRUE(Item("String [x] Replaced by [y]").IsValid());
    EXPECT_EQ(Edit(ControlId::ReplaceEdit)->text(), "");
    EXPECT_EQ(Edit(ControlId::ByEdit)->text(), "");
    Click(ControlId::AddButton);  // empty texts are not refused
    EXPECT_TRUE(Item("String [] Replaced by []").IsValid());
    EXPECT_EQ(Document().EntryCount(), 4);
    EXPECT_EQ(Tree().SelectedSectionKind(), tav::SectionKind::Replacements);
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(EditorPanelTest, AddToAFullListKeepsTheTextsAndSaysSo) {
    Select("String replacements");
    while (Document().EntryCount() < tav::DocumentTable::kMaxReplacements) {
        Click(ControlId::AddButton);
    }
    Type(ControlId::ReplaceEdit, "kept");
    Click(ControlId::AddButton);
    EXPECT_EQ(Document().EntryCount(), tav::DocumentTable::kMaxReplacements);
    EXPECT_EQ(Edit(ControlId::ReplaceEdit)->text(), "kept");
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_TRUE(m_messages.messages[0].contains("full"));
}

TEST_F(EditorPanelTest, EditingAnEntryStoresBothTexts) {
    TreeItem entry = Select("String [a] Replaced by [b]");
    Type(ControlId::ReplaceEdit, "1");
    EXPECT_EQ(entry.text(), "String [a1] Replaced by [b]");
    Type(ControlId::ByEdit, "2");
    EXPECT_EQ(entry.text(), "String [a1] Replaced by [b2]");
    // Moving between entries changes neither.
    TreeItem other = Select("String [c] Replaced by [d]");
    Select("String [a1] Replaced by [b2]");
    EXPECT_EQ(other.text(), "String [c] Replaced by [d]");
    EXPECT_EQ(entry.text(), "String [a1] Replaced by [b2]");
}

TEST_F(EditorPanelTest, AFromTextTheDocumentCannotStoreStaysInItsBoxWithTheReason) {
    TreeItem entry = Select("String [a] Replaced by [b]");
    Type(ControlId::ReplaceEdit, "\\0447");
    EXPECT_EQ(entry.text(), "String [a\\04] Replaced by [b]") << "the entry keeps its last text";
    EXPECT_EQ(Edit(ControlId::ReplaceEdit)->text(), "a\\0447") << "nothing typed is lost";
    ASSERT_EQ(m_messages.messages.size(), 1u) << "said once, not at every keystroke";
    EXPECT_TRUE(m_messages.messages[0].contains("\\044")) << m_messages.messages[0].toStdString();
    Select("String replacements");
    Type(ControlId::ReplaceEdit, "x\\044");
    Click(ControlId::AddButton);
    EXPECT_EQ(Edit(ControlId::ReplaceEdit)->text(), "x\\044") << "kept for the user to mend";
    EXPECT_EQ(m_messages.messages.size(), 2u);
}

TEST_F(EditorPanelTest, ACharacterTheEncodingCannotHoldIsLeftOutAndTheTypingGoesOn) {
    // The document is plain ASCII, so Windows-1252: "é" is stored as one byte, "Ω" not at all.
    struct Case {
        const char* name;
        const char* item;
        ControlId box;
        std::function<std::string()> stored;
    };
    const Case cases[] = {
        {"value", "Title", ControlId::ValueEdit, [this] { return Document().Row(0).value; }},
        {"replace", "String [a] Replaced by [b]", ControlId::ReplaceEdit,
         [this] { return Document().Entries()[0].from; }},
        {"by", "String [a] Replaced by [b]", ControlId::ByEdit,
         [this] { return Document().Entries()[0].to; }},
    };
    for (const Case& c : cases) {
        SetUp();
        m_messages.messages.clear();
        Select(c.item);
        const std::string start = c.stored();
        TypeCharacter(c.box, QChar(0x00E9));
        TypeCharacter(c.box, QChar(0x03A9));
        ASSERT_EQ(m_messages.messages.size(), 1u) << c.name;
        EXPECT_TRUE(m_messages.messages[0].contains(QStringLiteral(u"\"\u03A9\" (U+03A9)")) &&
                    m_messages.messages[0].contains(QStringLiteral("Windows-1252")))
            << m_messages.messages[0].toStdString();
        Type(c.box, QStringLiteral("x"));
        EXPECT_EQ(c.stored(), start + "\xE9x") << c.name << ": the typing after it is kept";
        EXPECT_EQ(tav::FromQt(Edit(c.box)->text()),
                  tav::DecodeText(c.stored(), Document().Encoding()))
            << c.name << ": the box shows what the document holds";
        EXPECT_EQ(m_messages.messages.size(), 1u) << c.name;
    }
}

TEST_F(EditorPanelTest, AnotherRefusedTextStaysInItsBoxMarkedWithTheReason) {
    Select("String [a] Replaced by [b]");
    Type(ControlId::ReplaceEdit, "\\044");
    QLineEdit* box = Edit(ControlId::ReplaceEdit);
    EXPECT_EQ(box->text(), "a\\044") << "nothing typed is lost";
    EXPECT_TRUE(box->toolTip().contains("\\044")) << "the box keeps saying why";
    EXPECT_NE(box->palette().color(QPalette::Text), QPalette().color(QPalette::Text));
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->toolTip(), QString()) << "taken again: the mark goes";
    EXPECT_EQ(box->palette().color(QPalette::Text), QPalette().color(QPalette::Text));
}

TEST_F(EditorPanelTest, ALongTextShowsItsStart) {
    const std::string longText = "Sales department of the front office, second floor";
    const std::string entry = "String [" + longText + "] Replaced by [" + longText + "]";
    Select("String [a] Replaced by [b]");
    ASSERT_TRUE(Tree().ModifySelectedReplacement(longText, longText));
    Select("Title");
    ASSERT_TRUE(Tree().SetSelectedValue(longText));
    for (const auto& [item, box] :
         {std::pair{std::string("Title"), ControlId::ValueEdit},
          std::pair{entry, ControlId::ReplaceEdit}, std::pair{entry, ControlId::ByEdit}}) {
        Select("String replacements");  // away and back: the box is filled anew
        Select(item);
        QLineEdit* edit = Edit(box);
        EXPECT_EQ(tav::FromQt(edit->text()), longText) << item;
        EXPECT_EQ(edit->cursorPosition(), 0) << item << ": the start shows, not the end";
    }
}

TEST_F(EditorPanelTest, DeleteRemovesTheEntryAndFollowsTheNewSelection) {
    Select("String [a] Replaced by [b]");
    Click(ControlId::DeleteButton);
    EXPECT_EQ(Document().EntryCount(), 1);
    // The tree selects the next entry; the panel shows that one.
    EXPECT_EQ(CurrentItem(Tree()).text(), "String [c] Replaced by [d]");
    EXPECT_EQ(Path(), "Parameters\\String replacements\\String [c] Replaced by [d]");
    EXPECT_EQ(VisibleEditors(), kDeleteRow);
    EXPECT_EQ(Edit(ControlId::ReplaceEdit)->text() + "|" + Edit(ControlId::ByEdit)->text(), "c|d");
}

}  // namespace
}  // namespace tavtest
