#pragma once
// The kinds the settings object's accessors take (Settings::GetInt and the others): a tool's record by its
// element kind (ElemKind_Road, ...), the general record by kind 0, which no element has.
#include "elements/ElemDataRecord.hpp"

constexpr ElemKind GeneralKind = ElemKind_None;
