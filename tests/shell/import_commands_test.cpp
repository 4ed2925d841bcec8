// The grid and point-file imports as the palette runs them, in an in-process host: the file dialog, the options
// and results dialogs, the hotspots with their point records, the project offset, one undo step, an import
// area, running code numbers and a user break.
#include "InProcessHost.hpp"

#include "DGDriver.hpp"
#include "dialogs/settings/PointImportResultsDialog.hpp"
#include "dialogs/settings/ShapeImportModeDialog.hpp"
#include "dialogs/settings/ShapeImportResultsDialog.hpp"
#include "elements/ElemDataRecord.hpp"
#include "fileio/ASCFileCls.hpp"
#include "fileio/HostReaderProgress.hpp"
#include "fileio/TextFileCls.hpp"
#include "foundation/ACAPI.hpp"
#include "settings/ProjectOffset.hpp"
#include "settings/Settings.hpp"
#include "shell/commands/ImportCommands.hpp"
#include "shell/commands/ShapeImportCommands.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <tuple>
#include <vector>

namespace import_commands_test {

using Point = std::tuple<double, double, double>;

struct Placed {
    double x, y;  // plan position
    ElemDescriptor record;
};

class ImportCommandsTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        ASSERT_TRUE(host->Load());
        ProjectOffset.Reset();
        GlobalSettings.points.SetDefaults();
    }
    static std::string Data(const std::string& name) { return TestSupport::DataDir() + "/" + name; }
    static std::vector<Placed> Hotspots() {
        GS::Array<API_Guid> guids;
        EXPECT_EQ(ACAPI_Element_GetElemList(API_HotspotID, &guids), NoError);
        std::vector<Placed> placed;
        for (uint32_t i = 0; i < guids.GetSize(); ++i) {
            API_Element element = {};
            element.header.guid = guids[i];
            EXPECT_EQ(ACAPI_Element_Get(&element), NoError);
            Placed p{element.hotspot.pos.x, element.hotspot.pos.y, {}};
            EXPECT_TRUE(ElemUserData_ReadFromElement(p.record, ElemKind_Point, element.header, false));
            placed.push_back(p);
        }
        return placed;
    }
    // What the reader alone makes of the file (the options as detected, as the dialog's OK keeps them).
    template <typename Reader>
    static std::vector<ASCFile::ASCFilePoint> ReadAlone(const std::string& path) {
        Reader reader;
        reader.path = QV_String(path.c_str(), Encoding_UTF8);
        reader.SetImportOptions(GlobalSettings.points);
        EXPECT_TRUE(reader.Detect());
        EXPECT_TRUE(reader.Read());
        return reader.points;
    }
};

TEST_F(ImportCommandsTest, GridCellsBecomeHotspotsWithTheirHeightsLessTheOffsetInOneUndoStep) {
    const std::string path = Data("asc/elev.asc");
    const std::vector<ASCFile::ASCFilePoint> points = ReadAlone<ASCFile::ASCFileCls>(path);
    ASSERT_EQ(points.size(), 7118u);
    // The terrain position: the points' south-west corner becomes (100, 200).
    DGDriver::QueueFileAnswer({path});
    DGDriver::QueueSetDouble(PointImportResultsDialogId, 20, 100.0);
    DGDriver::QueueSetDouble(PointImportResultsDialogId, 22, 200.0);
    const size_t stepsBefore = host->Database().UndoTexts().size();
    ImportASCFile(GlobalSettings);
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_TRUE(DGDriver::UnusedActions().empty());

    double minX = 1e300, minY = 1e300;
    for (const auto& p : points) minX = std::min(minX, p.x), minY = std::min(minY, p.y);
    EXPECT_DOUBLE_EQ(ProjectOffset.x, minX - 100.0);
    EXPECT_DOUBLE_EQ(ProjectOffset.y, minY - 200.0);
    std::vector<Point> expected, got;
    for (const auto& p : points) expected.emplace_back(p.x, p.y, p.z);
    const std::vector<Placed> placed = Hotspots();
    for (const Placed& h : placed) {
        got.emplace_back(h.x + ProjectOffset.x, h.y + ProjectOffset.y, h.record.Value);
        ASSERT_TRUE(h.record.Name.IsEmpty() && h.record.Note.IsEmpty());
    }
    std::sort(expected.begin(), expected.end());
    std::sort(got.begin(), got.end());
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
        ASSERT_NEAR(std::get<0>(got[i]), std::get<0>(expected[i]), 1e-6);
        ASSERT_NEAR(std::get<1>(got[i]), std::get<1>(expected[i]), 1e-6);
        ASSERT_EQ(std::get<2>(got[i]), std::get<2>(expected[i]));
    }
    ASSERT_EQ(host->Database().UndoTexts().size(), stepsBefore + 1);
    ASSERT_TRUE(host->Database().Undo());
    EXPECT_TRUE(Hotspots().empty());
}

TEST_F(ImportCommandsTest, AreaBordersCountAndCodeNumbersRunOnAcrossTheWrap) {
    const std::string path = Data("xyz/points_code_comment_cp1252.txt");
    const std::vector<ASCFile::ASCFilePoint> points = ReadAlone<TextFileCls>(path);
    ASSERT_EQ(points.size(), 1017u);
    // An area whose borders pass through points.
    const double x0 = points[100].x, x1 = points[700].x;
    std::vector<double> ys;
    for (const auto& p : points) ys.push_back(p.y);
    std::sort(ys.begin(), ys.end());
    const double y0 = ys[200], y1 = ys[800];
    size_t inside = 0;
    for (const auto& p : points) inside += p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1;

    DGDriver::QueueFileAnswer({path});
    DGDriver::QueueSetLong(32568, 26, 1);  // "Overwrite original code"
    DGDriver::QueueSetText(32568, 28, "K");
    DGDriver::QueueSetText(32568, 29, "99999");
    DGDriver::QueueSetLong(PointImportResultsDialogId, 18, 1);  // "Import area"
    // Maxima first: each edit orders and clamps the pair as it stands.
    DGDriver::QueueSetDouble(PointImportResultsDialogId, 31, x1);
    DGDriver::QueueSetDouble(PointImportResultsDialogId, 32, y1);
    DGDriver::QueueSetDouble(PointImportResultsDialogId, 29, x0);
    DGDriver::QueueSetDouble(PointImportResultsDialogId, 30, y0);
    ImportTextFile(GlobalSettings);
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_TRUE(DGDriver::UnusedActions().empty());

    std::vector<Placed> placed = Hotspots();
    ASSERT_EQ(placed.size(), inside);
    std::vector<int32_t> numbers;
    for (const Placed& h : placed) {
        EXPECT_EQ(h.record.Name.ToStdString(), "K");
        numbers.push_back(h.record.Number);
    }
    std::sort(numbers.begin(), numbers.end());
    // 99999, then 0, 1, ...: the next import goes on from there.
    EXPECT_EQ(numbers.back(), 99999);
    EXPECT_EQ(numbers.front(), 0);
    EXPECT_EQ(numbers[numbers.size() - 2], int32_t(inside - 2));
    EXPECT_EQ(GlobalSettings.points.codeNumber, int32_t(inside - 1));
    EXPECT_EQ(GlobalSettings.points.code.ToStdString(), "K");
}

TEST_F(ImportCommandsTest, WrongExtensionAsksAgainAndCancelsCreateNothing) {
    const std::string grid = Data("asc/elev.asc");
    // A grid offered to the point import: error 2, the file dialog again, cancelled.
    DGDriver::QueueFileAnswer({grid});
    DGDriver::QueueAlertAnswer(1);
    DGDriver::QueueFileCancel();
    ImportTextFile(GlobalSettings);
    // Read, then the results cancelled: nothing placed.
    DGDriver::QueueFileAnswer({grid});
    DGDriver::QueueClick(PointImportResultsDialogId, 2);
    ImportASCFile(GlobalSettings);
    EXPECT_TRUE(Hotspots().empty());
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
    int alerts = 0;
    for (const auto& r : DGDriver::Log()) alerts += r.kind == "alert";
    EXPECT_EQ(alerts, 1);
}

// The user's stop ends the read as a cancel does: no points, no error, the progress window closed.
TEST_F(ImportCommandsTest, AUserBreakEndsTheReadQuietly) {
    const std::string path = Data("asc/elev.asc");
    host->Session().progress.breakAfter = 20 + 20 + 149 + 60;  // reading, converting, extracting, 60 rows
    ASCFile::ASCFileCls reader;
    reader.path = QV_String(path.c_str(), Encoding_UTF8);
    reader.SetImportOptions(GlobalSettings.points);
    HostReaderProgress progress;
    reader.SetProgress(&progress);
    EXPECT_TRUE(reader.Detect());
    EXPECT_FALSE(reader.Read());
    EXPECT_TRUE(reader.cancelled);
    EXPECT_EQ(reader.report.error, 0);
    EXPECT_FALSE(reader.report.HasIssues());
    EXPECT_TRUE(reader.points.empty());
    EXPECT_FALSE(host->Session().progress.open);
}

TEST(ImportResultsRules, CountsShowWholeAndTheAreaStaysOrderedInsideTheBox) {
    EXPECT_EQ(ImportCountText(7118).ToStdString(), "7118");
    EXPECT_EQ(ImportCountText(999999).ToStdString(), "999999");
    EXPECT_EQ(ImportCountText(1234567).ToStdString(), "1234567");
    EXPECT_EQ(ImportCountText(4294967295u).ToStdString(), "4294967295");
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> value(-100.0, 100.0);
    for (int i = 0; i < 2000; ++i) {
        double low = value(rng), high = value(rng);
        if (low > high) std::swap(low, high);
        double a = value(rng), b = value(rng);
        const double a0 = a, b0 = b;
        ClampImportArea(a, b, low, high);
        ASSERT_LE(low, a);
        ASSERT_LE(a, b);
        ASSERT_LE(b, high);
        // Values inside the box are kept, only ordered.
        if (a0 >= low && a0 <= high && b0 >= low && b0 <= high) {
            ASSERT_EQ(a, std::min(a0, b0));
            ASSERT_EQ(b, std::max(a0, b0));
        }
    }
}

TEST_F(ImportCommandsTest, TheTextDialogsSecondLayoutCarriesItsChoicesToTheRead) {
    // The first layout switches to the second, where "x y Code Comment" is chosen: no heights, texts kept.
    DGDriver::QueueFileAnswer({Data("xyz/points_xy_code_comment.txt")});
    DGDriver::QueueSetLong(32568, 10, 1);  // "x - y reversed", carried across
    DGDriver::QueueClick(32568, 35);
    DGDriver::QueueSetLong(32500, 44, 1);
    ImportTextFile(GlobalSettings);
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
    const std::vector<Placed> placed = Hotspots();
    ASSERT_EQ(placed.size(), 101u);
    for (const Placed& h : placed) {
        ASSERT_EQ(h.record.Value, 0.0);
        ASSERT_FALSE(h.record.Note.IsEmpty());
        // Swapped: the northing is in x.
        ASSERT_GT(h.x, 5e6);
    }
}

TEST_F(ImportCommandsTest, ResultsShowWholeCountsAndTheirPicturesInBothLayouts) {
    struct Layout {
        int16_t id, counts[3], pictures[2], warning;
    };
    const Layout layouts[] = {{PointImportResultsDialogId, {6, 8, 10}, {12, 13}, 11},
                              {PointImportResultsTwinDialogId, {8, 10, 12}, {14, 15}, 13}};
    // 5000 kept shows the two pictures, 5001 the warning instead.
    for (const uint32_t kept : {5000u, 5001u}) {
        DGDriver::Reset();
        ASCFile::ASCFileCls reader;
        reader.bounds = API_Box{0.0, 0.0, 10.0, 10.0};
        reader.pointsRead = 1433712;
        reader.pointsKept = kept;
        DGDriver::QueueClick(PointImportResultsDialogId, 33);  // to the second layout
        DGDriver::QueueClick(PointImportResultsTwinDialogId, 1);
        ASSERT_TRUE(RunPointImportResults(reader));
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        for (const Layout& l : layouts) {
            const DGDriver::LogRecord* shown = nullptr;
            for (const DGDriver::LogRecord& r : DGDriver::Log())
                if (r.kind == "modal" && r.id == l.id) shown = &r;
            ASSERT_NE(shown, nullptr) << l.id;
            auto item = [&](int16_t id) {
                for (const DGDriver::ItemState& s : shown->items)
                    if (s.id == id) return s;
                ADD_FAILURE() << "item " << id << " of " << l.id;
                return DGDriver::ItemState();
            };
            const std::string texts[3] = {"1433712", std::to_string(kept), std::to_string(1433712 - kept)};
            for (int k = 0; k < 3; ++k) EXPECT_EQ(item(l.counts[k]).text, texts[k]) << l.id;
            EXPECT_EQ(item(l.pictures[0]).image, 32539) << l.id;
            EXPECT_EQ(item(l.pictures[1]).image, 32540) << l.id;
            for (int16_t p : l.pictures) EXPECT_EQ(item(p).visible, kept <= 5000) << l.id;
            EXPECT_EQ(item(l.warning).visible, kept > 5000) << l.id;
        }
    }
}

TEST_F(ImportCommandsTest, TheResultsSecondLayoutSetsThePositionAndArea) {
    const std::string path = Data("asc/small_4x3.asc");
    // Position x 0 in the second layout; area maxima beyond the box are clamped to it, the y minimum below it
    // (still 0, shown against an offset y of 0) raised to the box.
    DGDriver::QueueFileAnswer({path});
    DGDriver::QueueClick(PointImportResultsDialogId, 33);
    DGDriver::QueueSetDouble(PointImportResultsTwinDialogId, 21, 0.0);
    DGDriver::QueueSetLong(PointImportResultsTwinDialogId, 30, 1);
    DGDriver::QueueSetDouble(PointImportResultsTwinDialogId, 36, 500.0);
    DGDriver::QueueSetDouble(PointImportResultsTwinDialogId, 32, 10.0);
    DGDriver::QueueSetDouble(PointImportResultsTwinDialogId, 38, 5000.0);
    ImportASCFile(GlobalSettings);
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
    // The first column's centre, 1005, moved to 0.
    EXPECT_DOUBLE_EQ(ProjectOffset.x, 1005.0);
    EXPECT_DOUBLE_EQ(ProjectOffset.y, 0.0);
    // Columns from x 1015 on (the area is typed relative to the offset), all three rows.
    const std::vector<Placed> placed = Hotspots();
    EXPECT_EQ(placed.size(), 8u);
    for (const Placed& h : placed) EXPECT_GE(h.x, 10.0);
}

// A shapefile cut inside its last record: the import goes on with what it holds, and says that the file ended early
// before the results are shown.
TEST_F(ImportCommandsTest, ACutShapefileIsImportedAsFarAsItGoesAndSaysSo) {
    std::ifstream in(Data("shp/contours.shp"), std::ios::binary);
    std::string shapes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string path = UserFile("cut.shp");
    std::ofstream(path, std::ios::binary) << shapes.substr(0, shapes.size() - 100);
    std::filesystem::copy_file(Data("shp/contours.dbf"), UserFile("cut.dbf"));
    DGDriver::QueueClick(ShapeImportModeDialogId, 1);  // terrain input
    DGDriver::QueueFileAnswer({path});
    DGDriver::QueueClick(ShapeResultsTerrainDialogId, 2);  // the results seen, cancelled
    ImportGISFile(GlobalSettings);
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
    int told = 0, refused = 0;
    for (const DGDriver::LogRecord& r : DGDriver::Log()) {
        if (r.kind != "alert" || r.texts.empty()) continue;
        told += r.texts[0].find("The file ends early") != std::string::npos;
        refused += r.texts[0].find("Error while reading the file.") != std::string::npos;
    }
    EXPECT_EQ(told, 1);
    EXPECT_EQ(refused, 0);
}

TEST_F(ImportCommandsTest, AFileThatCannotBeReadIsRefusedWithItsReason) {
    DGDriver::QueueFileAnswer({Data("asc/bad/empty.asc")});
    DGDriver::QueueAlertAnswer(1);
    ImportASCFile(GlobalSettings);
    EXPECT_TRUE(Hotspots().empty());
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
    std::vector<std::vector<std::string>> alerts;
    for (const auto& r : DGDriver::Log())
        if (r.kind == "alert") alerts.push_back(r.texts);
    ASSERT_EQ(alerts.size(), 1u);
    ASSERT_EQ(alerts[0].size(), 2u);
    EXPECT_EQ(alerts[0][0], "Error while reading the file.");
    EXPECT_EQ(alerts[0][1], "The file holds nothing to read.");
}

// Both files of a shapefile cut: the table keeps its whole records before the cut as the main file does, and one
// alert says so for both. A name without ".shp" is refused with its own text. A terrain placement failing part-way
// leaves nothing placed and the shape height as it was, and is told.
TEST_F(ImportCommandsTest, ACutTableIsReadAsFarAsItGoesAndAFailedPlacementLeavesNothing) {
    auto slurp = [](const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    const std::string shapes = slurp(Data("shp/contours.shp")), table = slurp(Data("shp/contours.dbf"));
    std::ofstream(UserFile("cut.shp"), std::ios::binary) << shapes.substr(0, shapes.size() - 100);
    std::ofstream(UserFile("cut.dbf"), std::ios::binary) << table.substr(0, table.size() / 2);
    std::ofstream(UserFile("cut.txt"), std::ios::binary) << "x";
    auto alerts = [](const char* text) {
        int n = 0;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            n += r.kind == "alert" && !r.texts.empty() && r.texts[0].find(text) != std::string::npos;
        return n;
    };
    DGDriver::QueueClick(ShapeImportModeDialogId, 1);
    DGDriver::QueueFileAnswer({UserFile("cut.txt")});
    ImportGISFile(GlobalSettings);
    EXPECT_EQ(alerts("The name of the file must end with the .shp extension"), 1);

    const double shapeHeight = ProjectOffset.shapeHeight;
    for (int32_t passes : {0, 40, 5000}) {
        SCOPED_TRACE(passes);
        ASSERT_TRUE(host->FailCallAfter("Element_SetUserData", -1, APIERR_GENERAL, passes));
        DGDriver::QueueClick(ShapeImportModeDialogId, 1);
        DGDriver::QueueFileAnswer({UserFile("cut.shp")});
        DGDriver::QueueClick(ShapeResultsTerrainDialogId, 1);
        ImportGISFile(GlobalSettings);
        host->ClearFailures();
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        EXPECT_TRUE(Hotspots().empty());
        GS::Array<API_Guid> lines;
        EXPECT_EQ(ACAPI_Element_GetElemList(API_LineID, &lines), NoError);
        EXPECT_EQ(lines.GetSize(), 0u);
        EXPECT_EQ(ProjectOffset.shapeHeight, shapeHeight);
    }
    EXPECT_EQ(alerts("The file ends early: the records before its end were read. (2)"), 3);
    EXPECT_EQ(alerts("Error while modifying/creating the object."), 3);
    EXPECT_EQ(alerts("Error while reading the file."), 0);
}

TEST_F(ImportCommandsTest, APlacementThatFailsPartWayLeavesNoPointAndSaysSo) {
    // A creation or a record write failing after thousands of points: none stays, 43 is shown, and the next
    // import's code number is where this one began.
    GlobalSettings.points.codeNumber = 17;
    for (const char* function : {"Element_Create", "Element_SetUserData"}) {
        SCOPED_TRACE(function);
        DGDriver::ClearQueueAndLog();
        DGDriver::QueueFileAnswer({Data("xyz/points_code_comment_cp1252.txt")});
        DGDriver::QueueSetLong(32568, 26, 1);  // "Overwrite original code"
        DGDriver::QueueAlertAnswer(1);
        ASSERT_TRUE(host->FailCallAfter(function, -1, APIERR_GENERAL, 600));
        ImportTextFile(GlobalSettings);
        host->ClearFailures();
        EXPECT_TRUE(Hotspots().empty());
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        std::vector<std::string> alerts;
        for (const auto& r : DGDriver::Log())
            if (r.kind == "alert" && !r.texts.empty()) alerts.push_back(r.texts[0]);
        EXPECT_EQ(alerts, std::vector<std::string>{"Error while modifying/creating the object."});
        EXPECT_EQ(GlobalSettings.points.codeNumber, 17);
    }
}

// A shapefile without its table is refused naming the missing file, as GIS objects (which take their attributes from
// it) and terrain input alike: error 8. A table there but unreadable or without a number field lets terrain input
// read the shapes, and heights asked for from a field are told to come from none.
TEST_F(ImportCommandsTest, AMissingTableIsNamedWhereItIsNeededAndTheHeightsItWouldGiveAreTold) {
    for (const std::string extension : {".shp", ".shx"})
        std::filesystem::copy_file(Data("shp/storms_xyz" + extension), UserFile("tracks" + extension));
    auto slurp = [](const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    auto alerts = [] {
        std::vector<std::vector<std::string>> shown;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.kind == "alert") shown.push_back(r.texts);
        return shown;
    };
    ShapeImportData objects;
    DGDriver::QueueFileAnswer({UserFile("tracks.shp")});
    EXPECT_FALSE(ReadShapefile(objects, true));
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
    const std::vector<std::vector<std::string>> refused = {
        {"Error while reading the file.", "The shapefile's attribute table tracks.dbf is missing."}};
    EXPECT_EQ(alerts(), refused);
    DGDriver::ClearQueueAndLog();
    DGDriver::QueueClick(ShapeImportModeDialogId, 4);  // terrain input
    DGDriver::QueueFileAnswer({UserFile("tracks.shp")});
    ImportGISFile(GlobalSettings);
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
    EXPECT_EQ(alerts(), refused);
    EXPECT_TRUE(Hotspots().empty());
    EXPECT_FALSE(host->Database().Undo());

    // The table cut inside its header, and whole but with no field at all.
    const std::pair<std::string, std::string> tables[] = {
        {"\x03\x7d", "No height was taken from a field: the table tracks.dbf could not be read."},
        {slurp(Data("shp/storms_xyz.dbf")), "No height was taken from a field: the table has no number field."},
    };
    for (const auto& [table, reason] : tables)
        for (const bool fromField : {false, true}) {
            SCOPED_TRACE(reason);
            SCOPED_TRACE(fromField);
            std::ofstream(UserFile("tracks.dbf"), std::ios::binary) << table;
            DGDriver::ClearQueueAndLog();
            DGDriver::QueueClick(ShapeImportModeDialogId, 4);  // terrain input
            DGDriver::QueueFileAnswer({UserFile("tracks.shp")});
            DGDriver::QueueSetLong(ShapeResultsTerrainDialogId, 10, fromField ? 1 : 0);  // "Dimension from DBF file"
            DGDriver::QueueClick(ShapeResultsTerrainDialogId, 1);
            ImportGISFile(GlobalSettings);
            EXPECT_TRUE(DGDriver::UnusedActions().empty());
            EXPECT_TRUE(DGDriver::Errors().empty());
            EXPECT_FALSE(Hotspots().empty());
            std::vector<std::vector<std::string>> told;
            if (fromField) told.push_back({reason, ""});
            EXPECT_EQ(alerts(), told);
            ASSERT_TRUE(host->Database().Undo());
        }
}

}  // namespace import_commands_test
