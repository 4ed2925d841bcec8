// The XYZ point-file reader on any bytes: its format detection (delimiter, decimal mark, layout, UTF-16 by the
// mark) decides how the file is read, as with no dialog.
#include "ColumnChecks.hpp"

#include "fileio/TextFileCls.hpp"
#include "settings/ImportOptionsRec.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::BeginInput();
    TextFileCls reader;
    reader.path = QV_String(Fuzz::WriteInput("input.xyz", data, size).c_str(), Encoding_UTF8);
    ImportOptionsRec options;
    options.SetDefaults();
    reader.SetImportOptions(options);
    Fuzz::VaryColumnOptions(reader, size);
    const bool ok = reader.Detect() && reader.Read();
    Fuzz::CheckColumnRead(reader, ok);
    FUZZ_CHECK(reader.layout >= 1 && reader.layout <= 7, "detection leaves one of the seven layouts");
    return 0;
}
