#include "siteobjects/Camera.hpp"

#include "elements/ElementHelpers.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "geometry/project/ElementPolygonRead.hpp"
#include "settings/Settings.hpp"
#include "siteobjects/CameraPath.hpp"
#include "elements/WholeCommand.hpp"
#include "siteobjects/SiteHeights.hpp"
#include "siteobjects/SiteObjectDialogs.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int32_t PathNameEntry = 1;  // "Lodravix Path"
constexpr int32_t ShowAllCameras = 2;

}  // namespace

int32_t CameraCls::Create(Settings& store, SiteObjectDialogs& dialogs, const API_Element& polyline,
                          const API_Element& terrain) {
    QV_List<QV_Coord3DLong> points;
    QV_List<QV_CoordLong> flat;
    QV_List<PrimPoly> prims;
    uint8_t closed = 0;
    if (!ReadElement(terrain, true) || !ReadElementPolygon(polyline.header.guid, points, flat, prims, closed))
        return ErrModifying;
    if (closed != 0) return ErrMustBeOpen;
    vertices.Clear();
    for (const QV_Coord3DLong& p : points) {
        if (p.code == QV_CodeArcMid1) return ErrHasCurves;
        if (p.code == QV_CodeVertex1) vertices.Insert(API_Coord{p.x, p.y});
    }
    if (vertices.GetCount() < 2) return ErrModifying;
    pathLength = ComputePathLength(vertices);
    distance = store.misc.cameraValue;
    if (dialogs.AskCameraDistance(distance, pathLength, SettingsMode::NewElement) == DialogAnswer::Cancelled) return 0;
    store.misc.cameraValue = distance;
    // Checked before dividing: a count outside 16 bits, or none, places no camera it could name.
    const double intervals = distance > 0.0 ? std::trunc(pathLength / distance) : 0.0;
    if (!(intervals >= 1.0 && intervals <= 32767.0)) return ErrModifying;
    count = int16_t(intervals);
    distance = pathLength / count;
    ComputePositions(vertices, distance, positions);
    const bool made = RunWholeCommand([&] {
        // A position off the terrain keeps z 0 and the path goes on; one the host could not probe fails it.
        for (API_Coord3D& p : positions) {
            double z = 0.0;
            bool hostFailed = false;
            const bool found = TerrainHeightAtPoint(element, {p.x, p.y}, z, &hostFailed);
            if (hostFailed) return false;
            p.z = found ? z : 0.0;
        }
        return CreateCameras();
    });
    if (!made) return ErrModifying;
    API_RebuildParams rebuild = {};
    ACAPI_Automate(APIDo_RebuildID, &rebuild);
    return 0;
}

bool CameraCls::CreateCameras() {
    API_DisplayOptions options = {};
    if (ACAPI_Environment(APIEnv_GetDisplayOptionsID, &options) != NoError) return false;
    options.cameraDisplay = ShowAllCameras;
    if (ACAPI_Environment(APIEnv_ChangeDisplayOptionsID, &options) != NoError) return false;
    created.Clear();
    const int16_t story = element.header.floorInd;

    API_Element set = {};
    set.header.typeID = API_CamSetID;
    if (ACAPI_Element_GetDefaults(&set, nullptr) != NoError) return false;
    set.header.floorInd = story;
    QV_String name;
    // A path named with the stand-in for a text the resources could not give would carry it into the project.
    if (!IsResText(GetResString(name, UndoTableBase + LanguageIndex, PathNameEntry))) return false;
    const uint32_t units = std::min<uint32_t>(name.GetLength(), 63);
    if (units > 0) std::memcpy(set.camset.name, name.GetBuffer(), units * sizeof(char16_t));
    set.camset.inFrames = 1;
    set.camset.openedPath = 1;
    set.camset.smoothed = 0;
    set.camset.frameCount = 10;
    if (CreateElementWithMemo(&set, nullptr, false) != NoError) return false;
    created.Insert(set.header.guid);

    API_Element camera = {};
    camera.header.typeID = API_CameraID;
    // Without the camera defaults the path would stand as an empty set.
    if (ACAPI_Element_GetDefaults(&camera, nullptr) != NoError) return false;
    const double eye = camera.camera.cameraZ;
    const double target = camera.camera.targetZ;
    camera.header.floorInd = story;
    camera.camera.camSetGuid = set.header.guid;
    camera.camera.distance = distance;
    camera.camera.pacing[0] = 2.0;
    camera.camera.pacing[1] = 1.0;
    camera.camera.viewAngle = 1.5707963267948966;
    API_Guid previous = {};
    for (int32_t i = 0; i + 1 < positions.GetCount(); ++i) {
        API_Element c = camera;
        c.camera.prevCam = previous;
        c.camera.pos = {positions[i].x, positions[i].y};
        c.camera.target = {positions[i + 1].x, positions[i + 1].y};
        c.camera.cameraZ = eye + positions[i].z;
        c.camera.targetZ = target + positions[i + 1].z;
        // Nothing of a broken path stays behind: the failed command is taken back whole.
        if (CreateElementWithMemo(&c, nullptr, false) != NoError) return false;
        created.Insert(c.header.guid);
        previous = c.header.guid;
    }
    return true;
}
