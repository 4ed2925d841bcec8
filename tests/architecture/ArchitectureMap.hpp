#pragma once
// The map of docs/ARCHITECTURE.md as the architecture tests read it: the subsystem folders of src/ and what each
// may use, and the calls up that the map allows by name.
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace ArchitectureMap {

struct Map {
    std::vector<std::string> folders;  // as in the table, without the trailing '/'
    std::map<std::string, std::set<std::string>> uses;
};

inline Map ReadMap() {
    Map map;
    std::ifstream in(std::string(LODRAVIX_SOURCE_DIR) + "/docs/ARCHITECTURE.md");
    const std::regex row(R"(^\| `([a-z/]+)/` \|.*\|([^|]*)\|$)");
    const std::regex use("`([a-z/]+)/`");
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (!std::regex_match(line, m, row)) continue;
        const std::string folder = m[1];
        map.folders.push_back(folder);
        const std::string last = m[2];
        for (auto it = std::sregex_iterator(last.begin(), last.end(), use); it != std::sregex_iterator(); ++it)
            map.uses[folder].insert((*it)[1]);
    }
    return map;
}

// The listed folder a path under src/ belongs to: the longest one that prefixes it.
inline std::string FolderOf(const Map& map, const std::string& relative) {
    std::string best;
    for (const std::string& f : map.folders)
        if (relative.compare(0, f.size() + 1, f + "/") == 0 && f.size() > best.size()) best = f;
    return best;
}

// A call up the map allows: `name` (a function) defined in folder `to`, called from folder `from`. Read from the
// rows "| `Name` | `to/File.cpp` | `from/File.cpp` |".
struct UpwardLink {
    std::string name, to, from;
};

inline std::vector<UpwardLink> ReadUpwardLinks(const Map& map) {
    std::vector<UpwardLink> links;
    std::ifstream in(std::string(LODRAVIX_SOURCE_DIR) + "/docs/ARCHITECTURE.md");
    const std::regex row(
        R"(^\| `([A-Za-z_][A-Za-z0-9_]*)` \| `([a-z/]+/[A-Za-z0-9_]+\.cpp)` \| `([a-z/]+/[A-Za-z0-9_]+\.cpp)` \|$)");
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_match(line, m, row)) links.push_back({m[1], FolderOf(map, m[2]), FolderOf(map, m[3])});
    }
    return links;
}

}  // namespace ArchitectureMap
