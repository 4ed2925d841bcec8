// The shapefile main-file reader on any bytes: refused whole (nothing kept) or read, every kept record with
// finite coordinates, counts that match its lists and part starts inside its points.
#include "FuzzSupport.hpp"

#include "fileio/SHPFileData.hpp"
#include "fileio/SurveyBounds.hpp"

#include <cmath>

namespace {

bool Finite(const GISPoint& p) { return SurveyPlanValue(p.x) && SurveyPlanValue(p.y); }

void CheckPoly(const GISPoly& s) {
    FUZZ_CHECK(s.pointCount == s.points.GetCount(), "a shape holds the points it counts");
    FUZZ_CHECK(s.partCount == s.partStarts.GetCount(), "a shape holds the parts it counts");
    for (int start : s.partStarts) FUZZ_CHECK(start >= 0 && start <= s.pointCount, "a part starts inside the shape");
    for (const GISPoint& p : s.points) FUZZ_CHECK(Finite(p), "coordinates within the survey bounds");
}

template <typename Z>
void CheckZ(const Z& s) {
    FUZZ_CHECK(s.z.GetCount() == s.pointCount, "one height per point");
    FUZZ_CHECK(s.m.GetCount() == 0 || s.m.GetCount() == s.pointCount, "no measure or one per point");
    for (double z : s.z) FUZZ_CHECK(SurveyHeight(z), "heights within the survey bounds");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::BeginInput();
    SHPFileData shapes;
    shapes.path = QV_String(Fuzz::WriteInput("input.shp", data, size).c_str(), Encoding_UTF8);
    const bool ok = shapes.Read();
    FUZZ_CHECK(!shapes.cancelled, "a read without a user is never stopped");
    if (!ok) {
        FUZZ_CHECK(shapes.points.GetCount() + shapes.polyLines.GetCount() + shapes.polygons.GetCount() +
                           shapes.pointsZ.GetCount() + shapes.polyLinesZ.GetCount() + shapes.polygonsZ.GetCount() +
                           shapes.multiPointsZ.GetCount() + shapes.multiPatches.GetCount() == 0,
                   "a refused file keeps no shape");
        FUZZ_CHECK(shapes.report.error != 0, "a refused file says why");
        return 0;
    }
    FUZZ_CHECK(size >= ShapeHeaderSize, "a file shorter than its header is refused");
    for (const GISPoint& p : shapes.points) FUZZ_CHECK(Finite(p), "coordinates within the survey bounds");
    for (const GISPointZ& p : shapes.pointsZ)
        FUZZ_CHECK(SurveyPoint(p.x, p.y, p.z), "coordinates within the survey bounds");
    for (const GISPointM& p : shapes.pointsM) FUZZ_CHECK(SurveyPlanValue(p.x) && SurveyPlanValue(p.y), "coordinates within the survey bounds");
    for (const QV_List<GISPoly>* list : {&shapes.polyLines, &shapes.polygons})
        for (const GISPoly& s : *list) CheckPoly(s);
    for (const QV_List<GISPolyM>* list : {&shapes.polyLinesM, &shapes.polygonsM})
        for (const GISPolyM& s : *list) {
            CheckPoly(s);
            FUZZ_CHECK(s.m.GetCount() == 0 || s.m.GetCount() == s.pointCount, "no measure or one per point");
        }
    for (const QV_List<GISPolyZ>* list : {&shapes.polyLinesZ, &shapes.polygonsZ})
        for (const GISPolyZ& s : *list) {
            CheckPoly(s);
            CheckZ(s);
        }
    for (const GISMultiPatch& s : shapes.multiPatches) {
        CheckPoly(s);
        CheckZ(s);
        FUZZ_CHECK(s.partTypes.GetCount() == s.partCount, "one type per part");
    }
    for (const GISMultiPoint& s : shapes.multiPoints) {
        FUZZ_CHECK(s.pointCount == s.points.GetCount(), "a shape holds the points it counts");
        for (const GISPoint& p : s.points) FUZZ_CHECK(Finite(p), "coordinates within the survey bounds");
    }
    for (const GISMultiPointZ& s : shapes.multiPointsZ) {
        FUZZ_CHECK(s.pointCount == s.points.GetCount(), "a shape holds the points it counts");
        for (const GISPoint& p : s.points) FUZZ_CHECK(Finite(p), "coordinates within the survey bounds");
        CheckZ(s);
    }
    // Every kept shape has its row in the table: record numbers rise and stay within the records read.
    for (int32_t type : {1, 3, 5, 8, 11, 13, 15, 18, 21, 23, 25, 28, 31}) {
        int32_t previous = 0;
        for (int32_t n : shapes.RecordNumbers(type)) {
            FUZZ_CHECK(n > previous && uint32_t(n) <= shapes.recordCount, "record numbers rise within the file");
            previous = n;
        }
    }
    return 0;
}
