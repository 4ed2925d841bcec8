#include "dialogs/settings/ShapeImportResultsDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"

#include "dialogs/settings/PointImportResultsDialog.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/DialogLayouts.hpp"
#include "foundation/Language.hpp"
#include "settings/ProjectOffset.hpp"

#include "DG.hpp"

#include <algorithm>

namespace {

// The items of one layout; 0 where the layout has none.
struct ResultsLayout {
    int16_t id;
    bool twin;
    bool terrain;
    int32_t width, height;
    int16_t tabControl;
    int16_t heading, objectLabel, objectPopup, distanceLabel, distance, withContours, thinning, heightCheck,
        heightPopup, layoutButton;
    // the tab page
    int16_t pageTitle, countLabels[4], counts[3], previousOffset, limited, limitedLabel;
    int16_t pictures[2];
    int16_t boundLabels[4], bounds[4];  // x min, y min, x max, y max
    int16_t areaLabels[4], area[4];
};

// clang-format off
// id, twin, terrain, width, height, tab control, heading .. layout button; the page: title, count labels, counts,
// previous offset, limited, limited label, pictures, bound labels, bounds, area labels, area.
const ResultsLayout Layouts[] = {
    {ShapeResultsObjectsDialogId, false, false, 400, 532, 3, 4, 6, 7, 8, 9, 0, 0, 10, 11, 12,
     1, {3, 5, 7, 9}, {4, 6, 8}, 11, 12, 0, {13, 14}, {15, 18, 21, 24}, {16, 19, 22, 25}, {0, 0, 0, 0}, {17, 20, 23, 26}},
    {ShapeResultsObjectsTwinDialogId, true, false, 510, 653, 6, 7, 8, 9, 10, 11, 0, 0, 12, 13, 14,
     1, {2, 4, 6, 8}, {3, 5, 7}, 9, 21, 20, {0, 0}, {12, 14, 16, 18}, {13, 15, 17, 19}, {22, 24, 26, 28}, {23, 25, 27, 29}},
    {ShapeResultsTerrainDialogId, false, true, 400, 525, 3, 4, 0, 0, 6, 7, 8, 9, 10, 11, 12,
     1, {3, 5, 7, 9}, {4, 6, 8}, 11, 12, 0, {13, 14}, {15, 18, 21, 24}, {16, 19, 22, 25}, {0, 0, 0, 0}, {17, 20, 23, 26}},
    {ShapeResultsTerrainTwinDialogId, true, true, 510, 646, 6, 7, 0, 0, 8, 9, 10, 11, 12, 13, 14,
     1, {2, 4, 6, 8}, {3, 5, 7}, 9, 21, 20, {0, 0}, {12, 14, 16, 18}, {13, 15, 17, 19}, {22, 24, 26, 28}, {23, 25, 27, 29}},
};
// clang-format on

constexpr int32_t AreaOffPictures[2] = {32535, 32536};
constexpr int32_t AreaOnPictures[2] = {32537, 32538};

const ResultsLayout* LayoutOf(int16_t id) {
    for (const ResultsLayout& l : Layouts)
        if (l.id == id) return &l;
    return nullptr;
}

void FillPopUp(int16_t dialogId, int16_t item, const QV_List<QV_String>& names) {
    DGPopUpDeleteItem(dialogId, item, DG_ALL_ITEMS);
    for (const QV_String& name : names) {
        DGPopUpInsertItem(dialogId, item, DG_POPUP_BOTTOM);
        DGPopUpSetItemText(dialogId, item, DGPopUpGetItemCount(dialogId, item), Uni(name));
    }
    if (names.GetCount() > 0) DGPopUpSelectItem(dialogId, item, 1);
}

// No shape with a coordinate: no box to show, move or limit.
bool NoDataBox(const GISImportOptions& o) { return !(o.dataMinX <= o.dataMaxX && o.dataMinY <= o.dataMaxY); }

// The data box and the import area, relative to the offset; empty items when there is no box.
void FillBoundItems(int16_t page, const ResultsLayout& l, const GISImportOptions& o) {
    if (NoDataBox(o)) {
        for (int k = 0; k < 4; ++k) {
            DGSetItemText(page, l.bounds[k], GS::UniString());
            DGSetItemText(page, l.area[k], GS::UniString());
        }
        return;
    }
    const double bounds[4] = {o.dataMinX - o.offsetX, o.dataMinY - o.offsetY, o.dataMaxX - o.offsetX,
                              o.dataMaxY - o.offsetY};
    const double area[4] = {o.areaMinX - o.offsetX, o.areaMinY - o.offsetY, o.areaMaxX - o.offsetX,
                            o.areaMaxY - o.offsetY};
    for (int k = 0; k < 4; ++k) {
        DGSetItemValDouble(page, l.bounds[k], bounds[k]);
        DGSetItemValDouble(page, l.area[k], area[k]);
    }
}

void ShowAreaState(int16_t page, const ResultsLayout& l, bool on) {
    if (!l.twin) {
        for (int16_t item : l.bounds) DGSetItemVisible(page, item, !on);
        for (int16_t item : l.area) DGSetItemVisible(page, item, on);
        DGSetItemEnable(page, l.bounds[2], on);
        DGSetItemEnable(page, l.bounds[3], on);
        for (int k = 0; k < 2; ++k)
            DGSetItemImage(page, l.pictures[k],
                           DG::Image(ACAPI_GetOwnResModule(), on ? AreaOnPictures[k] : AreaOffPictures[k]));
    } else {
        for (int16_t item : l.area) DGSetItemEnable(page, item, on);
    }
    DGDisableItem(page, l.bounds[2]);
    DGDisableItem(page, l.bounds[3]);
}

void FillTabPage(int16_t page, const ResultsLayout& l, const GISImportOptions& o) {
    DGSetItemText(page, l.pageTitle, Text(TitleTableBase, 5));
    for (int k = 0; k < 4; ++k) DGSetItemText(page, l.countLabels[k], Text(GeneralTableBase, 174 + k));
    const int32_t counts[3] = {o.identified, o.importable, o.toCorrect};
    for (int k = 0; k < 3; ++k)
        DGSetItemText(page, l.counts[k], Uni(ImportCountText(uint32_t(std::max(counts[k], int32_t(0))))));
    DGSetItemText(page, l.previousOffset, Text(GeneralTableBase, 178));
    if (l.twin) {
        DGSetItemText(page, l.limitedLabel, Text(GeneralTableBase, 179));
        DGSetItemText(page, l.limited, Text(GeneralTableBase, 180));
    } else {
        DGSetItemText(page, l.limited, Text(ImportTableBase, 32));
    }
    DGSetCheckBoxState(page, l.limited, o.limited != 0);
    FillBoundItems(page, l, o);
    ShowAreaState(page, l, o.limited != 0);
}

void Init(int16_t dialogId, const ResultsLayout& l, ShapeResultsBlock& block) {
    GISImportOptions& o = *block.options;
    block.head.dialogId = uint16_t(dialogId);
    block.tabPageId = DGTabControlGetTabPageId(dialogId, l.tabControl, 1);
    if (l.twin)
        DGSetItemImage(
            dialogId, 5,
            DG::Image(ACAPI_GetOwnResModule(), HostLanguageNOR != 0 || HostLanguageAUT != 0 ? 32524 : 32501));
    DGSetDialogTitle(dialogId, Text(TitleTableBase, 5));
    DGSetItemText(dialogId, 1, Text(CommonTableBase, 64));
    DGSetItemText(dialogId, 2, Text(CommonTableBase, 5));
    DGSetItemText(dialogId, l.heading, Text(GeneralTableBase, l.terrain ? 191 : 170));
    DGSetItemText(dialogId, l.distanceLabel, Text(GeneralTableBase, 172));
    DGSetItemValDouble(dialogId, l.distance, o.nodeDistance);
    if (l.terrain) {
        DGSetItemText(dialogId, l.withContours, Text(GeneralTableBase, 192));
        DGSetItemText(dialogId, l.thinning, Text(GeneralTableBase, 193));
        DGSetCheckBoxState(dialogId, l.withContours, o.withContours != 0);
        DGSetCheckBoxState(dialogId, l.thinning, o.verticalThinning != 0);
    } else {
        DGSetItemText(dialogId, l.objectLabel, Text(GeneralTableBase, 171));
        FillPopUp(dialogId, l.objectPopup, o.matchingObjects);
        if (o.chosenObject + 1 <= o.matchingObjects.GetCount())
            DGPopUpSelectItem(dialogId, l.objectPopup, int16_t(o.chosenObject + 1));
    }
    DGSetItemText(dialogId, l.heightCheck, Text(GeneralTableBase, 173));
    DGSetCheckBoxState(dialogId, l.heightCheck, o.heightFromField != 0);
    FillPopUp(dialogId, l.heightPopup, block.heightNames);
    DGSetItemVisible(dialogId, l.heightPopup, o.heightFromField != 0);
    if (block.tabPageId != 0) FillTabPage(block.tabPageId, l, o);
    DGSetDialogClientSize(dialogId, l.width, l.height);
    if (block.head.savedX != 0 || block.head.savedY != 0)
        DGSetDialogClientPosition(dialogId, block.head.savedX, block.head.savedY);
    block.head.layoutSwitch = 0;
}

void StoreArea(const ResultsLayout& l, ShapeResultsBlock& block) {
    GISImportOptions& o = *block.options;
    const int16_t page = block.tabPageId;
    if (page == 0) return;
    o.limited = DGGetCheckBoxState(page, l.limited) ? 1 : 0;
    if (NoDataBox(o)) return;
    o.areaMinX = DGGetItemValDouble(page, l.area[0]) + o.offsetX;
    o.areaMinY = DGGetItemValDouble(page, l.area[1]) + o.offsetY;
    o.areaMaxX = DGGetItemValDouble(page, l.area[2]) + o.offsetX;
    o.areaMaxY = DGGetItemValDouble(page, l.area[3]) + o.offsetY;
}

void Store(int16_t dialogId, const ResultsLayout& l, ShapeResultsBlock& block) {
    GISImportOptions& o = *block.options;
    o.nodeDistance = DGGetItemValDouble(dialogId, l.distance);
    if (l.terrain) {
        o.withContours = DGGetCheckBoxState(dialogId, l.withContours) ? 1 : 0;
        o.verticalThinning = DGGetCheckBoxState(dialogId, l.thinning) ? 1 : 0;
    } else {
        o.chosenObject = std::max<int32_t>(0, DGPopUpGetSelected(dialogId, l.objectPopup) - 1);
    }
    o.heightFromField = DGGetCheckBoxState(dialogId, l.heightCheck) ? 1 : 0;
    o.heightField = -1;
    if (o.heightFromField && o.fields != nullptr) {
        const QV_String chosen =
            FromUni(DGPopUpGetItemText(dialogId, l.heightPopup, DGPopUpGetSelected(dialogId, l.heightPopup)));
        if (chosen.Compare(QV_String("----")) != 0)
            for (int32_t f = 0; f < o.fields->GetCount(); ++f)
                if ((*o.fields)[f].name.Compare(chosen) == 0) {
                    o.heightField = f;
                    break;
                }
    }
    StoreArea(l, block);
}

// One axis of the area: ordered and kept inside the shown data box, then stored absolute.
void ChangeArea(int16_t page, int16_t low, int16_t high, int16_t boxLow, int16_t boxHigh, double offset,
                double& storedMin, double& storedMax) {
    double first = DGGetItemValDouble(page, low);
    double second = DGGetItemValDouble(page, high);
    ClampImportArea(first, second, DGGetItemValDouble(page, boxLow), DGGetItemValDouble(page, boxHigh));
    DGSetItemValDouble(page, low, first);
    DGSetItemValDouble(page, high, second);
    storedMin = first + offset;
    storedMax = second + offset;
}

void ChangePage(int16_t page, int16_t item, const ResultsLayout& l, ShapeResultsBlock& block) {
    GISImportOptions& o = *block.options;
    if (item == l.limited) {
        ShowAreaState(page, l, DGGetCheckBoxState(page, l.limited));
    } else if (NoDataBox(o)) {
        return;
    } else if (item == l.bounds[0]) {
        o.offsetX = o.dataMinX - DGGetItemValDouble(page, l.bounds[0]);
        FillBoundItems(page, l, o);
    } else if (item == l.bounds[1]) {
        o.offsetY = o.dataMinY - DGGetItemValDouble(page, l.bounds[1]);
        FillBoundItems(page, l, o);
    } else if (item == l.area[0] || item == l.area[2]) {
        ChangeArea(page, l.area[0], l.area[2], l.bounds[0], l.bounds[2], o.offsetX, o.areaMinX, o.areaMaxX);
    } else if (item == l.area[1] || item == l.area[3]) {
        ChangeArea(page, l.area[1], l.area[3], l.bounds[1], l.bounds[3], o.offsetY, o.areaMinY, o.areaMaxY);
    }
}

void Change(int16_t dialogId, int16_t item, const ResultsLayout& l, ShapeResultsBlock&) {
    if (item == l.heightCheck) {
        DGSetItemVisible(dialogId, l.heightPopup, DGGetCheckBoxState(dialogId, l.heightCheck));
    } else if (l.terrain && (item == l.withContours || item == l.thinning)) {
        // The two exclude each other; thinning wins.
        if (DGGetCheckBoxState(dialogId, l.thinning)) DGSetCheckBoxState(dialogId, l.withContours, false);
    }
}

int16_t Click(int16_t dialogId, int16_t item, const ResultsLayout& l, ShapeResultsBlock& block) {
    if (item == 1) return 1;
    if (item == 2) {
        block.head.layoutSwitch = 0;
        return 2;
    }
    if (item == l.layoutButton) {
        Store(dialogId, l, block);
        SaveDialogPosition(dialogId, block.head);
        block.head.layoutSwitch = 1;
        return 2;
    }
    return 0;
}

bool Open(int16_t id, ShapeResultsBlock& block, GISImportOptions& options) {
    block.head.dialogId = 0;
    block.tabPageId = 0;
    block.options = &options;
    block.heightNames.Clear();
    if (options.fields != nullptr)
        for (const DBFFieldData& field : *options.fields)
            if (field.kind < 0) block.heightNames.Insert(field.name);
    if (block.heightNames.IsEmpty()) block.heightNames.Insert(QV_String("----"));
    return RunModalDialogResource(id, ShapeImportResultsCallback, reinterpret_cast<DGUserData>(&block)) == 1;
}

bool RunLoop(GISImportOptions& options, bool terrain) {
    ShapeResultsBlock block;
    return RunDialogLayouts([&](int32_t layout, bool) {
               const bool twin = layout == 1;
               const bool ok = terrain ? (twin ? OpenShapeImportResultsDialog2Twin(block, options)
                                               : OpenShapeImportResultsDialog2(block, options))
                                       : (twin ? OpenShapeImportResultsDialogTwin(block, options)
                                               : OpenShapeImportResultsDialog(block, options));
               return LayoutClosed(ConfirmedIf(ok), block.head.layoutSwitch != 0);
           }) == DialogAnswer::Confirmed;
}

}  // namespace

bool OpenShapeImportResultsDialog(ShapeResultsBlock& block, GISImportOptions& options) {
    return Open(ShapeResultsObjectsDialogId, block, options);
}
bool OpenShapeImportResultsDialogTwin(ShapeResultsBlock& block, GISImportOptions& options) {
    return Open(ShapeResultsObjectsTwinDialogId, block, options);
}
bool OpenShapeImportResultsDialog2(ShapeResultsBlock& block, GISImportOptions& options) {
    return Open(ShapeResultsTerrainDialogId, block, options);
}
bool OpenShapeImportResultsDialog2Twin(ShapeResultsBlock& block, GISImportOptions& options) {
    return Open(ShapeResultsTerrainTwinDialogId, block, options);
}

bool RunImportResultsDialogs(ShapeImportData& data) { return RunLoop(data.options, false); }
bool RunTerrainResultsDialogs(ShapeImportData& data) { return RunLoop(data.options, true); }

// One callback for the four layouts and their tab pages, which have dialog ids of their own.
int16_t ShapeImportResultsCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                   intptr_t messageData) {
    if (userData == 0) return 0;
    ShapeResultsBlock& block = *reinterpret_cast<ShapeResultsBlock*>(userData);
    if (block.options == nullptr) return 0;
    if (block.tabPageId != 0 && dialogId == block.tabPageId) {
        const ResultsLayout* l = LayoutOf(int16_t(block.head.dialogId));
        if (l == nullptr) return 0;
        if (message == DG_MSG_CHANGE) ChangePage(dialogId, item, *l, block);
        if (message == DG_MSG_CLICK && item == l->previousOffset) {
            block.options->offsetX = ProjectOffset.x;
            block.options->offsetY = ProjectOffset.y;
            FillBoundItems(dialogId, *l, *block.options);
        }
        return 0;
    }
    const ResultsLayout* l = LayoutOf(dialogId);
    if (l == nullptr) return 0;
    switch (message) {
        case DG_MSG_INIT: Init(dialogId, *l, block); return 0;
        case DG_MSG_CHANGE: Change(dialogId, item, *l, block); return 0;
        case DG_MSG_CLICK: return Click(dialogId, item, *l, block);
        case DG_MSG_CLOSE:
            if (item == 1) Store(dialogId, *l, block);
            block.head.dialogId = 0;
            block.tabPageId = 0;
            return item;
        case DG_MSG_UPDATE:
            if (l->twin && item == 3) DrawSettingsPicture(messageData);
            return 0;
        default: return 0;
    }
}
