// The path and sort helpers of the tool dialogs.
#include "dialogs/tools/DialogUtilities.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Replaced(const char* path, const char* extension) {
    QV_String p(path);
    ReplaceExtension(p, QV_String(extension));
    return p.ToStdString();
}

TEST(DialogUtilitiesTest, ReplaceExtensionCutsOnlyTheFileNamesExtension) {
    EXPECT_EQ(Replaced("C:\\data\\points.txt", "csv"), "C:\\data\\points.csv");
    EXPECT_EQ(Replaced("C:\\data.old\\points", "csv"), "C:\\data.old\\points.csv");  // a folder's dot
    EXPECT_EQ(Replaced("C:\\data\\points.", "csv"), "C:\\data\\points.csv");
    EXPECT_EQ(Replaced("points.a.b", "c"), "points.a.c");
    EXPECT_EQ(Replaced("", "csv"), "");
}

TEST(DialogUtilitiesTest, CompareStringsLessIsAStrictOrder) {
    const char* texts[] = {"", "A", "a", "ab", "b", "Zeta"};
    for (const char* x : texts)
        for (const char* y : texts) {
            const bool less = CompareStringsLess(QV_String(x), QV_String(y));
            EXPECT_FALSE(less && CompareStringsLess(QV_String(y), QV_String(x))) << x << " " << y;
            if (std::string(x) == y) {
                EXPECT_FALSE(less);
            }
        }
}

}  // namespace
