// The SOSI build through the in-process host: the elements per kind on the worksheet and the plan, terrain
// records, layers by type, the limiting area, the worksheet reused or renamed, texts and the user break.
#include "SosiFixture.hpp"
#include "SettingsKinds.hpp"

#include "elements/BaseLP.hpp"
#include "elements/ElemDataRecord.hpp"
#include "settings/ProjectOffset.hpp"
#include "settings/Settings.hpp"
#include "sosi/SOSIObjectSettings.hpp"
#include "sosi/SOSICurveSegmentation.hpp"
#include "sosi/SOSIOutput.hpp"
#include "sosi/SOSIObjectPlacement.hpp"
#include "sosi/SOSIOutputSteps.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace sosi_output_test {

class SosiOutputTest : public SosiReaderTest {
protected:
    void SetUp() override {
        SosiReaderTest::SetUp();
        ProjectOffset.Reset();
        GlobalSettings.Reset();
        GlobalSettings.SetString(GeneralKind, MiscSettings::Id::worksheetReference, QV_String("VY-01"));
        GlobalSettings.SetString(GeneralKind, MiscSettings::Id::worksheetName, QV_String("Kartunderlag"));
    }
    void TearDown() override {
        ProjectOffset.Reset();
        SosiReaderTest::TearDown();
    }
    // Reads, converts every type in `mode` and builds.
    bool Build(SOSIFileCls& reader, const std::vector<std::string>& paths, int32_t mode) {
        if (!ReadFiles(reader, paths)) return false;
        reader.importMode = mode;
        ImportAll(reader);
        uint8_t created = 0;
        return BuildSOSIOutput(reader, GlobalSettings.misc, &created);
    }
    std::vector<const StoredElement*> Elements(const API_Guid* database = nullptr) {
        std::vector<const StoredElement*> out;
        for (const API_Guid& g : host->Database().AllElements()) {
            const StoredElement* e = host->Database().Find(g);
            if (database == nullptr || e->database == *database) out.push_back(e);
        }
        return out;
    }
    std::map<API_ElemTypeID, int> CountByType(const std::vector<const StoredElement*>& elements) {
        std::map<API_ElemTypeID, int> n;
        for (const StoredElement* e : elements) ++n[e->record.header.typeID];
        return n;
    }
    std::vector<API_Guid> Worksheets() { return host->Database().WorksheetDatabases(); }
    std::string LayerName(int32_t index) {
        const API_Attribute* a = host->Database().Attribute(API_LayerID, index);
        return a != nullptr ? std::string(a->header.name) : "";
    }
    // Elements a worksheet build makes of one object: the builders' table.
    static std::map<API_ElemTypeID, int> Expected(const SOSIFileCls& reader) {
        std::map<API_ElemTypeID, int> n;
        for (const SOSIData& d : reader.assembly.data) switch (d.geometryKind) {
                case SOSIKindPoint: ++n[API_HotspotID]; break;
                case SOSIKindSwarm: n[API_HotspotID] += d.coords.GetCount(); break;
                case SOSIKindLine: ++n[d.coords.GetCount() == 2 ? API_LineID : API_PolyLineID]; break;
                case SOSIKindCurve: ++n[API_PolyLineID]; break;
                case SOSIKindArcByRadius:
                case SOSIKindArcByPoints: ++n[API_ArcID]; break;
                case SOSIKindCircle:
                case SOSIKindCircleByPoints: ++n[API_CircleID]; break;
                case SOSIKindBezier: ++n[API_SplineID]; break;
                case SOSIKindText: n[API_TextID] += d.texts.GetCount() > 0 ? 1 : 0; break;
                case SOSIKindSurface: n[API_HatchID] += d.pieces.GetCount(); break;
                default: break;
            }
        return n;
    }
};

TEST_F(SosiOutputTest, WorksheetBuildsOfTheRealFilesMakeOneElementPerRecordOnLayersNamedByType) {
    // Each file replaces the one before on the same worksheet.
    for (const std::string& name : RealFiles()) {
        SCOPED_TRACE(name);
        SOSIFileCls reader;
        ASSERT_TRUE(Build(reader, {SosiData(name)}, SOSIModeWorksheet));
        EXPECT_EQ(reader.output.buildError, 0);
        ASSERT_EQ(Worksheets().size(), 1u);
        const API_Guid sheet = Worksheets()[0];
        const std::vector<const StoredElement*> made = Elements(&sheet);
        std::map<API_ElemTypeID, int> expected = Expected(reader);
        for (auto it = expected.begin(); it != expected.end();) it = it->second == 0 ? expected.erase(it) : ++it;
        EXPECT_EQ(CountByType(made), expected);
        EXPECT_EQ(made.size(), Elements().size());  // nothing on the plan

        // A type without a name cannot name a layer: its objects go to layer 1.
        std::set<std::string> chosen = {"Default layer"}, used;
        for (const SOSIOType& row : reader.scan.types) chosen.insert(Str(row.name));
        for (const StoredElement* e : made) {
            used.insert(LayerName(e->record.header.layer));
            // Fill 65 is a hatch here: surfaces take the first solid fill.
            if (e->record.header.typeID == API_HatchID) {
                EXPECT_EQ(e->record.Get().hatch.fillInd, 2);
            }
        }
        for (const std::string& layer : used) EXPECT_TRUE(chosen.count(layer) == 1) << layer;
        const QV_List<SOSILayer>& layers = SOSIOutputState().layers;
        ASSERT_EQ(layers.GetCount(), reader.scan.types.GetCount());
        for (const SOSILayer& l : layers) {
            // A type none of whose objects made an element (curves taken into surfaces) leaves no layer behind.
            if (used.count(l.name.IsEmpty() ? "Default layer" : Str(l.name)) == 0) {
                EXPECT_EQ(LayerName(l.layer), "");
                continue;
            }
            EXPECT_EQ(LayerName(l.layer), l.name.IsEmpty() ? "Default layer" : Str(l.name));
            // Made in UTF-8, found by its name in the system code page ("H\xF8ydelag").
            const std::string bytes = l.name.ToStdString(Encoding_System);
            API_Attribute found = {};
            found.header.typeID = API_LayerID;
            bytes.copy(found.header.name, sizeof found.header.name - 1);
            if (!bytes.empty()) {
                EXPECT_TRUE(ACAPI_Attribute_Get(&found) == NoError && found.header.index == l.layer);
            }
        }
    }
}

TEST_F(SosiOutputTest, TerrainBuildMakesPointsWithHeightsAndGroupedConstraintsAtTheOffset) {
    for (uint8_t grouped : {0, 1}) {
        SCOPED_TRACE(int(grouped));
        if (grouped != 0) {
            TearDown();
            SetUp();
        }
        SOSIFileCls reader;
        ASSERT_TRUE(ReadFiles(reader, {SosiData("1001_Hoyde.sos")}));
        reader.importMode = SOSIModeTerrain;
        ImportAll(reader);
        for (SOSIOType& row : reader.scan.types) row.secondSwitch[0] = 1;
        reader.output.dialogSwitch = grouped;
        ProjectOffset.x = 100000.0;
        ProjectOffset.y = 6600000.0;
        uint8_t created = 0;
        ASSERT_TRUE(BuildSOSIOutput(reader, GlobalSettings.misc, &created));
        EXPECT_EQ(created, 1);
        EXPECT_EQ(reader.output.buildError, 0);

        // Every point of the file at its position minus the offset, with its height.
        const auto key = [](double x, double y) {
            return std::make_pair(std::llround(x * 1000), std::llround(y * 1000));
        };
        std::map<std::pair<long long, long long>, std::set<double>> heights;  // curves may share points
        size_t lines = 0, curves = 0;
        for (const SOSIData& d : reader.assembly.data) {
            if (d.geometryKind == SOSIKindPoint || d.geometryKind == SOSIKindSwarm || d.geometryKind == SOSIKindCurve)
                for (const API_Coord3D& c : d.coords) heights[key(c.x, c.y)].insert(c.z);
            if (d.geometryKind == SOSIKindCurve) lines += size_t(d.coords.GetCount() - 1), ++curves;
        }
        std::set<std::string> groups;
        size_t hotspots = 0, constraints = 0;
        for (const StoredElement* e : Elements()) {
            const API_Element r = e->record.Get();
            ElemDescriptor d;
            if (r.header.typeID == API_HotspotID) {
                ++hotspots;
                ASSERT_TRUE(ElemUserData_Read(d, ElemKind_Point, r.header));
                const auto at = heights.find(key(r.hotspot.pos.x + ProjectOffset.x, r.hotspot.pos.y + ProjectOffset.y));
                ASSERT_NE(at, heights.end());
                EXPECT_EQ(at->second.count(d.Value), 1u) << d.Value;
            } else if (r.header.typeID == API_LineID) {
                ++constraints;
                EXPECT_TRUE(ElemUserData_Read(d, ElemKind_Constraint, r.header));
            }
            if (r.header.groupGuid != APINULLGuid)
                groups.insert(
                    std::string(reinterpret_cast<const char*>(&r.header.groupGuid), sizeof r.header.groupGuid));
        }
        EXPECT_GT(hotspots, 0u);
        EXPECT_EQ(constraints, lines);
        // One group per curve, or none at all.
        EXPECT_EQ(groups.size(), grouped ? curves : 0u);
    }
}

TEST_F(SosiOutputTest, LimitingAreaDropsWholeObjectsButKeepsInsideSwarmPoints) {
    SOSIFileCls reader;
    reader.limitToArea = 1;
    reader.limitArea = {0.0, 0.0, 100.0, 100.0};
    ASSERT_TRUE(Build(reader,
                      {Write("area.sos",
                             Sosi(".LINJE 1:\n..OBJTYPE L\n..N\xC3\x98\n10 10\n20 20\n200 20\n"
                                  ".LINJE 2:\n..OBJTYPE L\n..N\xC3\x98\n10 10\n100 100\n"
                                  ".SVERM 3:\n..OBJTYPE S\n..N\xC3\x98\n1 1\n2 500\n100 0\n",
                                  "1"))},
                      SOSIModeWorksheet));
    const std::map<API_ElemTypeID, int> n = CountByType(Elements());
    EXPECT_EQ(n, (std::map<API_ElemTypeID, int>{{API_LineID, 1}, {API_HotspotID, 2}}));
}

TEST_F(SosiOutputTest, ObjectModeLeavesPointsSwarmsAndTextsOut) {
    SOSIFileCls reader;
    ASSERT_TRUE(Build(reader,
                      {Write("o.sos",
                             Sosi(".PUNKT 1:\n..OBJTYPE P\n..N\xC3\x98\n1 1\n"
                                  ".SVERM 2:\n..OBJTYPE S\n..N\xC3\x98\n1 1\n2 2\n"
                                  ".TEKST 3:\n..OBJTYPE T\n..STRENG \"a\"\n..N\xC3\x98\n1 1\n",
                                  "1"))},
                      SOSIModeObjects));
    EXPECT_EQ(reader.assembly.data.GetCount(), 3);
    EXPECT_EQ(reader.output.buildError, 0);
    EXPECT_TRUE(Elements().empty());
}

TEST_F(SosiOutputTest, ObjectModeOutlinesArcsWithTheSegmentationAskedFor) {
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(std::string(LODRAVIX_SOURCE_DIR) + "/library", &why)) << why;
    SOSIObjectSettingsRecord().Init();
    // The circle about (10, 0) of radius 10, from (0, 0) over (10, 10) to (20, 0).
    const std::string file = Write("arc.sos", Sosi(".BUEP 1:\n..OBJTYPE B\n..N\xC3\x98\n0 0\n10 10\n0 20\n", "1"));
    std::vector<size_t> rowCounts;
    for (double smallRadius : {0.1, 50.0}) {
        SOSICurveSegmentationValues() = SOSICurveSegmentation{12, 3, smallRadius};
        SOSIFileCls reader;
        reader.output.objectLibPartIndex = host->Project().libraries.FindByName("SOSI OBJECT", 0);
        ASSERT_TRUE(EditSOSIObjectSettings(reader.output.objectLibPartIndex));  // as the command does first
        ASSERT_TRUE(Build(reader, {file}, SOSIModeObjects));
        EXPECT_EQ(reader.output.buildError, 0);
        const std::vector<const StoredElement*> objects = Elements();
        ASSERT_EQ(objects.size(), rowCounts.size() + 1);
        API_ElementMemo memo = {};
        ASSERT_EQ(ACAPI_Element_GetMemo(objects.back()->record.header.guid, &memo, APIMemoMask_AddPars), NoError);
        BaseLP view;
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        QV_List<double> xyz;
        int32_t rows = 0, columns = 0;
        EXPECT_TRUE(view.GetSetDoubleArrayByName(QV_String("XYZ"), xyz, rows, columns, LPMode_Get));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        ASSERT_EQ(columns, 4);
        for (int32_t r = 0; r < rows; ++r) EXPECT_NEAR(std::hypot(xyz[4 * r] - 10.0, xyz[4 * r + 1]), 10.0, 1e-9);
        // From one end of the arc to the other.
        EXPECT_EQ(std::min(xyz[0], xyz[4 * (rows - 1)]), 0.0);
        EXPECT_EQ(std::max(xyz[0], xyz[4 * (rows - 1)]), 20.0);
        rowCounts.push_back(size_t(rows));
    }
    SOSICurveSegmentationValues() = SOSICurveSegmentation();
    // A half circle in steps of at most pi / 12, then of at most pi / 3 once the radius counts as small.
    EXPECT_GE(rowCounts[0], 13u);
    EXPECT_LT(rowCounts[1], rowCounts[0]);
    EXPECT_GE(rowCounts[1], 4u);
}

TEST_F(SosiOutputTest, TextsTurnFromTheirThirdToSecondPointAndJoinTheirLines) {
    SOSIFileCls reader;
    ProjectOffset.x = 5.0;
    ASSERT_TRUE(Build(reader,
                      {Write("t.sos",
                             Sosi(".TEKST 1:\n..OBJTYPE T\n..STRENG \"Nord\"\n..STRENG \"\xC3\x98st\"\n"
                                  "..N\xC3\x98\n10 20\n30 40\n0 10\n"
                                  ".TEKST 2:\n..OBJTYPE T\n..STRENG \"flat\"\n..N\xC3\x98\n10 20\n30 40\n",
                                  "1"))},
                      SOSIModeWorksheet));
    std::vector<API_Element> texts;
    std::vector<StoredMemo> memos;
    for (const StoredElement* e : Elements())
        if (e->record.header.typeID == API_TextID) texts.push_back(e->record), memos.push_back(e->memo);
    ASSERT_EQ(texts.size(), 2u);
    // North first: (10 20) is x 20, y 10; from (10, 0) to (40, 30) is 45 degrees.
    EXPECT_NEAR(texts[0].text.angle, std::atan(1.0), 1e-12);
    EXPECT_EQ(texts[0].text.loc.x, 15.0);
    EXPECT_EQ(*memos[0].textContent, "Nord\r\n\xC3\x98st");
    EXPECT_EQ(*memos[0].textLineStarts, (std::vector<int32_t>{0, 6}));
    EXPECT_EQ(texts[1].text.angle, 0.0);
}

TEST_F(SosiOutputTest, WorksheetIsReusedByReferenceIdEmptiedUnlessAddingAndRenamed) {
    const std::string file = Write("w.sos",
                                   Sosi(".PUNKT 1:\n..OBJTYPE P\n..N\xC3\x98H\n1 1 5\n"
                                        ".PUNKT 2:\n..OBJTYPE P\n..N\xC3\x98H\n2 2 5\n",
                                        "1"));
    for (uint8_t add : {0, 1, 0}) {
        SOSIFileCls reader;
        reader.output.addSwitch = add;
        ASSERT_TRUE(Build(reader, {file}, SOSIModeWorksheet));
    }
    ASSERT_EQ(Worksheets().size(), 1u);
    EXPECT_EQ(Elements().size(), 2u);
    SOSIFileCls reader;
    reader.output.addSwitch = 1;
    GlobalSettings.SetString(GeneralKind, MiscSettings::Id::worksheetName, QV_String("Kart 2"));
    ASSERT_TRUE(Build(reader, {file}, SOSIModeWorksheet));
    ASSERT_EQ(Worksheets().size(), 1u);
    EXPECT_EQ(Elements().size(), 4u);
    API_DatabaseInfo info = {};
    info.databaseUnId = Worksheets()[0];
    ASSERT_EQ(host->Database().GetDatabaseInfo(&info), NoError);
    EXPECT_EQ(std::u16string(info.name), u"Kart 2");
    EXPECT_EQ(std::u16string(info.ref), u"VY-01");
    // A worksheet the host will not describe may be the one of this id: no second one is made beside it, and the
    // build is taken back.
    const nlohmann::ordered_json before = host->Database().ToJson();
    ASSERT_TRUE(host->FailCall("Database", int32_t(API_Selector("GDBI")), APIERR_GENERAL));
    SOSIFileCls again;
    EXPECT_FALSE(Build(again, {file}, SOSIModeWorksheet));
    host->ClearFailures();
    EXPECT_EQ(Worksheets().size(), 1u);
    EXPECT_TRUE(host->Database().ToJson() == before);
}

TEST_F(SosiOutputTest, FailedObjectsMarkTheBuildAndABreakStopsIt) {
    // Three points on one line have no circle; the objects around them are still made.
    const std::string text = Sosi(".PUNKT 1:\n..OBJTYPE P\n..N\xC3\x98\n1 1\n"
                                  ".BUEP 2:\n..OBJTYPE B\n..N\xC3\x98\n0 0\n1 1\n2 2\n"
                                  ".SIRKELP 3:\n..OBJTYPE B\n..N\xC3\x98\n0 0\n0 1\n0 2\n"
                                  ".BUEP 4:\n..OBJTYPE B\n..N\xC3\x98\n0 0\n1 1\n0 2\n"
                                  ".PUNKT 5:\n..OBJTYPE P\n..N\xC3\x98\n3 3\n",
                                  "1");
    SOSIFileCls reader;
    ASSERT_TRUE(Build(reader, {Write("bad.sos", text)}, SOSIModeWorksheet));
    EXPECT_EQ(reader.output.buildError, 1);
    EXPECT_EQ(CountByType(Elements()), (std::map<API_ElemTypeID, int>{{API_HotspotID, 2}, {API_ArcID, 1}}));

    // The same worksheet again, broken off after the third object: one point made, two failures.
    SOSIFileCls broken;
    ASSERT_TRUE(ReadFiles(broken, {Write("bad.sos", text)}));
    broken.importMode = SOSIModeWorksheet;
    ImportAll(broken);
    host->Session().progress.breakAfter = 3;
    uint8_t created = 0;
    ASSERT_TRUE(BuildSOSIOutput(broken, GlobalSettings.misc, &created));
    EXPECT_EQ(CountByType(Elements()), (std::map<API_ElemTypeID, int>{{API_HotspotID, 1}}));
}

}  // namespace sosi_output_test
