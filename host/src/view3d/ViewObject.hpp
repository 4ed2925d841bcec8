#pragma once
// The GDL object the 3D view is saved as ('SAVE', format 3): a library part whose parameters A, B and ZZYZX are
// the extent of what the view shows and whose 3D script lists it in project coordinates (metres): a first line
// naming the file, the placing lines (MULX, MULY, MULZ 1; ADDX, ADDY, ADDZ 0), then one comment line per shown
// element with its type, GUID, name and box, then the closing DEL.
//
// This host keeps no 3D bodies: the listing gives each element's identity and box, which is what the host knows
// of its model. A host with bodies would list them where the comment lines stand.
#include "APIView3D.hpp"
#include "library/LibraryPart.hpp"

#include <string>
#include <vector>

class ProjectDatabase;

// The object of `fileName` ("tmpCL.gsm": the part is "tmpCL") for the shown elements (those without a box are
// left out). False with `why` when none of them has a box.
bool MakeViewObject(const ProjectDatabase& db, const std::vector<API_Guid>& shown,
                    const API_3DProjectionInfo& projection, const std::string& fileName, LibPartDef* part,
                    std::string* why);
