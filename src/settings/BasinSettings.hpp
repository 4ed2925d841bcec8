#pragma once
// The basin tool's settings (element kind 12). Fields in storage order, which is not id order: id 2 is
// stored after id 6, id 8 before id 7. Ids 3 and 8 are 32-bit fields that callers mostly see as 16-bit.
#include "foundation/QV_String.hpp"

#include <cstdint>

struct BasinSettings {
    BasinSettings() { Reset(); }

    // Every number 0, the name empty.
    void Reset();
    // The basin tool's defaults, layer 1.
    void SetDefaults();
    // After the preferences are read: level material 28, fill shown, layer 1.
    void SetPrefsDefaults();

    // Ids 0 to 8, sign-extended (ids 3 and 8 their low 16 bits); 0 for any other id.
    int32_t GetShort(int16_t id) const;
    // Ids 0 to 8 (ids 3 and 8 sign-extended); any other id is ignored.
    void SetShort(int16_t id, int16_t value);
    // Ids 3 and 8 with a full 32-bit value; any other id is ignored.
    void SetLong(int16_t id, int32_t value);
    // Id 10; 0.0 for any other id.
    double GetDouble(int16_t id) const;
    void SetDouble(int16_t id, double value);
    // Id 9; the shared empty text for any other id.
    const QV_String& GetString(int16_t id) const;
    void SetString(int16_t id, const QV_String& text);

    int16_t pen3D;              // 0
    int16_t levelMaterial;      // 1
    int32_t attribute;          // 3: an attribute of the object's element record
    int16_t fill;               // 4
    int16_t fillPen;            // 5
    int16_t fillBackgroundPen;  // 6
    int16_t pen2D;              // 2
    int32_t layer;              // 8
    int16_t showFill;           // 7
    QV_String name;             // 9: the object's element information text
    double level;               // 10: split over "ZZYZX" and "negative_level"

private:
    int16_t* ShortField(int16_t id);
    int32_t* LongField(int16_t id);
};
