// The documents used last, most recent first, as File > Recent offers them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tav {

class RecentFileList final {
public:
    // The list never holds more paths than this.
    static constexpr std::size_t kLimit = 8;

    // Puts `path` first; an equal path further down is removed, and the oldest path beyond the
    // limit is dropped. An empty path changes nothing.
    void Add(const std::string& path);

    // Replaces the list with `paths` (most recent first, as stored): empty paths and repeats of an
    // earlier path are left out, and only the first kLimit are kept.
    void Assign(const std::vector<std::string>& paths);

    // Takes `path` out of the list; a path the list does not hold changes nothing.
    void Remove(const std::string& path) { std::erase(m_paths, path); }

    const std::vector<std::string>& Paths() const { return m_paths; }

private:
    std::vector<std::string> m_paths;
};

}  // namespace tav
