// Texts of other encodings than a file says: layer names of a 2013 DXF written in the system code page, and table
// values that are not UTF-8 though the ".cpg" says so. Both are read in the system code page, never as replacement
// marks; the table's mismatch is told.
#include "DxfFixture.hpp"

#include "fileio/DBFTable.hpp"

#include <gtest/gtest.h>

#include <string>

namespace encodings_test {

class EncodingsTest : public DxfReaderTest {
protected:
    // A dBase table of one character field "NAME" of 10 bytes, a row per value.
    static std::string Table(const std::vector<std::string>& values) {
        std::string bytes(32, '\0');
        bytes[0] = 3;
        const uint32_t rows = uint32_t(values.size());
        for (int k = 0; k < 4; ++k) bytes[4 + k] = char(rows >> (8 * k));
        const uint16_t headerLength = 32 + 32 + 1, recordLength = 1 + 10;
        bytes[8] = char(headerLength & 0xFF), bytes[9] = char(headerLength >> 8);
        bytes[10] = char(recordLength & 0xFF), bytes[11] = char(recordLength >> 8);
        std::string field(32, '\0');
        field.replace(0, 4, "NAME");
        field[11] = 'C';
        field[16] = 10;
        bytes += field;
        bytes += '\x0D';
        for (const std::string& v : values) bytes += ' ' + v + std::string(10 - v.size(), ' ');
        bytes += '\x1A';
        return bytes;
    }
};

TEST_F(EncodingsTest, LayerNamesOfANewerDxfThatAreNoUtf8AreReadInTheSystemCodePage) {
    for (const std::string version : {"AC1027", "AC1032", "AC1015"}) {
        SCOPED_TRACE(version);
        const std::string path =
            Write("latin1.dxf", Dxf(Point("H\xF8yde", 1, 2, 3) + Point("H\xC3\xB8yde", 4, 5, 6), version));
        DXFFileCls reader;
        int32_t error = 0;
        ASSERT_TRUE(ReadDxf(reader, path, error));
        std::vector<std::string> names;
        for (const DXFFileLayer& layer : reader.layers) names.push_back(layer.name.ToStdString(Encoding_UTF8));
        // The Latin-1 name is the system code page's; the UTF-8 one is UTF-8 in the newer versions only.
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(names[0], "H\xC3\xB8yde");
        for (const std::string& name : names) EXPECT_EQ(name.find("\xEF\xBF\xBD"), std::string::npos) << name;
        if (version != "AC1015") {
            EXPECT_EQ(names.size(), 1u);  // the same name both ways: one layer
        }
    }
}

TEST_F(EncodingsTest, TableValuesThatDoNotFitTheirCodePageFileAreToldAndKeptAsWritten) {
    const std::string table = Write("roads.dbf", Table({"H\xC3\xB8yde", "H\xF8yde", "Veg"}));
    Write("roads.cpg", "UTF-8\n");
    QV_List<DBFFieldData> fields;
    DBFValueList values;
    ReadReport report;
    ASSERT_TRUE(ReadDBFFile(QV_String(table.c_str(), Encoding_UTF8), fields, values, NullReaderProgress(), report));
    ASSERT_EQ(values.GetCount(), 3);
    // Both read as the system code page's "Høyde": neither is "H?yde".
    EXPECT_EQ(QV_String(values[0], Encoding_System).ToStdString(Encoding_UTF8), "H\xC3\xB8yde");
    EXPECT_EQ(QV_String(values[1], Encoding_System).ToStdString(Encoding_UTF8), "H\xC3\xB8yde");
    EXPECT_EQ(report.Count(ReadIssue::CodePageMismatch), 1u);
    EXPECT_NE(report.Describe().ToStdString(Encoding_UTF8).find("(.cpg)"), std::string::npos);
    // A table whose values all fit tells nothing.
    const std::string fitting = Write("fit.dbf", Table({"H\xC3\xB8yde"}));
    Write("fit.cpg", "UTF-8");
    ReadReport quiet;
    ASSERT_TRUE(ReadDBFFile(QV_String(fitting.c_str(), Encoding_UTF8), fields, values, NullReaderProgress(), quiet));
    EXPECT_FALSE(quiet.HasIssues());
}

}  // namespace encodings_test
