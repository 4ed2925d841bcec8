// The project dumped as JSON, and checks of values in that dump; its plan picture, its summary and what a script
// prints of it (a height, a parameter, the volumes) without checking anything.
#include "script/ScriptCommands.hpp"

#include "LogNumber.hpp"
#include "StandinHost.hpp"
#include "model3d/ModelStore.hpp"
#include "model3d/PlanPicture.hpp"
#include "model3d/TerrainCoverage.hpp"
#include "project/Guids.hpp"
#include "project/ProjectDatabase.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

#include <nlohmann/json.hpp>

#include <cmath>
#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

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

// The project's objects as ToJson writes them, under "elements": what the summary reads of a feature, without the
// survey's points, which a large terrain has millions of.
nlohmann::ordered_json ObjectsJson(ScriptContext& r) {
    nlohmann::ordered_json doc;
    doc["elements"] = nlohmann::ordered_json::array();
    for (const API_Guid& g : Db(r).AllElements()) {
        const StoredElement* e = Db(r).Find(g);
        if (e != nullptr && e->record.header.typeID == API_ObjectID) doc["elements"].push_back(Db(r).ElementJson(g));
    }
    return doc;
}

// The GUIDs an object's record names (its feature's elements): the objects of one feature name the same ones.
std::vector<std::string> RecordGuids(const nlohmann::ordered_json& e) {
    std::vector<std::string> guids;
    if (!e.contains("userData") || !e["userData"].is_object() || !e["userData"].contains("texts")) return guids;
    API_Guid g;
    for (const nlohmann::ordered_json& t : e["userData"]["texts"])
        if (t.is_object() && ParseGuidText(t.value("text", ""), &g)) guids.push_back(t.value("text", ""));
    return guids;
}

// The objects that build a feature: those whose record names the same elements as `group` when it names any, else
// those whose info string is the feature's name; by where their 3D bodies come from: a body the script or a test
// gave them (`body`), or the bodies their library part builds from their parameters; an object that should have
// bodies and has none is named with the reason.
struct FeatureObjects {
    std::vector<std::string> drawn, own, refused;
};
FeatureObjects ObjectsOf(ScriptContext& r, const nlohmann::ordered_json& doc, const std::string& feature,
                         const std::vector<std::string>& group) {
    FeatureObjects f;
    for (const nlohmann::ordered_json& e : doc["elements"]) {
        if (e.value("type", "") != "object" || !e.contains("memo") || !e["memo"].is_object() ||
            e["memo"].value("infoString", "") != feature || (!group.empty() && RecordGuids(e) != group))
            continue;
        API_Guid guid;
        const StoredElement* stored = ParseGuidText(e.value("guid", ""), &guid) ? Db(r).Find(guid) : nullptr;
        const std::string name = e.value("name", "").empty() ? e.value("guid", "") : e.value("name", "");
        if (stored == nullptr) continue;
        std::string why;
        const std::shared_ptr<const Model3D> model = r.Host().Project().models.ModelOf(guid, &why);
        if (!stored->bodies.empty())
            f.drawn.push_back(name);
        else if (model && !model->bodies.empty())
            f.own.push_back(name);
        else if (!model || !model->noBody.empty())
            f.refused.push_back(name + ": " + (model ? model->noBody : why));
    }
    return f;
}

// The operators linked to the terrain, newest link first: the order in which the calculation measures them, one
// feature a row.
std::vector<const nlohmann::ordered_json*> OperatorsNewestFirst(ScriptContext& r, const nlohmann::ordered_json& doc,
                                                                const API_Guid& terrain) {
    std::vector<StoredSolidLink> links;
    for (const StoredSolidLink& l : Db(r).SolidLinks())
        if (GuidText(l.target) == GuidText(terrain)) links.push_back(l);
    std::stable_sort(links.begin(), links.end(), [](const StoredSolidLink& a, const StoredSolidLink& b) {
        return a.time != b.time ? a.time > b.time : a.subTime > b.subTime;
    });
    std::vector<const nlohmann::ordered_json*> operators;
    for (const StoredSolidLink& l : links)
        for (const nlohmann::ordered_json& e : doc["elements"])
            if (e.value("guid", "") == GuidText(l.operatorGuid)) operators.push_back(&e);
    return operators;
}

// A row's own feature: the newest operator not yet taken with the row's ID text; every operator of its feature is
// then taken. Its name (or GUID) tells it from the other features of that ID text; "" when no operator has it.
std::string TakeFeature(std::vector<const nlohmann::ordered_json*>& operators, const std::string& feature,
                        std::vector<std::string>* group) {
    group->clear();
    for (const nlohmann::ordered_json* e : operators) {
        if (e == nullptr || !e->contains("memo") || !(*e)["memo"].is_object() ||
            (*e)["memo"].value("infoString", "") != feature)
            continue;
        *group = RecordGuids(*e);
        const std::string name = e->value("name", "").empty() ? e->value("guid", "") : e->value("name", "");
        for (const nlohmann::ordered_json*& o : operators)
            if (o != nullptr && (o == e || (!group->empty() && RecordGuids(*o) == *group))) o = nullptr;
        return name;
    }
    return "";
}

std::string Joined(const std::vector<std::string>& words) {
    std::string s;
    for (const std::string& w : words) s += (s.empty() ? "" : ", ") + w;
    return s;
}

// The text of cell [row][column] of a string array parameter, "" when it has none.
std::string Cell(const nlohmann::ordered_json* table, size_t row, size_t column) {
    if (table == nullptr || !table->is_array() || row >= table->size() || !(*table)[row].is_array() ||
        column >= (*table)[row].size() || !(*table)[row][column].is_string())
        return "";
    return (*table)[row][column].get<std::string>();
}

// Each feature of the contour-line object's volume results ("quantita" rows of the feature's two differences,
// "identificatori" rows of the feature's and the terrain's names): a removed volume is a cut, an added one a fill.
// Each line says where its figures come from. The object keeps one row of zeros without names when the
// calculation found no feature: that row is no feature.
// A feature whose ID text another feature shares is named with the name of its newest operator too.
std::string VolumeLines(ScriptContext& r, const nlohmann::ordered_json& doc, const nlohmann::ordered_json& object,
                        const API_Guid& terrain) {
    const nlohmann::ordered_json* quantities = nullptr;
    const nlohmann::ordered_json* names = nullptr;
    if (object.contains("parameters"))
        for (const nlohmann::ordered_json& p : object["parameters"]) {
            if (p.value("name", "") == "quantita") quantities = &p["value"];
            if (p.value("name", "") == "identificatori") names = &p["value"];
        }
    if (quantities == nullptr || !quantities->is_array())
        return "\nvolumes: the contour-line object holds no volume results";
    std::string s;
    double cut = 0.0, fill = 0.0;
    size_t features = 0;
    std::vector<const nlohmann::ordered_json*> operators = OperatorsNewestFirst(r, doc, terrain);
    std::map<std::string, int> rowsNamed;
    for (size_t i = 0; i < quantities->size(); ++i) ++rowsNamed[Cell(names, i, 0)];
    for (size_t i = 0; i < quantities->size(); ++i) {
        double featureCut = 0.0, featureFill = 0.0;
        for (const nlohmann::ordered_json& d : (*quantities)[i])
            if (d.is_number()) (d.get<double>() < 0 ? featureCut : featureFill) += std::fabs(d.get<double>());
        const std::string name = Cell(names, i, 0);
        if (name.empty() && Cell(names, i, 1).empty() && featureCut == 0.0 && featureFill == 0.0) continue;
        // Without its ID text the feature's objects cannot be told from any others without one.
        std::vector<std::string> group;
        const std::string own = name.empty() ? std::string() : TakeFeature(operators, name, &group);
        const FeatureObjects objects = name.empty() ? FeatureObjects() : ObjectsOf(r, doc, name, group);
        s += "\nfeature " +
            (name.empty()                              ? std::to_string(i + 1) + " (no ID text)"
                 : rowsNamed[name] == 1 || own.empty() ? name
                                                       : name + " [" + own + "]") +
            ": ";
        s += "cut " + Thousands(featureCut) + " m3, fill " + Thousands(featureFill) + " m3";
        if (!objects.own.empty())
            s += ", measured on the bodies built from their parameters (" + Joined(objects.own) + ")";
        if (!objects.drawn.empty()) s += ", measured on the bodies the script drew (" + Joined(objects.drawn) + ")";
        if (!objects.refused.empty()) s += "; no body for " + Joined(objects.refused);
        cut += featureCut;
        fill += featureFill;
        ++features;
    }
    if (features == 0) return "\nvolumes: the calculation found no feature: nothing cuts or fills the terrain";
    // Each feature is measured against the ground the later ones leave: a ground one refills another takes away
    // counts in both, so the features' sum is not what the earthworks move together.
    s += "\n" + std::to_string(features) + " feature(s) as measured, added up: cut " + Thousands(cut) + " m3, fill " +
        Thousands(fill) + " m3";
    double removed = 0.0, added = 0.0;
    std::string why;
    if (r.Host().Project().models.ChangesOf(terrain, &removed, &added, &why))
        s += "\nall earthworks together, the final ground against the original: cut " + Thousands(removed) +
            " m3, fill " + Thousands(added) + " m3";
    else
        s += "\nall earthworks together: not measured (" + why + ")";
    return s;
}

// The objects the terrain subtracts downwards from (buildings, walls, basins, bridges standing on it): those whose
// 3D model keeps bodies, and those that have none with the reason; "" when none stands on it.
std::string StandingLine(ScriptContext& r, const API_Guid& terrain) {
    std::vector<std::string> standing, refused;
    nlohmann::ordered_json doc;  // the names, read once something stands on the terrain
    for (const StoredSolidLink& l : Db(r).SolidLinks()) {
        if (GuidText(l.operatorGuid) != GuidText(terrain) || l.operation != APISolid_SubtractDownwards) continue;
        const StoredElement* e = Db(r).Find(l.target);
        if (e == nullptr || e->record.header.typeID != API_ObjectID) continue;
        std::string name = GuidText(l.target), why;
        if (doc.is_null()) doc = ObjectsJson(r);
        for (const nlohmann::ordered_json& j : doc["elements"])
            if (j.value("guid", "") == name && !j.value("name", "").empty()) name = j.value("name", "");
        const std::shared_ptr<const Model3D> model = r.Host().Project().models.ModelOf(l.target, &why);
        if (model && !model->bodies.empty())
            standing.push_back(name);
        else
            refused.push_back(name + ": " +
                              (model ? (model->noBody.empty() ? "nothing above the ground" : model->noBody) : why));
    }
    if (standing.empty() && refused.empty()) return "";
    std::string s = "\nstanding on it, cut by the ground: " + (standing.empty() ? "none" : Joined(standing));
    if (!refused.empty()) s += "; no body for " + Joined(refused);
    return s;
}

// The terrain's measured points against its outline, then its surface: "terrain T: 6,833 of 7,118 points; 285
// outside its outline, the highest 544 m; surface of 6,833 points and 13,612 triangles".
std::string TerrainLine(const std::string& name, const TerrainCoverage& c, int64_t points, int64_t triangles) {
    std::string s = "terrain " + name + ": ";
    if (c.points == 0) {
        s += "no terrain points on its story";
    } else {
        s += Thousands(double(c.points - c.outside)) + " of " + Thousands(double(c.points)) + " points; ";
        if (c.outside == 0)
            s += "none outside its outline";
        else
            s += Thousands(double(c.outside)) + " outside its outline" +
                (c.highestOutside ? ", the highest " + Thousands(*c.highestOutside) + " m" : ", none with a height");
    }
    return s + "; surface of " + Thousands(double(points)) + " points and " + Thousands(double(triangles)) +
        " triangles";
}
// A parameter's value as a person reads it: a number, a quoted text, or an array's rows ("[1, 2] [3, 4]").
std::string ParamValue(const nlohmann::ordered_json& value) {
    if (value.is_string()) return Quote(value.get<std::string>());
    if (value.is_number()) return LogNumber(value.get<double>());
    if (!value.is_array()) return value.dump();
    std::string s;
    for (const nlohmann::ordered_json& row : value) {
        if (!s.empty()) s += row.is_array() ? " " : ", ";
        if (!row.is_array()) {
            s += ParamValue(row);
            continue;
        }
        std::string cells;
        for (const nlohmann::ordered_json& cell : row) cells += (cells.empty() ? "" : ", ") + ParamValue(cell);
        s += "[" + cells + "]";
    }
    return value.empty() ? "[]" : value[0].is_array() ? s : "[" + s + "]";
}

// The element's script name, else its GUID text.
std::string ShownName(ScriptContext& r, const API_Guid& g) {
    const StoredElement* e = Db(r).Find(g);
    return e != nullptr && !e->name.empty() ? e->name : GuidText(g);
}

// Whether the object holds volume results (the contour-line object after a volume calculation).
bool HoldsVolumes(const nlohmann::ordered_json& e) {
    if (!e.contains("parameters")) return false;
    for (const nlohmann::ordered_json& p : e["parameters"])
        if (p.value("name", "") == "quantita") return true;
    return false;
}

// The volumes of one terrain: the features of the contour-line object that holds them (the one named, else each of
// the project's) and all its earthworks together; what keeps them from being measured, said in words.
std::string VolumesOf(ScriptContext& r, const API_Guid& terrain, const std::string& contours) {
    std::string s = "volumes of terrain " + ShownName(r, terrain) + ":";
    const nlohmann::ordered_json doc = ObjectsJson(r);
    API_Guid named = {};
    std::string why;
    if (!contours.empty() && !Named(r, contours, &named, &why)) return s + " " + why;
    size_t holders = 0;
    for (const nlohmann::ordered_json& e : doc["elements"]) {
        if (contours.empty() ? !HoldsVolumes(e) : e.value("guid", "") != GuidText(named)) continue;
        ++holders;
        s += "\n(the results held by " + (e.value("name", "").empty() ? e.value("guid", "") : e.value("name", "")) +
            ")" + VolumeLines(r, doc, e, terrain);
    }
    if (holders > 0) return s;
    double removed = 0.0, added = 0.0;
    if (!r.Host().Project().models.ChangesOf(terrain, &removed, &added, &why)) return s + " not measured (" + why + ")";
    return s +
        "\nno volume calculation has run (no contour-line object holds results); all earthworks together, the "
        "final ground against the original: cut " +
        Thousands(removed) + " m3, fill " + Thousands(added) + " m3";
}

// What a user asks the project, printed; a question it cannot answer is answered in words, and no run fails.
void AddPrintCommands(ScriptLanguage& L) {
    L.Add(
        "print height <name:text> <x:number> <y:number>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::vector<double> v;
            API_Guid g;
            std::string why;
            if (!Named(r, a.Text("name"), &g, &why) || !ScriptNumbers(a, {"x", "y"}, &v, &why))
                return *m = "height: " + why, true;
            double z;
            if (!r.Host().Project().models.HeightAt(g, v[0], v[1], &z, &why))
                return *m = "height of " + a.Text("name") + " at " + LogNumber(v[0]) + " " + LogNumber(v[1]) +
                           ": none (" + why + ")",
                       true;
            *m = "height of " + a.Text("name") + " at " + LogNumber(v[0]) + " " + LogNumber(v[1]) + ": " +
                LogNumber(z) + " m";
            return true;
        },
        "print the height of the top of the element's 3D model (a terrain after its earthworks) over x y; never "
        "fails the run");
    L.Add(
        "print param <name:text> <param:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            std::string why;
            if (!Named(r, a.Text("name"), &g, &why)) return *m = "param: " + why, true;
            const nlohmann::ordered_json e = Db(r).ElementJson(g);
            if (e.contains("parameters"))
                for (const nlohmann::ordered_json& p : e["parameters"])
                    if (p.value("name", "") == a.Text("param") && p.contains("value"))
                        return *m = a.Text("param") + " of " + a.Text("name") + " = " + ParamValue(p["value"]), true;
            *m = a.Text("param") + " of " + a.Text("name") + ": " + a.Text("name") + " has no parameter " +
                a.Text("param");
            return true;
        },
        "print a parameter of a placed object: a number, a text or an array's rows; never fails the run");
    L.Add(
        "print volumes [<terrain:text>] [<contours:text>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::vector<API_Guid> terrains;
            std::string why;
            API_Guid g;
            if (a.Has("terrain")) {
                if (!Named(r, a.Text("terrain"), &g, &why)) return *m = "volumes: " + why, true;
                terrains.push_back(g);
            } else {
                for (const API_Guid& mesh : Db(r).AllElements())
                    if (Db(r).Find(mesh)->record.header.typeID == API_MeshID) terrains.push_back(mesh);
            }
            if (terrains.empty()) return *m = "volumes: the project has no terrain", true;
            for (const API_Guid& terrain : terrains)
                *m += (m->empty() ? "" : "\n") + VolumesOf(r, terrain, a.Has("contours") ? a.Text("contours") : "");
            return true;
        },
        "print the cut and fill of each feature of the volume calculation and of all earthworks together, for the "
        "terrain named (else every terrain of the project), from the contour-line object named (else every one "
        "holding results); never fails the run");
}
}  // namespace

void AddProjectDumpCommands(ScriptLanguage& L) {
    AddPrintCommands(L);
    L.Add(
        "dump svg <file:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            PlanPictureCounts n;
            std::string skipped;
            const std::string text =
                PlanPictureSvg(Db(r), r.Host().Project().models, &r.Host().Project().libraries, &n, &skipped);
            std::string path;
            if (!r.UserPath(a.Text("file"), &path, m)) return false;
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            if (!(out << text)) {
                *m = "cannot write " + path;
                return false;
            }
            *m = PlanCountLine(n);
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
        "expect element <name:element> <pointer:text> <value:text>", true,
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
    L.Add(
        "summary <terrain:text> [<contours:text>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid mesh;
            if (!Named(r, a.Text("terrain"), &mesh, m)) return false;
            int64_t points = 0, triangles = 0;
            std::string why;
            if (!r.Host().Project().models.SurfaceCountsOf(mesh, &points, &triangles, &why)) {
                *m = "no mesh surface: " + why;
                return false;
            }
            TerrainCoverage coverage;
            if (!MeshCoverage(Db(r), mesh, &coverage, m)) return false;
            *m = "summary\n" + TerrainLine(a.Text("terrain"), coverage, points, triangles);
            *m += StandingLine(r, mesh);
            if (!a.Has("contours")) return true;
            API_Guid object;
            if (!Named(r, a.Text("contours"), &object, &why)) return *m = why, false;
            const nlohmann::ordered_json doc = ObjectsJson(r);
            for (const nlohmann::ordered_json& e : doc["elements"])
                if (e["guid"] == GuidText(object)) *m += VolumeLines(r, doc, e, mesh);
            return true;
        },
        "print how many of the terrain points of the terrain's story lie on or inside its outline, how many outside "
        "and the highest of those, its surface's points and triangles (its 3D model's top), the objects standing on "
        "it (the terrain subtracts downwards from them) and those of them without a body, with the reason, and the "
        "cut and fill "
        "of each feature of the volume calculation held by the contour-line object (by its ID text; features "
        "sharing one also by the name of their newest linked object), whether its figures come from "
        "bodies the script drew or its objects have no body, and the total; or that it found no feature");
}
