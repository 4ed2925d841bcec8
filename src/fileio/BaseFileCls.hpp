#pragma once
// BaseFileCls: the base of every survey-file reader (ASCII grid, XYZ text, DXF, SOSI). A reader only reads:
// it opens its file, reads the header and the records into plain records of its own, reports every unit of
// work to its progress (which may ask it to stop), and closes the file. Placing what was read in the project
// is a separate step of the import command, so every reader can be run on files alone.
//
// The read position is the reader's own: every read below starts there and moves it, whatever the host file's
// position is. Reads go through a read-ahead buffer, so byte-by-byte and line-by-line readers cost one host
// call per block, not per byte.
#include "settings/ImportOptionsRec.hpp"
#include "fileio/ReadReport.hpp"
#include "fileio/ReaderProgress.hpp"
#include "foundation/QV_String.hpp"

#include "APICoord.hpp"
#include "IO.hpp"

#include <cstdint>
#include <functional>
#include <memory>

// Reader status of the file operations: 0 success, 1 no file object, 2 to 6 the host's file errors as
// SmallFileError maps them (foundation/FileUtils.hpp). Callers tell 0 from non-zero; the table reader also a file
// that is not there (2).
typedef int16_t ReaderStatus;

class BaseFileCls {
public:
    BaseFileCls();
    // Not virtual: every reader lives on the stack of its import command. Closes a file still open.
    ~BaseFileCls();
    BaseFileCls(const BaseFileCls&) = delete;
    BaseFileCls& operator=(const BaseFileCls&) = delete;

    // Back to the initial state: status -1, no file, length and position 0, options reset, tolerance 0.1,
    // bounding box empty, origin 0, no limiting area, counters and the import-again flag 0. The path and the
    // progress stay.
    virtual void Clear();

    // Copies all six fields, also the code and code number that only "Overwrite original code" uses.
    void SetImportOptions(const ImportOptionsRec& source);
    // Null gives back the silent progress.
    void SetProgress(ReaderProgress* newProgress);

    void ResetBounds();
    bool BoundsEmpty() const;
    // The first point after ResetBounds sets both corners.
    void ExtendBounds(double x, double y);

    // ---- file operations; each answers a reader status and keeps it in `status` ----
    // Opens the file at `path` for reading (a file still open is closed first); the position becomes 0.
    ReaderStatus OpenReaderFile();
    // The file's data length into `fileLength`. A file of 4 GiB or more is refused (6, length 0, `tooLarge`
    // set): the positions are 32-bit.
    ReaderStatus GetReaderFileLength();
    // Moves the host file and the read position to `position`.
    ReaderStatus SetReaderFilePosition(uint32_t position);
    // Up to `count` bytes from the read position; `bytesRead` tells how many arrived (fewer at the end of the
    // file is no failure) and the position moves past them.
    ReaderStatus ReadReaderFileBytes(void* buffer, uint32_t count, uint32_t& bytesRead);
    // Bytes from the read position to the end of the file.
    ReaderStatus GetReaderFileAvailable(uint32_t& available);
    // Closes the host file when it is open and releases it.
    ReaderStatus CloseReaderFile();
    // The byte at the read position, which moves on by one. Non-zero when no byte could be read there.
    ReaderStatus ReadNextByte(uint8_t& byte);
    // The read-ahead bytes from the read position on (at least one, filled from the file when none are left), for
    // readers that scan a block at a time; the position does not move. Non-zero, and `count` 0, when no byte could
    // be read there.
    ReaderStatus PeekReadAhead(const char*& bytes, uint32_t& count);

    int16_t status;                  // answer of the last file operation or line read; -1 after Clear
    QV_String path;                  // full path of the chosen file
    std::unique_ptr<IO::File> file;  // the open host file, or none
    uint32_t fileLength;             // bytes, read by GetReaderFileLength
    uint32_t readPosition;           // offset of the next byte to read
    bool tooLarge = false;           // the last length read found the file beyond what a reader can address
    GSErrCode openError = 0;         // the host's answer to the last open, which tells why a file was refused
    ImportOptionsRec options;        // options of the points to create
    double tolerance;                // metres: points closer than this in both x and y are duplicates
    API_Box bounds;                  // of the points read; empty is min UnsetBoundValue, max its negative
    double originX;                  // the "terrain position" that becomes the project offset
    double originY;
    uint8_t limitToArea;  // 1: only points inside limitArea, borders included, are placed
    API_Box limitArea;
    uint32_t pointsRead;       // taken from the file
    uint32_t pointsKept;       // left after the duplicate filter
    uint8_t importAgain;       // the user asked to read the file again with other options
    ReaderProgress* progress;  // never null

private:
    void DropReadAhead() { readAheadCount = 0; }

    std::unique_ptr<char[]> readAhead;  // bytes of the file from readAheadStart on
    uint32_t readAheadStart;
    uint32_t readAheadCount;
};

// Why the reader's file could not be opened or measured (missing, a folder, a pipe, no permission, a name too long,
// too large), noted in `report`; nothing when the host gave no such reason.
void NoteOpenFailure(const BaseFileCls& reader, ReadReport& report);

// Reads one text line at the reader's read position into `line`. LF, CR LF and a lone CR each end a line
// and are not part of it; the end of the file ends the last one. Every byte is one character of the system
// code page, but for a NUL byte, which becomes a space: a line never holds a NUL, and two numbers around one
// never run together. Spaces (not tabs) are trimmed at both ends. At or past the end of the file the line is
// empty.
// When a byte cannot be read, the line stays as far as it got, the position jumps to the file length (so a
// "while position < length" loop ends even when the length claims more than the file holds) and the read
// status is answered; otherwise 0.
// Only the first `keep` characters are kept (before the trim); the rest of the line is read over, so a preview
// or a detection that needs the start of a line holds no more of it.
ReaderStatus ReadTextLine(BaseFileCls& reader, QV_String& line, uint32_t keep = UINT32_MAX);

// The bytes of one line at the reader's read position, as ReadTextLine breaks it, handed to `take` a piece at a
// time in order (the break not among them); `broken` tells whether a break ended the line rather than the end of
// the file or a failed read. The position moves past the break; a failed read answers its status and leaves the
// position where the read failed.
ReaderStatus ScanTextLine(BaseFileCls& reader, const std::function<void(const char*, uint32_t)>& take, bool& broken);
