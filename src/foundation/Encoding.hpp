#pragma once
// Conversion of texts between byte encodings and UTF-16, named by a small integer: the encoding selector.
//
//   selector  encoding                         code page
//   1         recognised by DetectBom only     - (not convertible)
//   2         system code page (all literals)  CP_ACP (0)
//   10        UTF-7                            65000
//   11        UTF-8                            65001
//   12        UTF-16 little-endian             1200  (converted here, the strings' own form)
//   13        UTF-16 big-endian                1201  (converted here)
//   14        UTF-32 little-endian             12000 (converted here)
//   15        UTF-32 big-endian                12001 (converted here)
//   100       US-ASCII                         20127
//   101       Mac Roman                        10000
//   102       Windows Latin 1                  1252
//   103       ISO 8859-1                       28591
//   any other value of 2 or more: system code page
//
// Code units are 2 bytes for 12 and 13, 4 bytes for 14 and 15 and 1 byte for every other selector; a
// terminator is one zero unit of that size.
#include <cstdint>

enum EncodingSelector : int32_t {
    Encoding_Unconvertible = 1,
    Encoding_System = 2,
    Encoding_UTF7 = 10,
    Encoding_UTF8 = 11,
    Encoding_UTF16LE = 12,
    Encoding_UTF16BE = 13,
    Encoding_UTF32LE = 14,
    Encoding_UTF32BE = 15,
    Encoding_USASCII = 100,
    Encoding_MacRoman = 101,
    Encoding_Windows1252 = 102,
    Encoding_ISO8859_1 = 103,
};

// Results of ConvertEncoding below 0.
enum ConvertEncodingError : int32_t {
    ConvertEncoding_Failed = -1,
    ConvertEncoding_DestinationTooSmall = -2,
    ConvertEncoding_NullSource = -3,
    ConvertEncoding_BadSourceEncoding = -4,       // source selector below 2
    ConvertEncoding_BadDestinationEncoding = -5,  // destination selector below 2
};

// Converts `srcBytes` bytes at `src` (0: up to the source's terminator, which is not converted; the
// conversion also stops at the first zero unit of a UTF-16 / UTF-32 source) from one selector to another.
// With `dst` null it returns the bytes the result needs; else it writes the result and returns the bytes
// written. `addTerminator` appends one zero unit of the destination's unit size, counted in the result.
// An empty source converts to nothing (or to just the terminator). Unpaired surrogates become U+FFFD in
// UTF-32 output (never a dropped neighbour); characters a code page lacks become '?'.
// Negative results: see ConvertEncodingError; nothing is written on failure.
int32_t ConvertEncoding(int32_t srcEncoding, const void* src, uint32_t srcBytes, int32_t dstEncoding, void* dst,
                        uint32_t dstBytes, bool addTerminator);

// Windows code page of a selector (table above); 0 for every selector not listed.
uint32_t EncodingToCodePage(int32_t selector);

// Bytes of one code unit of a selector: 2, 4 or 1.
uint32_t EncodingUnitSize(int32_t selector);

// Length of a byte-order mark at the start of `bytes` (0 when there is none, when `bytes` is null or
// `byteCount` below 2) and its selector in `encoding` (0 when there is none). A mark is recognised only when
// all of its bytes lie within `byteCount`.
uint32_t DetectBom(const void* bytes, uint32_t byteCount, int32_t& encoding);

// True when `bytes` holds only well-formed UTF-8 and, with `needMultiByte`, at least one byte above 0x7F.
// False for null `bytes`; for 0 bytes the result is !needMultiByte.
bool IsValidUtf8(const void* bytes, uint32_t byteCount, bool needMultiByte);
