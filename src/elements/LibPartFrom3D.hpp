#pragma once
// The library part generated from the 3D view (BaseCls::CreateLibPartObject): the host saves the element's 3D
// view as the GDL object "tmpCL.gsm" in the library its library list names; its scripts are rewritten so that the
// object sits at its own origin and scales with A and B; it is copied into a part named after the element's
// terrain identifier, which the element class then places.
//
// The steps are public for their callers and tests; every one reports failure by its result and shows nothing.
#include "elements/BaseCls.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include "APICoord.hpp"

// The temporary object's file and its part's name.
extern const char* const TempLibPartFile;  // "tmpCL.gsm"
extern const char* const TempLibPartName;  // "tmpCL"

// "CL" and zeros, 45 characters, ending with the base name: the terrain identifier with its first '_' removed.
// A base of more than 43 characters keeps its last 43 (the serial at its end tells the parts of one terrain
// apart), so every name is 45 characters and starts with "CL".
QV_String GeneratedPartName(const QV_String& terrainId);

// Saves the selected element's 3D view as the temporary object in the library the host names for new objects
// (its folder + "\tmpCL.gsm" in `outPath`), in a parallel projection that is restored afterwards, then rewrites
// the object's scripts for `partName` and has the host rewrite it with its own sections. The 3D view shows
// everything again, the floor plan comes to the front and nothing is selected afterwards. False, and the
// temporary part of an earlier run left as it was, when there is no library to save into or the view cannot be
// saved; false too when a rewrite fails.
bool SaveViewAsTempLibPart(const BaseCls& cls, const QV_String& partName, QV_String& outPath);

// The temporary part's 2D script becomes "PROJECT2 3, 270, 2". False when the part is missing or the write fails.
bool WriteTempLibPart2DScript(const BaseCls& cls);

// The temporary part's 3D script rewritten by RewriteViewScriptLines with the class's bounds. False when the part
// or its 3D script is missing or the write fails.
bool RewriteTempLibPart3DScript(const BaseCls& cls, const QV_String& partName);

// The rules of the rewrite over the script's lines (without line breaks): the first line naming "tmpCL.gsm"
// (exact case) names partName + ".gsm" instead; every line with "ADDZ" goes; then, ignoring case, the first line
// with "MULX" becomes "MULX A/<width>", with "MULY" "MULY B/<depth>", with "ADDX" "ADDX <-xMin>", with "ADDY"
// "ADDY <-yMin>", and with "BINARY" "BINARY 0,1". Numbers are metres with 3 decimals in the host's number format,
// with '.' for the decimal separator, never cut.
void RewriteViewScriptLines(QV_List<QV_String>& lines, const QV_String& partName, const API_Box3D& bounds);

// Copies the temporary part, with the class's width and depth as A and B, into the new part `partName` in the
// temporary part's folder. False when the temporary part is missing or the copy fails.
bool CreateLibPartFromTemp(const BaseCls& cls, const QV_String& partName);
