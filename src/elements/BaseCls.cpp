#include "elements/BaseCls.hpp"

#include "elements/ParamIndexes.hpp"

#include "elements/ParamExchange.hpp"
#include "foundation/ACAPI.hpp"
#include "elements/ArrayParams.hpp"
#include "geometry/FramePolygons.hpp"

#include "GSGuid.hpp"

#include <cstring>

namespace {
// Empties a list without touching one that holds nothing.
template <typename T>
void Empty(QV_List<T>& list) {
    if (list.GetCount() > 0) list.Clear();
}

void SetUnset(API_Box3D& box) {
    box.xMin = box.yMin = box.zMin = UnsetBoundValue;
    box.xMax = box.yMax = box.zMax = -UnsetBoundValue;
}
}  // namespace

BaseCls::BaseCls() { Reset(); }

BaseCls::~BaseCls() { Reset(); }

void BaseCls::Reset() {
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    SetUnset(bounds);
    descriptor.Reset();
    Empty(frameFirst);
    Empty(frameSecond);
    meshAttr = 0;
    meshSkirt = 0.0;
    zMin = 0.0;
    zMax = 0.0;
    std::memset(static_cast<void*>(&pickHead), 0, sizeof pickHead);
    Empty(points3D);
    Empty(points2D);
    Empty(polyPrims);
    Empty(segments);
    Empty(prims);
    closedRing = 0;
    std::memset(static_cast<void*>(&object), 0, sizeof object);
    libPartIndex = -1;
}

bool BaseCls::BoundsSet() const {
    return !(bounds.xMin == UnsetBoundValue && bounds.yMin == UnsetBoundValue && bounds.zMin == UnsetBoundValue &&
             bounds.xMax == -UnsetBoundValue && bounds.yMax == -UnsetBoundValue && bounds.zMax == -UnsetBoundValue);
}

bool BaseCls::CreateObject(const QV_String&, int16_t, uint16_t, void*, API_Element*) { return true; }

bool BaseCls::TransferSettings(bool, bool) { return true; }

bool BaseCls::ReadElement(const API_Element& source, bool switchToPlan) {
    element = source;
    SetUnset(bounds);
    API_Element query = source;
    API_Box3D box = {};
    if (ACAPI_Database(APIDb_CalcBoundsID, &query, &box) != NoError) return false;
    bounds = box;
    if (!descriptor.FromElement(ElemKind_Terrain, element.header, switchToPlan)) return false;
    QV_Poly outline;
    if (!outline.ReadFromElement(element.header, 0)) return false;
    FramePolygons frame;
    if (!BuildFramePolygons(frame, bounds, outline, FrameMargin)) return false;
    // Both copies are made before either list is replaced, so a failed copy leaves the old frame whole.
    QV_List<QV_CoordLong> first(frame.first);
    QV_List<QV_CoordLong> second(frame.second);
    if (!first.HasHandle() || !second.HasHandle()) return false;
    frameFirst = first;
    frameSecond = second;
    if (!frameFirst.HasHandle() || !frameSecond.HasHandle()) return false;
    meshAttr = element.mesh.skirtMat;
    meshSkirt = element.mesh.skirtLevel;
    zMin = bounds.zMin;
    zMax = bounds.zMax;
    return true;
}

int32_t BaseCls::CountArcPrims() const {
    int32_t n = 0;
    for (const PrimPoly& p : polyPrims) n += p.isLine == 0 ? 1 : 0;
    return n;
}

bool BaseCls::WriteCommonLPParams(BaseIDLP& view, int32_t kind) {
    switch (kind) {
        case ElemKind_Road:
        case ElemKind_Plateau:
        case ElemKind_ColouredArea:
        case ElemKind_Sidewalk:
        case ElemKind_RetainingWall:
        case ElemKind_SlopedPlateau:
        case ElemKind_Railway: {
            view.kind = kind;
            int32_t material = meshAttr;
            if (!view.GetSetLong(BaseIDParam::SkirtMaterial, material, LPMode_Set) ||
                !ExchangeCoordLists(view, frameFirst, frameSecond))
                return false;
            if (kind == ElemKind_ColouredArea) return true;
            double skirt = meshSkirt;
            double low = zMin;
            double high = zMax;
            return view.GetSetDouble(BaseIDParam::Skirt, skirt, LPMode_Set) &&
                view.GetSetDouble(BaseIDParam::MinLevel, low, LPMode_Set) &&
                view.GetSetDouble(BaseIDParam::MaxLevel, high, LPMode_Set);
        }
        case ElemKind_Basin: return ExchangeCoordLists(view, frameFirst, frameSecond);
        case ElemKind_Contour:
            return WriteDoubleArrayParam60(view, {bounds.xMin, bounds.yMin, bounds.zMin},
                                           {bounds.xMax, bounds.yMax, bounds.zMax}) &&
                ExchangeCoordLists(view, frameFirst, frameSecond);
        default: return true;
    }
}

BaseRSWCls::BaseRSWCls() : firstSide(0), lastSide(0) {}

BaseRSWCls::~BaseRSWCls() {
    Empty(leftPrims);
    Empty(rightPrims);
    Empty(chainA);
    Empty(chainB);
    Empty(left3D);
    Empty(right3D);
}
