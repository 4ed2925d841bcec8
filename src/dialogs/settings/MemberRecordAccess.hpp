#pragma once
// The frame's accessors for a record that reads and writes its fields by id itself (GetLong, SetLong, GetDouble,
// SetDouble, GetText, SetText).
#include "dialogs/settings/SettingsDialogFrame.hpp"

#include <cstdint>

template <typename Record>
struct MemberRecordAccess {
    static int32_t GetLong(const Record& r, int16_t id) { return r.GetLong(id); }
    static void SetLong(Record& r, int16_t id, int32_t v) { r.SetLong(id, v); }
    static double GetDouble(const Record& r, int16_t id) { return r.GetDouble(id); }
    static void SetDouble(Record& r, int16_t id, double v) { r.SetDouble(id, v); }
    static QV_String GetText(const Record& r, int16_t id) { return r.GetText(id); }
    static void SetText(Record& r, int16_t id, const QV_String& v) { r.SetText(id, v); }

    static constexpr SettingsRecordAccess<Record> table = {GetLong, SetLong, GetDouble, SetDouble, GetText, SetText};
};

template <typename Record>
constexpr SettingsRecordAccess<Record> MemberRecordAccess<Record>::table;
