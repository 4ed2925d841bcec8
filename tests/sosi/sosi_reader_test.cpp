// The SOSI reader: lines and encodings, the object scan, the record lines of an object, and the selection and
// assembly of the chosen objects.
#include "SosiFixture.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::vector<std::string> Lines(SOSIImport& reader, int32_t f = 0) {
    std::vector<std::string> out;
    const SOSILines& lines = reader.scan.files[f].lines;
    for (int32_t i = 0; i < lines.GetCount(); ++i) out.push_back(lines[i].ToString().ToStdString());
    return out;
}

}  // namespace

TEST_F(SosiReaderTest, LineEndsAndEncodingsGiveTheSameLines) {
    const std::string lf = Sosi(".PUNKT 1:\n..OBJTYPE Fastmerke\n..N\xC3\x98H\n1200 300 1234\n x\n");
    std::string crlf, cr;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (char c : lf) cr += c == '\n' ? '\r' : c;
    const std::string bom = "\xEF\xBB\xBF" + lf;
    std::string latin1;  // the same text in the system code page
    for (size_t i = 0; i < lf.size(); ++i)
        if (uint8_t(lf[i]) == 0xC3)
            latin1 += char(uint8_t(lf[++i]) + 0x40);
        else
            latin1 += lf[i];
    std::string utf16 = "\xFF\xFE";
    const QV_String wide(lf.c_str(), Encoding_UTF8);
    for (uint32_t i = 0; i < wide.GetLength(); ++i) {
        utf16 += char(wide.GetAt(i) & 0xFF);
        utf16 += char(wide.GetAt(i) >> 8);
    }
    const std::string utf16NoMark = utf16.substr(2);  // found from the content
    std::vector<std::string> expected;
    for (const std::string& bytes : {lf, crlf, cr, bom, latin1, utf16, utf16NoMark}) {
        SOSIImport reader;
        ASSERT_TRUE(ReadFiles(reader, {Write("enc.sos", bytes)}));
        const std::vector<std::string> lines = Lines(reader);
        if (expected.empty()) expected = lines;
        EXPECT_EQ(lines, expected);
        // The mark is not part of line 1; later lines keep their letters; the one-character line is gone.
        EXPECT_EQ(lines.front(), ".HODE");
        EXPECT_EQ(lines[4], "...ORIGO-N\xC3\x98 0 0");
        EXPECT_EQ(reader.scan.files[0].objects.GetCount(), 1);
    }
    EXPECT_EQ(expected.size(), 11u);
}

TEST_F(SosiReaderTest, ScanFindsHeaderObjectsAndTypes) {
    const std::string text = "..STRAY 1\n...ORIGO-N\xC3\x98 5 6\n" +
        Sosi(".KURVE 1:\n..N\xC3\x98\n1 2\n3 4\n"
             ".BUEP 12:\n..N\xC3\x98\n1 2\n"
             ".PUNKT 3:\n..OBJTYPE H\xC3\xB8ydekurve\n..N\xC3\x98\n1 2\n"
             ".PUNKT 4:\n..OBJTYPE H\xC3\xB8ydekurve\n..N\xC3\x98\n1 2\n",
             "0.01", "...ORIGO-\xC3\x98N 100 200\n...MIN-N\xC3\x98 1 2\n...MAX-E 3 4");
    SOSIImport reader;
    ASSERT_TRUE(ReadFiles(reader, {Write("scan.sos", text)}));
    const SOSIFileData& f = reader.scan.files[0];
    // Origin before .HODE is no header value; east first when the suffix does not start with N.
    EXPECT_EQ(f.originEast, 100.0);
    EXPECT_EQ(f.originNorth, 200.0);
    EXPECT_EQ(f.minNorth, 1.0);
    EXPECT_EQ(f.minEast, 2.0);
    EXPECT_EQ(f.maxEast, 3.0);
    EXPECT_EQ(f.headerUnit, 0.01);
    ASSERT_EQ(f.objects.GetCount(), 4);  // the end line is no object
    EXPECT_EQ(f.objects[1].kind, SOSIKindArcByPoints);
    EXPECT_EQ(Str(f.objects[1].id), "12");
    // Objects without "..OBJTYPE" do not borrow the next object's type.
    EXPECT_EQ(Str(f.objects[0].type), "");
    EXPECT_EQ(Str(f.objects[1].type), "");
    EXPECT_EQ(Str(f.objects[2].type), "H\xC3\xB8ydekurve");
    // The end line closes the last object.
    EXPECT_EQ(f.objects[3].lastLine, f.lines.GetCount() - 2);
    ASSERT_EQ(reader.scan.types.GetCount(), 2);
    EXPECT_EQ(reader.scan.types[1].terrainFeature, 1);
    EXPECT_EQ(reader.scan.types[0].terrainFeature, 0);

    // Without an end line the last object is kept with its lines.
    SOSIImport open;
    ASSERT_TRUE(ReadFiles(open, {Write("open.sos", ".HODE\n.PUNKT 1:\n..N\xC3\x98\n100 200\n")}));
    ASSERT_EQ(open.scan.files[0].objects.GetCount(), 1);
    EXPECT_EQ(ObjectPoints(open)[0].size(), 1u);
}

TEST_F(SosiReaderTest, RecordLinesScaleAndKeepEveryTuple) {
    const std::string text =
        Sosi(".KURVE 1:\n..OBJTYPE A\n..H\xC3\x98YDE 55.5\n..N\xC3\x98\n1200 300\n12,5 7\n12a 3\n"
             "...ENHET 1\n1200 300 1 2 ...KP 1\n"
             ".PUNKT 2:\n..OBJTYPE A\n..N\xC3\x98H 1200 300 1234 1 1 0\n"
             ".TEKST 3:\n..OBJTYPE A\n..STRENG \"  two   words \"\n..RADIUS 2,5\n..NAVN 1\n..N\xC3\x98\n1 1\n");
    SOSIImport reader;
    ASSERT_TRUE(ReadFiles(reader, {Write("rec.sos", text)}));
    std::vector<std::vector<API_Coord3D>> pts = ObjectPoints(reader);
    ASSERT_EQ(pts[0].size(), 4u);
    EXPECT_DOUBLE_EQ(pts[0][0].x, 3.0);
    EXPECT_DOUBLE_EQ(pts[0][0].y, 12.0);
    EXPECT_DOUBLE_EQ(pts[0][0].z, 55.5);  // the height line is not scaled
    EXPECT_DOUBLE_EQ(pts[0][1].y, 0.125);
    EXPECT_DOUBLE_EQ(pts[0][2].x, 300.0);  // the object's own unit from its line on
    EXPECT_DOUBLE_EQ(pts[0][3].x, 2.0);    // a second tuple on one line
    ASSERT_EQ(pts[1].size(), 2u);          // tuples on the keyword line
    EXPECT_DOUBLE_EQ(pts[1][0].z, 12.34);
    reader.assembly.skipLowHeights = 1;
    EXPECT_EQ(ObjectPoints(reader)[1].size(), 1u);
    reader.assembly.skipLowHeights = 0;
    SOSIObjectRecords records;
    EXPECT_EQ(ObjectPoints(reader, 0, &records)[2].size(), 1u);  // "..NAVN" is no coordinate keyword
    EXPECT_EQ(Str(records.scratch.texts[0]), "two words");
    EXPECT_DOUBLE_EQ(records.scratch.radius, 2.5);
}

TEST_F(SosiReaderTest, ReferencesGroupAndRemoveOnlyTheirFilesCurves) {
    const std::string curves = ".KURVE 1:\n..OBJTYPE K\n..N\xC3\x98\n0 0\n0 100\n.KURVE 2:\n..OBJTYPE K\n..N\xC3\x98\n"
                               "0 100\n100 100\n.KURVE 3:\n..OBJTYPE K\n..N\xC3\x98\n100 100\n0 0\n";
    const std::string surface = ".FLATE 9:\n..OBJTYPE F\n..REF :1 :2\n:3\n..N\xC3\x98\n50 50\n"
                                ".FLATE 10:\n..OBJTYPE F\n..REF :-1\n(:2 :3)\n..N\xC3\x98\n50 50\n";
    SOSIImport reader;
    ASSERT_TRUE(ReadFiles(reader, {Write("a.sos", Sosi(curves)), Write("b.sos", Sosi(curves + surface))}));
    ImportAll(reader);
    // File a keeps its three curves; file b's go into the surface.
    int32_t curvesLeft[2] = {0, 0};
    std::vector<const SOSIData*> flates;
    for (const SOSIData& d : reader.assembly.data) {
        if (d.geometryKind == SOSIKindCurve) ++curvesLeft[d.fileIndex];
        if (d.geometryKind == SOSIKindSurface) flates.push_back(&d);
    }
    EXPECT_EQ(curvesLeft[0], 3);
    EXPECT_EQ(curvesLeft[1], 0);
    ASSERT_EQ(flates.size(), 2u);
    // A hole group in parentheses is stored in text order and removes nothing; the sign stays.
    ASSERT_EQ(flates[1]->refs.GetCount(), 2);
    EXPECT_EQ(Str(flates[1]->refs[0][0]), "-1");
    EXPECT_EQ(flates[1]->refs[1].GetCount(), 2);
    const SOSIData* flate = flates[0];
    ASSERT_EQ(flate->refs.GetCount(), 1);
    EXPECT_EQ(flate->refs[0].GetCount(), 3);
    ASSERT_GE(flate->pieces.GetCount(), 1);
    const SOSICos& ring = flate->pieces[0];
    EXPECT_TRUE(std::fabs(ring[0].x - ring[ring.GetCount() - 1].x) < 1e-12);
    EXPECT_GE(ring.GetCount(), 4);
}

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
    SOSIImport reader;
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
        SOSIImport reader;
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
