// The "Point", "Constraint" and "Outline" commands in the stand-in host: which operation runs for which selection,
// the outline command's refusals (a terrain in the project, two hatches) and the count the dialogs see.
#include "ProjectHost.hpp"

#include "DGDriver.hpp"
#include "elements/ElemDataRecord.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "settings/Settings.hpp"
#include "shell/ModulePorts.hpp"
#include "shell/Wiring.hpp"
#include "shell/commands/TerrainInputCommands.hpp"

#include <string>
#include <vector>

namespace terrain_input_commands_test {

class TerrainInputCommandsTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        LanguageIndex = LanguageEnglish;
        GlobalSettings.Reset();
        GlobalSettings.SetBuiltInDefaults(QV_String("Arial"));
        WireSubsystems();
        Window(APIWind_FloorPlanID);
    }
    void TearDown() override {
        UnwireSubsystems();
        EXPECT_TRUE(DGDriver::UnusedActions().empty()) << DGDriver::LogText();
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
    std::vector<std::string> AlertTexts() const {
        std::vector<std::string> out;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.kind == "alert" && !r.texts.empty()) out.push_back(r.texts[0]);
        return out;
    }
    // The mode header the last dialog of that id showed.
    static std::string Header(int16_t dialog) {
        std::string header;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.id == dialog)
                for (const DGDriver::ItemState& i : r.items)
                    if (i.id == 3) header = i.text;
        return header;
    }
    std::vector<int16_t> DialogsOpened() const {
        std::vector<int16_t> ids;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.kind == "modal") ids.push_back(r.id);
        return ids;
    }
    API_Guid Marked(const API_Guid& g, int32_t kind) {
        ElemDescriptor d;
        EXPECT_EQ(
            Command([&] { return ElemUserData_WriteRecord(d, kind, Db().Find(g)->record.header) ? NoError : -1; }),
            NoError);
        return g;
    }
};

TEST_F(TerrainInputCommandsTest, OutlineRefusesBesideATerrainAndWithTwoHatches) {
    const API_Guid a = PlaceFill("a"), b = PlaceFill("b");
    Select({a, b});
    RunOutline(GlobalSettings, Ports().terrainInputDialogs);
    ASSERT_EQ(AlertTexts().size(), 1u);
    EXPECT_EQ(AlertTexts()[0], "More than one outline has been selected.");

    Marked(PlaceMesh("terrain"), ElemKind_Terrain);
    RunOutline(GlobalSettings, Ports().terrainInputDialogs);  // whatever is selected
    ASSERT_EQ(AlertTexts().size(), 2u);
    EXPECT_EQ(AlertTexts()[1], "A terrain still exist!");
    EXPECT_TRUE(DialogsOpened().empty());
}

TEST_F(TerrainInputCommandsTest, SelectedPointsAndConstraintsAreEditedWithTheirCountShown) {
    API_Guid p1 = {}, p2 = {}, line = {};
    ASSERT_EQ(Db().PlaceHotspot({0, 0}, 1, "p1", &p1), NoError);
    ASSERT_EQ(Db().PlaceHotspot({5, 0}, 1, "p2", &p2), NoError);
    ASSERT_EQ(Db().PlaceLine({0, 0}, {5, 0}, 1, "line", &line), NoError);
    Marked(p1, ElemKind_Point);
    Marked(p2, ElemKind_Point);
    Marked(line, ElemKind_Constraint);

    Select({p1, p2, line});
    DGDriver::QueueClick(32555, 2);  // cancel: nothing changes
    RunPoint(GlobalSettings, Ports().terrainInputDialogs);
    EXPECT_EQ(GlobalSettings.editedCount, 2);
    EXPECT_EQ(Header(32555), "Editing 2 entities");

    Select({line});
    DGDriver::QueueClick(32545, 2);
    RunConstraint(GlobalSettings, Ports().terrainInputDialogs);
    EXPECT_EQ(GlobalSettings.editedCount, 1);
    EXPECT_EQ(DialogsOpened(), (std::vector<int16_t>{32555, 32545}));
    EXPECT_TRUE(AlertTexts().empty());

    // Nothing selected: the constraint input starts with its settings in creation mode; a cancel there ends it.
    ACAPI_Element_DeselectAll();
    DGDriver::QueueClick(32545, 2);
    RunConstraint(GlobalSettings, Ports().terrainInputDialogs);
    EXPECT_EQ(Header(32545), "Creation");
    EXPECT_EQ(GlobalSettings.editedCount, 0);
}

}  // namespace terrain_input_commands_test
