#include "document/configdocument.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

#include "document/documentrules.h"
#include "document/documentstorage.h"
#include "testutil.h"

namespace {

using tav::ConfigDocument;
using tav::DocumentChange;
using tav::ReplacementEntry;
using Kind = tav::DocumentChange::Kind;
using tavtest::Crlf;

// Rows: 0 Version, 1 Updated, 2 Beep (B), 3 Title, 4 Size (ordered), 5 Font, 6 Colour (ordered B),
// 7 Width (ordered), 8 Other (ordered, another section); entries from row 9.
const char* kSections =
    "1,TACInfo,N,Information,SN,2\n"
    "2,General,N,General,XX,3\n"
    "3,Fonts,Y,Fonts,XX,4\n"
    "4,Replace,N,Replacements,SR,9\n"
    "5,Columns,Y,Columns,XX,5\n";
const char* kFields =
    "Version,Version,C,N,1\n"
    "Updated,Updated,C,N,1\n"
    "Beep,Beep,B,N,2\n"
    "Title,Title,C,N,2\n"
    "Size,Size,C,Y,3\n"
    "Font,Font,C,N,3\n"
    "Colour,Colour,B,Y,3\n"
    "Width,Width,C,Y,3\n"
    "Other,Other,C,Y,5\n";
const char* kDocument =
    "; kept\n[General]\nBeep=1\nTitle=Hello\n[Fonts]\nOrder=Width,Size,Colour\nSize=12\n"
    "[Replace]\nr0=a\\044b,c\nr1=x,y\nr2=\n[Network]\nHost=h\n";
constexpr std::uint16_t kBeep = 2, kTitle = 3, kSize = 4, kFont = 5, kColour = 6, kWidth = 7,
                        kOther = 8, kFirstEntry = 9;
constexpr std::size_t kFonts = 2;

// A document over the catalogues above, recording what its listeners are told.
struct Fixture {
    tavtest::TempDir dir;
    std::string path = dir.File("doc.tac");
    ConfigDocument doc;
    std::string time = "now";  // what the next save stamps
    tav::DocumentStorage storage{doc, [this] { return time; }};
    std::vector<DocumentChange> told;

    explicit Fixture(const std::string& fields = kFields, const std::string& document = kDocument)
        : doc(tav::CataloguesFromText(dir.Path(), kSections, fields)) {
        tavtest::WriteFile(path, document);
        EXPECT_TRUE(storage.Open(path, "doc.tac"));
        doc.AddListener([this](const DocumentChange& change) {
            if (change.kind != Kind::History) {
                told.push_back(change);
            }
        });
    }
    tav::Status Save(const std::string& stamp) {
        time = stamp;
        return tavtest::AsStatus(storage.Save(tavtest::SaveOf()));
    }
    tav::Status SaveAs(const std::string& target, const std::string& name,
                       const std::string& stamp) {
        time = stamp;
        return tavtest::AsStatus(
            storage.Save(tavtest::SaveOf(tav::SaveRequest::Scope::WholeDocument, target, name)));
    }
    tav::Status SaveEditedKeys() {
        return tavtest::AsStatus(
            storage.Save(tavtest::SaveOf(tav::SaveRequest::Scope::EditedKeys)));
    }
    std::vector<Kind> Kinds() const {
        std::vector<Kind> kinds;
        for (const DocumentChange& change : told) {
            kinds.push_back(change.kind);
        }
        return kinds;
    }
};

TEST(ConfigDocumentTest, OpenReadsValuesEntriesAndOrder) {
    Fixture f;
    EXPECT_EQ(f.doc.Row(kBeep).value, "True");
    EXPECT_EQ(f.doc.Row(kTitle).value, "Hello");
    EXPECT_EQ(f.doc.Entries(), (std::vector<ReplacementEntry>{{"a,b", "c"}, {"x", "y"}}));
    EXPECT_EQ(f.doc.Order()[kFonts], (std::vector<std::uint16_t>{kWidth, kSize, kFont, kColour}));
    EXPECT_FALSE(f.doc.IsModified());
    EXPECT_FALSE(f.doc.CanUndo());
}

TEST(ConfigDocumentTest, OpenFailuresChangeNothing) {
    Fixture f;
    ASSERT_TRUE(f.doc.SetValue(kTitle, "Edited"));
    const auto missing =
        f.storage.Open(f.dir.File("none.tac"), "none.tac", tav::MissingFile::IsAnError);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.Error().file, f.dir.File("none.tac"));
    const auto folder = f.storage.Open(f.dir.Path(), "dir");
    ASSERT_FALSE(folder) << "a folder is not a document";
    EXPECT_EQ(f.doc.Row(kTitle).value, "Edited");
    EXPECT_EQ(f.doc.Path(), f.path);
    EXPECT_TRUE(f.doc.CanUndo());

    ASSERT_TRUE(f.storage.Open(f.dir.File("new.tac"), "new.tac")) << "the editor opens it empty";
    EXPECT_EQ(f.doc.Row(kTitle).value, "");
    EXPECT_EQ(f.doc.EntryCount(), 0u);
    EXPECT_FALSE(f.doc.CanUndo()) << "the history belongs to the previous document";
    EXPECT_EQ(f.told.back().kind, Kind::Reset);
}

tav::Status AsStatus(const tav::Expected<std::uint16_t>& added) {
    return added ? tav::Status() : tav::Status(added.Error());
}

TEST(ConfigDocumentTest, EditsAreRefusedWithAReason) {
    struct Case {
        const char* name;
        std::function<tav::Status(ConfigDocument&)> edit;
        const char* reason;
    };
    const Case cases[] = {
        {"boolean takes True/False", [](ConfigDocument& d) { return d.SetValue(kBeep, "1"); },
         "takes True or False"},
        {"entry row is no field", [](ConfigDocument& d) { return d.SetValue(kFirstEntry, "v"); },
         "not a catalogued field"},
        {"field row is no entry", [](ConfigDocument& d) { return d.ModifyEntry(kTitle, "a", "b"); },
         "not a replacement"},
        {"remove a field", [](ConfigDocument& d) { return d.RemoveEntry(kTitle); },
         "not a replacement"},
        {"remove past the rows", [](ConfigDocument& d) { return d.RemoveEntry(11); },
         "not a replacement"},
        {"move an unordered field", [](ConfigDocument& d) { return d.MoveField(kFont, kSize); },
         "ordered field"},
        {"move before an unordered", [](ConfigDocument& d) { return d.MoveField(kSize, kFont); },
         "ordered field"},
        {"move to another section", [](ConfigDocument& d) { return d.MoveField(kSize, kOther); },
         "ordered field"},
        {"move before itself", [](ConfigDocument& d) { return d.MoveField(kSize, kSize); },
         "ordered field"},
        {"add \\044", [](ConfigDocument& d) { return AsStatus(d.AddEntry("C:\\0447", "x")); },
         "cannot hold the characters \\044"},
        {"modify to \\044",
         [](ConfigDocument& d) { return d.ModifyEntry(kFirstEntry, "a\\044", "b"); },
         "read back as a comma"},
    };
    for (const Case& c : cases) {
        Fixture f;
        const tav::Status status = c.edit(f.doc);
        ASSERT_FALSE(status) << c.name;
        EXPECT_NE(status.Error().reason.find(c.reason), std::string::npos)
            << c.name << ": " << status.Error().reason;
        EXPECT_FALSE(f.doc.IsModified()) << c.name;
        EXPECT_TRUE(f.told.empty()) << c.name;
    }
}

TEST(ConfigDocumentTest, TheListHoldsThirteenEntriesAndWhatTheTableHasRoomFor) {
    struct Case {
        std::size_t extraFields;
        std::size_t room;
    };
    for (const Case c : {Case{0, 13}, Case{110, 9}, Case{119, 0}}) {
        std::string fields = kFields;
        for (std::size_t i = 0; i < c.extraFields; ++i) {
            fields += "L,K" + std::to_string(i) + ",C,N,2\n";
        }
        Fixture f(fields);
        const std::size_t before = f.doc.EntryCount();
        while (f.doc.EntryCount() < c.room) {
            ASSERT_TRUE(f.doc.AddEntry("f", "t")) << f.doc.EntryCount();
        }
        const auto refused = f.doc.AddEntry("one", "more");
        ASSERT_FALSE(refused) << c.extraFields;
        EXPECT_NE(refused.Error().reason.find("full"), std::string::npos);
        EXPECT_EQ(f.doc.EntryCount(), std::max(before, c.room));
        EXPECT_LE(f.doc.RowCount(), tav::FieldCatalog::kCapacity);
    }
    tavtest::TempDir dir;
    ConfigDocument noList(
        tav::CataloguesFromText(dir.Path(), "1,General,N,General,XX,3\n", "Beep,Beep,B,N,1\n"));
    EXPECT_FALSE(noList.AddEntry("a", "b")) << "no section holds a replacement list";
}

TEST(ConfigDocumentTest, EntriesAreAddedRemovedAndRestoredInPlace) {
    Fixture f;
    const auto added = f.doc.AddEntry("p", "q");
    ASSERT_TRUE(added);
    EXPECT_EQ(*added, kFirstEntry + 2);
    ASSERT_TRUE(f.doc.RemoveEntry(kFirstEntry));
    EXPECT_EQ(f.doc.Entries(), (std::vector<ReplacementEntry>{{"x", "y"}, {"p", "q"}}));
    EXPECT_EQ(f.doc.Order()[3], (std::vector<std::uint16_t>{kFirstEntry, kFirstEntry + 1}));
    ASSERT_TRUE(f.doc.Undo());
    EXPECT_EQ(f.doc.Entries(),
              (std::vector<ReplacementEntry>{{"a,b", "c"}, {"x", "y"}, {"p", "q"}}));
    EXPECT_EQ(f.doc.Order()[3],
              (std::vector<std::uint16_t>{kFirstEntry, kFirstEntry + 1, kFirstEntry + 2}));
    ASSERT_TRUE(f.doc.Undo());
    EXPECT_EQ(f.doc.EntryCount(), 2u);
    EXPECT_FALSE(f.doc.IsModified());
    EXPECT_EQ(f.Kinds(), (std::vector<Kind>{Kind::EntryAdded, Kind::EntryRemoved, Kind::EntryAdded,
                                            Kind::EntryRemoved}));
    EXPECT_EQ(f.told[1].row, kFirstEntry);
    EXPECT_EQ(f.told[2].row, kFirstEntry);
}

TEST(ConfigDocumentTest, MovingAFieldChangesItsSectionsOrderAndTheSavedList) {
    Fixture f;
    ASSERT_TRUE(f.doc.MoveField(kColour, kWidth));
    EXPECT_EQ(f.doc.Order()[kFonts], (std::vector<std::uint16_t>{kColour, kWidth, kSize, kFont}));
    EXPECT_TRUE(f.doc.OrderChanged(kFonts));
    EXPECT_FALSE(f.doc.OrderChanged(1));
    ASSERT_TRUE(f.doc.MoveField(kColour, kWidth)) << "already there: nothing to do";
    EXPECT_EQ(f.Kinds(), (std::vector<Kind>{Kind::Order}));
    EXPECT_EQ(f.told[0].section, kFonts);
    ASSERT_TRUE(f.Save("now"));
    EXPECT_NE(tavtest::ReadFile(f.path).find("Order=Colour,Width,Size\n"), std::string::npos);
    ASSERT_TRUE(f.doc.Undo());
    EXPECT_EQ(f.doc.Order()[kFonts], (std::vector<std::uint16_t>{kWidth, kSize, kFont, kColour}));
    EXPECT_TRUE(f.doc.IsModified()) << "the saved order was the moved one";
}

TEST(ConfigDocumentTest, TypingIntoOneFieldIsOneStep) {
    Fixture f;
    for (const char* text : {"H", "He", "Hel"}) {
        ASSERT_TRUE(f.doc.SetValue(kTitle, text));
    }
    ASSERT_TRUE(f.doc.SetValue(kBeep, "False"));
    ASSERT_TRUE(f.doc.SetValue(kTitle, "Help"));  // another field came between: a new step
    f.doc.EndTyping();
    ASSERT_TRUE(f.doc.SetValue(kTitle, "Helpe"));
    ASSERT_TRUE(f.doc.Undo());
    EXPECT_EQ(f.doc.Row(kTitle).value, "Help");
    ASSERT_TRUE(f.doc.Undo());
    EXPECT_EQ(f.doc.Row(kTitle).value, "Hel");
    ASSERT_TRUE(f.doc.Undo());
    EXPECT_EQ(f.doc.Row(kBeep).value, "True");
    ASSERT_TRUE(f.doc.Undo());
    EXPECT_EQ(f.doc.Row(kTitle).value, "Hello");
    EXPECT_FALSE(f.doc.CanUndo());
    EXPECT_FALSE(f.doc.IsModified());
    ASSERT_TRUE(f.doc.Redo());
    EXPECT_EQ(f.doc.Row(kTitle).value, "Hel");
    EXPECT_EQ(f.told.back().kind, Kind::Value);
    EXPECT_EQ(f.told.back().row, kTitle);
}

TEST(ConfigDocumentTest, TypingBackToTheStartLeavesNoStep) {
    Fixture f;
    ASSERT_TRUE(f.doc.SetValue(kTitle, "Hello!"));
    ASSERT_TRUE(f.doc.SetValue(kTitle, "Hello"));
    EXPECT_FALSE(f.doc.CanUndo());
    EXPECT_FALSE(f.doc.IsModified());
    ASSERT_TRUE(f.doc.SetValue(kTitle, "Hello"));
    EXPECT_EQ(f.told.size(), 2u) << "setting the value a field has tells nobody";
}

TEST(ConfigDocumentTest, ModifiedIsExactAroundTheSavePoint) {
    Fixture f;
    ASSERT_TRUE(f.doc.SetValue(kTitle, "A"));
    ASSERT_TRUE(f.Save("now"));
    EXPECT_FALSE(f.doc.IsModified());
    ASSERT_TRUE(f.doc.SetValue(kTitle, "AB")) << "typing goes on after the save";
    EXPECT_TRUE(f.doc.IsModified());
    ASSERT_TRUE(f.doc.Undo());
    EXPECT_EQ(f.doc.Row(kTitle).value, "A") << "the save point split the typing";
    EXPECT_FALSE(f.doc.IsModified());
    ASSERT_TRUE(f.doc.Undo());
    EXPECT_TRUE(f.doc.IsModified()) << "before the save point";
    EXPECT_EQ(f.doc.ChangedRows(), std::vector<std::uint16_t>{kTitle});
    ASSERT_TRUE(f.doc.Redo());
    EXPECT_FALSE(f.doc.IsModified());
    ASSERT_TRUE(f.doc.Undo());
    ASSERT_TRUE(f.doc.SetValue(kFont, "Serif"));  // drops the redo branch holding the save point
    ASSERT_TRUE(f.doc.Undo());
    EXPECT_TRUE(f.doc.IsModified()) << "the saved state can no longer be reached";
}

TEST(ConfigDocumentTest, ModifiedMeansDifferentFromTheSavedStateHoweverItGotBack) {
    struct Case {
        const char* name;
        std::function<void(ConfigDocument&)> away;
        std::function<void(ConfigDocument&)> back;
    };
    const Case cases[] = {
        {"valueSetBackByHand", [](ConfigDocument& d) { ASSERT_TRUE(d.SetValue(kTitle, "Bye")); },
         [](ConfigDocument& d) {
             d.EndTyping();
             ASSERT_TRUE(d.SetValue(kTitle, "Hello"));
         }},
        {"entryChangedBack",
         [](ConfigDocument& d) { ASSERT_TRUE(d.ModifyEntry(kFirstEntry, "p", "q")); },
         [](ConfigDocument& d) {
             d.EndTyping();
             ASSERT_TRUE(d.ModifyEntry(kFirstEntry, "a,b", "c"));
         }},
        {"movedBack", [](ConfigDocument& d) { ASSERT_TRUE(d.MoveField(kSize, kWidth)); },
         [](ConfigDocument& d) { ASSERT_TRUE(d.MoveField(kWidth, kSize)); }},
    };
    for (const Case& c : cases) {
        Fixture f;
        c.away(f.doc);
        EXPECT_TRUE(f.doc.IsModified()) << c.name;
        c.back(f.doc);
        EXPECT_TRUE(f.doc.CanUndo()) << c.name << ": the way back is a step of its own";
        EXPECT_FALSE(f.doc.IsModified()) << c.name;
    }
}

TEST(ConfigDocumentTest, AFileRemovedWhileOpenIsWrittenAgainWhole) {
    // Everything no catalogue describes: a comment, an unknown key, a blank line, spacing, an
    // entry after the list's end and a foreign section.
    const std::string document =
        "; kept\r\n[General]\r\nBeep=1\r\nUnknown=keep me\r\n\r\nTitle = Hello\r\n"
        "[Replace]\r\nr0=x,y\r\nr1=\r\nr2=after,end\r\n[Foreign]\r\nk=v\r\n";
    struct Case {
        const char* name;
        bool savedFirst;  // the file was written by a save before it was removed
        bool saveAs;
    };
    // What the same edits and save give when the file stays: the removed one must get the same.
    const auto saved = [&](const Case& c, bool removed) {
        Fixture f(kFields, document);
        if (c.savedFirst) {
            EXPECT_TRUE(f.doc.SetValue(kFont, "Mono"));
            EXPECT_TRUE(f.Save("first"));
        }
        EXPECT_TRUE(f.doc.SetValue(kTitle, "Bye"));
        if (removed) {
            EXPECT_EQ(::unlink(f.path.c_str()), 0);
        }
        const std::string target = c.saveAs ? f.dir.File("other.tac") : f.path;
        EXPECT_TRUE(c.saveAs ? f.SaveAs(target, "other.tac", "now") : f.Save("now")) << c.name;
        EXPECT_FALSE(f.doc.IsModified()) << c.name;
        return tavtest::ReadFile(target);
    };
    for (const Case c : {Case{"save", false, false}, Case{"saveAfterASave", true, false},
                         Case{"saveAs", false, true}}) {
        const std::string kept = saved(c, false);
        ASSERT_NE(kept.find("[Foreign]\r\nk=v\r\n"), std::string::npos) << c.name;
        ASSERT_NE(kept.find("Title=Bye"), std::string::npos) << c.name;
        EXPECT_EQ(saved(c, true), kept) << c.name;
    }
}

TEST(ConfigDocumentTest, SaveStampsAndTellsTheViews) {
    Fixture f;
    ASSERT_TRUE(f.doc.SetValue(kSize, "14"));
    EXPECT_EQ(f.doc.ChangedRows(), std::vector<std::uint16_t>{kSize});
    f.told.clear();
    ASSERT_TRUE(f.Save("01/02/2026 (03:04:05)"));
    EXPECT_EQ(f.Kinds(), (std::vector<Kind>{Kind::Value, Kind::Value, Kind::Saved}));
    EXPECT_EQ(f.told[0].row, 0) << "Version";
    EXPECT_EQ(f.told[1].row, 1) << "Updated";
    EXPECT_EQ(f.doc.Row(1).value, "01/02/2026 (03:04:05)");
    EXPECT_TRUE(f.doc.ChangedRows().empty());
    const std::string saved = tavtest::ReadFile(f.path);
    EXPECT_EQ(saved.substr(0, 8), "; kept\n[") << "lines the catalogue does not describe stay";
    EXPECT_NE(saved.find("Size=14\n"), std::string::npos);
    EXPECT_NE(saved.find("[Network]\nHost=h\n"), std::string::npos);
}

TEST(ConfigDocumentTest, SavedValuesAndEntriesStayTheReferenceUntilASave) {
    Fixture f;
    ASSERT_TRUE(f.doc.SetValue(kTitle, "Bye"));
    ASSERT_TRUE(f.doc.ModifyEntry(kFirstEntry + 1, "p", "q"));
    EXPECT_EQ(f.doc.SavedValue(kTitle), "Hello");
    EXPECT_EQ(f.doc.SavedValue(kFirstEntry), "") << "an entry row is not a catalogue field";
    EXPECT_EQ(f.doc.SavedEntry(1), (ReplacementEntry{"x", "y"}));
    EXPECT_EQ(f.doc.SavedEntry(2), std::nullopt);
    ASSERT_TRUE(f.Save("now"));
    EXPECT_EQ(f.doc.SavedValue(kTitle), "Bye");
    EXPECT_EQ(f.doc.SavedEntry(1), (ReplacementEntry{"p", "q"}));
}

TEST(ConfigDocumentTest, FailedSavesChangeNothing) {
    tavtest::TempDir dir;
    ConfigDocument doc(tav::CataloguesFromText(dir.Path(), kSections, kFields));
    tav::DocumentStorage storage(doc, tavtest::FixedClock("now"));
    const auto saveAs = [&](const std::string& target) {
        return tavtest::AsStatus(storage.Save(
            tavtest::SaveOf(tav::SaveRequest::Scope::WholeDocument, target, "doc.tac")));
    };
    const tav::Status unnamed = tavtest::AsStatus(storage.Save(tavtest::SaveOf()));
    ASSERT_FALSE(unnamed);
    EXPECT_NE(unnamed.Error().reason.find("no file name"), std::string::npos);
    ASSERT_TRUE(doc.SetValue(kTitle, "T"));
    ASSERT_FALSE(saveAs(dir.File("missing/doc.tac")));
    EXPECT_EQ(doc.Path(), "");
    EXPECT_TRUE(doc.IsModified());
    ASSERT_TRUE(saveAs(dir.File("doc.tac")));
    EXPECT_EQ(doc.Path(), dir.File("doc.tac"));
    EXPECT_EQ(doc.Name(), "doc.tac");
    EXPECT_FALSE(doc.IsModified());
}

TEST(ConfigDocumentTest, ASaveOfTheEditedKeysWritesOnlyWhatWasEdited) {
    Fixture f;
    ASSERT_TRUE(f.doc.SetValue(kColour, "True"));
    ASSERT_TRUE(f.doc.ModifyEntry(kFirstEntry + 1, "x", "z"));
    ASSERT_TRUE(f.SaveEditedKeys());
    EXPECT_EQ(tavtest::ReadFile(f.path),
              "; kept\n[General]\nBeep=1\nTitle=Hello\n[Fonts]\nOrder=Width,Size,Colour\n"
              "Size=12\nColour=1\n[Replace]\nr0=a\\044b,c\nr1=x,z\nr2=\n[Network]\nHost=h\n");
    EXPECT_FALSE(f.doc.IsModified());

    struct stat before {};
    ASSERT_EQ(::stat(f.path.c_str(), &before), 0);
    ASSERT_TRUE(f.doc.SetValue(kTitle, "Hello"));  // the value it has: nothing to write
    ASSERT_TRUE(f.SaveEditedKeys());
    struct stat after {};
    ASSERT_EQ(::stat(f.path.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino) << "an unchanged file is not rewritten";
}

TEST(ConfigDocumentTest, SavedBytesPreviewsASaveWithoutWriting) {
    Fixture f;
    ASSERT_TRUE(f.doc.SetValue(kTitle, "New"));
    f.time = "T";
    const auto bytes = f.storage.SavedBytes(kDocument);
    ASSERT_TRUE(bytes);
    EXPECT_NE(bytes->find("Title=New\n"), std::string::npos);
    EXPECT_NE(bytes->find("Updated=T\n"), std::string::npos);
    EXPECT_EQ(tavtest::ReadFile(f.path), kDocument);
    EXPECT_EQ(f.doc.Row(1).value, "") << "the document itself is not stamped";
    EXPECT_TRUE(f.doc.IsModified());
}

TEST(ConfigDocumentTest, AListenerMayRemoveItselfWhileTold) {
    Fixture f;
    int calls = 0;
    int id = 0;
    id = f.doc.AddListener([&](const DocumentChange&) {
        ++calls;
        f.doc.RemoveListener(id);
    });
    ASSERT_TRUE(f.doc.SetValue(kTitle, "A"));
    ASSERT_TRUE(f.doc.SetValue(kFont, "B"));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(f.told.size(), 2u) << "the other listener is still told";
}

// --- Encodings ----------------------------------------------------------------------------------

// One document in each encoding: Title "Café Büro", Font "Müller", a comment "Grüß" the model
// never reads and an entry "é" -> "è". The edit sets Title to "Café Zürich €5".
struct EncodingCase {
    const char* name;
    tav::TextEncoding encoding;
    std::string document;
    std::string editedLine;  // the Title line the edit stores
    std::string entryLine;   // the entry as stored
};

const EncodingCase kEncodingCases[] = {
    {"windows1252", tav::TextEncoding::Windows1252,
     "; Gr\xFC\xDF\n[General]\nBeep=1\nTitle=Caf\xE9 B\xFCro\n[Fonts]\nFont=M\xFCller\n"
     "[Replace]\nr0=\xE9,\xE8\nr1=\n",
     "Title=Caf\xE9 Z\xFCrich \x80\x35\n", "r0=\xE9,\xE8\n"},
    {"utf8", tav::TextEncoding::Utf8,
     "; Gr\xC3\xBC\xC3\x9F\n[General]\nBeep=1\nTitle=Caf\xC3\xA9 B\xC3\xBCro\n[Fonts]\n"
     "Font=M\xC3\xBCller\n[Replace]\nr0=\xC3\xA9,\xC3\xA8\nr1=\n",
     "Title=Caf\xC3\xA9 Z\xC3\xBCrich \xE2\x82\xAC\x35\n", "r0=\xC3\xA9,\xC3\xA8\n"},
};

TEST(DocumentEncodingTest, TextsAreUtf8AndAnEditIsStoredInTheDocumentsEncoding) {
    for (const EncodingCase& c : kEncodingCases) {
        Fixture f(kFields, c.document);
        EXPECT_EQ(f.doc.Encoding(), c.encoding) << c.name;
        EXPECT_EQ(f.doc.Value(kTitle), "Caf\xC3\xA9 B\xC3\xBCro") << c.name;
        EXPECT_EQ(f.doc.Value(kFont), "M\xC3\xBCller") << c.name;
        EXPECT_EQ(f.doc.Label(kTitle), "Title") << c.name;
        EXPECT_EQ(f.doc.Entry(0), (ReplacementEntry{"\xC3\xA9", "\xC3\xA8"})) << c.name;
        EXPECT_EQ(f.doc.Label(kFirstEntry), "\xC3\xA9") << c.name;

        ASSERT_TRUE(f.doc.SetValue(kTitle, "Caf\xC3\xA9 Z\xC3\xBCrich \xE2\x82\xAC\x35")) << c.name;
        ASSERT_TRUE(f.SaveEditedKeys()) << c.name;
        std::string expected = c.document;
        const std::size_t title = expected.find("Title=");
        expected.replace(title, expected.find('\n', title) + 1 - title, c.editedLine);
        EXPECT_EQ(tavtest::ReadFile(f.path), expected) << c.name;

        ASSERT_TRUE(f.doc.SetValue(kFont, "M\xC3\xBCllerin")) << c.name;
        ASSERT_TRUE(f.Save("T")) << c.name;
        const std::string saved = tavtest::ReadFile(f.path);
        const std::string comment = c.document.substr(0, c.document.find('\n') + 1);
        for (const std::string& kept : {comment, c.editedLine, c.entryLine}) {
            EXPECT_NE(saved.find(kept), std::string::npos) << c.name << ": lost " << kept;
        }
        EXPECT_EQ(saved.find("\xEF\xBF\xBD"), std::string::npos) << c.name;
        EXPECT_EQ(f.doc.Value(kFont), "M\xC3\xBCllerin") << c.name;
    }
}

// A large file is read in pieces, and its encoding and fingerprint are taken piece by piece: a
// sequence cut by a piece's end, or a wrong byte far into the file, decides as in a small file,
// and the document's own file is known as unchanged when it is saved.
TEST(DocumentEncodingTest, ALargeDocumentIsDecidedAsAWholeAcrossItsPieces) {
    constexpr std::size_t kPiece = std::size_t{16} << 20;  // the size the file is read in
    struct Case {
        const char* name;
        std::string tail;  // what follows the 16 MiB of ASCII
        std::size_t cut;   // how many bytes of the tail lie before the piece's end
        tav::TextEncoding encoding;
    };
    const Case cases[] = {
        {"a UTF-8 sequence across the cut", "\xE2\x82\xAC\n", 1, tav::TextEncoding::Utf8},
        {"a Windows-1252 byte after the cut", "x\xE9\n", 0, tav::TextEncoding::Windows1252},
        {"a truncated sequence at the end", "\xE2\x82", 1, tav::TextEncoding::Windows1252},
    };
    for (const Case& c : cases) {
        std::string document = "[General]\nTitle=Large\n[Other]\n";
        document.append(kPiece - c.cut - document.size() - 1, 'k');
        document += '=';
        document += c.tail;
        Fixture f(kFields, document);
        EXPECT_EQ(f.doc.Encoding(), c.encoding) << c.name;
        EXPECT_EQ(f.doc.Value(kTitle), "Large") << c.name;
        ASSERT_TRUE(f.doc.SetValue(kTitle, "Larger")) << c.name;
        tav::SaveRequest request;
        request.condition = tav::SaveRequest::Condition::IfUnchanged;
        const tav::Expected<tav::SaveOutcome> saved = f.storage.Save(request);
        ASSERT_TRUE(saved) << c.name << ": " << saved.Error().Message();
        EXPECT_EQ(*saved, tav::SaveOutcome::Saved)
            << c.name << ": its own file was taken for someone else's change";
    }
}

TEST(DocumentEncodingTest, WhatTheEncodingCannotHoldIsRefusedAndChangesNothing) {
    struct Case {
        const char* name;
        std::function<tav::Status(ConfigDocument&)> edit;
    };
    const std::string omega = "\xCE\xA9";
    const Case cases[] = {
        {"value", [&](ConfigDocument& d) { return d.SetValue(kTitle, "Caf\xC3\xA9 " + omega); }},
        {"entry to", [&](ConfigDocument& d) { return d.ModifyEntry(kFirstEntry, "a", omega); }},
        {"entry from", [&](ConfigDocument& d) { return d.ModifyEntry(kFirstEntry, omega, "b"); }},
        {"added entry", [&](ConfigDocument& d) { return AsStatus(d.AddEntry("p", omega)); }},
    };
    for (const EncodingCase& e : kEncodingCases) {
        for (const Case& c : cases) {
            const std::string name = std::string(e.name) + " " + c.name;
            Fixture f(kFields, e.document);
            const tav::Status status = c.edit(f.doc);
            if (e.encoding == tav::TextEncoding::Utf8) {
                EXPECT_TRUE(status) << name;
                continue;
            }
            ASSERT_FALSE(status) << name;
            EXPECT_NE(status.Error().reason.find("\"" + omega +
                                                 "\" (U+03A9) cannot be stored in a Windows-1252"),
                      std::string::npos)
                << name << ": " << status.Error().reason;
            EXPECT_FALSE(f.doc.IsModified()) << name;
            EXPECT_TRUE(f.told.empty()) << name;
            EXPECT_EQ(tavtest::ReadFile(f.path), e.document) << name;
        }
    }
}

TEST(DocumentEncodingTest, NonAsciiRowsAreUnchangedUntilEditedInEitherEncoding) {
    for (const EncodingCase& c : kEncodingCases) {
        Fixture f(kFields, c.document);
        for (std::uint16_t row = 0; row < f.doc.RowCount(); ++row) {
            EXPECT_FALSE(f.doc.IsRowChanged(row)) << c.name << " row " << row << " as read";
        }
        ASSERT_TRUE(f.doc.ModifyEntry(kFirstEntry, "\xC3\xA9", "summer"));
        ASSERT_TRUE(f.doc.SetValue(kFont, "M\xC3\xBCllers"));
        EXPECT_TRUE(f.doc.IsRowChanged(kFirstEntry)) << c.name;
        EXPECT_TRUE(f.doc.IsRowChanged(kFont)) << c.name;
        ASSERT_TRUE(f.Save("now"));
        for (std::uint16_t row = 0; row < f.doc.RowCount(); ++row) {
            EXPECT_FALSE(f.doc.IsRowChanged(row)) << c.name << " row " << row << " after a save";
        }
        ASSERT_TRUE(f.storage.Open(f.path, "doc.tac"));
        for (std::uint16_t row = 0; row < f.doc.RowCount(); ++row) {
            EXPECT_FALSE(f.doc.IsRowChanged(row)) << c.name << " row " << row << " reloaded";
        }
    }
}

TEST(DocumentEncodingTest, EditsCompareStoredBytes) {
    // Read as UTF-8 against the rule, the code-page bytes show as U+FFFD but stay as they are.
    tavtest::TempDir dir;
    ConfigDocument doc(tav::CataloguesFromText(dir.Path(), kSections, kFields));
    doc.OpenBytes("d.tac", "d.tac", kEncodingCases[0].document, tav::TextEncoding::Utf8);
    EXPECT_EQ(doc.Encoding(), tav::TextEncoding::Utf8);
    const std::string shown = doc.Value(kTitle);
    EXPECT_EQ(shown, "Caf\xEF\xBF\xBD B\xEF\xBF\xBDro");
    ASSERT_TRUE(doc.SetValue(kTitle, shown));
    ASSERT_TRUE(doc.ModifyEntry(kFirstEntry, doc.Entry(0).from, doc.Entry(0).to));
    EXPECT_FALSE(doc.CanUndo()) << "the texts shown store the bytes read";
    EXPECT_EQ(doc.Row(kTitle).value, "Caf\xE9 B\xFCro");

    // Typing away and back to the text read leaves no step and no changed row.
    Fixture f(kFields, kEncodingCases[0].document);
    for (const char* text : {"Caf", "Caf\xC3\xA9", "Caf\xC3\xA9 B\xC3\xBCro"}) {
        ASSERT_TRUE(f.doc.SetValue(kTitle, text)) << text;
    }
    EXPECT_FALSE(f.doc.CanUndo());
    EXPECT_FALSE(f.doc.IsModified());
    EXPECT_TRUE(f.doc.ChangedRows().empty());
    ASSERT_TRUE(f.doc.SetValue(kTitle, "Caf\xC3\xA9"));
    EXPECT_EQ(f.doc.ChangedRows(), std::vector<std::uint16_t>{kTitle});
    EXPECT_EQ(f.doc.Row(kTitle).value, "Caf\xE9");

    f.doc.New();
    EXPECT_EQ(f.doc.Encoding(), tav::TextEncoding::Windows1252) << "a new document";
}

}  // namespace
