// Script commands of the user's work on the project: placing plain host elements, the selection, layers,
// stories, the front window, the toolbox and undo, with their checks (and those of the module's data kept in the
// project).
#include "script/ScriptCommands.hpp"

#include "RuntimeDriver.hpp"
#include "StandinHost.hpp"
#include "project/ElementTypes.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

#include <map>
#include <sstream>

namespace {
// "x,y x,y ..." (or x,y,z with `withZ`) into points; false with a message.
bool ParsePoints(const std::string& text, bool withZ, std::vector<API_Coord3D>* points, std::string* m) {
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        std::vector<double> v;
        std::string part;
        std::istringstream ws(word);
        while (std::getline(ws, part, ',')) {
            double d;
            if (!ParseScriptNumber(part, &d)) {
                *m = "'" + word + "' is not a point";
                return false;
            }
            v.push_back(d);
        }
        if (v.size() != (withZ ? 3u : 2u)) {
            *m = "'" + word + "' is not a point (" + (withZ ? "x,y,z" : "x,y") + ")";
            return false;
        }
        points->push_back({v[0], v[1], withZ ? v[2] : 0.0});
    }
    if (points->empty()) {
        *m = "no points";
        return false;
    }
    return true;
}

bool Placed(ScriptContext& r, GSErrCode err, const std::string& name, std::string* m) {
    if (err == NoError) {
        API_Guid g;
        Db(r).FindByName(name, &g);
        *m = name + " = " + GuidText(g);
        return true;
    }
    *m = "the host refused the element (" + ErrorText(err) + "): " + Db(r).LastRefusal();
    return false;
}

int32_t LayerIndex(ScriptContext& r, const std::string& name) { return Db(r).FindAttribute(API_LayerID, name); }

bool WindowOf(const std::string& kind, API_WindowInfo* w) {
    *w = API_WindowInfo();
    w->typeID = kind == "3d" ? APIWind_3DModelID : APIWind_FloorPlanID;
    return true;
}

// The user draws plain elements; each gets the name the line gives it.
void AddPlaceCommands(ScriptLanguage& L) {
    const auto placePolygon = [](API_ElemTypeID type, bool closed, bool withZ) {
        return [type, closed, withZ](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::vector<API_Coord3D> points;
            if (!ParsePoints(a.Text("points"), withZ, &points, m)) return false;
            API_Guid g;
            GSErrCode err = Db(r).PlacePolygonElement(type, points, closed, Db(r).userLayer, a.Text("name"), &g);
            if (err == NoError && a.Has("level")) {
                double level;
                if (!ParseScriptNumber(a.Text("level"), &level)) {
                    *m = "'" + a.Text("level") + "' is not a number";
                    return false;
                }
                Db(r).FindMutable(g)->record.Edit([&](API_Element& rec) { rec.mesh.level = level; });
            }
            return Placed(r, err, a.Text("name"), m);
        };
    };
    L.Add("place polyline <name:new-element> <points:points>", false, placePolygon(API_PolyLineID, false, false),
          "the user draws a polyline through \"x,y x,y ...\" on the current story and layer; <name> finds it later");
    L.Add("place fill <name:new-element> <points:points>", false, placePolygon(API_HatchID, true, false),
          "the user draws a fill with the outline \"x,y x,y ...\" (closed by the host)");
    L.Add("place mesh <name:new-element> <points:text> [<level:text>]", false, placePolygon(API_MeshID, true, true),
          "the user draws a mesh with the outline \"x,y,z x,y,z ...\" (closed by the host) at a base level");
    L.Add(
        "place hotspot <name:new-element> <point:point>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::vector<API_Coord3D> points;
            if (!ParsePoints(a.Text("point"), false, &points, m)) return false;
            if (points.size() != 1) {
                *m = "a hotspot has one point";
                return false;
            }
            return Placed(r, Db(r).PlaceHotspot({points[0].x, points[0].y}, Db(r).userLayer, a.Text("name"), nullptr),
                          a.Text("name"), m);
        },
        "the user places a hotspot at \"x,y\"");
    L.Add(
        "place line <name:new-element> <points:points>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::vector<API_Coord3D> points;
            if (!ParsePoints(a.Text("points"), false, &points, m)) return false;
            if (points.size() != 2) {
                *m = "a line has two points";
                return false;
            }
            return Placed(r,
                          Db(r).PlaceLine({points[0].x, points[0].y}, {points[1].x, points[1].y}, Db(r).userLayer,
                                          a.Text("name"), nullptr),
                          a.Text("name"), m);
        },
        "the user draws a line \"x,y x,y\"");
}

// The selection and the front window.
void AddSelectionCommands(ScriptLanguage& L) {
    const auto select = [](bool add) {
        return [add](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            API_Neig n = {};
            n.neigID = APINeigIDOfElemType(Db(r).Find(g)->record.header.typeID);
            n.guid = g;
            const GSErrCode err = Db(r).Select(&n, 1, add);
            if (err != NoError) *m = "cannot select it (" + ErrorText(err) + "): " + Db(r).LastRefusal();
            return err == NoError;
        };
    };
    L.Add("select <name:text>", false, select(false),
          "the user selects one element (elements on hidden layers stay unselected)");
    L.Add("select add <name:text>", false, select(true), "the user adds an element to the selection");
    L.Add(
        "deselect", false,
        [](ScriptContext& r, const ScriptArgs&, std::string*) {
            Db(r).DeselectAll();
            return true;
        },
        "the user clears the selection");
    L.Add(
        "empty-selection <answer:error|success>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string*) {
            Db(r).emptySelectionIsError = a.Text("answer") == "error";
            return true;
        },
        "how the host answers a selection query when nothing is selected (0x810600CE or 0)");
    L.Add(
        "window <kind:floorplan|3d>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_WindowInfo w;
            WindowOf(a.Text("kind"), &w);
            const GSErrCode err = r.Host().UserBringsWindowToFront(w);
            if (err != NoError) *m = "cannot bring the window to the front: " + Db(r).LastRefusal();
            return err == NoError;
        },
        "the user brings the floor plan or the 3D window to the front (its database becomes current; the "
        "module hears the window change)");
}

// Section markers and their windows, and the object tool's default.
void AddSectionAndToolCommands(ScriptLanguage& L) {
    L.Add(
        "place section-marker <name:new-element> <points:points>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::vector<API_Coord3D> points;
            if (!ParsePoints(a.Text("points"), false, &points, m)) return false;
            if (points.size() != 2) {
                *m = "a section marker has two points";
                return false;
            }
            API_Element e = {};
            e.header.typeID = API_CutPlaneID;
            GSErrCode err = Db(r).GetDefaults(&e, nullptr);
            if (err == NoError) {
                e.header.layer = Db(r).userLayer;
                e.cutPlane.begC = {points[0].x, points[0].y};
                e.cutPlane.endC = {points[1].x, points[1].y};
                err = Db(r).PlaceElement(&e, StoredMemo(), a.Text("name"), "Place section marker");
            }
            return Placed(r, err, a.Text("name"), m);
        },
        "the user draws a section marker \"x,y x,y\"; it owns the database of its section window");
    L.Add(
        "window section <name:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            const API_Element marker = Db(r).Find(g)->record.Get();
            if (marker.header.typeID != API_CutPlaneID) {
                *m = a.Text("name") + " is no section marker";
                return false;
            }
            API_WindowInfo w = {};
            w.typeID = APIWind_SectionID;
            w.databaseUnId = marker.cutPlane.databaseUnId;
            const GSErrCode err = r.Host().UserBringsWindowToFront(w);
            if (err != NoError) *m = "cannot bring the window to the front: " + Db(r).LastRefusal();
            return err == NoError;
        },
        "the user brings the section window of a marker to the front (its database becomes current; the module "
        "hears the window change)");
    L.Add(
        "place tool-default <name:new-element> <point:point>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::vector<API_Coord3D> points;
            if (!ParsePoints(a.Text("point"), false, &points, m)) return false;
            if (points.size() != 1) {
                *m = "the default is placed at one point";
                return false;
            }
            API_ToolBoxItem tool = {};
            Db(r).GetToolBox(&tool);
            if (tool.typeID != API_ObjectID) {
                *m = "the current tool is no object tool";
                return false;
            }
            API_Element e = {};
            e.header.typeID = tool.typeID;
            e.header.variationID = tool.variationID;
            API_ElementMemo memo = {};
            GSErrCode err = Db(r).GetDefaults(&e, &memo);
            const StoredMemo stored = ReadApiMemo(memo, APIMemoMask_All);
            DisposeApiMemo(&memo);
            if (err == NoError) {
                e.object.pos = {points[0].x, points[0].y};
                err = Db(r).PlaceElement(&e, stored, a.Text("name"), "Place object");
            }
            // The new element's event goes out as after any placement by the user.
            if (!r.Host().Events().ModuleCallRunning()) r.Host().Events().Deliver();
            return Placed(r, err, a.Text("name"), m);
        },
        "the user places the object tool's default (its record and parameters; no user data) at \"x,y\"");
    L.Add(
        "expect window section <name:element>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            API_WindowInfo w = {};
            Db(r).GetFrontWindow(&w);
            *m = "front window of kind " + std::to_string(w.typeID);
            return w.typeID == APIWind_SectionID && w.databaseUnId == Db(r).Find(g)->record.Get().cutPlane.databaseUnId;
        },
        "the front window is the section of the named section marker");
}

// Layers, stories, the runtime's random sequence, the toolbox and undo.
void AddLayerStoryToolCommands(ScriptLanguage& L) {
    L.Add(
        "layer <name:text> [<flags:int>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Attribute attr = {};
            attr.header.typeID = API_LayerID;
            const std::string& name = a.Text("name");
            if (name.size() >= sizeof attr.header.name) {
                *m = "the layer name is too long";
                return false;
            }
            std::copy(name.begin(), name.end(), attr.header.name);
            attr.header.flags = a.Has("flags") ? uint32_t(a.Int("flags")) : 0;
            attr.header.index = LayerIndex(r, name);
            const GSErrCode err = attr.header.index != 0 ? Db(r).ModifyAttribute(&attr) : Db(r).CreateAttribute(&attr);
            if (err != NoError)
                *m = "the host refused the layer: " + Db(r).LastRefusal();
            else
                *m = "layer " + std::to_string(attr.header.index);
            return err == NoError;
        },
        "the user creates a layer or sets its flags (1 hidden, 2 locked, 4, 16)");
    L.Add(
        "use-layer <name:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const int32_t index = LayerIndex(r, a.Text("name"));
            if (index == 0) {
                *m = "no layer named " + a.Text("name");
                return false;
            }
            Db(r).userLayer = index;
            return true;
        },
        "the elements the user places from now on go to this layer");
    L.Add(
        "story <index:int> <level:number> [<name:text>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            double level;
            if (!ParseScriptNumber(a.Text("level"), &level)) {
                *m = "'" + a.Text("level") + "' is not a number";
                return false;
            }
            Db(r).SetStory(int16_t(a.Int("index")), level,
                           a.Has("name") ? a.Text("name") : "Story " + std::to_string(a.Int("index")));
            return true;
        },
        "the user adds a story or sets its level");
    L.Add(
        "story current <index:int>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const GSErrCode err = Db(r).GoToStory(int16_t(a.Int("index")));
            if (err != NoError) *m = Db(r).LastRefusal();
            return err == NoError;
        },
        "the user goes to a story");
    L.Add(
        "rand-seed <seed:int>", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            RuntimeDriver::SeedRand(uint32_t(a.Int("seed")));
            return true;
        },
        "the host runtime's random sequence starts again from <seed>");
    L.Add(
        "tool <type:int> [<variation:int>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_ToolBoxItem item = {};
            item.typeID = a.Int("type");
            item.variationID = a.Has("variation") ? a.Int("variation") : 0;
            const GSErrCode err = Db(r).SetToolBox(item);
            if (err != NoError) *m = Db(r).LastRefusal();
            return err == NoError;
        },
        "the user picks the tool of an element type in the toolbox (0 the arrow)");
    L.Add(
        "expect tool <type:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_ToolBoxItem item = {};
            Db(r).GetToolBox(&item);
            *m = "the toolbox shows the tool of type " + std::to_string(item.typeID);
            if (item.typeID != a.Int("type")) *m += ", expected " + std::to_string(a.Int("type"));
            return item.typeID == a.Int("type");
        },
        "the toolbox shows the tool of element type <type> (0 the arrow)");
    L.Add(
        "undo", false,
        [](ScriptContext& r, const ScriptArgs&, std::string* m) {
            const std::string text = Db(r).UndoTexts().empty() ? std::string() : Db(r).UndoTexts().back();
            if (!Db(r).Undo()) {
                *m = "nothing to undo";
                return false;
            }
            *m = "undid \"" + text + "\"";
            return true;
        },
        "the user takes back the latest undo step (the project returns to the state before it)");
}

// The checks of the project's elements, selection, windows, layers, undo steps and module data.
void AddProjectChecks(ScriptLanguage& L) {
    L.Add(
        "expect elements <count:int> [<type:element-type>]", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            // Counted by type as the store keeps them, each type's name compared once.
            const std::map<API_ElemTypeID, int64_t> byType = Db(r).Model().elements.CountByType();
            int64_t n = 0;
            for (const auto& [t, count] : byType)
                if (!a.Has("type") || ElementTypeIs(t, a.Text("type"))) n += count;
            *m = std::to_string(n) + " element(s)";
            if (n != a.Int("count")) *m += ", expected " + std::to_string(a.Int("count"));
            return n == a.Int("count");
        },
        "the project holds <count> elements (of type <type>: a name like polyline, or its number)");
    L.Add(
        "expect selection <count:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const int64_t n = int64_t(Db(r).Selection().size());
            *m = std::to_string(n) + " selected";
            if (n != a.Int("count")) *m += ", expected " + std::to_string(a.Int("count"));
            return n == a.Int("count");
        },
        "the number of selected elements");
    L.Add(
        "expect selected <name:element>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            for (const API_Guid& s : Db(r).Selection())
                if (s == g) return true;
            *m = a.Text("name") + " is not selected";
            return false;
        },
        "the named element is selected");
    L.Add(
        "expect window <kind:floorplan|3d>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const int32_t want = a.Text("kind") == "3d" ? APIWind_3DModelID : APIWind_FloorPlanID;
            *m = "front window of kind " + std::to_string(Db(r).FrontWindowType());
            return Db(r).FrontWindowType() == want;
        },
        "the kind of the front window");
    L.Add(
        "expect database <kind:floorplan|3d>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const int32_t want = a.Text("kind") == "3d" ? APIWind_3DModelID : APIWind_FloorPlanID;
            *m = "current database of kind " + std::to_string(Db(r).CurrentDatabaseType());
            return Db(r).CurrentDatabaseType() == want;
        },
        "the kind of the current database");
    L.Add(
        "expect layer <name:text> flags <flags:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const int32_t index = LayerIndex(r, a.Text("name"));
            if (index == 0) {
                *m = "no layer named " + a.Text("name");
                return false;
            }
            const uint32_t flags = Db(r).Attribute(API_LayerID, index)->header.flags;
            *m = "layer " + std::to_string(index) + " flags " + std::to_string(flags);
            if (flags != uint32_t(a.Int("flags"))) *m += ", expected " + std::to_string(a.Int("flags"));
            return flags == uint32_t(a.Int("flags"));
        },
        "the flags of the named layer (1 hidden, 2 locked, as the host writes them)");
    L.Add(
        "expect undo-steps <count:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const int64_t n = int64_t(Db(r).UndoTexts().size());
            *m = std::to_string(n) + " undo step(s)";
            if (n != a.Int("count")) *m += ", expected " + std::to_string(a.Int("count"));
            return n == a.Int("count");
        },
        "the number of undo steps the project holds");
    L.Add(
        "expect userdata <name:element> <state:present|absent>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            const bool has = Db(r).Find(g)->userData.has_value();
            *m = a.Text("name") + (has ? " has user data" : " has no user data");
            return has == (a.Text("state") == "present");
        },
        "whether the named element carries user data");
    L.Add(
        "expect module-data <name:text> <text:text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const auto& data = r.Host().Project().moduleData;
            const auto it = data.find(a.Text("name"));
            if (it == data.end()) {
                *m = "no module data " + Quote(a.Text("name"));
                return false;
            }
            const std::string& b = it->second.bytes;
            return CompareText("module data", b.substr(0, b.find('\0')), a.Text("text"), m);
        },
        "the project's module data entry (text up to its first NUL)");
    L.Add(
        "expect module-data-absent <name:text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const bool has = r.Host().Project().moduleData.count(a.Text("name")) != 0;
            *m = has ? "module data present" : "";
            return !has;
        },
        "the project holds no module data entry of that name");
}
}  // namespace

void AddProjectCommands(ScriptLanguage& L) {
    AddPlaceCommands(L);
    AddSelectionCommands(L);
    AddSectionAndToolCommands(L);
    AddLayerStoryToolCommands(L);
    AddProjectChecks(L);
}
