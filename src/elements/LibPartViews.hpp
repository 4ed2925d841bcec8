#pragma once
// The parameter views of the add-on's library parts. Each view is a BaseLP that names its parameters by index
// through its own table (elements/ParamNames.hpp); everything else is BaseLP's.
//
//   BaseIDLP: objects that carry the identity and link parameters (indices 3 to 38), with the element kind.
//   Its views add their own names from 39; MarkerLP, MarkerPtLP and SlopeRangeLP derive from BaseLP directly
//   and name 3 onward themselves, as do LocalizatorLP (elements/LocalizatorLP.hpp) and PrefsLP
//   (settings/PrefsLP.hpp).
#include "elements/BaseLP.hpp"
#include "elements/ParamNames.hpp"
#include "geometry/MeshBody.hpp"
#include "geometry/QV_Poly.hpp"
#include "elements/PaintInfo.hpp"

#include "APIElements.hpp"
#include "GSArray.hpp"

#include <cstdint>

// BaseIDLP (elements/BaseLP.hpp) names 3 to 38 through BaseIDLP_ParamName. The views' array exchanges are
// defined in elements/ParamExchange.cpp.

// A view of BaseIDLP's branch whose own names come from `Name`.
template <const char* (*Name)(int32_t)>
class BaseIDLPView : public BaseIDLP {
public:
    explicit BaseIDLPView(int32_t elemKind) : BaseIDLP(elemKind) {}
    const char* GetParamName(int32_t index) const override { return Name(index); }
};

// A view laid directly on BaseLP whose own names come from `Name`.
template <const char* (*Name)(int32_t)>
class BaseLPView : public BaseLP {
public:
    const char* GetParamName(int32_t index) const override { return Name(index); }
};

class BasinBuilderLP : public BaseIDLPView<BasinBuilderLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
};
class BasinLP : public BaseIDLPView<BasinLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
};
class BridgeLP : public BaseIDLPView<BridgeLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
};
class BuildingLP : public BaseIDLPView<BuildingLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
};
class ContourLineLP : public BaseIDLPView<ContourLineLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
    // "rgb_colore": four colours (red, green, blue as x, y, z) as a 4 by 3 array.
    static bool ExchangeRgbColours(ContourLineLP& view, API_Coord3D colours[4], int32_t mode);
    // Copies, by name, every parameter of `source` that the add-on does not write itself into `target`, and the
    // volume list unless `skipVolumes` (elements/UnmanagedParams.cpp). False at the first failed get or set.
    static bool CopyUnmanagedParams(ContourLineLP& source, ContourLineLP& target, bool skipVolumes);
};
class ObstacleLP : public BaseIDLPView<ObstacleLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
    // "originale": coded plane points as rows of three (x, y, code).
    static bool ExchangeArray(ObstacleLP& view, QV_List<QV_CoordLong>& list, int32_t mode);
};
class PaintLP : public BaseIDLPView<PaintLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
    // "origine" as a 1 by 2 array.
    static bool ExchangeOrigin(PaintLP& view, API_Coord& origin, int32_t mode);
    // "nodes" and "coordinates": the areas' point counts and points (both lists emptied first on
    // reading; a counts array of one 0 reads as no area).
    static bool ExchangeAreaOutlines(PaintLP& view, QV_List<int32_t>& counts, QV_List<API_Coord3D>& points,
                                     int32_t mode);
    // The areas with their attributes: mode 1 writes, any other mode appends the object's areas.
    static bool ExchangePolygon(PaintLP& view, QV_List<PaintInfo>& areas, int32_t mode);
    // Attaches the view to the placed object, writes "origine", and writes the memo back when `writeBack`.
    static bool AttachAndExchange(PaintLP& view, API_Element& element, API_Coord& origin, bool writeBack);
    // The coloured area's twin of ContourLineLP::CopyUnmanagedParams, without a volume list.
    static bool CopyUnmanagedParams(PaintLP& source, PaintLP& target);
};
class RailwayLP : public BaseIDLPView<RailwayLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
    // "road_DX" and "road_SX" of a railway or road view as rows of three.
    static bool ExchangeDoubleListA(BaseIDLP& view, QV_List<API_Coord3D>& list, int32_t mode);
    static bool ExchangeDoubleListB(BaseIDLP& view, QV_List<API_Coord3D>& list, int32_t mode);
    // Mode 1: "IDoriginal" = 0 when `original` is not zero, -1 when it is; other modes zero `original`.
    static bool ExchangeLinkFlag(RailwayLP& view, API_Guid& original, int32_t mode);
};
class RoadLP : public BaseIDLPView<RoadLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
    // Whether the element is a road section of the part (elements/RoadSectionObjects.cpp); from the 3D window
    // the plan database is current around the read.
    static bool ReadObject(const API_Element& element, int32_t libIndex);
    // Keeps the road sections of the part among the GUIDs. 1 when the array came empty, else 0.
    static int32_t ReadSection(GS::Array<API_Guid>& guids, int32_t libIndex);
};
class SideWalkLP : public BaseIDLPView<SideWalkLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
};
class WallLP : public BaseIDLPView<WallLP_ParamName> {
public:
    using BaseIDLPView::BaseIDLPView;
};

// Plateau view: the slope names 42 to 45 exist only on the sloped plateau (VY_SLOPED_PLATEAU).
class DiggingLP : public BaseIDLP {
public:
    explicit DiggingLP(int32_t elemKind, uint8_t isSloped = 0) : BaseIDLP(elemKind), sloped(isSloped) {}
    const char* GetParamName(int32_t index) const override { return DiggingLP_ParamName(index, sloped != 0); }

    uint8_t sloped;
};

class MarkerLP : public BaseLPView<MarkerLP_ParamName> {
public:
    // "point_ref" as a 1 by 2 array.
    static bool ExchangePointRef(MarkerLP& view, API_Coord& point, int32_t mode);
    // "livello": rows by columns heights; reading gives both counts, writing takes them.
    static bool ExchangeLevelGrid(MarkerLP& view, QV_List<double>& heights, int32_t& rows, int32_t& columns,
                                  int32_t mode);
};
class MarkerPtLP : public BaseLPView<MarkerPtLP_ParamName> {
public:
    // "coordinates" as rows of three.
    static bool ExchangeDoubleList(MarkerPtLP& view, QV_List<API_Coord3D>& points, int32_t mode);
    // "codice" and "commenti" as n by 1 text arrays.
    static bool ExchangeStringArrayA(MarkerPtLP& view, QV_List<QV_String>& codes, int32_t mode);
    static bool ExchangeStringArrayB(MarkerPtLP& view, QV_List<QV_String>& comments, int32_t mode);
};
class SlopeRangeLP : public BaseLPView<SlopeRangeLP_ParamName> {
public:
    // Write only: "XYZ_mask" with one x, y, z column group per polygon, "indici" and "slopes" as
    // n by 1 arrays.
    static bool ExchangeMask(SlopeRangeLP& view, const QV_List<QV_Poly3D>& polygons);
    static bool WriteIndices(SlopeRangeLP& view, const QV_List<int32_t>& indices);
    static bool WriteSlopes(SlopeRangeLP& view, const QV_List<double>& slopes);
};
