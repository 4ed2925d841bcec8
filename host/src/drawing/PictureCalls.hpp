#pragma once
// The host's picture conversions (Goodies 'CPIC' and 'CMPI'): pictures are decoded and encoded for real by
// ImageMagick; a picture that does not decode, or a format the host does not write, is refused.
#include <cstdint>
#include <string>

class HostFunctionSet;

void InstallPictureCalls(HostFunctionSet& set);

// The conversion itself, for the selectors and the tests: `source` in the coder `fromCoder` ("" lets the
// content decide) into the coder `toCoder` ("BMP3", "GIF" ...). False with `why` when it cannot be done.
bool ConvertPictureBytes(const std::string& source, const std::string& fromCoder, const std::string& toCoder,
                         std::string* result, std::string* why);
