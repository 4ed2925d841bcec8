// The retaining-wall tool's operations: a wall from a polyline or along a road or plateau, an obstacle removed,
// placed walls edited, the tool's defaults, and the side of the path picked with an arrow following the cursor.
#include "earthworks/Obstacle.hpp"

#include "earthworks/EarthworkDialogs.hpp"
#include "earthworks/EarthworkSelection.hpp"
#include "earthworks/EarthworkSet.hpp"
#include "earthworks/WallProfile.hpp"
#include "elements/ContourLineRefresh.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/PointInput.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "geometry/project/ElementPolygonRead.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"

#include "APIInteraction.hpp"

#include <cmath>
#include <cstring>

namespace {
constexpr int32_t PromptDirection = 10;
constexpr int32_t PromptObstacle = 11;
constexpr int16_t WallPenField = RetainerWallSettings::Id::pen;
constexpr int16_t WallLayerField = RetainerWallSettings::Id::layer;

// The wall whose side is being picked: the arrow feedback reads its path.
const ObstacleCls* SidePick = nullptr;

void DrawLine(double x0, double y0, double x1, double y1, int32_t value) {
    API_RubberLineType line;
    std::memset(&line, 0, sizeof line);
    line.begC = {x0, y0, 0.0};
    line.endC = {x1, y1, 0.0};
    line.lineValue = value;
    ACAPI_Interface(APIIo_DrawRubberLineID, &line);
}

// An arrow from the path's first point out to the side the cursor is on, scaled to the zoom.
void ArrowFeedback(const API_Coord3D* cursor) {
    if (cursor == nullptr || SidePick == nullptr || SidePick->points2D.GetCount() < 2) return;
    API_Box zoom = {};
    const double s = ACAPI_Database(APIDb_GetZoomID, &zoom) == NoError ? 0.025 * (zoom.yMax - zoom.yMin) : 0.0;
    const QV_CoordLong& a = SidePick->points2D[0];
    const QV_CoordLong& b = SidePick->points2D[1];
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (length == 0.0) return;
    const double ux = (b.x - a.x) / length, uy = (b.y - a.y) / length;
    const double side = (cursor->y - a.y) * (b.x - a.x) - (cursor->x - a.x) * (b.y - a.y) > 0.0 ? 1.0 : -1.0;
    const double nx = -uy * side, ny = ux * side;
    const double bx = a.x + 1.1 * s * nx, by = a.y + 1.1 * s * ny;
    const double tx = a.x + 1.5 * s * nx, ty = a.y + 1.5 * s * ny;
    DrawLine(a.x, a.y, bx, by, 1);
    DrawLine(bx - 0.2 * s * ux, by - 0.2 * s * uy, bx + 0.2 * s * ux, by + 0.2 * s * uy, 2);
    DrawLine(bx - 0.2 * s * ux, by - 0.2 * s * uy, tx, ty, 2);
    DrawLine(bx + 0.2 * s * ux, by + 0.2 * s * uy, tx, ty, 2);
}

QV_String Prompt(int32_t index) {
    QV_String text;
    GetResString(text, PromptTableBase + LanguageIndex, index);
    return text;
}

// The object's parameters through a view: `use` reads or edits them, and with `change` the object is changed with
// what `use` left in them. False when the memo cannot be read, `use` fails or the host refuses the change.
template <typename Use>
bool WithObjectParams(API_Element& object, int32_t kind, bool change, Use use) {
    API_ElementMemo memo;
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    if (ACAPI_Element_GetMemo(object.header.guid, &memo, AttachMemoMask) != NoError || memo.params == nullptr) {
        ACAPI_DisposeElemMemoHdls(&memo);
        return false;
    }
    BaseIDLP view(kind);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    bool ok = use(view);
    memo.params = reinterpret_cast<API_AddParType**>(view.params);
    view.Detach();
    if (change) ok = ok && ChangeElement(&object, &memo, nullptr) == NoError;
    DisposeElemMemo(memo);
    return ok;
}

// Reads the object's parameters into a view, lets `edit` change them, and changes the object with them.
template <typename Edit>
bool EditObjectParams(API_Element& object, int32_t kind, Edit edit) {
    return WithObjectParams(object, kind, true, edit);
}

bool SetCancellaObs(API_Element& object, int32_t kind, int16_t value) {
    const bool ok = EditObjectParams(object, kind, [&](BaseIDLP& view) {
        int16_t v = value;
        return view.GetSetShort(BaseIDParam::CancellaObs, v, LPMode_Set);
    });
    ACAPI_Automate(APIDo_RebuildID, nullptr, nullptr);
    return ok;
}

bool ReadObstacles(const API_Element& object, int32_t kind, QV_List<int32_t>& counts, QV_List<API_Coord3D>& nodes) {
    API_Element read = object;
    return WithObjectParams(read, kind, false, [&](BaseIDLP& view) {
        return BaseIDLP::ExchangeObstacles(view, counts, nodes, LPMode_Get);
    });
}

// The placement of a road or plateau object taken off a plan point: translation, rotation and mirror undone
// in that order.
API_Coord ToObjectFrame(const API_Element& object, double x, double y) {
    double dx = x - object.object.pos.x, dy = y - object.object.pos.y;
    const double angle = object.object.angle;
    if (angle != 0.0) {
        const double c = std::cos(angle), s = std::sin(angle);
        const double rx = c * dx + s * dy, ry = -s * dx + c * dy;
        dx = rx;
        dy = ry;
    }
    if (object.object.reflected != 0) dx = -dx;
    return {dx, dy};
}
}  // namespace

bool RemoveObstacleAtNode(QV_List<int32_t>& counts, QV_List<API_Coord3D>& nodes, int32_t picked) {
    int32_t total = 0;
    for (int32_t k = 0; k < counts.GetCount(); ++k) {
        const int32_t first = total;
        total += counts[k];
        if (total < picked) continue;
        if (counts[k] < 0 || first + counts[k] > nodes.GetCount()) return false;
        QV_List<API_Coord3D> kept;
        for (int32_t i = 0; i < nodes.GetCount(); ++i)
            if (i < first || i >= first + counts[k]) kept.Insert(nodes[i]);
        nodes = kept;
        counts.Remove(k);
        return true;
    }
    return false;
}

ObstacleCls::ObstacleCls() : hostKind(0), pickedNode(0), onLeft(1) {
    settings.SetDefaults();
    std::memset(changed, 0, sizeof changed);
    std::memset(static_cast<void*>(&hostElement), 0, sizeof hostElement);
}

DialogAnswer ObstacleCls::RunSettingsDialog(MiscSettings& misc, EarthworkDialogs& dialogs, SettingsMode settingsMode,
                                            int32_t mode) {
    RetainerWallDialogState state;
    state.record = settings;
    state.thickness = misc.retainingThickness;
    state.editLock = mode == 1 ? 1 : 0;
    if (dialogs.OpenRetainerWallSettings(state, settingsMode) == DialogAnswer::Cancelled)
        return DialogAnswer::Cancelled;
    settings = state.record;
    std::memcpy(changed, state.changed, sizeof changed);
    // The thickness is no field of the record: it is kept for every later wall, whatever the mode.
    misc.retainingThickness = state.thickness;
    return DialogAnswer::Confirmed;
}

int32_t ObstacleCls::EditDefaults(Settings& store, EarthworkDialogs& dialogs) {
    settings = store.retainingWall;
    if (RunSettingsDialog(store.misc, dialogs, SettingsMode::ToolDefaults, 0) == DialogAnswer::Confirmed)
        store.retainingWall = settings;
    return 0;
}

bool ObstacleCls::ChooseSide(bool& failed) {
    failed = false;
    if (points2D.GetCount() < 2) {
        failed = true;
        return false;
    }
    API_Coord3D click = {};
    API_Neig neig = {};
    SidePick = this;
    const GSErrCode err = GetPointFromUser(click, neig, Prompt(PromptDirection), nullptr, nullptr, nullptr, nullptr, -1,
                                           ArrowFeedback, nullptr, true);
    SidePick = nullptr;
    if (err != NoError) {
        failed = err != APIERR_CANCEL;
        return false;
    }
    const QV_CoordLong& a = points2D[0];
    const QV_CoordLong& b = points2D[1];
    onLeft = (click.y - a.y) * (b.x - a.x) - (click.x - a.x) * (b.y - a.y) > 0.0 ? 1 : 0;
    return true;
}

namespace {
// The steps the two create entries share up to the chorded path: 0 to go on, else the result to return (-1:
// end without a message).
int32_t PrepareWall(Settings& store, EarthworkDialogs& dialogs, ObstacleCls& cls, const API_Element& polyline,
                    const API_Element& terrain, int32_t readError) {
    if (!FindLibPartOrAsk(QV_String("VY_RETAINING_WALL"), cls.libPartIndex, true, QV_String(), APILib_ObjectID))
        return -1;
    cls.pickHead = polyline.header;
    if (!cls.ReadElement(terrain, true)) return ErrModifying;
    if (!ReadElementPolygon(polyline.header.guid, cls.points3D, cls.points2D, cls.polyPrims, cls.closedRing))
        return readError;
    if (cls.closedRing != 0) return ErrMustBeOpen;
    cls.settings = store.retainingWall;
    if (cls.RunSettingsDialog(store.misc, dialogs, SettingsMode::NewElement, 0) == DialogAnswer::Cancelled) return -1;
    store.retainingWall = cls.settings;
    bool failed = false;
    if (!cls.ChooseSide(failed)) return failed ? ErrInsertingDirection : -1;
    // The path stays selected when the host will not clear it: no wall is placed along it.
    if (ACAPI_Element_DeselectAll() != NoError) return ErrSelectedElement;
    SegmentArcs(cls.polyPrims, store.retainingWall.resolution);
    return 0;
}
}  // namespace

int32_t ObstacleCls::CreateFromPolyline(Settings& store, EarthworkDialogs& dialogs, const API_Element& polyline,
                                        const API_Element& terrain) {
    const int32_t prepared = PrepareWall(store, dialogs, *this, polyline, terrain, ErrModifying);
    if (prepared != 0) return prepared < 0 ? 0 : prepared;
    const double thickness = store.misc.retainingThickness;
    return RunWholeCommand([&] { return ComputeProfile(thickness) && PlaceObject(); }) ? 0 : ErrModifying;
}

bool ObstacleCls::RegisterAlongHost(const API_Element& polyline) {
    // The path as drawn again, in the road's or plateau's own frame.
    pickHead = polyline.header;
    if (!ReadElementPolygon(polyline.header.guid, points3D, points2D, polyPrims, closedRing)) return false;
    API_Element host = {};
    host.header.guid = hostElement.header.guid;
    if (ACAPI_Element_Get(&host) != NoError) return false;
    QV_List<int32_t> counts;
    QV_List<API_Coord3D> nodes;
    if (!ReadObstacles(host, hostKind, counts, nodes)) return false;
    counts.Insert(points2D.GetCount());
    // The third column holds the vertex code: the path carries no height of its own.
    for (const QV_CoordLong& p : points2D) {
        const API_Coord local = ToObjectFrame(host, p.x, p.y);
        nodes.Insert({local.x, local.y, double(p.code)});
    }
    return EditObjectParams(
               host, hostKind,
               [&](BaseIDLP& view) { return BaseIDLP::ExchangeObstacles(view, counts, nodes, LPMode_Set); }) &&
        SyncSiblingObjects(host.header, hostKind, false) != 0;
}

int32_t ObstacleCls::CreateAlongElement(Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                                        const API_Element& polyline, const API_Element& host, int32_t kind,
                                        const API_Element& terrain) {
    hostElement = host;
    hostKind = kind;
    const int32_t prepared = PrepareWall(store, dialogs, *this, polyline, terrain, ErrFindingData);
    if (prepared != 0) return prepared < 0 ? 0 : prepared;
    // A wall the road or plateau does not know of would stand in its slopes, and an obstacle without its wall
    // would bend them for nothing: a failure takes both back.
    const double thickness = store.misc.retainingThickness;
    const bool ok =
        RunWholeCommand([&] { return ComputeProfile(thickness) && PlaceObject() && RegisterAlongHost(polyline); });
    if (!ok) return ErrModifying;
    contours.RefreshContourLines(element);
    return 0;
}

int32_t ObstacleCls::RemoveObstacle(ContourLineRefresh& contours, const API_Element& host, int32_t kind) {
    hostElement = host;
    hostKind = kind;
    QV_List<int32_t> counts;
    QV_List<API_Coord3D> nodes;
    if (!ReadObstacles(hostElement, hostKind, counts, nodes)) return ErrObstacleRemoval;
    if (counts.IsEmpty()) return ErrNoObstacle;
    int32_t result = 0;
    API_Element terrain = {};
    bool removed = false;
    const bool ran = RunWholeCommand([&] {
        if (!SetCancellaObs(hostElement, hostKind, 1)) {
            result = ErrObstacleRemoval;
            return false;
        }
        API_Coord3D click = {};
        API_Neig neig = {};
        GSErrCode err = NoError;
        for (;;) {
            err = GetPointFromUser(click, neig, Prompt(PromptObstacle), nullptr, nullptr, nullptr, nullptr, -1, nullptr,
                                   nullptr, true);
            if (err != NoError || neig.guid == hostElement.header.guid) break;
            ShowErrorMessage(ErrNotItsObstacle, AlertKind::Error);
        }
        if (err != NoError) {
            // Put back as it was; a reset that fails is the error, the failed pick's or the cancel's.
            if (!SetCancellaObs(hostElement, hostKind, 0))
                result = err == APIERR_CANCEL ? ErrObstacleRemoval : ErrObstaclePick;
            else if (err != APIERR_CANCEL)
                result = ErrObstaclePick;
            return result == 0;
        }
        pickedNode = neig.inIndex;
        if (!SetCancellaObs(hostElement, hostKind, 0)) {
            result = ErrObstacleRemoval;
            return false;
        }
        // A node past the last obstacle removes nothing: the lists stay as they are.
        if (!RemoveObstacleAtNode(counts, nodes, pickedNode)) return true;
        ElemDescriptor record;
        API_Guid terrainGuid = APINULLGuid;
        if (!ElemUserData_Read(record, hostKind, hostElement.header)) {
            result = ErrObstacleRemoval;
            return false;
        }
        StringToGuid(terrainGuid, record.TerrainGuid);
        terrain.header.guid = terrainGuid;
        if (ACAPI_Element_Get(&terrain) != NoError) {
            result = ErrObstacleRemoval;
            return false;
        }
        if (!EditObjectParams(
                hostElement, hostKind,
                [&](BaseIDLP& view) { return BaseIDLP::ExchangeObstacles(view, counts, nodes, LPMode_Set); }) ||
            SyncSiblingObjects(hostElement.header, hostKind, false) == 0) {
            result = ErrObstacleRemoval;
            return false;
        }
        removed = true;
        return true;
    });
    // A command the host would not run removed nothing.
    if (!ran && result == 0) result = ErrObstacleRemoval;
    if (result == 0 && removed) contours.RefreshContourLines(terrain);
    return result;
}

int32_t ObstacleCls::ModifySelected(Settings& store, EarthworkDialogs& dialogs, const QV_List<API_Element>& walls) {
    const auto read = [&] {
        if (!ReadSetSettings<ObstacleLP>(walls, ElemKind_RetainingWall, settings, true)) return false;
        settings.layer = walls[0].header.layer;
        settings.pen = uint16_t(walls[0].object.pen);
        return true;
    };
    const auto dialog = [&] {
        return RunSettingsDialog(store.misc, dialogs, SettingsMode::Editing(walls.GetCount()), 1);
    };
    const auto apply = [&] {
        if (!AnyFieldChanged(changed)) return true;
        API_Element mask = EmptyChangeMask();
        MarkWhen(mask.header.layer, changed[WallLayerField] != 0);
        MarkWhen(mask.object.pen, changed[WallPenField] != 0);
        for (int32_t i = 0; i < walls.GetCount(); ++i) {
            API_Element wall = walls[i];
            wall.header.layer = settings.layer;
            wall.object.pen = int16_t(settings.pen);
            API_ElementMemo memo;
            std::memset(static_cast<void*>(&memo), 0, sizeof memo);
            if (ACAPI_Element_GetMemo(wall.header.guid, &memo, AttachMemoMask) != NoError || memo.params == nullptr) {
                ACAPI_DisposeElemMemoHdls(&memo);
                return false;
            }
            ObstacleLP view(ElemKind_RetainingWall);
            view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
            RetainerWallSettings own;
            bool ok = SerializeSettings(view, own, 0);
            // The fill is not taken over, as placed walls have always been edited.
            using Id = RetainerWallSettings::Id;
            for (int16_t id : {Id::height, Id::leftAngle, Id::rightAngle, Id::resolution, Id::material, Id::pen2D,
                               Id::fillPen, Id::fillBackgroundPen})
                if (changed[id] != 0) own.CopyField(settings, id);
            ok = ok && SerializeSettings(view, own, 1);
            memo.params = reinterpret_cast<API_AddParType**>(view.params);
            view.Detach();
            QV_String name = settings.name;
            SetMemoInfoString(memo, name);
            ok = ok && ChangeElement(&wall, &memo, &mask) == NoError;
            DisposeElemMemo(memo);
            if (!ok) return false;
        }
        return true;
    };
    return ModifyEarthworkSelection(read, dialog, apply);
}
