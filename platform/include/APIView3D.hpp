#pragma once
// The 3D view as the module drives it: what it shows ("SS3D" the selection, "SA3D" everything), its projection
// ("GP3D" / "CP3D"), and saving what it shows as a GDL object ('SAVE' with file type 17) into one of the
// project's libraries, whose list 'GLIB' answers with the index of the library new objects go to.
#include "APIDefs.hpp"
#include "APISelectors.hpp"
#include "GSArray.hpp"
#include "IO.hpp"
#include "UniString.hpp"

#include <cstdint>
#include <type_traits>

// One library of the project, as 'GLIB' lists it.
struct API_LibraryInfo {
    IO::Location location;    // its folder
    GS::UniString name;       // the folder's own name
    GS::UniString serverUrl;  // "" for a library on this machine
    GS::UniString userName;   // "" for a library on this machine
};

// The 3D view's projection. A parallel projection looks from `azimuth` (degrees, counter-clockwise from the x
// axis) down by the angle of its view; the sun lights it from `sunAzimuth` at `sunAltitude` degrees. The two
// matrices (3 x 4, row by row) take model coordinates to view coordinates and back.
constexpr int32_t API3DProj_Perspective = 1;
constexpr int32_t API3DProj_Axonometric = 3;  // the parallel projection the saved objects are made in
struct API_3DProjectionInfo {
    uint8_t isPersp;  // 1 perspective, 0 parallel
    uint8_t filler0[3];
    int32_t projMode;    // API3DProj_*
    double azimuth;      // the angle pair of the parallel view: the view's azimuth ...
    double sunAzimuth;   // ... and the sun's
    double sunAltitude;  // the sun's altitude
    double transform[12];
    double inverse[12];
    int32_t reserved[8];
};
static_assert(std::is_trivially_copyable<API_3DProjectionInfo>::value && sizeof(API_3DProjectionInfo) == 256,
              "API_3DProjectionInfo layout");

// 'SAVE' of the 3D view: the file to write and its type.
constexpr int32_t APIFType_GDLObject = 17;
struct API_FileSavePars {
    int32_t fileTypeID;  // APIFType_GDLObject
    int32_t reserved0;
    IO::Location* file;  // owned by the caller
    int32_t reserved[6];
};
static_assert(std::is_trivially_copyable<API_FileSavePars>::value, "API_FileSavePars is plain");

// How a GDL object is saved: format 3 lists the model's bodies in its 3D script.
constexpr int32_t APIObjectSave_ModelScript = 3;
struct API_SavePars_Object {
    int32_t format;  // APIObjectSave_ModelScript
    int32_t reserved[7];
};
static_assert(std::is_trivially_copyable<API_SavePars_Object>::value, "API_SavePars_Object is plain");

// 'GLIB': the project's libraries (the list is emptied first) and, in the second record, the 0-based index of
// the embedded library, the one new objects are saved into (-1 when there is none).
constexpr API_SelectorTag<API_Selector("GLIB")> APIEnv_GetLibrariesID{};
template <>
struct API_EnvironmentRecords<API_Selector("GLIB")> {
    using Par1 = GS::Array<API_LibraryInfo>;
    using Par2 = int32_t;
};

// 'SLIB': replaces the project's libraries by the given list, loaded in its order (only the locations count).
constexpr API_SelectorTag<API_Selector("SLIB")> APIEnv_SetLibrariesID{};
template <>
struct API_EnvironmentRecords<API_Selector("SLIB")> {
    using Par1 = GS::Array<API_LibraryInfo>;
    using Par2 = void;
};

// "GP3D" / "CP3D": read / set the 3D view's projection.
constexpr API_SelectorTag<API_Selector("GP3D")> APIEnv_Get3DProjectionSetsID{};
template <>
struct API_EnvironmentRecords<API_Selector("GP3D")> {
    using Par1 = API_3DProjectionInfo;
    using Par2 = void;
};
constexpr API_SelectorTag<API_Selector("CP3D")> APIEnv_Change3DProjectionSetsID{};
template <>
struct API_EnvironmentRecords<API_Selector("CP3D")> {
    using Par1 = API_3DProjectionInfo;
    using Par2 = void;
};

// "SS3D" / "SA3D": the 3D window comes to the front showing the selected elements / every element.
constexpr API_SelectorTag<API_Selector("SS3D")> APIDo_ShowSelectionIn3DID{};
template <>
struct API_AutomateRecords<API_Selector("SS3D")> {
    using Par1 = void;
    using Par2 = void;
};
constexpr API_SelectorTag<API_Selector("SA3D")> APIDo_ShowAllIn3DID{};
template <>
struct API_AutomateRecords<API_Selector("SA3D")> {
    using Par1 = void;
    using Par2 = void;
};

// 'SAVE': writes what the 3D view shows to a file of the given type.
constexpr API_SelectorTag<API_Selector("SAVE")> APIDo_SaveID{};
template <>
struct API_AutomateRecords<API_Selector("SAVE")> {
    using Par1 = API_FileSavePars;
    using Par2 = API_SavePars_Object;
};
