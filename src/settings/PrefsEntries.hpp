#pragma once
// The preferences library part's parameter list and the mirror file's entries, one into the other.
//
// Parameter to entry: a text becomes type 3, a text array type 6, any other scalar type 2 (every number is
// kept as a real) and any other array type 5; arrays keep their dimensions and cells row by row, and every
// entry takes its parameter's name. Types 1 and 4 are never produced.
//
// Entry to parameter, entry by entry, names compared exactly:
//   types 1 and 2  the number goes into a numeric scalar; a text or array parameter skips the entry;
//   type 3         the parameter must be a text scalar;
//   types 4 to 6   the parameter must be an array (a text array for type 6); elements go in order, those past
//                  the parameter's cells are dropped, and a text array takes no element of type 4 or 5;
//   other types    skipped.
// An entry without name, or naming no parameter, or breaking a "must" above fails the whole apply.
#include "settings/PrefsEntry.hpp"

#include "GSRoot.hpp"

// Appends one entry per parameter of `params` (a handle of API_AddParType records), the list emptied first with
// `clearFirst`. Nothing happens for an empty parameter list. False when an array's cells cannot all be read
// (or memory fails): the list then lacks that parameter and every one after it.
bool ParamsToPrefsEntries(PrefsEntryList& list, GSHandle params, bool clearFirst);

// Lays the entries over the parameters. An empty entry list succeeds at once; an empty parameter list fails.
// A failure leaves the parameters before the failing entry changed.
bool ApplyPrefsEntriesToParams(const PrefsEntryList& list, GSHandle params);
