// The settings dialog frame on the road's record, through the headless dialog manager: edits on both layouts
// reach the record with their flags on OK, Cancel after a switch leaves everything as it was, OK waits for a
// usable layer; the five-digit code item and the mode header.
#include "ProjectHost.hpp"
#include "DGDriver.hpp"
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "foundation/Language.hpp"
#include "settings/RoadData.hpp"

#include <cmath>
#include <cstring>
#include <string>

namespace settings_frame_test {

const SettingsRecordAccess<RoadData> kRoadAccess = {
    [](const RoadData& r, int16_t id) { return r.GetShort(id); },
    [](RoadData& r, int16_t id, int32_t v) { r.SetShort(id, int16_t(v)); },
    [](const RoadData& r, int16_t id) { return r.GetReal(id); },
    [](RoadData& r, int16_t id, double v) { r.SetReal(id, v); },
    [](const RoadData& r, int16_t id) { return id == RoadData::Id::name ? r.name : QV_String(); },
    [](RoadData& r, int16_t id, const QV_String& v) {
        if (id == RoadData::Id::name) r.name = v;
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
    const RoadData before = road;
    DGDriver::QueueSetLong(32554, 11, 12);
    DGDriver::QueueSetText(32554, 43, "Main road");
    DGDriver::QueueSetDouble(32554, 15, 30.0);
    DGDriver::QueueClick(32554, 44);
    DGDriver::QueueSetLong(32504, 40, 7);  // shown only in the second layout
    DGDriver::QueueSetDouble(32504, 22, 2.5);
    DGDriver::QueueClick(32504, 1);
    ASSERT_EQ(RoadDialog::Run(block, road, kFirst, kSecond, kRoadAccess, SettingsMode::Editing(3)),
              DialogAnswer::Confirmed);

    EXPECT_EQ(ItemText(32554, 3), "Editing 3 entities");
    EXPECT_EQ(road.resolution, 12);
    EXPECT_EQ(road.name.ToStdString(Encoding_UTF8), "Main road");
    EXPECT_NEAR(road.leftCutAngle, 30.0 * 0.017453292519943295, 1e-12);
    EXPECT_EQ(road.pen, 7);
    EXPECT_EQ(road.cutExtension, 2.5);
    // The first layout's edits keep their flags although the second layout closed with OK.
    for (int16_t id : {RoadData::Id::leftCutAngle, RoadData::Id::name, RoadData::Id::resolution, RoadData::Id::pen,
                       RoadData::Id::cutExtension})
        EXPECT_EQ(block.changed[id], 1) << id;
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
        EXPECT_EQ(RoadDialog::Run(block, road, kFirst, kSecond, kRoadAccess, SettingsMode::ToolDefaults),
                  DialogAnswer::Cancelled);
        EXPECT_EQ(road.resolution, before.resolution);
        EXPECT_EQ(road.name, before.name);
        EXPECT_EQ(FlagCount(), 0);
    }
}

TEST_F(SettingsFrameTest, OKWaitsForALayerTheToolMayUse) {
    road.layer = int16_t(Layer("Roads", APILay_Hidden | APILay_Locked));
    DGDriver::QueueClick(32554, 1);
    DGDriver::QueueAlertAnswer(2);  // Cancel: the dialog stays open
    DGDriver::QueueClick(32554, 1);
    DGDriver::QueueAlertAnswer(1);  // Show/Unlock
    ASSERT_EQ(RoadDialog::Run(block, road, kFirst, kSecond, kRoadAccess, SettingsMode::ToolDefaults),
              DialogAnswer::Confirmed);
    EXPECT_EQ(LayerFlagsOf(road.layer), 0u);
    EXPECT_EQ(ItemText(32554, 3), "Default");
    EXPECT_EQ(FlagCount(), 0);
    EXPECT_EQ(SettingsModeHeader(SettingsMode::NewElement).ToStdString(Encoding_UTF8), "Creation");
    EXPECT_EQ(SettingsModeHeader(SettingsMode::Editing(1)).ToStdString(Encoding_UTF8), "Editing 1 entities");
}

TEST_F(SettingsFrameTest, TheSecondLayoutDrawsTheDialogPictureOverItsPictureItem) {
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
    DGDriver::QueueClick(32554, 44);
    DGDriver::QueueClick(32504, 2);
    EXPECT_EQ(RoadDialog::Run(block, road, kFirst, kSecond, kRoadAccess, SettingsMode::ToolDefaults),
              DialogAnswer::Cancelled);
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

// A record with one colour (fields 0-2) and one pen (field 3), shown on the terrain dialog's compact layout:
// swatch 28, pen pair 11/12 and control 20 showing the pen as its foreground colour.
struct ColourRecord {
    double rgb[3] = {0.5, 0.5, 0.5};
    int32_t pen = 0;
};
const SettingsRecordAccess<ColourRecord> kColourAccess = {
    [](const ColourRecord& r, int16_t id) { return id == 3 ? r.pen : 0; },
    [](ColourRecord& r, int16_t id, int32_t v) {
        if (id == 3) r.pen = v;
    },
    [](const ColourRecord& r, int16_t id) { return id >= 0 && id < 3 ? r.rgb[id] : 0.0; },
    [](ColourRecord& r, int16_t id, double v) {
        if (id >= 0 && id < 3) r.rgb[id] = v;
    },
    [](const ColourRecord&, int16_t) { return QV_String(); },
    [](ColourRecord&, int16_t, const QV_String&) {},
};
const FieldItem kColourItems[] = {
    {28, 0, FieldItemKind::ColourSwatch, 0, 0},
    {11, 3, FieldItemKind::PenPair, 12, 0},
    {20, 3, FieldItemKind::PenColour, 0, 1},
};
const SettingsLayout kColourLayout = {32547, true, 11, 430, 582, 0, 0, kColourItems, std::size(kColourItems)};

class SettingsFrameColourTest : public SettingsFrameTest {
protected:
    const DGDriver::ItemState* Item(int16_t item) const {
        const DGDriver::ItemState* found = nullptr;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.id == 32547)
                for (const DGDriver::ItemState& s : r.items)
                    if (s.id == item) found = &s;
        return found;
    }
    // How the fill control shows a pen of the project as its foreground colour.
    static std::string Shown(int32_t pen) {
        API_Attribute a = {};
        a.header.typeID = API_PenID;
        a.header.index = pen;
        EXPECT_EQ(ACAPI_Attribute_Get(&a), NoError);
        std::string text = "0:";
        for (double c : {a.pen.red, a.pen.green, a.pen.blue}) text += " " + std::to_string(PenComponent(c) * 257);
        return text;
    }
    ColourRecord record;
    SettingsDialogBlock<ColourRecord> colourBlock;
};

TEST_F(SettingsFrameColourTest, APickedColourIsDrawnAndStoredOnOKOnly) {
    // A cancelled picker changes nothing; a chosen colour is redrawn at once and waits for OK.
    DGDriver::QueueClick(32547, 28);
    DGDriver::QueueColourCancel();
    DGDriver::QueueClick(32547, 28);
    DGDriver::QueueColourAnswer(65535, 0, 13107);
    DGDriver::QueueClick(32547, 1);
    ASSERT_EQ(SettingsDialog<ColourRecord>::Open(colourBlock, record, kColourLayout, kColourAccess, false),
              DialogAnswer::Confirmed);
    EXPECT_EQ(record.rgb[0], 1.0);
    EXPECT_EQ(record.rgb[1], 0.0);
    EXPECT_DOUBLE_EQ(record.rgb[2], 0.2);
    EXPECT_EQ(colourBlock.changed[0] + colourBlock.changed[1] + colourBlock.changed[2], 3);
    EXPECT_EQ(colourBlock.changed[3], 0);
    ASSERT_NE(Item(28), nullptr);
    EXPECT_THAT(Item(28)->drawing,
                ::testing::ElementsAre("list view: fill 0 0 40 22 rgb(255,0,51)",
                                       "list view: frame 0 0 40 22 rgb(0,0,0) width 1"));

    DGDriver::Reset();
    DGDriver::QueueClick(32547, 28);
    DGDriver::QueueColourAnswer(0, 65535, 0);
    DGDriver::QueueClick(32547, 2);
    EXPECT_EQ(SettingsDialog<ColourRecord>::Open(colourBlock, record, kColourLayout, kColourAccess, false),
              DialogAnswer::Cancelled);
    EXPECT_EQ(record.rgb[0], 1.0);
    EXPECT_EQ(record.rgb[1], 0.0);
    EXPECT_THAT(Item(28)->drawing, ::testing::Contains("list view: fill 0 0 40 22 rgb(0,255,0)"));
}

TEST_F(SettingsFrameColourTest, TheFillControlFollowsItsPenFromTheStartAndThroughBothItemsOfThePair) {
    struct Step {
        int16_t item;  // 0: as opened
        int32_t pen;
    } steps[] = {{0, 20}, {11, 5}, {12, 91}};
    EXPECT_NE(Shown(5), Shown(20));
    EXPECT_NE(Shown(91), Shown(20));
    for (const Step& step : steps) {
        DGDriver::Reset();
        record.pen = 20;
        if (step.item != 0) DGDriver::QueueSetLong(32547, step.item, step.pen);
        DGDriver::QueueClick(32547, 1);
        ASSERT_EQ(SettingsDialog<ColourRecord>::Open(colourBlock, record, kColourLayout, kColourAccess, false),
                  DialogAnswer::Confirmed);
        EXPECT_EQ(record.pen, step.pen);
        ASSERT_NE(Item(20), nullptr);
        EXPECT_THAT(Item(20)->colours, ::testing::ElementsAre(Shown(step.pen))) << "item " << step.item;
    }
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

}  // namespace settings_frame_test
