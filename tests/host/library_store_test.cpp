// The host's object libraries: the description parser against good and bad files, folder loading, lookups
// by name and unique id, and the default parameter lists it builds, read back through the module's views.
#include "library/LibraryDescription.hpp"
#include "library/LibraryStore.hpp"

#include "elements/BaseLP.hpp"
#include "elements/GdlParams.hpp"

#include "MemoryDriver.hpp"
#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

namespace library_store_test {

const char* kGuid = "guid = {6B2E41C7-93D0-4F5A-8E1B-2C7D40A95F13}-{d1a7e3b2-5c84-4e9f-a06b-71f2c3e8d945}\n";

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Part(const std::string& params, const std::string& name = "TEST_PART") {
    return "name = " + name + "\n" + kGuid + "type = object\n" + params;
}

// The parse error of a file with these parameter lines ("" when it parses).
std::string ErrorOf(const std::string& text) {
    LibPartDef part;
    std::string error;
    return ParseLibraryPart(text, &part, &error) ? std::string() : error;
}

std::string ParamError(const std::string& line) { return ErrorOf(Part(line + "\n")); }

TEST(LibraryParser, ReadsScalarsArraysTextsAndTheHeader) {
    const std::string text = "\xEF\xBB\xBF# a comment\r\n"
                             "name = VY_TEST\r\n"
                             "\r\n" +
        std::string(kGuid) +
        "type = 4\n"
        "  param A length = 1.5\n"
        "param label string = \"say \\\"hi\\\"; c:\\\\x \xC3\xA6\"\n"
        "param grid real[2][3] = 1; 2; 3; 4\n"
        "param list string[3] = \"a\" ; \"\"\n"
        "param neg integer = -7e0\n";
    LibPartDef part;
    std::string error;
    ASSERT_TRUE(ParseLibraryPart(text, &part, &error)) << error;
    EXPECT_EQ(part.name, "VY_TEST");
    EXPECT_EQ(part.guid, "{6B2E41C7-93D0-4F5A-8E1B-2C7D40A95F13}-{D1A7E3B2-5C84-4E9F-A06B-71F2C3E8D945}");
    EXPECT_EQ(part.type, LibPartType_Object);
    ASSERT_EQ(part.params.size(), 5u);
    EXPECT_EQ(part.params[0].typeID, LibParType::Length);
    EXPECT_EQ(part.params[0].numbers, std::vector<double>{1.5});
    EXPECT_EQ(part.params[1].typeID, APIParT_Text);
    EXPECT_EQ(part.params[1].texts[0], u"say \"hi\"; c:\\x \u00E6");
    EXPECT_EQ(part.params[2].dim1, 2);
    EXPECT_EQ(part.params[2].dim2, 3);
    // The cells after the last value are 0 / "" without being held.
    EXPECT_EQ(part.params[2].numbers, (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(part.params[2].CellCount(), 6u);
    EXPECT_EQ(part.params[3].dim1, 3);
    EXPECT_EQ(part.params[3].dim2, 1);
    EXPECT_EQ(part.params[3].texts, (std::vector<std::u16string>{u"a"}));
    EXPECT_EQ(part.params[4].numbers, std::vector<double>{-7.0});
}

TEST(LibraryParser, BadParametersGiveClearErrorsWithTheLine) {
    struct Case {
        const char* line;
        const char* expected;
    };
    const Case cases[] = {
        {"param x vector = 1", "unknown parameter type 'vector'"},
        {"param x real[0] = 1", "at least 1"},
        {"param x real[] = 1", "bad array size"},
        {"param x real[2 = 1", "bad array size"},
        {"param x real[-1] = 1", "bad array size"},
        {"param x real[2][2][2] = 1", "at most two sizes"},
        {"param x real[100000][100000] = 1", "too large"},
        {"param x real[99999999999999999999] = 1", "too large"},
        {"param x string = \"open", "unterminated text"},
        {"param x string = \"a\\qb\"", "unknown escape"},
        {"param abcdefghijklmnopqrstuvwxyz012345 real = 1", "longer than 31 bytes"},
        {"param 9lives real = 1", "is not a name"},
        {"param x-y real = 1", "is not a name"},
        {"param x real 1", "'=' expected"},
        {"param x real =", "missing value"},
        {"param x real = 1; 2", "single value"},
        {"param x real[2] = 1; 2; 3", "3 values for 2 cells"},
        {"param x real[3] = 1;; 2", "empty value"},
        {"param x real[3] = 1; 2;", "empty value after ';'"},
        {"param x real = one", "'one' is not a number"},
        {"param x real = 1e999", "is not a number"},
        {"param x real = \"1\"", "is not a number"},
        {"param x string = plain", "quoted texts"},
        {"param x string = \"a\" \"b\"", "must follow a text"},
        {"param x string = \"\xC3\x28\"", "not valid UTF-8"},
        {"param x string = \"\xE0\x80\xAF\"", "not valid UTF-8"},
        {"param x string = \"\xF0\x9F\"", "not valid UTF-8"},
        {"param", "'<key> = <value>'"},
        {"param  = 1", "missing parameter name"},
    };
    for (const Case& c : cases) {
        const std::string error = ParamError(c.line);
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.line << " -> " << error;
        EXPECT_EQ(error.rfind("line 4: ", 0), 0u) << c.line << " -> " << error;
    }
    EXPECT_EQ(ParamError("param abcdefghijklmnopqrstuvwxyz01234 real = 1"), "");  // 31 bytes: fine
}

TEST(LibraryParser, TextsAtTheRecordLimit) {
    EXPECT_EQ(ParamError("param x string = \"" + std::string(255, 'a') + "\""), "");
    EXPECT_NE(ParamError("param x string = \"" + std::string(256, 'a') + "\"").find("longer than 255"),
              std::string::npos);
    // A character outside the basic plane takes two units.
    std::string astral;
    for (int i = 0; i < 128; ++i) astral += "\xF0\x9F\x98\x80";
    EXPECT_NE(ParamError("param x string = \"" + astral + "\"").find("256 units"), std::string::npos);
    // Array cells have no field of their own to fit.
    EXPECT_EQ(ParamError("param x string[1] = \"" + std::string(300, 'a') + "\""), "");
}

TEST(LibraryParser, LongLineKeepsEveryValueInOrder) {
    // As many values as an array may hold, on one line, and the same line with a blank-only tail after ';'.
    const int n = 1000000;
    std::string line = "param x real[" + std::to_string(n) + "] =";
    for (int i = 0; i < n; ++i) line += std::string(i == 0 ? " " : "; ") + char('0' + (i * 7) % 10);
    LibPartDef part;
    std::string error;
    ASSERT_TRUE(ParseLibraryPart(Part(line + "\n"), &part, &error)) << error;
    ASSERT_EQ(part.params[0].numbers.size(), size_t(n));
    int wrong = 0;
    for (int i = 0; i < n; ++i) wrong += part.params[0].numbers[size_t(i)] != (i * 7) % 10;
    EXPECT_EQ(wrong, 0);
    EXPECT_NE(ParamError("param x real[3] = 1; 2; \t ; ").find("empty value"), std::string::npos);
}

TEST(LibraryParser, HeaderFaults) {
    EXPECT_NE(ErrorOf(std::string(kGuid) + "type = object\n").find("no 'name'"), std::string::npos);
    EXPECT_NE(ErrorOf("name = X\ntype = object\n").find("no 'guid'"), std::string::npos);
    EXPECT_NE(ErrorOf("name = X\n" + std::string(kGuid)).find("no 'type'"), std::string::npos);
    EXPECT_NE(ErrorOf("name = X\nname = Y\n").find("line 2: 'name' is given twice"), std::string::npos);
    EXPECT_NE(ErrorOf("name = X\ncolour = red\n").find("unknown key 'colour'"), std::string::npos);
    EXPECT_NE(ErrorOf("name = X\nguid = {1234}\n").find("unique id"), std::string::npos);
    EXPECT_NE(ErrorOf("name = X\nguid = {6B2E41C7-93D0-4F5A-8E1B-2C7D40A95F13}\n").find("unique id"),
              std::string::npos);
    EXPECT_NE(ErrorOf("name = X\ntype = window\n").find("unknown library-part type"), std::string::npos);
    EXPECT_NE(ErrorOf("just words\n").find("line 1:"), std::string::npos);
    EXPECT_NE(ErrorOf(Part("param a real = 1\nparam A real = 2\n")).find("given twice"), std::string::npos);
    EXPECT_NE(ErrorOf(std::string(LibFileBytesMax + 1, '#')).find("larger than"), std::string::npos);
    EXPECT_EQ(ErrorOf(Part("")), "");  // a part without parameters is fine
    EXPECT_NE(ErrorOf(Part("definition = maybe\n")).find("definition can only read 'missing'"), std::string::npos);
    // A part listed without its definition says so when written and read back.
    LibPartDef part;
    std::string error;
    ASSERT_TRUE(ParseLibraryPart(Part("definition = missing\n"), &part, &error)) << error;
    EXPECT_TRUE(part.missingDefinition);
    LibPartDef again;
    ASSERT_TRUE(ParseLibraryPart(DescribeLibraryPart(part), &again, &error)) << error;
    EXPECT_TRUE(again.missingDefinition);
}

// A temporary folder with description files.
class LibraryFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = TestSupport::UserFolder() + "/libs_" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void Write(const std::string& name, const std::string& text) { std::ofstream(dir + "/" + name) << text; }
    std::string dir;
    LibraryStore store;
};

TEST_F(LibraryFolderTest, FolderLoadsWholeOrNotAtAll) {
    std::string error;
    EXPECT_FALSE(store.LoadFolder(dir + "/missing", &error));
    EXPECT_NE(error.find("does not exist"), std::string::npos);
    EXPECT_FALSE(store.LoadFolder(dir, &error));
    EXPECT_NE(error.find("holds no library part"), std::string::npos);

    Write("GOOD.lpd", Part("param x real = 1\n", "GOOD"));
    Write("BAD.lpd", Part("param x bogus = 1\n", "BAD"));
    Write("notes.txt", "not a description");
    EXPECT_FALSE(store.LoadFolder(dir, &error));
    EXPECT_NE(error.find("BAD.lpd: line 4: unknown parameter type"), std::string::npos) << error;
    EXPECT_FALSE(store.LoadFolder(dir, nullptr));  // a caller that keeps no reason is refused all the same
    EXPECT_EQ(store.PartCount(), 0);
    EXPECT_TRUE(store.Folders().empty());

    Write("BAD.lpd", Part("", "good"));  // the same name in another case
    EXPECT_FALSE(store.LoadFolder(dir, &error));
    EXPECT_NE(error.find("described twice"), std::string::npos);

    std::filesystem::remove(dir + "/BAD.lpd");
    std::string backslashed = dir + "\\";
    EXPECT_TRUE(store.LoadFolder(backslashed, &error)) << error;
    EXPECT_TRUE(store.LoadFolder(dir, &error));  // already loaded: stays once
    EXPECT_EQ(store.Folders().size(), 1u);
    EXPECT_EQ(store.PartCount(), 1);
    EXPECT_EQ(store.FindByName("good", LibPartType_Object), 1);
    EXPECT_EQ(store.FindByName("GOOD", LibPartType_Picture), -1);
    EXPECT_EQ(store.FindByName("GOOD", 0), 1);
    EXPECT_EQ(store.FindByName("OTHER", 0), -1);
    // A library file's extension is ignored; any other text after a point is part of the name.
    EXPECT_EQ(store.FindByName("Good.GSM", LibPartType_Object), 1);
    EXPECT_EQ(store.FindByName("good.old", 0), -1);
    EXPECT_EQ(store.FindByName("good.gsm.gsm", 0), -1);
    EXPECT_EQ(store.Part(0), nullptr);
    EXPECT_EQ(store.Part(2), nullptr);
    store.Clear();
    EXPECT_EQ(store.FindByName("GOOD", 0), -1);
}

// A read-only folder (the library shipped beside the module) takes no new part, nor do the folders inside it;
// a folder beside it whose name merely starts the same does.
TEST_F(LibraryFolderTest, NoPartIsWrittenIntoAReadOnlyFolder) {
    for (const std::string sub : {"shipped", "shipped/inner", "shipped2"}) {
        std::filesystem::create_directories(dir + "/" + sub);
        std::ofstream(dir + "/" + sub + "/P.lpd") << Part("", "P_" + std::to_string(sub.size()));
    }
    store.SetReadOnlyFolder(dir + "/shipped/");
    std::string error;
    LibPartDef part;
    part.name = "NEW";
    part.type = LibPartType_Object;
    for (const std::string sub : {"shipped", "shipped/inner", "shipped2"}) {
        ASSERT_TRUE(store.LoadFolder(dir + "/" + sub, &error)) << error;
        int32_t index = 0;
        const GSErrCode err = store.BeginPart(part, dir + "/" + sub, &index, &error);
        EXPECT_EQ(err, sub == "shipped2" ? NoError : APIERR_REFUSED) << sub << ": " << error;
        if (err != NoError) {
            EXPECT_NE(error.find("shipped beside the module"), std::string::npos) << error;
        }
    }
    EXPECT_TRUE(store.IsReadOnly(dir + "/shipped/../shipped/inner"));
    EXPECT_FALSE(std::filesystem::exists(dir + "/shipped/NEW.lpd"));
}

TEST_F(LibraryFolderTest, NamesBeyondAsciiAreFoundFromTheRecordsField) {
    Write("T.lpd", Part("", "Tr\xC3\xA6_\xF0\x9F\x8C\xB2"));
    std::string error;
    ASSERT_TRUE(store.LoadFolder(dir, &error)) << error;
    API_LibPart record = {};
    FillLibPartRecord(*store.Part(1), 1, &record);
    EXPECT_EQ(std::u16string(record.docu_UName), u"Tr\u00E6_\U0001F332");
    EXPECT_EQ(store.FindByName(Utf8FromField(record.docu_UName, 128), 0), 1);
    const char16_t lone[] = {u'a', 0xD800, u'b', 0};
    EXPECT_EQ(Utf8FromField(lone, 4),
              "a\xEF\xBF\xBD"
              "b");
    const char16_t full[3] = {u'x', u'y', u'z'};  // no terminator: bounded by the field
    EXPECT_EQ(Utf8FromField(full, 3), "xyz");
}

TEST_F(LibraryFolderTest, ShippedLibraryHasThePreferencesAndTheLocalizator) {
    std::string error;
    ASSERT_TRUE(store.LoadFolder(TestSupport::BinDir() + "/library", &error)) << error;
    const int32_t prefs = store.FindByName("vy_prefs", LibPartType_Object);
    ASSERT_GT(prefs, 0);
    EXPECT_EQ(store.FindByUnID(Lower(store.Part(prefs)->guid)), prefs);
    const int32_t loc = store.FindByName("VY3_Localizator", LibPartType_Object);
    ASSERT_GT(loc, 0);
    EXPECT_NE(store.Part(loc)->guid, store.Part(prefs)->guid);

    const int64_t live = MemoryDriver::LiveHandleCount();
    GSHandle params = store.MakeParamHandle(prefs);
    ASSERT_NE(params, nullptr);
    EXPECT_EQ(BMGetHandleSize(params), GSSize(216 * sizeof(API_AddParType)));
    BaseLP view(params, 216);
    view.caseSensitive = 1;
    for (const char* name :
         {"A", "B", "ZZYZX", "punti_2D_pen", "VYbridge_railing_right", "obstacle_show_2d", "retaining_heigth",
          "road_rigth_cut_angle", "slopeRange_penna_frame", "Quorra30_delete", "Quorra30_camera", "railway_ID"})
        EXPECT_GE(FindParamByCName(view, name), 0) << name;
    const API_AddParType* code = view.Record(FindParamByCName(view, "punti_code"));
    EXPECT_EQ(std::u16string(code->value.uStr), u"Point");
    EXPECT_EQ(view.Record(FindParamByCName(view, "terrain_show_2d_triangle"))->value.real, 0.0);  // stored inverted
    EXPECT_NEAR(view.Record(FindParamByCName(view, "plateau_slope"))->value.real, 5 * M_PI / 180, 1e-12);
    {
        QV_List<double> rgb;
        int32_t d1 = 0, d2 = 0;
        ASSERT_TRUE(ExchangeDoubleArrayParam(view, rgb, d1, d2, QV_String("show_depth_RGB"), 0));
        EXPECT_EQ(d1 * d2, 12);
        EXPECT_DOUBLE_EQ(rgb[0], 133.0 / 255);
        EXPECT_DOUBLE_EQ(rgb[11], 4.0 / 255);
    }
    DisposeParamHandle(&params);
    EXPECT_EQ(params, nullptr);

    GSHandle locParams = store.MakeParamHandle(loc);
    BaseLP locView(locParams, int32_t(BMGetHandleSize(locParams) / GSSize(sizeof(API_AddParType))));
    EXPECT_EQ(locView.Record(FindParamByCName(locView, "language"))->value.real, 2.0);
    DisposeParamHandle(&locParams);
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), live);
}

TEST_F(LibraryFolderTest, ParameterListsReadBackThroughTheViews) {
    Write("P.lpd",
          Part("param names string[2][2] = \"north\"; \"\"; \"s\xC3\xB8r\"\n"
               "param grid integer[3] = 4; 5\n",
               "P"));
    std::string error;
    ASSERT_TRUE(store.LoadFolder(dir, &error)) << error;
    GSHandle params = store.MakeParamHandle(1);
    ASSERT_NE(params, nullptr);
    BaseLP view(params, 2);
    QV_List<QV_String> texts;
    int32_t d1 = 0, d2 = 0;
    ASSERT_TRUE(ExchangeStringArrayParam(view, texts, d1, d2, QV_String("names"), 0));
    ASSERT_EQ(texts.GetCount(), 4);
    EXPECT_EQ(texts[0].ToStdString(), "north");
    EXPECT_EQ(texts[1].ToStdString(), "");
    EXPECT_EQ(texts[2].ToStdString(), "s\xC3\xB8r");
    EXPECT_EQ(texts[3].ToStdString(), "");
    QV_List<int16_t> grid;
    ASSERT_TRUE(ExchangeShortArrayParam(view, grid, d1, d2, QV_String("grid"), 0));
    EXPECT_EQ(d1, 3);
    EXPECT_EQ(d2, 1);
    EXPECT_EQ(std::vector<int16_t>(grid.begin(), grid.end()), (std::vector<int16_t>{4, 5, 0}));
    DisposeParamHandle(&params);

    // Memory failing halfway through: no list, nothing left behind.
    MemoryDriver::ScopedReset reset;
    const int64_t live = MemoryDriver::LiveHandleCount();
    for (int64_t n = 0; n < 3; ++n) {
        MemoryDriver::FailAllocationsAfter(n);
        GSHandle h = store.MakeParamHandle(1);
        MemoryDriver::Reset();
        EXPECT_EQ(h, nullptr) << n;
        EXPECT_EQ(MemoryDriver::LiveHandleCount(), live) << n;
    }
}

}  // namespace library_store_test
