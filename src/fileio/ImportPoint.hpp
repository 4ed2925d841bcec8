#pragma once
// One point read from a grid or point file, in metres. Grid points leave both texts empty.
#include "foundation/QV_String.hpp"

namespace ASCFile {

struct ASCFilePoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    QV_String code;
    QV_String comment;
};

}  // namespace ASCFile

typedef ASCFile::ASCFilePoint TextFilePoint;
