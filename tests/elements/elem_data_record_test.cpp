#include "elements/ElemDataRecord.hpp"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace elem_data_record_test {

namespace L = ElemRecordLayout;

std::string Utf8(const QV_String& s) { return s.ToStdString(); }

// The field at `offset` as text up to its terminator (or `width` bytes).
std::string Field(const ElemDataRecord& r, uint32_t offset, uint32_t width) {
    const char* p = reinterpret_cast<const char*>(r.bytes + offset);
    return std::string(p, strnlen(p, width));
}

std::string Repeat(char c, size_t n) { return std::string(n, c); }

// A descriptor with every text at `length` characters, each text of its own letter.
ElemDescriptor FullDescriptor(size_t length) {
    ElemDescriptor e;
    e.Name = Repeat('a', length).c_str();
    e.Note = Repeat('b', length).c_str();
    e.TerrainId = Repeat('c', length).c_str();
    e.ContourText = Repeat('d', length).c_str();
    e.AreaText = Repeat('e', length).c_str();
    e.ResultGuid = Repeat('f', length).c_str();
    e.FillGuid = Repeat('g', length).c_str();
    e.CutGuid = Repeat('h', length).c_str();
    e.TerrainGuid = Repeat('i', length).c_str();
    e.OriginalGuid = Repeat('j', length).c_str();
    e.ExtraText = Repeat('k', length).c_str();
    e.Value = -98765.4321;
    e.Level1 = 1234.5678;
    e.Level2 = -0.000125;
    e.Level3 = 123456.78;
    e.OwnGuid.ConvertFromString("0123ABCD-4567-89EF-0123-456789ABCDEF");
    e.Serial = 7;
    return e;
}

const int32_t kTaggedKinds[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 19, 20, 21};

// ---------------------------------------------------------------------------------------------------------
// Layout: the bytes as users' projects hold them

TEST(ElemDataRecordLayout, TagsOfEveryKind) {
    const std::pair<int32_t, char> tags[] = {
        {1, '1'},  {2, '2'},  {3, '3'},  {4, '5'},  {5, '4'},  {6, 'C'},  {7, 'D'},  {8, '6'},  {9, '7'},  {10, '8'},
        {11, 'B'}, {12, '9'}, {13, 'E'}, {14, 'F'}, {15, 'G'}, {16, 'H'}, {18, 'I'}, {19, 'M'}, {20, 'N'}, {21, 'O'}};
    for (const auto& t : tags) {
        EXPECT_EQ(ElemKindTag(t.first), t.second) << "kind " << t.first;
        ElemDataRecord r;
        ASSERT_EQ(ElemDataRecord_Build(ElemDescriptor(), t.first, r), ElemRecordStatus::Ok);
        EXPECT_EQ(r.bytes[0], uint8_t(t.second));
    }
    for (int32_t kind : {-1, 0, 17, 22, 1000}) {
        EXPECT_EQ(ElemKindTag(kind), 0);
        ElemDataRecord r;
        std::memset(r.bytes, 0x55, sizeof r.bytes);
        EXPECT_EQ(ElemDataRecord_Build(FullDescriptor(10), kind, r), ElemRecordStatus::BadKind) << kind;
        for (uint8_t b : r.bytes) ASSERT_EQ(b, 0);  // never a half-written record
    }
}

TEST(ElemDataRecordLayout, RailwayRecordByteExact) {
    ElemDescriptor e;
    e.ResultGuid = "R";
    e.FillGuid = "F";
    e.CutGuid = "C";
    e.TerrainGuid = "T";
    e.ExtraText = "X";
    e.OriginalGuid = "not a railway field";
    e.Name = "not a railway field";
    ElemDataRecord r;
    ASSERT_EQ(ElemDataRecord_Build(e, ElemKind_Railway, r), ElemRecordStatus::Ok);
    uint8_t expected[650] = {0};
    expected[0] = 'O';
    expected[203] = 'R';
    expected[253] = 'F';
    expected[303] = 'C';
    expected[353] = 'T';
    expected[453] = 'X';
    EXPECT_EQ(std::memcmp(r.bytes, expected, sizeof expected), 0);
}

TEST(ElemDataRecordLayout, PointAndTerrainFieldOffsets) {
    ElemDescriptor e;
    e.Name = "P";
    e.Value = 2.5;
    e.Note = "note";
    ElemDataRecord r;
    ASSERT_EQ(ElemDataRecord_Build(e, ElemKind_Point, r), ElemRecordStatus::Ok);
    EXPECT_EQ(Field(r, 1, 26), "2.5");  // plain "%g" text for a short value
    EXPECT_EQ(Field(r, 27, 26), "P");
    EXPECT_EQ(Field(r, 503, 50), "note");

    e.Reset();
    e.OwnGuid.ConvertFromString("0123abcd-4567-89ef-0123-456789abcdef");
    e.Serial = 4321;
    e.Level1 = 10;
    e.Level2 = -3.25;
    e.Level3 = 0;
    ASSERT_EQ(ElemDataRecord_Build(e, ElemKind_Terrain, r), ElemRecordStatus::Ok);
    EXPECT_EQ(r.bytes[0], '5');
    EXPECT_EQ(Field(r, 53, 50), "0123ABCD-4567-89EF-0123-456789ABCDEF_321");
    EXPECT_EQ(Field(r, 553, 20), "10");
    EXPECT_EQ(Field(r, 573, 20), "-3.25");
    EXPECT_EQ(Field(r, 593, 20), "0");
    for (uint32_t i = L::Reserved; i < ElemDataRecordSize; ++i) ASSERT_EQ(r.bytes[i], 0);
}

// ---------------------------------------------------------------------------------------------------------
// Round trips

TEST(ElemDataRecordRoundTrip, EveryKindKeepsItsFieldsAtTheWidthLimits) {
    // 49 bytes fill a 50-byte slot exactly; 25 fill the point's name field.
    for (int32_t kind : kTaggedKinds) {
        ElemDescriptor in = FullDescriptor(49);
        in.Name = Repeat('a', 25).c_str();
        ElemDataRecord r;
        ASSERT_EQ(ElemDataRecord_Build(in, kind, r), ElemRecordStatus::Ok);
        ElemDescriptor out;
        ASSERT_EQ(ElemDataRecord_Parse(r.bytes, sizeof r.bytes, kind, out), ElemRecordStatus::Ok) << kind;

        const bool triple = kind == 6 || kind == 7 || kind == 11 || kind == 19 || kind == 21;
        const bool terrainGuid = (kind >= 5 && kind <= 12) || kind == 15 || kind == 19 || kind == 20 || kind == 21;
        EXPECT_EQ(Utf8(out.Name), kind == 1 ? Repeat('a', 25) : "") << kind;
        EXPECT_EQ(Utf8(out.Note), kind == 1 ? Repeat('b', 49) : "") << kind;
        EXPECT_EQ(Utf8(out.TerrainId), kind == 4 ? "0123ABCD-4567-89EF-0123-456789ABCDEF_" : "") << kind;
        EXPECT_EQ(Utf8(out.ContourText), kind == 5 ? Repeat('d', 49) : "") << kind;
        EXPECT_EQ(Utf8(out.AreaText), kind == 8 ? Repeat('e', 49) : "") << kind;
        EXPECT_EQ(Utf8(out.ResultGuid), triple ? Repeat('f', 49) : "") << kind;
        EXPECT_EQ(Utf8(out.FillGuid), triple ? Repeat('g', 49) : "") << kind;
        EXPECT_EQ(Utf8(out.CutGuid), triple ? Repeat('h', 49) : "") << kind;
        EXPECT_EQ(Utf8(out.TerrainGuid), terrainGuid ? Repeat('i', 49) : "") << kind;
        EXPECT_EQ(Utf8(out.OriginalGuid), kind == 6 || kind == 16 ? Repeat('j', 49) : "") << kind;
        EXPECT_EQ(Utf8(out.ExtraText), kind == 21 ? Repeat('k', 49) : "") << kind;
        EXPECT_EQ(out.Value, kind == 1 ? -98765.4321 : 0.0) << kind;
        EXPECT_EQ(out.Level1, kind == 4 ? 1234.5678 : 0.0) << kind;
        EXPECT_EQ(out.Level2, kind == 4 ? -0.000125 : 0.0) << kind;
        EXPECT_EQ(out.Level3, kind == 4 ? 123456.78 : 0.0) << kind;
        // Fields a kind does not use stay zero.
        if (kind != 1 && kind != 4) {
            for (uint32_t i = 1; i < 53; ++i) ASSERT_EQ(r.bytes[i], 0) << kind;
            for (uint32_t i = 553; i < 650; ++i) ASSERT_EQ(r.bytes[i], 0) << kind;
        }
    }
}

TEST(ElemDataRecordRoundTrip, TextsAreCutToTheirField) {
    ElemDescriptor in = FullDescriptor(60);
    ElemDataRecord r;
    ASSERT_EQ(ElemDataRecord_Build(in, ElemKind_Railway, r), ElemRecordStatus::Ok);
    EXPECT_EQ(r.bytes[203 + 49], 0);
    ElemDescriptor out;
    ASSERT_EQ(ElemDataRecord_Parse(r.bytes, 650, ElemKind_Railway, out), ElemRecordStatus::Ok);
    EXPECT_EQ(Utf8(out.ResultGuid), Repeat('f', 49));
    EXPECT_EQ(Utf8(out.ExtraText), Repeat('k', 49));

    in.Name = Repeat('a', 40).c_str();
    ASSERT_EQ(ElemDataRecord_Build(in, ElemKind_Point, r), ElemRecordStatus::Ok);
    EXPECT_EQ(Field(r, 27, 26), Repeat('a', 25));
}

TEST(ElemDataRecordRoundTrip, SystemCodePageTexts) {
    ElemDescriptor in;
    in.ContourText = QV_String("Citt\xC3\xA0 \xE2\x82\xAC", Encoding_UTF8);  // "Città €"
    ElemDataRecord r;
    ASSERT_EQ(ElemDataRecord_Build(in, ElemKind_Contour, r), ElemRecordStatus::Ok);
    EXPECT_EQ(Field(r, 103, 50), "Citt\xE0 \x80");  // one byte each in the system code page
    ElemDescriptor out;
    ASSERT_EQ(ElemDataRecord_Parse(r.bytes, 650, ElemKind_Contour, out), ElemRecordStatus::Ok);
    EXPECT_EQ(out.ContourText, in.ContourText);
}

TEST(ElemDataRecordRoundTrip, NumbersKeepTheirValue) {
    const double values[] = {1234.5678,   123456.78, -0.001,        1e-7,   0.1, 1.0 / 3.0, 2.0 / 3.0 * 1000,
                             -98765.4321, 1e15,      123456789.123, 5e-300, 0.0, -250.75,   99999.995};
    for (double v : values) {
        ElemDescriptor in;
        in.Level1 = v;
        in.Level2 = -v;
        in.Value = v;
        ElemDataRecord r;
        ASSERT_EQ(ElemDataRecord_Build(in, ElemKind_Terrain, r), ElemRecordStatus::Ok);
        ElemDescriptor out;
        ASSERT_EQ(ElemDataRecord_Parse(r.bytes, 650, ElemKind_Terrain, out), ElemRecordStatus::Ok);
        EXPECT_NEAR(out.Level1, v, std::fabs(v) * 1e-11) << Field(r, 553, 20);
        EXPECT_NEAR(out.Level2, -v, std::fabs(v) * 1e-11) << Field(r, 573, 20);
        EXPECT_LE(Field(r, 553, 20).size(), 19u);

        ASSERT_EQ(ElemDataRecord_Build(in, ElemKind_Point, r), ElemRecordStatus::Ok);
        ASSERT_EQ(ElemDataRecord_Parse(r.bytes, 650, ElemKind_Point, out), ElemRecordStatus::Ok);
        EXPECT_NEAR(out.Value, v, std::fabs(v) * 1e-12) << Field(r, 1, 26);
    }
    // Extremes still fit their fields.
    for (double v : {-1.2345678901234567e-300, -1.7976931348623155e308}) {
        ElemDescriptor in;
        in.Level3 = v;
        ElemDataRecord r;
        ASSERT_EQ(ElemDataRecord_Build(in, ElemKind_Terrain, r), ElemRecordStatus::Ok);
        EXPECT_LE(Field(r, 593, 20).size(), 19u);
        EXPECT_EQ(r.bytes[612], 0);
        ElemDescriptor out;
        ASSERT_EQ(ElemDataRecord_Parse(r.bytes, 650, ElemKind_Terrain, out), ElemRecordStatus::Ok);
        EXPECT_NEAR(out.Level3, v, std::fabs(v) * 1e-6);
    }
}

// Any finite double, subnormal to huge: the point value's field (25 characters) holds the shortest text that
// reads back exactly; a level's field (19) holds that text when it fits, else the value rounded to the digits that
// fit. Either way a record read and written again keeps its value and its text.
TEST(ElemDataRecordRoundTrip, ReadWriteReadIsAFixedPointForAnyDouble) {
    std::mt19937_64 random(20261208);
    std::vector<double> values = {32.004,
                                  391.4,
                                  double(391.4f),
                                  0.1 + 0.2,
                                  DBL_MIN,
                                  -DBL_MIN,
                                  5e-324,
                                  -DBL_MAX,
                                  1e308,
                                  1e22,
                                  1e23,
                                  0.0,
                                  -0.0,
                                  1e-7,
                                  -1.2345678901234567e-300,
                                  std::nextafter(DBL_MAX, 0.0),
                                  123456789012345678.0,
                                  -0.30000000000000004};
    for (int i = 0; i < 50000; ++i) {
        const uint64_t bits = random();
        double v = 0.0;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v)) values.push_back(v);
        values.push_back(double(int64_t(random() % 2000000000) - 1000000000) / std::pow(10.0, double(random() % 12)));
    }
    auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    for (const double v : values) {
        ElemDescriptor in, out, again;
        in.Value = v;
        in.Level1 = v;
        ElemDataRecord point, terrain, rewritten;
        ASSERT_EQ(ElemDataRecord_Build(in, ElemKind_Point, point), ElemRecordStatus::Ok);
        ASSERT_EQ(ElemDataRecord_Parse(point.bytes, 650, ElemKind_Point, out), ElemRecordStatus::Ok);
        ASSERT_TRUE(same(out.Value, v)) << v << " as " << Field(point, 1, 26);
        ASSERT_LE(Field(point, 1, 26).size(), 25u);

        ASSERT_EQ(ElemDataRecord_Build(in, ElemKind_Terrain, terrain), ElemRecordStatus::Ok);
        ASSERT_EQ(ElemDataRecord_Parse(terrain.bytes, 650, ElemKind_Terrain, out), ElemRecordStatus::Ok);
        const std::string level = Field(terrain, 553, 20);
        ASSERT_LE(level.size(), 19u);
        ASSERT_FALSE(level.empty()) << v;
        if (Field(point, 1, 26).size() <= 19)
            ASSERT_TRUE(same(out.Level1, v)) << v << " as " << level;
        else
            ASSERT_LE(std::fabs(out.Level1 - v), std::fabs(v) * 1e-11) << v << " as " << level;
        ASSERT_EQ(ElemDataRecord_Build(out, ElemKind_Terrain, rewritten), ElemRecordStatus::Ok);
        ASSERT_EQ(ElemDataRecord_Parse(rewritten.bytes, 650, ElemKind_Terrain, again), ElemRecordStatus::Ok);
        ASSERT_TRUE(same(again.Level1, out.Level1)) << v << " as " << level << ", then " << Field(rewritten, 553, 20);
        ASSERT_EQ(Field(rewritten, 553, 20), level);
    }
    // The shortest text, not the 17 digits of the double.
    for (const auto& [value, text] : std::vector<std::pair<double, std::string>>{
             {32.004, "32.004"}, {391.4, "391.4"}, {1234.5678, "1234.5678"}, {1e-7, "1e-07"}, {-250.75, "-250.75"}}) {
        ElemDescriptor in;
        in.Level2 = value;
        ElemDataRecord r;
        ASSERT_EQ(ElemDataRecord_Build(in, ElemKind_Terrain, r), ElemRecordStatus::Ok);
        EXPECT_EQ(Field(r, 573, 20), text);
    }
    // Texts of earlier releases and other hands read as the in-house reader reads them, rounded correctly.
    for (const auto& [text, value] :
         std::vector<std::pair<std::string, double>>{{"1234,57", 1234.57},
                                                     {"1.5e+2", 150.0},
                                                     {"1.5E2", 1.5},
                                                     {"1e5", 1.0},
                                                     {"-.5", -0.5},
                                                     {"x32.004000000000005", 32.004000000000005},
                                                     {"1e+999", DBL_MAX},
                                                     {"-1e+999", -DBL_MAX},
                                                     {"1e-999", 0.0},
                                                     {"5.", DBL_MAX},
                                                     {"abc", DBL_MAX}}) {
        ElemDataRecord r;
        ASSERT_EQ(ElemDataRecord_Build(ElemDescriptor(), ElemKind_Terrain, r), ElemRecordStatus::Ok);
        std::memcpy(r.bytes + 593, text.c_str(), text.size() + 1);
        ElemDescriptor out;
        ASSERT_EQ(ElemDataRecord_Parse(r.bytes, 650, ElemKind_Terrain, out), ElemRecordStatus::Ok);
        EXPECT_EQ(out.Level3, value) << text;
    }
}

TEST(ElemDataRecordRoundTrip, NoNumberMarkAndEmptyFieldsReadAsLargestDouble) {
    ElemDescriptor in;
    in.Level1 = DBL_MAX;
    in.Level2 = std::numeric_limits<double>::infinity();
    in.Level3 = std::nan("");
    ElemDataRecord r;
    ASSERT_EQ(ElemDataRecord_Build(in, ElemKind_Terrain, r), ElemRecordStatus::Ok);
    EXPECT_EQ(Field(r, 553, 20), "");
    ElemDescriptor out;
    ASSERT_EQ(ElemDataRecord_Parse(r.bytes, 650, ElemKind_Terrain, out), ElemRecordStatus::Ok);
    EXPECT_EQ(out.Level1, DBL_MAX);
    EXPECT_EQ(out.Level2, DBL_MAX);
    EXPECT_EQ(out.Level3, DBL_MAX);

    // A field without a digit, and one with a comma as decimal point.
    std::memcpy(r.bytes + 553, "abc", 4);
    std::memcpy(r.bytes + 573, "12,5", 5);
    ASSERT_EQ(ElemDataRecord_Parse(r.bytes, 650, ElemKind_Terrain, out), ElemRecordStatus::Ok);
    EXPECT_EQ(out.Level1, DBL_MAX);
    EXPECT_EQ(out.Level2, 12.5);
}

// ---------------------------------------------------------------------------------------------------------
// Point names and terrain identifiers

TEST(ElemDataRecordPoint, TrailingDigitsOfTheNameBecomeTheNumber) {
    const struct {
        const char* stored;
        const char* name;
        int32_t number;
    } cases[] = {{"P12", "P", 12},     {"12", "", 12}, {"P", "P", 0},
                 {"A1B007", "A1B", 7}, {"", "", 0},    {"P99999999999", "P", INT32_MAX}};
    for (const auto& c : cases) {
        ElemDataRecord r;
        ASSERT_EQ(ElemDataRecord_Build(ElemDescriptor(), ElemKind_Point, r), ElemRecordStatus::Ok);
        std::strcpy(reinterpret_cast<char*>(r.bytes + 27), c.stored);
        ElemDescriptor out;
        ASSERT_EQ(ElemDataRecord_Parse(r.bytes, 650, ElemKind_Point, out), ElemRecordStatus::Ok);
        EXPECT_EQ(Utf8(out.Name), c.name) << c.stored;
        EXPECT_EQ(out.Number, c.number) << c.stored;

        // A rewrite gives the stored name back whole, leading zeros included.
        ElemDataRecord again;
        ASSERT_EQ(ElemDataRecord_BuildRewrite(out, ElemKind_Point, again), ElemRecordStatus::Ok);
        EXPECT_EQ(Field(again, 27, 26), c.stored);
    }
}

TEST(ElemDataRecordPoint, AppendedNumber) {
    ElemDescriptor in;
    in.AppendNumber = 1;
    in.Name = "ABCDEFGHIJKLMNOPQRSTUVWXY";  // 25 characters: only the first 20 go in front of the number
    in.Number = 42;
    ElemDataRecord r;
    ASSERT_EQ(ElemDataRecord_Build(in, ElemKind_Point, r), ElemRecordStatus::Ok);
    EXPECT_EQ(Field(r, 27, 26), "ABCDEFGHIJKLMNOPQRST42");
    ElemDescriptor out;
    ASSERT_EQ(ElemDataRecord_Parse(r.bytes, 650, ElemKind_Point, out), ElemRecordStatus::Ok);
    EXPECT_EQ(Utf8(out.Name), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(out.Number, 42);

    // A number of more than five digits stays whole; the name gives way.
    in.Number = 12345678;
    ASSERT_EQ(ElemDataRecord_Build(in, ElemKind_Point, r), ElemRecordStatus::Ok);
    EXPECT_EQ(Field(r, 27, 26), "ABCDEFGHIJKLMNOPQ12345678");
    ASSERT_EQ(ElemDataRecord_Parse(r.bytes, 650, ElemKind_Point, out), ElemRecordStatus::Ok);
    EXPECT_EQ(out.Number, 12345678);

    in.AppendNumber = 0;
    ASSERT_EQ(ElemDataRecord_Build(in, ElemKind_Point, r), ElemRecordStatus::Ok);
    EXPECT_EQ(Field(r, 27, 26), "ABCDEFGHIJKLMNOPQRSTUVWXY");
}

TEST(ElemDataRecordTerrain, IdentifierEndsAtTheUnderscoreBelowThreeSerialCharacters) {
    GS::Guid guid;
    guid.ConvertFromString("00000000-0000-0000-0000-000000000001");
    const std::string id = "00000000-0000-0000-0000-000000000001_";
    for (int32_t serial : {0, 7, 42, -5}) EXPECT_EQ(Utf8(MakeTerrainId(guid, serial)), id) << serial;
    EXPECT_EQ(Utf8(MakeTerrainId(guid, 100)), id + "100");
    EXPECT_EQ(Utf8(MakeTerrainId(guid, 98765)), id + "765");
    EXPECT_EQ(Utf8(MakeTerrainId(guid, -123)), id + "123");
    EXPECT_EQ(Utf8(LongToDecimalText(-2147483647 - 1)), "-2147483648");
    // Stored: NUL in the missing leading positions, then the digits.
    ElemDescriptor serial42;
    serial42.OwnGuid = guid;
    serial42.Serial = 42;
    ElemDataRecord stored;
    ASSERT_EQ(ElemDataRecord_Build(serial42, ElemKind_Terrain, stored), ElemRecordStatus::Ok);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stored.bytes) + 53, 41),
              id +
                  std::string("\0"
                              "42\0",
                              4));

    // A rewrite stores TerrainId as it is, not remade from the GUID.
    ElemDescriptor in;
    in.TerrainId = "old-identifier_";
    in.OwnGuid = guid;
    ElemDataRecord r;
    ASSERT_EQ(ElemDataRecord_BuildRewrite(in, ElemKind_Terrain, r), ElemRecordStatus::Ok);
    EXPECT_EQ(Field(r, 53, 50), "old-identifier_");
    ASSERT_EQ(ElemDataRecord_Build(in, ElemKind_Terrain, r), ElemRecordStatus::Ok);
    EXPECT_EQ(Field(r, 53, 50), id);
}

// ---------------------------------------------------------------------------------------------------------
// Bad input

TEST(ElemDataRecordBadInput, WrongKindShortOversizedAndNull) {
    ElemDescriptor in = FullDescriptor(10);
    ElemDataRecord r;
    ASSERT_EQ(ElemDataRecord_Build(in, ElemKind_Road, r), ElemRecordStatus::Ok);
    ElemDescriptor out = FullDescriptor(5);
    EXPECT_EQ(ElemDataRecord_Parse(r.bytes, 650, ElemKind_Plateau, out), ElemRecordStatus::WrongTag);
    EXPECT_TRUE(out.ResultGuid.IsEmpty());
    EXPECT_TRUE(out.Name.IsEmpty());
    EXPECT_EQ(out.Value, 0.0);

    for (int32_t kind : {0, 17, 22, -5})
        EXPECT_EQ(ElemDataRecord_Parse(r.bytes, 650, kind, out), ElemRecordStatus::BadKind) << kind;
    EXPECT_EQ(ElemDataRecord_Parse(nullptr, 650, ElemKind_Road, out), ElemRecordStatus::NoData);
    EXPECT_EQ(ElemDataRecord_Parse(r.bytes, 0, ElemKind_Road, out), ElemRecordStatus::NoData);
    EXPECT_EQ(ElemDataRecord_Parse(r.bytes, 649, ElemKind_Road, out), ElemRecordStatus::BadSize);
    EXPECT_EQ(ElemDataRecord_Parse(r.bytes, 1, ElemKind_Road, out), ElemRecordStatus::BadSize);
    std::vector<uint8_t> big(651, 0);
    std::memcpy(big.data(), r.bytes, 650);
    EXPECT_EQ(ElemDataRecord_Parse(big.data(), big.size(), ElemKind_Road, out), ElemRecordStatus::BadSize);
    EXPECT_TRUE(out.ResultGuid.IsEmpty());

    // The zero record (what an unused kind used to write) is never read as any kind.
    ElemDataRecord zero = {};
    for (int32_t kind : kTaggedKinds)
        EXPECT_EQ(ElemDataRecord_Parse(zero.bytes, 650, kind, out), ElemRecordStatus::WrongTag);
}

TEST(ElemDataRecordBadInput, UnterminatedFieldIsGarbled) {
    ElemDataRecord r;
    ASSERT_EQ(ElemDataRecord_Build(FullDescriptor(49), ElemKind_Road, r), ElemRecordStatus::Ok);
    r.bytes[303 + 49] = 'x';  // CutGuid runs into TerrainGuid
    ElemDescriptor out;
    EXPECT_EQ(ElemDataRecord_Parse(r.bytes, 650, ElemKind_Road, out), ElemRecordStatus::Garbled);
    EXPECT_TRUE(out.ResultGuid.IsEmpty());  // left reset

    // A field the kind does not read is not looked at.
    ASSERT_EQ(ElemDataRecord_Build(FullDescriptor(49), ElemKind_Building, r), ElemRecordStatus::Ok);
    std::memset(r.bytes + 1, 'z', 352);
    EXPECT_EQ(ElemDataRecord_Parse(r.bytes, 650, ElemKind_Building, out), ElemRecordStatus::Ok);
    EXPECT_EQ(Utf8(out.TerrainGuid), Repeat('i', 49));

    // Unterminated number fields.
    ASSERT_EQ(ElemDataRecord_Build(FullDescriptor(1), ElemKind_Terrain, r), ElemRecordStatus::Ok);
    std::memset(r.bytes + 593, '9', 20);
    EXPECT_EQ(ElemDataRecord_Parse(r.bytes, 650, ElemKind_Terrain, out), ElemRecordStatus::Garbled);
    ASSERT_EQ(ElemDataRecord_Build(FullDescriptor(1), ElemKind_Point, r), ElemRecordStatus::Ok);
    std::memset(r.bytes + 1, '1', 26);
    EXPECT_EQ(ElemDataRecord_Parse(r.bytes, 650, ElemKind_Point, out), ElemRecordStatus::Garbled);
}

TEST(ElemDataRecordBadInput, RandomBytesNeverOverrun) {
    std::mt19937 random(12345);
    for (int round = 0; round < 3000; ++round) {
        const size_t size = round % 3 == 0 ? 650 : random() % 700;
        std::vector<uint8_t> bytes(size + 1);  // one guard byte past the end
        for (auto& b : bytes) b = uint8_t(random() % 4 == 0 ? 0 : random());
        bytes[size] = 0xEE;
        const int32_t kind = kTaggedKinds[random() % 20];
        if (size > 0 && random() % 2) bytes[0] = uint8_t(ElemKindTag(kind));
        ElemDescriptor out;
        ElemDataRecord r;
        ElemDataRecord_Parse(bytes.data(), size, kind, out);
        ElemDataRecord_ParseLegacy(bytes.data(), size, kind, out);
        if (ElemDataRecord_Upgrade(bytes.data(), size, kind, r) == ElemRecordStatus::Ok) {
            ElemDescriptor back;
            EXPECT_EQ(ElemDataRecord_Parse(r.bytes, 650, kind, back), ElemRecordStatus::Ok);
        }
    }
}

// ---------------------------------------------------------------------------------------------------------
// Older layout

TEST(ElemDataRecordLegacy, PointIsReadAndUpgraded) {
    uint8_t old[650] = {0};
    old[0] = '1';
    std::strcpy(reinterpret_cast<char*>(old + 2), "412,75");
    std::strcpy(reinterpret_cast<char*>(old + 28), "Pozzo007");
    ElemDescriptor out;
    ASSERT_EQ(ElemDataRecord_ParseLegacy(old, sizeof old, ElemKind_Point, out), ElemRecordStatus::Ok);
    EXPECT_EQ(out.Value, 412.75);
    EXPECT_EQ(Utf8(out.Name), "Pozzo");
    EXPECT_EQ(out.Number, 7);
    EXPECT_TRUE(out.Note.IsEmpty());
    EXPECT_EQ(out.Level1, 0.0);

    ElemDataRecord now;
    ASSERT_EQ(ElemDataRecord_Upgrade(old, sizeof old, ElemKind_Point, now), ElemRecordStatus::Ok);
    EXPECT_EQ(now.bytes[0], '1');
    EXPECT_EQ(Field(now, 1, 26), "412.75");
    EXPECT_EQ(Field(now, 27, 26), "Pozzo007");
    ElemDescriptor back;
    ASSERT_EQ(ElemDataRecord_Parse(now.bytes, 650, ElemKind_Point, back), ElemRecordStatus::Ok);
    EXPECT_EQ(back.Value, 412.75);
    EXPECT_EQ(Utf8(back.Name), "Pozzo");
    EXPECT_EQ(back.Number, 7);
}

TEST(ElemDataRecordLegacy, OneTextKindsMoveToTheirSlots) {
    const struct {
        int32_t kind;
        uint32_t slot;
    } cases[] = {{ElemKind_Terrain, 53}, {ElemKind_Contour, 103}, {ElemKind_ColouredArea, 153}};
    for (const auto& c : cases) {
        uint8_t old[650] = {0};
        old[0] = uint8_t(ElemKindTag(c.kind));
        std::strcpy(reinterpret_cast<char*>(old + 28), "text of the older layout");
        ElemDataRecord now;
        ASSERT_EQ(ElemDataRecord_Upgrade(old, sizeof old, c.kind, now), ElemRecordStatus::Ok) << c.kind;
        EXPECT_EQ(Field(now, c.slot, 50), "text of the older layout");
        EXPECT_EQ(Field(now, 27, 26), "");
        ElemDescriptor back;
        ASSERT_EQ(ElemDataRecord_Parse(now.bytes, 650, c.kind, back), ElemRecordStatus::Ok);
    }
    // Every other kind holds the tag only.
    uint8_t old[650] = {0};
    old[0] = 'C';
    std::strcpy(reinterpret_cast<char*>(old + 28), "ignored");
    ElemDataRecord now;
    ASSERT_EQ(ElemDataRecord_Upgrade(old, sizeof old, ElemKind_Road, now), ElemRecordStatus::Ok);
    ElemDataRecord tagOnly = {};
    tagOnly.bytes[0] = 'C';
    EXPECT_EQ(std::memcmp(now.bytes, tagOnly.bytes, 650), 0);
}

TEST(ElemDataRecordLegacy, BadAndUnusualInput) {
    uint8_t old[650] = {0};
    old[0] = 'H';
    ElemDescriptor out;
    EXPECT_EQ(ElemDataRecord_ParseLegacy(old, 650, ElemKind_Section, out), ElemRecordStatus::BadKind);
    EXPECT_EQ(ElemDataRecord_ParseLegacy(old, 650, 17, out), ElemRecordStatus::BadKind);
    EXPECT_EQ(ElemDataRecord_ParseLegacy(old, 650, 22, out), ElemRecordStatus::BadKind);
    EXPECT_EQ(ElemDataRecord_ParseLegacy(old, 650, ElemKind_Road, out), ElemRecordStatus::WrongTag);
    EXPECT_EQ(ElemDataRecord_ParseLegacy(nullptr, 650, ElemKind_Road, out), ElemRecordStatus::NoData);
    EXPECT_EQ(ElemDataRecord_ParseLegacy(old, 0, ElemKind_Road, out), ElemRecordStatus::NoData);

    // Data that ends before or inside a field of its kind cannot be the record; from the end of the point's name
    // on, it is one. A kind that holds its tag only is read from the tag.
    uint8_t point[40] = {'1', 0, '7', '.', '5'};
    std::strcpy(reinterpret_cast<char*>(point + 28), "P12");
    for (size_t size = 1; size <= sizeof point; ++size) {
        const ElemRecordStatus status = ElemDataRecord_ParseLegacy(point, size, ElemKind_Point, out);
        EXPECT_EQ(status, size < 32 ? ElemRecordStatus::BadSize : ElemRecordStatus::Ok) << size;
        EXPECT_EQ(out.Number, size < 32 ? 0 : 12) << size;
    }
    EXPECT_EQ(out.Value, 7.5);
    const uint8_t road = 'C';
    EXPECT_EQ(ElemDataRecord_ParseLegacy(&road, 1, ElemKind_Road, out), ElemRecordStatus::Ok);

    // An oversized record with a text that never ends: read up to the record size and cut on upgrade.
    std::vector<uint8_t> big(5000, 'w');
    big[0] = '4';
    ASSERT_EQ(ElemDataRecord_ParseLegacy(big.data(), big.size(), ElemKind_Contour, out), ElemRecordStatus::Ok);
    EXPECT_EQ(out.ContourText.GetLength(), 650u - 28u);
    ElemDataRecord now;
    ASSERT_EQ(ElemDataRecord_Upgrade(big.data(), big.size(), ElemKind_Contour, now), ElemRecordStatus::Ok);
    EXPECT_EQ(Field(now, 103, 50), Repeat('w', 49));
}

// ---------------------------------------------------------------------------------------------------------
// Descriptor

TEST(ElemDescriptor, FillWithoutTagAndOutOfRangeKinds) {
    ElemDataRecord r;
    ASSERT_EQ(ElemDataRecord_Build(FullDescriptor(20), ElemKind_Road, r), ElemRecordStatus::Ok);
    ElemDescriptor e = FullDescriptor(3);
    EXPECT_EQ(e.FillFromRecord(0, r.bytes, 650), ElemRecordStatus::Ok);
    EXPECT_TRUE(e.ResultGuid.IsEmpty());
    EXPECT_FALSE(e.ResultGuid.HasBuffer());
    EXPECT_EQ(e.FillFromRecord(22, r.bytes, 650), ElemRecordStatus::Ok);
    EXPECT_TRUE(e.TerrainGuid.IsEmpty());
    // The tag is not looked at: a plateau view of a road record reads the shared fields.
    EXPECT_EQ(e.FillFromRecord(ElemKind_Plateau, r.bytes, 650), ElemRecordStatus::Ok);
    EXPECT_EQ(Utf8(e.CutGuid), Repeat('h', 20));
    EXPECT_TRUE(e.OriginalGuid.IsEmpty());
    EXPECT_EQ(e.FillFromRecord(ElemKind_Plateau, r.bytes, 600), ElemRecordStatus::BadSize);
    EXPECT_TRUE(e.CutGuid.IsEmpty());

    e = FullDescriptor(3);
    e.AppendNumber = 1;
    e.Reset();
    EXPECT_EQ(e.AppendNumber, 0);
    EXPECT_EQ(e.Serial, 0);
    EXPECT_TRUE(e.OwnGuid.IsNull());
    EXPECT_FALSE(e.Name.HasBuffer());
}

}  // namespace elem_data_record_test
