#include "earthworks/EarthworkSet.hpp"

#include "earthworks/AlignmentGeometry.hpp"
#include "earthworks/EarthworkRefusal.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LayerHelpers.hpp"
#include "elements/MeshHeightSampling.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/LeftoverElements.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/Language.hpp"
#include "geometry/OutlineOffset.hpp"

#include <cstring>
#include <utility>

namespace {
// An object of a set that failed halfway: a set never consists of one or two objects.
void DeleteObject(const API_Element& object) { DeleteLeftoverElement(object.header.guid); }

// The operator layer opened for the placing and put back on every path.
class OperatorLayer {
public:
    OperatorLayer() : index(GetOrCreateLayerIndex(VY_Operators, 0)) {
        if (index != 1) opened = SaveAndOpenLayer(index, states);
    }
    ~OperatorLayer() {
        if (index != 1 && opened) RestoreLayerStates(VY_Operators, states);
    }
    int32_t index;

private:
    QV_List<LayerState> states;
    bool opened = false;
};

void ToCodedPoints(const QV_List<PrimPoly>& outline, QV_List<QV_Coord3DLong>& points, bool reverse) {
    QV_List<PrimPoly> chain = outline;
    if (reverse) ReverseSegmentList(chain);
    PrimPolyToCodedPoints(chain, points);
}
}  // namespace

void ReverseChain(QV_List<QV_Coord3DLong>& chain) {
    const int32_t n = chain.GetCount();
    for (int32_t i = 0; i < n / 2; ++i) std::swap(chain[i], chain[n - 1 - i]);
}

bool BuildEdgesAlongPolyline(BaseRSWCls& owner, double width, int32_t mode) {
    // Side 0 is left of the polyline's direction; an offset to side 1 runs against it and is turned round.
    QV_List<PrimPoly> near, far;
    bool reverseRight = false;
    if (mode == 2) {
        OffsetPolygonWithArcs(owner.polyPrims, 0, width / 2.0, near, 1);
        OffsetPolygonWithArcs(owner.polyPrims, 1, width / 2.0, far, 1);
        owner.leftPrims = near;
        owner.rightPrims = far;
        reverseRight = true;
    } else if (mode == 1) {
        OffsetPolygonWithArcs(owner.polyPrims, 1, width / 2.0, near, 1);
        OffsetPolygonWithArcs(owner.polyPrims, 1, width, far, 1);
        ReverseSegmentList(near);
        owner.leftPrims = owner.polyPrims;
        owner.rightPrims = far;
        reverseRight = true;
        owner.polyPrims = near;
    } else {
        OffsetPolygonWithArcs(owner.polyPrims, 0, width, near, 1);
        OffsetPolygonWithArcs(owner.polyPrims, 0, width / 2.0, far, 1);
        owner.leftPrims = near;
        owner.rightPrims = owner.polyPrims;
        owner.polyPrims = far;
    }
    if (owner.leftPrims.GetCount() == 0 || owner.rightPrims.GetCount() == 0) return false;
    if (mode != 2) {
        owner.points2D.Clear();
        if (!PrimPolyToCoord3D(owner.polyPrims, owner.points2D) ||
            !PrimPolyToCodedPoints(owner.polyPrims, owner.points3D))
            return false;
    }
    owner.chainA.Clear();
    owner.chainB.Clear();
    ToCodedPoints(owner.leftPrims, owner.chainA, false);
    ToCodedPoints(owner.rightPrims, owner.chainB, reverseRight);
    return owner.chainA.GetCount() >= 2 && owner.chainB.GetCount() >= 2;
}

CommandEnd PlaceEarthworkSet(BaseRSWCls& owner, const EarthworkSetSpec& spec, const EarthworkObjectWriter& write,
                             API_Element& result, const std::function<void()>& edgesPlaced) {
    owner.descriptor.Reset();
    API_Element record = {};
    record.header.typeID = API_ObjectID;
    if (ACAPI_Element_GetDefaults(&record, nullptr) != NoError) return CommandEnd::Failed;
    if (spec.libIndex <= 0 || !BaseLP::GetLibPartParams(spec.libIndex, nullptr, nullptr, nullptr, nullptr))
        return CommandEnd::Failed;
    if (owner.chainA.GetCount() == 0) return CommandEnd::Failed;
    // The objects' heights are absolute: their level cancels the story's, which the host must give.
    const double storyLevel = GetStoryLevel(owner.element);
    if (!(storyLevel < UnknownStoryLevel)) return CommandEnd::Failed;
    OperatorLayer operators;

    record.header.layer = spec.layer;
    record.object.libInd = spec.libIndex;
    record.object.angle = 0.0;
    record.object.pen = spec.pen;
    // A road's or railway's chains both run from the first side here: its stored right edge runs back, so that the
    // left edge followed by it goes once around the strip. A sidewalk's right chain comes as the side split left it,
    // running back, and is stored running beside the left one.
    ReverseChain(owner.chainB);
    const API_Coord origin{owner.chainA[0].x, owner.chainA[0].y};
    TranslateEdgeSet(owner, origin);
    if (edgesPlaced) edgesPlaced();
    record.header.floorInd = owner.element.header.floorInd;
    record.object.pos = origin;
    record.object.level = -storyLevel;

    API_Element cut = record, fill = record;
    result = record;
    API_Element* placed[3] = {&cut, &fill, &result};
    const char* roles[3] = {"cut", "fill", "result"};
    const int32_t layers[3] = {operators.index, operators.index, spec.layer};
    ElementWritten = 1;
    for (int32_t k = 0; k < 3; ++k) {
        API_ElementMemo memo;
        std::memset(static_cast<void*>(&memo), 0, sizeof memo);
        GSHandle params = nullptr;
        const bool read = BaseLP::GetLibPartParams(spec.libIndex, &params, nullptr, nullptr, nullptr);
        memo.params = reinterpret_cast<API_AddParType**>(params);
        QV_String name = spec.name;
        SetMemoInfoString(memo, name);
        bool ok = false;
        if (read)
            ok = write(*placed[k], memo, layers[k], QV_String(roles[k]));
        else
            DisposeElemMemo(memo);
        if (!ok) {
            // A set is never left with one or two of its objects.
            for (int32_t j = 0; j < k; ++j) DeleteObject(*placed[j]);
            return CommandEnd::Failed;
        }
    }

    // The set stands: a failure from here on keeps it.
    QV_String resultText;
    GuidToText(resultText, result.header.guid);
    bool linked = true;
    for (const API_Element* object : placed)
        linked = linked &&
            WriteLinkPresenceParams(object->header, result.header.guid, cut.header.guid, fill.header.guid, spec.kind);
    linked = linked &&
        WriteEarthworkLinkRecords(owner.descriptor, spec.kind, cut, fill, result, owner.element,
                                  spec.originalLink ? resultText : QV_String());
    linked = linked && LinkElements(owner, cut.header.guid, fill.header.guid);
    if (!linked) return CommandEnd::KeepSoFar;
    ACAPI_Automate(APIDo_RebuildID, nullptr, nullptr);
    // A set the host builds no body for would reshape nothing: it is not placed.
    if (!RefuseUnbuiltSet(cut.header.guid, fill.header.guid, EarthworkName(spec.name, spec.kind)))
        return CommandEnd::Failed;
    return CommandEnd::Done;
}

void TranslateEdgeSet(BaseRSWCls& owner, const API_Coord& origin) {
    TranslateCodedPoints(owner.chainA, origin);
    TranslateCodedPoints(owner.chainB, origin);
    TranslateCoords3D(owner.left3D, origin);
    TranslateCoords3D(owner.right3D, origin);
    TranslateCoords2D(owner.frameFirst, origin);
    TranslateCoords2D(owner.frameSecond, origin);
}

bool WriteEarthworkLinkRecords(ElemDescriptor& descriptor, int32_t kind, const API_Element& cut,
                               const API_Element& fill, const API_Element& result, const API_Element& terrain,
                               const QV_String& resultGuidText) {
    descriptor.Reset();
    GuidToText(descriptor.ResultGuid, result.header.guid);
    GuidToText(descriptor.FillGuid, fill.header.guid);
    GuidToText(descriptor.CutGuid, cut.header.guid);
    GuidToText(descriptor.TerrainGuid, terrain.header.guid);
    descriptor.OriginalGuid = resultGuidText;
    for (const API_Element* object : {&cut, &fill, &result})
        if (!ElemUserData_WriteRecord(descriptor, kind, object->header)) return false;
    return true;
}
