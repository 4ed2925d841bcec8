#pragma once
// The preferences mirror file "<user folder>\Lodravix_20.prf": every parameter of the preferences library part
// with the values last saved, the one store of the tools' defaults that outlives a run of the host.
//
// All numbers little-endian, no gaps, no terminators:
//   "QVPF", int32 N, then N entries;
//   entry: uint8 type (1 to 6), int32 name length L, L name bytes (system code page), then by type:
//     1 int32 | 2 float64 | 3 int32 length, that many text bytes |
//     4 int32 rows, int32 columns, int32 elements | 5 rows, columns, float64 elements |
//     6 rows, columns, elements each an int32 length and that many text bytes.
// An array holds rows x columns elements (none when that is below 1).
//
// The file is the user's to edit, so the reader trusts nothing in it: a length or dimension that is negative
// or larger than what the rest of the file can hold, an unknown type, a file cut short or larger than
// PrefsFileMaxBytes refuse the whole file. The writer never changes the file in place: it writes a file beside
// it and puts that in its place only when every byte was written, so a failed save keeps the last good file.
#include "settings/PrefsEntry.hpp"

#include "foundation/QV_String.hpp"

#include <cstdint>

// Largest mirror file read or written (the preferences library part's list needs some kilobytes).
constexpr uint32_t PrefsFileMaxBytes = 4u << 20;

// Why a read or write failed.
enum class PrefsFileFault : int32_t {
    None = 0,
    Open,           // no path, or the file cannot be opened (or created)
    TooLarge,       // larger than PrefsFileMaxBytes
    Read,           // the host's read failed
    Magic,          // the first four bytes are not "QVPF"
    Truncated,      // the file ends inside the magic, a count, a name or a value
    BadType,        // an entry type outside 1 to 6
    BadLength,      // a negative entry count, name or text length
    BadDimensions,  // a negative row or column count
    BadText,        // text bytes that do not convert from the system code page
    Memory,         // the entries could not be held
    Write,          // a text that does not convert, or the host's write failed
    Replace,        // the written file could not take the place of the old one
};

// The mirror file's full path: the user's folder (host special folder 14), "\", "Lodravix_20.prf". Empty when
// the host cannot give the folder; every open of an empty path fails.
QV_String GetPrefsFilePath();

// A text, on reading as on writing, ends at its first NUL: "x\0y" is "x" both ways.
//
// Reads the whole file into `list` (emptied first with `clearFirst`, else appended to). False, with `fault`
// set when given, when the file cannot be read whole: `list` then holds nothing of the file.
bool ReadPrefsFile(PrefsEntryList& list, const QV_String& path, bool clearFirst, PrefsFileFault* fault = nullptr);

// Writes the list (entries of a type outside 1 to 6 get their type byte and name only). Texts lose the zero
// bytes their conversion ends in. An array entry must hold rows x columns elements (none when that is below 1,
// no negative dimension), or the file could not be read back: such a list is not written. True when every byte was written and the file took the old one's place;
// false, with `fault` set when given and the old file as it was, otherwise.
bool WritePrefsFile(const PrefsEntryList& list, const QV_String& path, PrefsFileFault* fault = nullptr);
