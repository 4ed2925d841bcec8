#include "terrain/ContourLineRegenerator.hpp"

#include "foundation/Alert.hpp"
#include "foundation/Language.hpp"
#include "settings/Settings.hpp"
#include "terrain/ContourLineCls.hpp"

void ContourLineRegenerator::RefreshContourLines(const API_Element& terrain) {
    ContourLineCls cls;
    const int32_t result = cls.Regenerate(settings_.contour, terrain, nullptr);
    if (result != 0) ShowErrorMessage(result, AlertKind::Error);
}
