#include "library/LibraryPictures.hpp"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

namespace {

bool IsPictureExtension(std::string ext) {
    for (char& c : ext) c = char(std::tolower(uint8_t(c)));
    for (const char* known : {".jpg", ".jpeg", ".gif", ".png", ".bmp", ".tif", ".tiff"})
        if (ext == known) return true;
    return false;
}

// A stable unique id from the file name, so a picture keeps its id from one load to the next.
std::string UnIDOf(const std::string& name) {
    uint64_t h = 1469598103934665603ull;
    for (char c : name) h = (h ^ uint8_t(std::tolower(uint8_t(c)))) * 1099511628211ull;
    char text[96];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%04X-%012llX}-{00000000-0000-0000-0000-000000000000}",
                  unsigned(h >> 32), unsigned(h >> 16 & 0xFFFF), unsigned(h & 0xFFFF), 0x11u,
                  (unsigned long long)(h & 0xFFFFFFFFFFFFull));
    return text;
}

}  // namespace

std::vector<LibPartDef> PicturePartsOf(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file() && IsPictureExtension(it->path().extension().string()))
            files.push_back(it->path().string());
    std::sort(files.begin(), files.end());
    std::vector<LibPartDef> parts;
    for (const std::string& path : files) {
        LibPartDef part;
        part.name = fs::path(path).stem().string();
        part.type = LibPartType_Picture;
        part.guid = UnIDOf(fs::path(path).filename().string());
        part.filePath = path;
        parts.push_back(std::move(part));
    }
    return parts;
}
