// The add-on's library folder beside the module file: loaded once, a missing folder is no failure, libraries of
// the same folder name give way to it; and the parameter count of the GIS subtype part.
#include "InProcessHost.hpp"
#include "foundation/AddOnLibraryFolder.hpp"
#include "shell/AddOnLibraries.hpp"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace addon_libraries_test {

namespace fs = std::filesystem;

class AddOnLibrariesTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        ASSERT_TRUE(host->Load());
        root = TestSupport::UserFolder() + "/addon";
        host->Settings().moduleFile = root + "/liblodravix.so";
    }
    // A library folder holding the shipped parts and a GIS subtype part with `extra` parameters beyond A and B.
    std::string MakeLibrary(const std::string& folder, int extra) {
        fs::create_directories(folder);
        for (const auto& entry : fs::directory_iterator(TestSupport::BinDir() + "/library"))
            if (entry.path().extension() == ".lpd")
                fs::copy_file(entry.path(), fs::path(folder) / entry.path().filename());
        std::ofstream part(folder + "/GIS_SUBTYPE.lpd");
        part << "name = GIS_SUBTYPE\nguid = {6A1D0E52-3B7C-4F19-8E2A-0C5D9B47F1E3}-{1F0B7C3A-94D2-4E68-A5B1-"
                "2C8E6D30F947}\ntype = object\nparam A length = 1.0\nparam B length = 1.0\n";
        for (int i = 0; i < extra; ++i) part << "param p" << i << " integer = " << i << "\n";
        return folder;
    }
    const std::vector<std::string>& Folders() { return host->Project().libraries.Folders(); }

    std::string root;
};

TEST_F(AddOnLibrariesTest, MissingFolderIsNoFailureAndAddsNothing) {
    EXPECT_TRUE(LoadAddOnLibraries(true));
    EXPECT_TRUE(LoadAddOnLibraries(false));
    EXPECT_TRUE(Folders().empty());
    EXPECT_FALSE(FolderExists(GS::UniString(root + "\\library")));
    EXPECT_FALSE(FolderExists(GS::UniString("no-separator")));
    EXPECT_NE(CountGISSubtypeParams(), NoError);
    EXPECT_EQ(GISSubtypeParamCount, 0);
}

TEST_F(AddOnLibrariesTest, LoadedOnceAndCounted) {
    const std::string own = MakeLibrary(root + "/library", 3);
    GS::UniString folder;
    ASSERT_TRUE(AddOnFolderPath(folder, true));
    EXPECT_TRUE(FolderExists(GS::UniString(folder.ToUtf8() + "\\library")));
    EXPECT_FALSE(FolderExists(GS::UniString(folder.ToUtf8() + "\\liblodravix.so")));  // not a folder

    EXPECT_TRUE(LoadAddOnLibraries(true));
    EXPECT_TRUE(LoadAddOnLibraries(true));  // already there: not added again
    ASSERT_EQ(Folders(), std::vector<std::string>{own});
    EXPECT_EQ(CountGISSubtypeParams(), NoError);
    EXPECT_EQ(GISSubtypeParamCount, 5);
    // A search the host refused is no missing part.
    ASSERT_TRUE(host->FailCall("LibPart_Search", -1, APIERR_GENERAL));
    const GSErrCode refused = CountGISSubtypeParams();
    host->ClearFailures();
    EXPECT_NE(refused, NoError);
    EXPECT_NE(refused, APIERR_BADNAME);
    EXPECT_EQ(GISSubtypeParamCount, 0);
}

TEST_F(AddOnLibrariesTest, SameFolderNameElsewhereGivesWayAtTheEnd) {
    const std::string own = MakeLibrary(root + "/library", 0);
    const std::string other = MakeLibrary(TestSupport::UserFolder() + "/old/Library", 0);
    const std::string stale = MakeLibrary(TestSupport::UserFolder() + "/older/library", 0);
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(stale, &why)) << why;
    ASSERT_TRUE(host->AddLibraryFolder(other, &why)) << why;
    EXPECT_TRUE(LoadAddOnLibraries(true));  // a folder of that name, case ignored, counts as loaded
    EXPECT_EQ(Folders().size(), 2u);

    // Only the exact name gives way; the add-on's own folder comes last, once, however often checked.
    CheckAddOnLibraryFolders();
    CheckAddOnLibraryFolders();
    EXPECT_EQ(Folders(), (std::vector<std::string>{other, own}));

    // Without the check the folder is added even though its name is loaded.
    host->Project().libraries.Clear();
    ASSERT_TRUE(host->AddLibraryFolder(stale, &why)) << why;
    EXPECT_TRUE(LoadAddOnLibraries(false));
    EXPECT_EQ(Folders(), (std::vector<std::string>{stale, own}));
}

}  // namespace addon_libraries_test
