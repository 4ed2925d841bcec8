// The plan items of library descriptions: read, written back the same, refused with the line at fault; and the
// add-on's own library names parameters of the right shape in each.
#include "library/LibraryDescription.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace library_plan_test {

const std::string kHead =
    "name = PLAN_TEST\nguid = {33333333-3333-3333-3333-333333333333}-{00000000-0000-0000-0000-000000000000}\n"
    "type = object\nparam A length = 1\nparam B length = 1\nparam edge real[2][3] = 0\n"
    "param rows real[2][4] = 0\nparam counts integer[1] = 0\nparam depth length = 2\nparam slope angle = 0.5\n"
    "param step length = 1\nparam lo length = 0\nparam hi length = 30\n";

TEST(LibraryPlan, ItemsReadAndWriteBackTheSame) {
    const std::string text = kHead +
        "plan line edge\nplan outline rows\nplan outlines counts rows\nplan foot edge right depth slope\n"
        "plan contours step lo hi\nplan   contours  step lo hi A B\nplan below depth\n";
    LibPartDef part;
    std::string error;
    ASSERT_TRUE(ParseLibraryPart(text, &part, &error)) << error;
    ASSERT_EQ(part.plan.size(), 7u);
    EXPECT_EQ(part.plan[0].kind, LibPlanItem::Kind::Line);
    EXPECT_EQ(part.plan[2].kind, LibPlanItem::Kind::Outlines);
    EXPECT_EQ(part.plan[2].params, (std::vector<std::string>{"counts", "rows"}));
    EXPECT_EQ(part.plan[3].kind, LibPlanItem::Kind::Foot);
    EXPECT_FALSE(part.plan[3].left);
    EXPECT_EQ(part.plan[3].params, (std::vector<std::string>{"edge", "depth", "slope"}));
    EXPECT_EQ(part.plan[5].params.size(), 5u);
    EXPECT_EQ(part.plan[6].kind, LibPlanItem::Kind::Below);
    EXPECT_EQ(part.plan[6].params, (std::vector<std::string>{"depth"}));
    const std::string written = DescribeLibraryPart(part);
    EXPECT_NE(written.find("plan foot edge right depth slope\n"), std::string::npos) << written;
    LibPartDef again;
    ASSERT_TRUE(ParseLibraryPart(written, &again, &error)) << error;
    EXPECT_EQ(DescribeLibraryPart(again), written);
}

TEST(LibraryPlan, FaultyItemsAreRefusedWithTheirLine) {
    const int line = 14;  // the first line after the head
    const std::pair<std::string, std::string> cases[] = {
        {"plan circle edge", "unknown plan item 'circle' (line, outline, outlines, foot, contours or below)"},
        {"plan line", "plan line names 1 parameters"},
        {"plan line edge rows", "plan line names 1 parameters"},
        {"plan outlines counts", "plan outlines names 2 parameters"},
        {"plan foot edge up depth slope", "a foot names its side, left or right, after the line"},
        {"plan foot edge left depth", "plan foot names 3 parameters"},
        {"plan contours step lo", "plan contours names 3 to 5 parameters"},
        {"plan below", "plan below names 1 parameters"},
        {"plan line 9edge", "'9edge' is not a parameter name"},
        {"plan line missing", "plan item names 'missing', not a parameter given above"},
    };
    for (const auto& [item, why] : cases) {
        LibPartDef part;
        std::string error;
        EXPECT_FALSE(ParseLibraryPart(kHead + item + "\n", &part, &error)) << item;
        EXPECT_EQ(error, "line " + std::to_string(line) + ": " + why) << item;
    }
    // Named before its parameter is given: refused too.
    LibPartDef part;
    std::string error;
    EXPECT_FALSE(ParseLibraryPart(kHead + "plan line later\nparam later real[2][2] = 0\n", &part, &error));
}

TEST(LibraryPlan, TheAddOnsPartsNameArraysForLinesAndNumbersForTheRest) {
    int items = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(LODRAVIX_SOURCE_DIR) + "/library")) {
        if (entry.path().extension() != ".lpd") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        LibPartDef part;
        std::string error;
        ASSERT_TRUE(ParseLibraryPart(text.str(), &part, &error)) << entry.path() << ": " << error;
        const auto param = [&](const std::string& name) -> const LibParamDef* {
            for (const LibParamDef& p : part.params)
                if (p.name == name) return &p;
            return nullptr;
        };
        for (const LibPlanItem& item : part.plan) {
            ++items;
            for (size_t k = 0; k < item.params.size(); ++k) {
                const LibParamDef* p = param(item.params[k]);
                ASSERT_NE(p, nullptr) << part.name << ": " << item.params[k] << " (letter case as given)";
                const bool array = item.kind != LibPlanItem::Kind::Contours && item.kind != LibPlanItem::Kind::Below &&
                    (k == 0 || item.kind == LibPlanItem::Kind::Outlines);
                EXPECT_EQ(p->IsArray(), array) << part.name << ": " << item.params[k];
                EXPECT_NE(p->typeID, LibParType::Text) << part.name << ": " << item.params[k];
                if (array && item.kind != LibPlanItem::Kind::Outlines) {
                    EXPECT_GE(p->dim2, 2) << part.name;
                }
            }
        }
    }
    EXPECT_GE(items, 10);
}

}  // namespace library_plan_test
