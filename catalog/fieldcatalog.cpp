#include "fieldcatalog.h"

#include "catalogtext.h"

namespace tav {

namespace {

FieldDef ParseFieldLine(std::string_view line) {
    FieldDef row;
    row.label = std::string(TakeColumn(line));
    row.key = std::string(TakeColumn(line));
    row.type = std::string(TakeColumn(line));
    row.orderPos = TakeFlagColumn(line) == 'Y' ? 1 : 0;
    row.sectionId = LeadingNumber16(line);
    if (row.type == "B") {
        row.value = "False";
    }
    return row;
}

}  // namespace

FieldCatalog::FieldCatalog(std::string folder, CatalogReporter report)
    : m_folder(std::move(folder)), m_report(std::move(report)) {
    Load();
}

void FieldCatalog::Load() {
    const std::string path = JoinPath(m_folder, kFileName);
    const FileBytes file = ReadFileBytes(path);
    if (file.error) {
        LoadText({});
        if (m_report) {
            m_report(*file.error);
        }
        return;
    }
    if (const std::size_t dropped = LoadText(file.bytes); dropped > 0 && m_report) {
        m_report(FileError{path, std::to_string(dropped) +
                                     " line(s) past the limit of 128 fields were not loaded"});
    }
}

std::size_t FieldCatalog::LoadText(std::string_view text) {
    m_rows.fill(FieldDef{});
    m_rowCount = 0;
    m_replacementCount = 0;
    std::size_t dropped = 0;
    for (const std::string_view line : CatalogLines(text)) {
        if (m_rowCount == kCapacity) {
            ++dropped;
            continue;
        }
        m_rows[m_rowCount++] = ParseFieldLine(line);
    }
    return dropped;
}

std::optional<std::uint16_t> FieldCatalog::AppendReplacement(const std::string& from,
                                                             const std::string& to,
                                                             std::uint16_t sectionId) {
    if (m_rowCount == kCapacity || m_replacementCount >= kMaxReplacements) {
        return std::nullopt;
    }
    FieldDef& row = m_rows[m_rowCount];
    row.label = from;
    row.key = std::string(1, static_cast<char>(49 + m_replacementCount));
    row.value = to;
    row.type = "RFS";
    row.sectionId = sectionId;
    row.orderPos = 0;
    const std::uint16_t before = m_replacementCount;
    ++m_rowCount;
    ++m_replacementCount;
    return before;
}

bool FieldCatalog::RemoveReplacement(std::uint16_t index) {
    if (index >= m_rowCount || m_rows[index].type != "RFS" || m_replacementCount == 0) {
        return false;
    }
    for (std::uint16_t j = index + 1; j < m_rowCount; ++j) {
        FieldDef moved = std::move(m_rows[j]);
        // Only the one-character keys AppendReplacement hands out carry a running number; the
        // keys a save gave ("r0", ...) stay as they are.
        if (moved.type == "RFS" && moved.key.size() == 1) {
            moved.key[0] = static_cast<char>(moved.key[0] - 1);
        }
        m_rows[j - 1] = std::move(moved);
    }
    --m_rowCount;
    --m_replacementCount;
    m_rows[m_rowCount] = FieldDef{};
    return true;
}

}  // namespace tav
