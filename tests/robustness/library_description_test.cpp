// Object library descriptions under seeded mutation: every mutant is refused with "line <n>: ..." or parsed;
// a parsed part written back by DescribeLibraryPart reads back to the same part.
#include "library/LibraryDescription.hpp"
#include "library/LibraryStore.hpp"
#include "Mutator.hpp"
#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace library_description_test {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

const std::string kHead = "name = VY_TEST\n"
                          "guid = {6B2E41C7-93D0-4F5A-8E1B-2C7D40A95F13}-{d1a7e3b2-5c84-4e9f-a06b-71f2c3e8d945}\n"
                          "type = object\n";

std::vector<std::string> Seeds() {
    std::vector<std::string> seeds = {
        kHead +
            "param A length = 1.5\nparam label string = \"say \\\"hi\\\"; c:\\\\x \xC3\xA6\"\n"
            "param grid real[2][3] = 1; 2; 3; 4\nparam list string[3] = \"a\" ; \"\"\n"
            "param neg integer = -7e0\n",
        kHead +
            "parent = {55555555-5555-5555-5555-555555555555}-{00000000-0000-0000-0000-000000000001}\n"
            "details = 1 0\nsection ANCS 2 = hex:00ff\nsection 3DSC = \"a \\\"q\\\"\\r\\n\\tb\\\\\"\n"
            "param b boolean = 1\n",
    };
    const std::string library = TestSupport::BinDir() + "/library";
    for (const char* name : {"VY_BASIN.lpd", "VY_PLATEAU.lpd"}) {
        const std::string text = ReadFile(library + "/" + name);
        if (!text.empty()) seeds.push_back(text);
    }
    return seeds;
}

const std::vector<std::string> kTokens = {
    "param ",
    " = ",
    "[",
    "]",
    "[99999999999]",
    "[1048577]",
    "[2147483647][2147483647]",
    "[-1]",
    "\"",
    "\\",
    "; ",
    "hex:",
    "hex:0",
    "section ",
    "section PARD = hex:00",
    "details = ",
    "parent = ",
    "guid = ",
    "type = ",
    "name = ",
    "string",
    "integer",
    "real",
    "1e999",
    "-1e999",
    "nan",
    "inf",
    "0x7FFFFFFF",
    "99999999999999999999",
    "\xEF\xBB\xBF",
    "\xED\xA0\x80",
    "\xF4\x90\x80\x80",
    "\n",
    "\r\n",
    "#",
    "{",
    "}-{",
};

bool SameNumbers(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!(a[i] == b[i] || (std::isnan(a[i]) && std::isnan(b[i])))) return false;
    return true;
}

// Empty when equal, else what differs.
std::string Difference(const LibPartDef& a, const LibPartDef& b) {
    if (a.name != b.name) return "name";
    if (a.guid != b.guid) return "guid";
    if (a.parent != b.parent) return "parent";
    if (a.type != b.type) return "type";
    if (std::memcmp(&a.details, &b.details, sizeof a.details) != 0) return "details";
    if (a.params.size() != b.params.size()) return "parameter count";
    for (size_t i = 0; i < a.params.size(); ++i) {
        const LibParamDef& p = a.params[i];
        const LibParamDef& q = b.params[i];
        if (p.name != q.name || p.typeID != q.typeID || p.dim1 != q.dim1 || p.dim2 != q.dim2 ||
            !SameNumbers(p.numbers, q.numbers) || p.texts != q.texts || p.description != q.description)
            return "parameter " + p.name;
    }
    if (a.sections.size() != b.sections.size()) return "section count";
    for (size_t i = 0; i < a.sections.size(); ++i) {
        const LibSectionDef& s = a.sections[i];
        const LibSectionDef& t = b.sections[i];
        if (s.type != t.type || s.subIdent != t.subIdent || s.text != t.text || s.bytes != t.bytes)
            return "section " + SectionTypeText(s.type);
    }
    return "";
}

// "line <n>: ..." with n inside the text, or one of the whole-file faults ("no 'type' line").
bool LineNumbered(const std::string& error, size_t lineCount) {
    if (error.compare(0, 4, "no '") == 0 && error.size() > 10) return true;
    if (error.compare(0, 20, "file is larger than ") == 0) return true;
    if (error.compare(0, 5, "line ") != 0) return false;
    size_t i = 5;
    size_t n = 0;
    while (i < error.size() && std::isdigit(static_cast<unsigned char>(error[i])))
        n = n * 10 + size_t(error[i++] - '0');
    return i > 5 && i < error.size() && error[i] == ':' && n <= lineCount + 1;
}

// Parses one text; on success checks the round trip. Returns whether it parsed.
bool Check(const std::string& text, const std::string& where) {
    LibPartDef part;
    std::string error;
    bool ok = false;
    try {
        ok = ParseLibraryPart(text, &part, &error);
    } catch (const std::exception& e) {
        ADD_FAILURE() << where << ": exception " << e.what();
        return false;
    }
    if (!ok) {
        const size_t lines = size_t(std::count(text.begin(), text.end(), '\n')) + 1;
        EXPECT_TRUE(LineNumbered(error, lines)) << where << ": error '" << error << "'";
        return false;
    }
    const std::string written = DescribeLibraryPart(part);
    LibPartDef again;
    std::string againError;
    EXPECT_TRUE(ParseLibraryPart(written, &again, &againError)) << where << ": written back fails: " << againError;
    if (againError.empty()) {
        EXPECT_EQ(Difference(part, again), "") << where << "\n" << written;
    }
    return true;
}

TEST(LibraryDescriptionRobustness, SeedsParseAndRoundTrip) {
    const std::vector<std::string> seeds = Seeds();
    ASSERT_GE(seeds.size(), 4u);
    for (size_t i = 0; i < seeds.size(); ++i) EXPECT_TRUE(Check(seeds[i], "seed " + std::to_string(i)));
}

TEST(LibraryDescriptionRobustness, EveryTruncationOfTheShortSeeds) {
    const std::vector<std::string> seeds = Seeds();
    for (size_t s = 0; s < 2; ++s)
        for (size_t len = 0; len <= seeds[s].size(); ++len)
            Check(seeds[s].substr(0, len), "seed " + std::to_string(s) + " cut at " + std::to_string(len));
}

TEST(LibraryDescriptionRobustness, SeededMutants) {
    const std::vector<std::string> seeds = Seeds();
    Robustness::Mutator m(0x4C504431u);
    int parsed = 0;
    const int iterations = 6000;
    for (int i = 0; i < iterations; ++i) {
        const std::string& seed = seeds[m.Below(uint32_t(seeds.size()))];
        if (Check(m.Mutate(seed, kTokens), "mutant " + std::to_string(i))) ++parsed;
        if (HasFailure()) break;
    }
    // Both outcomes must be exercised, or the mutations miss the parser.
    EXPECT_GT(parsed, 0);
    EXPECT_LT(parsed, iterations);
}

TEST(LibraryDescriptionRobustness, HugeArraysAndCountsAreRefused) {
    for (const char* line : {"param x real[1048577] = 1", "param x real[2147483647][2147483647] = 1",
                             "param x real[99999999999999999999] = 1", "param x string[1024][1025] = \"a\"",
                             "param x real[-1] = 1", "details = 99999999999999999999 1"}) {
        LibPartDef part;
        std::string error;
        EXPECT_FALSE(ParseLibraryPart(kHead + line + "\n", &part, &error)) << line;
        EXPECT_EQ(error.compare(0, 7, "line 4:"), 0) << line << ": " << error;
    }
}

TEST(LibraryDescriptionRobustness, OversizedDescriptionIsRefusedWhole) {
    std::string text = kHead;
    while (text.size() <= LibFileBytesMax) text += "# padding " + std::string(100, 'x') + "\n";
    LibPartDef part;
    std::string error;
    EXPECT_FALSE(ParseLibraryPart(text, &part, &error));
    EXPECT_NE(error.find("larger than"), std::string::npos) << error;
}

TEST(LibraryDescriptionRobustness, MutatedFilesInAFolderLeaveTheStoreAsItWas) {
    const std::vector<std::string> seeds = Seeds();
    Robustness::Mutator m(0x464F4C44u);
    const std::string folder = TestSupport::UserFolder() + "/robust_library";
    for (int i = 0; i < 40; ++i) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        const std::string text = m.Mutate(seeds[m.Below(uint32_t(seeds.size()))], kTokens);
        std::ofstream(folder + "/part.lpd", std::ios::binary) << text;
        LibPartDef probe;
        std::string probeError;
        const bool parses = ParseLibraryPart(text, &probe, &probeError);
        LibraryStore store;
        std::string error;
        bool faulty = false;
        const bool loaded = store.LoadFolder(folder, &error, &faulty);
        EXPECT_EQ(loaded, parses) << i << ": " << error;
        if (loaded) {
            EXPECT_EQ(store.PartCount(), 1);
        } else {
            EXPECT_TRUE(faulty) << i;
            EXPECT_FALSE(error.empty());
            EXPECT_EQ(store.PartCount(), 0);
            EXPECT_TRUE(store.Folders().empty());
        }
    }
    std::filesystem::remove_all(folder);
}

// Generated parts: arrays declared up to the largest size with a few values or none, texts with every escape,
// descriptions, sections. A part holds no more cells than the values its text gives, its written description
// grows with its text (not with the declared cells) and reads back to the same part. A NUL in a description is
// refused, as in a value.
TEST(LibraryDescriptionRobustness, GeneratedPartsKeepToTheirTextAndReadBackWritten) {
    std::mt19937 random(0x4C504432u);
    auto below = [&](uint32_t n) { return uint32_t(random() % n); };
    const char* types[] = {"real", "length", "integer", "boolean", "pen", "string"};
    const std::string pieces[] = {"a", "\\\"", "\\\\", "\\n", "\\t", ";", " ", "\xC3\xA6", "\xE6\x97\xA5", "x y"};
    for (int round = 0; round < 300; ++round) {
        std::string text = kHead;
        size_t values = 0;
        bool nul = false;
        const uint32_t params = 1 + below(40);
        for (uint32_t i = 0; i < params; ++i) {
            const std::string type = types[below(6)];
            const bool isText = type == "string";
            const uint32_t shape = below(3);
            const uint32_t cells = shape == 0 ? 1 : shape == 1 ? 1 + below(1048576) : 1 + below(1024);
            const uint32_t dim2 = shape == 2 ? 1 + below(uint32_t(LibArrayCellsMax / cells)) : 1;
            text += "param p" + std::to_string(i) + " " + type;
            if (shape > 0) text += "[" + std::to_string(cells) + "]";
            if (shape == 2) text += "[" + std::to_string(dim2) + "]";
            text += " =";
            const uint32_t given = shape == 0 ? 1 : std::min<uint32_t>(below(6), cells * dim2);
            for (uint32_t k = 0; k < given; ++k) {
                text += k == 0 ? " " : "; ";
                if (isText) {
                    text += "\"";
                    for (uint32_t n = below(4); n > 0; --n) text += pieces[below(10)];
                    text += "\"";
                } else {
                    const double choices[] = {0.0, -0.0, 1.5, -1e-300, 123456789.123456789, double(below(1000))};
                    char number[40];
                    std::snprintf(number, sizeof number, "%.17g", choices[below(6)]);
                    text += number;
                }
            }
            if (given == 0) text += isText ? " \"\"" : " 0";
            values += std::max<uint32_t>(given, 1);
            text += "\n";
            if (below(4) == 0) {
                const bool withNul = below(8) == 0;
                nul = nul || withNul;
                text += "describe p" + std::to_string(i) + " = \"d" + (withNul ? std::string("\0", 1) : "") + "e\"\n";
            }
        }
        for (uint32_t k = below(3); k > 0; --k) text += "section ANCS " + std::to_string(k) + " = hex:00ff\n";
        LibPartDef part;
        std::string error;
        const bool parsed = ParseLibraryPart(text, &part, &error);
        if (nul) {
            EXPECT_FALSE(parsed) << round;
            EXPECT_NE(error.find("NUL"), std::string::npos) << round << ": " << error;
            continue;
        }
        ASSERT_TRUE(parsed) << round << ": " << error << "\n" << text;
        size_t held = 0;
        for (const LibParamDef& p : part.params) held += p.numbers.size() + p.texts.size();
        EXPECT_LE(held, values) << round;
        const std::string written = DescribeLibraryPart(part);
        EXPECT_LE(written.size(), 2 * text.size() + 4096) << round;
        LibPartDef again;
        ASSERT_TRUE(ParseLibraryPart(written, &again, &error)) << round << ": " << error;
        EXPECT_EQ(Difference(part, again), "") << round << "\n" << written;
    }

    // 32 text arrays of the largest size in about 1 KB: nothing held, a file of the same size written.
    std::string text = kHead;
    for (int i = 0; i < 32; ++i) text += "param s" + std::to_string(i) + " string[1048576] = \"\"\n";
    ASSERT_LT(text.size(), 1200u);
    LibPartDef part;
    std::string error;
    ASSERT_TRUE(ParseLibraryPart(text, &part, &error)) << error;
    for (const LibParamDef& p : part.params) EXPECT_TRUE(p.texts.empty() && p.CellCount() == 1048576u);
    EXPECT_LT(DescribeLibraryPart(part).size(), 2048u);

    // Sections by the ten thousand: each is told from the others, and one given twice is named with its line.
    text = kHead;
    for (int i = 0; i < 80000; ++i)
        text += "section T" + std::to_string(100 + i / 30000) + " " + std::to_string(i % 30000 - 15000) + " = hex:00\n";
    ASSERT_TRUE(ParseLibraryPart(text, &part, &error)) << error;
    EXPECT_EQ(part.sections.size(), 80000u + 3u);  // with 'PARD' and the two scripts
    text += "section T100 -15000 = hex:01\n";
    EXPECT_FALSE(ParseLibraryPart(text, &part, &error));
    EXPECT_EQ(error.compare(0, 11, "line 80004:"), 0) << error;
}

}  // namespace library_description_test
