// The contour-line object following its terrain: replaced after an earthwork changed the terrain (keeping the
// user's own parameters), updated or first placed by the terrain tool's hooks, and user copies removed.
#include "elements/ChangeElementMemo.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "elements/LeftoverElements.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/UpdatedElements.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "terrain/ContourLineCls.hpp"

namespace {

constexpr const char* PartName = "VY_CONTOURLINES";

LibPartLookup FindPart(int32_t& libIndex) {
    return FindLibPartWithoutAsking(QV_String(PartName), libIndex, APILib_ObjectID, true);
}

// "language" into the new object, written back to it.
bool StoreToElement(API_Element& object) {
    API_ElementMemo memo = {};
    if (ACAPI_Element_GetMemo(object.header.guid, &memo, AttachMemoMask) != NoError) return false;
    ContourLineLP view(ElemKind_Contour);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    double language = double(LanguageIndex + 1);
    const bool ok = view.GetSetDoubleByName(QV_String("language"), language, LPMode_Set) &&
        ChangeElementMemo(&object, &memo) == NoError;
    view.Detach();
    ACAPI_DisposeElemMemoHdls(&memo);
    return ok;
}
// Whether the object carries the current "language" already: 1 it does, 0 it does not, -1 it could not be read.
int32_t CarriesLanguage(const API_Element& object) {
    API_ElementMemo memo = {};
    if (ACAPI_Element_GetMemo(object.header.guid, &memo, AttachMemoMask) != NoError) return -1;
    ContourLineLP view(ElemKind_Contour);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    double language = 0.0;
    const bool read = view.GetSetDoubleByName(QV_String("language"), language, LPMode_Get);
    view.Detach();
    ACAPI_DisposeElemMemoHdls(&memo);
    if (!read) return -1;
    return language == double(LanguageIndex + 1) ? 1 : 0;
}
}  // namespace

bool ContourLineCls::TransferSettings(bool replace, bool skipVolumes) {
    if (linked.GetCount() == 0) return true;
    if (replace) {
        API_ElementMemo oldMemo = {};
        API_ElementMemo newMemo = {};
        // The user's parameters the host cannot read or write are no reason to drop them: the transfer fails.
        bool ok = ACAPI_Element_GetMemo(linked[0].header.guid, &oldMemo, AttachMemoMask) == NoError &&
            ACAPI_Element_GetMemo(object.header.guid, &newMemo, AttachMemoMask) == NoError;
        if (ok) {
            ContourLineLP source(ElemKind_Contour);
            ContourLineLP target(ElemKind_Contour);
            source.Attach(reinterpret_cast<GSHandle>(oldMemo.params), true);
            target.Attach(reinterpret_cast<GSHandle>(newMemo.params), true);
            // A copy that finds nothing to take leaves the new object with its fresh parameters.
            if (ContourLineLP::CopyUnmanagedParams(source, target, skipVolumes))
                ok = ChangeElementMemo(&object, &newMemo) == NoError;
            source.Detach();
            target.Detach();
        }
        ACAPI_DisposeElemMemoHdls(&oldMemo);
        ACAPI_DisposeElemMemoHdls(&newMemo);
        if (!ok) return false;
    }
    GS::Array<API_Guid> old;
    for (const API_Element& e : linked) old.Push(e.header.guid);
    // Old objects that stayed beside their successor would draw the terrain's lines twice.
    DeleteLeftoverElements(old);
    linked.Clear();
    return true;
}

int32_t ContourLineCls::Regenerate(const ContourLineSettings& defaults, const API_Element& terrain,
                                   QV_List<CalculationVolume>* volumes) {
    int32_t index = -1;
    // Without the part there are no contour lines to make; a search the host refused says so.
    const LibPartLookup part = FindPart(index);
    if (part != LibPartLookup::Found) return part == LibPartLookup::Refused ? ErrFindingData : 0;
    libPartIndex = index;
    if (!ReadElement(terrain, true)) return ErrModifying;
    bool any = false;
    bool shows = false;
    uint16_t unused = 0;
    if (!CollectLinkedObjects(any) || !ReadObjectSettings(defaults, shows, false, unused)) return ErrModifying;
    API_Element old = {};
    if (any) old = linked[0];
    if (CreateLibPartObject(any ? 1 : 0, ContourMode_Slopes, 0, volumes, any ? &old : nullptr) == 0)
        return ErrModifying;
    // An object that carries the language already needs no command that would change nothing.
    if (CarriesLanguage(object) == 1) return 0;
    return RunWholeCommand([&] { return StoreToElement(object); }) ? 0 : ErrModifying;
}

int32_t ContourLineCls::ReadForTerrainUpdate(const ContourLineSettings& defaults, const API_Element& terrain) {
    int32_t index = -1;
    // Without the part the terrain has no contour-line object to keep in step; a refused search cannot tell.
    const LibPartLookup part = FindPart(index);
    if (part != LibPartLookup::Found) return part == LibPartLookup::Refused ? ErrFindingData : 0;
    libPartIndex = index;
    if (!ReadElement(terrain, true)) return ErrModifying;
    bool any = false;
    bool shows = false;
    uint16_t value = 1;
    if (!CollectLinkedObjects(any) || !ReadObjectSettings(defaults, shows, true, value)) return ErrModifying;
    if (!any) value = 1;
    gradient = value;
    previousGradient = value;
    return 0;
}

int32_t ContourLineCls::CreateGradientObject() {
    if (linked.GetCount() > 0 || gradient == 0 || libPartIndex <= 0) return 0;
    if (CreateLibPartObject(0, ContourMode_Gradient, gradient, nullptr, nullptr) == 0) return ErrModifying;
    ACAPI_Automate(APIDo_RebuildID);
    return 0;
}

int32_t ContourLineCls::UpdateAfterTerrainChange() {
    if (linked.GetCount() == 0) return 0;
    int32_t result = 0;
    // A failure takes back the objects already changed: the terrain's contour lines stay as they were.
    const bool ok = RunWholeCommand([&] {
        result = UpdateLinkedObjects(contourLineFlag == 1, true, gradient, gradient != previousGradient);
        return result == 0;
    });
    return result != 0 ? result : ok ? 0 : ErrModifying;
}

int32_t ContourLineCls::RefreshForNewTerrain(const API_Element& terrain) {
    int32_t index = -1;
    const LibPartLookup part = FindPart(index);
    if (part != LibPartLookup::Found) return part == LibPartLookup::Refused ? ErrFindingData : ErrModifying;
    libPartIndex = index;
    if (!ReadElement(terrain, true)) return ErrModifying;
    bool any = false;
    if (!CollectLinkedObjects(any)) return ErrModifying;
    return CreateGradientObject();
}

bool ContourLineCls::RefreshOnUpdate(const QV_List<API_Elem_Head>& heads) {
    return InFloorPlanDatabase([&] {
        GS::Array<API_Guid> copies;
        for (const API_Elem_Head& head : heads) {
            API_Element element;
            ElemDescriptor record;
            bool taken = false;
            if (!ReadUpdatedElement(head, 0, ElemKind_Contour, element, record, taken)) return false;
            if (!taken) continue;
            // A copy must not take its part name with it: the generated part belongs to the original.
            BaseIDLP view(ElemKind_Contour);
            if (!BaseIDLP::ClearMacroName(view, element)) return false;
            copies.Push(element.header.guid);
        }
        return copies.GetSize() == 0 || ACAPI_Element_Delete(copies) == NoError;
    });
}
