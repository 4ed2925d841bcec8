// Script commands of independent worksheets: the user makes one or brings it to the front, and the checks of
// how many there are and what each holds.
#include "script/ScriptCommands.hpp"

#include "StandinHost.hpp"
#include "project/ElementTypes.hpp"
#include "project/ProjectCore.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

#include <string>

namespace {
// The worksheet's database with that reference id; false with a message.
bool WorksheetByRef(ScriptContext& r, const std::string& ref, API_DatabaseInfo* info, std::string* m) {
    const std::u16string wanted = Utf16(ref);
    for (const API_Guid& id : Db(r).WorksheetDatabases()) {
        API_DatabaseInfo d = {};
        d.typeID = APIWind_WorksheetID;
        d.databaseUnId = id;
        if (Db(r).GetDatabaseInfo(&d) == NoError && std::u16string(d.ref) == wanted) {
            *info = d;
            return true;
        }
    }
    *m = "no independent worksheet has the reference id " + Quote(ref);
    return false;
}

bool ToFront(ScriptContext& r, const API_DatabaseInfo& d, std::string* m) {
    API_WindowInfo w = {};
    w.typeID = APIWind_WorksheetID;
    w.databaseUnId = d.databaseUnId;
    const GSErrCode err = r.Host().UserBringsWindowToFront(w);
    if (err != NoError) *m = "cannot bring the worksheet to the front: " + Db(r).LastRefusal();
    return err == NoError;
}
}  // namespace

void AddWorksheetCommands(ScriptLanguage& L) {
    L.Add(
        "worksheet new <name:text> <ref:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_DatabaseInfo d = {};
            d.typeID = APIWind_WorksheetID;
            CopyU16(d.name, 128, Utf16(a.Text("name")));
            CopyU16(d.ref, 32, Utf16(a.Text("ref")));
            if (Db(r).NewWorksheet(&d) != NoError) {
                *m = "cannot make the worksheet: " + Db(r).LastRefusal();
                return false;
            }
            return ToFront(r, d, m);
        },
        "the user makes an independent worksheet with a name and a reference id; it comes to the front (the "
        "module hears the window change)");
    L.Add(
        "window worksheet <ref:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_DatabaseInfo d = {};
            return WorksheetByRef(r, a.Text("ref"), &d, m) && ToFront(r, d, m);
        },
        "the user brings the independent worksheet with that reference id to the front (the module hears the "
        "window change)");
    L.Add(
        "expect worksheets <count:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            return Compare("independent worksheets", int64_t(Db(r).WorksheetDatabases().size()), a.Int("count"), m);
        },
        "the number of independent worksheets");
    L.Add(
        "expect worksheet <ref:text> elements <count:int> [<type:element-type>]", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_DatabaseInfo d = {};
            if (!WorksheetByRef(r, a.Text("ref"), &d, m)) return false;
            int64_t n = 0;
            for (const auto& e : Db(r).Model().elements) {
                const API_ElemTypeID t = e.second.record.header.typeID;
                n += e.second.database == d.databaseUnId && (!a.Has("type") || ElementTypeIs(t, a.Text("type")));
            }
            return Compare("elements on worksheet " + a.Text("ref"), n, a.Int("count"), m);
        },
        "the number of elements (of type <type>: a name like polyline, or its number) in the independent worksheet "
        "with that reference id");
}
