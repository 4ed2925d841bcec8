// The SOSI reader on values no survey holds (tests/data/sosi/bad): numbers with exponents, units that are not
// positive or absurd, coordinates and heights beyond the bounds, a last line cut short, positions with more than
// one height. Each is refused and counted; nothing beyond the bounds ever reaches the records.
#include "SosiFixture.hpp"

#include "../robustness/Mutator.hpp"

#include "sosi/SOSITokens.hpp"
#include "sosi/SOSIValueBounds.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace sosi_survey_values_test {

std::string BadFile(const std::string& name) { return "bad/" + name; }

std::vector<std::string> KeptIds(const SOSIFileCls& reader) {
    std::vector<std::string> ids;
    for (const SOSIData& d : reader.assembly.data) ids.push_back(d.id.ToStdString());
    return ids;
}

// Every point and ring point of the records lies within the bounds (piece separators aside).
bool AllWithinSurveyBounds(const SOSIFileCls& reader) {
    auto held = [](const API_Coord3D& c) {
        return IsSOSISeparator(c) || (SOSIPlanValueHeld(c.x) && SOSIPlanValueHeld(c.y) && SOSIHeightHeld(c.z));
    };
    for (const SOSIData& d : reader.assembly.data) {
        for (const API_Coord3D& c : d.coords)
            if (!held(c)) return false;
        for (const SOSICos& ring : d.pieces)
            for (const API_Coord3D& c : ring)
                if (!held(c)) return false;
    }
    return true;
}

TEST(SosiNumbers, ExponentsAreReadAsTheCLibraryReadsThemAndHalfExponentsAreNot) {
    std::mt19937 random(53);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-300, 300);
    const char* const formats[] = {"%.6e", "%.17g", "%.3E", "%g"};
    for (int i = 0; i < 2000; ++i) {
        char text[64];
        std::snprintf(text, sizeof text, formats[i % 4], mantissa(random) * std::pow(10.0, exponent(random)));
        SCOPED_TRACE(text);
        double value = 0.0;
        ASSERT_TRUE(SOSITokens(QV_String(text)).Number(0, value));
        const double expected = std::strtod(text, nullptr);
        EXPECT_TRUE(value == expected || (std::isinf(value) && std::isinf(expected)));
        EXPECT_TRUE(SOSINumber(QV_String(text)) == value || std::isinf(value));
    }
    // What is no number as a whole token, and what the lenient reading takes of it.
    for (const char* text : {"1e", "1e+", "e5", "1.5e3x", "1e5e5", "1e-+5"}) {
        double value = 0.0;
        EXPECT_FALSE(SOSITokens(QV_String(text)).Number(0, value)) << text;
    }
    EXPECT_EQ(SOSINumber(QV_String("1e")), 1.0);
    EXPECT_EQ(SOSINumber(QV_String("2,5e2")), 250.0);
    EXPECT_EQ(SOSINumber(QV_String("1e308")), 1e308);
    // Too large for a double: infinite, which no survey holds.
    double huge = 0.0;
    EXPECT_TRUE(SOSITokens(QV_String("-1e400")).Number(0, huge));
    EXPECT_TRUE(std::isinf(huge) && huge < 0.0);
}

TEST_F(SosiReaderTest, UnitsThatAreNotPositiveOrAbsurdRefuseTheirFileOrTheirObject) {
    for (const char* name : {"unit_zero.sos", "unit_negative.sos", "unit_absurd.sos", "unit_not_a_number.sos"}) {
        SCOPED_TRACE(name);
        DGDriver::ClearQueueAndLog();
        SOSIFileCls reader;
        EXPECT_FALSE(ReadFiles(reader, {SosiData(BadFile(name))}, false));
        EXPECT_EQ(reader.scan.report.Count(ReadIssue::BadUnit), 1u);
        EXPECT_EQ(reader.scan.report.error, 0);
        EXPECT_EQ(Alerts(),
                  std::vector<std::string>{
                      "Units (ENHET) that are not positive, or absurd, were refused: what they measure was not read"});
    }
    // An object's own unit refuses that object only.
    SOSIFileCls reader;
    ASSERT_TRUE(ReadFiles(reader, {SosiData(BadFile("object_unit.sos"))}));
    ImportAll(reader);
    EXPECT_EQ(KeptIds(reader), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(reader.assembly.issues.Count(ReadIssue::BadUnit), 1u);
}

TEST_F(SosiReaderTest, ValuesNoSurveyHoldsAreSkippedCountedAndNeverReachTheRecords) {
    SOSIFileCls reader;
    ASSERT_TRUE(ReadFiles(reader, {SosiData(BadFile("values_beyond.sos"))}));
    reader.importMode = SOSIModeTerrain;
    ImportAll(reader);
    // The height line of 1e308, the infinite north, the east and the height beyond the bounds: four points; and
    // a north that is no number.
    EXPECT_EQ(KeptIds(reader), (std::vector<std::string>{"2", "6"}));
    EXPECT_EQ(reader.assembly.issues.Count(ReadIssue::OutOfRange), 4u);
    EXPECT_EQ(reader.assembly.issues.Count(ReadIssue::BadNumber), 1u);  // 6600007a
    ASSERT_EQ(reader.assembly.data.GetCount(), 2);
    EXPECT_DOUBLE_EQ(reader.assembly.data[0].coords[0].z, 12.5);
    const API_Coord3D written = reader.assembly.data[1].coords[0];  // in exponents
    EXPECT_DOUBLE_EQ(written.x, 500005.0);
    EXPECT_DOUBLE_EQ(written.y, 6600005.0);
    EXPECT_DOUBLE_EQ(written.z, 15.0);

    // A radius of 1e308, or none written (read as the largest double), draws no circle: those objects are left
    // out, each counted.
    SOSIFileCls circles;
    ASSERT_TRUE(ReadFiles(circles, {SosiData(BadFile("radius_beyond.sos"))}));
    ImportAll(circles);
    EXPECT_EQ(KeptIds(circles), std::vector<std::string>{"3"});
    EXPECT_EQ(circles.assembly.issues.Count(ReadIssue::OutOfRange), 2u);
    circles.ComputeExtents();
    EXPECT_NEAR(circles.bounds.xMax - circles.bounds.xMin, 10.0, 1e-6);

    // An origin no survey holds sends every point beyond: none is kept, each counted.
    SOSIFileCls far;
    ASSERT_TRUE(ReadFiles(far, {SosiData(BadFile("origin_beyond.sos"))}));
    ImportAll(far);
    EXPECT_EQ(far.assembly.data.GetCount(), 0);
    EXPECT_EQ(far.assembly.issues.Count(ReadIssue::OutOfRange), 3u);
    far.ComputeExtents();
    EXPECT_TRUE(far.BoundsEmpty());

    // Whatever huge or infinite values a real file is given, every kept point lies within the bounds.
    const std::vector<std::string> tokens = {"1e308",
                                             "-1e300",
                                             "1e400",
                                             "99999999999999999999",
                                             "...ENHET 1e300",
                                             "..H\xC3\x98YDE 1e308",
                                             "...ORIGO-N\xC3\x98 1e307 1e307",
                                             " 1e9 "};
    for (const std::string& name : RealFiles()) {
        const std::string original = Slurp(SosiData(name));
        Robustness::Mutator mutator(uint32_t(name.size()) * 7 + 1);
        for (int i = 0; i < 12; ++i) {
            SCOPED_TRACE(name + " mutant " + std::to_string(i));
            SOSIFileCls mutant;
            if (!ReadFiles(mutant, {Write("mutant.sos", mutator.Mutate(original, tokens, 8))})) continue;
            mutant.importMode = i % 3;
            ImportAll(mutant);
            EXPECT_TRUE(AllWithinSurveyBounds(mutant));
        }
    }
}

TEST_F(SosiReaderTest, ALastLineCutShortIsNoPointKilometresAway) {
    const std::string cut = Slurp(SosiData(BadFile("cut_last_line.sos")));
    DGDriver::ClearQueueAndLog();
    SOSIFileCls reader;
    ASSERT_TRUE(ReadFiles(reader, {SosiData(BadFile("cut_last_line.sos"))}, false));
    EXPECT_EQ(reader.scan.report.Count(ReadIssue::EndedEarly), 1u);
    EXPECT_EQ(Alerts(), std::vector<std::string>{"The file ends early: the records before its end were read."});
    ImportAll(reader);
    EXPECT_EQ(KeptIds(reader), std::vector<std::string>{"1"});
    // The same line whole, with its break or the end line after it: both curves, in silence.
    for (const std::string& whole : {cut + "0000 1200\n", cut + "0000 1200\n.SLUTT", cut + "0000 1200"}) {
        SOSIFileCls complete;
        ASSERT_TRUE(ReadFiles(complete, {Write("whole.sos", whole)}));
        EXPECT_FALSE(complete.scan.report.HasIssues());
        ImportAll(complete);
        EXPECT_EQ(KeptIds(complete), (std::vector<std::string>{"1", "2"}));
    }
}

TEST_F(SosiReaderTest, ATerrainImportGivesEachPositionTheHeightReadFirstAndCountsIt) {
    for (int32_t mode : {SOSIModeTerrain, SOSIModeWorksheet}) {
        SCOPED_TRACE(mode);
        SOSIFileCls reader;
        ASSERT_TRUE(ReadFiles(reader, {SosiData(BadFile("mixed_heights.sos"))}));
        reader.importMode = mode;
        ImportAll(reader);
        ASSERT_EQ(reader.assembly.data.GetCount(), 500);
        std::map<double, int> heights;
        for (const SOSIData& d : reader.assembly.data)
            if (d.coords[0].x == 500001.0) ++heights[d.coords[0].z];
        if (mode == SOSIModeTerrain) {
            EXPECT_EQ(reader.assembly.issues.Count(ReadIssue::MixedHeights), 1u);
            EXPECT_EQ(heights, (std::map<double, int>{{10.0, 499}}));
        } else {
            // A drawing has no heights to disagree.
            EXPECT_FALSE(reader.assembly.issues.HasIssues());
            EXPECT_EQ(heights.size(), 499u);
        }
    }
    // The real files' terrain imports of their own types.
    for (const std::string& name : RealFiles()) {
        SOSIFileCls reader;
        ASSERT_TRUE(ReadFiles(reader, {SosiData(name)}));
        reader.importMode = SOSIModeTerrain;
        ImportAll(reader);
        EXPECT_TRUE(AllWithinSurveyBounds(reader)) << name;
        EXPECT_FALSE(reader.assembly.issues.Count(ReadIssue::OutOfRange) != 0 ||
                     reader.assembly.issues.Count(ReadIssue::BadNumber) != 0)
            << name;
    }
}

}  // namespace sosi_survey_values_test
