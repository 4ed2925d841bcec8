#include "elements/LayerHelpers.hpp"

#include "elements/LeftoverElements.hpp"
#include "foundation/ACAPI.hpp"

#include "GSGuid.hpp"
#include "UniString.hpp"

#include <cstring>
#include <string>

QV_List<QV_String> VY_Operators = [] {
    QV_List<QV_String> names;
    names.Insert(QV_String("VY_Operators"));
    return names;
}();

LayerFlags LayerFlagsFromWord(uint32_t word) {
    LayerFlags f;
    f.hidden = (word & APILay_Hidden) != 0 ? 1 : 0;
    f.locked = (word & APILay_Locked) != 0 ? 1 : 0;
    f.flag4 = (word & APILay_ForceToWire) != 0 ? 1 : 0;
    f.flag16 = (word & APILay_Flag10) != 0 ? 1 : 0;
    return f;
}

uint32_t LayerFlagsWord(const LayerFlags& f) {
    return (f.hidden != 0 ? APILay_Hidden : 0u) | (f.locked != 0 ? APILay_Locked : 0u) |
        (f.flag4 != 0 ? APILay_ForceToWire : 0u) | (f.flag16 != 0 ? APILay_Flag10 : 0u);
}

LayerFlags FlagsOf(const LayerState& s) {
    LayerFlags f;
    f.hidden = s.hidden;
    f.locked = s.locked;
    f.flag4 = s.flag4;
    f.flag16 = s.flag16;
    return f;
}

bool LayerNameToField(const QV_String& name, char* field, size_t fieldSize) {
    if (!name.HasBuffer() || fieldSize == 0) return false;
    const std::string utf8 = name.ToStdString(Encoding_UTF8);
    size_t n = utf8.size() < fieldSize - 1 ? utf8.size() : fieldSize - 1;
    while (n > 0 && n < utf8.size() && (uint8_t(utf8[n]) & 0xC0) == 0x80) --n;
    std::memset(field, 0, fieldSize);
    std::memcpy(field, utf8.data(), n);
    return true;
}

int32_t FindLayerByName(const QV_String& name, API_Attribute& layer) {
    std::memset(static_cast<void*>(&layer), 0, sizeof layer);
    layer.header.typeID = API_LayerID;
    if (!LayerNameToField(name, layer.header.name, sizeof layer.header.name)) return 0;
    const GSErrCode err = ACAPI_Attribute_Get(&layer);
    if (err == NoError) return 1;
    return err == APIERR_BADINDEX || err == APIERR_BADNAME ? 0 : -1;
}

bool ReadLayerByName(const QV_String& name, API_Attribute* layer) { return FindLayerByName(name, *layer) > 0; }

namespace {
bool ReadLayerByIndex(int32_t index, API_Attribute* layer) {
    std::memset(static_cast<void*>(layer), 0, sizeof *layer);
    layer->header.typeID = API_LayerID;
    layer->header.index = index;
    return index > 0 && ACAPI_Attribute_Get(layer) == NoError;
}

GSErrCode WriteFlags(API_Attribute& layer, const LayerFlags& flags) {
    layer.header.flags = LayerFlagsWord(flags);
    return ACAPI_Attribute_Modify(&layer);
}

// The host's answer when the layer could not be read.
constexpr GSErrCode kNoSuchLayer = APIERR_BADINDEX;
}  // namespace

bool SaveAndOpenLayer(int32_t layerIndex, QV_List<LayerState>& states) {
    for (const LayerState& s : states)
        if (s.index == layerIndex) return true;  // saved once: the restore gives back the state before the first
    API_Attribute layer;
    if (!ReadLayerByIndex(layerIndex, &layer)) return false;
    if (layer.header.flags == LayerFlagsWord(LayerFlags())) return true;  // open already: nothing to give back
    const LayerFlags before = LayerFlagsFromWord(layer.header.flags);
    LayerState state = {int16_t(layerIndex), before.hidden, before.locked, before.flag4, before.flag16};
    if (!states.Insert(state)) return false;
    if (WriteFlags(layer, LayerFlags()) == NoError) return true;
    states.Remove(states.GetCount() - 1);  // not opened: nothing to give back
    return false;
}

bool SaveAndOpenLayers(const QV_List<QV_String>&, const QV_List<API_Element>& elements, QV_List<LayerState>& states,
                       bool clearFirst) {
    if (clearFirst) ClearLayerStates(states);
    bool ok = true;
    for (int32_t i = 0; i < elements.GetCount(); ++i) ok = SaveAndOpenLayer(elements[i].header.layer, states) && ok;
    return ok;
}

bool RestoreLayerStates(const QV_List<QV_String>&, const QV_List<LayerState>& states) {
    bool ok = true;
    for (const LayerState& s : states) ok = SetLayerFlagsByIndex(FlagsOf(s), s.index) == NoError && ok;
    // A layer left open would outlast the command that opened it: the command is taken back instead.
    if (!ok) NoteStrandedChange();
    return ok;
}

GSErrCode SetLayerFlagsByIndex(const LayerFlags& flags, int32_t index) {
    API_Attribute layer;
    if (!ReadLayerByIndex(index, &layer)) return kNoSuchLayer;
    return WriteFlags(layer, flags);
}

GSErrCode SetLayerFlagsByName(const LayerFlags& flags, const QV_String& name) {
    API_Attribute layer;
    if (!ReadLayerByName(name, &layer)) return kNoSuchLayer;
    return WriteFlags(layer, flags);
}

GSErrCode SetLayerState(const QV_List<QV_String>& operatorNames, int32_t index, const LayerFlags& flags) {
    if (index != 0) return SetLayerFlagsByIndex(flags, index);
    if (operatorNames.GetCount() < 1) return APIERR_BADPARS;
    return SetLayerFlagsByName(flags, operatorNames[0]);
}

GSErrCode OpenLayerByName(const QV_List<QV_String>& operatorNames, LayerFlags& outFlags, int32_t skip,
                          const uint8_t* hidden, const uint8_t* locked, const uint8_t* flag4, const uint8_t* flag16) {
    outFlags = LayerFlags();
    if (skip != 0) return NoError;
    API_Attribute layer;
    if (operatorNames.GetCount() < 1 || !ReadLayerByName(operatorNames[0], &layer)) return kNoSuchLayer;
    outFlags = LayerFlagsFromWord(layer.header.flags);
    LayerFlags wanted;
    wanted.hidden = hidden != nullptr ? *hidden : 0;
    wanted.locked = locked != nullptr ? *locked : 0;
    wanted.flag4 = flag4 != nullptr ? *flag4 : 0;
    wanted.flag16 = flag16 != nullptr ? *flag16 : 0;
    return WriteFlags(layer, wanted);
}

int32_t EnsureOperatorLayer() {
    if (VY_Operators.GetCount() < 1) return APIERR_BADPARS;
    API_Attribute layer;
    if (ReadLayerByName(VY_Operators[0], &layer)) return layer.header.index;
    int32_t index = 0;
    const GSErrCode err = CreateLayer(VY_Operators[0], OperatorLayerCreationFlags, 0, &index, nullptr);
    return err != NoError ? err : index;
}

void ClearLayerStates(QV_List<LayerState>& states) {
    for (LayerState& s : states) s.hidden = s.locked = s.flag4 = s.flag16 = 0;
    states.Clear();
}

GSErrCode CreateLayer(const QV_String& name, uint32_t flags, int32_t value, int32_t* outIndex,
                      API_Attribute* outRecord) {
    API_Attribute attr = {};
    attr.header.typeID = API_LayerID;
    if (!LayerNameToField(name, attr.header.name, sizeof attr.header.name)) return APIERR_BADPARS;
    attr.header.flags = flags;
    attr.layer.conClassId = value;
    GSErrCode err = ACAPI_Attribute_Create(&attr);
    if (err == APIERR_ATTREXIST) {
        // The name is in use: that layer gets the flags and the value instead.
        attr.header.flags = flags;
        attr.layer.conClassId = value;
        err = ACAPI_Attribute_Modify(&attr);
    }
    if (err != NoError) return err;
    if (outIndex != nullptr) *outIndex = attr.header.index;
    if (outRecord != nullptr) *outRecord = attr;
    return NoError;
}

void CreateOperatorsLayer(const QV_List<QV_String>& names) {
    if (names.GetCount() < 1) return;
    CreateLayer(names[0], OperatorLayerCreationFlags, 0, nullptr, nullptr);
}

LayerFlags GetLayerFlags(const QV_String& name) {
    API_Attribute attr = {};
    if (!ReadLayerByName(name, &attr)) return LayerFlags();
    return LayerFlagsFromWord(attr.header.flags);
}

int16_t GetOrCreateLayerIndex(const QV_List<QV_String>& names, int32_t skip) {
    if (skip != 0 || names.GetCount() < 1) return 1;
    API_Attribute attr = {};
    if (ReadLayerByName(names[0], &attr)) return int16_t(attr.header.index);
    int32_t index = 0;
    if (CreateLayer(names[0], OperatorLayerCreationFlags, 0, &index, nullptr) != NoError) return 1;
    return int16_t(index);
}
