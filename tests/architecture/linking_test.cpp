// The map of docs/ARCHITECTURE.md holds at link level too: every symbol a folder's objects need is defined in the
// folder itself, in a folder its row names, or outside the module (the platform library and the C and C++
// runtimes the module is linked against); the only symbols taken from a higher folder are the calls up the map
// names. The include check cannot see a function declared by hand where it is called; this one reads the built
// objects with nm.
#include "ArchitectureMap.hpp"

#include <gtest/gtest.h>

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace linking_test {

using namespace ArchitectureMap;

// The lines a command prints; empty when it cannot run.
std::vector<std::string> RunLines(const std::string& command) {
    std::vector<std::string> lines;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return lines;
    std::string line;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) {
        line += buffer;
        if (line.back() != '\n') continue;
        line.pop_back();
        lines.push_back(line);
        line.clear();
    }
    return lines;
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

struct Symbols {
    std::set<std::string> defined;
    std::map<std::string, std::string> needed;  // symbol -> the first object needing it
};

// The external symbols of these objects: defined, and needed but not defined among them (weak references left out).
Symbols ReadObjects(const std::vector<std::string>& objects) {
    Symbols s;
    std::string command = std::string(LODRAVIX_NM) + " -P -A -g";
    for (const std::string& o : objects) command += " " + Quoted(o);
    for (const std::string& line : RunLines(command + " 2>/dev/null")) {
        // "object: name type [value size]"
        const size_t colon = line.find(": ");
        if (colon == std::string::npos) continue;
        std::istringstream fields(line.substr(colon + 2));
        std::string name, type;
        if (!(fields >> name >> type)) continue;
        const std::string path = line.substr(0, colon);
        if (type == "U")
            s.needed.emplace(name, path.substr(path.rfind('/') + 1));
        else if (type != "w" && type != "v")
            s.defined.insert(name);
    }
    for (const std::string& d : s.defined) s.needed.erase(d);
    return s;
}

// The symbols the module's objects may take from outside the module: those the link put into it besides the
// folders' objects, and the dynamic symbols of the libraries it names as needed (its DT_NEEDED entries, found as
// the dynamic loader finds them), without their version suffixes.
std::set<std::string> OutsideDefinitions(const std::string& module) {
    std::set<std::string> needed;
    for (const std::string& line : RunLines("readelf -d " + Quoted(module) + " 2>/dev/null")) {
        const size_t a = line.find("(NEEDED)");
        const size_t open = line.find('[');
        const size_t close = line.find(']');
        if (a != std::string::npos && open != std::string::npos && close > open)
            needed.insert(line.substr(open + 1, close - open - 1));
    }
    // What the link itself supplies (__dso_handle, the compiler's helpers from its static libraries).
    std::set<std::string> symbols;
    for (const std::string& line : RunLines(std::string(LODRAVIX_NM) + " -P --defined-only " + Quoted(module)))
        symbols.insert(line.substr(0, line.find(' ')));
    for (const std::string& line : RunLines("ldd " + Quoted(module) + " 2>/dev/null")) {
        // "soname => path (address)", or "path (address)" for the dynamic loader itself.
        std::istringstream fields(line);
        std::string soname, arrow, path;
        if (!(fields >> soname >> arrow)) continue;
        if (arrow == "=>")
            fields >> path;
        else
            path = soname, soname = soname.substr(soname.rfind('/') + 1);
        if (path.empty() || path[0] != '/' || needed.count(soname) == 0) continue;
        for (const std::string& sym : RunLines(std::string(LODRAVIX_NM) + " -D -P --defined-only " + Quoted(path))) {
            std::string name = sym.substr(0, sym.find(' '));
            name = name.substr(0, name.find('@'));
            symbols.insert(name);
        }
    }
    return symbols;
}

std::string Demangled(const std::string& symbol) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> text(abi::__cxa_demangle(symbol.c_str(), nullptr, nullptr, &status),
                                                std::free);
    return status == 0 && text ? std::string(text.get()) : symbol;
}

// A plain function's name without its parameters ("Initialize" of "Initialize()").
std::string FunctionName(const std::string& symbol) {
    const std::string text = Demangled(symbol);
    return text.substr(0, text.find('('));
}

TEST(Linking, EverySymbolAFolderNeedsComesFromTheMap) {
    const Map map = ReadMap();
    const std::vector<UpwardLink> upward = ReadUpwardLinks(map);

    std::map<std::string, Symbols> folders;
    std::string module;
    std::ifstream in(LODRAVIX_OBJECT_MAP);
    ASSERT_TRUE(in) << LODRAVIX_OBJECT_MAP;
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string f; std::getline(split, f, '\t');) fields.push_back(f);
        if (fields.size() < 2) continue;
        if (fields[0] == "module") {
            module = fields[1];
            continue;
        }
        folders[fields[0]] = ReadObjects({fields.begin() + 1, fields.end()});
        EXPECT_FALSE(folders[fields[0]].defined.empty()) << fields[0] << ": nm read nothing";
    }
    ASSERT_GE(folders.size(), 10u);
    ASSERT_FALSE(module.empty());
    const std::set<std::string> outside = OutsideDefinitions(module);
    ASSERT_GT(outside.size(), 1000u) << "the platform library and the runtimes were not read";

    std::ostringstream faults;
    for (const auto& [folder, symbols] : folders) {
        std::set<std::string> reachable = {folder};
        if (map.uses.count(folder)) reachable.insert(map.uses.at(folder).begin(), map.uses.at(folder).end());
        for (const auto& [symbol, object] : symbols.needed) {
            bool found = false;
            std::string owner;
            for (const auto& [other, theirs] : folders) {
                if (theirs.defined.count(symbol) == 0) continue;
                if (reachable.count(other))
                    found = true;
                else if (owner.empty())
                    owner = other;
            }
            if (found) continue;
            if (!owner.empty()) {
                bool allowed = false;
                for (const UpwardLink& u : upward)
                    allowed |= u.from == folder && u.to == owner && u.name == FunctionName(symbol);
                if (!allowed)
                    faults << folder << "/ (" << object << ") needs " << Demangled(symbol) << " of " << owner << "/\n";
            } else if (outside.count(symbol) == 0) {
                faults << folder << "/ (" << object << ") needs " << Demangled(symbol) << ", defined nowhere\n";
            }
        }
    }
    EXPECT_EQ(faults.str(), "");
}

// Each call up the map names is still made, so the list does not outlive the code.
TEST(Linking, EveryCallUpTheMapNamesIsMade) {
    const Map map = ReadMap();
    const std::vector<UpwardLink> upward = ReadUpwardLinks(map);
    ASSERT_FALSE(upward.empty());
    std::map<std::string, std::vector<std::string>> objects;
    std::ifstream in(LODRAVIX_OBJECT_MAP);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string f; std::getline(split, f, '\t');) fields.push_back(f);
        if (fields.size() >= 2) objects[fields[0]].assign(fields.begin() + 1, fields.end());
    }
    for (const UpwardLink& u : upward) {
        std::set<std::string> needed, defined;
        for (const auto& [symbol, object] : ReadObjects(objects[u.from]).needed) needed.insert(FunctionName(symbol));
        for (const std::string& symbol : ReadObjects(objects[u.to]).defined) defined.insert(FunctionName(symbol));
        EXPECT_EQ(needed.count(u.name), 1u) << u.from << "/ no longer calls " << u.name;
        EXPECT_EQ(defined.count(u.name), 1u) << u.to << "/ does not define " << u.name;
    }
}

}  // namespace linking_test
