// The SOSI reader on any bytes (its character set by mark, UTF-8 or the declared TEGNSETT): refused with its
// reason, or read; then every type imported in the mode the input picks, with or without the point and line
// filters, and every kept object has a point and only finite coordinates.
#include "FuzzSupport.hpp"

#include "sosi/SOSIFileCls.hpp"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::BeginInput();
    SOSIFileCls reader;
    SOSIFileData file;
    file.path = QV_String(Fuzz::WriteInput("input.sos", data, size).c_str(), Encoding_UTF8);
    reader.files.Insert(file);
    if (!reader.ReadSOSIFiles(true)) {
        FUZZ_CHECK(reader.report.error != 0 || reader.report.HasIssues(), "a refused file says why");
        return 0;
    }
    reader.importMode = int32_t(size % 3);
    for (SOSIOType& row : reader.types) row.import = 1;
    const bool filters = size % 2 == 1;
    reader.tolerance = filters ? 0.5 : 0.0;
    reader.lineFilterDistance = filters ? 0.25 : 0.0;
    reader.ImportObjects();
    reader.ComputeExtents();
    for (const SOSIData& d : reader.data) {
        if (d.geometryKind != SOSIKindSurface) FUZZ_CHECK(d.coords.GetCount() > 0, "a kept object has a point");
        for (const API_Coord3D& c : d.coords)
            FUZZ_CHECK(std::isfinite(c.x) && std::isfinite(c.y) && std::isfinite(c.z), "finite coordinates");
    }
    return 0;
}
