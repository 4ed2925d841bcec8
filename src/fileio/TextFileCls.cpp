#include "fileio/TextFileCls.hpp"

#include "fileio/FieldNumber.hpp"
#include "fileio/SurveyBounds.hpp"
#include "foundation/Language.hpp"

#include <algorithm>
#include <cmath>
#include <exception>
#include <new>
#include <string>

namespace {

constexpr int32_t ExtractingText = 227;
constexpr int32_t InterpretationText = 167;

const TextLayout Layouts[8] = {
    {3, 0, 1, 2, -1, -1},  // unknown: as "x y z"
    {4, 0, 1, 2, 3, -1},   // 1 "x y z Code"
    {4, 1, 2, 3, 0, -1},   // 2 "Code x y z"
    {3, 0, 1, 2, -1, -1},  // 3 "x y z"
    {4, 0, 1, -1, 2, 3},   // 4 "x y Code Comment"
    {4, 0, 1, -1, 3, 2},   // 5 "x y Comment Code"
    {5, 1, 2, 3, 0, 4},    // 6 "Code x y z Comment"
    {5, 0, 1, 2, 3, 4},    // 7 "x y z Code Comment"
};

bool Number(std::string_view field, double& value) {
    return ParseFieldNumber(field.data(), field.data() + field.size(), value);
}

}  // namespace

const TextLayout& GetTextLayout(int32_t layout) { return Layouts[layout >= 1 && layout <= 7 ? layout : 0]; }

int32_t LayoutFromFormatEntry(int32_t entry) {
    switch (entry) {
        case 1: return 3;
        case 2: return 1;
        case 3: return 2;
        default: return entry >= 4 && entry <= 7 ? entry : 3;
    }
}

int32_t FormatEntryFromLayout(int32_t layout) {
    switch (layout) {
        case 3: return 1;
        case 1: return 2;
        case 2: return 3;
        default: return layout >= 4 && layout <= 7 ? layout : 1;
    }
}

TextFileCls::TextFileCls() : layout(1) {
    delimiterMode = DelimiterTab;
    delimiterChar = '\t';
    minBlanks = 3;
    tolerance = 0.1;
}

void TextFileCls::DetectFormat() { DetectTextFileFormat(*this); }

bool TextFileCls::Read() {
    // The lines are walked, not kept: a point file's text is most of what a read holds at its peak.
    if (!StartRead(false)) return false;

    const TextLayout& columns = GetTextLayout(layout);
    const size_t lineTotal = lineCount;
    Phase(ExtractingText, uint32_t(lineTotal), uint32_t(lineTotal));
    // A line is kept when, its leading spaces trimmed, it has the fields its layout needs: one bit per line.
    auto trimmed = [](std::string_view line) {
        const size_t first = line.find_first_not_of(' ');
        line.remove_prefix(first == std::string_view::npos ? line.size() : first);
        return line;
    };
    auto blank = [](std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; };
    std::vector<uint64_t> kept;
    try {
        kept.assign(lineTotal / 64 + 1, 0);
    } catch (const std::bad_alloc&) {
        return Refuse(ReadIssue::TooLarge);
    }
    size_t keptCount = 0;
    size_t filledLines = 0;
    size_t index = 0;
    ForEachLine([&](std::string_view line) {
        if (!blank(line)) {
            ++filledLines;
            if (CountFields(trimmed(line), delimiterMode, delimiterChar, minBlanks) >= size_t(columns.minFields)) {
                kept[index / 64] |= uint64_t(1) << (index % 64);
                ++keptCount;
            }
        }
        if (progress->Step(uint32_t(++index))) return Stop();
        return true;
    });
    if (cancelled) return Refuse(ReadIssue::Count, true);
    Phase(InterpretationText, uint32_t(keptCount), uint32_t(keptCount));
    const double factor = unitFactor;
    const int32_t xField = swapXY ? columns.y : columns.x;
    const int32_t yField = swapXY ? columns.x : columns.y;
    const char* const textEnd = text.Data() + text.Size();
    std::vector<std::string_view> fields;
    try {
        points.reserve(keptCount);
    } catch (const std::exception&) {
    }
    size_t l = 0;
    bool firstLine = true;  // no line with text walked yet
    index = 0;
    ForEachLine([&](std::string_view line) {
        const size_t at = index++;
        if ((kept[at / 64] >> (at % 64) & 1) == 0) {
            if (blank(line)) return true;
            // Too few fields: read and skipped. A first line of words is a title; a last line without a break
            // after it was cut short.
            ++pointsRead;
            double first = 0.0;
            SplitFields(trimmed(line), delimiterMode, delimiterChar, minBlanks, fields, 1);
            if (line.data() + line.size() == textEnd)
                report.Note(ReadIssue::EndedEarly);
            else if (!firstLine || Number(fields[0], first))
                report.Note(ReadIssue::DamagedRecord);
            firstLine = false;
            return true;
        }
        firstLine = false;
        // The text before this line is read: it goes back as the points grow.
        text.ReleaseBefore(line.data());
        SplitFields(trimmed(line), delimiterMode, delimiterChar, minBlanks, fields, size_t(columns.minFields));
        ++pointsRead;
        double x = 0.0, y = 0.0, z = 0.0;
        // A coordinate that is not wholly a number: a damaged record, read but no point, and counted unless it is
        // the first row (a header row of column names). A value no survey holds is refused the same way.
        const bool numbers = Number(fields[size_t(xField)], x) && Number(fields[size_t(yField)], y) &&
            (columns.z < 0 || Number(fields[size_t(columns.z)], z));
        x *= factor;
        y *= factor;
        z *= factor;
        if (!numbers) {
            if (l > 0) report.Note(ReadIssue::DamagedRecord);
        } else if (!SurveyPoint(x, y, z)) {
            report.Note(ReadIssue::OutOfRange);
        } else {
            AddPoint(x, y, z, columns.code >= 0 ? fields[size_t(columns.code)] : std::string_view(),
                     columns.comment >= 0 ? fields[size_t(columns.comment)] : std::string_view());
        }
        if (Step(uint32_t(++l))) return Stop();
        return true;
    });
    if (cancelled) return Refuse(ReadIssue::Count, true);
    if (points.empty()) {
        // Nothing to place: refused with the reason, as an empty file is. A file of one line has its columns
        // taken as tab-separated (the detection reads the second line): that is the reason to tell.
        if (filledLines == 1 && skipFirstRow == 0) {
            report = ReadReport();
            return Refuse(ReadIssue::SingleLine);
        }
        return Refuse(ReadIssue::NoPointFound);
    }
    FinishRead();
    return true;
}

bool IsNumberField(std::string_view field) {
    const std::string text(field);
    return ClassifyNumberText(text.c_str()) != 0;
}

void DetectTextFileFormat(TextFileCls& reader) {
    if (reader.firstAnalysis != 1) return;
    reader.layout = 0;
    reader.decimalSeparator = 0;
    reader.delimiterMode = 0;
    reader.delimiterChar = 0;
    reader.minBlanks = 3;
    reader.SetReaderFilePosition(0);
    QV_String line;
    QV_String sampleLine;
    reader.ReadLine(line, SampleCharacters);
    if (reader.readPosition < reader.fileLength) reader.ReadLine(sampleLine, SampleCharacters);
    const std::string sample = sampleLine.ToStdString(Encoding_System);
    auto count = [&](char c) { return std::count(sample.begin(), sample.end(), c); };
    if (sample.find('.') != std::string::npos)
        reader.decimalSeparator = 1;
    else if (sample.find(',') != std::string::npos)
        reader.decimalSeparator = 2;
    if (!reader.DetectTabOrSemicolon(sample) && count(' ') >= 2) {
        reader.delimiterMode = DelimiterSpaces;
        reader.delimiterChar = '\t';
        const int32_t run = MostFrequentSpaceRun(sample);
        reader.minBlanks = run < 3 ? run : 3;
    }
    if (reader.delimiterMode != 0) {
        std::vector<std::string_view> fields;
        SplitFields(sample, reader.delimiterMode, reader.delimiterChar, reader.minBlanks, fields);
        const bool firstIsNumber = IsNumberField(fields[0]);
        // A third field that is no number is a code, not a height: "x y Code Comment".
        double third = 0.0;
        const bool thirdIsNumber =
            fields.size() >= 3 && ParseFieldNumber(fields[2].data(), fields[2].data() + fields[2].size(), third);
        if (fields.size() == 3)
            reader.layout = 3;
        else if (fields.size() == 4)
            reader.layout = firstIsNumber ? (thirdIsNumber ? 1 : 4) : 2;
        else if (fields.size() >= 5)
            reader.layout = firstIsNumber ? (thirdIsNumber ? 7 : 4) : 6;
    } else {
        reader.delimiterMode = DelimiterTab;
        reader.delimiterChar = '\t';
    }
    if (reader.layout == 0) reader.layout = 3;
    if (reader.decimalSeparator == 0) reader.decimalSeparator = 1;
    reader.firstAnalysis = 0;
    reader.SetReaderFilePosition(0);
}
