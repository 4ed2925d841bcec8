// The object records: the record lines of one object, and the references of a surface.
#include "SosiFixture.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace sosi_object_records_test {

TEST_F(SosiReaderTest, RecordLinesScaleAndKeepEveryTuple) {
    const std::string text =
        Sosi(".KURVE 1:\n..OBJTYPE A\n..H\xC3\x98YDE 55.5\n..N\xC3\x98\n1200 300\n12,5 7\n12a 3\n"
             "...ENHET 1\n1200 300 1 2 ...KP 1\n"
             ".PUNKT 2:\n..OBJTYPE A\n..N\xC3\x98H 1200 300 1234 1 1 0\n"
             ".TEKST 3:\n..OBJTYPE A\n..STRENG \"  two   words \"\n..RADIUS 2,5\n..NAVN 1\n..N\xC3\x98\n1 1\n");
    SOSIFileCls reader;
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
    SOSIFileCls reader;
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

// The records step only reads: the outer boundary a surface names comes out in the scratch, for the assembly to
// drop those curves' own records.
TEST_F(SosiReaderTest, ASurfacesOuterBoundaryIsHandedToTheAssembly) {
    const std::string text = ".KURVE 1:\n..OBJTYPE K\n..N\xC3\x98\n0 0\n0 100\n.FLATE 10:\n..OBJTYPE F\n..REF (:2 :3) "
                             ":-1\n:4\n..N\xC3\x98\n50 50\n";
    SOSIFileCls reader;
    ASSERT_TRUE(ReadFiles(reader, {Write("r.sos", Sosi(text))}));
    const SOSIFileData& file = reader.scan.files[0];
    SOSIObjectRecords records;
    QV_List<API_Coord3D> points;
    records.Read(file, file.objects[1], false, points);
    ASSERT_EQ(records.scratch.boundaries.size(), 1u);  // the bracketed group, a hole, is in the refs only
    ASSERT_EQ(records.scratch.boundaries[0].GetCount(), 2);
    EXPECT_EQ(Str(records.scratch.boundaries[0][0]), "-1");
    EXPECT_EQ(records.scratch.refs.GetCount(), 2);
    records.Reset();
    EXPECT_TRUE(records.scratch.boundaries.empty() && records.scratch.refs.IsEmpty());
}

}  // namespace sosi_object_records_test
