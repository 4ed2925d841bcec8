#pragma once
// Small helpers on "\"-separated path texts.
#include "foundation/QV_String.hpp"

// `out` = `path` without one trailing backslash (an unchanged copy when it has none). `out` may be `path`.
void StripTrailingBackslash(QV_String& out, const QV_String& path);
