#include "view3d/ViewObject.hpp"

#include "project/ElementTypes.hpp"
#include "project/ProjectDatabase.hpp"

#include <algorithm>
#include <cstdio>

namespace {
std::string Number(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", v);
    return text;
}

LibParamDef Length(const char* name, double value) {
    LibParamDef p;
    p.name = name;
    p.typeID = LibParType::Length;
    p.numbers = {value};
    return p;
}

LibSectionDef Script(uint32_t type, const std::vector<std::string>& lines) {
    LibSectionDef s;
    s.type = type;
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    s.text = GS::UniString(text).ToU16String();
    return s;
}
}  // namespace

bool MakeViewObject(const ProjectDatabase& db, const std::vector<API_Guid>& shown,
                    const API_3DProjectionInfo& projection, const std::string& fileName, LibPartDef* part,
                    std::string* why) {
    std::vector<std::string> listing;
    API_Box3D extent = {};
    bool any = false;
    for (const API_Guid& guid : shown) {
        const StoredElement* e = db.Find(guid);
        API_Box3D box = {};
        if (e == nullptr || db.CalcBounds(guid, &box) != NoError) continue;
        listing.push_back("! " + ElementTypeName(e->record.header.typeID) + " {" + GuidText(guid) + "}" +
                          (e->name.empty() ? "" : " \"" + e->name + "\"") + ": box " + Number(box.xMin) + " " +
                          Number(box.yMin) + " " + Number(box.zMin) + " " + Number(box.xMax) + " " + Number(box.yMax) +
                          " " + Number(box.zMax));
        if (!any)
            extent = box;
        else
            extent = {std::min(extent.xMin, box.xMin), std::min(extent.yMin, box.yMin),
                      std::min(extent.zMin, box.zMin), std::max(extent.xMax, box.xMax),
                      std::max(extent.yMax, box.yMax), std::max(extent.zMax, box.zMax)};
        any = true;
    }
    db.ClearRefusal();
    if (!any) {
        *why = "the 3D view shows no element with an extent";
        return false;
    }
    const size_t dot = fileName.rfind('.');
    *part = LibPartDef();
    part->name = fileName.substr(0, dot == std::string::npos ? fileName.size() : dot);
    part->type = LibPartType_Object;
    part->params = {Length("A", extent.xMax - extent.xMin), Length("B", extent.yMax - extent.yMin),
                    Length("ZZYZX", extent.zMax - extent.zMin)};
    std::vector<std::string> script = {
        "! " + fileName,
        "! The 3D view saved as an object: " + std::to_string(listing.size()) + " element(s), " +
            (projection.isPersp != 0 ? std::string("perspective") : std::string("parallel")) + " view from " +
            Number(projection.azimuth) + " degrees",
        "MULX 1",
        "MULY 1",
        "MULZ 1",
        "ADDX 0",
        "ADDY 0",
        "ADDZ 0"};
    script.insert(script.end(), listing.begin(), listing.end());
    script.push_back("DEL 6");
    LibSectionDef params;  // the part's parameters are this section
    params.type = API_SectParamDef;
    part->sections = {params, Script(API_Sect2DScript, {"! " + fileName, "HOTSPOT2 0, 0"}),
                      Script(API_Sect3DScript, script)};
    return true;
}
