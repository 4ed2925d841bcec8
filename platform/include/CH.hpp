#pragma once
// Character-set services of the host runtime over byte texts.
#include "GSRoot.hpp"

#include <cstdint>

// Code pages the truncation knows: 0 (the system code page, single-byte here), the single-byte pages (1252,
// 28591, 20127, 10000), 65001 (UTF-8) and the double-byte pages 932, 936, 949 and 950. Others count as
// single-byte.
constexpr uint32_t CH_SystemCodePage = 0;

// Copies the NUL-ended `source` into `target` (`targetSize` bytes, NUL included), cut at a character boundary of
// the code page so that no multibyte character is split. Answers the bytes copied without the NUL; 0 with a
// null or empty target (nothing written) or a null source (an empty text written).
GSSize CHTruncate(const char* source, char* target, GSSize targetSize, uint32_t codePage = CH_SystemCodePage);
