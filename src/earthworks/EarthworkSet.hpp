#pragma once
// What the road and the railway share: the edges built along a polyline in one of the three position modes, the
// three objects of a set (cut, fill, result) placed, linked and written, and the undoable command around them.
#include "elements/BaseCls.hpp"
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"
#include "UniString.hpp"

#include <cstdint>
#include <functional>

// The undo text of the earthworks' commands ("External command").
GS::UniString EarthworkUndoText();
// `work` as one undoable command; true when it succeeded. What a failed work made before its failure stays, unless
// it left a temporary element behind: then the whole command is taken back.
bool RunEarthworkCommand(const std::function<bool()>& work);

// From the polyline's outline in `owner.polyPrims`: the left edge into chainA and the right one into chainB,
// both running with the polyline. Mode 2 centres the strip of `width` on the polyline, mode 1 puts it right of
// the polyline (the polyline is its left edge), any other mode left of it; outside mode 2 the owner's centre
// line (polyPrims and its coded lists) becomes the strip's middle. False when an offset leaves nothing.
bool BuildEdgesAlongPolyline(BaseRSWCls& owner, double width, int32_t mode);

// The owner's edge chains and frame contours and the draped edges moved so that `origin` becomes 0,0.
void TranslateEdgeSet(BaseRSWCls& owner, QV_List<API_Coord3D>& left3D, QV_List<API_Coord3D>& right3D,
                      const API_Coord& origin);

// The right edge reversed, so that the left edge followed by it runs once around the strip.
void ReverseChain(QV_List<QV_Coord3DLong>& chain);

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

// Places the set inside the caller's undoable command: origin = the left edge's first point (`translate` moves
// the owner's lists to it), objects at absolute height 0 on the terrain's story, cut and fill on the opened
// operator layer. A failed object deletes those placed before it. Then the presence flags, the link records
// and the terrain's solid links. `result` becomes the result object. True when all three are placed and linked.
bool PlaceEarthworkSet(BaseRSWCls& owner, const EarthworkSetSpec& spec,
                       const std::function<void(const API_Coord&)>& translate, const EarthworkObjectWriter& write,
                       API_Element& result);
