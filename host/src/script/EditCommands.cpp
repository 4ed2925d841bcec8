// Script commands of the user's edits (which reach the module as element events) and of solid links, with the
// checks of the events delivered, the observed elements and the links.
#include "script/ScriptCommands.hpp"

#include "StandinHost.hpp"
#include "UniString.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {
bool Done(ScriptContext& r, GSErrCode err, const std::string& what, std::string* m) {
    if (err == NoError) return true;
    *m = what + " refused (" + ErrorText(err) + ")";
    if (!Db(r).LastRefusal().empty()) *m += ": " + Db(r).LastRefusal();
    return false;
}

// The user's edit of one element with a transformation record.
bool Edit(ScriptContext& r, const std::string& name, const API_ActTranPars& t, std::string* m) {
    API_Guid g;
    if (!Named(r, name, &g, m)) return false;
    return Done(r, r.Host().Events().UserEdit(g, t), "the edit", m);
}

// The user moves, turns, mirrors, lifts, scales, copies and deletes elements (edit events).
void AddMoveCommands(ScriptLanguage& L) {
    L.Add(
        "move <name:text> <dx:number> <dy:number> [<dz:number>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::vector<double> v;
            if (!ScriptNumbers(a, {"dx", "dy"}, &v, m)) return false;
            API_ActTranPars t = {};
            t.typeID = APIEdit_Drag;
            t.disp = {v[0], v[1]};
            if (a.Has("dz") && !ScriptNumber(a.Text("dz"), &t.dispZ, m)) return false;
            return Edit(r, a.Text("name"), t, m);
        },
        "the user drags an element (an edit event 'DRAG')");
    L.Add(
        "rotate <name:text> <cx:number> <cy:number> <degrees:number>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::vector<double> v;
            if (!ScriptNumbers(a, {"cx", "cy", "degrees"}, &v, m)) return false;
            API_ActTranPars t = {};
            t.typeID = APIEdit_Rotate;
            t.vector = {v[0], v[1]};
            t.cosA = std::cos(v[2] * M_PI / 180.0);
            t.sinA = std::sin(v[2] * M_PI / 180.0);
            return Edit(r, a.Text("name"), t, m);
        },
        "the user rotates an element about a point ('ROTZ')");
    L.Add(
        "mirror <name:text> <bx:number> <by:number> <vx:number> <vy:number>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::vector<double> v;
            if (!ScriptNumbers(a, {"bx", "by", "vx", "vy"}, &v, m)) return false;
            API_ActTranPars t = {};
            t.typeID = APIEdit_Mirror;
            t.base = {v[0], v[1]};
            t.vector = {v[2], v[3]};
            return Edit(r, a.Text("name"), t, m);
        },
        "the user mirrors an element on the axis through b along v ('MIRR')");
    L.Add(
        "elevate <name:text> <dz:number>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_ActTranPars t = {};
            t.typeID = APIEdit_Elevate;
            if (!ScriptNumber(a.Text("dz"), &t.dispZ, m)) return false;
            return Edit(r, a.Text("name"), t, m);
        },
        "the user lifts an element ('ELEV')");
    L.Add(
        "resize <name:text> <bx:number> <by:number> <ratio:number>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::vector<double> v;
            if (!ScriptNumbers(a, {"bx", "by", "ratio"}, &v, m)) return false;
            API_ActTranPars t = {};
            t.typeID = APIEdit_Resize;
            t.base = {v[0], v[1]};
            t.ratio = v[2];
            return Edit(r, a.Text("name"), t, m);
        },
        "the user scales an element about a base point ('RSIZ')");
    L.Add(
        "copy <name:text> <copy:new-element> [<dx:number>] [<dy:number>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            API_Coord3D offset = {};
            if (a.Has("dx") && !ScriptNumber(a.Text("dx"), &offset.x, m)) return false;
            if (a.Has("dy") && !ScriptNumber(a.Text("dy"), &offset.y, m)) return false;
            API_Guid made;
            if (!Done(r, r.Host().Events().UserCopy(g, offset, a.Text("copy"), &made), "the copy", m)) return false;
            *m = a.Text("copy") + " = " + GuidText(made);
            return true;
        },
        "the user copies an element (with its user data) by an offset; <copy> names the copy");
    L.Add(
        "delete <name:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            return Done(r, r.Host().Events().UserDelete(g), "the deletion", m);
        },
        "the user deletes an element");
}

// The user changes an element in its settings (change events).
void AddChangeCommands(ScriptLanguage& L) {
    L.Add(
        "change <name:text> pen <pen:int>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            const int16_t pen = int16_t(a.Int("pen"));
            return Done(r,
                        r.Host().Events().UserChange(g,
                                                     [pen](API_Element& e, StoredMemo&) {
                                                         switch (e.header.typeID) {
                                                             case API_ObjectID:
                                                             case API_LampID: e.object.pen = pen; return true;
                                                             case API_HatchID: e.hatch.contPen = pen; return true;
                                                             case API_LineID: e.line.pen = pen; return true;
                                                             case API_PolyLineID: e.polyLine.pen = pen; return true;
                                                             case API_MeshID: e.mesh.pen = pen; return true;
                                                             case API_HotspotID: e.hotspot.pen = pen; return true;
                                                             case API_ArcID:
                                                             case API_CircleID: e.arc.pen = pen; return true;
                                                             default: return false;
                                                         }
                                                     }),
                        "the change", m);
        },
        "the user changes an element's pen (a change event)");
    L.Add(
        "change <name:text> id <text:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            const std::u16string text = GS::UniString(a.Text("text")).ToU16String();
            return Done(r,
                        r.Host().Events().UserChange(g,
                                                     [&text](API_Element&, StoredMemo& memo) {
                                                         memo.elemInfoString = text;
                                                         return true;
                                                     }),
                        "the change", m);
        },
        "the user gives an element its ID text (element information)");
    L.Add(
        "change <name:text> param <param:text> <value:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            const std::string param = a.Text("param");
            const std::string value = a.Text("value");
            std::string why = "the element has no parameter " + param;
            const GSErrCode err = r.Host().Events().UserChange(g, [&](API_Element&, StoredMemo& memo) {
                if (!memo.params) return false;
                for (StoredParam& p : *memo.params) {
                    if (std::strncmp(p.record.name, param.c_str(), sizeof p.record.name) != 0) continue;
                    if (p.IsArray()) {
                        why = param + " is an array";
                        return false;
                    }
                    if (p.record.typeID == APIParT_Text) {
                        const std::u16string u = GS::UniString(value).ToU16String();
                        if (u.size() > 255) {
                            why = "the text is longer than 255 units";
                            return false;
                        }
                        std::memset(p.record.value.uStr, 0, sizeof p.record.value.uStr);
                        std::copy(u.begin(), u.end(), p.record.value.uStr);
                        return true;
                    }
                    std::string ignored;
                    if (!ScriptNumber(value, &p.record.value.real, &ignored)) {
                        why = "'" + value + "' is not a number";
                        return false;
                    }
                    return true;
                }
                return false;
            });
            if (err == APIERR_BADPARS) {
                *m = why;
                return false;
            }
            return Done(r, err, "the change", m);
        },
        "the user sets one parameter of a placed object in its settings dialog");
    L.Add(
        "change <name:text> vertex <index:int> <z:number>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            double z = 0.0;
            if (!Named(r, a.Text("name"), &g, m) || !ScriptNumber(a.Text("z"), &z, m)) return false;
            const int64_t index = a.Int("index");
            std::string why = a.Text("name") + " is no mesh";
            const GSErrCode err = r.Host().Events().UserChange(g, [&](API_Element& e, StoredMemo& memo) {
                if (e.header.typeID != API_MeshID) return false;
                if (!memo.meshPolyZ || index < 1 || index > e.mesh.poly.nCoords ||
                    index >= int64_t(memo.meshPolyZ->size())) {
                    why = "the mesh has no outline vertex " + std::to_string(index);
                    return false;
                }
                std::vector<double>& heights = *memo.meshPolyZ;
                heights[size_t(index)] = z;
                // A contour's closing vertex repeats its first: the two stay one corner.
                if (memo.pends)
                    for (size_t j = 1; j < memo.pends->size(); ++j) {
                        const int64_t first = (*memo.pends)[j - 1] + 1, last = (*memo.pends)[j];
                        if (first < 1 || last <= first || last >= int64_t(heights.size())) continue;
                        if (index == first) heights[size_t(last)] = z;
                        if (index == last) heights[size_t(first)] = z;
                    }
                return true;
            });
            if (err == APIERR_BADPARS) {
                *m = why;
                return false;
            }
            return Done(r, err, "the change", m);
        },
        "the user gives a mesh's outline vertex <index> (1-based, as its memo counts them) the height <z> above its "
        "base level in its settings dialog (a change event)");
}

// Solid links, and the checks of the element events delivered and the links.
void AddLinkAndEventCommands(ScriptLanguage& L) {
    const auto link = [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
        API_Guid target, op;
        if (!Named(r, a.Text("target"), &target, m) || !Named(r, a.Text("operator"), &op, m)) return false;
        const std::string& code = a.Text("operation");
        uint32_t operation = 0;
        for (const char c : code) operation = (operation << 8) | uint8_t(c);
        return Done(r,
                    Db(r).RunUndoableCommand("Solid operation",
                                             [&]() { return Db(r).CreateSolidLink(target, op, operation, 1); }),
                    "the link", m);
    };
    L.Add("link <target:text> <operator:text> <operation:SSUU|SSUD|SADD>", false, link,
          "the user makes <operator> change the body of <target> (a solid operation)");
    L.Add(
        "unlink <target:text> <operator:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid target, op;
            if (!Named(r, a.Text("target"), &target, m) || !Named(r, a.Text("operator"), &op, m)) return false;
            return Done(
                r, Db(r).RunUndoableCommand("Solid operation", [&]() { return Db(r).RemoveSolidLink(target, op); }),
                "the unlink", m);
        },
        "the user removes the solid operation of <operator> on <target>");
    L.Add(
        "clear-events", false,
        [](ScriptContext& r, const ScriptArgs&, std::string*) {
            r.Host().Events().ClearDelivered();
            r.Host().Input().ClearRecords();
            return true;
        },
        "forget the element events delivered and the inputs answered so far (for counting)");
    L.Add(
        "expect events <count:int> [<code:int>]", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            int64_t n = 0;
            for (const ElementEvents::DeliveredEvent& e : r.Host().Events().Delivered())
                n += (a.Has("code") ? e.code == a.Int("code") : e.code > 0) ? 1 : 0;
            return Compare("element events", n, a.Int("count"), m);
        },
        "the module was told of <count> element events (of that code; -1 and -2 count only when asked for)");
    L.Add(
        "expect event <name:element> <code:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            for (const ElementEvents::DeliveredEvent& e : r.Host().Events().Delivered())
                if (e.guid == g && e.code == a.Int("code")) return true;
            *m = "no event " + std::to_string(a.Int("code")) + " for " + a.Text("name");
            return false;
        },
        "the module was told of event <code> for the element");
    L.Add(
        "expect observed <name:element> <state:yes|no>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid g;
            if (!Named(r, a.Text("name"), &g, m)) return false;
            const bool observed = r.Host().Events().IsObserved(g);
            *m = a.Text("name") + (observed ? " is observed" : " is not observed");
            return observed == (a.Text("state") == "yes");
        },
        "whether the module observes the element (it hears of its changes)");
    L.Add(
        "expect solid-links <count:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            return Compare("solid links", int64_t(Db(r).SolidLinks().size()), a.Int("count"), m);
        },
        "the number of solid-operation links in the project");
    L.Add(
        "expect solid-link <target:element> <operator:element> <state:SSUU|SSUD|SADD|absent>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            API_Guid target, op;
            if (!Named(r, a.Text("target"), &target, m) || !Named(r, a.Text("operator"), &op, m)) return false;
            const StoredSolidLink* l = Db(r).FindSolidLink(target, op);
            const std::string found = l == nullptr ? "absent" : SelectorText(l->operation).substr(1, 4);
            *m = "link " + found;
            return found == a.Text("state");
        },
        "the solid-operation link between target and operator: its operation, or absent");
}
}  // namespace

void AddEditCommands(ScriptLanguage& L) {
    AddMoveCommands(L);
    AddChangeCommands(L);
    AddLinkAndEventCommands(L);
}
