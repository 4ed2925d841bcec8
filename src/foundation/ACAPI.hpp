#pragma once
// The module's side of the host interface: the copied host function table and the ACAPI_ wrappers over it.
//
// Until the host has handed over its table (SetImportedFuncAddrs), and whenever the table has no entry for a
// function, every wrapper answers APIERR_MISSINGHOSTFUNC without calling anything.
#include "APIDefs.hpp"
#include "Resources.hpp"

#include <cstdint>

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
GSErrCode CallSelector(API_SelectorFamilyProc* family, uint32_t selector, void* par1, uint32_t par1Size,
                       void* par2, uint32_t par2Size);
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

// --- Library-part parameter lists ('OPAR', 'GPAR', 'CPAR')
template <uint32_t Code>
GSErrCode ACAPI_Goodies(API_SelectorTag<Code>, typename API_GoodiesRecords<Code>::Par1* par1 = nullptr,
                        typename API_GoodiesRecords<Code>::Par2* par2 = nullptr) {
    using R = API_GoodiesRecords<Code>;
    return HostInterface::CallSelector(HostInterface::Table().Goodies, Code, par1,
                                       API_RecordSize<typename R::Par1>::value, par2,
                                       API_RecordSize<typename R::Par2>::value);
}
