// How far a long read or write of a document is, for a window that shows progress: the loops that
// read and write files report to the sink installed on their thread, if any.
#pragma once

#include <cstddef>
#include <functional>

namespace tav {

// Told `done` of `total` bytes after each step of a read or write.
using ProgressSink = std::function<void(std::size_t done, std::size_t total)>;

// Installs `sink` for the calling thread while it lives (the one before comes back after).
class ProgressReport final {
public:
    explicit ProgressReport(ProgressSink sink);
    ~ProgressReport();
    ProgressReport(const ProgressReport&) = delete;
    ProgressReport& operator=(const ProgressReport&) = delete;

private:
    ProgressSink m_previous;
};

// Tells the installed sink, if any.
void ReportProgress(std::size_t done, std::size_t total);

}  // namespace tav
