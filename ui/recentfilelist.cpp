#include "ui/recentfilelist.h"

#include <algorithm>

namespace tav {

void RecentFileList::Add(const std::string& path) {
    if (path.empty()) {
        return;
    }
    std::erase(m_paths, path);
    m_paths.insert(m_paths.begin(), path);
    if (m_paths.size() > kLimit) {
        m_paths.resize(kLimit);
    }
}

void RecentFileList::Assign(const std::vector<std::string>& paths) {
    m_paths.clear();
    for (const std::string& path : paths) {
        if (m_paths.size() == kLimit) {
            break;
        }
        if (!path.empty() && std::find(m_paths.begin(), m_paths.end(), path) == m_paths.end()) {
            m_paths.push_back(path);
        }
    }
}

}  // namespace tav
