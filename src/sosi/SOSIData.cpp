#include "sosi/SOSIData.hpp"

#include "geometry/ArcSegmentation.hpp"

void SOSIData::Reset() {
    geometryKind = 0;
    coords.Clear();
    radius = 0.0;
    id.Clear();
    type.Clear();
    pieces.Clear();
    texts.Clear();
    refs.Clear();
    fileIndex = -1;
}

QV_Arc SOSIData::Arc() const {
    const bool byRadius = geometryKind == SOSIKindArcByRadius || geometryKind == SOSIKindCircle;
    const CurveArcForm form = byRadius ? CurveArcForm::ByRadius : CurveArcForm::ThroughPoints;
    const bool circle = geometryKind == SOSIKindCircle || geometryKind == SOSIKindCircleByPoints;
    return circle ? CircleFromCurveRecord(coords, radius, form) : ArcFromCurveRecord(coords, radius, form);
}
