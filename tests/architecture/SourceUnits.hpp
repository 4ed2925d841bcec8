#pragma once
// The units of src/ and the includes between them, as the circle check reads them. A unit is a .cpp with its .hpp
// (or a header alone), named by its path under src/ without the extension.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace SourceUnits {

// One include of another unit's header: the including file (under src/), its line, the unit included.
struct Include {
    std::string file;
    int line = 0;
    std::string unit;
};

// Every unit with the includes of other units its files make (a unit's own header is not one of them).
using Graph = std::map<std::string, std::vector<Include>>;

inline std::string UnitOf(const std::string& relative) {
    const size_t dot = relative.rfind('.');
    return dot == std::string::npos ? relative : relative.substr(0, dot);
}

// Reads the .cpp and .hpp files under `src`. An include with a '/' is taken from `src`, one without from beside
// the file; includes of anything else (host headers, the standard library) are not units and are left out.
inline Graph ReadUnits(const std::filesystem::path& src) {
    namespace fs = std::filesystem;
    Graph graph;
    const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(src)) {
        const std::string ext = e.path().extension().string();
        if (e.is_regular_file() && (ext == ".cpp" || ext == ".hpp")) files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& path : files) {
        const std::string relative = fs::relative(path, src).generic_string();
        const std::string unit = UnitOf(relative);
        std::vector<Include>& includes = graph[unit];
        std::ifstream in(path);
        int lineNo = 0;
        for (std::string line; std::getline(in, line);) {
            ++lineNo;
            std::smatch m;
            if (!std::regex_search(line, m, include)) continue;
            std::string target = m[1];
            if (target.find('/') == std::string::npos) {
                // A bare name is the header beside the file, or else one at the tree's root (the host's own).
                const std::string dir = fs::path(relative).parent_path().generic_string();
                const std::string beside = dir.empty() ? target : dir + "/" + target;
                if (fs::exists(src / beside)) target = beside;
            }
            if (!fs::exists(src / target)) continue;
            const std::string used = UnitOf(target);
            if (used != unit) includes.push_back({relative, lineNo, used});
        }
    }
    return graph;
}

// The circles: each set of two or more units that reach one another through includes (a strongly connected
// component), its units sorted; the circles sorted by their first unit.
inline std::vector<std::vector<std::string>> Circles(const Graph& graph) {
    std::map<std::string, int> index, low;
    std::set<std::string> onStack;
    std::vector<std::string> stack;
    std::vector<std::vector<std::string>> circles;
    int counter = 0;
    std::function<void(const std::string&)> visit = [&](const std::string& v) {
        index[v] = low[v] = counter++;
        stack.push_back(v);
        onStack.insert(v);
        const auto it = graph.find(v);
        if (it != graph.end()) {
            for (const Include& inc : it->second) {
                const std::string& w = inc.unit;
                if (index.count(w) == 0) {
                    visit(w);
                    low[v] = std::min(low[v], low[w]);
                } else if (onStack.count(w) != 0) {
                    low[v] = std::min(low[v], index[w]);
                }
            }
        }
        if (low[v] != index[v]) return;
        std::vector<std::string> component;
        std::string w;
        do {
            w = stack.back();
            stack.pop_back();
            onStack.erase(w);
            component.push_back(w);
        } while (w != v);
        if (component.size() < 2) return;
        std::sort(component.begin(), component.end());
        circles.push_back(component);
    };
    for (const auto& [unit, includes] : graph)
        if (index.count(unit) == 0) visit(unit);
    std::sort(circles.begin(), circles.end());
    return circles;
}

// A circle as a reader wants it: its units, then every include line that joins two of them.
inline std::string Describe(const Graph& graph, const std::vector<std::string>& circle) {
    std::ostringstream out;
    out << "circle of " << circle.size() << " units:";
    for (const std::string& u : circle) out << " " << u;
    out << "\n";
    const std::set<std::string> members(circle.begin(), circle.end());
    for (const std::string& u : circle) {
        const auto it = graph.find(u);
        if (it == graph.end()) continue;
        for (const Include& inc : it->second)
            if (members.count(inc.unit) != 0)
                out << "  " << inc.file << ":" << inc.line << ": includes " << inc.unit << ".hpp\n";
    }
    return out.str();
}

}  // namespace SourceUnits
