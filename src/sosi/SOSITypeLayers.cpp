#include "sosi/SOSIOutputSteps.hpp"

#include "elements/LayerHelpers.hpp"
#include "foundation/ACAPI.hpp"
#include "sosi/SOSIFileCls.hpp"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// The layer of that name, the name given in the system code page; 0 when there is none.
int32_t FindLayer(const QV_String& name) {
    API_Attribute layer;
    std::memset(static_cast<void*>(&layer), 0, sizeof layer);
    layer.header.typeID = API_LayerID;
    const std::string bytes = name.ToStdString(Encoding_System);
    if (bytes.empty()) return 0;
    std::memcpy(layer.header.name, bytes.data(), std::min(bytes.size(), sizeof layer.header.name - 1));
    return ACAPI_Attribute_Get(&layer) == NoError ? layer.header.index : 0;
}

// A new layer named in UTF-8; a name the host has already taken gets that layer rewritten. 1 when both fail.
int32_t MakeLayer(const QV_String& name) {
    API_Attribute layer;
    std::memset(static_cast<void*>(&layer), 0, sizeof layer);
    layer.header.typeID = API_LayerID;
    if (!LayerNameToField(name, layer.header.name, sizeof layer.header.name)) return 1;
    const GSErrCode err = ACAPI_Attribute_Create(&layer);
    if (err == NoError) return layer.header.index;
    if (err == APIERR_ATTREXIST && ACAPI_Attribute_Modify(&layer) == NoError) return layer.header.index;
    return 1;
}

}  // namespace

void CreateTypeLayers(SOSIFileCls& reader) {
    ClearSOSILayerList(reader.layers);
    for (const SOSIOType& row : reader.types) {
        if (row.import == 0) continue;
        SOSILayer entry;
        entry.name = row.name;
        entry.layer = FindLayer(row.name);
        if (entry.layer == 0) entry.layer = MakeLayer(row.name);
        reader.layers.Insert(entry);
    }
}
