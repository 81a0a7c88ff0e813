#include "base/progress.h"

#include <utility>

namespace tav {

namespace {

thread_local ProgressSink t_sink;

}  // namespace

ProgressReport::ProgressReport(ProgressSink sink)
    : m_previous(std::exchange(t_sink, std::move(sink))) {}

ProgressReport::~ProgressReport() {
    t_sink = std::move(m_previous);
}

void ReportProgress(std::size_t done, std::size_t total) {
    if (t_sink) {
        t_sink(done, total);
    }
}

}  // namespace tav
