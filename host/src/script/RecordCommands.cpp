// Script commands that give the project what the module left in it in the current record layout (user data with
// texts at given offsets), names for elements the module made, and the check of a group.
#include "script/ScriptCommands.hpp"

#include "StandinHost.hpp"
#include "project/ElementTypes.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <sstream>

namespace {
constexpr size_t RecordSize = 650;

// The number array parameter <param> of the placed object <name>, or null with the reason.
const StoredParam* NumberArray(ScriptContext& r, const ScriptArgs& a, std::string* m) {
    API_Guid g;
    if (!Named(r, a.Text("name"), &g, m)) return nullptr;
    const StoredElement* e = Db(r).Find(g);
    const StoredParam* p = nullptr;
    if (e->memo->params)
        for (const StoredParam& q : *e->memo->params)
            if (std::string(q.record.name, strnlen(q.record.name, sizeof q.record.name)) == a.Text("param")) p = &q;
    if (p == nullptr || !p->IsArray() || p->record.typeID == APIParT_Text) {
        *m = a.Text("name") + " has no number array " + a.Text("param");
        return nullptr;
    }
    return p;
}

// The cell of <row> and <column> (from 1) in the array, or false with the reason.
bool CellIndex(const StoredParam& p, const ScriptArgs& a, size_t* cell, std::string* m) {
    const int64_t row = a.Int("row"), column = a.Int("column");
    const int64_t rows = p.record.dim1, columns = p.record.dim2;
    const size_t index = size_t((row - 1) * columns + (column - 1));
    if (row < 1 || row > rows || column < 1 || column > columns || (index + 1) * sizeof(double) > p.cells.size()) {
        *m = "no cell " + std::to_string(row) + ", " + std::to_string(column) + " in " + std::to_string(rows) + " by " +
            std::to_string(columns);
        return false;
    }
    *cell = index;
    return true;
}

// The `what`-th (from 1; 0 the last) element of the type named `what` or placed from the library part `what`.
bool FindNth(ScriptContext& r, const std::string& what, int64_t index, API_Guid* guid, std::string* m) {
    const int32_t part = r.Host().Project().libraries.FindByName(what, 0);
    const auto placedFrom = [&](API_ElemTypeID type) {
        return part > 0 && (type == API_ObjectID || type == API_LampID);
    };
    // Only the elements of the types that may match are walked, already in creation order.
    std::vector<API_Guid> found =
        Db(r).Model().elements.OfTypes([&](API_ElemTypeID t) { return placedFrom(t) || ElementTypeName(t) == what; });
    if (part > 0)
        found.erase(std::remove_if(found.begin(), found.end(),
                                   [&](const API_Guid& g) {
                                       const StoredElement& e = *Db(r).Find(g);
                                       const API_ElemTypeID t = e.record.header.typeID;
                                       return placedFrom(t) && ElementTypeName(t) != what &&
                                           e.record.Get().object.libInd != part;
                                   }),
                    found.end());
    if (found.empty() || index < 0 || size_t(index) > found.size()) {
        *m = "there is no element " + what + " #" + std::to_string(index) + " (" + std::to_string(found.size()) +
            " found)";
        return false;
    }
    *guid = index == 0 ? found.back() : found[size_t(index - 1)];
    return true;
}

// User data in the current layout, names for elements, and the check of a group.
void AddRecordAndNameCommands(ScriptLanguage& L) {
    L.Add(
        "userdata <name:text> <tag:text> [<fields:text>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            const std::string& tag = a.Text("tag");
            if (tag.size() != 1) {
                *m = "a record's tag is one character";
                return false;
            }
            StoredUserData data;
            data.dataVersion = 2;
            data.platformSign = APIUserData_PlatformSign;
            std::string bytes(RecordSize, '\0');
            bytes[0] = tag[0];
            std::istringstream in(a.Has("fields") ? a.Text("fields") : std::string());
            std::string field;
            while (in >> field) {
                const size_t eq = field.find('=');
                char* end = nullptr;
                const long offset = eq == std::string::npos ? -1 : std::strtol(field.c_str(), &end, 10);
                const std::string text = eq == std::string::npos ? std::string() : field.substr(eq + 1);
                if (eq == std::string::npos || end != field.c_str() + eq || offset < 1 ||
                    size_t(offset) + text.size() >= RecordSize) {
                    *m = "'" + field + "' is no <offset>=<text> inside the 650-byte record";
                    return false;
                }
                bytes.replace(size_t(offset), text.size(), text);
            }
            data.bytes = bytes;
            Db(r).FindMutable(g)->userData = data;
            return true;
        },
        "the element's user data as the module stores it: the tag, then each text at its offset "
        "(\"53=T_001 353=...\"), zeros elsewhere");
    L.Add(
        "name <name:new-element> <what:text> [<index:int>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!FindNth(r, a.Text("what"), a.Has("index") ? a.Int("index") : 0, &g, m)) return false;
            Db(r).SetElementName(g, a.Text("name"));
            return true;
        },
        "names the <index>-th (from 1, in creation order; the last when left out) element of a type (\"object\", "
        "\"hotspot\" ...) or of a library part, so that later commands and checks find it");
    L.Add(
        "expect group-size <name:element> <count:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            const API_Guid group = Db(r).Find(g)->record.header.groupGuid;
            int64_t n = 0;
            if (group != API_Guid{})
                for (const API_Guid& other : Db(r).AllElements())
                    n += Db(r).Find(other)->record.header.groupGuid == group ? 1 : 0;
            return Compare("elements in the group of " + a.Text("name"), n, a.Int("count"), m);
        },
        "the element belongs to a group of <count> elements (0: to none)");
}

// The cells of number array parameters, and the texts of the records of a type.
void AddParamCellCommands(ScriptLanguage& L) {
    L.Add(
        "expect param-cells <name:element> <param:text> <count:int> [<value:text>] [<tolerance:text>]", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const StoredParam* p = NumberArray(r, a, m);
            if (p == nullptr) return false;
            const size_t n = p->cells.size() / sizeof(double);
            if (!Compare(a.Text("param") + " cells", int64_t(n), a.Int("count"), m)) return false;
            if (!a.Has("value")) return true;
            double want = 0.0, tolerance = 1e-9;
            if (!ScriptNumber(a.Text("value"), &want, m)) return false;
            if (a.Has("tolerance") && !ScriptNumber(a.Text("tolerance"), &tolerance, m)) return false;
            for (size_t i = 0; i < n; ++i) {
                double v = 0.0;
                std::memcpy(&v, p->cells.data() + i * sizeof(double), sizeof v);
                if (!(std::fabs(v - want) <= tolerance)) {
                    *m = a.Text("param") + " cell " + std::to_string(i) + " = " + std::to_string(v) + ", expected " +
                        a.Text("value");
                    return false;
                }
            }
            return true;
        },
        "a number array parameter of a placed object has <count> cells, each <value> (within <tolerance>, 1e-9)");
    L.Add(
        "expect param-cell <name:element> <param:text> <row:int> <column:int> <value:number> [<tolerance:number>]",
        true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const StoredParam* p = NumberArray(r, a, m);
            if (p == nullptr) return false;
            size_t cell = 0;
            if (!CellIndex(*p, a, &cell, m)) return false;
            double want = 0.0, tolerance = 1e-9, v = 0.0;
            if (!ScriptNumber(a.Text("value"), &want, m)) return false;
            if (a.Has("tolerance") && !ScriptNumber(a.Text("tolerance"), &tolerance, m)) return false;
            std::memcpy(&v, p->cells.data() + cell * sizeof(double), sizeof v);
            *m = a.Text("param") + " cell = " + std::to_string(v);
            return std::fabs(v - want) <= tolerance;
        },
        "one cell (row and column from 1) of a number array parameter of a placed object is <value>");
    L.Add(
        "change <name:text> param-cell <param:text> <row:int> <column:int> <value:number>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            if (NumberArray(r, a, m) == nullptr) return false;
            API_Guid g;
            Named(r, a.Text("name"), &g, m);
            double value = 0.0;
            if (!ScriptNumber(a.Text("value"), &value, m)) return false;
            std::string why;
            const GSErrCode err = r.Host().Events().UserChange(g, [&](API_Element&, StoredMemo& memo) {
                for (StoredParam& p : *memo.params) {
                    if (std::string(p.record.name, strnlen(p.record.name, sizeof p.record.name)) != a.Text("param"))
                        continue;
                    size_t cell = 0;
                    if (!CellIndex(p, a, &cell, &why)) return false;
                    std::memcpy(&p.cells[cell * sizeof(double)], &value, sizeof value);
                    return true;
                }
                return false;
            });
            if (err != NoError) *m = why.empty() ? "the change was refused (" + ErrorText(err) + ")" : why;
            return err == NoError;
        },
        "the user sets one cell (row and column from 1) of a number array parameter of a placed object");
    L.Add(
        "expect param-cells-equal <name:element> <param:text> <value:text> <count:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const StoredParam* p = NumberArray(r, a, m);
            if (p == nullptr) return false;
            double want = 0.0;
            if (!ScriptNumber(a.Text("value"), &want, m)) return false;
            int64_t n = 0;
            for (size_t i = 0; i < p->cells.size() / sizeof(double); ++i) {
                double v = 0.0;
                std::memcpy(&v, p->cells.data() + i * sizeof(double), sizeof v);
                n += std::fabs(v - want) <= 1e-9 ? 1 : 0;
            }
            return Compare(a.Text("param") + " cells equal to " + a.Text("value"), n, a.Int("count"), m);
        },
        "<count> cells of a number array parameter of a placed object are <value> (within 1e-9), in any order");
    L.Add(
        "expect record-texts <type:element-type> <offset:int> <texts:text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const size_t at = size_t(a.Int("offset") < 0 ? 0 : a.Int("offset"));
            std::set<std::string> found, expected;
            for (const API_Guid& g : Db(r).AllElements()) {
                const StoredElement* e = Db(r).Find(g);
                if (!ElementTypeIs(e->record.header.typeID, a.Text("type")) || !e->userData) continue;
                const std::string bytes = e->userData->bytes.str();
                found.insert(at < bytes.size() ? std::string(bytes.c_str() + at) : std::string());
            }
            std::istringstream in(a.Text("texts"));
            for (std::string text; std::getline(in, text, ';');) expected.insert(text);
            std::string shown;
            for (const std::string& text : found) shown += (shown.empty() ? "" : ";") + text;
            *m = "texts at " + std::to_string(at) + ": " + (shown.empty() ? "none" : shown);
            return found == expected;
        },
        "the texts (up to their NUL) at the byte offset of the user data of the <type> elements that have user data "
        "are exactly these (';' between them), each met at least once");
}
}  // namespace

void AddRecordCommands(ScriptLanguage& L) {
    AddRecordAndNameCommands(L);
    AddParamCellCommands(L);
}
