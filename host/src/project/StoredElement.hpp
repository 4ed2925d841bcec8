#pragma once
// One element as the project database stores it: its record, memo, user data and what the host keeps beside them.
#include "APIDefs.hpp"
#include "APIElements.hpp"
#include "project/ElementMemo.hpp"
#include "project/ElementRecord.hpp"
#include "project/PackedBytes.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct StoredUserData {
    int16_t dataVersion = 0;
    uint16_t platformSign = 0;
    uint32_t flags = 0;
    PackedBytes bytes;
};

// A 3D body given to an element by a script or a test (the host would run the library part's script for it):
// vertices relative to the element's placement (position, level above its story, angle 0) and polygons as rings
// of vertex numbers from 1.
struct StoredBody {
    std::vector<API_Coord3D> vertices;
    std::vector<std::vector<int32_t>> polygons;
};

struct StoredElement {
    ElementRecord record;
    StoredMemo memo;
    std::optional<StoredUserData> userData;
    API_Guid database = {};          // the database the element lives in
    uint64_t serial = 0;             // creation order
    std::string name;                // a name given by a script or test ("" none)
    std::vector<StoredBody> bodies;  // given 3D bodies (library-part objects)
};
