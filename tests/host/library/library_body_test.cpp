// The body items of library descriptions: read, written back the same, refused with the line at fault; and the
// add-on's own library names parameters of the right shape in each.
#include "AddOnParts.hpp"
#include "library/LibraryDescription.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace library_body_test {

const std::string kBodyHead =
    "name = BODY_TEST\nguid = {44444444-4444-4444-4444-444444444444}-{00000000-0000-0000-0000-000000000000}\n"
    "type = object\nparam role string = \"cut\"\nparam outline real[3][4] = 0\nparam level length = 1\n"
    "param up angle = 0.5\nparam down angle = 0.5\n";

TEST(LibraryBody, ItemsReadAndWriteBackTheSameAndFaultyOnesAreRefusedWithTheirLine) {
    LibPartDef part;
    std::string error;
    ASSERT_TRUE(ParseLibraryPart(kBodyHead + "body role role\nbody  platform outline level up down\n", &part, &error))
        << error;
    ASSERT_EQ(part.body.size(), 2u);
    EXPECT_EQ(part.body[1].kind, LibBodyItem::Kind::Platform);
    EXPECT_EQ(part.body[1].params, (std::vector<std::string>{"outline", "level", "up", "down"}));
    const std::string written = DescribeLibraryPart(part);
    EXPECT_NE(written.find("body platform outline level up down\n"), std::string::npos) << written;
    LibPartDef again;
    ASSERT_TRUE(ParseLibraryPart(written, &again, &error)) << error;
    EXPECT_EQ(DescribeLibraryPart(again), written);
    const std::pair<std::string, std::string> cases[] = {
        {"body cone outline",
         "unknown body item 'cone' (role, platform, incline, strip, walk, obstacle, wall, faces, block, deck, roof, "
         "railings or rails)"},
        {"body block outline level", "body block names 4 parameters"},
        {"body platform outline level up", "body platform names 4 parameters"},
        {"body roof up", "body roof names 2 parameters"},
        {"body railings up down level", "body railings names 2 parameters"},
        {"body rails up down", "body rails names 4 parameters"},
        {"body strip outline outline up down up", "body strip names 6 parameters"},
        {"body role 9role", "'9role' is not a parameter name"},
        {"body role missing", "body item names 'missing', not a parameter given above"},
    };
    for (const auto& [item, why] : cases) {
        EXPECT_FALSE(ParseLibraryPart(kBodyHead + item + "\n", &part, &error)) << item;
        EXPECT_EQ(error, "line 9: " + why) << item;
    }
}

TEST(LibraryBody, TheAddOnsPartsNameARoleTextAndNumbersOrArraysAsEachItemTakes) {
    int items = 0;
    for (const LibPartDef& part : AddOnLibraryParts()) {
        for (const LibBodyItem& item : part.body) {
            ++items;
            for (size_t k = 0; k < item.params.size(); ++k) {
                const auto p = std::find_if(part.params.begin(), part.params.end(),
                                            [&](const LibParamDef& q) { return q.name == item.params[k]; });
                ASSERT_NE(p, part.params.end()) << part.name << ": " << item.params[k];
                using K = LibBodyItem::Kind;
                const bool text = item.kind == K::Role || (item.kind == K::Wall && k == 3);
                const bool array = ((item.kind == K::Platform || item.kind == K::Wall || item.kind == K::Block ||
                                     item.kind == K::Deck) &&
                                    k == 0) ||
                    ((item.kind == K::Strip || item.kind == K::Walk || item.kind == K::Faces) && k < 2) ||
                    item.kind == K::Obstacle;
                EXPECT_EQ(p->typeID == LibParType::Text, text) << part.name << ": " << item.params[k];
                EXPECT_EQ(p->IsArray(), array) << part.name << ": " << item.params[k];
            }
        }
    }
    EXPECT_GE(items, 14);
}

}  // namespace library_body_test
