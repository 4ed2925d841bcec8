#include "script/CorridorNote.hpp"

#include "LogNumber.hpp"

namespace {
// The outline's settings: its first layout and its second, the width and angle items of each.
struct CorridorItems {
    int32_t dialog;
    int16_t width, angle;
};
const CorridorItems kDialogs[] = {{32546, 12, 14}, {32502, 11, 13}};

const DGDriver::ItemState* FindItem(const DGDriver::LogRecord& record, int16_t id) {
    for (const DGDriver::ItemState& item : record.items)
        if (item.id == id && !item.text.empty()) return &item;
    return nullptr;
}
}  // namespace

std::string CorridorNote(const DGDriver::LogRecord& record) {
    if (record.kind != "modal" || record.result != 1) return "";
    for (const CorridorItems& d : kDialogs) {
        if (d.dialog != record.id) continue;
        const DGDriver::ItemState* width = FindItem(record, d.width);
        const DGDriver::ItemState* angle = FindItem(record, d.angle);
        if (width == nullptr) return "";
        return "; corridor " + LogNumber(width->value) + " m wide (" + LogNumber(width->value / 2) +
            " m each side of the clicked path)" + (angle != nullptr ? ", angle " + angle->text : "");
    }
    return "";
}
