#include "sosi/SOSIFileCls.hpp"

#include "foundation/Encoding.hpp"
#include "foundation/ErrorCode.hpp"
#include "sosi/SOSICharset.hpp"
#include "foundation/Language.hpp"
#include "settings/Settings.hpp"
#include "sosi/SOSITokens.hpp"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace {

constexpr double ExtentLiteral = 1.79769313486231e308;
// No SOSI file comes near this; a larger one is refused before anything is allocated for it.
constexpr uint32_t MaxSOSIFileBytes = 512u * 1024u * 1024u;
constexpr uint32_t ReadBlockBytes = 64u * 1024u;
constexpr int32_t TextReading = 166;
constexpr int32_t TextInterpretation = 167;

QV_String GeneralText(int32_t index) {
    QV_String text;
    GetResString(text, GeneralTableBase + LanguageIndex, index);
    return text;
}

}  // namespace

bool IsSOSISeparator(const API_Coord3D& c) {
    return c.x == SOSISeparatorValue && c.y == SOSISeparatorValue && c.z == SOSISeparatorValue;
}

SOSIFileCls::SOSIFileCls() { SOSIFileCls::Clear(); }

SOSIFileCls::~SOSIFileCls() { SOSIFileCls::Clear(); }

void SOSIFileCls::ResetContourExtent() {
    for (int k = 0; k < 3; ++k) {
        contourMin[k] = ExtentLiteral;
        contourMax[k] = -ExtentLiteral;
    }
}

void SOSIFileCls::Clear() {
    BaseFileCls::Clear();
    importMode = objectLibPartIndex = locatorLibPartIndex = -1;
    scan.line = scan.lastLine = 0;
    tolerance = 0.0;
    files.Clear();
    showAllTypes = skipLowHeights = 0;
    optionBits = 0;
    contourCount = 0;
    altitudeFilter = 0;
    equidistance = 0.0;
    ResetContourExtent();
    firstAltitude = finalAltitude = 0.0;
    lineValues[0] = lineValues[1] = lineValues[2] = 0;
    lineFilterDistance = 0.1;
    dialogSwitch = 0;
    data.Clear();
    types.Clear();
    scan.type.Clear();
    scan.keyword.Clear();
    scan.id.Clear();
    scan.kind = SOSIKindNone;
    buildError = 0;
    namesFromSettings = 1;
    addSwitch = 0;
    ResetObjectScratch();
    locatorDatabases.Clear();
}

void SOSIFileCls::ResetObjectScratch() {
    scratch.height = 0.0;
    scratch.coordinates.Clear();
    scratch.texts.Clear();
    scratch.refs.Clear();
    scratch.radius = 0.0;
}

void SOSIFileCls::ResetForReread() {
    data.Clear();
    ResetObjectScratch();
    contourCount = 0;
    ResetContourExtent();
}

// ---- reading -----------------------------------------------------------------------------------------------------

bool SOSIFileCls::ReadSOSIFiles() {
    ResetBounds();
    contourCount = 0;
    report = ReadReport();
    if (importAgain != 0) return true;  // the lines and objects of the last read serve again
    const int32_t fileCount = files.GetCount();
    progress->Begin(QV_String("Lodravix"), int16_t(std::min<int32_t>(2 * fileCount, 0x7FFF)));
    for (int32_t f = 0; f < fileCount; ++f) {
        const bool read = ReadFileLines(files[f]);
        if (read) ScanSOSILines(files[f]);
        if (!read || !CheckScannedFile(files[f])) {
            progress->End();
            CloseReaderFile();
            // A file that could not be read at all, rather than one refused for what it holds.
            if (!report.HasIssues()) report.error = ErrReadingFile;
            return false;
        }
    }
    progress->End();
    return true;
}

bool SOSIFileCls::ReadFileLines(SOSIFileData& fileData) {
    fileData.lines.Clear();
    fileData.objects.Clear();
    path = fileData.path;
    if (OpenReaderFile() != 0 || GetReaderFileLength() != 0 || fileLength > MaxSOSIFileBytes ||
        SetReaderFilePosition(0) != 0) {
        CloseReaderFile();
        return false;
    }
    progress->Phase(GeneralText(TextReading), fileLength);
    std::vector<uint8_t> bytes(fileLength);
    uint32_t got = 0;
    while (got < fileLength) {
        uint32_t n = 0;
        if (ReadReaderFileBytes(bytes.data() + got, std::min(ReadBlockBytes, fileLength - got), n) != 0 || n == 0)
            break;
        got += n;
        progress->Step(got);
    }
    CloseReaderFile();
    if (got < fileLength) return false;

    // One encoding for the whole file: the mark (not part of line 1), else what the content shows, else the
    // declared character set, else the system code page.
    std::vector<GS::UniChar> wide;
    bool narrow = true;
    int32_t encoding = Encoding_System;
    const SOSIDecoding decoded = DecodeSOSIBytes(bytes, wide, narrow, encoding);
    if (decoded == SOSIDecoding::NotText) report.Note(ReadIssue::NotText);
    if (decoded != SOSIDecoding::Done) return false;
    fileData.encoding = encoding;
    // Text holds next to no control characters; a file that is full of them is something else.
    auto control = [](GS::UniChar c) {
        return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r' && c != u'\f' && c != 0x1A) || c == 0x7F ||
            c == 0xFFFD;
    };
    size_t controls = 0, units = 0;
    if (narrow) {
        for (uint8_t c : bytes) controls += control(c) ? 1 : 0;
        units = bytes.size();
        fileData.lines.Take(std::move(bytes));
    } else {
        for (GS::UniChar c : wide) controls += control(c) ? 1 : 0;
        units = wide.size();
        fileData.lines.Take(std::move(wide));
    }
    if (fileData.lines.IsEmpty()) {
        report.Note(ReadIssue::Empty);
        return false;
    }
    if (controls * 100 > units) {
        fileData.lines.Clear();
        report.Note(ReadIssue::NotText);
        return false;
    }
    return true;
}

void SOSIFileCls::ScanSOSILines(SOSIFileData& fileData) {
    QV_String count;
    count.FromLong(fileData.lines.GetCount());
    progress->Phase(GeneralText(TextInterpretation) + " " + count, uint32_t(fileData.lines.GetCount()));
    fileData.objects.Clear();
    fileData.headerFound = fileData.unitGiven = fileData.endLine = 0;
    fileData.coordinateKeywords = 0;
    scan.line = 0;
    bool origin = false, unit = false, minimum = false, maximum = false, header = false;
    const int32_t n = fileData.lines.GetCount();
    std::unordered_map<std::u16string, int32_t> typeIndex;
    for (int32_t t = 0; t < types.GetCount(); ++t)
        typeIndex.emplace(
            std::u16string(types[t].name.GetBuffer() ? types[t].name.GetBuffer() : u"", types[t].name.GetLength()), t);
    while (scan.line < n) {
        progress->Step(uint32_t(scan.line));
        if (!header && IsHeaderLine(fileData)) {
            header = true;
            fileData.headerFound = 1;
            while (scan.line < n && !IsGroupLine(fileData)) {
                if (!origin && ParseOrigoLine(fileData))
                    origin = true;
                else if (!unit && ParseUnitLine(fileData, true)) {
                    fileData.unitGiven = 1;
                    unit = true;
                } else if (!minimum && ParseMinLine(fileData))
                    minimum = true;
                else if (!maximum && ParseMaxLine(fileData))
                    maximum = true;
                else
                    ++scan.line;
            }
            continue;
        }
        if (!IsGroupLine(fileData)) {
            ++scan.line;
            continue;
        }
        // The group line closes the object before it; the end line (and the header) is no object.
        if (!fileData.objects.IsEmpty()) {
            SOSIPrim& last = fileData.objects[fileData.objects.GetCount() - 1];
            last.lastLine = scan.line - 1;
        }
        if (scan.kind == SOSIKindNone) {
            if (scan.keyword == QV_String(".SLUTT")) fileData.endLine = 1;
            ++scan.line;
            continue;
        }
        const int32_t groupLine = scan.line;
        int32_t next = groupLine + 1;
        {
            const QV_String keyword = scan.keyword, id = scan.id;
            const int16_t kind = scan.kind;
            for (; next < n && !IsGroupLine(fileData, next); ++next)
                if (fileData.lines[next].GetAt(1) == u'.' && SOSICoordinateLayout(fileData.lines[next]) != 0)
                    ++fileData.coordinateKeywords;
            scan.keyword = keyword;
            scan.id = id;
            scan.kind = kind;
        }
        FindObjectType(fileData, groupLine, next - 1);
        const std::u16string key(scan.type.GetBuffer() ? scan.type.GetBuffer() : u"", scan.type.GetLength());
        if (typeIndex.find(key) == typeIndex.end()) {
            SOSIOType row;
            row.name = scan.type;
            row.pen = int16_t(GlobalSettings.GetInt(0, 12));
            row.secondPen = int16_t(GlobalSettings.GetInt(0, 13));
            row.terrainFeature = IsTerrainFeatureType(scan.type) ? 1 : 0;
            typeIndex.emplace(key, types.GetCount());
            InsertTypeRow(types, row, -1);
        }
        SOSIPrim prim;
        prim.id = scan.id;
        prim.kind = scan.kind;
        prim.type = scan.type;
        prim.firstLine = groupLine;
        // Without a following group line the object still runs to the file's end.
        prim.lastLine = n - 1;
        fileData.objects.Insert(prim);
        scan.line = next;
    }
    if (!types.IsEmpty())
        types.Sort([](const SOSIOType& a, const SOSIOType& b, void*) { return a.name.Compare(b.name) < 0; });
}

namespace {

// A file that stops without its end line may have been cut inside its last object. That shows when the last line
// is a partial record: a keyword without its value or coordinates, an open reference group, or numbers that make
// no whole tuple of the layout in force.
bool LastObjectCut(const SOSIFileData& fileData) {
    const SOSIPrim& last = fileData.objects[fileData.objects.GetCount() - 1];
    const int32_t lastLine = fileData.lines.GetCount() - 1;
    if (last.firstLine >= lastLine) return true;
    const SOSILine line = fileData.lines[lastLine];
    SOSITokens t(line);
    if (line.GetAt(0) == u'.') return t.Count() < 2;
    if (line.GetAt(0) == u'(') {
        for (uint32_t k = 0; k < line.GetLength(); ++k)
            if (line.GetAt(k) == u')') return false;
        return true;
    }
    int32_t layout = 1;
    for (int32_t l = lastLine - 1; l > last.firstLine; --l)
        if (const int32_t found = SOSICoordinateLayout(fileData.lines[l])) {
            layout = found;
            break;
        }
    int32_t numbers = 0;
    double v = 0.0;
    while (numbers < t.Count() && t.Number(numbers, v)) ++numbers;
    return numbers > 0 && numbers % (layout == 1 ? 2 : 3) != 0;
}

}  // namespace

bool SOSIFileCls::CheckScannedFile(SOSIFileData& fileData) {
    if (fileData.objects.IsEmpty()) {
        report.Note(ReadIssue::Empty);
        return false;
    }
    if (fileData.coordinateKeywords == 0) {
        report.Note(ReadIssue::NoCoordinates);
        return false;
    }
    // Without its header a file gives neither unit nor origin: every coordinate would be off by its unit.
    if (fileData.headerFound == 0) {
        report.Note(ReadIssue::NoUnit);
        return false;
    }
    if (fileData.endLine == 0 && LastObjectCut(fileData)) {
        report.Note(ReadIssue::EndedEarly);
        fileData.objects.Remove(fileData.objects.GetCount() - 1);
    }
    return true;
}

// ---- keyword tests -----------------------------------------------------------------------------------------------

bool SOSIFileCls::IsHeaderLine(const SOSIFileData& fileData) {
    SOSITokens t(fileData.lines[scan.line]);
    if (t.Count() < 1 || !t.Is(0, ".HODE")) return false;
    ++scan.line;
    return true;
}

namespace {

bool ParsePair(SOSIFileCls& reader, SOSIFileData& fileData, const char* keyword, double& east, double& north) {
    SOSITokens t(fileData.lines[reader.scan.line]);
    if (t.Count() < 3 || !t.StartsWith(0, keyword)) return false;
    const bool northFirst = t.Length(0) > std::strlen(keyword) && t.At(0, uint32_t(std::strlen(keyword))) == u'N';
    const double a = SOSINumber(t.Text(1)), b = SOSINumber(t.Text(2));
    north = northFirst ? a : b;
    east = northFirst ? b : a;
    ++reader.scan.line;
    return true;
}

}  // namespace

bool SOSIFileCls::ParseOrigoLine(SOSIFileData& f) {
    return ParsePair(*this, f, "...ORIGO-", f.originEast, f.originNorth);
}
bool SOSIFileCls::ParseMinLine(SOSIFileData& f) { return ParsePair(*this, f, "...MIN-", f.minEast, f.minNorth); }
bool SOSIFileCls::ParseMaxLine(SOSIFileData& f) { return ParsePair(*this, f, "...MAX-", f.maxEast, f.maxNorth); }

bool SOSIFileCls::ParseUnitLine(SOSIFileData& fileData, bool inHeader) {
    SOSITokens t(fileData.lines[scan.line]);
    if (t.Count() < 2 || !t.Is(0, "...ENHET")) return false;
    (inHeader ? fileData.headerUnit : fileData.objectUnit) = SOSINumber(t.Text(1));
    ++scan.line;
    return true;
}

bool SOSIFileCls::IsGroupLine(const SOSIFileData& fileData) { return IsGroupLine(fileData, scan.line); }

bool SOSIFileCls::IsGroupLine(const SOSIFileData& fileData, int32_t line) {
    scan.id.Clear();
    scan.keyword.Clear();
    scan.kind = SOSIKindNone;
    const SOSILine text = fileData.lines[line];
    // Cheap rejection of the many coordinate and record lines.
    if (text.GetLength() < 2 || text.GetAt(0) != u'.' || text.GetAt(1) == u'.') return false;
    SOSITokens t(text);
    if (t.Count() < 1 || t.Length(0) < 2) return false;
    scan.keyword = t.Text(0);
    if (t.Count() > 1) {
        scan.id = t.Text(1, 0);
        if (t.EndsWith(1, ":")) t.Text(1).Left(scan.id, t.Length(1) - 1);
    }
    static const char* const kinds[] = {"PUNKT",  "SVERM",   "LINJE",  "KURVE", "BUE",  "BUEP",
                                        "SIRKEL", "SIRKELP", "BEZIER", "TEKST", "FLATE"};
    for (int16_t k = 0; k < int16_t(sizeof(kinds) / sizeof(kinds[0])); ++k)
        if (t.EndsWith(0, kinds[k])) {
            scan.kind = k;
            break;
        }
    return true;
}

void SOSIFileCls::FindObjectType(const SOSIFileData& fileData, int32_t groupLine, int32_t last) {
    scan.type.Clear();
    for (int32_t l = groupLine + 1; l <= last && l < fileData.lines.GetCount(); ++l) {
        const SOSILine text = fileData.lines[l];
        if (text.GetLength() < 9 || text.GetAt(2) != u'O') continue;
        SOSITokens t(text);
        if (t.Count() == 2 && t.Is(0, "..OBJTYPE")) {
            scan.type = t.Text(1);
            return;
        }
    }
}

bool SOSIFileCls::IsTerrainFeatureType(const QV_String& name) {
    auto begins = [&](const char* s) { return name.StartsWithAt(QV_String(s), 0); };
    auto ends = [&](const char* s) { return name.EndsWith(QV_String(s)); };
    auto is = [&](const char* s) { return name == QV_String(s); };
    return (begins("H") && ends("ydekurve")) || (begins("Veggr") && ends("pen")) || is("VegkantFiktiv") ||
        (begins("VegkantAvkj") && ends("rsel")) || is("Vegdekkekant") || is("Vegrekkverk") || is("TerrenglinjeVeg") ||
        is("Forsenkningskurve") || is("Kystkontur") || is("KystkonturTekniskeAnlegg") ||
        (begins("Innsj") && ends("kant")) || is("Forsenkningspunkt") || is("Toppunkt") || is("Gangveikant") ||
        is("GangSykkelvegkant") || is("Terrenglinje") || is("ElvBekk");
}
