// The DXF reader on any bytes, every layer taken (with constraints on inputs of odd length) as the layer dialog
// would: a read that succeeds gives finite points inside its bounds, vertices no two within the store's distance,
// and layer indices that name a layer.
#include "FuzzSupport.hpp"

#include "fileio/DXFFileCls.hpp"
#include "fileio/SurveyBounds.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

bool g_constraints = false;

bool ChooseAll(DXFFileCls& reader) {
    for (DXFFileLayer& layer : reader.layers) {
        layer.import = 1;
        layer.constraint = g_constraints ? 1 : 0;
    }
    return true;
}

bool Finite(double x, double y, double z) { return SurveyPoint(x, y, z); }

bool Inside(const API_Box& b, double x, double y) { return b.xMin <= x && x <= b.xMax && b.yMin <= y && y <= b.yMax; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::BeginInput();
    g_constraints = size % 2 == 1;
    DXFFileCls reader;
    reader.path = QV_String(Fuzz::WriteInput("input.dxf", data, size).c_str(), Encoding_UTF8);
    reader.indexedSearch = size % 4 < 2;
    bool cancelled = false;
    const bool ok = reader.ScanLayers(cancelled) && ChooseAll(reader) && reader.ReadChosen(cancelled);
    FUZZ_CHECK(!cancelled, "a read without a user is never cancelled");
    if (!ok) {
        FUZZ_CHECK(reader.report.error == ErrReadingFile, "a refused read says why");
        return 0;
    }
    const int32_t layerCount = int32_t(reader.layers.size());
    for (const std::vector<DXFFilePoint>* list : {&reader.pointEntities, &reader.vertices})
        for (const DXFFilePoint& p : *list) {
            FUZZ_CHECK(Finite(p.x, p.y, p.z), "coordinates within the survey bounds");
            FUZZ_CHECK(p.layer >= 0 && p.layer < layerCount, "a point's layer is in the list");
            if (p.group != -1) FUZZ_CHECK(Inside(reader.bounds, p.x, p.y), "every kept point lies inside the bounds");
        }
    for (const DXFFileConstraint& c : reader.constraints) {
        FUZZ_CHECK(Finite(c.sx, c.sy, c.sz) && Finite(c.ex, c.ey, c.ez), "constraint ends within the survey bounds");
        FUZZ_CHECK(c.layer >= 0 && c.layer < layerCount, "a constraint's layer is in the list");
        FUZZ_CHECK(Inside(reader.bounds, c.sx, c.sy) && Inside(reader.bounds, c.ex, c.ey),
                   "constraint ends lie inside the bounds");
    }
    // The vertex store keeps no two vertices within 5e-5 in x and y.
    std::vector<DXFFilePoint> v = reader.vertices;
    std::sort(v.begin(), v.end(), [](const DXFFilePoint& a, const DXFFilePoint& b) { return a.x < b.x; });
    for (size_t i = 0; i < v.size(); ++i)
        for (size_t j = i + 1; j < v.size() && v[j].x - v[i].x < 5e-5; ++j)
            FUZZ_CHECK(!(std::fabs(v[j].y - v[i].y) < 5e-5), "no two kept vertices within the store's distance");
    return 0;
}
