// The terrain record: its defaults and field access, and its exchange with a host mesh record and memo (the
// round trip, the override bytes, and change masks that write only the changed fields).
#include "terrain/TerrainRecord.hpp"

#include "UniString.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace terrain_record_test {

using Id = TerrainSettings::Id;

// Ids no integer field answers to: the name (a text), one past the last id, and ids far outside.
constexpr int16_t InertIds[] = {Id::name, TerrainFieldCount, -1, -32768, 400};

const int32_t kDefaults[TerrainFieldCount] = {1, 53, 73, 1, 38, 113, 133, 93, 26, 33, 33, 1, 0, 1, 1, 1, 0, 0, 0};

TEST(TerrainRecord, NewRecordHasTheToolDefaultsAndOddIdsAreInert) {
    TerrainRecord r;
    for (int16_t id = 0; id < TerrainFieldCount; ++id) EXPECT_EQ(r.GetShort(id), kDefaults[id]) << id;
    EXPECT_EQ(r.name, QV_String("TERRAIN"));
    for (uint8_t flag : r.changed) EXPECT_EQ(flag, 0);
    EXPECT_EQ(r.boundary.GetCount(), 0);

    const TerrainRecord before = r;
    for (int16_t id : InertIds) {
        EXPECT_EQ(r.GetShort(id), 0);
        r.SetShort(id, 77);
    }
    for (int16_t id = 0; id < TerrainFieldCount; ++id) EXPECT_EQ(r.GetShort(id), before.GetShort(id));
    EXPECT_EQ(r.name, before.name);
}

TEST(TerrainRecord, AssignCopiesSettingsOnly) {
    TerrainRecord dst, src;
    dst.changed[Id::fill] = 1;
    dst.boundary.Insert(API_Coord3D{1, 2, 3});
    dst.used.Insert(true);
    src.SetShort(Id::contourPen, 9);
    src.name = "SITE";
    Assign(dst, src);
    EXPECT_EQ(dst.GetShort(Id::contourPen), 9);
    EXPECT_EQ(dst.name, QV_String("SITE"));
    EXPECT_EQ(dst.changed[Id::fill], 1);
    EXPECT_EQ(dst.boundary.GetCount(), 1);
    EXPECT_EQ(dst.used.GetCount(), 1);

    TerrainSettings zero;  // the dialog's working copies start zeroed, not at the defaults
    for (int16_t id = 0; id < TerrainFieldCount; ++id) EXPECT_EQ(zero.GetShort(id), 0);
    EXPECT_TRUE(zero.name.IsEmpty());
}

uint16_t OverridePair(const API_MeshType& m) {
    uint8_t bytes[2] = {m.overrideSectFillPen, m.overrideSectFillBGPen};
    return uint16_t(bytes[0] | bytes[1] << 8);
}

TEST(TerrainRecord, OverrideAndDisplayValuesAreNormalisedOnTheMesh) {
    struct Case {
        uint16_t field15, pair, back;
    } cases[] = {{0, 0x0000, 0}, {1, 0x0001, 1}, {2, 0x0100, 2}, {3, 0x0101, 3}, {7, 0x0101, 3}};
    for (const Case& c : cases) {
        TerrainSettings s;
        s.penOverride = c.field15;
        API_MeshType m{};
        TerrainSettingsToMesh(s, m);
        EXPECT_EQ(OverridePair(m), c.pair) << c.field15;
        TerrainSettings back;
        MeshToTerrainSettings(m, nullptr, back);
        EXPECT_EQ(back.penOverride, c.back) << c.field15;
    }
    TerrainSettings s;
    s.modelTriangles = 5;       // only 1 means hide
    s.topMaterialOverride = 2;  // only 1 overrides
    s.planTriangles = 2;
    API_MeshType m{};
    TerrainSettingsToMesh(s, m);
    EXPECT_EQ(m.triangles3D, 0);
    EXPECT_EQ(m.overrideTopMat, 0);
    EXPECT_EQ(m.planTriangles, 2);
    EXPECT_EQ(m.showPlanTriangles, 1);
    s.modelTriangles = 1;
    TerrainSettingsToMesh(s, m);
    EXPECT_EQ(m.triangles3D, 2);
}

TerrainSettings RandomSettings(std::mt19937& rng) {
    std::uniform_int_distribution<int> pen(0, 255), flag(0, 1), override(0, 3), plan(1, 2);
    TerrainSettings s;
    for (int16_t id = 0; id < TerrainFieldCount; ++id) s.SetShort(id, int16_t(pen(rng)));
    s.planTriangles = uint16_t(plan(rng));
    s.modelTriangles = uint16_t(flag(rng));
    s.penOverride = uint16_t(override(rng));
    s.topMaterialOverride = uint16_t(flag(rng));
    s.sideMaterialOverride = uint16_t(flag(rng));
    s.bottomMaterialOverride = uint16_t(flag(rng));
    s.name = pen(rng) % 3 == 0 ? "" : "Høyde";
    return s;
}

bool SameExceptFill(const TerrainSettings& a, const TerrainSettings& b) {
    for (int16_t id = 0; id < TerrainFieldCount; ++id)
        if (id != Id::fill && a.GetShort(id) != b.GetShort(id)) return false;
    return a.name.ToStdString() == b.name.ToStdString();  // an empty name may come back without a buffer
}

TEST(TerrainRecord, SettingsSurviveTheMeshAndMemoRoundTrip) {
    std::mt19937 rng(101);
    for (int i = 0; i < 300; ++i) {
        const TerrainSettings s = RandomSettings(rng);
        API_Element e{};
        API_ElementMemo memo{};
        TerrainSettingsToMesh(s, e.mesh);
        TerrainNameToMemo(s, memo);
        TerrainSettings back;
        MeshToTerrainSettings(e.mesh, &memo, back);
        delete memo.elemInfoString;
        EXPECT_TRUE(SameExceptFill(s, back)) << "case " << i;  // the fill has no place on the mesh
    }
}

TEST(TerrainRecord, ChangeMaskWritesExactlyTheChangedFields) {
    // What the host does with a mask: each marked byte comes from the new record.
    std::mt19937 rng(7);
    for (int i = 0; i < 300; ++i) {
        const TerrainSettings oldS = RandomSettings(rng), newS = RandomSettings(rng);
        uint8_t changed[TerrainFieldCount] = {};
        for (uint8_t& c : changed) c = uint8_t(rng() % 3 == 0);
        API_Element target{}, source{}, mask;
        TerrainSettingsToMesh(oldS, target.mesh);
        TerrainSettingsToMesh(newS, source.mesh);
        TerrainChangeMask(changed, mask);
        for (size_t b = 0; b < sizeof(API_Element); ++b)
            if (mask.bytes[b] != 0) target.bytes[b] = source.bytes[b];
        TerrainSettings got;
        MeshToTerrainSettings(target.mesh, nullptr, got);
        auto expected = [&](int16_t id) {
            const bool top = id == Id::topMaterial || id == Id::topMaterialOverride;
            const bool side = id == Id::sideMaterial || id == Id::sideMaterialOverride;
            const bool bottom = id == Id::bottomMaterial || id == Id::bottomMaterialOverride;
            const bool write = changed[id] || (top && (changed[Id::topMaterial] || changed[Id::topMaterialOverride])) ||
                (side && (changed[Id::sideMaterial] || changed[Id::sideMaterialOverride])) ||
                (bottom && (changed[Id::bottomMaterial] || changed[Id::bottomMaterialOverride]));
            return (write ? newS : oldS).GetShort(id);
        };
        for (int16_t id = 0; id < TerrainFieldCount; ++id)
            if (id != Id::fill && id != Id::name) {
                EXPECT_EQ(got.GetShort(id), expected(id)) << "case " << i << " id " << id;
            }
    }
}

}  // namespace terrain_record_test
