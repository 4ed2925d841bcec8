// Tree settings to a tree's parameters and back, as a new tree, an edited tree and a saved settings part take
// them.
#include "AddOnLibrary.hpp"
#include "ParamRecords.hpp"
#include "siteobjects/TreeParams.hpp"
#include "siteobjects/TreeSettingsParts.hpp"

#include <gtest/gtest.h>

namespace tree_params_test {

void AddTreeParams(ParamRecords& p, bool nameAsArray = false) {
    for (const char* name :
         {"enne_rami",   "enne_cicli",  "mat",           "mat_foglie", "doppio", "tipo_simbolo", "penna_chioma",
          "penna_bordo", "penna_ombra", "penna_ombra_2", "sole",       "D",      "penna_font",   "risoluzione",
          "stile",       "tipo_foglia", "ZZYZX",         "angolo",     "tronco", "verso_ombra",  "F"})
        p.Real(name, 0.0);
    if (nameAsArray)
        p.Texts("nome", 1, 1, {u"array"});
    else
        p.Text("nome", u"default name");
    p.Text("E", u"Arial");
    p.Text("ramo_custom", u"");
    p.Text("foglia_custom", u"");
}

TreeSettings Sample() {
    TreeSettings s;
    s.branches = s.branches2 = 5;
    s.levels = s.levels2 = 3;
    s.trunkMaterial = 12;
    s.leafMaterial = 31;
    s.doubled = 1;
    s.layer = 4;
    s.symbolType = 3;
    s.crownPen = s.crownPen2 = 10;
    s.borderPen = s.borderPen2 = 11;
    s.shadowPen = s.shadowPen2 = 12;
    s.secondShadowPen = s.secondShadowPen2 = 13;
    s.shadow = 1;
    s.showText = 1;
    s.textPen = s.textPen2 = 7;
    s.resolution = 16;
    s.trunkStyle = 4;
    s.leafStyle = -1;
    s.height = 9.5;
    s.angle = -17.5;
    s.trunkDiameter = 0.4;
    s.shadowDirection = 135.0;
    s.textSize = 2.25;
    s.text = QV_String("Quercus");
    s.font = QV_String("Courier");
    s.customTrunk = QV_String("Oak trunk");
    s.customLeaves = QV_String("Oak leaves");
    return s;
}

std::u16string TextOf(const TreeSettings& s, int16_t id) {
    const QV_String* text = s.Text(id);
    return text != nullptr && !text->IsEmpty() ? U16(*text) : std::u16string();
}

void ExpectSame(const TreeSettings& a, const TreeSettings& b, bool withLayerAndPairs) {
    for (int16_t id = 0; id < TreeSettings::FieldCount; ++id) {
        if (!withLayerAndPairs &&
            (id == TreeSettings::Id::layer || id == TreeSettings::Id::branches2 || id == TreeSettings::Id::levels2))
            continue;
        EXPECT_EQ(a.GetLong(id), b.GetLong(id)) << "field " << id;
        EXPECT_NEAR(a.GetReal(id), b.GetReal(id), 1e-9) << "field " << id;
        EXPECT_EQ(TextOf(a, id), TextOf(b, id)) << "field " << id;
    }
}

TEST(TreeParams, TheRecordsDefaultsAreTheTreeParts) {
    GSHandle handle = DefaultParams("SS_TREE");
    ASSERT_NE(handle, nullptr);
    BaseLP view;
    view.Attach(handle, true);
    TreeSettings read;
    API_Element element{};
    ReadTreeSettings(view, read, element);
    TreeSettings expected;
    expected.SetDefaults();
    ExpectSame(expected, read, false);
    DisposeParamHandle(&handle);
}

TEST(TreeParams, SettingsWrittenAndReadBackThroughTheParameters) {
    ParamRecords p;
    AddTreeParams(p);
    BaseLP view = p.View();
    const TreeSettings s = Sample();
    WriteTreeSettings(view, s);
    view.SetParamDouble(QV_String("enne_rami"), s.branches);
    view.SetParamDouble(QV_String("enne_cicli"), s.levels);
    // Angles travel in radians.
    EXPECT_NEAR(p.Find("angolo")->value.real, -17.5 * 3.141592653589793 / 180, 1e-15);
    EXPECT_NEAR(p.Find("verso_ombra")->value.real, 135.0 * 3.141592653589793 / 180, 1e-15);
    EXPECT_EQ(p.Find("tipo_foglia")->value.real, -1.0);
    API_Element element = {};
    element.header.layer = 4;
    TreeSettings back;
    back.branches2 = 5;
    back.levels2 = 3;
    ReadTreeSettings(view, back, element);
    ExpectSame(s, back, true);

    // An empty text keeps the part's own default.
    TreeSettings blank = s;
    blank.text = QV_String("");
    ParamRecords q;
    AddTreeParams(q);
    BaseLP qv = q.View();
    WriteTreeSettings(qv, blank);
    EXPECT_EQ(q.TextOf("nome"), u"default name");
}

TEST(TreeParams, OnlyFlaggedFieldsReachAnEditedTreeAndOnlyShapeFieldsRegrow) {
    ParamRecords p;
    AddTreeParams(p);
    BaseLP view = p.View();
    p.Find("mat")->value.real = 3;
    p.Find("penna_font")->value.real = 2;
    const TreeSettings s = Sample();
    API_Element element = {};
    element.header.layer = 1;
    TreeChangeFlags flags;
    flags.flag[TreeSettings::Id::leafMaterial] = 1;
    flags.flag[TreeSettings::Id::textPen2] = 1;  // a companion writes its partner's value
    EXPECT_FALSE(WriteFlaggedTreeSettings(view, s, flags, element));
    EXPECT_EQ(p.Find("mat_foglie")->value.real, 31.0);
    EXPECT_EQ(p.Find("penna_font")->value.real, 7.0);
    EXPECT_EQ(p.Find("mat")->value.real, 3.0);
    EXPECT_EQ(element.header.layer, 1);
    flags.Clear();
    flags.flag[TreeSettings::Id::layer] = 1;
    flags.flag[TreeSettings::Id::levels2] = 1;
    EXPECT_TRUE(WriteFlaggedTreeSettings(view, s, flags, element));
    EXPECT_EQ(element.header.layer, 4);
    EXPECT_EQ(p.Find("enne_cicli")->value.real, 3.0);
}

TEST(TreeParams, ASavedSettingsPartLoadsTheSameSettings) {
    QV_List<QV_LibPartSection> sections;
    QV_LibPartSection pard;
    pard.header.sectType = API_SectParamDef;
    ParamRecords p;
    AddTreeParams(p);
    p.Real("SS_TREE_sp2", 0.0);
    pard.content = p.handle;
    p.handle = nullptr;  // the section owns it now; the list holds a copy
    ASSERT_TRUE(sections.Insert(pard));
    const TreeSettings s = Sample();
    ASSERT_TRUE(WriteTreeSettingsParams(s, sections));
    BaseLP view(sections[0].content, int32_t(BMGetHandleSize(sections[0].content) / GSSize(sizeof(API_AddParType))));
    TreeSettings back;
    back.layer = 99;
    ReadTreeSettingsPartParams(view, back);
    ExpectSame(s, back, false);
    EXPECT_EQ(back.layer, 99);
    const int32_t sp = view.FindParam(QV_String("SS_TREE_sp2"));
    ASSERT_GE(sp, 0);
    EXPECT_EQ(view.Record(sp)->flags & 0x80, 0x80);

    // A text parameter that is an array loads empty and says why.
    ParamRecords bad;
    AddTreeParams(bad, true);
    BaseLP bv = bad.View();
    bv.FindParam(QV_String("nome"));
    bv.clearStatus = 0;
    ReadTreeSettingsPartParams(bv, back);
    EXPECT_EQ(back.text.GetLength(), 0u);
    EXPECT_EQ(bv.status, LPStatus_WrongKind);

    QV_List<QV_LibPartSection> none;
    EXPECT_FALSE(WriteTreeSettingsParams(s, none));
}

}  // namespace tree_params_test
