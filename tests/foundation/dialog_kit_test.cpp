// Attribute samples, colour swatches and colour controls of the dialog kit, drawn into the test dialog's user
// item (64 x 48) and read back as the drawing contexts recorded them.
#include "ProjectHost.hpp"
#include "TestSupport.hpp"
#include "foundation/AttributeSamples.hpp"
#include "foundation/DialogKit.hpp"
#include "foundation/DialogPicture.hpp"

#include "DG.hpp"
#include "DGDriver.hpp"
#include "UC.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace dialog_kit_test {

using ::testing::ElementsAre;

constexpr int16_t TestDialog = 32000;
constexpr int16_t UserItem = 9;

class DialogKitTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }

    // Runs the test dialog; `draw` gets the user item's update. Answers what the item recorded.
    std::vector<std::string> DrawInItem(const std::function<void(const DGUserUpdateData&)>& draw,
                                        const std::function<void(int16_t)>& atInit = nullptr) {
        struct Context {
            const std::function<void(const DGUserUpdateData&)>* draw;
            const std::function<void(int16_t)>* atInit;
        } context{&draw, &atInit};
        auto callback = [](int16_t message, int16_t dialId, int16_t item, DGUserData userData,
                           DGMessageData data) -> int16_t {
            auto* c = reinterpret_cast<Context*>(userData);
            if (message == DG_MSG_INIT && *c->atInit) (*c->atInit)(dialId);
            if (message == DG_MSG_UPDATE && item == UserItem)
                (*c->draw)(*reinterpret_cast<const DGUserUpdateData*>(data));
            return message == DG_MSG_CLICK && item == 1 ? 1 : 0;
        };
        DGModalDialog(TestSupport::TestResources(), TestDialog, TestSupport::TestResources(), callback,
                      reinterpret_cast<DGUserData>(&context));
        for (const DGDriver::ItemState& item : DGDriver::Log().back().items)
            if (item.id == UserItem) return item.drawing;
        return {};
    }

    int32_t Attribute(API_AttrTypeID type, const char* name, const std::function<void(API_Attribute&)>& fill) {
        API_Attribute a = {};
        a.header.typeID = type;
        std::strncpy(a.header.name, name, sizeof a.header.name - 1);
        fill(a);
        EXPECT_EQ(Db().CreateAttribute(&a), NoError);
        return a.header.index;
    }
    int32_t LineType(const char* name, const LineTypeDefinition& def) {
        const int32_t index = Attribute(API_LinetypeID, name, [&](API_Attribute& a) {
            a.linetype.type = def.kind;
            a.linetype.period = def.period;
        });
        host->Project().lineTypes.byIndex[index] = def;
        return index;
    }
};

const HostRGB Red = {0xFFFF, 0, 0};

TEST_F(DialogKitTest, ADashedLineTypeInAHundredPixelItemDrawsTheSegmentsOfItsPairs) {
    LineTypeDefinition dashed;
    dashed.kind = 1;
    dashed.period = 2.5;  // not above 2.822: the factor stays 2.822
    dashed.dashes = {{1.5, 1.0}};
    const int32_t index = LineType("Dashed", dashed);
    const DG::Rect rect = {0, 0, 100, 20};
    const auto records = DrawInItem([&](const DGUserUpdateData& u) {
        DrawPatternSampleBody(UserItemDrawing{&u, DrawingKindUserItem}, index, Red, &rect);
    });
    // By hand: a dash is 1.5 x 2.822 = 4.233 pixels, a repetition 2.5 x 2.822 = 7.055; the 15th dash is cut at
    // the right edge and the 16th would start beyond it.
    const int starts[] = {0, 7, 14, 21, 28, 35, 42, 49, 56, 63, 71, 78, 85, 92, 99};
    const int ends[] = {4, 11, 18, 25, 32, 40, 47, 54, 61, 68, 75, 82, 89, 96, 100};
    std::vector<std::string> expected;
    for (int i = 0; i < 15; ++i)
        expected.push_back("user item: line " + std::to_string(starts[i]) + " 10 " + std::to_string(ends[i]) +
                           " 10 rgb(255,0,0) width 1");
    EXPECT_EQ(records, expected);

    // A period of 5 is longer than 2.822: the factor becomes 7.963684 / 5; and from a list row the list box draws.
    dashed.period = 5.0;
    dashed.dashes = {{3.0, 2.0}};
    const int32_t longer = LineType("Long dashes", dashed);
    const DG::Rect narrow = {10, 0, 30, 8};
    EXPECT_THAT(DrawInItem([&](const DGUserUpdateData& u) {
                    DrawPatternSampleBody(UserItemDrawing{&u, DrawingKindListBox}, longer, Red, &narrow);
                }),
                ElementsAre("list box: line 10 4 15 4 rgb(255,0,0) width 1",    // 3 x 1.5927 = 4.78
                            "list box: line 18 4 23 4 rgb(255,0,0) width 1",    // from 7.96
                            "list box: line 26 4 30 4 rgb(255,0,0) width 1"));  // cut at the edge
}

TEST_F(DialogKitTest, SolidAndSymbolLineTypesEndAtTheEdgeAndAPatternWithoutLengthStops) {
    LineTypeDefinition solid;
    const int32_t plain = LineType("Solid", solid);
    LineTypeDefinition symbol;
    symbol.kind = 2;
    symbol.period = 0.0;  // a pattern that never moves on
    API_LineItem tick = {};
    tick.itemType = 1;
    tick.centOffs = 1.0;
    API_LineItem circle = {};
    circle.itemType = 8;
    circle.begPos = {2.0, 0.0};
    circle.radius = 0.5;
    symbol.items = {tick, circle};
    const int32_t ticks = LineType("Ticks", symbol);
    const auto records = DrawInItem([&](const DGUserUpdateData& u) {
        DrawPatternSampleBody(UserItemDrawing{&u, DrawingKindUserItem}, plain, Red, nullptr);
        DrawPatternSampleBody(UserItemDrawing{&u, DrawingKindUserItem}, ticks, Red, nullptr);
        DrawPatternSampleBody(UserItemDrawing{&u, DrawingKindUserItem}, 999, Red, nullptr);  // no such line type
    });
    EXPECT_THAT(records,
                ElementsAre("user item: line 0 24 64 24 rgb(255,0,0) width 1",
                            "user item: line 3 20 3 28 rgb(255,0,0) width 1",  // 4 pixels each side
                            "user item: arc 5.6 24.0 1.4 0.0000 6.2832 rgb(255,0,0) width 1"));
}

TEST_F(DialogKitTest, FillSamplesSwatchesAndPensDrawThroughTheContextTheirRecordNames) {
    const int32_t pen = Attribute(API_PenID, "Half grey", [](API_Attribute& a) {
        a.pen.red = 0.5;
        a.pen.green = 0.25;
        a.pen.blue = 1.0;
    });
    const int32_t fill = Attribute(API_FilltypeID, "Chequer", [](API_Attribute& a) {
        const uint8_t bits[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
        std::memcpy(a.filltype.bitPat, bits, 8);
    });
    const auto records = DrawInItem([&](const DGUserUpdateData& u) {
        const uint8_t pattern[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        DrawPatternSample(UserItemDrawing{&u, DrawingKindListBox}, pattern, HostRGB{0, 0, 0xFF00}, Red,
                          HostRGB{0x8000, 0x8000, 0x8000}, nullptr);
        // Both swatches force the list-view context, a plain user item too; a list cell is one pixel smaller.
        UserItemDrawing item{&u, DrawingKindUserItem};
        DrawColourSwatchItem(item, RGBColour{1.0, 0.5, 0.0}, nullptr);
        EXPECT_EQ(item.kind, DrawingKindListView);
        UserItemDrawing cell{&u, DrawingKindListBox};
        DrawColourSwatchListCell(cell, RGBColour{0.0, 0.0, 0.999}, nullptr);
        DrawAttributeSampleItem(UserItemDrawing{&u, DrawingKindUserItem}, pen, API_PenID, nullptr);
        const DG::Rect small = {1, 2, 9, 10};
        DrawAttributeSampleItem(UserItemDrawing{&u, DrawingKindUserItem}, fill, API_FilltypeID, &small);
        DrawAttributeSampleItem(UserItemDrawing{&u, DrawingKindUserItem}, 4321, API_PenID, nullptr);  // missing
    });
    EXPECT_THAT(records,
                ElementsAre("list box: pattern 0 0 64 48 0102030405060708 rgb(255,0,0) rgb(128,128,128)",
                            "list box: frame 0 0 64 48 rgb(0,0,255) width 1",
                            "list view: fill 0 0 64 48 rgb(255,127,0)", "list view: frame 0 0 64 48 rgb(0,0,0) width 1",
                            "list view: fill 0 0 63 47 rgb(0,0,254)", "list view: frame 0 0 63 47 rgb(0,0,0) width 1",
                            "list view: fill 0 0 64 48 rgb(127,63,255)",
                            "list view: frame 0 0 64 48 rgb(0,0,0) width 1",
                            "user item: pattern 1 2 9 10 55aa55aa55aa55aa rgb(0,0,0) rgb(255,255,255)",
                            "user item: frame 1 2 9 10 rgb(0,0,0) width 1"));
}

TEST_F(DialogKitTest, ColourControlsPositionsAndThePicker) {
    const int32_t pen = Attribute(API_PenID, "Orange", [](API_Attribute& a) {
        a.pen.red = 1.0;
        a.pen.green = 0.5;
        a.pen.blue = 0.001;
    });
    // Item 38 of the road dialog is a colour control.
    struct Shown {
        DGColorRec colour[3] = {};
        bool set[3] = {};
    } mode[4];
    auto callback = [](int16_t message, int16_t dialId, int16_t item, DGUserData userData, DGMessageData) -> int16_t {
        if (message == DG_MSG_CLICK) return item;
        if (message != DG_MSG_INIT) return 0;
        auto* shown = reinterpret_cast<std::pair<int32_t, Shown*>*>(userData);
        const struct {
            int32_t pen;
            int32_t mode;
        } calls[] = {{0, 0}, {0, 1}, {0, 2}, {shown->first, 2}, {-1, 0}, {0, 3}, {777, 1}};
        for (size_t i = 0; i < std::size(calls); ++i) {
            for (int16_t t = 0; t < 3; ++t) UC257SetColor(dialId, 38, t, DGColorRec{1, 1, 1});
            SetPenColourControl(dialId, 38, calls[i].pen, calls[i].mode);
            if (i < 4)
                for (int16_t t = 0; t < 3; ++t) {
                    UC257GetColor(dialId, 38, t, &shown->second[i].colour[t]);
                    shown->second[i].set[t] = shown->second[i].colour[t].red != 1;
                }
            else
                for (int16_t t = 0; t < 3; ++t) {
                    DGColorRec c;
                    UC257GetColor(dialId, 38, t, &c);
                    EXPECT_EQ(c.red, 1) << "call " << i << " changed the control";
                }
        }
        RestoreDialogPosition(DialogPosition{uint16_t(dialId), 30, 40});
        RestoreDialogPosition(DialogPosition{uint16_t(dialId), 0, 0});  // never saved: no move
        DialogPosition saved{uint16_t(dialId), 0, 0};
        SaveDialogPosition(saved);
        EXPECT_EQ(saved.x, 30);
        EXPECT_EQ(saved.y, 40);
        return 0;
    };
    std::pair<int32_t, Shown*> data{pen, mode};
    DGModalDialog(ACAPI_GetOwnResModule(), 32504, ACAPI_GetOwnResModule(), callback,
                  reinterpret_cast<DGUserData>(&data));
    const int16_t types[] = {2, 0, 1, 1};
    const uint16_t reds[] = {0, 0, 65535, 65535};
    const uint16_t greens[] = {0, 0, 65535, 127 * 257};
    for (int m = 0; m < 4; ++m)
        for (int16_t t = 0; t < 3; ++t) {
            EXPECT_EQ(mode[m].set[t], t == types[m]) << m << " " << t;
            if (t == types[m]) {
                EXPECT_EQ(mode[m].colour[t].red, reds[m]) << m;
                EXPECT_EQ(mode[m].colour[t].green, greens[m]) << m;
            }
        }

    RGBColour colour = {0.5, 0.5, 0.5};
    DGDriver::QueueColourCancel();
    EXPECT_FALSE(PickColour(colour, "Pen"));
    EXPECT_EQ(colour.red, 0.5);
    DGDriver::QueueColourAnswer(65535, 0, 13107);
    EXPECT_TRUE(PickColour(colour, nullptr));
    EXPECT_EQ(colour.red, 1.0);
    EXPECT_EQ(colour.green, 0.0);
    EXPECT_DOUBLE_EQ(colour.blue, 0.2);
}

TEST_F(DialogKitTest, TheDialogPictureComesFromAPicturePartOrAResourceAndNothingElseIsDrawn) {
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
    // A picture part whose file is no picture.
    std::filesystem::create_directory(UserFile("pics"));
    std::ofstream(UserFile("pics/Broken.jpg")) << "not a picture";
    ASSERT_TRUE(host->AddLibraryFolder(UserFile("pics"), &why)) << why;

    const int32_t picture = FindLibPartIndex(QV_String(DialogPictureName), APILib_PictureID);
    ASSERT_GT(picture, 0);
    EXPECT_EQ(FindLibPartIndex(QV_String("DlgImg"), APILib_PictureID), picture);
    EXPECT_EQ(FindLibPartIndex(QV_String("DlgImg.old.jpg"), APILib_PictureID), -1);  // cut at the last point only
    EXPECT_EQ(FindLibPartIndex(QV_String(DialogPictureName), APILib_ObjectID), -1);
    const int32_t broken = FindLibPartIndex(QV_String("Broken.jpg"), APILib_PictureID);
    ASSERT_GT(broken, 0);

    std::vector<bool> drawn;
    const auto records = DrawInItem([&](const DGUserUpdateData& u) {
        drawn.push_back(DrawDialogPicture(&u, picture, true));
        drawn.push_back(DrawDialogPicture(&u, 32501, false));
        drawn.push_back(DrawDialogPicture(&u, 0, true));
        drawn.push_back(DrawDialogPicture(&u, broken, true));
        drawn.push_back(DrawDialogPicture(&u, 1, false));  // no such resource
        drawn.push_back(DrawDialogPicture(nullptr, picture, true));
    });
    EXPECT_THAT(drawn, ElementsAre(true, true, false, false, false, false));
    EXPECT_THAT(records,
                ElementsAre(::testing::StartsWith("dib 48 32 bits 24 colours 0 from 0 0 48 32 to 0 0 64 48 "),
                            "image 32501 in 0 0 64 48"));
}

}  // namespace dialog_kit_test
