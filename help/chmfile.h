// Read access to a compiled HTML help file (.chm) through chmlib, for the help viewer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/fileaccess.h"
#include "help/chmsitemap.h"

struct chmFile;

namespace tav {

class ChmFile;
struct ChmLibrary;

// Outcome of ChmFile::Open: either the open file or the error, never both.
// The object a topic reference names: "index.html#part" is "/index.html", "other.chm::/a\\b.htm"
// is "/a/b.htm".
std::string ChmTopicObject(std::string_view topic);

class ChmFile final {
public:
    // Larger help files are refused rather than read.
    static constexpr std::uint64_t kMaxFileSize = 64u << 20;
    // Larger objects inside a help file are treated as absent.
    static constexpr std::uint64_t kMaxObjectSize = 16u << 20;
    // Objects() lists no more than this many names.
    static constexpr std::size_t kMaxListedObjects = 100000;

    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // Opens the help file at `path` (a local path, bytes as the file system spells it).
    // The whole file is checked first: its header, every directory page reachable from the
    // indexes and the compression tables must lie inside the file and agree with each other,
    // so that chmlib never reads past what it was given. chmlib itself is loaded by the first
    // Open (see ProgramChmLibrary). On failure the error names `path` and says whether the file
    // is missing, unreadable, too large or not a usable help file, or chmlib cannot be loaded.
    static Expected<std::unique_ptr<ChmFile>> Open(const std::string& path);

    // The bytes of the object `name` ("/index.html"; a missing leading '/' is added, case is
    // ignored). Absent, larger than kMaxObjectSize or unreadable: nullopt.
    std::optional<std::string> Retrieve(const std::string& name) const;

    // The page to show first, as an object name with a leading '/', that exists in the file:
    // the default topic of /#SYSTEM, else the default or home page of /#WINDOWS, else the first
    // page the contents file lists, else index.htm(l) or default.htm(l). Empty when none exists.
    std::string DefaultTopic() const;

    // The help file's title from /#SYSTEM; empty when it has none.
    std::string Title() const;

    // Whether the file holds the object `name` (as Retrieve names it); folders do not count.
    bool Exists(const std::string& name) const;

    // The names of the file's objects (folders left out) in directory order, the internal ones
    // ("/#SYSTEM", "::DataSpace/...") included; at most kMaxListedObjects.
    std::vector<std::string> Objects() const;
    // The objects named *.htm or *.html (any case), sorted by name.
    std::vector<std::string> Pages() const;

    // The object names of the contents file and of the keyword index: as /#SYSTEM records them,
    // else the first *.hhc / *.hhk object. Empty when there is none.
    std::string ContentsFileName() const;
    std::string IndexFileName() const;

    // The parsed contents file and keyword index (ParseSitemap); empty when the file has none
    // or it cannot be read.
    std::vector<SitemapEntry> Contents() const;
    std::vector<SitemapEntry> Keywords() const;

private:
    ChmFile(chmFile* handle, const ChmLibrary& chm);

    std::string SitemapFileName(std::uint16_t systemCode, std::string_view suffix) const;
    std::string WindowsTopic() const;
    std::string ContentsTopic() const;

    chmFile* m_handle = nullptr;
    const ChmLibrary& m_chm;  // the program's, loaded for good
};

}  // namespace tav
