#include "elements/GdlParams.hpp"

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr int32_t TextUnitsMax = 256;  // a scalar text field, terminator included

bool IsArray(const API_AddParType& rec) { return rec.dim1 != 0 && rec.dim2 != 0; }
bool IsText(const API_AddParType& rec) { return rec.typeID == APIParT_Text; }

// Cells the dimensions describe; 0 for negative dimensions (a corrupt record has no valid cell).
int64_t CellCount(const API_AddParType& rec) {
    if (rec.dim1 <= 0 || rec.dim2 <= 0) return 0;
    return int64_t(rec.dim1) * int64_t(rec.dim2);
}

// Flat index of (i, j), or of i alone when j < 0; false outside the array.
bool FlatIndex(const API_AddParType& rec, int32_t i, int32_t j, int64_t& k) {
    if (j < 0) {
        if (i < 0 || int64_t(i) >= CellCount(rec)) return false;
        k = i;
        return true;
    }
    if (i < 0 || i >= rec.dim1 || j >= rec.dim2) return false;
    k = int64_t(i) * rec.dim2 + j;
    return true;
}

// Finds the record, stores lastIndex and resets the status (with clearStatus); -1 when absent.
int32_t LookUp(BaseLP& view, const QV_String& name) {
    const int32_t index = view.FindParam(name);
    if (index < 0) return -1;
    view.lastIndex = index;
    view.LookupSucceeded();
    return index;
}

QV_String NameFromBytes(const char* name) { return name != nullptr ? QV_String(name, Encoding_System) : QV_String(); }

int32_t Fail(BaseLP& view, int32_t status) {
    view.status = status;
    return -1;
}

// ---- numeric cells ----

// Cells the handle really holds.
int64_t HeldDoubles(GSHandle cells) { return BMGetHandleSize(cells) / GSSize(sizeof(double)); }

double* DoubleCells(GSHandle cells) { return cells != nullptr ? reinterpret_cast<double*>(*cells) : nullptr; }

// ---- text cells ----

struct TextSpan {
    size_t start;   // in units from the handle's start
    size_t length;  // units, terminator excluded
    bool terminated;
};

size_t HeldUnits(GSHandle cells) { return size_t(BMGetHandleSize(cells)) / sizeof(char16_t); }

const char16_t* TextUnits(GSHandle cells) {
    return cells != nullptr ? reinterpret_cast<const char16_t*>(*cells) : nullptr;
}

// The cells the handle holds, at most `limit`; the walk never passes the end of the block.
std::vector<TextSpan> SplitTextCells(GSHandle cells, int64_t limit) {
    std::vector<TextSpan> spans;
    const size_t units = HeldUnits(cells);
    const char16_t* text = TextUnits(cells);
    size_t pos = 0;
    while (pos < units && int64_t(spans.size()) < limit) {
        size_t end = pos;
        while (end < units && text[end] != 0) ++end;
        spans.push_back({pos, end - pos, end < units});
        pos = end + 1;
    }
    return spans;
}

// Length of a text up to its first 0 unit.
uint32_t TextLength(const QV_String& text) {
    const char16_t* units = text.GetBuffer();
    uint32_t n = 0;
    while (n < text.GetLength() && units[n] != 0) ++n;
    return n;
}

// Builds a handle of packed texts: each piece is (units, length); `total` cells, pieces past the given ones
// empty. Null on allocation failure.
struct TextPiece {
    const char16_t* units;
    size_t length;
};

GSHandle BuildTextHandle(const std::vector<TextPiece>& pieces, int64_t total) {
    size_t units = 0;
    for (const TextPiece& p : pieces) units += p.length + 1;
    if (int64_t(pieces.size()) < total) units += size_t(total - int64_t(pieces.size()));
    GSHandle h = BMAllocateHandle(GSSize(units * sizeof(char16_t)), ALLOCATE_CLEAR, 0);
    if (h == nullptr) return nullptr;
    char16_t* out = reinterpret_cast<char16_t*>(*h);
    size_t pos = 0;
    for (const TextPiece& p : pieces) {
        if (p.length > 0) std::memcpy(out + pos, p.units, p.length * sizeof(char16_t));
        pos += p.length + 1;  // the terminator is already 0
    }
    return h;
}

// Pieces of cells `from` to `to` - 1 of a text handle. Cells the handle lacks are empty: with `pad` they are
// added as empty pieces (more pieces follow), without it they are left to BuildTextHandle's padding.
void AppendCellPieces(GSHandle cells, int64_t from, int64_t to, std::vector<TextPiece>& pieces, bool pad) {
    const std::vector<TextSpan> spans = SplitTextCells(cells, to);
    const char16_t* text = TextUnits(cells);
    for (int64_t k = from; k < to; ++k) {
        if (k < int64_t(spans.size()))
            pieces.push_back({text + spans[size_t(k)].start, spans[size_t(k)].length});
        else if (pad)
            pieces.push_back({nullptr, 0});
        else
            break;
    }
}

// Replaces the record's cell handle by `fresh` (never null here).
void ReplaceCells(API_AddParType& rec, GSHandle fresh) {
    GSHandle old = rec.value.array;
    rec.value.array = fresh;
    BMKillHandle(&old);
}

// ---- checks shared by the cell operations ----

// Finds an array record of the wanted kind and the flat cell; -1 with the status set otherwise.
int32_t LocateCell(BaseLP& view, const QV_String& name, int32_t i, int32_t j, bool text, int64_t& k) {
    const int32_t index = LookUp(view, name);
    if (index < 0) return -1;
    const API_AddParType& rec = *view.Record(index);
    if (!IsArray(rec) || IsText(rec) != text) return Fail(view, LPStatus_WrongKind);
    if (!FlatIndex(rec, i, j, k)) return Fail(view, LPStatus_BadCell);
    return index;
}

// Integer from a cell value: truncated toward zero, clamped to the type's range, NaN as 0.
template <typename I>
I TruncateClamped(double value) {
    if (std::isnan(value)) return 0;
    constexpr double lo = double(std::numeric_limits<I>::min());
    constexpr double hi = double(std::numeric_limits<I>::max());
    if (value <= lo) return std::numeric_limits<I>::min();
    if (value >= hi) return std::numeric_limits<I>::max();
    return I(value);
}

// Resize core on a found record.
int32_t ResizeRecord(BaseLP& view, int32_t index, int32_t dim1, int32_t dim2, bool fresh) {
    API_AddParType& rec = *view.Record(index);
    if (!IsArray(rec)) return Fail(view, LPStatus_WrongKind);
    const int64_t cells = int64_t(dim1) * int64_t(dim2);
    if (cells > MaxArrayParamCells) return Fail(view, LPStatus_NoMemory);
    if (!fresh && rec.dim1 == dim1 && rec.dim2 == dim2) return index;

    if (IsText(rec)) {
        std::vector<TextPiece> pieces;
        if (!fresh) AppendCellPieces(rec.value.array, 0, cells, pieces, false);
        GSHandle h = BuildTextHandle(pieces, cells);
        if (h == nullptr) return Fail(view, LPStatus_NoMemory);
        ReplaceCells(rec, h);
    } else {
        const GSSize bytes = GSSize(cells) * GSSize(sizeof(double));
        if (fresh || rec.value.array == nullptr) {
            GSHandle h = BMAllocateHandle(bytes, ALLOCATE_CLEAR, 0);
            if (h == nullptr) return Fail(view, LPStatus_NoMemory);
            ReplaceCells(rec, h);
        } else {
            // The cells that fit stay in flat order; the grown tail is cleared to 0.0.
            if (BMReallocHandle(rec.value.array, bytes, ALLOCATE_CLEAR, 0) == nullptr)
                return Fail(view, LPStatus_NoMemory);
        }
    }
    rec.dim1 = dim1;
    rec.dim2 = dim2;
    return index;
}

int32_t ResizeFound(BaseLP& view, const QV_String& name, int32_t dim1, int32_t dim2, bool fresh) {
    if (dim1 < 1 || dim2 < 1) return Fail(view, LPStatus_BadDimension);
    const int32_t index = LookUp(view, name);
    if (index < 0) return -1;
    return ResizeRecord(view, index, dim1, dim2, fresh);
}

// Reads every numeric cell through `store(k, value)`; false at the first failing cell.
template <typename Store>
bool ReadNumericArray(BaseLP& view, int32_t index, int32_t& dim1, int32_t& dim2, Store store) {
    const API_AddParType& rec = *view.Record(index);
    if (!IsArray(rec) || IsText(rec)) {
        view.status = LPStatus_WrongKind;
        return false;
    }
    dim1 = rec.dim1;
    dim2 = rec.dim2;
    const int64_t cells = CellCount(rec);
    if (cells == 0) {
        view.status = LPStatus_BadCell;
        return false;
    }
    const int64_t held = HeldDoubles(rec.value.array);
    for (int64_t k = 0; k < cells; ++k) {
        if (k >= held) {
            view.status = LPStatus_BadCell;
            return false;
        }
        if (!store(DoubleCells(rec.value.array)[k])) {
            view.status = LPStatus_NoMemory;
            return false;
        }
    }
    return true;
}

// Writes `n` values (value(k)) into a freshly emptied dim1 x dim2 array; an empty list gives 1 x 1.
template <typename Value>
bool WriteNumericArray(BaseLP& view, int32_t index, int32_t n, int32_t dim1, int32_t dim2, Value value) {
    if (n == 0) {
        dim1 = 1;
        dim2 = 1;
    }
    if (dim1 < 1 || dim2 < 1) {
        view.status = LPStatus_BadDimension;
        return false;
    }
    // Numbers never go into a text array's handle.
    if (IsText(*view.Record(index)) && IsArray(*view.Record(index))) {
        view.status = LPStatus_WrongKind;
        return false;
    }
    if (ResizeRecord(view, index, dim1, dim2, true) < 0) return false;
    API_AddParType& rec = *view.Record(index);
    const int64_t cells = CellCount(rec);
    for (int32_t k = 0; k < n; ++k) {
        if (k >= cells) {
            view.status = LPStatus_BadCell;
            return false;
        }
        DoubleCells(rec.value.array)[k] = value(k);
    }
    return true;
}

template <typename I>
bool ExchangeIntegerArray(BaseLP& view, QV_List<I>& list, int32_t& dim1, int32_t& dim2, const QV_String& name,
                          int32_t mode) {
    const int32_t index = LookUp(view, name);
    if (index < 0) return false;
    if (mode == 0)
        return ReadNumericArray(view, index, dim1, dim2,
                                [&list](double v) { return list.Insert(TruncateClamped<I>(v)); });
    if (mode == 1)
        return WriteNumericArray(view, index, list.GetCount(), dim1, dim2,
                                 [&list](int32_t k) { return double(list[k]); });
    return false;
}

}  // namespace

int32_t FindParamByCName(BaseLP& view, const char* name) { return LookUp(view, NameFromBytes(name)); }

bool CopyGdlParam(BaseLP& source, BaseLP& target, const QV_String& sourceName, const QV_String& targetName,
                  bool sameSize, bool overlay) {
    const int32_t from = LookUp(source, sourceName);
    if (from < 0) return false;
    int32_t targetFail = LPStatus_OK;
    const int32_t to = target.LocateParam(targetName, targetFail);
    if (to < 0) {
        source.status = targetFail;
        return false;
    }
    const API_AddParType& src = *source.Record(from);
    API_AddParType& dst = *target.Record(to);
    if (&src == &dst) return true;
    if (IsArray(src) != IsArray(dst) || src.typeID != dst.typeID) return false;
    if (sameSize && (src.dim1 != dst.dim1 || src.dim2 != dst.dim2)) return false;

    if (!IsArray(src)) {
        if (IsText(src)) {
            // The source field need not be terminated: never copy more than the field minus its terminator.
            char16_t text[TextUnitsMax] = {};
            for (int32_t n = 0; n < TextUnitsMax - 1 && src.value.uStr[n] != 0; ++n) text[n] = src.value.uStr[n];
            std::memcpy(dst.value.uStr, text, sizeof text);
        } else {
            dst.value.real = src.value.real;
        }
        return true;
    }

    if (!overlay) {
        GSHandle copy = nullptr;
        if (src.value.array != nullptr) {
            BMHandleToHandle(src.value.array, &copy);
            if (copy == nullptr) {
                source.status = LPStatus_NoMemory;
                return false;
            }
        }
        GSHandle old = dst.value.array;
        dst.value.array = copy;
        BMKillHandle(&old);
        dst.dim1 = src.dim1;
        dst.dim2 = src.dim2;
        return true;
    }

    const int64_t srcCells = CellCount(src);
    const int64_t dstCells = CellCount(dst);
    const int64_t n = srcCells < dstCells ? srcCells : dstCells;
    if (!IsText(src)) {
        int64_t m = n;
        if (HeldDoubles(src.value.array) < m) m = HeldDoubles(src.value.array);
        if (HeldDoubles(dst.value.array) < m) m = HeldDoubles(dst.value.array);
        if (m > 0) std::memmove(DoubleCells(dst.value.array), DoubleCells(src.value.array), size_t(m) * sizeof(double));
        return true;
    }
    std::vector<TextPiece> pieces;
    AppendCellPieces(src.value.array, 0, n, pieces, true);
    AppendCellPieces(dst.value.array, n, dstCells, pieces, false);
    GSHandle h = BuildTextHandle(pieces, dstCells);
    if (h == nullptr) {
        source.status = LPStatus_NoMemory;
        return false;
    }
    ReplaceCells(dst, h);
    return true;
}

bool SameGdlParam(BaseLP& source, BaseLP& target, const QV_String& name) {
    const int32_t from = LookUp(source, name);
    const int32_t to = LookUp(target, name);
    if (from < 0 || to < 0) return false;
    const API_AddParType& a = *source.Record(from);
    const API_AddParType& b = *target.Record(to);
    if (a.typeID != b.typeID || IsArray(a) != IsArray(b)) return false;
    if (!IsArray(a)) {
        if (!IsText(a)) return std::memcmp(&a.value.real, &b.value.real, sizeof a.value.real) == 0;
        for (int32_t n = 0; n < TextUnitsMax - 1; ++n) {
            if (a.value.uStr[n] != b.value.uStr[n]) return false;
            if (a.value.uStr[n] == 0) break;
        }
        return true;
    }
    if (a.dim1 != b.dim1 || a.dim2 != b.dim2) return false;
    if (a.value.array == nullptr || b.value.array == nullptr) return a.value.array == b.value.array;
    const GSSize size = BMGetHandleSize(a.value.array);
    return size == BMGetHandleSize(b.value.array) && std::memcmp(*a.value.array, *b.value.array, size_t(size)) == 0;
}

double GetArrayParamCell(BaseLP& view, const char* name, int32_t i, int32_t j) {
    int64_t k = 0;
    const int32_t index = LocateCell(view, NameFromBytes(name), i, j, false, k);
    if (index < 0) return 0.0;
    const API_AddParType& rec = *view.Record(index);
    if (k >= HeldDoubles(rec.value.array)) {
        view.status = LPStatus_BadCell;
        return 0.0;
    }
    return DoubleCells(rec.value.array)[k];
}

int32_t SetArrayParamCell(BaseLP& view, const char* name, int32_t i, int32_t j, double value) {
    int64_t k = 0;
    const int32_t index = LocateCell(view, NameFromBytes(name), i, j, false, k);
    if (index < 0) return -1;
    API_AddParType& rec = *view.Record(index);
    if (k >= HeldDoubles(rec.value.array)) return Fail(view, LPStatus_BadCell);
    DoubleCells(rec.value.array)[k] = value;
    return index;
}

int32_t ResizeArrayParam(BaseLP& view, const QV_String& name, int32_t dim1, int32_t dim2, bool fresh) {
    return ResizeFound(view, name, dim1, dim2, fresh);
}

int32_t ResizeArrayParamByCName(BaseLP& view, const char* name, int32_t dim1, int32_t dim2, bool fresh) {
    return ResizeFound(view, NameFromBytes(name), dim1, dim2, fresh);
}

QV_String& GetStringArrayCell(BaseLP& view, QV_String& out, const QV_String& name, int32_t i, int32_t j) {
    int64_t k = 0;
    const int32_t index = LocateCell(view, name, i, j, true, k);
    if (index < 0) {
        out.Clear();
        return out;
    }
    const API_AddParType& rec = *view.Record(index);
    const std::vector<TextSpan> spans = SplitTextCells(rec.value.array, k + 1);
    if (int64_t(spans.size()) <= k) {
        view.status = LPStatus_BadCell;
        out.Clear();
        return out;
    }
    const TextSpan& span = spans[size_t(k)];
    QV_String text("");
    if (!text.AppendWide(TextUnits(rec.value.array) + span.start, uint32_t(span.length)))
        view.status = LPStatus_NoMemory;
    out.Swap(text);
    return out;
}

int32_t SetStringArrayCell(BaseLP& view, const QV_String& name, int32_t i, int32_t j, const QV_String& text) {
    if (!text.HasBuffer()) return Fail(view, LPStatus_NoText);
    int64_t k = 0;
    const int32_t index = LocateCell(view, name, i, j, true, k);
    if (index < 0) return -1;
    API_AddParType& rec = *view.Record(index);
    const int64_t cells = CellCount(rec);
    const std::vector<TextSpan> spans = SplitTextCells(rec.value.array, cells);
    if (int64_t(spans.size()) <= k) return Fail(view, LPStatus_BadCell);
    const uint32_t length = TextLength(text);
    const TextSpan& old = spans[size_t(k)];
    if (old.length == length && old.terminated) {
        if (length > 0)
            std::memcpy(reinterpret_cast<char16_t*>(*rec.value.array) + old.start, text.GetBuffer(),
                        length * sizeof(char16_t));
        return index;
    }
    std::vector<TextPiece> pieces;
    AppendCellPieces(rec.value.array, 0, cells, pieces, false);
    pieces[size_t(k)] = {text.GetBuffer(), length};
    GSHandle h = BuildTextHandle(pieces, cells);
    if (h == nullptr) return Fail(view, LPStatus_NoMemory);
    ReplaceCells(rec, h);
    return index;
}

bool ExchangeDoubleArrayParam(BaseLP& view, QV_List<double>& list, int32_t& dim1, int32_t& dim2, const QV_String& name,
                              int32_t mode) {
    const int32_t index = LookUp(view, name);
    if (index < 0) return false;
    if (mode == 0) return ReadNumericArray(view, index, dim1, dim2, [&list](double v) { return list.Insert(v); });
    if (mode == 1)
        return WriteNumericArray(view, index, list.GetCount(), dim1, dim2, [&list](int32_t k) { return list[k]; });
    return false;
}

bool ExchangeIntArrayParam(BaseLP& view, QV_List<int32_t>& list, int32_t& dim1, int32_t& dim2, const QV_String& name,
                           int32_t mode) {
    return ExchangeIntegerArray(view, list, dim1, dim2, name, mode);
}

bool ExchangeLongArrayParam(BaseLP& view, QV_List<int32_t>& list, int32_t& dim1, int32_t& dim2, const QV_String& name,
                            int32_t mode) {
    return ExchangeIntegerArray(view, list, dim1, dim2, name, mode);
}

bool ExchangeShortArrayParam(BaseLP& view, QV_List<int16_t>& list, int32_t& dim1, int32_t& dim2, const QV_String& name,
                             int32_t mode) {
    return ExchangeIntegerArray(view, list, dim1, dim2, name, mode);
}

bool ExchangeStringArrayParam(BaseLP& view, QV_List<QV_String>& list, int32_t& dim1, int32_t& dim2,
                              const QV_String& name, int32_t mode) {
    const int32_t index = LookUp(view, name);
    if (index < 0) return false;
    if (mode == 0) {
        const API_AddParType& rec = *view.Record(index);
        if (!IsArray(rec) || !IsText(rec)) {
            view.status = LPStatus_WrongKind;
            return false;
        }
        dim1 = rec.dim1;
        dim2 = rec.dim2;
        const int64_t cells = CellCount(rec);
        const std::vector<TextSpan> spans = SplitTextCells(rec.value.array, cells);
        for (int64_t k = 0; k < cells; ++k) {
            if (k >= int64_t(spans.size())) {
                view.status = LPStatus_BadCell;
                return false;
            }
            QV_String text("");
            if (!text.AppendWide(TextUnits(rec.value.array) + spans[size_t(k)].start,
                                 uint32_t(spans[size_t(k)].length)) ||
                !list.Insert(text)) {
                view.status = LPStatus_NoMemory;
                return false;
            }
        }
        if (cells == 0) {
            view.status = LPStatus_BadCell;
            return false;
        }
        return true;
    }
    if (mode != 1) return false;

    const int32_t n = list.GetCount();
    int32_t rows = dim1;
    int32_t cols = dim2;
    if (n == 0) rows = cols = 1;
    if (rows < 1 || cols < 1) {
        view.status = LPStatus_BadDimension;
        return false;
    }
    if (!IsText(*view.Record(index)) && IsArray(*view.Record(index))) {
        view.status = LPStatus_WrongKind;
        return false;
    }
    if (ResizeRecord(view, index, rows, cols, true) < 0) return false;
    // The elements up to the first one that cannot be stored go in; the rest of the cells stay empty.
    const int64_t cells = int64_t(rows) * cols;
    std::vector<TextPiece> pieces;
    int32_t failure = LPStatus_OK;
    for (int32_t k = 0; k < n; ++k) {
        const QV_String& text = list[k];
        if (!text.HasBuffer()) {
            failure = LPStatus_NoText;
            break;
        }
        if (k >= cells) {
            failure = LPStatus_BadCell;
            break;
        }
        pieces.push_back({text.GetBuffer(), TextLength(text)});
    }
    if (!pieces.empty()) {
        GSHandle h = BuildTextHandle(pieces, cells);
        if (h == nullptr) {
            view.status = LPStatus_NoMemory;
            return false;
        }
        ReplaceCells(*view.Record(index), h);
    }
    if (failure != LPStatus_OK) {
        view.status = failure;
        return false;
    }
    return true;
}
