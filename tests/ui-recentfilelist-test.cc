// The recent files list: most recent first, no repeats, at most eight.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/recentfilelist.h"

namespace tavtest {
namespace {

using Paths = std::vector<std::string>;

TEST(RecentFileList, AddPutsThePathFirstOnceAndKeepsEight) {
    struct Case {
        const char* name;
        Paths before;
        std::string added;
        Paths after;
    };
    const Paths eight = {"1", "2", "3", "4", "5", "6", "7", "8"};
    const Case cases[] = {
        {"first", {}, "a", {"a"}},
        {"new", {"a", "b"}, "c", {"c", "a", "b"}},
        {"repeat moves up", {"a", "b", "c"}, "c", {"c", "a", "b"}},
        {"already first", {"a", "b"}, "a", {"a", "b"}},
        {"oldest dropped", eight, "9", {"9", "1", "2", "3", "4", "5", "6", "7"}},
        {"repeat in a full list", eight, "8", {"8", "1", "2", "3", "4", "5", "6", "7"}},
        {"empty ignored", {"a"}, "", {"a"}},
        {"case matters", {"a.tac"}, "A.tac", {"A.tac", "a.tac"}},
    };
    for (const Case& c : cases) {
        tav::RecentFileList list;
        list.Assign(c.before);
        list.Add(c.added);
        EXPECT_EQ(list.Paths(), c.after) << c.name;
    }
}

TEST(RecentFileList, AssignKeepsTheOrderWithoutRepeatsOrBlanksUpToEight) {
    tav::RecentFileList list;
    list.Assign({"a", "", "b", "a", "c", "d", "e", "f", "g", "h", "i"});
    EXPECT_EQ(list.Paths(), (Paths{"a", "b", "c", "d", "e", "f", "g", "h"}));
}

}  // namespace
}  // namespace tavtest
