// Saving a generated library part: the extension rule over many names, the active libraries the dialog offers
// (the embedded one first, "rfs" folders left out), and names that would leave the library folder.
#include "ProjectHost.hpp"
#include "DGDriver.hpp"
#include "foundation/Language.hpp"
#include "foundation/SaveLibraryPartDialog.hpp"

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace save_library_part_dialog_test {

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

TEST(SaveLibraryPartExtension, KeepsReplacesOrAppendsTheTypesExtension) {
    const struct {
        const char* path;
        const char* expected;
    } cases[] = {
        {"tree.GSM", "tree.GSM"},
        {"tree.txt", "tree.gsm"},
        {"tree", "tree.gsm"},
        {"tree.", "tree.gsm"},
        {"C:\\a.b\\tree", "C:\\a.b\\tree.gsm"},
        {"a.b.c", "a.b.gsm"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WithFileTypeExtension(QV_String(c.path), QV_String("gsm")).ToStdString(), c.expected) << c.path;

    // Over many names: the result ends in the extension after exactly one point, keeps the folder and the name
    // before its own extension, and a second application changes nothing.
    std::mt19937 rng(11);
    const std::string alphabet = "ab.X\\";
    for (int round = 0; round < 2000; ++round) {
        std::string path;
        const int n = int(rng() % 9);
        for (int i = 0; i < n; ++i) path += alphabet[rng() % alphabet.size()];
        const std::string once = WithFileTypeExtension(QV_String(path.c_str()), QV_String("gsm")).ToStdString();
        ASSERT_GE(once.size(), 4u) << path;
        EXPECT_EQ(Lower(once.substr(once.size() - 4)), ".gsm") << path;
        EXPECT_EQ(once.compare(0, path.rfind('\\') + 1, path, 0, path.rfind('\\') + 1), 0) << path;
        const std::string twice = WithFileTypeExtension(QV_String(once.c_str()), QV_String("gsm")).ToStdString();
        EXPECT_EQ(twice, once) << path;
    }
}

class SaveLibraryPartDialogTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        LanguageIndex = LanguageEnglish;
        // Beside the fixture's "lib": a library named "RFS" and the embedded one, which the host names.
        for (const char* name : {"RFS", "embedded"}) {
            const std::string folder = UserFile(name);
            std::filesystem::create_directory(folder);
            std::ofstream(folder + "/P_" + name + ".lpd")
                << "name = P_" << name << "\nguid = {3333333" << (name[0] == 'R' ? 3 : 4)
                << "-3333-3333-3333-333333333333}-{00000000-0000-0000-0000-000000000000}\ntype = object\n";
            std::string why;
            ASSERT_TRUE(host->AddLibraryFolder(folder, &why)) << why;
        }
        host->Project().view3D.saveLibrary = 2;
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
    static const DGDriver::ItemState& Item(const DGDriver::LogRecord& r, int16_t id) {
        for (const DGDriver::ItemState& s : r.items)
            if (s.id == id) return s;
        static DGDriver::ItemState none;
        ADD_FAILURE() << "no item " << id;
        return none;
    }
};

TEST_F(SaveLibraryPartDialogTest, SavesIntoTheChosenLibraryWithTheTypesExtension) {
    DGDriver::QueueSetText(SaveLibraryPartDialogId, 4, "oak.txt");
    DGDriver::QueuePickPopUpItem(SaveLibraryPartDialogId, 6, 2);
    DGDriver::QueueClick(SaveLibraryPartDialogId, 1);
    QV_String path;
    ASSERT_TRUE(AskSaveOnActiveLibraries(path));
    const std::string saved = path.ToStdString();
    EXPECT_TRUE(EndsWith(saved, "\\lib\\oak.gsm")) << saved;

    const DGDriver::LogRecord& r = DGDriver::Log().back();
    EXPECT_EQ(r.title, "Save as Library Part");
    const std::vector<std::string> libraries = {"Built-in Library", "lib"};
    EXPECT_EQ(Item(r, 6).popUpItems, libraries);
    EXPECT_EQ(Item(r, 10).popUpItems, std::vector<std::string>{"ZidudORI Object (.GSM) (*.gsm)"});

    // The embedded library is offered first; its folder is where "Built-in Library" saves.
    QV_List<QV_String> active;
    ASSERT_TRUE(GetActiveLibraries(active));
    ASSERT_EQ(active.GetCount(), 3);
    EXPECT_TRUE(EndsWith(active[0].ToStdString(), "\\embedded")) << active[0].ToStdString();
}

TEST_F(SaveLibraryPartDialogTest, NamesThatLeaveTheFolderKeepTheDialogOpen) {
    for (const char* name : {"..\\oak", "sub/oak", "..", "a\\b", ""}) {
        DGDriver::QueueSetText(SaveLibraryPartDialogId, 4, name);
        DGDriver::QueueClick(SaveLibraryPartDialogId, 1);
    }
    DGDriver::QueueClick(SaveLibraryPartDialogId, 2);
    QV_String path("unchanged");
    EXPECT_FALSE(AskSaveOnActiveLibraries(path));
    EXPECT_EQ(path.ToStdString(), "unchanged");
    EXPECT_EQ(DGDriver::Log().back().result, 2);
}

TEST_F(SaveLibraryPartDialogTest, ChangingTheTypeRenamesAndAHostWithoutLibrariesOnlyCancels) {
    QV_List<QV_Dialog_SaveOnActiveLibrariesType> types;
    QV_Dialog_SaveOnActiveLibrariesType a = {QV_String("Object"), QV_String("gsm")};
    QV_Dialog_SaveOnActiveLibrariesType b = {QV_String("Text"), QV_String("txt")};
    types.Insert(a, -1);
    types.Insert(b, -1);
    const QV_String initial("C:\\old\\pine.gsm\\");
    DGDriver::QueuePickPopUpItem(SaveLibraryPartDialogId, 10, 2);
    DGDriver::QueueClick(SaveLibraryPartDialogId, 1);
    QV_String path;
    ASSERT_TRUE(RunSaveOnActiveLibrariesDialog(path, types, &initial));
    EXPECT_TRUE(EndsWith(path.ToStdString(), "\\embedded\\pine.txt")) << path.ToStdString();
    EXPECT_EQ(Item(DGDriver::Log().back(), 4).text, "pine.txt");

    ASSERT_TRUE(host->FailCall("Environment", -1, APIERR_GENERAL));
    DGDriver::QueueSetText(SaveLibraryPartDialogId, 4, "oak");
    DGDriver::QueueClick(SaveLibraryPartDialogId, 1);
    DGDriver::QueueClick(SaveLibraryPartDialogId, 2);
    EXPECT_FALSE(RunSaveOnActiveLibrariesDialog(path, types, nullptr));
    EXPECT_TRUE(Item(DGDriver::Log().back(), 6).popUpItems.empty());
}

}  // namespace save_library_part_dialog_test
