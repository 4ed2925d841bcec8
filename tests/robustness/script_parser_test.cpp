// The stand-in host's script parser under seeded mutation: every mutant is parsed or refused with errors that
// name a line of the text; a parsed script written back word by word parses to the same commands.
#include "Mutator.hpp"
#include "script/ScriptRunner.hpp"
#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace script_parser_test {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> Seeds() {
    std::vector<std::string> seeds = {
        "config \"Brenmaro.cfg\" \"a \\\"b\\\"\\r\\n#c\" x  # comment\n",
        "# only a comment\n\nload\nexpect loaded\nmenu 32501 1\nfail Install_MenuHandler 32503 0x81060001\n",
    };
    const std::string examples = TestSupport::DataDir() + "/../../examples";
    std::vector<std::string> files;
    if (std::filesystem::is_directory(examples))
        for (const auto& e : std::filesystem::directory_iterator(examples))
            if (e.path().extension() == ".script") files.push_back(e.path().string());
    std::sort(files.begin(), files.end());  // the same seeds in the same order on every run
    for (const std::string& f : files) seeds.push_back(ReadFile(f));
    return seeds;
}

const std::vector<std::string> kTokens = {
    "\"",
    "\\",
    "\\q",
    "\\\"",
    "#",
    " ",
    "\t",
    "\r",
    "\n",
    "0x",
    "0xFFFFFFFF",
    "0x100000000",
    "-2147483648",
    "-2147483649",
    "99999999999999999999999",
    "--1",
    "load",
    "expect",
    "menu ",
    "dialog ",
    "click ",
    "file ",
    "\"\"",
    "..",
    "/etc/passwd",
    std::string(1, '\0'),
    "\xFF",
};

size_t LineCount(const std::string& text) { return size_t(std::count(text.begin(), text.end(), '\n')) + 1; }

bool NamesALine(const std::string& error, size_t lines) {
    if (error.compare(0, 5, "line ") != 0) return false;
    size_t i = 5;
    size_t n = 0;
    while (i < error.size() && std::isdigit(static_cast<unsigned char>(error[i])))
        n = n * 10 + size_t(error[i++] - '0');
    return i > 5 && error.compare(i, 2, ": ") == 0 && n >= 1 && n <= lines;
}

// Parses a text; a parsed one is written back word by word and must give the same commands. True when parsed.
bool Check(const std::string& text, const std::string& where) {
    const ScriptLanguage& language = StandardScriptLanguage();
    std::vector<ScriptCommand> commands;
    std::vector<std::string> errors;
    bool ok = false;
    try {
        ok = language.Parse(text, &commands, &errors);
    } catch (const std::exception& e) {
        ADD_FAILURE() << where << ": exception " << e.what();
        return false;
    }
    EXPECT_EQ(ok, errors.empty()) << where;
    const size_t lines = LineCount(text);
    for (const std::string& e : errors) EXPECT_TRUE(NamesALine(e, lines)) << where << ": '" << e << "'";
    if (!ok) return false;

    std::string rewritten;
    int previous = 0;
    for (const ScriptCommand& c : commands) {
        EXPECT_GT(c.line, previous) << where;
        EXPECT_LE(size_t(c.line), lines) << where;
        previous = c.line;
        std::vector<ScriptToken> tokens;
        std::string why;
        EXPECT_TRUE(TokenizeScriptLine(c.source, &tokens, &why)) << where << ": " << why;
        for (size_t t = 0; t < tokens.size(); ++t) rewritten += (t ? " " : "") + WrittenScriptToken(tokens[t]);
        rewritten += "\n";
    }
    std::vector<ScriptCommand> again;
    std::vector<std::string> againErrors;
    EXPECT_TRUE(language.Parse(rewritten, &again, &againErrors)) << where << "\n" << rewritten;
    EXPECT_EQ(again.size(), commands.size()) << where;
    for (size_t i = 0; i < std::min(again.size(), commands.size()); ++i) {
        EXPECT_EQ(again[i].form, commands[i].form) << where << " command " << i;
        EXPECT_EQ(again[i].line, int(i + 1)) << where;
    }
    return true;
}

TEST(ScriptParserRobustness, SeedsParseAndRoundTrip) {
    const std::vector<std::string> seeds = Seeds();
    ASSERT_GE(seeds.size(), 5u);
    for (size_t i = 0; i < seeds.size(); ++i) EXPECT_TRUE(Check(seeds[i], "seed " + std::to_string(i)));
}

TEST(ScriptParserRobustness, EveryTruncationOfTheShortSeeds) {
    const std::vector<std::string> seeds = Seeds();
    for (size_t s = 0; s < 2; ++s)
        for (size_t len = 0; len <= seeds[s].size(); ++len)
            Check(seeds[s].substr(0, len), "seed " + std::to_string(s) + " cut at " + std::to_string(len));
}

TEST(ScriptParserRobustness, SeededMutants) {
    const std::vector<std::string> seeds = Seeds();
    Robustness::Mutator m(0x53435250u);
    int parsed = 0;
    const int iterations = 700;
    for (int i = 0; i < iterations && !HasFailure(); ++i) {
        // Whole example scripts are long: mutate a window of a dozen lines of them, or a short seed whole.
        std::string seed = seeds[m.Below(uint32_t(seeds.size()))];
        if (seed.size() > 400) {
            const size_t at = seed.find('\n', m.Below(uint32_t(seed.size())));
            seed = at == std::string::npos ? seed.substr(seed.size() / 2) : seed.substr(at + 1, 400);
        }
        if (Check(m.Mutate(seed, kTokens, 3), "mutant " + std::to_string(i))) ++parsed;
    }
    EXPECT_GT(parsed, 0);
    EXPECT_LT(parsed, iterations);
}

TEST(ScriptParserRobustness, LongLinesAndManyLines) {
    EXPECT_FALSE(Check(std::string(100000, 'x') + "\n", "one long word"));
    EXPECT_FALSE(Check("echo \"" + std::string(100000, '\\'), "long unclosed quote"));
    std::string many;
    for (int i = 0; i < 10000; ++i) many += i % 2 ? "expect loaded\n" : "\n";
    EXPECT_TRUE(Check(many, "many lines"));
}

}  // namespace script_parser_test
