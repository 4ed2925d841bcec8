// Script commands of the host's 3D model: meshes from points and level lines, slabs, bodies given to objects,
// and the checks of model counts, heights and the progress window.
#include "script/ScriptCommands.hpp"

#include "LogNumber.hpp"
#include "StandinHost.hpp"
#include "model3d/ModelStore.hpp"
#include "assembly/HostProject.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

#include <cmath>
#include <fstream>
#include <sstream>

namespace {
constexpr size_t kMaxPoints = 5000000;

// Points "x,y,z x,y,z ..." inline, or the name of a file of "x y z" lines (blanks or commas between the numbers,
// '#' starts a comment). False with a message naming the bad word or line.
bool ReadPoints(ScriptContext& r, const std::string& source, std::vector<API_Coord3D>* points, std::string* m) {
    const auto parseLine = [&](const std::string& text, const std::string& where) {
        std::string line = text.substr(0, text.find('#'));
        for (char& ch : line)
            if (ch == ',' || ch == '\t' || ch == '\r') ch = ' ';
        std::istringstream in(line);
        std::string word;
        std::vector<double> v;
        while (in >> word) {
            double d;
            if (!ParseScriptNumber(word, &d)) {
                *m = where + "'" + word + "' is not a number";
                return false;
            }
            v.push_back(d);
        }
        if (v.empty()) return true;
        if (v.size() != 3) {
            *m = where + "a point has three numbers (x y z), not " + std::to_string(v.size());
            return false;
        }
        if (points->size() >= kMaxPoints) {
            *m = where + "more than " + std::to_string(kMaxPoints) + " points";
            return false;
        }
        points->push_back({v[0], v[1], v[2]});
        return true;
    };
    // A relative file name is looked for beside the script first.
    std::ifstream file;
    if (!r.ScriptFolder().empty() && !source.empty() && source[0] != '/' && source[0] != '@')
        file.open(r.ScriptFolder() + "/" + source);
    if (!file.is_open()) file.open(HostPath(r, source));
    if (file.is_open()) {
        std::string line;
        int number = 0;
        while (std::getline(file, line))
            if (!parseLine(line, source + " line " + std::to_string(++number) + ": ")) return false;
    } else {
        // Inline: one point per word.
        std::istringstream in(source);
        std::string word;
        while (in >> word)
            if (!parseLine(word, "")) return false;
        if (points->empty() && source.find_first_not_of(" \t") != std::string::npos &&
            source.find(',') == std::string::npos) {
            *m = "no file " + source;
            return false;
        }
    }
    if (points->empty()) {
        *m = "no points";
        return false;
    }
    return true;
}

ModelStore& Models(ScriptContext& r) { return r.Host().Project().models; }

bool Numbers(const ScriptArgs& a, const std::vector<std::string>& names, std::vector<double>* v, std::string* m) {
    return ScriptNumbers(a, names, v, m);
}
}  // namespace

void AddModelCommands(ScriptLanguage& L) {
    L.Add(
        "mesh-points <name:new-element> <points:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::vector<API_Coord3D> points;
            if (!ReadPoints(r, a.Text("points"), &points, m)) return false;
            API_Guid g;
            const GSErrCode err = Db(r).PlaceMeshFromPoints(points, Db(r).userLayer, a.Text("name"), &g);
            if (err != NoError) {
                *m = "the host refused the mesh (" + ErrorText(err) + "): " + Db(r).LastRefusal();
                return false;
            }
            *m = a.Text("name") + " = " + GuidText(g) + " (" + std::to_string(points.size()) + " points)";
            return true;
        },
        "the user builds a mesh through points: a file of \"x y z\" lines or \"x,y,z x,y,z ...\"; the points on "
        "their convex hull are its outline, the others its level points");
    L.Add(
        "mesh-line <name:text> <points:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            std::vector<API_Coord3D> points;
            if (!ReadPoints(r, a.Text("points"), &points, m)) return false;
            const GSErrCode err = Db(r).AddMeshLevelLine(g, points);
            if (err != NoError) *m = "the host refused the level line (" + ErrorText(err) + "): " + Db(r).LastRefusal();
            return err == NoError;
        },
        "the user adds a level line (a ridge, \"x,y,z x,y,z ...\") to a mesh");
    L.Add(
        "place slab <name:new-element> <points:text> <level:number> <thickness:number> [<hole:text>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::vector<double> v;
            if (!Numbers(a, {"level", "thickness"}, &v, m)) return false;
            std::vector<std::vector<API_Coord3D>> rings(1);
            if (!ReadPoints(r, a.Text("points"), &rings[0], m)) return false;
            if (a.Has("hole")) {
                rings.emplace_back();
                if (!ReadPoints(r, a.Text("hole"), &rings[1], m)) return false;
            }
            API_Element e = {};
            e.header.typeID = API_SlabID;
            GSErrCode err = Db(r).GetDefaults(&e, nullptr);
            e.header.layer = Db(r).userLayer;
            e.slab.level = v[0];
            e.slab.thickness = v[1];
            StoredMemo memo;
            memo.coords = std::vector<API_Coord>{{0.0, 0.0}};
            memo.pends = std::vector<int32_t>{0};
            memo.parcs = std::vector<API_PolyArc>();
            for (const std::vector<API_Coord3D>& ring : rings) {
                for (const API_Coord3D& p : ring) memo.coords->push_back({p.x, p.y});
                memo.coords->push_back({ring[0].x, ring[0].y});
                memo.pends->push_back(int32_t(memo.coords->size() - 1));
            }
            e.slab.poly.nCoords = int32_t(memo.coords->size() - 1);
            e.slab.poly.nSubPolys = int32_t(rings.size());
            if (err == NoError) err = Db(r).PlaceElement(&e, memo, a.Text("name"), "Place Slab");
            if (err != NoError) *m = "the host refused the slab (" + ErrorText(err) + "): " + Db(r).LastRefusal();
            return err == NoError;
        },
        "the user draws a slab with the outline \"x,y,z ...\" (z unused) and one hole, its top at <level> above "
        "the story");
    L.Add(
        "body <name:text> box <corner:point> <opposite:point>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            std::vector<API_Coord3D> c;
            if (!ReadPoints(r, a.Text("corner") + " " + a.Text("opposite"), &c, m)) return false;
            if (c.size() != 2) {
                *m = "a box has two corners x,y,z";
                return false;
            }
            const double x0 = std::min(c[0].x, c[1].x), x1 = std::max(c[0].x, c[1].x);
            const double y0 = std::min(c[0].y, c[1].y), y1 = std::max(c[0].y, c[1].y);
            const double z0 = std::min(c[0].z, c[1].z), z1 = std::max(c[0].z, c[1].z);
            StoredBody box;
            box.vertices = {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0},
                            {x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}};
            box.polygons = {{1, 4, 3, 2}, {5, 6, 7, 8}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 4, 8, 7}, {4, 1, 5, 8}};
            const GSErrCode err = Db(r).GiveBodies(g, {box});
            if (err != NoError) *m = "the host refused the body (" + ErrorText(err) + "): " + Db(r).LastRefusal();
            return err == NoError;
        },
        "an object's 3D model becomes a box between two corners \"x,y,z\" (what its library part would build)");
    L.Add(
        "expect model <name:element> <what:bodies|vertices|edges|polygons> <count:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            std::string why;
            std::shared_ptr<const Model3D> model = Models(r).ModelOf(g, &why);
            if (!model) {
                *m = "no 3D model: " + why;
                return false;
            }
            int64_t n = 0;
            const std::string& what = a.Text("what");
            for (const ModelBody& b : model->bodies)
                n += what == "bodies"    ? 1
                    : what == "vertices" ? int64_t(b.vertices.size())
                    : what == "edges"    ? int64_t(b.edges.size())
                                         : int64_t(b.pgons.size());
            return Compare(what, n, a.Int("count"), m);
        },
        "the element's 3D model (with its solid links) has that many bodies, vertices, edges or polygons");
    L.Add(
        "expect height <name:element> <x:number> <y:number> <z:number> [<tolerance:number>]", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            std::vector<double> v;
            if (!Numbers(a, {"x", "y", "z"}, &v, m)) return false;
            double tolerance = 1e-6;
            if (a.Has("tolerance") && !ScriptNumber(a.Text("tolerance"), &tolerance, m)) return false;
            double z;
            std::string why;
            if (!Models(r).HeightAt(g, v[0], v[1], &z, &why)) {
                *m = why;
                return false;
            }
            *m = "height " + LogNumber(z);
            if (!(std::abs(z - v[2]) <= tolerance))
                *m += ", expected " + LogNumber(v[2]) + " +- " + LogNumber(tolerance);
            return std::abs(z - v[2]) <= tolerance;
        },
        "the top of the element's 3D model over x y is at z (within the tolerance, 1e-6 when not given)");
    L.Add(
        "expect progress-window <state:open|closed> [<opened:int>]", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const ModuleSession::ProgressWindow& w = r.Host().Session().progress;
            *m = std::string(w.open ? "open" : "closed") + ", opened " + std::to_string(w.opened) + " times";
            return (w.open == (a.Text("state") == "open")) && (!a.Has("opened") || w.opened == a.Int("opened"));
        },
        "the progress window is open or closed (and was opened that often)");
    L.Add(
        "progress-break <steps:int>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            if (a.Int("steps") < 1) return *m = "steps must be 1 or more", false;
            r.Host().Session().progress.breakAfter = a.Int("steps");
            return true;
        },
        "the user stops the next long operation after that many progress steps (its window's values)");
}
