#pragma once
// The dBase table of a shapefile: its field descriptors and every value as trimmed text in the system code page,
// one row per shape. Only the 'N' type is told apart (integer or with decimals); every other type is text.
#include "fileio/ReaderProgress.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include <cstdint>

struct DBFFieldData {
    QV_String name;        // from the system code page
    int16_t kind = 1;      // 1 text; for 'N': minus the decimal count (0 integer, negative with decimals)
    uint16_t length = 0;   // bytes in a record
    uint8_t selected = 0;  // toggled by the object-select dialog
};
QV_DECLARE_RELOCATABLE(DBFFieldData);

// One value: its text in the system code page, ended by a zero byte.
struct DBFData {
    QV_List<char> bytes;
    const char* Text() const { return bytes.GetCount() > 0 ? bytes.begin() : ""; }
};
QV_DECLARE_RELOCATABLE(DBFData);

// Sets the list to `count` entries (below 0 counts as 0), each new one an empty text; without `keep` every old
// entry goes first.
void ResizeDBFValues(QV_List<DBFData>& values, int32_t count, bool keep);

// The table of a shapefile: its path with the extension after the last '.' of the file name replaced by "dbf".
QV_String TablePathOf(const QV_String& shapePath);

// Reads the table at `tablePath`: the field list is replaced, the value list gets records x fields entries (the
// value of field f of record r, from 1, at (r - 1) x fields + f). Values of a table that a ".cpg" file beside it
// declares UTF-8 are converted to the system code page. False after error 8 ("Error while reading the file.")
// when there is no such file or the table is cut short or its lengths do not fit together; both lists are then
// left as they were.
bool ReadDBFFile(const QV_String& tablePath, QV_List<DBFFieldData>& fields, QV_List<DBFData>& values,
                 ReaderProgress& progress);
