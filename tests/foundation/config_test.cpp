// Configuration files and suite marker files, through the in-process host (user folder, 'APPL', 'SUIT').
#include "config/HostConfigFile.hpp"
#include "InProcessHost.hpp"
#include "TestSupport.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/Config.hpp"

#include "IODriver.hpp"
#include "MemoryDriver.hpp"
#include "IO.hpp"
#include "StandinHost.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace config_test {

namespace fs = std::filesystem;

// The stored form of a configuration text (the host's own codec).
std::string Swap(std::string bytes) {
    HostConfig::SwapNibbles(bytes);
    return bytes;
}

std::string Utf8(const QV_String& s) { return s.ToStdString(Encoding_UTF8); }

// A path in the host's form, "\" separated.
std::string HostPath(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

class ConfigTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        folder_ = TestSupport::UserFolder();
        ASSERT_TRUE(host->Attach());
        IODriver::ClearFailures();
        ResetConfigCaches();
    }
    void TearDown() override {
        IODriver::ClearFailures();
        ResetConfigCaches();
        InProcessHostTest::TearDown();
    }

    std::string PathOf(const std::string& name) const { return folder_ + "/" + name; }
    // Writes the text as it is stored on disk (halves of every byte exchanged).
    void WriteStored(const std::string& name, const std::string& text) const { WriteRaw(name, Swap(text)); }
    void WriteRaw(const std::string& name, const std::string& bytes) const {
        std::ofstream(PathOf(name), std::ios::binary) << bytes;
    }
    std::string ReadRaw(const std::string& name) const {
        std::ifstream in(PathOf(name), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    std::string ReadStored(const std::string& name) const { return Swap(ReadRaw(name)); }
    bool Exists(const std::string& name) const { return fs::exists(PathOf(name)); }

    std::string Value(uint32_t which, const char* key) {
        QV_String value;
        if (!GetConfigValue(which, QV_String(key), &value, true)) return "<missing>";
        return Utf8(value);
    }

    std::string folder_;
};

const char* kShared = "Brenmaro.cfg";
const char* kOwn = "Lodravix_20.cfg";

TEST_F(ConfigTest, PathsNameTheUserFolderAndEverySelectorButOneIsTheSharedFile) {
    QV_String path;
    ASSERT_EQ(GetConfigFilePath(ConfigOwnFile, path), 0);
    EXPECT_EQ(Utf8(path), HostPath(folder_) + "\\Lodravix_20.cfg");
    ASSERT_EQ(GetConfigFilePath(ConfigSharedFile, path), 0);
    EXPECT_EQ(Utf8(path), HostPath(folder_) + "\\Brenmaro.cfg");
    ASSERT_EQ(GetConfigFilePath(7, path), 0);
    EXPECT_EQ(Utf8(path), HostPath(folder_) + "\\Brenmaro.cfg");

    // A selector other than 0 and 1 reads and writes the shared file, never the own one with shared entries.
    WriteStored(kOwn, "$Own: 1\r\n");
    ASSERT_TRUE(SetConfigValue(7, QV_String("Language_str"), QV_String("ger"), true));
    EXPECT_EQ(ReadStored(kShared), "$Language_str: ger\r\n");
    EXPECT_EQ(ReadStored(kOwn), "$Own: 1\r\n");
    EXPECT_EQ(Value(ConfigSharedFile, "Language_str"), "ger");
    EXPECT_EQ(Value(ConfigOwnFile, "Own"), "1");
    EXPECT_EQ(Value(ConfigOwnFile, "Language_str"), "<missing>");
}

TEST_F(ConfigTest, MissingFileIsEmptyAndTheFirstValueCreatesIt) {
    EXPECT_TRUE(LoadConfigFile(ConfigSharedFile, true));
    EXPECT_EQ(Value(ConfigSharedFile, "Language_str"), "<missing>");
    EXPECT_FALSE(Exists(kShared));
    ASSERT_TRUE(SetConfigValue(ConfigSharedFile, QV_String("Language_str"), QV_String("ita"), true));
    EXPECT_EQ(ReadStored(kShared), "$Language_str: ita\r\n");
    // Stored with the halves of each byte exchanged: '$' 0x24 is 0x42 on disk.
    EXPECT_EQ(ReadRaw(kShared)[0], '\x42');
}

TEST_F(ConfigTest, ChangingOneEntryKeepsTheOthersOfTheSharedFileInOrder) {
    WriteStored(kShared, "$Other AddOn: keep me\r\n$Language_str: ita\r\n$Last: 3\r\n");
    ASSERT_TRUE(SetConfigValue(ConfigSharedFile, QV_String("Language_str"), QV_String("ger"), true));
    EXPECT_EQ(ReadStored(kShared), "$Other AddOn: keep me\r\n$Language_str: ger\r\n$Last: 3\r\n");
    // Without addIfMissing a new key changes nothing, but the file is still written whole.
    ASSERT_TRUE(SetConfigValue(ConfigSharedFile, QV_String("New"), QV_String("x"), false));
    EXPECT_EQ(Value(ConfigSharedFile, "New"), "<missing>");
}

TEST_F(ConfigTest, SetConfigValueWritesTheCacheWithWhatWasStagedInIt) {
    WriteStored(kShared, "$Language_str: ita\r\n");
    ASSERT_TRUE(LoadConfigFile(ConfigSharedFile, false));
    ASSERT_TRUE(SetConfigEntry(ConfigSharedFile, QV_String("Staged"), QV_String("1"), true));
    // Another add-on of the suite adds its entry after we read the file: the cache is what is written.
    WriteStored(kShared, "$Language_str: ita\r\n$Their Key: theirs\r\n");
    ASSERT_TRUE(SetConfigValue(ConfigSharedFile, QV_String("Language_str"), QV_String("fra"), true));
    EXPECT_EQ(ReadStored(kShared), "$Language_str: fra\r\n$Staged: 1\r\n");
    // Reading the file first takes it as it is now.
    WriteStored(kShared, "$Language_str: ita\r\n$Their Key: theirs\r\n");
    ASSERT_TRUE(LoadConfigFile(ConfigSharedFile, false));
    ASSERT_TRUE(SetConfigValue(ConfigSharedFile, QV_String("Language_str"), QV_String("fra"), true));
    EXPECT_EQ(ReadStored(kShared), "$Language_str: fra\r\n$Their Key: theirs\r\n");
    // A reload that fails leaves a loaded cache that is not the whole file: it is never written back.
    WriteStored(kShared, "$Language_str: ita\r\nbroken\r\n");
    EXPECT_FALSE(LoadConfigFile(ConfigSharedFile, false));
    EXPECT_FALSE(SetConfigValue(ConfigSharedFile, QV_String("Language_str"), QV_String("ger"), true));
    EXPECT_EQ(ReadStored(kShared), "$Language_str: ita\r\nbroken\r\n");
}

TEST_F(ConfigTest, GrammarEdgeCases) {
    // The byte after the colon is skipped whatever it is.
    WriteStored(kShared, "$a:xyz\r\n$b: v\r\n");
    EXPECT_EQ(Value(ConfigSharedFile, "a"), "yz");
    EXPECT_EQ(Value(ConfigSharedFile, "b"), "v");

    // Lone CR and lone LF end entries too; an empty value is an entry.
    WriteStored(kShared, "$a: 1\r$b: 2\n$c: \r\n$d:");
    ASSERT_TRUE(LoadConfigFile(ConfigSharedFile, false));
    EXPECT_EQ(Value(ConfigSharedFile, "a"), "1");
    EXPECT_EQ(Value(ConfigSharedFile, "b"), "2");
    EXPECT_EQ(Value(ConfigSharedFile, "c"), "");
    EXPECT_EQ(Value(ConfigSharedFile, "d"), "<missing>");

    // Continuation lines keep their line breaks, drop the "#".
    WriteStored(kShared, "$m: one\r\n#two\n#\r#three\r\n$n: z\r\n");
    ASSERT_TRUE(LoadConfigFile(ConfigSharedFile, false));
    EXPECT_EQ(Value(ConfigSharedFile, "m"), "one\r\ntwo\n\rthree");
    EXPECT_EQ(Value(ConfigSharedFile, "n"), "z");

    // Two entries with one key: lookups and changes see the first only.
    WriteStored(kShared, "$k: first\r\n$k: second\r\n");
    ASSERT_TRUE(LoadConfigFile(ConfigSharedFile, false));
    EXPECT_EQ(Value(ConfigSharedFile, "k"), "first");
    ASSERT_TRUE(SetConfigValue(ConfigSharedFile, QV_String("k"), QV_String("changed"), true));
    EXPECT_EQ(ReadStored(kShared), "$k: changed\r\n$k: second\r\n");

    // Keys compare exactly.
    WriteStored(kShared, "$Language_str: rus\r\n");
    ASSERT_TRUE(LoadConfigFile(ConfigSharedFile, false));
    EXPECT_EQ(Value(ConfigSharedFile, "language_str"), "<missing>");
    EXPECT_EQ(Value(ConfigSharedFile, "Language_str "), "<missing>");
    EXPECT_EQ(Value(ConfigSharedFile, "Language_str"), "rus");
}

TEST_F(ConfigTest, ValuesWithLineBreaksAndEmptyLinesSurviveAWriteAndARead) {
    ASSERT_TRUE(SetConfigValue(ConfigSharedFile, QV_String("multi"), QV_String("l1\r\nl2"), true));
    ASSERT_TRUE(SetConfigValue(ConfigSharedFile, QV_String("gap"), QV_String("x\r\n\r\ny"), true));
    ASSERT_TRUE(SetConfigValue(ConfigSharedFile, QV_String("lf"), QV_String("a\nb\rc\r\n"), true));
    ASSERT_TRUE(SetConfigValue(ConfigSharedFile, QV_String("after"), QV_String("own key"), true));
    EXPECT_EQ(ReadStored(kShared),
              "$multi: l1\r\n#l2\r\n$gap: x\r\n#\r\n#y\r\n$lf: a\n#b\r#c\r\n#\r\n$after: own key\r\n");
    ResetConfigCaches();
    EXPECT_EQ(Value(ConfigSharedFile, "multi"), "l1\r\nl2");
    EXPECT_EQ(Value(ConfigSharedFile, "gap"), "x\r\n\r\ny");
    EXPECT_EQ(Value(ConfigSharedFile, "lf"), "a\nb\rc\r\n");
    EXPECT_EQ(Value(ConfigSharedFile, "after"), "own key");
}

TEST_F(ConfigTest, TextIsInTheSystemCodePage) {
    ASSERT_TRUE(SetConfigValue(ConfigOwnFile, QV_String(u8"Stra\u00dfe", Encoding_UTF8),
                               QV_String(u8"caf\u00e9 \u20ac", Encoding_UTF8), true));
    EXPECT_EQ(ReadStored(kOwn),
              "$Stra\xdf"
              "e: caf\xe9 \x80\r\n");
    ResetConfigCaches();
    QV_String value;
    ASSERT_TRUE(GetConfigValue(ConfigOwnFile, QV_String(u8"Stra\u00dfe", Encoding_UTF8), &value, true));
    EXPECT_EQ(Utf8(value), u8"caf\u00e9 \u20ac");
}

TEST_F(ConfigTest, EmptyCacheAndEmptyFile) {
    // A missing file gives an empty cache, which writes an empty file.
    ASSERT_TRUE(LoadConfigFile(ConfigOwnFile, false));
    ASSERT_TRUE(WriteConfigFile(ConfigOwnFile));
    ASSERT_TRUE(Exists(kOwn));
    EXPECT_EQ(ReadRaw(kOwn), "");
    // An empty file is an empty configuration that may be written to.
    ResetConfigCaches();
    EXPECT_TRUE(LoadConfigFile(ConfigOwnFile, false));
    ASSERT_TRUE(SetConfigValue(ConfigOwnFile, QV_String("a"), QV_String("1"), true));
    EXPECT_EQ(ReadStored(kOwn), "$a: 1\r\n");
}

TEST_F(ConfigTest, NothingIsWrittenFromACacheThatWasNeverRead) {
    WriteStored(kShared, "$Other: x\r\n");
    SetConfigEntry(ConfigSharedFile, QV_String("Language_str"), QV_String("ger"), true);
    EXPECT_FALSE(WriteConfigFile(ConfigSharedFile));
    EXPECT_EQ(ReadStored(kShared), "$Other: x\r\n");
}

// A file that ends inside an entry (no line break after the last value) reads without that entry; it was read
// to its end, so it may be saved, and saving keeps the unfinished entry as it was.
TEST_F(ConfigTest, TruncatedFileIsReadWithoutItsLastEntryWhichARewriteKeeps) {
    WriteStored(kShared, "$Other: x\r\n$Language_str: ita\r\n$Tail: unfinished");
    EXPECT_TRUE(LoadConfigFile(ConfigSharedFile, false));
    EXPECT_EQ(Value(ConfigSharedFile, "Other"), "x");
    EXPECT_EQ(Value(ConfigSharedFile, "Tail"), "<missing>");
    ASSERT_TRUE(SetConfigValue(ConfigSharedFile, QV_String("Language_str"), QV_String("ger"), true));
    ASSERT_TRUE(SetConfigValue(ConfigSharedFile, QV_String("New"), QV_String("1"), true));
    EXPECT_EQ(ReadStored(kShared), "$Other: x\r\n$Language_str: ger\r\n$New: 1\r\n$Tail: unfinished");

    // Cut in the value, right after the colon, or inside a continuation line: the change is stored and the
    // unfinished entry stays unseen. Cut in the key (no colon) the read fails and nothing is written.
    const std::pair<const char*, const char*> cuts[] = {
        {"$Language_str: ita", "$Language_str: ger\r\n$Language_str: ita"},
        {"$Other: x\r\n$Key:", "$Other: x\r\n$Language_str: ger\r\n$Key:"},
        {"$Other: x\r\n$m: a\r\n#b", "$Other: x\r\n$Language_str: ger\r\n$m: a\r\n#b"},
    };
    for (const auto& [cut, saved] : cuts) {
        WriteStored(kShared, cut);
        ResetConfigCaches();
        ASSERT_TRUE(SetConfigValue(ConfigSharedFile, QV_String("Language_str"), QV_String("ger"), true)) << cut;
        EXPECT_EQ(ReadStored(kShared), saved);
        ResetConfigCaches();
        EXPECT_EQ(Value(ConfigSharedFile, "Language_str"), "ger") << cut;
    }
    WriteStored(kShared, "$Other: x\r\n$Ke");
    ResetConfigCaches();
    EXPECT_FALSE(SetConfigValue(ConfigSharedFile, QV_String("Other"), QV_String("y"), true));
    EXPECT_EQ(ReadStored(kShared), "$Other: x\r\n$Ke");
}

TEST_F(ConfigTest, GarbledFilesFailClearlyAndStayUntouched) {
    const std::string cases[] = {
        std::string("$a: 1\r\nxyz\r\n$b: 2\r\n"),  // a line break followed by neither "$", "#" nor the end
        std::string("no dollar\r\n"),
        std::string("$: empty key\r\n"),
        std::string("$no colon at all\r\n"),
        std::string("$a: 1\r\n\r\n$b: 2\r\n"),  // an empty line between entries
        std::string("$a: v\0x\r\n", 9),         // a NUL byte
        std::string("\0\0\0\0\0\0\0\0", 8),     // zeros, as after a crash
    };
    for (const std::string& text : cases) {
        ResetConfigCaches();
        WriteStored(kShared, text);
        EXPECT_FALSE(LoadConfigFile(ConfigSharedFile, false)) << text;
        EXPECT_FALSE(SetConfigValue(ConfigSharedFile, QV_String("Language_str"), QV_String("ger"), true)) << text;
        EXPECT_FALSE(WriteConfigFile(ConfigSharedFile)) << text;
        EXPECT_EQ(ReadStored(kShared), text);
    }
    // The entries before the fault stay readable from the cache; with loadFirst the file is read again.
    ResetConfigCaches();
    WriteStored(kShared, "$a: 1\r\n$b: 2\r\nxyz\r\n$c: 3\r\n");
    EXPECT_FALSE(LoadConfigFile(ConfigSharedFile, false));
    QV_String value;
    EXPECT_TRUE(GetConfigValue(ConfigSharedFile, QV_String("a"), &value, false));
    EXPECT_EQ(Utf8(value), "1");
    EXPECT_FALSE(GetConfigValue(ConfigSharedFile, QV_String("a"), &value, true));
    // Once repaired, the file reads again.
    WriteStored(kShared, "$a: 1\r\n$b: 2\r\n");
    EXPECT_EQ(Value(ConfigSharedFile, "b"), "2");
}

TEST_F(ConfigTest, FilesLargerThanTheBoundAreRefusedWhole) {
    // The largest file that fits is read.
    std::string big = "$big: " + std::string(ConfigMaxFileBytes - 8, 'v') + "\r\n";
    ASSERT_EQ(big.size(), ConfigMaxFileBytes);
    WriteStored(kShared, big);
    EXPECT_TRUE(LoadConfigFile(ConfigSharedFile, false));
    EXPECT_EQ(Value(ConfigSharedFile, "big").size(), ConfigMaxFileBytes - 8);
    // A change that would make it larger is refused and the file stays as it is.
    EXPECT_FALSE(SetConfigValue(ConfigSharedFile, QV_String("more"), QV_String("x"), true));
    EXPECT_EQ(ReadStored(kShared), big);

    // One byte more is refused on reading.
    const std::string tooBig = "$big: " + std::string(ConfigMaxFileBytes - 7, 'v') + "\r\n";
    WriteStored(kShared, tooBig);
    EXPECT_FALSE(LoadConfigFile(ConfigSharedFile, false));
    EXPECT_EQ(Value(ConfigSharedFile, "big"), "<missing>");
    EXPECT_FALSE(SetConfigValue(ConfigSharedFile, QV_String("Language_str"), QV_String("ger"), true));
    EXPECT_EQ(ReadStored(kShared), tooBig);
}

TEST_F(ConfigTest, AFileOfTwentyThousandEntriesLoadsAndIsSavedWhole) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "$Key" + std::to_string(i) + ": value " + std::to_string(i) + "\r\n";
    WriteStored(kShared, text);
    ASSERT_TRUE(LoadConfigFile(ConfigSharedFile, false));
    EXPECT_EQ(Value(ConfigSharedFile, "Key19999"), "value 19999");
    ASSERT_TRUE(SetConfigValue(ConfigSharedFile, QV_String("Key0"), QV_String("changed"), true));
    EXPECT_EQ(ReadStored(kShared), "$Key0: changed" + text.substr(text.find("\r\n")));
}

TEST_F(ConfigTest, UnreadableFileIsNeverRewritten) {
    WriteStored(kShared, "$Other: x\r\n");
    IODriver::FailNextOpens(IO::ErrAccessDenied, 1, "Brenmaro");
    EXPECT_FALSE(LoadConfigFile(ConfigSharedFile, false));
    IODriver::FailNext(IODriver::Op::Read, IO::ErrIO, 1, "Brenmaro");
    EXPECT_FALSE(SetConfigValue(ConfigSharedFile, QV_String("Language_str"), QV_String("ger"), true));
    EXPECT_EQ(ReadStored(kShared), "$Other: x\r\n");
    EXPECT_EQ(IODriver::PendingFailures(), 0);
}

TEST_F(ConfigTest, UnwritableFileReportsFailureAndKeepsItsContent) {
    WriteStored(kShared, "$Other: x\r\n$Language_str: ita\r\n");
    IODriver::FailNextWrites(IO::ErrIO, 1, "Brenmaro");
    EXPECT_FALSE(SetConfigValue(ConfigSharedFile, QV_String("Language_str"), QV_String("ger"), true));
    EXPECT_EQ(ReadStored(kShared), "$Other: x\r\n$Language_str: ita\r\n");
    // The cache keeps the change.
    QV_String value;
    ASSERT_TRUE(GetConfigValue(ConfigSharedFile, QV_String("Language_str"), &value, false));
    EXPECT_EQ(Utf8(value), "ger");

    // A folder where the file cannot be created.
    ResetConfigCaches();
    IODriver::FailNext(IODriver::Op::Create, IO::ErrAccessDenied, 1, "Lodravix_20.cfg");
    EXPECT_FALSE(SetConfigValue(ConfigOwnFile, QV_String("a"), QV_String("1"), true));
    EXPECT_FALSE(Exists(kOwn));
}

TEST_F(ConfigTest, KeysThatCannotBeReadBackAreNotWritten) {
    // "$a:b: v" would read back as key "a" with the value ": v"; an empty key would break every later read.
    WriteStored(kOwn, "$a: 1\r\n");
    for (const char* key : {"with:colon", ""}) {
        EXPECT_FALSE(SetConfigValue(ConfigOwnFile, QV_String(key), QV_String("v"), true)) << key;
        EXPECT_EQ(ReadStored(kOwn), "$a: 1\r\n");
    }
}

TEST_F(ConfigTest, AKeyRunsToItsColonAcrossLinesAndIsWrittenBackAsItWasRead) {
    WriteStored(kShared, "$Other: x\r\n$broken line\r\n$Language_str: ita\r\n");
    ResetConfigCaches();
    ASSERT_TRUE(LoadConfigFile(ConfigSharedFile, false));
    EXPECT_EQ(Value(ConfigSharedFile, "broken line\r\n$Language_str"), "ita");
    QV_String value;
    EXPECT_FALSE(GetConfigValue(ConfigSharedFile, QV_String("Language_str"), &value, false));
    ASSERT_TRUE(SetConfigValue(ConfigSharedFile, QV_String("Language_str"), QV_String("ger"), true));
    EXPECT_EQ(ReadStored(kShared), "$Other: x\r\n$broken line\r\n$Language_str: ita\r\n$Language_str: ger\r\n");
    ASSERT_TRUE(SetConfigValue(ConfigOwnFile, QV_String("with\nbreak"), QV_String("v"), true));
    ResetConfigCaches();
    EXPECT_EQ(Value(ConfigOwnFile, "with\nbreak"), "v");
}

TEST_F(ConfigTest, WithoutUserFolderNothingIsReadOrWritten) {
    IODriver::SetUserFolder("");
    QV_String path("unchanged");
    EXPECT_NE(GetConfigFilePath(ConfigSharedFile, path), 0);
    EXPECT_EQ(Utf8(path), "unchanged");
    EXPECT_FALSE(LoadConfigFile(ConfigSharedFile, false));
    EXPECT_FALSE(SetConfigValue(ConfigSharedFile, QV_String("a"), QV_String("1"), true));
    EXPECT_FALSE(WriteSuiteMarker(true));
    EXPECT_FALSE(FindSuiteMarkerFile());
    IODriver::SetUserFolder(folder_);
    EXPECT_FALSE(Exists(kShared));
}

TEST_F(ConfigTest, SuiteMarkerFiles) {
    QV_String path;
    ASSERT_TRUE(GetSuiteMarkerPath(25, path));
    EXPECT_EQ(Utf8(path), HostPath(folder_) + "\\Lodravix_20_25.wyr");

    ASSERT_TRUE(WriteSuiteMarker(true));
    EXPECT_EQ(ReadStored("Lodravix_20_25.wyr"), "$Korvane Loaded: TRUE\r\n");
    ASSERT_TRUE(WriteSuiteMarker(false));
    EXPECT_EQ(ReadStored("Lodravix_20_25.wyr"), "$Korvane Loaded: FALSE\r\n");

    // The host's main version names the files.
    host->Settings().mainVersion = 26;
    ASSERT_TRUE(WriteSuiteMarker(true));
    EXPECT_TRUE(Exists("Lodravix_20_26.wyr"));
    host->Settings().mainVersion = 25;
}

TEST_F(ConfigTest, SuitePresence) {
    bool present = true;
    EXPECT_FALSE(CheckSuitePresence(present));
    EXPECT_FALSE(present);

    // The suite's own marker counts when the suite does not answer.
    WriteStored("Korvane_AC25.wyr", "$x: y\r\n");
    EXPECT_TRUE(FindSuiteMarkerFile());
    EXPECT_TRUE(CheckSuitePresence(present));
    EXPECT_FALSE(present);
    host->Settings().mainVersion = 24;
    EXPECT_FALSE(FindSuiteMarkerFile());
    host->Settings().mainVersion = 25;

    host->Settings().suitePresent = true;
    EXPECT_TRUE(CheckSuitePresence(present));
    EXPECT_TRUE(present);
    host->Settings().suitePresent = false;
}

// Whatever allocation fails, the shared file ends either as it was or with the change, never short of entries.
TEST_F(ConfigTest, FailedAllocationsNeverCostTheSharedFileItsEntries) {
    const std::string before = "$Other AddOn: keep me\r\n$Language_str: ita\r\n$Last: a\r\n#b\r\n";
    const std::string after = "$Other AddOn: keep me\r\n$Language_str: ger\r\n$Last: a\r\n#b\r\n";
    const QV_String key("Language_str");
    const QV_String newKey("New");
    const QV_String value("ger");
    for (const QV_String* changed : {&key, &newKey}) {
        const std::string expected = changed == &key ? after : before + "$New: ger\r\n";
        bool succeeded = false;
        for (int64_t allowed = 0; allowed < 1000 && !succeeded; ++allowed) {
            WriteStored(kShared, before);
            ResetConfigCaches();
            {
                MemoryDriver::ScopedReset reset;
                MemoryDriver::FailAllocationsAfter(allowed);
                succeeded = SetConfigValue(ConfigSharedFile, *changed, value, true);
            }
            const std::string stored = ReadStored(kShared);
            EXPECT_TRUE(stored == (succeeded ? expected : before)) << allowed << ": " << stored;
        }
        EXPECT_TRUE(succeeded);
    }
}

}  // namespace config_test
