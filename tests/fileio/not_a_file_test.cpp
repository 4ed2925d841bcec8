// Names that are not readable files: a pipe, a folder, nothing at all, a link to nothing, a name too long, a file
// without read permission. Every reader, the shapefile's table and code-page file beside it, and the two settings
// files refuse them at once with the reason, never waiting on a pipe.
#include "ReaderFixture.hpp"

#include "fileio/DBFTable.hpp"
#include "fileio/DXFFileCls.hpp"
#include "fileio/FileDialogs.hpp"
#include "fileio/SHPFileData.hpp"
#include "foundation/Config.hpp"
#include "settings/PrefsFile.hpp"
#include "settings/Settings.hpp"
#include "sosi/SOSIFileCls.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace not_a_file_test {

// A pipe whose reader would wait for good: after a while a writer opens and closes it, so a reader that waits sees
// its end, and the test fails instead of hanging.
class PipeUnblocker {
public:
    explicit PipeUnblocker(std::string path) : path_(std::move(path)) {
        thread_ = std::thread([this] {
            for (int i = 0; i < 300 && !done_; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (done_) return;
            waited_ = true;
            const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        });
    }
    // True when a reader had to be let go.
    bool Finish() {
        done_ = true;
        thread_.join();
        return waited_;
    }

private:
    std::string path_;
    std::atomic<bool> done_{false};
    std::atomic<bool> waited_{false};
    std::thread thread_;
};

class NotAFileTest : public ReaderTest {
protected:
    enum class Kind { Pipe, Folder, Missing, DanglingLink, NameTooLong, NoPermission };

    // Makes `name` in the user folder as `kind` and answers its path.
    std::string Make(Kind kind, const std::string& name) {
        std::string path = UserFile(name);
        std::filesystem::remove_all(path);
        switch (kind) {
            case Kind::Pipe: EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0); break;
            case Kind::Folder: std::filesystem::create_directory(path); break;
            case Kind::Missing: break;
            case Kind::DanglingLink: std::filesystem::create_symlink(UserFile("nowhere"), path); break;
            case Kind::NameTooLong: {
                const size_t dot = name.rfind('.');
                path = UserFile(std::string(300 - name.size(), 'n') + name.substr(0, dot) + name.substr(dot));
                break;
            }
            case Kind::NoPermission:
                std::ofstream(path) << "x\n";
                ::chmod(path.c_str(), 0);
                break;
        }
        return path;
    }
    static ReadIssue Reason(Kind kind) {
        switch (kind) {
            case Kind::Pipe: return ReadIssue::FileNotRegular;
            case Kind::Folder: return ReadIssue::FileIsFolder;
            case Kind::Missing:
            case Kind::DanglingLink: return ReadIssue::FileMissing;
            case Kind::NameTooLong: return ReadIssue::FileNameTooLong;
            case Kind::NoPermission: return ReadIssue::FileNoPermission;
        }
        return ReadIssue::Count;
    }
    static std::vector<Kind> Kinds() {
        std::vector<Kind> kinds = {Kind::Pipe, Kind::Folder, Kind::Missing, Kind::DanglingLink, Kind::NameTooLong};
        // The superuser reads whatever the permissions say.
        if (::geteuid() != 0) kinds.push_back(Kind::NoPermission);
        return kinds;
    }
    // Runs `read` on `path`, with a pipe let go when the read waits on it; false when it had to be.
    static bool RunsWithoutWaiting(const std::string& path, const std::function<void()>& read) {
        PipeUnblocker unblocker(path);
        read();
        return !unblocker.Finish();
    }
};

TEST_F(NotAFileTest, EveryReaderRefusesWithTheReason) {
    const std::vector<std::pair<std::string, std::function<ReadReport(const std::string&)>>> readers = {
        {"grid.asc",
         [](const std::string& path) {
             ASCFile::ASCFileCls reader;
             Run(reader, path);
             return reader.report;
         }},
        {"points.txt",
         [](const std::string& path) {
             TextFileCls reader;
             Run(reader, path);
             return reader.report;
         }},
        {"survey.dxf",
         [](const std::string& path) {
             DXFFileCls reader;
             reader.path = QV_String(path.c_str(), Encoding_UTF8);
             bool cancelled = false;
             EXPECT_FALSE(reader.ScanLayers(cancelled));
             return reader.report;
         }},
        {"shapes.shp",
         [](const std::string& path) {
             SHPFileData data;
             data.path = QV_String(path.c_str(), Encoding_UTF8);
             EXPECT_FALSE(data.Read());
             return data.report;
         }},
        {"table.dbf",
         [](const std::string& path) {
             QV_List<DBFFieldData> fields;
             DBFValueList values;
             ReadReport report;
             EXPECT_FALSE(
                 ReadDBFFile(QV_String(path.c_str(), Encoding_UTF8), fields, values, NullReaderProgress(), report));
             return report;
         }},
        {"survey.sos",
         [](const std::string& path) {
             SOSIFileCls reader;
             SOSIFileData file;
             file.path = QV_String(path.c_str(), Encoding_UTF8);
             reader.scan.files.Insert(file);
             EXPECT_FALSE(reader.ReadSOSIFiles(GlobalSettings.misc));
             return reader.scan.report;
         }},
    };
    for (const auto& [name, read] : readers) {
        for (Kind kind : Kinds()) {
            SCOPED_TRACE(name + " as kind " + std::to_string(int(kind)));
            const std::string path = Make(kind, name);
            ReadReport report;
            EXPECT_TRUE(RunsWithoutWaiting(path, [&] { report = read(path); }));
            EXPECT_EQ(report.error, 8);
            EXPECT_EQ(report.Count(Reason(kind)), 1u);
            // The reason is told in words of its own beneath the error.
            EXPECT_NE(report.Describe().ToStdString(Encoding_UTF8).find("it was not read"), std::string::npos);
        }
    }
}

TEST_F(NotAFileTest, ACodePageFileThatIsAPipeIsToldAndTheTableRead) {
    const std::string table = Write("lux.dbf", Slurp(Data("shp/lux.dbf")));
    const std::string cpg = Make(Kind::Pipe, "lux.cpg");
    QV_List<DBFFieldData> fields;
    DBFValueList values;
    ReadReport report;
    EXPECT_TRUE(RunsWithoutWaiting(cpg, [&] {
        EXPECT_TRUE(ReadDBFFile(QV_String(table.c_str(), Encoding_UTF8), fields, values, NullReaderProgress(), report));
    }));
    EXPECT_GT(values.GetCount(), 0);
    EXPECT_EQ(report.Count(ReadIssue::CodePageUnread), 1u);
}

TEST_F(NotAFileTest, SettingsFilesThatArePipesOrFoldersAreRefusedAndToldAndLeftAtTheirDefaults) {
    for (Kind kind : {Kind::Pipe, Kind::Folder}) {
        SCOPED_TRACE(int(kind));
        DGDriver::ClearQueueAndLog();
        const std::string shared = Make(kind, "Brenmaro.cfg");
        EXPECT_TRUE(RunsWithoutWaiting(shared, [&] { EXPECT_FALSE(LoadConfigFile(ConfigSharedFile, false)); }));
        EXPECT_TRUE(ConfigFileIsNoFile(ConfigSharedFile));
        // Not read again, nor written over.
        EXPECT_FALSE(SetConfigValue(ConfigSharedFile, QV_String("Language_str"), QV_String("ENG"), true));
        QV_String prefsPath = GetPrefsFilePath();
        const std::string prefs = Make(kind, GetFileNamePart(prefsPath).ToStdString(Encoding_UTF8));
        PrefsEntryList entries;
        EXPECT_TRUE(RunsWithoutWaiting(prefs, [&] { EXPECT_FALSE(ReadPrefsFile(entries, prefsPath, true)); }));
        int told = 0;
        for (const std::string& text : Alerts())
            told += text.find("is no file (a folder, a pipe, a device)") != std::string::npos ? 1 : 0;
        EXPECT_EQ(told, 1);
        std::filesystem::remove_all(shared);
        std::filesystem::remove_all(prefs);
        EXPECT_TRUE(LoadConfigFile(ConfigSharedFile, false));
        EXPECT_FALSE(ConfigFileIsNoFile(ConfigSharedFile));
    }
}

}  // namespace not_a_file_test
