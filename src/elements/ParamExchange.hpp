#pragma once
// Typed exchange between the add-on's lists and the GDL array parameters of a library-part object, through a
// parameter view's array slots. Each parameter is addressed by its index in the view's name table.
//
// Modes: LPMode_Get (0) reads the parameter into the caller's list, LPMode_Set (1) writes the list into the
// parameter. The single-parameter exchanges do nothing and answer true for any other mode; the polyline
// exchanges read for any mode but 1. Reading appends to the caller's list unless said otherwise.
//
// Flattening is row by row: each record's values in field order (x, y, z, code for a coded point), one record
// per row. Reading splits the cells into records of the record's width; cells behind the last whole record are
// ignored. Codes read back are truncated toward zero.
//
// Writing an empty list leaves a 1 x 1 array holding 0 (the array exchange never writes an array without
// cells); every reader takes such an array back as an empty list.
//
// Counts read from the object's arrays are checked against the arrays they index: a count that points past
// the cells fails the read with LPStatus_BadCell and the caller's lists stay as they were. A list that cannot
// grow fails the read with LPStatus_NoMemory.
#include "elements/BaseLP.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"
#include "geometry/MeshBody.hpp"
#include "geometry/QV_Poly.hpp"
#include "elements/CalculationVolume.hpp"
#include "elements/PaintInfo.hpp"

#include "APICoord.hpp"
#include "APIDefs.hpp"

#include <cstdint>

// The exchanges shared by the views; the view classes' own operations call them with their indices.
namespace LPArrays {

// Coded 3D points as rows of four (x, y, z, code): n by 4.
bool QuadRows(BaseLP& view, int32_t index, QV_List<QV_Coord3DLong>& list, int32_t mode);
// 3D points as rows of three: n by 3.
bool TripleRows(BaseLP& view, int32_t index, QV_List<API_Coord3D>& list, int32_t mode);
// Coded plane points as rows of three (x, y, code): n by 3.
bool CodedTripleRows(BaseLP& view, int32_t index, QV_List<QV_CoordLong>& list, int32_t mode);
// One point as a 1 by 2 array; reading takes the first two cells.
bool PointPair(BaseLP& view, int32_t index, API_Coord& point, int32_t mode);
// Four colours (red, green, blue in x, y, z) as rows 0 to 3 of a 4 by 3 array; reading takes twelve cells.
bool RgbRows(BaseLP& view, int32_t index, API_Coord3D colours[4], int32_t mode);
// Texts as an n by 1 array; reading appends every cell.
bool TextColumn(BaseLP& view, int32_t index, QV_List<QV_String>& list, int32_t mode);
// Doubles as a rows by columns array: reading appends the cells and gives both counts; writing takes them.
bool DoubleGrid(BaseLP& view, int32_t index, QV_List<double>& list, int32_t& rows, int32_t& columns, int32_t mode);
// Write only: n by 1 arrays.
bool WriteLongColumn(BaseLP& view, int32_t index, const QV_List<int32_t>& list);
bool WriteDoubleColumn(BaseLP& view, int32_t index, const QV_List<double>& list);

// Several polylines in two arrays: `counts` (one point count per polyline, n by 1) and the points of all of
// them one after the other in `points`; each polyline is one row of the coordinates array, padded with zero
// triples to the longest (n by 3 m). Reading: a counts array holding exactly one 0 means no polyline; a
// polyline's points are its count of triples from triple j * (columns / 3).
bool PolylineRows(BaseLP& view, int32_t countsIndex, int32_t coordsIndex, QV_List<int32_t>& counts,
                  QV_List<API_Coord3D>& points, int32_t mode);

// Write only: one column group per polygon, m rows (the longest point list) by 3 k columns (k polygons); a
// polygon without point i gives 0, 0, 0 in row i.
bool WriteColumnGroups(BaseLP& view, int32_t index, const QV_List<QV_Poly3D>& lists);

// The coloured areas: outlines in "nodes" and "coordinates", and one 1 by n array per attribute ("retino"
// int, "penna", "penna_retino", "sfondo_retino", "mat" short, "dislivello" double), at the indices of the
// coloured-area object. Reading rebuilds one record per outline, appended to `areas`; the attribute arrays must
// hold an entry for every outline.
bool AreaRecords(BaseLP& view, QV_List<PaintInfo>& areas, int32_t mode);

// The link-presence flag of a partner: mode 1 writes 0 when `guid` is not zero, -1 when it is (integer setter);
// any other mode sets `guid` to zero and answers true.
bool LinkFlag(BaseLP& view, int32_t index, API_Guid& guid, int32_t mode);

}  // namespace LPArrays

// The basin's outline: triples in its own "perimetro_base" (n by 3).
bool ExchangeDoubleList39(BaseLP& view, QV_List<API_Coord3D>& list, int32_t mode);

// Write only: an element class's two coordinate lists (the frame contours around its terrain) as coded points
// (x, y, code). "cuts_enne" = 1 by 2 of the two point counts; "cuts_node" = m by 6, row i holding point
// i of the first list and of the second (zeros where a list has ended). False when the first write fails; else
// the second write's result.
bool ExchangeCoordLists(BaseLP& view, const QV_List<QV_CoordLong>& first, const QV_List<QV_CoordLong>& second);

// The contour-line quantities: "quantita" (values) and "identificatori" (texts), both n by 2. Reading
// empties `list` first and makes one record per row (terrain name cut to 15 bytes of the system code page,
// total 0); writing an empty list writes one row of 0, 0 and "", "".
bool ExchangeStringList(BaseLP& view, QV_List<CalculationVolume>& list, int32_t mode);
