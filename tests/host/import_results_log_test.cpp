// An import's results reach the log on its dialog's line: the counts it showed and the position it gave the data,
// every digit of it. The counts agree with the points the import placed, the position with where they lie.
#include "InProcessHost.hpp"
#include "script/ImportResultsNote.hpp"
#include "script/ScriptRunner.hpp"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <regex>

namespace import_results_log_test {

class ImportResultsLogTest : public InProcessHostTest {
protected:
    // The TXT import of `file`, the position set to (x, y) in the results; the log.
    std::string Import(const std::string& file, double x, double y) {
        host->SetDialogNote(ModuleDialogNote);
        std::ostringstream script, out;
        script.precision(17);
        script << "library load \"@module/library\"\nload\nmenu 32501 1\ndialog 32400 click 2\n"
               << "file-dialog \"" << TestSupport::DataDir() << "/xyz/" << file << "\"\n"
               << "dialog 32569 set 20 " << x << "\ndialog 32569 set 22 " << y << "\ndialog 32401 click 1\n";
        ScriptRunner runner(*host, out);
        EXPECT_TRUE(runner.RunText(script.str(), file)) << out.str() << log.str();
        return log.str();
    }
};

TEST_F(ImportResultsLogTest, TheResultsLineHoldsTheCountsAndThePositionOfWhatWasPlaced) {
    const std::regex line(
        R"(dialog 32569 "Import results": .*; read (\d+), imported (\d+), skipped (\d+); position x min ([^,]+), )"
        R"(y min ([^,]+), x max ([^,]+), y max (\S+))");
    const std::pair<const char*, std::pair<double, double>> cases[] = {
        {"points_dup.txt", {0, 0}},
        {"points_mixed_eol.txt", {1000.125, -250.5}},
        {"points_xy_code_comment.txt", {0.1, 1e-3}},
    };
    for (const auto& [file, position] : cases) {
        log.str("");
        const std::string text = Import(file, position.first, position.second);
        std::smatch m;
        ASSERT_TRUE(std::regex_search(text, m, line)) << text;
        const long read = std::stol(m[1]), imported = std::stol(m[2]), skipped = std::stol(m[3]);
        EXPECT_EQ(read, imported + skipped) << m[0];
        EXPECT_GT(imported, 0) << m[0];
        double box[4];
        for (int k = 0; k < 4; ++k) box[k] = std::strtod(m[4 + k].str().c_str(), nullptr);
        // The position given reads back exactly.
        EXPECT_EQ(box[0], position.first) << m[0];
        EXPECT_EQ(box[1], position.second) << m[0];
        // The points placed: as many as imported, inside the box the line gives.
        long hotspots = 0;
        double low[2] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
        for (const API_Guid& g : host->Database().AllElements()) {
            const API_Element& e = host->Database().Find(g)->record.Get();
            if (e.header.typeID != API_HotspotID) continue;
            ++hotspots;
            low[0] = std::min(low[0], e.hotspot.pos.x);
            low[1] = std::min(low[1], e.hotspot.pos.y);
            EXPECT_LE(e.hotspot.pos.x, box[2] + 1e-6) << file;
            EXPECT_LE(e.hotspot.pos.y, box[3] + 1e-6) << file;
        }
        EXPECT_EQ(hotspots, imported) << file;
        EXPECT_GE(low[0], box[0] - 1e-6) << file;
        EXPECT_GE(low[1], box[1] - 1e-6) << file;
        TearDown();
        SetUp();
    }
}

// The import's own line: the counts its results showed and the offset it set, every digit. Two positions for one
// file give offsets apart by what the positions are apart, and each placed point plus its offset is the same
// survey place.
TEST_F(ImportResultsLogTest, TheImportLineHoldsTheCountsAndTheOffsetItSet) {
    const std::regex results(R"(dialog 32569 "Import results": .*; read (\d+), imported (\d+), skipped (\d+);)");
    const std::regex import(R"(module: import: read (\d+), imported (\d+), skipped (\d+); offset x (\S+), y (\S+))");
    for (const char* file : {"points_dup.txt", "points_mixed_eol.txt", "points_xy_code_comment.txt"}) {
        double offset[2][2], lowest[2][2];
        const double positions[2][2] = {{0, 0}, {1000.125, -250.5}};
        for (int run = 0; run < 2; ++run) {
            log.str("");
            const std::string text = Import(file, positions[run][0], positions[run][1]);
            std::smatch r, m;
            ASSERT_TRUE(std::regex_search(text, r, results)) << text;
            ASSERT_TRUE(std::regex_search(text, m, import)) << text;
            for (int k = 1; k <= 3; ++k) EXPECT_EQ(m[k], r[k]) << m[0];
            offset[run][0] = std::strtod(m[4].str().c_str(), nullptr);
            offset[run][1] = std::strtod(m[5].str().c_str(), nullptr);
            lowest[run][0] = lowest[run][1] = std::numeric_limits<double>::max();
            for (const API_Guid& g : host->Database().AllElements()) {
                const API_Element& e = host->Database().Find(g)->record.Get();
                if (e.header.typeID != API_HotspotID) continue;
                lowest[run][0] = std::min(lowest[run][0], e.hotspot.pos.x);
                lowest[run][1] = std::min(lowest[run][1], e.hotspot.pos.y);
            }
            TearDown();
            SetUp();
        }
        for (int axis = 0; axis < 2; ++axis) {
            EXPECT_NEAR(offset[0][axis] - offset[1][axis], positions[1][axis] - positions[0][axis], 1e-6) << file;
            EXPECT_NEAR(lowest[0][axis] + offset[0][axis], lowest[1][axis] + offset[1][axis], 1e-6) << file;
        }
    }
}

// A survey whose last line was cut short: the line is read and skipped, and the log says so with the others.
TEST_F(ImportResultsLogTest, ALineCutShortIsCountedAsSkippedOnTheImportLine) {
    const std::string text = Import("bad/cut_last_line.txt", 0, 0);
    const std::regex import(R"(module: import: read (\d+), imported (\d+), skipped (\d+);)");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(text, m, import)) << text;
    EXPECT_EQ(m[1], "7");
    EXPECT_EQ(m[2], "6");
    EXPECT_EQ(m[3], "1");
}

// A dialog that is no import's results gets no such note; a results dialog's blank fields say so.
TEST_F(ImportResultsLogTest, OnlyResultsDialogsGetTheNote) {
    DGDriver::LogRecord other;
    other.kind = "modal";
    other.id = 32568;
    EXPECT_EQ(ImportResultsNote(other), "");
    DGDriver::LogRecord results;
    results.kind = "modal";
    results.id = 32569;
    for (const int16_t id : {6, 8, 10, 20, 22, 24, 26}) {
        DGDriver::ItemState item;
        item.id = id;
        results.items.push_back(item);
    }
    EXPECT_EQ(ImportResultsNote(results),
              "; read empty, imported empty, skipped empty; position x min empty, y min empty, x max empty, y max "
              "empty");
    results.kind = "alert";
    EXPECT_EQ(ImportResultsNote(results), "");
}

// A quiet log keeps what an action reports (the import's counts) and leaves out only the module's notes of the calls
// it ran.
TEST_F(ImportResultsLogTest, AQuietLogKeepsWhatTheModuleReports) {
    host->SetLogLevel(LogLevel::Quiet);
    log.str("");
    host->ReceiveModuleReport("outline refused: the path crosses or touches itself at (1, 2)");
    host->ReceiveModuleReport("call: ImportDXFFile");
    const std::string text = log.str();
    EXPECT_NE(text.find("module: outline refused: the path crosses or touches itself at (1, 2)"), std::string::npos);
    EXPECT_EQ(text.find("call: ImportDXFFile"), std::string::npos);
    host->SetLogLevel(LogLevel::Normal);
}

}  // namespace import_results_log_test
