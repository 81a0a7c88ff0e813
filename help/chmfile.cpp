#include "help/chmfile.h"

#include <chm_lib.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>
#include <utility>
#include <vector>

#include "base/translation.h"
#include "help/chmbytes.h"
#include "help/chmcheck.h"
#include "help/chmhtml.h"
#include "help/chmlibrary.h"

namespace tav {

namespace {

// --- Help-file metadata ---

constexpr std::uint16_t kSystemContentsFile = 0;
constexpr std::uint16_t kSystemIndexFile = 1;
constexpr std::uint16_t kSystemDefaultTopic = 2;
constexpr std::uint16_t kSystemTitle = 3;
constexpr std::uint64_t kWindowsDefaultPage = 0x68;
constexpr std::uint64_t kWindowsHomePage = 0x6C;
constexpr std::uint64_t kMinWindowsEntry = 0x70;
constexpr std::uint64_t kMaxNameLength = CHM_MAX_PATHLEN;

FileError Failure(const std::string& path, std::string reason) {
    return FileError{path, std::move(reason)};
}

// Object names start with '/' ("index.html" is "/index.html").
std::string ObjectName(std::string_view name) {
    std::string object(name);
    if (!object.empty() && object.front() != '/') {
        object.insert(object.begin(), '/');
    }
    return object;
}

// The text of a NUL-terminated string stored at `offset`, or up to the end of `data`.
std::string TextAt(std::string_view data, std::uint64_t offset) {
    if (offset >= data.size()) {
        return {};
    }
    const std::string_view rest = data.substr(offset);
    return std::string(rest.substr(0, std::min(rest.find('\0'), std::size_t{kMaxNameLength})));
}

// The data of the first /#SYSTEM record with `code`.
std::string SystemRecord(std::string_view system, std::uint16_t code) {
    const ChmBytes data(system);
    for (std::uint64_t pos = 4; data.Has(pos, 4);) {
        const std::uint16_t recordCode = data.U16(pos);
        const std::uint16_t length = data.U16(pos + 2);
        if (!data.Has(pos + 4, length)) {
            break;
        }
        if (recordCode == code) {
            return TextAt(data.View(pos + 4, length), 0);
        }
        pos += 4 + std::uint64_t{length};
    }
    return {};
}

bool HasSuffix(std::string_view name, std::string_view suffix) {
    return name.size() > suffix.size() &&
           EqualNoCase(name.substr(name.size() - suffix.size()), suffix);
}

// The first page a sitemap (contents file) links to.
std::string FirstLocalParam(std::string_view html) {
    static constexpr std::string_view kParam = "<param";
    for (std::size_t pos = 0; pos + kParam.size() <= html.size(); ++pos) {
        if (!EqualNoCase(html.substr(pos, kParam.size()), kParam)) {
            continue;
        }
        const std::string_view tag = html.substr(pos, html.find('>', pos) - pos);
        if (EqualNoCase(HtmlAttribute(tag, "name"), "Local")) {
            return HtmlAttribute(tag, "value");
        }
    }
    return {};
}

}  // namespace

std::string ChmTopicObject(std::string_view topic) {
    if (const auto file = topic.rfind("::"); file != std::string_view::npos) {
        topic.remove_prefix(file + 2);
    }
    std::string name(topic.substr(0, topic.find('#')));
    std::replace(name.begin(), name.end(), '\\', '/');
    return ObjectName(name);
}

ChmFile::ChmFile(chmFile* handle, const ChmLibrary& chm) : m_handle(handle), m_chm(chm) {}

ChmFile::~ChmFile() {
    m_chm.close(m_handle);
}

Expected<std::unique_ptr<ChmFile>> ChmFile::Open(const std::string& path) {
    std::error_code ignored;
    const auto status = std::filesystem::status(path, ignored);
    if (std::filesystem::is_regular_file(status) &&
        std::filesystem::file_size(path, ignored) > kMaxFileSize) {
        return Failure(path, Translate("Help", "it is too large for a help file"));
    }
    const Expected<std::string> read = ReadFileBytes(path);
    if (!read) {
        return Failure(path, read.Error().reason);
    }
    if (read->size() > kMaxFileSize) {
        return Failure(path, Translate("Help", "it is too large for a help file"));
    }
    if (auto problem = CheckChmContainer(*read)) {
        return Failure(path, FillIn(Translate("Help", "it is damaged: %1"), {*problem}));
    }
    const Expected<ChmLibrary>& chm = ProgramChmLibrary();
    if (!chm) {
        return Failure(path, FillIn(Translate("Help", "the help file reader %1 cannot be used: %2"),
                                    {chm.Error().file, chm.Error().reason}));
    }
    chmFile* handle = chm->open(path.c_str());
    if (handle == nullptr) {
        return Failure(path, Translate("Help", "it could not be opened as a help file"));
    }
    return std::unique_ptr<ChmFile>(new ChmFile(handle, *chm));
}

std::optional<std::string> ChmFile::Retrieve(const std::string& name) const {
    const std::string object = ObjectName(name);
    chmUnitInfo unit{};
    if (object.empty() ||
        m_chm.resolveObject(m_handle, object.c_str(), &unit) != CHM_RESOLVE_SUCCESS ||
        unit.length > kMaxObjectSize) {
        return std::nullopt;
    }
    std::string bytes(unit.length, '\0');
    if (unit.length == 0) {
        return bytes;
    }
    const LONGINT64 wanted = static_cast<LONGINT64>(unit.length);
    const LONGINT64 got = m_chm.retrieveObject(
        m_handle, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0, wanted);
    if (got != wanted) {
        return std::nullopt;
    }
    return bytes;
}

bool ChmFile::Exists(const std::string& name) const {
    const std::string object = ObjectName(name);
    chmUnitInfo unit{};
    return !object.empty() && object.back() != '/' &&
           m_chm.resolveObject(m_handle, object.c_str(), &unit) == CHM_RESOLVE_SUCCESS;
}

std::string ChmFile::DefaultTopic() const {
    const auto system = Retrieve("/#SYSTEM");
    std::vector<std::string> candidates;
    if (system) {
        candidates.push_back(SystemRecord(*system, kSystemDefaultTopic));
    }
    candidates.push_back(WindowsTopic());
    candidates.push_back(ContentsTopic());
    for (const char* name : {"/index.htm", "/index.html", "/default.htm", "/default.html"}) {
        candidates.emplace_back(name);
    }
    for (const std::string& candidate : candidates) {
        if (const std::string object = ChmTopicObject(candidate); Exists(object)) {
            return object;
        }
    }
    return {};
}

std::string ChmFile::Title() const {
    const auto system = Retrieve("/#SYSTEM");
    return system ? SystemRecord(*system, kSystemTitle) : std::string();
}

std::string ChmFile::WindowsTopic() const {
    const auto windows = Retrieve("/#WINDOWS");
    const auto strings = Retrieve("/#STRINGS");
    if (!windows || !strings) {
        return {};
    }
    const ChmBytes data(*windows);
    if (!data.Has(0, 8)) {
        return {};
    }
    const std::uint64_t count = data.U32(0);
    const std::uint64_t entryLength = data.U32(4);
    if (entryLength < kMinWindowsEntry) {
        return {};
    }
    for (std::uint64_t i = 0; i < count && data.Has(8 + i * entryLength, entryLength); ++i) {
        const std::uint64_t entry = 8 + i * entryLength;
        for (const std::uint64_t field : {kWindowsDefaultPage, kWindowsHomePage}) {
            const std::string page = TextAt(*strings, data.U32(entry + field));
            if (Exists(ChmTopicObject(page))) {
                return page;
            }
        }
    }
    return {};
}

std::string ChmFile::ContentsFileName() const {
    return SitemapFileName(kSystemContentsFile, ".hhc");
}

std::string ChmFile::IndexFileName() const {
    return SitemapFileName(kSystemIndexFile, ".hhk");
}

std::string ChmFile::SitemapFileName(std::uint16_t systemCode, std::string_view suffix) const {
    if (const auto system = Retrieve("/#SYSTEM")) {
        if (std::string name = SystemRecord(*system, systemCode); !name.empty()) {
            return ObjectName(name);
        }
    }
    // No name recorded: the first file with that suffix in the directory.
    const auto objects = Objects();
    const auto found = std::find_if(objects.begin(), objects.end(), [&](const std::string& name) {
        return HasSuffix(name, suffix);
    });
    return found == objects.end() ? std::string() : *found;
}

std::vector<std::string> ChmFile::Objects() const {
    std::vector<std::string> names;
    const auto collect = [](chmFile*, chmUnitInfo* unit, void* context) -> int {
        auto& found = *static_cast<std::vector<std::string>*>(context);
        const std::string_view name(unit->path);
        if (found.size() >= kMaxListedObjects) {
            return CHM_ENUMERATOR_SUCCESS;
        }
        if (!name.empty() && name.back() != '/') {
            found.emplace_back(name.substr(0, kMaxNameLength));
        }
        return CHM_ENUMERATOR_CONTINUE;
    };
    m_chm.enumerate(m_handle, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collect, &names);
    return names;
}

std::vector<std::string> ChmFile::Pages() const {
    std::vector<std::string> pages;
    for (std::string& name : Objects()) {
        if (HasSuffix(name, ".htm") || HasSuffix(name, ".html")) {
            pages.push_back(std::move(name));
        }
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

std::vector<SitemapEntry> ChmFile::Contents() const {
    const std::string name = ContentsFileName();
    const auto text = name.empty() ? std::nullopt : Retrieve(name);
    return text ? ParseSitemap(*text) : std::vector<SitemapEntry>();
}

std::vector<SitemapEntry> ChmFile::Keywords() const {
    const std::string name = IndexFileName();
    const auto text = name.empty() ? std::nullopt : Retrieve(name);
    return text ? ParseSitemap(*text) : std::vector<SitemapEntry>();
}

std::string ChmFile::ContentsTopic() const {
    const std::string name = ContentsFileName();
    if (name.empty()) {
        return {};
    }
    const auto contents = Retrieve(name);
    return contents ? FirstLocalParam(*contents) : std::string();
}

}  // namespace tav
