// Script commands that give the project's line types their dashes and set the drawing scale, so that the
// module's line-type samples can be checked.
#include "script/CommandSupport.hpp"
#include "script/ScriptCommands.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

#include "StandinHost.hpp"
#include "assembly/HostProject.hpp"

#include <cstring>
#include <sstream>

void AddLineTypeCommands(ScriptLanguage& L) {
    L.Add(
        "linetype <name:text> <dashes:text> [<scaled:int>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            LineTypeDefinition def;
            std::istringstream in(a.Text("dashes"));
            std::string dash;
            std::string gap;
            while (in >> dash) {
                if (!(in >> gap)) return (*m = "the dashes come in pairs: <dash> <gap> ...", false);
                API_DashItem item = {};
                if (!ScriptNumber(dash, &item.dash, m) || !ScriptNumber(gap, &item.gap, m)) return false;
                if (item.dash < 0 || item.gap < 0) return (*m = "a dash or a gap below 0", false);
                def.dashes.push_back(item);
                def.period += item.dash + item.gap;
            }
            def.kind = def.dashes.empty() ? 0 : 1;
            def.scaleDependent = a.Has("scaled") && a.Int("scaled") != 0;
            API_Attribute attr = {};
            attr.header.typeID = API_LinetypeID;
            const std::string& name = a.Text("name");
            if (name.empty() || name.size() >= sizeof attr.header.name) return (*m = "a name of 1 to 255 bytes", false);
            std::memcpy(attr.header.name, name.data(), name.size());
            attr.linetype.type = def.kind;
            attr.linetype.period = def.period;
            attr.header.index = Db(r).FindAttribute(API_LinetypeID, name);
            const GSErrCode err = attr.header.index != 0 ? Db(r).ModifyAttribute(&attr) : Db(r).CreateAttribute(&attr);
            if (err != NoError) return (*m = "the host refused the line type: " + Db(r).LastRefusal(), false);
            r.Host().Project().lineTypes.byIndex[attr.header.index] = def;
            *m = "line type " + std::to_string(attr.header.index);
            return true;
        },
        "a solid (\"\") or dashed line type (\"<dash> <gap> ...\", millimetres; scaled 1: metres in the model)");
    L.Add(
        "drawing-scale <scale:number>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            double scale = 0.0;
            if (!ScriptNumber(a.Text("scale"), &scale, m)) return false;
            if (scale <= 0.0) return (*m = "the scale must be above 0", false);
            r.Host().Project().lineTypes.drawingScale = scale;
            return true;
        },
        "the drawing scale of the current window (100 for 1:100)");
}
