#pragma once
// The DXF benchmarks' peer: OGR reads the file's first layer and counts the vertices of its geometries.
#include <gdal.h>
#include <ogr_api.h>

#include <cstddef>
#include <string>

inline size_t OgrPointCount(const std::string& path) {
    GDALDatasetH ds = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    if (ds == nullptr) return 0;
    size_t points = 0;
    OGRLayerH layer = GDALDatasetGetLayer(ds, 0);
    while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
        if (OGRGeometryH g = OGR_F_GetGeometryRef(feature)) points += size_t(OGR_G_GetPointCount(g));
        OGR_F_Destroy(feature);
    }
    GDALClose(ds);
    return points;
}
