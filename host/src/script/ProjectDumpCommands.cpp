// The project dumped as JSON, and checks of values in that dump.
#include "script/ScriptCommands.hpp"

#include "StandinHost.hpp"
#include "model3d/PlanPicture.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>

namespace {
bool SameJson(const nlohmann::ordered_json& found, const std::string& expected) {
    if (found.is_string()) return found.get<std::string>() == expected;
    if (found.is_number()) {
        double e;
        if (!ParseScriptNumber(expected, &e)) return false;
        const double f = found.get<double>();
        return std::fabs(f - e) <= 1e-9 * std::max(1.0, std::fabs(e));
    }
    return found.dump() == expected;
}

bool CheckJson(const nlohmann::ordered_json& doc, const std::string& pointer, const std::string& expected,
               std::string* m) {
    nlohmann::ordered_json::json_pointer ptr;
    try {
        ptr = nlohmann::ordered_json::json_pointer(pointer);
    } catch (const std::exception&) {
        *m = "'" + pointer + "' is not a JSON pointer";
        return false;
    }
    if (!doc.contains(ptr)) {
        *m = "the dump has nothing at " + pointer;
        return false;
    }
    const nlohmann::ordered_json& found = doc.at(ptr);
    const std::string shown = found.is_string() ? found.get<std::string>() : found.dump();
    *m = pointer + " = " + shown + (SameJson(found, expected) ? "" : ", expected " + expected);
    return SameJson(found, expected);
}
}  // namespace

void AddProjectDumpCommands(ScriptLanguage& L) {
    L.Add(
        "dump svg <file:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            PlanPictureCounts n;
            std::string skipped;
            const std::string text = PlanPictureSvg(Db(r), r.Host().Project().models, &n, &skipped);
            std::string path;
            if (!r.UserPath(a.Text("file"), &path, m)) return false;
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            if (!(out << text)) {
                *m = "cannot write " + path;
                return false;
            }
            *m = std::to_string(n.triangles) + " triangles, " + std::to_string(n.levelLines) + " level lines, " +
                std::to_string(n.hotspots) + " hotspots, " + std::to_string(n.lines) + " lines, " +
                std::to_string(n.rings) + " rings, " + std::to_string(n.objects) + " objects";
            if (!skipped.empty()) *m += "; left out:\n" + skipped;
            return true;
        },
        "draw the project's plan as an SVG picture into a file of the user folder: mesh triangles shaded by "
        "height, level lines, hotspots, lines, fills, objects");
    L.Add(
        "dump [<file:text>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const std::string text = Db(r).DumpJson(2);
            if (!a.Has("file")) {
                r.Out() << text << "\n";
                return true;
            }
            std::string path;
            if (!r.UserPath(a.Text("file"), &path, m)) return false;
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            if (!(out << text << "\n")) {
                *m = "cannot write " + path;
                return false;
            }
            return true;
        },
        "write the project as JSON into the log, or into a file of the user folder");
    L.Add(
        "expect json <pointer:text> <value:text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            return CheckJson(Db(r).ToJson(), a.Text("pointer"), a.Text("value"), m);
        },
        "the project's JSON dump holds <value> at the JSON pointer (e.g. /elements/0/type)");
    L.Add(
        "expect element <name:text> <pointer:text> <value:text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            const nlohmann::ordered_json doc = Db(r).ToJson();
            for (const nlohmann::ordered_json& e : doc["elements"])
                if (e["guid"] == GuidText(g)) return CheckJson(e, a.Text("pointer"), a.Text("value"), m);
            *m = "the dump lacks " + a.Text("name");
            return false;
        },
        "the element's part of the JSON dump holds <value> at the pointer (e.g. /userData/version)");
}
