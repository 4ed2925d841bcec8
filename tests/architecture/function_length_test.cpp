// No function of the module, the platform or the host runs over 150 lines: a longer one is split into named steps.
#include "FunctionBodies.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace function_length_test {

namespace fs = std::filesystem;

constexpr int LongestFunction = 150;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The module, the platform library and the stand-in host alike.
TEST(FunctionLength, NoFunctionOfTheModuleThePlatformOrTheHostIsLongerThan150Lines) {
    const fs::path root = fs::path(LODRAVIX_SOURCE_DIR);
    for (const char* tree : {"src", "platform", "host"}) {
        std::string faults;
        size_t bodies = 0;
        for (const auto& e : fs::recursive_directory_iterator(root / tree)) {
            const std::string ext = e.path().extension().string();
            if (ext != ".cpp" && ext != ".hpp") continue;
            for (const FunctionBodies::Body& b : FunctionBodies::Find(ReadFile(e.path()))) {
                ++bodies;
                if (b.lines > LongestFunction)
                    faults += fs::relative(e.path(), root).generic_string() + ":" + std::to_string(b.firstLine) + ": " +
                        std::to_string(b.lines) + " lines\n";
            }
        }
        EXPECT_GT(bodies, 300u) << tree;
        EXPECT_EQ(faults, "") << tree;
    }
}

// Random functions whose bodies hide braces in comments, strings, characters, raw strings and macros, hold
// control blocks and one-line lambdas: exactly the functions are found, each with its length.
TEST(FunctionLength, TheFinderMeasuresEveryFunctionAndNothingElse) {
    const std::vector<std::string> statements = {
        "    x += 1;",
        "    // a { brace in a comment",
        "    s = \"}{\\\"{\";",
        "    c = '{';",
        "    c = '\\'';",
        "    n = 1'000;",
        "    /* { */ x = 2;",
        "    auto f = [&](int b) { return b; };",
        "    auto g = [] { return 1; };",
        "    auto h = [&]() -> int { return 2; };",
        "    r = R\"(}{)\";",
        "#define OPEN {",
        "    int a[] = {1, 2};",
    };
    std::mt19937 random(2024);
    for (int round = 0; round < 200; ++round) {
        std::string text = "#include <x>\nnamespace {\nstruct S {\n    int v = 0;\n};\n}  // namespace\n";
        int line = 7;
        std::vector<FunctionBodies::Body> expected;
        const int functions = 1 + static_cast<int>(random() % 4);
        for (int f = 0; f < functions; ++f) {
            const int kind = static_cast<int>(random() % 3);
            const char* heads[] = {"int F(int a) {", "Foo::Foo(int a) : v(a), w{a} {", "bool T::Get() const {"};
            text += std::string(heads[kind]) + "\n";
            const int first = line++;
            int open = 0;
            const int length = static_cast<int>(random() % 40);
            for (int k = 0; k < length; ++k) {
                const int pick = static_cast<int>(random() % (statements.size() + 4));
                if (pick == int(statements.size()) && open < 3) {
                    text += "    if (a > (1)) {\n";
                    ++open;
                } else if (pick == int(statements.size()) + 1 && open < 3) {
                    text += "    for (int i = 0; i < a; ++i) {\n";
                    ++open;
                } else if (pick >= int(statements.size()) && open > 0) {
                    text += "    }\n";
                    --open;
                } else {
                    text += statements[size_t(pick) % statements.size()] + "\n";
                }
                ++line;
            }
            for (; open > 0; --open, ++line) text += "    } else {\n    }\n", ++line;
            text += "}\n";
            expected.push_back({first, line - first + 1});
            ++line;
        }
        std::vector<FunctionBodies::Body> found;
        for (const FunctionBodies::Body& b : FunctionBodies::Find(text))
            if (b.lines > 1) found.push_back(b);  // the one-line lambdas aside
        ASSERT_EQ(found.size(), expected.size()) << text;
        for (size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].firstLine, expected[i].firstLine) << text;
            EXPECT_EQ(found[i].lines, expected[i].lines) << text;
        }
    }
}

}  // namespace function_length_test
