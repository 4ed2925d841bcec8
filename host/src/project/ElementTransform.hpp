#pragma once
// The user's edits as transformations of an element.
#include "APIInteraction.hpp"
#include "project/ProjectModel.hpp"

// Applies an edit's transformation to an element's record and memo (points, angles, levels, sizes). 'STRE'
// moves the whole element by the displacement; 'VSTR' and 'ELEV' lift it. False for an unknown edit type.
bool TransformElement(StoredElement& element, const API_ActTranPars& tranPars);
