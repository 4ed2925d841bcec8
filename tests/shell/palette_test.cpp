// The tool palette and its base in an in-process host: a window that cannot be built, host palette messages,
// the project offset kept with the project, and the font attribute cache.
#include "InProcessHost.hpp"
#include "DGDriver.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/QV_ToolsPlt.hpp"
#include "shell/AttributeCache.hpp"
#include "shell/ProjectOffset.hpp"

#include <cstring>
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

}  // namespace palette_test
