#include "elements/LibPartFrom3D.hpp"
#include "elements/LeftoverElements.hpp"

#include "elements/ElementHelpers.hpp"
#include "elements/LibPartHelpers.hpp"
#include "elements/LibPartSections.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/FileUtils.hpp"
#include "foundation/Language.hpp"
#include "foundation/SelectionHelpers.hpp"

#include "DGUnit.hpp"
#include "IO.hpp"
#include "UniString.hpp"

#include <cmath>
#include <cstring>

const char* const TempLibPartFile = "tmpCL.gsm";
const char* const TempLibPartName = "tmpCL";

namespace {
const char* const kZeroName = "CL0000000000000000000000000000000000000000000";  // 45 characters
const uint32_t kNameLength = 45;
const uint32_t kBaseRoom = 43;  // behind "CL"

QV_String FromUni(const GS::UniString& text) {
    QV_String out("");
    out.AppendWide(text.ToUStr(), text.GetLength());
    return out;
}

// A length for a GDL script: GDL works in metres whatever unit the user works in, so only the host's number
// format is taken, and its decimal comma becomes the point GDL reads.
QV_String ScriptLength(double metres) {
    DGUnitData unit;
    DGGetUnit(&unit);
    unit.lengthUnit = DG_UNIT_METER;
    QV_String text = FromUni(DGDoubleToStringUnit(&unit, metres, 3));
    text.ReplaceChar(text, ',', '.');
    return text;
}

// The parallel projection the object is saved in: the angle pair 270 and 240, the value 35.
API_3DProjectionInfo SaveProjection() {
    API_3DProjectionInfo p;
    std::memset(&p, 0, sizeof p);
    p.isPersp = 0;
    p.projMode = API3DProj_Axonometric;
    p.azimuth = 270.0;
    p.sunAzimuth = 240.0;
    p.sunAltitude = 35.0;
    for (int i = 0; i < 3; ++i) {
        p.transform[i * 4 + i] = 1.0;
        p.inverse[i * 4 + i] = 1.0;
    }
    return p;
}

bool FindTempLibPart(API_LibPart& part) {
    return LibPart_SearchByName(QV_String(TempLibPartName), APILib_ObjectID, part) == NoError && part.index > 0;
}

// The text's lines without their breaks (CR LF, LF or CR); no empty line after a final break.
void SplitLines(const QV_String& text, QV_List<QV_String>& lines) {
    lines.Clear();
    const uint32_t n = text.GetLength();
    uint32_t start = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const GS::UniChar c = text.GetAt(i);
        if (c != u'\r' && c != u'\n') continue;
        QV_String line;
        text.SubString(line, start, i - start);
        lines.Insert(line);
        if (c == u'\r' && i + 1 < n && text.GetAt(i + 1) == u'\n') ++i;
        start = i + 1;
    }
    if (start < n) {
        QV_String line;
        text.SubString(line, start, n - start);
        lines.Insert(line);
    }
}

int32_t FirstLineWith(const QV_List<QV_String>& lines, const char* word) {
    const QV_String w(word);
    for (int32_t i = 0; i < lines.GetCount(); ++i)
        if (lines[i].FindNoCase(w) >= 0) return i;
    return -1;
}

void ReplaceFirst(QV_List<QV_String>& lines, const char* word, const QV_String& with) {
    const int32_t i = FirstLineWith(lines, word);
    if (i >= 0) lines[i] = with;
}
}  // namespace

QV_String GeneratedPartName(const QV_String& terrainId) {
    QV_String base("");
    base += terrainId;
    const int32_t underscore = base.FindChar('_');
    if (underscore >= 0) {
        QV_String before, after;
        base.Left(before, uint32_t(underscore));
        base.Mid(after, uint32_t(underscore) + 1);
        base = before + after;
    }
    if (base.GetLength() > kBaseRoom) {
        QV_String tail;
        base.Right(tail, kBaseRoom);
        base = tail;
    }
    QV_String name;
    QV_String(kZeroName).Left(name, kNameLength - base.GetLength());
    return name + base;
}

void RewriteViewScriptLines(QV_List<QV_String>& lines, const QV_String& partName, const API_Box3D& bounds) {
    const QV_String temp(TempLibPartFile);
    for (int32_t i = 0; i < lines.GetCount(); ++i) {
        if (lines[i].Find(temp) < 0) continue;
        lines[i].Replace(lines[i], temp, partName + ".gsm");
        break;
    }
    for (int32_t i = lines.GetCount() - 1; i >= 0; --i)
        if (lines[i].FindNoCase(QV_String("ADDZ")) >= 0) lines.Remove(i);
    const double width = std::fabs(bounds.xMax - bounds.xMin);
    const double depth = std::fabs(bounds.yMax - bounds.yMin);
    ReplaceFirst(lines, "MULX", "MULX A/" + ScriptLength(width));
    ReplaceFirst(lines, "MULY", "MULY B/" + ScriptLength(depth));
    ReplaceFirst(lines, "ADDX", "ADDX " + ScriptLength(-bounds.xMin));
    ReplaceFirst(lines, "ADDY", "ADDY " + ScriptLength(-bounds.yMin));
    ReplaceFirst(lines, "BINARY", QV_String("BINARY 0,1"));
}

bool WriteTempLibPart2DScript(const BaseCls&) {
    API_LibPart temp;
    if (!FindTempLibPart(temp)) return false;
    QV_List<QV_String> lines;
    if (!lines.Insert(QV_String("PROJECT2 3, 270, 2\r\n"))) return false;
    return LibPartSection_WriteText(temp.index, API_Sect2DScript, lines, 0);
}

bool RewriteTempLibPart3DScript(const BaseCls& cls, const QV_String& partName) {
    API_LibPart temp;
    if (!FindTempLibPart(temp)) return false;
    QV_LibPartSection section;
    GSErrCode err = NoError;
    if (!LibPartSection_Load(temp.index, API_Sect3DScript, section, err)) return false;
    QV_String script("");
    if (section.text != nullptr)
        script = FromUni(*section.text);
    else if (section.content != nullptr)
        script.SetBytes(*section.content, uint32_t(BMGetHandleSize(section.content)), Encoding_System);
    QV_List<QV_String> lines;
    SplitLines(script, lines);
    RewriteViewScriptLines(lines, partName, cls.bounds);
    for (QV_String& line : lines) line += "\r\n";
    return LibPartSection_WriteText(temp.index, API_Sect3DScript, lines, section.header.subIdent);
}

bool SaveViewAsTempLibPart(const BaseCls& cls, const QV_String& partName, QV_String& outPath) {
    // The view shows the selection: one the host did not clear keeps the user's elements in it, one it did not
    // take leaves the terrain out, and either would be saved as the object.
    if (ACAPI_Element_DeselectAll() != NoError || !SelectElement(cls.element, true)) {
        ACAPI_Element_DeselectAll();
        return false;
    }
    GS::Array<API_LibraryInfo> libraries;
    int32_t libIndex = -1;
    // Without a library to save into there is no folder for the object: nothing is saved (a bare "\tmpCL.gsm"
    // would put it at the root of the drive).
    if (ACAPI_Environment(APIEnv_GetLibrariesID, &libraries, &libIndex) != NoError || libIndex < 0 ||
        uint32_t(libIndex) >= libraries.GetSize()) {
        ACAPI_Element_DeselectAll();
        return false;
    }
    LocationToPathString(outPath, libraries[uint32_t(libIndex)].location);
    if (outPath.IsEmpty()) {
        ACAPI_Element_DeselectAll();
        return false;
    }
    outPath += "\\";
    outPath += TempLibPartFile;
    if (ACAPI_Automate(APIDo_ShowSelectionIn3DID) != NoError) {
        ACAPI_Element_DeselectAll();
        return false;
    }

    bool saved = false;
    API_3DProjectionInfo current;
    std::memset(&current, 0, sizeof current);
    if (ACAPI_Environment(APIEnv_Get3DProjectionSetsID, &current) == NoError) {
        API_3DProjectionInfo parallel = SaveProjection();
        if (ACAPI_Environment(APIEnv_Change3DProjectionSetsID, &parallel) == NoError) {
            ACAPI_Automate(APIDo_RebuildID);
            IO::Location location(GS::UniString(outPath.GetBuffer(), outPath.GetLength()));
            API_FileSavePars file = {};
            file.fileTypeID = APIFType_GDLObject;
            file.file = &location;
            API_SavePars_Object options = {};
            options.format = APIObjectSave_ModelScript;
            saved = ACAPI_Automate(APIDo_SaveID, &file, &options) == NoError;
            // The user's 3D projection not given back is a change the step could not undo.
            if (ACAPI_Environment(APIEnv_Change3DProjectionSetsID, &current) != NoError) NoteStrandedChange();
        }
    }
    ACAPI_Automate(APIDo_ShowAllIn3DID);
    API_WindowInfo plan = {};
    plan.typeID = APIWind_FloorPlanID;
    // The object is placed in the floor plan: left in the 3D window, the command would go on there unseen.
    const bool backInPlan = ACAPI_Database(APIDb_ChangeWindowID, &plan) == NoError;
    // The element selected for the view is not the user's: left selected, it would outlast the command.
    const bool cleared = ACAPI_Element_DeselectAll() == NoError;

    // What a failed save left in the library is an earlier run's object: it is not this element's.
    if (!saved || !cleared || !backInPlan) return false;
    bool ok = WriteTempLibPart2DScript(cls);
    ok = RewriteTempLibPart3DScript(cls, partName) && ok;
    ok = LibPart_CreateFromPart(QV_String(TempLibPartFile), true) && ok;
    return ok;
}

bool CreateLibPartFromTemp(const BaseCls& cls, const QV_String& partName) {
    API_LibPart temp;
    if (!FindTempLibPart(temp)) return false;
    QV_String path("");
    GetLibPartPath(temp.index, path);
    QV_String folder("");
    const int32_t slash = path.ReverseFindChar('\\');
    if (slash >= 0) path.Left(folder, uint32_t(slash));
    QV_List<QV_LibPartSection> sections;
    if (!LibPartSection_Read(temp.index, sections)) return false;
    const double width = std::fabs(cls.bounds.xMax - cls.bounds.xMin);
    const double depth = std::fabs(cls.bounds.yMax - cls.bounds.yMin);
    int32_t newIndex = -1;
    return LibPart_CreateFromSections(temp.index, folder, sections, partName, QV_String(""), false, nullptr, &width,
                                      &depth, false, nullptr, newIndex);
}

int32_t BaseCls::CreateLibPartObject(uint8_t transfer, int16_t placeCode, uint16_t a, void* b, API_Element* c) {
    int32_t result = 0;
    API_Element defaults;
    API_ElementMemo defaultsMemo;
    std::memset(static_cast<void*>(&defaultsMemo), 0, sizeof defaultsMemo);
    if (GetObjectDefaults(defaults, &defaultsMemo)) {
        const QV_String partName = GeneratedPartName(descriptor.TerrainId);
        QV_String path("");
        // The parts made for the object belong to its command: a failure anywhere, a transfer or a replaced
        // object it could not remove among them, takes them back with the object (the caller's command, when
        // it runs inside one), and no part is left in the library for an object that is not there.
        result = RunWholeCommand([&] {
            return SaveViewAsTempLibPart(*this, partName, path) && CreateLibPartFromTemp(*this, partName) &&
                CreateObject(partName, placeCode, a, b, c) && TransferSettings(transfer != 0, b != nullptr);
        })
            ? 1
            : 0;
        ReadObjectDefaults(defaults, &defaultsMemo);
    } else {
        ACAPI_DisposeElemMemoHdls(&defaultsMemo);
    }
    ACAPI_Automate(APIDo_RebuildID);
    return result;
}
