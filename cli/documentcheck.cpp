#include "documentcheck.h"

#include "fieldaddress.h"

namespace tav::cli {

namespace {

bool IsComment(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

void CheckSkippedLines(const DocumentCheck& check, const ProfileListing& listing) {
    for (const SkippedLine& line : listing.skipped) {
        if (IsComment(line.text)) {
            continue;
        }
        check.out.Add(line.line, line.beforeFirstSection
                                     ? "the line comes before the first section: no reader takes it"
                                     : "the line is neither a section header nor a key line (it "
                                       "holds no \"=\"): readers skip it");
    }
}

// True when the catalogues describe `key` in section `s`: a field, the Order list of an ordered
// section, or a key of the replacement list (checked on their own).
bool IsDescribed(const CatalogueSet& catalogues, std::size_t s, std::string_view key) {
    if (catalogues.FindField(s, key)) {
        return true;
    }
    const SectionDef& section = catalogues.sections[s];
    if (section.ordered == 'Y' && SameName(key, "Order")) {
        return true;
    }
    return &section == catalogues.ReplacementSection() &&
           (ReplacementEntryNumber(key) || SameName(key, "r"));
}

// Values the editor shows differently from the text the file holds.
void CheckValue(const DocumentCheck& check, const ListedSection& listed, const ListedKey& key,
                std::uint16_t f) {
    const FieldDef& field = check.document.fields[f];
    const std::string stored = check.text.Get(listed.name, key.name).value_or("");
    if (field.type == "B" && stored != "0" && stored != "1") {
        check.out.Add(key.line, "the value " + Quote(stored) + " of " + key.name + " shows as " +
                                    field.value +
                                    " in the editor, and a save "
                                    "writes " +
                                    (field.value == "True" ? "1" : "0"));
    } else if (field.type != "B" && TrimBlanks(key.storedText) != stored &&
               EncodeProfileValue(stored) == stored) {
        check.out.Add(key.line, "the quotes around the value of " + key.name +
                                    " are not part of it: the editor shows " + Quote(stored));
    }
}

void CheckKeys(const DocumentCheck& check, const ListedSection& listed, std::size_t s) {
    for (std::size_t i = 0; i < listed.keys.size(); ++i) {
        const ListedKey& key = listed.keys[i];
        if (!IsFirstKey(listed, i)) {
            check.out.Add(key.line, "the key " + key.name + " appears again in [" + listed.name +
                                        "] (first on line " +
                                        std::to_string(FirstKey(listed, key.name)->line) +
                                        "): readers take only the first");
        } else if (const auto f = check.catalogues.FindField(s, key.name)) {
            CheckValue(check, listed, key, *f);
        } else if (!IsDescribed(check.catalogues, s, key.name)) {
            check.out.Add(key.line, "the key " + key.name + " of [" + listed.name +
                                        "] is not in the catalogue: the editor neither shows "
                                        "nor changes it");
        }
    }
}

// The first listed section named like `listed`.
const ListedSection& FirstSection(const ProfileListing& listing, const ListedSection& listed) {
    for (const ListedSection& section : listing.sections) {
        if (SameName(section.name, listed.name)) {
            return section;
        }
    }
    return listed;
}

void CheckSection(const DocumentCheck& check, const ProfileListing& listing,
                  const ListedSection& listed) {
    const ListedSection& first = FirstSection(listing, listed);
    const std::optional<std::size_t> s = check.catalogues.FindSection(listed.name);
    if (&first != &listed) {
        check.out.Add(listed.line, "section [" + listed.name + "] appears again (first on line " +
                                       std::to_string(first.line) +
                                       "): readers take only the first");
    } else if (!s) {
        check.out.Add(listed.line, "section [" + listed.name +
                                       "] is not in the catalogue: the "
                                       "editor neither shows nor changes it");
    } else {
        CheckKeys(check, listed, *s);
        CheckOrderList(check, listed, *s);
        if (&check.catalogues.sections[*s] == check.catalogues.ReplacementSection()) {
            CheckReplacementList(check, listed);
        }
    }
}

}  // namespace

const ListedKey* FirstKey(const ListedSection& section, std::string_view name) {
    for (const ListedKey& key : section.keys) {
        if (SameName(key.name, name)) {
            return &key;
        }
    }
    return nullptr;
}

bool IsFirstKey(const ListedSection& section, std::size_t index) {
    return FirstKey(section, section.keys[index].name) == &section.keys[index];
}

Findings CheckDocument(const CatalogueSet& catalogues, const LoadedDocument& document) {
    Findings findings;
    const DocumentCheck check{catalogues, document, ProfileText(document.bytes),
                              FileFindings{document.path, findings}};
    const ProfileListing listing = ListProfile(document.bytes);
    CheckSkippedLines(check, listing);
    for (const ListedSection& listed : listing.sections) {
        CheckSection(check, listing, listed);
    }
    SortByLine(findings);
    return findings;
}

}  // namespace tav::cli
