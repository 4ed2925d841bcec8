#pragma once
// Operations on one GDL parameter list (a BaseLP view over API_AddParType records) beyond the views' own
// scalar accessors: copying a parameter between lists, array cells, resizing, and whole-array exchange.
//
// Array storage: cell (i, j) has the flat index k = i * dim2 + j. Numeric arrays hold dim1 * dim2 doubles;
// text arrays hold the cells' UTF-16 texts one after another, each ended by a 0 unit (an empty cell is one
// 0 unit). A cell may be addressed by (i, j) or by a flat index i with j < 0.
//
// Names: an empty name (or null) reuses the view's lastIndex. A successful lookup stores lastIndex and, with
// clearStatus, resets status to 0. Nothing here shows a message: failures answer false / -1 / 0.0 / a string
// without buffer and leave the reason in the view's status (LPStatus).
#include "elements/BaseLP.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include <cstdint>

// Most cells an array may be given (a resize above it fails with LPStatus_NoMemory).
constexpr int64_t MaxArrayParamCells = int64_t(1) << 22;

// Index of the record named `name` (bytes in the system code page), also stored as lastIndex; -1 if absent.
int32_t FindParamByCName(BaseLP& view, const char* name);

// Copies one parameter's value from `source` into `target`. Both records must exist, both be arrays or both
// scalars, with the same typeID (and with `sameSize` the same dimensions). Scalars: the double, or the text
// (at most 255 units and the terminator). Arrays: without `overlay` the target gets a copy of the source's
// cells and dimensions; with `overlay` the first min(cell counts) cells of the target are overwritten and its
// dimensions stay. Status changes go to the source view.
bool CopyGdlParam(BaseLP& source, BaseLP& target, const QV_String& sourceName, const QV_String& targetName,
                  bool sameSize, bool overlay);
// Whether `target`'s parameter `name` holds what CopyGdlParam (without `overlay`) would copy into it from
// `source`'s: the same type, dimensions and value (a text up to its terminator, array cells byte for byte).
// False also when either record is missing.
bool SameGdlParam(BaseLP& source, BaseLP& target, const QV_String& name);

// One numeric cell; 0.0 on failure (status 4 for a scalar or a text array, 3 for a cell outside the array).
double GetArrayParamCell(BaseLP& view, const char* name, int32_t i, int32_t j);
// Stores one numeric cell; the index, or -1 (same rules as GetArrayParamCell).
int32_t SetArrayParamCell(BaseLP& view, const char* name, int32_t i, int32_t j, double value);

// Resizes an array parameter; the index, or -1 (status 8 for a dimension below 1, 4 for a scalar, 6 when
// memory fails). With `fresh` every cell is emptied (0.0 / empty text); without it the cells keep their flat
// index (so a new dim2 re-flows them across rows), cells cut off are dropped and new cells are empty.
int32_t ResizeArrayParam(BaseLP& view, const QV_String& name, int32_t dim1, int32_t dim2, bool fresh);
int32_t ResizeArrayParamByCName(BaseLP& view, const char* name, int32_t dim1, int32_t dim2, bool fresh);

// The text of one cell of a text array into `out`; on failure `out` is emptied without buffer (status 4 not a
// text array, 3 a cell outside the array or beyond the texts the handle holds).
QV_String& GetStringArrayCell(BaseLP& view, QV_String& out, const QV_String& name, int32_t i, int32_t j);
// Sets one cell of a text array; the index, or -1 (status 5 text without buffer, 4, 3, 6). A text holding a
// 0 unit is stored up to it, so it cannot split the cell.
int32_t SetStringArrayCell(BaseLP& view, const QV_String& name, int32_t i, int32_t j, const QV_String& text);

// Whole-array exchange. Mode 0 reads: dim1 and dim2 receive the array's dimensions and every cell is appended
// to `list` in flat order (the list is not cleared); the first failing cell ends the read with false. Mode 1
// writes: the parameter is emptied and resized to dim1 x dim2, and element k of the list goes into cell k (an
// element beyond the cells fails with status 3); an empty list gives a 1 x 1 array holding 0 / an empty text.
// Any other mode: false. Integer reads truncate toward zero, clamped to the element type's range (NaN: 0).
bool ExchangeDoubleArrayParam(BaseLP& view, QV_List<double>& list, int32_t& dim1, int32_t& dim2, const QV_String& name,
                              int32_t mode);
bool ExchangeIntArrayParam(BaseLP& view, QV_List<int32_t>& list, int32_t& dim1, int32_t& dim2, const QV_String& name,
                           int32_t mode);
bool ExchangeLongArrayParam(BaseLP& view, QV_List<int32_t>& list, int32_t& dim1, int32_t& dim2, const QV_String& name,
                            int32_t mode);
bool ExchangeShortArrayParam(BaseLP& view, QV_List<int16_t>& list, int32_t& dim1, int32_t& dim2, const QV_String& name,
                             int32_t mode);
bool ExchangeStringArrayParam(BaseLP& view, QV_List<QV_String>& list, int32_t& dim1, int32_t& dim2,
                              const QV_String& name, int32_t mode);
