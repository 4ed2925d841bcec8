#pragma once
// Selectors of the host's selector families and the record each one takes.
//
// A selector is a tag value (API_SelectorTag<code>); the family's traits template is specialised once per selector
// with the types of its first and second record (void when unused). The module's ACAPI_Environment and
// ACAPI_Interface take the tag and records of exactly those types; an unlisted selector does not compile.
//
// To add a selector: a constant here, a traits specialisation with its records (records go to APIDefs.hpp), and
// the host's handler for it. To add a family: a traits template, an entry at the end of API_HostFunctionTable
// and an ACAPI_ wrapper in the module.
#include "APIHostTable.hpp"
#include "IO.hpp"

#include <cstdint>

template <uint32_t Code>
struct API_SelectorTag {
    static constexpr uint32_t code = Code;
};

// Size of a record type; 0 for "no record".
template <typename T>
struct API_RecordSize {
    static constexpr uint32_t value = uint32_t(sizeof(T));
};
template <>
struct API_RecordSize<void> {
    static constexpr uint32_t value = 0;
};

// --- Environment family ------------------------------------------------------------------------------------------
template <uint32_t Code>
struct API_EnvironmentRecords;  // specialised per selector

// 'APPL': application information (main version, language code).
constexpr API_SelectorTag<API_Selector("APPL")> APIEnv_ApplicationID{};
template <>
struct API_EnvironmentRecords<API_Selector("APPL")> {
    using Par1 = API_ServerApplicationInfo;
    using Par2 = void;
};

// 'ALIB': adds a folder to the project's libraries and loads it.
constexpr API_SelectorTag<API_Selector("ALIB")> APIEnv_AddLibrariesID{};
template <>
struct API_EnvironmentRecords<API_Selector("ALIB")> {
    using Par1 = IO::Location;
    using Par2 = void;
};

// --- Interface family --------------------------------------------------------------------------------------------
template <uint32_t Code>
struct API_InterfaceRecords;  // specialised per selector

// 'SMIT': set the text of one of the add-on's menu items.
constexpr API_SelectorTag<API_Selector("SMIT")> APIIo_SetMenuItemTextID{};
template <>
struct API_InterfaceRecords<API_Selector("SMIT")> {
    using Par1 = API_MenuItemText;
    using Par2 = void;
};

// --- Command codes of other add-ons (ACAPI_Command_Test) ---------------------------------------------------------
// 'SUIT': the suite add-on answers when it is loaded.
constexpr int32_t APICmd_SuiteID = int32_t(API_Selector("SUIT"));

// --- Goodies family: library-part parameter lists ----------------------------------------------------------------
template <uint32_t Code>
struct API_GoodiesRecords;  // specialised per selector

// 'OPAR': opens the default parameters of a library part (one list open at a time; opening again replaces it).
constexpr API_SelectorTag<API_Selector("OPAR")> APIAny_OpenParametersID{};
template <>
struct API_GoodiesRecords<API_Selector("OPAR")> {
    using Par1 = API_ParamOwnerType;
    using Par2 = void;
};
// 'GPAR': a copy of the open list (A, B, the records); the caller releases the handle.
constexpr API_SelectorTag<API_Selector("GPAR")> APIAny_GetActParametersID{};
template <>
struct API_GoodiesRecords<API_Selector("GPAR")> {
    using Par1 = API_GetParamsType;
    using Par2 = void;
};
// 'CPAR': closes the open list.
constexpr API_SelectorTag<API_Selector("CPAR")> APIAny_CloseParametersID{};
template <>
struct API_GoodiesRecords<API_Selector("CPAR")> {
    using Par1 = void;
    using Par2 = void;
};
