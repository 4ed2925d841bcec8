#include "fileio/ImportedPointPlacement.hpp"

#include "elements/WholeCommand.hpp"
#include "elements/ActiveStory.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/ModelUpdate.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/ObservedElements.hpp"
#include "settings/ProjectOffset.hpp"

#include "UniString.hpp"

#include <algorithm>

namespace {

constexpr int32_t CreationText = 168;
constexpr int32_t PointsText = 51;
constexpr int32_t UndoEntry = 2;
constexpr int32_t CodeNumberLimit = 100000;

GS::UniString Uni(const QV_String& text) { return GS::UniString(text.GetBuffer(), text.GetLength()); }

bool PlacePoints(ColumnFileCls& reader, ImportOptionsRec& stored) {
    ElemDescriptor descriptor;
    descriptor.Reset();
    API_Element element = {};
    element.header.typeID = API_HotspotID;
    if (ACAPI_Element_GetDefaults(&element, nullptr) != NoError) return false;
    element.header.floorInd = ActiveStoryIndex();
    element.header.layer = reader.options.layer;
    element.hotspot.pen = reader.options.pen;
    element.hotspot.height = 0.0;
    const ElementWriting writing;

    const std::vector<ASCFile::ASCFilePoint>& points = reader.points;
    const size_t count = points.size();
    const size_t batches = (count + PlacementBatchSize - 1) / PlacementBatchSize;
    bool failed = false;
    // Every element this placement made, so that a failure takes them all back, and the code number it began at.
    std::vector<API_Guid> made;
    const int32_t firstCodeNumber = reader.options.codeNumber;
    const double offsetX = ProjectOffset.x;
    const double offsetY = ProjectOffset.y;
    const API_Box& area = reader.limitArea;
    const bool limited = reader.limitToArea != 0;
    auto inside = [&](const ASCFile::ASCFilePoint& p) {
        return !limited || (p.x >= area.xMin && p.x <= area.xMax && p.y >= area.yMin && p.y <= area.yMax);
    };
    // Nothing to place leaves the project as it was: no undo step.
    if (std::none_of(points.begin(), points.end(), inside)) return true;

    QV_String undoText;
    GetResString(undoText, UndoTableBase + LanguageIndex, UndoEntry);
    bool ran = false;
    const bool done = RunCommand(Uni(undoText), [&] {
        ran = true;
        // Every point of a file read whole is placed: the lists that take one entry a point get their room once.
        if (!limited) {
            made.reserve(count);
            ObservedElements::ExpectAttached(count);
        }
        GS::UniString title("Lodravix");
        int16_t phases = int16_t(std::min<size_t>(batches, 32767));
        ACAPI_Interface(APIIo_InitProcessWindowID, &title, &phases);
        QV_String creation, pointsWord;
        GetResString(creation, GeneralTableBase + LanguageIndex, CreationText);
        GetResString(pointsWord, GeneralTableBase + LanguageIndex, PointsText);
        for (size_t batch = 0; batch < batches && !failed; ++batch) {
            const size_t begin = batch * PlacementBatchSize;
            const size_t end = std::min(count, begin + PlacementBatchSize);
            QV_String number;
            number.FromLong(int32_t(end - begin));
            GS::UniString phase = Uni(creation + " " + number + " " + pointsWord);
            int32_t maximum = int32_t(end - begin);
            ACAPI_Interface(APIIo_SetNextProcessPhaseID, &phase, &maximum);
            for (size_t i = begin; i < end; ++i) {
                int32_t value = int32_t(i - begin + 1);
                ACAPI_Interface(APIIo_SetProcessValueID, &value);
                const ASCFile::ASCFilePoint& p = points[i];
                // The area is in project coordinates, as the points; borders belong to it.
                if (!inside(p)) continue;
                element.hotspot.pos.x = p.x - offsetX;
                element.hotspot.pos.y = p.y - offsetY;
                if (CreateElementWithMemo(&element, nullptr, false) != NoError) {
                    failed = true;
                    break;
                }
                made.push_back(element.header.guid);
                if (ACAPI_Element_AttachObserver(element.header.guid) != NoError) {
                    failed = true;
                    break;
                }
                descriptor.Value = p.z;
                descriptor.Name = reader.overwriteCode ? reader.options.code : ASCFile::PointCode(reader.texts, p);
                descriptor.Number = reader.options.codeNumber;
                descriptor.AppendNumber = reader.overwriteCode;
                descriptor.Note = ASCFile::PointComment(reader.texts, p);
                if (!ElemUserData_WriteRecord(descriptor, ElemKind_Point, element.header)) {
                    failed = true;
                    break;
                }
                if (reader.overwriteCode) reader.options.codeNumber = (reader.options.codeNumber + 1) % CodeNumberLimit;
            }
        }
        ACAPI_Interface(APIIo_CloseProcessWindowID);
        // A point without its record is no terrain point, and an import cut short is no import: nothing of a
        // failed placement stays.
        if (failed && !made.empty()) {
            GS::Array<API_Guid> guids;
            for (const API_Guid& guid : made) guids.Push(guid);
            if (ACAPI_Element_Delete(guids) == NoError) {
                made.clear();
                reader.options.codeNumber = firstCodeNumber;
            }
        }
        if (made.empty()) writing.NoneMade();
        return failed ? CommandEnd::Failed : CommandEnd::Done;
    });
    // A command the host did not run placed nothing: the user must hear of it.
    if (!done || !ran) {
        failed = true;
        if (!ran) writing.NoneMade();
    }

    // What the next import starts from.
    stored.pen = reader.options.pen;
    stored.layer = reader.options.layer;
    if (reader.overwriteCode) {
        if (stored.code != reader.options.code) stored.code = reader.options.code;
        stored.codeNumber = reader.options.codeNumber;
    }
    ACAPI_Automate(APIDo_RebuildID);
    ACAPI_Automate(APIDo_ZoomID);
    return !failed;
}

}  // namespace

bool CreateAscPoints(ASCFile::ASCFileCls& reader, ImportOptionsRec& stored) { return PlacePoints(reader, stored); }

bool CreateTextPoints(TextFileCls& reader, ImportOptionsRec& stored) { return PlacePoints(reader, stored); }
