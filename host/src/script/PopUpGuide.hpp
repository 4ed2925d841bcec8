#pragma once
// What each pop-up of the module's dialogs offers, for the help a script writer reads (`--help-dialogs`): the
// layouts leave pop-ups empty and the module fills them as a dialog opens, either from its string tables (a fixed
// list, whose texts the help reads from the resources in the language shown) or from what the project, the host or
// the file offers (described in words, with the order the entries come in).
#include <cstdint>
#include <string>
#include <vector>

struct PopUpGuide {
    int32_t dialog;
    int16_t item;
    int32_t table;        // string table base of the fixed entries (the language's index is added), 0: none
    const char* indexes;  // the entries' indexes in it, in order, blank-separated; "-" a separator line
    const char* entries;  // without a table: what the entries are and their order; with one: what comes after them
    const char* meaning;  // what the choice sets
};

const PopUpGuide* FindPopUpGuide(int32_t dialog, int16_t item);

// The fixed entries' indexes in order (0 for a separator); empty without a table.
std::vector<int32_t> PopUpIndexes(const PopUpGuide& guide);
