#include "document/documentio.h"

#include <memory>
#include <string_view>

#include "base/fileaccess.h"
#include "storage/documentfile.h"

namespace tav {

namespace {

void ReadReplacements(const SectionCatalog& sections, FieldCatalog& fields,
                      const ProfileText& document, std::vector<std::string>& warnings) {
    const int r = sections.ReplacementSectionIndex();
    if (r < 0) {
        return;
    }
    const SectionDef& section = sections[static_cast<std::size_t>(r)];
    for (std::size_t n = 0; n < FieldCatalog::kMaxReplacements; ++n) {
        const std::string key = ReplacementKey(n);
        const auto entry = ParseReplacementEntry(document.Get(section.iniName, key).value_or(""));
        if (!entry) {
            return;
        }
        if (!fields.AppendReplacement(entry->first, entry->second, section.id)) {
            warnings.push_back(UnloadedEntriesWarning(section.iniName, key));
            return;
        }
    }
}

bool IsInfoField(const SectionDef& section, const FieldDef& field, std::string_view key) {
    return section.iniName == "TACInfo" && field.key == key;
}

}  // namespace

Expected<std::string> LoadDocumentText(const std::string& path) {
    if (path.empty()) {
        return std::string();
    }
    Expected<std::string> file = ReadFileBytes(path);
    if (!file && file.Error().Missing()) {
        return std::string();
    }
    return file;
}

std::vector<std::string> ReadDocumentValues(const SectionCatalog& sections, FieldCatalog& fields,
                                            const ProfileText& document) {
    std::vector<std::string> warnings;
    const std::uint16_t count = fields.Count();
    for (std::uint16_t i = 0; i < count; ++i) {
        FieldDef& field = fields[i];
        const SectionDef* section = sections.RowForId(field.sectionId);
        if (section == nullptr) {
            continue;  // names no section: neither read nor written
        }
        const std::string stored = document.Get(section->iniName, field.key).value_or("");
        if (field.type == FieldType::Boolean) {
            field.value = ShownBoolean(stored);
        } else {
            field.value = stored;
        }
        if (field.orderPos != 0) {
            field.orderPos = PositionInOrderList(
                document.Get(section->iniName, kOrderKey).value_or(""), field.key);
        }
    }
    ReadReplacements(sections, fields, document, warnings);
    return warnings;
}

Status ApplySave(const SectionCatalog& sections, FieldCatalog& fields, const DisplayOrder& order,
                 const std::string& timeText, ProfileText& document) {
    FieldCatalog work = fields;
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
        for (const std::uint16_t f : i < order.size() ? order[i] : none) {
            FieldDef& field = work[f];
            if (IsInfoField(row, field, "Updated")) {
                field.value = timeText;
            } else if (IsInfoField(row, field, "Version")) {
                field.value = "1.0";
            }
            std::string text;
            if (field.type == FieldType::Boolean) {
                text = StoredBoolean(field.value);
            } else if (field.type == FieldType::Replacement) {
                text = ReplacementEntryText(field.label, field.value);
                field.key = ReplacementKey(n++);
            } else {
                text = field.value;
            }
            if (Status set = document.Set(name, field.key, text); !set) {
                return set;
            }
            if (ordered && field.orderPos != 0) {
                orderList += (orderList.empty() ? "" : ",") + field.key;
            }
        }
        if (ordered) {
            if (Status set = document.Set(name, kOrderKey, orderList); !set) {
                return set;
            }
        }
        // With the most entries the list can hold, the end key would be "r=", which no line can
        // hold; the reader stops there anyway.
        if (row.kind == SectionKind::Replacements && n < FieldCatalog::kMaxReplacements) {
            if (Status set = document.Set(name, ReplacementKey(n), ""); !set) {
                return set;
            }
        }
    }
    fields = std::move(work);
    return {};
}

Status SaveDocumentFile(const std::string& path, const SectionCatalog& sections,
                        FieldCatalog& fields, const DisplayOrder& order,
                        const std::string& timeText, std::optional<std::string_view> source,
                        WrittenContent* written,
                        const std::function<bool(std::string_view current)>& onlyIf,
                        const RewriteOptions& options) {
    FieldCatalog work;
    std::unique_ptr<ProfileText> document;  // what the written pieces point into
    const Status saved = RewriteDocument(
        path,
        [&](std::string_view current) -> Expected<SplicedBytes> {
            if (onlyIf && !onlyIf(current)) {
                return FileError{path, "the file was changed by someone else"};
            }
            document =
                std::make_unique<ProfileText>(source.value_or(current), ProfileText::InPlace{});
            work = fields;
            if (const Status applied = ApplySave(sections, work, order, timeText, *document);
                !applied) {
                return FileError{path, applied.Error().reason};
            }
            return document->Pieces();
        },
        written, options);
    if (!saved) {
        return saved;
    }
    fields = std::move(work);
    return {};
}

std::string FormatTimeText(const std::tm& time) {
    char text[64];
    const std::size_t size = std::strftime(text, sizeof text, "%d/%m/%Y (%H:%M:%S)", &time);
    return std::string(text, size);
}

std::string CurrentTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return FormatTimeText(local);
}

}  // namespace tav
