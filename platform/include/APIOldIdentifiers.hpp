#pragma once
// Projects of earlier releases named elements by 32-bit numeric identifiers, unique within one database. While
// such a project is converted (project event APINotify_ConvertOldIds), the host turns an old identifier into
// the element's GUID.
#include "APIElements.hpp"
#include "APISelectors.hpp"

#include <cstdint>
#include <type_traits>

// In: oldId. Out: guid, the element that carried that identifier in the database of the second record.
struct API_OldIdentifier {
    int32_t oldId;
    int32_t filler0;
    API_Guid guid;
    int32_t reserved[4];
};
static_assert(sizeof(API_OldIdentifier) == 40 && std::is_trivially_copyable<API_OldIdentifier>::value,
              "API_OldIdentifier layout");

// 'OGID': the GUID of an old identifier within a database (kinds 1 and 4 both name the floor plan's). An
// identifier the host does not know answers APIERR_BADID.
constexpr API_SelectorTag<API_Selector("OGID")> APIDb_OldIdToGuidID{};
template <>
struct API_DatabaseRecords<API_Selector("OGID")> {
    using Par1 = API_OldIdentifier;
    using Par2 = API_DatabaseInfo;
};
