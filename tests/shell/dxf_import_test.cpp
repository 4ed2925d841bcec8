// The DXF import as the palette runs it, in an in-process host: the layer dialog's clicks, the host layers, the
// hotspots and lines with their records, the groups, the import area, and every failed read told as error 8.
#include "InProcessHost.hpp"

#include "DGDriver.hpp"
#include "dialogs/settings/DxfImportDialog.hpp"
#include "dialogs/settings/PointImportResultsDialog.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/LayerHelpers.hpp"
#include "foundation/ACAPI.hpp"
#include "settings/ProjectOffset.hpp"
#include "settings/Settings.hpp"
#include "shell/commands/ImportCommands.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <string>
#include <set>

namespace dxf_import_test {

class DxfImportTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        ASSERT_TRUE(host->Load());
        ProjectOffset.Reset();
        GlobalSettings.points.SetDefaults();
    }
    static std::string Data(const std::string& name) { return TestSupport::DataDir() + "/" + name; }
    static std::vector<API_Element> Elements(API_ElemTypeID type) {
        GS::Array<API_Guid> guids;
        EXPECT_EQ(ACAPI_Element_GetElemList(type, &guids), NoError);
        std::vector<API_Element> out;
        for (uint32_t i = 0; i < guids.GetSize(); ++i) {
            API_Element e = {};
            e.header.guid = guids[i];
            EXPECT_EQ(ACAPI_Element_Get(&e), NoError);
            out.push_back(e);
        }
        return out;
    }
    static int Alerts(const std::string& text) {
        int n = 0;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            n += r.kind == "alert" && !r.texts.empty() && r.texts[0].find(text) != std::string::npos;
        return n;
    }
};

TEST_F(DxfImportTest, ChosenLayersBecomeHostLayersAndGroupedTerrainInput) {
    DGDriver::QueueFileAnswer({Data("dxf/survey_r2000.dxf")});
    DGDriver::QueueClick(DxfImportDialogId, 4);                 // every layer gives points
    DGDriver::QueueClickListRow(DxfImportDialogId, 10, 2, 45);  // "Breaklines" also constraints
    DGDriver::QueueClick(DxfImportDialogId, 8);                 // grouping
    ImportDXFFile(GlobalSettings);
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_TRUE(DGDriver::UnusedActions().empty());

    API_Attribute layer = {};
    ASSERT_TRUE(ReadLayerByName(QV_String("Breaklines"), &layer));
    EXPECT_FALSE(ReadLayerByName(QV_String("BREAKLINES"), &layer));  // one layer, named as first met
    EXPECT_TRUE(ReadLayerByName(QV_String("Spot heights"), &layer));
    EXPECT_FALSE(ReadLayerByName(QV_String("Notes"), &layer));

    const std::vector<API_Element> hotspots = Elements(API_HotspotID), lines = Elements(API_LineID);
    ASSERT_GT(hotspots.size(), 100u);
    ASSERT_GT(lines.size(), 10u);
    ReadLayerByName(QV_String("Breaklines"), &layer);
    std::vector<API_Guid> groups;
    for (const API_Element& l : lines) {
        EXPECT_EQ(l.header.layer, layer.header.index);
        EXPECT_FALSE(l.header.groupGuid == APINULLGuid);
        if (std::find(groups.begin(), groups.end(), l.header.groupGuid) == groups.end())
            groups.push_back(l.header.groupGuid);
        ElemDescriptor record;
        EXPECT_TRUE(record.FromElement(ElemKind_Constraint, l.header, false));
    }
    // The open break lines, the closed one, the spline and the two crossing ones: one group each at most.
    EXPECT_LE(groups.size(), 7u);
    for (const API_Element& h : hotspots) {
        ElemDescriptor record;
        ASSERT_TRUE(record.FromElement(ElemKind_Point, h.header, false));
    }
    EXPECT_FALSE(ReadLayerByName(QV_String("0"), &layer));  // layer "0" is the host's layer 1, never made
}

TEST_F(DxfImportTest, EveryFailedReadShowsTheReadError) {
    for (const char* name : {"dxf/nothing_readable.dxf", "dxf/survey_r2000_binary.dxf"}) {
        DGDriver::QueueFileAnswer({Data(name)});
        ImportDXFFile(GlobalSettings);
    }
    EXPECT_EQ(Alerts("Error while reading the file."), 2);
    EXPECT_TRUE(Elements(API_HotspotID).empty());
    // A unit length of 0 is refused in the dialog, which stays open until cancelled.
    DGDriver::QueueFileAnswer({Data("dxf/survey_r12.dxf")});
    DGDriver::QueueSetDouble(DxfImportDialogId, 13, 0.0);
    DGDriver::QueueClick(DxfImportDialogId, 1);
    DGDriver::QueueAlertAnswer(1);
    DGDriver::QueueClick(DxfImportDialogId, 2);
    ImportDXFFile(GlobalSettings);
    EXPECT_EQ(Alerts("must be greater than 0"), 1);
    EXPECT_TRUE(Elements(API_HotspotID).empty());
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
    // A layer without a name reads as the host's first layer rather than failing the import.
    const std::string path = UserFile("unnamed.dxf");
    std::ofstream(path, std::ios::binary) << "0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\n\n10\n1\n20\n2\n30\n3\n0\nENDSEC\n";
    DGDriver::QueueFileAnswer({path});
    DGDriver::QueueClick(DxfImportDialogId, 4);
    ImportDXFFile(GlobalSettings);
    const std::vector<API_Element> placed = Elements(API_HotspotID);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].header.layer, 1);
    EXPECT_EQ(Alerts("Error while reading the file."), 2);
}

// With no layer chosen the user is told before the entities are read, and nothing is made. A chosen layer that
// yields nothing shows the results with empty position and area fields, never the unset box's extremes, and
// leaves the project's offset as it was.
TEST_F(DxfImportTest, NoLayerChosenIsToldAndAnEmptyReadShowsEmptyFields) {
    DGDriver::QueueFileAnswer({Data("dxf/survey_r2000.dxf")});
    DGDriver::QueueAlertAnswer(1);
    ImportDXFFile(GlobalSettings);
    std::vector<std::vector<std::string>> alerts;
    bool results = false;
    for (const DGDriver::LogRecord& r : DGDriver::Log()) {
        if (r.kind == "alert") alerts.push_back(r.texts);
        results = results || r.id == PointImportResultsDialogId;
    }
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0],
              (std::vector<std::string>{"The conditions do not exist to apply the command!!!",
                                        "Select the layers containing the survey only:"}));
    EXPECT_FALSE(results);
    API_Attribute layer = {};
    EXPECT_FALSE(ReadLayerByName(QV_String("Breaklines"), &layer));
    EXPECT_TRUE(Elements(API_HotspotID).empty());

    DGDriver::ClearQueueAndLog();
    ProjectOffset.x = 250.0;  // a previous import's
    const std::string path = UserFile("hidden.dxf");
    std::ofstream(path, std::ios::binary)
        << "0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nA\n60\n1\n10\n1\n20\n2\n0\nENDSEC\n";
    DGDriver::QueueFileAnswer({path});
    DGDriver::QueueClick(DxfImportDialogId, 4);
    ImportDXFFile(GlobalSettings);
    EXPECT_TRUE(DGDriver::Errors().empty());
    const DGDriver::LogRecord* shown = nullptr;
    for (const DGDriver::LogRecord& r : DGDriver::Log())
        if (r.kind == "modal" && r.id == PointImportResultsDialogId) shown = &r;
    ASSERT_NE(shown, nullptr);
    for (const DGDriver::ItemState& item : shown->items) {
        if (item.kind != "realedit") continue;
        EXPECT_EQ(item.text, "") << item.id;
        if (item.id == 20 || item.id == 22) {
            EXPECT_FALSE(item.enabled);
        }
    }
    EXPECT_EQ(DGDriver::LogText().find("1.797"), std::string::npos);
    EXPECT_DOUBLE_EQ(ProjectOffset.x, 250.0);  // no points: no terrain position to keep
    EXPECT_TRUE(Elements(API_HotspotID).empty());
}

// Two lines meeting at a vertex with other heights keep the first line's; a spot height on a line's vertex of
// another height leaves it to the line's; both told with how many positions, before anything is placed.
TEST_F(DxfImportTest, PointsOfOtherHeightsAtOnePositionAreTold) {
    auto line = [](double x0, double z0, double x1, double z1) {
        return "0\nLINE\n8\nA\n10\n" + std::to_string(x0) + "\n20\n0\n30\n" + std::to_string(z0) + "\n11\n" +
            std::to_string(x1) + "\n21\n0\n31\n" + std::to_string(z1) + "\n";
    };
    const std::string path = UserFile("mixed.dxf");
    std::ofstream(path, std::ios::binary)
        << "0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nA\n10\n20\n20\n0\n30\n5\n"
        << line(0, 1, 10, 1) << line(10, 2, 20, 2) << line(20, 2, 30, 2) << "0\nENDSEC\n";
    DGDriver::QueueFileAnswer({path});
    DGDriver::QueueClick(DxfImportDialogId, 4);
    DGDriver::QueueAlertAnswer(1);
    ImportDXFFile(GlobalSettings);
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_EQ(Alerts("Positions that had more than one height, each given the height read first (1)\n"
                     "Spot heights on a line's vertex of another height, each left for the line's height (1)"),
              1);
    std::map<double, double> heights;
    for (const API_Element& h : Elements(API_HotspotID)) {
        ElemDescriptor record;
        ASSERT_TRUE(record.FromElement(ElemKind_Point, h.header, false));
        heights[h.hotspot.pos.x] = record.Value;
    }
    EXPECT_EQ(heights, (std::map<double, double>{{0, 1}, {10, 1}, {20, 2}, {30, 2}}));
}

TEST_F(DxfImportTest, LayerToggles) {
    // What opening the dialog asks of the host's resources, to fail what comes after it.
    std::map<std::string, int64_t> called;
    host->RecordCalls(&called);
    DXFFileCls probe;
    probe.layers.resize(3);
    DGDriver::QueueClick(DxfImportDialogId, 2);
    EXPECT_FALSE(RunDxfImportDialogs(probe));
    host->RecordCalls(nullptr);
    const int32_t opening = int32_t(called["GetOwnResModule"]);
    ASSERT_GT(opening, 0);
    // The same clicks turn the same flags when the host cannot give the icons they draw: a cell left blank
    // decides nothing.
    for (const bool iconsLost : {false, true}) {
        SCOPED_TRACE(iconsLost ? "icons lost" : "icons drawn");
        DXFFileCls reader;
        reader.layers.resize(3);
        reader.layers[0].name = QV_String("A"), reader.layers[1].name = QV_String("B"),
        reader.layers[2].name = QV_String("C");
        // Column 1 head twice: all on, then all off; column 2 of a layer without points changes nothing; the other
        // layout keeps the flags.
        DGDriver::QueueClick(DxfImportDialogId, 4);
        DGDriver::QueueClick(DxfImportDialogId, 5);
        DGDriver::QueueClickListRow(DxfImportDialogId, 10, 2, 45);
        DGDriver::QueueClickListRow(DxfImportDialogId, 10, 3, 10);
        DGDriver::QueueClick(DxfImportDialogId, 36);
        DGDriver::QueueClickListRow(DxfImportTwinDialogId, 13, 3, 45);
        // The four clicks before the layout switch draw two icons per row: three rows twice, two rows once.
        if (iconsLost) {
            ASSERT_TRUE(host->FailCallAfter("GetOwnResModule", -1, APIERR_GENERAL, opening, 16));
        }
        EXPECT_TRUE(RunDxfImportDialogs(reader));
        host->ClearFailures();
        EXPECT_EQ(reader.layers[0].import + reader.layers[1].import, 0);
        EXPECT_EQ(reader.layers[1].constraint, 0);
        EXPECT_EQ(reader.layers[2].import, 1);
        EXPECT_EQ(reader.layers[2].constraint, 1);
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        if (!iconsLost) {
            EXPECT_TRUE(DGDriver::Errors().empty());
        }
    }
}

// Placement alone: the import area, numbering across the wrap, a group per entity, and suspend-groups put back.
TEST_F(DxfImportTest, PlacementKeepsTheAreaNumbersAndGroups) {
    DXFFileCls reader;
    reader.SetImportOptions(GlobalSettings.points);
    reader.options.codeNumber = 99999;
    reader.grouping = 1;
    reader.layers.resize(1);
    reader.layers[0].hostLayer = 1;
    auto vertex = [&](double x, double y, int32_t group) {
        DXFFilePoint p;
        p.x = x, p.y = y, p.z = x + y, p.group = group;
        reader.vertices.push_back(p);
    };
    vertex(0, 0, 1), vertex(10, 0, 1), vertex(10, 10, 2), vertex(50, 50, 2), vertex(5, 5, 0);
    DXFFileConstraint inside{0, 0, 0, 10, 0, 10, 0, 1}, across{10, 10, 20, 50, 50, 100, 0, 2};
    reader.constraints = {inside, across};
    reader.limitToArea = 1;
    reader.limitArea = {0, 0, 20, 20};
    ASSERT_TRUE(reader.CreateElements(GlobalSettings.points, GlobalSettings.constraint));
    const std::vector<API_Element> hotspots = Elements(API_HotspotID), lines = Elements(API_LineID);
    EXPECT_EQ(hotspots.size(), 4u);  // (50, 50) outside
    EXPECT_EQ(lines.size(), 1u);     // one end outside: not placed
    std::set<int32_t> numbers;
    for (const API_Element& h : hotspots) {
        ElemDescriptor record;
        ASSERT_TRUE(record.FromElement(ElemKind_Point, h.header, false));
        numbers.insert(record.Number);
        EXPECT_DOUBLE_EQ(record.Value, h.hotspot.pos.x + h.hotspot.pos.y);
    }
    EXPECT_EQ(numbers, (std::set<int32_t>{99999, 0, 1, 2}));
    EXPECT_EQ(GlobalSettings.points.codeNumber, 3);
    // Group 1 (two points and the line) is one host group; group 2 kept one element, group 0 none.
    int grouped = 0;
    for (const API_Element& h : hotspots) grouped += !(h.header.groupGuid == APINULLGuid);
    EXPECT_EQ(grouped, 2);
    EXPECT_FALSE(lines[0].header.groupGuid == APINULLGuid);
    bool suspended = true;
    ASSERT_EQ(ACAPI_Environment(APIEnv_IsSuspendGroupOnID, &suspended), NoError);
    EXPECT_FALSE(suspended);
}

// A file of more layers than 16 bits count: the points of its last layer stand on the host layer made for it.
TEST_F(DxfImportTest, PointsOfLayersBeyondSixteenBitsStandOnTheirLayers) {
    int32_t last = 0;
    for (int i = 0; last < 40000; ++i)
        ASSERT_EQ(CreateLayer(QV_String(("L" + std::to_string(i)).c_str()), 0, 0, &last, nullptr), NoError);
    DXFFileCls reader;
    reader.SetImportOptions(GlobalSettings.points);
    reader.layers.resize(2);
    reader.layers[0].hostLayer = 1;
    reader.layers[1].hostLayer = last;
    DXFFilePoint p;
    p.x = 1, p.y = 2, p.z = 3, p.layer = 1;
    reader.vertices.push_back(p);
    DXFFileConstraint line{0, 0, 0, 10, 0, 10, 1, 0};
    reader.constraints = {line};
    ASSERT_TRUE(reader.CreateElements(GlobalSettings.points, GlobalSettings.constraint));
    ASSERT_EQ(Elements(API_HotspotID).size(), 1u);
    EXPECT_EQ(Elements(API_HotspotID)[0].header.layer, last);
    ASSERT_EQ(Elements(API_LineID).size(), 1u);
    EXPECT_EQ(Elements(API_LineID)[0].header.layer, last);
}

// The chosen layers are made with the elements, in their undo step: a read cancelled after the layer choice, or
// an import whose layers cannot all be made, leaves no layer behind.
TEST_F(DxfImportTest, AnImportThatEndsEarlyLeavesNoLayer) {
    auto anyLayer = [] {
        API_Attribute layer = {};
        return ReadLayerByName(QV_String("Breaklines"), &layer) || ReadLayerByName(QV_String("Spot heights"), &layer);
    };
    DGDriver::QueueFileAnswer({Data("dxf/survey_r2000.dxf")});
    DGDriver::QueueClick(DxfImportDialogId, 4);
    DGDriver::QueueClick(PointImportResultsDialogId, 2);  // Cancel
    ImportDXFFile(GlobalSettings);
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
    EXPECT_FALSE(anyLayer());
    // The second layer cannot be made: the first goes again, nothing is placed, the failure is told.
    host->FailCallAfter("Attribute_Create", -1, APIERR_GENERAL, 1);
    DGDriver::QueueFileAnswer({Data("dxf/survey_r2000.dxf")});
    DGDriver::QueueClick(DxfImportDialogId, 4);
    ImportDXFFile(GlobalSettings);
    EXPECT_FALSE(anyLayer());
    EXPECT_TRUE(Elements(API_HotspotID).empty());
    EXPECT_EQ(Alerts("Error while modifying/creating the object."), 1);
    host->ClearFailures();
    // Made, they go with the import's undo.
    DGDriver::QueueFileAnswer({Data("dxf/survey_r2000.dxf")});
    DGDriver::QueueClick(DxfImportDialogId, 4);
    ImportDXFFile(GlobalSettings);
    EXPECT_TRUE(anyLayer());
    ASSERT_TRUE(host->Database().Undo());
    EXPECT_FALSE(anyLayer());
    EXPECT_TRUE(Elements(API_HotspotID).empty());
}

// A number some exporters write for a NaN ("1.#QNAN") skips its entity; the rest is placed and the skip is told.
TEST_F(DxfImportTest, UnreadableNumbersAreSkippedAndTold) {
    const std::string path = UserFile("qnan.dxf");
    std::ofstream(path, std::ios::binary)
        << "0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nS\n10\n1\n20\n2\n30\n3\n0\nPOINT\n8\nS\n10\n1.#QNAN\n20\n2\n30\n3\n"
           "0\nCIRCLE\n8\nS\n10\n1.#QNAN\n20\n1.#QNAN\n40\n1.#QNAN\n0\nPOINT\n8\nS\n10\n5\n20\n6\n30\n1.#QNAN\n"
           "0\nPOINT\n8\nS\n10\n9\n20\n9\n30\n9\n0\nENDSEC\n0\nEOF\n";
    DGDriver::QueueFileAnswer({path});
    DGDriver::QueueClick(DxfImportDialogId, 4);
    ImportDXFFile(GlobalSettings);
    EXPECT_EQ(Elements(API_HotspotID).size(), 2u);
    EXPECT_EQ(Alerts("Numbers that cannot be read were skipped. (2)"), 1);
    EXPECT_EQ(Alerts("Error while reading the file."), 0);
}

// A placement that fails part-way, whatever the failing step and wherever it comes: nothing placed stays, a layer
// the import reused gets its record back, no new layer is left, the point numbers are given out again, and the
// failure is told.
TEST_F(DxfImportTest, APlacementFailingPartWayLeavesTheProjectAsItWas) {
    // Layers the import reuses: what was placed on them does not go with a layer the import made.
    API_Attribute before = {};
    for (const char* name : {"Spot heights", "TIN"})
        ASSERT_EQ(CreateLayer(QV_String(name), 17, 3, nullptr, &before), NoError);
    const int32_t firstNumber = GlobalSettings.points.codeNumber;
    int told = 0;
    for (const char* function : {"Element_Create", "Element_SetUserData", "Database"})
        for (int32_t passes : {0, 1, 40, 300}) {
            SCOPED_TRACE(std::string(function) + " after " + std::to_string(passes));
            ASSERT_TRUE(host->FailCallAfter(function, -1, APIERR_GENERAL, passes));
            DGDriver::QueueFileAnswer({Data("dxf/survey_r2000.dxf")});
            DGDriver::QueueClick(DxfImportDialogId, 4);
            DGDriver::QueueClickListRow(DxfImportDialogId, 10, 2, 45);
            DGDriver::QueueClick(DxfImportDialogId, 8);  // grouping: the groups are made through Database
            ImportDXFFile(GlobalSettings);
            host->ClearFailures();
            EXPECT_TRUE(DGDriver::UnusedActions().empty());
            EXPECT_TRUE(Elements(API_HotspotID).empty());
            EXPECT_TRUE(Elements(API_LineID).empty());
            API_Attribute layer = {};
            EXPECT_FALSE(ReadLayerByName(QV_String("Breaklines"), &layer));
            for (const char* name : {"Spot heights", "TIN"}) {
                ASSERT_TRUE(ReadLayerByName(QV_String(name), &layer));
                EXPECT_EQ(layer.header.flags, before.header.flags);
                EXPECT_EQ(layer.layer.conClassId, 3);
            }
            EXPECT_EQ(GlobalSettings.points.codeNumber, firstNumber);
            EXPECT_EQ(Alerts("Error while modifying/creating the object."), ++told);
        }
}

// A file cut inside its first entity reads nothing: the results show it, and the project stays as it was, with no
// undo step and no layer.
TEST_F(DxfImportTest, AnImportThatReadsNothingLeavesNothing) {
    const std::string path = UserFile("cut_first.dxf");
    std::ofstream(path, std::ios::binary) << "0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nSpots\n10\n1\n20\n";
    DGDriver::QueueFileAnswer({path});
    DGDriver::QueueClick(DxfImportDialogId, 4);
    ImportDXFFile(GlobalSettings);
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_TRUE(Elements(API_HotspotID).empty());
    API_Attribute layer = {};
    EXPECT_FALSE(ReadLayerByName(QV_String("Spots"), &layer));
    EXPECT_FALSE(host->Database().Undo());
}

// A group code that cannot be read stops the read there: the entities before it are placed, and the alert says from
// which line and code on the file could not be read. One in the first entity refuses the file with that reason.
TEST_F(DxfImportTest, AnUnreadableGroupCodeKeepsTheEntitiesBeforeItAndSaysWhere) {
    const std::string head = "0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nS\n10\n1\n20\n2\n30\n3\n"
                             "0\nPOINT\n8\nS\n10\n4\n20\n5\n30\n6\n";
    const std::string path = UserFile("bad_code.dxf");
    std::ofstream(path, std::ios::binary) << head << "0\nPOINT\n8\nS\n1x0\n7\n20\n8\n30\n9\n0\nENDSEC\n0\nEOF\n";
    DGDriver::QueueFileAnswer({path});
    DGDriver::QueueClick(DxfImportDialogId, 4);
    ImportDXFFile(GlobalSettings);
    EXPECT_EQ(Elements(API_HotspotID).size(), 2u);
    EXPECT_EQ(Alerts("Error while reading the file."), 0);
    EXPECT_EQ(
        Alerts("The file could not be read from line 29 (group code \"1x0\") on: the entities before it were kept."),
        1);
    const std::string first = UserFile("bad_first.dxf");
    std::ofstream(first, std::ios::binary) << "0\nSECTION\n2\nENTITIES\n0\nPOINT\n?\n7\n0\nENDSEC\n0\nEOF\n";
    DGDriver::ClearQueueAndLog();
    DGDriver::QueueFileAnswer({first});
    ImportDXFFile(GlobalSettings);
    bool told = false;
    for (const DGDriver::LogRecord& r : DGDriver::Log())
        told = told ||
            (r.kind == "alert" && r.texts.size() >= 2 && r.texts[0] == "Error while reading the file." &&
             r.texts[1].find("line 7 (group code \"?\")") != std::string::npos);
    EXPECT_TRUE(told) << DGDriver::LogText();
    EXPECT_EQ(Elements(API_HotspotID).size(), 2u);
}

}  // namespace dxf_import_test
