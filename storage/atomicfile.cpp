#include "storage/atomicfile.h"

#include <cerrno>

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

}  // namespace tav
