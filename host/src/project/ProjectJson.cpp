// The project as readable JSON: windows, stories, layers, the selection, undo steps and every element with its
// record fields, memo, library-part parameters and user data.
#include "project/ProjectDatabase.hpp"

#include "TextFields.hpp"
#include "UniString.hpp"
#include "project/ElementTypes.hpp"

#include <nlohmann/json.hpp>

#include <cstring>

using json = nlohmann::ordered_json;

namespace {
std::string Utf8(const char16_t* units, size_t max) {
    size_t n = 0;
    while (n < max && units[n] != 0) ++n;
    return GS::UniString(units, uint32_t(n)).ToUtf8();
}

std::string Utf8(const std::u16string& s) { return GS::UniString(s).ToUtf8(); }

// Bytes of the Windows-1252 range as UTF-8 (the user data is text in the system code page).
std::string Cp1252ToUtf8(const std::string& bytes) {
    static const char16_t k80[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                     0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    std::u16string u;
    for (const char c : bytes) {
        const uint8_t b = uint8_t(c);
        u += b >= 0x80 && b < 0xA0 ? k80[b - 0x80] : char16_t(b);
    }
    return GS::UniString(u).ToUtf8();
}

json Coord(const API_Coord& c) { return json::array({c.x, c.y}); }
json Coord3(const API_Coord3D& c) { return json::array({c.x, c.y, c.z}); }

json Polygon(const API_Polygon& p) { return {{"nCoords", p.nCoords}, {"nSubPolys", p.nSubPolys}, {"nArcs", p.nArcs}}; }

json RecordFields(const API_Element& e) {
    switch (e.header.typeID) {
        case API_WallID:
            return {{"begC", Coord(e.wall.begC)},
                    {"endC", Coord(e.wall.endC)},
                    {"height", e.wall.height},
                    {"thickness", e.wall.thickness},
                    {"poly", Polygon(e.wall.poly)}};
        case API_WindowID:
        case API_DoorID: return {{"libInd", e.window.libInd}, {"width", e.window.width}, {"height", e.window.height}};
        case API_ObjectID:
        case API_LampID:
            return {{"libInd", e.object.libInd}, {"pos", Coord(e.object.pos)},     {"level", e.object.level},
                    {"angle", e.object.angle},   {"xRatio", e.object.xRatio},      {"yRatio", e.object.yRatio},
                    {"pen", e.object.pen},       {"reflected", e.object.reflected}};
        case API_SlabID:
            return {{"thickness", e.slab.thickness}, {"level", e.slab.level}, {"poly", Polygon(e.slab.poly)}};
        case API_RoofID:
            return {{"thickness", e.roof.thickness}, {"level", e.roof.level}, {"poly", Polygon(e.roof.poly)}};
        case API_MeshID:
            return {{"level", e.mesh.level},
                    {"topMat", e.mesh.topMat},
                    {"skirt", e.mesh.skirt},
                    {"skirtMat", e.mesh.skirtMat},
                    {"skirtLevel", e.mesh.skirtLevel},
                    {"poly", Polygon(e.mesh.poly)},
                    {"levelCoords", e.mesh.levelLines.nCoords},
                    {"levelLines", e.mesh.levelLines.nSubLines},
                    {"pen", e.mesh.pen},
                    {"ridgePen", e.mesh.ridgePen},
                    {"ltypeInd", e.mesh.ltypeInd},
                    {"buildingMat", e.mesh.buildingMat},
                    {"sectPen", e.mesh.sectPen},
                    {"sectFillPen", e.mesh.sectFillPen},
                    {"sectFillBGPen", e.mesh.sectFillBGPen},
                    {"overrideSectFillPen", e.mesh.overrideSectFillPen},
                    {"overrideSectFillBGPen", e.mesh.overrideSectFillBGPen},
                    {"sideMat", e.mesh.sideMat},
                    {"botMat", e.mesh.botMat},
                    {"overrideTopMat", e.mesh.overrideTopMat},
                    {"overrideSideMat", e.mesh.overrideSideMat},
                    {"overrideBotMat", e.mesh.overrideBotMat},
                    {"planTriangles", e.mesh.planTriangles},
                    {"showPlanTriangles", e.mesh.showPlanTriangles},
                    {"showLevelLines3D", e.mesh.showLevelLines3D},
                    {"triangles3D", e.mesh.triangles3D}};
        case API_TextID:
            return {{"loc", Coord(e.text.loc)},
                    {"font", e.text.font},
                    {"fontSetCode", e.text.fontSetCode},
                    {"size", e.text.size}};
        case API_ZoneID: return {{"libInd", e.zone.libInd}, {"poly", Polygon(e.zone.poly)}};
        case API_HatchID:
            return {{"contPen", e.hatch.contPen}, {"fillPen", e.hatch.fillPen},       {"fillBGPen", e.hatch.fillBGPen},
                    {"fillInd", e.hatch.fillInd}, {"hatchValue", e.hatch.hatchValue}, {"poly", Polygon(e.hatch.poly)}};
        case API_LineID: return {{"begC", Coord(e.line.begC)}, {"endC", Coord(e.line.endC)}, {"pen", e.line.pen}};
        case API_PolyLineID:
        case API_DetailID: return {{"pen", e.polyLine.pen}, {"poly", Polygon(e.polyLine.poly)}};
        case API_ArcID:
        case API_CircleID:
            return {{"origC", Coord(e.arc.origC)}, {"r", e.arc.r},           {"ratio", e.arc.ratio},
                    {"begAng", e.arc.begAng},      {"endAng", e.arc.endAng}, {"whole", e.arc.whole}};
        case API_SplineID: return {{"closed", e.spline.closed}};
        case API_HotspotID: return {{"pos", Coord(e.hotspot.pos)}, {"height", e.hotspot.height}};
        case API_CameraID:
            return {{"camSetGuid", GuidText(e.camera.camSetGuid)},
                    {"prevCam", GuidText(e.camera.prevCam)},
                    {"pos", Coord(e.camera.pos)},
                    {"target", Coord(e.camera.target)},
                    {"cameraZ", e.camera.cameraZ},
                    {"targetZ", e.camera.targetZ},
                    {"distance", e.camera.distance},
                    {"viewAngle", e.camera.viewAngle}};
        case API_CamSetID: return {{"name", Utf8(e.camset.name, 64)}, {"frameCount", e.camset.frameCount}};
        case API_CutPlaneID:
        case API_ElevationID:
        case API_InteriorElevationID:
        case API_WorksheetID:
            return {{"begC", Coord(e.cutPlane.begC)},
                    {"endC", Coord(e.cutPlane.endC)},
                    {"database", GuidText(e.cutPlane.databaseUnId)}};
        default: return json::object();
    }
}

json ParamValue(const StoredParam& p) {
    const API_AddParType& r = p.record;
    if (!p.IsArray()) {
        if (r.typeID == APIParT_Text) return Utf8(r.value.uStr, 256);
        return r.value.real;
    }
    const size_t cells = size_t(r.dim1 > 0 ? r.dim1 : 0) * size_t(r.dim2 > 0 ? r.dim2 : 0);
    json flat = json::array();
    if (r.typeID == APIParT_Text) {
        // Texts one after another, each ended by a 0 unit.
        const size_t units = p.cells.size() / 2;
        std::u16string cur;
        for (size_t i = 0; i < units && flat.size() < cells; ++i) {
            char16_t u;
            std::memcpy(&u, p.cells.data() + 2 * i, 2);
            if (u == 0) {
                flat.push_back(Utf8(cur));
                cur.clear();
            } else {
                cur += u;
            }
        }
    } else {
        for (size_t i = 0; i < cells && (i + 1) * 8 <= p.cells.size(); ++i) {
            double d;
            std::memcpy(&d, p.cells.data() + 8 * i, 8);
            flat.push_back(d);
        }
    }
    json rows = json::array();
    for (int32_t i = 0; i < r.dim1; ++i) {
        json row = json::array();
        for (int32_t j = 0; j < r.dim2; ++j) {
            const size_t k = size_t(i) * size_t(r.dim2) + size_t(j);
            row.push_back(k < flat.size() ? flat[k] : json(nullptr));
        }
        rows.push_back(row);
    }
    return rows;
}

json Params(const std::vector<StoredParam>& params) {
    json out = json::array();
    for (const StoredParam& p : params) {
        json j = {{"name", FieldText(p.record.name, sizeof p.record.name)}, {"typeID", p.record.typeID}};
        if (p.IsArray()) j["dims"] = json::array({p.record.dim1, p.record.dim2});
        j["value"] = ParamValue(p);
        out.push_back(j);
    }
    return out;
}

json Memo(const StoredMemo& m) {
    json out = json::object();
    if (m.coords) {
        json c = json::array();
        for (const API_Coord& p : *m.coords) c.push_back(Coord(p));
        out["coords"] = c;
    }
    if (m.pends) out["pends"] = *m.pends;
    if (m.parcs) {
        json a = json::array();
        for (const API_PolyArc& p : *m.parcs) a.push_back(json::array({p.begIndex, p.endIndex, p.arcAngle}));
        out["arcs"] = a;
    }
    if (m.vertexIDs) out["vertexIDs"] = *m.vertexIDs;
    if (m.meshPolyZ) out["meshPolyZ"] = *m.meshPolyZ;
    if (m.meshLevelCoords) {
        json a = json::array();
        for (const API_MeshLevelCoord& p : *m.meshLevelCoords) a.push_back(Coord3(p.c));
        out["meshLevelCoords"] = a;
    }
    if (m.bezierDirs) out["bezierDirs"] = m.bezierDirs->size();
    if (m.elemInfoString) out["infoString"] = Utf8(*m.elemInfoString);
    if (m.textContent) out["text"] = *m.textContent;
    if (m.textLineStarts) out["lineStarts"] = *m.textLineStarts;
    return out;
}

json UserData(const StoredUserData& stored) {
    const std::string bytes = stored.bytes.str();
    json j = {{"version", stored.dataVersion},
              {"platformSign", stored.platformSign},
              {"flags", stored.flags},
              {"size", bytes.size()}};
    // The texts the bytes hold: every run of non-zero bytes with its offset.
    json runs = json::array();
    size_t i = 0;
    while (i < bytes.size()) {
        if (bytes[i] == '\0') {
            ++i;
            continue;
        }
        const size_t start = i;
        while (i < bytes.size() && bytes[i] != '\0') ++i;
        runs.push_back({{"offset", start}, {"text", Cp1252ToUtf8(bytes.substr(start, i - start))}});
    }
    j["texts"] = runs;
    return j;
}

std::string WindowKind(int32_t typeID) {
    switch (typeID) {
        case APIWind_FloorPlanID: return "floor plan";
        case APIWind_SectionID: return "section";
        case APIWind_DetailID: return "detail";
        case APIWind_3DModelID: return "3D model";
        case APIWind_ElevationID: return "elevation";
        case APIWind_InteriorElevationID: return "interior elevation";
        case APIWind_WorksheetID: return "worksheet";
        default: return "kind " + std::to_string(typeID);
    }
}
}  // namespace

json ProjectDatabase::ElementJson(const API_Guid& g) const {
    const StoredElement& e = *Find(g);
    const API_Elem_Head& h = e.record.header;
    json j = {{"guid", GuidText(g)},
              {"type", ElementTypeName(h.typeID)},
              {"typeID", h.typeID},
              {"layer", h.layer},
              {"story", h.floorInd}};
    if (!e.name.empty()) j["name"] = e.name;
    if (h.groupGuid != API_Guid{}) j["group"] = GuidText(h.groupGuid);
    const StoredDatabase* where = Database(e.database);
    j["database"] = where != nullptr ? WindowKind(where->info.typeID) : "?";
    j["record"] = RecordFields(e.record);
    if ((h.typeID == API_ObjectID || h.typeID == API_LampID) && libPartName)
        j["libPart"] = libPartName(e.record.Get().object.libInd);
    const json memo = Memo(e.memo);
    if (!memo.empty()) j["memo"] = memo;
    if (e.memo->params) j["parameters"] = Params(*e.memo->params);
    if (e.userData) j["userData"] = UserData(*e.userData);
    return j;
}

json ProjectDatabase::ToJson(bool elements) const {
    json out;
    out["window"] = {{"kind", WindowKind(frontWindow_.typeID)}, {"typeID", frontWindow_.typeID}};
    API_DatabaseInfo db;
    GetCurrentDatabase(&db);
    out["database"] = {{"kind", WindowKind(db.typeID)}, {"typeID", db.typeID}, {"title", Utf8(db.title, 128)}};
    out["currentStory"] = currentStory_;
    json stories = json::array();
    for (const API_StoryType& s : model_.stories)
        stories.push_back({{"index", s.index}, {"level", s.level}, {"name", Utf8(s.uName, 128)}});
    out["stories"] = stories;
    json layers = json::array();
    const auto layerList = model_.attributes.find(API_LayerID);
    if (layerList != model_.attributes.end())
        for (const StoredAttribute& a : layerList->second) {
            if (a.deleted) continue;
            const uint32_t f = a.record.header.flags;
            layers.push_back({{"index", a.record.header.index},
                              {"name", FieldText(a.record.header.name, sizeof a.record.header.name)},
                              {"flags", f},
                              {"hidden", (f & APILay_Hidden) != 0},
                              {"locked", (f & APILay_Locked) != 0}});
        }
    out["layers"] = layers;
    out["toolbox"] = {{"typeID", toolbox_.typeID}, {"variationID", toolbox_.variationID}};
    json sel = json::array();
    for (const API_Guid& g : Selection()) sel.push_back(GuidText(g));
    out["selection"] = sel;
    out["undoSteps"] = undoTexts_;
    out["rebuilds"] = rebuilds_;
    json databases = json::array();
    for (const StoredDatabase& d : model_.databases) {
        json j = {{"kind", WindowKind(d.info.typeID)},
                  {"id", GuidText(d.info.databaseUnId)},
                  {"title", Utf8(d.info.title, 128)}};
        if (d.info.typeID == APIWind_WorksheetID) {
            j["name"] = Utf8(d.info.name, 128);
            j["ref"] = Utf8(d.info.ref, 32);
        }
        databases.push_back(j);
    }
    out["databases"] = databases;

    if (elements) {
        json list = json::array();
        for (const API_Guid& g : AllElements()) list.push_back(ElementJson(g));
        out["elements"] = list;
    }
    if (!model_.solidLinks.empty()) {
        json links = json::array();
        for (const StoredSolidLink& l : model_.solidLinks) {
            std::string operation;
            for (int shift = 24; shift >= 0; shift -= 8) operation += char((l.operation >> shift) & 0xFF);
            links.push_back({{"target", GuidText(l.target)},
                             {"operator", GuidText(l.operatorGuid)},
                             {"operation", operation},
                             {"flags", l.flags},
                             {"time", l.time},
                             {"subTime", l.subTime}});
        }
        out["solidLinks"] = links;
    }
    return out;
}

namespace {
// Pretty form in which arrays of plain values (points, heights, cells) stay on one line.
void Write(const json& j, int indent, int depth, std::string& out) {
    const std::string pad(size_t(indent * (depth + 1)), ' ');
    const std::string closePad(size_t(indent * depth), ' ');
    if (j.is_object() && !j.empty()) {
        bool flat = j.size() <= 6;
        for (const auto& e : j) flat = flat && !e.is_structured();
        if (flat) {
            // Small records of plain values on one line.
            out += "{";
            size_t i = 0;
            for (auto it = j.begin(); it != j.end(); ++it, ++i)
                out += (i > 0 ? ", " : "") + json(it.key()).dump() + ": " +
                    it.value().dump(-1, ' ', false, json::error_handler_t::replace);
            out += "}";
            return;
        }
        out += "{\n";
        size_t i = 0;
        for (auto it = j.begin(); it != j.end(); ++it, ++i) {
            out += pad + json(it.key()).dump() + ": ";
            Write(it.value(), indent, depth + 1, out);
            out += i + 1 < j.size() ? ",\n" : "\n";
        }
        out += closePad + "}";
        return;
    }
    if (j.is_array() && !j.empty()) {
        bool flat = true;
        for (const json& e : j) flat = flat && !e.is_structured();
        if (flat) {
            std::string line;
            for (size_t i = 0; i < j.size(); ++i)
                line += (i > 0 ? ", " : "") + j[i].dump(-1, ' ', false, json::error_handler_t::replace);
            out += "[" + line + "]";
            return;
        }
        out += "[\n";
        for (size_t i = 0; i < j.size(); ++i) {
            out += pad;
            Write(j[i], indent, depth + 1, out);
            out += i + 1 < j.size() ? ",\n" : "\n";
        }
        out += closePad + "]";
        return;
    }
    out += j.dump(-1, ' ', false, json::error_handler_t::replace);
}
}  // namespace

std::string ProjectDatabase::DumpJson(int indent) const {
    std::string out;
    Write(ToJson(), indent, 0, out);
    return out;
}
