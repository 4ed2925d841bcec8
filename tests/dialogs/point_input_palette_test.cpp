// The point-input palette through the host: it opens once, registers, shows and takes back the point section of
// the settings however it closes, refuses a layer the user will not unlock, and "Done" cancels the input.
#include "ProjectHost.hpp"
#include "DGDriver.hpp"
#include "dialogs/tools/PointInputPalette.hpp"
#include "foundation/PointInput.hpp"
#include "settings/Settings.hpp"

#include <algorithm>
#include <vector>

namespace point_input_palette_test {

constexpr int16_t kPalette = PointInputPaletteId;

class PointInputPaletteTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        ResetPointInputPaletteState();
        points.SetDefaults();
        points.codeNumber = 42;
        InitPointInputPalette(state, points);
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        ClosePointInputPalette(state);
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
    std::string Text(int16_t item) {
        DGDriver::LogRecord r;
        if (!DGDriver::GetDialogState(kPalette, &r)) return "?";
        for (const DGDriver::ItemState& s : r.items)
            if (s.id == item) return s.text;
        return "?";
    }
    PointInputPaletteState& state = PointInputPaletteGlobalState;
    PointSettings points;  // the tool's, which it hands the palette and takes back
};

TEST_F(PointInputPaletteTest, OpensOnceShowsTheSettingsAndHandsThemBackHoweverItCloses) {
    const PointSettings settings = GlobalSettings.points;
    for (int how = 0; how < 3; ++how) {
        InitPointInputPalette(state, points);
        OpenPointInputPalette(state, 1);
        OpenPointInputPalette(state, 1);
        ASSERT_EQ(state.dialogId, kPalette);
        const std::vector<int16_t> open = DGDriver::OpenDialogs();
        EXPECT_EQ(std::count(open.begin(), open.end(), kPalette), 1);
        EXPECT_EQ(Text(3), how == 0 ? "00042" : "00077");
        DGDriver::QueueSetText(kPalette, 3, "7a7");
        DGDriver::QueueSetDouble(kPalette, 6, 12.5 + how);
        DGDriver::QueueSetText(kPalette, 14, "north corner");
        EXPECT_EQ(DGDriver::DeliverModelessActions(), 3);
        EXPECT_EQ(Text(3), "707");
        DGDriver::QueueSetText(kPalette, 3, "77");
        DGDriver::DeliverModelessActions();
        if (how == 0) ClosePointInputPalette(state);  // the tool ends its input
        if (how == 1) {
            // what the host sends to the window registered under the palette's id
            EXPECT_EQ(PointInputPalette::HostPaletteCallback(kPalette, APIPaletteMessage_Close, 0), NoError);
        }
        if (how == 2) {
            DGDriver::QueueCloseBox(kPalette);
            DGDriver::DeliverModelessActions();
        }
        EXPECT_FALSE(DGIsDialogOpen(kPalette));
        EXPECT_EQ(state.dialogId, 0);
        // Read back after it closed: the values its close read; the settings are the tool's to write.
        StorePointInputPaletteValues(state, points);
        EXPECT_EQ(points.codeNumber, 77);
        EXPECT_EQ(points.value, 12.5 + how);
        EXPECT_EQ(points.text.ToStdString(), "north corner");
        EXPECT_EQ(points.layer, 1);
        EXPECT_EQ(GlobalSettings.points.codeNumber, settings.codeNumber);
        EXPECT_EQ(GlobalSettings.points.text.ToStdString(), settings.text.ToStdString());
    }
}

TEST_F(PointInputPaletteTest, ARefusedLayerSnapsBackAndDoneCancelsTheInput) {
    const int32_t locked = Layer("Locked", APILay_Locked);
    OpenPointInputPalette(state, 1);
    DGDriver::QueueSetLong(kPalette, 8, locked);
    DGDriver::QueueAlertAnswer(2);  // Cancel: keep it locked
    DGDriver::QueueClick(kPalette, 12);
    DGDriver::DeliverModelessActions();
    EXPECT_EQ(LayerFlagsOf(locked), uint32_t(APILay_Locked));
    EXPECT_NE(log.str().find("'INCA'"), std::string::npos);
    StorePointInputPaletteValues(state, points);
    EXPECT_EQ(points.layer, 1);
}

// Between two clicks of an input the user changes the palette: the change reaches the palette before the
// second click, not after the input nor before the first.
TEST_F(PointInputPaletteTest, PaletteEditsBetweenTwoClicksArriveBetweenThem) {
    OpenPointInputPalette(state, 1);
    host->Input().QueuePoint(1, 1);
    DGDriver::QueueSetDouble(kPalette, 6, 5.5);
    host->Input().QueuePoint(2, 2);
    API_Coord3D point = {};
    API_Neig neig = {};
    const auto height = [&] {
        DGDriver::LogRecord r;
        EXPECT_TRUE(DGDriver::GetDialogState(kPalette, &r));
        for (const DGDriver::ItemState& s : r.items)
            if (s.id == 6) return s.value;
        return -1.0;
    };
    const double before = height();
    ASSERT_EQ(GetPointFromUser(point, neig, QV_String("first"), nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                               true),
              NoError);
    EXPECT_EQ(point.x, 1.0);
    EXPECT_EQ(height(), before);
    EXPECT_EQ(DGDriver::PendingActionCount(), 1u);
    ASSERT_EQ(GetPointFromUser(point, neig, QV_String("second"), nullptr, nullptr, nullptr, nullptr, 0, nullptr,
                               nullptr, true),
              NoError);
    EXPECT_EQ(point.x, 2.0);
    EXPECT_EQ(height(), 5.5);
    EXPECT_EQ(DGDriver::PendingActionCount(), 0u);
}

}  // namespace point_input_palette_test
