#include "sosi/SOSIFileScan.hpp"

#include "fileio/BaseFileCls.hpp"

#include "foundation/Encoding.hpp"
#include "foundation/ErrorCode.hpp"
#include "sosi/SOSICharset.hpp"
#include "foundation/Language.hpp"
#include "sosi/SOSITokens.hpp"
#include "sosi/SOSIValueBounds.hpp"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

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

// Whether the text's last line ends with a line break: blanks, NULs and an end-of-file mark after it aside.
template <typename Unit>
uint8_t EndsWithBreak(const std::vector<Unit>& text) {
    size_t n = text.size();
    while (n > 0 && (text[n - 1] == Unit(' ') || text[n - 1] == 0 || text[n - 1] == Unit(0x1A))) --n;
    return n == 0 || text[n - 1] == Unit('\n') || text[n - 1] == Unit('\r') ? 1 : 0;
}

}  // namespace

// ---- reading -----------------------------------------------------------------------------------------------------

bool SOSIFileScan::Read(ReaderProgress& progress, const MiscSettings& misc) {
    report = ReadReport();
    stopped = false;
    const int32_t fileCount = files.GetCount();
    progress.Begin(QV_String("Lodravix"), int16_t(std::min<int32_t>(2 * fileCount, 0x7FFF)));
    for (int32_t f = 0; f < fileCount; ++f) {
        const bool read = ReadFileLines(files[f], progress);
        if (read) ScanLines(files[f], progress, misc);
        if (stopped) {
            // The user's stop ends the read as a cancel does: nothing to tell.
            progress.End();
            report = ReadReport();
            return false;
        }
        if (!read || !CheckScannedFile(files[f])) {
            progress.End();
            // A file that could not be read at all, rather than one refused for what it holds.
            if (!report.HasIssues()) report.error = ErrReadingFile;
            return false;
        }
    }
    progress.End();
    return true;
}

bool SOSIFileScan::ReadFileLines(SOSIFileData& fileData, ReaderProgress& progress) {
    fileData.lines.Clear();
    fileData.objects.Clear();
    BaseFileCls io;
    io.path = fileData.path;
    const bool measured = io.OpenReaderFile() == 0 && io.GetReaderFileLength() == 0;
    if (!measured || io.fileLength > MaxSOSIFileBytes || io.SetReaderFilePosition(0) != 0) {
        // Refused by its size, before anything is read or allocated for it, or for why it could not be opened.
        if (measured && io.fileLength > MaxSOSIFileBytes) io.tooLarge = true;
        NoteOpenFailure(io, report);
        if (report.HasIssues()) report.error = ErrReadingFile;
        io.CloseReaderFile();
        return false;
    }
    const uint32_t fileLength = io.fileLength;
    progress.Phase(GeneralText(TextReading), fileLength);
    std::vector<uint8_t> bytes(fileLength);
    uint32_t got = 0;
    while (got < fileLength) {
        uint32_t n = 0;
        if (io.ReadReaderFileBytes(bytes.data() + got, std::min(ReadBlockBytes, fileLength - got), n) != 0 || n == 0)
            break;
        got += n;
        if (progress.Step(got)) {
            stopped = true;
            break;
        }
    }
    io.CloseReaderFile();
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
    fileData.endsWithBreak = narrow ? EndsWithBreak(bytes) : EndsWithBreak(wide);
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

void SOSIFileScan::ScanLines(SOSIFileData& fileData, ReaderProgress& progress, const MiscSettings& misc) {
    QV_String count;
    count.FromLong(fileData.lines.GetCount());
    progress.Phase(GeneralText(TextInterpretation) + " " + count, uint32_t(fileData.lines.GetCount()));
    fileData.objects.Clear();
    fileData.headerFound = fileData.unitGiven = fileData.endLine = 0;
    fileData.coordinateKeywords = 0;
    cursor.line = 0;
    bool origin = false, unit = false, minimum = false, maximum = false, header = false;
    const int32_t n = fileData.lines.GetCount();
    std::unordered_map<std::u16string, int32_t> typeIndex;
    for (int32_t t = 0; t < types.GetCount(); ++t)
        typeIndex.emplace(
            std::u16string(types[t].name.GetBuffer() ? types[t].name.GetBuffer() : u"", types[t].name.GetLength()), t);
    while (cursor.line < n) {
        if (progress.Step(uint32_t(cursor.line))) {
            stopped = true;
            return;
        }
        if (!header && IsHeaderLine(fileData)) {
            header = true;
            fileData.headerFound = 1;
            while (cursor.line < n && !IsGroupLine(fileData, cursor.line)) {
                if (!origin && ParsePair(fileData, "...ORIGO-", fileData.originEast, fileData.originNorth))
                    origin = true;
                else if (!unit && ParseUnitLine(fileData)) {
                    fileData.unitGiven = 1;
                    unit = true;
                } else if (!minimum && ParsePair(fileData, "...MIN-", fileData.minEast, fileData.minNorth))
                    minimum = true;
                else if (!maximum && ParsePair(fileData, "...MAX-", fileData.maxEast, fileData.maxNorth))
                    maximum = true;
                else
                    ++cursor.line;
            }
            continue;
        }
        if (!IsGroupLine(fileData, cursor.line)) {
            ++cursor.line;
            continue;
        }
        // The group line closes the object before it; the end line (and the header) is no object.
        if (!fileData.objects.IsEmpty()) {
            SOSIPrim& last = fileData.objects[fileData.objects.GetCount() - 1];
            last.lastLine = cursor.line - 1;
        }
        if (cursor.kind == SOSIKindNone) {
            if (cursor.keyword == QV_String(".SLUTT")) fileData.endLine = 1;
            ++cursor.line;
            continue;
        }
        const int32_t groupLine = cursor.line;
        int32_t next = groupLine + 1;
        {
            const QV_String keyword = cursor.keyword, id = cursor.id;
            const int16_t kind = cursor.kind;
            for (; next < n && !IsGroupLine(fileData, next); ++next)
                if (fileData.lines[next].GetAt(1) == u'.' && SOSICoordinateLayout(fileData.lines[next]) != 0)
                    ++fileData.coordinateKeywords;
            cursor.keyword = keyword;
            cursor.id = id;
            cursor.kind = kind;
        }
        const QV_String type = FindObjectType(fileData, groupLine, next - 1);
        const std::u16string key(type.GetBuffer() ? type.GetBuffer() : u"", type.GetLength());
        if (typeIndex.find(key) == typeIndex.end()) {
            SOSIOType row;
            row.name = type;
            row.pen = misc.sosiChoice;
            row.secondPen = misc.sosiChoice2;
            row.terrainFeature = IsTerrainFeatureType(type) ? 1 : 0;
            typeIndex.emplace(key, types.GetCount());
            InsertTypeRow(types, row, -1);
        }
        SOSIPrim prim;
        prim.id = cursor.id;
        prim.kind = cursor.kind;
        prim.type = type;
        prim.firstLine = groupLine;
        // Without a following group line the object still runs to the file's end.
        prim.lastLine = n - 1;
        fileData.objects.Insert(prim);
        cursor.line = next;
    }
    if (!types.IsEmpty())
        types.Sort([](const SOSIOType& a, const SOSIOType& b, void*) { return a.name.Compare(b.name) < 0; });
}

namespace {

// The digits of a number token.
uint32_t Digits(const SOSITokens& t, int32_t i) {
    uint32_t n = 0;
    for (uint32_t k = 0; k < t.Length(i); ++k) n += t.At(i, k) >= u'0' && t.At(i, k) <= u'9' ? 1 : 0;
    return n;
}

// The numbers at the start of a line.
int32_t LeadingNumbers(const SOSITokens& t) {
    int32_t numbers = 0;
    double v = 0.0;
    while (numbers < t.Count() && t.Number(numbers, v)) ++numbers;
    return numbers;
}

// A last coordinate line without its line break may have lost digits: 23500 2350 cut to 23500 23 is a whole
// tuple, a point kilometres away. It is taken as cut when its north or east has fewer digits than those of the
// coordinate line before it (heights vary in length, a survey's plan coordinates do not from one line to the
// next). The search looks back a bounded number of lines.
bool LostDigits(const SOSIFileData& fileData, const SOSITokens& t) {
    constexpr int32_t LookBack = 10000;
    const int32_t lastLine = fileData.lines.GetCount() - 1;
    for (int32_t l = lastLine - 1; l >= 0 && l >= lastLine - LookBack; --l) {
        const SOSILine before = fileData.lines[l];
        if (before.GetAt(0) == u'.') continue;
        const SOSITokens b(before);
        if (LeadingNumbers(b) < 2) continue;
        return Digits(t, 0) < Digits(b, 0) || Digits(t, 1) < Digits(b, 1);
    }
    return false;
}

// A file that stops without its end line may have been cut inside its last object. That shows when the last line
// is a partial record: a keyword without its value or coordinates, an open reference group, numbers that make no
// whole tuple of the layout in force, or (without its line break) numbers shorter than those before them.
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
    const int32_t numbers = LeadingNumbers(t);
    if (numbers > 0 && numbers % (layout == 1 ? 2 : 3) != 0) return true;
    return numbers >= 2 && fileData.endsWithBreak == 0 && LostDigits(fileData, t);
}

}  // namespace

bool SOSIFileScan::CheckScannedFile(SOSIFileData& fileData) {
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
    // A unit no survey uses would stack every point on the origin, mirror them or spread them past any map.
    if (!SOSIUnitHeld(fileData.headerUnit)) {
        report.Note(ReadIssue::BadUnit);
        return false;
    }
    if (fileData.endLine == 0 && LastObjectCut(fileData)) {
        report.Note(ReadIssue::EndedEarly);
        fileData.objects.Remove(fileData.objects.GetCount() - 1);
    }
    return true;
}

// ---- keyword tests -----------------------------------------------------------------------------------------------

bool SOSIFileScan::IsHeaderLine(const SOSIFileData& fileData) {
    SOSITokens t(fileData.lines[cursor.line]);
    if (t.Count() < 1 || !t.Is(0, ".HODE")) return false;
    ++cursor.line;
    return true;
}

bool SOSIFileScan::ParsePair(const SOSIFileData& fileData, const char* keyword, double& east, double& north) {
    SOSITokens t(fileData.lines[cursor.line]);
    if (t.Count() < 3 || !t.StartsWith(0, keyword)) return false;
    const bool northFirst = t.Length(0) > std::strlen(keyword) && t.At(0, uint32_t(std::strlen(keyword))) == u'N';
    const double a = SOSINumber(t.Text(1)), b = SOSINumber(t.Text(2));
    north = northFirst ? a : b;
    east = northFirst ? b : a;
    ++cursor.line;
    return true;
}

bool SOSIFileScan::ParseUnitLine(SOSIFileData& fileData) {
    SOSITokens t(fileData.lines[cursor.line]);
    if (t.Count() < 2 || !t.Is(0, "...ENHET")) return false;
    fileData.headerUnit = SOSINumber(t.Text(1));
    ++cursor.line;
    return true;
}

bool SOSIFileScan::IsGroupLine(const SOSIFileData& fileData, int32_t line) {
    cursor.id.Clear();
    cursor.keyword.Clear();
    cursor.kind = SOSIKindNone;
    const SOSILine text = fileData.lines[line];
    // Cheap rejection of the many coordinate and record lines.
    if (text.GetLength() < 2 || text.GetAt(0) != u'.' || text.GetAt(1) == u'.') return false;
    SOSITokens t(text);
    if (t.Count() < 1 || t.Length(0) < 2) return false;
    cursor.keyword = t.Text(0);
    if (t.Count() > 1) {
        cursor.id = t.Text(1, 0);
        if (t.EndsWith(1, ":")) t.Text(1).Left(cursor.id, t.Length(1) - 1);
    }
    static const char* const kinds[] = {"PUNKT",  "SVERM",   "LINJE",  "KURVE", "BUE",  "BUEP",
                                        "SIRKEL", "SIRKELP", "BEZIER", "TEKST", "FLATE"};
    for (int16_t k = 0; k < int16_t(sizeof(kinds) / sizeof(kinds[0])); ++k)
        if (t.EndsWith(0, kinds[k])) {
            cursor.kind = k;
            break;
        }
    return true;
}

QV_String SOSIFileScan::FindObjectType(const SOSIFileData& fileData, int32_t groupLine, int32_t last) const {
    for (int32_t l = groupLine + 1; l <= last && l < fileData.lines.GetCount(); ++l) {
        const SOSILine text = fileData.lines[l];
        if (text.GetLength() < 9 || text.GetAt(2) != u'O') continue;
        SOSITokens t(text);
        if (t.Count() == 2 && t.Is(0, "..OBJTYPE")) return t.Text(1);
    }
    return QV_String();
}

bool SOSIFileScan::IsTerrainFeatureType(const QV_String& name) {
    auto begins = [&](const char* s) { return name.StartsWithAt(QV_String(s), 0); };
    auto ends = [&](const char* s) { return name.EndsWith(QV_String(s)); };
    auto is = [&](const char* s) { return name == QV_String(s); };
    return (begins("H") && ends("ydekurve")) || (begins("Veggr") && ends("pen")) || is("VegkantFiktiv") ||
        (begins("VegkantAvkj") && ends("rsel")) || is("Vegdekkekant") || is("Vegrekkverk") || is("TerrenglinjeVeg") ||
        is("Forsenkningskurve") || is("Kystkontur") || is("KystkonturTekniskeAnlegg") ||
        (begins("Innsj") && ends("kant")) || is("Forsenkningspunkt") || is("Toppunkt") || is("Gangveikant") ||
        is("GangSykkelvegkant") || is("Terrenglinje") || is("ElvBekk");
}
