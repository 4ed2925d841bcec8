// Script commands that give a name to an element the module made (the module's elements come without one), so
// that later lines can drag, copy, select or check it.
#include "script/ScriptCommands.hpp"

#include "StandinHost.hpp"
#include "project/ElementTypes.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

#include <cmath>

namespace {
// Where an element stands for the naming: a hotspot's position, a line's begin point.
bool ReferencePoint(const API_Element& e, API_Coord* at) {
    switch (e.header.typeID) {
        case API_HotspotID: *at = e.hotspot.pos; return true;
        case API_LineID: *at = e.line.begC; return true;
        default: return false;
    }
}
}  // namespace

void AddNamingCommands(ScriptLanguage& L) {
    L.Add(
        "name <type:hotspot|line> <x:text> <y:text> <name:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::vector<double> v;
            if (!ScriptNumbers(a, {"x", "y"}, &v, m)) return false;
            const API_ElemTypeID type = a.Text("type") == "hotspot" ? API_HotspotID : API_LineID;
            API_Guid existing;
            if (Db(r).FindByName(a.Text("name"), &existing)) {
                *m = "an element is named " + a.Text("name") + " already";
                return false;
            }
            for (const API_Guid& g : Db(r).AllElements()) {
                StoredElement* e = Db(r).FindMutable(g);
                API_Coord at;
                if (e == nullptr || e->record.header.typeID != type || !ReferencePoint(e->record, &at)) continue;
                if (std::fabs(at.x - v[0]) > 1e-6 || std::fabs(at.y - v[1]) > 1e-6) continue;
                e->name = a.Text("name");
                return true;
            }
            *m = "no " + a.Text("type") + " stands at " + a.Text("x") + " " + a.Text("y");
            return false;
        },
        "names the hotspot at x y (or the line that begins there), as a script name for later lines");
}
