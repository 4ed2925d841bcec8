// The settings store through the preferences library part in an in-process host with the add-on's library: the
// palette open's load (built-in defaults, the mirror file, the fallbacks), Save and Reload with their error
// report, and the library part itself left as it was.
#include "ProjectHost.hpp"
#include "SettingsKinds.hpp"
#include "DGDriver.hpp"
#include "IODriver.hpp"

#include "elements/BaseLP.hpp"
#include "foundation/LibPart.hpp"
#include "settings/PrefsEntries.hpp"
#include "settings/PrefsFile.hpp"
#include "settings/PrefsLP.hpp"
#include "settings/Settings.hpp"

#include <filesystem>

namespace prefs_store_test {

class PrefsStoreTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
    }

    static std::string Text(const QV_String& text) { return text.ToStdString(); }
    std::string Mirror() const {
        std::ifstream in(UserFile("Lodravix_20.prf"), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    static int SettingsErrors() {
        int n = 0;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            for (const std::string& t : r.texts)
                n += r.kind == "alert" && t == "Error while managing settings." ? 1 : 0;
        return n;
    }
    // The library part's default parameters as mirror-file bytes (to see that nothing changes them).
    std::string PartSnapshot() {
        GSHandle params = nullptr;
        EXPECT_TRUE(BaseLP::GetLibPartParams(SearchLibPartByName(QV_String("VY_PREFS"), 4), &params, nullptr, nullptr,
                                             nullptr));
        PrefsEntryList entries;
        EXPECT_TRUE(ParamsToPrefsEntries(entries, params, true));
        ReleaseParamRecords(&params);
        const std::string path = UserFile("snapshot");
        EXPECT_TRUE(WritePrefsFile(entries, QV_String(path.c_str())));
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    // Lays `change` over the saved mirror file's entries.
    template <typename Change>
    void EditMirror(Change change) {
        PrefsEntryList entries;
        ASSERT_TRUE(ReadPrefsFile(entries, GetPrefsFilePath(), true));
        change(entries);
        ASSERT_TRUE(WritePrefsFile(entries, GetPrefsFilePath()));
    }
    static void SetReal(PrefsEntryList& entries, const char* name, double value) {
        for (QV_Preferences::QV_Pref_Elem& e : entries)
            if (Text(e.name) == name) e.realValue = value;
    }
};

TEST_F(PrefsStoreTest, WithoutAMirrorFileThePaletteOpenSetsTheBuiltInDefaultsAndTheMeshLayer) {
    const int32_t layer = Layer("Terrain", 0);
    API_Element mesh = {};
    mesh.header.typeID = API_MeshID;
    ASSERT_EQ(Db().GetDefaults(&mesh, nullptr), NoError);
    mesh.header.layer = layer;
    ASSERT_EQ(Db().ChangeDefaults(mesh, nullptr, nullptr), NoError);

    Settings s;
    EXPECT_FALSE(PrefsLP::LoadAtStart(&s));
    EXPECT_EQ(s.road.resolution, 6);
    EXPECT_EQ(Text(s.terrain.name), "TERRAIN");
    EXPECT_EQ(s.railway.gauge, 1.435);
    EXPECT_EQ(s.contour.altitude.constraintPen, 64);
    EXPECT_FALSE(Text(s.marker.font).empty());  // the host's default text font
    for (const int32_t field : {int32_t(s.points.layer), s.constraint.layer, int32_t(s.terrain.layer),
                                int32_t(s.section.layer), int32_t(s.slopeRange.layer), int32_t(s.railway.layer)})
        EXPECT_EQ(field, layer);
    EXPECT_EQ(s.contour.altitude.layer, layer);
    EXPECT_EQ(SettingsErrors(), 0);
    EXPECT_FALSE(Exists("Lodravix_20.prf"));  // loading never writes
}

TEST_F(PrefsStoreTest, SaveThenRestartBringsBackWhatTheToolsChangedAndThePartStaysAsItWas) {
    Settings s;
    PrefsLP::LoadAtStart(&s);
    const std::string part = PartSnapshot();
    s.SetShort(ElemKind_Road, RoadData::Id::resolution, 12);
    s.SetDouble(GeneralKind, MiscSettings::Id::roadWidth, 7.5);
    s.SetString(ElemKind_Terrain, TerrainSettings::Id::name, QV_String("GROUND"));
    s.SetShort(ElemKind_Terrain, TerrainSettings::Id::planTriangles, 2);
    s.SetShort(ElemKind_SlopeRange, SlopeRangeSettings::Id::limit4, 40);
    s.SetDouble(ElemKind_RetainingWall, RetainerWallSettings::Id::height, 2.25);
    s.SetString(ElemKind_LevelMarker, SpotHeightSettings::Id::font, QV_String("Serif"));
    s.SetShort(ElemKind_Sidewalk, SidewalkSettings::Id::levelMaterial, 99);  // reset after every load
    // Retaining structures shown: roads take 0 after every load.
    s.SetShort(GeneralKind, MiscSettings::Id::obstacleShow2D, 1);
    s.sidewalk.thickness = 0.3;
    s.railway.gauge = 1.5;  // not a preference
    ASSERT_TRUE(PrefsLP::Save(&s));
    EXPECT_EQ(SettingsErrors(), 0);
    ASSERT_TRUE(Exists("Lodravix_20.prf"));

    ASSERT_TRUE(host->Restart());
    Settings back;
    ASSERT_TRUE(PrefsLP::LoadAtStart(&back));
    EXPECT_EQ(back.GetInt(ElemKind_Road, RoadData::Id::resolution), 12);
    EXPECT_EQ(back.GetDouble(GeneralKind, MiscSettings::Id::roadWidth), 7.5);
    EXPECT_EQ(Text(back.GetString(ElemKind_Terrain, TerrainSettings::Id::name)), "GROUND");
    EXPECT_EQ(back.GetInt(ElemKind_Terrain, TerrainSettings::Id::planTriangles), 2);
    EXPECT_EQ(back.GetInt(ElemKind_SlopeRange, SlopeRangeSettings::Id::limit4), 40);
    EXPECT_EQ(back.GetDouble(ElemKind_RetainingWall, RetainerWallSettings::Id::height), 2.25);
    EXPECT_EQ(Text(back.GetString(ElemKind_PointMarker, SpotHeightSettings::Id::font)), "Serif");
    EXPECT_EQ(back.sidewalk.thickness, 0.3);
    EXPECT_EQ(back.GetInt(ElemKind_Sidewalk, SidewalkSettings::Id::levelMaterial), 4);
    EXPECT_EQ(back.GetInt(GeneralKind, MiscSettings::Id::obstacleShow2D), 1);
    EXPECT_EQ(back.GetInt(ElemKind_Road, RoadData::Id::obstacleShow2D), 0);
    EXPECT_EQ(back.railway.gauge, 1.435);
    EXPECT_EQ(PartSnapshot(), part);
}

TEST_F(PrefsStoreTest, FailedSavesAndReloadsReportErrorFortyNineAndKeepTheLastSavedFile) {
    Settings s;
    PrefsLP::LoadAtStart(&s);
    s.road.resolution = 12;
    ASSERT_TRUE(PrefsLP::Save(&s));
    const std::string saved = Mirror();
    s.road.resolution = 13;
    IODriver::FailNextWrites(IO::ErrIO);
    EXPECT_FALSE(PrefsLP::Save(&s));
    IODriver::FailNextWrites(IO::ErrIO);
    EXPECT_FALSE(PrefsLP::Reload(&s));  // a file Reload cannot write is reported too,
    EXPECT_EQ(s.road.resolution, 6);    // while the part's own values reach the store
    EXPECT_EQ(SettingsErrors(), 2);
    EXPECT_EQ(Mirror(), saved);

    ASSERT_TRUE(PrefsLP::Reload(&s));
    Settings back;
    ASSERT_TRUE(PrefsLP::LoadAtStart(&back));
    EXPECT_EQ(back.road.resolution, 6);
}

TEST_F(PrefsStoreTest, MirrorFilesThatDoNotFitThePartFallBackSilently) {
    Settings s;
    PrefsLP::LoadAtStart(&s);
    s.road.resolution = 12;
    s.terrain.name = QV_String("GROUND");
    ASSERT_TRUE(PrefsLP::Save(&s));

    // A value no 16-bit field can hold: the road record alone takes its built-in defaults.
    EditMirror([](PrefsEntryList& e) { SetReal(e, "road_resolution", 1e9); });
    Settings back;
    EXPECT_TRUE(PrefsLP::LoadAtStart(&back));
    EXPECT_EQ(back.road.resolution, 6);
    EXPECT_EQ(Text(back.road.name), "ROAD");
    EXPECT_EQ(Text(back.terrain.name), "GROUND");

    // A parameter the part does not have, and a garbled file: every record takes the built-in defaults.
    EditMirror([](PrefsEntryList& e) { e[e.GetCount() - 1].name = QV_String("no_such_parameter"); });
    EXPECT_FALSE(PrefsLP::LoadAtStart(&back));
    EXPECT_EQ(Text(back.terrain.name), "TERRAIN");
    std::ofstream(UserFile("Lodravix_20.prf"), std::ios::binary) << "QVPF garbled";
    back.terrain.name = QV_String("x");
    EXPECT_FALSE(PrefsLP::LoadAtStart(&back));
    EXPECT_EQ(Text(back.terrain.name), "TERRAIN");
    EXPECT_EQ(SettingsErrors(), 0);
}

TEST_F(PrefsStoreTest, WithoutThePartSaveAsksForTheLibraryThenReportsErrorFortyNine) {
    host->Project().libraries.Clear();
    Settings s;
    EXPECT_FALSE(PrefsLP::LoadAtStart(&s));
    DGDriver::QueueFolderCancel();
    EXPECT_FALSE(PrefsLP::Save(&s));
    DGDriver::QueueFolderCancel();
    EXPECT_FALSE(PrefsLP::Reload(&s));
    EXPECT_EQ(SettingsErrors(), 2);
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
    EXPECT_FALSE(Exists("Lodravix_20.prf"));
    EXPECT_FALSE(PrefsLP::Save(nullptr));
}

}  // namespace prefs_store_test
