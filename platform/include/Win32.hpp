#pragma once
// The few Windows services the module calls: code-page conversion, case mapping of UTF-16 units and opening
// a document with the shell.
//
// Code pages known here: CP_ACP (0, the system code page, which is Windows-1252 on this stand-in),
// CP_UTF7 (65000), CP_UTF8 (65001), 20127 (US-ASCII), 10000 (Mac Roman), 1252 (Windows Latin 1) and
// 28591 (ISO 8859-1). Any other code page fails with ERROR_INVALID_PARAMETER.
//
// Conversion rules:
// - The two-pass pattern: call with a destination size of 0 to get the size needed, then convert.
// - A source length of -1 means NUL-terminated; the terminator is converted and counted in the result.
// - The result is the number of units (wide) or bytes (multi-byte) written or needed; 0 means failure, and
//   GetLastError tells why (ERROR_INSUFFICIENT_BUFFER when the destination is too small).
// - MultiByteToWideChar: bytes a code page does not define and malformed UTF-8 / UTF-7 become U+FFFD, or fail
//   with ERROR_NO_UNICODE_TRANSLATION under MB_ERR_INVALID_CHARS. Windows-1252's five undefined bytes
//   (81 8D 8F 90 9D) map to the C1 controls of the same value, both ways, as Windows does.
// - WideCharToMultiByte: a character the code page lacks becomes the default character ('?' unless
//   `defaultChar` names another byte), one per code point, and *usedDefaultChar is set. No "best fit"
//   look-alikes are substituted. For UTF-8 and UTF-7 `defaultChar` and `usedDefaultChar` must be null;
//   an unpaired surrogate is written as U+FFFD there.
// - UTF-7 output encodes letters, digits, '(),-./:? space, tab, CR and LF directly, "+" as "+-", and every
//   other unit in modified base64 closed by '-'.
#include <cstdint>

typedef int32_t BOOL;
typedef uint32_t UINT;
typedef uint32_t DWORD;
typedef void* HWND;
typedef void* HINSTANCE;
typedef char16_t WCHAR;

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF7 = 65000;
constexpr UINT CP_UTF8 = 65001;
constexpr UINT CP_US_ASCII = 20127;
constexpr UINT CP_MAC_ROMAN = 10000;
constexpr UINT CP_WINDOWS_1252 = 1252;
constexpr UINT CP_ISO_8859_1 = 28591;

constexpr DWORD MB_PRECOMPOSED = 0x00000001;  // accepted, no effect
constexpr DWORD MB_ERR_INVALID_CHARS = 0x00000008;

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;

constexpr int32_t SW_SHOWNORMAL = 1;

// Error of the last failed call of this thread (the calls here set it on failure only).
DWORD GetLastError();
void SetLastError(DWORD error);

int32_t MultiByteToWideChar(UINT codePage, DWORD flags, const char* multiByte, int32_t multiByteCount, WCHAR* wide,
                            int32_t wideCount);

int32_t WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* wide, int32_t wideCount, char* multiByte,
                            int32_t multiByteCount, const char* defaultChar, BOOL* usedDefaultChar);

// Case mapping of one UTF-16 unit (units without a one-unit partner come back unchanged). Covers Basic
// Latin, Latin-1, Latin Extended-A, Greek and Coptic, and Cyrillic with its supplement.
WCHAR CharLowerW(WCHAR unit);
WCHAR CharUpperW(WCHAR unit);
// In-place forms over a NUL-terminated text; return `text`. Null tolerated.
WCHAR* CharLowerW(WCHAR* text);
WCHAR* CharUpperW(WCHAR* text);

// Opens a document through the shell. The stand-in opens nothing: it records the call (read it through
// Win32Driver) and answers a value above 32, which means success.
HINSTANCE ShellExecuteA(HWND window, const char* operation, const char* file, const char* parameters,
                        const char* directory, int32_t showCommand);
