#pragma once
// ASCFile::ASCFileCls: the ESRI ASCII grid reader. Every cell with a value becomes a point at the cell's centre
// (x, y, height), where GIS programs put it (AscGridHeader.hpp); the rows follow the header from the north. A grid
// whose rows disagree with its header, in number or in length, is refused whole: read anyway, its cells would stand
// rows away from where they belong.
#include "fileio/AscGridHeader.hpp"
#include "fileio/ColumnFileCls.hpp"

#include <cstddef>
#include <cstdint>

namespace ASCFile {

class ASCFileCls : public ColumnFileCls {
public:
    ASCFileCls();

    // Reads, interprets and filters with the options as they stand.
    bool Read() override;

    GridHeader header;

protected:
    void DetectFormat() override;

private:
    struct ColumnStore;
    struct RowsRead;

    void ExtractRows();
    // The header from the first lines; false, with the read refused for its reason, when they describe no grid.
    bool ReadHeader(size_t& headerLines);
    void ReserveCells(ColumnStore* store, size_t dataRows);
    // The grid rows from `index` on: into `store` when given, else straight to points. False when memory ran out.
    bool ReadRows(size_t headerLines, size_t index, ColumnStore* store, RowsRead& read);
    // The kept heights as points, column by column; false when memory ran out.
    bool PlaceByColumns(ColumnStore& store, size_t rowsRead, bool& separated);
};

}  // namespace ASCFile

// Delimiter and decimal detection from the first grid row (the seventh line of the file, or the sixth when the
// header has no no-data line); runs only while the first-analysis flag is set, and clears it.
void ParseAscPreview(ASCFile::ASCFileCls& reader);
// The header from the start of the file, for the options dialog, by the reader's own parser: the read position is
// left at the first row (at the start of the file when there is no header, whose values then stay 0).
void ReadAscHeaderValues(ASCFile::ASCFileCls& reader);
