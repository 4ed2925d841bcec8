#pragma once
// The tree tool's settings: one tree's branching, trunk and leaf styles, materials and 2D symbol. Fields in id
// order; the id is also the field's byte in TreeChangeFlags. The companion fields hold the second control of a
// dialog pair and equal their partner after the dialog.
#include "foundation/QV_String.hpp"

#include <cstdint>

constexpr int16_t TreeFieldCount = 33;

// Field ids.
enum TreeField : int16_t {
    TreeBranches = 0,
    TreeBranches2 = 1,
    TreeLevels = 2,
    TreeLevels2 = 3,
    TreeTrunkMaterial = 4,
    TreeLeafMaterial = 5,
    TreeDouble = 6,
    TreeLayer = 7,
    TreeSymbolType = 8,
    TreePen1 = 9,            // crown, border, shadow, second shadow: 9 to 12
    TreePen1Companion = 13,  // 13 to 16
    TreeShadow = 17,
    TreeShowText = 18,
    TreeTextPen = 19,
    TreeTextPen2 = 20,
    TreeResolution = 21,
    TreeTrunkStyle = 22,
    TreeLeafStyle = 23,
    TreeHeight = 24,
    TreeAngle = 25,
    TreeTrunkDiameter = 26,
    TreeShadowDirection = 27,
    TreeTextSize = 28,
    TreeText = 29,
    TreeFont = 30,
    TreeCustomTrunk = 31,
    TreeCustomLeaves = 32,
};

struct TreeSettings {
    int32_t branches = 0;
    int32_t branches2 = 0;
    int32_t levels = 0;
    int32_t levels2 = 0;
    int32_t trunkMaterial = 0;
    int32_t leafMaterial = 0;
    int32_t doubled = 0;
    int32_t layer = 0;
    int32_t symbolType = 0;
    int32_t pens[4] = {};
    int32_t pens2[4] = {};
    int32_t shadow = 0;
    int32_t showText = 0;
    int32_t textPen = 0;
    int32_t textPen2 = 0;
    int32_t resolution = 0;
    int16_t trunkStyle = 0;  // 1 lines, 2 cylinders, 3 trunk, 4 custom
    int16_t leafStyle = 0;   // 0 none, 1, 2, 3 both, -1 custom
    double height = 0.0;
    double angle = 0.0;  // degrees; negative: the conical form
    double trunkDiameter = 0.0;
    double shadowDirection = 0.0;  // degrees
    double textSize = 0.0;
    QV_String text;
    QV_String font;
    QV_String customTrunk;
    QV_String customLeaves;

    // The integer fields (0 to 23) by id, the 16-bit ones sign-extended; 0 for any other id. Setting a 16-bit
    // field keeps the low 16 bits.
    int32_t GetLong(int16_t id) const;
    void SetLong(int16_t id, int32_t value);
    // The doubles 24 to 28; 0.0 for any other id.
    double GetDouble(int16_t id) const;
    void SetDouble(int16_t id, double value);
    // The texts 29 to 32; empty for any other id.
    QV_String GetText(int16_t id) const;
    void SetText(int16_t id, const QV_String& value);

    // Copies every field (the texts by value) into `target` and then from `target` into `second`.
    static TreeSettings& CopyTo(TreeSettings& target, TreeSettings& second, const TreeSettings& source);
};

// One byte per field: set when the user changed that field in the dialog.
struct TreeChangeFlags {
    uint8_t flag[TreeFieldCount] = {};
    void Clear() {
        for (uint8_t& f : flag) f = 0;
    }
    bool Any() const {
        for (uint8_t f : flag)
            if (f != 0) return true;
        return false;
    }
};
