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

bool IsComment(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

void CheckSkippedLine(const DocumentCheck& check, const SkippedLine& line) {
    if (IsComment(line.text)) {
        return;
    }
    check.out.Add(line.line, line.beforeFirstSection
                                 ? Translate("Check",
                                             "the line comes before the first section: no reader "
                                             "takes it")
                                 : Translate("Check",
                                             "the line is neither a section header nor a key line "
                                             "(it holds no \"=\"): readers skip it"));
}

// True when the catalogues describe `key` in section `s`: a field, the Order list of an ordered
// section, or a key of the replacement list (checked on their own).
bool IsDescribed(const Catalogues& catalogues, std::size_t s, std::string_view key) {
    if (catalogues.FindField(s, key)) {
        return true;
    }
    if (catalogues.sections[s].ordered && SameName(key, kOrderKey)) {
        return true;
    }
    return s == catalogues.ReplacementSectionIndex() &&
           (ReplacementEntryNumber(key) || SameName(key, "r"));
}

// True when the value of `key` holds a NUL byte: readers take only the text before it.
bool CutAtNul(const ListedKey& key) {
    return key.storedText.find('\0') != std::string_view::npos;
}

// Reports a value of `listed` that holds a NUL byte, with what readers take of it.
void CheckCutValue(const DocumentCheck& check, const ListedSection& listed, const ListedKey& key) {
    if (CutAtNul(key)) {
        check.out.Add(key.line,
                      FillIn(Translate("Check",
                                       "the value of %1 in [%2] holds a NUL byte: readers "
                                       "take only the text before it, %3"),
                             {key.name, listed.name, Quote(key.value)}));
    }
}

// Values the editor shows differently from the text the file holds (a value cut at a NUL byte
// aside, which CheckCutValue reports).
void CheckValue(const DocumentCheck& check, const ListedSection& listed, const ListedKey& key,
                std::uint16_t f) {
    const FieldDef& field = check.catalogues.fields[f];
    const std::string stored = check.text.Get(listed.name, key.name).value_or("");
    if (field.type == FieldType::Boolean && StoredBoolean(ShownBoolean(stored)) != stored) {
        const std::string shown = ShownBoolean(stored);
        check.out.Add(key.line,
                      FillIn(Translate("Check",
                                       "the value %1 of %2 shows as %3 in the editor, and "
                                       "a save writes %4"),
                             {Quote(stored), key.name, shown, StoredBoolean(shown)}));
    } else if (field.type != FieldType::Boolean && !CutAtNul(key) &&
               TrimBlanks(key.storedText) != stored && EncodeProfileValue(stored) == stored) {
        check.out.Add(key.line, FillIn(Translate("Check",
                                                 "the quotes around the value of %1 are "
                                                 "not part of it: the editor shows %2"),
                                       {key.name, Quote(stored)}));
    }
}

void CheckKeys(const DocumentCheck& check, const ListedSection& listed, const FirstKeys& keys,
               std::size_t s) {
    for (std::size_t i = 0; i < listed.keys.size(); ++i) {
        const ListedKey& key = listed.keys[i];
        if (!keys.IsFirst(i)) {
            check.out.Add(key.line, FillIn(Translate("Check",
                                                     "the key %1 appears again in [%2] (first on "
                                                     "line %3): readers take only the first"),
                                           {key.name, listed.name,
                                            std::to_string(keys.Find(key.name)->line)}));
            continue;
        }
        CheckCutValue(check, listed, key);
        if (const auto f = check.catalogues.FindField(s, key.name)) {
            CheckValue(check, listed, key, *f);
        } else if (!IsDescribed(check.catalogues, s, key.name)) {
            check.out.Add(key.line, FillIn(Translate("Check",
                                                     "the key %1 of [%2] is not in the catalogue: "
                                                     "the editor neither shows nor changes it"),
                                           {key.name, listed.name}));
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

// What the editor's read of `bytes` could not load (see ReadDocumentValues).
std::vector<std::string> ReadWarnings(const Catalogues& catalogues, const ProfileText& text) {
    DocumentTable table(catalogues.fields);
    return ReadDocumentValues(catalogues.sections, table, text);
}

// Where each section seen so far starts (byte, line), in file order: the line of a section that
// appears again is looked up here.
using SectionLines = std::vector<std::pair<std::size_t, std::size_t>>;

// True when `listed`, the section numbered `n` in file order, is the first of its name: readers see
// only that one. The store that reads like them knows (its headers are the listing's).
bool IsFirstSection(const ProfileText& text, std::size_t n, const ListedSection& listed) {
    if (n < text.FileSectionCount() && text.SectionHeaderAt(n) == listed.at) {
        return !text.IsRepeatedSection(n);
    }
    return text.FirstSectionAt(listed.name).value_or(listed.at) == listed.at;
}

void CheckSection(const DocumentCheck& check, SectionLines& lines, const ListedSection& listed) {
    const std::size_t n = lines.size();
    lines.emplace_back(listed.at, listed.line);
    const std::optional<std::size_t> s = check.catalogues.FindSection(listed.name);
    if (!IsFirstSection(check.text, n, listed)) {
        const std::size_t first = check.text.FirstSectionAt(listed.name).value_or(listed.at);
        const auto firstLine =
            std::lower_bound(lines.begin(), lines.end(), std::make_pair(first, std::size_t{0}));
        check.out.Add(listed.line,
                      FillIn(Translate("Check",
                                       "section [%1] appears again (first on line %2): "
                                       "readers take only the first"),
                             {listed.name, std::to_string(firstLine->second)}));
    } else if (!s) {
        check.out.Add(listed.line,
                      FillIn(Translate("Check",
                                       "section [%1] is not in the catalogue: the editor "
                                       "neither shows nor changes it"),
                             {listed.name}));

    } else {
        const FirstKeys keys(listed);
        CheckKeys(check, listed, keys, *s);
        CheckOrderList(check, listed, keys, *s);
        if (*s == check.catalogues.ReplacementSectionIndex()) {
            CheckReplacementList(check, listed, keys);
        }
    }
}

}  // namespace

Findings CheckDocument(const Catalogues& catalogues, const std::string& path,
                       std::string_view bytes, std::optional<TextEncoding> encoding) {
    Findings findings;
    DocumentCheck check{
        catalogues, ProfileText(bytes, ProfileText::InPlace{}), {}, FileFindings{path, findings}};
    check.warnings = ReadWarnings(catalogues, check.text);
    CheckEncoding(check.out, bytes, encoding ? *encoding : DecideEncoding(bytes));
    const auto aboutEncoding = static_cast<std::ptrdiff_t>(findings.size());
    // The findings of each section come with those of the skipped lines in its body, all on its
    // lines: sorting each batch sorts them all, without sorting every finding of a large document
    // at once.
    std::size_t batch = findings.size();
    SectionLines sections;
    WalkProfile(
        bytes,
        [&](const ListedSection& listed) {
            CheckSection(check, sections, listed);
            SortByLine(findings, batch);
            batch = findings.size();
        },
        [&](const SkippedLine& line) { CheckSkippedLine(check, line); });
    SortByLine(findings, batch);
    // The few findings about the whole file's encoding go in among them.
    std::inplace_merge(findings.begin(), findings.begin() + aboutEncoding, findings.end(),
                       [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return findings;
}

}  // namespace tav::check
