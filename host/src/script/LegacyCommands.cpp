// Script commands that build a project as an earlier release of the add-on left it (objects without the current
// records, user data in the older layout, the old numeric identifiers, the slabs it placed for its own use),
// with the checks of what the module's upkeep made of it: parameters of placed objects and their records.
#include "script/ScriptCommands.hpp"

#include "LogNumber.hpp"
#include "StandinHost.hpp"
#include "TextFields.hpp"
#include "UniString.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

#include <cmath>
#include <sstream>

namespace {
// Older records: the kind tag at 0 and the one text of kinds 1, 4, 5 and 8 at 28.
constexpr size_t LegacyTextOffset = 28;
constexpr size_t RecordSize = 650;

bool ParsePoint(const std::string& text, API_Coord* point, std::string* m) {
    std::istringstream in(text);
    std::string x, y;
    if (!std::getline(in, x, ',') || !std::getline(in, y) || !ParseScriptNumber(x, &point->x) ||
        !ParseScriptNumber(y, &point->y)) {
        *m = "'" + text + "' is not a point (x,y)";
        return false;
    }
    return true;
}

bool ParsePoints(const std::string& text, std::vector<API_Coord3D>* points, std::string* m) {
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        API_Coord c;
        if (!ParsePoint(word, &c, m)) return false;
        points->push_back({c.x, c.y, 0.0});
    }
    if (points->size() < 3) *m = "a slab needs three points";
    return points->size() >= 3;
}

// The expected text with every "{name}" replaced by the GUID text of the element the script named so; false with a
// message for a name no element has.
bool ExpandGuids(ScriptContext& r, const std::string& text, std::string* out, std::string* m) {
    out->clear();
    size_t at = 0;
    while (at < text.size()) {
        const size_t open = text.find('{', at);
        const size_t close = open == std::string::npos ? std::string::npos : text.find('}', open);
        if (close == std::string::npos) {
            *out += text.substr(at);
            break;
        }
        API_Guid g;
        if (!Named(r, text.substr(open + 1, close - open - 1), &g, m)) return false;
        *out += text.substr(at, open - at) + GuidText(g);
        at = close + 1;
    }
    return true;
}

// The parameter of a placed object; null with a message when the object or the parameter is missing.
const StoredParam* Param(ScriptContext& r, const std::string& name, const std::string& param, std::string* m) {
    API_Guid g;
    if (!Named(r, name, &g, m)) return nullptr;
    const StoredElement* e = Db(r).Find(g);
    if (e->memo->params)
        for (const StoredParam& p : *e->memo->params)
            if (FieldText(p.record.name, sizeof p.record.name) == param) return &p;
    *m = name + " has no parameter " + param;
    return nullptr;
}
}  // namespace

void AddLegacyCommands(ScriptLanguage& L) {
    L.Add(
        "legacy object <name:new-element> <part:text> <point:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const int32_t libInd = r.Host().Project().libraries.FindByName(a.Text("part"), 0);
            if (libInd <= 0) {
                *m = "no library part is named " + a.Text("part");
                return false;
            }
            API_Element e = {};
            e.header.typeID = API_ObjectID;
            GSErrCode err = Db(r).GetDefaults(&e, nullptr);
            if (err == NoError) {
                e.header.layer = Db(r).userLayer;
                e.object.libInd = libInd;
                if (!ParsePoint(a.Text("point"), &e.object.pos, m)) return false;
                err = Db(r).PlaceElement(&e, StoredMemo(), a.Text("name"), "Place object");
            }
            if (err != NoError) {
                *m = "the host refused the object (" + ErrorText(err) + "): " + Db(r).LastRefusal();
                return false;
            }
            *m = a.Text("name") + " = " + GuidText(e.header.guid);
            return true;
        },
        "an object of the library part as an earlier release placed it: default parameters, no record");
    L.Add(
        "legacy record <name:text> <tag:text> [<text:text>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            const std::string& tag = a.Text("tag");
            const std::string text = a.Has("text") ? a.Text("text") : std::string();
            if (tag.size() != 1 || text.size() >= RecordSize - LegacyTextOffset) {
                *m = "a record has a one-character tag and a text of at most 621 bytes";
                return false;
            }
            StoredUserData data;
            data.dataVersion = 2;
            data.platformSign = APIUserData_PlatformSign;
            std::string bytes(RecordSize, '\0');
            bytes[0] = tag[0];
            bytes.replace(LegacyTextOffset, text.size(), text);
            data.bytes = bytes;
            Db(r).FindMutable(g)->userData = data;
            return true;
        },
        "the element's user data in the older layout: the kind tag, and the text of kinds 1, 4, 5 and 8");
    L.Add(
        "legacy id <name:text> <id:int>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            r.Host().Project().oldIds.Set(Db(r).Find(g)->database, a.Int("id"), g);
            return true;
        },
        "the element carried this numeric identifier in its database before the project was converted");
    L.Add(
        "legacy slab <name:new-element> <points:text> [<id:text>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::vector<API_Coord3D> points;
            if (!ParsePoints(a.Text("points"), &points, m)) return false;
            API_Guid g;
            const GSErrCode err =
                Db(r).PlacePolygonElement(API_SlabID, points, true, Db(r).userLayer, a.Text("name"), &g);
            if (err != NoError) {
                *m = "the host refused the slab (" + ErrorText(err) + "): " + Db(r).LastRefusal();
                return false;
            }
            Db(r).FindMutable(g)->memo.Mutable().elemInfoString =
                GS::UniString(a.Has("id") ? a.Text("id") : std::string("VY30 Slab")).ToU16String();
            return true;
        },
        "a slab on the current layer with an element ID (\"VY30 Slab\" when none is given), as earlier releases "
        "placed for their own use");
    L.Add(
        "expect param <name:element> <param:text> <value:element-text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const StoredParam* p = Param(r, a.Text("name"), a.Text("param"), m);
            if (p == nullptr) return false;
            if (p->IsArray()) {
                *m = a.Text("param") + " is an array";
                return false;
            }
            if (p->record.typeID == APIParT_Text) {
                size_t n = 0;
                while (n < 256 && p->record.value.uStr[n] != 0) ++n;
                std::string expected;
                if (!ExpandGuids(r, a.Text("value"), &expected, m)) return false;
                return CompareText(a.Text("param"), GS::UniString(p->record.value.uStr, uint32_t(n)).ToUtf8(), expected,
                                   m);
            }
            double expected;
            if (!ScriptNumber(a.Text("value"), &expected, m)) return false;
            const double found = p->record.value.real;
            *m = a.Text("param") + " = " + LogNumber(found);
            if (std::fabs(found - expected) > 1e-9 * std::max(1.0, std::fabs(expected)))
                *m += ", expected " + a.Text("value");
            return std::fabs(found - expected) <= 1e-9 * std::max(1.0, std::fabs(expected));
        },
        "a scalar parameter of a placed object holds the number or text (\"{X}\" in a text: the GUID text of X)");
    L.Add(
        "expect record <name:element> <offset:int> <text:element-text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            const StoredElement* e = Db(r).Find(g);
            if (!e->userData) {
                *m = a.Text("name") + " has no user data";
                return false;
            }
            const std::string bytes = e->userData->bytes.str();
            const size_t at = size_t(a.Int("offset") < 0 ? 0 : a.Int("offset"));
            const std::string found = at < bytes.size() ? std::string(bytes.c_str() + at) : std::string();
            std::string expected;
            if (!ExpandGuids(r, a.Text("text"), &expected, m)) return false;
            return CompareText("the text at " + std::to_string(at), found, expected, m);
        },
        "the element's user data holds the text (up to its NUL) at the byte offset; \"{X}\" stands for the GUID "
        "text of element X");
    L.Add(
        "expect layer-absent <name:text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const int32_t index = Db(r).FindAttribute(API_LayerID, a.Text("name"));
            *m = index != 0 ? "layer " + std::to_string(index) + " exists" : "";
            return index == 0;
        },
        "the project has no layer of that name");
}
