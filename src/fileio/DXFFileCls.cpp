#include "fileio/DXFFileCls.hpp"

#include "fileio/SurveyBounds.hpp"
#include "foundation/Alert.hpp"
#include "foundation/Language.hpp"
#include "settings/ProjectOffset.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr uint32_t BlockBytes = 1u << 16;
// Room past a block's end, so that the line scan reads whole 16-byte runs without a check for the block's end.
constexpr uint32_t ScanSlack = 16;
constexpr size_t LongestLine = 4096;  // DXF lines hold at most 2049 characters; more is kept no further
constexpr uint32_t StepBytes = 1u << 18;
constexpr int32_t PhaseText = 4;  // "No Title"
// The end of a binary DXF's first line: "Binary DXF", CR LF, SUB and NUL, 8 bytes into the file.
const char BinarySentinel[] = "Binary DXF\r\n\x1a";
constexpr size_t BinarySentinelAt = 8;

enum class ValueKind { Text, Real, Integer };

ValueKind KindOf(int32_t code) {
    const uint32_t c = uint32_t(code);
    if (c <= 9 || (c >= 300 && c <= 369) || c == 100 || c == 102 || c == 105) return ValueKind::Text;
    if ((c >= 10 && c <= 59) || (c >= 140 && c <= 147) || (c >= 210 && c <= 239)) return ValueKind::Real;
    if ((c >= 60 && c <= 79) || (c >= 90 && c <= 99) || (c >= 170 && c <= 175) || (c >= 280 && c <= 289))
        return ValueKind::Integer;
    return ValueKind::Text;
}

bool ParseInteger(std::string_view text, int32_t& value) {
    // Group codes and most integers are a few plain digits.
    if (!text.empty() && text.size() <= 9) {
        int32_t v = 0;
        size_t i = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) v = v * 10 + (text[i] - '0');
        if (i == text.size()) {
            value = v;
            return true;
        }
    }
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    long long v = 0;
    const auto r = std::from_chars(first, last, v);
    if (r.ec != std::errc() || r.ptr != last || v < INT32_MIN || v > INT32_MAX) return false;
    value = int32_t(v);
    return true;
}

// The plain decimals most writers use ("-1234.5678", "12e3"), with at most 19 digits whose value and power of ten
// are exact doubles: then one multiplication or division rounds as the full conversion does. False for anything else,
// which the full conversion reads.
bool ParsePlainReal(std::string_view text, double& value) {
    static const double Powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = text.data();
    const char* end = p + text.size();
    bool negative = false;
    if (p != end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    uint64_t mantissa = 0;
    int digits = 0, scale = 0;
    bool any = false;
    for (; p != end && *p >= '0' && *p <= '9'; ++p, any = true)
        if (mantissa != 0 || *p != '0') mantissa = mantissa * 10 + uint64_t(*p - '0'), ++digits;
    if (p != end && (*p == '.' || *p == ',')) {
        for (++p; p != end && *p >= '0' && *p <= '9'; ++p, any = true) {
            if (mantissa != 0 || *p != '0') mantissa = mantissa * 10 + uint64_t(*p - '0'), ++digits;
            --scale;
        }
    }
    if (!any || digits > 19) return false;
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        bool minus = false;
        if (p != end && (*p == '-' || *p == '+')) minus = *p++ == '-';
        if (p == end) return false;
        int e = 0;
        for (; p != end && *p >= '0' && *p <= '9'; ++p) {
            if (e > 1000) return false;
            e = e * 10 + (*p - '0');
        }
        scale += minus ? -e : e;
    }
    if (p != end || mantissa > (uint64_t(1) << 53) || scale < -22 || scale > 22) return false;
    const double m = double(mantissa);
    const double v = scale >= 0 ? m * Powers[scale] : m / Powers[-scale];
    value = negative ? -v : v;
    return true;
}

// '.' or ',' as the decimal point; the whole text must be the number.
bool ParseReal(std::string_view text, double& value) {
    if (ParsePlainReal(text, value)) return true;
    char local[64];
    if (text.empty() || text.size() >= sizeof local) return false;
    size_t n = 0;
    for (char c : text) local[n++] = c == ',' ? '.' : c;
    const char* first = local;
    if (*first == '+') ++first;
    const auto r = std::from_chars(first, local + n, value);
    return r.ec == std::errc() && r.ptr == local + n && std::isfinite(value);
}

bool IsEntityKind(const std::string& v) {
    return v == "POINT" || v == "LINE" || v == "POLYLINE" || v == "LWPOLYLINE" || v == "SPLINE" || v == "3DFACE";
}

double PlanDistance2(double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    return dx * dx + dy * dy;
}

struct FileCloser {
    DXFFileCls& reader;
    ~FileCloser() { reader.CloseReaderFile(); }
};

}  // namespace

double DXFFileCls::Scale() const { return unitFactor * (metric != 0 ? 0.001 : 0.0254); }

// ---- lines and pairs ---------------------------------------------------------------------------------------------

void DXFFileCls::ClearBuffer() {
    if (readPosition == 0) lineNumber_ = 0;
    bufferStart_ = readPosition;
    bufferCount_ = bufferPos_ = 0;
}

bool DXFFileCls::FillBuffer() {
    if (readFailed_) return false;
    const uint32_t at = bufferStart_ + bufferCount_;
    if (at >= fileLength) return false;
    if (buffer_.size() < BlockBytes + ScanSlack) buffer_.resize(BlockBytes + ScanSlack);
    if (readPosition != at && SetReaderFilePosition(at) != 0) {
        readFailed_ = true;
        return false;
    }
    uint32_t got = 0;
    if (ReadReaderFileBytes(buffer_.data(), BlockBytes, got) != 0 || got == 0) {
        readFailed_ = true;
        return false;
    }
    bufferStart_ = at;
    bufferCount_ = got;
    bufferPos_ = 0;
    return true;
}

namespace {
// The characters before the first LF or CR of the `left` at p (all of them when there is none); `nul` set when a NUL
// is among them. Sixteen bytes are looked at together for any below '\r' + 1, which are rare inside a line; the bytes
// read past `left` (into the slack) are never counted.
uint32_t LineLength(const char* p, uint32_t left, bool& nul) {
    uint32_t n = 0;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    while (n < left) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n));
        uint32_t mask = uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(v, cr), v)));
        if (left - n < 16) mask &= (uint32_t(1) << (left - n)) - 1;
        while (mask != 0) {
            const uint32_t at = n + uint32_t(__builtin_ctz(mask));
            const char c = p[at];
            if (c == '\n' || c == '\r') return at;
            nul |= c == '\0';
            mask &= mask - 1;
        }
        n += 16;
    }
    return left;
#else
    while (n < left) {
        const unsigned char c = static_cast<unsigned char>(p[n]);
        if (c <= '\r') {
            if (c == '\n' || c == '\r') break;
            nul |= c == '\0';
        }
        ++n;
    }
    return n;
#endif
}
}  // namespace

// One line without its LF, CR LF or CR, spaces trimmed at both ends, a NUL read as a space. False at the end.
// The view points into the block when the line lies in it whole, else into `lineCopy_`; it holds until the next
// line is read.
bool DXFFileCls::ReadLine(std::string_view& line) {
    if (bufferPos_ == bufferCount_ && !FillBuffer()) return false;
    ++lineNumber_;
    const char* start = buffer_.data() + bufferPos_;
    const uint32_t left = bufferCount_ - bufferPos_;
    // A CR alone ends a line too.
    bool nul = false;
    const uint32_t n = LineLength(start, left, nul);
    const char* text = start;
    size_t size = std::min<size_t>(n, LongestLine);
    bufferPos_ += n;
    if (n == left) {
        // The line runs past the block: gathered in the copy.
        lineCopy_.assign(start, size);
        for (;;) {
            if (!FillBuffer()) break;
            const char* more = buffer_.data() + bufferPos_;
            const uint32_t moreLeft = bufferCount_ - bufferPos_;
            const uint32_t m = LineLength(more, moreLeft, nul);
            if (lineCopy_.size() < LongestLine)
                lineCopy_.append(more, std::min<size_t>(m, LongestLine - lineCopy_.size()));
            bufferPos_ += m;
            if (m < moreLeft) break;
        }
        text = lineCopy_.data();
        size = lineCopy_.size();
    }
    if (bufferPos_ < bufferCount_) {
        const char end = buffer_[bufferPos_++];
        if (end == '\r' && bufferPos_ == bufferCount_) {
            // The LF that may follow is in the next block, which takes the place of this one.
            if (text != lineCopy_.data()) {
                lineCopy_.assign(text, size);
                text = lineCopy_.data();
            }
            if (FillBuffer() && buffer_[bufferPos_] == '\n') ++bufferPos_;
        } else if (end == '\r' && buffer_[bufferPos_] == '\n') {
            ++bufferPos_;
        }
    }
    if (nul) {
        if (text != lineCopy_.data()) lineCopy_.assign(text, size);
        for (char& c : lineCopy_)
            if (c == '\0') c = ' ';
        text = lineCopy_.data();
    }
    size_t b = 0, e = size;
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    line = std::string_view(text + b, e - b);
    return true;
}

bool DXFFileCls::ReadLine(std::string& line) {
    std::string_view view;
    if (!ReadLine(view)) {
        line.clear();
        return false;
    }
    line.assign(view.data(), view.size());
    return true;
}

bool DXFFileCls::StepProgress() {
    const uint32_t at = bufferStart_ + bufferPos_;
    if (at < nextStep_) return true;
    nextStep_ = at + StepBytes;
    if (progress->Step(at)) stopped_ = true;
    return !stopped_;
}

DXFFileCls::PairResult DXFFileCls::ReadPair(Pair& pair) {
    pair.integer = 0;
    pair.real = 0.0;
    // The layer pass looks at texts only: its numbers are read by the entity pass.
    const bool numbers = !layerPass_;
    if (!StepProgress()) return PairResult::End;
    std::string_view line;
    if (!ReadLine(line)) {
        pair.text.clear();
        return readFailed_ ? PairResult::Bad : PairResult::End;
    }
    if (!ParseInteger(line, pair.code)) {
        pair.text.assign(line.data(), line.size());
        // A code line that is the file's last, cut inside its digits or blanks, ends the file as a cut does.
        const bool last = bufferPos_ == bufferCount_ && uint64_t(bufferStart_) + bufferCount_ >= fileLength;
        if (last && !readFailed_) return PairResult::End;
        if (!readFailed_ && badLine_ == 0) {
            badLine_ = lineNumber_;
            badCode_.assign(line.data(), std::min<size_t>(line.size(), 40));
        }
        return PairResult::Bad;
    }
    // A code line without its value line: the file was cut.
    if (!ReadLine(line)) {
        pair.text.clear();
        return readFailed_ ? PairResult::Bad : PairResult::End;
    }
    // The text is kept for the groups read as text; a number's value line is only parsed, and in the layer pass
    // not even that.
    const ValueKind kind = KindOf(pair.code);
    if (kind == ValueKind::Text)
        pair.text.assign(line.data(), line.size());
    else
        pair.text.clear();
    // A number that cannot be read ("1.#QNAN" of some writers) is marked, not fatal: only the entity that needs it
    // is skipped.
    pair.bad = false;
    if (!numbers) return PairResult::Ok;
    switch (kind) {
        case ValueKind::Real:
            if (!ParseReal(line, pair.real)) {
                pair.real = 0.0;
                pair.bad = true;
            }
            break;
        case ValueKind::Integer: {
            // Some writers put a real into an integer group; its whole part is the value.
            if (!ParseInteger(line, pair.integer)) {
                double v = 0.0;
                pair.integer = 0;
                if (!ParseReal(line, v) || std::fabs(v) > 2147483647.0)
                    pair.bad = true;
                else
                    pair.integer = int32_t(v);
            }
            break;
        }
        case ValueKind::Text: break;
    }
    return PairResult::Ok;
}

bool DXFFileCls::FindSection(const char* name, int32_t& errorCode) {
    bool garbled = false;
    std::string line;
    Pair pair;
    while (ReadLine(line)) {
        if (line == "$ACADVER") {
            // The version decides the text encoding of the names: AC1021 (R2007) and later write UTF-8.
            std::string code, version;
            if (ReadLine(code) && ReadLine(version))
                utf8Text = version.size() == 6 && version.compare(0, 2, "AC") == 0 && version >= "AC1021";
            continue;
        }
        if (line != "SECTION") continue;
        const PairResult r = ReadPair(pair);
        if (r == PairResult::Ok && pair.code == 2 && pair.text == name) return true;
        if (r != PairResult::Ok) {
            garbled = true;
            break;
        }
    }
    // A file read to its end without the section holds no entities at all.
    errorCode = readFailed_ || garbled ? ErrReadingFile : ErrNothingReadable;
    return false;
}

bool DXFFileCls::OpenAtEntities(int32_t& errorCode) {
    readFailed_ = false;
    notText_ = false;
    stopped_ = false;
    badLine_ = 0;
    badCode_.clear();
    nextStep_ = 0;
    if ((file == nullptr && OpenReaderFile() != 0) || GetReaderFileLength() != 0 || SetReaderFilePosition(0) != 0) {
        errorCode = ErrReadingFile;
        return false;
    }
    ClearBuffer();
    // A binary DXF holds the same words between its binary numbers: it is refused before any search.
    const size_t sentinel = sizeof BinarySentinel - 1;
    if (fileLength >= BinarySentinelAt + sentinel && FillBuffer() && bufferCount_ >= BinarySentinelAt + sentinel &&
        std::memcmp(buffer_.data() + BinarySentinelAt, BinarySentinel, sentinel) == 0) {
        errorCode = ErrReadingFile;
        return false;
    }
    // Nor is a file whose first block, longer than any DXF line, holds no line break: told so before the whole of
    // it is searched.
    const bool filled = bufferCount_ > 0 || FillBuffer();
    if (filled && bufferCount_ > LongestLine && std::memchr(buffer_.data(), '\n', bufferCount_) == nullptr &&
        std::memchr(buffer_.data(), '\r', bufferCount_) == nullptr) {
        errorCode = ErrReadingFile;
        notText_ = true;
        return false;
    }
    return FindSection("ENTITIES", errorCode);
}

// ---- layers ------------------------------------------------------------------------------------------------------

QV_String DXFFileCls::LayerName(const std::string& raw) const {
    // Bytes that are no UTF-8 (a writer that kept its code page in a newer version) are taken as the system code
    // page after all.
    if (utf8Text && IsValidUtf8(raw.data(), uint32_t(raw.size()), false)) return QV_String(raw.c_str(), Encoding_UTF8);
    return QV_String(raw.c_str(), Encoding_System);
}

int32_t DXFFileCls::LayerIndex(const std::string& raw, bool add) {
    const auto cached = layerCache_.find(raw);
    if (cached != layerCache_.end() && (cached->second >= 0 || !add)) return cached->second;
    const QV_String name = LayerName(raw);
    // Names that differ only in case are one layer: found by the name lowered unit by unit, as CompareNoCase
    // compares, so a file of many layers costs no search through them.
    auto keyOf = [](const QV_String& text) {
        QV_String lowered;
        text.ToLower(lowered);
        return lowered.GetLength() == 0
            ? std::u16string()
            : std::u16string(reinterpret_cast<const char16_t*>(lowered.GetBuffer()), lowered.GetLength());
    };
    // The list may have been filled from outside (a caller setting the layers): the index follows it.
    if (layersIndexed_ != layers.size()) {
        layerByName_.clear();
        for (size_t i = 0; i < layers.size(); ++i) layerByName_.emplace(keyOf(layers[i].name), int32_t(i));
        layersIndexed_ = layers.size();
    }
    std::u16string key = keyOf(name);
    int32_t found = -1;
    const auto known = layerByName_.find(key);
    if (known != layerByName_.end()) found = known->second;
    if (found < 0 && add) {
        DXFFileLayer layer;
        layer.name = name;
        layers.push_back(layer);
        found = int32_t(layers.size() - 1);
        layerByName_.emplace(std::move(key), found);
        layersIndexed_ = layers.size();
    }
    layerCache_[raw] = found;
    return found;
}

bool DXFFileCls::Accepted(int32_t layer) const {
    return layer >= 0 && size_t(layer) < layers.size() && layers[size_t(layer)].import != 0;
}

// ---- the passes --------------------------------------------------------------------------------------------------

DXFFileCls::PairResult DXFFileCls::SkipEntity(Pair& pair, int32_t* layer, uint64_t* coordinates) {
    PairResult r;
    while ((r = ReadPair(pair)) == PairResult::Ok && pair.code != 0) {
        if (layer != nullptr && pair.code == 8) *layer = LayerIndex(pair.text, true);
        if (coordinates != nullptr && pair.code >= 10 && pair.code <= 13) ++*coordinates;
    }
    return r;
}

bool DXFFileCls::WalkEntities(bool layerPass, int32_t& errorCode) {
    layerPass_ = layerPass;
    QV_String title("Lodravix"), phase;
    GetResString(phase, GeneralTableBase + LanguageIndex, PhaseText);
    progress->Begin(title, 1);
    progress->Phase(phase, fileLength);
    Pair pair;
    PairResult r = ReadPair(pair);
    bool ended = false;
    while (r == PairResult::Ok) {
        // Only a code-0 pair starts an entity or ends the section: a text or a layer that reads "LINE" does not.
        if (pair.code != 0) {
            r = ReadPair(pair);
            continue;
        }
        if (pair.text == "ENDSEC") {
            ended = true;
            break;
        }
        if (layerPass) {
            // The coordinates each layer holds, for the stores to make room for them at once. A VERTEX counts for
            // its POLYLINE's layer; the corners of faces are mostly shared, about one in four a vertex of its own.
            int32_t layer = -1;
            uint64_t coordinates = 0;
            const bool kind = IsEntityKind(pair.text), vertex = pair.text == "VERTEX", face = pair.text == "3DFACE";
            r = SkipEntity(pair, kind ? &layer : nullptr, kind || vertex ? &coordinates : nullptr);
            if (kind) polylineLayer_ = layer;
            const int32_t owner = kind ? layer : vertex ? polylineLayer_ : -1;
            if (owner >= 0) {
                if (layerCoordinates_.size() <= size_t(owner)) layerCoordinates_.resize(size_t(owner) + 1, 0);
                layerCoordinates_[size_t(owner)] += face ? (coordinates + 3) / 4 : coordinates;
            }
        } else if (pair.text == "POINT") {
            r = ReadPointEntity(pair);
        } else if (pair.text == "LINE") {
            r = ReadLineEntity(pair);
        } else if (pair.text == "POLYLINE") {
            r = ReadPolylineEntity(pair);
        } else if (pair.text == "LWPOLYLINE") {
            r = ReadLwPolylineEntity(pair);
        } else if (pair.text == "SPLINE") {
            r = ReadSplineEntity(pair);
        } else if (pair.text == "3DFACE") {
            r = Read3DFaceEntity(pair);
        } else {
            r = SkipEntity(pair, nullptr, nullptr);
        }
    }
    // A section the file's end cuts short keeps the entities before the cut (the one it cut is lost) and says so, and
    // so does one with a group code that cannot be read, which says where; a read that failed is refused.
    const bool unreadable = !ended && !stopped_ && r == PairResult::Bad && !readFailed_ && badLine_ != 0;
    const bool cut = (!ended && !stopped_ && r == PairResult::End && !readFailed_) || unreadable;
    if ((ended || cut) && !layerPass) DropCoveredPoints();
    progress->End();
    if (stopped_) {
        errorCode = 0;
        return false;
    }
    if (unreadable && report.Count(ReadIssue::DxfStoppedAt) == 0) report.Note(ReadIssue::DxfStoppedAt, StopPlace());
    if (cut && !unreadable && !layerPass) report.Note(ReadIssue::EndedEarly);
    if (!ended && !cut) {
        errorCode = ErrReadingFile;
        return false;
    }
    return true;
}

QV_String DXFFileCls::StopPlace() const {
    QV_String code;
    for (char c : badCode_) code += QV_String(std::string(1, c).c_str(), Encoding_System);
    return AlertWords(AlertText{ErrorTableBase, DxfStopPlaceText}, {QV_String(std::to_string(badLine_).c_str()), code});
}

bool DXFFileCls::ReadLayers(int32_t& errorCode) {
    layerCoordinates_.clear();
    polylineLayer_ = -1;
    return WalkEntities(true, errorCode);
}

bool DXFFileCls::ReadEntities(int32_t& errorCode) {
    // A vertex takes 20 bytes of the file at least: room reserved for all the file can hold is only address space
    // until it is filled, and the lists need not move while they grow (up to a few million; past that they grow
    // as usual).
    const size_t most = std::min<size_t>(fileLength / 20, 4000000);
    vertices.reserve(most);
    constraints.reserve(most);
    // The crossing rule is applied once every constraint is known, which lets its search be laid out at once.
    const size_t first = constraints.size();
    queueConstraints_ = indexedSearch;
    expectedVertices_ = 0;
    for (size_t i = 0; i < layers.size() && i < layerCoordinates_.size(); ++i)
        if (Accepted(int32_t(i))) expectedVertices_ += layerCoordinates_[i];
    const bool ok = WalkEntities(false, errorCode);
    expectedVertices_ = 0;
    queueConstraints_ = false;
    // The grids are done with: dropped before the crossing search is laid out, and that one after.
    ReleaseIndexes();
    if (indexedSearch) KeepUncrossedConstraints(first);
    ReleaseIndexes();
    ResolveGroups();
    report.Note(ReadIssue::CrossingBreakLines, crossingDropped);
    return ok;
}

// ---- entity readers ----------------------------------------------------------------------------------------------

DXFFileCls::PairResult DXFFileCls::Skip(ReadIssue issue, PairResult r, size_t points) {
    report.Note(issue);
    // Its points count as read and skipped, as a bad line of a point file does.
    pointsRead += uint32_t(std::min<size_t>(points, UINT32_MAX - pointsRead));
    return r;
}

namespace {
// Scaled coordinate; false when it leaves the doubles.
bool Scaled(double value, double scale, double& out) {
    out = value * scale;
    return std::isfinite(out);
}

// Whether every vertex holds values a survey can.
bool InSurvey(const std::vector<DXFVertex>& list, bool bounded) {
    for (const DXFVertex& v : list)
        if (bounded && !SurveyPoint(v.x, v.y, v.z)) return false;
    return true;
}
}  // namespace

DXFFileCls::PairResult DXFFileCls::ReadPointEntity(Pair& pair) {
    int32_t layer = -1, visibility = 0;
    bool hasX = false, hasY = false, bad = false;
    double x = 0.0, y = 0.0, z = 0.0;
    PairResult r;
    while ((r = ReadPair(pair)) == PairResult::Ok && pair.code != 0) {
        switch (pair.code) {
            case 8: layer = LayerIndex(pair.text, false); break;
            case 10: x = pair.real, hasX = true, bad |= pair.bad; break;
            case 20: y = pair.real, hasY = true, bad |= pair.bad; break;
            case 30: z = pair.real, bad |= pair.bad; break;
            case 60: visibility = pair.integer, bad |= pair.bad; break;
            default: break;
        }
    }
    // An invisible entity is left out in silence (an unreadable visibility reads as 0, visible).
    if (r != PairResult::Ok || !Accepted(layer) || !hasX || !hasY || visibility != 0) return r;
    if (bad) return Skip(ReadIssue::BadNumber, r, 1);
    const double s = Scale();
    DXFFilePoint p;
    if (!Scaled(x, s, p.x) || !Scaled(y, s, p.y) || !Scaled(z, s, p.z))
        return Skip(ReadIssue::NonFiniteCoordinate, r, 1);
    if (surveyBounds && !SurveyPoint(p.x, p.y, p.z)) return Skip(ReadIssue::OutOfRange, r, 1);
    p.layer = layer;
    ++pointsRead;
    if (!StorePoint(p)) return r;
    ExtendBounds(p.x, p.y);
    ++pointsKept;
    return r;
}

DXFFileCls::PairResult DXFFileCls::ReadLineEntity(Pair& pair) {
    int32_t layer = -1, visibility = 0;
    int has = 0;
    bool bad = false;
    double v[6] = {};
    PairResult r;
    while ((r = ReadPair(pair)) == PairResult::Ok && pair.code != 0) {
        switch (pair.code) {
            case 8: layer = LayerIndex(pair.text, false); break;
            case 10: v[0] = pair.real, has |= 1, bad |= pair.bad; break;
            case 20: v[1] = pair.real, has |= 2, bad |= pair.bad; break;
            case 30: v[2] = pair.real, bad |= pair.bad; break;
            case 11: v[3] = pair.real, has |= 4, bad |= pair.bad; break;
            case 21: v[4] = pair.real, has |= 8, bad |= pair.bad; break;
            case 31: v[5] = pair.real, bad |= pair.bad; break;
            case 60: visibility = pair.integer, bad |= pair.bad; break;
            default: break;
        }
    }
    if (r != PairResult::Ok || !Accepted(layer) || has != 15 || visibility != 0) return r;
    if (bad) return Skip(ReadIssue::BadNumber, r, 2);
    const double s = Scale();
    for (double& c : v)
        if (!Scaled(c, s, c)) return Skip(ReadIssue::NonFiniteCoordinate, r, 2);
    if (surveyBounds && (!SurveyPoint(v[0], v[1], v[2]) || !SurveyPoint(v[3], v[4], v[5])))
        return Skip(ReadIssue::OutOfRange, r, 2);
    DXFFilePoint a, b;
    a.x = v[0], a.y = v[1], a.z = v[2], a.layer = layer;
    b.x = v[3], b.y = v[4], b.z = v[5], b.layer = layer;
    const double d2 = constraintFilter * constraintFilter;
    bool added = false;
    if (PlanDistance2(a.x, a.y, b.x, b.y) < d2) {
        ++pointsRead;
        AddVertexPoint(a, added);
        return r;
    }
    if (grouping != 0) a.group = b.group = ++groupCounter;
    ++pointsRead;
    const int32_t start = StoreVertex(a, added);
    if (PlanDistance2(a.x, a.y, b.x, b.y) >= d2) {
        ++pointsRead;
        const int32_t end = StoreVertex(b, added);
        if (layers[size_t(layer)].constraint != 0) AddConstraintBetween(start, end, layer, a.group);
    }
    return r;
}

DXFFileCls::PairResult DXFFileCls::ReadPolylineEntity(Pair& pair) {
    int32_t layer = -1, visibility = 0, flags = 0;
    double elevation = 0.0;
    bool bad = false;
    PairResult r;
    while ((r = ReadPair(pair)) == PairResult::Ok && pair.code != 0) {
        switch (pair.code) {
            case 8: layer = LayerIndex(pair.text, false); break;
            case 30: elevation = pair.real, bad |= pair.bad; break;
            case 60: visibility = pair.integer, bad |= pair.bad; break;
            case 70: flags = pair.integer, bad |= pair.bad; break;
            default: break;
        }
    }
    // The VERTEX entities of a polyline not taken are passed over by the section walk.
    if (r != PairResult::Ok || !Accepted(layer) || visibility != 0) return r;
    const double s = Scale();
    const bool closed = (flags & (1 | 32)) != 0;
    const bool is3D = (flags & (8 | 16)) != 0;
    double z0 = 0.0;
    bool finite = Scaled(elevation, s, z0);
    std::vector<DXFVertex> list;
    // The vertices are read to the end even when one cannot be used, so that the walk goes on after them.
    while (r == PairResult::Ok && pair.code == 0 && pair.text == "VERTEX") {
        double x = 0.0, y = 0.0, z = 0.0;
        while ((r = ReadPair(pair)) == PairResult::Ok && pair.code != 0) {
            if (pair.code == 10)
                x = pair.real, bad |= pair.bad;
            else if (pair.code == 20)
                y = pair.real, bad |= pair.bad;
            else if (pair.code == 30)
                z = pair.real, bad |= pair.bad;
        }
        if (r != PairResult::Ok) return r;
        DXFVertex vertex;
        finite = Scaled(x, s, vertex.x) && Scaled(y, s, vertex.y) && Scaled(z, s, vertex.z) && finite;
        if (!is3D) vertex.z = z0;
        list.push_back(vertex);
    }
    if (r == PairResult::Ok && pair.code == 0 && pair.text == "SEQEND") r = SkipEntity(pair, nullptr, nullptr);
    if (r != PairResult::Ok) return r;
    if (bad) return Skip(ReadIssue::BadNumber, r, list.size());
    if (!finite) return Skip(ReadIssue::NonFiniteCoordinate, r, list.size());
    if (!InSurvey(list, surveyBounds)) return Skip(ReadIssue::OutOfRange, r, list.size());
    AddPolyline(list, layer, closed, layers[size_t(layer)].constraint != 0);
    return r;
}

DXFFileCls::PairResult DXFFileCls::ReadLwPolylineEntity(Pair& pair) {
    int32_t layer = -1, visibility = 0, flags = 0;
    double elevation = 0.0;
    bool extrusion = false, bad = false;
    std::vector<double>&xs = scratchX_, &ys = scratchY_;
    xs.clear(), ys.clear();
    PairResult r;
    while ((r = ReadPair(pair)) == PairResult::Ok && pair.code != 0) {
        switch (pair.code) {
            case 8: layer = LayerIndex(pair.text, false); break;
            case 10: xs.push_back(pair.real), bad |= pair.bad; break;
            case 20: ys.push_back(pair.real), bad |= pair.bad; break;
            case 38: elevation = pair.real, bad |= pair.bad; break;
            case 60: visibility = pair.integer, bad |= pair.bad; break;
            case 70: flags = pair.integer, bad |= pair.bad; break;
            case 210:
            case 220:
            case 230: extrusion = true; break;
            default: break;
        }
    }
    if (r != PairResult::Ok || !Accepted(layer) || visibility != 0 || extrusion) return r;
    if (bad) return Skip(ReadIssue::BadNumber, r, std::min(xs.size(), ys.size()));
    const double s = Scale();
    double z = 0.0;
    if (!Scaled(elevation, s, z)) return Skip(ReadIssue::NonFiniteCoordinate, r, std::min(xs.size(), ys.size()));
    std::vector<DXFVertex>& list = scratchList_;
    list.resize(std::min(xs.size(), ys.size()));
    for (size_t i = 0; i < list.size(); ++i) {
        if (!Scaled(xs[i], s, list[i].x) || !Scaled(ys[i], s, list[i].y))
            return Skip(ReadIssue::NonFiniteCoordinate, r, std::min(xs.size(), ys.size()));
        list[i].z = z;
    }
    if (!InSurvey(list, surveyBounds)) return Skip(ReadIssue::OutOfRange, r, std::min(xs.size(), ys.size()));
    AddPolyline(list, layer, (flags & (1 | 32)) != 0, layers[size_t(layer)].constraint != 0);
    return r;
}

DXFFileCls::PairResult DXFFileCls::ReadSplineEntity(Pair& pair) {
    int32_t layer = -1, visibility = 0, flags = 0;
    bool bad = false;
    std::vector<double> xs, ys, zs;
    PairResult r;
    while ((r = ReadPair(pair)) == PairResult::Ok && pair.code != 0) {
        switch (pair.code) {
            case 8: layer = LayerIndex(pair.text, false); break;
            case 10: xs.push_back(pair.real), bad |= pair.bad; break;
            case 20: ys.push_back(pair.real), bad |= pair.bad; break;
            case 30: zs.push_back(pair.real), bad |= pair.bad; break;
            case 60: visibility = pair.integer, bad |= pair.bad; break;
            case 70: flags = pair.integer, bad |= pair.bad; break;
            default: break;
        }
    }
    if (r != PairResult::Ok || !Accepted(layer) || visibility != 0) return r;
    if (bad) return Skip(ReadIssue::BadNumber, r, std::min(xs.size(), ys.size()));
    const double s = Scale();
    std::vector<DXFVertex> list(std::min(xs.size(), ys.size()));
    for (size_t i = 0; i < list.size(); ++i) {
        if (!Scaled(xs[i], s, list[i].x) || !Scaled(ys[i], s, list[i].y) ||
            !Scaled(i < zs.size() ? zs[i] : 0.0, s, list[i].z))
            return Skip(ReadIssue::NonFiniteCoordinate, r, std::min(xs.size(), ys.size()));
    }
    if (!InSurvey(list, surveyBounds)) return Skip(ReadIssue::OutOfRange, r, std::min(xs.size(), ys.size()));
    AddPolyline(list, layer, (flags & (1 | 32)) != 0, layers[size_t(layer)].constraint != 0);
    return r;
}

DXFFileCls::PairResult DXFFileCls::Read3DFaceEntity(Pair& pair) {
    int32_t layer = -1;
    uint32_t has = 0;
    bool bad = false;
    double v[12] = {};  // x, y, z of corners 1 to 4
    PairResult r;
    while ((r = ReadPair(pair)) == PairResult::Ok && pair.code != 0) {
        if (pair.code == 8) {
            layer = LayerIndex(pair.text, false);
            continue;
        }
        const int32_t axis = pair.code / 10 - 1, corner = pair.code % 10;
        if (pair.code >= 10 && pair.code <= 33 && axis <= 2 && corner <= 3) {
            v[corner * 3 + axis] = pair.real;
            has |= 1u << (corner * 3 + axis);
            bad |= pair.bad;
        }
    }
    if (r != PairResult::Ok || !Accepted(layer) || has != 0xFFF) return r;
    if (bad) return Skip(ReadIssue::BadNumber, r, 4);
    const double s = Scale();
    for (double& c : v)
        if (!Scaled(c, s, c)) return Skip(ReadIssue::NonFiniteCoordinate, r, 4);
    for (int i = 0; i < 4; ++i)
        if (surveyBounds && !SurveyPoint(v[i * 3], v[i * 3 + 1], v[i * 3 + 2]))
            return Skip(ReadIssue::OutOfRange, r, 4);
    const bool triangle =
        std::fabs(v[6] - v[9]) < 1e-7 && std::fabs(v[7] - v[10]) < 1e-7 && std::fabs(v[8] - v[11]) < 1e-7;
    pointsRead += 4;
    const int32_t group = grouping != 0 ? ++groupCounter : 0;
    DXFFilePoint corners[4];
    int32_t stored[4];
    const int count = triangle ? 3 : 4;
    bool added = false;
    for (int i = 0; i < count; ++i) {
        corners[i].x = v[i * 3], corners[i].y = v[i * 3 + 1], corners[i].z = v[i * 3 + 2];
        corners[i].layer = layer, corners[i].group = group;
        stored[i] = StoreVertex(corners[i], added);
    }
    if (layers[size_t(layer)].constraint == 0) return r;
    for (int i = 0; i < count; ++i) AddConstraintBetween(stored[i], stored[(i + 1) % count], layer, group);
    return r;
}

// ---- the read ----------------------------------------------------------------------------------------------------

namespace {
// A refused read: error 8, with the reason when the file holds nothing this reader takes, is too large for it or is
// no text.
void Refuse(const BaseFileCls& reader, ReadReport& report, int32_t errorCode, bool notText) {
    // Where an unreadable group code stopped the read stays the reason when nothing came before it.
    ReadReport refused;
    refused.error = ErrReadingFile;
    if (report.Count(ReadIssue::DxfStoppedAt) != 0)
        refused.Note(ReadIssue::DxfStoppedAt, report.Words(ReadIssue::DxfStoppedAt));
    report = refused;
    NoteOpenFailure(reader, report);
    if (report.HasIssues())
        return;
    else if (errorCode == ErrNothingReadable)
        report.Note(ReadIssue::Empty);
    else if (notText)
        report.Note(ReadIssue::NotText);
}
}  // namespace

bool DXFFileCls::ScanLayers(bool& cancelled) {
    cancelled = false;
    report = ReadReport();
    FileCloser closer{*this};
    int32_t errorCode = 0;
    if (OpenAtEntities(errorCode) && ReadLayers(errorCode)) {
        if (!layers.empty()) return true;
        errorCode = ErrNothingReadable;
    }
    cancelled = stopped_;
    if (!cancelled) Refuse(*this, report, errorCode, notText_);
    return false;
}

bool DXFFileCls::ReadChosen(bool& cancelled) {
    cancelled = false;
    FileCloser closer{*this};
    ResetEntities();
    int32_t errorCode = ErrReadingFile;
    // A unit length of 0 would put every point on the origin.
    if (Scale() > 0.0 && std::isfinite(Scale()) && OpenAtEntities(errorCode) && ReadEntities(errorCode)) {
        limitArea = bounds;
        return true;
    }
    cancelled = stopped_;
    if (!cancelled) Refuse(*this, report, errorCode, notText_);
    return false;
}
