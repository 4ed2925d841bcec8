// The manuals beside the add-on file: the path for each language and its fallback, opening with the shell (which
// only records), the alert for a missing manual, and the help dialog that stays open after one.
#include "ProjectHost.hpp"
#include "DGDriver.hpp"
#include "Win32Driver.hpp"
#include "foundation/Documentation.hpp"
#include "foundation/Language.hpp"

#include <filesystem>
#include <fstream>
#include <string>

namespace documentation_test {

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class DocumentationTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        Win32Driver::ClearShellExecuteCalls();
        std::filesystem::create_directories(UserFile("addon/Documentation"));
        host->Settings().moduleFile = UserFile("addon/liblodravix.so");
    }
    void TearDown() override {
        LanguageIndex = LanguageEnglish;
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
    void Manual(const std::string& file) { std::ofstream(UserFile("addon/Documentation/" + file)) << "%PDF-1.4\n"; }
    std::string Path(int16_t language, int16_t n1, int16_t n2, const char* suffix = "") {
        LanguageIndex = language;
        QV_String path;
        GetDocumentationPath(path, QV_String("Lodravix"), n1, n2, QV_String(suffix));
        return path.ToStdString();
    }
};

TEST_F(DocumentationTest, PathPerLanguageFallsBackToTheInternationalManual) {
    Manual("GER_Lodravix_21.pdf");
    EXPECT_TRUE(EndsWith(Path(3, 2, 1), "\\addon\\Documentation\\GER_Lodravix_21.pdf")) << Path(3, 2, 1);
    // Missing in French: the international file, whether it exists or not.
    EXPECT_TRUE(EndsWith(Path(2, 2, 1), "\\Documentation\\INT_Lodravix_21.pdf"));
    // Every index outside 0 to 5 is Russian; Japanese is "JPN_".
    Manual("JPN_Lodravix.pdf");
    Manual("RUS_Lodravix_7.pdf");
    EXPECT_TRUE(EndsWith(Path(5, -1, -1), "\\JPN_Lodravix.pdf"));
    EXPECT_TRUE(EndsWith(Path(9, 7, -1), "\\RUS_Lodravix_7.pdf"));
    EXPECT_TRUE(EndsWith(Path(6, -1, 4, "_x"), "\\INT_Lodravix4_x.pdf"));
    EXPECT_TRUE(EndsWith(Path(1, 2, 1), "\\INT_Lodravix_21.pdf"));

    // Without the add-on's location the folder is "Documentation" alone.
    host->Settings().moduleFile.clear();
    EXPECT_EQ(Path(1, -1, -1), "Documentation\\INT_Lodravix.pdf");
}

TEST_F(DocumentationTest, MissingManualAlertsAndAnExistingOneIsHandedToTheShell) {
    LanguageIndex = 3;
    OpenDocumentation(nullptr, QV_String("Lodravix"), 2, 1, QV_String("Unknown document!"), QV_String(": "));
    ASSERT_EQ(DGDriver::Log().size(), 1u);
    EXPECT_EQ(DGDriver::Log()[0].kind, "alert");
    ASSERT_FALSE(DGDriver::Log()[0].texts.empty());
    EXPECT_EQ(DGDriver::Log()[0].texts[0], "Error: unknown document!");
    EXPECT_TRUE(Win32Driver::ShellExecuteCalls().empty());

    Manual("INT_Lodravix_21.pdf");
    OpenDocumentation(nullptr, QV_String("Lodravix"), 2, 1, QV_String("Unknown document!"), QV_String(": "));
    EXPECT_EQ(DGDriver::Log().size(), 1u);
    ASSERT_EQ(Win32Driver::ShellExecuteCalls().size(), 1u);
    EXPECT_TRUE(EndsWith(Win32Driver::ShellExecuteCalls()[0].file, "INT_Lodravix_21.pdf"));
}

TEST_F(DocumentationTest, HelpDialogStaysOpenAfterAMissingManual) {
    LanguageIndex = LanguageEnglish;
    DGDriver::QueueClick(HelpDialogId, 3);
    DGDriver::QueueClick(HelpDialogId, 2);
    EXPECT_EQ(ShowHelpDialog(QV_String("Lodravix"), QV_String("C:\\nowhere\\INT_Lodravix_21.pdf"), 0, QV_String(""),
                             QV_String(""), QV_String(""), 0, 0, QV_String("Version: 1")),
              2);
    ASSERT_EQ(DGDriver::Log().size(), 2u);
    EXPECT_EQ(DGDriver::Log()[0].kind, "alert");
    EXPECT_EQ(DGDriver::Log()[0].texts[0], "Error: unknown document!");
    const DGDriver::LogRecord& help = DGDriver::Log()[1];
    EXPECT_EQ(help.title, "Help Lodravix");
    EXPECT_EQ(help.clientWidth, 400);
    EXPECT_EQ(help.clientHeight, 436);
    for (const DGDriver::ItemState& item : help.items) {
        EXPECT_EQ(item.visible, item.id < 4 || item.id > 6) << item.id;
        if (item.id == 7) {
            EXPECT_EQ(item.image, 32767);
        }
        if (item.id == 8) {
            EXPECT_EQ(item.text, "Version: 1");
        }
    }

    Manual("INT_Lodravix_21.pdf");
    QV_String path;
    GetDocumentationPath(path, QV_String("Lodravix"), 2, 1, QV_String(""));
    DGDriver::QueueClick(HelpDialogId, 3);
    DGDriver::QueueClick(HelpDialogId, 1);
    EXPECT_EQ(ShowHelpDialog(QV_String(""), path, 0, QV_String(""), QV_String(""), QV_String(""), 0, 0, QV_String("")),
              1);
    EXPECT_EQ(DGDriver::Log().back().title, "Help");
    EXPECT_EQ(Win32Driver::ShellExecuteCalls().size(), 1u);
}

// Words the resources cannot give, at any of their reads: the alert for the missing manual says that a read failed,
// and never shows the marker of a missing text inside its sentence.
TEST_F(DocumentationTest, AMissingManualWhoseWordsCannotBeReadTellsThatAReadFailed) {
    LanguageIndex = LanguageEnglish;
    bool toldUnread = false;
    for (int32_t passes = 0; passes < 8; ++passes) {
        DGDriver::ClearQueueAndLog();
        ASSERT_TRUE(host->FailCallAfter("GetOwnResModule", -1, APIERR_GENERAL, passes, -1));
        DGDriver::QueueClick(HelpDialogId, 3);
        DGDriver::QueueClick(HelpDialogId, 2);
        ShowHelpDialog(QV_String("Lodravix"), QV_String("C:\\nowhere\\INT_Lodravix_21.pdf"), 0, QV_String(""),
                       QV_String(""), QV_String(""), 0, 0, QV_String("Version: 1"));
        host->ClearFailures();
        for (const DGDriver::LogRecord& r : DGDriver::Log()) {
            if (r.kind != "alert") continue;
            ASSERT_FALSE(r.texts.empty());
            EXPECT_EQ(r.texts[0].find("_ERR_NO_"), std::string::npos) << passes << ": " << r.texts[0];
            toldUnread = toldUnread || r.texts[0] == "Error while finding data.";
        }
        DGDriver::Reset();
    }
    EXPECT_TRUE(toldUnread);
}

TEST_F(DocumentationTest, MessageTextNeedsBothPartsAndCasesTheName) {
    QV_String out("x");
    ComposeMessageText(out, QV_String(""), true, QV_String(": "), true);
    EXPECT_TRUE(out.IsEmpty());
    ComposeMessageText(out, QV_String("name"), true, QV_String(""), true);
    EXPECT_TRUE(out.IsEmpty());
    ComposeMessageText(out, QV_String("missing file"), false, QV_String(" - "), false);
    EXPECT_EQ(out.ToStdString(), "Warning - Missing file");
}

}  // namespace documentation_test
