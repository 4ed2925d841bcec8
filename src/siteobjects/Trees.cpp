#include "siteobjects/Trees.hpp"

#include "elements/ActiveStory.hpp"
#include "elements/BaseLP.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/StoryHelpers.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/PointInput.hpp"
#include "foundation/ToolLayerCheck.hpp"
#include "foundation/OwnedMemo.hpp"
#include "geometry/PolygonTests.hpp"
#include "geometry/QV_Poly.hpp"
#include "siteobjects/SiteHeights.hpp"
#include "siteobjects/SiteObjectDialogs.hpp"
#include "siteobjects/TreeBranches.hpp"
#include "siteobjects/TreeParams.hpp"
#include "settings/Settings.hpp"
#include "terrain/TerrainInputQueries.hpp"

#include <cstring>

namespace {

void Rebuild() {
    API_RebuildParams rebuild = {};
    ACAPI_Automate(APIDo_RebuildID, &rebuild);
}

// One tree at `point`: its branches, parameters and placement; the parameter list is the caller's and serves
// every tree of the command (each creation copies it).
void PlaceOneTree(const TreeSettings& s, const API_Element& defaults, int32_t libIndex, BaseLP& view,
                  const API_Coord& point, int16_t story, bool onTerrain, double elevation) {
    API_Element tree = defaults;
    tree.header.typeID = API_ObjectID;
    tree.header.floorInd = story;
    tree.object.libInd = libIndex;
    tree.object.pos = point;
    if (onTerrain) tree.object.level = elevation;
    WriteTreeShape(view, s.branches, s.levels, s.angle);
    tree.header.layer = int16_t(s.layer);
    if (!CheckToolLayer(int16_t(s.layer))) ShowErrorMessage(ErrLayer, AlertKind::Error);
    WriteTreeSettings(view, s);
    API_ElementMemo memo;
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    memo.params = reinterpret_cast<API_AddParType**>(view.params);  // still the view's: not disposed here
    if (CreateElementWithMemo(&tree, &memo, false) != NoError) {
        ShowErrorMessage(ErrCreatingObject, AlertKind::Error);
        return;
    }
    Rebuild();
}

}  // namespace

DialogAnswer EditTreeSettings(TreeSettings& stored, SiteObjectDialogs& dialogs, SettingsMode mode,
                              TreeChangeFlags& changed) {
    TreeSettings work = stored;
    TreeChangeFlags flags;
    if (dialogs.OpenTreeSettings(work, flags, mode) == DialogAnswer::Cancelled) return DialogAnswer::Cancelled;
    stored = work;
    changed = flags;
    return DialogAnswer::Confirmed;
}

int32_t CreateTree(Settings& store, SiteObjectDialogs& dialogs, const API_Element* terrain) {
    int32_t libIndex = -1;
    // A missing part was reported by the search itself.
    if (!FindLibPartOrAsk(QV_String("SS_TREE"), libIndex, true, QV_String(), APILib_ObjectID)) return 0;
    QV_Poly outline;
    double storyLevel = 0.0;
    if (terrain != nullptr) {
        if (!SetCurrentStory(terrain->header.floorInd)) return ErrDatabase;
        if (!outline.ReadFromElement(terrain->header, 0)) return ErrModifying;
        storyLevel = GetStoryLevel(terrain->header.floorInd);
        if (!(storyLevel < 1e300)) return ErrDatabase;
    }
    API_Element defaults = {};
    defaults.header.typeID = API_ObjectID;
    GSHandle params = nullptr;
    bool initial = ACAPI_Element_GetDefaults(&defaults, nullptr) == NoError;
    initial = BaseLP::GetLibPartParams(libIndex, &params, nullptr, nullptr, nullptr) && initial;
    // Trees made without the object's or the part's defaults would not be the ones the dialog shows.
    if (!initial) {
        ReleaseParamRecords(&params);
        return ErrInitial;
    }
    int32_t failure = 0;
    BaseLP view;
    view.Attach(params, true);
    if (store.treeFromPart != 0) {
        ReadTreeSettings(view, store.tree, defaults);
        store.treeFromPart = 0;
    }
    TreeChangeFlags changed;
    const bool confirmed =
        EditTreeSettings(store.tree, dialogs, SettingsMode::NewElement, changed) == DialogAnswer::Confirmed;
    // Counts typed past the dialog's ranges would make a tree no array holds.
    if (confirmed && !TreeCountsUsable(store.tree.branches, store.tree.levels)) {
        ShowErrorMessage(ErrModifying, AlertKind::Error);
    } else if (confirmed) {
        for (;;) {
            API_Coord3D click = {};
            API_Neig neig = {};
            const GSErrCode err = GetPointFromUser(click, neig, QV_String(""), nullptr, nullptr, nullptr, nullptr, -1,
                                                   nullptr, nullptr, true);
            if (err == APIERR_CANCEL) break;
            if (err != NoError) {
                ShowErrorMessage(ErrSpecifyingPoint, AlertKind::Error);
                break;
            }
            const API_Coord point = {click.x, click.y};
            bool onTerrain = false;
            double height = 0.0;
            if (terrain != nullptr) {
                int32_t edge = 0;
                if (PointInPolygon(outline, point.x, point.y, edge, 1e-7) == 1) {
                    // A tree on the terrain without its height there would stand at a height never measured.
                    if (!TerrainHeightAtPoint(*terrain, point, height)) {
                        failure = ErrModifying;
                        break;
                    }
                    onTerrain = true;
                }
            }
            const int16_t story = onTerrain ? terrain->header.floorInd : ActiveStoryIndex();
            if (story == NoActiveStory) {
                failure = ErrDatabase;
                break;
            }
            PlaceOneTree(store.tree, defaults, libIndex, view, point, story, onTerrain, height - storyLevel);
        }
    }
    view.Detach();
    ReleaseParamRecords(&params);
    return failure;
}

bool RegenerateTrees(Settings& store, SiteObjectDialogs& dialogs, const QV_List<API_Element>& trees) {
    TreeChangeFlags changed;
    if (trees.GetCount() == 0 ||
        EditTreeSettings(store.tree, dialogs, SettingsMode::Editing(trees.GetCount()), changed) ==
            DialogAnswer::Cancelled)
        return true;
    bool allGrown = true;
    for (int32_t i = 0; i < trees.GetCount(); ++i) {
        API_Element element = trees[i];
        OwnedMemo memo;
        if (memo.Read(element.header.guid, APIMemoMask_AddPars) != NoError) return false;
        BaseLP view;
        view.Attach(reinterpret_cast<GSHandle>(memo->params), true);
        bool write = true;
        if (WriteFlaggedTreeSettings(view, store.tree, changed, element)) {
            int32_t n = 0, levels = 0;
            double angle = 0.0;
            ReadTreeShape(view, n, levels, angle);
            // A tree whose own counts no array can hold keeps what it has.
            write = WriteTreeShape(view, n, levels, angle);
        }
        view.Detach();
        if (write) {
            API_Element mask;
            std::memset(static_cast<void*>(&mask), 0xFF, sizeof mask);
            if (ChangeElement(&element, memo.Get(), &mask) != NoError) return false;
        }
        allGrown = allGrown && write;
    }
    if (!allGrown) ShowErrorMessage(ErrModifying, AlertKind::Error);
    return true;
}
