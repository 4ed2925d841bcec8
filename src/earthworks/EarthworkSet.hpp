#pragma once
// What the line-following earthworks share: the edges built along a polyline in one of the three position modes,
// the three objects of a set (cut, fill, result) placed, linked and written (road, railway, sidewalk), and how a
// new earthwork's command ends when its set fails (RunCommand of elements/WholeCommand).
#include "elements/BaseCls.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"
#include "UniString.hpp"

#include <cstdint>
#include <functional>

// From the polyline's outline in `owner.polyPrims`: the left edge into chainA and the right one into chainB,
// both running with the polyline. Mode 2 centres the strip of `width` on the polyline, mode 1 puts it right of
// the polyline (the polyline is its left edge), any other mode left of it; outside mode 2 the owner's centre
// line (polyPrims and its coded lists) becomes the strip's middle. False when an offset leaves nothing.
bool BuildEdgesAlongPolyline(BaseRSWCls& owner, double width, int32_t mode);

// The owner's edge chains, frame contours and draped edges moved so that `origin` becomes 0,0.
void TranslateEdgeSet(BaseRSWCls& owner, const API_Coord& origin);

// The chain's points in the other order.
void ReverseChain(QV_List<QV_Coord3DLong>& chain);

// The link records of a cut, fill and result set (`kind` 6 road, 21 railway, 11 sidewalk): the GUID texts of the
// result, fill, cut and terrain, and `resultGuidText` as the fifth, written on the cut, fill and result object in
// turn.
bool WriteEarthworkLinkRecords(ElemDescriptor& descriptor, int32_t kind, const API_Element& cut,
                               const API_Element& fill, const API_Element& result, const API_Element& terrain,
                               const QV_String& resultGuidText);

struct EarthworkSetSpec {
    int32_t kind;      // ElemKind of the three objects' records
    int32_t libIndex;  // their library part
    int16_t layer;     // the result object's layer; cut and fill go on the operator layer
    int16_t pen;
    QV_String name;            // element information text
    bool originalLink = true;  // the records also name the result object as the set's original (roads)
};
// Writes the parameters of one object (its role "cut", "fill" or "result") into the memo, then creates it on
// `layer`; the memo is the writer's to dispose.
using EarthworkObjectWriter =
    std::function<bool(API_Element& object, API_ElementMemo& memo, int32_t layer, const QV_String& role)>;

// Places the set inside the caller's undoable command: origin = the left edge's first point (the owner's lists
// moved to it, then `edgesPlaced` run when given), objects at absolute height 0 on the terrain's story, cut and
// fill on the opened operator layer. A failed object deletes those placed before it. Then the presence flags,
// the link records and the terrain's solid links. `result` becomes the result object. True when all three are
// placed and linked (Done); KeepSoFar when all three stand and their identities, link records or links fail: the
// command keeps the set, unlinked or partly linked, as one undo step and the caller tells the failure; Failed, with
// nothing of the set left, when an object cannot be placed.
CommandEnd PlaceEarthworkSet(BaseRSWCls& owner, const EarthworkSetSpec& spec, const EarthworkObjectWriter& write,
                             API_Element& result, const std::function<void()>& edgesPlaced = nullptr);
