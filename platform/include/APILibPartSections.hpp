#pragma once
// Library-part sections and library-part creation: the section header, the parameter-details record, the
// overwrite switch ('OWLP') and the errors of these calls (their host functions are at the end of
// API_HostFunctionTable).
//
// A library part is a list of sections, each named by a four-character type and a sub-identifier:
// - 'PARD', the parameter definition section. Its content is a block only the host reads: the module gets one
//   from a parameter list and the sizes A and B (LibPart_GetSect_ParamDef), may set its details, and hands it
//   to a section update or add. It reads a part's parameters through LibPart_GetParams and 'OPAR'/'GPAR'/'CPAR'.
// - text sections (the scripts '1DSC', '2DSC', '3DSC', 'PRSC', 'UISC', 'VLSC', 'FWSC', 'BWSC' and the comment
//   'CMNT'): the content is the text in the system code page; the text itself also comes as a GS::UniString.
// - every other type: bytes the host keeps as they come.
#include "APIDefs.hpp"
#include "APISelectors.hpp"

#include <cstdint>
#include <type_traits>

// The two sections the add-on writes besides the parameters.
constexpr uint32_t API_SectParamDef = API_Selector("PARD");
constexpr uint32_t API_Sect1DScript = API_Selector("1DSC");  // master script
constexpr uint32_t API_Sect2DScript = API_Selector("2DSC");
constexpr uint32_t API_Sect3DScript = API_Selector("3DSC");
constexpr uint32_t API_SectComment = API_Selector("CMNT");

// Section header: what a section list holds per section and what a section read, update or add names.
struct API_LibPartSection {
    uint32_t sectType;  // four characters, the first in the top byte ('PARD' = 0x50415244)
    int16_t subIdent;   // tells sections of one type apart (0 for most)
    int16_t filler0;
    int32_t version;  // format version of the section, as the host gives it
    uint32_t flags;   // the host's own flags, handed back unchanged
    int32_t reserved[4];
};
static_assert(sizeof(API_LibPartSection) == 32 && std::is_trivially_copyable<API_LibPartSection>::value,
              "API_LibPartSection layout");

// Parameter details of a parameter definition section.
struct API_LibPartDetails {
    int32_t fixSize;      // 1: placed objects keep the part's size
    int32_t autoHotspot;  // 1: the host puts hotspots on the corners of the part's box
    int32_t reserved[6];
};
static_assert(sizeof(API_LibPartDetails) == 32 && std::is_trivially_copyable<API_LibPartDetails>::value,
              "API_LibPartDetails layout");

// A library part of that name exists and overwriting is off (or the other part lies in another library).
constexpr GSErrCode APIERR_NAMEALREADYUSED = GSErrCode(0x81060064u);
// The part has no section of that type and sub-identifier.
constexpr GSErrCode APIERR_NOSECTION = GSErrCode(0x81060065u);
// A section add or a save without a library part being created.
constexpr GSErrCode APIERR_NOTCREATING = GSErrCode(0x81060066u);

// 'OWLP': library-part creation may overwrite a part of the same name (true) or not (false, the default).
constexpr API_SelectorTag<API_Selector("OWLP")> APIEnv_OverwriteLibPartID{};
template <>
struct API_EnvironmentRecords<API_Selector("OWLP")> {
    using Par1 = bool;
    using Par2 = void;
};
