// Parameter descriptions of the stand-in's library parts: given in a description file, handed to the module in
// the parameter records, kept through a parameter definition section and written back.
#include "library/LibraryDescription.hpp"
#include "library/LibraryParams.hpp"
#include "library/ParamDefSection.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace param_descriptions_test {

const std::string kHead =
    "name = GIS_TEST\nguid = {6B2E41C7-93D0-4F5A-8E1B-2C7D40A95F13}-{D1A7E3B2-5C84-4E9F-A06B-71F2C3E8D945}\n"
    "type = object\n";

TEST(ParamDescriptions, ReadKeptAndWrittenBack) {
    LibPartDef part;
    std::string error;
    ASSERT_TRUE(ParseLibraryPart(kHead +
                                     "param R_1 real = 0\ndescribe r_1 = \"Fläche \\\"A\\\"\"\nparam C_1 title = 0\n"
                                     "param T_1 string = \"x\"\n",
                                 &part, &error))
        << error;
    ASSERT_EQ(part.params.size(), 3u);
    EXPECT_EQ(part.params[0].description, u"Fläche \"A\"");
    EXPECT_TRUE(part.params[2].description.empty());
    EXPECT_EQ(part.params[1].typeID, LibParType::Title);

    // The records show the description, or the name where there is none.
    GSHandle records = MakeParamHandle(part.params);
    ASSERT_NE(records, nullptr);
    const API_AddParType* r = reinterpret_cast<const API_AddParType*>(*records);
    EXPECT_EQ(std::u16string(r[0].uDescname), u"Fläche \"A\"");
    EXPECT_EQ(std::u16string(r[2].uDescname), u"T_1");
    std::vector<LibParamDef> back;
    ASSERT_TRUE(ParamsFromRecords(reinterpret_cast<const API_AddParType* const*>(records), &back, &error)) << error;
    DisposeParamHandle(&records);
    EXPECT_EQ(back[0].description, u"Fläche \"A\"");
    EXPECT_TRUE(back[2].description.empty());

    // Through a parameter definition section and the description file.
    GSHandle section = MakeParamDefSection(back, 1.0, 1.0, API_LibPartDetails{});
    std::vector<LibParamDef> again;
    double a = 0, b = 0;
    API_LibPartDetails details = {};
    ASSERT_TRUE(ReadParamDefSection(section, &again, &a, &b, &details, &error)) << error;
    BMKillHandle(&section);
    EXPECT_EQ(again[0].description, u"Fläche \"A\"");
    part.params = again;
    LibPartDef reread;
    ASSERT_TRUE(ParseLibraryPart(DescribeLibraryPart(part), &reread, &error)) << error;
    EXPECT_EQ(reread.params[0].description, u"Fläche \"A\"");
    EXPECT_EQ(reread.params[1].typeID, LibParType::Title);
}

TEST(ParamDescriptions, BadLinesAreRefusedWithTheirLine) {
    for (const std::string& bad : {std::string("describe R_1 = \"x\"\nparam R_1 real = 0\n"),
                                   std::string("param R_1 real = 0\ndescribe R_1 = x\n"),
                                   std::string("param R_1 real = 0\ndescribe R_1 = \"a\"; \"b\"\n"),
                                   std::string("param R_1 real = 0\ndescribe R_1 \"a\"\n")}) {
        LibPartDef part;
        std::string error;
        EXPECT_FALSE(ParseLibraryPart(kHead + bad, &part, &error)) << bad;
        EXPECT_EQ(error.compare(0, 5, "line "), 0) << error;
    }
}

}  // namespace param_descriptions_test
