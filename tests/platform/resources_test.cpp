// Resource modules: lookup by (type, id), sparse tables, escapes, and bad resource files.
#include "ResourceDriver.hpp"
#include "Resources.hpp"
#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace resources_test {

// Writes a resource folder with the given files ("STRS/1.txt" -> content) and opens it.
class BadResources : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = TestSupport::UserFolder() + "/res_" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(folder_);
        ResourceDriver::ClearErrors();
    }
    void Add(const std::string& relative, const std::string& content) {
        const std::string path = folder_ + "/" + relative;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    GSResModule Open() { return ResourceDriver::OpenResourceFolder(folder_); }
    // True when some error mentions both the file (and line) and the words.
    bool Reported(const std::string& where, const std::string& words) const {
        for (const std::string& e : ResourceDriver::Errors())
            if (e.find(where) != std::string::npos && e.find(words) != std::string::npos) return true;
        return false;
    }
    std::string folder_;
};

std::string Entry(GSResModule module, int32_t id, int32_t index) {
    GS::UniString text("-missing-");
    RSGetIndString(&text, id, index, module);
    return text.ToUtf8();
}

TEST(Resources, StringTablesAreSparseAndUnescaped) {
    const GSResModule module = TestSupport::TestResources();
    ASSERT_NE(module, InvalidResModule);
    EXPECT_EQ(Entry(module, 32000, 1), "First entry");
    EXPECT_EQ(Entry(module, 32000, 2), "Two\nlines");
    EXPECT_EQ(Entry(module, 32000, 3), "Tab\there and a backslash \\ too");
    EXPECT_EQ(Entry(module, 32000, 5), " leading blank kept");
    EXPECT_EQ(Entry(module, 32000, 7),
              "Gr\xC3\xB6\xC3\x9F"
              "e \xE6\x9D\xB1\xE4\xBA\xAC");
    // Gaps, index 0, past the end, unknown table, unknown module: missing, and the out text untouched.
    EXPECT_EQ(Entry(module, 32000, 4), "-missing-");
    EXPECT_EQ(Entry(module, 32000, 0), "-missing-");
    EXPECT_EQ(Entry(module, 32000, 8), "-missing-");
    EXPECT_EQ(Entry(module, 31999, 1), "-missing-");
    EXPECT_EQ(Entry(InvalidResModule, 32000, 1), "-missing-");
    EXPECT_EQ(RSGetIndStringCount(RSType_STRS, 32000, module), 7);
}

TEST(Resources, TypeAndIdTogetherAreTheKey) {
    const GSResModule module = TestSupport::TestResources();
    GS::UniString text;
    ASSERT_TRUE(RSGetIndStringOfType(RSType_MENU, &text, 32000, 1, module));
    EXPECT_EQ(text.ToUtf8(), "Menu title");
    EXPECT_EQ(Entry(module, 32000, 1), "First entry");
    EXPECT_TRUE(RSResourceExists(RSType_DLOG, 32000, module));
    EXPECT_FALSE(RSResourceExists(RSType_ICON, 32000, module));
    EXPECT_TRUE(RSResourceExists(RSType_ICON, 32100, module));
    EXPECT_FALSE(RSResourceExists(RSType_PICT, 32100, module));
    EXPECT_TRUE(RSGetPicture(32200, module, &text));
    EXPECT_EQ(text.ToUtf8(), "Test image");

    GS::Array<GS::UniString> lines;
    ASSERT_TRUE(RSGetMenu(32000, module, &lines));
    ASSERT_EQ(lines.GetSize(), 4u);
    EXPECT_TRUE(lines[2].IsEmpty());  // index 3 not given
    EXPECT_EQ(lines[3].ToUtf8(), "About");
}

TEST(Resources, StringTableDataHasTheHostLayout) {
    GS::Array<char> data;
    ASSERT_TRUE(RSGetStringTableData(RSType_MENU, 32000, TestSupport::TestResources(), &data));
    const std::string body = std::string("Menu title") + '\0' + "Show palette" + '\0' + '\0' + "About" + '\0';
    ASSERT_EQ(data.GetSize(), 4 + body.size());
    EXPECT_EQ(static_cast<unsigned char>(data[0]), body.size());
    EXPECT_EQ(data[1], 0);
    EXPECT_EQ(std::string(&data[4], body.size()), body);
}

TEST(Resources, DialogLayoutKeepsItemsInFileOrder) {
    RSDialogLayout layout;
    ASSERT_TRUE(RSGetDialogLayout(32000, TestSupport::TestResources(), &layout));
    EXPECT_EQ(layout.clientWidth, 400);
    EXPECT_EQ(layout.clientHeight, 300);
    EXPECT_EQ(layout.title.ToUtf8(), "Test dialog");
    ASSERT_EQ(layout.items.GetSize(), 13u);
    EXPECT_EQ(layout.items[2].kind, RSDialogItemKind::List);
    EXPECT_EQ(layout.items[6].text.ToUtf8(), "initial text");
    EXPECT_EQ(layout.items[9].text.ToUtf8(), "Label: with blanks  kept");
    EXPECT_EQ(layout.items[8].width, 64);
    EXPECT_TRUE(layout.items[8].text.IsEmpty());
}

TEST_F(BadResources, BadLinesAreReportedAndSkippedTheRestKept) {
    Add("STRS/100.txt",
        "1=good\n"
        "2\n"  // truncated: no '='
        "x3=not a number\n"
        "4=bad \\q escape\n"
        "5=ends in a lone backslash \\\n"
        "6=bad utf8 \xC3\n"
        "0=index zero\n"
        "99999999=index too large\n"
        "1234567890123=index overflowing\n"
        "7=seven\n"
        "7=seven again\n"
        "8=last line without a line feed");
    const GSResModule module = Open();
    ASSERT_NE(module, InvalidResModule);
    EXPECT_EQ(Entry(module, 100, 1), "good");
    EXPECT_EQ(Entry(module, 100, 7), "seven");
    EXPECT_EQ(Entry(module, 100, 8), "last line without a line feed");
    for (int index : {2, 4, 5, 6}) EXPECT_EQ(Entry(module, 100, index), "-missing-") << index;
    EXPECT_TRUE(Reported("100.txt:2", "no \"=\""));
    EXPECT_TRUE(Reported("100.txt:3", "not a number"));
    EXPECT_TRUE(Reported("100.txt:4", "unknown escape"));
    EXPECT_TRUE(Reported("100.txt:5", "lone"));
    EXPECT_TRUE(Reported("100.txt:6", "UTF-8"));
    EXPECT_TRUE(Reported("100.txt:7", "outside"));
    EXPECT_TRUE(Reported("100.txt:8", "outside"));
    EXPECT_TRUE(Reported("100.txt:9", "not a number"));
    EXPECT_TRUE(Reported("100.txt:11", "twice"));
    EXPECT_EQ(ResourceDriver::Errors().size(), 9u);
}

TEST_F(BadResources, BadFilesAndFoldersAreSkippedWhole) {
    Add("STRS/abc.txt", "1=x\n");
    Add("STRS/0.txt", "1=x\n");
    Add("STRS/notes.md", "ignored\n");
    Add("XXXX/1.txt", "1=x\n");
    Add("README.md", "ignored\n");
    Add("STRS/200.txt", "1=" + std::string(ResourceDriver::MaxResourceFileSize, 'a') + "\n");
    Add("STRS/201.txt", std::string("1=a\0b\n2=fine\n", 13));
    Add("STRS/202.txt",
        "\xEF\xBB\xBF"
        "1=after a byte-order mark\r\n");
    const GSResModule module = Open();
    ASSERT_NE(module, InvalidResModule);
    EXPECT_TRUE(Reported("abc.txt", "not a resource id"));
    EXPECT_TRUE(Reported("0.txt", "not a resource id"));
    EXPECT_TRUE(Reported("XXXX", "unknown resource type"));
    EXPECT_TRUE(Reported("200.txt", "larger than the limit"));
    EXPECT_TRUE(Reported("201.txt:1", "NUL"));
    EXPECT_EQ(ResourceDriver::Errors().size(), 5u);
    EXPECT_FALSE(RSResourceExists(RSType_STRS, 200, module));
    EXPECT_EQ(Entry(module, 201, 2), "fine");
    EXPECT_EQ(Entry(module, 202, 1), "after a byte-order mark");

    ResourceDriver::ClearErrors();
    EXPECT_EQ(ResourceDriver::OpenResourceFolder(folder_ + "/nowhere"), InvalidResModule);
    EXPECT_EQ(ResourceDriver::Errors().size(), 1u);
    ResourceDriver::CloseResourceModule(module);
    EXPECT_EQ(Entry(module, 202, 1), "-missing-");
}

TEST_F(BadResources, BadDialogLinesAreReportedAndSkipped) {
    Add("DLOG/300.txt",
        "title Broken \\x title\n"
        "item 1 button 0 0 10\n"         // truncated
        "item 2 knob 0 0 10 10\n"        // unknown kind
        "item 3 button 0 0 -5 10 Neg\n"  // negative size
        "item x button 0 0 10 10\n"      // id not a number
        "item 40000 button 0 0 10 10\n"  // id too large
        "item 4 button 0 0 10 10 Fine\n"
        "item 4 button 0 0 10 10 Again\n"  // duplicate id
        "size 10\n"                        // truncated
        "colour red\n"                     // unknown line
        "\f\v\n");                         // white space only
    const GSResModule module = Open();
    RSDialogLayout layout;
    ASSERT_TRUE(RSGetDialogLayout(300, module, &layout));
    ASSERT_EQ(layout.items.GetSize(), 1u);
    EXPECT_EQ(layout.items[0].text.ToUtf8(), "Fine");
    EXPECT_TRUE(layout.title.IsEmpty());
    EXPECT_EQ(layout.clientWidth, 0);
    for (int line : {1, 2, 3, 4, 5, 6, 8, 9, 10})
        EXPECT_TRUE(Reported("300.txt:" + std::to_string(line) + ":", "skipped")) << line;
    EXPECT_TRUE(Reported("300.txt", "no \"size\" line"));
}

// Dialog lines whose words are parted by random runs of white space. With blanks and tabs alone, the title and
// every item keep their text exactly as written after the one blank that ends the last word; any other white
// space among the words gets the line reported by number and skipped, never read with its text lost.
TEST(Resources, DialogRangesLimitsRadioGroupsAndTabPages) {
    RSDialogLayout layout;
    ASSERT_TRUE(RSGetDialogLayout(32002, TestSupport::TestResources(), &layout));
    const RSDialogItem& length = layout.items[6];
    EXPECT_EQ(length.kind, RSDialogItemKind::LengthEdit);
    EXPECT_TRUE(length.hasRange);
    EXPECT_EQ(length.minValue, 0.001);
    EXPECT_EQ(length.maxValue, 100.0);
    EXPECT_FALSE(layout.items[7].hasRange);  // the angle edit has none
    EXPECT_EQ(layout.items[3].textLimit, 5);
    EXPECT_EQ(layout.items[10].radioGroup, 1);
    EXPECT_EQ(layout.items[12].radioGroup, 2);
    ASSERT_EQ(layout.pages.GetSize(), 2u);
    EXPECT_EQ(layout.pages[1].tabItem, 23);
    EXPECT_EQ(layout.pages[1].page, 2);
    EXPECT_EQ(layout.pages[1].title.ToUtf8(), "Second");
    ASSERT_EQ(layout.pages[0].items.GetSize(), 3u);
    EXPECT_EQ(layout.pages[0].items[1].maxValue, 1.0);  // page items are numbered and limited on their own
    EXPECT_EQ(layout.pages[0].items[0].textLimit, 20);
}

TEST_F(BadResources, BadAttributeAndPageLinesAreReportedAndSkipped) {
    Add("DLOG/301.txt",
        "size 100 100\n"
        "item 1 button 0 0 10 10 OK\n"
        "item 2 intedit 0 0 10 10\n"
        "item 3 radio 0 0 10 10\n"
        "item 4 radio 0 0 10 10\n"
        "item 5 tab 0 0 50 50\n"
        "item 6 radio 0 0 10 10\n"
        "range 1 0 1\n"    // 8: a button takes none
        "range 2 5 1\n"    // 9: lowest above highest
        "range 2 0.5 9\n"  // 10: an integer edit takes whole numbers
        "limit 2 0\n"      // 11: no character count
        "group 1 3\n"      // 12: no radio
        "range 9 0 1\n"    // 13: no such item
        "page 1 1 A\n"     // 14: no tab control
        "page 5 2 B\n"     // 15: page 1 comes first
        "endpage\n"        // 16: no page
        "page 5 1 C\n"
        "item 1 tab 0 0 10 10\n"  // 18: no tab control on a page
        "item 1 check 0 0 10 10\n"
        "range 1 0 1\n"  // 20: a check box takes none
        "page 5 2 D\n"   // 21: page 1 lacks its endpage
        "item 2 edit 0 0 10 10\n"
        "limit 2 7\n");  // page 2 never ends
    const GSResModule module = Open();
    RSDialogLayout layout;
    ASSERT_TRUE(RSGetDialogLayout(301, module, &layout));
    for (int line : {8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 20})
        EXPECT_TRUE(Reported("301.txt:" + std::to_string(line) + ":", "skipped")) << line;
    EXPECT_TRUE(Reported("301.txt:21:", "\"endpage\" is missing"));
    EXPECT_TRUE(Reported("301.txt:21:", "has no \"endpage\""));
    EXPECT_FALSE(layout.items[1].hasRange);
    // The two runs of radio buttons are two groups; the pages keep what was good in them.
    EXPECT_EQ(layout.items[2].radioGroup, 1);
    EXPECT_EQ(layout.items[3].radioGroup, 1);
    EXPECT_EQ(layout.items[5].radioGroup, 2);
    ASSERT_EQ(layout.pages.GetSize(), 2u);
    EXPECT_EQ(layout.pages[0].items.GetSize(), 1u);
    EXPECT_EQ(layout.pages[1].items[0].textLimit, 7);
}

TEST_F(BadResources, DialogWordsArePartedByBlanksAloneAndTextsFollowOneBlank) {
    std::mt19937 random(20240601);
    auto pick = [&](const std::string& from) { return from[random() % from.size()]; };
    auto blankRun = [&] {
        std::string run(1, pick(" \t"));
        while (random() % 3 == 0) run += pick(" \t");
        return run;
    };
    std::vector<std::vector<std::string>> expected(40);  // per file: title text, then item texts by id 1..10
    size_t badLines = 0;
    for (size_t f = 0; f < expected.size(); ++f) {
        std::string content = "size 100 100\n";
        for (int id = 0; id <= 10; ++id) {
            const std::vector<std::string> words = id == 0
                ? std::vector<std::string>{"title"}
                : std::vector<std::string>{"item", std::to_string(id), "static", "1", "2", "30", "40"};
            std::string text;
            for (int k = int(random() % 6); k > 0; --k) text += pick("ab =#\t\v\f");
            const bool hasText = !text.empty() || random() % 2 == 0;
            std::vector<std::string> runs(words.size() + (hasText ? 1 : 0));  // before each word and the text
            for (size_t r = random() % 3 == 0 ? 0 : 1; r < runs.size(); ++r) runs[r] = blankRun();
            const bool bad = random() % 2 == 0;
            if (bad) runs[random() % runs.size()].insert(0, 1, pick("\v\f\r"));
            for (size_t w = 0; w < words.size(); ++w) content += runs[w] + words[w];
            if (hasText) content += runs.back() + text;
            content += "\n";
            expected[f].push_back(bad ? "-skipped-" : hasText ? runs.back().substr(1) + text : "");
            badLines += bad;
        }
        Add("DLOG/" + std::to_string(400 + f) + ".txt", content);
    }
    const GSResModule module = Open();
    for (size_t f = 0; f < expected.size(); ++f) {
        const std::string file = std::to_string(400 + f) + ".txt:";
        RSDialogLayout layout;
        ASSERT_TRUE(RSGetDialogLayout(int32_t(400 + f), module, &layout));
        // Line 2 is the title, line id + 2 item id.
        auto skipped = [&](int id) { return Reported(file + std::to_string(id + 2) + ":", "among the words"); };
        std::vector<std::string> read(11);
        read[0] = skipped(0) ? "-skipped-" : layout.title.ToUtf8();
        for (int id = 1; id <= 10; ++id) read[size_t(id)] = skipped(id) ? "-skipped-" : "-lost-";
        for (const RSDialogItem& item : layout.items) read[size_t(item.id)] = item.text.ToUtf8();
        EXPECT_EQ(read, expected[f]) << file;
    }
    EXPECT_EQ(ResourceDriver::Errors().size(), badLines);
}

}  // namespace resources_test
