#include "fileio/TextExport.hpp"

#include "elements/StoryHelpers.hpp"
#include "fileio/FileDialogs.hpp"
#include "fileio/SaveFileDialog.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/FileUtils.hpp"
#include "foundation/Language.hpp"
#include "foundation/OwnedMemo.hpp"
#include "geometry/MeshBody.hpp"
#include "geometry/project/ElementModelRead.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr uint32_t TextFileTypeCode = 0x54455854;  // 'TEXT'
// Beyond this a double has no more digits to show; it also bounds the line buffer.
constexpr int16_t MaxDecimals = 17;

template <typename T>
int32_t HandleCount(T** handle) {
    if (handle == nullptr) return 0;
    return int32_t(BMGetHandleSize(reinterpret_cast<GSConstHandle>(handle)) / GSSize(sizeof(T)));
}

void AppendNumber(std::string& out, double value, int decimals) {
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    out += text;
}

bool MemoLines(const TextExportRec& record, QV_List<QV_String>& lines) {
    OwnedMemo memo;
    if (memo.Read(record.element.header.guid, APIMemoMask_All) != NoError) return false;
    const double level = record.element.mesh.level;
    // The last coordinate repeats the first; the counts never reach past what the host handed out.
    const int32_t last =
        std::min({record.element.mesh.poly.nCoords, HandleCount(memo->coords) - 1, HandleCount(memo->meshPolyZ) - 1});
    for (int32_t i = 1; i < last; ++i)
        lines.Insert(
            TextExport::FormatLine(record, (*memo->coords)[i].x, (*memo->coords)[i].y, (*memo->meshPolyZ)[i] + level));
    const int32_t levels = std::min(record.element.mesh.levelLines.nCoords, HandleCount(memo->meshLevelCoords));
    for (int32_t i = 0; i < levels; ++i) {
        const API_Coord3D& c = (*memo->meshLevelCoords)[i].c;
        lines.Insert(TextExport::FormatLine(record, c.x, c.y, c.z + level));
    }
    return true;
}

// The surface of the terrain's 3D model, its floor and skirt left out. The model stands on the story with the
// mesh's level in its heights; taken back to heights above the mesh's base, the mesh's level is added as to the
// mesh's own points, so both sources give one point one height.
bool ModelLines(const TextExportRec& record, QV_List<QV_String>& lines) {
    const double storyLevel = GetStoryLevel(record.element.header.floorInd);
    // No story level (the host would not tell) is no height to write.
    if (!std::isfinite(storyLevel) || std::fabs(storyLevel) >= 1e300) return false;
    MeshBody body;
    QV_List<API_Coord3D> vertices;
    if (ReadModelVertexList(body, record.element, vertices) == 0 || vertices.IsEmpty()) return false;
    const double level = record.element.mesh.level;
    const double base = storyLevel + level;
    for (const API_Coord3D& v : vertices)
        if (!lines.Insert(TextExport::FormatLine(record, v.x, v.y, (v.z - base) + level))) return false;
    return true;
}

}  // namespace

TextExportRec::TextExportRec() { std::memset(static_cast<void*>(&element), 0, sizeof element); }

namespace TextExport {

QV_String FormatLine(const TextExportRec& record, double x, double y, double z) {
    const int decimals = std::clamp<int>(record.decimals, 0, MaxDecimals);
    std::string line;
    AppendNumber(line, record.xFirst ? x : y, decimals);
    line += '\t';
    AppendNumber(line, record.xFirst ? y : x, decimals);
    line += '\t';
    AppendNumber(line, z, decimals);
    line += "\r\n";
    return QV_String(line.data(), uint32_t(line.size()), Encoding_UTF8);
}

bool AskFile(TextExportRec& record, bool& cancelled) {
    QV_String title, startName;
    GetResString(title, GeneralTableBase + LanguageIndex, 3);
    GetResString(startName, GeneralTableBase + LanguageIndex, 4);
    QV_String path;
    if (!AskSaveFileOfType(path, GetImportFileType(0), TextFileTypeCode, title, startName)) {
        cancelled = true;
        return true;
    }
    // A chosen file the host cannot name leaves the destination empty: a failed dialog, not a wrong name.
    record.destination = path;
    if (path.IsEmpty()) return false;
    return HasFileExtension(path, "TXT");
}

bool BuildLines(const TextExportRec& record, QV_List<QV_String>& lines) {
    return record.withModifications ? ModelLines(record, lines) : MemoLines(record, lines);
}

bool WriteLines(const TextExportRec& record, const QV_List<QV_String>& lines) {
    std::string bytes;
    for (int32_t i = 0; i < lines.GetCount(); ++i) {
        bytes += lines[i].ToStdString(Encoding_System);
    }
    return WriteBufferToFile(record.destination, bytes.data(), uint32_t(bytes.size()), false, true) == 0;
}

int32_t Run(TextExportRec& record, const API_Element& source, bool& cancelled, OptionsDialog askOptions) {
    record.element = source;
    QV_List<QV_String> lines;
    if (askOptions == nullptr || !askOptions(record)) {
        cancelled = true;
        return NoErrorCode;
    }
    // What the host would not tell is no fault of the file: only a failed write is told as one.
    API_WorkingUnitPrefs prefs;
    std::memset(&prefs, 0, sizeof prefs);
    if (ACAPI_Environment(APIEnv_GetPreferencesID, &prefs) != NoError) return ErrFindingData;
    record.decimals = prefs.lengthDecimals;
    if (!BuildLines(record, lines)) return ErrFindingData;
    return WriteLines(record, lines) ? NoErrorCode : ErrCreatingFile;
}

}  // namespace TextExport
