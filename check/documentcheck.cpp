#include "check/documentcheck.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "base/names.h"
#include "base/translation.h"
#include "check/listcheck.h"
#include "document/documentio.h"
#include "document/documentrules.h"
#include "profile/profilelines.h"

namespace tav::check {

namespace {

// The findings that may come once per section, key or line: each is a kind of its own, listed up
// to kFindingsPerKind times.
constexpr const char* kBeforeFirstSection =
    TAV_TRANSLATE_NOOP("Check", "the line comes before the first section: no reader takes it");
constexpr const char* kNotAKeyLine =
    TAV_TRANSLATE_NOOP("Check",
                       "the line is neither a section header nor a key line (it holds no \"=\"): "
                       "readers skip it");
constexpr const char* kCutAtNul = TAV_TRANSLATE_NOOP(
    "Check", "the value of %1 in [%2] holds a NUL byte: readers take only the text before it, %3");
constexpr const char* kBooleanShown = TAV_TRANSLATE_NOOP(
    "Check", "the value %1 of %2 shows as %3 in the editor, and a save writes %4");
constexpr const char* kQuotesShown = TAV_TRANSLATE_NOOP(
    "Check", "the quotes around the value of %1 are not part of it: the editor shows %2");
constexpr const char* kKeyAgain = TAV_TRANSLATE_NOOP(
    "Check", "the key %1 appears again in [%2] (first on line %3): readers take only the first");
constexpr const char* kKeyNotInCatalogue = TAV_TRANSLATE_NOOP(
    "Check", "the key %1 of [%2] is not in the catalogue: the editor neither shows nor changes it");
constexpr const char* kSectionAgain = TAV_TRANSLATE_NOOP(
    "Check", "section [%1] appears again (first on line %2): readers take only the first");
constexpr const char* kSectionNotInCatalogue = TAV_TRANSLATE_NOOP(
    "Check", "section [%1] is not in the catalogue: the editor neither shows nor changes it");

bool IsComment(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

void CheckSkippedLine(const DocumentCheck& check, const SkippedLine& line) {
    if (IsComment(line.text)) {
        return;
    }
    const char* kind = line.beforeFirstSection ? kBeforeFirstSection : kNotAKeyLine;
    if (check.out.Wants(kind, line.line)) {
        check.out.Add(line.line, Translate("Check", kind));
    }
}

// True when the catalogues describe `key`, which names no field, in section `s`: the Order list of
// an ordered section, or a key of the replacement list (checked on their own).
bool IsListKey(const Catalogues& catalogues, std::size_t s, std::string_view key) {
    if (catalogues.sections[s].ordered && SameName(key, kOrderKey)) {
        return true;
    }
    return (ReplacementEntryNumber(key) || SameName(key, "r")) &&
           s == catalogues.ReplacementSectionIndex();
}

// True when the value of `key` holds a NUL byte: readers take only the text before it.
bool CutAtNul(const ListedKey& key) {
    return key.storedText.find('\0') != std::string_view::npos;
}

// Reports a value of `listed` that holds a NUL byte, with what readers take of it.
void CheckCutValue(const DocumentCheck& check, const ListedSection& listed, const ListedKey& key) {
    if (CutAtNul(key) && check.out.Wants(kCutAtNul, key.line)) {
        check.out.Add(key.line, FillIn(Translate("Check", kCutAtNul),
                                       {key.name, listed.name, Quote(key.Value())}));
    }
}

// Values the editor shows differently from the text the file holds (a value cut at a NUL byte
// aside, which CheckCutValue reports).
void CheckValue(const DocumentCheck& check, const ListedKey& key, std::uint16_t f) {
    const FieldDef& field = check.catalogues.fields[f];
    // The first key of its name in the first section of its name: the one readers take.
    const std::string_view stored = key.Value();
    if (field.type == FieldType::Boolean && StoredBoolean(ShownBoolean(stored)) != stored) {
        if (check.out.Wants(kBooleanShown, key.line)) {
            const std::string shown = ShownBoolean(stored);
            check.out.Add(key.line, FillIn(Translate("Check", kBooleanShown),
                                           {Quote(stored), key.name, shown, StoredBoolean(shown)}));
        }
    } else if (field.type != FieldType::Boolean && !CutAtNul(key) &&
               TrimBlanks(key.storedText) != stored && EncodeProfileValue(stored) == stored &&
               check.out.Wants(kQuotesShown, key.line)) {
        check.out.Add(key.line,
                      FillIn(Translate("Check", kQuotesShown), {key.name, Quote(stored)}));
    }
}

void CheckKeys(const DocumentCheck& check, const ListedSection& listed, const FirstKeys& keys,
               std::size_t s) {
    const std::vector<std::uint16_t> fields = check.catalogues.FieldRows(s);
    for (std::size_t i = 0; i < listed.keys.size(); ++i) {
        const ListedKey& key = listed.keys[i];
        if (!keys.IsFirst(i)) {
            if (check.out.Wants(kKeyAgain, key.line)) {
                check.out.Add(key.line, FillIn(Translate("Check", kKeyAgain),
                                               {key.name, listed.name,
                                                std::to_string(keys.Find(key.name)->line)}));
            }
            continue;
        }
        CheckCutValue(check, listed, key);
        if (const auto f = check.catalogues.FindFieldAmong(fields, key.name)) {
            CheckValue(check, key, *f);
        } else if (!IsListKey(check.catalogues, s, key.name) &&
                   check.out.Wants(kKeyNotInCatalogue, key.line)) {
            check.out.Add(key.line,
                          FillIn(Translate("Check", kKeyNotInCatalogue), {key.name, listed.name}));
        }
    }
}

// Where a document's texts are UTF-8 and where they are not: the first line (1-based) of each, 0
// for none.
struct EncodingLines {
    std::size_t utf8 = 0;   // holds a non-ASCII character of valid UTF-8
    std::size_t other = 0;  // holds a byte that is not part of one
};

EncodingLines FirstLinesOfEachEncoding(std::string_view bytes) {
    const ProfileLines lines(bytes);
    EncodingLines found;
    std::size_t number = 1;
    for (std::size_t at = lines.BomSize(); at < bytes.size() && (!found.utf8 || !found.other);
         ++number) {
        const ProfileLine line = lines.At(at);
        const std::string_view text = lines.Text(line);
        const bool valid = IsValidUtf8(text);
        if (!found.utf8 &&
            (valid ? DecideEncoding(text) == TextEncoding::Utf8 : MixesEncodings(text))) {
            found.utf8 = number;
        }
        if (!found.other && !valid) {
            found.other = number;
        }
        at = line.next;
    }
    return found;
}

// A document holding both UTF-8 and other non-ASCII bytes: some of its texts show as other
// characters whichever encoding it is read in. Reported at the first line that shows wrong.
void CheckEncoding(const FileFindings& out, std::string_view bytes, TextEncoding encoding) {
    if (!MixesEncodings(bytes)) {
        return;
    }
    const EncodingLines lines = FirstLinesOfEachEncoding(bytes);
    const std::string name = EncodingName(encoding);
    if (encoding == TextEncoding::Utf8) {
        out.Add(lines.other,
                lines.utf8 != 0
                    ? FillIn(Translate("Check",
                                       "the line holds bytes that are not UTF-8, but line "
                                       "%1 holds UTF-8 text: the document is read as %2, "
                                       "so those bytes show as U+FFFD"),
                             {std::to_string(lines.utf8), name})
                    : FillIn(Translate("Check",
                                       "the line holds bytes that are not UTF-8, but the "
                                       "file starts with a UTF-8 byte-order mark: the "
                                       "document is read as %1, so those bytes show as "
                                       "U+FFFD"),
                             {name}));
    } else if (lines.utf8 != 0) {  // a byte-order mark alone shows nowhere
        out.Add(lines.utf8, FillIn(Translate("Check",
                                             "the line holds UTF-8 text, but line %1 holds bytes "
                                             "that are not UTF-8: the document is read as %2, so "
                                             "the UTF-8 text shows as other characters"),
                                   {std::to_string(lines.other), name}));
    }
}

// What the editor's read of `bytes` could not load (see ReadDocumentValues): only its replacement
// entries can fail, so only they are read (the fields' values would be copies of the text).
std::vector<std::string> ReadWarnings(const Catalogues& catalogues, const ProfileText& text) {
    DocumentTable table(catalogues.fields);
    return ReadReplacementEntries(catalogues.sections, table, text);
}

// Where the first section of each name seen so far starts (byte, line), in file order: the line
// of a section that appears again is looked up here. Repeated sections add nothing, so a document
// of millions of sections of one name keeps one entry.
struct SectionLines {
    std::vector<std::pair<std::size_t, std::size_t>> firsts;
    std::string previous;   // the name of the section before, to tell a run of one name at once
    std::size_t store = 0;  // the store's first section the walk meets next
};

// True when `listed` is the first section of its name: readers see only that one. The store that
// reads like them keeps those in file order, so the walk meets them one after the other; a section
// named as the one before it is a repeated one without asking.
bool IsFirstSection(const ProfileText& text, SectionLines& lines, const ListedSection& listed) {
    if (lines.store < text.FileSectionCount() && text.SectionHeaderAt(lines.store) == listed.at) {
        ++lines.store;
        return true;
    }
    if (!lines.firsts.empty() && SameName(lines.previous, listed.name)) {
        return false;
    }
    return text.FirstSectionAt(listed.name).value_or(listed.at) == listed.at;
}

// The checks of `listed`, the first section of its name.
void CheckFirstSection(const DocumentCheck& check, const ListedSection& listed) {
    const std::optional<std::size_t> s = check.catalogues.FindSection(listed.name);
    if (!s) {
        if (check.out.Wants(kSectionNotInCatalogue, listed.line)) {
            check.out.Add(listed.line,
                          FillIn(Translate("Check", kSectionNotInCatalogue), {listed.name}));
        }
    } else {
        const FirstKeys keys(listed);
        CheckKeys(check, listed, keys, *s);
        CheckOrderList(check, listed, keys, *s);
        if (*s == check.catalogues.ReplacementSectionIndex()) {
            CheckReplacementList(check, listed, keys);
        }
    }
}

void CheckSection(const DocumentCheck& check, SectionLines& lines, const ListedSection& listed) {
    const bool first = IsFirstSection(check.text, lines, listed);
    if (!SameName(lines.previous, listed.name)) {
        lines.previous = std::string(listed.name);
    }
    if (first) {
        lines.firsts.emplace_back(listed.at, listed.line);
        CheckFirstSection(check, listed);
    }
    // The section again: on its own line unless it is the first, and on each of its empty copies.
    const std::size_t fromLine = first ? listed.line + 1 : listed.line;
    const std::size_t again = (first ? 0 : 1) + listed.emptyCopies;
    const std::size_t shown = check.out.Wants(kSectionAgain, fromLine, again);
    if (shown == 0) {
        return;
    }
    const std::size_t at = check.text.FirstSectionAt(listed.name).value_or(listed.at);
    const auto firstLine = std::lower_bound(lines.firsts.begin(), lines.firsts.end(),
                                            std::make_pair(at, std::size_t{0}));
    const std::string message =
        FillIn(Translate("Check", kSectionAgain), {listed.name, std::to_string(firstLine->second)});
    for (std::size_t i = 0; i < shown; ++i) {
        check.out.Add(fromLine + i, message);
    }
}

}  // namespace

std::size_t CheckDocument(const Catalogues& catalogues, const std::string& path,
                          std::string_view bytes, std::optional<TextEncoding> encoding,
                          const FindingSink& sink) {
    std::size_t listed = 0;
    const auto give = [&sink, &listed](const Finding& finding) {
        sink(finding);
        ++listed;
    };
    Findings batch;
    FindingCap cap;
    DocumentCheck check{catalogues,
                        ProfileText(bytes, ProfileText::InPlace{}),
                        {},
                        FileFindings{path, batch, &cap}};
    check.warnings = ReadWarnings(catalogues, check.text);
    CheckEncoding(check.out, bytes, encoding ? *encoding : DecideEncoding(bytes));
    // The few findings about the whole file's encoding go in among the others, before those on
    // the same line.
    Findings aboutEncoding = std::move(batch);
    SortByLine(aboutEncoding);
    batch.clear();
    std::size_t nextAboutEncoding = 0;
    // The findings of each section come with those of the skipped lines in its body, all on its
    // lines: each batch, sorted, follows the one before in line order, and goes out at once.
    const auto flush = [&] {
        SortByLine(batch);
        for (const Finding& finding : batch) {
            while (nextAboutEncoding < aboutEncoding.size() &&
                   aboutEncoding[nextAboutEncoding].line <= finding.line) {
                give(aboutEncoding[nextAboutEncoding++]);
            }
            give(finding);
        }
        batch.clear();
    };
    SectionLines sections;
    WalkProfile(
        bytes,
        [&](const ListedSection& listed) {
            CheckSection(check, sections, listed);
            flush();
        },
        [&](const SkippedLine& line) { CheckSkippedLine(check, line); });
    flush();
    for (; nextAboutEncoding < aboutEncoding.size(); ++nextAboutEncoding) {
        give(aboutEncoding[nextAboutEncoding]);
    }
    for (const Finding& more : cap.Summary(path)) {
        sink(more);
    }
    return listed + cap.Unlisted();
}

Findings CheckDocument(const Catalogues& catalogues, const std::string& path,
                       std::string_view bytes, std::optional<TextEncoding> encoding) {
    Findings findings;
    CheckDocument(catalogues, path, bytes, encoding,
                  [&findings](const Finding& finding) { findings.push_back(finding); });
    return findings;
}

}  // namespace tav::check
