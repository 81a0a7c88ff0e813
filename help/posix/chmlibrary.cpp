#include "help/chmlibrary.h"
#include "base/translation.h"

#include <dlfcn.h>

#include <type_traits>

namespace tav {

Expected<ChmLibrary> LoadChmLibrary(const std::string& name) {
    void* library = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        return FileError{name, reason != nullptr ? std::string(reason)
                                                 : Translate("Help", "it could not be loaded")};
    }
    ChmLibrary functions;
    const char* missing = nullptr;
    const auto take = [library, &missing](const char* symbol, auto& function) {
        function =
            reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, symbol));
        if (function == nullptr && missing == nullptr) {
            missing = symbol;
        }
    };
    take("chm_open", functions.open);
    take("chm_close", functions.close);
    take("chm_resolve_object", functions.resolveObject);
    take("chm_retrieve_object", functions.retrieveObject);
    take("chm_enumerate", functions.enumerate);
    if (missing != nullptr) {
        dlclose(library);
        return FileError{name, FillIn(Translate("Help", "it has no function %1"), {missing})};
    }
    return functions;
}

const Expected<ChmLibrary>& ProgramChmLibrary() {
    static const Expected<ChmLibrary> library = LoadChmLibrary(TAV_CHM_LIBRARY);
    return library;
}

}  // namespace tav
