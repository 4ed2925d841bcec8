#pragma once
// The module's side of the host interface: the copied host function table and the ACAPI_ wrappers over it.
//
// Until the host has handed over its table (SetImportedFuncAddrs), and whenever the table has no entry for a
// function, every wrapper answers APIERR_MISSINGHOSTFUNC without calling anything.
#include "APIDefs.hpp"
#include "APIElements.hpp"
#include "APILibPartSections.hpp"
#include "APIInteraction.hpp"
#include "APIMesh.hpp"
#include "APIPrimitives.hpp"
#include "APIView3D.hpp"
#include "GSArray.hpp"
#include "Resources.hpp"
#include "UniString.hpp"

#include <cstdint>
#include <functional>

// --- The add-on's four entry points (defined by the shell), called by the guarded wrappers of the entry table.
API_AddonType CheckEnvironment(API_EnvirParams* envir);
GSErrCode RegisterInterface();
GSErrCode Initialize();
GSErrCode FreeData();

// --- The two exports.
extern "C" {
__attribute__((visibility("default"))) GSErrCode GetExportedFuncAddrs(API_EntryTable* entryTable,
                                                                      uint32_t entryTableSize);
__attribute__((visibility("default"))) GSErrCode SetImportedFuncAddrs(const API_HostFunctionTable* hostTable);
}

namespace HostInterface {
// True once the host's table has arrived.
bool TableArrived();
// The context word the host passed to Initialize; 0 before Initialize and after FreeData.
uint64_t ContextWord();
// The copied table (all entries null before it arrived).
const API_HostFunctionTable& Table();
// Runs one selector call of a family; APIERR_MISSINGHOSTFUNC when the family's entry is null.
GSErrCode CallSelector(API_SelectorFamilyProc* family, uint32_t selector, void* par1, uint32_t par1Size, void* par2,
                       uint32_t par2Size);
}  // namespace HostInterface

// --- Host functions
GSErrCode ACAPI_KeepInMemory(bool keepIt);
GSErrCode ACAPI_Register_Menu(int16_t menuStrResID, int16_t promptStrResID, int32_t menuPosCode, int32_t menuFlags);
GSErrCode ACAPI_Install_MenuHandler(int16_t menuStrResID, API_MenuCommandProc* handlerProc);
GSErrCode ACAPI_Register_BuiltInLibrary();

GSErrCode ACAPI_Notify_CatchProjectEvent(int32_t eventMask, API_ProjectEventHandlerProc* handlerProc);
// elemType null: every element type.
GSErrCode ACAPI_Notify_CatchNewElement(const API_ElemTypeID* elemType, API_ElementEventHandlerProc* handlerProc);
GSErrCode ACAPI_Notify_InstallElementObserver(API_ElementEventHandlerProc* handlerProc);
// The one-handler tool-change notification.
GSErrCode ACAPI_Notify_CatchToolChange(API_ToolChangeHandlerProc* handlerProc);

// modulName "" is the add-on's unnamed entry.
GSErrCode ACAPI_ModulData_Store(const API_ModulData* info, const char* modulName = "");
GSErrCode ACAPI_ModulData_Get(API_ModulData* info, const char* modulName = "");
GSErrCode ACAPI_ModulData_Delete(const char* modulName = "");

GSErrCode ACAPI_RegisterModelessWindow(int32_t referenceID, API_PaletteControlCallBackProc* callBackProc,
                                       int32_t controlFlags, const API_Guid& paletteGuid = APINULLGuid);
GSErrCode ACAPI_UnregisterModelessWindow(int32_t referenceID);

// 0 when the add-on mdid answers command cmdID of version cmdVersion.
GSErrCode ACAPI_Command_Test(const API_ModulID* mdid, int32_t cmdID, int32_t cmdVersion);

// The module's own resources; InvalidResModule while the host gives none.
GSResModule ACAPI_GetOwnResModule();

// Library parts of the project's loaded libraries (see API_HostFunctionTable).
GSErrCode ACAPI_LibPart_Search(API_LibPart* libPart);
GSErrCode ACAPI_LibPart_Get(API_LibPart* libPart);
GSErrCode ACAPI_LibPart_GetParams(int32_t libInd, double* a, double* b, int32_t* addParNum, GSHandle* addPars);

// Writes one line into the host's report log.
GSErrCode ACAPI_WriteReport(const char* text);

// Selector families: the selector tag fixes the record types (APISelectors.hpp).
template <uint32_t Code>
GSErrCode ACAPI_Environment(API_SelectorTag<Code>, typename API_EnvironmentRecords<Code>::Par1* par1 = nullptr,
                            typename API_EnvironmentRecords<Code>::Par2* par2 = nullptr) {
    using R = API_EnvironmentRecords<Code>;
    return HostInterface::CallSelector(HostInterface::Table().Environment, Code, par1,
                                       API_RecordSize<typename R::Par1>::value, par2,
                                       API_RecordSize<typename R::Par2>::value);
}

template <uint32_t Code>
GSErrCode ACAPI_Interface(API_SelectorTag<Code>, typename API_InterfaceRecords<Code>::Par1* par1 = nullptr,
                          typename API_InterfaceRecords<Code>::Par2* par2 = nullptr) {
    using R = API_InterfaceRecords<Code>;
    return HostInterface::CallSelector(HostInterface::Table().Interface, Code, par1,
                                       API_RecordSize<typename R::Par1>::value, par2,
                                       API_RecordSize<typename R::Par2>::value);
}

// --- Project database ---------------------------------------------------------------------------------------------
// Elements, memos and user data live in the database that is current ('CDAT'); the host refuses memo and user-data
// access and every element change while the 3D model's database is current. Element changes are refused outside
// an undoable command (APIERR_NEEDSUNDOSCOPE).
GSErrCode ACAPI_Element_Get(API_Element* element);
GSErrCode ACAPI_Element_GetMemo(const API_Guid& guid, API_ElementMemo* memo, uint64_t mask = APIMemoMask_All);
GSErrCode ACAPI_Element_GetDefaults(API_Element* element, API_ElementMemo* memo);
GSErrCode ACAPI_Element_ChangeDefaults(API_Element* element, API_ElementMemo* memo, const API_Element* mask);
GSErrCode ACAPI_Element_Create(API_Element* element, API_ElementMemo* memo);
GSErrCode ACAPI_Element_Change(API_Element* element, const API_Element* mask, const API_ElementMemo* memo,
                               uint64_t memoMask);
GSErrCode ACAPI_Element_ChangeParameters(const GS::Array<API_Guid>& guids, const API_Element* defPars,
                                         const API_ElementMemo* defMemo, const API_Element* mask);
GSErrCode ACAPI_Element_Delete(const GS::Array<API_Guid>& guids);
// typeID API_ZombieElemID: every type. `guids` is emptied first.
GSErrCode ACAPI_Element_GetElemList(API_ElemTypeID typeID, GS::Array<API_Guid>* guids);
bool ACAPI_Element_Filter(const API_Guid& guid, uint32_t filterBits = 0);
// The element's user data: a new handle in userData->dataHdl (null when it has none) that the caller releases.
GSErrCode ACAPI_Element_GetUserData(const API_Elem_Head* head, API_ElementUserData* userData);
// The host copies the bytes; the caller keeps and releases its handle.
GSErrCode ACAPI_Element_SetUserData(const API_Elem_Head* head, const API_ElementUserData* userData);
GSErrCode ACAPI_Element_DeleteUserData(const API_Elem_Head* head);
// Selects `count` records of a handle (or array) of API_Neig; `add` keeps the current selection.
GSErrCode ACAPI_Element_Select(API_Neig** neigs, int32_t count, bool add);
GSErrCode ACAPI_Element_Select(const GS::Array<API_Neig>& neigs, bool add);
GSErrCode ACAPI_Element_DeselectAll();
// Moves the elements as an edit tool does ('DRAG', 'ELEV'); only inside an undoable command.
GSErrCode ACAPI_Element_Edit(const GS::Array<API_Neig>& elemNeigs, const API_EditPars& pars);
// An empty selection answers APIERR_NOSEL (or NoError) with info->typeID API_SelEmpty. info->marquee is a handle
// the caller kills. `neigs` is emptied first.
GSErrCode ACAPI_Selection_Get(API_SelectionInfo* info, GS::Array<API_Neig>* neigs, bool onlyEditable);
// Every part of the memo is freed and the memo emptied, also when the host answers an error (then the parts are
// freed here).
GSErrCode ACAPI_DisposeElemMemoHdls(API_ElementMemo* memo);

// Attributes by (type, index); index 0 on a get finds the attribute by its UTF-8 name.
GSErrCode ACAPI_Attribute_Get(API_Attribute* attribute);
GSErrCode ACAPI_Attribute_GetNum(API_AttrTypeID typeID, int32_t* count);
// APIERR_ATTREXIST when the name is in use; the new index comes back in the header.
GSErrCode ACAPI_Attribute_Create(API_Attribute* attribute);
GSErrCode ACAPI_Attribute_Modify(API_Attribute* attribute);
// Deleting a layer deletes its elements too (an element change: only inside an undoable command).
GSErrCode ACAPI_Attribute_Delete(const API_Attr_Head* head);

// Runs `command` once as one undo step; its answer is the answer. The host refuses a command inside another.
GSErrCode ACAPI_CallUndoableCommand(const GS::UniString& undoString, const std::function<GSErrCode()>& command);

template <uint32_t Code>
GSErrCode ACAPI_Database(API_SelectorTag<Code>, typename API_DatabaseRecords<Code>::Par1* par1 = nullptr,
                         typename API_DatabaseRecords<Code>::Par2* par2 = nullptr) {
    using R = API_DatabaseRecords<Code>;
    return HostInterface::CallSelector(HostInterface::Table().Database, Code, par1,
                                       API_RecordSize<typename R::Par1>::value, par2,
                                       API_RecordSize<typename R::Par2>::value);
}

template <uint32_t Code>
GSErrCode ACAPI_Automate(API_SelectorTag<Code>, typename API_AutomateRecords<Code>::Par1* par1 = nullptr,
                         typename API_AutomateRecords<Code>::Par2* par2 = nullptr) {
    using R = API_AutomateRecords<Code>;
    return HostInterface::CallSelector(HostInterface::Table().Automate, Code, par1,
                                       API_RecordSize<typename R::Par1>::value, par2,
                                       API_RecordSize<typename R::Par2>::value);
}

// --- Library-part parameter lists ('OPAR', 'GPAR', 'CPAR')
template <uint32_t Code>
GSErrCode ACAPI_Goodies(API_SelectorTag<Code>, typename API_GoodiesRecords<Code>::Par1* par1 = nullptr,
                        typename API_GoodiesRecords<Code>::Par2* par2 = nullptr) {
    using R = API_GoodiesRecords<Code>;
    return HostInterface::CallSelector(HostInterface::Table().Goodies, Code, par1,
                                       API_RecordSize<typename R::Par1>::value, par2,
                                       API_RecordSize<typename R::Par2>::value);
}

// --- Library-part sections and library-part creation (APILibPartSections.hpp) ----------------------------------
// The part's section headers: a new handle the caller kills, and their count.
GSErrCode ACAPI_LibPart_GetSectionList(int32_t libInd, int32_t* nSection, API_LibPartSection*** sections);
// The section named by the header's type and sub-identifier: a new content handle the caller kills and, when
// `text` is given, the text of a text section (other sections refuse a read with text).
GSErrCode ACAPI_LibPart_GetSection(int32_t libInd, API_LibPartSection* section, GSHandle* content, GS::UniString* text);
// Replaces a section of the part: a text section from `text` when given, else from `content`.
GSErrCode ACAPI_LibPart_UpdateSection(int32_t libInd, const API_LibPartSection* section, GSConstHandle content,
                                      const GS::UniString* text);
// Adds a section to the part being created.
GSErrCode ACAPI_LibPart_AddSection(const API_LibPartSection* section, GSConstHandle content, const GS::UniString* text);
// A parameter definition section ('PARD') from parameter records and the sizes A and B; the caller kills it.
GSErrCode ACAPI_LibPart_GetSect_ParamDef(const API_LibPart* libPart, API_AddParType** params, double a, double b,
                                         GSHandle* section);
GSErrCode ACAPI_LibPart_SetDetails_ParamDef(const API_LibPart* libPart, GSHandle section,
                                            const API_LibPartDetails* details);
// Starts a new part (its index and unique id come back); it exists once saved. Overwriting a part of the same
// name needs 'OWLP' on.
GSErrCode ACAPI_LibPart_Create(API_LibPart* libPart);
GSErrCode ACAPI_LibPart_Save(API_LibPart* libPart);

// --- Element notifications, element observers and solid links -----------------------------------------------------
// While an edit event (code 4) is being delivered: the edit's transformation; APIERR_GENERAL otherwise.
GSErrCode ACAPI_Notify_GetTranParams(API_ActTranPars* actTranPars);
// While a change or edit event (codes 3, 4) is being delivered: the element as it was before. The memo (parts in
// `mask`) and the user data are filled when given; the caller releases them.
GSErrCode ACAPI_Notify_GetParentElement(API_Element* element, API_ElementMemo* memo = nullptr, uint64_t mask = 0,
                                        API_ElementUserData* userData = nullptr);
// The element observer hears of this element's changes, edits and deletion.
GSErrCode ACAPI_Element_AttachObserver(const API_Guid& guid);
GSErrCode ACAPI_Element_DetachObserver(const API_Guid& guid);

// Solid links: `operatorGuid` changes the body of `target` by `operation` ('SSUU', 'SSUD', 'SADD'). Creating and
// removing only inside an undoable command; APIERR_LINKEXIST when the two are linked already, APIERR_LINKNOTEXIST
// when a removed link is not there.
GSErrCode ACAPI_Element_SolidLink_Create(const API_Guid& target, const API_Guid& operatorGuid, uint32_t operation,
                                         uint32_t linkFlags);
GSErrCode ACAPI_Element_SolidLink_Remove(const API_Guid& target, const API_Guid& operatorGuid);
// The operators of a target (the targets of an operator) in link order; APIERR_GENERAL with an empty list when
// there are none. The list is emptied first.
GSErrCode ACAPI_Element_SolidLink_GetOperators(const API_Guid& target, GS::Array<API_Guid>* operators);
GSErrCode ACAPI_Element_SolidLink_GetTargets(const API_Guid& operatorGuid, GS::Array<API_Guid>* targets);
// The same operators, NoError with an empty list when there are none: the host hands out an empty list with its
// APIERR_GENERAL then, and no list at all when it fails, which answers that error.
GSErrCode ListSolidLinkOperators(const API_Guid& target, GS::Array<API_Guid>* operators);
GSErrCode ACAPI_Element_SolidLink_GetTime(const API_Guid& target, const API_Guid& operatorGuid, uint32_t* linkTime,
                                          uint32_t* linkSubTime);
GSErrCode ACAPI_Element_SolidLink_GetOperation(const API_Guid& target, const API_Guid& operatorGuid,
                                               uint32_t* operation);
GSErrCode ACAPI_Element_SolidLink_GetFlags(const API_Guid& target, const API_Guid& operatorGuid, uint32_t* linkFlags);

// --- The 3D model -------------------------------------------------------------------------------------------------
// The first and last body of the element's 3D model (the element's GUID in `head`); `info3D` is zeroed first.
GSErrCode ACAPI_Element_Get3DInfo(const API_Elem_Head& head, API_ElemInfo3D* info3D);
// The element's quantities; `quantity` is zeroed first.
GSErrCode ACAPI_Element_GetQuantities(const API_Guid& guid, const API_QuantityPar* params,
                                      API_ElementQuantity* quantity);
// One component by component->header (type and index). A body is counted in the whole 3D model; after it, the
// polygons, polygon edges, edges and vertices of that body count from 1.
GSErrCode ACAPI_3D_GetComponent(API_Component3D* component);
// --- The 2D drawing of an element (APIPrimitives.hpp) ---------------------------------------------------------------
// The primitives of the element's drawing, one call of `proc` each; an element reference among them is the
// caller's to follow.
GSErrCode ACAPI_Element_ShapePrims(const API_Elem_Head& head, API_ShapePrimsProc* proc);
