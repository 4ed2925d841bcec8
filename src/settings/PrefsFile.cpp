#include "settings/PrefsFile.hpp"

#include "foundation/FileUtils.hpp"
#include "foundation/SettingsFileAlert.hpp"

#include "IO.hpp"
#include "UniString.hpp"

#include <cstdio>
#include <cstring>
#include <string>

using QV_Preferences::QV_Pref_Elem;

namespace {

constexpr char kMagic[4] = {'Q', 'V', 'P', 'F'};
constexpr const char* kFileName = "Lodravix_20.prf";
constexpr const char* kBesideSuffix = ".tmp";  // the file a save writes before it replaces the old one

IO::Location LocationOf(const QV_String& path) {
    return IO::Location(GS::UniString(path.GetBuffer(), path.GetLength()));
}

// ---- reading ----

// The bytes still to parse; every read is checked against them.
class ByteCursor {
public:
    explicit ByteCursor(const std::string& bytes)
        : at_(reinterpret_cast<const unsigned char*>(bytes.data())), left_(bytes.size()) {}

    size_t Left() const { return left_; }

    bool Take(size_t n, const unsigned char*& out) {
        if (n > left_) return false;
        out = at_;
        at_ += n;
        left_ -= n;
        return true;
    }
    bool Byte(uint8_t& value) {
        const unsigned char* p = nullptr;
        if (!Take(1, p)) return false;
        value = p[0];
        return true;
    }
    bool Int32(int32_t& value) {
        const unsigned char* p = nullptr;
        if (!Take(4, p)) return false;
        value = int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
        return true;
    }
    bool Float64(double& value) {
        const unsigned char* p = nullptr;
        if (!Take(8, p)) return false;
        uint64_t bits = 0;
        for (int i = 7; i >= 0; --i) bits = bits << 8 | p[i];
        std::memcpy(&value, &bits, sizeof value);
        return true;
    }

private:
    const unsigned char* at_;
    size_t left_;
};

class EntryParser {
public:
    explicit EntryParser(const std::string& bytes) : in_(bytes) {}

    PrefsFileFault Parse(PrefsEntryList& out) {
        const unsigned char* magic = nullptr;
        if (!in_.Take(4, magic)) return PrefsFileFault::Truncated;
        if (std::memcmp(magic, kMagic, 4) != 0) return PrefsFileFault::Magic;
        int32_t n = 0;
        if (!in_.Int32(n)) return PrefsFileFault::Truncated;
        if (n < 0) return PrefsFileFault::BadLength;
        for (int32_t i = 0; i < n; ++i) {
            QV_Pref_Elem entry;
            const PrefsFileFault fault = Entry(entry);
            if (fault != PrefsFileFault::None) return fault;
            if (!out.Insert(entry)) return PrefsFileFault::Memory;
        }
        return PrefsFileFault::None;
    }

private:
    PrefsFileFault Entry(QV_Pref_Elem& entry) {
        uint8_t type = 0;
        if (!in_.Byte(type)) return PrefsFileFault::Truncated;
        entry.type = type;
        PrefsFileFault fault = Text(entry.name);
        if (fault != PrefsFileFault::None) return fault;
        switch (type) {
            case QV_Preferences::PrefType_Int: return in_.Int32(entry.intValue) ? fault : PrefsFileFault::Truncated;
            case QV_Preferences::PrefType_Real: return in_.Float64(entry.realValue) ? fault : PrefsFileFault::Truncated;
            case QV_Preferences::PrefType_Text: return Text(entry.textValue);
            case QV_Preferences::PrefType_IntArray:
                return Elements(entry, 4, [&] {
                    int32_t value = 0;
                    if (!in_.Int32(value)) return PrefsFileFault::Truncated;
                    return entry.intValues.Insert(value) ? PrefsFileFault::None : PrefsFileFault::Memory;
                });
            case QV_Preferences::PrefType_RealArray:
                return Elements(entry, 8, [&] {
                    double value = 0.0;
                    if (!in_.Float64(value)) return PrefsFileFault::Truncated;
                    return entry.realValues.Insert(value) ? PrefsFileFault::None : PrefsFileFault::Memory;
                });
            case QV_Preferences::PrefType_TextArray:
                return Elements(entry, 4, [&] {
                    QV_String value;
                    const PrefsFileFault textFault = Text(value);
                    if (textFault != PrefsFileFault::None) return textFault;
                    return entry.textValues.Insert(value) ? PrefsFileFault::None : PrefsFileFault::Memory;
                });
            default: return PrefsFileFault::BadType;
        }
    }

    // An int32 byte length and that many bytes in the system code page. The text ends at its first zero byte, as
    // the writer ends it: a text holds no NUL, so what is read writes back to the same bytes.
    PrefsFileFault Text(QV_String& out) {
        int32_t length = 0;
        if (!in_.Int32(length)) return PrefsFileFault::Truncated;
        if (length < 0) return PrefsFileFault::BadLength;
        const unsigned char* bytes = nullptr;
        if (!in_.Take(size_t(length), bytes)) return PrefsFileFault::Truncated;
        const void* zero = length > 0 ? std::memchr(bytes, 0, size_t(length)) : nullptr;
        const auto n = uint32_t(zero != nullptr ? static_cast<const unsigned char*>(zero) - bytes : length);
        if (n == 0) {
            out = QV_String("");
            return PrefsFileFault::None;
        }
        return out.SetBytes(bytes, n, Encoding_System) ? PrefsFileFault::None : PrefsFileFault::BadText;
    }

    // Rows, columns, then rows x columns elements of at least `minBytes` each: a count the rest of the file
    // cannot hold is refused before anything is read or allocated.
    template <typename ReadOne>
    PrefsFileFault Elements(QV_Pref_Elem& entry, size_t minBytes, ReadOne readOne) {
        if (!in_.Int32(entry.rows) || !in_.Int32(entry.columns)) return PrefsFileFault::Truncated;
        if (entry.rows < 0 || entry.columns < 0) return PrefsFileFault::BadDimensions;
        const int64_t count = int64_t(entry.rows) * int64_t(entry.columns);
        if (uint64_t(count) > in_.Left() / minBytes) return PrefsFileFault::Truncated;
        for (int64_t k = 0; k < count; ++k) {
            const PrefsFileFault fault = readOne();
            if (fault != PrefsFileFault::None) return fault;
        }
        return PrefsFileFault::None;
    }

    ByteCursor in_;
};

PrefsFileFault ReadWhole(const QV_String& path, std::string& bytes) {
    if (path.IsEmpty()) return PrefsFileFault::Open;
    IO::File file(LocationOf(path));
    if (const GSErrCode openError = file.Open(IO::File::ReadMode)) {
        if (OpenedNoFile(path, openError)) TellSettingsFileNotAFile(path);
        return PrefsFileFault::Open;
    }
    PrefsFileFault fault = PrefsFileFault::None;
    uint64_t length = 0;
    if (file.GetDataLength(&length) != 0) {
        fault = PrefsFileFault::Read;
    } else if (length > PrefsFileMaxBytes) {
        fault = PrefsFileFault::TooLarge;
    } else {
        bytes.assign(size_t(length), '\0');
        uint64_t read = 0;
        if (length > 0 && (file.ReadBin(&bytes[0], length, &read) != 0 || read != length)) fault = PrefsFileFault::Read;
    }
    file.Close();
    return fault;
}

// ---- writing ----

void PutInt32(std::string& out, int32_t value) {
    const auto bits = uint32_t(value);
    for (int i = 0; i < 4; ++i) out.push_back(char((bits >> (8 * i)) & 0xFF));
}

void PutFloat64(std::string& out, double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i) out.push_back(char((bits >> (8 * i)) & 0xFF));
}

// The text in the system code page up to its first NUL (the conversion ends there) without the zero bytes the
// conversion ends in, after its byte count.
bool PutText(std::string& out, const QV_String& text) {
    const MultiByteBuffer converted = text.ToMultiByte(Encoding_System);
    if (converted.bytes == nullptr) return false;
    uint32_t n = converted.byteCount;
    while (n > 0 && converted.bytes[n - 1] == '\0') --n;
    PutInt32(out, int32_t(n));
    out.append(converted.bytes, n);
    GS::MemoryManager::Free(converted.bytes);
    return true;
}

// Elements an array entry must hold to be read back: rows x columns, none when that is below 1.
int64_t ExpectedElements(const QV_Pref_Elem& entry) {
    if (entry.rows <= 0 || entry.columns <= 0) return 0;
    return int64_t(entry.rows) * int64_t(entry.columns);
}

bool PutEntry(std::string& out, const QV_Pref_Elem& entry) {
    const int32_t held = entry.type == QV_Preferences::PrefType_IntArray ? entry.intValues.GetCount()
        : entry.type == QV_Preferences::PrefType_RealArray               ? entry.realValues.GetCount()
                                                                         : entry.textValues.GetCount();
    // An array whose elements do not fill its dimensions could not be read back: the file would be lost.
    if (entry.IsArray() && (entry.rows < 0 || entry.columns < 0 || held != ExpectedElements(entry))) return false;
    out.push_back(char(entry.type & 0xFF));
    if (!PutText(out, entry.name)) return false;
    switch (entry.type) {
        case QV_Preferences::PrefType_Int: PutInt32(out, entry.intValue); return true;
        case QV_Preferences::PrefType_Real: PutFloat64(out, entry.realValue); return true;
        case QV_Preferences::PrefType_Text: return PutText(out, entry.textValue);
        case QV_Preferences::PrefType_IntArray:
            PutInt32(out, entry.rows);
            PutInt32(out, entry.columns);
            for (const int32_t value : entry.intValues) PutInt32(out, value);
            return true;
        case QV_Preferences::PrefType_RealArray:
            PutInt32(out, entry.rows);
            PutInt32(out, entry.columns);
            for (const double value : entry.realValues) PutFloat64(out, value);
            return true;
        case QV_Preferences::PrefType_TextArray:
            PutInt32(out, entry.rows);
            PutInt32(out, entry.columns);
            for (const QV_String& value : entry.textValues)
                if (!PutText(out, value)) return false;
            return true;
        default: return true;
    }
}

// Writes `bytes` as the whole content of the file at `path`, created when missing.
bool WriteFile(const QV_String& path, const std::string& bytes) {
    IO::File file(LocationOf(path), IO::OnNotFound::Create);
    if (file.GetStatus() != 0 || file.Open(IO::File::WriteMode) != 0) return false;
    uint64_t written = 0;
    bool ok = bytes.empty() || (file.WriteBin(bytes.data(), bytes.size(), &written) == 0 && written == bytes.size());
    if (file.Close() != 0) ok = false;
    return ok;
}

}  // namespace

QV_String GetPrefsFilePath() {
    IO::Location folder;
    QV_String path;
    if (IO::FileSystem::GetSpecialLocation(IO::FileSystem::UserFolder, &folder) != 0) return path;
    LocationToPathString(path, folder);
    if (path.IsEmpty()) return path;
    path += "\\";
    path += kFileName;
    return path;
}

bool ReadPrefsFile(PrefsEntryList& list, const QV_String& path, bool clearFirst, PrefsFileFault* fault) {
    if (clearFirst) list.Clear();
    std::string bytes;
    PrefsFileFault result = ReadWhole(path, bytes);
    PrefsEntryList entries;
    if (result == PrefsFileFault::None) result = EntryParser(bytes).Parse(entries);
    if (result == PrefsFileFault::None && !list.InsertList(entries)) result = PrefsFileFault::Memory;
    if (fault != nullptr) *fault = result;
    return result == PrefsFileFault::None;
}

bool WritePrefsFile(const PrefsEntryList& list, const QV_String& path, PrefsFileFault* fault) {
    PrefsFileFault result = PrefsFileFault::None;
    std::string bytes(kMagic, sizeof kMagic);
    PutInt32(bytes, list.GetCount());
    for (const QV_Pref_Elem& entry : list) {
        if (!PutEntry(bytes, entry)) {
            result = PrefsFileFault::Write;
            break;
        }
    }
    if (result == PrefsFileFault::None && bytes.size() > PrefsFileMaxBytes) result = PrefsFileFault::TooLarge;
    if (result == PrefsFileFault::None && path.IsEmpty()) result = PrefsFileFault::Open;
    if (result == PrefsFileFault::None) {
        // Written beside the old file first: the old one goes only once the new one is whole.
        const QV_String beside = path + kBesideSuffix;
        if (!WriteFile(beside, bytes)) {
            result = PrefsFileFault::Write;
        } else {
            // The host's file library has no replace; the C library's rename replaces the old file at once.
            const IO::Location from = LocationOf(beside);
            const IO::Location to = LocationOf(path);
            if (std::rename(from.ToNativePath().c_str(), to.ToNativePath().c_str()) != 0)
                result = PrefsFileFault::Replace;
        }
        if (result != PrefsFileFault::None) IO::FileSystem::Delete(LocationOf(beside));
    }
    if (fault != nullptr) *fault = result;
    return result == PrefsFileFault::None;
}
