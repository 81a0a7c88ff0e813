#include "base/names.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Two names hash alike exactly when they are the same name, whichever byte differs and wherever it
// stands: in the first eight bytes, the last of them, a later group or the last, partial one.
TEST(NameHashTest, EqualExactlyForTheSameNames) {
    const std::string base = "Section_name.1";  // 14 bytes: one whole group of eight and six more
    for (const std::size_t at : {std::size_t{0}, std::size_t{7}, std::size_t{8}, std::size_t{13}}) {
        for (int a = 0; a < 256; ++a) {
            std::string first = base;
            first[at] = static_cast<char>(a);
            for (int b = a; b < 256; ++b) {
                std::string second = base;
                second[at] = static_cast<char>(b);
                EXPECT_EQ(tav::NameHash(first) == tav::NameHash(second),
                          tav::SameName(first, second))
                    << "bytes " << a << " and " << b << " at " << at;
            }
        }
    }
    EXPECT_NE(tav::NameHash(""), tav::NameHash(std::string(1, '\0')));
    EXPECT_NE(tav::NameHash("a"), tav::NameHash(std::string("a\0", 2)));
}

}  // namespace
