// The ESRI ASCII grid reader on any bytes, with the options its detection leaves (no dialog).
#include "ColumnChecks.hpp"

#include "fileio/ASCFileCls.hpp"
#include "settings/ImportOptionsRec.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::BeginInput();
    ASCFile::ASCFileCls reader;
    reader.path = QV_String(Fuzz::WriteInput("input.asc", data, size).c_str(), Encoding_UTF8);
    ImportOptionsRec options;
    options.SetDefaults();
    reader.SetImportOptions(options);
    Fuzz::VaryColumnOptions(reader, size);
    if (size % 7 == 3) reader.swapXY = 1;
    const bool ok = reader.Detect() && reader.Read();
    Fuzz::CheckColumnRead(reader, ok);
    // ncols limits nothing (a row gives a point per value it holds), so the points are bounded by the values read.
    if (ok) FUZZ_CHECK(reader.points.size() <= reader.pointsRead, "no more points than values read");
    return 0;
}
