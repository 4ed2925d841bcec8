#pragma once
// A tree object's GDL parameters and the tree settings record: which parameter holds which field, and the reads
// and writes between them. Angles are kept in degrees in the record and in radians in "angolo" and "verso_ombra".
#include "elements/BaseLP.hpp"
#include "settings/TreeSettings.hpp"

#include "APIElements.hpp"

// The parameter of a field; null for the layer (the element's header) and for unknown ids.
const char* TreeParamName(int16_t field);

// Every field from its parameter (integers truncated toward zero, the companions of the pens and the text pen
// from their partners, the branches' and levels' companions left as they were), the layer from the element's
// header. A missing number leaves its field; a missing or non-text string leaves it empty.
void ReadTreeSettings(BaseLP& view, TreeSettings& settings, const API_Element& element);

// The parameters a new tree takes from the settings, apart from the branch structure and its counts. Empty texts
// are not written (status 5) and keep the part's default.
void WriteTreeSettings(BaseLP& view, const TreeSettings& settings);

// The flagged fields into an existing tree's parameters (a flagged companion writes its partner's value) and a
// flagged layer into its header. True when one of the fields that shape the branches (branches, levels, angle and
// their companions) is flagged.
bool WriteFlaggedTreeSettings(BaseLP& view, const TreeSettings& settings, const TreeChangeFlags& flags,
                              API_Element& element);

// The counts and the angle a tree's branches are grown from: "enne_rami", "enne_cicli", "angolo" in degrees.
// Counts that are no integers of 32 bits (NaN, beyond the range) read as 0, which no tree can be grown from.
void ReadTreeShape(BaseLP& view, int32_t& n, int32_t& levels, double& angleDegrees);
// Writes the counts, "angolo" and "max_height" 1.0, then grows the branch structure. False, with nothing grown,
// for counts no tree can be grown from.
bool WriteTreeShape(BaseLP& view, int32_t n, int32_t levels, double angleDegrees);
