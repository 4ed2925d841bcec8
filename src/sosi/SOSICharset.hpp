#pragma once
// The text of a SOSI file's bytes. The byte-order mark decides first, then well-formed UTF-8 (a file that says
// one thing in its header and holds UTF-8 is UTF-8), then the character set the header declares
// ("..TEGNSETT"), and only then the system code page.
#include "GSRoot.hpp"

#include <cstdint>
#include <vector>

// Character sets a SOSI header may name; None when it names none (or one not known here).
enum class SOSICharset : uint8_t { None, UTF8, ISO8859_1, ISO8859_10, ANSI, DOSN8, ND7 };

// The "..TEGNSETT" of the header (the lines before the first object).
SOSICharset DeclaredSOSICharset(const uint8_t* bytes, uint32_t count);

enum class SOSIDecoding : uint8_t { Done, NotText, Failed };

// The file's `bytes` as text. When every character lies below U+0100 the text is left in `bytes`, one byte a
// character, and `narrow` is set; else it goes into `wide`. `encoding` gets the selector the bytes were taken as
// (Encoding_System for the single-byte sets that have none of their own). NotText for bytes that are neither
// 8-bit text (a stray NUL allowed, read as a space) nor UTF-16 or UTF-32 (where NULs are many); Failed when the
// text cannot be held.
SOSIDecoding DecodeSOSIBytes(std::vector<uint8_t>& bytes, std::vector<GS::UniChar>& wide, bool& narrow,
                             int32_t& encoding);
