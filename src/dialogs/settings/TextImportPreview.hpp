#pragma once
// What the text import dialog previews of a point file: its first lines, and each line as the columns the
// chosen layout, delimiter, axis order and unit make of it.
#include "fileio/TextFileCls.hpp"

#include <cstdint>
#include <vector>

// From the start of the file: at most five non-empty lines among the first five after the optional skipped one.
std::vector<QV_String> ReadPreviewLines(TextFileCls& reader, bool skipFirst);

// One preview row: the line cut at `delimiter`, missing coordinates "0.0", missing texts " ", coordinates times
// `factor` in the general form with six significant digits, the fields in the layout's order joined by TABs.
QV_String FormatPreviewRow(int32_t layout, char delimiter, bool swapXY, double factor, const QV_String& line);
