#pragma once
// GIS objects: the library parts derived from "GIS_SUBTYPE" whose parameters, from the subtype's own on, take a
// shapefile's attributes by their descriptions. The lookups of the shapefile import's object mode: the objects
// loaded, those that fit a table, the parameter table of one object, and whether a name is taken.
#include "fileio/ShapeImportData.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include "APIDefs.hpp"
#include "GSRoot.hpp"

#include <cstdint>
#include <string>

constexpr const char* GISSubtypeName = "GIS_SUBTYPE";
constexpr const char* GISPrototypeName = "GIS_PROTOTYPE";

// Host parameter types of the attribute parameters.
constexpr int32_t GISParamTitle = 15;
constexpr int32_t GISParamInteger = 1;
constexpr int32_t GISParamLength = 2;
constexpr int32_t GISParamAngle = 3;
constexpr int32_t GISParamReal = 4;
constexpr int32_t GISParamString = 12;

// A row of the parameter table: an attribute parameter of the chosen object, or one a new object is to get.
struct SHPParamData {
    QV_String description;
    QV_String name;  // GDL variable name
    int32_t type = 0;
    QV_String field;  // the attribute field mapped to it
    QV_String value;  // string parameters: their text
};
QV_DECLARE_RELOCATABLE(SHPParamData);

// Shared by the object-select dialog, the new-object maker and the placement; rewritten by each import.
extern QV_List<SHPParamData> GISParamTable;

// A field of `kind` (1 text, 0 integer, negative decimals) fits a parameter of `type`.
bool FieldFitsParam(int16_t kind, int32_t type);
// Index of the object part of that name; false when none is loaded.
bool FindLibPartIndex(const QV_String& name, int32_t type, int32_t& index);
// The unique id of the part of that name; false when none is loaded.
bool GetLibPartUniqueId(const QV_String& name, int32_t type, std::string& id);
// How many parameters "GIS_SUBTYPE" has: where the attribute parameters of a GIS object begin (0 without it; -1
// when its parameters cannot be read, and so where the attributes begin is unknown).
int32_t GISAttributeStart();

// Every part whose parent is "GIS_SUBTYPE", but the prototype, sorted by name. False when the host refused a
// search or a part's record (the list is then incomplete).
bool CollectGISObjectNames(GISImportOptions& options);
// "none of these", then the GIS objects with a fitting parameter for every field of the table. False when the host
// refused a search, a part's record or a GIS object's parameters.
bool CollectMatchingGISObjects(ShapeImportData& data);
// The table filled with the attribute parameters (but "XYZ") of the named object; empty when it cannot be read.
void FillGISParamTable(const QV_String& objectName);

// The parameter of that name in a parameter handle, or null.
API_AddParType* FindParam(GSHandle params, const char* name);
// The display name of a parameter.
QV_String ParamDescription(const API_AddParType& param);

// A library part of `type` goes by the name's part after its last '\' and before its last '.', and is not
// marked missing. A search the host refused sets `refused` (when given) and answers true: a name that could not
// be checked is never taken as free.
bool LibPartNameInUse(const QV_String& name, int32_t type, bool* refused = nullptr);
