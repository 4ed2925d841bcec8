#pragma once
// What the site objects placed on a terrain share: a new object record, the object created with its record and
// its link to the terrain, its parameters read and changed, its link removed and put back.
#include "elements/BaseLP.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"
#include "geometry/QV_Poly.hpp"

#include "APIElements.hpp"

#include <cstdint>

// The object fields every placed site object starts from: its library part, angle 0, sizes 1 x 1, its own pens,
// line types, materials and section attributes.
void InitPlacedObject(API_Element& placed, int32_t libIndex);

// Creates `object` with `memo` (released in every case) while the model-update hook keeps out of it, then gives it
// the observer, its element data record of `kind` naming the terrain by `terrainText`, and the terrain's link
// (the terrain subtracting downwards from the object). `object` gets the new GUID. False at the first failure.
bool CreateLinkedObject(API_Element& object, API_ElementMemo& memo, int32_t kind, const QV_String& terrainText,
                        const API_Element& terrain);

// Per vertex: x negated when the object is mirrored, rotated by its angle, moved by its position (`toWorld`); or
// the way back.
void TransformCoordsByPlacement(const API_Element& object, QV_List<QV_Coord3DLong>& vertices, bool toWorld);

// The terrain mesh by its GUID; false for the null GUID or when the host has no such element.
bool ReadTerrainByGuid(const API_Guid& guid, API_Element& terrain);

// The ID text an edit of placed objects writes over each of them: the one the dialog showed, when it was read
// from the first object or the user changed it; else none, and each object keeps its own (the host could not
// tell the text, and an empty one would wipe the user's). A dialog may mark its name changed on every answer: an
// unread name showed empty, so only a text the user typed in its place counts as changed.
inline const QV_String* EditedName(const QV_String& name, bool read, bool changedByUser) {
    return read || (changedByUser && !name.IsEmpty()) ? &name : nullptr;
}

// The terrain's link to the object goes; a link that is not there is no failure.
bool UnlinkFromTerrain(const API_Element& object, const API_Element& terrain);

// Every solid link of each element among `heads` carrying a record of `kind` goes, as the terrain-cut objects'
// refresh does it (earthworks/TerrainCutRefresh: UnlinkObjectsOfKind). An empty list: true without work.
bool RemoveLinksOfKind(const QV_List<API_Elem_Head>& heads, int32_t kind);

// One placed object's memo (its parameters and ID text), read, viewed, changed and released.
class PlacedParams {
public:
    explicit PlacedParams(const API_Element& element) : guid_(element.header.guid) {}
    ~PlacedParams();
    PlacedParams(const PlacedParams&) = delete;
    PlacedParams& operator=(const PlacedParams&) = delete;

    // False when the host gives no memo or no parameters.
    bool Read();
    void AttachView(BaseLP& view);
    // Takes the view's (possibly grown) parameters back into the memo.
    void DetachView(BaseLP& view);
    // ACAPI_Element_ChangeParameters on this object alone.
    bool Change(API_Element& element, const API_Element* mask);

    API_ElementMemo memo = {};

private:
    API_Guid guid_;
};
