// The preferences mirror file on any bytes: read whole or refused whole (the list keeps only what it held); a
// list read whole writes a file that reads back to a list writing the same bytes (read-write-read is a fixed
// point).
#include "FuzzSupport.hpp"

#include "settings/PrefsEntries.hpp"
#include "settings/PrefsFile.hpp"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::BeginInput();
    const std::string path = Fuzz::WriteInput("input.prf", data, size);
    PrefsEntryList list;
    list.Insert(QV_Preferences::QV_Pref_Elem());
    if (!ReadPrefsFile(list, QV_String(path.c_str(), Encoding_UTF8), false)) {
        FUZZ_CHECK(list.GetCount() == 1, "a refused file adds nothing");
        return 0;
    }
    list.Remove(0);
    const std::string again = Fuzz::UserFolder() + "/again.prf", twice = Fuzz::UserFolder() + "/twice.prf";
    std::remove(again.c_str());
    std::remove(twice.c_str());
    if (!WritePrefsFile(list, QV_String(again.c_str(), Encoding_UTF8))) return 0;
    PrefsEntryList back;
    FUZZ_CHECK(ReadPrefsFile(back, QV_String(again.c_str(), Encoding_UTF8), true), "what was written reads");
    FUZZ_CHECK(back.GetCount() == list.GetCount(), "what was written reads back to as many entries");
    FUZZ_CHECK(WritePrefsFile(back, QV_String(twice.c_str(), Encoding_UTF8)), "what was read back writes");
    FUZZ_CHECK(Fuzz::ReadFile(twice) == Fuzz::ReadFile(again), "read-write-read is a fixed point");
    return 0;
}
