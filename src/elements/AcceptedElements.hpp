#pragma once
// The elements the upkeep passes walk: those of one type in the current database that the host's element filter
// accepts, and each one read whole.
#include "APIElements.hpp"
#include "GSArray.hpp"

// In the host's order; empty when the host cannot list the type.
GS::Array<API_Guid> AcceptedElements(API_ElemTypeID typeID);

// The element with that GUID in the current database, read whole; false when the host refuses.
bool ReadElementByGuid(const API_Guid& guid, API_Element& element);
