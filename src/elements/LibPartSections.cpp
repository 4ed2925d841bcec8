#include "elements/LibPartSections.hpp"
#include "elements/LeftoverElements.hpp"

#include "elements/BaseLP.hpp"
#include "elements/ElementHelpers.hpp"
#include "foundation/FileUtils.hpp"
#include "elements/LibPartHelpers.hpp"
#include "foundation/ACAPI.hpp"

#include "IO.hpp"
#include "UniString.hpp"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace {

// A copy of a parameter list with copies of its array cells; null when memory fails.
GSHandle CopyParamRecords(GSConstHandle source) {
    GSHandle copy = nullptr;
    if (BMHandleToHandle(source, &copy) != NoError || copy == nullptr) return nullptr;
    const GSSize n = BMGetHandleSize(copy) / GSSize(sizeof(API_AddParType));
    for (GSSize i = 0; i < n; ++i) {
        API_AddParType& rec = reinterpret_cast<API_AddParType*>(*copy)[i];
        if (rec.dim1 == 0 || rec.dim2 == 0 || rec.value.array == nullptr) continue;
        GSHandle cells = nullptr;
        if (BMHandleToHandle(rec.value.array, &cells) != NoError || cells == nullptr) {
            // The records from here on still point at the source's cells: they are not ours to free.
            for (GSSize k = i; k < n; ++k) {
                API_AddParType& rest = reinterpret_cast<API_AddParType*>(*copy)[k];
                if (rest.dim1 != 0 && rest.dim2 != 0) rest.value.array = nullptr;
            }
            ReleaseParamRecords(&copy);
            return nullptr;
        }
        rec.value.array = cells;
    }
    return copy;
}

// The text for the host: the section's own, through the caller's scratch string when one is given.
const GS::UniString* TextFor(const QV_LibPartSection& section, GS::UniString* scratch) {
    if (section.text == nullptr) return nullptr;
    if (scratch == nullptr) return section.text;
    *scratch = *section.text;
    return scratch;
}

// The host's parameter definition section from a parameter list and sizes, with the details applied; null on
// a host error.
GSHandle MakeParamDef(const API_LibPart& libPart, GSHandle params, double a, double b,
                      const API_LibPartDetails* details) {
    GSHandle section = nullptr;
    if (ACAPI_LibPart_GetSect_ParamDef(&libPart, reinterpret_cast<API_AddParType**>(params), a, b, &section) !=
        NoError) {
        BMKillHandle(&section);
        return nullptr;
    }
    if (details != nullptr && ACAPI_LibPart_SetDetails_ParamDef(&libPart, section, details) != NoError)
        BMKillHandle(&section);
    return section;
}

}  // namespace

// --- QV_LibPartSection --------------------------------------------------------------------------------------------

QV_LibPartSection::QV_LibPartSection(const QV_LibPartSection& other) { CopyFrom(other); }

QV_LibPartSection& QV_LibPartSection::operator=(const QV_LibPartSection& other) {
    if (this != &other) CopyFrom(other);
    return *this;
}

void QV_LibPartSection::Clear() {
    if (IsParamSection())
        ReleaseParamRecords(&content);
    else
        BMKillHandle(&content);
    delete text;
    text = nullptr;
    std::memset(&header, 0, sizeof header);
    a = b = 0.0;
}

void QV_LibPartSection::Adopt(const API_LibPartSection& sectionHeader, GSHandle sectionContent,
                              GS::UniString* sectionText) {
    Clear();
    header = sectionHeader;
    content = sectionContent;
    text = sectionText;
}

bool QV_LibPartSection::CopyFrom(const QV_LibPartSection& other) {
    if (this == &other) return true;
    Clear();
    GSHandle copy = nullptr;
    if (other.content != nullptr) {
        if (other.IsParamSection())
            copy = CopyParamRecords(other.content);
        else if (BMHandleToHandle(other.content, &copy) != NoError)
            copy = nullptr;
        if (copy == nullptr) return false;
    }
    GS::UniString* textCopy = nullptr;
    if (other.text != nullptr) {
        textCopy = new (std::nothrow) GS::UniString(*other.text);
        if (textCopy == nullptr) {
            if (other.IsParamSection())
                ReleaseParamRecords(&copy);
            else
                BMKillHandle(&copy);
            return false;
        }
    }
    header = other.header;
    a = other.a;
    b = other.b;
    content = copy;
    text = textCopy;
    return true;
}

// --- reading ------------------------------------------------------------------------------------------------------

namespace {
// LibPartSection_Read, also telling how many sections could not be read.
bool ReadSections(int32_t libIndex, QV_List<QV_LibPartSection>& outSections, GS::UniString* text, int32_t& skipped) {
    skipped = 0;
    outSections.Clear();
    int32_t count = 0;
    API_LibPartSection** list = nullptr;
    if (ACAPI_LibPart_GetSectionList(libIndex, &count, &list) != NoError) {
        BMKillHandle(reinterpret_cast<GSHandle*>(&list));
        return false;
    }
    // Never more headers than the handle holds.
    const GSSize held = BMGetHandleSize(reinterpret_cast<GSConstHandle>(list)) / GSSize(sizeof(API_LibPartSection));
    const int32_t n = count < 0 ? 0 : (GSSize(count) < held ? count : int32_t(held));
    GS::UniString scratch;
    GS::UniString* textArg = text != nullptr ? text : &scratch;
    bool ok = true;
    for (int32_t i = 0; i < n && ok; ++i) {
        API_LibPartSection header = (*list)[i];
        GSHandle content = nullptr;
        GS::UniString* ownText = nullptr;
        if (header.sectType == API_SectParamDef) {
            double a = 0.0, b = 0.0;
            if (!BaseLP::GetLibPartParams(libIndex, &content, &a, &b, nullptr)) {
                ReleaseParamRecords(&content);
                ++skipped;
                continue;
            }
            if (!outSections.Insert(QV_LibPartSection())) {
                ReleaseParamRecords(&content);
                ok = false;
                break;
            }
            QV_LibPartSection& section = outSections[outSections.GetCount() - 1];
            section.Adopt(header, content, nullptr);
            section.a = a;
            section.b = b;
            continue;
        }
        textArg->Clear();
        bool withText = true;
        if (ACAPI_LibPart_GetSection(libIndex, &header, &content, textArg) != NoError) {
            BMKillHandle(&content);
            withText = false;
            if (ACAPI_LibPart_GetSection(libIndex, &header, &content, nullptr) != NoError) {
                BMKillHandle(&content);
                ++skipped;
                continue;
            }
        }
        if (withText) {
            ownText = new (std::nothrow) GS::UniString(*textArg);
            if (ownText == nullptr) ok = false;
        }
        if (!ok || !outSections.Insert(QV_LibPartSection())) {
            BMKillHandle(&content);
            delete ownText;
            ok = false;
            break;
        }
        outSections[outSections.GetCount() - 1].Adopt(header, content, ownText);
    }
    BMKillHandle(reinterpret_cast<GSHandle*>(&list));
    if (!ok) outSections.Clear();
    return ok;
}
}  // namespace

bool LibPartSection_Read(int32_t libIndex, QV_List<QV_LibPartSection>& outSections, GS::UniString* text) {
    int32_t skipped = 0;
    // Every reader makes a part from the sections: one left out would make it without its parameters or its script.
    if (ReadSections(libIndex, outSections, text, skipped) && skipped == 0) return true;
    outSections.Clear();
    return false;
}

bool LibPartSection_Load(int32_t libIndex, uint32_t sectionType, QV_LibPartSection& outSection, GSErrCode& outError,
                         GS::UniString* text) {
    outError = LodravixErr_StepFailed;
    QV_List<QV_LibPartSection> sections;
    if (!LibPartSection_Read(libIndex, sections, text)) return false;
    for (const QV_LibPartSection& section : sections) {
        if (section.header.sectType != sectionType) continue;
        if (!outSection.CopyFrom(section)) return false;
        outError = NoError;
        return true;
    }
    return false;
}

// --- writing ------------------------------------------------------------------------------------------------------

bool LibPartSection_Write(int32_t libIndex, const QV_LibPartSection& section, const API_LibPartDetails* details,
                          GS::UniString* text) {
    if (!section.IsParamSection()) {
        const GS::UniString* sectionText = TextFor(section, text);
        if (sectionText == nullptr && section.content == nullptr) return false;
        return ACAPI_LibPart_UpdateSection(libIndex, &section.header,
                                           sectionText != nullptr ? nullptr : section.content, sectionText) == NoError;
    }
    API_LibPart part;
    std::memset(static_cast<void*>(&part), 0, sizeof part);
    part.index = libIndex;
    if (ACAPI_LibPart_Get(&part) != NoError) return false;
    GSHandle paramDef = MakeParamDef(part, section.content, section.a, section.b, details);
    if (paramDef == nullptr) return false;
    const GSErrCode err = ACAPI_LibPart_UpdateSection(libIndex, &section.header, paramDef, nullptr);
    BMKillHandle(&paramDef);
    return err == NoError;
}

bool LibPartSection_WriteText(int32_t libIndex, uint32_t sectionType, const QV_List<QV_String>& lines, int16_t subIdent,
                              GS::UniString* text) {
    QV_String joined("");
    joined.Reserve(10000, true);
    for (const QV_String& line : lines)
        if (line.GetLength() > 0 && !joined.AppendWide(line.GetBuffer(), line.GetLength())) return false;
    QV_LibPartSection section;
    section.header.sectType = sectionType;
    section.header.subIdent = subIdent;
    section.text = new (std::nothrow) GS::UniString(joined.GetBuffer(), joined.GetLength());
    if (section.text == nullptr) return false;
    return LibPartSection_Write(libIndex, section, nullptr, text);
}

int32_t LibPart_WriteSections(const API_LibPart& libPart, const QV_List<QV_LibPartSection>& sections,
                              GSHandle paramsOverride, const double* aOverride, const double* bOverride,
                              bool defaultDetails, const API_LibPartDetails* details, GS::UniString* text) {
    for (const QV_LibPartSection& section : sections) {
        if (!section.IsParamSection()) {
            const GS::UniString* sectionText = TextFor(section, text);
            if (sectionText == nullptr && section.content == nullptr) return 0;
            if (ACAPI_LibPart_AddSection(&section.header, sectionText != nullptr ? nullptr : section.content,
                                         sectionText) != NoError)
                return 0;
            continue;
        }
        API_LibPartDetails defaults = {};
        defaults.fixSize = 1;
        defaults.autoHotspot = 1;
        const API_LibPartDetails* applied = defaultDetails ? &defaults : details;
        GSHandle paramDef = MakeParamDef(libPart, paramsOverride != nullptr ? paramsOverride : section.content,
                                         aOverride != nullptr ? *aOverride : section.a,
                                         bOverride != nullptr ? *bOverride : section.b, applied);
        if (paramDef == nullptr) return 0;
        const GSErrCode err = ACAPI_LibPart_AddSection(&section.header, paramDef, nullptr);
        BMKillHandle(&paramDef);
        if (err != NoError) return 0;
    }
    return 1;
}

bool LibPart_CreateFromPart(const QV_String& fileName, bool ownerFlag, GS::UniString* text) {
    QV_String name;
    const int32_t dot = fileName.FindChar('.');
    if (dot >= 0)
        fileName.Left(name, uint32_t(dot));
    else
        name = fileName;
    API_LibPart found;
    if (LibPart_SearchByName(name, APILib_ObjectID, found) != NoError || found.index < 1) return false;

    // The part's own record gives its folder, unique id and parent.
    IO::Location location;
    API_LibPart source;
    std::memset(static_cast<void*>(&source), 0, sizeof source);
    source.index = found.index;
    source.location = &location;
    if (ACAPI_LibPart_Get(&source) != NoError || source.missingDef != 0) return false;

    // A section that could not be read would be missing from the rewritten part.
    QV_List<QV_LibPartSection> sections;
    int32_t skipped = 0;
    if (!ReadSections(found.index, sections, text, skipped) || skipped > 0) return false;

    API_LibPart created = source;
    created.typeID = APILib_ObjectID;
    created.index = 0;
    created.missingDef = 0;
    // The new part's place: the folder of the part's file.
    QV_String path;
    LocationToPathString(path, location);
    const int32_t slash = path.ReverseFindChar('\\');
    QV_String folder;
    if (slash >= 0) path.Left(folder, uint32_t(slash));
    IO::Location folderLocation(GS::UniString(folder.GetBuffer(), folder.GetLength()));
    created.location = &folderLocation;

    bool overwrite = ownerFlag;
    if (ACAPI_Environment(APIEnv_OverwriteLibPartID, &overwrite) != NoError) return false;
    const GSErrCode createErr = ACAPI_LibPart_Create(&created);
    overwrite = false;
    // Left on, the host would let the next part of the same name replace this one unasked.
    if (ACAPI_Environment(APIEnv_OverwriteLibPartID, &overwrite) != NoError) NoteStrandedChange();
    if (createErr != NoError) return false;

    // A part left half written is never saved over the old one.
    if (LibPart_WriteSections(created, sections, nullptr, nullptr, nullptr, false, nullptr, text) != 1) return false;
    return ACAPI_LibPart_Save(&created) == NoError;
}

bool LibPart_CreateFromSections(int32_t sourceIndex, const QV_String& folderPath,
                                const QV_List<QV_LibPartSection>& sections, const QV_String& name,
                                const QV_String& parentId, bool useParent, GSHandle paramsOverride,
                                const double* aOverride, const double* bOverride, bool defaultDetails,
                                const API_LibPartDetails* details, int32_t& outIndex, GS::UniString* text) {
    outIndex = -1;
    API_LibPart source;
    std::memset(static_cast<void*>(&source), 0, sizeof source);
    source.index = sourceIndex;
    if (ACAPI_LibPart_Get(&source) != NoError || source.missingDef != 0) return false;

    API_LibPart created;
    std::memset(static_cast<void*>(&created), 0, sizeof created);
    created.typeID = APILib_ObjectID;
    std::memcpy(created.parentUnID, source.parentUnID, sizeof created.parentUnID);

    QV_String folder("");
    folder += folderPath;
    QV_String partName("");
    partName += name;
    if (partName.IsEmpty()) {
        const int32_t slash = folder.ReverseFindChar('\\');
        const int32_t dot = folder.ReverseFindChar('.');
        const uint32_t from = uint32_t(slash + 1);
        folder.SubString(partName, from, dot > slash ? uint32_t(dot) - from : folder.GetLength() - from);
        QV_String cut("");
        if (slash >= 0) folder.Left(cut, uint32_t(slash));
        folder = cut;
    }
    const uint32_t units = partName.GetLength();
    if (units == 0 || units >= sizeof created.docu_UName / sizeof created.docu_UName[0]) return false;
    std::memcpy(created.docu_UName, partName.GetBuffer(), units * sizeof(char16_t));
    if (useParent && !parentId.IsEmpty()) {
        const std::string id = parentId.ToStdString(Encoding_System);
        std::memset(created.parentUnID, 0, sizeof created.parentUnID);
        std::memcpy(created.parentUnID, id.data(), std::min(id.size(), sizeof created.parentUnID - 1));
    }
    IO::Location folderLocation(GS::UniString(folder.GetBuffer(), folder.GetLength()));
    created.location = &folderLocation;

    bool overwrite = true;
    if (ACAPI_Environment(APIEnv_OverwriteLibPartID, &overwrite) != NoError) return false;
    const GSErrCode createErr = ACAPI_LibPart_Create(&created);
    overwrite = false;
    if (ACAPI_Environment(APIEnv_OverwriteLibPartID, &overwrite) != NoError) NoteStrandedChange();
    created.location = nullptr;
    if (createErr != NoError) return false;
    if (LibPart_WriteSections(created, sections, paramsOverride, aOverride, bOverride, defaultDetails, details, text) !=
            1 ||
        ACAPI_LibPart_Save(&created) != NoError)
        return false;
    outIndex = created.index;
    return true;
}
