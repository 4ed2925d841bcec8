#include "settings/ProjectOffset.hpp"

ProjectOffsetData ProjectOffset;
