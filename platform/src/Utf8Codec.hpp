// The UTF-8 codec shared by the string class and the code-page conversions of the platform library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace HostUtf8 {

void AppendCodePoint(std::u16string& out, uint32_t cp);
// Decodes UTF-8; every maximal ill-formed subpart becomes one U+FFFD and sets `malformed`.
void DecodeUtf8(const unsigned char* s, size_t n, std::u16string& out, bool& malformed);
// Encodes UTF-16; an unpaired surrogate becomes U+FFFD.
void EncodeUtf8(const char16_t* w, size_t n, std::string& out);

}  // namespace HostUtf8
