// Views laid over the parameters of one placed object, and the small edits of one object made through them.

#include "elements/ParamIndexes.hpp"
#include "elements/BaseCls.hpp"
#include "elements/BaseLP.hpp"
#include "elements/ElemDataRecord.hpp"
#include "foundation/GuidText.hpp"
#include "elements/LibPartViews.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/OwnedMemo.hpp"
#include "elements/ChangeElementMemo.hpp"

namespace {

// The object's memo for the span of one operation, with the view laid over its parameters. On destruction the
// memo is released and the view detached: the parameter handle dies with the memo.
class AttachedObject {
public:
    AttachedObject(BaseLP& view, const API_Element& element) : view_(view) {
        view.Reset();
        attached_ = memo_.Read(element.header.guid, AttachMemoMask) == NoError;
        if (attached_) view.Attach(reinterpret_cast<GSHandle>(memo_->params), true);
    }
    ~AttachedObject() { view_.Detach(); }
    AttachedObject(const AttachedObject&) = delete;
    AttachedObject& operator=(const AttachedObject&) = delete;

    bool Attached() const { return attached_; }
    // Writes the whole memo, with the view's changes, back to the object.
    bool WriteBack(API_Element& element) { return ChangeElementMemo(&element, memo_.Get()) == NoError; }

private:
    BaseLP& view_;
    OwnedMemo memo_;
    bool attached_ = false;
};

API_Guid GuidOfText(const QV_String& text) {
    API_Guid guid = APINULLGuid;
    if (!text.IsEmpty()) StringToGuid(guid, text);
    return guid;
}

QV_String ZeroGuidText() {
    QV_String text;
    GuidToText(text, APINULLGuid);
    return text;
}

bool IsLinkedFeatureKind(int32_t kind) {
    return kind == ElemKind_Road || kind == ElemKind_Plateau || kind == ElemKind_Sidewalk ||
        kind == ElemKind_SlopedPlateau;
}

// Deletes the element's user data and stores the record of the kind; when the new record cannot be stored,
// the old user data is put back.
bool ReplaceRecord(const ElemDescriptor& descriptor, int32_t kind, const API_Elem_Head& head) {
    API_ElementUserData old = {};
    const bool hadOld = ACAPI_Element_GetUserData(&head, &old) == NoError && old.dataHdl != nullptr;
    bool stored = false;
    if (ACAPI_Element_DeleteUserData(&head) == NoError) {
        stored = ElemUserData_WriteRecord(descriptor, kind, head);
        if (!stored && hadOld) ACAPI_Element_SetUserData(&head, &old);
    }
    BMKillHandle(&old.dataHdl);
    return stored;
}

}  // namespace

bool BaseLP::AttachToElement(BaseLP& view, int32_t kind, const API_Element& element, API_Guid& terrainGuid,
                             bool switchToPlan) {
    terrainGuid = APINULLGuid;
    AttachedObject object(view, element);
    if (!object.Attached()) return false;
    ElemDescriptor descriptor;
    if (!descriptor.FromElement(kind, element.header, switchToPlan)) return false;
    terrainGuid = GuidOfText(descriptor.TerrainGuid);
    return true;
}

bool BaseLP::AttachToElementLookup(BaseLP& view, const API_Element& element, API_Guid* resultGuid, API_Guid* cutGuid,
                                   API_Guid* fillGuid, QV_String* operatorText, int32_t kind, bool switchToPlan) {
    for (API_Guid* g : {resultGuid, cutGuid, fillGuid})
        if (g != nullptr) *g = APINULLGuid;
    AttachedObject object(view, element);
    if (!object.Attached()) return false;
    if (operatorText != nullptr && !view.GetSetString(BaseIDParam::Operatore, *operatorText, LPMode_Get)) return false;
    ElemDescriptor descriptor;
    if (!descriptor.FromElement(kind, element.header, switchToPlan)) return false;
    if (resultGuid != nullptr) *resultGuid = GuidOfText(descriptor.ResultGuid);
    if (cutGuid != nullptr) *cutGuid = GuidOfText(descriptor.CutGuid);
    if (fillGuid != nullptr) *fillGuid = GuidOfText(descriptor.FillGuid);
    return true;
}

bool BaseLP::AttachAndReadDouble(BaseLP& view, const API_Element& element, double& value) {
    AttachedObject object(view, element);
    return object.Attached() && view.GetSetDouble(DiggingParam::Level, value, LPMode_Get);
}

bool BaseIDLP::ReadOperatorOfElement(BaseIDLP& view, const API_Element& element, QV_String& text) {
    text.Clear();
    if (!IsLinkedFeatureKind(view.kind)) return true;
    AttachedObject object(view, element);
    return object.Attached() && view.GetSetString(BaseIDParam::Operatore, text, LPMode_Get);
}

bool BaseIDLP::ClearMacroName(BaseIDLP& view, API_Element& element) {
    AttachedObject object(view, element);
    QV_String empty("");
    return object.Attached() && view.GetSetString(BaseIDParam::MacroName, empty, LPMode_Set) &&
        object.WriteBack(element);
}

bool BaseIDLP::SetChangeLevel(BaseIDLP& view, API_Element& element, bool flag) {
    AttachedObject object(view, element);
    int16_t value = flag ? 0 : 1;
    return object.Attached() && view.GetSetShort(BaseIDParam::ChangeLevel, value, LPMode_Set) &&
        object.WriteBack(element);
}

bool BaseIDLP::WriteSkirt(BaseIDLP& view, API_Element& element, const API_Element& mesh, bool writeMaterial,
                          bool writeSkirt, const std::function<void()>& beforeWrite) {
    if (!writeMaterial && !writeSkirt) return true;
    AttachedObject object(view, element);
    if (!object.Attached()) return false;
    if (beforeWrite) {
        int32_t material = 0;
        double skirt = 0.0;
        if (writeMaterial && !view.GetSetInt(BaseIDParam::SkirtMaterial, material, LPMode_Get)) return false;
        if (writeSkirt && !view.GetSetDouble(BaseIDParam::Skirt, skirt, LPMode_Get)) return false;
        if ((!writeMaterial || material == mesh.mesh.skirtMat) && (!writeSkirt || skirt == mesh.mesh.skirtLevel))
            return true;
        beforeWrite();
    }
    if (writeMaterial) {
        int32_t material = mesh.mesh.skirtMat;
        if (!view.GetSetInt(BaseIDParam::SkirtMaterial, material, LPMode_Set)) return false;
    }
    if (writeSkirt) {
        double skirt = mesh.mesh.skirtLevel;
        if (!view.GetSetDouble(BaseIDParam::Skirt, skirt, LPMode_Set)) return false;
    }
    return object.WriteBack(element);
}

bool BaseIDLP::Unlink(BaseIDLP& view, API_Element& element, int32_t kind) {
    {
        AttachedObject object(view, element);
        if (!object.Attached()) return false;
        for (int32_t index = BaseIDParam::IDResult; index <= BaseIDParam::IDTerrain; ++index) {
            int32_t none = -1;
            if (!view.GetSetInt(index, none, LPMode_Set)) return false;
        }
        if (!object.WriteBack(element)) return false;
    }
    ElemDescriptor descriptor;
    const QV_String zero = ZeroGuidText();
    descriptor.ResultGuid = zero;
    descriptor.FillGuid = zero;
    descriptor.CutGuid = zero;
    descriptor.TerrainGuid = zero;
    return ReplaceRecord(descriptor, kind, element.header);
}

bool BaseIDLP::UnlinkFromTerrain(BaseIDLP& view, int32_t kind, API_Element& element) {
    {
        AttachedObject object(view, element);
        if (!object.Attached()) return false;
        int32_t none = -1;
        if (!view.GetSetInt(BaseIDParam::IDTerrain, none, LPMode_Set) || !object.WriteBack(element)) return false;
    }
    ElemDescriptor descriptor;
    if (!descriptor.FromElement(kind, element.header, false)) return false;
    descriptor.TerrainGuid = ZeroGuidText();
    return ElemUserData_WriteRecord(descriptor, kind, element.header);
}

bool PaintLP::AttachAndExchange(PaintLP& view, API_Element& element, API_Coord& origin, bool writeBack) {
    AttachedObject object(view, element);
    if (!object.Attached() || !ExchangeOrigin(view, origin, LPMode_Set)) return false;
    return !writeBack || object.WriteBack(element);
}
