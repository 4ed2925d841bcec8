#pragma once
// The host function table: what the host hands to the module through SetImportedFuncAddrs.
//
// Every entry is nullable; a null entry means the host does not offer that function and the module's wrapper
// answers APIERR_MISSINGHOSTFUNC. The host fills structSize with the size it knows; the module copies that many
// bytes and leaves the rest null, so new entries are only ever APPENDED at the end (never reordered or removed).
//
// Selector families (Environment, Interface, and later Database, Automate, Goodies ...) go through one entry per
// family. The call carries the selector and each record's size; the host checks both and logs and refuses an
// unknown selector or a record of the wrong size with APIERR_BADPARS. Which record a selector takes is fixed by
// the traits in APISelectors.hpp, so the module cannot pass the wrong one.
#include "APIDefs.hpp"
#include "Resources.hpp"

#include <cstdint>

// One selector call of a family: the selector and up to two records with their sizes (0 and null when unused).
struct API_SelectorCall {
    uint32_t selector;
    uint32_t par1Size;
    void* par1;
    uint32_t par2Size;
    uint32_t reserved;
    void* par2;
};
typedef GSErrCode API_SelectorFamilyProc(const API_SelectorCall* call);

struct API_HostFunctionTable {
    uint32_t structSize;  // sizeof as the host was built with
    uint32_t version;

    // --- selector families
    API_SelectorFamilyProc* Environment;   // 'APPL' ...
    API_SelectorFamilyProc* Interface;     // 'SMIT' ...

    // --- other add-ons
    GSErrCode (*Command_Test)(const API_ModulID* mdid, int32_t cmdID, int32_t cmdVersion);

    // --- resources and module life
    // The module's own resources (InvalidResModule when the host has none).
    GSResModule (*GetOwnResModule)();
    GSErrCode (*KeepInMemory)(bool keepIt);

    // --- menus and the built-in library
    GSErrCode (*Register_Menu)(int16_t menuStrResID, int16_t promptStrResID, int32_t menuPosCode, int32_t menuFlags);
    GSErrCode (*Install_MenuHandler)(int16_t menuStrResID, API_MenuCommandProc* handlerProc);
    GSErrCode (*Register_BuiltInLibrary)();

    // --- notifications
    GSErrCode (*Notify_CatchProjectEvent)(int32_t eventMask, API_ProjectEventHandlerProc* handlerProc);
    // elemType null: every element type.
    GSErrCode (*Notify_CatchNewElement)(const API_ElemTypeID* elemType, API_ElementEventHandlerProc* handlerProc);
    GSErrCode (*Notify_InstallElementObserver)(API_ElementEventHandlerProc* handlerProc);
    GSErrCode (*Notify_CatchToolChange)(API_ToolChangeHandlerProc* handlerProc);

    // --- the project's module data; name "" is the unnamed entry
    GSErrCode (*ModulData_Store)(const API_ModulData* info, const char* modulName);
    GSErrCode (*ModulData_Get)(API_ModulData* info, const char* modulName);
    GSErrCode (*ModulData_Delete)(const char* modulName);

    // --- modeless windows
    GSErrCode (*RegisterModelessWindow)(int32_t referenceID, API_PaletteControlCallBackProc* callBackProc,
                                        int32_t controlFlags, const API_Guid* paletteGuid);
    GSErrCode (*UnregisterModelessWindow)(int32_t referenceID);

    // --- the host's report log (the module's call log goes here)
    GSErrCode (*WriteReport)(const char* text);

    // --- library parts of the project's loaded libraries
    // Search: by ownUnID when set, else by docu_UName and typeID (0: any type), ignoring letter case.
    GSErrCode (*LibPart_Search)(API_LibPart* libPart);
    // Get: the part of libPart->index.
    GSErrCode (*LibPart_Get)(API_LibPart* libPart);
    // The part's default parameters: A and B, the record count and a new handle of API_AddParType records
    // (arrays hold their cells in handles of their own); the caller releases the handles. Null outputs are
    // skipped.
    GSErrCode (*LibPart_GetParams)(int32_t libInd, double* a, double* b, int32_t* addParNum, GSHandle* addPars);

    // --- library-part parameter lists (Goodies family): 'OPAR' opens a library part's default parameters,
    //     'GPAR' hands out a copy of them, 'CPAR' closes them
    API_SelectorFamilyProc* Goodies;

    // New entries go here, at the end.
};
static_assert(std::is_trivially_copyable<API_HostFunctionTable>::value, "the host table is copied bytewise");

constexpr uint32_t API_HostFunctionTableVersion = 1;

// The two exports of the module.
extern "C" {
typedef GSErrCode API_GetExportedFuncAddrsProc(API_EntryTable* entryTable, uint32_t entryTableSize);
typedef GSErrCode API_SetImportedFuncAddrsProc(const API_HostFunctionTable* hostTable);
}

#include "APISelectors.hpp"
