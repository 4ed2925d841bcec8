#pragma once
// The points of a grid or point-file import placed as terrain points: one hotspot per point, its plan position
// the point less the project offset, its height, code and comment in the element data record of kind 1. The
// whole placement is one undo step. True when every point that should have become an element did so; on a
// failure the points already placed are taken back (nothing half-made stays) and false is answered. Once the
// placement ran, `stored` keeps the pen, layer and (when the reader overwrote them) the code and next number the
// next import starts from.
#include "fileio/ASCFileCls.hpp"
#include "fileio/TextFileCls.hpp"

bool CreateAscPoints(ASCFile::ASCFileCls& reader, ImportOptionsRec& stored);
bool CreateTextPoints(TextFileCls& reader, ImportOptionsRec& stored);

// Points placed per progress phase.
constexpr uint32_t PlacementBatchSize = 100000;
