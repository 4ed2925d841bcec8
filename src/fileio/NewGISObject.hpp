#pragma once
// A new GIS object made from "GIS_PROTOTYPE": its sections, "GIS_SUBTYPE" as its parent, and its parameters the
// prototype's first ones followed by one per row of the parameter table, each with a variable name of a prefix
// by type and a running number per type ("C_1", "T_1", "I_1", "R_1" ...).
#include "fileio/GISObjects.hpp"

// The table for the ticked fields: a title row ("Data imported from shapefile"), then one row per ticked field,
// typed by its kind (text string, integer, decimals real number).
void SetNewObjectParamTable(const QV_List<DBFFieldData>& fields);
// The variable name of table row `row` (running numbers counted over the rows before it).
QV_String NewObjectParamName(int32_t row);
// Makes and saves the part `name` in `folder` ("\"-separated), overwriting a part of that name. True, with its
// library index, when it was made.
bool CreateGISLibPart(const QV_String& name, int32_t prototypeIndex, const QV_String& folder, int32_t& index);
