#pragma once
// Element base classes and their helpers.
#include "foundation/QV_String.hpp"

#include "APIDefs.hpp"

// The GUID's text ("XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX") into `text`; empty when it cannot be converted.
void GuidToText(QV_String& text, const API_Guid& guid);
