#pragma once
// One converted SOSI object: what the assembly makes and the builders read.
#include <cstdint>

#include "APICoord.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"
#include "geometry/QV_Arc.hpp"

// Geometry kinds of SOSI group lines; SOSIKindNone for any other group line (header, end line).
enum : int16_t {
    SOSIKindPoint = 0,
    SOSIKindSwarm = 1,
    SOSIKindLine = 2,
    SOSIKindCurve = 3,
    SOSIKindArcByRadius = 4,  // first and last point plus a signed radius
    SOSIKindArcByPoints = 5,
    SOSIKindCircle = 6,  // centre (first point) plus radius
    SOSIKindCircleByPoints = 7,
    SOSIKindBezier = 8,  // anchor, control, control, anchor, ...
    SOSIKindText = 9,
    SOSIKindSurface = 10,
    SOSIKindNone = -1  // 0xFFFF as u16
};

// One piece of coordinates (a surface ring).
typedef QV_List<API_Coord3D> SOSICos;
// One reference group: object ids as written, a leading ':' removed, a sign kept.
typedef QV_List<QV_String> SOSIRefs;

// A list most records leave empty (a surface's rings, a text's lines, a surface's references): nothing is held
// until the first element comes, so a million points carry one pointer each instead of three empty lists. Reads
// as the QV_List it holds, or an empty one.
template <typename T>
class SOSISparseList {
public:
    SOSISparseList() = default;
    SOSISparseList(const SOSISparseList& other) { *this = other; }
    SOSISparseList& operator=(const SOSISparseList& other) { return *this = other.List(); }
    SOSISparseList& operator=(const QV_List<T>& other) {
        if (&other == list) return *this;
        if (other.IsEmpty()) {
            Clear();
        } else if (list != nullptr) {
            *list = other;
        } else {
            list = new QV_List<T>(other);
        }
        return *this;
    }
    ~SOSISparseList() { Clear(); }

    // Frees the list.
    void Clear() {
        delete list;
        list = nullptr;
    }
    bool Insert(const T& item) {
        if (list == nullptr) list = new QV_List<T>();
        return list->Insert(item);
    }
    int32_t GetCount() const { return list != nullptr ? list->GetCount() : 0; }
    bool IsEmpty() const { return GetCount() == 0; }
    T& operator[](int32_t i) { return (*list)[i]; }
    const T& operator[](int32_t i) const { return (*list)[i]; }
    T* begin() { return list != nullptr ? list->begin() : nullptr; }
    T* end() { return list != nullptr ? list->end() : nullptr; }
    const T* begin() const { return list != nullptr ? list->begin() : nullptr; }
    const T* end() const { return list != nullptr ? list->end() : nullptr; }
    const QV_List<T>& List() const {
        static const QV_List<T> empty;
        return list != nullptr ? *list : empty;
    }
    operator const QV_List<T>&() const { return List(); }

private:
    QV_List<T>* list = nullptr;  // moved as raw bytes with its record
};

struct SOSIData {
    int16_t geometryKind = 0;
    QV_List<API_Coord3D> coords;  // x, y, z
    double radius = 0.0;          // signed for SOSIKindArcByRadius
    QV_String id;                 // its integer value is what "..REF" lines name
    QV_String type;
    SOSISparseList<SOSICos> pieces;
    SOSISparseList<QV_String> texts;
    SOSISparseList<SOSIRefs> refs;
    int32_t fileIndex = -1;

    // Empties the record (lists cleared, numbers 0, file index -1).
    void Reset();
    // An arc or circle record's circle: kinds 4 and 6 by their radius, kinds 5 and 7 through three points; the
    // degenerate arc when the points give none.
    QV_Arc Arc() const;
};
QV_DECLARE_RELOCATABLE(SOSIData);
