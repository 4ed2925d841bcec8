#pragma once
// A settings dialog's item table for one layout, made from its record's table (settings/FieldTable.hpp): one
// item per field the layout shows, in the table's order, then the dialog's own items (those bound to values
// beside the record, or a second item of a field), and the frame's accessors of such a record.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "foundation/FieldItem.hpp"
#include "settings/FieldTable.hpp"

#include <array>
#include <cstddef>

namespace TableItems {

template <typename Record, int Layout>
constexpr size_t Count() {
    size_t count = 0;
    for (const FieldRow& row : Record::Rows) count += (Layout == 0 ? row.first : row.second).item != 0 ? 1 : 0;
    return count;
}

template <typename Record, int Layout, size_t Total>
constexpr std::array<FieldItem, Total> Make(const FieldItem* extra, size_t extraCount) {
    std::array<FieldItem, Total> items{};
    size_t k = 0;
    for (const FieldRow& row : Record::Rows) {
        const LayoutItem& item = Layout == 0 ? row.first : row.second;
        if (item.item != 0) items[k++] = FieldItem{item.item, row.id, item.kind, item.pairItem, item.control};
    }
    for (size_t e = 0; e < extraCount; ++e) items[k++] = extra[e];
    return items;
}

}  // namespace TableItems

// Layout 0 is the first (compact) layout, 1 the second.
template <typename Record, int Layout, size_t Extra>
constexpr auto TableFieldItems(const FieldItem (&extra)[Extra]) {
    return TableItems::Make<Record, Layout, TableItems::Count<Record, Layout>() + Extra>(extra, Extra);
}

template <typename Record, int Layout>
constexpr auto TableFieldItems() {
    return TableItems::Make<Record, Layout, TableItems::Count<Record, Layout>()>(nullptr, 0);
}

// The frame's accessors of a record declared as a table; with `Whole`, its integer items show a field's whole
// value (GetLong) rather than its 16 bits.
template <typename Record, bool Whole = false>
inline const SettingsRecordAccess<Record> TableRecordAccess = {
    [](const Record& r, int16_t id) -> int32_t {
        if constexpr (Whole)
            return r.GetLong(id);
        else
            return r.GetShort(id);
    },
    [](Record& r, int16_t id, int32_t v) { r.SetLong(id, v); },
    [](const Record& r, int16_t id) { return r.GetReal(id); },
    [](Record& r, int16_t id, double v) { r.SetReal(id, v); },
    [](const Record& r, int16_t id) {
        const QV_String* text = r.Text(id);
        return text != nullptr ? *text : QV_String();
    },
    [](Record& r, int16_t id, const QV_String& v) {
        if (QV_String* text = r.Text(id)) *text = v;
    },
};
