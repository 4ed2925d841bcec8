#include "fileio/GISObjects.hpp"

#include "elements/BaseLP.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"

#include <algorithm>
#include <cstring>

QV_List<SHPParamData> GISParamTable;

namespace {

constexpr int32_t NoneOfThese = 181;
constexpr int32_t MaxLibParts = 1000000;

QV_String PartName(const API_LibPart& part) {
    QV_String name;
    size_t n = 0;
    while (n < 127 && part.docu_UName[n] != 0) ++n;
    name.AppendWide(reinterpret_cast<const GS::UniChar*>(part.docu_UName), uint32_t(n));
    return name;
}

// The host's answer to the search of the part of that name.
GSErrCode SearchPartAnswer(const QV_String& name, int32_t type, API_LibPart& part) {
    std::memset(&part, 0, sizeof part);
    part.typeID = type;
    const uint32_t n = std::min<uint32_t>(name.GetLength(), 127);
    for (uint32_t i = 0; i < n; ++i) part.docu_UName[i] = char16_t(name.GetAt(i));
    return ACAPI_LibPart_Search(&part);
}

bool SearchPart(const QV_String& name, int32_t type, API_LibPart& part) {
    return SearchPartAnswer(name, type, part) == NoError;
}

// The GIS subtype's unique id: true with it, true and empty when there is no such part, false when the host
// refused the search.
bool GISSubtypeId(std::string& id) {
    id.clear();
    API_LibPart part;
    const GSErrCode err = SearchPartAnswer(QV_String(GISSubtypeName), APILib_ObjectID, part);
    if (err == APIERR_BADNAME) return true;
    if (err != NoError) return false;
    id.assign(part.ownUnID, strnlen(part.ownUnID, sizeof part.ownUnID));
    return true;
}

struct Params {
    GSHandle handle = nullptr;
    int32_t count = 0;
    ~Params() { ReleaseParamRecords(&handle); }
    bool Read(int32_t index) {
        double a = 0, b = 0;
        return ACAPI_LibPart_GetParams(index, &a, &b, &count, &handle) == NoError && handle != nullptr;
    }
    API_AddParType& operator[](int32_t i) { return reinterpret_cast<API_AddParType*>(*handle)[i]; }
};

// Every loaded part, in index order, with its definition.
// False when the host refused a part (past the last index it answers APIERR_BADINDEX) or `visit` said so.
template <typename Visit>
bool ForEachPart(Visit visit) {
    for (int32_t index = 1; index < MaxLibParts; ++index) {
        API_LibPart part;
        std::memset(&part, 0, sizeof part);
        part.index = index;
        const GSErrCode err = ACAPI_LibPart_Get(&part);
        if (err == APIERR_BADINDEX) return true;
        if (err != NoError) return false;
        if (part.missingDef != 0) continue;
        if (!visit(index, part)) return false;
    }
    return true;
}

bool LessByUnits(const QV_String& a, const QV_String& b, void*) { return a.Compare(b) < 0; }

}  // namespace

bool FieldFitsParam(int16_t kind, int32_t type) {
    if (kind == 1) return type == GISParamString;
    if (kind == 0) return type == GISParamInteger;
    return type == GISParamLength || type == GISParamAngle || type == GISParamReal;
}

bool FindLibPartIndex(const QV_String& name, int32_t type, int32_t& index) {
    API_LibPart part;
    index = -1;
    if (!SearchPart(name, type, part) || part.missingDef != 0) return false;
    index = part.index;
    return true;
}

bool GetLibPartUniqueId(const QV_String& name, int32_t type, std::string& id) {
    API_LibPart part;
    if (!SearchPart(name, type, part)) return false;
    id.assign(part.ownUnID, strnlen(part.ownUnID, sizeof part.ownUnID));
    return true;
}

int32_t GISAttributeStart() {
    int32_t index = -1;
    Params params;
    if (!FindLibPartIndex(QV_String(GISSubtypeName), APILib_ObjectID, index)) return 0;
    return params.Read(index) ? params.count : -1;
}

QV_String ParamDescription(const API_AddParType& param) {
    QV_String text;
    size_t n = 0;
    while (n < 255 && param.uDescname[n] != 0) ++n;
    text.AppendWide(reinterpret_cast<const GS::UniChar*>(param.uDescname), uint32_t(n));
    return text;
}

API_AddParType* FindParam(GSHandle params, const char* name) {
    if (params == nullptr) return nullptr;
    const GSSize n = BMGetHandleSize(params) / GSSize(sizeof(API_AddParType));
    API_AddParType* records = reinterpret_cast<API_AddParType*>(*params);
    for (GSSize i = 0; i < n; ++i)
        if (std::strncmp(records[i].name, name, sizeof records[i].name) == 0) return &records[i];
    return nullptr;
}

bool CollectGISObjectNames(GISImportOptions& options) {
    options.allObjects.Clear();
    std::string subtype;
    if (!GISSubtypeId(subtype)) return false;
    if (subtype.empty()) return true;
    const bool listed = ForEachPart([&](int32_t, const API_LibPart& part) {
        const QV_String name = PartName(part);
        if (subtype == part.parentUnID && name.Compare(QV_String(GISPrototypeName)) != 0)
            options.allObjects.Insert(name);
        return true;
    });
    if (options.allObjects.GetCount() > 1) options.allObjects.Sort(LessByUnits);
    return listed;
}

bool CollectMatchingGISObjects(ShapeImportData& data) {
    GISImportOptions& o = data.options;
    o.matchingObjects.Clear();
    QV_String none;
    GetResString(none, GeneralTableBase + LanguageIndex, NoneOfThese);
    o.matchingObjects.Insert(none);
    std::string subtype;
    if (!GISSubtypeId(subtype)) return false;
    if (subtype.empty()) return true;
    return ForEachPart([&](int32_t index, const API_LibPart& part) {
        const QV_String name = PartName(part);
        if (subtype != part.parentUnID || name.Compare(QV_String(GISPrototypeName)) == 0) return true;
        // A part whose parameters cannot be read is no part that does not fit: the list would be wrong.
        Params params;
        if (!params.Read(index)) return false;
        if (params.count < data.fields.GetCount()) return true;
        for (const DBFFieldData& field : data.fields) {
            bool found = false;
            for (int32_t p = 0; p < params.count && !found; ++p)
                found = ParamDescription(params[p]).Compare(field.name) == 0 &&
                    FieldFitsParam(field.kind, params[p].typeID);
            if (!found) return true;
        }
        o.matchingObjects.Insert(name);
        return true;
    });
}

void FillGISParamTable(const QV_String& objectName) {
    GISParamTable.Clear();
    int32_t index = -1;
    Params params;
    const int32_t start = GISAttributeStart();
    if (start < 0 || !FindLibPartIndex(objectName, APILib_ObjectID, index) || !params.Read(index)) return;
    for (int32_t p = start; p < params.count; ++p) {
        const API_AddParType& param = params[p];
        if (std::strcmp(param.name, "XYZ") == 0) continue;
        SHPParamData row;
        row.description = ParamDescription(param);
        row.name = QV_String(param.name, Encoding_System);
        row.type = param.typeID;
        if (param.typeID == APIParT_Text && (param.dim1 == 0 || param.dim2 == 0)) {
            size_t n = 0;
            while (n < 255 && param.value.uStr[n] != 0) ++n;
            row.value.AppendWide(reinterpret_cast<const GS::UniChar*>(param.value.uStr), uint32_t(n));
        }
        GISParamTable.Insert(row);
    }
}

bool LibPartNameInUse(const QV_String& name, int32_t type, bool* refused) {
    int32_t begin = name.ReverseFindChar('\\') + 1;
    int32_t end = name.ReverseFindChar('.');
    if (end < begin) end = int32_t(name.GetLength());
    QV_String base;
    name.SubString(base, uint32_t(begin), uint32_t(end - begin));
    API_LibPart part;
    const GSErrCode err = SearchPartAnswer(base, type, part);
    const bool failed = err != NoError && err != APIERR_BADNAME;
    if (refused != nullptr) *refused = failed;
    return failed || (err == NoError && part.missingDef == 0);
}
