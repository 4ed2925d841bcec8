#pragma once
// Parameter definition sections ('PARD' content): a block only the host reads. Made from parameter
// definitions, the sizes A and B and the details (null when memory fails); read back with every size checked
// (false with `why` for a block that is not one or is cut short).
#include "GSRoot.hpp"
#include "library/LibraryPart.hpp"

#include <string>
#include <vector>

GSHandle MakeParamDefSection(const std::vector<LibParamDef>& params, double a, double b,
                             const API_LibPartDetails& details);
bool ReadParamDefSection(GSConstHandle section, std::vector<LibParamDef>* params, double* a, double* b,
                         API_LibPartDetails* details, std::string* why);
// Writes the details into such a block; false when it is not one.
bool SetParamDefSectionDetails(GSHandle section, const API_LibPartDetails& details);
