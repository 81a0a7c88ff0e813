// Read access to a compiled HTML help file (.chm) through chmlib, for the help viewer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "catalog/fileaccess.h"

struct chmFile;

namespace tav {

class ChmFile;

// Outcome of ChmFile::Open: either the open file or the error, never both.
struct ChmOpenResult {
    std::unique_ptr<ChmFile> file;
    std::optional<FileError> error;
};

class ChmFile final {
public:
    // Larger help files are refused rather than read.
    static constexpr std::uint64_t kMaxFileSize = 64u << 20;
    // Larger objects inside a help file are treated as absent.
    static constexpr std::uint64_t kMaxObjectSize = 16u << 20;

    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // Opens the help file at `path` (a local path, bytes as the file system spells it).
    // The whole file is checked first: its header, every directory page reachable from the
    // indexes and the compression tables must lie inside the file and agree with each other,
    // so that chmlib never reads past what it was given. On failure the error names `path` and
    // says whether the file is missing, unreadable, too large or not a usable help file.
    static ChmOpenResult Open(const std::string& path);

    // The bytes of the object `name` ("/index.html"; a missing leading '/' is added, case is
    // ignored). Absent, larger than kMaxObjectSize or unreadable: nullopt.
    std::optional<std::string> Retrieve(const std::string& name) const;

    // The page to show first, as an object name with a leading '/', that exists in the file:
    // the default topic of /#SYSTEM, else the default or home page of /#WINDOWS, else the first
    // page the contents file lists, else index.htm(l) or default.htm(l). Empty when none exists.
    std::string DefaultTopic() const;

    // The help file's title from /#SYSTEM; empty when it has none.
    std::string Title() const;

private:
    explicit ChmFile(chmFile* handle);

    bool Exists(const std::string& name) const;
    std::string ContentsFileName() const;
    std::string WindowsTopic() const;
    std::string ContentsTopic() const;

    chmFile* m_handle = nullptr;
};

}  // namespace tav
