#pragma once
// A settings record declared as a table (settings/FieldTable.hpp): the ids of its rows by type, every row or only
// those the preferences keep, as the tests of the settings object and of its sections walk them.
#include "settings/FieldTable.hpp"

#include <cstdint>
#include <type_traits>
#include <vector>

struct TableFieldIds {
    std::vector<int16_t> integers, reals, texts;
};

enum class TableRows { All, KeptByPreferences };

template <typename Record>
TableFieldIds FieldIdsByType(TableRows rows) {
    TableFieldIds ids;
    Record record;
    Record::EachField(record, [&](auto& field, int16_t id, int32_t prefs, const FieldDefault&) {
        using T = std::decay_t<decltype(field)>;
        if (rows == TableRows::KeptByPreferences && prefs == NoPrefs) return;
        if constexpr (std::is_same_v<T, double>)
            ids.reals.push_back(id);
        else if constexpr (std::is_same_v<T, QV_String>)
            ids.texts.push_back(id);
        else
            ids.integers.push_back(id);
    });
    return ids;
}
