// The map's recipes and its list of mutable globals name files that exist: every path in backticks there (a path
// with a <placeholder> names its folder up to it), and every file the globals' table names.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace recipes_test {

namespace fs = std::filesystem;

// The text of the map from the heading `first` up to the next heading of its level.
std::string Section(const std::string& map, const std::string& first) {
    const size_t begin = map.find("\n" + first + "\n");
    if (begin == std::string::npos) return "";
    const size_t end = map.find("\n## ", begin + first.size() + 1);
    return map.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

std::string ReadMap() {
    std::ifstream in(fs::path(LODRAVIX_SOURCE_DIR) / "docs" / "ARCHITECTURE.md");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

const std::regex& TreePath() {
    static const std::regex path(
        "`((?:src|host|platform|tests|library|resources|fuzz|bench|examples|docs|scripts)/[^` ]*)`");
    return path;
}

// Counts the paths checked.
int ExpectPathsExist(const std::string& section, const std::string& where) {
    int paths = 0;
    for (std::sregex_iterator it(section.begin(), section.end(), TreePath()), end; it != end; ++it) {
        std::string path = (*it)[1];
        const size_t placeholder = path.find('<');
        if (placeholder != std::string::npos) path = path.substr(0, path.rfind('/', placeholder) + 1);
        ++paths;
        EXPECT_TRUE(fs::exists(fs::path(LODRAVIX_SOURCE_DIR) / path)) << where << " names " << path;
    }
    return paths;
}

TEST(Recipes, EveryPathARecipeNamesExists) {
    const std::string recipes = Section(ReadMap(), "## Recipes");
    ASSERT_FALSE(recipes.empty()) << "docs/ARCHITECTURE.md has no recipes";
    EXPECT_GT(ExpectPathsExist(recipes, "the recipes"), 50);
}

// The table's rows: | `name` | `src/<file>` | written from: `folder/File`, ... (each a .cpp of src/).
TEST(Recipes, EveryFileTheGlobalsTableNamesExists) {
    const std::string globals = Section(ReadMap(), "## Mutable globals of `src/`");
    ASSERT_FALSE(globals.empty()) << "docs/ARCHITECTURE.md has no list of mutable globals";
    int rows = 0;
    std::istringstream lines(globals);
    const std::regex writer("`([a-z][A-Za-z0-9_/]*/[A-Za-z0-9_]+)`");
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("| `", 0) != 0) continue;
        ++rows;
        ExpectPathsExist(line, "the globals' table");
        const std::string writers = line.substr(line.rfind(" | "));
        for (std::sregex_iterator it(writers.begin(), writers.end(), writer), end; it != end; ++it)
            EXPECT_TRUE(fs::exists(fs::path(LODRAVIX_SOURCE_DIR) / "src" / ((*it)[1].str() + ".cpp")))
                << "the globals' table names src/" << (*it)[1] << ".cpp";
    }
    EXPECT_GT(rows, 40);
}

}  // namespace recipes_test
