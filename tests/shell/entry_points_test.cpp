// The module's life in an in-process stand-in host: the environment check, interface registration,
// initialisation and release, with the host's language, configuration files and failing host functions.
#include "InProcessHost.hpp"
#include "DGDriver.hpp"
#include "config/HostConfigFile.hpp"
#include "dialogs/tools/PointInputPalette.hpp"
#include "earthworks/Digging.hpp"
#include "earthworks/Section.hpp"
#include "elements/ModelUpdate.hpp"
#include "foundation/Language.hpp"
#include "settings/Settings.hpp"
#include "shell/commands/ToolCommand.hpp"
#include "siteobjects/Trees.hpp"
#include "geometry/project/CurveDivision.hpp"
#include "shell/MenuCommands.hpp"
#include "shell/ShellState.hpp"
#include "sosi/SOSIObjectSettings.hpp"

#include <cstring>

namespace entry_points_test {

constexpr const char* kMarker = "Lodravix_20_25.wyr";

class EntryPointsTest : public InProcessHostTest {};

TEST_F(EntryPointsTest, HostKindAnswersTypeAndNameAndDeletesTheMarker) {
    Touch(kMarker);
    ASSERT_TRUE(host->Attach());
    EXPECT_EQ(host->RunCheckEnvironment(), APIAddon_Normal);
    EXPECT_STREQ(host->Results().envir.addOnInfo.name, "Lodravix 2.1 (DUdaz)");
    EXPECT_STREQ(host->Results().envir.addOnInfo.description, "Lodravix");
    EXPECT_FALSE(Exists(kMarker));
}

TEST_F(EntryPointsTest, OtherKindsAnswerZeroLeaveTheRecordAndStillDeleteTheMarker) {
    for (const int32_t kind : {0, 2, -1, 0x101}) {
        Touch(kMarker);
        host->Settings().environmentKind = kind;
        ASSERT_TRUE(host->Attach());
        EXPECT_EQ(host->RunCheckEnvironment(), APIAddon_Unknown) << kind;
        EXPECT_EQ(host->Results().envir.addOnInfo.name[0], '\0') << kind;
        EXPECT_EQ(host->Results().envir.addOnInfo.description[0], '\0') << kind;
        EXPECT_FALSE(Exists(kMarker)) << kind;
        ASSERT_TRUE(host->Detach());
    }
}

TEST_F(EntryPointsTest, DeclinedEnvironmentEndsTheLoadWithoutRegistering) {
    host->Settings().environmentKind = 3;
    ASSERT_TRUE(host->Load());
    EXPECT_FALSE(host->IsLoaded());
    EXPECT_FALSE(host->Results().registerInterfaceRan);
    EXPECT_TRUE(host->Session().menus.empty());
}

TEST_F(EntryPointsTest, MissingMarkerIsNoError) {
    ASSERT_TRUE(host->Load());
    EXPECT_FALSE(Exists(kMarker));
    EXPECT_TRUE(host->Release());
    EXPECT_TRUE(host->Errors().empty());
}

TEST_F(EntryPointsTest, LanguageCodesSetTheVariantFlagsExactly) {
    struct Case {
        const char* code;
        uint8_t norwegian;
        uint8_t austrian;
    };
    for (const Case c : {Case{"NOR", 1, 0}, Case{"AUT", 0, 1}, Case{"nor", 0, 0}, Case{"aut", 0, 0}, Case{"NORW", 0, 0},
                         Case{"NO", 0, 0}, Case{"INT", 0, 0}, Case{"", 0, 0}}) {
        host->Settings().language = c.code;
        ASSERT_TRUE(host->Attach());
        ASSERT_EQ(host->RunCheckEnvironment(), APIAddon_Normal);
        NorwegianVariant = AustrianVariant = 7;
        ASSERT_EQ(host->RunRegisterInterface(), NoError);
        EXPECT_EQ(NorwegianVariant, c.norwegian) << c.code << " after RegisterInterface";
        EXPECT_EQ(AustrianVariant, c.austrian) << c.code << " after RegisterInterface";
        NorwegianVariant = AustrianVariant = 7;
        ASSERT_EQ(host->RunInitialize(), NoError);
        EXPECT_EQ(NorwegianVariant, c.norwegian) << c.code << " after Initialize";
        EXPECT_EQ(AustrianVariant, c.austrian) << c.code << " after Initialize";
        host->RunFreeData();
        ASSERT_TRUE(host->Detach());
    }
}

TEST_F(EntryPointsTest, FailedApplicationQueryLeavesBothFlagsOff) {
    host->Settings().language = "NOR";
    ASSERT_TRUE(host->FailCall("Environment", -1, APIERR_GENERAL));
    NorwegianVariant = 1;
    ASSERT_TRUE(host->Load());
    EXPECT_EQ(NorwegianVariant, 0);
    EXPECT_EQ(AustrianVariant, 0);
}

TEST_F(EntryPointsTest, InitializeSetsTheModuleState) {
    XYZButtonState = 0;
    UpdateConfirmation = 0;
    SubPalettes[3].dialogId = 99;
    SubPalettes[3].enabled = 0;
    SubPalettes[3].activeItem = 4;
    ASSERT_TRUE(host->Load());
    EXPECT_EQ(XYZButtonState, 1);
    EXPECT_EQ(UpdateConfirmation, 1);
    EXPECT_EQ(CurveSegmentation.byCount, 1);
    EXPECT_EQ(CurveSegmentation.segmentLength, 1.0);
    EXPECT_EQ(CurveSegmentation.segmentCount, 36);
    for (const SubPaletteRecord& sub : SubPalettes) {
        EXPECT_EQ(sub.dialogId, 0);
        EXPECT_EQ(sub.registrationFlags, 0u);
        EXPECT_EQ(sub.enabled, 1);
        EXPECT_EQ(sub.activeItem, 0);
    }
    EXPECT_EQ(PointInputPaletteGlobalState.dialogId, 0);
    EXPECT_EQ(PointInputPaletteGlobalState.flags, 0);
    EXPECT_EQ(PointInputPaletteGlobalState.lastValidLayer, 1);
    // The terrain-point tool's start-up event is the one step that reports itself.
    const std::vector<std::string> expected = {"call: PointTool::OnElementEvent"};
    EXPECT_EQ(host->ModuleReports(), expected);
    // The menu's first item offers to show the palette, in every menu of the add-on.
    EXPECT_EQ(host->Session().menuItemTexts.at({int16_t(32501), int16_t(1)}), "Show Lodravix Palette");
    EXPECT_EQ(host->Session().menuItemTexts.at({int16_t(32506), int16_t(3)}), "About...");
}

TEST_F(EntryPointsTest, InitializeLeavesTheFirstCommandFlag) {
    // Set at load and cleared by the first menu command for the rest of the module's life.
    ASSERT_TRUE(host->Load());
    FirstMenuCommand = 0;
    ASSERT_EQ(host->RunInitialize(), NoError);
    EXPECT_EQ(FirstMenuCommand, 0);
}

TEST_F(EntryPointsTest, RegistersTheMenuOfTheLanguageAndTheLibrary) {
    ASSERT_TRUE(host->Load());
    ASSERT_EQ(host->Session().menus.size(), 1u);
    const ModuleSession::Menu& menu = host->Session().menus[0];
    EXPECT_EQ(menu.menuResID, 32501);
    EXPECT_EQ(menu.promptResID, 0);
    EXPECT_EQ(menu.position, 0);
    EXPECT_EQ(menu.flags, 0);
    ASSERT_GE(menu.texts.size(), 5u);
    EXPECT_EQ(menu.texts[1], "Lodravix");
    EXPECT_TRUE(host->Session().builtInLibrary);
}

TEST_F(EntryPointsTest, SharedConfigurationChoosesTheMenu) {
    std::string error;
    ASSERT_TRUE(HostConfig::SetEntry(UserFile("Brenmaro.cfg"), "Language_str", "rus", &error)) << error;
    ASSERT_TRUE(host->Load());
    ASSERT_EQ(host->Session().menus.size(), 1u);
    EXPECT_EQ(host->Session().menus[0].menuResID, 32506);
}

TEST_F(EntryPointsTest, FailedMenuRegistrationIsReturnedAndSkipsTheLibrary) {
    ASSERT_TRUE(host->FailCall("Register_Menu", 32501, GSErrCode(0x81060042u)));
    ASSERT_TRUE(host->Attach());
    ASSERT_EQ(host->RunCheckEnvironment(), APIAddon_Normal);
    EXPECT_EQ(host->RunRegisterInterface(), GSErrCode(0x81060042u));
    EXPECT_FALSE(host->Session().builtInLibrary);
}

TEST_F(EntryPointsTest, FailedLibraryRegistrationIsReturned) {
    ASSERT_TRUE(host->FailCall("Register_BuiltInLibrary", -1, APIERR_GENERAL));
    ASSERT_TRUE(host->Attach());
    ASSERT_EQ(host->RunCheckEnvironment(), APIAddon_Normal);
    EXPECT_EQ(host->RunRegisterInterface(), APIERR_GENERAL);
    EXPECT_EQ(host->Session().menus.size(), 1u);
}

TEST_F(EntryPointsTest, OneFailedMenuHandlerKeepsTheOthersAndRegistersNoNotification) {
    ASSERT_TRUE(host->FailCall("Install_MenuHandler", 32503, GSErrCode(0x81060010u)));
    ASSERT_TRUE(host->Attach());
    ASSERT_EQ(host->RunCheckEnvironment(), APIAddon_Normal);
    ASSERT_EQ(host->RunRegisterInterface(), NoError);
    EXPECT_EQ(host->RunInitialize(), GSErrCode(0x81060010u));
    EXPECT_EQ(host->Session().menuHandlers.size(), 6u);
    EXPECT_EQ(host->Session().menuHandlers.count(32503), 0u);
    EXPECT_EQ(host->Session().newElementHandler, nullptr);
    EXPECT_EQ(host->Session().elementObserver, nullptr);
    EXPECT_EQ(host->Session().projectEventHandler, nullptr);
    EXPECT_EQ(host->Session().toolChangeHandler, nullptr);
    EXPECT_EQ(CountReports("call: PointTool::OnElementEvent"), 0);
}

TEST_F(EntryPointsTest, SeveralFailedMenuHandlersAnswerTheOrOfTheirResults) {
    ASSERT_TRUE(host->FailCall("Install_MenuHandler", 32500, GSErrCode(0x81060010u)));
    ASSERT_TRUE(host->FailCall("Install_MenuHandler", 32506, GSErrCode(0x81060002u)));
    ASSERT_TRUE(host->Attach());
    ASSERT_EQ(host->RunCheckEnvironment(), APIAddon_Normal);
    ASSERT_EQ(host->RunRegisterInterface(), NoError);
    EXPECT_EQ(host->RunInitialize(), GSErrCode(0x81060012u));
    EXPECT_EQ(host->Session().menuHandlers.size(), 5u);
}

TEST_F(EntryPointsTest, FailedNotificationEndsInitializeAndKeepsEarlierRegistrations) {
    ASSERT_TRUE(host->FailCall("Notify_CatchProjectEvent", -1, GSErrCode(0x81060020u)));
    ASSERT_TRUE(host->Attach());
    ASSERT_EQ(host->RunCheckEnvironment(), APIAddon_Normal);
    ASSERT_EQ(host->RunRegisterInterface(), NoError);
    EXPECT_EQ(host->RunInitialize(), GSErrCode(0x81060020u));
    EXPECT_EQ(host->Session().menuHandlers.size(), 7u);
    EXPECT_NE(host->Session().newElementHandler, nullptr);
    EXPECT_TRUE(host->Session().newElementAllTypes);
    EXPECT_NE(host->Session().elementObserver, nullptr);
    EXPECT_EQ(host->Session().toolChangeHandler, nullptr);
}

TEST_F(EntryPointsTest, NotificationsOnSuccess) {
    ASSERT_TRUE(host->Load());
    EXPECT_EQ(host->Session().projectEventMask, -1);
    EXPECT_EQ(host->Session().newElementHandler, host->Session().elementObserver);
    GSErrCode result = APIERR_GENERAL;
    ASSERT_TRUE(host->SendToolChange(API_ToolBoxItem{}, &result));
    EXPECT_EQ(result, NoError);
    EXPECT_EQ(CountReports("call: ResetToolInput"), 1);
    ASSERT_TRUE(host->SendProjectEvent(4, 0, &result));
    EXPECT_EQ(result, NoError);
}

TEST_F(EntryPointsTest, SuitePresenceWritesTheMarkerAndReleaseDeletesIt) {
    host->Settings().suitePresent = true;
    ASSERT_TRUE(host->Load());
    std::vector<HostConfig::Entry> entries;
    std::string error;
    ASSERT_TRUE(HostConfig::ReadFile(UserFile(kMarker), &entries, &error)) << error;
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].key, "Korvane Loaded");
    EXPECT_EQ(entries[0].value, "TRUE");
    ASSERT_TRUE(host->Release());
    EXPECT_FALSE(Exists(kMarker));
}

TEST_F(EntryPointsTest, NoSuiteWritesNoMarker) {
    ASSERT_TRUE(host->Load());
    EXPECT_FALSE(Exists(kMarker));
}

TEST_F(EntryPointsTest, FreeDataWithThePaletteNeverOpened) {
    ASSERT_TRUE(host->Load());
    PaletteSuspended = 0;
    Touch(kMarker);
    SOSIObjectSettingsRecord().style = QV_String("POLYGON");  // what a SOSI import run left
    host->ClearModuleReports();
    EXPECT_EQ(host->RunFreeData(), NoError);
    EXPECT_EQ(PaletteSuspended, 1);
    EXPECT_FALSE(Exists(kMarker));
    EXPECT_EQ(SOSIObjectSettingsRecord().style, QV_String("POLYLINE"));  // the import defaults again
    EXPECT_TRUE(host->ModuleReports().empty());
    EXPECT_TRUE(DGDriver::Log().empty());
}

TEST_F(EntryPointsTest, MenuHandlersKeepTheModuleAndAnswerZero) {
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
    ASSERT_TRUE(host->Load());
    EXPECT_FALSE(host->Session().keepInMemory);
    GSErrCode result = APIERR_GENERAL;
    ASSERT_TRUE(host->ChooseMenu(32501, 3, &result));
    EXPECT_EQ(result, NoError);
    EXPECT_TRUE(host->Session().keepInMemory);
    ASSERT_FALSE(DGDriver::Log().empty());
    EXPECT_EQ(DGDriver::Log().back().id, 32529);  // the about box
    // Only the registered menu can be chosen.
    EXPECT_FALSE(host->ChooseMenu(32503, 1));
}

// A module loaded again, or in the same process after another project, starts where a freshly loaded module does:
// whatever the last session left in the module's memory is gone once the host has released it.
TEST_F(EntryPointsTest, ReleaseBringsTheModulesMemoryBackToItsStart) {
    ASSERT_TRUE(host->Load());
    const Settings fresh;
    ElementWritten = 1;
    PendingUpdate.mode = 3;
    PlateauLibIndex = 7;
    GlobalSettings.treeFromPart = 0;
    GlobalSettings.road.cutExtension = 12.5;
    LanguageIndex = 3;
    XYZButtonState = 0;
    SelectionCheckResult = 5;
    ASSERT_TRUE(host->Release());
    EXPECT_EQ(ElementWritten, 0);
    EXPECT_EQ(PendingUpdate.mode, PendingModelUpdate().mode);
    EXPECT_EQ(PlateauLibIndex, -1);
    EXPECT_EQ(GlobalSettings.treeFromPart, 1);
    EXPECT_EQ(GlobalSettings.road.cutExtension, fresh.road.cutExtension);
    EXPECT_EQ(LanguageIndex, LanguageEnglish);
    EXPECT_EQ(XYZButtonState, 1);
    EXPECT_EQ(SelectionCheckResult, 0);
    EXPECT_EQ(PreparedSectionRoad(), APINULLGuid);
}

}  // namespace entry_points_test
