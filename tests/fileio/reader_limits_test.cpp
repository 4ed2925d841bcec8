// Every reader against what no survey holds and against its own limits: values beyond the survey bounds are
// skipped and counted like unreadable numbers, grids whose header disagrees with their rows or describes no grid are
// refused with their reason, a file too large is refused by its size, a stop ends a read without a word, a damaged
// shapefile record is lost alone, and long lines and many layers are read whole.
#include "DxfFixture.hpp"

#include "fileio/DBFTable.hpp"
#include "fileio/SHPFileData.hpp"
#include "fileio/ShapeImportData.hpp"
#include "fileio/ShapeTerrainInput.hpp"
#include "fileio/SurveyBounds.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace reader_limits_test {

using ASCFile::ASCFilePoint;

std::string Limits(const std::string& name) { return "limits/" + name; }

// Answers "stop" from its `after`th step on.
class StoppingProgress : public ReaderProgress {
public:
    explicit StoppingProgress(int after) : left_(after) {}
    bool Step(uint32_t) override { return --left_ < 0; }

private:
    int left_;
};

class ReaderLimitsTest : public DxfReaderTest {
protected:
    static void ExpectWithinSurvey(const std::vector<ASCFilePoint>& points) {
        for (const ASCFilePoint& p : points) ASSERT_TRUE(SurveyPoint(p.x, p.y, p.z)) << p.x << " " << p.y << " " << p.z;
    }
};

TEST_F(ReaderLimitsTest, ValuesBeyondAnySurveyAreSkippedAndCounted) {
    // Points: "1e308" three times, 2e8 and -2e5 beyond the bounds; "inf" and "nan" no numbers; the column names of
    // the first row are no skipped line.
    TextFileCls points;
    Run(points, Data(Limits("beyond_survey.txt")));
    ASSERT_EQ(points.points.size(), 2u);
    EXPECT_EQ(points.points[0].z + points.points[1].z, 12.5 + 14.25);
    EXPECT_EQ(points.report.Count(ReadIssue::OutOfRange), 5u);
    // A line whose coordinate is no number is a damaged record.
    EXPECT_EQ(points.report.Count(ReadIssue::DamagedRecord), 2u);
    EXPECT_EQ(points.report.error, 0);
    EXPECT_LE(points.bounds.xMax, 500006.0);

    ASCFile::ASCFileCls grid;
    Run(grid, Data(Limits("heights_beyond.asc")));
    EXPECT_EQ(grid.points.size(), 4u);
    EXPECT_EQ(grid.report.Count(ReadIssue::OutOfRange), 2u);
    ExpectWithinSurvey(grid.points);

    // A POINT at 1e308 and one 1000 km high, a LINE to 2e8 and a polyline vertex at -1e9: four entities skipped;
    // the other POINT and LINE read.
    DXFFileCls dxf;
    int32_t error = 0;
    ASSERT_TRUE(ReadDxf(dxf, Data(Limits("beyond_survey.dxf")), error));
    EXPECT_EQ(dxf.report.Count(ReadIssue::OutOfRange), 4u);
    EXPECT_EQ(dxf.pointEntities.size(), 1u);
    EXPECT_EQ(dxf.vertices.size(), 2u);
    EXPECT_LE(dxf.bounds.xMax, 500040.0);

    // PointZ records at 1e308 and 1e6 high: skipped, the other two kept with their record numbers.
    SHPFileData shapes;
    shapes.path = QV_String(Data(Limits("pointz_beyond.shp")).c_str(), Encoding_UTF8);
    ASSERT_TRUE(shapes.Read());
    ASSERT_EQ(shapes.pointsZ.GetCount(), 2);
    EXPECT_EQ(shapes.RecordNumbers(11)[1], 4);
    EXPECT_EQ(shapes.report.Count(ReadIssue::OutOfRange), 2u);
}

// Over random point files: each line is a point within the bounds, a value beyond them counted, or an unreadable
// number counted; nothing else, whatever the mix.
TEST_F(ReaderLimitsTest, EveryPointLineIsKeptOrCounted) {
    std::mt19937 rng(20261209);
    const char* const beyond[] = {"1e308", "-1e308", "2e8", "-1.5e8", "1e9"};
    const char* const garbage[] = {"nan", "inf", "-inf", "1e999", "n/a"};
    for (int round = 0; round < 20; ++round) {
        std::string text = "x\ty\tz\n";
        size_t kept = 0, outside = 0, bad = 0;
        for (int i = 0; i < 200; ++i) {
            std::string field[3] = {std::to_string(400000 + i * 3) + ".25", std::to_string(6000000 + i) + ".5",
                                    std::to_string(i % 900)};
            switch (rng() % 4) {
                case 0: field[rng() % 3] = beyond[rng() % 5], ++outside; break;
                case 1: field[rng() % 3] = garbage[rng() % 5], ++bad; break;
                default: ++kept;
            }
            // A height beyond 1e5 m but below the plan bound is out of range only as a height.
            text += field[0] + "\t" + field[1] + "\t" + field[2] + "\n";
        }
        TextFileCls reader;
        Run(
            reader, Write("mix.txt", text), [](TextFileCls&) {}, [](TextFileCls& r) { r.tolerance = 0.0; });
        ASSERT_EQ(reader.points.size(), kept) << "round " << round;
        EXPECT_EQ(reader.report.Count(ReadIssue::OutOfRange), outside);
        EXPECT_EQ(reader.report.Count(ReadIssue::DamagedRecord), bad);
        ExpectWithinSurvey(reader.points);
    }
}

TEST_F(ReaderLimitsTest, GridsThatDisagreeWithTheirHeaderOrDescribeNoGridAreRefusedWithTheReason) {
    const std::string
        none = "The file has no grid header (ncols, nrows, xllcorner, yllcorner, cellsize): it was not read.",
        disagree = "The grid's rows do not match the rows and columns its header gives: it was not read.",
        absurd = "The grid's header gives a cell size or a position that no survey holds: it was not read.";
    const std::pair<const char*, std::string> cases[] = {
        {"no_header.asc", none},       {"rows_beyond_header.asc", disagree}, {"row_longer.asc", disagree},
        {"row_shorter.asc", disagree}, {"cellsize_zero.asc", absurd},        {"cellsize_negative.asc", absurd},
        {"cellsize_huge.asc", absurd}, {"corner_beyond.asc", absurd},
    };
    for (const auto& [name, reason] : cases) {
        SCOPED_TRACE(name);
        DGDriver::ClearQueueAndLog();
        ASCFile::ASCFileCls grid;
        Run(grid, Data(Limits(name)));
        EXPECT_TRUE(grid.points.empty());
        EXPECT_TRUE(ShowedReadError());
        EXPECT_EQ(AlertDetails(), std::vector<std::string>{reason});
    }
    // The header as the options dialog reads it: the same parser, the position left at the first row.
    ASCFile::ASCFileCls grid;
    grid.path = QV_String(Data(Limits("centre_header.asc")).c_str(), Encoding_UTF8);
    ASSERT_TRUE(grid.Detect());
    ReadAscHeaderValues(grid);
    EXPECT_FALSE(grid.header.hasNodata);
    EXPECT_EQ(grid.header.CellX(3), 500035.0);
    EXPECT_EQ(grid.header.CellY(0), 6500025.0);
    QV_String row;
    grid.ReadLine(row);
    EXPECT_EQ(row.ToStdString(Encoding_System), "1 2 3 4");
    grid.CloseReaderFile();
}

TEST_F(ReaderLimitsTest, DxfWithoutEntitiesSaysItHoldsNothing) {
    for (const char* name : {"no_entities_section.dxf", "empty_entities.dxf"}) {
        SCOPED_TRACE(name);
        DXFFileCls reader;
        int32_t error = 0;
        EXPECT_FALSE(ReadDxf(reader, Data(Limits(name)), error));
        EXPECT_EQ(error, int32_t(ErrNothingReadable));
    }
    // A first block longer than any DXF line without a line break: no text, told before the rest is searched.
    DXFFileCls binary;
    int32_t error = 0;
    EXPECT_FALSE(ReadDxf(binary, Write("blob.dxf", std::string(70000, '\0') + "0\nSECTION\n"), error));
    EXPECT_EQ(binary.report.Count(ReadIssue::NotText), 1u);
}

TEST_F(ReaderLimitsTest, FilesOfFourGiBOrMoreAreRefusedByTheirSize) {
    // Sparse: nothing is written but the first bytes.
    const std::string path = Write("huge.bin", "0\nSECTION\n");
    std::filesystem::resize_file(path, (uint64_t(1) << 32) + 10);
    const QV_String name(path.c_str(), Encoding_UTF8);
    TextFileCls points;
    Run(points, path);
    EXPECT_EQ(points.report.Count(ReadIssue::FileTooLarge), 1u);
    DXFFileCls dxf;
    int32_t error = 0;
    EXPECT_FALSE(ReadDxf(dxf, path, error));
    EXPECT_EQ(dxf.report.Count(ReadIssue::FileTooLarge), 1u);
    SHPFileData shapes;
    shapes.path = name;
    EXPECT_FALSE(shapes.Read());
    EXPECT_EQ(shapes.report.Count(ReadIssue::FileTooLarge), 1u);
    QV_List<DBFFieldData> fields;
    DBFValueList values;
    ReadReport table;
    EXPECT_FALSE(ReadDBFFile(name, fields, values, NullReaderProgress(), table));
    EXPECT_EQ(table.Count(ReadIssue::FileTooLarge), 1u);
    std::filesystem::remove(path);
}

// The user's stop at any step of a read: the read answers no result, and nothing is told.
TEST_F(ReaderLimitsTest, AStopEndsEveryReadQuietly) {
    for (int after = 0; after < 30; after += 3) {
        SCOPED_TRACE(after);
        DGDriver::ClearQueueAndLog();
        StoppingProgress stop(after);
        ASCFile::ASCFileCls grid;
        grid.SetProgress(&stop);
        Run(grid, Data("asc/small_4x3.asc"));
        EXPECT_TRUE(grid.cancelled);
        EXPECT_TRUE(grid.points.empty());
        StoppingProgress stopPoints(after);
        TextFileCls points;
        points.SetProgress(&stopPoints);
        Run(points, Data("xyz/points_dup.txt"));
        EXPECT_TRUE(points.cancelled);
        EXPECT_TRUE(points.points.empty());
        EXPECT_TRUE(Alerts().empty());
    }
    StoppingProgress stop(0);
    QV_List<DBFFieldData> fields;
    DBFValueList values;
    ReadReport table;
    EXPECT_FALSE(ReadDBFFile(QV_String(Data("shp/nc.dbf").c_str(), Encoding_UTF8), fields, values, stop, table));
    EXPECT_EQ(table.error, 0);
    EXPECT_FALSE(table.HasIssues());
}

TEST_F(ReaderLimitsTest, ADamagedShapeRecordIsLostAloneAndShapesWithoutARowAreToBeCorrected) {
    SHPFileData shapes;
    shapes.path = QV_String(Data(Limits("bad_length.shp")).c_str(), Encoding_UTF8);
    ASSERT_TRUE(shapes.Read());
    ASSERT_EQ(shapes.pointsZ.GetCount(), 3);
    EXPECT_EQ(shapes.RecordNumbers(11)[0], 1);
    EXPECT_EQ(shapes.RecordNumbers(11)[1], 3);
    EXPECT_EQ(shapes.RecordNumbers(11)[2], 4);
    EXPECT_EQ(shapes.report.Count(ReadIssue::DamagedRecord), 1u);

    // Two rows for the two shapes kept of four: the one of record 4 has none. "nan" in a number field is no value.
    ShapeImportData data;
    data.shapes.path = QV_String(Data(Limits("pointz_beyond.shp")).c_str(), Encoding_UTF8);
    ASSERT_TRUE(ReadDBFTable(data));
    EXPECT_EQ(data.tableReport.Count(ReadIssue::BadNumber), 1u);
    EXPECT_STREQ(data.Value(2, 0), "");
    EXPECT_STREQ(data.Value(1, 0), "12.500");
    ASSERT_TRUE(data.shapes.Read());
    EXPECT_EQ(ShapesWithoutTableRow(data), 1u);
    ConvertShapesToEntities(data, true);
    CheckShapePolygons(data);
    EXPECT_EQ(data.toCorrect, 1);

    // A height field whose value is no survey's height gives none: 0, counted.
    ASSERT_TRUE(data.values.Replace(0, "1e308"));
    data.options.heightField = 0;
    ApplyHeightField(data);
    EXPECT_EQ(data.heightsRefused, 1u);
    for (const SHPEntityData& entity : data.entities) EXPECT_TRUE(SurveyHeight(entity.z));
}

// Point shapes at one place with two heights: the thinning keeps the first and counts the place once, whatever
// its distance; a point dropped only for being near another place is no such place.
TEST_F(ReaderLimitsTest, PointShapesOfTwoHeightsAtOnePlaceAreCountedWhenThinned) {
    for (const double distance : {1.0, 50.0}) {
        SCOPED_TRACE(distance);
        ShapeImportData data;
        data.shapes.path = QV_String(Data(Limits("points_one_place.shp")).c_str(), Encoding_UTF8);
        ASSERT_TRUE(ReadDBFTable(data));
        ASSERT_TRUE(data.shapes.Read());
        ConvertShapesToEntities(data, true);
        data.options.nodeDistance = distance;
        ThinPointEntities(data);
        EXPECT_EQ(data.entities.GetCount(), distance < 11.0 ? 2 : 1);
        EXPECT_EQ(data.entities[0].z, 10.0);
        EXPECT_EQ(data.mixedHeights, 1u);
    }
}

// A line of any length is read whole, or only its start when the caller keeps no more; layers that differ only in
// case are one, however many there are.
TEST_F(ReaderLimitsTest, LongLinesAndManyLayersAreReadWhole) {
    std::string line(3 << 20, 'a');
    for (size_t i = 0; i < line.size(); i += 4099) line[i] = char('b' + i % 20);
    const std::string path = Write("long.txt", line + "\r\nnext\n");
    BaseFileCls reader;
    reader.path = QV_String(path.c_str(), Encoding_UTF8);
    ASSERT_EQ(reader.OpenReaderFile(), 0);
    ASSERT_EQ(reader.GetReaderFileLength(), 0);
    QV_String read;
    ASSERT_EQ(ReadTextLine(reader, read, 100), 0);
    EXPECT_EQ(read.ToStdString(Encoding_System), line.substr(0, 100));
    ReadTextLine(reader, read);
    EXPECT_EQ(read.ToStdString(Encoding_System), "next");
    reader.SetReaderFilePosition(0);
    ReadTextLine(reader, read);
    EXPECT_EQ(read.ToStdString(Encoding_System), line);
    reader.CloseReaderFile();

    std::string entities;
    for (int i = 0; i < 20000; ++i) {
        std::string name = "Layer_" + std::to_string(i);
        entities += Point(name, i, 0, 1);
        for (char& c : name) c = char(std::toupper(static_cast<unsigned char>(c)));
        entities += Point(name, i, 1, 1);
    }
    DXFFileCls dxf;
    int32_t error = 0;
    ASSERT_TRUE(ReadDxf(dxf, Write("layers.dxf", Dxf(entities)), error));
    ASSERT_EQ(dxf.layers.size(), 20000u);
    EXPECT_EQ(dxf.layers[19999].name.ToStdString(Encoding_System), "Layer_19999");
    EXPECT_EQ(dxf.pointEntities.size(), 40000u);
}

}  // namespace reader_limits_test
