// The tool palette and its base in an in-process host: a window that cannot be built, host palette messages,
// the project offset kept with the project, and the font attribute cache.
#include "InProcessHost.hpp"
#include "DGDriver.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/QV_ToolsPlt.hpp"
#include "shell/AttributeCache.hpp"
#include "shell/Notifications.hpp"
#include "shell/ProjectOffset.hpp"
#include "shell/ShellState.hpp"
#include "shell/SubPaletteButtons.hpp"
#include "shell/SubPalettes.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <string>

namespace palette_test {

class PaletteTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        ASSERT_TRUE(host->Load());
    }
};

struct TestPalette : QV_ToolsPlt {
    int clicks = 0;
    int menuUpdates = 0;
    int32_t OnClick(int16_t, DGMessageData) override { return ++clicks == 1 ? 0x10007 : 0; }
    void UpdateMenu() override { ++menuUpdates; }
};

TEST_F(PaletteTest, AWindowThatCannotBeBuiltLeavesThePaletteClosedAndOpenable) {
    TestPalette palette;
    palette.resourceId = 31999;  // no such layout
    EXPECT_EQ(palette.Open(), 0);
    EXPECT_EQ(palette.closed, 1);
    EXPECT_FALSE(palette.IsOpen());
    palette.resourceId = 32400;
    palette.width = 64;
    palette.height = 395;
    palette.controlFlags = APIPalette_Close | APIPalette_Hide;
    palette.handleDisable = 0;
    EXPECT_EQ(palette.Open(), 32400);
    EXPECT_EQ(palette.closed, 0);
    EXPECT_EQ(QV_ToolsPlt::Current(), &palette);
    EXPECT_EQ(DGGetDialogClientHeight(32400), 395);

    // Clicks answer the low 16 bits; item 65535 never reaches the palette.
    EXPECT_EQ(QV_ToolsPlt::DialogCallback(DG_MSG_CLICK, 32400, 3, DGUserData(&palette), 0), 7);
    EXPECT_EQ(QV_ToolsPlt::DialogCallback(DG_MSG_CLICK, 32400, -1, DGUserData(&palette), 0), -1);
    EXPECT_EQ(palette.clicks, 1);

    // Host messages: another reference id and a switched-off kind change nothing; hide twice updates the menu once.
    QV_ToolsPlt::PaletteControlCallback(32401, APIPaletteMessage_Hide, 0);
    EXPECT_TRUE(palette.IsVisible());
    const int before = palette.menuUpdates;
    QV_ToolsPlt::PaletteControlCallback(32400, APIPaletteMessage_Hide, 0);
    QV_ToolsPlt::PaletteControlCallback(32400, APIPaletteMessage_Hide, 0);
    EXPECT_FALSE(palette.IsVisible());
    EXPECT_EQ(palette.menuUpdates, before + 1);
    QV_ToolsPlt::PaletteControlCallback(32400, APIPaletteMessage_Disable, 0);
    EXPECT_TRUE(DGIsItemEnabled(32400, 1));

    QV_ToolsPlt::PaletteControlCallback(32400, APIPaletteMessage_Close, 0);
    EXPECT_FALSE(DGIsDialogOpen(32400));
    EXPECT_EQ(palette.closed, 1);
    EXPECT_EQ(palette.resourceId, 0);
    EXPECT_EQ(palette.controlFlags, 0u);
    EXPECT_EQ(QV_ToolsPlt::Current(), nullptr);
}

TEST_F(PaletteTest, ProjectOffsetRoundTripsAndOddTextsStayReadable) {
    const double values[][3] = {{0, 0, 12.5}, {-6543210.125, 1234567.5, ShapeHeightUnset}, {0.001, -0.002, -3}};
    for (const auto& v : values) {
        ProjectOffsetX = v[0];
        ProjectOffsetY = v[1];
        ShapeHeight = v[2];
        StoreProjectOffset();
        ProjectOffsetX = ProjectOffsetY = 99;
        EXPECT_EQ(ReadProjectOffset(), 1);
        EXPECT_NEAR(ProjectOffsetX, v[0], 1e-9);
        EXPECT_NEAR(ProjectOffsetY, v[1], 1e-9);
        EXPECT_EQ(ShapeHeight, v[2]);
    }
    // Nothing set: the entry goes.
    ProjectOffsetX = ProjectOffsetY = 0;
    ShapeHeight = ShapeHeightUnset;
    StoreProjectOffset();
    EXPECT_EQ(ReadProjectOffset(), 0);

    struct Case {
        const char* text;
        double x, y, h;
    } cases[] = {
        {"OFFSET DATA   X: -12,5 Y: 7   SHAPE HEIGHT    H: *****", -12.5, 7, ShapeHeightUnset},
        {"OFFSET DATA   X: 1,234,567.891 Y: 1 234.5   SHAPE HEIGHT    H: 2'000.25", 1234567.891, 1234.5, 2000.25},
        {"OFFSET DATA   X: 5 Y: 6   SHAPE HEIGHT   ", 0, 0, ShapeHeightUnset},
        {"OFFSET DATA   X: abc Y: 1e999   SHAPE HEIGHT    H: 4", 0, 0, 4},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(ParseProjectOffsetText(QV_String(c.text)) ==
                    (std::string(c.text).find(" H: ") != std::string::npos))
            << c.text;
        EXPECT_NEAR(ProjectOffsetX, c.x, 1e-9) << c.text;
        EXPECT_NEAR(ProjectOffsetY, c.y, 1e-9) << c.text;
        EXPECT_EQ(ShapeHeight, c.h) << c.text;
    }
}

// A save whose offset the host would not store, or whose old entry it would not remove, tells the user; the offset
// stays in memory for the next save.
TEST_F(PaletteTest, AnOffsetTheHostWouldNotKeepIsToldAtTheSave) {
    const auto warnings = [] {
        size_t n = 0;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            n += r.kind == "alert" && !r.texts.empty() &&
                r.texts[0].find("offset could not be stored") != std::string::npos;
        return n;
    };
    for (const char* function : {"ModulData_Store", "ModulData_Delete"})
        for (const bool set : {true, false}) {
            ProjectOffsetX = set ? 12.5 : 0.0;
            ProjectOffsetY = set ? -3.0 : 0.0;
            ShapeHeight = ShapeHeightUnset;
            const size_t before = warnings();
            ASSERT_TRUE(host->FailCall(function, -1, APIERR_GENERAL));
            const bool stored = StoreProjectOffset();
            ProjectEventHandler(8, 0);
            host->ClearFailures();
            // Nothing set needs no store: only a refused removal counts then.
            const bool refused = set || std::string(function) == "ModulData_Delete";
            EXPECT_EQ(stored, !refused) << function << " " << set;
            EXPECT_EQ(warnings(), before + (refused ? 1 : 0)) << function << " " << set;
            EXPECT_EQ(ProjectOffsetX, set ? 12.5 : 0.0);
            ProjectEventHandler(8, 0);
            EXPECT_EQ(warnings(), before + (refused ? 1 : 0));
            EXPECT_EQ(ReadProjectOffset(), set ? 1 : 0);
            EXPECT_EQ(ProjectOffsetX, set ? 12.5 : 0.0);
        }
}

TEST_F(PaletteTest, ModuleDataLongerThanTheReadBufferIsCut) {
    std::string big = "OFFSET DATA   X: 1.000 Y: 2.000   SHAPE HEIGHT    H: 3.000";
    big.append(3 * ModuleDataTextMax, '7');  // no NUL anywhere
    API_ModulData info = {};
    info.dataVersion = 1;
    info.platformSign = 0x5757;
    info.dataHdl = BMAllocateHandle(GSSize(big.size()), 0, 0);
    ASSERT_NE(info.dataHdl, nullptr);
    std::memcpy(*info.dataHdl, big.data(), big.size());
    ASSERT_EQ(ACAPI_ModulData_Store(&info, ""), NoError);
    BMKillHandle(&info.dataHdl);
    QV_String text;
    ASSERT_TRUE(ReadModuleDataText(text));
    EXPECT_EQ(text.GetLength(), uint32_t(ModuleDataTextMax - 1));
    EXPECT_EQ(ReadProjectOffset(), 1);
    EXPECT_EQ(ProjectOffsetX, 1.0);
    EXPECT_EQ(ProjectOffsetY, 2.0);
}

TEST_F(PaletteTest, AttributeCacheIsSortedWithoutDuplicatesAndForgetsAStalePosition) {
    ASSERT_TRUE(RebuildAttributeCache());
    ASSERT_GT(AttributeCache.GetCount(), 0);
    for (int32_t i = 1; i < AttributeCache.GetCount(); ++i)
        EXPECT_TRUE(CompareAttributeNames(AttributeCache[i - 1], AttributeCache[i]));
    const auto cached = [](const char* name) {
        for (int32_t i = 0; i < AttributeCache.GetCount(); ++i)
            if (std::strcmp(AttributeCache[i].head.name, name) == 0) return true;
        return false;
    };
    // A deleted font leaves a hole in the indices: the fonts after it are still offered.
    const auto font = [&](const char* name) {
        API_Attribute a = {};
        a.header.typeID = API_FontID;
        std::strcpy(a.header.name, name);
        EXPECT_EQ(host->Database().CreateAttribute(&a), NoError);
        return a.header;
    };
    font("Courier Zed");
    const API_Attr_Head gone = font("Gone Sans");
    font("Verdana Zed");
    ASSERT_EQ(host->Database().DeleteAttribute(gone), NoError);
    ASSERT_TRUE(RebuildAttributeCache());
    EXPECT_TRUE(cached("Courier Zed"));
    EXPECT_TRUE(cached("Verdana Zed"));
    EXPECT_FALSE(cached("Gone Sans"));

    // No font readable: the default text's font cannot be told either.
    DefaultTextAttribute = 5;
    ASSERT_TRUE(host->FailCall("Attribute_Get", -1, APIERR_GENERAL));
    EXPECT_FALSE(RebuildAttributeCache());
    EXPECT_EQ(AttributeCache.GetCount(), 0);
    EXPECT_EQ(DefaultTextAttribute, -1);
    // No count from the host: an empty cache, and no position left pointing into it.
    DefaultTextAttribute = 5;
    ASSERT_TRUE(host->FailCall("Attribute_GetNum", -1, APIERR_GENERAL));
    EXPECT_TRUE(RebuildAttributeCache());
    EXPECT_EQ(AttributeCache.GetCount(), 0);
    EXPECT_EQ(DefaultTextAttribute, -1);
}

// Every command of the palette, its sub-palettes and the add-on menu is performed by an example (so the fault sweep
// fails each host call of it): tests/data/example_coverage.tsv names, for each, a button or menu item that runs it
// and the example that performs it. A command the input layouts share is one command, whichever layout runs it.
TEST(ExampleCoverage, EveryCommandIsPerformedByTheExampleTheListNames) {
    std::map<std::string, std::string> listed;  // "dialog <id> click <item>" or "menu <id> <item>" -> example
    std::ifstream list(std::string(LODRAVIX_SOURCE_DIR) + "/tests/data/example_coverage.tsv");
    ASSERT_TRUE(list.good());
    for (std::string line; std::getline(list, line);) {
        if (line.empty() || line[0] == '#') continue;
        const size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        EXPECT_TRUE(listed.emplace(line.substr(0, tab), line.substr(tab + 1)).second) << "listed twice: " << line;
    }
    // The commands, each with the buttons that run it.
    std::map<std::string, std::set<std::string>> commands;
    for (int16_t item = 1; item <= 6; ++item) {
        const std::string action = "dialog 32400 click " + std::to_string(item);
        commands[action].insert(action);
    }
    for (int16_t item = 1; item <= 3; ++item) {
        const std::string action = "menu 32501 " + std::to_string(item);
        commands[action].insert(action);
    }
    const uint8_t xyz = XYZButtonState;
    for (const uint8_t state : {uint8_t(0), uint8_t(1)}) {
        XYZButtonState = state;
        for (int32_t index = 0; index < SubPaletteCount; ++index)
            for (int16_t item = 1; const SubPaletteButton* button = FindSubPaletteButton(index, item); ++item) {
                char key[64];
                std::snprintf(key, sizeof key, "%s %p", button->image, reinterpret_cast<void*>(button->command));
                commands[key].insert("dialog " + std::to_string(SubPaletteLayoutOf(index).resourceId) + " click " +
                                     std::to_string(item));
            }
    }
    XYZButtonState = xyz;
    for (const auto& [command, buttons] : commands) {
        const auto found = std::find_if(listed.begin(), listed.end(),
                                        [&buttons](const auto& entry) { return buttons.count(entry.first) != 0; });
        if (found == listed.end()) {
            ADD_FAILURE() << "no example listed for " << *buttons.begin() << " (" << command << ")";
            continue;
        }
        std::ifstream script(std::string(LODRAVIX_SOURCE_DIR) + "/examples/" + found->second + ".script");
        ASSERT_TRUE(script.good()) << found->second;
        bool performed = false;
        for (std::string line; std::getline(script, line) && !performed;)
            performed = line == found->first || line.rfind(found->first + " ", 0) == 0;
        EXPECT_TRUE(performed) << found->second << " does not perform " << found->first;
    }
    for (const auto& [action, example] : listed)
        EXPECT_TRUE(std::any_of(commands.begin(), commands.end(),
                                [&action](const auto& c) { return c.second.count(action) != 0; }))
            << "listed, but the module has no " << action;
}

}  // namespace palette_test
