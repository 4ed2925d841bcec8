#include "sosi/SOSIFileCls.hpp"

#include "foundation/Encoding.hpp"
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
constexpr int32_t ErrFileRead = 8;
constexpr int32_t TextReading = 166;
constexpr int32_t TextInterpretation = 167;

QV_String GeneralText(int32_t index) {
    QV_String text;
    GetResString(text, GeneralTableBase + LanguageIndex, index);
    return text;
}

// Bytes of the (single-byte) system code page into `text`, through a table of its 256 characters.
bool DecodeSingleByte(const uint8_t* bytes, uint32_t count, QV_String& text) {
    GS::UniChar table[256];
    for (int b = 0; b < 256; ++b)
        table[b] = b < 0x80 ? GS::UniChar(b) : QV_String::WideFromAnsiChar(char(b), Encoding_System);
    std::vector<GS::UniChar> units(count);
    for (uint32_t i = 0; i < count; ++i) units[i] = table[bytes[i]];
    text.Clear();
    return count == 0 || text.AppendWide(units.data(), count);
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
    currentLine = lastLine = 0;
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
    layers.Clear();
    types.Clear();
    currentType.Clear();
    currentKeyword.Clear();
    currentId.Clear();
    currentKind = SOSIKindNone;
    defaultPen = defaultSecond = currentLayer = currentPen = currentSecond = 0;
    lineSwitch = buildError = 0;
    std::memset(static_cast<void*>(&element), 0, sizeof(element));
    namesFromSettings = 1;
    addSwitch = 0;
    ResetObjectScratch();
    locatorDatabases.Clear();
}

void SOSIFileCls::ResetObjectScratch() {
    currentHeight = 0.0;
    coordinates.Clear();
    texts.Clear();
    refs.Clear();
    currentRadius = 0.0;
}

void SOSIFileCls::ResetForReread() {
    data.Clear();
    layers.Clear();
    ResetObjectScratch();
    contourCount = 0;
    ResetContourExtent();
}

// ---- reading -----------------------------------------------------------------------------------------------------

bool SOSIFileCls::ReadSOSIFiles(bool quiet) {
    ResetBounds();
    contourCount = 0;
    if (importAgain != 0) return true;  // the lines and objects of the last read serve again
    const int32_t fileCount = files.GetCount();
    progress->Begin(QV_String("Lodravix"), int16_t(std::min<int32_t>(2 * fileCount, 0x7FFF)));
    for (int32_t f = 0; f < fileCount; ++f) {
        if (!ReadFileLines(files[f])) {
            progress->End();
            CloseReaderFile();
            if (!quiet) ShowErrorMessage(ErrFileRead, 2);
            return false;
        }
        ScanSOSILines(files[f]);
    }
    progress->End();
    return true;
}

bool SOSIFileCls::ReadFileLines(SOSIFileData& fileData) {
    fileData.lines.Clear();
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
    // system code page.
    int32_t encoding = 0;
    const uint32_t bom = DetectBom(bytes.data(), got, encoding);
    QV_String text;
    if (got == 0) {
        encoding = Encoding_System;
    } else if (bom > 0 && encoding >= Encoding_System) {
        // A count of 0 would mean "up to a NUL" here: a file of just the mark is empty.
        if (got > bom && !text.SetBytes(bytes.data() + bom, got - bom, encoding)) return false;
    } else if (std::memchr(bytes.data(), 0, got) == nullptr && !IsValidUtf8(bytes.data() + bom, got - bom, false)) {
        // Neither UTF-16/32 (no zero bytes) nor UTF-8: the system code page, one byte one character.
        encoding = Encoding_System;
        if (!DecodeSingleByte(bytes.data() + bom, got - bom, text)) return false;
    } else {
        encoding = text.SetDetectEncoding(bytes.data() + bom, got - bom, true, Encoding_System);
        if (encoding == 0) encoding = Encoding_System;
    }
    fileData.encoding = encoding;
    std::vector<uint8_t>().swap(bytes);

    // Line ranges first, so the line list is sized once.
    struct Range {
        uint32_t start, end;
    };
    std::vector<Range> ranges;
    const GS::UniChar* p = text.GetBuffer();
    const uint32_t n = p != nullptr ? text.GetLength() : 0;
    uint32_t i = 0;
    while (i < n) {
        uint32_t start = i;
        while (i < n && p[i] != u'\n' && p[i] != u'\r') ++i;
        uint32_t end = i;
        if (i < n) {
            if (p[i] == u'\r' && i + 1 < n && p[i + 1] == u'\n') ++i;
            ++i;
        }
        while (start < end && (p[start] == u' ' || p[start] == 0)) ++start;
        while (end > start && (p[end - 1] == u' ' || p[end - 1] == 0)) --end;
        if (end - start >= 2) ranges.push_back(Range{start, end});
    }
    if (ranges.size() > size_t(INT32_MAX) || !fileData.lines.SetSize(int32_t(ranges.size()))) return false;
    for (size_t k = 0; k < ranges.size(); ++k) {
        QV_String& line = fileData.lines[int32_t(k)];
        if (!line.AppendWide(p + ranges[k].start, ranges[k].end - ranges[k].start)) return false;
        GS::UniChar* units = const_cast<GS::UniChar*>(line.GetBuffer());
        for (uint32_t u = 0; u < line.GetLength(); ++u)  // a NUL never ends a token early
            if (units[u] == 0) units[u] = u' ';
    }
    return true;
}

void SOSIFileCls::ScanSOSILines(SOSIFileData& fileData) {
    QV_String count;
    count.FromLong(fileData.lines.GetCount());
    progress->Phase(GeneralText(TextInterpretation) + " " + count, uint32_t(fileData.lines.GetCount()));
    fileData.objects.Clear();
    currentLine = 0;
    bool origin = false, unit = false, minimum = false, maximum = false, header = false;
    const int32_t n = fileData.lines.GetCount();
    std::unordered_map<std::u16string, int32_t> typeIndex;
    for (int32_t t = 0; t < types.GetCount(); ++t)
        typeIndex.emplace(
            std::u16string(types[t].name.GetBuffer() ? types[t].name.GetBuffer() : u"", types[t].name.GetLength()), t);
    while (currentLine < n) {
        progress->Step(uint32_t(currentLine));
        if (!header && IsHeaderLine(fileData)) {
            header = true;
            while (currentLine < n && !IsGroupLine(fileData)) {
                if (!origin && ParseOrigoLine(fileData))
                    origin = true;
                else if (!unit && ParseUnitLine(fileData, true))
                    unit = true;
                else if (!minimum && ParseMinLine(fileData))
                    minimum = true;
                else if (!maximum && ParseMaxLine(fileData))
                    maximum = true;
                else
                    ++currentLine;
            }
            continue;
        }
        if (!IsGroupLine(fileData)) {
            ++currentLine;
            continue;
        }
        // The group line closes the object before it; the end line (and the header) is no object.
        if (!fileData.objects.IsEmpty()) {
            SOSIPrim& last = fileData.objects[fileData.objects.GetCount() - 1];
            last.lastLine = currentLine - 1;
        }
        if (currentKind == SOSIKindNone) {
            ++currentLine;
            continue;
        }
        const int32_t groupLine = currentLine;
        int32_t next = groupLine + 1;
        {
            const QV_String keyword = currentKeyword, id = currentId;
            const int16_t kind = currentKind;
            while (next < n && !IsGroupLine(fileData, next)) ++next;
            currentKeyword = keyword;
            currentId = id;
            currentKind = kind;
        }
        FindObjectType(fileData, groupLine, next - 1);
        const std::u16string key(currentType.GetBuffer() ? currentType.GetBuffer() : u"", currentType.GetLength());
        if (typeIndex.find(key) == typeIndex.end()) {
            SOSIOType row;
            row.name = currentType;
            row.pen = int16_t(GlobalSettings.GetInt(0, 12));
            row.secondPen = int16_t(GlobalSettings.GetInt(0, 13));
            row.terrainFeature = IsTerrainFeatureType(currentType) ? 1 : 0;
            typeIndex.emplace(key, types.GetCount());
            InsertTypeRow(types, row, -1);
        }
        SOSIPrim prim;
        prim.keyword = currentKeyword;
        prim.id = currentId;
        prim.kind = currentKind;
        prim.type = currentType;
        prim.firstLine = groupLine;
        // Without a following group line the object still runs to the file's end.
        prim.lastLine = n - 1;
        fileData.objects.Insert(prim);
        currentLine = next;
    }
    if (!types.IsEmpty())
        types.Sort([](const SOSIOType& a, const SOSIOType& b, void*) { return a.name.Compare(b.name) < 0; });
}

// ---- keyword tests -----------------------------------------------------------------------------------------------

bool SOSIFileCls::IsHeaderLine(const SOSIFileData& fileData) {
    SOSITokens t(fileData.lines[currentLine]);
    if (t.Count() < 1 || !t.Is(0, ".HODE")) return false;
    ++currentLine;
    return true;
}

namespace {

bool ParsePair(SOSIFileCls& reader, SOSIFileData& fileData, const char* keyword, double& east, double& north) {
    SOSITokens t(fileData.lines[reader.currentLine]);
    if (t.Count() < 3 || !t.StartsWith(0, keyword)) return false;
    const bool northFirst = t.Length(0) > std::strlen(keyword) && t.At(0, uint32_t(std::strlen(keyword))) == u'N';
    const double a = SOSINumber(t.Text(1)), b = SOSINumber(t.Text(2));
    north = northFirst ? a : b;
    east = northFirst ? b : a;
    ++reader.currentLine;
    return true;
}

}  // namespace

bool SOSIFileCls::ParseOrigoLine(SOSIFileData& f) {
    return ParsePair(*this, f, "...ORIGO-", f.originEast, f.originNorth);
}
bool SOSIFileCls::ParseMinLine(SOSIFileData& f) { return ParsePair(*this, f, "...MIN-", f.minEast, f.minNorth); }
bool SOSIFileCls::ParseMaxLine(SOSIFileData& f) { return ParsePair(*this, f, "...MAX-", f.maxEast, f.maxNorth); }

bool SOSIFileCls::ParseUnitLine(SOSIFileData& fileData, bool inHeader) {
    SOSITokens t(fileData.lines[currentLine]);
    if (t.Count() < 2 || !t.Is(0, "...ENHET")) return false;
    (inHeader ? fileData.headerUnit : fileData.objectUnit) = SOSINumber(t.Text(1));
    ++currentLine;
    return true;
}

bool SOSIFileCls::IsGroupLine(const SOSIFileData& fileData) { return IsGroupLine(fileData, currentLine); }

bool SOSIFileCls::IsGroupLine(const SOSIFileData& fileData, int32_t line) {
    currentId.Clear();
    currentKeyword.Clear();
    currentKind = SOSIKindNone;
    const QV_String& text = fileData.lines[line];
    // Cheap rejection of the many coordinate and record lines.
    if (text.GetLength() < 2 || text.GetAt(0) != u'.' || text.GetAt(1) == u'.') return false;
    SOSITokens t(text);
    if (t.Count() < 1 || t.Length(0) < 2) return false;
    currentKeyword = t.Text(0);
    if (t.Count() > 1) {
        currentId = t.Text(1, 0);
        if (t.EndsWith(1, ":")) t.Text(1).Left(currentId, t.Length(1) - 1);
    }
    static const char* const kinds[] = {"PUNKT",  "SVERM",   "LINJE",  "KURVE", "BUE",  "BUEP",
                                        "SIRKEL", "SIRKELP", "BEZIER", "TEKST", "FLATE"};
    for (int16_t k = 0; k < int16_t(sizeof(kinds) / sizeof(kinds[0])); ++k)
        if (t.EndsWith(0, kinds[k])) {
            currentKind = k;
            break;
        }
    return true;
}

void SOSIFileCls::FindObjectType(const SOSIFileData& fileData, int32_t groupLine, int32_t last) {
    currentType.Clear();
    for (int32_t l = groupLine + 1; l <= last && l < fileData.lines.GetCount(); ++l) {
        const QV_String& text = fileData.lines[l];
        if (text.GetLength() < 9 || text.GetAt(2) != u'O') continue;
        SOSITokens t(text);
        if (t.Count() == 2 && t.Is(0, "..OBJTYPE")) {
            currentType = t.Text(1);
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
