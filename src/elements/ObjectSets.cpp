#include "elements/ObjectSets.hpp"

#include "elements/ParamIndexes.hpp"

#include "elements/BaseLP.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LayerHelpers.hpp"
#include "foundation/GuidText.hpp"
#include "elements/LibPartViews.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Encoding.hpp"
#include "elements/GdlParams.hpp"
#include "foundation/Language.hpp"
#include "foundation/OwnedMemo.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "elements/ElementQueries.hpp"
#include "elements/AddOnObjects.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "elements/UpdatedElements.hpp"

#include "GSArray.hpp"
#include "UniString.hpp"

#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr uint32_t SolidLinkFlags = 1;

API_Guid GuidOfText(const QV_String& text) {
    API_Guid guid = APINULLGuid;
    if (!text.IsEmpty()) StringToGuid(guid, text);
    return guid;
}

bool IsNull(const API_Guid& guid) { return guid == APINULLGuid; }

GSErrCode MakeDatabaseCurrent(int32_t type) {
    API_DatabaseInfo db = {};
    db.typeID = type;
    return ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &db);
}

// The floor plan's database for the span of a pass when the 3D window is in front; the 3D model's again after.
class FloorPlanScope {
public:
    explicit FloorPlanScope(bool wanted) {
        switched_ = wanted && IsCurrentWindow3D();
        failed_ = switched_ && MakeDatabaseCurrent(APIWind_FloorPlanID) != NoError;
        if (failed_) switched_ = false;
    }
    ~FloorPlanScope() {
        if (switched_) MakeDatabaseCurrent(APIWind_3DModelID);
    }
    FloorPlanScope(const FloorPlanScope&) = delete;
    FloorPlanScope& operator=(const FloorPlanScope&) = delete;
    bool Failed() const { return failed_; }

private:
    bool switched_ = false;
    bool failed_ = false;
};

// Layers opened for a pass and put back when it ends.
class OpenedLayers {
public:
    ~OpenedLayers() {
        if (saved_) RestoreLayerStates(VY_Operators, states_);
    }
    bool Open(const QV_List<API_Element>& elements) {
        saved_ = true;
        return SaveAndOpenLayers(VY_Operators, elements, states_, true);
    }
    // Puts them back now; false when one could not be.
    bool Restore() {
        saved_ = false;
        return RestoreLayerStates(VY_Operators, states_);
    }

private:
    QV_List<LayerState> states_;
    bool saved_ = false;
};

// One placed object with its memo and a view over its parameters, released together.
class ObjectWithMemo {
public:
    explicit ObjectWithMemo(int32_t kind) : view(kind) {}
    ~ObjectWithMemo() { view.Detach(); }
    ObjectWithMemo(const ObjectWithMemo&) = delete;
    ObjectWithMemo& operator=(const ObjectWithMemo&) = delete;

    bool Fetch(const API_Guid& guid) {
        std::memset(static_cast<void*>(&element), 0, sizeof element);
        element.header.guid = guid;
        if (ACAPI_Element_Get(&element) != NoError) return false;
        if (memo.Read(guid, AttachMemoMask) != NoError) return false;
        if (memo->params == nullptr) return false;
        view.Attach(reinterpret_cast<GSHandle>(memo->params), true);
        return true;
    }
    bool ReadOperator(QV_String& text) { return view.GetSetString(BaseIDParam::Operatore, text, LPMode_Get); }

    API_Element element = {};
    OwnedMemo memo;
    BaseIDLP view;
};

int32_t FindByGuid(const QV_List<API_Element>& list, const API_Guid& guid) {
    for (int32_t i = 0; i < list.GetCount(); ++i)
        if (list[i].header.guid == guid) return i;
    return -1;
}

// A partner's link that must name the source object, by the source's role.
const QV_String& BackLink(ObjectRole sourceRole, const ElemDescriptor& partner) {
    switch (sourceRole) {
        case ObjectRole::Result: return partner.ResultGuid;
        case ObjectRole::Fill: return partner.FillGuid;
        case ObjectRole::Cut: break;
    }
    return partner.CutGuid;
}

// The role and the two partner GUIDs of an object of the kind, from its record and "operatore"; both null for an
// object without them (of another kind). False when the host cannot read the object's parameters or record.
bool ReadLinks(const API_Element& element, int32_t kind, ObjectRole& role, API_Guid& first, API_Guid& second) {
    first = second = APINULLGuid;
    role = ObjectRole::Cut;
    OwnedMemo memo;
    const GSErrCode err = memo.Read(element.header.guid, AttachMemoMask);
    if (err == APIERR_BADID) return true;  // gone, or not in this database
    if (err != NoError) return false;
    if (memo->params == nullptr) return true;
    BaseIDLP view(kind);
    view.Attach(reinterpret_cast<GSHandle>(memo->params), true);
    QV_String text;
    const bool hasOperator = view.GetSetString(BaseIDParam::Operatore, text, LPMode_Get);
    view.Detach();
    if (!hasOperator) return true;
    ElemDescriptor record;
    bool found = false;
    if (!ReadElementRecord(element.header, kind, false, record, found)) return false;
    if (!found) return true;
    const API_Guid result = GuidOfText(record.ResultGuid), cut = GuidOfText(record.CutGuid),
                   fill = GuidOfText(record.FillGuid);
    role = RoleOfOperator(text);
    switch (role) {
        case ObjectRole::Cut: first = result, second = fill; break;
        case ObjectRole::Fill: first = result, second = cut; break;
        case ObjectRole::Result: first = cut, second = fill; break;
    }
    return true;
}

bool Unlinked(GSErrCode err) { return err == NoError || err == APIERR_LINKEXIST; }

// Whether the two records agree in every byte the mask marks.
bool SameMarked(const API_Element& a, const API_Element& b, const API_Element& mask) {
    for (size_t i = 0; i < sizeof mask.bytes; ++i)
        if (mask.bytes[i] != 0 && a.bytes[i] != b.bytes[i]) return false;
    return true;
}

bool SameInfoString(const API_ElementMemo& memo, const GS::UniString& text) {
    return memo.elemInfoString != nullptr ? *memo.elemInfoString == text : text.IsEmpty();
}

}  // namespace

ObjectRole RoleOfOperator(const QV_String& operatorText) {
    if (operatorText == QV_String("result")) return ObjectRole::Result;
    if (operatorText == QV_String("fill")) return ObjectRole::Fill;
    return ObjectRole::Cut;
}

bool IsObjectSetKind(int32_t kind) {
    return kind == ElemKind_Road || kind == ElemKind_Plateau || kind == ElemKind_Sidewalk ||
        kind == ElemKind_SlopedPlateau || kind == ElemKind_Railway;
}

void PartnerLinksOfRole(ObjectRole role, const ElemDescriptor& record, QV_String& first, QV_String& second) {
    switch (role) {
        case ObjectRole::Cut: first = record.ResultGuid, second = record.FillGuid; return;
        case ObjectRole::Fill: first = record.ResultGuid, second = record.CutGuid; return;
        case ObjectRole::Result: first = record.CutGuid, second = record.FillGuid; return;
    }
}

// --- linking a new set --------------------------------------------------------------------------------------

bool LinkElements(const BaseCls& obj, const API_Guid& operatorA, const API_Guid& operatorB) {
    const API_Guid& mesh = obj.element.header.guid;
    if (!Unlinked(ACAPI_Element_SolidLink_Create(mesh, operatorA, APISolid_SubtractUpwards, SolidLinkFlags)))
        return false;
    return Unlinked(ACAPI_Element_SolidLink_Create(mesh, operatorB, APISolid_Add, SolidLinkFlags));
}

bool WriteLinkPresenceParams(const API_Elem_Head& head, const API_Guid& resultGuid, const API_Guid& cutGuid,
                             const API_Guid& fillGuid, int32_t kind) {
    ObjectWithMemo object(kind);
    if (!object.Fetch(head.guid)) return false;
    if (IsObjectSetKind(kind)) {
        const struct {
            int32_t index;
            const API_Guid& guid;
        } links[] = {
            {BaseIDParam::IDResult, resultGuid}, {BaseIDParam::IDCut, cutGuid}, {BaseIDParam::IDFill, fillGuid}};
        for (const auto& link : links) {
            int32_t value = IsNull(link.guid) ? -1 : 0;
            if (!object.view.GetSetInt(link.index, value, LPMode_Set)) return false;
        }
    }
    return ChangeElementMemo(&object.element, object.memo.Get()) == NoError;
}

// --- keeping a set in step ------------------------------------------------------------------------------------

int32_t SyncSiblingObjects(const API_Elem_Head& head, int32_t kind, bool switchToPlan) {
    ObjectWithMemo source(kind);
    QV_String operatorText;
    if (!source.Fetch(head.guid) || !source.ReadOperator(operatorText)) return 0;
    const ObjectRole role = RoleOfOperator(operatorText);
    ElemDescriptor record;
    if (!record.FromElement(kind, source.element.header, switchToPlan)) return 0;

    QV_String firstText, secondText;
    PartnerLinksOfRole(role, record, firstText, secondText);
    const API_Guid firstGuid = GuidOfText(firstText);
    const API_Guid secondGuid = GuidOfText(secondText);
    if (IsNull(firstGuid) || IsNull(secondGuid)) return 1;

    ObjectWithMemo partner1(kind), partner2(kind);
    ElemDescriptor record1, record2;
    if (!partner1.Fetch(firstGuid) || !partner2.Fetch(secondGuid)) return 0;
    if (!ElemUserData_Read(record1, kind, partner1.element.header) ||
        !ElemUserData_Read(record2, kind, partner2.element.header))
        return 0;

    // The source's element information text goes to both partners; one the host cannot tell would leave the set
    // under two names unseen, so the set is not in step.
    QV_String infoText;
    if (!ReadElementInfoString(head.guid, infoText)) return 0;
    const GS::UniString infoUni(infoText.GetBuffer(), infoText.GetLength());
    const bool infoInStep = SameInfoString(*partner1.memo, infoUni) && SameInfoString(*partner2.memo, infoUni);
    QV_String infoCopy = infoText;
    SetMemoInfoString(*partner1.memo, infoCopy);
    infoCopy = infoText;
    SetMemoInfoString(*partner2.memo, infoCopy);

    // A partner that names another object is not this set's: leave it alone.
    if (GuidOfText(BackLink(role, record1)) != head.guid || GuidOfText(BackLink(role, record2)) != head.guid) return 1;

    // The parameters the partners take from the source: all but their own links and role.
    const QV_String ownNames[] = {QV_String(source.view.GetParamName(BaseIDParam::IDResult)),
                                  QV_String(source.view.GetParamName(BaseIDParam::IDCut)),
                                  QV_String(source.view.GetParamName(BaseIDParam::IDFill)),
                                  QV_String(source.view.GetParamName(BaseIDParam::IDTerrain)),
                                  QV_String(source.view.GetParamName(BaseIDParam::Operatore))};
    std::vector<QV_String> shared;
    const int32_t count = source.view.RecordCount();
    for (int32_t i = 0; i < count; ++i) {
        const API_AddParType* param = source.view.Record(i);
        if (param == nullptr) return 0;
        char name[sizeof param->name + 1] = {};
        std::memcpy(name, param->name, sizeof param->name);
        const QV_String paramName(name);
        bool own = false;
        for (const QV_String& n : ownNames) own = own || paramName == n;
        if (!own) shared.push_back(paramName);
    }

    const API_Element before1 = partner1.element, before2 = partner2.element;
    API_Element mask;
    CopyObjectPlacementFields(source.element, partner1.element, partner2.element);
    SetObjectPlacementMask(mask);
    // A set in step already is left as it is: writing the same again would only make an empty undo step.
    API_Element compared = mask;  // the modification stamps are each element's own
    std::memset(static_cast<void*>(&compared.header.modiStamp), 0, sizeof compared.header.modiStamp);
    bool inStep = infoInStep && SameMarked(before1, partner1.element, compared) &&
        SameMarked(before2, partner2.element, compared);
    for (size_t i = 0; i < shared.size() && inStep; ++i)
        inStep =
            SameGdlParam(source.view, partner1.view, shared[i]) && SameGdlParam(source.view, partner2.view, shared[i]);
    if (inStep) return 1;

    QV_List<API_Element> three;
    three.Insert(source.element);
    three.Insert(partner1.element);
    three.Insert(partner2.element);
    // A layer that cannot be opened stays as it is: the writes on the partners tell whether it mattered.
    OpenedLayers layers;
    layers.Open(three);
    for (const QV_String& paramName : shared)
        if (!CopyGdlParam(source.view, partner1.view, paramName, paramName, false, false) ||
            !CopyGdlParam(source.view, partner2.view, paramName, paramName, false, false))
            return 0;

    if (ChangeElementMemo(&partner1.element, partner1.memo.Get()) != NoError) return 0;
    if (ACAPI_Element_Change(&partner1.element, &mask, nullptr, 0) != NoError) return 0;
    if (ChangeElementMemo(&partner2.element, partner2.memo.Get()) != NoError) return 0;
    if (ACAPI_Element_Change(&partner2.element, &mask, nullptr, 0) != NoError) return 0;
    return layers.Restore() ? 1 : 0;
}

bool SyncChangedObjects(int32_t kind, const QV_List<API_Elem_Head>& heads) {
    if (heads.GetCount() == 0) return true;
    FloorPlanScope plan(true);
    if (plan.Failed()) return false;
    for (int32_t i = 0; i < heads.GetCount(); ++i) {
        API_Element element = {};
        element.header.guid = heads[i].guid;
        const GSErrCode err = ACAPI_Element_Get(&element);
        if (err == APIERR_BADID) continue;  // not in this database (or gone): nothing to follow here
        if (err != NoError) return false;
        ElemDescriptor record;
        bool ofKind = false;
        if (!ReadElementRecord(element.header, kind, true, record, ofKind)) return false;
        if (!ofKind) continue;  // an object of another kind: its own pass follows it
        ObjectRole role;
        API_Guid first = APINULLGuid, second = APINULLGuid;
        if (!ReadLinks(element, kind, role, first, second)) return false;
        if (IsNull(first) || IsNull(second)) continue;
        if (SyncSiblingObjects(element.header, kind, false) == 0) return false;
    }
    return true;
}

bool DeleteBrokenSets(int32_t kind) {
    FloorPlanScope plan(true);
    if (plan.Failed()) return false;
    QV_List<API_Element> objects;
    if (CollectAddOnObjects(kind, API_ObjectID, 0, objects) <= 0) return false;
    if (objects.GetCount() == 0) return true;
    // The layers are opened only for a set to delete: opened and put back for nothing, they would leave an undo
    // step that changes nothing.
    OpenedLayers layers;
    bool opened = false;

    int32_t i = 0;
    while (i < objects.GetCount()) {
        ObjectRole role;
        API_Guid first = APINULLGuid, second = APINULLGuid;
        if (!ReadLinks(objects[i], kind, role, first, second)) return false;
        if (IsNull(first) || IsNull(second)) {
            ++i;
            continue;
        }
        const int32_t at1 = FindByGuid(objects, first);
        const int32_t at2 = FindByGuid(objects, second);
        if (at1 >= 0 && at2 >= 0) {
            ++i;
            continue;
        }
        // A broken set: the object and the partners still present go.
        if (!opened) layers.Open(objects);
        opened = true;
        if (DeleteElementInPlan(objects[i].header, false) != NoError) return false;
        objects.Remove(i);
        for (const API_Guid& partner : {first, second}) {
            const int32_t at = FindByGuid(objects, partner);
            if (at < 0) continue;
            if (DeleteElementInPlan(objects[at].header, false) != NoError) return false;
            objects.Remove(at);
            if (at < i) --i;
        }
    }
    const bool reset = ResetTerrainLevels(kind, objects);
    return layers.Restore() && reset;
}

bool ResetTerrainLevels(int32_t kind, const QV_List<API_Element>& objects) {
    if (kind != ElemKind_Plateau && kind != ElemKind_SlopedPlateau) return true;
    QV_List<API_Element> meshes;
    if (CollectAddOnObjects(ElemKind_Terrain, API_MeshID, 0, meshes) <= 0) return false;
    for (int32_t m = 0; m < meshes.GetCount(); ++m) {
        GS::Array<API_Guid> operators;
        const GSErrCode err = ACAPI_Element_SolidLink_GetOperators(meshes[m].header.guid, &operators);
        if (err == APIERR_GENERAL) continue;  // no operators: nothing to align for this mesh
        if (err != NoError) return false;
        bool any = false;
        double level = 0.0;
        for (uint32_t k = 0; k < operators.GetSize(); ++k) {
            const int32_t at = FindByGuid(objects, operators[k]);
            if (at < 0) continue;
            DiggingLP view(kind, kind == ElemKind_SlopedPlateau ? 1 : 0);
            double objectLevel = 0.0;
            if (!BaseLP::AttachAndReadDouble(view, objects[at], objectLevel)) return false;
            if (objectLevel > 0.0) continue;
            level = any ? std::fmax(level, objectLevel) : objectLevel;
            any = true;
        }
        // As when a plateau is built: the skirt reaches down to the plateau, never deeper, and the base level
        // (every height on the terrain) stays.
        if (!any || !(meshes[m].mesh.skirtLevel < level - 1e-7)) continue;
        API_Element changed = meshes[m];
        changed.mesh.skirtLevel = level;
        API_Element mask;
        std::memset(static_cast<void*>(&mask), 0, sizeof mask);
        std::memset(static_cast<void*>(&mask.mesh.skirtLevel), 0xFF, sizeof mask.mesh.skirtLevel);
        GS::Array<API_Guid> one;
        one.Push(meshes[m].header.guid);
        if (ACAPI_Element_ChangeParameters(one, &changed, nullptr, &mask) != NoError) return false;
    }
    return true;
}

bool HandleCopiedObjects(int32_t kind, const QV_List<API_Elem_Head>& heads) {
    if (heads.GetCount() == 0) return true;
    FloorPlanScope plan(true);
    if (plan.Failed()) return false;
    GS::Array<API_Guid> doomed;
    for (int32_t i = 0; i < heads.GetCount(); ++i) {
        API_Element element;
        ElemDescriptor record;
        bool ofKind = false;
        if (!ReadUpdatedElement(heads[i], APIFilt_IsEditable, kind, element, record, ofKind)) return false;
        if (!ofKind) continue;  // not an object of this kind
        BaseIDLP view(kind);
        QV_String operatorText;
        if (!BaseIDLP::ReadOperatorOfElement(view, element, operatorText)) return false;
        if (RoleOfOperator(operatorText) != ObjectRole::Result) {
            doomed.Push(element.header.guid);
            continue;
        }
        if (ACAPI_Element_AttachObserver(element.header.guid) != NoError) return false;
        if (!BaseIDLP::Unlink(view, element, kind)) return false;
    }
    if (doomed.GetSize() > 0 && ACAPI_Element_Delete(doomed) != NoError) return false;
    return true;
}

// --- partners -------------------------------------------------------------------------------------------------

namespace {
// Fetches the partners `entry` names that `has` does not know yet and hands each to `add`.
bool ForEachNewPartner(const API_Element& entry, int32_t kind, const std::function<bool(const API_Guid&)>& has,
                       const std::function<bool(const API_Element&)>& add) {
    BaseIDLP view(kind);
    API_Guid links[3] = {APINULLGuid, APINULLGuid, APINULLGuid};
    if (!BaseLP::AttachToElementLookup(view, entry, &links[0], &links[1], &links[2], nullptr, kind, false))
        return false;
    for (const API_Guid& link : links) {
        if (IsNull(link) || has(link)) continue;
        API_Element partner = {};
        partner.header.guid = link;
        if (ACAPI_Element_Get(&partner) != NoError) return false;
        if (!add(partner)) return false;
    }
    return true;
}
}  // namespace

bool CollectPartners(QV_List<API_Element>& elements, int32_t kind) {
    const int32_t present = elements.GetCount();
    for (int32_t i = 0; i < present; ++i) {
        const API_Element entry = elements[i];
        const bool ok = ForEachNewPartner(
            entry, kind, [&](const API_Guid& g) { return FindByGuid(elements, g) >= 0; },
            [&](const API_Element& partner) { return elements.Insert(partner); });
        if (!ok) return false;
    }
    return true;
}

bool CollectPartnersByKind(QV_List<ElemEntry>& entries) {
    const int32_t present = entries.GetCount();
    const auto has = [&](const API_Guid& g) {
        for (int32_t k = 0; k < entries.GetCount(); ++k)
            if (entries[k].element.header.guid == g) return true;
        return false;
    };
    for (int32_t i = 0; i < present; ++i) {
        const ElemEntry entry = entries[i];
        const bool ok = ForEachNewPartner(entry.element, entry.kind, has, [&](const API_Element& partner) {
            ElemEntry added;
            added.element = partner;
            added.kind = entry.kind;
            return entries.Insert(added);
        });
        if (!ok) return false;
    }
    return true;
}
