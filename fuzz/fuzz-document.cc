// Fuzzes the document model: catalogues and a document, then a script of edits, undos and redos.
// After every step the model must hold together (rows within the table, every entry placed once
// under its section, orders naming existing rows), and undoing every step must give back the
// document as opened, redoing them the latest state. The input is both catalogues, the
// document and the script, split by NUL bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalogues.h"
#include "document/configdocument.h"
#include "fuzzinput.h"

namespace {

using tavfuzz::Check;
using tavfuzz::TakePart;

struct Snapshot {
    std::vector<std::string> labels;
    std::vector<std::string> values;
    tav::DisplayOrder order;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const tav::ConfigDocument& doc) {
    Snapshot snapshot;
    for (std::uint16_t row = 0; row < doc.RowCount(); ++row) {
        snapshot.labels.push_back(doc.Row(row).label);
        snapshot.values.push_back(doc.Row(row).value);
    }
    snapshot.order = doc.Order();
    return snapshot;
}

void CheckWhole(const tav::ConfigDocument& doc) {
    Check(doc.RowCount() <= tav::FieldCatalog::kCapacity);
    Check(doc.EntryCount() <= tav::DocumentTable::kMaxReplacements);
    Check(doc.RowCount() == doc.CatalogueRows() + doc.EntryCount());
    std::vector<int> placed(doc.RowCount(), 0);
    for (const auto& section : doc.Order()) {
        for (const std::uint16_t row : section) {
            Check(row < doc.RowCount());
            ++placed[row];
        }
    }
    for (std::uint16_t row = doc.CatalogueRows(); row < doc.RowCount(); ++row) {
        Check(placed[row] >= 1);  // under every section of the list's id
    }
}

// One edit chosen by `op`, on rows and texts taken from `arg`.
void Edit(tav::ConfigDocument& doc, std::uint8_t op, std::uint8_t arg) {
    const auto row = static_cast<std::uint16_t>(doc.RowCount() == 0 ? 0 : arg % doc.RowCount());
    const std::string text(arg % 4, static_cast<char>('a' + arg % 26));
    switch (op % 9) {
        case 0:
            static_cast<void>(doc.SetValue(row, text));
            break;
        case 1:
            static_cast<void>(doc.SetValue(row, arg % 2 ? "True" : "False"));
            break;
        case 2:
            static_cast<void>(doc.AddEntry(text, "to" + text));
            break;
        case 3:
            static_cast<void>(doc.ModifyEntry(row, text + ",x", text));
            break;
        case 4:
            static_cast<void>(doc.RemoveEntry(row));
            break;
        case 5:
            static_cast<void>(doc.MoveField(row, static_cast<std::uint16_t>((arg / 7) % 130)));
            break;
        case 6:
            doc.EndTyping();
            break;
        case 7:
            doc.Undo();
            break;
        case 8:
            doc.Redo();
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string sections(TakePart(rest));
    const std::string fields(TakePart(rest));
    const std::string document(TakePart(rest));
    tav::ConfigDocument doc(tav::CataloguesFromText("fuzz", sections, fields));
    doc.OpenBytes("fuzz.tac", "fuzz.tac", document);
    const Snapshot opened = Take(doc);
    CheckWhole(doc);
    for (std::size_t i = 0; i + 1 < rest.size() && i < 256; i += 2) {
        Edit(doc, static_cast<std::uint8_t>(rest[i]), static_cast<std::uint8_t>(rest[i + 1]));
        CheckWhole(doc);
    }
    while (doc.Redo()) {
        CheckWhole(doc);
    }
    const Snapshot latest = Take(doc);
    while (doc.Undo()) {
        CheckWhole(doc);
    }
    Check(Take(doc) == opened);
    Check(!doc.IsModified());
    while (doc.Redo()) {
        CheckWhole(doc);
    }
    Check(Take(doc) == latest);
    return 0;
}
