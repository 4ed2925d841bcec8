#pragma once
// The duplicate filter of the column readers. Points are sorted by x, equal x by their code text, equal both in
// reading order; walking them in that order, a kept point removes every later point within `tolerance` in both
// x and y. Chunks of `chunkSize` points are filtered on their own first, then, with more than one chunk, the
// joined list once more. Heights are not compared. A tolerance below 1e-7 filters nothing and keeps the order.
#include "fileio/ImportPoint.hpp"
#include "fileio/ReaderProgress.hpp"

#include <cstdint>
#include <vector>

// Answers whether any point was removed. One progress step per chunk. The points' codes are among `texts`.
// `mixedPositions`, when given, takes the number of positions where a point was removed for a kept one at the very
// same place with another height.
bool FilterDuplicatePoints(std::vector<ASCFile::ASCFilePoint>& points, const std::vector<ASCFile::PointTexts>& texts,
                           double tolerance, uint32_t chunkSize, ReaderProgress& progress,
                           uint32_t* mixedPositions = nullptr);
