#pragma once
// The fonts that labels written into objects may name: those of the host's default text's font set.
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"

// True when a font of HostFontList whose font-set code equals the default text element's has this name
// (letter case ignored). False for no match, an empty list or a host error.
bool FontExistsInDefaultSet(const QV_String& name);

// The font attribute of the default text element into `out` (when not null). False on a host error.
bool GetTextDefaultRecord(API_FontType* out);
