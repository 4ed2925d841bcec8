// Configuration files on any bytes (as stored: nibbles swapped), through the module's reader in the in-process
// host: a file loaded or refused; one not read whole is never rewritten; one rewritten reads back with every key
// as it was, and written again stays the same bytes (read-write-read is a fixed point).
#include "FuzzSupport.hpp"

#include "foundation/Config.hpp"

#include <string>
#include <vector>

namespace {

std::string Value(const std::string& key) {
    QV_String value;
    if (!GetConfigValue(ConfigSharedFile, QV_String(key.c_str(), Encoding_System), &value, false)) return "\x01missing";
    return value.ToStdString(Encoding_System);
}

// Candidate keys of the plain text: what follows a '$' up to the next ':' (at most a few dozen).
std::vector<std::string> Keys(const std::string& plain) {
    std::vector<std::string> keys;
    for (size_t p = plain.find('$'); p != std::string::npos && keys.size() < 32; p = plain.find('$', p + 1)) {
        const size_t colon = plain.find(':', p + 1);
        if (colon != std::string::npos && colon > p + 1 && colon - p < 200) keys.push_back(plain.substr(p + 1, colon - p - 1));
    }
    return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::BeginInput();
    Fuzz::Host();
    QV_String qpath;
    FUZZ_CHECK(GetConfigFilePath(ConfigSharedFile, qpath) == 0, "the shared file has a path");
    const std::string path = Fuzz::UserFolder() + "/" + "Brenmaro.cfg";
    const std::string stored(reinterpret_cast<const char*>(data), size);
    Fuzz::WriteInput("Brenmaro.cfg", stored);
    ResetConfigCaches();
    const bool loaded = LoadConfigFile(ConfigSharedFile, false);
    std::string plain = stored;
    for (char& c : plain) c = char(((uint8_t(c) & 0x0F) << 4) | (uint8_t(c) >> 4));
    std::vector<std::pair<std::string, std::string>> before;
    for (const std::string& k : Keys(plain)) before.emplace_back(k, Value(k));

    const bool rewritten = SetConfigValue(ConfigSharedFile, QV_String("Fuzz Probe"), QV_String("1"), true);
    if (!loaded) FUZZ_CHECK(!rewritten, "a file not loaded is never rewritten");
    if (!rewritten) {
        FUZZ_CHECK(Fuzz::ReadFile(path) == stored, "a file not rewritten keeps its bytes");
        ResetConfigCaches();
        return 0;
    }
    ResetConfigCaches();
    FUZZ_CHECK(LoadConfigFile(ConfigSharedFile, false), "a rewritten file loads");
    for (const auto& kv : before)
        if (kv.first != "Fuzz Probe") FUZZ_CHECK(Value(kv.first) == kv.second, "key '" + kv.first + "' keeps its value");
    FUZZ_CHECK(Value("Fuzz Probe") == "1", "the probe is there");
    const std::string written = Fuzz::ReadFile(path);
    FUZZ_CHECK(SetConfigValue(ConfigSharedFile, QV_String("Fuzz Probe"), QV_String("1"), true), "it rewrites again");
    FUZZ_CHECK(Fuzz::ReadFile(path) == written, "read-write-read is a fixed point");
    ResetConfigCaches();
    return 0;
}
