// The preferences mirror file: random lists of every entry type read back as written, the byte layout, files cut
// short or garbled (negative or huge lengths, dimensions whose product overflows 32 bits) refused whole, and a
// save that fails keeping the last good file.
#include "settings/PrefsFile.hpp"

#include "IODriver.hpp"
#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace prefs_file_test {

using namespace QV_Preferences;

std::string NativePath() { return TestSupport::UserFolder() + "/Lodravix_20.prf"; }
QV_String Path() { return GetPrefsFilePath(); }

std::string ReadRaw() {
    std::ifstream in(NativePath(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}
void WriteRaw(const std::string& bytes) {
    std::filesystem::remove(NativePath());
    std::ofstream(NativePath(), std::ios::binary) << bytes;
}

std::string Le32(int32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s.push_back(char((uint32_t(v) >> (8 * i)) & 0xFF));
    return s;
}
std::string Le64(double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, 8);
    std::string s;
    for (int i = 0; i < 8; ++i) s.push_back(char((bits >> (8 * i)) & 0xFF));
    return s;
}
std::string Text(const std::string& t) { return Le32(int32_t(t.size())) + t; }
std::string Head(int32_t n) { return "QVPF" + Le32(n); }

QV_Pref_Elem Entry(uint32_t type, const char* name, int32_t rows = 0, int32_t columns = 0) {
    QV_Pref_Elem e;
    e.type = type;
    e.name = QV_String(name);
    e.rows = rows;
    e.columns = columns;
    return e;
}

QV_Pref_Elem RandomEntry(std::mt19937& rng) {
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    auto word = [&] {
        std::string s(size_t(below(12)), ' ');
        for (char& c : s) c = char(0x20 + below(0xDF));  // the code page's printable bytes and more
        return QV_String(s.c_str());
    };
    QV_Pref_Elem e;
    e.type = uint32_t(1 + below(6));
    e.name = word();
    e.intValue = int32_t(rng());
    e.realValue = std::uniform_real_distribution<double>(-1e9, 1e9)(rng);
    e.textValue = word();
    if (e.IsArray()) {
        e.rows = below(4);
        e.columns = below(4);
        for (int k = 0; k < e.rows * e.columns; ++k) {
            if (e.type == PrefType_IntArray) e.intValues.Insert(int32_t(rng()));
            if (e.type == PrefType_RealArray) e.realValues.Insert(double(int32_t(rng())) / 7.0);
            if (e.type == PrefType_TextArray) e.textValues.Insert(word());
        }
    }
    return e;
}

// Reads the file into a list holding one entry beforehand: a refused file must leave exactly that.
PrefsFileFault ReadFault() {
    PrefsEntryList list;
    list.Insert(QV_Pref_Elem());
    PrefsFileFault fault = PrefsFileFault::None;
    const bool ok = ReadPrefsFile(list, Path(), false, &fault);
    EXPECT_EQ(ok, fault == PrefsFileFault::None);
    if (!ok) {
        EXPECT_EQ(list.GetCount(), 1);
    }
    return fault;
}

class PrefsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        IODriver::ClearFailures();
        std::filesystem::remove(NativePath());
    }
    void TearDown() override { IODriver::ClearFailures(); }
};

// With the layout pinned below, a list that writes back to the same bytes was read with the same values.
TEST_F(PrefsFileTest, RandomListsReadBackAsWritten) {
    std::mt19937 rng(5);
    for (int round = 0; round < 200; ++round) {
        PrefsEntryList written;
        const int n = int(rng() % 12);
        for (int i = 0; i < n; ++i) written.Insert(RandomEntry(rng));
        std::filesystem::remove(NativePath());  // replacing a file makes the file system flush it: slow
        ASSERT_TRUE(WritePrefsFile(written, Path()));
        const std::string bytes = ReadRaw();
        PrefsEntryList read;
        read.Insert(QV_Pref_Elem());
        ASSERT_TRUE(ReadPrefsFile(read, Path(), true));
        ASSERT_EQ(read.GetCount(), n);
        std::filesystem::remove(NativePath());
        ASSERT_TRUE(WritePrefsFile(read, Path()));
        ASSERT_EQ(ReadRaw(), bytes) << round;
    }
    EXPECT_FALSE(std::filesystem::exists(NativePath() + ".tmp"));
}

TEST_F(PrefsFileTest, ByteLayoutOfEveryType) {
    PrefsEntryList list;
    QV_Pref_Elem e = Entry(PrefType_Int, "n");
    e.intValue = -2;
    list.Insert(e);
    e = Entry(PrefType_Real, "");
    e.realValue = 0.25;
    list.Insert(e);
    e = Entry(PrefType_Text, "t");
    const char16_t units[] = {u'a', u'b', 0, 0};
    e.textValue = QV_String("");
    e.textValue.AppendWide(units, 4);  // the zero bytes its conversion ends in are dropped
    list.Insert(e);
    e = Entry(PrefType_IntArray, "ia", 2, 3);
    for (int k = 1; k <= 6; ++k) e.intValues.Insert(k);
    list.Insert(e);
    e = Entry(PrefType_TextArray, "ta", 1, 2);
    e.textValues.Insert(QV_String("x"));
    e.textValues.Insert(QV_String(""));
    list.Insert(e);
    list.Insert(Entry(9, "odd"));  // an unknown type: its type byte and name only
    ASSERT_TRUE(WritePrefsFile(list, Path()));
    const std::string expected = Head(6) + "\x01" + Text("n") + Le32(-2) + "\x02" + Text("") + Le64(0.25) + "\x03" +
        Text("t") + Text("ab") + "\x04" + Text("ia") + Le32(2) + Le32(3) + Le32(1) + Le32(2) + Le32(3) + Le32(4) +
        Le32(5) + Le32(6) + "\x06" + Text("ta") + Le32(1) + Le32(2) + Text("x") + Text("") + "\x09" + Text("odd");
    EXPECT_EQ(ReadRaw(), expected);

    WriteRaw(Head(0) + "whatever follows");
    EXPECT_EQ(ReadFault(), PrefsFileFault::None);  // N = 0: an empty, valid file; nothing past N is read
}

// One rule both ways: a text ends at its first zero byte. What is read writes back to the same bytes and reads
// back the same, and a text holding a NUL in memory is written as what comes before it.
TEST_F(PrefsFileTest, ATextEndsAtItsFirstNulReadOrWritten) {
    using std::string_literals::operator""s;
    WriteRaw(Head(2) + "\x03" + Text("a\0b"s) + Text("x\0y"s) + "\x06" + Text("ta") + Le32(1) + Le32(2) + Text("\0z"s) +
             Text("w"));
    const std::string cut =
        Head(2) + "\x03" + Text("a") + Text("x") + "\x06" + Text("ta") + Le32(1) + Le32(2) + Text("") + Text("w");
    PrefsEntryList read;
    ASSERT_TRUE(ReadPrefsFile(read, Path(), true));
    ASSERT_EQ(read.GetCount(), 2);
    EXPECT_EQ(read[0].name.GetLength(), 1u);
    EXPECT_EQ(read[0].textValue.GetLength(), 1u);
    EXPECT_EQ(read[0].textValue.ToStdString(), "x");
    EXPECT_EQ(read[1].textValues[0].GetLength(), 0u);
    std::filesystem::remove(NativePath());
    ASSERT_TRUE(WritePrefsFile(read, Path()));
    EXPECT_EQ(ReadRaw(), cut);

    PrefsEntryList memory;
    QV_Pref_Elem e = Entry(PrefType_Text, "a");
    const char16_t units[] = {u'x', 0, u'y'};
    e.textValue = QV_String("");
    e.textValue.AppendWide(units, 3);
    memory.Insert(e);
    e = Entry(PrefType_TextArray, "ta", 1, 2);
    e.textValues.Insert(QV_String(""));
    e.textValues.Insert(QV_String("w"));
    memory.Insert(e);
    std::filesystem::remove(NativePath());
    ASSERT_TRUE(WritePrefsFile(memory, Path()));
    EXPECT_EQ(ReadRaw(), cut);
}

TEST_F(PrefsFileTest, EveryCutOfAFileIsRefusedWhole) {
    const std::string whole = Head(3) + "\x02" + Text("road_width") + Le64(6.0) + "\x03" + Text("road_ID") +
        Text("ROAD") + "\x05" + Text("rgb") + Le32(1) + Le32(2) + Le64(0.5) + Le64(1);
    WriteRaw(whole);
    EXPECT_EQ(ReadFault(), PrefsFileFault::None);
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        WriteRaw(whole.substr(0, cut));
        EXPECT_EQ(ReadFault(), PrefsFileFault::Truncated) << cut;
    }
}

TEST_F(PrefsFileTest, GarbledCountsLengthsAndDimensionsAreRefused) {
    const struct {
        std::string bytes;
        PrefsFileFault fault;
    } cases[] = {
        {"QVPX" + Le32(0), PrefsFileFault::Magic},
        {Head(-1), PrefsFileFault::BadLength},
        {Head(0x7FFFFFFF), PrefsFileFault::Truncated},
        {Head(1) + "\x07" + Text("a"), PrefsFileFault::BadType},
        {Head(1) + "\x02" + Le32(-5) + Le64(1), PrefsFileFault::BadLength},
        {Head(1) + "\x02" + Le32(0x7FFFFFFF) + "abc", PrefsFileFault::Truncated},
        {Head(1) + "\x03" + Text("a") + Le32(int32_t(0x80000000)), PrefsFileFault::BadLength},
        {Head(1) + "\x05" + Text("a") + Le32(-1) + Le32(-1) + Le64(1), PrefsFileFault::BadDimensions},
        // 65536 x 65536 is 0 in 32 bits: the elements would silently be skipped.
        {Head(1) + "\x04" + Text("a") + Le32(65536) + Le32(65536) + Le32(1), PrefsFileFault::Truncated},
        {Head(1) + "\x06" + Text("a") + Le32(46341) + Le32(46341) + Text("x"), PrefsFileFault::Truncated},
        {Head(1) + "\x06" + Text("a") + Le32(1) + Le32(1) + Le32(-1), PrefsFileFault::BadLength},
    };
    for (const auto& c : cases) {
        WriteRaw(c.bytes);
        EXPECT_EQ(ReadFault(), c.fault) << testing::PrintToString(c.bytes);
    }
    WriteRaw(Head(0) + std::string(PrefsFileMaxBytes, '\0'));
    EXPECT_EQ(ReadFault(), PrefsFileFault::TooLarge);
    std::filesystem::remove(NativePath());
    EXPECT_EQ(ReadFault(), PrefsFileFault::Open);
    PrefsEntryList list;
    EXPECT_FALSE(ReadPrefsFile(list, QV_String(""), true));
}

TEST_F(PrefsFileTest, AFailedSaveKeepsTheLastGoodFile) {
    PrefsEntryList good;
    QV_Pref_Elem e = Entry(PrefType_Real, "road_width");
    e.realValue = 6.0;
    good.Insert(e);
    ASSERT_TRUE(WritePrefsFile(good, Path()));
    const std::string saved = ReadRaw();

    PrefsEntryList next = good;
    next[0].realValue = 9.0;
    for (const IODriver::Op op : {IODriver::Op::Write, IODriver::Op::Create, IODriver::Op::Open}) {
        IODriver::FailNext(op, IO::ErrIO);
        PrefsFileFault fault = PrefsFileFault::None;
        EXPECT_FALSE(WritePrefsFile(next, Path(), &fault));
        EXPECT_EQ(fault, PrefsFileFault::Write);
        EXPECT_EQ(ReadRaw(), saved);
        EXPECT_FALSE(std::filesystem::exists(NativePath() + ".tmp"));
        IODriver::ClearFailures();
    }
    // An array whose elements do not fill its dimensions could not be read back: it is not written.
    e = Entry(PrefType_RealArray, "rgb", 2, 2);
    e.realValues.Insert(1.0);
    next.Insert(e);
    EXPECT_FALSE(WritePrefsFile(next, Path()));
    EXPECT_EQ(ReadRaw(), saved);
    EXPECT_FALSE(WritePrefsFile(good, QV_String("")));
}

}  // namespace prefs_file_test
