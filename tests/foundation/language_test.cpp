// Localised texts, the language index, the alerts and the language dialog, through the in-process host and
// the dialog manager's driver.
#include "config/HostConfigFile.hpp"
#include "TestSupport.hpp"
#include "foundation/ErrorCode.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/Alert.hpp"
#include "foundation/Config.hpp"
#include "foundation/Language.hpp"
#include "foundation/LanguageDialog.hpp"

#include "DGDriver.hpp"
#include "IODriver.hpp"
#include "IO.hpp"
#include "Resources.hpp"
#include "StandinHost.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

namespace language_test {

namespace fs = std::filesystem;

// The stored form of a configuration text (the host's own codec).
std::string Swap(std::string bytes) {
    HostConfig::SwapNibbles(bytes);
    return bytes;
}

std::string Utf8(const QV_String& s) { return s.ToStdString(Encoding_UTF8); }

std::string Text(int32_t id, int32_t index) {
    QV_String out;
    return Utf8(GetResString(out, id, index));
}

// The host with the module in-process; the module's resources come from `moduleDir`/resources.
class HostedTest : public ::testing::Test {
protected:
    void StartHost(const std::string& moduleDir) {
        folder_ = TestSupport::UserFolder();
        HostSettings settings;
        settings.moduleDir = moduleDir;
        settings.userFolder = folder_;
        host_ = std::make_unique<StandinHost>(settings);
        host_->UseInProcess(ModuleExports{&GetExportedFuncAddrs, &SetImportedFuncAddrs});
        ASSERT_TRUE(host_->Attach());
        ASSERT_NE(ACAPI_GetOwnResModule(), InvalidResModule);
        ResetConfigCaches();
        LanguageIndex = LanguageEnglish;
        DGDriver::Reset();
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::Errors().front();
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        DGDriver::Reset();
        IODriver::ClearFailures();
        ResetConfigCaches();
        LanguageIndex = LanguageEnglish;
        host_.reset();
    }

    std::string SharedPath() const { return folder_ + "/Brenmaro.cfg"; }
    void WriteShared(const std::string& text) const { std::ofstream(SharedPath(), std::ios::binary) << Swap(text); }
    std::string ReadShared() const {
        std::ifstream in(SharedPath(), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return Swap(out.str());
    }

    std::string folder_;
    std::unique_ptr<StandinHost> host_;
};

// Small tables of our own, to see the fallbacks at work.
class TextFallbackTest : public HostedTest {
protected:
    void SetUp() override {
        moduleDir_ = TestSupport::UserFolder() + "/module-texts";
        fs::remove_all(moduleDir_);
        fs::create_directories(moduleDir_ + "/resources/STRS");
        Table(32521, "1=Memory\n54=Error\n200=Only in English\n9=\n10=two\\nlines\n");
        Table(32523, "1=Speicher\n54=Fehler\n");
        Table(32711, "5=Cancel\n7=Help\n64=OK\n");
        Table(32713, "5=Abbrechen\n64=OK\n");
        Table(32710, "5=Annulla\n");
        StartHost(moduleDir_);
    }
    void Table(int32_t id, const std::string& body) const {
        std::ofstream(moduleDir_ + "/resources/STRS/" + std::to_string(id) + ".txt") << body;
    }
    std::string moduleDir_;
};

class LanguageTest : public HostedTest {
protected:
    void SetUp() override {
        fs::remove(TestSupport::UserFolder() + "/Brenmaro.cfg");
        StartHost(TestSupport::BinDir());
    }
    const DGDriver::LogRecord* LastOf(const std::string& kind) const {
        const auto& log = DGDriver::Log();
        for (auto it = log.rbegin(); it != log.rend(); ++it)
            if (it->kind == kind) return &*it;
        return nullptr;
    }
    static const DGDriver::ItemState* Item(const DGDriver::LogRecord& record, int16_t id) {
        for (const auto& item : record.items)
            if (item.id == id) return &item;
        return nullptr;
    }
};

TEST_F(TextFallbackTest, MissingEntriesFallBackToEnglishThenToTheMark) {
    LanguageIndex = 3;
    EXPECT_EQ(Text(32523, 1), "Speicher");
    EXPECT_EQ(Text(32523, 200), "Only in English");
    EXPECT_EQ(Text(32523, 999), "_ERR_NO_");
    // A missing table falls back as a missing entry does.
    LanguageIndex = 4;
    EXPECT_EQ(Text(32524, 54), "Error");
    // Common tables fall back to English too, except when English is current (nothing else to try).
    LanguageIndex = 3;
    EXPECT_EQ(Text(32713, 5), "Abbrechen");
    EXPECT_EQ(Text(32713, 7), "Help");
    LanguageIndex = 1;
    EXPECT_EQ(Text(32711, 7), "Help");
    EXPECT_EQ(Text(32711, 999), "_ERR_NO_");
    LanguageIndex = 0;
    EXPECT_EQ(Text(32710, 5), "Annulla");
    EXPECT_EQ(Text(32710, 64), "OK");
}

TEST_F(TextFallbackTest, EntriesAreCopiedAsTheyAre) {
    // An empty entry is an entry, not a missing one; a line break is one line feed.
    EXPECT_EQ(Text(32521, 9), "");
    EXPECT_EQ(Text(32521, 10), "two\nlines");
    QV_String out("old");
    GetResString(out, 32521, 9);
    EXPECT_TRUE(out.HasBuffer());
    EXPECT_EQ(out.GetLength(), 0u);
}

TEST_F(TextFallbackTest, TextsForAGivenLanguageLeaveTheIndexAlone) {
    QV_String out;
    EXPECT_EQ(Utf8(GetResStringForLanguage(out, 32713, 5, 3)), "Abbrechen");
    EXPECT_EQ(Utf8(GetResStringForLanguage(out, 32713, 7, 3)), "Help");
    EXPECT_EQ(Utf8(GetResStringForLanguage(out, 32523, 200, 3)), "Only in English");
    EXPECT_EQ(LanguageIndex, LanguageEnglish);
}

TEST_F(LanguageTest, ShippedResourcesLoadCleanlyAndCarryEverySevenLanguages) {
    EXPECT_TRUE(host_->Errors().empty()) << host_->Errors().front();
    const GSResModule module = ACAPI_GetOwnResModule();
    const std::string codes[] = {"ita", "int", "fra", "ger", "spa", "jap", "rus"};
    for (int16_t lang = 0; lang < LanguageCount; ++lang) {
        SCOPED_TRACE(codes[lang]);
        EXPECT_EQ(Utf8(LanguageCodes[lang]), codes[lang]);
        GS::Array<GS::UniString> lines;
        ASSERT_TRUE(RSGetMenu(MenuResBase + lang, module, &lines));
        ASSERT_EQ(lines.GetSize(), 5u);
        EXPECT_EQ(lines[1].ToUtf8(), "Lodravix");
        EXPECT_NE(lines[2].ToUtf8().find("^E3^ES^32717"), std::string::npos);
        EXPECT_NE(lines[3].ToUtf8().find("^E3^ES^ED^EL"), std::string::npos);
        GS::UniString text;
        for (int32_t entry = 1; entry <= 4; ++entry)
            EXPECT_TRUE(RSGetIndString(&text, MenuTextTableBase + lang, entry, module)) << entry;
        for (int32_t entry : {5, 64, 65})
            EXPECT_TRUE(RSGetIndString(&text, CommonTableBase + lang, entry, module)) << entry;
        GS::UniString flag;
        EXPECT_TRUE(RSGetIcon(32758 + lang, module, &flag));
    }
    RSDialogLayout layout;
    ASSERT_TRUE(RSGetDialogLayout(32734, module, &layout));
    EXPECT_EQ(layout.clientWidth, 483);
    EXPECT_EQ(layout.clientHeight, 282);

    // The texts given for the English tables.
    EXPECT_EQ(Text(32511, 2), "Hide Lodravix Palette");
    EXPECT_EQ(Text(32521, 3),
              "The name of the source file does not include the extension .DXF  ... \nSelect another file.");
    EXPECT_EQ(Text(32521, 71), "The intervals defined are not congruent");
    EXPECT_EQ(Text(32541, 164), "ZidudORI Object (.GSM)");
    EXPECT_EQ(Text(32561, 2), "External command");
    EXPECT_EQ(Text(32581, 19) + "3" + Text(32581, 20), "Editing 3 entities");
    EXPECT_EQ(Text(32711, 65), "To enable the selected language, start ZidudORI again.");
}

TEST_F(LanguageTest, ErrorMessagesReachTheDialogManager) {
    ShowErrorMessage(ErrJustInsertLocator, AlertKind::Error);
    ShowErrorMessage(ErrSettings, AlertKind::Error);
    ShowErrorMessage(ErrNoTxtExtension, AlertKind::Error);
    const auto& log = DGDriver::Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].kind, "alert");
    EXPECT_EQ(log[0].id, -1);
    EXPECT_EQ(log[0].title, "Error");
    ASSERT_GE(log[0].texts.size(), 2u);
    EXPECT_EQ(log[0].texts[0], "Just insert the Coordinate Locator object!");
    EXPECT_EQ(log[0].texts[1], "");
    EXPECT_EQ(log[0].buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(log[1].texts[0], "Error while managing settings.");
    EXPECT_EQ(log[2].texts[0],
              "The name of the source file does not include the extension .TXT ... \nSelect another file.");

    ShowErrorMessage(ErrNotTheNeededObject, AlertKind::Error);
    EXPECT_EQ(DGDriver::Log().back().texts[0], "The selected object isn't the needed one!");

    // What the message concerns goes below it, filled into its template.
    ShowAlert(Alert(ErrUpdateFailed).Beneath(AlertText{ErrorTableBase, NotUpdatedText}).With(QV_String("East bridge")));
    EXPECT_EQ(DGDriver::Log().back().texts[0], "Error while modifying one or more objects.");
    EXPECT_EQ(DGDriver::Log().back().texts[1], "Left as they were: East bridge");
    // An alert, warning or note, whose text the resources could not give says only that a read failed, as an
    // error, and never shows the marker; a title alone unread leaves the message as it is.
    for (AlertKind kind : {AlertKind::Warning, AlertKind::Information}) {
        ShowAlertBox(kind, QV_String("_ERR_NO_"), QV_String("_ERR_NO_"), QV_String());
        EXPECT_EQ(DGDriver::Log().back().title, "Error");
        EXPECT_EQ(DGDriver::Log().back().texts[0], "Error while finding data.");
        EXPECT_EQ(DGDriver::Log().back().id, -1);
    }
    ShowAlertBox(AlertKind::Information, QV_String("_ERR_NO_"), QV_String("Export complete!"), QV_String());
    EXPECT_EQ(DGDriver::Log().back().title, "");
    EXPECT_EQ(DGDriver::Log().back().texts[0], "Export complete!");
    EXPECT_EQ(DGDriver::Log().back().id, 1);

    DGDriver::ClearQueueAndLog();
    ShowErrorMessage(0, AlertKind::Error);
    ShowErrorMessage(LastErrorCode + 1, AlertKind::Error);
    ShowErrorMessage(-5, AlertKind::Error);
    EXPECT_TRUE(DGDriver::Log().empty());
}

TEST_F(LanguageTest, AlertsUseTheCurrentLanguageAndFallBackToEnglish) {
    LanguageIndex = 4;
    ShowAlertBox(AlertKind::Error, QV_String(), QV_String("Message"), QV_String("Detail"));
    const auto* alert = LastOf("alert");
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title, "");
    EXPECT_EQ(alert->texts[0], "Message");
    EXPECT_EQ(alert->texts[1], "Detail");
    EXPECT_EQ(alert->buttons, std::vector<std::string>{"Aceptar"});
    // German error texts are not translated yet: the English ones are shown.
    LanguageIndex = 3;
    ShowErrorMessage(ErrSettings, AlertKind::Error);
    alert = LastOf("alert");
    EXPECT_EQ(alert->title, "Error");
    EXPECT_EQ(alert->texts[0], "Error while managing settings.");
}

TEST_F(LanguageTest, LoadLanguageFromTheSharedFile) {
    struct Case {
        const char* text;
        bool found;
        int16_t index;
    };
    const Case cases[] = {
        {"$Language_str: RUS\r\n", true, 6},
        {"$Language_str: ger\r\n", true, 3},
        {"$Language_str: xx\r\n", true, 1},
        {"$Language_str: ger \r\n", true, 1},
        {"$Language: 3\r\n", true, 3},
        {"$Language: 6\r\n", true, 1},
        {"$Language: -1\r\n", true, 1},
        {"$Language: abc\r\n", true, 1},
        {"$Language: 0\r\n$Language_str: spa\r\n", true, 4},
        {"$Other: 1\r\n", false, 1},
        {"", false, 1},
        {"garbled", false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        WriteShared(c.text);
        LanguageIndex = 2;
        EXPECT_EQ(LoadLanguage(true), c.found);
        EXPECT_EQ(LanguageIndex, c.index);
    }
    // Without the file: English.
    fs::remove(SharedPath());
    LanguageIndex = 5;
    EXPECT_FALSE(LoadLanguage(true));
    EXPECT_EQ(LanguageIndex, 1);
}

TEST_F(LanguageTest, DialogOkWithAnotherLanguageStoresIt) {
    WriteShared("$Other AddOn: 7\r\n");
    DGDriver::QueuePickListRow(32734, 3, 4);
    DGDriver::QueueClick(32734, 1);
    EXPECT_TRUE(ShowLanguageDialog());
    EXPECT_EQ(LanguageIndex, 3);
    EXPECT_EQ(ReadShared(), "$Other AddOn: 7\r\n$Language_str: ger\r\n");

    const auto* dialog = LastOf("modal");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->id, 32734);
    EXPECT_EQ(dialog->result, 1);
    EXPECT_EQ(dialog->title, "Lodravix");
    EXPECT_EQ(dialog->clientWidth, 483);
    EXPECT_EQ(dialog->clientHeight, 282);
    const auto* list = Item(*dialog, 3);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->rows.size(), 7u);
    for (size_t row = 0; row < 7; ++row) {
        EXPECT_EQ(list->rows[row].texts[0], "");
        EXPECT_EQ(list->rows[row].icons[0], int32_t(32758 + row));
    }
    EXPECT_EQ(list->rowHeight, 30);
    ASSERT_EQ(list->tabFields.size(), 1u);
    EXPECT_EQ(list->tabFields[0], std::make_pair(5, 285));
    EXPECT_EQ(list->selected, 4);
    // The caption and the note follow the picked row; OK keeps the language of the moment of opening.
    EXPECT_EQ(Item(*dialog, 1)->text, "OK");
    EXPECT_EQ(Item(*dialog, 2)->text, "Abbrechen");
    EXPECT_EQ(Item(*dialog, 6)->text, "Starten Sie ZidudORI neu, um die ausgewählte Sprache zu aktivieren.");

    // LoadLanguage reads the stored choice back.
    LanguageIndex = 1;
    EXPECT_TRUE(LoadLanguage(true));
    EXPECT_EQ(LanguageIndex, 3);
}

TEST_F(LanguageTest, DialogCancelAfterPickingKeepsEverything) {
    LanguageIndex = 2;
    DGDriver::QueuePickListRow(32734, 3, 7);
    DGDriver::QueueClick(32734, 2);
    EXPECT_FALSE(ShowLanguageDialog());
    EXPECT_EQ(LanguageIndex, 2);
    EXPECT_FALSE(fs::exists(SharedPath()));
    const auto* dialog = LastOf("modal");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->result, 2);
    // The dialog opened in French and previewed Russian; the global index never moved.
    EXPECT_EQ(Item(*dialog, 1)->text, "OK");
    EXPECT_EQ(Item(*dialog, 2)->text, "Отмена");
    EXPECT_EQ(Item(*dialog, 3)->selected, 7);
}

TEST_F(LanguageTest, DialogOkWithTheSameLanguageWritesNothing) {
    DGDriver::QueuePickListRow(32734, 3, 2);
    DGDriver::QueueClick(32734, 1);
    EXPECT_TRUE(ShowLanguageDialog());
    EXPECT_EQ(LanguageIndex, 1);
    EXPECT_FALSE(fs::exists(SharedPath()));
    // No action at all: the dialog manager clicks OK, the language stays.
    EXPECT_TRUE(ShowLanguageDialog(QV_String("Lodravix 20.1 (AC25) 2024-03-01")));
    EXPECT_EQ(LanguageIndex, 1);
    EXPECT_FALSE(fs::exists(SharedPath()));
    // The title is the product name; the version line stands in the dialog.
    EXPECT_EQ(LastOf("modal")->title, "Lodravix");
    const auto* versionLine = Item(*LastOf("modal"), 4);
    ASSERT_NE(versionLine, nullptr);
    EXPECT_EQ(versionLine->text, "Lodravix 20.1 (AC25) 2024-03-01");
}

TEST_F(LanguageTest, DialogOkThatCannotStoreTheChoiceReportsItAndChangesNothing) {
    // A shared file that cannot be read whole is never rewritten.
    WriteShared("$Other AddOn: 7\r\nbroken\r\n");
    DGDriver::QueuePickListRow(32734, 3, 1);
    DGDriver::QueueClick(32734, 1);
    EXPECT_FALSE(ShowLanguageDialog());
    EXPECT_EQ(LanguageIndex, 1);
    EXPECT_EQ(ReadShared(), "$Other AddOn: 7\r\nbroken\r\n");
    const auto* alert = LastOf("alert");
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title, "Error");
    EXPECT_EQ(alert->texts[0], "Error while managing settings.");
    EXPECT_EQ(LastOf("modal")->result, 2);

    // A file that cannot be written.
    WriteShared("$Other AddOn: 7\r\n");
    DGDriver::ClearQueueAndLog();
    IODriver::FailNextWrites(IO::ErrAccessDenied, 1, "Brenmaro");
    DGDriver::QueuePickListRow(32734, 3, 5);
    DGDriver::QueueClick(32734, 1);
    EXPECT_FALSE(ShowLanguageDialog());
    EXPECT_EQ(LanguageIndex, 1);
    EXPECT_EQ(ReadShared(), "$Other AddOn: 7\r\n");
    ASSERT_NE(LastOf("alert"), nullptr);
}

}  // namespace language_test
