// Loading chmlib on first use: the program's own library, and a clear reason for every library
// that cannot serve.
#include <gtest/gtest.h>

#include <string>

#include "help/chmlibrary.h"

namespace {

TEST(ChmLibrary, TheProgramsLibraryLoadsOnceWithEveryFunction) {
    const tav::Expected<tav::ChmLibrary>& library = tav::ProgramChmLibrary();
    ASSERT_TRUE(library) << library.Error().Message();
    EXPECT_NE(library->open, nullptr);
    EXPECT_NE(library->close, nullptr);
    EXPECT_NE(library->resolveObject, nullptr);
    EXPECT_NE(library->retrieveObject, nullptr);
    EXPECT_NE(library->enumerate, nullptr);
    EXPECT_EQ(&tav::ProgramChmLibrary(), &library);
    // The functions are chmlib's: opening a file that does not exist fails cleanly.
    EXPECT_EQ(library->open("/nonexistent/help.chm"), nullptr);
}

TEST(ChmLibrary, NamesTheLibraryAndWhyItCannotServe) {
    struct Case {
        const char* name;
        std::string library;
        std::string reason;  // a part of the reason
    };
    const Case cases[] = {
        {"missing", "libtav-no-such-library.so.7", "libtav-no-such-library.so.7"},
        {"missing_path", "/nonexistent/folder/libchm.so.1", "No such file"},
        {"without_chmlib_functions", "libc.so.6", "it has no function chm_open"},
    };
    for (const Case& c : cases) {
        const tav::Expected<tav::ChmLibrary> library = tav::LoadChmLibrary(c.library);
        ASSERT_FALSE(library) << c.name;
        EXPECT_EQ(library.Error().file, c.library) << c.name;
        EXPECT_NE(library.Error().reason.find(c.reason), std::string::npos)
            << c.name << ": " << library.Error().reason;
    }
}

}  // namespace
