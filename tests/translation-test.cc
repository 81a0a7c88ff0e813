// The core's translatable texts: placeholders filled in whole, and the hook the programs install.
#include <gtest/gtest.h>

#include <cstring>

#include "base/fileerror.h"
#include "base/translation.h"

namespace tavtest {
namespace {

TEST(FillIn, PutsEachArgumentAtItsNumberAndNothingElse) {
    const struct {
        const char* name;
        const char* pattern;
        std::initializer_list<std::string_view> args;
        const char* filled;
    } cases[] = {
        {"in order", "%1: %2", {"a.tac", "gone"}, "a.tac: gone"},
        {"reordered", "%2 (%1)", {"a", "b"}, "b (a)"},
        {"repeated", "%1, %1", {"x"}, "x, x"},
        {"argument with a placeholder", "%1 and %2", {"%2", "y"}, "%2 and y"},
        {"missing argument", "%1 %3", {"a", "b"}, "a %3"},
        {"not a placeholder", "100% %0 %x %", {"a"}, "100% %0 %x %"},
        {"no arguments", "plain", {}, "plain"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tav::FillIn(c.pattern, c.args), c.filled) << c.name;
    }
}

std::string Shouting(const char* context, const char* text) {
    if (std::strcmp(context, "FileError") != 0 || std::strcmp(text, "%1: %2") == 0) {
        return {};  // no translation: the text stays as it is
    }
    return std::string(text) + "!";
}

TEST(Translate, GoesThroughTheInstalledHookUntilItIsRemoved) {
    const tav::FileError error{"a.tac", "gone", 0, tav::WriteState::Untouched};
    EXPECT_EQ(error.Message(), "a.tac: gone; nothing was written");
    tav::SetTranslationHook(Shouting);
    EXPECT_EQ(error.Message(), "a.tac: gone; nothing was written!");
    EXPECT_EQ(tav::Translate("Storage", "cannot write: "), "cannot write: ");
    tav::SetTranslationHook(nullptr);
    EXPECT_EQ(error.Message(), "a.tac: gone; nothing was written");
}

}  // namespace
}  // namespace tavtest
