// The record lines of one SOSI object: type, texts, references, radius, height, unit and coordinates.
#include "sosi/SOSIFileCls.hpp"
#include "sosi/SOSITokens.hpp"

#include <cmath>
#include <cstdlib>

namespace {

constexpr double LowHeight = 1e-7;

// Reads tuples from token `first` on while they are complete and numeric; a partial or non-numeric tuple
// ends the line (a "...KP" or comment follows the coordinates).
int32_t ReadTuples(const SOSITokens& t, int32_t first, int32_t layout, double unit, double height, bool skipLow,
                   QV_List<API_Coord3D>& points) {
    const int32_t width = layout == 1 ? 2 : 3;
    int32_t accepted = 0;
    for (int32_t i = first; i + width <= t.Count(); i += width) {
        double v[3] = {0.0, 0.0, 0.0};
        bool ok = true;
        for (int32_t k = 0; k < width && ok; ++k) ok = t.Number(i + k, v[k]);
        if (!ok) break;
        API_Coord3D c;
        if (layout == 1) {
            c = API_Coord3D{v[1] * unit, v[0] * unit, height};
        } else if (layout == 3) {
            c = API_Coord3D{v[1] * unit, v[0] * unit, v[2] * unit};
        } else {
            c = API_Coord3D{v[0] * unit, v[1] * unit, v[2] * unit};
        }
        if (skipLow && c.z <= LowHeight) continue;
        if (points.Insert(c)) ++accepted;
    }
    return accepted;
}

}  // namespace

void SOSIFileCls::ReadObjectRecords(const SOSIPrim& object, int32_t fileIndex, QV_List<API_Coord3D>& points) {
    points.Clear();
    SOSIFileData* fileData = files.Get(fileIndex);
    if (fileData == nullptr) return;
    scan.line = object.firstLine;
    scan.lastLine = std::min(object.lastLine, fileData->lines.GetCount() - 1);
    bool objectUnit = false, started = false;
    while (scan.line <= scan.lastLine) {
        // Record lines start with a dot; most lines are coordinates.
        const bool record = fileData->lines[scan.line].GetAt(0) == u'.';
        if (record &&
            (ParseObjTypeLine(*fileData, true) || ParseTextLine(*fileData) || ParseRefBlock(*fileData, fileIndex) ||
             ParseRadiusLine(*fileData) || ParseHeightLine(*fileData)))
            continue;
        if (record && ParseUnitLine(*fileData, false)) {
            objectUnit = true;
            continue;
        }
        const int32_t keywordLine = scan.line;
        if (record && ParseCoordinateKeyword(*fileData)) {
            started = true;
            // Coordinates may follow the keyword on its own line.
            SOSITokens t(fileData->lines[keywordLine]);
            ReadTuples(t, 1, fileData->coordinateLayout, objectUnit ? fileData->objectUnit : fileData->headerUnit,
                       scratch.height, skipLowHeights != 0, points);
            continue;
        }
        if (!started) {
            ++scan.line;
            continue;
        }
        ReadCoordinateLine(*fileData, points, objectUnit);
    }
}

bool SOSIFileCls::ParseObjTypeLine(SOSIFileData& fileData, bool moveOn) {
    SOSITokens t(fileData.lines[scan.line]);
    if (t.Count() < 2 || !t.Is(0, "..OBJTYPE")) return false;
    scan.type = t.Text(1);
    if (moveOn) ++scan.line;
    return true;
}

bool SOSIFileCls::ParseTextLine(SOSIFileData& fileData) {
    SOSITokens t(fileData.lines[scan.line]);
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
    ++scan.line;
    return true;
}

bool SOSIFileCls::ParseRefBlock(SOSIFileData& fileData, int32_t fileIndex) {
    {
        const SOSILine first = fileData.lines[scan.line];
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
    while (scan.line <= scan.lastLine && scan.line < fileData.lines.GetCount()) {
        const SOSILine line = fileData.lines[scan.line];
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
        ++scan.line;
    }
    if (!group.IsEmpty() && !keepRecords) {
        // The curves of the outer boundary become part of the surface: drop them, from this file only.
        if (dataIds.size() != size_t(data.GetCount())) {
            dataIds.clear();
            for (const SOSIData& d : data) dataIds.push_back(SOSIIdValue(d.id));
        }
        for (int32_t g = 0; g < group.GetCount(); ++g) {
            const long value = SOSIIdValue(group[g]);
            for (int32_t d = 0; d < data.GetCount(); ++d)
                if (dataIds[size_t(d)] == value && data[d].fileIndex == fileIndex) {
                    PointRecordGone(data[d]);
                    data.Remove(d);
                    dataIds.erase(dataIds.begin() + d);
                    break;
                }
        }
    }
    if (!group.IsEmpty()) scratch.refs.Insert(group);
    return true;
}

bool SOSIFileCls::ParseRadiusLine(SOSIFileData& fileData) {
    SOSITokens t(fileData.lines[scan.line]);
    if (t.Count() < 2 || !t.Is(0, "..RADIUS")) return false;
    scratch.radius = StrToDouble(t.Text(1).ToStdString(Encoding_System).c_str());
    ++scan.line;
    return true;
}

bool SOSIFileCls::ParseHeightLine(SOSIFileData& fileData) {
    const SOSILine line = fileData.lines[scan.line];
    if (line.GetLength() < 3 || line.GetAt(2) != u'H') return false;
    SOSITokens t(line);
    if (t.Count() < 2 || !t.StartsWith(0, "..H") || !t.EndsWith(0, "YDE")) return false;
    scratch.height = SOSINumber(t.Text(1));
    ++scan.line;
    return true;
}

bool SOSIFileCls::ParseCoordinateKeyword(SOSIFileData& fileData) {
    const int32_t layout = SOSICoordinateLayout(fileData.lines[scan.line]);
    if (layout == 0) return false;
    fileData.coordinateLayout = layout;
    ++scan.line;
    return true;
}

bool SOSIFileCls::ReadCoordinateLine(SOSIFileData& fileData, QV_List<API_Coord3D>& points, bool objectUnit) {
    const SOSILine line = fileData.lines[scan.line];
    ++scan.line;
    if (line.GetLength() > 0 && line.GetAt(0) == u'.') return false;
    SOSITokens t(line);
    if (t.Count() < 2) return false;
    return ReadTuples(t, 0, fileData.coordinateLayout, objectUnit ? fileData.objectUnit : fileData.headerUnit,
                      scratch.height, skipLowHeights != 0, points) > 0;
}
