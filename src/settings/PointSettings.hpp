#pragma once
// The terrain-point tool's record (element kind 1): the attributes the next point gets, the point tool's working
// copy and what the point settings dialog edits. Field ids: 0 pen, 1 layer, 2 code text, 3 code number,
// 4 comment, 5 height above project zero. The defaults themselves live in the global settings' point section,
// which the importers share.
#include "foundation/QV_String.hpp"
#include "settings/ImportOptionsRec.hpp"

#include <cstdint>

constexpr uint32_t PointCodeNumberLimit = 100000;  // code numbers are shown as five digits
constexpr int32_t PointSettingsFieldCount = 6;

struct PointSettings {
    PointSettings() { Reset(); }

    // Numbers 0, texts empty.
    void Reset();
    // Pen 4, layer 1, "Point", code number 1, height 0.0, no comment.
    void SetDefaults();
    // All six fields.
    void Assign(const PointSettings& other) { *this = other; }

    // The point section of the global settings into the record, and back.
    void FromDefaults(const ImportOptionsRec& defaults);
    void ToDefaults(ImportOptionsRec& defaults) const;

    // The number the next point gets after this one: one more, wrapping to 0 after 99999.
    static uint32_t NextCodeNumber(uint32_t codeNumber);

    // By field id; an unknown id reads 0 (or an empty text) and is ignored on write.
    int32_t GetLongByItem(int16_t id) const;
    void SetLongByItem(int16_t id, int32_t value);
    double GetDoubleByItem(int16_t id) const;
    void SetDoubleByItem(int16_t id, double value);
    // The code text for 2, the comment for 4.
    QV_String GetString(int16_t id) const;
    void SetString(int16_t id, const QV_String& value);

    uint16_t pen;         // 0
    uint16_t layer;       // 1
    QV_String code;       // 2
    uint32_t codeNumber;  // 3
    QV_String comment;    // 4
    double height;        // 5
};
