#include "earthworks/Obstacle.hpp"

#include "foundation/ModuleLog.hpp"

int32_t ObstacleCls::ModifySelected(const QV_List<API_Element>&) {
    ModuleLog::LogCall("ObstacleCls::ModifySelected");
    return 0;
}

int32_t ObstacleCls::CreateFromPolyline(const API_Element&, const API_Element&) {
    ModuleLog::LogCall("ObstacleCls::CreateFromPolyline");
    return 0;
}

int32_t ObstacleCls::CreateAlongElement(const API_Element&, const API_Element&, int32_t, const API_Element&) {
    ModuleLog::LogCall("ObstacleCls::CreateAlongElement");
    return 0;
}

int32_t ObstacleCls::RemoveObstacle(const API_Element&, int32_t) {
    ModuleLog::LogCall("ObstacleCls::RemoveObstacle");
    return 0;
}

int32_t ObstacleCls::EditDefaults() {
    ModuleLog::LogCall("ObstacleCls::EditDefaults");
    return 0;
}
