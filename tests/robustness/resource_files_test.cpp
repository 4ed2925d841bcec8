// Resource files under seeded mutation: a folder of mutated files always opens, every problem is reported with
// its file, every lookup answers within the table, and what was loaded, written back as resource files, loads
// the same.
#include "Mutator.hpp"
#include "ResourceDriver.hpp"
#include "Resources.hpp"
#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace resource_files_test {

namespace fs = std::filesystem;

constexpr int32_t kId = 100;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& content) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

struct Seeds {
    std::vector<std::string> strings;  // STRS and MENU
    std::vector<std::string> dialogs;
    std::vector<std::string> descriptions;
};

Seeds LoadSeeds() {
    const std::string data = TestSupport::DataDir() + "/resources";
    Seeds s;
    s.strings = {ReadFile(data + "/STRS/32000.txt"), ReadFile(data + "/MENU/32000.txt"),
                 "1=a\\\\b\\tc\r\n9999=last\n2=\xC3\xA6\xF0\x9F\x98\x80\n"};
    s.dialogs = {ReadFile(data + "/DLOG/32000.txt"), ReadFile(data + "/DLOG/32001.txt"),
                 ReadFile(data + "/DLOG/32002.txt")};
    s.descriptions = {ReadFile(data + "/ICON/32100.txt"), ReadFile(data + "/PICT/32200.txt"), "a\\tb\\n\xC3\xA6"};
    return s;
}

const std::vector<std::string> kTokens = {
    "=",
    "==",
    "\\",
    "\\n",
    "\\q",
    "#",
    "\r",
    "\n",
    "-",
    "0",
    "-1",
    "10000",
    "9999",
    "999999999",
    "9999999999",
    "2147483648",
    "item ",
    "size ",
    "title ",
    " button ",
    " picture ",
    " 32767 ",
    " 32768 ",
    " 10001 ",
    " -10001 ",
    "range ",
    "limit ",
    "group ",
    "page ",
    "endpage",
    " tab ",
    " radio ",
    "1e308",
    "1e309",
    "nan",
    "0.5",
    std::string(1, '\0'),
    "\xEF\xBB\xBF",
    "\xC3",
    "\xED\xA0\x80",
    "\xF4\x90\x80\x80",
};

// Texts as resource files write them (the escapes the loader undoes).
std::string Escaped(const GS::UniString& text) {
    std::string out;
    for (char c : text.ToUtf8()) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

// Lines end in CR LF: the loader drops one CR at a line's end, so a text ending in CR keeps it.
std::string StringTableFile(GSResType type, GSResModule module) {
    std::string file;
    const int32_t count = RSGetIndStringCount(type, kId, module);
    for (int32_t i = 1; i <= count; ++i) {
        GS::UniString text;
        if (RSGetIndStringOfType(type, &text, kId, i, module)) file += std::to_string(i) + "=" + Escaped(text) + "\r\n";
    }
    return file;
}

std::string Real(double v) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

// Item lines, then their attribute lines.
std::string ItemLines(const GS::Array<RSDialogItem>& items) {
    std::string lines;
    for (const RSDialogItem& item : items)
        lines += "item " + std::to_string(item.id) + " " + RSDialogItemKindName(item.kind) + " " +
            std::to_string(item.x) + " " + std::to_string(item.y) + " " + std::to_string(item.width) + " " +
            std::to_string(item.height) + " " + Escaped(item.text) + "\r\n";
    for (const RSDialogItem& item : items) {
        const std::string id = std::to_string(item.id);
        if (item.hasRange) lines += "range " + id + " " + Real(item.minValue) + " " + Real(item.maxValue) + "\r\n";
        if (item.textLimit != 0) lines += "limit " + id + " " + std::to_string(item.textLimit) + "\r\n";
        if (item.radioGroup != 0) lines += "group " + id + " " + std::to_string(item.radioGroup) + "\r\n";
    }
    return lines;
}

std::string DialogFile(const RSDialogLayout& d) {
    std::string file = "size " + std::to_string(d.clientWidth) + " " + std::to_string(d.clientHeight) + "\r\n";
    file += "title " + Escaped(d.title) + "\r\n";
    file += ItemLines(d.items);
    for (const RSTabPage& page : d.pages)
        file += "page " + std::to_string(page.tabItem) + " " + std::to_string(page.page) + " " + Escaped(page.title) +
            "\r\n" + ItemLines(page.items) + "endpage\r\n";
    return file;
}

std::string ItemDifferences(const GS::Array<RSDialogItem>& a, const GS::Array<RSDialogItem>& b) {
    if (a.GetSize() != b.GetSize()) return "item count";
    for (uint32_t i = 0; i < a.GetSize(); ++i) {
        const RSDialogItem& p = a[i];
        const RSDialogItem& q = b[i];
        if (p.id != q.id || p.kind != q.kind || p.x != q.x || p.y != q.y || p.width != q.width ||
            p.height != q.height || p.text != q.text || p.hasRange != q.hasRange || p.minValue != q.minValue ||
            p.maxValue != q.maxValue || p.textLimit != q.textLimit || p.radioGroup != q.radioGroup)
            return "item " + std::to_string(i);
    }
    return "";
}

std::string Differences(const RSDialogLayout& a, const RSDialogLayout& b) {
    if (a.clientWidth != b.clientWidth || a.clientHeight != b.clientHeight) return "size";
    if (a.title != b.title) return "title";
    const std::string items = ItemDifferences(a.items, b.items);
    if (!items.empty()) return items;
    if (a.pages.GetSize() != b.pages.GetSize()) return "page count";
    for (uint32_t i = 0; i < a.pages.GetSize(); ++i) {
        const RSTabPage& p = a.pages[i];
        const RSTabPage& q = b.pages[i];
        if (p.tabItem != q.tabItem || p.page != q.page || p.title != q.title) return "page " + std::to_string(i);
        const std::string pageItems = ItemDifferences(p.items, q.items);
        if (!pageItems.empty()) return "page " + std::to_string(i) + " " + pageItems;
    }
    return "";
}

// The string table as the loader's in-memory layout gives it agrees with the entries one by one.
void CheckStringTable(GSResType type, GSResModule module, const std::string& where) {
    const int32_t count = RSGetIndStringCount(type, kId, module);
    if (count < 0) return;
    EXPECT_LE(count, ResourceDriver::MaxStringIndex) << where;
    GS::Array<char> data;
    ASSERT_TRUE(RSGetStringTableData(type, kId, module, &data)) << where;
    ASSERT_GE(data.GetSize(), 4u) << where;
    uint32_t length = 0;
    for (int k = 0; k < 4; ++k) length |= uint32_t(uint8_t(data[uint32_t(k)])) << (8 * k);
    ASSERT_EQ(length, data.GetSize() - 4) << where;
    std::string body;
    for (uint32_t i = 4; i < data.GetSize(); ++i) body += data[i];
    size_t at = 0;
    for (int32_t i = 1; i <= count; ++i) {
        const size_t end = body.find('\0', at);
        ASSERT_NE(end, std::string::npos) << where << " entry " << i;
        GS::UniString text;
        const std::string expected = RSGetIndStringOfType(type, &text, kId, i, module) ? text.ToUtf8() : "";
        EXPECT_EQ(body.substr(at, end - at), expected) << where << " entry " << i;
        at = end + 1;
    }
    EXPECT_EQ(at, body.size()) << where;
    GS::UniString untouched("-");
    for (int32_t index : {0, -1, count + 1, ResourceDriver::MaxStringIndex + 1}) {
        EXPECT_FALSE(RSGetIndStringOfType(type, &untouched, kId, index, module)) << where << " index " << index;
        EXPECT_EQ(untouched.ToUtf8(), "-") << where;
    }
    if (type == RSType_MENU) {
        GS::Array<GS::UniString> lines;
        ASSERT_TRUE(RSGetMenu(kId, module, &lines)) << where;
        EXPECT_EQ(int32_t(lines.GetSize()), count) << where;
    }
}

// Keeps the loader's reports of thousands of mutants off the test log; they are read from Errors().
class QuietErrors {
public:
    QuietErrors() : old_(std::cerr.rdbuf(sink_.rdbuf())) {}
    ~QuietErrors() { std::cerr.rdbuf(old_); }

private:
    std::ostringstream sink_;
    std::streambuf* old_;
};

TEST(ResourceFilesRobustness, MutatedFoldersOpenAndWhatLoadedWritesBackTheSame) {
    const Seeds seeds = LoadSeeds();
    ASSERT_FALSE(seeds.strings[0].empty());
    ASSERT_FALSE(seeds.dialogs[0].empty());
    const std::string root = TestSupport::UserFolder() + "/robust_resources";
    Robustness::Mutator m(0x52455346u);
    QuietErrors quiet;
    int loadedWithErrors = 0;
    for (int i = 0; i < 60 && !HasFailure(); ++i) {
        const std::string where = "mutant " + std::to_string(i);
        const std::string folder = root + "/m";
        fs::remove_all(root);
        auto mutate = [&](const std::vector<std::string>& from) {
            return m.OneIn(6) ? from[m.Below(uint32_t(from.size()))]
                              : m.Mutate(from[m.Below(uint32_t(from.size()))], kTokens);
        };
        WriteFile(folder + "/STRS/100.txt", mutate(seeds.strings));
        WriteFile(folder + "/MENU/100.txt", mutate(seeds.strings));
        WriteFile(folder + "/DLOG/100.txt", mutate(seeds.dialogs));
        WriteFile(folder + "/ICON/100.txt", mutate(seeds.descriptions));
        WriteFile(folder + "/PICT/100.txt", mutate(seeds.descriptions));
        ResourceDriver::ClearErrors();
        const GSResModule module = ResourceDriver::OpenResourceFolder(folder);
        ASSERT_NE(module, InvalidResModule) << where;
        for (const std::string& e : ResourceDriver::Errors()) {
            EXPECT_EQ(e.compare(0, folder.size(), folder), 0) << where << ": " << e;
            EXPECT_NE(e.find(": "), std::string::npos) << where << ": " << e;
        }
        if (!ResourceDriver::Errors().empty()) ++loadedWithErrors;
        CheckStringTable(RSType_STRS, module, where);
        CheckStringTable(RSType_MENU, module, where);
        RSDialogLayout dialog;
        const bool hasDialog = RSGetDialogLayout(kId, module, &dialog);
        EXPECT_TRUE(hasDialog) << where;
        GS::UniString icon;
        GS::UniString picture;
        EXPECT_TRUE(RSGetIcon(kId, module, &icon)) << where;
        EXPECT_TRUE(RSGetPicture(kId, module, &picture)) << where;

        // Written back, it loads the same, without a complaint.
        const std::string again = root + "/again";
        WriteFile(again + "/STRS/100.txt", StringTableFile(RSType_STRS, module));
        WriteFile(again + "/MENU/100.txt", StringTableFile(RSType_MENU, module));
        WriteFile(again + "/DLOG/100.txt", DialogFile(dialog));
        WriteFile(again + "/ICON/100.txt", Escaped(icon) + "\r\n");
        WriteFile(again + "/PICT/100.txt", Escaped(picture) + "\r\n");
        ResourceDriver::ClearErrors();
        const GSResModule reread = ResourceDriver::OpenResourceFolder(again);
        ASSERT_NE(reread, InvalidResModule) << where;
        for (const std::string& e : ResourceDriver::Errors()) ADD_FAILURE() << where << ": written back: " << e;
        for (GSResType type : {RSType_STRS, RSType_MENU}) {
            EXPECT_EQ(RSGetIndStringCount(type, kId, reread), RSGetIndStringCount(type, kId, module)) << where;
            EXPECT_EQ(StringTableFile(type, reread), StringTableFile(type, module)) << where;
        }
        RSDialogLayout dialogAgain;
        ASSERT_TRUE(RSGetDialogLayout(kId, reread, &dialogAgain)) << where;
        EXPECT_EQ(Differences(dialog, dialogAgain), "") << where;
        GS::UniString text;
        ASSERT_TRUE(RSGetIcon(kId, reread, &text));
        EXPECT_TRUE(text == icon) << where;
        ASSERT_TRUE(RSGetPicture(kId, reread, &text));
        EXPECT_TRUE(text == picture) << where;
        ResourceDriver::CloseResourceModule(module);
        ResourceDriver::CloseResourceModule(reread);
    }
    EXPECT_GT(loadedWithErrors, 0);
    ResourceDriver::ClearErrors();
    fs::remove_all(root);
}

TEST(ResourceFilesRobustness, EveryTruncationOfAStringTableAndADialog) {
    const Seeds seeds = LoadSeeds();
    const std::string folder = TestSupport::UserFolder() + "/robust_cut";
    QuietErrors quiet;
    for (const std::string* seed : {&seeds.strings[2], &seeds.dialogs[1]}) {
        for (size_t len = 0; len <= seed->size(); ++len) {
            fs::remove_all(folder);
            WriteFile(folder + (seed == &seeds.strings[2] ? "/STRS/100.txt" : "/DLOG/100.txt"), seed->substr(0, len));
            const GSResModule module = ResourceDriver::OpenResourceFolder(folder);
            ASSERT_NE(module, InvalidResModule);
            CheckStringTable(RSType_STRS, module, "cut at " + std::to_string(len));
            RSDialogLayout dialog;
            RSGetDialogLayout(kId, module, &dialog);
            ResourceDriver::CloseResourceModule(module);
        }
    }
    ResourceDriver::ClearErrors();
    fs::remove_all(folder);
}

TEST(ResourceFilesRobustness, OversizedFilesAndBadNamesAreSkippedWhole) {
    const std::string folder = TestSupport::UserFolder() + "/robust_big";
    fs::remove_all(folder);
    WriteFile(folder + "/STRS/100.txt", "1=" + std::string(ResourceDriver::MaxResourceFileSize, 'x') + "\n");
    WriteFile(folder + "/STRS/99999999999.txt", "1=a\n");
    WriteFile(folder + "/STRS/-5.txt", "1=a\n");
    WriteFile(folder + "/XXXX/1.txt", "1=a\n");
    ResourceDriver::ClearErrors();
    QuietErrors quiet;
    const GSResModule module = ResourceDriver::OpenResourceFolder(folder);
    ASSERT_NE(module, InvalidResModule);
    EXPECT_FALSE(RSResourceExists(RSType_STRS, 100, module));
    EXPECT_EQ(ResourceDriver::Errors().size(), 4u);
    ResourceDriver::CloseResourceModule(module);
    ResourceDriver::ClearErrors();
    fs::remove_all(folder);
}

}  // namespace resource_files_test
