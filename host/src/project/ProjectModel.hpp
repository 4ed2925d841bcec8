#pragma once
// What the project database stores: elements with their records, memos and user data, attributes, stories,
// databases and solid links. One ProjectModel is what an undo step restores.
#include "APIDefs.hpp"
#include "APIElements.hpp"
#include "project/ElementStore.hpp"
#include "project/Guids.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct StoredAttribute {
    API_Attribute record = {};
    bool deleted = false;
};

struct StoredDatabase {
    API_DatabaseInfo info = {};
    API_Guid marker = {};  // the marker element that owns it (null for the floor plan and the 3D model)
};

// A solid link: the operator element changes the target element's body.
struct StoredSolidLink {
    API_Guid target = {};
    API_Guid operatorGuid = {};
    uint32_t operation = 0;  // 'SSUU', 'SSUD', 'SADD'
    uint32_t flags = 0;
    uint32_t time = 0;  // the host's link clock when it was made
    uint32_t subTime = 0;
};

struct ProjectModel {
    ElementStore elements;
    std::map<API_AttrTypeID, std::vector<StoredAttribute>> attributes;  // index i + 1 at position i
    std::vector<API_StoryType> stories;                                 // by index, ascending
    std::vector<StoredDatabase> databases;                              // floor plan and 3D model first
    std::vector<StoredSolidLink> solidLinks;                            // in creation order
};
