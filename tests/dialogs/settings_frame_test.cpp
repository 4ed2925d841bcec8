// The settings dialog frame on the road's record, through the headless dialog manager: edits on both layouts
// reach the record with their flags on OK, Cancel after a switch leaves everything as it was, OK waits for a
// usable layer; the five-digit code item and the mode header.
#include "ProjectHost.hpp"
#include "DGDriver.hpp"
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "foundation/Language.hpp"
#include "settings/RoadData.hpp"

#include <cmath>
#include <string>

namespace {

const SettingsRecordAccess<RoadData> kRoadAccess = {
    [](const RoadData& r, int16_t id) { return r.GetLongByItem(id); },
    [](RoadData& r, int16_t id, int32_t v) { r.SetLongByItem(id, int16_t(v)); },
    [](const RoadData& r, int16_t id) { return r.GetDoubleByItem(id); },
    [](RoadData& r, int16_t id, double v) { r.SetDoubleByItem(id, v); },
    [](const RoadData& r, int16_t id) { return id == 5 ? r.name : QV_String(); },
    [](RoadData& r, int16_t id, const QV_String& v) {
        if (id == 5) r.name = v;
    },
};

constexpr FieldItemKind UC = FieldItemKind::UserControl;
constexpr FieldItemKind Angle = FieldItemKind::Angle;
const FieldItem kFirstItems[] = {
    {41, 0, UC, 0, 18},
    {15, 1, Angle, 0, 0},
    {17, 2, Angle, 0, 0},
    {18, 3, Angle, 0, 0},
    {20, 4, Angle, 0, 0},
    {43, 5, FieldItemKind::Text, 0, 0},
    {30, 6, UC, 0, 17},
    {32, 7, UC, 0, 17},
    {31, 8, UC, 0, 17},
    {11, 9, FieldItemKind::Long, 0, 0},
    {35, 10, FieldItemKind::Check, 0, 0},
    {37, 11, FieldItemKind::PenPair, 38, 0},
    {24, 16, FieldItemKind::Double, 0, 0},
    {26, 17, FieldItemKind::Double, 0, 0},
};
const FieldItem kSecondItems[] = {
    {54, 0, UC, 0, 18},
    {12, 1, Angle, 0, 0},
    {17, 2, Angle, 0, 0},
    {14, 3, Angle, 0, 0},
    {19, 4, Angle, 0, 0},
    {51, 5, FieldItemKind::Text, 0, 0},
    {29, 6, UC, 0, 17},
    {31, 7, UC, 0, 17},
    {30, 8, UC, 0, 17},
    {27, 9, FieldItemKind::Long, 0, 0},
    {35, 10, FieldItemKind::Check, 0, 0},
    {37, 11, FieldItemKind::PenPair, 38, 0},
    {40, 12, FieldItemKind::PenPair, 41, 0},
    {44, 13, FieldItemKind::Check, 0, 0},
    {46, 14, FieldItemKind::PenPair, 47, 0},
    {48, 15, UC, 0, 20},
    {22, 16, FieldItemKind::Double, 0, 0},
    {24, 17, FieldItemKind::Double, 0, 0},
};
const SettingsLayout kFirst = {32554, true, 11, 630, 450, 44, 41, kFirstItems, std::size(kFirstItems)};
const SettingsLayout kSecond = {32504, false, 11, 670, 495, 55, 54, kSecondItems, std::size(kSecondItems)};

using RoadDialog = SettingsDialog<RoadData>;

class SettingsFrameTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        LanguageIndex = LanguageEnglish;
        road.SetDefaults();
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
    int FlagCount() const {
        int n = 0;
        for (uint8_t f : block.changed) n += f;
        return n;
    }
    std::string ItemText(int16_t dialog, int16_t item) const {
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.id == dialog)
                for (const DGDriver::ItemState& s : r.items)
                    if (s.id == item) return s.text;
        return "?";
    }
    RoadData road;
    SettingsDialogBlock<RoadData> block;
};

TEST_F(SettingsFrameTest, EditsOnBothLayoutsAreStoredAndFlaggedOnOK) {
    DialogMode = 3;
    EditedEntityCount = 3;
    const RoadData before = road;
    DGDriver::QueueSetLong(32554, 11, 12);
    DGDriver::QueueSetText(32554, 43, "Main road");
    DGDriver::QueueSetDouble(32554, 15, 30.0);
    DGDriver::QueueClick(32554, 44);
    DGDriver::QueueSetLong(32504, 40, 7);  // shown only in the second layout
    DGDriver::QueueSetDouble(32504, 22, 2.5);
    DGDriver::QueueClick(32504, 1);
    ASSERT_TRUE(RoadDialog::Run(block, road, kFirst, kSecond, kRoadAccess));

    EXPECT_EQ(ItemText(32554, 3), "Editing 3 entities");
    EXPECT_EQ(road.resolution, 12);
    EXPECT_EQ(road.name.ToStdString(Encoding_UTF8), "Main road");
    EXPECT_NEAR(road.leftCutAngle, 30.0 * 0.017453292519943295, 1e-12);
    EXPECT_EQ(road.pen, 7);
    EXPECT_EQ(road.cutExtension, 2.5);
    // The first layout's edits keep their flags although the second layout closed with OK.
    for (int16_t id : {1, 5, 9, 12, 16}) EXPECT_EQ(block.changed[id], 1) << id;
    EXPECT_EQ(FlagCount(), 5);
    EXPECT_EQ(road.fillMaterial, before.fillMaterial);
}

TEST_F(SettingsFrameTest, CancelInEitherLayoutLeavesTheRecordAndItsFlags) {
    for (int16_t cancelIn : {32554, 32504}) {
        const RoadData before = road;
        DGDriver::QueueSetLong(32554, 11, 40);
        DGDriver::QueueClick(32554, 44);
        DGDriver::QueueSetText(32504, 51, "Side road");
        if (cancelIn == 32504) {
            DGDriver::QueueClick(32504, 2);
        } else {
            DGDriver::QueueClick(32504, 55);
            DGDriver::QueueClick(32554, 2);
        }
        EXPECT_FALSE(RoadDialog::Run(block, road, kFirst, kSecond, kRoadAccess));
        EXPECT_EQ(road.resolution, before.resolution);
        EXPECT_EQ(road.name, before.name);
        EXPECT_EQ(FlagCount(), 0);
    }
}

TEST_F(SettingsFrameTest, OKWaitsForALayerTheToolMayUse) {
    road.layer = int16_t(Layer("Roads", APILay_Hidden | APILay_Locked));
    DialogMode = 1;
    DGDriver::QueueClick(32554, 1);
    DGDriver::QueueAlertAnswer(2);  // Cancel: the dialog stays open
    DGDriver::QueueClick(32554, 1);
    DGDriver::QueueAlertAnswer(1);  // Show/Unlock
    ASSERT_TRUE(RoadDialog::Run(block, road, kFirst, kSecond, kRoadAccess));
    EXPECT_EQ(LayerFlagsOf(road.layer), 0u);
    EXPECT_EQ(ItemText(32554, 3), "Default");
    EXPECT_EQ(FlagCount(), 0);
    EXPECT_EQ(SettingsModeHeader(2, 1).ToStdString(Encoding_UTF8), "Creation");
    EXPECT_EQ(SettingsModeHeader(3, 1).ToStdString(Encoding_UTF8), "Editing 1 entities");
}

TEST_F(SettingsFrameTest, TheSecondLayoutDrawsTheDialogPictureOverItsPictureItem) {
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
    DGDriver::QueueClick(32554, 44);
    DGDriver::QueueClick(32504, 2);
    EXPECT_FALSE(RoadDialog::Run(block, road, kFirst, kSecond, kRoadAccess));
    std::vector<std::string> drawing;
    for (const DGDriver::LogRecord& r : DGDriver::Log())
        if (r.id == 32504)
            for (const DGDriver::ItemState& s : r.items)
                if (s.id == 3) drawing = s.drawing;
    // The shipped JPEG (48 x 32) as the host's bitmap, stretched over the whole 150 x 300 item.
    EXPECT_THAT(drawing,
                ::testing::ElementsAre(
                    ::testing::StartsWith("dib 48 32 bits 24 colours 0 from 0 0 48 32 to 0 0 150 300 mode 3 crc ")));
}

TEST_F(SettingsFrameTest, ADialogThatNamesOnlyItsItemDrawsThePictureThroughTheRunningUpdate) {
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
    auto callback = [](int16_t message, int16_t dialogId, int16_t item, DGUserData, DGMessageData) -> int16_t {
        if (message == DG_MSG_UPDATE && item == SettingsItemPicture) DrawSettingsPicture(dialogId, item);
        return message == DG_MSG_CLICK ? item : 0;
    };
    DrawSettingsPicture(32504, SettingsItemPicture);  // no update runs: nothing is drawn
    DGModalDialog(ACAPI_GetOwnResModule(), 32504, ACAPI_GetOwnResModule(), callback, 0);
    std::vector<std::string> drawing;
    for (const DGDriver::ItemState& s : DGDriver::Log().back().items)
        if (s.id == 3) drawing = s.drawing;
    EXPECT_THAT(
        drawing,
        ::testing::ElementsAre(::testing::StartsWith("dib 48 32 bits 24 colours 0 from 0 0 48 32 to 0 0 150 300 ")));
}

TEST(FiveDigitCodeItemTest, CodesShowAsFiveDigitsAndReadBack) {
    for (uint32_t code = 0; code < 100000; code += 37) {
        const QV_String text = FormatFiveDigitCode(code);
        ASSERT_EQ(text.GetLength(), 5u);
        ASSERT_EQ(ParseFiveDigitCode(text), code);
    }
    EXPECT_EQ(FormatFiveDigitCode(123456).ToStdString(Encoding_UTF8), "123456");
    QV_String filtered;
    EXPECT_TRUE(FilterFiveDigitCode(QV_String("12a4"), filtered));
    EXPECT_EQ(filtered.ToStdString(Encoding_UTF8), "1204");
    EXPECT_FALSE(FilterFiveDigitCode(QV_String("123456"), filtered));
    EXPECT_EQ(ParseFiveDigitCode(QV_String("123456")), 12345u);
    EXPECT_EQ(ParseFiveDigitCode(QV_String()), 0u);
}

}  // namespace
