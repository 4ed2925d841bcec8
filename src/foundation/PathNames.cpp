#include "foundation/PathNames.hpp"

void StripTrailingBackslash(QV_String& out, const QV_String& path) {
    const uint32_t n = path.GetLength();
    if (n > 0 && path.GetAt(n - 1) == u'\\')
        path.Left(out, n - 1);
    else if (&out != &path)
        out = path;
}
