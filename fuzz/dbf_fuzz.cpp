// The dBase table reader on any bytes: refused with both lists as they were, or read into records x fields
// values, each a text inside the table's text block and no longer than its field.
#include "FuzzSupport.hpp"

#include "fileio/DBFTable.hpp"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::BeginInput();
    const std::string path = Fuzz::WriteInput("input.dbf", data, size);
    QV_List<DBFFieldData> fields;
    DBFValueList values;
    // Something there before: a refused read leaves it.
    DBFFieldData marker;
    marker.name = "marker";
    fields.Insert(marker);
    values.index.Insert(DBFData());
    values.Replace(0, "x");
    const int32_t valuesBefore = values.GetCount();
    ReadReport report;
    if (!ReadDBFFile(QV_String(path.c_str(), Encoding_UTF8), fields, values, NullReaderProgress(), report)) {
        FUZZ_CHECK(fields.GetCount() == 1 && values.GetCount() == valuesBefore, "a refused table leaves the lists");
        FUZZ_CHECK(report.error != 0 || report.HasIssues(), "a refused table says why");
        return 0;
    }
    FUZZ_CHECK(report.error == 0, "a table read has no error");
    const int32_t fieldCount = fields.GetCount();
    if (fieldCount == 0) return 0;
    FUZZ_CHECK(values.GetCount() % fieldCount == 0, "every record has a value per field");
    for (const DBFFieldData& f : fields) FUZZ_CHECK(f.kind <= 1, "a field is text or a number");
    for (int32_t i = 0; i < values.GetCount(); ++i) {
        const DBFData& d = values.index[i];
        FUZZ_CHECK(uint64_t(d.offset) + d.length < uint64_t(values.text.GetCount()), "a value lies in the text");
        FUZZ_CHECK(values.text[int32_t(d.offset + d.length)] == '\0', "a value ends with its zero byte");
        FUZZ_CHECK(std::strlen(values[i]) <= d.length, "a value's text is within its length");
        FUZZ_CHECK(d.length <= fields[i % fieldCount].length, "a value is no longer than its field");
    }
    return 0;
}
