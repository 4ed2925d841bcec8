#include "siteobjects/Gravity.hpp"

#include "elements/ActiveStory.hpp"
#include "elements/AddOnObjects.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/StoryHelpers.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/PointInput.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "geometry/FramePolygons.hpp"
#include "elements/WholeCommand.hpp"
#include "siteobjects/SiteHeights.hpp"
#include "terrain/TerrainInputQueries.hpp"

#include <cstring>

namespace {

constexpr int32_t DefinePointPrompt = 5;  // "Define the point"

bool Usable(double level) { return level < 1e300; }

}  // namespace

bool GravityCls::AssignTerrains(const QV_List<API_Element>& objects) {
    terrainIndex.Clear();
    for (int32_t i = 0; i < objects.GetCount(); ++i)
        if (!terrainIndex.Insert(-1)) return false;
    for (int32_t t = 0; t < terrains.GetCount(); ++t) {
        QV_Poly outline;
        if (!outline.ReadFromElement(terrains[t].header, 0)) return false;
        for (int32_t i = 0; i < objects.GetCount(); ++i)
            if (terrainIndex[i] == -1 && PointInPolygonWithArcs(outline, objects[i].object.pos) == 1)
                terrainIndex[i] = t;
    }
    return true;
}

bool GravityCls::ComputeHeights(const QV_List<API_Element>& objects) {
    heights.Clear();
    for (int32_t i = 0; i < objects.GetCount(); ++i)
        if (!heights.Insert(0.0)) return false;
    for (int32_t t = 0; t < terrains.GetCount(); ++t) {
        if (!ReadElement(terrains[t], true)) return false;
        for (int32_t i = 0; i < objects.GetCount(); ++i)
            if (terrainIndex[i] == t && !TerrainHeightAtPoint(element, objects[i].object.pos, heights[i])) return false;
    }
    return true;
}

int32_t GravityCls::Run(const QV_List<API_Element>& objects) {
    // The objects stay selected when the host will not clear them: none is moved.
    if (ACAPI_Element_DeselectAll() != NoError) return ErrSelectedElement;
    if (!EnsureFloorPlanWindow(false)) return ErrDatabase;
    terrains.Clear();
    if (!CollectAddOnObjects(ElemKind_Terrain, API_MeshID, Leave3D::Yes, terrains) || !AssignTerrains(objects))
        return ErrModifying;
    const bool moved = RunWholeCommand([&] {
        if (!ComputeHeights(objects)) return false;
        for (int32_t i = 0; i < objects.GetCount(); ++i) {
            if (terrainIndex[i] == -1) continue;
            API_Element object = objects[i];
            // The level is measured from the element's own story.
            const double storyLevel = GetStoryLevel(object.header.floorInd);
            if (!Usable(storyLevel)) return false;
            object.object.level = heights[i] - storyLevel;
            API_Element mask;
            std::memset(static_cast<void*>(&mask), 0, sizeof mask);
            std::memset(static_cast<void*>(&mask.object.level), 0xFF, sizeof mask.object.level);
            if (ACAPI_Element_Change(&object, &mask, nullptr, 0) != NoError) return false;
        }
        return true;
    });
    return moved ? 0 : ErrModifying;
}

int32_t GravityCls::Build(const API_Element* terrain) {
    if (!EnsureFloorPlanWindow(false)) return ErrDatabase;
    QV_Poly outline;
    if (terrain != nullptr) {
        if (!SetCurrentStory(terrain->header.floorInd)) return ErrDatabase;
        if (!ReadElement(*terrain, true) || !outline.ReadFromElement(terrain->header, 0)) return ErrModifying;
    }
    API_Element defaults = {};
    API_ElementMemo memo = {};
    const bool haveDefaults = GetObjectDefaults(defaults, &memo);
    DisposeElemMemo(memo);
    if (!haveDefaults) return ErrModifying;
    QV_String prompt;
    GetResString(prompt, PromptTableBase + LanguageIndex, DefinePointPrompt);
    int32_t result = 0;
    for (;;) {
        API_Coord3D click = {};
        API_Neig neig = {};
        const GSErrCode err =
            GetPointFromUser(click, neig, prompt, nullptr, nullptr, nullptr, nullptr, -1, nullptr, nullptr, true);
        if (err == APIERR_CANCEL) break;
        if (err != NoError) {
            result = ErrSpecifyingPoint;
            break;
        }
        // Each click is an undo step of its own.
        const bool done = RunWholeCommand([&] {
            // Each creation takes its own copy of the defaults' memo.
            API_Element placed = {};
            API_ElementMemo copy = {};
            if (!GetObjectDefaults(placed, &copy)) return false;
            double z = 0.0;
            // Without a terrain the object stands on the current story's floor.
            const int16_t story = terrain != nullptr ? terrain->header.floorInd : ActiveStoryIndex();
            double storyLevel = 0.0;
            if (terrain != nullptr) {
                storyLevel = GetStoryLevel(story);
                if (!Usable(storyLevel) || !TerrainHeightAtPoint(element, {click.x, click.y}, z)) {
                    DisposeElemMemo(copy);
                    return false;
                }
            } else if (story == NoActiveStory) {
                DisposeElemMemo(copy);
                return false;
            }
            placed.header.floorInd = story;
            placed.object.level = z - storyLevel;
            placed.object.pos = {click.x, click.y};
            return CreateElementWithMemo(&placed, &copy, true) == NoError;
        });
        if (!done) {
            result = ErrModifying;
            break;
        }
    }
    return result;
}
