#include "ProjectFunctions.hpp"

#include "LibraryStore.hpp"
#include "ProjectDatabase.hpp"
#include "StandinHost.hpp"
#include "UniString.hpp"

#include <cstring>

namespace {
const std::vector<std::string> kNames = {"Database",
                                         "Automate",
                                         "Element_Get",
                                         "Element_GetMemo",
                                         "Element_GetDefaults",
                                         "Element_ChangeDefaults",
                                         "Element_Create",
                                         "Element_Change",
                                         "Element_ChangeParameters",
                                         "Element_Delete",
                                         "Element_GetElemList",
                                         "Element_Filter",
                                         "Element_GetUserData",
                                         "Element_SetUserData",
                                         "Element_DeleteUserData",
                                         "Element_Select",
                                         "Element_DeselectAll",
                                         "Selection_Get",
                                         "DisposeElemMemoHdls",
                                         "Attribute_Get",
                                         "Attribute_Create",
                                         "Attribute_Modify",
                                         "Attribute_Delete",
                                         "CallUndoableCommand"};

// Copies a list into a new host handle the caller kills.
template <typename T>
GSErrCode HandOut(const std::vector<T>& items, GSHandle* out) {
    *out = BMAllocateHandle(GSSize(items.size() * sizeof(T)), 0, 0);
    if (*out == nullptr) return APIERR_MEMFULL;
    if (!items.empty()) std::memcpy(**out, static_cast<const void*>(items.data()), items.size() * sizeof(T));
    return NoError;
}

GSErrCode T_Element_Get(API_Element* element) {
    return ServeDatabaseCall("Element_Get", [&](StandinHost&, ProjectDatabase& db) { return db.GetElement(element); });
}
GSErrCode T_Element_GetMemo(const API_Guid* guid, API_ElementMemo* memo, uint64_t mask) {
    return ServeDatabaseCall("Element_GetMemo", [&](StandinHost&, ProjectDatabase& db) {
        return guid == nullptr ? APIERR_BADPARS : db.GetMemo(*guid, memo, mask);
    });
}
GSErrCode T_Element_GetDefaults(API_Element* element, API_ElementMemo* memo) {
    return ServeDatabaseCall("Element_GetDefaults",
                             [&](StandinHost&, ProjectDatabase& db) { return db.GetDefaults(element, memo); });
}
GSErrCode T_Element_ChangeDefaults(const API_Element* element, const API_ElementMemo* memo, const API_Element* mask) {
    return ServeDatabaseCall("Element_ChangeDefaults", [&](StandinHost&, ProjectDatabase& db) {
        return element == nullptr ? APIERR_BADPARS : db.ChangeDefaults(*element, memo, mask);
    });
}
GSErrCode T_Element_Create(API_Element* element, const API_ElementMemo* memo) {
    return ServeDatabaseCall("Element_Create",
                             [&](StandinHost&, ProjectDatabase& db) { return db.CreateElement(element, memo); });
}
GSErrCode T_Element_Change(API_Element* element, const API_Element* mask, const API_ElementMemo* memo,
                           uint64_t memoMask) {
    return ServeDatabaseCall("Element_Change", [&](StandinHost&, ProjectDatabase& db) {
        return db.ChangeElement(element, mask, memo, memoMask);
    });
}
GSErrCode T_Element_ChangeParameters(const API_Guid* guids, uint32_t count, const API_Element* defPars,
                                     const API_ElementMemo* defMemo, const API_Element* mask) {
    return ServeDatabaseCall("Element_ChangeParameters", [&](StandinHost&, ProjectDatabase& db) {
        return db.ChangeParameters(guids, count, defPars, defMemo, mask);
    });
}
GSErrCode T_Element_Delete(const API_Guid* guids, uint32_t count) {
    return ServeDatabaseCall("Element_Delete",
                             [&](StandinHost&, ProjectDatabase& db) { return db.DeleteElements(guids, count); });
}
GSErrCode T_Element_GetElemList(API_ElemTypeID typeID, GSHandle* guids) {
    return ServeDatabaseCall("Element_GetElemList", [&](StandinHost&, ProjectDatabase& db) {
        if (guids == nullptr) return APIERR_BADPARS;
        *guids = nullptr;
        std::vector<API_Guid> list;
        const GSErrCode err = db.GetElemList(typeID, &list);
        return err != NoError ? err : HandOut(list, guids);
    });
}
bool T_Element_Filter(const API_Guid* guid, uint32_t filterBits) {
    bool result = false;
    ServeDatabaseCall("Element_Filter", [&](StandinHost&, ProjectDatabase& db) {
        result = guid != nullptr && db.Filter(*guid, filterBits);
        return NoError;
    });
    return result;
}
GSErrCode T_Element_GetUserData(const API_Elem_Head* head, API_ElementUserData* userData) {
    return ServeDatabaseCall("Element_GetUserData", [&](StandinHost&, ProjectDatabase& db) {
        return head == nullptr ? APIERR_BADPARS : db.GetUserData(*head, userData);
    });
}
GSErrCode T_Element_SetUserData(const API_Elem_Head* head, const API_ElementUserData* userData) {
    return ServeDatabaseCall("Element_SetUserData", [&](StandinHost&, ProjectDatabase& db) {
        return head == nullptr || userData == nullptr ? APIERR_BADPARS : db.SetUserData(*head, *userData);
    });
}
GSErrCode T_Element_DeleteUserData(const API_Elem_Head* head) {
    return ServeDatabaseCall("Element_DeleteUserData", [&](StandinHost&, ProjectDatabase& db) {
        return head == nullptr ? APIERR_BADPARS : db.DeleteUserData(*head);
    });
}
GSErrCode T_Element_Select(const API_Neig* neigs, int32_t count, bool add) {
    return ServeDatabaseCall("Element_Select",
                             [&](StandinHost&, ProjectDatabase& db) { return db.Select(neigs, count, add); });
}
GSErrCode T_Element_DeselectAll() {
    return ServeDatabaseCall("Element_DeselectAll", [&](StandinHost&, ProjectDatabase& db) {
        db.DeselectAll();
        return NoError;
    });
}
GSErrCode T_Selection_Get(API_SelectionInfo* info, GSHandle* neigs, bool onlyEditable) {
    return ServeDatabaseCall("Selection_Get", [&](StandinHost&, ProjectDatabase& db) {
        if (info == nullptr || neigs == nullptr) return APIERR_BADPARS;
        *neigs = nullptr;
        std::vector<API_Neig> list;
        const GSErrCode err = db.GetSelection(info, &list, onlyEditable);
        if (err != NoError && err != APIERR_NOSEL) return err;
        const GSErrCode handErr = HandOut(list, neigs);
        return handErr != NoError ? handErr : err;
    });
}
GSErrCode T_DisposeElemMemoHdls(API_ElementMemo* memo) {
    return ServeDatabaseCall("DisposeElemMemoHdls", [&](StandinHost&, ProjectDatabase&) {
        if (memo == nullptr) return APIERR_BADPARS;
        DisposeApiMemo(memo);
        return NoError;
    });
}
GSErrCode T_Attribute_Get(API_Attribute* attribute) {
    return ServeDatabaseCall("Attribute_Get",
                             [&](StandinHost&, ProjectDatabase& db) { return db.GetAttribute(attribute); });
}
GSErrCode T_Attribute_Create(API_Attribute* attribute) {
    return ServeDatabaseCall("Attribute_Create",
                             [&](StandinHost&, ProjectDatabase& db) { return db.CreateAttribute(attribute); });
}
GSErrCode T_Attribute_Modify(API_Attribute* attribute) {
    return ServeDatabaseCall("Attribute_Modify",
                             [&](StandinHost&, ProjectDatabase& db) { return db.ModifyAttribute(attribute); });
}
GSErrCode T_Attribute_Delete(const API_Attr_Head* head) {
    return ServeDatabaseCall("Attribute_Delete", [&](StandinHost&, ProjectDatabase& db) {
        return head == nullptr ? APIERR_BADPARS : db.DeleteAttribute(*head);
    });
}
GSErrCode T_CallUndoableCommand(const char16_t* undoText, API_UndoableCommandProc* body, void* context) {
    return ServeDatabaseCall("CallUndoableCommand", [&](StandinHost& host, ProjectDatabase& db) {
        if (body == nullptr) return APIERR_BADPARS;
        const std::string text = undoText != nullptr ? GS::UniString(undoText).ToUtf8() : std::string();
        host.Log("  host: undoable command \"" + text + "\"");
        return db.RunUndoableCommand(text, [&]() { return body(context); });
    });
}

// --- selector families ---------------------------------------------------------------------------------------

// A selector of a family: a failure set for (family, selector) or for the whole family answers first.
template <typename F>
GSErrCode ServeSelector(const char* family, const API_SelectorCall* call, F&& body) {
    StandinHost* host = StandinHost::Current();
    if (host == nullptr) return APIERR_GENERAL;
    if (call == nullptr) return APIERR_BADPARS;
    GSErrCode err;
    if (host->InjectedFailure(family, int32_t(call->selector), &err)) return err;
    host->Database().ClearRefusal();
    err = body(*host, host->Database());
    if (err != NoError && !host->Database().LastRefusal().empty())
        host->Log(std::string("  host: ") + family + " " + SelectorText(call->selector) + " refused (" +
                  ErrorText(err) + "): " + host->Database().LastRefusal());
    return err;
}

GSErrCode WindowSelector(StandinHost& host, ProjectDatabase& db, const char* family, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(family, call, sizeof(API_WindowInfo), 0)) return APIERR_BADPARS;
    return db.ChangeWindow(*static_cast<const API_WindowInfo*>(call->par1));
}

GSErrCode T_Database(const API_SelectorCall* call) {
    return ServeSelector("Database", call, [&](StandinHost& host, ProjectDatabase& db) -> GSErrCode {
        switch (call->selector) {
            case APIDb_GetCurrentWindowID.code:
                if (!host.CheckSelectorRecord("Database", call, sizeof(API_WindowInfo), 0)) return APIERR_BADPARS;
                db.GetFrontWindow(static_cast<API_WindowInfo*>(call->par1));
                return NoError;
            case APIDb_GetCurrentDatabaseID.code:
                if (!host.CheckSelectorRecord("Database", call, sizeof(API_DatabaseInfo), 0)) return APIERR_BADPARS;
                db.GetCurrentDatabase(static_cast<API_DatabaseInfo*>(call->par1));
                return NoError;
            case APIDb_ChangeCurrentDatabaseID.code:
                if (!host.CheckSelectorRecord("Database", call, sizeof(API_DatabaseInfo), 0)) return APIERR_BADPARS;
                return db.ChangeDatabase(*static_cast<const API_DatabaseInfo*>(call->par1));
            case APIDb_ChangeWindowID.code: return WindowSelector(host, db, "Database", call);
            case APIDb_CalcBoundsID.code:
                if (!host.CheckSelectorRecord("Database", call, sizeof(API_Element), sizeof(API_Box3D)))
                    return APIERR_BADPARS;
                return db.CalcBounds(static_cast<const API_Element*>(call->par1)->header.guid,
                                     static_cast<API_Box3D*>(call->par2));
            default: {
                GSErrCode answer;
                if (InteractionDatabase(host, call, &answer)) return answer;
                return host.RefuseSelector("Database", call->selector);
            }
        }
    });
}

GSErrCode T_Automate(const API_SelectorCall* call) {
    return ServeSelector("Automate", call, [&](StandinHost& host, ProjectDatabase& db) -> GSErrCode {
        switch (call->selector) {
            case APIDo_ChangeWindowID.code: return WindowSelector(host, db, "Automate", call);
            case APIDo_RebuildID.code: {
                // The record is optional.
                if (call->par1 != nullptr && !host.CheckSelectorRecord("Automate", call, sizeof(API_RebuildParams), 0))
                    return APIERR_BADPARS;
                const auto* pars = static_cast<const API_RebuildParams*>(call->par1);
                return db.Rebuild(pars != nullptr && pars->regenerate != 0);
            }
            default: return host.RefuseSelector("Automate", call->selector);
        }
    });
}
}  // namespace

bool ProjectEnvironment(StandinHost& host, const API_SelectorCall* call, GSErrCode* result) {
    ProjectDatabase& db = host.Database();
    db.ClearRefusal();
    switch (call->selector) {
        case APIEnv_GetToolBoxModeID.code:
            *result = host.CheckSelectorRecord("Environment", call, sizeof(API_ToolBoxItem), 0)
                ? db.GetToolBox(static_cast<API_ToolBoxItem*>(call->par1))
                : APIERR_BADPARS;
            return true;
        case APIEnv_SetToolBoxModeID.code:
            *result = host.CheckSelectorRecord("Environment", call, sizeof(API_ToolBoxItem), 0)
                ? db.SetToolBox(*static_cast<const API_ToolBoxItem*>(call->par1))
                : APIERR_BADPARS;
            return true;
        case APIEnv_GetStorySettingsID.code:
            *result = host.CheckSelectorRecord("Environment", call, sizeof(API_StoryInfo), 0)
                ? db.GetStories(static_cast<API_StoryInfo*>(call->par1))
                : APIERR_BADPARS;
            return true;
        case APIEnv_ChangeStorySettingsID.code: {
            if (!host.CheckSelectorRecord("Environment", call, sizeof(API_StoryCmdType), 0)) {
                *result = APIERR_BADPARS;
                return true;
            }
            const auto* cmd = static_cast<const API_StoryCmdType*>(call->par1);
            *result = cmd->action == APIStory_GoTo ? db.GoToStory(cmd->index) : APIERR_BADPARS;
            return true;
        }
        default: return false;
    }
}

const std::vector<std::string>& ProjectFunctionNames() { return kNames; }

void InstallProjectFunctions(API_HostFunctionTable* table) {
    table->Database = T_Database;
    table->Automate = T_Automate;
    table->Element_Get = T_Element_Get;
    table->Element_GetMemo = T_Element_GetMemo;
    table->Element_GetDefaults = T_Element_GetDefaults;
    table->Element_ChangeDefaults = T_Element_ChangeDefaults;
    table->Element_Create = T_Element_Create;
    table->Element_Change = T_Element_Change;
    table->Element_ChangeParameters = T_Element_ChangeParameters;
    table->Element_Delete = T_Element_Delete;
    table->Element_GetElemList = T_Element_GetElemList;
    table->Element_Filter = T_Element_Filter;
    table->Element_GetUserData = T_Element_GetUserData;
    table->Element_SetUserData = T_Element_SetUserData;
    table->Element_DeleteUserData = T_Element_DeleteUserData;
    table->Element_Select = T_Element_Select;
    table->Element_DeselectAll = T_Element_DeselectAll;
    table->Selection_Get = T_Selection_Get;
    table->DisposeElemMemoHdls = T_DisposeElemMemoHdls;
    table->Attribute_Get = T_Attribute_Get;
    table->Attribute_Create = T_Attribute_Create;
    table->Attribute_Modify = T_Attribute_Modify;
    table->Attribute_Delete = T_Attribute_Delete;
    table->CallUndoableCommand = T_CallUndoableCommand;
}

void ConnectProjectLibraries(HostProject& project) {
    LibraryStore& store = project.libraries;
    project.database.libPartExists = [&store](int32_t libInd) { return store.Part(libInd) != nullptr; };
    project.database.libPartDefaults = [&store](int32_t libInd, std::vector<StoredParam>* params) {
        GSHandle h = store.MakeParamHandle(libInd);
        if (h == nullptr) return false;
        *params = ReadParamHandle(reinterpret_cast<API_AddParType**>(h));
        DisposeParamHandle(&h);
        return true;
    };
    project.database.libPartName = [&store](int32_t libInd) {
        const LibPartDef* part = store.Part(libInd);
        return part != nullptr ? part->name : std::string();
    };
}
