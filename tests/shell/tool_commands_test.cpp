// The tool commands in the stand-in host: what every command shares (the start, the floor plan it needs, the
// one report at its end) and each command's choice of operation by the selection and the project's terrain.
#include "ProjectHost.hpp"
#include "SettingsKinds.hpp"
#include "foundation/ErrorCode.hpp"

#include "DGDriver.hpp"
#include "elements/BaseLP.hpp"
#include "elements/ElemDataRecord.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "settings/PrefsFile.hpp"
#include "settings/PrefsLP.hpp"
#include "settings/Settings.hpp"
#include "shell/CoordinateDisplay.hpp"
#include "shell/ModulePorts.hpp"
#include "shell/ShellState.hpp"
#include "shell/SubPalettes.hpp"
#include "shell/ToolsPalette.hpp"
#include "shell/Wiring.hpp"
#include "shell/commands/EarthworkCommands.hpp"
#include "shell/commands/ParameterCommands.hpp"
#include "shell/commands/StreetFurnitureCommands.hpp"
#include "shell/commands/ToolCommand.hpp"
#include "shell/TerrainInputDialogBoxes.hpp"

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace tool_commands_test {

class ToolCommandsTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        LanguageIndex = LanguageEnglish;
        GlobalSettings.Reset();
        GlobalSettings.SetBuiltInDefaults(QV_String("Arial"));
        XYZButtonState = 1;
        WireSubsystems();
    }
    void TearDown() override {
        UnwireSubsystems();
        EXPECT_TRUE(DGDriver::UnusedActions().empty()) << DGDriver::LogText();
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
    void LoadShippedLibrary() {
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
    }
    int32_t Part(const char* name) { return host->Project().libraries.FindByName(name, 0); }
    std::vector<DGDriver::LogRecord> Records(const std::string& kind) const {
        std::vector<DGDriver::LogRecord> out;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.kind == kind) out.push_back(r);
        return out;
    }
    std::vector<DGDriver::LogRecord> Alerts() const { return Records("alert"); }
    std::vector<int16_t> DialogsOpened() const {
        std::vector<int16_t> ids;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.kind == "modal") ids.push_back(r.id);
        return ids;
    }
    API_Guid PlaceTerrain(const std::string& name) {
        const API_Guid g = PlaceMesh(name);
        ElemDescriptor d;
        d.TerrainGuid = QV_String("t");
        EXPECT_EQ(Command([&] { return ElemUserData_WriteRecord(d, 4, Db().Find(g)->record.header) ? NoError : -1; }),
                  NoError);
        return g;
    }
    API_Guid PlacePolyline(const std::string& name) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlacePolygonElement(API_PolyLineID, {{0, 0, 0}, {5, 0, 0}, {5, 5, 0}}, false, 1, name, &g),
                  NoError);
        return g;
    }
    double ChangeLevel(const API_Guid& g) {
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(g, &memo, APIMemoMask_AddPars), NoError);
        BaseIDLP view(6);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        const double v = view.GetParamDouble(QV_String("change_level"));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        return v;
    }
};

TEST_F(ToolCommandsTest, TheReportShowsTheErrorTableTextAndNothingForZero) {
    ReportToolResult(0);
    EXPECT_TRUE(Alerts().empty());
    ReportToolResult(ErrFindingData);
    ReportToolResult(ErrDatabase);
    const auto alerts = Alerts();
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts[0].title, "Error");
    ASSERT_FALSE(alerts[0].texts.empty());
    EXPECT_EQ(alerts[0].texts[0], "Error while finding data.");
    EXPECT_EQ(alerts[1].texts[0], "Error while modifying database.");
}

TEST_F(ToolCommandsTest, TheFloorPlanIsBroughtToFrontOrTheCommandIsRefused) {
    Window(APIWind_3DModelID);
    EXPECT_TRUE(RequireFloorPlan());
    EXPECT_FALSE(IsCurrentWindow3D());
    EXPECT_TRUE(RequireFloorPlan());  // already in front: no switch needed, so a refusing host does not matter

    Window(APIWind_3DModelID);
    ASSERT_TRUE(host->FailCall("Automate", int32_t(API_Selector("CHWD")), APIERR_GENERAL));
    EXPECT_FALSE(RequireFloorPlan());
    EXPECT_TRUE(IsCurrentWindow3D());
    DGDriver::QueueAlertAnswer(1);
    RunDefaultSettings(GlobalSettings);  // needs the floor plan: refused with its message, no dialog
    ASSERT_EQ(Alerts().size(), 1u);
    EXPECT_EQ(Alerts()[0].texts[0], "Error while modifying database.");
    EXPECT_TRUE(DialogsOpened().empty());
}

// Every command that reads the selection or the project reports a failed query as "Error while finding data."
// once, whatever it would have done otherwise, and starts from zero counts.
TEST_F(ToolCommandsTest, AFailedQueryIsReportedOnceByEveryCommand) {
    // As the palette's buttons run them: with the ports the shell made at start.
    const std::vector<std::pair<const char*, void (*)(Settings&)>> commands = {
        {"road", [](Settings& s) { RunRoad(s, Ports().earthworkDialogs, Ports().contourLineRefresh); }},
        {"railway", [](Settings& s) { RunRailway(s, Ports().earthworkDialogs, Ports().contourLineRefresh); }},
        {"sidewalk", [](Settings& s) { RunSidewalk(s, Ports().earthworkDialogs, Ports().contourLineRefresh); }},
        {"plateau", [](Settings& s) { RunPlateau(s, Ports().earthworkDialogs, Ports().contourLineRefresh); }},
        {"bridge", [](Settings& s) { RunBridge(s, Ports().earthworkDialogs); }},
        {"basin", [](Settings& s) { RunBasin(s, Ports().earthworkDialogs); }},
        {"building", [](Settings& s) { RunBuilding(s, Ports().siteObjectDialogs); }},
        {"wall", [](Settings& s) { RunWall(s, Ports().siteObjectDialogs); }},
        {"retaining wall",
         [](Settings& s) { RunRetainingWall(s, Ports().earthworkDialogs, Ports().contourLineRefresh); }},
        {"gravity", RunGravity},
        {"calculation", RunCalculation}};
    ASSERT_TRUE(host->FailCall("Selection_Get", -1, APIERR_GENERAL));
    ASSERT_TRUE(host->FailCall("Element_GetElemList", -1, APIERR_GENERAL));
    for (const auto& [name, run] : commands) {
        DGDriver::Reset();
        GlobalSettings.firstCount = 5;
        GlobalSettings.editedCount = 5;
        SelectionCheckResult = 9;
        DGDriver::QueueAlertAnswer(1);
        run(GlobalSettings);
        const auto alerts = Alerts();
        ASSERT_EQ(alerts.size(), 1u) << name;
        EXPECT_EQ(alerts[0].texts[0], "Error while finding data.") << name;
        EXPECT_EQ(GlobalSettings.firstCount, 0) << name;
        EXPECT_EQ(GlobalSettings.editedCount, 0) << name;
        EXPECT_EQ(SelectionCheckResult, 0) << name;
    }
}

TEST_F(ToolCommandsTest, TheRoadEditsItsDefaultsWithoutTerrainOrWithAnUnclearSelection) {
    // No terrain in the project: the defaults dialog, no message.
    const API_Guid fill = PlaceFill("fill");
    const API_Guid line = PlacePolyline("line");
    Select({fill, line});
    DGDriver::QueueSetLong(32554, 11, 12);
    DGDriver::QueueSetLong(32554, 48, 1);  // the drawn line is the road's left edge
    DGDriver::QueueClick(32554, 44);
    DGDriver::QueueSetDouble(32504, 22, 3.5);
    DGDriver::QueueClick(32504, 1);
    RunRoad(GlobalSettings, Ports().earthworkDialogs, Ports().contourLineRefresh);
    EXPECT_TRUE(Alerts().empty());
    EXPECT_EQ(DialogsOpened(), (std::vector<int16_t>{32554, 32504}));
    EXPECT_EQ(GlobalSettings.road.resolution, 12);
    EXPECT_EQ(GlobalSettings.road.cutExtension, 3.5);
    // Chosen in the first layout, confirmed in the second.
    EXPECT_EQ(GlobalSettings.GetInt(GeneralKind, MiscSettings::Id::roadReferenceLine), 3);

    // With a terrain, one fill and one polyline selected together: the same dialog only; Cancel keeps all.
    PlaceTerrain("terrain");
    DGDriver::Reset();
    const RoadData before = GlobalSettings.road;
    DGDriver::QueueSetLong(32554, 11, 40);
    DGDriver::QueueSetLong(32554, 46, 1);
    DGDriver::QueueClick(32554, 2);
    RunRoad(GlobalSettings, Ports().earthworkDialogs, Ports().contourLineRefresh);
    EXPECT_EQ(DialogsOpened(), (std::vector<int16_t>{32554}));
    EXPECT_EQ(GlobalSettings.road.resolution, before.resolution);
    EXPECT_EQ(GlobalSettings.GetInt(GeneralKind, MiscSettings::Id::roadReferenceLine), 3);
    EXPECT_TRUE(Alerts().empty());
}

TEST_F(ToolCommandsTest, EditXYZTwiceRestoresEveryObjectAndTheButtonAndFlipsOnlyWhenAllChanged) {
    LoadShippedLibrary();
    std::vector<API_Guid> objects;
    const std::vector<std::pair<const char*, int32_t>> parts = {
        {"VY_BUILDING", 9}, {"VY_SIDEWALK", 11}, {"VY_PLATEAU", 7}, {"VY_ROAD", 6}, {"VY_RAILWAY", 21}};
    for (const auto& [part, kind] : parts) {
        ASSERT_GT(Part(part), 0) << part;
        objects.push_back(PlaceObject(API_ObjectID, Part(part), part));
        ElemDescriptor d;  // placed as the tools place them: with their record, here without partners
        const API_Elem_Head head = Db().Find(objects.back())->record.header;
        ASSERT_EQ(Command([&, kind = kind] { return ElemUserData_WriteRecord(d, kind, head) ? NoError : -1; }),
                  NoError);
    }
    std::vector<double> first;
    for (const API_Guid& g : objects) first.push_back(ChangeLevel(g));

    RunEditXYZ(GlobalSettings);
    for (const auto& a : Alerts()) ADD_FAILURE() << a.texts[0];
    EXPECT_EQ(XYZButtonState, 0);
    for (size_t i = 0; i < objects.size(); ++i) EXPECT_EQ(ChangeLevel(objects[i]), 1.0 - first[i]) << i;
    RunEditXYZ(GlobalSettings);
    EXPECT_EQ(XYZButtonState, 1);
    for (size_t i = 0; i < objects.size(); ++i) EXPECT_EQ(ChangeLevel(objects[i]), first[i]) << i;
    EXPECT_TRUE(Alerts().empty());
    EXPECT_EQ(SelectionCheckResult, 0);

    // An object that cannot be written: the button keeps its state, and the command says so.
    ASSERT_TRUE(host->FailCall("Element_ChangeParameters", -1, APIERR_GENERAL));
    DGDriver::QueueAlertAnswer(1);
    RunEditXYZ(GlobalSettings);
    EXPECT_EQ(XYZButtonState, 1);
    ASSERT_EQ(Alerts().size(), 1u);
    EXPECT_EQ(Alerts()[0].texts[0], "Error while modifying/creating the object.");
}

TEST_F(ToolCommandsTest, TheToolsThatNeedATerrainSaySoAndPolygonPreparesThePolylineTool) {
    DGDriver::QueueAlertAnswer(1);
    RunCalculation(GlobalSettings);
    PlaceTerrain("terrain");
    DGDriver::QueueAlertAnswer(1);
    RunCamera(GlobalSettings, Ports().siteObjectDialogs);  // a terrain, but no polyline
    const auto alerts = Alerts();
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts[0].title, "Error");
    EXPECT_EQ(alerts[0].texts[0], "Command is applied when you have a terrain!");
    EXPECT_EQ(alerts[1].texts[0], "Command is applied when you have a terrain and a selected polyline!");

    RunPolygon(GlobalSettings);
    API_ToolBoxItem tool = {};
    ASSERT_EQ(ACAPI_Environment(APIEnv_GetToolBoxModeID, &tool), NoError);
    EXPECT_EQ(tool.typeID, API_PolyLineID);
    API_Element polyline = {};
    polyline.header.typeID = API_PolyLineID;
    ASSERT_EQ(ACAPI_Element_GetDefaults(&polyline, nullptr), NoError);
    int32_t field = 0;
    std::memcpy(&field, reinterpret_cast<const char*>(&polyline) + sizeof(API_Elem_Head), sizeof field);
    EXPECT_EQ(field, 1);
}

// The Polygon button with each of its host calls refused: the user is told, and the toolbox and the polyline's
// default stay as they were (a default changed for a tool not picked is put back).
TEST_F(ToolCommandsTest, APolygonButtonTheHostRefusesSaysSoAndLeavesTheToolsAsTheyWere) {
    const auto polylineField = [] {
        API_Element polyline = {};
        polyline.header.typeID = API_PolyLineID;
        EXPECT_EQ(ACAPI_Element_GetDefaults(&polyline, nullptr), NoError);
        int32_t field = 0;
        std::memcpy(&field, reinterpret_cast<const char*>(&polyline) + sizeof(API_Elem_Head), sizeof field);
        return field;
    };
    const auto toolType = [] {
        API_ToolBoxItem tool = {};
        EXPECT_EQ(ACAPI_Environment(APIEnv_GetToolBoxModeID, &tool), NoError);
        return tool.typeID;
    };
    const int32_t field = polylineField();
    const API_ElemTypeID tool = toolType();
    ASSERT_NE(field, 1);
    ASSERT_NE(tool, API_PolyLineID);
    const std::pair<const char*, const char*> cases[] = {
        {"Element_GetDefaults", "Default information for the object cannot be obtained."},
        {"Element_ChangeDefaults", "Error while managing settings."},
        {"Environment", "Default information for the object cannot be obtained."},
    };
    for (const auto& [function, text] : cases) {
        const size_t before = Alerts().size();
        ASSERT_TRUE(host->FailCall(function, -1, APIERR_GENERAL));
        RunPolygon(GlobalSettings);
        host->ClearFailures();
        const auto alerts = Alerts();
        ASSERT_EQ(alerts.size(), before + 1) << function;
        EXPECT_EQ(alerts.back().texts[0], text) << function;
        EXPECT_EQ(polylineField(), field) << function;
        EXPECT_EQ(toolType(), tool) << function;
    }
    // The tool picked, its default refused: the tool the user had comes back.
    ASSERT_TRUE(host->FailCallAfter("Element_ChangeDefaults", -1, APIERR_GENERAL, 0, 1));
    RunPolygon(GlobalSettings);
    host->ClearFailures();
    EXPECT_EQ(Alerts().back().texts[0], "Error while managing settings.");
    EXPECT_EQ(toolType(), tool);
    ASSERT_TRUE(host->FailCallAfter("Environment", -1, APIERR_GENERAL, 1, 1));
    RunPolygon(GlobalSettings);
    host->ClearFailures();
    EXPECT_EQ(Alerts().back().texts[0], "Error while managing settings.");
    EXPECT_EQ(polylineField(), field);
    EXPECT_EQ(toolType(), tool);
}

TEST_F(ToolCommandsTest, DefaultSettingsCaptureAndRestoreTheStoredPreferences) {
    LoadShippedLibrary();
    // OK ends the dialog at once and stores nothing.
    GlobalSettings.road.resolution = 17;
    DGDriver::QueueClick(32557, 1);
    RunDefaultSettings(GlobalSettings);
    EXPECT_EQ(DialogsOpened(), (std::vector<int16_t>{32557}));
    EXPECT_FALSE(std::filesystem::exists(GetPrefsFilePath().ToStdString(Encoding_UTF8)));

    // Capture in the second layout: the current settings are the stored preferences.
    DGDriver::QueueClick(32557, 15);
    DGDriver::QueueClick(32521, 15);
    RunDefaultSettings(GlobalSettings);
    Settings loaded;
    ASSERT_TRUE(PrefsLP::LoadAtStart(&loaded));
    EXPECT_EQ(loaded.road.resolution, 17);

    // Restore: the preferences part's own values, in the settings and in the mirror file, replace the captured.
    GlobalSettings.road.resolution = 33;
    DGDriver::QueueClick(32557, 14);
    RunDefaultSettings(GlobalSettings);
    EXPECT_EQ(GlobalSettings.road.resolution, 6);
    ASSERT_TRUE(PrefsLP::LoadAtStart(&loaded));
    EXPECT_EQ(loaded.road.resolution, 6);
    EXPECT_EQ(DialogsOpened(), (std::vector<int16_t>{32557, 32557, 32521, 32557}));
    EXPECT_TRUE(Alerts().empty());
}

// "Show Coordinates" asks for one point and shows where the cursor is: inside the add-on terrain its z is the
// terrain's height there, outside it is the cursor's own. The reset that ends it puts 0.0 back into the display.
TEST_F(ToolCommandsTest, ShowCoordinatesTakesTheTerrainsHeightInsideItsOutline) {
    PlaceTerrain("terrain");  // corners at heights 1 to 4 over 50 by 40
    CToolsPlt& palette = ToolsPalette();
    palette.Create();
    ASSERT_NE(palette.dialogId, 0);
    const auto shown = [&](int16_t item) {
        DGDriver::LogRecord r;
        EXPECT_TRUE(DGDriver::GetDialogState(palette.dialogId, &r));
        for (const DGDriver::ItemState& s : r.items)
            if (s.id == item) return s.text.empty() ? -999.0 : std::strtod(s.text.c_str(), nullptr);
        return -999.0;
    };
    const API_Coord3D cursors[] = {{10, 10, 0}, {45.5, 3.25, 0}, {2, 37, 0}, {25, 20, 0}, {70, 10, 0.5}};
    PrepareCoordinateDisplay(palette);
    ASSERT_NE(palette.terrainKnown, 0);
    for (const API_Coord3D& c : cursors) {
        // The terrain is sampled as during a point input: inside an undoable command.
        ACAPI_CallUndoableCommand(GS::UniString("feedback"), [&]() -> GSErrCode {
            CoordinateFeedback(&c);
            return NoError;
        });
        EXPECT_EQ(shown(10), c.x);
        EXPECT_EQ(shown(12), c.y);
        const double z = shown(14);
        if (c.x > 50) {
            EXPECT_EQ(z, c.z);
        } else {
            EXPECT_GE(z, 1.0) << c.x << " " << c.y;
            EXPECT_LE(z, 4.0) << c.x << " " << c.y;
        }
    }
    for (const API_Coord3D& c : cursors) {
        host->Input().QueuePoint(c.x, c.y, c.z);
        DGDriver::QueueSetLong(palette.dialogId, ToolsPalette().ItemShowCoordinates, 1);
        DGDriver::DeliverModelessActions();
        ASSERT_FALSE(host->Input().Inputs().empty());
        EXPECT_GE(host->Input().Inputs().back().feedbackCalls, 1);
        for (int16_t item : {10, 12, 14}) EXPECT_EQ(shown(item), 0.0) << item;
        EXPECT_EQ(shown(8), 0.0);
    }
    EXPECT_EQ(host->Input().PendingClicks(), 0u);
    GS::Array<API_Guid> slabs;
    ASSERT_EQ(ACAPI_Element_GetElemList(API_SlabID, &slabs), NoError);
    EXPECT_EQ(slabs.GetSize(), 0u);  // the sampling leaves nothing behind
    palette.Close();
}

// While a sub-palette's command runs neither palette can start another one and the running button shows pressed,
// the other buttons disabled; afterwards everything is enabled again and the tool input is reset.
TEST_F(ToolCommandsTest, ASubPaletteCommandRunsWithBothPalettesDisabledAndItsButtonPressed) {
    CToolsPlt& palette = ToolsPalette();
    palette.Create();
    ASSERT_NE(palette.dialogId, 0);
    const int16_t input = 32401;
    const auto item = [](int16_t dialog, int16_t id) {
        DGDriver::LogRecord r;
        EXPECT_TRUE(DGDriver::GetDialogState(dialog, &r));
        for (const DGDriver::ItemState& s : r.items)
            if (s.id == id) return s;
        return DGDriver::ItemState();
    };
    const auto image = [&](int16_t dialog, int16_t id) {
        std::string all;
        for (const std::string& op : item(dialog, id).drawing) all += op + ";";
        return all;
    };
    DGDriver::QueueClick(palette.dialogId, CToolsPlt::ItemInput);
    DGDriver::DeliverModelessActions();
    ASSERT_TRUE(DGIsModelessDialogVisible(input));
    DGSetItemValLong(palette.dialogId, CToolsPlt::ItemShowCoordinates, 1);

    // The point input's palette is watched: when it would open, the command is running.
    struct WatchedPointInput final : TerrainInputDialogs {
        TerrainInputDialogBoxes shown;
        std::function<void()> onOpen;
        DialogAnswer OpenPointSettings(PointSettings& r, uint8_t (&c)[6], SettingsMode m) override {
            return shown.OpenPointSettings(r, c, m);
        }
        DialogAnswer OpenConstraintSettings(ConstraintSettings& r, ConstraintSettings::Changed& c,
                                            SettingsMode m) override {
            return shown.OpenConstraintSettings(r, c, m);
        }
        DialogAnswer OpenOutlineSettings(OutlineSettings& r, OutlineSettings::Changed& c, OutlineSearchValues& s,
                                         SettingsMode m) override {
            return shown.OpenOutlineSettings(r, c, s, m);
        }
        bool KeepExistingOutline() override { return shown.KeepExistingOutline(); }
        bool OpenPointPalette(const PointSettings&) override {
            onOpen();
            return true;
        }
        void StorePointPalette(PointSettings&) override {}  // never opened: nothing typed
        void InitPointPalette(const PointSettings& s) override { shown.InitPointPalette(s); }
        void ClosePointPalette() override { shown.ClosePointPalette(); }
        void PrepareCoordinateFields() override { shown.PrepareCoordinateFields(); }
        API_RubberLineInputProc* CoordinateFeedback() override { return shown.CoordinateFeedback(); }
        void ResetToolInput() override { shown.ResetToolInput(); }
    } watched;
    UnwireSubsystems();
    PortReplacements replaced;
    replaced.terrainInputDialogs = &watched;
    WireSubsystems(replaced);
    bool ran = false;
    watched.onOpen = [&] {
        ran = true;
        for (int16_t i = CToolsPlt::ItemAbout; i <= CToolsPlt::ItemDataUpdate; ++i)
            EXPECT_FALSE(item(palette.dialogId, i).enabled) << i;
        EXPECT_STREQ(palette.ButtonImage(CToolsPlt::ItemEarthmoving), "Pal_Earth_Dis.jpg");
        for (int16_t i = 1; i <= 12; ++i) EXPECT_FALSE(item(input, i).enabled) << i;
        EXPECT_EQ(SubPalettes[SubInput].enabled, 0);
        EXPECT_EQ(SubPalettes[SubInput].activeItem, 5);
        // A click on the palette meanwhile opens nothing.
        palette.ToggleSubPaletteOfButton(CToolsPlt::ItemEarthmoving);
        EXPECT_FALSE(DGIsDialogOpen(32402));
    };
    DGDriver::QueueClick(input, 5);  // "Point": its input ends at once, no click is queued
    DGDriver::DeliverModelessActions();
    ASSERT_TRUE(ran);
    for (int16_t i = CToolsPlt::ItemAbout; i <= CToolsPlt::ItemDataUpdate; ++i)
        EXPECT_TRUE(item(palette.dialogId, i).enabled) << i;
    for (int16_t i = 1; i <= 12; ++i) EXPECT_TRUE(item(input, i).enabled) << i;
    EXPECT_EQ(SubPalettes[SubInput].enabled, 1);
    EXPECT_EQ(SubPalettes[SubInput].activeItem, 0);
    EXPECT_STREQ(palette.ButtonImage(CToolsPlt::ItemEarthmoving), "Pal_Earth.jpg");
    EXPECT_EQ(item(palette.dialogId, CToolsPlt::ItemShowCoordinates).value, 0.0);

    // How the buttons look while it runs: the running one pressed, the others disabled.
    SubPalettes[SubInput].enabled = 0;
    SubPalettes[SubInput].activeItem = 5;
    DGRedrawItem(input, DG_ALL_ITEMS);
    EXPECT_NE(image(input, 5).find("\"Pal_Point_Press.jpg\""), std::string::npos) << image(input, 5);
    EXPECT_NE(image(input, 6).find("\"Pal_Constr_Dis.jpg\""), std::string::npos) << image(input, 6);
    SubPalettes[SubInput].enabled = 1;
    SubPalettes[SubInput].activeItem = 0;
    DGRedrawItem(input, DG_ALL_ITEMS);
    EXPECT_NE(image(input, 5).find("\"Pal_Point.jpg\""), std::string::npos) << image(input, 5);
    palette.Close();
}

// The bridge's path test holds for a polyline of one segment only, as the host reads it.
TEST_F(ToolCommandsTest, OnlyAOneSegmentPolylinePassesTheBridgePathTest) {
    API_Guid one = {};
    ASSERT_EQ(Db().PlacePolygonElement(API_PolyLineID, {{0, 0, 0}, {5, 0, 0}}, false, 1, "one", &one), NoError);
    const API_Guid two = PlacePolyline("two");
    API_Element e = {};
    e.header.guid = one;
    ASSERT_EQ(ACAPI_Element_Get(&e), NoError);
    EXPECT_TRUE(IsBridgePath(e));
    e = {};
    e.header.guid = two;
    ASSERT_EQ(ACAPI_Element_Get(&e), NoError);
    EXPECT_FALSE(IsBridgePath(e));
}

}  // namespace tool_commands_test
