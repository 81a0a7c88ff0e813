#include "document/documentio.h"

#include <string_view>
#include <utility>

#include "base/system.h"

namespace tav {

namespace {

bool IsInfoField(const SectionDef& section, const DocumentRow& field, std::string_view key) {
    return section.iniName == "TACInfo" && field.key == key;
}

}  // namespace

std::vector<std::string> ReadReplacementEntries(const SectionCatalog& sections,
                                                DocumentTable& fields,
                                                const ProfileText& document) {
    std::vector<std::string> warnings;
    const int r = sections.ReplacementSectionIndex();
    if (r < 0) {
        return warnings;
    }
    const SectionDef& section = sections[static_cast<std::size_t>(r)];
    for (std::size_t n = 0; n < DocumentTable::kMaxReplacements; ++n) {
        const std::string key = ReplacementKey(n);
        const auto entry = ParseReplacementEntry(document.Get(section.iniName, key).value_or(""));
        if (!entry) {
            break;
        }
        if (!fields.AppendReplacement(entry->first, entry->second, section.id)) {
            warnings.push_back(UnloadedEntriesWarning(section.iniName, key));
            break;
        }
    }
    return warnings;
}

std::vector<std::string> ReadDocumentValues(const SectionCatalog& sections, DocumentTable& fields,
                                            const ProfileText& document) {
    const std::uint16_t count = fields.Count();
    for (std::uint16_t i = 0; i < count; ++i) {
        DocumentRow& field = fields[i];
        const SectionDef* section = sections.RowForId(field.sectionId);
        if (section == nullptr) {
            continue;  // names no section: neither read nor written
        }
        std::string stored = document.Get(section->iniName, field.key).value_or("");
        if (field.type == FieldType::Boolean) {
            field.value = ShownBoolean(stored);
        } else {
            field.value = std::move(stored);
        }
        if (field.orderPos != 0) {
            field.orderPos = PositionInOrderList(
                document.Get(section->iniName, kOrderKey).value_or(""), field.key);
        }
    }
    return ReadReplacementEntries(sections, fields, document);
}

Status ApplySave(const SectionCatalog& sections, DocumentTable& fields, const DisplayOrder& order,
                 const std::string& timeText, ProfileText& document) {
    DocumentTable work = fields;
    std::size_t n = 0;
    for (std::uint16_t i = 0; i < sections.Count(); ++i) {
        const SectionDef& row = sections[i];
        const SectionDef* target = sections.RowForId(row.id);
        if (target == nullptr) {
            continue;  // no section to write to
        }
        const std::string& name = target->iniName;
        const bool ordered = row.ordered;
        std::string orderList;
        if (ordered) {
            if (Status set = document.Set(name, kOrderKey, ""); !set) {
                return set;
            }
        }
        const std::vector<std::uint16_t> none;
        std::vector<ReplacementEntry> entries;
        for (const std::uint16_t f : i < order.size() ? order[i] : none) {
            DocumentRow& field = work[f];
            if (IsInfoField(row, field, "Updated")) {
                field.value = timeText;
            } else if (IsInfoField(row, field, "Version")) {
                field.value = "1.0";
            }
            if (field.type == FieldType::Replacement) {
                // Entries come last in their section's order; the list is written after them.
                entries.push_back(ReplacementEntry{field.label, field.value});
                field.key = ReplacementKey(n++);
                continue;
            }
            const std::string text =
                field.type == FieldType::Boolean ? StoredBoolean(field.value) : field.value;
            if (Status set = document.Set(name, field.key, text); !set) {
                return set;
            }
            if (ordered && field.orderPos != 0) {
                orderList += (orderList.empty() ? "" : ",") + field.key;
            }
        }
        if (row.kind == SectionKind::Replacements) {
            const std::size_t first = n - entries.size();
            if (Status set = WriteReplacementList(document, name, entries, first); !set) {
                return set;
            }
        }
        if (ordered) {
            if (Status set = document.Set(name, kOrderKey, orderList); !set) {
                return set;
            }
        }
    }
    fields = std::move(work);
    return {};
}

Status WriteReplacementList(ProfileText& document, const std::string& section,
                            const std::vector<ReplacementEntry>& entries, std::size_t first) {
    for (std::size_t n = 0; n < entries.size(); ++n) {
        const std::string stored = ReplacementEntryText(entries[n].from, entries[n].to);
        if (Status set = document.Set(section, ReplacementKey(first + n), stored); !set) {
            return set;
        }
    }
    if (const std::size_t end = first + entries.size(); end < DocumentTable::kMaxReplacements) {
        return document.Set(section, ReplacementKey(end), "");
    }
    return {};
}

std::string FormatTimeText(const std::tm& time) {
    char text[64];
    const std::size_t size = std::strftime(text, sizeof text, "%d/%m/%Y (%H:%M:%S)", &time);
    return std::string(text, size);
}

std::string CurrentTimeText() {
    const std::time_t now = std::time(nullptr);
    return FormatTimeText(LocalTime(now));
}

}  // namespace tav
