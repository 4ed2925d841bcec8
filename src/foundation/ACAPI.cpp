#include "foundation/ACAPI.hpp"
#include "foundation/MemoParts.hpp"
#include "foundation/ObservedElements.hpp"

#include <cstring>
#include <vector>

namespace {
API_HostFunctionTable g_hostTable = {};  // the copied table; all entries null until it arrives
bool g_tableArrived = false;
uint64_t g_contextWord = 0;

API_AddonType GuardedCheckEnvironment(API_EnvirParams* envir) {
    if (!g_tableArrived) return APIAddon_Unknown;
    return CheckEnvironment(envir);
}

GSErrCode GuardedRegisterInterface() {
    if (!g_tableArrived) return APIERR_GENERAL;
    return RegisterInterface();
}

GSErrCode GuardedInitialize(uint64_t contextWord) {
    if (!g_tableArrived) return APIERR_GENERAL;
    g_contextWord = contextWord;
    return Initialize();
}

GSErrCode GuardedFreeData() {
    if (!g_tableArrived) return APIERR_GENERAL;
    const GSErrCode err = FreeData();
    g_contextWord = 0;
    return err;
}
}  // namespace

extern "C" GSErrCode GetExportedFuncAddrs(API_EntryTable* entryTable, uint32_t entryTableSize) {
    if (entryTable == nullptr || entryTableSize < sizeof(API_EntryTable)) return APIERR_BADPARS;
    std::memset(entryTable, 0, sizeof(API_EntryTable));
    entryTable->version = API_EntryTableVersion;
    entryTable->checkEnvironment = GuardedCheckEnvironment;
    entryTable->registerInterface = GuardedRegisterInterface;
    entryTable->initialize = GuardedInitialize;
    entryTable->freeData = GuardedFreeData;
    entryTable->closingWord = API_EntryTableClosingWord;
    return NoError;
}

extern "C" GSErrCode SetImportedFuncAddrs(const API_HostFunctionTable* hostTable) {
    // A table shorter than its own header is not a table.
    if (hostTable == nullptr || hostTable->structSize < offsetof(API_HostFunctionTable, Environment))
        return APIERR_BADPARS;
    // Copy what the host knows; entries it was built without stay null.
    API_HostFunctionTable copy = {};
    const size_t n = hostTable->structSize < sizeof(copy) ? hostTable->structSize : sizeof(copy);
    std::memcpy(&copy, hostTable, n);
    copy.structSize = uint32_t(sizeof(copy));
    g_hostTable = copy;
    g_tableArrived = true;
    return NoError;
}

namespace HostInterface {
bool TableArrived() { return g_tableArrived; }
uint64_t ContextWord() { return g_contextWord; }
const API_HostFunctionTable& Table() { return g_hostTable; }

GSErrCode CallSelector(API_SelectorFamilyProc* family, uint32_t selector, void* par1, uint32_t par1Size, void* par2,
                       uint32_t par2Size) {
    if (family == nullptr) return APIERR_MISSINGHOSTFUNC;
    API_SelectorCall call = {};
    call.selector = selector;
    call.par1 = par1;
    call.par1Size = par1 != nullptr ? par1Size : 0;
    call.par2 = par2;
    call.par2Size = par2 != nullptr ? par2Size : 0;
    return family(&call);
}
}  // namespace HostInterface

// Every wrapper: a null entry (table not arrived, or not offered by the host) answers APIERR_MISSINGHOSTFUNC.
#define LODRAVIX_HOST_CALL(entry, ...)                                                                                 \
    (g_hostTable.entry != nullptr ? g_hostTable.entry(__VA_ARGS__) : APIERR_MISSINGHOSTFUNC)

GSErrCode ACAPI_KeepInMemory(bool keepIt) { return LODRAVIX_HOST_CALL(KeepInMemory, keepIt); }

GSErrCode ACAPI_Register_Menu(int16_t menuStrResID, int16_t promptStrResID, int32_t menuPosCode, int32_t menuFlags) {
    return LODRAVIX_HOST_CALL(Register_Menu, menuStrResID, promptStrResID, menuPosCode, menuFlags);
}

GSErrCode ACAPI_Install_MenuHandler(int16_t menuStrResID, API_MenuCommandProc* handlerProc) {
    return LODRAVIX_HOST_CALL(Install_MenuHandler, menuStrResID, handlerProc);
}

GSErrCode ACAPI_Register_BuiltInLibrary() {
    return g_hostTable.Register_BuiltInLibrary != nullptr ? g_hostTable.Register_BuiltInLibrary()
                                                          : APIERR_MISSINGHOSTFUNC;
}

GSErrCode ACAPI_Notify_CatchProjectEvent(int32_t eventMask, API_ProjectEventHandlerProc* handlerProc) {
    return LODRAVIX_HOST_CALL(Notify_CatchProjectEvent, eventMask, handlerProc);
}

GSErrCode ACAPI_Notify_CatchNewElement(const API_ElemTypeID* elemType, API_ElementEventHandlerProc* handlerProc) {
    return LODRAVIX_HOST_CALL(Notify_CatchNewElement, elemType, handlerProc);
}

GSErrCode ACAPI_Notify_InstallElementObserver(API_ElementEventHandlerProc* handlerProc) {
    return LODRAVIX_HOST_CALL(Notify_InstallElementObserver, handlerProc);
}

GSErrCode ACAPI_Notify_CatchToolChange(API_ToolChangeHandlerProc* handlerProc) {
    return LODRAVIX_HOST_CALL(Notify_CatchToolChange, handlerProc);
}

GSErrCode ACAPI_ModulData_Store(const API_ModulData* info, const char* modulName) {
    return LODRAVIX_HOST_CALL(ModulData_Store, info, modulName != nullptr ? modulName : "");
}

GSErrCode ACAPI_ModulData_Get(API_ModulData* info, const char* modulName) {
    return LODRAVIX_HOST_CALL(ModulData_Get, info, modulName != nullptr ? modulName : "");
}

GSErrCode ACAPI_ModulData_Delete(const char* modulName) {
    return LODRAVIX_HOST_CALL(ModulData_Delete, modulName != nullptr ? modulName : "");
}

GSErrCode ACAPI_RegisterModelessWindow(int32_t referenceID, API_PaletteControlCallBackProc* callBackProc,
                                       int32_t controlFlags, const API_Guid& paletteGuid) {
    return LODRAVIX_HOST_CALL(RegisterModelessWindow, referenceID, callBackProc, controlFlags, &paletteGuid);
}

GSErrCode ACAPI_UnregisterModelessWindow(int32_t referenceID) {
    return LODRAVIX_HOST_CALL(UnregisterModelessWindow, referenceID);
}

GSErrCode ACAPI_Command_Test(const API_ModulID* mdid, int32_t cmdID, int32_t cmdVersion) {
    return LODRAVIX_HOST_CALL(Command_Test, mdid, cmdID, cmdVersion);
}

GSResModule ACAPI_GetOwnResModule() {
    return g_hostTable.GetOwnResModule != nullptr ? g_hostTable.GetOwnResModule() : InvalidResModule;
}

GSErrCode ACAPI_WriteReport(const char* text) { return LODRAVIX_HOST_CALL(WriteReport, text != nullptr ? text : ""); }

GSErrCode ACAPI_LibPart_Search(API_LibPart* libPart) { return LODRAVIX_HOST_CALL(LibPart_Search, libPart); }

GSErrCode ACAPI_LibPart_Get(API_LibPart* libPart) { return LODRAVIX_HOST_CALL(LibPart_Get, libPart); }

GSErrCode ACAPI_LibPart_GetParams(int32_t libInd, double* a, double* b, int32_t* addParNum, GSHandle* addPars) {
    return LODRAVIX_HOST_CALL(LibPart_GetParams, libInd, a, b, addParNum, addPars);
}

// --- Project database -------------------------------------------------------------------------------------------

GSErrCode ACAPI_Element_Get(API_Element* element) { return LODRAVIX_HOST_CALL(Element_Get, element); }

GSErrCode ACAPI_Element_GetMemo(const API_Guid& guid, API_ElementMemo* memo, uint64_t mask) {
    return LODRAVIX_HOST_CALL(Element_GetMemo, &guid, memo, mask);
}

GSErrCode ACAPI_Element_GetDefaults(API_Element* element, API_ElementMemo* memo) {
    return LODRAVIX_HOST_CALL(Element_GetDefaults, element, memo);
}

GSErrCode ACAPI_Element_ChangeDefaults(API_Element* element, API_ElementMemo* memo, const API_Element* mask) {
    return LODRAVIX_HOST_CALL(Element_ChangeDefaults, element, memo, mask);
}

GSErrCode ACAPI_Element_Create(API_Element* element, API_ElementMemo* memo) {
    return LODRAVIX_HOST_CALL(Element_Create, element, memo);
}

GSErrCode ACAPI_Element_Change(API_Element* element, const API_Element* mask, const API_ElementMemo* memo,
                               uint64_t memoMask) {
    return LODRAVIX_HOST_CALL(Element_Change, element, mask, memo, memoMask);
}

GSErrCode ACAPI_Element_ChangeParameters(const GS::Array<API_Guid>& guids, const API_Element* defPars,
                                         const API_ElementMemo* defMemo, const API_Element* mask) {
    std::vector<API_Guid> list;
    for (const API_Guid& g : guids) list.push_back(g);
    return LODRAVIX_HOST_CALL(Element_ChangeParameters, list.data(), uint32_t(list.size()), defPars, defMemo, mask);
}

GSErrCode ACAPI_Element_Delete(const GS::Array<API_Guid>& guids) {
    std::vector<API_Guid> list;
    for (const API_Guid& g : guids) list.push_back(g);
    return LODRAVIX_HOST_CALL(Element_Delete, list.data(), uint32_t(list.size()));
}

namespace {
// Moves the records of a host handle into an array and kills the handle.
template <typename T>
void TakeRecords(GSHandle* handle, GS::Array<T>* out) {
    if (*handle == nullptr) return;
    const GSSize n = BMGetHandleSize(*handle) / GSSize(sizeof(T));
    for (GSSize i = 0; i < n; ++i) {
        T item;
        std::memcpy(static_cast<void*>(&item), **handle + i * GSSize(sizeof(T)), sizeof(T));
        out->Push(item);
    }
    BMKillHandle(handle);
}
}  // namespace

GSErrCode ACAPI_Element_GetElemList(API_ElemTypeID typeID, GS::Array<API_Guid>* guids) {
    if (guids == nullptr) return APIERR_BADPARS;
    guids->Clear();
    GSHandle handle = nullptr;
    const GSErrCode err = LODRAVIX_HOST_CALL(Element_GetElemList, typeID, &handle);
    TakeRecords(&handle, guids);
    return err;
}

bool ACAPI_Element_Filter(const API_Guid& guid, uint32_t filterBits) {
    return g_hostTable.Element_Filter != nullptr && g_hostTable.Element_Filter(&guid, filterBits);
}

GSErrCode ACAPI_Element_GetUserData(const API_Elem_Head* head, API_ElementUserData* userData) {
    return LODRAVIX_HOST_CALL(Element_GetUserData, head, userData);
}

GSErrCode ACAPI_Element_SetUserData(const API_Elem_Head* head, const API_ElementUserData* userData) {
    return LODRAVIX_HOST_CALL(Element_SetUserData, head, userData);
}

GSErrCode ACAPI_Element_Edit(const GS::Array<API_Neig>& elemNeigs, const API_EditPars& pars) {
    std::vector<API_Neig> list;
    for (const API_Neig& n : elemNeigs) list.push_back(n);
    return LODRAVIX_HOST_CALL(Element_Edit, list.data(), uint32_t(list.size()), &pars);
}

GSErrCode ACAPI_Element_DeleteUserData(const API_Elem_Head* head) {
    return LODRAVIX_HOST_CALL(Element_DeleteUserData, head);
}

GSErrCode ACAPI_Element_Select(API_Neig** neigs, int32_t count, bool add) {
    if (count < 0 || (count > 0 && (neigs == nullptr || *neigs == nullptr)) ||
        (neigs != nullptr &&
         BMGetHandleSize(reinterpret_cast<GSConstHandle>(neigs)) < GSSize(count) * GSSize(sizeof(API_Neig))))
        return APIERR_BADPARS;
    return LODRAVIX_HOST_CALL(Element_Select, count > 0 ? *neigs : nullptr, count, add);
}

GSErrCode ACAPI_Element_Select(const GS::Array<API_Neig>& neigs, bool add) {
    std::vector<API_Neig> list;
    for (const API_Neig& n : neigs) list.push_back(n);
    return LODRAVIX_HOST_CALL(Element_Select, list.data(), int32_t(list.size()), add);
}

GSErrCode ACAPI_Element_DeselectAll() {
    return g_hostTable.Element_DeselectAll != nullptr ? g_hostTable.Element_DeselectAll() : APIERR_MISSINGHOSTFUNC;
}

GSErrCode ACAPI_Selection_Get(API_SelectionInfo* info, GS::Array<API_Neig>* neigs, bool onlyEditable) {
    if (info == nullptr || neigs == nullptr) return APIERR_BADPARS;
    neigs->Clear();
    GSHandle handle = nullptr;
    const GSErrCode err = LODRAVIX_HOST_CALL(Selection_Get, info, &handle, onlyEditable);
    TakeRecords(&handle, neigs);
    return err;
}

GSErrCode ACAPI_DisposeElemMemoHdls(API_ElementMemo* memo) {
    const GSErrCode err = LODRAVIX_HOST_CALL(DisposeElemMemoHdls, memo);
    // A refused disposal has freed nothing, and the caller has no other way to free the memo.
    if (err != NoError && memo != nullptr) FreeMemoParts(*memo);
    return err;
}

GSErrCode ACAPI_Attribute_Get(API_Attribute* attribute) { return LODRAVIX_HOST_CALL(Attribute_Get, attribute); }
GSErrCode ACAPI_Attribute_GetNum(API_AttrTypeID typeID, int32_t* count) {
    return LODRAVIX_HOST_CALL(Attribute_GetNum, typeID, count);
}

GSErrCode ACAPI_Attribute_Create(API_Attribute* attribute) { return LODRAVIX_HOST_CALL(Attribute_Create, attribute); }

GSErrCode ACAPI_Attribute_Modify(API_Attribute* attribute) { return LODRAVIX_HOST_CALL(Attribute_Modify, attribute); }

GSErrCode ACAPI_Attribute_Delete(const API_Attr_Head* head) { return LODRAVIX_HOST_CALL(Attribute_Delete, head); }

namespace {
// The body of an undoable command; nothing may unwind through the host's frames.
GSErrCode RunCommandBody(void* context) {
    const auto* command = static_cast<const std::function<GSErrCode()>*>(context);
    try {
        return (*command)();
    } catch (...) {
        return APIERR_GENERAL;
    }
}
}  // namespace

GSErrCode ACAPI_CallUndoableCommand(const GS::UniString& undoString, const std::function<GSErrCode()>& command) {
    if (!command) return APIERR_BADPARS;
    return LODRAVIX_HOST_CALL(CallUndoableCommand, undoString.ToUStr(), RunCommandBody,
                              const_cast<void*>(static_cast<const void*>(&command)));
}

// --- Library-part sections and library-part creation ----------------------------------------------------------

GSErrCode ACAPI_LibPart_GetSectionList(int32_t libInd, int32_t* nSection, API_LibPartSection*** sections) {
    return LODRAVIX_HOST_CALL(LibPart_GetSectionList, libInd, nSection, sections);
}

GSErrCode ACAPI_LibPart_GetSection(int32_t libInd, API_LibPartSection* section, GSHandle* content,
                                   GS::UniString* text) {
    return LODRAVIX_HOST_CALL(LibPart_GetSection, libInd, section, content, text);
}

GSErrCode ACAPI_LibPart_UpdateSection(int32_t libInd, const API_LibPartSection* section, GSConstHandle content,
                                      const GS::UniString* text) {
    return LODRAVIX_HOST_CALL(LibPart_UpdateSection, libInd, section, content, text);
}

GSErrCode ACAPI_LibPart_AddSection(const API_LibPartSection* section, GSConstHandle content,
                                   const GS::UniString* text) {
    return LODRAVIX_HOST_CALL(LibPart_AddSection, section, content, text);
}

GSErrCode ACAPI_LibPart_GetSect_ParamDef(const API_LibPart* libPart, API_AddParType** params, double a, double b,
                                         GSHandle* section) {
    return LODRAVIX_HOST_CALL(LibPart_GetSect_ParamDef, libPart, params, a, b, section);
}

GSErrCode ACAPI_LibPart_SetDetails_ParamDef(const API_LibPart* libPart, GSHandle section,
                                            const API_LibPartDetails* details) {
    return LODRAVIX_HOST_CALL(LibPart_SetDetails_ParamDef, libPart, section, details);
}

GSErrCode ACAPI_LibPart_Create(API_LibPart* libPart) { return LODRAVIX_HOST_CALL(LibPart_Create, libPart); }

GSErrCode ACAPI_LibPart_Save(API_LibPart* libPart) { return LODRAVIX_HOST_CALL(LibPart_Save, libPart); }

// --- Element notifications, element observers and solid links ---------------------------------------------------

GSErrCode ACAPI_Notify_GetTranParams(API_ActTranPars* actTranPars) {
    return LODRAVIX_HOST_CALL(Notify_GetTranParams, actTranPars);
}

GSErrCode ACAPI_Notify_GetParentElement(API_Element* element, API_ElementMemo* memo, uint64_t mask,
                                        API_ElementUserData* userData) {
    return LODRAVIX_HOST_CALL(Notify_GetParentElement, element, memo, mask, userData);
}

GSErrCode ACAPI_Element_AttachObserver(const API_Guid& guid) {
    const GSErrCode err = LODRAVIX_HOST_CALL(Element_AttachObserver, &guid);
    if (err == NoError) ObservedElements::NoteAttached(guid);
    return err;
}

GSErrCode ACAPI_Element_DetachObserver(const API_Guid& guid) {
    const GSErrCode err = LODRAVIX_HOST_CALL(Element_DetachObserver, &guid);
    if (err == NoError) ObservedElements::NoteDetached(guid);
    return err;
}

GSErrCode ACAPI_Element_SolidLink_Create(const API_Guid& target, const API_Guid& operatorGuid, uint32_t operation,
                                         uint32_t linkFlags) {
    return LODRAVIX_HOST_CALL(SolidLink_Create, &target, &operatorGuid, operation, linkFlags);
}

GSErrCode ACAPI_Element_SolidLink_Remove(const API_Guid& target, const API_Guid& operatorGuid) {
    return LODRAVIX_HOST_CALL(SolidLink_Remove, &target, &operatorGuid);
}

GSErrCode ACAPI_Element_SolidLink_GetOperators(const API_Guid& target, GS::Array<API_Guid>* operators) {
    if (operators == nullptr) return APIERR_BADPARS;
    operators->Clear();
    GSHandle handle = nullptr;
    const GSErrCode err = LODRAVIX_HOST_CALL(SolidLink_GetOperators, &target, &handle);
    TakeRecords(&handle, operators);
    return err;
}

GSErrCode ListSolidLinkOperators(const API_Guid& target, GS::Array<API_Guid>* operators) {
    if (operators == nullptr) return APIERR_BADPARS;
    operators->Clear();
    GSHandle handle = nullptr;
    const GSErrCode err = LODRAVIX_HOST_CALL(SolidLink_GetOperators, &target, &handle);
    const bool handedOut = handle != nullptr;
    TakeRecords(&handle, operators);
    return err == APIERR_GENERAL && handedOut ? NoError : err;
}

GSErrCode ACAPI_Element_SolidLink_GetTargets(const API_Guid& operatorGuid, GS::Array<API_Guid>* targets) {
    if (targets == nullptr) return APIERR_BADPARS;
    targets->Clear();
    GSHandle handle = nullptr;
    const GSErrCode err = LODRAVIX_HOST_CALL(SolidLink_GetTargets, &operatorGuid, &handle);
    TakeRecords(&handle, targets);
    return err;
}

GSErrCode ACAPI_Element_SolidLink_GetTime(const API_Guid& target, const API_Guid& operatorGuid, uint32_t* linkTime,
                                          uint32_t* linkSubTime) {
    return LODRAVIX_HOST_CALL(SolidLink_GetTime, &target, &operatorGuid, linkTime, linkSubTime);
}

GSErrCode ACAPI_Element_SolidLink_GetOperation(const API_Guid& target, const API_Guid& operatorGuid,
                                               uint32_t* operation) {
    return LODRAVIX_HOST_CALL(SolidLink_GetOperation, &target, &operatorGuid, operation);
}

GSErrCode ACAPI_Element_SolidLink_GetFlags(const API_Guid& target, const API_Guid& operatorGuid, uint32_t* linkFlags) {
    return LODRAVIX_HOST_CALL(SolidLink_GetFlags, &target, &operatorGuid, linkFlags);
}

GSErrCode ACAPI_Element_Get3DInfo(const API_Elem_Head& head, API_ElemInfo3D* info3D) {
    if (info3D == nullptr) return APIERR_BADPARS;
    std::memset(info3D, 0, sizeof(*info3D));
    return LODRAVIX_HOST_CALL(Element_Get3DInfo, &head, info3D);
}

GSErrCode ACAPI_Element_GetQuantities(const API_Guid& guid, const API_QuantityPar* params,
                                      API_ElementQuantity* quantity) {
    if (quantity == nullptr) return APIERR_BADPARS;
    std::memset(quantity, 0, sizeof(*quantity));
    return LODRAVIX_HOST_CALL(Element_GetQuantities, &guid, params, quantity);
}

GSErrCode ACAPI_3D_GetComponent(API_Component3D* component) {
    if (component == nullptr) return APIERR_BADPARS;
    return LODRAVIX_HOST_CALL(Get3DComponent, component);
}

GSErrCode ACAPI_Element_ShapePrims(const API_Elem_Head& head, API_ShapePrimsProc* proc) {
    if (proc == nullptr) return APIERR_BADPARS;
    return LODRAVIX_HOST_CALL(Element_ShapePrims, &head, proc);
}
