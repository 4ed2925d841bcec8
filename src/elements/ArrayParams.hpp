#pragma once
// Flattening of point records to the flat lists of doubles that GDL array parameters hold, and back.
//
// A flat list of N records with k fields each comes in two layouts:
//   by columns  (interleaved false): all first fields, then all second fields ...; field j of record i
//                                    is at j * N + i;
//   interleaved (interleaved true):  the fields of record 0, then of record 1 ...; field j of record i is
//                                    at i * k + j (the row-by-row order of an N by k array parameter).
// A QV_Coord3DLong has the fields x, y, z, code; with codeBeforeZ the last two change places (x, y, code, z).
// A code travels as a double: written as its value, read back truncated toward zero (and held inside the
// 32-bit range, whatever the array holds).
//
// Every conversion appends to its target and leaves what the target held before. It is all or nothing: when
// the target cannot grow, it is left as it was and the result is false.
#include "elements/BaseLP.hpp"
#include "foundation/QV_List.hpp"
#include "geometry/QV_Poly.hpp"

#include "APICoord.hpp"

bool QuadListToDoubles(const QV_List<QV_Coord3DLong>& source, QV_List<double>& target, bool interleaved,
                       bool codeBeforeZ);
// Reads floor(count / 4) records; values beyond them are ignored.
bool DoublesToQuadList(const QV_List<double>& source, QV_List<QV_Coord3DLong>& target, bool interleaved,
                       bool codeBeforeZ);

bool TripleListToDoubles(const QV_List<QV_CoordLong>& source, QV_List<double>& target, bool interleaved);
// Reads floor(count / 3) records; values beyond them are ignored.
bool DoublesToTripleList(const QV_List<double>& source, QV_List<QV_CoordLong>& target, bool interleaved);

bool TriplesToDoubleList(const QV_List<API_Coord3D>& source, QV_List<double>& target, bool interleaved);

// A code read from a double: truncated toward zero, NaN as 0, values beyond the 32-bit range held at its ends.
int32_t CodeFromDouble(double value);

// Writes x and y of the two points (x1, y1, x2, y2) as the 2 by 2 real array "BB_coor" of a contour-line view.
// False when the view has no such array parameter or it cannot be written (the view's status tells why).
bool WriteDoubleArrayParam60(BaseLP& view, const API_Coord3D& first, const API_Coord3D& second);
