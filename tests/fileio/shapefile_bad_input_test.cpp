// The shapefile readers on damaged files: cut short, garbled, with counts far beyond what a record holds, with
// coordinates that are no number. The main file and the table keep every record they can read and report the
// others; a file that is no shapefile is refused with "Error while reading the file." and keeps nothing; none
// crashes, reads past its data or shows anything itself.
#include "ReaderFixture.hpp"

#include "fileio/DBFTable.hpp"
#include "fileio/SHPFileData.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace shapefile_bad_input_test {

class ShapefileBadInputTest : public ReaderTest {
protected:
    // Reads `bytes` as a main file: true when read; when not, the read error is reported and no shape kept.
    // Nothing is shown either way.
    bool ReadShapes(const std::string& bytes, SHPFileData& data) {
        const size_t alertsBefore = Alerts().size();
        data.Reset();
        data.path = QV_String(Write("bad.shp", bytes).c_str(), Encoding_UTF8);
        const bool ok = data.Read();
        EXPECT_EQ(Alerts().size(), alertsBefore);
        EXPECT_EQ(data.report.error, ok ? 0 : 8);
        if (!ok) {
            EXPECT_EQ(data.polygons.GetCount() + data.polyLinesZ.GetCount() + data.pointsZ.GetCount(), 0);
        }
        return ok;
    }
    // The table's read; its report in `report`. Nothing is shown.
    ReadReport report;
    bool ReadTable(const std::string& bytes, QV_List<DBFFieldData>& fields, DBFValueList& values) {
        const std::string path = Write("bad.dbf", bytes);
        const size_t alertsBefore = Alerts().size();
        const bool ok =
            ReadDBFFile(QV_String(path.c_str(), Encoding_UTF8), fields, values, NullReaderProgress(), report);
        EXPECT_EQ(Alerts().size(), alertsBefore);
        return ok;
    }
    static void PutBE32(std::string& bytes, size_t at, uint32_t v) {
        for (int k = 0; k < 4; ++k) bytes[at + k] = char(v >> (24 - 8 * k));
    }
    static void PutLE32(std::string& bytes, size_t at, uint32_t v) {
        for (int k = 0; k < 4; ++k) bytes[at + k] = char(v >> (8 * k));
    }
};

TEST_F(ShapefileBadInputTest, MainFileCutGarbledOrOversizedIsRefusedOrRead) {
    for (const char* name : {"nc.shp", "contours.shp", "spots_z.shp", "rows_multipointz.shp", "storms_xyzm.shp"}) {
        SCOPED_TRACE(name);
        const std::string good = Slurp(Data(std::string("shp/") + name));
        SHPFileData data;
        ASSERT_TRUE(ReadShapes(good, data));
        std::mt19937 random(20261207);
        // Cut anywhere short of the end: the records before the cut are kept and the early end is told; a cut
        // inside the header leaves nothing to read.
        const int32_t whole = int32_t(data.recordCount);
        for (int i = 0; i < 40; ++i) {
            const size_t cut = random() % good.size();
            EXPECT_EQ(ReadShapes(good.substr(0, cut), data), cut >= ShapeHeaderSize) << "cut at " << cut;
            if (cut < ShapeHeaderSize) continue;
            EXPECT_EQ(data.report.Count(ReadIssue::EndedEarly), 1u) << "cut at " << cut;
            EXPECT_LT(int32_t(data.recordCount), whole);
        }
        // Garbled bytes: read or refused, never more than the file holds.
        for (int i = 0; i < 200; ++i) {
            std::string bad = good;
            for (int k = 0; k < 8; ++k) bad[random() % bad.size()] = char(random());
            ReadShapes(bad, data);
        }
    }
    // Counts of the first record of nc (a polygon) far beyond its content, and a content length beyond the file.
    const std::string nc = Slurp(Data("shp/nc.shp"));
    SHPFileData data;
    for (uint32_t count : {0x7fffffffu, 0x80000000u, 0xffffffffu, 100000000u}) {
        std::string parts = nc, points = nc, length = nc;
        PutLE32(parts, 100 + 8 + 36, count);
        PutLE32(points, 100 + 8 + 40, count);
        PutBE32(length, 100 + 4, count);
        // The damaged record alone is dropped, also when its own length cannot be true: the read goes on at the
        // next sound record.
        for (const std::string* bytes : {&parts, &points, &length}) {
            EXPECT_TRUE(ReadShapes(*bytes, data));
            EXPECT_EQ(data.polygons.GetCount(), 99);
            EXPECT_EQ(data.RecordNumbers(5)[0], 2);
            EXPECT_EQ(data.report.Count(ReadIssue::DamagedRecord), 1u);
        }
    }
    // Shorter than a header: refused. A header alone reads as no shapes, whatever its file code, version and
    // length say; a file that is no shapefile is read as far as its bytes allow, and ends with nothing made up.
    EXPECT_FALSE(ReadShapes(nc.substr(0, 60), data));
    std::string headerOnly = nc.substr(0, 100);
    PutBE32(headerOnly, 24, 50);
    EXPECT_TRUE(ReadShapes(headerOnly, data));
    EXPECT_EQ(data.recordCount, 0u);
    EXPECT_TRUE(ReadShapes(std::string(100, 'x'), data));
    EXPECT_EQ(data.recordCount, 0u);
    std::string foreign = nc;
    PutBE32(foreign, 0, 1234);  // another file code
    PutLE32(foreign, 28, 7);    // another version
    PutBE32(foreign, 24, 0);    // no length
    ASSERT_TRUE(ReadShapes(foreign, data));
    EXPECT_EQ(data.polygons.GetCount(), 100);
    EXPECT_FALSE(data.report.HasIssues());
    EXPECT_TRUE(ReadShapes("not a shapefile at all, but a note of more than a hundred bytes that someone picked "
                           "by mistake in the import dialog",
                           data));
    EXPECT_EQ(data.polygons.GetCount() + data.points.GetCount() + data.polyLines.GetCount(), 0);
}

TEST_F(ShapefileBadInputTest, RecordsAreReadFromTheirOwnBytesOnly) {
    // spots_z's points carry no measure, contours' lines no measure block: every record is kept whole.
    SHPFileData spots, lines, typed;
    spots.path = QV_String(Data("shp/spots_z.shp").c_str(), Encoding_UTF8);
    lines.path = QV_String(Data("shp/contours.shp").c_str(), Encoding_UTF8);
    ASSERT_TRUE(spots.Read());
    ASSERT_TRUE(lines.Read());
    EXPECT_EQ(uint32_t(spots.pointsZ.GetCount()), spots.recordCount);
    EXPECT_EQ(lines.polyLinesZ.GetCount(), 753);
    int32_t vertices = 0;
    for (const GISPolyZ& s : lines.polyLinesZ) {
        vertices += s.pointCount;
        EXPECT_EQ(s.z.GetCount(), s.pointCount);
        EXPECT_EQ(s.m.GetCount(), 0);
    }
    EXPECT_EQ(vertices, 19992);
    // An unknown type is skipped by its length; the records after it are read as they are.
    std::string bytes = Slurp(Data("shp/nc.shp"));
    PutLE32(bytes, 100 + 8, 77);
    typed.path = QV_String(Write("typed.shp", bytes).c_str(), Encoding_UTF8);
    ASSERT_TRUE(typed.Read());
    EXPECT_EQ(typed.skippedRecords, 1u);
    EXPECT_EQ(typed.polygons.GetCount(), 99);
    EXPECT_EQ(typed.RecordNumbers(5)[0], 2);
}

TEST_F(ShapefileBadInputTest, ACutOrDamagedRecordIsLeftOutAloneAndTold) {
    // The contours cut by 100 bytes: 752 of 753 lines, every vertex of them, and the early end said.
    const std::string contours = Slurp(Data("shp/contours.shp"));
    SHPFileData data;
    ASSERT_TRUE(ReadShapes(contours.substr(0, contours.size() - 100), data));
    EXPECT_EQ(data.polyLinesZ.GetCount(), 752);
    EXPECT_EQ(data.report.Count(ReadIssue::EndedEarly), 1u);
    EXPECT_EQ(data.report.Count(ReadIssue::DamagedRecord), 0u);
    EXPECT_EQ(data.RecordNumbers(13)[751], 752);

    // A NaN or infinite coordinate refuses its record alone, whatever the shape: points (x, then z) and a line's
    // vertex. The records after it keep their rows in the table.
    const std::string spots = Slurp(Data("shp/spots_z.shp"));
    SHPFileData whole;
    ASSERT_TRUE(ReadShapes(spots, whole));
    const int32_t count = whole.pointsZ.GetCount();
    const size_t record = 8 + 28;  // PointZ records without measure: header and content
    ASSERT_EQ(spots.size(), 100 + size_t(count) * record);
    std::string bad = spots;
    const double nan = std::nan(""), inf = HUGE_VAL;
    std::memcpy(&bad[100 + 4 * record + 12], &nan, 8);       // record 5, x
    std::memcpy(&bad[100 + 6 * record + 12 + 16], &inf, 8);  // record 7, z
    ASSERT_TRUE(ReadShapes(bad, data));
    EXPECT_EQ(data.pointsZ.GetCount(), count - 2);
    EXPECT_EQ(data.report.Count(ReadIssue::NonFiniteCoordinate), 2u);
    EXPECT_EQ(data.RecordNumbers(11)[4], 6);
    EXPECT_EQ(data.RecordNumbers(11)[5], 8);
    for (const GISPointZ& p : data.pointsZ) EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.z));
    // The first line's first vertex: after the record header, type, box, counts and its one part start.
    std::string line = contours;
    const int32_t parts = int32_t(uint8_t(line[100 + 8 + 36]));
    std::memcpy(&line[100 + 8 + 44 + 4 * size_t(parts)], &nan, 8);
    ASSERT_TRUE(ReadShapes(line, data));
    EXPECT_EQ(data.polyLinesZ.GetCount(), 752);
    EXPECT_EQ(data.RecordNumbers(13)[0], 2);
    EXPECT_EQ(data.report.Count(ReadIssue::NonFiniteCoordinate), 1u);
}

TEST_F(ShapefileBadInputTest, TableAsksNoMoreThanItsFileHoldsAndMayHaveNoFields) {
    // 2,046 fields of no length in records of one byte: 265 KB that would ask for gigabytes of values. Refused
    // with the reason, and nothing kept.
    const uint32_t fieldCount = 2046, headerLength = 32 + 32 * fieldCount + 1, records = 200000;
    std::string table(headerLength + records, ' ');
    table[0] = 3;
    PutLE32(table, 4, records);
    table[8] = char(headerLength & 0xff), table[9] = char(headerLength >> 8);
    table[10] = 1, table[11] = 0;
    for (uint32_t f = 0; f < fieldCount; ++f) {
        char* d = &table[32 + 32 * f];
        std::memset(d, 0, 32);
        std::snprintf(d, 11, "F%u", f);
        d[11] = 'C';
    }
    table[headerLength - 1] = 0x0D;
    QV_List<DBFFieldData> fields;
    DBFValueList values;
    ASSERT_TRUE(ReadTable(Slurp(Data("shp/nc.dbf")), fields, values));
    const int32_t before = fields.GetCount();
    EXPECT_FALSE(ReadTable(table, fields, values));
    EXPECT_EQ(fields.GetCount(), before);
    EXPECT_EQ(report.Count(ReadIssue::TooLarge), 1u);
    // A header of 32 bytes or less has no room for a field: a table without fields, read.
    std::string bare = Slurp(Data("shp/storms_xyz.dbf"));
    for (uint16_t length : {32, 1, 0}) {
        bare[8] = char(length), bare[9] = 0;
        EXPECT_TRUE(ReadTable(bare, fields, values)) << length;
        EXPECT_EQ(fields.GetCount(), 0);
        EXPECT_EQ(values.GetCount(), 0);
    }
}

TEST_F(ShapefileBadInputTest, TableCutGarbledOrWithLengthsBeyondItsRecordsIsRefusedOrRead) {
    for (const char* name : {"nc.dbf", "contours.dbf", "olinda1.dbf"}) {
        SCOPED_TRACE(name);
        const std::string good = Slurp(Data(std::string("shp/") + name));
        QV_List<DBFFieldData> fields;
        DBFValueList whole;
        ASSERT_TRUE(ReadTable(good, fields, whole));
        EXPECT_FALSE(report.HasIssues());
        const int32_t fieldCount = fields.GetCount();
        const uint32_t headerLength = uint8_t(good[8]) | uint8_t(good[9]) << 8;
        const uint32_t recordLength = uint8_t(good[10]) | uint8_t(good[11]) << 8;
        std::mt19937 random(7);
        for (int i = 0; i < 40; ++i) {
            // Cut inside the records: the whole records before the cut are kept, value for value, and the early end
            // is told; cut inside the header: refused, the lists as they were. Only the end-of-file marker may go
            // unnoticed.
            const size_t cut = random() % (good.size() - 1);
            QV_List<DBFFieldData> f = fields;
            DBFValueList values;
            const bool read = ReadTable(good.substr(0, cut), f, values);
            EXPECT_EQ(read, cut >= headerLength) << "cut at " << cut;
            EXPECT_EQ(f.GetCount(), fieldCount);
            if (!read) {
                EXPECT_EQ(report.error, 8);
                continue;
            }
            EXPECT_EQ(report.Count(ReadIssue::EndedEarly), 1u) << "cut at " << cut;
            const int32_t rows = int32_t((cut - headerLength) / recordLength);
            ASSERT_EQ(values.GetCount(), rows * fieldCount) << "cut at " << cut;
            for (int32_t v = 0; v < values.GetCount(); ++v) ASSERT_STREQ(values[v], whole[v]) << "cut at " << cut;
        }
    }
    const std::string good = Slurp(Data("shp/nc.dbf"));
    QV_List<DBFFieldData> fields;
    DBFValueList values;
    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i) {
        std::string bad = good;
        for (int k = 0; k < 4; ++k) bad[random() % 400] = char(random());
        ReadTable(bad, fields, values);
    }
    // A field longer than the record, and a record length that does not hold the fields.
    std::string wide = good, narrow = good;
    wide[32 + 16] = char(255);
    narrow[10] = 2;
    narrow[11] = 0;
    EXPECT_FALSE(ReadTable(wide, fields, values));
    EXPECT_EQ(report.error, 8);
    EXPECT_FALSE(ReadTable(narrow, fields, values));
    EXPECT_EQ(report.error, 8);
}

TEST_F(ShapefileBadInputTest, TableFieldsAndValuesAsTheFileHoldsThem) {
    // storms_xyz has no field at all; nc has N 24.15, N 9.0 and text fields.
    QV_List<DBFFieldData> fields;
    DBFValueList values;
    ASSERT_TRUE(ReadDBFFile(QV_String(Data("shp/storms_xyz.dbf").c_str(), Encoding_UTF8), fields, values,
                            NullReaderProgress(), report));
    EXPECT_EQ(fields.GetCount(), 0);
    EXPECT_EQ(values.GetCount(), 0);
    ASSERT_TRUE(ReadDBFFile(QV_String(Data("shp/nc.dbf").c_str(), Encoding_UTF8), fields, values, NullReaderProgress(),
                            report));
    EXPECT_EQ(fields[0].name.Compare(QV_String("AREA")), 0);
    EXPECT_EQ(fields[0].kind, -15);
    EXPECT_EQ(fields[0].length, 24);
    bool integerField = false;
    for (const DBFFieldData& f : fields) integerField |= f.kind == 0;
    EXPECT_TRUE(integerField);
    // Blanks go at both ends only; a missing table is error 8.
    std::string table = Slurp(Data("shp/nc.dbf"));
    const size_t first = uint8_t(table[8]) | uint8_t(table[9]) << 8;
    const std::string value = std::string("   12.50  \t") + std::string(13, ' ');
    std::memcpy(&table[first + 1], value.data(), 24);
    ASSERT_TRUE(ReadTable(table, fields, values));
    EXPECT_STREQ(values[0], "12.50  \t");
    EXPECT_FALSE(ReadDBFFile(QV_String(UserFile("none.dbf").c_str(), Encoding_UTF8), fields, values,
                             NullReaderProgress(), report));
    EXPECT_EQ(report.error, 8);
    EXPECT_EQ(TablePathOf(QV_String("c:\\data.old\\parcels")).Compare(QV_String("c:\\data.old\\parcels.dbf")), 0);
    EXPECT_EQ(TablePathOf(QV_String("c:\\data\\parcels.shp")).Compare(QV_String("c:\\data\\parcels.dbf")), 0);
}

// A main file shorter than the header every shapefile begins with is no shapefile, and says so.
TEST_F(ShapefileBadInputTest, AFileShorterThanAShapefileHeaderSaysSo) {
    const std::string good = Slurp(Data("shp/contours.shp"));
    for (size_t length : {size_t(0), size_t(1), size_t(50), size_t(99)}) {
        SCOPED_TRACE(length);
        SHPFileData data;
        EXPECT_FALSE(ReadShapes(good.substr(0, length), data));
        EXPECT_EQ(data.report.Count(ReadIssue::ShorterThanShapefile), 1u);
    }
}

}  // namespace shapefile_bad_input_test
