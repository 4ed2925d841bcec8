#pragma once
// The host's own reader and writer of the add-on's configuration files, so scripts can put entries into the user
// folder and check what the module wrote. Independent of the module's code on purpose.
//
// On disk every byte has its two 4-bit halves exchanged; the text is Windows-1252 (the system code page of the
// stand-in); entries are "$<key>:<one byte><value>" ended by CR LF (also CR or LF), and a line break inside a
// value is followed by "#".
#include <string>
#include <vector>

namespace HostConfig {

struct Entry {
    std::string key;    // UTF-8
    std::string value;  // UTF-8
};

// Windows-1252 conversions; characters outside the code page become '?'.
std::string Utf8ToCp1252(const std::string& utf8);
std::string Cp1252ToUtf8(const std::string& bytes);
void SwapNibbles(std::string& bytes);

// Parses decoded text (nibbles already swapped back, still Windows-1252). False with a readable error.
bool Parse(const std::string& text, std::vector<Entry>* entries, std::string* error);
// The text of the entries (Windows-1252, not yet swapped).
std::string Format(const std::vector<Entry>& entries);

// Whole files. A missing file reads as no entries.
bool ReadFile(const std::string& path, std::vector<Entry>* entries, std::string* error);
bool WriteFile(const std::string& path, const std::vector<Entry>& entries, std::string* error);
// Replaces the first entry with the key, or appends one; keeps every other entry.
bool SetEntry(const std::string& path, const std::string& key, const std::string& value, std::string* error);

}  // namespace HostConfig
