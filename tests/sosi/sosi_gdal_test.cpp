// The SOSI reader against GDAL's SOSI driver on Latin-1 copies of the real files: objects per kind and their
// plan coordinates.
#include "SosiFixture.hpp"

#include <gtest/gtest.h>

#ifdef LODRAVIX_HAVE_GDAL
#include <cpl_error.h>
#include <gdal.h>
#include <ogr_api.h>

#include <cmath>

namespace sosi_gdal_test {

struct XY {
    double x, y;
};

// UTF-8 to Latin-1 (a character outside it becomes '?'), without the mark, declaring the new character set.
std::string Latin1Copy(const std::string& utf8) {
    std::string text = utf8.compare(0, 3, "\xEF\xBB\xBF") == 0 ? utf8.substr(3) : utf8;
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t c = uint8_t(text[i]);
        if (c < 0x80) {
            out += char(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size()) {
            out += char(((c & 0x03) << 6) | (uint8_t(text[++i]) & 0x3F));
        } else if (c >= 0xC0) {
            out += '?';
            while (i + 1 < text.size() && (uint8_t(text[i + 1]) & 0xC0) == 0x80) ++i;
        }
    }
    const size_t at = out.find("..TEGNSETT");
    if (at != std::string::npos) out.replace(at, out.find_first_of("\r\n", at) - at, "..TEGNSETT ISO8859-1");
    return out;
}

struct GdalObjects {
    std::map<std::string, int> features;                     // per layer
    std::map<std::string, std::vector<std::vector<XY>>> xy;  // per layer, per feature in file order
};

bool ReadWithGdal(const std::string& path, GdalObjects& out) {
    CPLPushErrorHandler(CPLQuietErrorHandler);
    GDALDatasetH ds = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    CPLPopErrorHandler();
    if (ds == nullptr) return false;
    for (int l = 0; l < GDALDatasetGetLayerCount(ds); ++l) {
        OGRLayerH layer = GDALDatasetGetLayer(ds, l);
        const std::string name = OGR_L_GetName(layer);
        OGR_L_ResetReading(layer);
        while (OGRFeatureH f = OGR_L_GetNextFeature(layer)) {
            ++out.features[name];
            std::vector<XY>& feature = out.xy[name].emplace_back();
            if (OGRGeometryH g = OGR_F_GetGeometryRef(f))
                for (int i = 0; i < OGR_G_GetPointCount(g); ++i)
                    feature.push_back(XY{OGR_G_GetX(g, i), OGR_G_GetY(g, i)});
            OGR_F_Destroy(f);
        }
    }
    GDALClose(ds);
    return true;
}

TEST_F(SosiReaderTest, ObjectsAndCoordinatesAreGdals) {
    GDALAllRegister();
    ASSERT_NE(GDALGetDriverByName("SOSI"), nullptr);
    int compared = 0;
    for (const std::string& name : RealFiles()) {
        SCOPED_TRACE(name);
        const std::string copy = Write("l1_" + name, Latin1Copy(Slurp(SosiData(name))));
        GdalObjects gdal;
        if (!ReadWithGdal(copy, gdal)) continue;  // files the driver refuses are not compared
        ++compared;
        SOSIFileCls reader;
        ASSERT_TRUE(ReadFiles(reader, {copy}));
        const SOSIFileData& file = reader.scan.files[0];
        const std::vector<std::vector<API_Coord3D>> points = ObjectPoints(reader);
        std::map<std::string, int> ours;
        std::map<std::string, std::vector<std::vector<XY>>> xy;
        std::map<std::string, std::vector<bool>> straight;  // GDAL turns arcs into its own polylines
        for (int32_t o = 0; o < file.objects.GetCount(); ++o) {
            const int16_t kind = file.objects[o].kind;
            const std::string layer = kind == SOSIKindPoint ? "points"
                : kind == SOSIKindSurface                   ? "polygons"
                : kind == SOSIKindText                      ? "text"
                                                            : "lines";
            ++ours[layer];
            straight[layer].push_back(kind == SOSIKindPoint || kind == SOSIKindLine || kind == SOSIKindCurve);
            std::vector<XY>& feature = xy[layer].emplace_back();
            // A point is its first coordinate.
            const std::vector<API_Coord3D>& own = points[size_t(o)];
            for (size_t k = 0; k < own.size() && (layer == "lines" || k == 0); ++k)
                feature.push_back(XY{own[k].x + file.originEast, own[k].y + file.originNorth});
        }
        EXPECT_EQ(ours, gdal.features);
        for (const char* layer : {"points", "lines"}) {
            const std::vector<std::vector<XY>>& a = xy[layer];
            const std::vector<std::vector<XY>>& b = gdal.xy[layer];
            ASSERT_EQ(a.size(), b.size()) << layer;
            size_t differ = 0, vertices = 0;
            for (size_t f = 0; f < a.size(); ++f) {
                if (!straight[layer][f]) continue;
                // Here a 3-value line follows a 2D keyword: GDAL makes a point of the lone third value, which
                // is no complete tuple.
                if (name == "testfile1.sos" && std::string(layer) == "lines" && f == 1) continue;
                if (a[f].size() != b[f].size()) {
                    ADD_FAILURE() << layer << " feature " << f << ": " << a[f].size() << " vs " << b[f].size();
                    continue;
                }
                for (size_t i = 0; i < a[f].size(); ++i, ++vertices)
                    if (std::fabs(a[f][i].x - b[f][i].x) > 1e-6 * (1 + std::fabs(b[f][i].x)) ||
                        std::fabs(a[f][i].y - b[f][i].y) > 1e-6 * (1 + std::fabs(b[f][i].y)))
                        ++differ;
            }
            EXPECT_EQ(differ, 0u) << layer << " of " << vertices;
        }
    }
    EXPECT_GE(compared, 8);
}

}  // namespace sosi_gdal_test
#endif
