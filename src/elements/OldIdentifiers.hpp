#pragma once
// The numeric element identifiers of projects written by earlier releases, and their conversion into the GUID
// texts the current records hold.
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"

#include <cstdint>

class BaseLP;

// What the conversion of an old identifier found: the element's GUID text; no element (the host does not know the
// identifier, or there is nothing to convert); or nothing, the host having refused to answer.
enum class OldIdLookup { Found, Unknown, Failed };

// The GUID text of the element that carried `oldId` in `database` (the host's conversion). -1 and -2 stand for no
// element and give the null GUID's text without asking the host. `outText` is untouched unless Found.
OldIdLookup OldIdToGuidText(int32_t oldId, const API_DatabaseInfo& database, QV_String& outText);

// A link parameter of an earlier release: a number, read as a double and truncated to 32 bits, converted within
// `database`. Unknown when the parameter is missing, is not a number (a GUID text written by the current release),
// lies outside the 32-bit range, or is unknown to the host.
OldIdLookup ReadOldIdParam(BaseLP& view, const char* name, const API_DatabaseInfo& database, QV_String& outGuidText);

// The identifier a text of an earlier release starts with, up to its first '_' or its end ("1234_001" gives
// 1234). False when that part is not a decimal integer of 32 bits.
bool LeadingOldId(const QV_String& text, int32_t& oldId);

// The part of a text after its first '_'; the whole text when it has none.
QV_String TextAfterFirstUnderscore(const QV_String& text);
