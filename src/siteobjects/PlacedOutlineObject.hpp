#pragma once
// Placing a site object drawn along an outline on a terrain (a building, a wall): the outline becomes relative to
// its first vertex, which is the object's position; the object takes the settings' name and layer, the terrain's
// story and level, and is created linked to the terrain.
#include "elements/ElementHelpers.hpp"
#include "elements/LevelOnStory.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/NewLibPartObject.hpp"
#include "elements/ParamIndexes.hpp"
#include "foundation/GuidText.hpp"
#include "settings/ElementSections.hpp"
#include "siteobjects/PlacedObject.hpp"

#include "APIElements.hpp"

#include <cstdint>

// `flatten`: the outline's heights become 0 too (a building stands on its level; a wall's base line keeps its
// heights). `object` receives the placed element. False at the first failure; nothing stays behind.
template <class View, class Settings>
bool PlaceOutlineObject(int32_t libPartIndex, int32_t kind, Settings& settings, const API_Element& terrain,
                        QV_List<QV_Coord3DLong>& outline, bool flatten, API_Element& object) {
    if (outline.IsEmpty()) return false;
    QV_String terrainText;
    GuidToText(terrainText, terrain.header.guid);
    API_Element placed;
    API_ElementMemo memo;
    if (!NewLibPartObject(libPartIndex, placed, memo)) return false;
    QV_String name = settings.name;
    SetMemoInfoString(memo, name);

    placed.header.layer = settings.layer;
    placed.header.floorInd = terrain.header.floorInd;
    InitPlacedObject(placed, libPartIndex);
    const QV_Coord3DLong origin = outline[0];
    for (QV_Coord3DLong& v : outline) {
        v.x -= origin.x;
        v.y -= origin.y;
        if (flatten) v.z = 0.0;
    }
    placed.object.pos = API_Coord{origin.x, origin.y};
    placed.object.level = terrain.mesh.level;

    View view(kind);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    int32_t terrainFlag = terrain.header.guid == APINULLGuid ? -1 : 0;
    const bool written = BaseIDLP::ExchangePerimetroBase(view, outline, LPMode_Set) &&
        view.GetSetInt(BaseIDParam::IDTerrain, terrainFlag, LPMode_Set) &&
        SetLPLevelOnStory(view, terrain.mesh.level, terrain.header.floorInd, LPMode_Set) &&
        SerializeSettings(view, settings, 1);
    memo.params = reinterpret_cast<API_AddParType**>(view.params);
    view.Detach();
    if (!written) {
        DisposeElemMemo(memo);
        return false;
    }
    object = placed;
    return CreateLinkedObject(object, memo, kind, terrainText, terrain);
}
