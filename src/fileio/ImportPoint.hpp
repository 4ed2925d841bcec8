#pragma once
// One point read from a grid or point file, in metres. Its code and comment, when the file gives any, stand in
// the reader's text list: a million grid points take their three numbers and no strings.
#include "foundation/QV_String.hpp"

#include <cstdint>
#include <vector>

namespace ASCFile {

struct ASCFilePoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    uint32_t texts = 0;  // 0: no code and no comment; else 1 + the place of its PointTexts
};

struct PointTexts {
    QV_String code;
    QV_String comment;
};

// The code and the comment of `point` among `texts` (empty for a point without).
const QV_String& PointCode(const std::vector<PointTexts>& texts, const ASCFilePoint& point);
const QV_String& PointComment(const std::vector<PointTexts>& texts, const ASCFilePoint& point);

}  // namespace ASCFile

typedef ASCFile::ASCFilePoint TextFilePoint;
