// The SOSI reader on any bytes (its character set by mark, UTF-8 or the declared TEGNSETT): refused with its
// reason, or read; then every type imported in the mode the input picks, with or without the point and line
// filters, and every kept object has a point and only coordinates a survey holds (finite, within the bounds);
// with the point filter no two kept points, nor two points of one swarm, lie nearer than its distance.
#include "FuzzSupport.hpp"

#include "sosi/SOSIFileCls.hpp"
#include "sosi/SOSIValueBounds.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// No two of `points` nearer than `d` in plan.
void CheckApart(std::vector<API_Coord3D> points, double d, const char* what) {
    std::sort(points.begin(), points.end(), [](const API_Coord3D& a, const API_Coord3D& b) { return a.x < b.x; });
    for (size_t i = 0; i < points.size(); ++i)
        for (size_t j = i + 1; j < points.size() && points[j].x - points[i].x < d; ++j) {
            const double dx = points[j].x - points[i].x, dy = points[j].y - points[i].y;
            FUZZ_CHECK(!(dx * dx + dy * dy < d * d), what);
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::BeginInput();
    SOSIFileCls reader;
    SOSIFileData file;
    file.path = QV_String(Fuzz::WriteInput("input.sos", data, size).c_str(), Encoding_UTF8);
    reader.scan.files.Insert(file);
    const MiscSettings misc;  // new types get pen 0
    if (!reader.ReadSOSIFiles(misc)) {
        FUZZ_CHECK(reader.scan.report.error != 0 || reader.scan.report.HasIssues(), "a refused file says why");
        return 0;
    }
    reader.importMode = int32_t(size % 3);
    for (SOSIOType& row : reader.scan.types) {
        row.import = 1;
        row.ownValue = 0;  // the reader's distance for every type
    }
    const bool filters = size % 2 == 1;
    reader.tolerance = filters ? 0.5 : 0.0;
    reader.assembly.lineFilterDistance = filters ? 0.25 : 0.0;
    reader.ImportObjects();
    reader.ComputeExtents();
    std::vector<API_Coord3D> points;
    for (const SOSIData& d : reader.assembly.data) {
        if (d.geometryKind == SOSIKindPoint && d.coords.GetCount() > 0) points.push_back(d.coords[0]);
        if (filters && d.geometryKind == SOSIKindSwarm)
            CheckApart(std::vector<API_Coord3D>(d.coords.begin(), d.coords.end()), reader.tolerance,
                       "no two points of a swarm within the filter distance");
        if (d.geometryKind != SOSIKindSurface) FUZZ_CHECK(d.coords.GetCount() > 0, "a kept object has a point");
        for (const API_Coord3D& c : d.coords)
            FUZZ_CHECK(SOSIPlanValueHeld(c.x) && SOSIPlanValueHeld(c.y) && SOSIHeightHeld(c.z),
                       "coordinates a survey holds");
    }
    if (filters) CheckApart(points, reader.tolerance, "no two kept points within the filter distance");
    return 0;
}
