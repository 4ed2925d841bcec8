#include "elements/AddOnObjects.hpp"

#include "elements/BaseCls.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "foundation/ACAPI.hpp"

#include "GSArray.hpp"

#include <cstring>
#include <map>
#include <vector>

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

// The kind of a library part by index (0: none of the add-on's, also a part no longer loaded); -1 when the host
// cannot tell.
int32_t KindOfLibPart(int32_t libInd) {
    API_LibPart part;
    std::memset(static_cast<void*>(&part), 0, sizeof part);
    part.index = libInd;
    if (libInd < 1) return 0;
    const GSErrCode err = ACAPI_LibPart_Get(&part);
    if (err == APIERR_BADINDEX) return 0;
    if (err != NoError) return -1;
    size_t n = 0;
    while (n < sizeof part.docu_UName / sizeof part.docu_UName[0] && part.docu_UName[n] != 0) ++n;
    QV_String name("");
    if (n > 0) name.AppendWide(part.docu_UName, uint32_t(n));
    return ElemKindOfLibPartName(name);
}

// Whether the element is an add-on object of `kind`: placed parts by their library part (asked once per part
// through `kinds`), other elements by an element data record of that kind. `hostFailed` is set when the host
// cannot tell: taken as "no such object", it would send a command down its no-terrain path without a word.
bool IsAddOnObjectOfKind(const API_Element& element, int32_t kind, std::map<int32_t, int32_t>& kinds,
                         bool* hostFailed) {
    if (HasLibPart(element.header.typeID)) {
        const int32_t libInd = element.object.libInd;
        auto it = kinds.find(libInd);
        if (it == kinds.end()) it = kinds.emplace(libInd, KindOfLibPart(libInd)).first;
        if (it->second < 0) *hostFailed = true;
        return it->second == kind;
    }
    API_ElementUserData data = {};
    if (ACAPI_Element_GetUserData(&element.header, &data) != NoError) {
        *hostFailed = true;
        return false;
    }
    ElemDescriptor descriptor;
    const bool ok = ElemUserData_ReadRecord(descriptor, kind, data);
    BMKillHandle(&data.dataHdl);
    return ok;
}

// Runs `body` in the floor plan's database when the 3D window is to be left, else where it is.
template <typename Body>
bool InFloorPlanDatabaseIf(Leave3D leave3D, Body body) {
    return leave3D == Leave3D::Yes ? InFloorPlanDatabase(body) : body();
}

// Calls `keep` for every add-on object of the kind in the project, in the host's order; false when the
// database cannot be switched, the elements cannot be listed or read, or `keep` fails.
template <typename Keep>
bool ForEachAddOnObject(int32_t kind, API_ElemTypeID typeID, Leave3D leave3D, Keep keep) {
    return InFloorPlanDatabaseIf(leave3D, [&] {
        GS::Array<API_Guid> guids;
        bool ok = ACAPI_Element_GetElemList(typeID, &guids) == NoError;
        std::map<int32_t, int32_t> kinds;
        for (uint32_t i = 0; ok && i < guids.GetSize(); ++i) {
            API_Element element;
            std::memset(static_cast<void*>(&element), 0, sizeof element);
            element.header.guid = guids[i];
            // A listed element that cannot be read is a host failure: taken as "no such object", it would send a
            // command down its no-terrain path.
            bool failed = false;
            if (ACAPI_Element_Get(&element) != NoError)
                ok = false;
            else if (IsAddOnObjectOfKind(element, kind, kinds, &failed))
                ok = keep(element);
            if (failed) ok = false;
        }
        return ok;
    });
}

// Calls `keep` with every placed part of host type `typeID` (one with a library part) and the kind of its part
// (0: none of the add-on's), in the host's order; false as ForEachAddOnObject.
template <typename Keep>
bool ForEachAddOnObjectOfParts(API_ElemTypeID typeID, Leave3D leave3D, std::map<int32_t, int32_t>& parts, Keep keep) {
    return InFloorPlanDatabaseIf(leave3D, [&] {
        GS::Array<API_Guid> guids;
        bool ok = ACAPI_Element_GetElemList(typeID, &guids) == NoError;
        for (uint32_t i = 0; ok && i < guids.GetSize(); ++i) {
            API_Element element;
            std::memset(static_cast<void*>(&element), 0, sizeof element);
            element.header.guid = guids[i];
            if (ACAPI_Element_Get(&element) != NoError) return false;
            auto it = parts.find(element.object.libInd);
            if (it == parts.end())
                it = parts.emplace(element.object.libInd, KindOfLibPart(element.object.libInd)).first;
            if (it->second < 0) ok = false;
            if (ok && it->second != 0) ok = keep(element, it->second);
        }
        return ok;
    });
}

}  // namespace

bool ReadElementRecord(const API_Elem_Head& head, int32_t kind, bool tagged, ElemDescriptor& descriptor, bool& found) {
    descriptor.Reset();
    found = false;
    API_ElementUserData data = {};
    const GSErrCode err = ACAPI_Element_GetUserData(&head, &data);
    if (err == APIERR_BADID) return true;
    if (err != NoError) return false;
    if (data.dataHdl != nullptr) {
        const void* bytes = *data.dataHdl;
        const size_t size = size_t(BMGetHandleSize(data.dataHdl));
        const ElemRecordStatus status =
            tagged ? ElemDataRecord_Parse(bytes, size, kind, descriptor) : descriptor.FillFromRecord(kind, bytes, size);
        found = status == ElemRecordStatus::Ok;
    }
    BMKillHandle(&data.dataHdl);
    return true;
}

int32_t ElemKindOfLibPartName(const QV_String& name) {
    for (const PartKind& p : kPartKinds)
        if (name.CompareNoCase(QV_String(p.name)) == 0) return p.kind;
    return 0;
}

bool VisitAddOnObjects(int32_t kind, API_ElemTypeID typeID, const std::function<bool(const API_Element&)>& visit) {
    GS::Array<API_Guid> guids;
    if (ACAPI_Element_GetElemList(typeID, &guids) != NoError) return false;
    std::map<int32_t, int32_t> kinds;  // library index -> kind, asked once per part
    for (const API_Guid& guid : guids) {
        API_Element element;
        std::memset(static_cast<void*>(&element), 0, sizeof element);
        element.header.guid = guid;
        if (ACAPI_Element_Get(&element) != NoError) return false;
        bool failed = false;
        if ((IsAddOnObjectOfKind(element, kind, kinds, &failed) && !visit(element)) || failed) return false;
    }
    return true;
}

int32_t CollectAddOnObjects(int32_t kind, API_ElemTypeID typeID, int32_t, QV_List<API_Element>& out) {
    out.Clear();
    if (VisitAddOnObjects(kind, typeID, [&](const API_Element& e) { return out.Insert(e); })) return 1;
    out.Clear();
    return 0;
}

bool CollectAddOnObjects(int32_t kind, API_ElemTypeID typeID, Leave3D leave3D, QV_List<API_Element>& out) {
    out.Clear();
    return ForEachAddOnObject(kind, typeID, leave3D, [&](const API_Element& e) { return out.Insert(e); });
}

bool CollectAddOnObjectHeads(int32_t kind, API_ElemTypeID typeID, Leave3D leave3D, QV_List<API_Elem_Head>& out) {
    out.Clear();
    return ForEachAddOnObject(kind, typeID, leave3D, [&](const API_Element& e) { return out.Insert(e.header); });
}

bool CollectAddOnObjectsLayered(int32_t kind, API_ElemTypeID typeID, Leave3D leave3D, QV_List<ElemEntry>& out) {
    return ForEachAddOnObject(kind, typeID, leave3D, [&](const API_Element& e) {
        ElemEntry entry;
        std::memset(static_cast<void*>(&entry), 0, sizeof entry);
        entry.element = e;
        entry.kind = kind;
        return out.Insert(entry);
    });
}

bool CollectAddOnObjectsOfKinds(const int32_t* kinds, size_t count, API_ElemTypeID typeID, Leave3D leave3D,
                                QV_List<ElemEntry>& out) {
    // Elements without a library part tell their kind by a record read kind by kind: walked once per kind.
    if (!HasLibPart(typeID)) {
        for (size_t k = 0; k < count; ++k)
            if (!CollectAddOnObjectsLayered(kinds[k], typeID, leave3D, out)) return false;
        return true;
    }
    std::vector<QV_List<ElemEntry>> byKind(count);
    std::map<int32_t, int32_t> parts;  // library index -> kind, asked once per part
    bool ok = ForEachAddOnObjectOfParts(typeID, leave3D, parts, [&](const API_Element& e, int32_t kind) {
        for (size_t k = 0; k < count; ++k) {
            if (kinds[k] != kind) continue;
            ElemEntry entry;
            std::memset(static_cast<void*>(&entry), 0, sizeof entry);
            entry.element = e;
            entry.kind = kind;
            return byKind[k].Insert(entry);
        }
        return true;
    });
    // What was found before a failure is kept, kind by kind.
    for (size_t k = 0; k < count; ++k)
        for (int32_t i = 0; i < byKind[k].GetCount(); ++i)
            if (!out.Insert(byKind[k][i])) return false;
    return ok;
}

bool PickElements(int32_t kind, API_ElemTypeID typeID, bool onlyEditable, Leave3D leave3D, QV_List<API_Element>& out,
                  bool clear) {
    QV_List<API_Element> selected;
    if (clear) out.Clear();
    if (!CollectSelection(selected, true, typeID, onlyEditable, leave3D)) return false;
    // Read where the selection was read, so user data is found also from the 3D window.
    bool switched = false;
    if (leave3D == Leave3D::Yes && IsCurrentWindow3D())
        switched = MakeWindowDatabaseCurrent(APIWind_FloorPlanID) == NoError;
    std::map<int32_t, int32_t> kinds;
    bool failed = false;
    for (int32_t i = 0; i < selected.GetCount() && !failed; ++i)
        if (IsAddOnObjectOfKind(selected[i], kind, kinds, &failed) && !out.Insert(selected[i])) break;
    if (switched) MakeWindowDatabaseCurrent(APIWind_3DModelID);
    return !failed;
}
