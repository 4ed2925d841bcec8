#include "geometry/BezierDivision.hpp"

#include "GSRoot.hpp"

namespace {

API_Coord XY(const API_Coord3D& p) { return API_Coord{p.x, p.y}; }

// A plain block for count items, freed on leaving the scope.
template <typename T>
class PlainArray {
public:
    explicit PlainArray(int32_t count)
        : block(BMAllocatePtr(static_cast<GSSize>(sizeof(T)) * (count > 0 ? count : 0), ALLOCATE_CLEAR, 0)) {}
    ~PlainArray() { BMKillPtr(&block); }
    PlainArray(const PlainArray&) = delete;
    PlainArray& operator=(const PlainArray&) = delete;
    T* Data() const { return reinterpret_cast<T*>(block); }

private:
    GSPtr block;
};

}  // namespace

void AppendBezierPoints(const QV_List<API_Coord3D>& curve, QV_List<API_Coord>& anchors,
                        QV_List<Geometry::DirType>& dirs) {
    anchors.Clear();
    dirs.Clear();
    const int32_t n = curve.GetCount();
    if (n == 0) return;
    const int32_t k = (n - 1) / 3 + 1;  // positions 0, 3, ... up to n - 1
    if (!anchors.SetSize(k) || !dirs.SetSize(k)) {
        anchors.Clear();
        dirs.Clear();
        return;
    }
    for (int32_t a = 0; a < k; ++a) {
        const int32_t e = 3 * a;
        const API_Coord anchor = XY(curve[e]);
        const API_Coord incoming = XY(curve[e == 0 ? e : e - 1]);
        const API_Coord outgoing = XY(curve[e == n - 1 ? e : e + 1]);
        anchors[a] = anchor;
        dirs[a] = Geometry::DirType{};
        Geometry::SetBezierDirType(anchor, dirs[a], incoming, outgoing);
    }
}

void BezierToPolyline(const QV_List<API_Coord3D>& curve, const int32_t& segmentCount, QV_List<API_Coord3D>& points) {
    points.Clear();
    QV_List<API_Coord> anchorList;
    QV_List<Geometry::DirType> dirList;
    AppendBezierPoints(curve, anchorList, dirList);
    const int32_t k = anchorList.GetCount();
    if (k == 0) return;
    PlainArray<API_Coord> anchors(k);
    PlainArray<Geometry::DirType> dirs(k);
    if (anchors.Data() == nullptr || dirs.Data() == nullptr) return;
    for (int32_t i = 0; i < k; ++i) {
        anchors.Data()[i] = anchorList[i];
        dirs.Data()[i] = dirList[i];
    }

    const Geometry::BezierDetails details(k, anchors.Data(), dirs.Data());
    const double length = Geometry::SplineLen(details, 0.001, k - 1.001);
    GS::Array<double> params;
    // No piece count, no division (the step would be infinite or negative).
    if (segmentCount >= 1)
        Geometry::DivSplinePart(k, anchors.Data(), dirs.Data(), false, true, 0, length / segmentCount, params);

    const int32_t p = static_cast<int32_t>(params.GetSize());
    if (!points.SetSize(p + 2)) return;
    points[0] = API_Coord3D{anchors.Data()[0].x, anchors.Data()[0].y, 0.0};
    for (int32_t i = 0; i < p; ++i) {
        const API_Coord v = Geometry::GetSplineVal(details, params[static_cast<uint32_t>(i)]);
        points[i + 1] = API_Coord3D{v.x, v.y, 0.0};
    }
    points[p + 1] = API_Coord3D{anchors.Data()[k - 1].x, anchors.Data()[k - 1].y, 0.0};
}
