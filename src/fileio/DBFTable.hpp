#pragma once
// The dBase table of a shapefile: its field descriptors and every value as trimmed text in the system code page,
// one row per shape. Only the 'N' type is told apart (integer or with decimals); every other type is text.
#include "fileio/ReadReport.hpp"
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

// One value: where its text (system code page, ended by a zero byte) lies in the table's text.
struct DBFData {
    uint32_t offset = 0;
    uint32_t length = 0;  // without the zero byte
};

// Every value of a table, in one text block rather than one block per value: value f of record r (from 1) is
// entry (r - 1) x fields + f.
class DBFValueList {
public:
    int32_t GetCount() const { return index.GetCount(); }
    // The value's text; empty for an entry that is not there.
    const char* operator[](int32_t i) const;
    void Clear();
    // Points entry `i` at a new text.
    bool Replace(int32_t i, const char* text);

    QV_List<DBFData> index;
    QV_List<char> text;
};

// The table of a shapefile: its path with the extension after the last '.' of the file name replaced by "dbf".
QV_String TablePathOf(const QV_String& shapePath);

// Reads the table at `tablePath`: the field list is replaced, the value list gets records x fields entries (the
// value of field f of record r, from 1, at (r - 1) x fields + f). Values of a table that a ".cpg" file beside it
// declares UTF-8 are converted to the system code page. A header with no room for a descriptor is a table
// without fields. A table cut inside its records keeps the whole records before the cut, and `report` says that
// it ended early. False with error 8 ("Error while reading the file.") in `report` when there is no such file, it
// ends inside its header or its lengths do not fit together, or with the reason that the file asks for more
// memory than its size allows when it has more values than bytes; both lists are then left as they were. Nothing
// is shown here. `missing`, when given, tells whether the read failed because there is no such file.
bool ReadDBFFile(const QV_String& tablePath, QV_List<DBFFieldData>& fields, DBFValueList& values,
                 ReaderProgress& progress, ReadReport& report, bool* missing = nullptr);
