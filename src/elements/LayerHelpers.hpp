#pragma once
// Keeping layers shown and editable while the add-on changes its objects and putting their flags back
// afterwards, and finding or creating the layers it puts its objects on.
//
// Layer names go to and come from the host's layer records as UTF-8, both when a layer is created and when one
// is looked up, so names outside ASCII find the layer they created.
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"

#include <cstdint>

// Flags every layer the add-on creates gets: hidden and 0x10.
constexpr uint32_t OperatorLayerCreationFlags = 17;

// The four layer flags, each 1 when its bit is set: 0x1 hidden, 0x2 locked, 0x4, 0x10.
struct LayerFlags {
    uint8_t hidden = 0;
    uint8_t locked = 0;
    uint8_t flag4 = 0;
    uint8_t flag16 = 0;
};

// A layer's flags as saved before the add-on opened it.
struct LayerState {
    int16_t index;
    uint8_t hidden;
    uint8_t locked;
    uint8_t flag4;
    uint8_t flag16;
};

LayerFlags LayerFlagsFromWord(uint32_t word);
// The flags word built from the four flags (every other bit clear).
uint32_t LayerFlagsWord(const LayerFlags& flags);
LayerFlags FlagsOf(const LayerState& state);

// The operator-layer names: its first entry, "VY_Operators", names the layer holding the cut and fill objects.
extern QV_List<QV_String> VY_Operators;

// The name as UTF-8 in a record's name field, cut at a character boundary; false for a name without buffer
// or one that cannot be converted.
bool LayerNameToField(const QV_String& name, char* field, size_t fieldSize);
// Reads the layer of that name: 1 when it was read, 0 when there is none, -1 when the host refused to tell.
int32_t FindLayerByName(const QV_String& name, API_Attribute& layer);
// The same, false when there is none (or the host cannot tell).
bool ReadLayerByName(const QV_String& name, API_Attribute* layer);

// Records the layer of each element once (its flags before) and opens it (all flags cleared). With clearFirst
// `states` is emptied first. False when a state could not be recorded or a layer could not be opened (that layer
// stays as it was, and unrecorded; the writes on it then meet its flags).
bool SaveAndOpenLayers(const QV_List<QV_String>& operatorNames, const QV_List<API_Element>& elements,
                       QV_List<LayerState>& states, bool clearFirst);
// The same for one layer (the step SaveAndOpenLayers takes per element).
bool SaveAndOpenLayer(int32_t layerIndex, QV_List<LayerState>& states);
// Writes every recorded flag set back, in order; false when one of them could not be written (inside a command
// that takes the command back, as NoteStrandedChange says).
bool RestoreLayerStates(const QV_List<QV_String>& operatorNames, const QV_List<LayerState>& states);
// Replace a layer's flags word by the four flags; the host error.
GSErrCode SetLayerFlagsByIndex(const LayerFlags& flags, int32_t index);
GSErrCode SetLayerFlagsByName(const LayerFlags& flags, const QV_String& name);
// Index 0: the layer named by the first operator name; any other index: that layer.
GSErrCode SetLayerState(const QV_List<QV_String>& operatorNames, int32_t index, const LayerFlags& flags);
// Unless `skip`: the operator layer's flags go to outFlags, then its flags word is rebuilt from the given flags
// (a null pointer counts as 0). With `skip` (or no such layer) outFlags is all 0 and nothing is written.
GSErrCode OpenLayerByName(const QV_List<QV_String>& operatorNames, LayerFlags& outFlags, int32_t skip,
                          const uint8_t* hidden, const uint8_t* locked, const uint8_t* flag4, const uint8_t* flag16);
// The operator layer's index, created (flags 17) when missing; a host error (negative) when that fails.
int32_t EnsureOperatorLayer();
// Zeroes every entry's flags, then empties the list.
void ClearLayerStates(QV_List<LayerState>& states);

// Creates the layer `name` with the flags and the 32-bit value; a layer of that name gets them written instead.
// On success outIndex / outRecord (each may be null) receive its index and whole record.
GSErrCode CreateLayer(const QV_String& name, uint32_t flags, int32_t value, int32_t* outIndex,
                      API_Attribute* outRecord);
// CreateLayer(first name of the list, 17, 0); called when the tool palette opens.
void CreateOperatorsLayer(const QV_List<QV_String>& names);
// The four flags of the layer of that name; all 0 when there is none.
LayerFlags GetLayerFlags(const QV_String& name);
// 1 when `skip` is not 0; else the index of the layer named by the list's first string, created (flags 17,
// value 0) when missing; 1 when it can be neither found nor created.
int16_t GetOrCreateLayerIndex(const QV_List<QV_String>& names, int32_t skip);
