// The add-on menu and the library-part lookup in an in-process host: the folder request and its alert, the
// first command's language step, the language dialog, the palette item, and opening documents with the shell.
#include "InProcessHost.hpp"
#include "DGDriver.hpp"
#include "Win32Driver.hpp"
#include "elements/BaseLP.hpp"
#include "elements/LayerHelpers.hpp"
#include "elements/LocalizatorLP.hpp"
#include "elements/ParamIndexes.hpp"
#include "foundation/FileUtils.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "settings/Settings.hpp"
#include "shell/AddOnLibraries.hpp"
#include "shell/MenuCommands.hpp"
#include "shell/ToolsPalette.hpp"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <vector>

namespace menu_commands_test {

class MenuCommandsTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        Win32Driver::ClearShellExecuteCalls();
        Win32Driver::SetShellExecuteResult(42);
        FirstMenuCommand = 1;  // one process runs several tests: each starts as the module does at load
        ASSERT_TRUE(host->Load());
        host->ClearModuleReports();
    }
    void TearDown() override {
        Win32Driver::SetShellExecuteResult(42);
        InProcessHostTest::TearDown();
    }
    void LoadShippedLibrary() {
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
    }
    std::vector<DGDriver::LogRecord> Records(const std::string& kind) const {
        std::vector<DGDriver::LogRecord> out;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.kind == kind) out.push_back(r);
        return out;
    }
    // How many times the about box was shown.
    size_t AboutBoxes() const {
        size_t n = 0;
        for (const DGDriver::LogRecord& r : Records("modal")) n += r.id == 32529 ? 1 : 0;
        return n;
    }
    // The language number the localisation part carries, as the library's scripts read it.
    int16_t StampedLanguage() {
        GSHandle params = nullptr;
        const int32_t part = host->Project().libraries.FindByName("VY3_Localizator", 0);
        EXPECT_TRUE(BaseLP::GetLibPartParams(part, &params, nullptr, nullptr, nullptr));
        LocalizatorLP view;
        view.Attach(params, false);
        int16_t number = -1;
        EXPECT_TRUE(view.GetSetShort(LocalizatorParam::Language, number, LPMode_Get));
        view.Detach();
        ReleaseParamRecords(&params);
        return number;
    }
    // Index of the first report line equal to `text`, or -1.
    int ReportIndex(const std::string& text) const {
        const auto& lines = host->ModuleReports();
        const auto it = std::find(lines.begin(), lines.end(), text);
        return it == lines.end() ? -1 : int(it - lines.begin());
    }
};

TEST_F(MenuCommandsTest, MissingLibraryEndsInTheAlertWithoutTitle) {
    int32_t index = 7;
    EXPECT_FALSE(FindLibPartOrAsk(QV_String("VY_PREFS"), index, true, QV_String(), 4));
    EXPECT_EQ(index, -1);
    const auto folders = Records("folder");
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].title, "Lodravix: Library Selection");
    EXPECT_EQ(folders[0].result, 0);
    const auto alerts = Records("alert");
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].title, "");
    ASSERT_FALSE(alerts[0].texts.empty());
    EXPECT_EQ(alerts[0].texts[0], "Attention: Library not loaded.");
    EXPECT_TRUE(host->Project().libraries.Folders().empty());  // the host cannot name the module's folder here

    // Silent when asked so; the caller's own message otherwise.
    EXPECT_FALSE(FindLibPartOrAsk(QV_String("VY_PREFS"), index, false, QV_String(), 4));
    EXPECT_EQ(Records("alert").size(), 1u);
    EXPECT_FALSE(FindRoadLibPartOrAsk(QV_String("VY_ROAD"), index, true, QV_String("No road part"), 4));
    EXPECT_EQ(Records("alert").back().texts[0], "No road part");
    EXPECT_TRUE(host->Project().libraries.Folders().empty());
}

TEST_F(MenuCommandsTest, FolderAnswerLoadsTheLibraryAndTheSearchSucceeds) {
    // The folder as the user's dialog gives it, with a trailing separator.
    DGDriver::QueueFolderAnswer(TestSupport::BinDir() + "/library/");
    int32_t index = -1;
    EXPECT_TRUE(FindLibPartOrAsk(QV_String("VY_PREFS"), index, true, QV_String(), 4));
    EXPECT_GT(index, 0);
    EXPECT_EQ(Records("alert").size(), 0u);
    EXPECT_EQ(SearchLibPartByName(QV_String("vy_prefs.gsm"), 4), index);  // extension cut, case ignored
    EXPECT_EQ(SearchLibPartByName(QV_String("VY_PREFS"), 11), -1);        // not a picture
    EXPECT_EQ(SearchLibPartByName(QV_String(std::string(200, 'V').c_str()), 4), -1);
    EXPECT_EQ(SearchLibPartByName(QV_String(""), 4), -1);
    // Found at once: no further folder request.
    EXPECT_TRUE(FindLibPartOrAsk(QV_String("VY3_Localizator"), index, true, QV_String(), 4));
    EXPECT_EQ(Records("folder").size(), 1u);
}

TEST_F(MenuCommandsTest, ARefusedSearchIsNoMissingPartAtAnyStepOfTheLookup) {
    LoadShippedLibrary();
    int32_t index = -1;
    ASSERT_EQ(LookUpLibPart(QV_String("VY_PREFS"), 4, index), LibPartLookup::Found);
    EXPECT_EQ(LookUpLibPart(QV_String("NO_SUCH_PART"), 4, index), LibPartLookup::Missing);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(FindLibPartWithoutAsking(QV_String("NO_SUCH_PART"), index, 4, true), LibPartLookup::Missing);
    // The search refused at once, or only after the add-on's libraries were loaded for a missing part: the lookup
    // ends with the refusal, asks for no folder, and the alert says the search failed.
    for (int32_t passes = 0; passes < 2; ++passes) {
        const QV_String name(passes == 0 ? "VY_PREFS" : "NO_SUCH_PART");
        const size_t alerts = Records("alert").size(), folders = Records("folder").size();
        ASSERT_TRUE(host->FailCallAfter("LibPart_Search", -1, APIERR_GENERAL, passes));
        EXPECT_EQ(FindLibPartWithoutAsking(name, index, 4, true), LibPartLookup::Refused) << passes;
        EXPECT_EQ(index, -1);
        host->ClearFailures();
        ASSERT_TRUE(host->FailCallAfter("LibPart_Search", -1, APIERR_GENERAL, passes));
        LibPartLookup outcome = LibPartLookup::Found;
        EXPECT_FALSE(FindLibPartOrAsk(name, index, true, QV_String("No part"), 4, &outcome)) << passes;
        host->ClearFailures();
        EXPECT_EQ(outcome, LibPartLookup::Refused);
        EXPECT_EQ(index, -1);
        EXPECT_EQ(Records("folder").size(), folders);
        ASSERT_EQ(Records("alert").size(), alerts + 1);
        EXPECT_EQ(Records("alert").back().texts[0], "Error while finding data.");
        // Silent when asked so, the refusal still told apart.
        ASSERT_TRUE(host->FailCallAfter("LibPart_Search", -1, APIERR_GENERAL, passes));
        EXPECT_FALSE(FindRoadLibPartOrAsk(name, index, false, QV_String(), 4, &outcome));
        host->ClearFailures();
        EXPECT_EQ(outcome, LibPartLookup::Refused);
        EXPECT_EQ(Records("alert").size(), alerts + 1);
    }
}

TEST_F(MenuCommandsTest, AskLibraryFolderTitlesAndRefusals) {
    DGDriver::QueueFolderAnswer(TestSupport::BinDir() + "/resources");  // holds no library: refused
    EXPECT_FALSE(AskLibraryFolder(QV_String("Pick"), false));
    EXPECT_EQ(Records("folder").back().title, "Pick");
    EXPECT_FALSE(AskLibraryFolder(QV_String("Pick"), true));  // nothing queued: cancelled
    EXPECT_EQ(Records("folder").back().title, "Lodravix: Pick");
    EXPECT_TRUE(host->Project().libraries.Folders().empty());
    EXPECT_TRUE(host->Errors().empty());
}

TEST_F(MenuCommandsTest, EveryCommandAsksAgainWhileTheLibraryIsMissing) {
    ASSERT_TRUE(host->ChooseMenu(32501, 3));
    ASSERT_TRUE(host->ChooseMenu(32501, 3));
    EXPECT_EQ(Records("folder").size(), 2u);
    EXPECT_EQ(Records("alert").size(), 2u);
    EXPECT_FALSE(host->Session().keepInMemory);
    EXPECT_EQ(AboutBoxes(), 0u);
}

TEST_F(MenuCommandsTest, FirstCommandAppliesTheLanguageEvenForTheAboutBox) {
    LoadShippedLibrary();
    ASSERT_TRUE(host->ChooseMenu(32501, 3));
    EXPECT_EQ(StampedLanguage(), 2);
    EXPECT_EQ(AboutBoxes(), 1u);
    EXPECT_EQ(GISSubtypeParamCount, 7);  // the shipped GIS subtype part: outline, base height, language, flag, sizes
    host->ClearModuleReports();
    ASSERT_TRUE(host->ChooseMenu(32501, 3));
    EXPECT_EQ(AboutBoxes(), 2u);
    // An item the menu does not have does nothing more.
    host->ClearModuleReports();
    ASSERT_TRUE(host->ChooseMenu(32501, 9));
    EXPECT_TRUE(host->ModuleReports().empty());
}

TEST_F(MenuCommandsTest, CancelledLanguageChoiceChangesNothing) {
    LoadShippedLibrary();
    ASSERT_TRUE(host->ChooseMenu(32501, 3));  // the first command's language step is behind us
    host->ClearModuleReports();
    DGDriver::QueuePickListRow(32734, 3, 4);
    DGDriver::QueueClick(32734, 2);
    ASSERT_TRUE(host->ChooseMenu(32501, 2));
    EXPECT_EQ(host->Session().menuItemTexts.at({int16_t(32501), int16_t(2)}), "Language");
    EXPECT_EQ(StampedLanguage(), 2);
    EXPECT_FALSE(Exists("Brenmaro.cfg"));
    EXPECT_EQ(LanguageIndex, 1);

    DGDriver::QueuePickListRow(32734, 3, 3);  // French
    ASSERT_TRUE(host->ChooseMenu(32501, 2));
    // The menu speaks the new language.
    EXPECT_EQ(host->Session().menuItemTexts.at({int16_t(32501), int16_t(2)}), "Langue");
    EXPECT_EQ(LanguageIndex, 2);
    EXPECT_EQ(StampedLanguage(), 3);  // the localisation part speaks it too
}

TEST_F(MenuCommandsTest, PaletteItemCreatesThenToggles) {
    LoadShippedLibrary();
    GlobalSettings.Reset();
    ASSERT_TRUE(host->ChooseMenu(32501, 1));
    // The operators' layer is there with its flags before any tool runs.
    API_Attribute layer = {};
    ASSERT_TRUE(ReadLayerByName(QV_String("VY_Operators"), &layer));
    EXPECT_EQ(layer.header.flags, OperatorLayerCreationFlags);
    // The settings store is filled (no mirror file yet: the built-in defaults).
    EXPECT_EQ(GlobalSettings.terrain.name, QV_String("TERRAIN"));
    EXPECT_EQ(GlobalSettings.road.resolution, 6);
    EXPECT_TRUE(DGIsModelessDialogVisible(32400));
    EXPECT_EQ(host->Session().menuItemTexts.at({int16_t(32501), int16_t(1)}), "Hide Lodravix Palette");
    // Again: the open palette hides and shows, it is not built anew.
    host->ClearModuleReports();
    ASSERT_TRUE(host->ChooseMenu(32501, 1));
    EXPECT_TRUE(DGIsDialogOpen(32400));
    EXPECT_FALSE(DGIsModelessDialogVisible(32400));
    EXPECT_EQ(host->Session().menuItemTexts.at({int16_t(32501), int16_t(1)}), "Show Lodravix Palette");
    ASSERT_TRUE(host->ChooseMenu(32501, 1));
    EXPECT_TRUE(DGIsModelessDialogVisible(32400));
}

// The palette item with a host call refused on its way: the palette that cannot be built says so and the next
// choice builds it; refused reads of the add-on's parts or the tools' defaults are told, the palette opening all
// the same. Never a silent command.
TEST_F(MenuCommandsTest, APaletteThatCannotOpenOrReadItsDefaultsSaysWhy) {
    LoadShippedLibrary();
    ASSERT_TRUE(host->ChooseMenu(32501, 3));  // the first command's setup done
    host->ClearModuleReports();
    const auto alerts = [this] {
        std::vector<std::string> out;
        for (const DGDriver::LogRecord& r : Records("alert")) out.push_back(r.texts.empty() ? "" : r.texts[0]);
        return out;
    };
    ASSERT_TRUE(host->FailCall("GetOwnResModule", -1, APIERR_GENERAL));
    ASSERT_TRUE(host->ChooseMenu(32501, 1));
    host->ClearFailures();
    EXPECT_FALSE(DGIsDialogOpen(32400));
    // Without its resource module the module cannot read its own words either: the alert says a read failed.
    ASSERT_EQ(alerts().size(), 1u);
    EXPECT_EQ(alerts()[0], "Error while finding data.");
    ASSERT_TRUE(host->ChooseMenu(32501, 1));
    EXPECT_TRUE(DGIsModelessDialogVisible(32400));
    EXPECT_EQ(alerts().size(), 1u);
    // Each of its calls refused alone: the palette opens, or the user learns why not; once it is the window's.
    bool windowTold = false;
    for (int32_t n = 0; n < 40; ++n) {
        ToolsPalette().Close();
        const size_t before = alerts().size();
        ASSERT_TRUE(host->FailCallAfter("GetOwnResModule", -1, APIERR_GENERAL, n, 1));
        ASSERT_TRUE(host->ChooseMenu(32501, 1));
        host->ClearFailures();
        const bool open = DGIsDialogOpen(32400);
        EXPECT_TRUE(open || alerts().size() > before) << n;
        windowTold = windowTold || (!open && alerts().back().find("palette could not be opened") != std::string::npos);
    }
    EXPECT_TRUE(windowTold);

    // The menu's texts the host would not set, as the palette hides, or its window it would not register.
    ToolsPalette().Close();
    ASSERT_TRUE(host->ChooseMenu(32501, 1));
    ASSERT_TRUE(host->FailCall("Interface", -1, APIERR_GENERAL));
    ASSERT_TRUE(host->ChooseMenu(32501, 1));
    host->ClearFailures();
    EXPECT_NE(alerts().back().find("menu's texts could not be updated"), std::string::npos) << alerts().back();
    ToolsPalette().Close();
    const size_t beforeRegistration = alerts().size();
    ASSERT_TRUE(host->FailCall("RegisterModelessWindow", -1, APIERR_GENERAL));
    ASSERT_TRUE(host->ChooseMenu(32501, 1));
    host->ClearFailures();
    EXPECT_FALSE(DGIsDialogOpen(32400));
    ASSERT_GT(alerts().size(), beforeRegistration);
    EXPECT_NE(alerts().back().find("palette could not be opened"), std::string::npos) << alerts().back();

    for (const char* function : {"Goodies", "LibPart_Search"}) {
        ASSERT_TRUE(host->ChooseMenu(32501, 1));  // hidden
        ToolsPalette().Close();
        const size_t before = alerts().size();
        ASSERT_TRUE(host->FailCall(function, -1, APIERR_GENERAL));
        ASSERT_TRUE(host->ChooseMenu(32501, 1));
        host->ClearFailures();
        const std::vector<std::string> now = alerts();
        ASSERT_GT(now.size(), before) << function;
        EXPECT_NE(std::find(now.begin() + std::ptrdiff_t(before), now.end(), "Error while finding data."), now.end())
            << function;
    }
}

TEST_F(MenuCommandsTest, MenuParametersOfAnotherMenuAreIgnored) {
    LoadShippedLibrary();
    API_MenuParams params = {};
    params.menuItemRef.menuResID = 32502;
    params.menuItemRef.itemIndex = 3;
    MenuCommandHandler(&params, 32501);
    MenuCommandHandler(nullptr, 32501);
    EXPECT_FALSE(host->Session().keepInMemory);
    EXPECT_EQ(AboutBoxes(), 0u);
}

TEST_F(MenuCommandsTest, HostAnswersLibraryPartsByIdIndexAndParameters) {
    LoadShippedLibrary();
    const int32_t prefs = SearchLibPartByName(QV_String("VY_PREFS"), 4);
    ASSERT_GT(prefs, 0);
    API_LibPart part = {};
    part.index = prefs;
    IO::Location file;
    part.location = &file;
    ASSERT_EQ(ACAPI_LibPart_Get(&part), NoError);
    EXPECT_EQ(std::u16string(part.docu_UName), u"VY_PREFS");
    EXPECT_EQ(std::u16string(part.file_UName), u"VY_PREFS.lpd");
    EXPECT_EQ(part.typeID, 4);
    EXPECT_TRUE(IO::FileSystem::IsFile(file));

    API_LibPart byId = {};
    std::string id = part.ownUnID;
    for (char& c : id) c = char(std::tolower(static_cast<unsigned char>(c)));
    std::copy(id.begin(), id.end(), byId.ownUnID);
    ASSERT_EQ(ACAPI_LibPart_Search(&byId), NoError);
    EXPECT_EQ(byId.index, prefs);
    API_LibPart none = {};
    std::copy(id.begin(), id.end() - 2, none.ownUnID);
    EXPECT_EQ(ACAPI_LibPart_Search(&none), APIERR_BADNAME);
    EXPECT_EQ(none.index, -1);
    none.index = 99;
    EXPECT_EQ(ACAPI_LibPart_Get(&none), APIERR_BADINDEX);

    double a = 0, b = 0;
    int32_t count = 0;
    GSHandle params = nullptr;
    ASSERT_EQ(ACAPI_LibPart_GetParams(prefs, &a, &b, &count, &params), NoError);
    EXPECT_EQ(count, 216);
    EXPECT_EQ(a, 1.0);
    EXPECT_EQ(BMGetHandleSize(params), GSSize(216 * sizeof(API_AddParType)));
    DisposeParamHandle(&params);
    EXPECT_EQ(ACAPI_LibPart_GetParams(0, &a, &b, &count, &params), APIERR_BADINDEX);
}

// ---- shell ----

class ShellOpenTest : public MenuCommandsTest {
protected:
    std::string MakeFile(const std::string& relative) {
        const std::string path = TestSupport::UserFolder() + "/" + relative;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path) << "doc";
        return path;
    }
};

TEST_F(ShellOpenTest, OpensAnExistingFileAndReportsTheShellsAnswer) {
    const std::string path = MakeFile("manual.pdf");
    EXPECT_TRUE(OpenFileWithShell(QV_String(path.c_str())));
    auto calls = Win32Driver::ShellExecuteCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].operation, "open");
    EXPECT_EQ(calls[0].file, path);
    EXPECT_EQ(calls[0].showCommand, 1);
    EXPECT_FALSE(calls[0].hasWindow);

    Win32Driver::SetShellExecuteResult(2);  // "file not found" from the shell
    EXPECT_FALSE(OpenFileWithShell(QV_String(path.c_str())));
    EXPECT_FALSE(OpenFileWithShell(QV_String((path + ".missing").c_str())));
    EXPECT_EQ(Win32Driver::ShellExecuteCalls().size(), 2u);  // no call for the missing file
}

TEST_F(ShellOpenTest, NeverOpensAnotherPathThanTheOneChecked) {
    // A path of 400 characters: cutting it would name another file, so it is not handed over at all.
    std::string relative;
    while ((TestSupport::UserFolder() + "/" + relative).size() < 380) relative += std::string(50, 'd') + "/";
    std::string path = TestSupport::UserFolder() + "/" + relative;
    path = MakeFile(relative + std::string(400 - path.size(), 'f'));
    ASSERT_EQ(path.size(), 400u);
    ASSERT_TRUE(FileExists(QV_String(path.c_str())));
    EXPECT_FALSE(OpenFileWithShell(QV_String(path.c_str())));
    // A name the system code page cannot write would reach the shell as another name.
    const std::string cyrillic = MakeFile("\xD0\xB4\xD0\xBE\xD0\xBA.txt");
    ASSERT_TRUE(FileExists(QV_String(cyrillic.c_str(), 0, Encoding_UTF8)));
    EXPECT_FALSE(OpenFileWithShell(QV_String(cyrillic.c_str(), 0, Encoding_UTF8)));
    EXPECT_TRUE(Win32Driver::ShellExecuteCalls().empty());
    // 319 characters still go.
    std::string edge = TestSupport::UserFolder() + "/" + relative.substr(0, 51);
    edge = MakeFile(relative.substr(0, 51) + std::string(319 - edge.size(), 'e'));
    ASSERT_EQ(edge.size(), 319u);
    EXPECT_TRUE(OpenFileWithShell(QV_String(edge.c_str())));
}

}  // namespace menu_commands_test
