// The plateau commands: a plateau on one hatch or one per hatch, the defaults, the settings dialog's two layouts
// and the slope line of a sloped plateau.
#include "earthworks/Digging.hpp"

#include "earthworks/EarthworkDialogs.hpp"
#include "earthworks/EarthworkRefusal.hpp"
#include "earthworks/EarthworkSet.hpp"
#include "elements/ContourLineRefresh.hpp"
#include "elements/MeshHeightSampling.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/DialogLayouts.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/PointInput.hpp"
#include "geometry/MeshBody.hpp"
#include "settings/Settings.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

int32_t PlateauLibIndex = -1;
int32_t SlopedPlateauLibIndex = -1;

namespace {
constexpr GSErrCode UserCancelled = GSErrCode(0x81060003);
constexpr double TwoPi = 6.283185307179586;

// Both parts are needed even for a plain plateau: a lookup that fails has already told the user.
bool FindPlateauParts() {
    return FindLibPartOrAsk(QV_String("VY_PLATEAU"), PlateauLibIndex, true, QV_String(), APILib_ObjectID) &&
        FindLibPartOrAsk(QV_String("VY_SLOPED_PLATEAU"), SlopedPlateauLibIndex, true, QV_String(), APILib_ObjectID);
}

// The confirmed settings become the defaults; the obstacle display is shared with the other earthworks.
void StoreDefaults(Settings& store, const PlateauSettings& settings) {
    store.plateau = settings;
    SetSurfaceAttributes(store, int16_t(settings.obstacleShow2D), int16_t(settings.obstaclePen),
                         int16_t(settings.obstacleLineType));
}
}  // namespace

double VectorAngle(const API_Coord& from, const API_Coord& to, double eps) {
    const double dx = to.x - from.x, dy = to.y - from.y;
    double angle;
    if (std::fabs(dx) < eps) {
        if (std::fabs(dy) < eps) return 0.0;
        angle = dy > 0.0 ? TwoPi / 4.0 : 3.0 * TwoPi / 4.0;
    } else {
        angle = std::atan(dy / dx);
        if (dx < 0.0)
            angle += TwoPi / 2.0;
        else if (dy <= 0.0)
            angle += TwoPi;
    }
    if (angle >= TwoPi) angle -= TwoPi;
    if (angle < 0.0) angle += TwoPi;
    return angle;
}

DiggingCls::DiggingCls() : slopeOriginX(0.0), slopeOriginY(0.0), slopeDirection(0.0), slopeDirectionChanged(0) {
    settings.Reset();
    settings.SetDefaults();
    std::memset(changed, 0, sizeof changed);
}

DialogAnswer DiggingCls::RunSettingsDialog(EarthworkDialogs& dialogs, SettingsMode mode, double& direction,
                                           uint8_t& directionChanged, bool lockSloped, bool allSloped) {
    PlateauDialogState state;
    state.record = settings;
    state.work = settings;
    state.direction = direction;
    state.kindFixed = lockSloped ? 1 : 0;
    state.slopeEditable = allSloped ? 1 : 0;
    int32_t accepted = 0;
    const DialogAnswer answer = RunStateLayouts(state, [&](int32_t layout) {
        // The second layout starts from the current direction, not yet changed.
        if (layout == 1) state.directionChanged = 0;
        accepted = layout;
        return dialogs.OpenPlateauSettings(state, layout, mode);
    });
    if (answer == DialogAnswer::Cancelled) return answer;
    settings = state.record;
    std::memcpy(changed, state.changed, sizeof changed);
    // Only the second layout shows the direction.
    if (accepted == 0) {
        directionChanged = 0;
    } else {
        direction = state.direction;
        directionChanged = state.directionChanged;
    }
    return answer;
}

bool DiggingCls::InputSlopeLine(bool& failed) {
    failed = false;
    QV_String first, second;
    GetResString(first, PromptTableBase + LanguageIndex, 5);
    GetResString(second, PromptTableBase + LanguageIndex, 6);
    API_Coord3D start = {}, end = {};
    API_Neig startNeig = {}, endNeig = {};
    const GSErrCode err =
        GetLineFromUser(start, end, startNeig, endNeig, first, nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                        second, nullptr, 0, nullptr, nullptr, 0, nullptr, nullptr, true);
    if (err != NoError) {
        failed = err != UserCancelled;
        return false;
    }
    slopeOriginX = start.x;
    slopeOriginY = start.y;
    slopeDirection = VectorAngle(API_Coord{start.x, start.y}, API_Coord{end.x, end.y}, 1e-7);
    return true;
}

bool DiggingCls::CreateElementBodyFromMesh() {
    MeshBody body;
    return SampleMeshHeights(body, element, points3D, zMin, zMax);
}

bool DiggingCls::AcceptsBody() {
    const bool sloped = settings.sloped == 1;
    std::vector<API_Coord> outline;
    for (const QV_Coord3DLong& p : points3D) outline.push_back(API_Coord{p.x, p.y});
    // The platform's heights over the outline: it falls from its level at the slope's origin towards its direction.
    const double g = sloped ? std::tan(settings.slope) : 0.0;
    double low = settings.level, high = settings.level;
    for (const API_Coord& p : outline) {
        const double h = settings.level -
            g * ((p.x - slopeOriginX) * std::cos(slopeDirection) + (p.y - slopeOriginY) * std::sin(slopeDirection));
        low = std::min(low, h), high = std::max(high, h);
    }
    BodyFault fault = SlopeAnglesFault({settings.cutAngle, settings.fillAngle});
    if (fault == BodyFault::None)
        fault = PlatformSlopeFault(sloped ? settings.slope : 0.0, settings.cutAngle, settings.fillAngle);
    if (fault == BodyFault::None) fault = OutlineFault(outline);
    if (fault == BodyFault::None) fault = OffTerrainFault(element, outline);
    if (fault == BodyFault::None && std::isfinite(low) && std::isfinite(high))
        fault = TerrainLevelFault(element, low, high);
    else if (fault == BodyFault::None)
        fault = BodyFault::LevelOutOfReach;
    return RefuseFault(EarthworkName(settings.name, sloped ? ElemKind_SlopedPlateau : ElemKind_Plateau), fault);
}

bool DiggingCls::AskNewPlateau(Settings& store, EarthworkDialogs& dialogs, int32_t& stopCode) {
    slopeDirection = 0.0;
    slopeDirectionChanged = 0;
    settings = store.plateau;
    stopCode = 0;
    if (RunSettingsDialog(dialogs, SettingsMode::NewElement, slopeDirection, slopeDirectionChanged, false, false) ==
        DialogAnswer::Cancelled)
        return false;
    StoreDefaults(store, settings);
    if (settings.sloped != 1) return true;
    bool failed = false;
    if (InputSlopeLine(failed)) return true;
    if (failed) stopCode = ErrInsertingSegment;
    return false;
}

int32_t DiggingCls::CreateFromPolygon(Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                                      const API_Element& hatch, const API_Element& terrain) {
    if (!FindPlateauParts()) return 0;
    pickHead = hatch.header;
    if (!ReadElement(terrain, true) || !BuildPrimitives(PrimitiveOptions().ReverseWhenOriented().CloseCodes()))
        return ErrModifying;
    int32_t stopCode = 0;
    if (!AskNewPlateau(store, dialogs, stopCode)) return stopCode;
    const int told = WarningsShown();
    if (!RunCommand(ExternalCommandUndoText(),
                    [&] { return AcceptsBody() && CreateElementBodyFromMesh() ? BuildObjects() : CommandEnd::Failed; }))
        return WarningsShown() != told ? 0 : ErrModifying;
    contours.RefreshContourLines(element);
    return 0;
}

int32_t DiggingCls::Create(Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                           const QV_List<API_Element>& hatches, const API_Element& terrain) {
    if (!FindPlateauParts()) return 0;
    if (!ReadElement(terrain, true)) return ErrModifying;
    int32_t stopCode = 0;
    if (!AskNewPlateau(store, dialogs, stopCode)) return stopCode;
    // Each plateau moves the slope origin to its own frame: every hatch starts from the clicked one.
    const double originX = slopeOriginX, originY = slopeOriginY;
    const int told = WarningsShown();
    const bool ok = RunCommand(ExternalCommandUndoText(), [&] {
        for (int32_t i = 0; i < hatches.GetCount(); ++i) {
            // A hatch that fails before its plateau stands takes the earlier ones back too; one whose plateau
            // stands unlinked keeps them all.
            pickHead = hatches[i].header;
            slopeOriginX = originX;
            slopeOriginY = originY;
            points3D.Clear();
            points2D.Clear();
            polyPrims.Clear();
            segments.Clear();
            prims.Clear();
            if (!ReadElement(terrain, true) ||
                !BuildPrimitives(PrimitiveOptions().ReverseWhenOriented().CloseCodes()) || !AcceptsBody() ||
                !CreateElementBodyFromMesh())
                return CommandEnd::Failed;
            const CommandEnd built = BuildObjects();
            if (built != CommandEnd::Done) return built;
        }
        return CommandEnd::Done;
    });
    if (!ok) return WarningsShown() != told ? 0 : ErrModifying;
    contours.RefreshContourLines(element);
    return 0;
}

int32_t DiggingCls::EditDefaults(Settings& store, EarthworkDialogs& dialogs) {
    settings = store.plateau;
    slopeDirection = 0.0;
    slopeDirectionChanged = 0;
    if (RunSettingsDialog(dialogs, SettingsMode::ToolDefaults, slopeDirection, slopeDirectionChanged, false, false) ==
        DialogAnswer::Confirmed)
        StoreDefaults(store, settings);
    return 0;
}
