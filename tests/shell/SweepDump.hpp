#pragma once
// The whole project as the fault sweep compares it: one text line per layer, story, database, element (every field,
// memo, parameter and user data) and solid link, with GUIDs (elements, groups, databases) numbered in the order they
// are met, so that a run that makes the same elements with other GUIDs dumps the same text.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace Sweep {

using nlohmann::ordered_json;
using Signature = std::vector<std::string>;

inline bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// Length of the GUID text (8-4-4-4-12 hex digits) at `at`, or 0.
inline size_t GuidAt(const std::string& s, size_t at) {
    static const size_t groups[] = {8, 4, 4, 4, 12};
    size_t i = at;
    for (size_t g = 0; g < 5; ++g) {
        if (g > 0) {
            if (i >= s.size() || s[i] != '-') return 0;
            ++i;
        }
        for (size_t k = 0; k < groups[g]; ++k, ++i)
            if (i >= s.size() || !IsHex(s[i])) return 0;
    }
    return i < s.size() && IsHex(s[i]) ? 0 : i - at;
}

// The text with each GUID in it (one not inside a longer run of hex digits) given to `put`, which appends what
// stands for it.
template <typename Put>
std::string RewriteGuids(const std::string& text, Put&& put) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t n = (i == 0 || !IsHex(text[i - 1])) ? GuidAt(text, i) : 0;
        if (n == 0) {
            out += text[i++];
            continue;
        }
        put(out, text.substr(i, n));
        i += n;
    }
    return out;
}

class GuidNumbers {
public:
    std::string Number(const std::string& guid) {
        std::string out;
        AppendNumber(out, guid);
        return out;
    }
    // Appends "#<n>", the GUID's number.
    void AppendNumber(std::string& out, const std::string& guid) {
        key_.assign(guid);
        for (char& c : key_) c = char(std::toupper(static_cast<unsigned char>(c)));
        auto found = numbers_.find(key_);
        if (found == numbers_.end()) found = numbers_.emplace(key_, numbers_.size() + 1).first;
        out += '#';
        out += std::to_string(found->second);
    }
    std::string Rewrite(const std::string& text) {
        return RewriteGuids(text, [this](std::string& out, const std::string& guid) { AppendNumber(out, guid); });
    }

private:
    std::unordered_map<std::string, size_t> numbers_;
    std::string key_;
};

// An element's text without its own GUID (the host writes that first): `{"guid":"<36>",` loses `"guid":"<36>",`.
inline std::string WithoutOwnGuid(const ordered_json& e) {
    std::string text = e.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
    static const std::string key = "{\"guid\":\"";
    if (text.compare(0, key.size(), key) == 0 && text.size() > key.size() + 38 && GuidAt(text, key.size()) == 36 &&
        text.compare(key.size() + 36, 2, "\",") == 0)
        return "{" + text.substr(key.size() + 38);
    ordered_json copy = e;
    copy.erase("guid");
    return copy.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}

// Which elements a dump holds, and what it leaves out of them.
struct DumpShape {
    bool (*takes)(const ordered_json& element) = nullptr;  // null: every element
    // Leaves fields out of an element (a copy) that `trims` names (null: every one); null: every element whole.
    void (*trim)(ordered_json& element) = nullptr;
    bool (*trims)(const ordered_json& element) = nullptr;
};

// What else of the project a user or a later action meets, a line each: the front window, the current database and
// story, the tool picked in the toolbox, the selection (its elements' numbers, in the order selected), the undo
// steps by name (in order), the attributes other than layers, the user folder's files, the tools' defaults, the
// module's data, the dialogs and palettes open, the module's registered windows and menu texts. After the elements,
// whose numbers the selection uses.
inline const std::vector<const char*>& SurroundingParts() {
    static const std::vector<const char*> parts = {"window",    "database",   "currentStory", "toolbox",  "undoSteps",
                                                   "selection", "attributes", "files",        "defaults", "moduleData",
                                                   "dialogs",   "windows",    "menus"};
    return parts;
}
template <typename Numbers>
void DumpSurroundings(const ordered_json& project, Numbers& numbers, Signature& out) {
    const auto text = [](const ordered_json& x) {
        return x.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
    };
    for (const char* part : {"window", "database", "currentStory", "toolbox", "undoSteps"})
        if (project.contains(part)) out.push_back(std::string(part) + " " + text(project[part]));
    if (project.contains("selection")) {
        std::string line = "selection";
        for (const ordered_json& guid : project["selection"]) line += " " + numbers.Rewrite(guid.get<std::string>());
        out.push_back(line);
    }
    for (const char* part : {"attributes", "files", "defaults", "moduleData", "dialogs", "windows", "menus"})
        if (project.contains(part))
            for (const ordered_json& x : project[part]) out.push_back(std::string(part) + " " + text(x));
}

// The lines of a project's layers, stories, databases and solid links (a link when both its ends are in `dumped`).
inline void DumpParts(const ordered_json& project, const std::unordered_set<std::string>& dumped, GuidNumbers& numbers,
                      Signature& out) {
    for (const char* part : {"layers", "stories", "databases", "solidLinks"})
        if (project.contains(part))
            for (ordered_json x : project[part]) {
                if (x.contains("target") &&
                    (dumped.count(x["target"].get<std::string>()) == 0 ||
                     dumped.count(x["operator"].get<std::string>()) == 0))
                    continue;
                // When a link was made is the host's clock, not the project's content.
                x.erase("time");
                x.erase("subTime");
                out.push_back(std::string(part) + " " +
                              numbers.Rewrite(x.dump(-1, ' ', false, ordered_json::error_handler_t::replace)));
            }
}

// The other elements' GUIDs are numbered where met, as any reference; a solid link is dumped when both its ends are.
inline Signature ProjectDump(const ordered_json& project, const DumpShape& shape = {}) {
    if (!project.is_object()) return {};
    GuidNumbers numbers;
    for (const ordered_json& d : project.value("databases", ordered_json::array()))
        numbers.Number(d["id"].get<std::string>());
    Signature out;
    std::vector<std::string> elements;
    std::unordered_set<std::string> dumped;
    for (const ordered_json& e : project.value("elements", ordered_json::array())) {
        if (shape.takes != nullptr && !shape.takes(e)) continue;
        dumped.insert(e["guid"].get<std::string>());
        numbers.Number(e["guid"].get<std::string>());
        if (shape.trim == nullptr || (shape.trims != nullptr && !shape.trims(e))) {
            elements.push_back(WithoutOwnGuid(e));
            continue;
        }
        ordered_json rest = e;
        shape.trim(rest);
        elements.push_back(WithoutOwnGuid(rest));
    }
    for (const std::string& e : elements) out.push_back("element " + numbers.Rewrite(e));
    DumpParts(project, dumped, numbers, out);
    // A part of the project's elements is compared without what surrounds them; so is the host's bare JSON (the
    // sweep's project, SweptProject, carries the user folder's files with the rest).
    if (shape.takes == nullptr && project.contains("files")) DumpSurroundings(project, numbers, out);
    std::sort(out.begin(), out.end());
    return out;
}

// A fingerprint of a dump (its lines' hashes chained), to tell equal dumps apart cheaply across processes of one
// test program.
inline std::string DumpHash(const Signature& dump) {
    uint64_t h = 1469598103934665603ull;
    for (const std::string& line : dump) {
        h = (h ^ uint64_t(std::hash<std::string>()(line))) * 1099511628211ull;
        h ^= h >> 29;
    }
    std::ostringstream s;
    s << std::hex << h << "/" << std::dec << dump.size();
    return s.str();
}

// The lines of `to` that `from` lacks, each as often as it is missing.
inline Signature Added(const Signature& from, const Signature& to) {
    std::multiset<std::string> a(from.begin(), from.end());
    Signature out;
    for (const std::string& x : to) {
        const auto it = a.find(x);
        if (it == a.end())
            out.push_back(x);
        else
            a.erase(it);
    }
    return out;
}

// The lines one dump has and the other not; a line that has a near twin on the other side is shown from a little
// before where they part.
inline std::string Describe(const Signature& from, const Signature& to) {
    // Only the first lines are shown: the text is cut short anyway.
    constexpr size_t Shown = 12;
    Signature added = Added(from, to), removed = Added(to, from);
    const size_t moreAdded = added.size() > Shown ? added.size() - Shown : 0;
    const size_t moreRemoved = removed.size() > Shown ? removed.size() - Shown : 0;
    added.resize(std::min(added.size(), Shown));
    removed.resize(std::min(removed.size(), Shown));
    auto shown = [](const std::string& x, const Signature& others) {
        size_t common = 0;
        for (const std::string& o : others)
            common = std::max<size_t>(
                common,
                size_t(std::mismatch(x.begin(), x.begin() + std::ptrdiff_t(std::min(x.size(), o.size())), o.begin())
                           .first -
                       x.begin()));
        const size_t from = common > 100 ? common - 60 : 0;
        const std::string part = x.substr(from, 200);
        return (from > 0 ? x.substr(0, 40) + " ..." : std::string()) + part + (from + 200 < x.size() ? "..." : "");
    };
    std::ostringstream s;
    for (const std::string& x : added) s << "\n  +" << shown(x, removed);
    if (moreAdded > 0) s << "\n  + " << moreAdded << " more";
    for (const std::string& x : removed) s << "\n  -" << shown(x, added);
    if (moreRemoved > 0) s << "\n  - " << moreRemoved << " more";
    std::string text = s.str();
    return text.size() > 2400 ? text.substr(0, 2400) + " ..." : text;
}

inline Signature Lines(const Signature& dump, const std::string& prefix, bool with) {
    Signature out;
    for (const std::string& line : dump)
        if ((line.rfind(prefix, 0) == 0) == with) out.push_back(line);
    return out;
}

inline bool Includes(const Signature& all, const Signature& some) {
    const std::multiset<std::string> a(all.begin(), all.end()), b(some.begin(), some.end());
    for (const std::string& x : b)
        if (a.count(x) < b.count(x)) return false;
    return true;
}

}  // namespace Sweep
