// The language stamped into the localisation part, and the lookup of a terrain's contour-line object.
#include "UpkeepFixture.hpp"
#include "elements/BaseLP.hpp"
#include "elements/ContourLineLookup.hpp"
#include "elements/Localizator.hpp"
#include "elements/LocalizatorLP.hpp"
#include "elements/ParamIndexes.hpp"
#include "foundation/ErrorCode.hpp"

namespace localizator_contour_test {

class LocalizatorContourTest : public UpkeepTest {
protected:
    // The default of "language" of the localisation part, as the module reads it.
    int16_t StampedLanguage() {
        GSHandle params = nullptr;
        EXPECT_TRUE(BaseLP::GetLibPartParams(Part("VY3_Localizator"), &params, nullptr, nullptr, nullptr));
        LocalizatorLP view;
        view.Attach(params, false);
        int16_t number = -1;
        EXPECT_TRUE(view.GetSetShort(LocalizatorParam::Language, number, LPMode_Get));
        view.Detach();
        ReleaseParamRecords(&params);
        return number;
    }
    API_Guid Terrain(const std::string& name, const char* id) {
        const API_Guid g = PlaceMesh(name);
        ElemDescriptor d;
        d.TerrainId = QV_String(id);
        CurrentRecord(g, ElemKind_Terrain, d);
        return g;
    }
    API_Guid Contour(const std::string& name, const char* text) {
        const API_Guid g = PlacePart("VY_CONTOURLINES", name);
        ElemDescriptor d;
        d.ContourText = QV_String(text);
        CurrentRecord(g, ElemKind_Contour, d);
        return g;
    }
};

TEST_F(LocalizatorContourTest, TheLanguageNowInUseIsStampedAndTheModelRebuilt) {
    LoadLibrary();
    LanguageIndex = 1;
    const int rebuilds = Db().RebuildCount();
    UpdateLocalizatorLanguage(1);  // unchanged
    EXPECT_EQ(StampedLanguage(), 2);
    EXPECT_EQ(Db().RebuildCount(), rebuilds);

    // English was in use, German is now: the part takes German, not the language before.
    LanguageIndex = 3;
    UpdateLocalizatorLanguage(1);
    EXPECT_EQ(StampedLanguage(), 4);
    EXPECT_EQ(Db().RebuildCount(), rebuilds + 1);
}

TEST_F(LocalizatorContourTest, WithoutTheLocalisationPartNothingHappens) {
    LoadLibrary({"VY3_Localizator"});
    LanguageIndex = 5;
    const int rebuilds = Db().RebuildCount();
    EXPECT_EQ(UpdateLocalizatorLanguage(1), 0);
    EXPECT_EQ(Db().RebuildCount(), rebuilds);
    EXPECT_EQ(DialogsShown(), 0u);
}

TEST_F(LocalizatorContourTest, AStampTheHostRefusesIsAnErrorAndNoRebuild) {
    LoadLibrary();
    LanguageIndex = 1;
    EXPECT_EQ(UpdateLocalizatorLanguage(1), 0);
    LanguageIndex = 3;
    const int rebuilds = Db().RebuildCount();
    // The search refused is no missing part; a section the host will not read or write is no stamp.
    const std::pair<const char*, int32_t> refusals[] = {{"LibPart_Search", ErrFindingData},
                                                        {"LibPart_GetSectionList", ErrSettings},
                                                        {"LibPart_GetSect_ParamDef", ErrSettings},
                                                        {"LibPart_UpdateSection", ErrSettings}};
    for (const auto& [function, code] : refusals) {
        ASSERT_TRUE(host->FailCall(function, -1, APIERR_GENERAL));
        EXPECT_EQ(UpdateLocalizatorLanguage(1), code) << function;
        host->ClearFailures();
        EXPECT_EQ(StampedLanguage(), 2) << function;
        EXPECT_EQ(Db().RebuildCount(), rebuilds) << function;
    }
    EXPECT_EQ(UpdateLocalizatorLanguage(1), 0);
    EXPECT_EQ(StampedLanguage(), 4);
}

TEST_F(LocalizatorContourTest, ContourLinesAreFoundByTheExactTerrainIdentifier) {
    LoadLibrary();
    const API_Guid terrain = Terrain("T", "T_001");
    const API_Guid bare = PlaceMesh("no record");
    Contour("other terrain", "T_002");
    Contour("letter case", "t_001");
    EXPECT_FALSE(HasContourLinesForTerrain(Element(terrain)));

    const API_Guid contour = Contour("its contour", "T_001");
    EXPECT_TRUE(HasContourLinesForTerrain(Element(terrain)));

    // From the 3D window: read in the floor plan, the 3D model's database current again on every way out.
    Window(APIWind_3DModelID);
    EXPECT_TRUE(HasContourLinesForTerrain(Element(terrain)));
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);
    EXPECT_FALSE(HasContourLinesForTerrain(Element(bare)));
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);

    Window(APIWind_FloorPlanID);
    ASSERT_EQ(Db().RunUndoableCommand("delete", [&] { return Db().DeleteElements(&contour, 1); }), NoError);
    EXPECT_FALSE(HasContourLinesForTerrain(Element(terrain)));
}

}  // namespace localizator_contour_test
