// Modeless windows as the module's palettes use them, through the host: registered while open, clicked by the
// script between its commands, told to hide or close by the host as their flags allow, closed at release; and the
// host's attribute choosers bound to user controls with 'SUCC'.
#include "DGDriver.hpp"
#include "InProcessHost.hpp"
#include "script/ScriptRunner.hpp"

#include <gmock/gmock.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace modeless_windows_test {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr int16_t kPalette = 32001;  // tests/data/resources: buttons 1 and 2, user item 3
constexpr int16_t kEvery = 32002;    // user control 17

// A palette as the module writes one: it registers at init, unregisters at close, closes on the host's close
// message and on its close box, and notes what it hears.
struct Palette {
    int32_t flags = 0;
    std::vector<std::string> heard;
};
Palette* g_palette = nullptr;

GSErrCode ControlCallback(int32_t referenceID, int32_t message, intptr_t) {
    g_palette->heard.push_back("host " + std::to_string(message));
    if (message == APIPaletteMessage_Close) DGModelessClose(int16_t(referenceID));
    if (message == APIPaletteMessage_Hide) DGHideModelessDialog(int16_t(referenceID));
    if (message == APIPaletteMessage_Show) DGShowModelessDialog(int16_t(referenceID));
    return NoError;
}

int16_t PaletteCallback(int16_t message, int16_t dialId, int16_t item, DGUserData, DGMessageData) {
    if (message == DG_MSG_INIT) ACAPI_RegisterModelessWindow(dialId, ControlCallback, g_palette->flags);
    if (message == DG_MSG_CLOSE) ACAPI_UnregisterModelessWindow(dialId);
    if (message != DG_MSG_UPDATE) g_palette->heard.push_back(std::to_string(message) + ":" + std::to_string(item));
    return message == DG_MSG_CLICK && item == DG_CLOSEBOX ? DG_CLOSEBOX : 0;
}

class ModelessWindowsTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        DGDriver::Reset();
        ASSERT_TRUE(host->Load());
        g_palette = &palette;
    }
    void TearDown() override {
        InProcessHostTest::TearDown();  // the release may still close the palette
        g_palette = nullptr;
        DGDriver::Reset();
    }
    int16_t Open(int32_t flags) {
        palette.flags = flags;
        return DGModelessInit(TestSupport::TestResources(), kPalette, PaletteCallback, 0);
    }
    bool Run(const std::string& text) {
        std::ostringstream out;
        ScriptRunner runner(*host, out);
        const bool ok = runner.RunText(text, "test");
        output = out.str();
        return ok;
    }
    Palette palette;
    std::string output;
};

TEST_F(ModelessWindowsTest, PaletteTakesClicksAndHostMessagesAndClosesByItsCloseBox) {
    ASSERT_EQ(Open(APIPalette_Close | APIPalette_Hide), kPalette);
    // The script's clicks reach the open palette between its commands.
    EXPECT_TRUE(Run("expect modeless 32001 registered 3\n"
                    "dialog 32001 click 1\n"
                    "expect dialog 32001 events \"click 1 -> 0\"\n"
                    "palette 32001 hide\n"
                    "expect dialog 32001 hidden\n"
                    "palette 32001 show\n"
                    "dialog 32001 click 2\n"
                    "dialog 32001 closebox\n"
                    "expect dialog 32001 closed\n"
                    "expect modeless 32001 unregistered\n"))
        << output;
    EXPECT_THAT(palette.heard, ElementsAre("1:0", "4:1", "host 2", "host 3", "4:2", "4:-1", "3:0"));
    // A message its flags do not take is refused, and so is one for a window not registered.
    ASSERT_TRUE(host->Load());
    ASSERT_EQ(Open(APIPalette_Close), kPalette);
    std::string why;
    EXPECT_FALSE(host->SendPaletteMessage(kPalette, APIPaletteMessage_Disable, &why));
    EXPECT_THAT(why, HasSubstr("takes no disable message"));
    EXPECT_FALSE(host->SendPaletteMessage(kEvery, APIPaletteMessage_Close, &why));
    EXPECT_THAT(why, HasSubstr("no modeless window 32002 is registered"));
}

TEST_F(ModelessWindowsTest, ReleaseClosesPalettesThatTakeTheCloseMessageAndFaultsTheRest) {
    ASSERT_EQ(Open(APIPalette_Close), kPalette);
    EXPECT_TRUE(host->Release());
    EXPECT_FALSE(DGIsDialogOpen(kPalette));
    EXPECT_THAT(palette.heard, ElementsAre("1:0", "host 1", "3:0"));
    EXPECT_TRUE(host->Errors().empty());

    // A window without the close flag left open by the module is a fault; it is gone without a message.
    ASSERT_TRUE(host->Load());
    palette.heard.clear();
    ASSERT_EQ(Open(APIPalette_Hide), kPalette);
    EXPECT_TRUE(host->Release());
    EXPECT_FALSE(DGIsDialogOpen(kPalette));
    EXPECT_THAT(palette.heard, ElementsAre("1:0"));
    EXPECT_THAT(
        host->Errors(),
        ElementsAre(HasSubstr("modeless window 32001 was still registered"), HasSubstr("dialog 32001 was still open")));

    // Registering a reference that is no open modeless window is refused.
    ASSERT_TRUE(host->Load());
    EXPECT_EQ(ACAPI_RegisterModelessWindow(kPalette, ControlCallback, 1), APIERR_BADPARS);
}

TEST_F(ModelessWindowsTest, UserControlsTakeOnlyAttributesOfTheProject) {
    API_Attribute layer = {};
    layer.header.typeID = API_LayerID;
    std::strcpy(layer.header.name, "Terrain");
    ASSERT_EQ(host->Database().CreateAttribute(&layer), NoError);
    const int32_t index = layer.header.index;

    struct Binding {
        GSErrCode bound = -1;
        GSErrCode wrongItem = -1;
        std::vector<int32_t> tracked;
    } binding;
    auto callback = [](int16_t message, int16_t dialId, int16_t item, DGUserData data, DGMessageData) -> int16_t {
        auto* b = reinterpret_cast<Binding*>(data);
        if (message == DG_MSG_INIT) {
            API_UserControlBinding rec = {APIUserControl_Layer, dialId, 17};
            b->bound = ACAPI_Interface(APIIo_SetUserControlCallbackID, &rec);
            rec.itemID = 16;  // a user item, no user control
            b->wrongItem = ACAPI_Interface(APIIo_SetUserControlCallbackID, &rec);
        }
        if (message == DG_MSG_TRACK) b->tracked.push_back(DGGetItemValLong(dialId, item));
        return message == DG_MSG_CLICK && item == 1 ? 1 : 0;
    };
    DGDriver::QueueSetLong(kEvery, 17, index);
    DGDriver::QueueSetLong(kEvery, 17, index + 50);
    EXPECT_EQ(DGModalDialog(TestSupport::TestResources(), kEvery, InvalidResModule, callback,
                            reinterpret_cast<DGUserData>(&binding)),
              1);
    EXPECT_EQ(binding.bound, NoError);
    EXPECT_EQ(binding.wrongItem, APIERR_BADPARS);
    EXPECT_THAT(host->Errors(), ElementsAre(HasSubstr("item 16 of dialog 32002 is a user, not a user control")));
    EXPECT_THAT(binding.tracked, ElementsAre(index));
    EXPECT_THAT(DGDriver::Errors(),
                ElementsAre(HasSubstr("layer " + std::to_string(index + 50) + " does not exist in the project")));
}

}  // namespace modeless_windows_test
