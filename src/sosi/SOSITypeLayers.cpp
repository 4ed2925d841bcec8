#include "sosi/SOSIOutputSteps.hpp"

#include "elements/LayerHelpers.hpp"
#include "elements/LeftoverElements.hpp"
#include "foundation/ACAPI.hpp"

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

// A new layer named in UTF-8; a name the host has already taken gets that layer rewritten (its record before is
// kept, to be put back should the build fail). 0 when the host refuses both.
int32_t MakeLayer(const QV_String& name, SOSIBuildState& state) {
    API_Attribute layer;
    std::memset(static_cast<void*>(&layer), 0, sizeof layer);
    layer.header.typeID = API_LayerID;
    // A name the host's field cannot hold has no layer of its own: its objects go to layer 1.
    if (!LayerNameToField(name, layer.header.name, sizeof layer.header.name)) return 1;
    const GSErrCode err = ACAPI_Attribute_Create(&layer);
    if (err == NoError) {
        state.madeLayers.push_back(layer);
        return layer.header.index;
    }
    if (err != APIERR_ATTREXIST) return 0;
    API_Attribute before;
    if (!ReadLayerByName(name, &before)) return 0;
    if (ACAPI_Attribute_Modify(&layer) != NoError) return 0;
    state.changedLayers.push_back(before);
    return layer.header.index;
}

}  // namespace

bool CreateTypeLayers(const QV_List<SOSIOType>& types) {
    SOSIBuildState& state = SOSIOutputState();
    ClearSOSILayerList(state.layers);
    for (const SOSIOType& row : types) {
        if (row.import == 0) continue;
        SOSILayer entry;
        entry.name = row.name;
        entry.layer = FindLayer(row.name);
        if (entry.layer == 0) entry.layer = MakeLayer(row.name, state);
        // Its objects would land on the default layer without a word.
        if (entry.layer == 0) return false;
        state.layers.Insert(entry);
    }
    return true;
}

void TakeBackSOSIBuild() {
    SOSIBuildState& state = SOSIOutputState();
    if (!state.made.empty()) {
        GS::Array<API_Guid> guids;
        for (const API_Guid& g : state.made) guids.Push(g);
        DeleteLeftoverElements(guids);
    }
    // What the host would not take back here it takes back with the whole command.
    for (API_Attribute& layer : state.madeLayers)
        if (ACAPI_Attribute_Delete(&layer.header) != NoError) NoteStrandedChange();
    for (API_Attribute& layer : state.changedLayers)
        if (ACAPI_Attribute_Modify(&layer) != NoError) NoteStrandedChange();
    state.made.clear();
    state.madeOfType.clear();
    state.madeLayers.clear();
    state.changedLayers.clear();
    state.somethingCreated = 0;
}

bool DeleteUnusedSOSILayers() {
    SOSIBuildState& state = SOSIOutputState();
    std::vector<API_Attribute> kept;
    bool deleted = true;
    for (API_Attribute& layer : state.madeLayers) {
        // Once the host refuses, the rest stay listed, for the take-back to delete.
        if (!deleted || state.usedLayers.count(layer.header.index) != 0) {
            kept.push_back(layer);
            continue;
        }
        deleted = ACAPI_Attribute_Delete(&layer.header) == NoError;
        if (!deleted) kept.push_back(layer);
    }
    state.madeLayers.swap(kept);
    return deleted;
}
