#pragma once
// The host's own settings dialogs as the module opens them: a tool's settings dialog ('SETD') and the object
// settings dialog with a library-part subtype filter ('OBJS'); and the comparison of two library-part unique ids
// ('COMP') that subtype tests use. Both dialogs edit the tool's defaults; the user may cancel (APIERR_CANCEL).
#include "APIDefs.hpp"
#include "APIElements.hpp"
#include "APISelectors.hpp"

#include <cstdint>
#include <type_traits>

// The root of the library-part hierarchy: every part derives from it, directly or through its ancestors.
constexpr const char* API_LibPartHierarchyRoot =
    "{F938E33A-329D-4A36-BE3E-85E126820996}-{00000000-0000-0000-0000-000000000000}";

// 'SETD': opens the settings dialog of the tool (type id, variation id). 0 when the user closed it with OK (the
// tool's defaults then hold what the user set).
constexpr API_SelectorTag<API_Selector("SETD")> APIIo_SettingsDialogID{};
template <>
struct API_InterfaceRecords<API_Selector("SETD")> {
    using Par1 = API_ToolBoxItem;
    using Par2 = void;
};

// The record of the object settings dialog. In: the tool and the subtype filter (a unique id; "" offers every
// part). Out on OK: the tool's new default element and a new handle of its API_AddParType records (array cells in
// handles of their own), which the caller releases.
struct API_ObjectSettingsPars {
    API_ToolBoxItem tool;
    char subtypeID[128];
    API_Element element;
    GSHandle params;
    int32_t paramCount;
    int32_t reserved[5];
};
static_assert(std::is_trivially_copyable<API_ObjectSettingsPars>::value, "API_ObjectSettingsPars is plain");

// 'OBJS': opens the object settings dialog with the record.
constexpr API_SelectorTag<API_Selector("OBJS")> APIIo_ObjectSettingsID{};
template <>
struct API_InterfaceRecords<API_Selector("OBJS")> {
    using Par1 = API_ObjectSettingsPars;
    using Par2 = void;
};

// A library-part unique id as 'COMP' takes it: "{main}-{revision}", NUL-ended.
struct API_LibPartUnIDText {
    char text[128];
};

// 'COMP': compares two unique ids. APIERR_COMPEQUAL: the same id; 0: the same part in another revision;
// APIERR_GENERAL: different parts; APIERR_BADPARS: a text that is no unique id.
constexpr API_SelectorTag<API_Selector("COMP")> APIAny_CompareLibPartUnIdsID{};
template <>
struct API_GoodiesRecords<API_Selector("COMP")> {
    using Par1 = API_LibPartUnIDText;
    using Par2 = API_LibPartUnIDText;
};
