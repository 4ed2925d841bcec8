#include "dialogs/settings/TerrainSettingsDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "dialogs/settings/TableFieldItems.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/ToolLayerCheck.hpp"

#include "APIDefs.hpp"
#include "UC.hpp"

#include <cmath>

namespace {

using Id = TerrainSettings::Id;
using ContourId = ContourLineSettings::Id;
constexpr int16_t DepthColour = ContourLineSettings::DepthColourId;

constexpr int32_t LabelTable = 32540;
constexpr int32_t ImportLabelTable = 32580;
constexpr int32_t OffsetLabelTable = 32570;

// --- compact layout items ---
enum : int16_t {
    F_PlanTitle = 5,
    F_LineType = 7,
    F_ShowTriangles = 8,
    F_HideTriangles = 9,
    F_ContourPen = 11,
    F_ContourPenControl = 12,
    F_RidgePen = 14,
    F_RidgePenControl = 15,
    F_ModelTitle = 16,
    F_TopMaterial = 20,
    F_SideMaterial = 21,
    F_Show3D = 22,
    F_Hide3D = 23,
    F_MorphologyTitle = 24,
    F_Highest = 27,
    F_Colour1 = 28,
    F_Second = 30,
    F_Colour2 = 31,
    F_SecondBand = 32,
    F_Third = 34,
    F_Colour3 = 35,
    F_ThirdBand = 36,
    F_Lowest = 38,
    F_Colour4 = 39,
    F_OptionIcon = 40,
    F_Option = 41,
    F_Layer = 44,
    F_Name = 46,
    F_LayoutButton = 47,
};
// --- wide layout items ---
enum : int16_t {
    W_PlanTitle = 6,
    W_LineType = 8,
    W_ShowTriangles = 9,
    W_HideTriangles = 10,
    W_ContourPen = 12,
    W_ContourPenControl = 13,
    W_RidgePen = 15,
    W_RidgePenControl = 16,
    W_SectionTitle = 17,
    W_BuildingMaterial = 19,
    W_OverrideFg = 20,
    W_OverrideBg = 21,
    W_SectionPen = 23,
    W_SectionPenControl = 24,
    W_FgPen = 26,
    W_FgPenControl = 27,
    W_BgPen = 29,
    W_BgPenControl = 30,
    W_ModelTitle = 31,
    W_TopOverride = 32,
    W_SideOverride = 33,
    W_BottomOverride = 34,
    W_TopMaterial = 35,
    W_SideMaterial = 36,
    W_BottomMaterial = 37,
    W_LinkMaterials = 38,
    W_Show3D = 39,
    W_Hide3D = 40,
    W_OffsetLabel = 41,
    W_Offset = 42,
    W_ListingTitle = 43,
    W_Layer = 45,
    W_Name = 47,
};

// The frame binds the user controls and keeps the pen pairs in step.
constexpr auto kFirstItems = TableFieldItems<TerrainSettings, 0>();
// clang-format off
const SettingsLayout kFirstLayout = {TerrainSettingsDialogId, true, 7, 430, 582, F_LayoutButton, F_Layer,
    kFirstItems.data(), kFirstItems.size()};
// clang-format on

constexpr auto kSecondItems = TableFieldItems<TerrainSettings, 1>();
// clang-format off
const SettingsLayout kSecondLayout = {TerrainSettingsDialogTwinId, false, 7, 600, 490, 0, W_Layer,
    kSecondItems.data(), kSecondItems.size()};
// clang-format on

void Enable(int16_t dialogId, int16_t item, bool on) {
    if (on)
        DGEnableItem(dialogId, item);
    else
        DGDisableItem(dialogId, item);
}

int32_t Long(int16_t dialogId, int16_t item) { return DGGetItemValLong(dialogId, item); }
bool Checked(int16_t dialogId, int16_t item) { return DGGetCheckBoxState(dialogId, item); }

DialogBlockHead HeadOf(const TerrainDialogBlock& block) {
    DialogBlockHead head;
    head.savedX = block.savedX;
    head.savedY = block.savedY;
    return head;
}

// The run's mode says what the dialog is asked for: the defaults, a new terrain or the edit of terrains.
SettingsMode HeaderMode(const TerrainDialogBlock& block) {
    if (block.mode == TerrainMode_Defaults) return SettingsMode::ToolDefaults;
    if (block.mode == TerrainMode_New) return SettingsMode::NewElement;
    return SettingsMode::Editing(block.editedCount);
}

void SavePosition(int16_t dialogId, TerrainDialogBlock& block) {
    DialogBlockHead head = HeadOf(block);
    SaveDialogPosition(dialogId, head);
    block.savedX = head.savedX;
    block.savedY = head.savedY;
}

QV_String NameOf(int16_t dialogId, int16_t item) {
    const GS::UniString text = DGGetItemText(dialogId, item);
    QV_String name;
    name.AppendWide(text.ToUStr(), text.GetLength());
    return name;
}

// Writes a field of the working copy into the record when it differs, and flags it.
void Put(TerrainDialogBlock& block, int16_t id) {
    const int32_t v = block.work.GetShort(id);
    if (v != block.record->GetShort(id)) {
        block.record->SetShort(id, int16_t(v));
        block.changed[id] = 1;
    }
}

void PutName(TerrainDialogBlock& block) {
    if (block.work.name.ToStdString() != block.record->name.ToStdString()) {
        block.record->name = block.work.name;
        block.changed[TerrainSettings::Id::name] = 1;
    }
}

// ---------------------------------------------------------------------------------------------------------------
// The compact layout.

struct First {
    static void BandSwitches(int16_t dialogId, const TerrainDialogBlock& b) {
        const bool levels = b.mode >= 1;
        if (b.contourWork.useAverage2 == 0) {
            DGDisableItem(dialogId, F_Colour2);
            DGDisableItem(dialogId, F_Second);
        }
        if (b.contourWork.useAverage == 0) {
            DGSetCheckBoxState(dialogId, F_SecondBand, false);
            for (int16_t item : {F_SecondBand, F_Colour2, F_Colour3}) DGDisableItem(dialogId, item);
            if (levels)
                for (int16_t item : {F_Second, F_Third}) DGDisableItem(dialogId, item);
        }
    }

    static void Init(int16_t dialogId, TerrainDialogBlock& b) {
        InitSettingsLayout(dialogId, kFirstLayout, HeaderMode(b));
        DGSetItemText(dialogId, F_PlanTitle, Text(LabelTable, 34));
        for (int16_t item : {F_ShowTriangles, F_Show3D}) DGSetItemText(dialogId, item, Text(LabelTable, 35));
        for (int16_t item : {F_HideTriangles, F_Hide3D}) DGSetItemText(dialogId, item, Text(LabelTable, 36));
        DGSetItemText(dialogId, F_ModelTitle, Text(ImportLabelTable, 4));
        const TerrainSettings& w = b.work;
        DGSetItemValLong(dialogId, F_LineType, w.lineType);
        DGSetItemValLong(dialogId, F_ContourPen, w.contourPen);
        DGSetItemValLong(dialogId, F_ContourPenControl, w.contourPen);
        DGSetItemValLong(dialogId, F_RidgePen, w.ridgePen);
        DGSetItemValLong(dialogId, F_RidgePenControl, w.ridgePen);
        DGSelectRadio(dialogId, w.planTriangles == 1 ? F_HideTriangles : F_ShowTriangles);
        DGSetItemValLong(dialogId, F_TopMaterial, w.topMaterial);
        DGSetItemValLong(dialogId, F_SideMaterial, w.sideMaterial);
        DGSelectRadio(dialogId, w.modelTriangles == 1 ? F_Hide3D : F_Show3D);
        DGSetItemValLong(dialogId, F_Layer, w.layer);
        DGSetItemText(dialogId, F_Name, GS::UniString(w.name.GetBuffer(), w.name.GetLength()));
        DGSetItemText(dialogId, F_MorphologyTitle, Text(ImportLabelTable, 5));
        DGSetCheckBoxState(dialogId, F_SecondBand, b.contourWork.useAverage2 != 0);
        DGSetCheckBoxState(dialogId, F_ThirdBand, b.contourWork.useAverage != 0);
        const int16_t levels[] = {F_Highest, F_Second, F_Third, F_Lowest};
        if (b.mode >= 1) {
            const double lo = b.lowest, hi = b.highest;
            const double start[] = {
                b.mode == 3 ? b.contourWork.maxDepth : hi,
                b.mode == 3 ? b.contourWork.average2 : lo + 2.0 * (hi - lo) / 3.0,
                b.mode == 3 ? b.contourWork.average : lo + (hi - lo) / 3.0,
                b.mode == 3 ? b.contourWork.minDepth : lo,
            };
            for (int k = 0; k < 4; ++k) {
                DGSetItemMinDouble(dialogId, levels[k], lo);
                DGSetItemMaxDouble(dialogId, levels[k], hi);
                DGSetItemValDouble(dialogId, levels[k], start[k]);
            }
            DGSetCheckBoxState(dialogId, F_Option, b.mode == 3 && b.option != 0);
        } else {
            for (int16_t item : levels) DGDisableItem(dialogId, item);
            DGSetCheckBoxState(dialogId, F_Option, false);
            DGDisableItem(dialogId, F_OptionIcon);
            DGDisableItem(dialogId, F_Option);
        }
        BandSwitches(dialogId, b);
        DialogBlockHead head = HeadOf(b);
        FinishSettingsLayoutInit(dialogId, kFirstLayout, head);
    }

    static void Change(int16_t dialogId, int16_t item, TerrainDialogBlock& b) {
        SyncPenPair(dialogId, kFirstLayout, item, false);
        if (b.mode > 3) return;
        const bool levels = b.mode >= 1;
        if (item == F_SecondBand) {
            const bool on = Checked(dialogId, F_SecondBand);
            if (levels) Enable(dialogId, F_Second, on);
            Enable(dialogId, F_Colour2, on);
        }
        if (item == F_ThirdBand) {
            const bool on = Checked(dialogId, F_ThirdBand);
            if (on) {
                if (levels) DGEnableItem(dialogId, F_Third);
                DGEnableItem(dialogId, F_Colour3);
                DGEnableItem(dialogId, F_SecondBand);
                if (Checked(dialogId, F_SecondBand)) {
                    if (levels) DGEnableItem(dialogId, F_Second);
                    DGEnableItem(dialogId, F_Colour2);
                }
            } else {
                DGSetCheckBoxState(dialogId, F_SecondBand, false);
                for (int16_t i : {F_SecondBand, F_Colour2, F_Colour3}) DGDisableItem(dialogId, i);
                if (levels)
                    for (int16_t i : {F_Second, F_Third}) DGDisableItem(dialogId, i);
            }
        }
    }

    static void Track(int16_t dialogId, int16_t item, TerrainDialogBlock&) {
        SyncPenPair(dialogId, kFirstLayout, item, true);
    }

    static int ColourIndex(int16_t item) {
        switch (item) {
            case F_Colour1: return 0;
            case F_Colour2: return 1;
            case F_Colour3: return 2;
            case F_Colour4: return 3;
            default: return -1;
        }
    }

    static void Update(int16_t dialogId, int16_t item, TerrainDialogBlock& b, DGMessageData data) {
        const int k = ColourIndex(item);
        if (k < 0 || data == 0) return;
        const DGUserUpdateData& u = *reinterpret_cast<const DGUserUpdateData*>(data);
        DG::Rect rect;
        rect.right = u.right - u.left;
        rect.bottom = u.bottom - u.top;
        const API_Coord3D& c = b.colours[k];
        DGDrawFillRect(u.drawContext, rect, uint8_t(std::lround(c.x * 255)), uint8_t(std::lround(c.y * 255)),
                       uint8_t(std::lround(c.z * 255)));
        (void)dialogId;
    }

    // Steps 1 and 3 of the store: the working copies from the items.
    static void Read(int16_t dialogId, TerrainDialogBlock& b) {
        TerrainSettings& w = b.work;
        w.lineType = uint16_t(Long(dialogId, F_LineType));
        w.contourPen = uint16_t(Long(dialogId, F_ContourPen));
        w.ridgePen = uint16_t(Long(dialogId, F_RidgePen));
        w.planTriangles = DGGetCheckedRadio(dialogId, 1) == F_HideTriangles ? 1 : 2;
        // The compact layout shows the top and side materials as the mesh's own: they override.
        w.topMaterialOverride = 1;
        w.sideMaterialOverride = 1;
        w.topMaterial = uint16_t(Long(dialogId, F_TopMaterial));
        w.sideMaterial = uint16_t(Long(dialogId, F_SideMaterial));
        w.modelTriangles = DGGetCheckedRadio(dialogId, 2) == F_Hide3D ? 1 : 0;
        w.layer = uint16_t(Long(dialogId, F_Layer));
        w.name = NameOf(dialogId, F_Name);

        ContourLineSettings& c = b.contourWork;
        const bool second = Checked(dialogId, F_SecondBand), third = Checked(dialogId, F_ThirdBand);
        c.useAverage2 = second ? 1 : 0;
        c.useAverage = third ? 1 : 0;
        if (b.mode >= 1) {
            c.maxDepth = DGGetItemValDouble(dialogId, F_Highest);
            c.SetPoint(DepthColour, b.colours[0]);
            if (second) {
                c.average2 = DGGetItemValDouble(dialogId, F_Second);
                c.SetPoint(DepthColour + 1, b.colours[1]);
            }
            if (third) {
                c.average = DGGetItemValDouble(dialogId, F_Third);
                c.SetPoint(DepthColour + 2, b.colours[2]);
            }
            c.minDepth = DGGetItemValDouble(dialogId, F_Lowest);
            c.SetPoint(DepthColour + 3, b.colours[3]);
            b.option = Checked(dialogId, F_Option) ? 1 : 0;
        } else {
            c.SetPoint(DepthColour, b.colours[0]);
            if (second) c.SetPoint(DepthColour + 1, b.colours[1]);
            if (third) c.SetPoint(DepthColour + 2, b.colours[2]);
            c.SetPoint(DepthColour + 3, b.colours[3]);
        }
    }

    static int16_t Click(int16_t dialogId, int16_t item, TerrainDialogBlock& b) {
        if (item == SettingsItemOK) {
            if (!CheckToolLayer(int16_t(Long(dialogId, F_Layer)))) return 0;
            if (b.mode >= 1 &&
                !TerrainLevelsRise(Checked(dialogId, F_ThirdBand), Checked(dialogId, F_SecondBand),
                                   DGGetItemValDouble(dialogId, F_Highest), DGGetItemValDouble(dialogId, F_Second),
                                   DGGetItemValDouble(dialogId, F_Third), DGGetItemValDouble(dialogId, F_Lowest))) {
                ShowErrorMessage(ErrLevels, AlertKind::Error);
                return 0;
            }
            return SettingsItemOK;
        }
        if (item == SettingsItemCancel) {
            b.layoutSwitch = 0;
            return SettingsItemCancel;
        }
        const int k = ColourIndex(item);
        if (k >= 0) {
            DGColorRec colour = {uint16_t(std::lround(b.colours[k].x * 65535)),
                                 uint16_t(std::lround(b.colours[k].y * 65535)),
                                 uint16_t(std::lround(b.colours[k].z * 65535))};
            if (DGGetColor(GS::UniString(), &colour) == 1) {
                b.colours[k] = API_Coord3D{colour.red / 65535.0, colour.green / 65535.0, colour.blue / 65535.0};
                DGRedrawItem(dialogId, item);
            }
            return 0;
        }
        if (item == F_LayoutButton) {
            Read(dialogId, b);
            SavePosition(dialogId, b);
            b.layoutSwitch = 1;
            return SettingsItemCancel;
        }
        return 0;
    }

    static void Close(int16_t dialogId, int16_t item, TerrainDialogBlock& b) {
        if (item != SettingsItemOK) return;
        Read(dialogId, b);
        for (int16_t id : {Id::lineType, Id::contourPen, Id::ridgePen, Id::planTriangles, Id::topMaterialOverride,
                           Id::sideMaterialOverride, Id::topMaterial, Id::sideMaterial, Id::modelTriangles, Id::layer})
            Put(b, id);
        PutName(b);
        ApplyTerrainSettingsChanges(b);
    }
};

// ---------------------------------------------------------------------------------------------------------------
// The wide layout.

// Colours of the building-material control's preview: foreground, background, section contour.
enum : int16_t { PreviewForeground = 0, PreviewBackground = 1, PreviewContour = 2 };

// Shows the pen's colour in the preview; a pen the host cannot read leaves the preview as it is.
void PreviewPen(int16_t dialogId, int16_t colourIndex, int32_t pen) {
    API_Attribute a = {};
    a.header.typeID = API_PenID;
    a.header.index = pen;
    if (ACAPI_Attribute_Get(&a) != NoError) return;
    const DGColorRec c = {uint16_t(std::lround(a.pen.red * 65535)), uint16_t(std::lround(a.pen.green * 65535)),
                          uint16_t(std::lround(a.pen.blue * 65535))};
    UC257SetColor(dialogId, W_BuildingMaterial, colourIndex, c);
    DGRedrawItem(dialogId, W_BuildingMaterial);
}

struct Second {
    static void LinkEnabling(int16_t dialogId) {
        const int on = int(Checked(dialogId, W_TopOverride)) + int(Checked(dialogId, W_SideOverride)) +
            int(Checked(dialogId, W_BottomOverride));
        Enable(dialogId, W_LinkMaterials, on >= 2);
    }

    static void Init(int16_t dialogId, TerrainDialogBlock& b) {
        InitSettingsLayout(dialogId, kSecondLayout, HeaderMode(b));
        DGSetItemText(dialogId, W_PlanTitle, Text(LabelTable, 34));
        for (int16_t item : {W_ShowTriangles, W_Show3D}) DGSetItemText(dialogId, item, Text(LabelTable, 35));
        for (int16_t item : {W_HideTriangles, W_Hide3D}) DGSetItemText(dialogId, item, Text(LabelTable, 36));
        DGSetItemText(dialogId, W_SectionTitle, Text(LabelTable, 37));
        DGSetItemText(dialogId, W_ModelTitle, Text(LabelTable, 38));
        DGSetItemText(dialogId, W_OffsetLabel, Text(OffsetLabelTable, 18));
        DGSetItemText(dialogId, W_ListingTitle, Text(LabelTable, 39));
        DGSetItemText(dialogId, W_OverrideFg, Text(LabelTable, 229));
        DGSetItemText(dialogId, W_OverrideBg, Text(LabelTable, 230));
        const TerrainSettings& w = b.work;
        DGSetItemValLong(dialogId, W_LineType, w.lineType);
        DGSetItemValLong(dialogId, W_BuildingMaterial, w.buildingMaterial);
        const bool fg = w.penOverride == 1 || w.penOverride == 3, bg = w.penOverride == 2 || w.penOverride == 3;
        DGSetCheckBoxState(dialogId, W_OverrideFg, fg);
        DGSetCheckBoxState(dialogId, W_OverrideBg, bg);
        DGSetCheckBoxState(dialogId, W_TopOverride, w.topMaterialOverride == 1);
        DGSetCheckBoxState(dialogId, W_SideOverride, w.sideMaterialOverride == 1);
        DGSetCheckBoxState(dialogId, W_BottomOverride, w.bottomMaterialOverride == 1);
        DGSetItemValLong(dialogId, W_TopMaterial, w.topMaterial);
        DGSetItemValLong(dialogId, W_SideMaterial, w.sideMaterial);
        DGSetItemValLong(dialogId, W_BottomMaterial, w.bottomMaterial);
        DGSetCheckBoxState(dialogId, W_LinkMaterials, false);
        Enable(dialogId, W_TopMaterial, w.topMaterialOverride == 1);
        Enable(dialogId, W_SideMaterial, w.sideMaterialOverride == 1);
        Enable(dialogId, W_BottomMaterial, w.bottomMaterialOverride == 1);
        LinkEnabling(dialogId);
        DGSetItemValLong(dialogId, W_Layer, w.layer);
        DGSelectRadio(dialogId, w.planTriangles == 1 ? W_HideTriangles : W_ShowTriangles);
        DGSelectRadio(dialogId, w.modelTriangles == 1 ? W_Hide3D : W_Show3D);
        const struct {
            int16_t edit, control;
            uint16_t value;
        } pens[] = {{W_ContourPen, W_ContourPenControl, w.contourPen},
                    {W_RidgePen, W_RidgePenControl, w.ridgePen},
                    {W_FgPen, W_FgPenControl, w.fillPen},
                    {W_BgPen, W_BgPenControl, w.fillBackgroundPen},
                    {W_SectionPen, W_SectionPenControl, w.fillContourPen}};
        for (const auto& p : pens) {
            DGSetItemValLong(dialogId, p.edit, p.value);
            DGSetItemValLong(dialogId, p.control, p.value);
        }
        DGSetItemText(dialogId, W_Name, GS::UniString(w.name.GetBuffer(), w.name.GetLength()));
        Enable(dialogId, W_FgPen, fg);
        Enable(dialogId, W_FgPenControl, fg);
        Enable(dialogId, W_BgPen, bg);
        Enable(dialogId, W_BgPenControl, bg);
        if (fg) PreviewPen(dialogId, PreviewForeground, w.fillPen);
        if (bg) PreviewPen(dialogId, PreviewBackground, w.fillBackgroundPen);
        PreviewPen(dialogId, PreviewContour, w.fillContourPen);
        DGSetItemValDouble(dialogId, W_Offset, b.verticalOffset);
        if (b.mode != 1) {
            DGDisableItem(dialogId, W_OffsetLabel);
            DGDisableItem(dialogId, W_Offset);
            DGSetItemValDouble(dialogId, W_Offset, 0.0);
        }
        DialogBlockHead head = HeadOf(b);
        FinishSettingsLayoutInit(dialogId, kSecondLayout, head);
    }

    static void Change(int16_t dialogId, int16_t item, TerrainDialogBlock&) {
        SyncPenPair(dialogId, kSecondLayout, item, false);
        switch (item) {
            // Switched off, the building material's own pens would show; the stand-in host keeps no building
            // materials with pens, so the preview then stays as it is.
            case W_OverrideFg:
                Enable(dialogId, W_FgPen, Checked(dialogId, W_OverrideFg));
                Enable(dialogId, W_FgPenControl, Checked(dialogId, W_OverrideFg));
                if (Checked(dialogId, W_OverrideFg)) PreviewPen(dialogId, PreviewForeground, Long(dialogId, W_FgPen));
                break;
            case W_OverrideBg:
                Enable(dialogId, W_BgPen, Checked(dialogId, W_OverrideBg));
                Enable(dialogId, W_BgPenControl, Checked(dialogId, W_OverrideBg));
                if (Checked(dialogId, W_OverrideBg)) PreviewPen(dialogId, PreviewBackground, Long(dialogId, W_BgPen));
                break;
            case W_SectionPen: PreviewPen(dialogId, PreviewContour, Long(dialogId, W_SectionPen)); break;
            case W_FgPen: PreviewPen(dialogId, PreviewForeground, Long(dialogId, W_FgPen)); break;
            case W_BgPen: PreviewPen(dialogId, PreviewBackground, Long(dialogId, W_BgPen)); break;
            case W_TopOverride:
            case W_SideOverride:
            case W_BottomOverride:
                Enable(dialogId, int16_t(item + 3), Checked(dialogId, item));
                LinkEnabling(dialogId);
                break;
            case W_TopMaterial:
            case W_SideMaterial:
            case W_BottomMaterial:
                if (Checked(dialogId, W_LinkMaterials))
                    for (int16_t other : {W_TopMaterial, W_SideMaterial, W_BottomMaterial})
                        if (other != item) DGSetItemValLong(dialogId, other, Long(dialogId, item));
                break;
            case W_LinkMaterials:
                if (Checked(dialogId, W_LinkMaterials))
                    for (int16_t other : {W_SideMaterial, W_BottomMaterial})
                        DGSetItemValLong(dialogId, other, Long(dialogId, W_TopMaterial));
                break;
            default: break;
        }
    }

    static void Track(int16_t dialogId, int16_t item, TerrainDialogBlock&) {
        SyncPenPair(dialogId, kSecondLayout, item, true);
        if (item == W_SectionPenControl) PreviewPen(dialogId, PreviewContour, Long(dialogId, item));
        if (item == W_FgPenControl) PreviewPen(dialogId, PreviewForeground, Long(dialogId, item));
        if (item == W_BgPenControl) PreviewPen(dialogId, PreviewBackground, Long(dialogId, item));
    }

    static int16_t Click(int16_t dialogId, int16_t item, TerrainDialogBlock& b) {
        if (item == SettingsItemOK) {
            if (!CheckToolLayer(int16_t(Long(dialogId, W_Layer)))) return 0;
            if (b.mode == 2 || b.mode == 3) {
                const ContourLineSettings& c = *b.contour;
                if (!TerrainLevelsRise(c.useAverage != 0, c.useAverage2 != 0, c.maxDepth, c.average2, c.average,
                                       c.minDepth)) {
                    ShowErrorMessage(ErrLevels, AlertKind::Error);
                    return 0;
                }
            }
            return SettingsItemOK;
        }
        if (item == SettingsItemCancel) {
            b.layoutSwitch = 0;
            return SettingsItemCancel;
        }
        return 0;
    }

    static void Close(int16_t dialogId, int16_t item, TerrainDialogBlock& b) {
        if (item != SettingsItemOK) return;
        TerrainSettings& w = b.work;
        const bool fg = Checked(dialogId, W_OverrideFg), bg = Checked(dialogId, W_OverrideBg);
        w.lineType = uint16_t(Long(dialogId, W_LineType));
        w.contourPen = uint16_t(Long(dialogId, W_ContourPen));
        w.ridgePen = uint16_t(Long(dialogId, W_RidgePen));
        w.planTriangles = DGGetCheckedRadio(dialogId, 1) == W_HideTriangles ? 1 : 2;
        w.buildingMaterial = uint16_t(Long(dialogId, W_BuildingMaterial));
        w.penOverride = uint16_t((fg ? 1 : 0) | (bg ? 2 : 0));
        if (fg) w.fillPen = uint16_t(Long(dialogId, W_FgPen));
        if (bg) w.fillBackgroundPen = uint16_t(Long(dialogId, W_BgPen));
        w.fillContourPen = uint16_t(Long(dialogId, W_SectionPen));
        w.topMaterialOverride = Checked(dialogId, W_TopOverride) ? 1 : 0;
        w.sideMaterialOverride = Checked(dialogId, W_SideOverride) ? 1 : 0;
        w.bottomMaterialOverride = Checked(dialogId, W_BottomOverride) ? 1 : 0;
        w.topMaterial = uint16_t(Long(dialogId, W_TopMaterial));
        w.sideMaterial = uint16_t(Long(dialogId, W_SideMaterial));
        w.bottomMaterial = uint16_t(Long(dialogId, W_BottomMaterial));
        w.modelTriangles = DGGetCheckedRadio(dialogId, 2) == W_Hide3D ? 1 : 0;
        w.layer = uint16_t(Long(dialogId, W_Layer));
        w.name = NameOf(dialogId, W_Name);
        for (int16_t id :
             {Id::lineType, Id::contourPen, Id::ridgePen, Id::planTriangles, Id::buildingMaterial, Id::penOverride})
            Put(b, id);
        if (fg) Put(b, Id::fillPen);
        if (bg) Put(b, Id::fillBackgroundPen);
        for (int16_t id :
             {Id::fillContourPen, Id::topMaterialOverride, Id::sideMaterialOverride, Id::bottomMaterialOverride,
              Id::topMaterial, Id::sideMaterial, Id::bottomMaterial, Id::modelTriangles, Id::layer})
            Put(b, id);
        PutName(b);
        const double offset = DGGetItemValDouble(dialogId, W_Offset);
        if (std::fabs(offset - b.verticalOffset) >= 1e-7) {
            b.verticalOffset = offset;
            b.verticalOffsetChanged = 1;
        }
    }

    static void Update(int16_t, int16_t item, TerrainDialogBlock&, DGMessageData update) {
        if (item == SettingsItemPicture) DrawSettingsPicture(update);
    }
};

bool UsableBlock(const TerrainDialogBlock& b) { return b.record != nullptr && b.contour != nullptr; }

// One layout's callback: its handlers, dispatched for its dialog.
template <typename Layout, int16_t DialogId>
int16_t LayoutCallback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData,
                       DGMessageData messageData) {
    static constexpr ModalDialog<TerrainDialogBlock>::Handlers handlers = {
        UsableBlock, Layout::Init, Layout::Click, Layout::Change, Layout::Close, Layout::Track, Layout::Update};
    return ModalDialog<TerrainDialogBlock>::Dispatch(DialogId, handlers, message, dialogId, item, userData,
                                                     messageData);
}

}  // namespace

bool TerrainLevelsRise(bool thirdBand, bool secondBand, double highest, double second, double third, double lowest) {
    return (!thirdBand && highest > lowest) || (!secondBand && third > lowest && highest > third) ||
        (third > lowest && second > third && highest > second);
}

DialogAnswer OpenTerrainSettingsDialog(TerrainDialogBlock& block, TerrainSettings& record, const TerrainSettings& start,
                                       ContourLineSettings& contour, int16_t mode, int32_t value, double lowest,
                                       double highest, int16_t option) {
    block.record = &record;
    block.contour = &contour;
    block.mode = mode;
    block.value = value;
    for (uint8_t& f : block.changed) f = 0;
    for (uint8_t& f : block.contourChanged) f = 0;
    Assign(block.work, start);
    block.lowest = mode >= 1 ? lowest : 0.0;
    block.highest = mode >= 1 ? highest : 0.0;
    block.option = mode == 3 ? option : 0;
    for (int k = 0; k < 4; ++k) block.colours[k] = contour.GetPoint(int16_t(DepthColour + k));
    block.contourWork = contour;
    block.layoutSwitch = 0;
    return ConfirmedIf(ModalDialog<TerrainDialogBlock>::Run(TerrainSettingsDialogId,
                                                            LayoutCallback<First, TerrainSettingsDialogId>,
                                                            block) == SettingsItemOK);
}

DialogAnswer OpenTerrainSettingsDialogTwin(TerrainDialogBlock& block, TerrainSettings& record,
                                           const TerrainSettings& start, const ContourLineSettings& levels,
                                           int16_t mode, int32_t value) {
    block.record = &record;
    block.contour = const_cast<ContourLineSettings*>(&levels);  // read only: the levels its OK checks
    block.mode = mode;
    block.value = value;
    for (uint8_t& f : block.changed) f = 0;
    Assign(block.work, start);
    block.verticalOffsetChanged = 0;
    block.layoutSwitch = 0;
    return ConfirmedIf(ModalDialog<TerrainDialogBlock>::Run(TerrainSettingsDialogTwinId,
                                                            LayoutCallback<Second, TerrainSettingsDialogTwinId>,
                                                            block) == SettingsItemOK);
}

void ApplyTerrainSettingsChanges(TerrainDialogBlock& block) {
    if (block.contour == nullptr) return;
    ContourLineSettings& to = *block.contour;
    const ContourLineSettings& from = block.contourWork;
    const auto flagShort = [&](int16_t id) {
        if (to.GetShort(id) != from.GetShort(id)) {
            to.SetShort(id, int16_t(from.GetShort(id)));
            block.contourChanged[id] = 1;
        }
    };
    const auto flagDouble = [&](int16_t id) {
        if (std::fabs(to.GetReal(id) - from.GetReal(id)) >= 1e-7) {
            to.SetReal(id, from.GetReal(id));
            block.contourChanged[id] = 1;
        }
    };
    const auto flagPoint = [&](int16_t id) {
        const API_Coord3D a = to.GetPoint(id), b = from.GetPoint(id);
        if (a.x != b.x || a.y != b.y || a.z != b.z) {
            to.SetPoint(id, b);
            block.contourChanged[id] = 1;
        }
    };
    flagShort(ContourId::useAverage2);
    flagShort(ContourId::useAverage);
    if (block.mode >= 1) {
        flagDouble(ContourId::maxDepth);
        flagPoint(DepthColour);
        if (from.useAverage2 != 0) {
            flagDouble(ContourId::average2);
            flagPoint(DepthColour + 1);
        }
        if (from.useAverage != 0) {
            flagDouble(ContourId::average);
            flagPoint(DepthColour + 2);
        }
        flagDouble(ContourId::minDepth);
    } else {
        flagPoint(DepthColour);
        if (from.useAverage2 != 0) flagPoint(DepthColour + 1);
        if (from.useAverage != 0) flagPoint(DepthColour + 2);
    }
    flagPoint(DepthColour + 3);
}
