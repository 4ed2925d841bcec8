#pragma once
// A host GUID as text and back.
#include "foundation/QV_String.hpp"

#include "APIDefs.hpp"

// The GUID's text ("XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX") into `text`; empty when it cannot be converted.
void GuidToText(QV_String& text, const API_Guid& guid);
// The GUID of the text; the null GUID when it cannot be parsed.
void StringToGuid(API_Guid& outGuid, const QV_String& text);
