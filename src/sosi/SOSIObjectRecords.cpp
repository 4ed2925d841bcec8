#include "sosi/SOSIObjectRecords.hpp"

#include "sosi/SOSITokens.hpp"
#include "sosi/SOSIValueBounds.hpp"

#include <cmath>
#include <cstdlib>

namespace {

constexpr double LowHeight = 1e-7;

}  // namespace

int32_t SOSIObjectRecords::ReadTuples(const SOSIFileData& file, const SOSITokens& t, int32_t first, int32_t layout,
                                      double unit, bool skipLow, QV_List<API_Coord3D>& points) {
    const int32_t width = layout == 1 ? 2 : 3;
    int32_t accepted = 0;
    for (int32_t i = first; i + width <= t.Count(); i += width) {
        double v[3] = {0.0, 0.0, 0.0};
        bool ok = true;
        for (int32_t k = 0; k < width && ok; ++k) ok = t.Number(i + k, v[k]);
        if (!ok) {
            // A line that starts as coordinates but whose numbers cannot be read (12a 300) gives no point: told.
            const GS::UniChar c0 = t.At(first, 0);
            if (i == first && ((c0 >= u'0' && c0 <= u'9') || c0 == u'-' || c0 == u'+' || c0 == u'.' || c0 == u','))
                issues.Note(ReadIssue::BadNumber);
            break;
        }
        API_Coord3D c;
        if (layout == 1) {
            c = API_Coord3D{v[1] * unit, v[0] * unit, scratch.height};
        } else if (layout == 3) {
            c = API_Coord3D{v[1] * unit, v[0] * unit, v[2] * unit};
        } else {
            c = API_Coord3D{v[0] * unit, v[1] * unit, v[2] * unit};
        }
        // Where the point lands once its file's origin is added, and its height, must be a survey's.
        if (!SOSIPlanValueHeld(c.x) || !SOSIPlanValueHeld(c.y) || !SOSIPlanValueHeld(c.x + file.originEast) ||
            !SOSIPlanValueHeld(c.y + file.originNorth) || !SOSIHeightHeld(c.z)) {
            issues.Note(ReadIssue::OutOfRange);
            continue;
        }
        if (skipLow && c.z <= LowHeight) continue;
        if (points.Insert(c)) ++accepted;
    }
    return accepted;
}

void SOSIObjectRecords::Reset() {
    scratch.height = 0.0;
    scratch.texts.Clear();
    scratch.refs.Clear();
    scratch.radius = 0.0;
    scratch.boundaries.clear();
}

bool SOSIObjectRecords::Read(const SOSIFileData& file, const SOSIPrim& object, bool skipLowHeights,
                             QV_List<API_Coord3D>& points) {
    points.Clear();
    at = object.firstLine;
    lastLine = std::min(object.lastLine, file.lines.GetCount() - 1);
    // The object's own unit, once it gives one, else the header's; the layout of its last keyword line.
    double objectUnit = 1.0;
    bool ownUnit = false, started = false;
    int32_t layout = -1;
    while (at <= lastLine) {
        // Record lines start with a dot; most lines are coordinates.
        const bool record = file.lines[at].GetAt(0) == u'.';
        if (record &&
            (ParseObjTypeLine(file) || ParseTextLine(file) || ParseRefBlock(file) || ParseRadiusLine(file) ||
             ParseHeightLine(file)))
            continue;
        if (record && ParseUnitLine(file, objectUnit)) {
            ownUnit = true;
            // A unit no survey uses would stack the object's points or spread them past any map: not read.
            if (!SOSIUnitHeld(objectUnit)) {
                issues.Note(ReadIssue::BadUnit);
                points.Clear();
                return false;
            }
            continue;
        }
        const double unit = ownUnit ? objectUnit : file.headerUnit;
        const int32_t keywordLine = at;
        if (const int32_t found = record ? ParseCoordinateKeyword(file) : 0) {
            layout = found;
            started = true;
            // Coordinates may follow the keyword on its own line.
            SOSITokens t(file.lines[keywordLine]);
            ReadTuples(file, t, 1, layout, unit, skipLowHeights, points);
            continue;
        }
        if (!started) {
            ++at;
            continue;
        }
        // A coordinate line: every complete tuple it holds.
        const SOSILine text = file.lines[at];
        ++at;
        if (text.GetLength() > 0 && text.GetAt(0) == u'.') continue;
        SOSITokens t(text);
        if (t.Count() >= 2) ReadTuples(file, t, 0, layout, unit, skipLowHeights, points);
    }
    return true;
}

bool SOSIObjectRecords::ParseObjTypeLine(const SOSIFileData& file) {
    SOSITokens t(file.lines[at]);
    if (t.Count() < 2 || !t.Is(0, "..OBJTYPE")) return false;
    ++at;  // the type is the scan's
    return true;
}

bool SOSIObjectRecords::ParseTextLine(const SOSIFileData& fileData) {
    SOSITokens t(fileData.lines[at]);
    if (t.Count() < 2 || !t.Is(0, "..STRENG")) return false;
    QV_String text = t.Text(1);
    for (int32_t i = 2; i < t.Count(); ++i) text += QV_String(" ") + t.Text(i);
    uint32_t start = 0, end = text.GetLength();
    if (end > 0 && text.GetAt(0) == u'"') {
        start = 1;
        while (start < end && (text.GetAt(start) == u' ' || text.GetAt(start) == u'\t')) ++start;
        if (end > start && text.GetAt(end - 1) == u'"') {
            --end;
            while (end > start && (text.GetAt(end - 1) == u' ' || text.GetAt(end - 1) == u'\t')) --end;
        }
    }
    QV_String cut;
    text.SubString(cut, start, end - start);
    scratch.texts.Insert(cut);
    ++at;
    return true;
}

bool SOSIObjectRecords::ParseRefBlock(const SOSIFileData& fileData) {
    {
        const SOSILine first = fileData.lines[at];
        if (!SOSIStartsWith(first, "..REF")) return false;
    }
    SOSIRefs group;
    auto addId = [&](QV_String id) {
        if (id.GetLength() > 0 && id.GetAt(0) == u':') {
            QV_String rest;
            id.Mid(rest, 1);
            id = rest;
        }
        if (!id.IsEmpty()) group.Insert(id);
    };
    bool firstLine = true;
    while (at <= lastLine && at < fileData.lines.GetCount()) {
        const SOSILine line = fileData.lines[at];
        if (!firstLine && !(line.GetAt(0) == u':' || SOSIStartsWith(line, "(:"))) break;
        SOSITokens t(line);
        for (int32_t i = firstLine ? 1 : 0; i < t.Count(); ++i) {
            uint32_t from = 0;
            if (t.At(i, 0) == u'(') {
                if (!group.IsEmpty()) {
                    scratch.refs.Insert(group);
                    group.Clear();
                }
                from = 1;
            }
            QV_String token = t.Text(i, from);
            if (token.GetLength() > 0 && token.GetAt(token.GetLength() - 1) == u')') {
                QV_String cut;
                token.Left(cut, token.GetLength() - 1);
                addId(cut);
                if (!group.IsEmpty()) scratch.refs.Insert(group);
                group.Clear();
            } else {
                addId(token);
            }
        }
        firstLine = false;
        ++at;
    }
    // The curves of the outer boundary become part of the surface: the assembly drops their own records.
    if (!group.IsEmpty()) scratch.boundaries.push_back(group);
    if (!group.IsEmpty()) scratch.refs.Insert(group);
    return true;
}

bool SOSIObjectRecords::ParseRadiusLine(const SOSIFileData& fileData) {
    SOSITokens t(fileData.lines[at]);
    if (t.Count() < 2 || !t.Is(0, "..RADIUS")) return false;
    // From the first digit, sign or separator on, exponent included; without a digit the largest double.
    const QV_String text = t.Text(1);
    uint32_t from = 0;
    auto starts = [](GS::UniChar c) { return (c >= u'0' && c <= u'9') || c == u'-' || c == u'.' || c == u','; };
    while (from < text.GetLength() && !starts(text.GetAt(from))) ++from;
    QV_String number;
    text.Mid(number, from);
    bool digit = false;
    for (uint32_t k = 0; k < number.GetLength() && !digit; ++k)
        digit = number.GetAt(k) >= u'0' && number.GetAt(k) <= u'9';
    scratch.radius = digit ? SOSINumber(number) : 1.7976931348623157e308;
    // A radius no survey holds (or none written) draws no arc: the object that takes it is left out, counted.
    if (!SOSIPlanValueHeld(scratch.radius)) {
        issues.Note(ReadIssue::OutOfRange);
        scratch.radius = std::nan("");
    }
    ++at;
    return true;
}

bool SOSIObjectRecords::ParseHeightLine(const SOSIFileData& fileData) {
    const SOSILine line = fileData.lines[at];
    if (line.GetLength() < 3 || line.GetAt(2) != u'H') return false;
    SOSITokens t(line);
    if (t.Count() < 2 || !t.StartsWith(0, "..H") || !t.EndsWith(0, "YDE")) return false;
    scratch.height = SOSINumber(t.Text(1));
    // Not a survey's height: the points that would take it are refused, each counted.
    if (!SOSIHeightHeld(scratch.height)) scratch.height = std::nan("");
    ++at;
    return true;
}

bool SOSIObjectRecords::ParseUnitLine(const SOSIFileData& fileData, double& unit) {
    SOSITokens t(fileData.lines[at]);
    if (t.Count() < 2 || !t.Is(0, "...ENHET")) return false;
    unit = SOSINumber(t.Text(1));
    ++at;
    return true;
}

int32_t SOSIObjectRecords::ParseCoordinateKeyword(const SOSIFileData& fileData) {
    const int32_t layout = SOSICoordinateLayout(fileData.lines[at]);
    if (layout != 0) ++at;
    return layout;
}
