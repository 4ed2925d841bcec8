#include "elements/AddOnObjects.hpp"

#include "elements/ElemDataRecord.hpp"
#include "foundation/ACAPI.hpp"

#include "GSArray.hpp"

#include <cstring>
#include <map>

namespace {

struct PartKind {
    const char* name;
    int32_t kind;
};
const PartKind kPartKinds[] = {
    {"VY_BASIN", 12},       {"VY_BUILDING", 9},       {"VY_CONTOURLINES", 5},  {"VY_RETAINING_WALL", 15},
    {"VY_PAINTER", 8},      {"VY_ROAD", 6},           {"VY_SIDEWALK", 11},     {"VY_WALL", 10},
    {"VY_PLATEAU", 7},      {"VY_SLOPED_PLATEAU", 7}, {"VY_LEVEL_MARKER", 13}, {"VY_POINT_MARKER", 14},
    {"VY_SLOPE_RANGE", 18}, {"VY_BRIDGE", 20},        {"VY_RAILWAY", 21},
};

bool HasLibPart(API_ElemTypeID typeID) {
    return typeID == API_ObjectID || typeID == API_LampID || typeID == API_WindowID || typeID == API_DoorID;
}

// The kind of a library part by index; 0 when the host cannot tell.
int32_t KindOfLibPart(int32_t libInd) {
    API_LibPart part;
    std::memset(static_cast<void*>(&part), 0, sizeof part);
    part.index = libInd;
    if (libInd < 1 || ACAPI_LibPart_Get(&part) != NoError) return 0;
    size_t n = 0;
    while (n < sizeof part.docu_UName / sizeof part.docu_UName[0] && part.docu_UName[n] != 0) ++n;
    QV_String name("");
    if (n > 0) name.AppendWide(part.docu_UName, uint32_t(n));
    return ElemKindOfLibPartName(name);
}

}  // namespace

int32_t ElemKindOfLibPartName(const QV_String& name) {
    for (const PartKind& p : kPartKinds)
        if (name.CompareNoCase(QV_String(p.name)) == 0) return p.kind;
    return 0;
}

int32_t CollectAddOnObjects(int32_t kind, API_ElemTypeID typeID, int32_t, QV_List<API_Element>& out) {
    out.Clear();
    GS::Array<API_Guid> guids;
    if (ACAPI_Element_GetElemList(typeID, &guids) != NoError) return 0;
    std::map<int32_t, int32_t> kinds;  // library index -> kind, asked once per part
    for (const API_Guid& guid : guids) {
        API_Element element;
        std::memset(static_cast<void*>(&element), 0, sizeof element);
        element.header.guid = guid;
        if (ACAPI_Element_Get(&element) != NoError) {
            out.Clear();
            return 0;
        }
        bool keep = false;
        if (HasLibPart(element.header.typeID)) {
            const int32_t libInd = element.object.libInd;
            auto it = kinds.find(libInd);
            if (it == kinds.end()) it = kinds.emplace(libInd, KindOfLibPart(libInd)).first;
            keep = it->second == kind;
        } else {
            ElemDescriptor descriptor;
            keep = ElemUserData_Read(descriptor, kind, element.header);
        }
        if (keep && !out.Insert(element)) {
            out.Clear();
            return 0;
        }
    }
    return 1;
}
