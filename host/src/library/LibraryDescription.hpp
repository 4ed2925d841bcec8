#pragma once
// Library descriptions: one file per library part ("<name>.lpd"), read into a part and written from one.
//
// Description file (UTF-8; '#' starts a comment line; blank lines are skipped):
//     name = GARDEN_BENCH
//     guid = {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}-{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
//     type = object                          (object 4, picture 11, or the number)
//     param <name> <type> = <value>
//     param <name> <type>[<dim1>] = <v1>; <v2>; ...           (a dim1 x 1 array)
//     param <name> <type>[<dim1>][<dim2>] = <row-major values>
//     describe <name> = "<text>"              (the description the user sees, when not the name)
//     plan <kind> <name> ...                  (what the part draws in the floor plan: library/LibraryPlan.hpp)
// Parameter types: real length angle integer boolean pen linetype material fill colorrgb intensity
// lightswitch, title (numbers) and string (text). Texts are "quoted" with \" and \\ escapes and hold no NUL.
// Names are identifiers of at most 31 bytes. Arrays given fewer values than cells have the rest 0 / "".
//
// Optional lines, written by the host when it saves a library part it created (and read back):
//     parent = <unique id>                          (the part it derives from)
//     definition = missing                          (the library lists the part but holds no definition)
//     details = <fixSize> <autoHotspot>             (of the parameter definition section; 0 or 1 each)
//     section <TYPE> [<subIdent>] = "<text>"        (a text section: the scripts and 'CMNT')
//     section <TYPE> [<subIdent>] = hex:<bytes>     (any other section, its bytes in hexadecimal)
// Quoted texts also take the escapes \n, \r and \t. TYPE is four printable characters; 'PARD' is never given
// (the parameters are that section). Every part gets the section list 'PARD', then the sections of its file in
// file order, then a 2D and a 3D script ('2DSC', '3DSC') holding one comment line when the file gives none.
#include "library/LibraryPart.hpp"

#include <string>

// Parses one description. False with `error` = "line <n>: <what>" on the first fault. Its time and memory grow
// with the length of the text alone, also for a line of a million values or an array declared with a million
// cells and no value.
bool ParseLibraryPart(const std::string& text, LibPartDef* part, std::string* error);
// The description file of a part (what ParseLibraryPart reads back to the same part): an array's values up to
// its last one that is not 0 / "", so the file grows with the values, not with the declared cells.
std::string DescribeLibraryPart(const LibPartDef& part);
