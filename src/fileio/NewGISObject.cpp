#include "fileio/NewGISObject.hpp"

#include "elements/BaseLP.hpp"
#include "elements/LibPartSections.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr int32_t TitleText = 182;
constexpr const char* BuiltInTitle = "Data imported from shapefile";

const char* Prefix(int32_t type) {
    switch (type) {
        case GISParamInteger: return "I_";
        case GISParamLength: return "L_";
        case GISParamAngle: return "A_";
        case GISParamReal: return "R_";
        case GISParamString: return "T_";
        default: return "C_";
    }
}

}  // namespace

void SetNewObjectParamTable(const QV_List<DBFFieldData>& fields) {
    GISParamTable.Clear();
    SHPParamData title;
    GetResString(title.description, GeneralTableBase + LanguageIndex, TitleText);
    // The title is written into the new part's file: a text the resources would not give is not, the English one is.
    if (!IsResText(title.description)) title.description = QV_String(BuiltInTitle);
    title.type = GISParamTitle;
    GISParamTable.Insert(title);
    for (const DBFFieldData& field : fields) {
        if (!field.selected) continue;
        SHPParamData row;
        row.description = field.name;
        row.type = field.kind == 1 ? GISParamString : field.kind == 0 ? GISParamInteger : GISParamReal;
        GISParamTable.Insert(row);
    }
    for (int32_t r = 0; r < GISParamTable.GetCount(); ++r) GISParamTable[r].name = NewObjectParamName(r);
}

QV_String NewObjectParamName(int32_t row) {
    const SHPParamData* wanted = GISParamTable.Get(row);
    if (wanted == nullptr) return QV_String();
    int32_t number = 0;
    for (int32_t r = 0; r <= row; ++r)
        if (std::strcmp(Prefix(GISParamTable[r].type), Prefix(wanted->type)) == 0) ++number;
    return QV_String((std::string(Prefix(wanted->type)) + std::to_string(number)).c_str());
}

bool CreateGISLibPart(const QV_String& name, int32_t prototypeIndex, const QV_String& folder, int32_t& index) {
    index = -1;
    // The name becomes a file of the folder: never a path.
    for (uint32_t i = 0; i < name.GetLength(); ++i) {
        const GS::UniChar c = name.GetAt(i);
        if (c == '\\' || c == '/' || (c == '.' && i + 1 < name.GetLength() && name.GetAt(i + 1) == '.')) return false;
    }
    if (name.IsEmpty()) return false;
    QV_List<QV_LibPartSection> sections;
    if (!LibPartSection_Read(prototypeIndex, sections)) return false;
    std::string subtype;
    if (!GetLibPartUniqueId(QV_String(GISSubtypeName), APILib_ObjectID, subtype)) return false;

    // The prototype's own parameters up to the attribute start, then the table's rows.
    GSHandle prototype = nullptr;
    if (!BaseLP::GetLibPartParams(prototypeIndex, &prototype, nullptr, nullptr, nullptr)) return false;
    const int32_t start = GISAttributeStart();
    if (start < 0) {
        ReleaseParamRecords(&prototype);
        return false;
    }
    const int32_t kept = std::min<int32_t>(start, int32_t(BMGetHandleSize(prototype) / GSSize(sizeof(API_AddParType))));
    const int32_t total = kept + GISParamTable.GetCount();
    GSHandle params = BMAllocateHandle(GSSize(total) * GSSize(sizeof(API_AddParType)), ALLOCATE_CLEAR, 0);
    if (params == nullptr) {
        ReleaseParamRecords(&prototype);
        return false;
    }
    API_AddParType* out = reinterpret_cast<API_AddParType*>(*params);
    API_AddParType* in = reinterpret_cast<API_AddParType*>(*prototype);
    for (int32_t i = 0; i < kept; ++i) {
        out[i] = in[i];
        in[i].dim1 = in[i].dim2 = 0;  // the cells move with the record
    }
    ReleaseParamRecords(&prototype);
    for (int32_t r = 0; r < GISParamTable.GetCount(); ++r) {
        API_AddParType& p = out[kept + r];
        const SHPParamData& row = GISParamTable[r];
        p.typeID = row.type;
        p.index = int16_t(kept + r);
        const std::string variable = NewObjectParamName(r).ToStdString(Encoding_System);
        std::strncpy(p.name, variable.c_str(), sizeof p.name - 1);
        const uint32_t n = std::min<uint32_t>(row.description.GetLength(), 255);
        for (uint32_t k = 0; k < n; ++k) p.uDescname[k] = char16_t(row.description.GetAt(k));
    }
    const QV_String bare = [&] {
        QV_String cut = name;
        const int32_t dot = name.ReverseFindChar('.');
        if (dot > 0) name.Left(cut, uint32_t(dot));
        return cut;
    }();
    const bool made = LibPart_CreateFromSections(prototypeIndex, folder, sections, bare, QV_String(subtype.c_str()),
                                                 true, params, nullptr, nullptr, false, nullptr, index);
    ReleaseParamRecords(&params);
    return made;
}
