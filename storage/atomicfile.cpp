#include "storage/atomicfile.h"

#include <cerrno>

#include "storage/documentfile.h"

namespace tav {

namespace {

SaveFaultHook g_faultHook;

}  // namespace

void SetSaveFaultHookForTesting(SaveFaultHook hook) {
    g_faultHook = std::move(hook);
}

bool SaveStepAllowed(SaveStep step, std::size_t bytesSoFar) {
    if (!g_faultHook) {
        return true;
    }
    if (const int error = g_faultHook(step, bytesSoFar); error != 0) {
        errno = error;
        return false;
    }
    return true;
}

Status WriteFileAtomically(const std::string& path, std::string_view bytes) {
    return RewriteDocument(
        path, [bytes](std::string_view) -> Expected<SplicedBytes> { return SplicedBytes(bytes); });
}

}  // namespace tav
