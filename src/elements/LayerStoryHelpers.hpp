#pragma once
// Services the element classes share: keeping layers shown and editable while objects are changed and putting
// their flags back afterwards, story lookups, and small conversions between host texts, GUIDs, paths and memos.
//
// Layer names go to and come from the host's layer records as UTF-8, both when a layer is created and when one
// is looked up, so names outside ASCII find the layer they created.
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"
#include "geometry/QV_Poly.hpp"

#include "APIElements.hpp"
#include "IO.hpp"

#include <cmath>
#include <cstdint>

// The four layer flags, each 1 when its bit is set: 0x1 hidden, 0x2 locked, 0x4, 0x10.
struct LayerFlags {
    uint8_t hidden = 0;
    uint8_t locked = 0;
    uint8_t flag4 = 0;
    uint8_t flag16 = 0;
};

// A layer's flags as saved before the add-on opened it.
struct LayerState {
    int16_t index;
    uint8_t hidden;
    uint8_t locked;
    uint8_t flag4;
    uint8_t flag16;
};

LayerFlags LayerFlagsFromWord(uint32_t word);
// The flags word built from the four flags (every other bit clear).
uint32_t LayerFlagsWord(const LayerFlags& flags);
LayerFlags FlagsOf(const LayerState& state);

// The operator-layer names: its first entry, "VY_Operators", names the layer holding the cut and fill objects.
extern QV_List<QV_String> VY_Operators;

// The name as UTF-8 in a record's name field, cut at a character boundary; false for a name without buffer
// or one that cannot be converted.
bool LayerNameToField(const QV_String& name, char* field, size_t fieldSize);
// Reads the layer of that name; false when there is none (or the host cannot tell).
bool ReadLayerByName(const QV_String& name, API_Attribute* layer);

// --- layers
// Records the layer of each element once (its flags before) and opens it (all flags cleared). With clearFirst
// `states` is emptied first. False when a state could not be recorded (the layer stays as it was).
bool SaveAndOpenLayers(const QV_List<QV_String>& operatorNames, const QV_List<API_Element>& elements,
                       QV_List<LayerState>& states, bool clearFirst);
// The same for one layer (the step SaveAndOpenLayers takes per element).
bool SaveAndOpenLayer(int32_t layerIndex, QV_List<LayerState>& states);
// Writes every recorded flag set back, in order.
void RestoreLayerStates(const QV_List<QV_String>& operatorNames, const QV_List<LayerState>& states);
// Replace a layer's flags word by the four flags; the host error.
GSErrCode SetLayerFlagsByIndex(const LayerFlags& flags, int32_t index);
GSErrCode SetLayerFlagsByName(const LayerFlags& flags, const QV_String& name);
// Index 0: the layer named by the first operator name; any other index: that layer.
GSErrCode SetLayerState(const QV_List<QV_String>& operatorNames, int32_t index, const LayerFlags& flags);
// Unless `skip`: the operator layer's flags go to outFlags, then its flags word is rebuilt from the given flags
// (a null pointer counts as 0). With `skip` (or no such layer) outFlags is all 0 and nothing is written.
GSErrCode OpenLayerByName(const QV_List<QV_String>& operatorNames, LayerFlags& outFlags, int32_t skip,
                          const uint8_t* hidden, const uint8_t* locked, const uint8_t* flag4, const uint8_t* flag16);
// The operator layer's index, created (flags 17) when missing; a host error (negative) when that fails.
int32_t EnsureOperatorLayer();
// Zeroes every entry's flags, then empties the list.
void ClearLayerStates(QV_List<LayerState>& states);

// --- stories
// Makes a story current; true when the host accepts.
bool SetCurrentStory(int16_t index);
// The level of the story with that index; 1.7976931348623157e308 when the host cannot tell or none matches.
double GetStoryLevel(int16_t index);
// With `switch3D`: the 3D model's database becomes current and, with `rebuild`, the window is rebuilt (`flag`
// asks for a full regeneration). Nothing happens without `switch3D`.
void RebuildCurrentWindow(bool switch3D, bool rebuild, int32_t flag);

// --- conversions
// The location's path text without a trailing backslash; empty for a location without a path.
void LocationToPathString(QV_String& outText, const IO::Location& location);
// The GUID of the text; the null GUID when it cannot be parsed.
void StringToGuid(API_Guid& outGuid, const QV_String& text);
// The memo's element ID text becomes a copy of `text`; then `text` is emptied.
void SetMemoInfoString(API_ElementMemo& memo, QV_String& text);
// Releases the memo's parameter list (its array cells too), then every other handle through the host.
void DisposeElemMemo(API_ElementMemo& memo);
// Rotates (x, y) about (cx, cy) by `angle` radians, counter-clockwise.
void RotatePoint(double& x, double& y, double cx, double cy, double angle);

// Sets the number of polygons (a negative count counts as 0). With `keep` the polygons below the count stay and
// those beyond it are destroyed; without it all are destroyed. Every polygon that is not kept starts empty.
// False when the list cannot grow (it is then left as it was, or empty without `keep`).
bool SetPolyListSize(QV_List<QV_Poly>& list, int32_t count, bool keep);

// The position (from 1) of the first segment of `list` whose ends equal the segment's ends in either direction,
// each coordinate within 1e-7. Segment records have x1, y1 (start) and x2, y2 (end).
template <typename Segment>
bool FindSegmentIndex(const QV_List<Segment>& list, const Segment& segment, int32_t& outIndex) {
    const auto near = [](double a, double b) { return std::fabs(a - b) <= 1e-7; };
    for (int32_t i = 0; i < list.GetCount(); ++i) {
        const Segment& s = list[i];
        const bool same =
            near(s.x1, segment.x1) && near(s.y1, segment.y1) && near(s.x2, segment.x2) && near(s.y2, segment.y2);
        const bool reversed =
            near(s.x1, segment.x2) && near(s.y1, segment.y2) && near(s.x2, segment.x1) && near(s.y2, segment.y1);
        if (same || reversed) {
            outIndex = i + 1;
            return true;
        }
    }
    return false;
}

// A box with four lists: a 64-bit head, the minimum and the maximum corner, then the lists.
template <typename T1, typename T2, typename T3, typename T4>
struct BoundsAndLists {
    int64_t head = 0;
    double minX = 0.0, minY = 0.0, minZ = 0.0;
    double maxX = 0.0, maxY = 0.0, maxZ = 0.0;
    QV_List<T1> list1;
    QV_List<T2> list2;
    QV_List<T3> list3;
    QV_List<T4> list4;
};

// Head 0, the box unset (minimum 1.79769313486231e308, maximum -1.79769313486231e308 in each coordinate: that
// literal, not the largest double) and the four lists emptied.
template <typename T1, typename T2, typename T3, typename T4>
void ResetBoundsAndLists(BoundsAndLists<T1, T2, T3, T4>& record) {
    constexpr double kUnset = 1.79769313486231e308;
    record.head = 0;
    record.minX = record.minY = record.minZ = kUnset;
    record.maxX = record.maxY = record.maxZ = -kUnset;
    record.list1.Clear();
    record.list2.Clear();
    record.list3.Clear();
    record.list4.Clear();
}
