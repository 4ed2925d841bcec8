#pragma once
// One entry of the preferences mirror file: a named integer, real or text, or a two-dimensional array of one of
// them. The preferences library part's parameter list becomes one entry per parameter (settings/PrefsEntries).
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include <cstdint>

namespace QV_Preferences {

// Entry types; the file keeps the low byte.
enum PrefType : uint32_t {
    PrefType_Int = 1,
    PrefType_Real = 2,
    PrefType_Text = 3,
    PrefType_IntArray = 4,
    PrefType_RealArray = 5,
    PrefType_TextArray = 6,
};

// A new entry has no type, an empty name, empty texts and empty element lists. Copies are deep.
struct QV_Pref_Elem {
    uint32_t type = 0;
    QV_String name;                 // the GDL parameter name
    int32_t intValue = 0;           // type 1
    double realValue = 0.0;         // type 2
    QV_String textValue;            // type 3
    int32_t rows = 0;               // arrays: first dimension
    int32_t columns = 0;            // arrays: second dimension
    QV_List<int32_t> intValues;     // type 4, row by row
    QV_List<double> realValues;     // type 5
    QV_List<QV_String> textValues;  // type 6

    bool IsArray() const { return type >= PrefType_IntArray && type <= PrefType_TextArray; }
};

}  // namespace QV_Preferences

QV_DECLARE_RELOCATABLE(QV_Preferences::QV_Pref_Elem);

using PrefsEntryList = QV_List<QV_Preferences::QV_Pref_Elem>;
