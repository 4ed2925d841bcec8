#include "settings/ImportOptionsRec.hpp"

void ImportOptionsRec::Reset() {
    pen = 0;
    layer = 0;
    code.Clear();
    codeNumber = 0;
    value = 0.0;
    text.Clear();
}

void ImportOptionsRec::SetDefaults() {
    pen = 4;
    layer = 1;
    code = "Point";
    codeNumber = 1;
    value = 0.0;
    text.Clear();
}
