// The assembly: the selection of the chosen objects, their filters, the joins, the records made.
#include "SosiFixture.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace sosi_assembly_test {

TEST_F(SosiReaderTest, SelectionAppliesMinimumsFiltersAndSimplifies) {
    const std::string text =
        Sosi(".KURVE 1:\n..OBJTYPE C\n..N\xC3\x98\n0 0\n"          // too few points
             ".BUEP 2:\n..OBJTYPE C\n..N\xC3\x98\n0 0\n100 100\n"  // too few points
             ".PUNKT 3:\n..OBJTYPE P\n..N\xC3\x98H\n0 0 100\n.PUNKT 4:\n..OBJTYPE P\n..N\xC3\x98H\n5 0 100\n"
             ".KURVE 5:\n..OBJTYPE C\n..N\xC3\x98\n0 0\n1 0\n1000 0\n2000 0\n"  // open line
             ".KURVE 6:\n..OBJTYPE H\n..N\xC3\x98H\n0 0 10000\n100 0 10000\n"
             ".KURVE 7:\n..OBJTYPE H\n..N\xC3\x98H\n0 0 10500\n100 0 10500\n"
             ".KURVE 8:\n..OBJTYPE H\n..N\xC3\x98H\n0 0 10250\n100 0 10250\n"
             ".KURVE 9:\n..OBJTYPE H\n..N\xC3\x98H\n0 0 10250\n100 0 11000\n",
             "0.01", "...ORIGO-N\xC3\x98 1000 2000");
    SOSIFileCls reader;
    ASSERT_TRUE(ReadFiles(reader, {Write("sel.sos", text)}));
    for (SOSIOType& row : reader.scan.types) row.import = 1;
    reader.tolerance = 0.1;
    reader.assembly.lineFilterDistance = 0.05;
    reader.ImportObjects();
    std::vector<std::string> ids;
    for (const SOSIData& d : reader.assembly.data) ids.push_back(Str(d.id));
    EXPECT_EQ(ids, (std::vector<std::string>{"3", "5", "6", "7", "8", "9"}));
    EXPECT_EQ(reader.pointsRead, 9u);
    // The open line loses its first point; the origin is added north first.
    ASSERT_EQ(reader.assembly.data[1].coords.GetCount(), 3);
    EXPECT_DOUBLE_EQ(reader.assembly.data[1].coords[0].x, 2000.0 + 0.0);
    EXPECT_DOUBLE_EQ(reader.assembly.data[1].coords[0].y, 1000.0 + 0.01);

    reader.ComputeExtents();
    EXPECT_EQ(reader.assembly.contourCount, 4);  // the flat curves 5 to 8
    reader.assembly.altitudeFilter = 1;
    reader.assembly.firstAltitude = 100.0;
    reader.assembly.finalAltitude = 110.0;
    reader.assembly.equidistance = 5.0;
    reader.FilterContourHeights();
    ids.clear();
    for (const SOSIData& d : reader.assembly.data) ids.push_back(Str(d.id));
    EXPECT_EQ(ids, (std::vector<std::string>{"3", "6", "7", "9"}));
    // A tiny step ends at once and keeps what lies on it.
    reader.assembly.equidistance = 1e-6;
    reader.FilterContourHeights();
    EXPECT_EQ(reader.assembly.data.GetCount(), 4);
}

TEST_F(SosiReaderTest, ObjectModeJoinsContoursAndRingsCloseExactly) {
    const std::string text = Sosi(".KURVE 1:\n..OBJTYPE H\n..N\xC3\x98H\n0 0 100\n0 100 100\n"
                                  ".KURVE 2:\n..OBJTYPE H\n..N\xC3\x98H\n0 100 100\n0 200 100\n"
                                  ".KURVE 3:\n..OBJTYPE R\n..N\xC3\x98H\n0 0 100\n0 100 100\n100 100 100\n0 0 200\n"
                                  ".FLATE 4:\n..OBJTYPE F\n..REF :3\n..N\xC3\x98\n1 1\n");
    for (int32_t mode : {SOSIModeTerrain, SOSIModeObjects}) {
        SOSIFileCls reader;
        ASSERT_TRUE(ReadFiles(reader, {Write("join.sos", text)}));
        reader.importMode = mode;
        ImportAll(reader);
        // Only the object mode joins the two touching contours, with one separator between the pieces.
        ASSERT_EQ(reader.assembly.data.GetCount(), mode == SOSIModeObjects ? 2 : 3);
        int separators = 0;
        for (const API_Coord3D& c : reader.assembly.data[0].coords) separators += IsSOSISeparator(c) ? 1 : 0;
        EXPECT_EQ(separators, mode == SOSIModeObjects ? 1 : 0);
        // The ring's ends differ in height only: its higher end moves by 1/10000 and a closing copy follows.
        const SOSIData& flate = reader.assembly.data[reader.assembly.data.GetCount() - 1];
        ASSERT_EQ(flate.pieces.GetCount(), 1);
        const SOSICos& ring = flate.pieces[0];
        ASSERT_EQ(ring.GetCount(), 5);
        EXPECT_NEAR(ring[3].x, 0.0001, 1e-12);
        EXPECT_NEAR(ring[3].y, 0.0001, 1e-12);
        EXPECT_EQ(ring[4].x, ring[0].x);
        EXPECT_EQ(ring[4].y, ring[0].y);
    }
}

// A ring takes its curves' points as each curve gives them read on its own: a curve without a height line lies
// at 0 whatever object was read before it, in every mode.
TEST_F(SosiReaderTest, ARingsCurveWithoutHeightKeepsItsOwnHeights) {
    const std::string text = Sosi(".KURVE 1:\n..OBJTYPE R\n..N\xC3\x98\n0 0\n0 100\n100 100\n0 0\n"
                                  ".FLATE 2:\n..OBJTYPE F\n..REF :1\n..N\xC3\x98\n1 1\n"
                                  ".PUNKT 3:\n..OBJTYPE P\n..H\xC3\x98YDE 123\n..N\xC3\x98\n5 5\n");
    for (int32_t mode : {SOSIModeTerrain, SOSIModeObjects}) {
        SOSIFileCls reader;
        ASSERT_TRUE(ReadFiles(reader, {Write("rings.sos", text)}));
        reader.importMode = mode;
        ImportAll(reader);
        const SOSIData* flate = nullptr;
        for (const SOSIData& d : reader.assembly.data)
            if (d.geometryKind == SOSIKindSurface) flate = &d;
        ASSERT_NE(flate, nullptr);
        ASSERT_EQ(flate->pieces.GetCount(), 1);
        for (const API_Coord3D& c : flate->pieces[0]) EXPECT_EQ(c.z, 0.0);
    }
}

// A record copies, assigns and resets whole, its rarely filled lists included; Reset empties it.
TEST(SosiDataRecord, CopiesKeepEveryListAndResetEmptiesTheRecord) {
    SOSIData r;
    r.geometryKind = SOSIKindCircle;
    r.coords.Insert(API_Coord3D{3, 4, 0});
    r.radius = 2.0;
    SOSIData plain = r;  // no texts, rings or references
    r.texts.Insert(QV_String("a"));
    SOSICos ring;
    ring.Insert(API_Coord3D{1, 2, 3});
    r.pieces.Insert(ring);
    SOSIRefs refs;
    refs.Insert(QV_String("-7"));
    r.refs.Insert(refs);
    SOSIData copy = r;
    r.texts.Insert(QV_String("b"));  // the copy holds its own lists
    EXPECT_EQ(copy.texts.GetCount(), 1);
    EXPECT_EQ(copy.texts[0].ToStdString(), "a");
    ASSERT_EQ(copy.pieces.GetCount(), 1);
    EXPECT_EQ(copy.pieces[0][0].z, 3.0);
    EXPECT_EQ(copy.refs[0][0].ToStdString(), "-7");
    plain = copy;
    EXPECT_EQ(plain.refs.GetCount(), 1);
    copy.texts = QV_List<QV_String>();
    EXPECT_TRUE(copy.texts.IsEmpty());
    EXPECT_EQ(copy.texts.begin(), copy.texts.end());

    r.Reset();
    EXPECT_EQ(r.geometryKind, 0);
    EXPECT_EQ(r.coords.GetCount(), 0);
    EXPECT_EQ(r.radius, 0.0);
    EXPECT_TRUE(r.texts.IsEmpty() && r.pieces.IsEmpty() && r.refs.IsEmpty());
    EXPECT_EQ(r.fileIndex, -1);
    r.coords.Insert(API_Coord3D{1, 2, 3});
    EXPECT_EQ(r.coords.GetCount(), 1);
}

// A swarm is thinned among its own points before the PUNKT records take theirs away: a swarm point beside a
// PUNKT still hides the swarm point next to it, though it goes itself. With its type's own distance the same.
TEST_F(SosiReaderTest, SwarmThinsItselfBeforeThePointsTakeTheirs) {
    const std::string text = Sosi(".PUNKT 1:\n..OBJTYPE P\n..N\xC3\x98H\n0 0 100\n"
                                  ".SVERM 2:\n..OBJTYPE S\n..N\xC3\x98H\n0 5 100\n0 12 100\n0 30 100\n0 36 100\n"
                                  ".SVERM 3:\n..OBJTYPE S\n..N\xC3\x98H\n0 3 100\n0 -4 100\n"
                                  ".SVERM 4:\n..OBJTYPE T\n..N\xC3\x98H\n0 11 100\n0 15 100\n0 25 100\n");
    for (const bool own : {false, true}) {
        SCOPED_TRACE(own);
        SOSIFileCls reader;
        ASSERT_TRUE(ReadFiles(reader, {Write("swarm.sos", text)}));
        for (SOSIOType& row : reader.scan.types) {
            row.import = 1;
            row.ownValue = own ? 1 : 0;
            row.value = 0.1;
        }
        reader.tolerance = own ? 0.0 : 0.1;
        reader.ImportObjects();
        // Swarm 2's first point hides its second, then goes beside the PUNKT; swarm 3 lies wholly beside the
        // PUNKT and goes; swarm 4 lies beyond its reach and is only thinned.
        std::vector<std::string> ids;
        std::vector<std::vector<double>> xs;
        for (const SOSIData& d : reader.assembly.data) {
            ids.push_back(Str(d.id));
            xs.emplace_back();
            for (const API_Coord3D& c : d.coords) xs.back().push_back(std::round(c.x * 100.0));
        }
        EXPECT_EQ(ids, (std::vector<std::string>{"1", "2", "4"}));
        EXPECT_EQ(xs, (std::vector<std::vector<double>>{{0}, {30}, {11, 25}}));
        EXPECT_EQ(reader.pointsKept, 3u);
    }
}

// Clear takes a used reader back to a new one's state, but for the user's two display options; read again it
// makes what a new reader makes.
TEST_F(SosiReaderTest, ClearedReaderReadsAsANewOne) {
    const std::string first = Write("first.sos",
                                    Sosi(".KURVE 1:\n..OBJTYPE H\n..N\xC3\x98H\n0 0 100\n0 7 100\n"
                                         "9 9 100\n"));
    const std::string second = Write("second.sos",
                                     Sosi(".PUNKT 1:\n..OBJTYPE P\n..N\xC3\x98H\n50 60 300\n"
                                          ".KURVE 2:\n..OBJTYPE H\n..N\xC3\x98H\n0 0 200\n0 5 200\n"
                                          "0 9 200\n"));
    SOSIFileCls used;
    ASSERT_TRUE(ReadFiles(used, {first}));
    used.importMode = SOSIModeObjects;
    used.showAllTypes = 1;
    used.assembly.skipLowHeights = 1;
    used.output.objectLibPartIndex = 4;
    used.output.addSwitch = 1;
    used.output.namesFromSettings = 0;
    used.assembly.altitudeFilter = 1;
    used.assembly.firstAltitude = used.assembly.finalAltitude = 1.0;
    ImportAll(used);
    used.ComputeExtents();
    ASSERT_EQ(used.assembly.data.GetCount(), 1);

    used.Clear();
    EXPECT_EQ(used.importMode, -1);
    EXPECT_EQ(used.tolerance, 0.0);
    EXPECT_TRUE(used.scan.files.IsEmpty() && used.scan.types.IsEmpty() && used.assembly.data.IsEmpty());
    EXPECT_EQ(used.assembly.lineFilterDistance, 0.1);
    EXPECT_EQ(used.assembly.altitudeFilter, 0);
    EXPECT_EQ(used.assembly.firstAltitude, 0.0);
    EXPECT_EQ(used.output.objectLibPartIndex, -1);
    EXPECT_EQ(used.output.addSwitch, 0);
    EXPECT_EQ(used.output.namesFromSettings, 1);
    EXPECT_TRUE(used.BoundsEmpty());
    EXPECT_EQ(used.showAllTypes, 1);
    EXPECT_EQ(used.assembly.skipLowHeights, 1);

    SOSIFileCls fresh;
    fresh.assembly.skipLowHeights = 1;
    for (SOSIFileCls* reader : {&used, &fresh}) {
        ASSERT_TRUE(ReadFiles(*reader, {second}));
        ImportAll(*reader);
        reader->ComputeExtents();
    }
    ASSERT_EQ(used.assembly.data.GetCount(), fresh.assembly.data.GetCount());
    for (int32_t i = 0; i < used.assembly.data.GetCount(); ++i) {
        EXPECT_EQ(Str(used.assembly.data[i].id), Str(fresh.assembly.data[i].id));
        EXPECT_EQ(used.assembly.data[i].coords.GetCount(), fresh.assembly.data[i].coords.GetCount());
    }
    EXPECT_EQ(used.assembly.contourCount, fresh.assembly.contourCount);
    EXPECT_EQ(used.bounds.xMin, fresh.bounds.xMin);
    EXPECT_EQ(used.bounds.yMax, fresh.bounds.yMax);
    EXPECT_EQ(used.pointsRead, fresh.pointsRead);
}

}  // namespace sosi_assembly_test
