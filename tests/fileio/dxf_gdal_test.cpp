// The DXF reader against GDAL's DXF driver on the same real files: POINT entities and polyline vertices, with
// their heights. GDAL expands blocks and reads invisible entities, which this reader does not, so on the mixed
// survey every point of the reader must be one of GDAL's (and a SPLINE's control points are no vertices of GDAL's
// curve).
#ifdef LODRAVIX_HAVE_GDAL
#include "DxfFixture.hpp"

#include "fileio/SurveyBounds.hpp"

#include <cpl_error.h>
#include <gdal.h>
#include <ogr_api.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace dxf_gdal_test {

using P3 = std::array<double, 3>;

struct OgrContent {
    std::vector<P3> points;    // of point features
    std::vector<P3> vertices;  // of every other geometry
};

void Collect(OGRGeometryH g, OgrContent& out) {
    const int parts = OGR_G_GetGeometryCount(g);
    if (parts > 0) {
        for (int i = 0; i < parts; ++i) Collect(OGR_G_GetGeometryRef(g, i), out);
        return;
    }
    const bool point = wkbFlatten(OGR_G_GetGeometryType(g)) == wkbPoint;
    for (int i = 0, n = OGR_G_GetPointCount(g); i < n; ++i) {
        P3 p;
        OGR_G_GetPoint(g, i, &p[0], &p[1], &p[2]);
        (point ? out.points : out.vertices).push_back(p);
    }
}

bool ReadOgr(const std::string& path, OgrContent& out) {
    GDALAllRegister();
    // GDAL's notes on the files' unclosed 3DFACE rings are no failure here.
    CPLPushErrorHandler(CPLQuietErrorHandler);
    GDALDatasetH ds = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    if (ds == nullptr) return CPLPopErrorHandler(), false;
    for (int l = 0; l < GDALDatasetGetLayerCount(ds); ++l) {
        OGRLayerH layer = GDALDatasetGetLayer(ds, l);
        OGR_L_ResetReading(layer);
        while (OGRFeatureH f = OGR_L_GetNextFeature(layer)) {
            if (OGRGeometryH g = OGR_F_GetGeometryRef(f)) Collect(g, out);
            OGR_F_Destroy(f);
        }
    }
    GDALClose(ds);
    CPLPopErrorHandler();
    return true;
}

// Every point of `a` is within `d` in plan of one of `b`, with the same height unless `plan`. Vertices closer
// than 5e-5 are one, so two of GDAL's may lie up to twice that apart.
void ExpectWithin(const std::vector<P3>& a, std::vector<P3> b, const char* what, double d = 1e-4, bool plan = false) {
    std::sort(b.begin(), b.end());
    for (const P3& p : a) {
        auto it = std::lower_bound(b.begin(), b.end(), P3{p[0] - d, -1e300, -1e300});
        bool found = false;
        for (; it != b.end() && (*it)[0] < p[0] + d && !found; ++it)
            found = std::fabs((*it)[1] - p[1]) < d && (plan || std::fabs((*it)[2] - p[2]) < 1e-6);
        ASSERT_TRUE(found) << what << " " << p[0] << " " << p[1] << " " << p[2];
    }
}

std::vector<P3> Of(const std::vector<DXFFilePoint>& list) {
    std::vector<P3> out;
    for (const DXFFilePoint& p : list) out.push_back({p.x, p.y, p.z});
    return out;
}

TEST_F(DxfReaderTest, PointsAndVerticesAreGdals) {
    // Nothing filtered or thinned: the files' own points.
    Adjust() = [](DXFFileCls& r) { r.tolerance = 1e-6, r.constraintFilter = 1e-9; };
    WithConstraints() = false;
    for (const char* name : {"dxf/spots_gdal.dxf", "dxf/contours.dxf", "dxf/survey_r12.dxf", "dxf/survey_r2000.dxf"}) {
        SCOPED_TRACE(name);
        OgrContent ogr;
        ASSERT_TRUE(ReadOgr(Data(name), ogr));
        DXFFileCls reader;
        int32_t error = 0;
        ASSERT_TRUE(ReadDxf(reader, Data(name), error)) << error;
        ExpectWithin(Of(reader.pointEntities), ogr.points, "point", 1e-9);
        // GDAL draws a SPLINE's curve; this reader keeps its control points.
        // GDAL gives a 2D POLYLINE no elevation: plan positions only on the mixed survey.
        const bool survey = std::string(name).find("survey") != std::string::npos;
        if (std::string(name) != "dxf/survey_r2000.dxf")
            ExpectWithin(Of(reader.vertices), ogr.vertices, "vertex", 1e-4, survey);
        if (std::string(name) != "dxf/survey_r12.dxf" && std::string(name) != "dxf/survey_r2000.dxf") {
            // Plain files: the same points both ways.
            EXPECT_EQ(reader.pointEntities.size(), ogr.points.size());
            ExpectWithin(ogr.points, Of(reader.pointEntities), "GDAL point", 1e-9);
            ExpectWithin(ogr.vertices, Of(reader.vertices), "GDAL vertex");
        }
    }
}
// Entities beyond any survey: GDAL reads them all, we read the same less those, and count them.
TEST_F(DxfReaderTest, EntitiesBeyondAnySurveyAreGdalsLessThose) {
    const std::string path = Data("limits/beyond_survey.dxf");
    OgrContent ogr;
    ASSERT_TRUE(ReadOgr(path, ogr));
    auto inside = [](const std::vector<P3>& list) {
        std::vector<P3> kept;
        for (const P3& p : list)
            if (SurveyPoint(p[0], p[1], p[2])) kept.push_back(p);
        return kept;
    };
    DXFFileCls reader;
    int32_t error = 0;
    ASSERT_TRUE(ReadDxf(reader, path, error));
    const std::vector<P3> points = inside(ogr.points);
    EXPECT_EQ(reader.pointEntities.size(), points.size());
    ExpectWithin(Of(reader.pointEntities), points, "our point");
    ExpectWithin(Of(reader.vertices), inside(ogr.vertices), "our vertex");
    EXPECT_EQ(reader.report.Count(ReadIssue::OutOfRange), 4u);
}

}  // namespace dxf_gdal_test
#endif
