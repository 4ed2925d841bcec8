#include "script/ImportResultsNote.hpp"

#include "LogNumber.hpp"
#include "script/CorridorNote.hpp"
#include "script/ModuleGuide.hpp"

#include <iterator>

namespace {
// Where each results dialog shows its counts and the position's box (x min, y min, x max, y max); the shapefile
// results show theirs on the first page of a tab control.
struct ResultsLayout {
    int32_t dialog;
    bool onPage;
    int16_t counts[3];
    const char* names[3];
    int16_t box[4];
};
const char* const kPointCounts[3] = {"read", "imported", "skipped"};
const char* const kShapeCounts[3] = {"identified", "importable", "to be corrected"};
const ResultsLayout kLayouts[] = {
    {32569, false, {6, 8, 10}, {kPointCounts[0], kPointCounts[1], kPointCounts[2]}, {20, 22, 24, 26}},
    {32501, false, {8, 10, 12}, {kPointCounts[0], kPointCounts[1], kPointCounts[2]}, {21, 22, 25, 26}},
    {32544, false, {8, 10, 12}, {kPointCounts[0], kPointCounts[1], kPointCounts[2]}, {20, 21, 24, 25}},
    {32540, false, {8, 10, 12}, {kPointCounts[0], kPointCounts[1], kPointCounts[2]}, {20, 21, 24, 25}},
    {32571, true, {4, 6, 8}, {kShapeCounts[0], kShapeCounts[1], kShapeCounts[2]}, {16, 19, 22, 25}},
    {32572, true, {4, 6, 8}, {kShapeCounts[0], kShapeCounts[1], kShapeCounts[2]}, {16, 19, 22, 25}},
    {32532, true, {3, 5, 7}, {kShapeCounts[0], kShapeCounts[1], kShapeCounts[2]}, {13, 15, 17, 19}},
    {32535, true, {3, 5, 7}, {kShapeCounts[0], kShapeCounts[1], kShapeCounts[2]}, {13, 15, 17, 19}},
};
const char* const kBoxNames[4] = {"x min", "y min", "x max", "y max"};

const DGDriver::ItemState* FindItem(const std::vector<DGDriver::ItemState>& items, int16_t id) {
    for (const DGDriver::ItemState& item : items)
        if (item.id == id) return &item;
    return nullptr;
}

// A count as the dialog showed it; "empty" for a field left blank (a read with no point).
std::string Shown(const DGDriver::ItemState* item) {
    if (item == nullptr) return "missing";
    return item->text.empty() ? "empty" : item->text;
}
}  // namespace

std::string ImportResultsNote(const DGDriver::LogRecord& record) {
    if (record.kind != "modal") return "";
    const ResultsLayout* layout = nullptr;
    for (const ResultsLayout& l : kLayouts)
        if (l.dialog == record.id) layout = &l;
    if (layout == nullptr) return "";
    const std::vector<DGDriver::ItemState>* items = &record.items;
    if (layout->onPage) {
        if (record.pages.empty()) return "";
        items = &record.pages.front().items;
    }
    std::string note = "; ";
    for (int k = 0; k < 3; ++k)
        note += std::string(k == 0 ? "" : ", ") + layout->names[k] + " " + Shown(FindItem(*items, layout->counts[k]));
    note += "; position";
    for (int k = 0; k < 4; ++k) {
        const DGDriver::ItemState* item = FindItem(*items, layout->box[k]);
        // The value itself, every digit of it (the field shows it rounded).
        note += std::string(k == 0 ? " " : ", ") + kBoxNames[k] + " " +
            (item == nullptr || item->text.empty() ? Shown(item) : LogNumber(item->value));
    }
    return note;
}

std::string ModuleDialogNote(const DGDriver::LogRecord& record) {
    return ModeHeaderNote(record) + ImportResultsNote(record) + CorridorNote(record);
}
