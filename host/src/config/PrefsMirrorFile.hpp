#pragma once
// The host's reading of the module's preferences mirror file ("QVPF", an entry count, then typed named entries,
// all little-endian), so that a script can check what the module saved. Scalars only are given back as text;
// arrays are walked over. Nothing in the file is trusted: any length or count that runs past the end, or an
// unknown type, refuses the file.
#include <map>
#include <string>

namespace PrefsMirror {
// The scalar entries by name: integers and texts as they are, reals as %.17g. False with `why` set when the
// file cannot be read or is not a whole mirror file.
bool ReadScalars(const std::string& path, std::map<std::string, std::string>* entries, std::string* why);
}  // namespace PrefsMirror
