// The file scan: lines and encodings, the header, the objects and the types found.
#include "SosiFixture.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace sosi_file_scan_test {

std::vector<std::string> Lines(SOSIFileCls& reader, int32_t f = 0) {
    std::vector<std::string> out;
    const SOSILines& lines = reader.scan.files[f].lines;
    for (int32_t i = 0; i < lines.GetCount(); ++i) out.push_back(lines[i].ToString().ToStdString());
    return out;
}

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
        SOSIFileCls reader;
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
    SOSIFileCls reader;
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
    SOSIFileCls open;
    ASSERT_TRUE(ReadFiles(open, {Write("open.sos", ".HODE\n.PUNKT 1:\n..N\xC3\x98\n100 200\n")}));
    ASSERT_EQ(open.scan.files[0].objects.GetCount(), 1);
    EXPECT_EQ(ObjectPoints(open)[0].size(), 1u);
}

}  // namespace sosi_file_scan_test
