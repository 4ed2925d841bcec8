#pragma once
// The change mask a settings edit hands the host with the changed records: only the marked fields are changed.
#include "APIElements.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>

// Whether the settings dialog flagged any field.
template <std::size_t N>
bool AnyFieldChanged(const uint8_t (&changed)[N]) {
    for (uint8_t flag : changed)
        if (flag != 0) return true;
    return false;
}

// A change mask for the placed objects' host records with nothing marked yet.
inline API_Element EmptyChangeMask() {
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    return mask;
}

// Marks one field of a change mask, when `changed`: the host changes it from the record given with the mask.
template <class Field>
void MarkWhen(Field& field, bool changed) {
    if (changed) std::memset(&field, 0xFF, sizeof field);
}
