#pragma once
// The host's font attributes as the tools offer them, read once by the shell and only read afterwards.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

// The font attributes (attribute type 10) in the host's index order.
extern QV_List<API_FontType> HostFontList;

// Empties HostFontList and reads every font attribute of the host into it, from index 1 up to the first index the
// host does not know. False when the list cannot hold them (it is left empty then).
bool FillHostFontList();
