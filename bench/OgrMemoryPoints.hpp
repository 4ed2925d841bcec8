#pragma once
// The point-placing benchmarks' peer: the same points as features of GDAL's in-memory vector layer with a height
// field.
#include <ogr_api.h>

// Fills a new in-memory layer with one feature per point (x, y, z); `ok` turns false when a feature is refused.
// The caller destroys the data source (OGR_DS_Destroy).
template <typename Points>
OGRDataSourceH OgrMemoryPoints(const Points& points, bool& ok) {
    OGRDataSourceH ds = OGR_Dr_CreateDataSource(OGRGetDriverByName("Memory"), "points", nullptr);
    OGRLayerH layer = OGR_DS_CreateLayer(ds, "points", nullptr, wkbPoint, nullptr);
    OGRFieldDefnH field = OGR_Fld_Create("z", OFTReal);
    OGR_L_CreateField(layer, field, TRUE);
    OGR_Fld_Destroy(field);
    ok = true;
    for (const auto& p : points) {
        OGRFeatureH feature = OGR_F_Create(OGR_L_GetLayerDefn(layer));
        OGR_F_SetFieldDouble(feature, 0, p.z);
        OGRGeometryH point = OGR_G_CreateGeometry(wkbPoint);
        OGR_G_SetPoint_2D(point, 0, p.x, p.y);
        OGR_F_SetGeometryDirectly(feature, point);
        ok = OGR_L_CreateFeature(layer, feature) == OGRERR_NONE && ok;
        OGR_F_Destroy(feature);
    }
    return ds;
}
