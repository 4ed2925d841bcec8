// The shapefile readers against GDAL reading the same files: every shape's rings with their coordinates and
// heights, paired with its table row by position (Null shapes included), and every attribute value.
#ifdef LODRAVIX_HAVE_GDAL
#include "ReaderFixture.hpp"

#include "fileio/DBFTable.hpp"
#include "fileio/SHPFileData.hpp"
#include "foundation/Encoding.hpp"

#include <gdal.h>
#include <ogr_api.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <vector>

namespace shapefile_gdal_test {

using Ring = std::vector<std::array<double, 3>>;
using Shapes = std::map<int32_t, std::vector<Ring>>;  // by record number, from 1

template <typename Shape>
void AddPolys(Shapes& out, const QV_List<Shape>& list, const QV_List<int32_t>& numbers,
              const QV_List<double>* (*zOf)(const Shape&)) {
    ASSERT_EQ(list.GetCount(), numbers.GetCount());
    for (int32_t i = 0; i < list.GetCount(); ++i) {
        const Shape& s = list[i];
        const QV_List<double>* z = zOf(s);
        for (int32_t p = 0; p < s.partStarts.GetCount(); ++p) {
            const int32_t end = p + 1 < s.partStarts.GetCount() ? s.partStarts[p + 1] : s.points.GetCount();
            Ring ring;
            for (int32_t k = s.partStarts[p]; k < end; ++k)
                ring.push_back({s.points[k].x, s.points[k].y, z != nullptr ? (*z)[k] : 0.0});
            out[numbers[i]].push_back(ring);
        }
    }
}

Shapes OurShapes(const SHPFileData& d) {
    Shapes out;
    auto noZ = [](const GISPoly&) -> const QV_List<double>* { return nullptr; };
    auto withZ = [](const GISPolyZ& s) -> const QV_List<double>* { return &s.z; };
    auto noZM = [](const GISPolyM&) -> const QV_List<double>* { return nullptr; };
    AddPolys<GISPoly>(out, d.polyLines, d.RecordNumbers(3), noZ);
    AddPolys<GISPoly>(out, d.polygons, d.RecordNumbers(5), noZ);
    AddPolys<GISPolyZ>(out, d.polyLinesZ, d.RecordNumbers(13), withZ);
    AddPolys<GISPolyZ>(out, d.polygonsZ, d.RecordNumbers(15), withZ);
    AddPolys<GISPolyM>(out, d.polyLinesM, d.RecordNumbers(23), noZM);
    AddPolys<GISPolyM>(out, d.polygonsM, d.RecordNumbers(25), noZM);
    for (int32_t i = 0; i < d.points.GetCount(); ++i)
        out[d.RecordNumbers(1)[i]].push_back({{d.points[i].x, d.points[i].y, 0.0}});
    for (int32_t i = 0; i < d.pointsZ.GetCount(); ++i)
        out[d.RecordNumbers(11)[i]].push_back({{d.pointsZ[i].x, d.pointsZ[i].y, d.pointsZ[i].z}});
    for (int32_t i = 0; i < d.multiPointsZ.GetCount(); ++i) {
        const GISMultiPointZ& s = d.multiPointsZ[i];
        for (int32_t k = 0; k < s.points.GetCount(); ++k)
            out[d.RecordNumbers(18)[i]].push_back({{s.points[k].x, s.points[k].y, s.z[k]}});
    }
    return out;
}

void Flatten(OGRGeometryH g, std::vector<Ring>& rings) {
    const int parts = OGR_G_GetGeometryCount(g);
    if (parts > 0) {
        for (int i = 0; i < parts; ++i) Flatten(OGR_G_GetGeometryRef(g, i), rings);
        return;
    }
    Ring ring;
    for (int i = 0; i < OGR_G_GetPointCount(g); ++i)
        ring.push_back({OGR_G_GetX(g, i), OGR_G_GetY(g, i), OGR_G_Is3D(g) ? OGR_G_GetZ(g, i) : 0.0});
    if (!ring.empty()) rings.push_back(ring);
}

// OGR may regroup the rings of a polygon (holes under their shell): compare them as a sorted set.
void Normalise(std::vector<Ring>& rings) { std::sort(rings.begin(), rings.end()); }

std::string Utf8OfSystem(const char* text) {
    std::string out(std::strlen(text) * 3 + 1, '\0');
    const int32_t n = ConvertEncoding(Encoding_System, text, 0, Encoding_UTF8, out.data(), uint32_t(out.size()), false);
    out.resize(n > 0 ? size_t(n) : 0);
    return out;
}

std::string Trim(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    size_t b = 0;
    while (b < s.size() && s[b] == ' ') ++b;
    return s.substr(b);
}

class ShapefileGdalTest : public ReaderTest {};

TEST_F(ShapefileGdalTest, EveryShapeAndValueIsGdals) {
    GDALAllRegister();
    for (const char* name : {"nc", "nc_nulls", "olinda1", "olinda1_utm", "storms_xyz", "storms_xyzm", "lux", "contours",
                             "contours_zm", "spots_z", "rows_multipointz", "bands_polygonz"}) {
        SCOPED_TRACE(name);
        const std::string shp = Data(std::string("shp/") + name + ".shp");
        SHPFileData data;
        data.path = QV_String(shp.c_str(), Encoding_UTF8);
        ASSERT_TRUE(data.Read());
        QV_List<DBFFieldData> fields;
        DBFValueList values;
        ReadReport report;
        ASSERT_TRUE(ReadDBFFile(TablePathOf(data.path), fields, values, NullReaderProgress(), report));
        EXPECT_FALSE(report.HasIssues());
        Shapes ours = OurShapes(data);

        GDALDatasetH ds = GDALOpenEx(shp.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr);
        ASSERT_NE(ds, nullptr);
        OGRLayerH layer = GDALDatasetGetLayer(ds, 0);
        OGRFeatureDefnH def = OGR_L_GetLayerDefn(layer);
        ASSERT_EQ(fields.GetCount(), OGR_FD_GetFieldCount(def));
        for (int f = 0; f < fields.GetCount(); ++f) {
            OGRFieldDefnH fd = OGR_FD_GetFieldDefn(def, f);
            std::string nameBytes;
            for (uint32_t k = 0; k < fields[f].name.GetLength(); ++k) nameBytes += fields[f].name.GetCharAnsi(k);
            EXPECT_EQ(Utf8OfSystem(nameBytes.c_str()), OGR_Fld_GetNameRef(fd));
            const bool decimals = OGR_Fld_GetType(fd) == OFTReal;
            if (fields[f].kind != 1) {
                EXPECT_EQ(fields[f].kind < 0, decimals) << OGR_Fld_GetNameRef(fd);
            }
        }
        const int64_t rows = OGR_L_GetFeatureCount(layer, TRUE);
        EXPECT_EQ(int64_t(data.recordCount), rows);
        OGR_L_ResetReading(layer);
        int32_t record = 0;
        size_t shapesSeen = 0;
        while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
            ++record;
            OGRGeometryH g = OGR_F_GetGeometryRef(feature);
            std::vector<Ring> theirs;
            if (g != nullptr) Flatten(g, theirs);
            auto found = ours.find(record);
            if (theirs.empty()) {
                EXPECT_TRUE(found == ours.end()) << "record " << record << " is Null to GDAL";
            } else if (found == ours.end()) {
                ADD_FAILURE() << "record " << record << " missing";
            } else {
                ++shapesSeen;
                std::vector<Ring> mine = found->second;
                Normalise(mine);
                Normalise(theirs);
                ASSERT_EQ(mine.size(), theirs.size()) << "record " << record;
                for (size_t r = 0; r < mine.size(); ++r) {
                    ASSERT_EQ(mine[r].size(), theirs[r].size()) << "record " << record;
                    for (size_t k = 0; k < mine[r].size(); ++k)
                        for (int c = 0; c < 3; ++c) ASSERT_EQ(mine[r][k][c], theirs[r][k][c]) << "record " << record;
                }
            }
            for (int f = 0; f < fields.GetCount(); ++f) {
                const char* mine = values[(record - 1) * fields.GetCount() + f];
                if (!OGR_F_IsFieldSetAndNotNull(feature, f)) {
                    EXPECT_STREQ(mine, "") << "record " << record << " field " << f;
                } else if (fields[f].kind <= 0) {
                    EXPECT_DOUBLE_EQ(std::strtod(mine, nullptr), OGR_F_GetFieldAsDouble(feature, f));
                } else {
                    EXPECT_EQ(Utf8OfSystem(mine), Trim(OGR_F_GetFieldAsString(feature, f)))
                        << "record " << record << " field " << f;
                }
            }
            OGR_F_Destroy(feature);
        }
        EXPECT_EQ(shapesSeen, ours.size());
        EXPECT_EQ(uint32_t(record), data.recordCount);
        GDALClose(ds);
    }
    EXPECT_TRUE(Alerts().empty());
}

}  // namespace shapefile_gdal_test
#endif
