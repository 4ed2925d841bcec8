#pragma once
// A settings record declared as one table: one row per field, with the member, its field id, its type, the
// preference it is kept in (a PrefsParam index, or NoPrefs), its built-in default, and its item in each layout
// of the tool's settings dialog. The struct's members, Reset and SetDefaults, the accessors by id, the field ids
// (`Record::Id::member`), the preference section and the dialog's item tables all come from the rows, so a new
// field is one row (with its parameter in the preferences part and its items in the layouts).
//
// A table is a macro `LIST(F)` with one `F(member, id, type, prefs, default, first, second)` per field, in the
// order the preference section exchanges them; a record declares itself with
// `LODRAVIX_SETTINGS_RECORD(Record, LIST)`. Ids run from 0 without gaps (checked), so `Changed` holds one flag
// per id. Integer fields are read by GetShort (their low 16 bits, sign-extended from a signed field,
// zero-extended from an unsigned one) or whole by GetLong, and written by SetShort (the 16 bits, sign-extended into a 32-bit field) or
// SetLong (a dialog item's whole value); reals by GetReal and SetReal; texts through Text. Any other id reads 0 and
// is ignored on write. SetDefault gives one field its built-in default.
#include "elements/PrefsParamIndexes.hpp"
#include "foundation/FieldItem.hpp"
#include "foundation/QV_String.hpp"

#include "APIDefs.hpp"

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

constexpr int32_t NoPrefs = -1;  // a field the preferences do not keep

// A field's item in one layout of its dialog; item 0: the layout does not show it.
struct LayoutItem {
    int16_t item = 0;
    FieldItemKind kind = FieldItemKind::Long;
    int16_t pairItem = 0;
    uint32_t control = 0;
};

namespace Item {
constexpr LayoutItem None{};
constexpr LayoutItem Long(int16_t item) { return {item, FieldItemKind::Long, 0, 0}; }
constexpr LayoutItem Check(int16_t item) { return {item, FieldItemKind::Check, 0, 0}; }
constexpr LayoutItem Real(int16_t item) { return {item, FieldItemKind::Double, 0, 0}; }
constexpr LayoutItem Angle(int16_t item) { return {item, FieldItemKind::Angle, 0, 0}; }
constexpr LayoutItem Text(int16_t item) { return {item, FieldItemKind::Text, 0, 0}; }
// An integer edit with the pen control beside it.
constexpr LayoutItem Pen(int16_t item, int16_t penControl) { return {item, FieldItemKind::PenPair, penControl, 0}; }
// A host attribute chooser of `control`'s type.
constexpr LayoutItem Chooser(int16_t item, uint32_t control) { return {item, FieldItemKind::UserControl, 0, control}; }
// A fill control showing the pen's colour as slot `slot` (0 contour, 1 foreground, 2 background).
constexpr LayoutItem PenColour(int16_t item, uint32_t slot) { return {item, FieldItemKind::PenColour, 0, slot}; }
}  // namespace Item

// A field's built-in default: a number, or a text ("" is an empty text).
struct FieldDefault {
    constexpr FieldDefault(int value) : number(value) {}
    constexpr FieldDefault(double value) : number(value) {}
    constexpr FieldDefault(const char* value) : text(value) {}
    double number = 0.0;
    const char* text = nullptr;
};

struct FieldRow {
    const char* member;
    int16_t id;
    int32_t prefs;  // the PrefsParam index, or NoPrefs
    FieldDefault value;
    LayoutItem first;   // in the first (compact) layout of the dialog
    LayoutItem second;  // in the second
};

namespace FieldTable {

template <typename T>
constexpr bool IsInteger = std::is_integral_v<T>;

// An integer field's 16 bits: sign-extended from a signed field, zero-extended from an unsigned one.
template <typename T>
int32_t Low16(T field) {
    if constexpr (std::is_signed_v<T>)
        return int16_t(field);
    else
        return uint16_t(field);
}

template <typename T>
int32_t Signed16(T field) {
    return int16_t(field);
}

template <typename T>
void Clear(T& field) {
    if constexpr (std::is_same_v<T, QV_String>)
        field.Clear();
    else
        field = T(0);
}

template <typename T>
void Default(T& field, const FieldDefault& value) {
    if constexpr (std::is_same_v<T, QV_String>) {
        if (value.text == nullptr || value.text[0] == 0)
            field.Clear();
        else
            field = value.text;
    } else {
        field = T(value.number);
    }
}

template <size_t N>
constexpr int16_t MaxId(const FieldRow (&rows)[N]) {
    int16_t most = -1;
    for (const FieldRow& row : rows) most = row.id > most ? row.id : most;
    return most;
}

template <size_t N>
constexpr bool IdsUnique(const FieldRow (&rows)[N]) {
    for (size_t a = 0; a < N; ++a) {
        if (rows[a].id < 0) return false;
        for (size_t b = a + 1; b < N; ++b)
            if (rows[a].id == rows[b].id) return false;
    }
    return true;
}

// A record with fields beside its table (`ResetBeside`, `SetBesideDefaults`): their ids are the table's gaps. A
// record without such fields may still have Reset leave a row at another value than 0 through ResetBeside.
template <typename T, typename = void>
struct HasBeside : std::false_type {};
template <typename T>
struct HasBeside<T, std::void_t<decltype(std::declval<T&>().ResetBeside())>> : std::true_type {};

template <typename R>
void ResetBeside(R& record) {
    if constexpr (HasBeside<R>::value) record.ResetBeside();
}

template <typename R>
void SetBesideDefaults(R& record) {
    if constexpr (HasBeside<R>::value) record.SetBesideDefaults();
}

template <size_t N>
constexpr bool IdsRunFromZero(const FieldRow (&rows)[N]) {
    for (size_t id = 0; id < N; ++id) {
        size_t found = 0;
        for (const FieldRow& row : rows) found += size_t(row.id) == id ? 1 : 0;
        if (found != 1) return false;
    }
    return true;
}

}  // namespace FieldTable

#define LODRAVIX_FIELD_MEMBER(member, id, type, prefs, value, first, second) type member;
#define LODRAVIX_FIELD_ROW(member, id, type, prefs, value, first, second)                                              \
    FieldRow{#member, id, prefs, value, first, second},
#define LODRAVIX_FIELD_ID(member, id, type, prefs, value, first, second) member = id,
#define LODRAVIX_FIELD_VISIT(member, id, type, prefs, value, first, second) visit(self.member, id, prefs, value);
#define LODRAVIX_FIELD_COPY(member, id, type, prefs, value, first, second)                                             \
    if (wanted == id) member = source.member;

// Inside `struct Record { ... };`: the members and everything the rows give. A record whose GetShort answers
// every integer field's 16 bits sign-extended, unsigned ones too, declares itself with
// LODRAVIX_SETTINGS_RECORD_SIGNED.
// A record with fields the table cannot hold (arrays, points, a sub-record) declares them beside it, with
// `ResetBeside()` and `SetBesideDefaults()` that Reset and SetDefaults call, and with
// LODRAVIX_SETTINGS_RECORD_BESIDE: their ids are the gaps the table leaves, and the record's own accessors reach them.
#define LODRAVIX_SETTINGS_RECORD(Record, LIST)                                                                         \
    LODRAVIX_SETTINGS_RECORD_READING(Record, LIST, FieldTable::Low16)                                                  \
    static_assert(FieldTable::IdsRunFromZero(Rows), #Record ": field ids run from 0 without gaps");
#define LODRAVIX_SETTINGS_RECORD_SIGNED(Record, LIST)                                                                  \
    LODRAVIX_SETTINGS_RECORD_READING(Record, LIST, FieldTable::Signed16)                                               \
    static_assert(FieldTable::IdsRunFromZero(Rows), #Record ": field ids run from 0 without gaps");
#define LODRAVIX_SETTINGS_RECORD_BESIDE(Record, LIST) LODRAVIX_SETTINGS_RECORD_READING(Record, LIST, FieldTable::Low16)
#define LODRAVIX_SETTINGS_RECORD_READING(Record, LIST, READ16)                                                         \
    Record() { Reset(); }                                                                                              \
    LIST(LODRAVIX_FIELD_MEMBER)                                                                                        \
    struct Id {                                                                                                        \
        enum : int16_t { LIST(LODRAVIX_FIELD_ID) };                                                                    \
    };                                                                                                                 \
    static constexpr FieldRow Rows[] = {LIST(LODRAVIX_FIELD_ROW)};                                                     \
    /* One past the highest id: the number of change flags. */                                                         \
    static constexpr int16_t FieldCount = int16_t(FieldTable::MaxId(Rows) + 1);                                        \
    static_assert(FieldTable::IdsUnique(Rows), #Record ": field ids unique and not negative");                         \
    using Changed = uint8_t[FieldCount];                                                                               \
    /* `visit(field, id, prefs, default)` for every row, in the table's order. */                                      \
    template <typename Self, typename Visit>                                                                           \
    static void EachField(Self& self, Visit&& visit) {                                                                 \
        LIST(LODRAVIX_FIELD_VISIT)                                                                                     \
    }                                                                                                                  \
    /* The field `wanted` takes `source`'s. */                                                                         \
    void CopyField(const Record& source, int16_t wanted) { LIST(LODRAVIX_FIELD_COPY) }                                 \
    /* Numbers 0, texts empty. */                                                                                      \
    void Reset() {                                                                                                     \
        EachField(*this, [](auto& field, int16_t, int32_t, const FieldDefault&) { FieldTable::Clear(field); });        \
        FieldTable::ResetBeside(*this);                                                                                \
    }                                                                                                                  \
    void SetDefaults() {                                                                                               \
        EachField(*this, [](auto& field, int16_t, int32_t, const FieldDefault& value) {                                \
            FieldTable::Default(field, value);                                                                         \
        });                                                                                                            \
        FieldTable::SetBesideDefaults(*this);                                                                          \
    }                                                                                                                  \
    /* The fields the preferences do not keep, to their defaults. */                                                   \
    void SetUnkeptDefaults() {                                                                                         \
        EachField(*this, [](auto& field, int16_t, int32_t prefs, const FieldDefault& value) {                          \
            if (prefs == NoPrefs) FieldTable::Default(field, value);                                                   \
        });                                                                                                            \
    }                                                                                                                  \
    int32_t GetShort(int16_t wanted) const {                                                                           \
        int32_t result = 0;                                                                                            \
        EachField(*this, [&](const auto& field, int16_t id, int32_t, const FieldDefault&) {                            \
            using T = std::decay_t<decltype(field)>;                                                                   \
            if constexpr (FieldTable::IsInteger<T>)                                                                    \
                if (id == wanted) result = READ16(field);                                                              \
        });                                                                                                            \
        return result;                                                                                                 \
    }                                                                                                                  \
    /* An integer field's whole value (a 16-bit one sign- or zero-extended as its type is), as a dialog item */        \
    /* shows it. */                                                                                                    \
    int32_t GetLong(int16_t wanted) const {                                                                            \
        int32_t result = 0;                                                                                            \
        EachField(*this, [&](const auto& field, int16_t id, int32_t, const FieldDefault&) {                            \
            using T = std::decay_t<decltype(field)>;                                                                   \
            if constexpr (FieldTable::IsInteger<T>)                                                                    \
                if (id == wanted) result = int32_t(field);                                                             \
        });                                                                                                            \
        return result;                                                                                                 \
    }                                                                                                                  \
    /* The field `wanted` to its built-in default. */                                                                  \
    void SetDefault(int16_t wanted) {                                                                                  \
        EachField(*this, [&](auto& field, int16_t id, int32_t, const FieldDefault& value) {                            \
            if (id == wanted) FieldTable::Default(field, value);                                                       \
        });                                                                                                            \
    }                                                                                                                  \
    /* An integer field's whole value, as a dialog item holds it (cut to the field's width). */                        \
    void SetLong(int16_t wanted, int32_t value) {                                                                      \
        EachField(*this, [&](auto& field, int16_t id, int32_t, const FieldDefault&) {                                  \
            using T = std::decay_t<decltype(field)>;                                                                   \
            if constexpr (FieldTable::IsInteger<T>)                                                                    \
                if (id == wanted) field = T(value);                                                                    \
        });                                                                                                            \
    }                                                                                                                  \
    void SetShort(int16_t wanted, int16_t value) { SetLong(wanted, value); }                                           \
    double GetReal(int16_t wanted) const {                                                                             \
        double result = 0.0;                                                                                           \
        EachField(*this, [&](const auto& field, int16_t id, int32_t, const FieldDefault&) {                            \
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, double>)                                       \
                if (id == wanted) result = field;                                                                      \
        });                                                                                                            \
        return result;                                                                                                 \
    }                                                                                                                  \
    void SetReal(int16_t wanted, double value) {                                                                       \
        EachField(*this, [&](auto& field, int16_t id, int32_t, const FieldDefault&) {                                  \
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, double>)                                       \
                if (id == wanted) field = value;                                                                       \
        });                                                                                                            \
    }                                                                                                                  \
    /* The field `wanted` of type T, or null (a run of fields by id: `FieldOf<T>(Id::first + k)`). */                  \
    template <typename T>                                                                                              \
    T* FieldOf(int16_t wanted) {                                                                                       \
        T* result = nullptr;                                                                                           \
        EachField(*this, [&](auto& field, int16_t id, int32_t, const FieldDefault&) {                                  \
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, T>)                                            \
                if (id == wanted) result = &field;                                                                     \
        });                                                                                                            \
        return result;                                                                                                 \
    }                                                                                                                  \
    /* The text field `wanted`, or null. */                                                                            \
    QV_String* Text(int16_t wanted) { return FieldOf<QV_String>(wanted); }                                             \
    const QV_String* Text(int16_t wanted) const { return const_cast<Record*>(this)->Text(wanted); }
