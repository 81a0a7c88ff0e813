#include "catalog/rememberedfolder.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "base/fileaccess.h"

namespace tav {

namespace {

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

void AppendUtf8(std::string& out, std::uint32_t unit) {
    if (unit < 0x80) {
        out += static_cast<char>(unit);
    } else if (unit < 0x800) {
        out += static_cast<char>(0xC0 | (unit >> 6));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (unit >> 12));
        out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    }
}

// The value of the hex digit `c`, or -1.
int HexValue(char c) {
    const std::string_view digits = "0123456789abcdef";
    const std::size_t pos =
        digits.find(static_cast<char>(c >= 'A' && c <= 'F' ? c - 'A' + 'a' : c));
    return pos == std::string_view::npos ? -1 : static_cast<int>(pos);
}

// The text of one INI value as QSettings writes a string: quotes group, backslashes escape; an
// unquoted comma makes a list, which is no folder. Nothing for a list.
std::optional<std::string> UnescapedValue(std::string_view raw) {
    std::string out;
    bool quoted = false;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            return std::nullopt;
        } else if (c != '\\' || i + 1 == raw.size()) {
            out += c;
        } else if (const char e = raw[++i]; e == 'x') {
            std::uint32_t unit = 0;
            for (int digits = 0; digits < 4 && i + 1 < raw.size() && HexValue(raw[i + 1]) >= 0;
                 ++digits) {
                unit = unit * 16 + static_cast<std::uint32_t>(HexValue(raw[++i]));
            }
            AppendUtf8(out, unit);
        } else {
            const std::string_view from = "tnr0ab";
            const std::string_view to("\t\n\r\0\a\b", 6);
            const std::size_t pos = from.find(e);
            out += pos == std::string_view::npos ? e : to[pos];
        }
    }
    return out;
}

}  // namespace

std::string EditorSettingsFile(const std::string& configHome) {
    if (configHome.empty()) {
        return {};
    }
    return configHome + '/' + kSettingsOrganisation + '/' + kEditorSettingsName + ".conf";
}

std::string RememberedFolderInSettings(std::string_view text) {
    const std::string_view key(kCatalogueFolderKey);
    const std::string group = "[" + std::string(key.substr(0, key.find('/'))) + "]";
    const std::string_view name = key.substr(key.find('/') + 1);
    bool inGroup = false;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.front() == '[') {
            inGroup = line == group;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inGroup || equals == std::string_view::npos ||
            Trimmed(line.substr(0, equals)) != name) {
            continue;
        }
        std::optional<std::string> value = UnescapedValue(Trimmed(line.substr(equals + 1)));
        // "@" starts a QSettings variant ("@Variant(...)"); a text that starts with it is "@@".
        if (!value || (!value->empty() && value->front() == '@' && value->rfind("@@", 0) != 0)) {
            return {};
        }
        return value->rfind("@@", 0) == 0 ? value->substr(1) : *value;
    }
    return {};
}

Expected<std::string> ReadRememberedCatalogueFolder(const std::string& settingsFile) {
    if (settingsFile.empty()) {
        return std::string();
    }
    Expected<std::string> bytes = ReadFileBytes(settingsFile);
    if (!bytes) {
        if (bytes.Error().Missing()) {
            return std::string();
        }
        return bytes.Error();
    }
    return RememberedFolderInSettings(*bytes);
}

}  // namespace tav
