// File library: locations with "\" paths, special folders, files, folders and the failure switch.
#include "IO.hpp"
#include "IODriver.hpp"
#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <fstream>
#include <string>

namespace io_test {

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A fresh folder inside the user folder for one test.
std::string Scratch(const std::string& name) {
    const std::string path = TestSupport::UserFolder() + "/" + name;
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path;
}

GSErrCode WriteFile(const IO::Location& loc, const std::string& content) {
    IO::File file(loc, IO::OnNotFound::Create);
    if (file.GetStatus() != 0) return file.GetStatus();
    if (GSErrCode err = file.Open(IO::File::WriteMode)) return err;
    const GSErrCode err = file.WriteBin(content.data(), content.size());
    file.Close();
    return err;
}

TEST(Location, MapsBackslashesAndStripsTrailingSeparators) {
    IO::Location loc(GS::UniString("\\tmp\\a\\\\b\\"));
    GS::UniString path;
    ASSERT_EQ(loc.ToPath(&path), 0);
    EXPECT_EQ(path, GS::UniString("\\tmp\\a\\b"));  // the host's path text form
    EXPECT_EQ(loc.ToNativePath(), "/tmp/a/b");
    EXPECT_EQ(loc.ToDisplayText(), path);
    EXPECT_EQ(IO::Location(path).ToNativePath(), "/tmp/a/b");  // and back
    EXPECT_EQ(IO::Location("/").ToNativePath(), "/");
    EXPECT_EQ(IO::Location("rel\\x/").ToNativePath(), "rel/x");

    GS::UniString name;
    ASSERT_EQ(loc.MoveLastLocalName(&name), 0);
    EXPECT_EQ(name, GS::UniString("b"));
    ASSERT_EQ(loc.AppendToLocal(GS::UniString("c\\d.cfg")), 0);
    EXPECT_EQ(loc.ToNativePath(), "/tmp/a/c/d.cfg");
    ASSERT_EQ(loc.GetLastLocalName(&name), 0);
    EXPECT_EQ(name, GS::UniString("d.cfg"));
    EXPECT_EQ(loc.AppendToLocal(GS::UniString("\\")), IO::ErrParam);

    IO::Location top("/x");
    ASSERT_EQ(top.MoveLastLocalName(&name), 0);
    EXPECT_EQ(top.ToNativePath(), "/");
    EXPECT_EQ(top.MoveLastLocalName(&name), IO::ErrParam);  // the root has no last name

    IO::Location empty;
    EXPECT_EQ(empty.ToPath(&path), IO::ErrParam);
    EXPECT_EQ(empty.GetLastLocalName(&name), IO::ErrParam);
}

TEST(SpecialFolder, UserFolderIsSetByTheDriverAndFailsWhenUnset) {
    IO::Location loc;
    ASSERT_EQ(IO::FileSystem::GetSpecialLocation(IO::FileSystem::UserFolder, &loc), 0);
    EXPECT_EQ(loc.ToNativePath(), TestSupport::UserFolder());

    IODriver::SetUserFolder(std::string());
    IO::Location untouched("/keep");
    EXPECT_EQ(IO::FileSystem::GetSpecialLocation(14, &untouched), IO::ErrNoSpecialFolder);
    EXPECT_EQ(untouched.ToNativePath(), "/keep");
    EXPECT_EQ(IO::FileSystem::GetSpecialLocation(3, &untouched), IO::ErrNoSpecialFolder);
    IODriver::SetUserFolder(TestSupport::UserFolder());
    EXPECT_EQ(IO::FileSystem::GetSpecialLocation(14, &loc), 0);
}

TEST(File, WriteReadPositionAndDelete) {
    const std::string dir = Scratch("file_rw");
    IO::Location loc(GS::UniString((dir + "\\data.bin").c_str()));
    EXPECT_FALSE(IO::FileSystem::Exists(loc));
    ASSERT_EQ(WriteFile(loc, std::string("abc\0def", 7)), 0);
    EXPECT_TRUE(IO::FileSystem::IsFile(loc));
    EXPECT_EQ(ReadWhole(dir + "/data.bin"), std::string("abc\0def", 7));

    IO::File file(loc);
    uint64_t length = 0;
    ASSERT_EQ(file.GetDataLength(&length), 0);  // also on a closed file
    EXPECT_EQ(length, 7u);
    ASSERT_EQ(file.Open(IO::File::ReadMode), 0);
    EXPECT_EQ(file.Open(IO::File::ReadMode), IO::ErrAlreadyOpen);
    char buffer[16] = {};
    ASSERT_EQ(file.SetPosition(4), 0);
    uint64_t available = 0;
    ASSERT_EQ(file.GetAvailable(&available), 0);
    EXPECT_EQ(available, 3u);
    uint64_t read = 0;
    ASSERT_EQ(file.ReadBin(buffer, sizeof buffer, &read), 0);  // short read with a count: fine
    EXPECT_EQ(read, 3u);
    EXPECT_EQ(std::string(buffer, 3), "def");
    ASSERT_EQ(file.SetPosition(5), 0);
    EXPECT_EQ(file.ReadBin(buffer, 4), IO::ErrEndOfFile);  // without a count: an error
    EXPECT_EQ(file.WriteBin("x", 1), IO::ErrNotOpen);      // opened for reading only
    ASSERT_EQ(file.Close(), 0);
    EXPECT_EQ(file.Close(), IO::ErrNotOpen);

    // Write mode empties the file; append mode keeps it.
    ASSERT_EQ(WriteFile(loc, "12"), 0);
    IO::File appender(loc);
    ASSERT_EQ(appender.Open(IO::File::AppendMode), 0);
    ASSERT_EQ(appender.WriteBin("34", 2), 0);
    appender.Close();
    EXPECT_EQ(ReadWhole(dir + "/data.bin"), "1234");

    IO::Location folderLoc(loc);
    GS::UniString name;
    ASSERT_EQ(folderLoc.MoveLastLocalName(&name), 0);
    IO::Folder folder(folderLoc);
    ASSERT_EQ(folder.GetStatus(), 0);
    ASSERT_EQ(folder.Delete(name), 0);
    EXPECT_FALSE(IO::FileSystem::Exists(loc));
    EXPECT_EQ(folder.Delete(name), IO::ErrNotFound);
}

TEST(File, MissingFilesAndFoldersAreRefused) {
    const std::string dir = Scratch("file_missing");
    IO::File missing(IO::Location((dir + "/none.txt").c_str()));
    EXPECT_EQ(missing.GetStatus(), 0);  // the object is fine; opening tells
    EXPECT_EQ(missing.Open(IO::File::ReadMode), IO::ErrNotFound);
    EXPECT_EQ(missing.Open(IO::File::WriteMode), IO::ErrNotFound);  // writing does not create
    EXPECT_FALSE(IO::FileSystem::Exists(IO::Location((dir + "/none.txt").c_str())));

    IO::File inMissingFolder(IO::Location((dir + "/no/such.txt").c_str()), IO::OnNotFound::Create);
    EXPECT_EQ(inMissingFolder.GetStatus(), IO::ErrNotFound);

    IO::File onFolder(IO::Location(dir.c_str()));
    EXPECT_EQ(onFolder.Open(IO::File::ReadMode), IO::ErrAccessDenied);
    EXPECT_EQ(IO::File().Open(IO::File::ReadMode), IO::ErrParam);

    IO::Folder notThere(IO::Location((dir + "/sub").c_str()));
    EXPECT_EQ(notThere.GetStatus(), IO::ErrNotFound);
}

TEST(File, PipesAndDevicesAreRefusedWithoutWaitingAndLongNamesSaySo) {
    const std::string dir = Scratch("file_pipe");
    const std::string pipe = dir + "/x.asc";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // No writer or reader is ever there: an open that waited would never come back.
    for (IO::File::OpenMode mode :
         {IO::File::ReadMode, IO::File::WriteMode, IO::File::ReadWriteMode, IO::File::AppendMode}) {
        IO::File file(IO::Location(pipe.c_str()));
        EXPECT_EQ(file.Open(mode), IO::ErrNotRegular);
        EXPECT_FALSE(file.IsOpen());
    }
    IO::File device(IO::Location("/dev/null"));
    EXPECT_EQ(device.Open(IO::File::ReadMode), IO::ErrNotRegular);
    IO::File longName(IO::Location((dir + "/" + std::string(300, 'n') + ".asc").c_str()));
    EXPECT_EQ(longName.Open(IO::File::ReadMode), IO::ErrNameTooLong);
}

TEST(Folder, CreateEnumerateAndRefuseNonLocalNames) {
    const std::string dir = Scratch("folder_enum");
    IO::Folder made(IO::Location((dir + "\\made").c_str()), IO::OnNotFound::Create);
    ASSERT_EQ(made.GetStatus(), 0);
    ASSERT_EQ(made.CreateFolder(GS::UniString("b")), 0);
    EXPECT_EQ(made.CreateFolder(GS::UniString("b")), IO::ErrExists);
    IO::Location fileLoc(made.GetLocation());
    fileLoc.AppendToLocal(GS::UniString("a.txt"));
    ASSERT_EQ(WriteFile(fileLoc, "x"), 0);

    GS::Array<GS::UniString> names;
    ASSERT_EQ(made.Enumerate(&names), 0);
    EXPECT_EQ(names, (GS::Array<GS::UniString>{GS::UniString("a.txt"), GS::UniString("b")}));
    EXPECT_TRUE(made.Contains(GS::UniString("b")));

    // Deleting must stay inside the folder.
    EXPECT_EQ(made.Delete(GS::UniString("..")), IO::ErrParam);
    EXPECT_EQ(made.Delete(GS::UniString("b\\..\\a.txt")), IO::ErrParam);
    EXPECT_EQ(IO::FileSystem::Delete(made.GetLocation()), IO::ErrNotEmpty);
    EXPECT_TRUE(IO::FileSystem::Exists(fileLoc));
}

TEST(FailureSwitch, FailsTheNextOperationsOnlyAndChangesNothing) {
    const std::string dir = Scratch("fail_switch");
    IO::Location loc((dir + "/x.cfg").c_str());
    ASSERT_EQ(WriteFile(loc, "old"), 0);

    IODriver::FailNextOpens(0x81010103, 1);
    IO::File file(loc);
    EXPECT_EQ(file.Open(IO::File::WriteMode), static_cast<GSErrCode>(0x81010103));
    EXPECT_EQ(ReadWhole(dir + "/x.cfg"), "old");  // not emptied by the failed open
    EXPECT_EQ(IODriver::PendingFailures(), 0);
    ASSERT_EQ(file.Open(IO::File::WriteMode), 0);  // used up: the next open works

    IODriver::FailNextWrites(0x81010100, 2);
    EXPECT_EQ(file.WriteBin("new", 3), static_cast<GSErrCode>(0x81010100));
    EXPECT_EQ(file.WriteBin("new", 3), static_cast<GSErrCode>(0x81010100));
    EXPECT_EQ(file.WriteBin("new", 3), 0);
    file.Close();
    EXPECT_EQ(ReadWhole(dir + "/x.cfg"), "new");

    // A path filter leaves other files alone.
    IODriver::FailNextOpens(0x81000100, 1, "other.cfg");
    IO::File again(loc);
    EXPECT_EQ(again.Open(IO::File::ReadMode), 0);
    EXPECT_EQ(IODriver::PendingFailures(), 1);
    IODriver::ClearFailures();
    EXPECT_EQ(IODriver::PendingFailures(), 0);

    IODriver::FailNext(IODriver::Op::Create, 0x81010102);
    IO::File created(IO::Location((dir + "/new.txt").c_str()), IO::OnNotFound::Create);
    EXPECT_EQ(created.GetStatus(), static_cast<GSErrCode>(0x81010102));
    EXPECT_FALSE(IO::FileSystem::Exists(IO::Location((dir + "/new.txt").c_str())));

    IODriver::FailNext(IODriver::Op::Delete, IO::ErrAccessDenied);
    IO::Folder folder(IO::Location(dir.c_str()));
    EXPECT_EQ(folder.Delete(GS::UniString("x.cfg")), IO::ErrAccessDenied);
    EXPECT_TRUE(IO::FileSystem::Exists(loc));
}

}  // namespace io_test
