#pragma once
// ColumnFileCls: what the ASCII grid reader and the XYZ text reader share: the options of their dialogs, the
// file read whole in 20 slices, its lines, the points in reading order and the duplicate filter.
//
// The file's text is kept as bytes and lines and fields are views into them, so a file of a million points is
// read without a string per field. Bytes are in the system code page unless the file starts with a byte-order
// mark: then the whole text is decoded by the mark at once (never slice by slice, which would cut characters)
// and kept as UTF-8.
#include "fileio/BaseFileCls.hpp"
#include "fileio/FieldSplit.hpp"
#include "fileio/ImportPoint.hpp"
#include "fileio/ReadReport.hpp"
#include "fileio/TextBlock.hpp"
#include "foundation/ErrorCode.hpp"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// The characters of a line that the format detection and the previews look at: enough for any row they show.
constexpr uint32_t SampleCharacters = 1u << 16;
// The start of a file that tells whether it is text at all.
constexpr uint32_t FirstBlockBytes = 1u << 16;
// A chunk of points the duplicate filter sorts and scans on its own.
constexpr uint32_t PointChunkSize = 200000;

class ColumnFileCls : public BaseFileCls {
public:
    ColumnFileCls();

    // Empties the point list and the text; the base fields stay.
    void Clear() override;

    // Opens the file and runs the format detection on it (what the options dialog starts from): delimiter and
    // decimal mark, for a point file also the column layout. The file stays open for the dialog's previews.
    // False with error 8 in the report when the file cannot be opened.
    bool Detect();
    // Reads the file with the options as they stand: no dialog, no message. True when `points` holds the result
    // (possibly empty, the report telling what was left out); false with the error and its reason in the report.
    virtual bool Read() = 0;

    // One line at the read position as Read will see it, for the format detection and the previews: a file
    // with a byte-order mark is decoded by its mark (the mark is no part of the first line), any other file is
    // read as ReadTextLine reads it. A read from position 0 looks for the mark again. Of a longer line only the
    // first `keep` characters are kept.
    ReaderStatus ReadLine(QV_String& line, uint32_t keep = UINT32_MAX);

    // Separator of the delimiter mode as the options dialog stores it: TAB for tab and "N or more spaces", ';'
    // for semicolon; "other:" keeps the chosen character.
    void ApplyDelimiterMode();
    // The detection's first guess of the delimiter from a sample line: a tab, else a semicolon, standing at least
    // twice. False, and the mode unchanged, when neither does.
    bool DetectTabOrSemicolon(const std::string& sample);

    uint8_t firstAnalysis;     // detection still to run when the options dialog opens
    int16_t unitCode;          // ReaderUnitCode
    uint8_t overwriteCode;     // "Overwrite original code"
    uint8_t swapXY;            // "x - y reversed"
    uint8_t skipFirstRow;      // "Skip the first row"
    int32_t decimalSeparator;  // 1 "dot", 2 "comma"; shown and stored, both are read anyway
    int32_t delimiterMode;     // DelimiterMode
    char delimiterChar;
    int32_t minBlanks;                          // the N of "N or more spaces"
    double unitFactor;                          // metres per file unit, set when a read starts
    std::vector<ASCFile::ASCFilePoint> points;  // the result: kept points, ordered by x after a filter
    std::vector<ASCFile::PointTexts> texts;     // the codes and comments the points name
    // Why the last Read failed (error 8 and the reason), or what it left out; the import command shows it.
    ReadReport report;
    // The last Read was stopped by the user: it answered false with nothing in the report.
    bool cancelled = false;

protected:
    // Opens the file and reads its length; false with error 8 in the report on failure (with the reason when the
    // file is too large for the reader).
    bool OpenForRead();
    // Whether the file's first block may begin a text: no NUL byte, or a byte-order mark the reader decodes.
    bool FirstBlockIsText();
    // The reader's own detection, run by Detect on the open file from its start.
    virtual void DetectFormat() = 0;
    // The common start of a read: the file opened, the delimiter's character set by its mode, the progress begun
    // and the text loaded (LoadLines). False with the error in the report when any step fails.
    bool StartRead(bool keepLines);
    // "Reading..." and "Converting...": the whole file into `text`, cut into lines (without the first line with
    // "Skip the first row" and without an empty last one): `lineCount` of them, kept as views in `lines` when
    // `keepLines` (else ForEachLine walks them). The file is closed afterwards. False with error 8 and its reason
    // in the report.
    bool LoadLines(bool keepLines);
    // Where the line starting at p ends (its CR or LF, or end); a text without CR has its lines end at the next LF,
    // which memchr finds fastest.
    const char* LineEnd(const char* p, const char* end) const {
        if (!textHasCR) {
            const void* lf = std::memchr(p, '\n', size_t(end - p));
            return lf != nullptr ? static_cast<const char*>(lf) : end;
        }
        while (p < end && *p != '\n' && *p != '\r') ++p;
        return p;
    }
    // Calls `each(line)` for every line LoadLines counted, in order, while it answers true. The lines are views
    // into `text`, which may be released behind the walk.
    template <typename Each>
    void ForEachLine(Each each) const {
        const char* p = text.Data() + textFrom;
        const char* end = text.Data() + text.Size();
        bool skip = skipFirstRow != 0;
        while (true) {
            const char* lineEnd = LineEnd(p, end);
            const bool last = lineEnd == end;
            if (!skip && !(last && lineEnd == p) && !each(std::string_view(p, size_t(lineEnd - p)))) return;
            skip = false;
            if (last) return;
            p = lineEnd + (lineEnd[0] == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n' ? 2 : 1);
        }
    }
    // Starts the progress window and the counters of a read.
    void BeginRead();
    // Ends a read that gives nothing: the points and the text dropped, the progress closed, error 8 in the
    // report with `reason` when there is one; after the user's stop (`stopped`) no error and nothing to tell, as
    // after a cancel. Answers false.
    bool Refuse(ReadIssue reason = ReadIssue::Count, bool stopped = false);
    // The user asked to stop: `cancelled` set; answers false, which ends a line walk.
    bool Stop() {
        cancelled = true;
        return false;
    }
    // "Filter...", then the window is closed. `separated`: the points stand in the filter's order already and
    // none lies within the tolerance of another, so the filter has nothing to do.
    void FinishRead(bool separated = false);
    // Step of the current phase; true when the user asked to stop.
    bool Step(uint32_t value) { return progress->Step(value); }
    void Phase(int32_t textIndex, uint32_t maxValue, uint32_t count);
    // Adds one point without texts.
    void AddNumbers(double x, double y, double z) {
        points.emplace_back();
        ASCFile::ASCFilePoint& point = points.back();
        point.x = x;
        point.y = y;
        point.z = z;
        ExtendBounds(x, y);
    }
    // A text field of the file, decoded by the file's encoding, into `out`; nothing for an empty field.
    void FieldText(std::string_view field, QV_String& out) const;
    // Adds one point read from the file with its code and comment fields (decoded by the file's encoding).
    void AddPoint(double x, double y, double z, std::string_view code, std::string_view comment);
    void ReleaseText();

    // Gives back the text before line `line`: a read lets the text go as it goes. Lines before it are not
    // to be read again.
    void ReleaseLinesBefore(size_t line);
    // Keeps, in order, the lines for which `keep(line, index)` answers true, as `keep` leaves the view (which
    // stays within the line).
    template <typename Keep>
    void KeepLines(Keep keep) {
        size_t kept = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            std::string_view line = lines[i];
            if (keep(line, i)) lines[kept++] = line;
        }
        lines.resize(kept);
    }

    TextBlock text;       // the file's text (after a byte-order mark, decoded by it)
    size_t textFrom = 0;  // where the text begins in the block (after a UTF-8 mark)
    size_t textBytes = 0;
    bool textHasCR = false;               // lines may end at a CR
    size_t lineCount = 0;                 // lines of the text, as LoadLines counted them
    int32_t textEncoding;                 // Encoding_System or, for a marked file, Encoding_UTF8
    std::vector<std::string_view> lines;  // views into `text`, in the order of the text

private:
    int32_t lineEncoding;  // of ReadLine: Encoding_System, or the mark's encoding
};
