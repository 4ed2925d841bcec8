#include "foundation/Config.hpp"

#include "foundation/FileUtils.hpp"
#include "foundation/ACAPI.hpp"

#include "IO.hpp"
#include "UniString.hpp"

#include <string>
#include <vector>

QV_DECLARE_RELOCATABLE(QV_Setting);

namespace {

// The suite add-on as the host knows it (developer id "KORV", local id 1).
constexpr API_ModulID KorvaneModulID = {0x4B4F5256u, 1u};

struct ConfigCache {
    QV_List<QV_Setting> entries;
    bool loaded = false;
    // The entries are the file's whole content (plus changes made since): only then may the file be
    // rewritten from them. Cleared by every read that failed before the end of the file.
    bool whole = false;
    // A last entry without its line break, as its plain bytes: lookups never see it, but a rewrite puts it back
    // behind the entries as it was, so that saving the file loses nothing of it.
    std::string tail;
    bool noFile = false;  // the last load found a folder, a pipe or a device under the file's name
};

ConfigCache& Cache(uint32_t which) {
    static ConfigCache own;
    static ConfigCache shared;
    return which == ConfigOwnFile ? own : shared;
}

const char* BaseName(uint32_t which) { return which == ConfigOwnFile ? "Lodravix_20" : "Brenmaro"; }

void SwapNibbles(std::string& bytes) {
    for (char& c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        c = static_cast<char>(static_cast<unsigned char>((b << 4) | (b >> 4)));
    }
}

GS::UniString ToUni(const QV_String& text) { return GS::UniString(text.GetBuffer(), text.GetLength()); }

QV_String FromUni(const GS::UniString& text) {
    return QV_String(text.ToUStr(), text.GetLength() * 2, Encoding_UTF16LE);
}

// Text in the system code page; false when it cannot be converted.
bool ToSystemBytes(const QV_String& text, std::string& out) {
    out.clear();
    if (text.GetLength() == 0) return true;
    MultiByteBuffer mb = text.ToMultiByte(Encoding_System);
    if (mb.bytes == nullptr || mb.byteCount == 0) return false;
    out.assign(mb.bytes, mb.byteCount - 1);
    GS::MemoryManager::Free(mb.bytes);
    return true;
}

// Every byte of the system code page is one character, so only a failed allocation gives an empty text.
bool FromSystemBytes(const std::string& bytes, QV_String& out) {
    out = QV_String(bytes.c_str(), Encoding_System);
    return bytes.empty() || out.GetLength() > 0;
}

// "<user folder>\<name>"; the host's error when the user's folder is unknown.
int32_t UserFolderPath(const char* name, QV_String& path) {
    IO::Location folder;
    const GSErrCode err = IO::FileSystem::GetSpecialLocation(IO::FileSystem::UserFolder, &folder);
    if (err != 0) return err;
    GS::UniString folderText;
    const GSErrCode pathErr = folder.ToPath(&folderText);
    if (pathErr != 0) return pathErr;
    QV_String result = FromUni(folderText);
    while (result.GetLength() > 0 &&
           (result.GetAt(result.GetLength() - 1) == u'\\' || result.GetAt(result.GetLength() - 1) == u'/')) {
        QV_String cut;
        result.SubString(cut, 0, result.GetLength() - 1);
        result = cut;
    }
    result += "\\";
    result += name;
    path = result;
    return 0;
}

enum class ReadResult { Ok, Missing, Failed, TooLarge, NoFile };

// The whole content of a file, bounded by ConfigMaxFileBytes.
ReadResult ReadWholeFile(const QV_String& path, std::string& content) {
    content.clear();
    // Existence, not openability: a file that is there but cannot be opened must not pass for a missing one.
    const IO::Location location(ToUni(path));
    if (!IO::FileSystem::Exists(location)) return ReadResult::Missing;
    IO::File file(location);
    if (const GSErrCode openError = file.Open(IO::File::ReadMode))
        return OpenedNoFile(path, openError) ? ReadResult::NoFile : ReadResult::Failed;
    uint64_t length = 0;
    ReadResult result = ReadResult::Ok;
    if (file.GetDataLength(&length) != 0) {
        result = ReadResult::Failed;
    } else if (length > ConfigMaxFileBytes) {
        result = ReadResult::TooLarge;
    } else if (length > 0) {
        content.resize(static_cast<size_t>(length));
        if (file.ReadBin(&content[0], length) != 0) result = ReadResult::Failed;
    }
    if (file.Close() != 0 && result == ReadResult::Ok) result = ReadResult::Failed;
    if (result != ReadResult::Ok) content.clear();
    return result;
}

enum class ParseResult { Whole, Truncated, Broken };

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// An entry as it stands in the text (system code page).
struct TextEntry {
    std::string key;
    std::string value;
};

// Parses the text of a configuration file into `entries` (appended in file order). Stops at the first fault,
// keeping the entries before it. A last entry without its line break is left out (Truncated); `tailStart` is
// then where it begins.
ParseResult ParseConfigText(const std::string& text, std::vector<TextEntry>& entries, size_t& tailStart) {
    const size_t n = text.size();
    // A NUL byte would cut its key or value short in the cache, and the next rewrite would lose the rest of it: such
    // a file (of another encoding, or damaged) is not read.
    if (text.find('\0') != std::string::npos) return ParseResult::Broken;
    size_t p = 0;
    while (p < n) {
        if (text[p] != '$') return ParseResult::Broken;
        const size_t colon = text.find(':', p + 1);
        if (colon == std::string::npos || colon == p + 1) return ParseResult::Broken;
        // A key runs to its colon, across line breaks too: it is written back as it was read.
        const std::string key = text.substr(p + 1, colon - p - 1);
        // The byte after the colon is the separator, skipped whatever it is.
        size_t segStart = colon + 2;
        tailStart = p;
        if (segStart > n) return ParseResult::Truncated;
        std::string value;
        size_t q = segStart;
        bool ended = false;
        while (q < n) {
            if (!IsLineBreak(text[q])) {
                ++q;
                continue;
            }
            const size_t breakLength = (text[q] == '\r' && q + 1 < n && text[q + 1] == '\n') ? 2 : 1;
            const size_t next = q + breakLength;
            if (next == n || text[next] == '$') {
                value.append(text, segStart, q - segStart);
                entries.push_back({key, value});
                p = next;
                ended = true;
                break;
            }
            if (text[next] != '#') return ParseResult::Broken;
            // A continuation line: the line break belongs to the value, the "#" does not.
            value.append(text, segStart, next - segStart);
            segStart = next + 1;
            q = segStart;
        }
        if (!ended) return ParseResult::Truncated;
    }
    return ParseResult::Whole;
}

// Puts the parsed entries into the cache's list, sized once for all of them (growing it entry by entry would copy
// the whole list each time). False when memory runs out; the entries converted before stay.
bool StoreEntries(const std::vector<TextEntry>& parsed, QV_List<QV_Setting>& entries) {
    if (!entries.SetSize(static_cast<int32_t>(parsed.size()))) return false;
    for (size_t i = 0; i < parsed.size(); ++i) {
        QV_Setting& setting = entries[static_cast<int32_t>(i)];
        if (!FromSystemBytes(parsed[i].key, setting.key) || !FromSystemBytes(parsed[i].value, setting.value)) {
            entries.SetSize(static_cast<int32_t>(i));
            return false;
        }
    }
    return true;
}

// A key that reads back as itself: an empty one, or one with a colon, would read back as another entry (or break
// the file for every later read).
bool IsWritableKey(const std::string& key) { return !key.empty() && key.find(':') == std::string::npos; }

// The text of all entries, then the unfinished last entry as it was read; false when a key or value cannot be
// written back unchanged or the text is too large.
bool BuildConfigText(const QV_List<QV_Setting>& entries, const std::string& tail, std::string& text) {
    text.clear();
    std::string key;
    std::string value;
    for (int32_t i = 0; i < entries.GetCount(); ++i) {
        if (!ToSystemBytes(entries[i].key, key) || !IsWritableKey(key)) return false;
        if (!ToSystemBytes(entries[i].value, value)) return false;
        text += '$';
        text += key;
        text += ": ";
        for (size_t k = 0; k < value.size(); ++k) {
            text += value[k];
            if (value[k] == '\r' && k + 1 < value.size() && value[k + 1] == '\n') {
                text += '\n';
                ++k;
            }
            if (IsLineBreak(value[k])) text += '#';
        }
        text += "\r\n";
        if (text.size() > ConfigMaxFileBytes) return false;
    }
    text += tail;
    return text.size() <= ConfigMaxFileBytes;
}

bool WriteFileText(const QV_String& path, std::string text) {
    SwapNibbles(text);
    return WriteBufferToFile(path, text.data(), static_cast<uint32_t>(text.size()), false, true) == 0;
}

bool GetHostMainVersion(int32_t& version) {
    API_ServerApplicationInfo info = {};
    if (ACAPI_Environment(APIEnv_ApplicationID, &info) != 0) return false;
    version = info.mainVersion;
    return true;
}

QV_String DecimalText(int32_t value) {
    QV_String text;
    text.FromLong(value);
    return text;
}

}  // namespace

int32_t GetConfigFilePath(uint32_t which, QV_String& path) {
    const std::string name = std::string(BaseName(which)) + ".cfg";
    return UserFolderPath(name.c_str(), path);
}

bool LoadConfigFile(uint32_t which, bool onlyIfNotLoaded) {
    ConfigCache& cache = Cache(which);
    if (onlyIfNotLoaded && cache.loaded) return true;
    cache.entries.Clear();
    cache.whole = false;
    cache.tail.clear();
    cache.noFile = false;
    QV_String path;
    if (GetConfigFilePath(which, path) != 0) return false;
    std::string content;
    switch (ReadWholeFile(path, content)) {
        case ReadResult::Missing:
            cache.loaded = true;
            cache.whole = true;
            return true;
        case ReadResult::NoFile:
            // Not read again, nor written over the name: the cache stays empty, and the module tells the user.
            cache.loaded = true;
            cache.noFile = true;
            return false;
        case ReadResult::Failed:
        case ReadResult::TooLarge: return false;
        case ReadResult::Ok: break;
    }
    SwapNibbles(content);
    size_t tailStart = 0;
    std::vector<TextEntry> parsed;
    ParseResult result = ParseConfigText(content, parsed, tailStart);
    if (!StoreEntries(parsed, cache.entries)) result = ParseResult::Broken;
    switch (result) {
        case ParseResult::Whole:
            cache.loaded = true;
            cache.whole = true;
            return true;
        case ParseResult::Truncated:
            // Read to the end: the unfinished entry stays out of the cache but goes back on a rewrite.
            cache.tail = content.substr(tailStart);
            cache.loaded = true;
            cache.whole = true;
            return true;
        case ParseResult::Broken: break;
    }
    return false;
}

bool ConfigFileIsNoFile(uint32_t which) { return Cache(which).noFile; }

bool GetConfigValue(uint32_t which, const QV_String& key, QV_String* value, bool loadFirst) {
    ConfigCache& cache = Cache(which);
    if (loadFirst && !cache.loaded && !LoadConfigFile(which, true)) return false;
    for (int32_t i = 0; i < cache.entries.GetCount(); ++i) {
        if (cache.entries[i].key.Compare(key) == 0) {
            if (value != nullptr) *value = cache.entries[i].value;
            return true;
        }
    }
    return false;
}

bool SetConfigEntry(uint32_t which, const QV_String& key, const QV_String& value, bool addIfMissing) {
    ConfigCache& cache = Cache(which);
    for (int32_t i = 0; i < cache.entries.GetCount(); ++i) {
        if (cache.entries[i].key.Compare(key) == 0) {
            cache.entries[i].value = value;
            // Only a failed allocation leaves another text behind.
            return cache.entries[i].value.Compare(value) == 0;
        }
    }
    if (!addIfMissing) return true;
    QV_Setting setting;
    setting.key = key;
    setting.value = value;
    return setting.key.Compare(key) == 0 && setting.value.Compare(value) == 0 && cache.entries.Insert(setting, -1);
}

bool WriteConfigFile(uint32_t which) {
    ConfigCache& cache = Cache(which);
    if (!cache.loaded || !cache.whole) return false;
    std::string text;
    if (!BuildConfigText(cache.entries, cache.tail, text)) return false;
    QV_String path;
    if (GetConfigFilePath(which, path) != 0) return false;
    return WriteFileText(path, text);
}

bool SetConfigValue(uint32_t which, const QV_String& key, const QV_String& value, bool addIfMissing) {
    // The cache as it stands, with what was staged in it; read from disk only when it never was.
    LoadConfigFile(which, true);
    const ConfigCache& cache = Cache(which);
    if (!cache.loaded || !cache.whole) return false;  // never rewrite what could not be read
    // What is on disk now, to put back should the write fail half way (it may have emptied the file). A file
    // that cannot be read now is not overwritten.
    QV_String path;
    if (GetConfigFilePath(which, path) != 0) return false;
    std::string before;
    const ReadResult onDisk = ReadWholeFile(path, before);
    if (onDisk == ReadResult::Failed || onDisk == ReadResult::TooLarge || onDisk == ReadResult::NoFile) return false;
    if (!SetConfigEntry(which, key, value, addIfMissing)) return false;
    if (WriteConfigFile(which)) return true;
    if (!before.empty()) WriteBufferToFile(path, before.data(), static_cast<uint32_t>(before.size()), false, false);
    return false;
}

void ResetConfigCaches() {
    for (uint32_t which : {ConfigSharedFile, ConfigOwnFile}) {
        ConfigCache& cache = Cache(which);
        cache.entries.Clear();
        cache.loaded = false;
        cache.whole = false;
        cache.noFile = false;
        cache.tail.clear();
    }
}

bool GetSuiteMarkerPath(int32_t version, QV_String& path) {
    QV_String name("Lodravix_20_");
    name += DecimalText(version);
    name += ".wyr";
    std::string nameBytes;
    if (!ToSystemBytes(name, nameBytes)) return false;
    return UserFolderPath(nameBytes.c_str(), path) == 0;
}

bool WriteSuiteMarker(bool loaded) {
    int32_t version = 0;
    if (!GetHostMainVersion(version)) return false;
    QV_String path;
    if (!GetSuiteMarkerPath(version, path)) return false;
    std::string text = "$Korvane Loaded: ";
    text += loaded ? "TRUE" : "FALSE";
    text += "\r\n";
    return WriteFileText(path, text);
}

bool FindSuiteMarkerFile() {
    int32_t version = 0;
    if (!GetHostMainVersion(version)) return false;
    const std::string name = "Korvane_AC" + std::to_string(version) + ".wyr";
    QV_String path;
    if (UserFolderPath(name.c_str(), path) != 0) return false;
    return FileExists(path);
}

bool CheckSuitePresence(bool& present) {
    if (ACAPI_Command_Test(&KorvaneModulID, APICmd_SuiteID, 0) == 0) {
        present = true;
        return true;
    }
    present = false;
    return FindSuiteMarkerFile();
}
