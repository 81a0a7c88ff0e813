#include "base/filepath.h"

#include <gtest/gtest.h>

namespace {

TEST(FilePathTest, FolderAndNameOfEveryShapeOfPath) {
    struct Case {
        const char* path;
        const char* folder;
        const char* name;
    };
    const Case cases[] = {
        {"/srv/tac/site.tac", "/srv/tac", "site.tac"},
        {"/site.tac", "/", "site.tac"},
        {"site.tac", ".", "site.tac"},
        {"sub/site.tac", "sub", "site.tac"},
        {"/srv/tac/", "/srv/tac", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tav::FolderOf(c.path), c.folder) << c.path;
        EXPECT_EQ(tav::BaseNameOf(c.path), c.name) << c.path;
    }
}

}  // namespace
