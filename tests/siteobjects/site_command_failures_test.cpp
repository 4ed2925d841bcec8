// Site objects when the host fails a call, on the in-process stand-in host over the terrain z = 100 + 0.05x +
// 0.02y: an edit whose ID text the host cannot tell keeps each object's own; a command whose step fails leaves
// the project as it was and answers its error.
#include "FakeContourLineRefresh.hpp"
#include "FakeSiteObjectDialogs.hpp"
#include "SlopedTerrainTest.hpp"

#include "foundation/ErrorCode.hpp"
#include "siteobjects/Building.hpp"
#include "siteobjects/Camera.hpp"
#include "siteobjects/Marker.hpp"
#include "siteobjects/Paint.hpp"
#include "elements/WholeCommand.hpp"
#include "siteobjects/Trees.hpp"
#include "siteobjects/Wall.hpp"

#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <vector>

namespace site_command_failures_test {

class SiteCommandFailuresTest : public SlopedTerrainTest {
public:
    std::string IdText(const API_Element& e) {
        API_Guid guid = e.header.guid;
        GS::UniString text;
        EXPECT_EQ(ACAPI_Database(APIDb_GetElementInfoStringID, &guid, &text), NoError);
        return text.ToUtf8();
    }
    // Two objects of `kind` placed by `place` with the ID texts "North" and "South", then edited by `edit` (the
    // dialog changes `param` to `value`) while the host cannot tell ID texts.
    void ExpectEditKeepsIds(const char* name, int32_t kind, const std::function<void(const char* id)>& place,
                            const std::function<int32_t(QV_List<API_Element>&)>& edit, const char* param,
                            double value) {
        SCOPED_TRACE(name);
        place("North");
        place("South");
        const std::vector<API_Element> placed = Objects(kind);
        ASSERT_EQ(placed.size(), 2u);
        ASSERT_EQ(IdText(placed[0]), "North");
        ASSERT_EQ(IdText(placed[1]), "South");
        QV_List<API_Element> both;
        for (const API_Element& e : placed) both.Insert(Get(e.header.guid));
        ASSERT_TRUE(host->FailCall("Database", int32_t(API_Selector("GEIS")), APIERR_GENERAL));
        EXPECT_EQ(edit(both), 0);
        host->ClearFailures();
        for (size_t i = 0; i < placed.size(); ++i) {
            const API_Element now = Get(placed[i].header.guid);
            EXPECT_EQ(Param(now, param), value) << i;
            EXPECT_EQ(IdText(now), i == 0 ? "North" : "South");
        }
        // Told the first object's text, the edit gives it to every object edited, as it always did.
        both.Clear();
        for (const API_Element& e : placed) both.Insert(Get(e.header.guid));
        EXPECT_EQ(edit(both), 0);
        for (const API_Element& e : placed) EXPECT_EQ(IdText(Get(e.header.guid)), "North");
    }
    // The whole project but the count of view rebuilds.
    nlohmann::ordered_json Project() {
        nlohmann::ordered_json project = Db().ToJson();
        project.erase("rebuilds");
        return project;
    }
    // Runs `command` once with each host function failing: every run answers `expected` and leaves the project
    // as it was; then once cleanly, which must change it.
    void ExpectTakenBack(const std::vector<std::string>& functions, int32_t expected,
                         const std::function<int32_t()>& command) {
        for (const std::string& f : functions) {
            ExpectRefusalTakenBack(f, -1, 0, expected, command, [this] { return Project(); });
            host->Input().ClearQueue();
        }
        const nlohmann::ordered_json before = Project();
        EXPECT_EQ(command(), 0);
        EXPECT_FALSE(Project() == before);
    }
    FakeSiteObjectDialogs dialogs;
    FakeContourLineRefresh contours;
};

TEST_F(SiteCommandFailuresTest, AnEditKeepsEachObjectsIdTextWhenTheHostCannotTellIt) {
    ExpectEditKeepsIds(
        "building", ElemKind_Building,
        [&](const char* id) {
            dialogs.building = [id](BuildingDialogState& s) {
                s.record.name = QV_String(id);
                s.record.height = 6.0;
                return DialogAnswer::Confirmed;
            };
            const double x = std::string(id) == "North" ? 30.0 : 100.0;
            BuildingCls cls;
            EXPECT_EQ(cls.Create(GlobalSettings, dialogs,
                                 Drawn(API_HatchID, {{x, 20, 0}, {x + 10, 20, 0}, {x + 10, 40, 0}}), terrain),
                      0);
        },
        [&](QV_List<API_Element>& objects) {
            dialogs.building = [](BuildingDialogState& s) {
                s.record.pen3D = 5;
                s.changed[BuildingSettings::Id::pen3D] = 1;
                return DialogAnswer::Confirmed;
            };
            BuildingCls cls;
            return cls.Modify(dialogs, objects);
        },
        "penna3D", 5.0);
    ExpectEditKeepsIds(
        "wall", ElemKind_Wall,
        [&](const char* id) {
            dialogs.wall = [id](WallDialogState& s) {
                s.record.name = QV_String(id);
                return DialogAnswer::Confirmed;
            };
            const double y = std::string(id) == "North" ? 80.0 : 40.0;
            WallCls cls;
            EXPECT_EQ(cls.Place(GlobalSettings, dialogs, Drawn(API_PolyLineID, {{20, y, 0}, {90, y + 5, 0}}), terrain),
                      0);
        },
        [&](QV_List<API_Element>& objects) {
            dialogs.wall = [](WallDialogState& s) {
                s.record.height = 2.75;
                s.changed[WallData::Id::height] = 1;
                return DialogAnswer::Confirmed;
            };
            WallCls cls;
            return cls.ModifySelected(dialogs, objects);
        },
        "ZZYZX", 2.75);
}

TEST_F(SiteCommandFailuresTest, AColouredAreaKeepsItsIdTextWhenTheHostCannotTellIt) {
    dialogs.colouredArea = [](PaintDialogState& s) {
        s.record.name = QV_String("Meadow");
        return DialogAnswer::Confirmed;
    };
    const auto paint = [&](double x) {
        QV_List<API_Element> outline;
        outline.Insert(Drawn(API_HatchID, {{x, 20, 0}, {x + 20, 20, 0}, {x + 20, 40, 0}}));
        PaintCls cls;
        return cls.Create(GlobalSettings, dialogs, contours, outline, terrain);
    };
    ASSERT_EQ(paint(30.0), 0);
    // A second area joins the terrain's object; then its show-ID switch is edited. Neither may take the text the
    // host could not tell for the object's.
    dialogs.colouredArea = [](PaintDialogState&) { return DialogAnswer::Confirmed; };
    ASSERT_TRUE(host->FailCall("Database", int32_t(API_Selector("GEIS")), APIERR_GENERAL));
    EXPECT_EQ(paint(100.0), 0);
    dialogs.colouredArea = [](PaintDialogState& s) {
        s.record.showName = 1;
        s.changed[PaintSettings::Id::showName] = 1;
        return DialogAnswer::Confirmed;
    };
    std::vector<API_Element> objects = Objects(ElemKind_ColouredArea);
    ASSERT_EQ(objects.size(), 1u);
    QV_List<API_Element> selected;
    selected.Insert(objects[0]);
    PaintCls cls;
    EXPECT_EQ(cls.ModifySelected(GlobalSettings, dialogs, selected), 0);
    host->ClearFailures();
    EXPECT_EQ(IdText(Get(objects[0].header.guid)), "Meadow");
    EXPECT_EQ(Param(Get(objects[0].header.guid), "show_ID"), 1.0);
}

TEST_F(SiteCommandFailuresTest, AFailedStepTakesTheWholeCommandBack) {
    // The camera path: a height the host could not probe is no height of 0.
    const API_Element path = Drawn(API_PolyLineID, {{30, 20, 0}, {60, 60, 0}, {60, 90, 0}});
    dialogs.cameraDistance = [](double& d, double) {
        d = 10.0;
        return DialogAnswer::Confirmed;
    };
    ExpectTakenBack({"Element_Create", "Element_Get3DInfo", "Get3DComponent", "SolidLink_Create", "SolidLink_Remove"},
                    ErrModifying, [&] {
                        CameraCls cls;
                        return cls.Create(GlobalSettings, dialogs, path, terrain);
                    });

    // A coloured area stands at the terrain's heights only from the story's level: without it, nothing is placed.
    dialogs.colouredArea = [](PaintDialogState&) { return DialogAnswer::Confirmed; };
    const API_Element hatch = Drawn(API_HatchID, {{30, 20, 0}, {50, 20, 0}, {50, 40, 0}});
    const auto paint = [&] {
        QV_List<API_Element> outline;
        outline.Insert(hatch);
        PaintCls cls;
        return cls.Create(GlobalSettings, dialogs, contours, outline, terrain);
    };
    ExpectRefusalTakenBack("Environment", int32_t(API_Selector("GSTO")), 0, ErrModifying, paint,
                           [this] { return Project(); });

    // A level marker: its record is part of it.
    dialogs.spotHeight = [](MarkerDialogState&) { return DialogAnswer::Confirmed; };
    ExpectTakenBack({"Element_SetUserData", "SolidLink_Create", "SolidLink_Remove"}, ErrModifying, [&] {
        host->Input().QueuePoint(70.0, 50.0);
        host->Input().QueueCancel();
        MarkerCls cls(GlobalSettings.marker.font);
        return cls.PlaceLevelMarker(GlobalSettings, dialogs, terrain);
    });

    // Trees: the command's trees go with a later one that could not stand on the terrain.
    dialogs.tree = [](TreeSettings& s, TreeChangeFlags&) {
        s.branches = s.branches2 = 2;
        s.levels = s.levels2 = 2;
        return DialogAnswer::Confirmed;
    };
    ExpectTakenBack({"Element_Get3DInfo", "SolidLink_Create"}, ErrModifying, [&] {
        host->Input().QueuePoint(150.0, 130.0);  // off the terrain: no height asked
        host->Input().QueuePoint(70.0, 50.0);
        host->Input().QueueCancel();
        int32_t failure = 0;
        const bool placed = RunWholeCommand([&] {
            failure = CreateTree(GlobalSettings, dialogs, &terrain);
            return failure == 0;
        });
        return placed ? 0 : failure;
    });
}

TEST_F(SiteCommandFailuresTest, CamerasOffTheTerrainStandAtZeroAsBefore) {
    // The path leaves the terrain (x beyond 200): those cameras stand at their eye height over 0.
    const API_Element path = Drawn(API_PolyLineID, {{150, 60, 0}, {250, 60, 0}});
    dialogs.cameraDistance = [](double& d, double) {
        d = 20.0;
        return DialogAnswer::Confirmed;
    };
    CameraCls cls;
    ASSERT_EQ(cls.Create(GlobalSettings, dialogs, path, terrain), 0);
    int onTerrain = 0, off = 0;
    for (const API_Guid& g : Db().AllElements()) {
        const API_Element c = Get(g);
        if (c.header.typeID != API_CameraID) continue;
        const bool beyond = c.camera.pos.x > 200.0;
        EXPECT_NEAR(c.camera.cameraZ, 1.7 + (beyond ? 0.0 : Plane(c.camera.pos.x, c.camera.pos.y)), 1e-6);
        ++(beyond ? off : onTerrain);
    }
    EXPECT_EQ(onTerrain, 3);  // at x 150, 170 and 190
    EXPECT_EQ(off, 2);        // at x 210 and 230

    // Without its resources the path has no name to take: nothing is made, rather than a set named with the
    // stand-in text.
    const size_t elements = Db().AllElements().size();
    ASSERT_TRUE(host->FailCall("GetOwnResModule", -1, APIERR_GENERAL));
    CameraCls again;
    EXPECT_NE(again.Create(GlobalSettings, dialogs, path, terrain), 0);
    host->ClearFailures();
    EXPECT_EQ(Db().AllElements().size(), elements);
}

}  // namespace site_command_failures_test
