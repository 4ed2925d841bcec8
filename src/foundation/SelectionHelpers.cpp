#include "foundation/SelectionHelpers.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/ElemNeig.hpp"

#include "IO.hpp"
#include "UniString.hpp"

#include <cstring>

namespace {
bool FrontWindowType(int32_t* type) {
    API_WindowInfo info = {};
    if (ACAPI_Database(APIDb_GetCurrentWindowID, &info) != NoError) return false;
    *type = info.typeID;
    return true;
}

bool BringWindowToFront(int32_t type, bool deselect) {
    API_WindowInfo target = {};
    target.typeID = type;
    if (ACAPI_Automate(APIDo_ChangeWindowID, &target) != NoError) return false;
    if (deselect) ACAPI_Element_DeselectAll();
    return true;
}

GSErrCode SwitchDatabase(int32_t type) {
    API_DatabaseInfo db = {};
    db.typeID = type;
    return ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &db);
}

// Whether the element passes the library-part filter: only windows, doors, objects and lamps of that part.
bool LibIndAccepts(const API_Element& element, int32_t libIndFilter) {
    if (libIndFilter <= 0) return true;
    switch (element.header.typeID) {
        case API_WindowID:
        case API_DoorID: return element.window.libInd == libIndFilter;
        case API_ObjectID:
        case API_LampID: return element.object.libInd == libIndFilter;
        default: return false;
    }
}

template <typename T, typename HeadOf>
bool MakeNeigHandle(const QV_List<T>& items, GSHandle* handle, HeadOf headOf) {
    *handle = nullptr;
    int32_t n = 0;
    API_Neig neig;
    for (int32_t i = 0; i < items.GetCount(); ++i) n += ElemHeadToNeig(&neig, &headOf(items[i])) ? 1 : 0;
    *handle = BMAllocateHandle(GSSize(n) * GSSize(sizeof(API_Neig)), ALLOCATE_CLEAR, 0);
    if (*handle == nullptr) return false;
    int32_t k = 0;
    for (int32_t i = 0; i < items.GetCount() && k < n; ++i)
        if (ElemHeadToNeig(&neig, &headOf(items[i])))
            std::memcpy(**handle + GSSize(k++) * GSSize(sizeof(API_Neig)), &neig, sizeof neig);
    return true;
}
}  // namespace

bool IsCurrentWindow3D() {
    int32_t type = 0;
    return FrontWindowType(&type) && type == APIWind_3DModelID;
}

bool EnsureFloorPlanWindow(bool deselect) {
    int32_t type = 0;
    if (FrontWindowType(&type) && type == APIWind_FloorPlanID) return true;
    return BringWindowToFront(APIWind_FloorPlanID, deselect);
}

bool Ensure3DWindow(bool deselect) {
    if (IsCurrentWindow3D()) return true;
    return BringWindowToFront(APIWind_3DModelID, deselect);
}

bool GetObjectDefaults(API_Element& element, API_ElementMemo* memo) {
    API_ToolBoxItem saved = {};
    if (ACAPI_Environment(APIEnv_GetToolBoxModeID, &saved) != NoError) return false;
    bool switched = false;
    if (saved.typeID != API_ObjectID) {
        API_ToolBoxItem objectTool = {};
        objectTool.typeID = API_ObjectID;
        if (ACAPI_Environment(APIEnv_SetToolBoxModeID, &objectTool) != NoError) return false;
        switched = true;
    }
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    if (memo != nullptr) std::memset(static_cast<void*>(memo), 0, sizeof *memo);
    element.header.typeID = API_ObjectID;
    const GSErrCode err = ACAPI_Element_GetDefaults(&element, memo);
    if (switched) ACAPI_Environment(APIEnv_SetToolBoxModeID, &saved);
    return err == NoError;
}

bool ReadObjectDefaults(API_Element& element, API_ElementMemo* memo) {
    API_ToolBoxItem saved = {};
    bool switched = false;
    bool ok = ACAPI_Environment(APIEnv_GetToolBoxModeID, &saved) == NoError;
    if (ok && saved.typeID != API_ObjectID) {
        API_ToolBoxItem objectTool = {};
        objectTool.typeID = API_ObjectID;
        ok = ACAPI_Environment(APIEnv_SetToolBoxModeID, &objectTool) == NoError;
        switched = ok;
    }
    if (ok) {
        API_Element mask;
        std::memset(static_cast<void*>(&mask), 0xFF, sizeof mask);
        ok = ACAPI_Element_ChangeDefaults(&element, memo, &mask) == NoError;
    }
    if (switched) ACAPI_Environment(APIEnv_SetToolBoxModeID, &saved);
    if (memo != nullptr) ACAPI_DisposeElemMemoHdls(memo);
    return ok;
}

bool SelectToolbox18() {
    API_ToolBoxItem fillTool = {};
    fillTool.typeID = API_HatchID;
    return ACAPI_Environment(APIEnv_SetToolBoxModeID, &fillTool) == NoError;
}

bool GetSelectedElements(ElemSelection& selection, bool clear, const API_ElemTypeID* typeFilter, bool onlyEditable,
                         bool viaFloorPlan, int32_t libIndFilter) {
    const bool in3D = IsCurrentWindow3D();
    if (clear) {
        selection.heads.Clear();
        selection.elements.Clear();
    }
    API_SelectionInfo info = {};
    GS::Array<API_Neig> neigs;
    const GSErrCode err = ACAPI_Selection_Get(&info, &neigs, onlyEditable);
    if (info.marquee != nullptr) {
        GSHandle marquee = reinterpret_cast<GSHandle>(info.marquee);
        BMKillHandle(&marquee);
    }
    if (err == APIERR_NOSEL || (err == NoError && info.typeID == API_SelEmpty)) return true;
    if (err != NoError) return false;

    bool switched = false;
    if (viaFloorPlan && in3D) {
        if (SwitchDatabase(APIWind_FloorPlanID) != NoError) return false;
        switched = true;
    }
    // The host's count, but never past the records it handed over.
    int32_t count = onlyEditable ? info.sel_nElemEdit : info.sel_nElem;
    if (count < 0) count = 0;
    if (uint32_t(count) > neigs.GetSize()) count = int32_t(neigs.GetSize());
    bool ok = true;
    for (int32_t i = 0; i < count && ok; ++i) {
        API_Element element = {};
        element.header.guid = neigs[uint32_t(i)].guid;
        // A selected element the host cannot read may be one the command is meant for: the gathering fails.
        if (ACAPI_Element_Get(&element) != NoError) {
            ok = false;
            break;
        }
        if (typeFilter != nullptr && *typeFilter != 0 && element.header.typeID != *typeFilter) continue;
        if (!LibIndAccepts(element, libIndFilter)) continue;
        // The two lists stay parallel: a failed growth takes the head back and ends the gathering.
        if (!selection.heads.Insert(element.header)) {
            ok = false;
        } else if (!selection.elements.Insert(element)) {
            selection.heads.Remove(selection.heads.GetCount() - 1);
            ok = false;
        }
    }
    if (switched) SwitchDatabase(APIWind_3DModelID);
    return ok;
}

bool SelectElement(const API_Element& element, bool add) {
    API_Neig neig;
    if (!ElemHeadToNeig(&neig, &element.header)) return true;
    GS::Array<API_Neig> one;
    one.Push(neig);
    return ACAPI_Element_Select(one, add) == NoError;
}

bool MakeNeigHandleFromElements(const QV_List<API_Element>& elements, GSHandle* handle) {
    if (handle == nullptr) return false;
    return MakeNeigHandle(elements, handle, [](const API_Element& e) -> const API_Elem_Head& { return e.header; });
}

bool MakeNeigHandleFromHeads(const QV_List<API_Elem_Head>& heads, GSHandle* handle) {
    if (handle == nullptr) return false;
    return MakeNeigHandle(heads, handle, [](const API_Elem_Head& h) -> const API_Elem_Head& { return h; });
}

bool DeleteFileByPath(const QV_String& path) {
    if (path.GetBuffer() == nullptr || path.IsEmpty()) return false;
    IO::Location location(GS::UniString(path.GetBuffer(), path.GetLength()));
    GS::UniString name;
    if (location.MoveLastLocalName(&name) != NoError) return false;
    IO::Folder folder(location);
    if (folder.GetStatus() != NoError) return false;
    return folder.Delete(name) == NoError;
}

bool CollectSelection(QV_List<API_Element>& out, bool clear, API_ElemTypeID typeID, bool onlyEditable, Leave3D leave3D,
                      int32_t libIndFilter) {
    if (clear) out.Clear();
    ElemSelection selection;
    if (!GetSelectedElements(selection, true, &typeID, onlyEditable, leave3D == Leave3D::Yes, libIndFilter))
        return false;
    for (int32_t i = 0; i < selection.elements.GetCount(); ++i)
        if (!out.Insert(selection.elements[i])) return false;
    return true;
}

bool CollectSelectionHeads(QV_List<API_Elem_Head>& out, bool clear, API_ElemTypeID typeID, bool onlyEditable,
                           Leave3D leave3D, int32_t libIndFilter) {
    if (clear) out.Clear();
    ElemSelection selection;
    if (!GetSelectedElements(selection, true, &typeID, onlyEditable, leave3D == Leave3D::Yes, libIndFilter))
        return false;
    for (int32_t i = 0; i < selection.heads.GetCount(); ++i)
        if (!out.Insert(selection.heads[i])) return false;
    return true;
}

int32_t CountSelection(API_ElemTypeID typeID, bool onlyEditable, Leave3D leave3D, int32_t libIndFilter) {
    ElemSelection selection;
    if (!GetSelectedElements(selection, true, &typeID, onlyEditable, leave3D == Leave3D::Yes, libIndFilter)) return -1;
    return selection.elements.GetCount();
}
