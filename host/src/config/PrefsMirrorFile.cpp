#include "config/PrefsMirrorFile.hpp"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

class Reader {
public:
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}
    bool Left(uint64_t n) const { return n <= bytes_.size() - pos_; }
    bool Int(int32_t* v) { return Raw(v, 4); }
    bool Real(double* v) { return Raw(v, 8); }
    bool Text(int32_t n, std::string* out) {
        if (n < 0 || !Left(uint64_t(n))) return false;
        out->assign(bytes_, pos_, size_t(n));
        pos_ += size_t(n);
        return true;
    }
    bool Skip(uint64_t n) {
        if (!Left(n)) return false;
        pos_ += size_t(n);
        return true;
    }

private:
    bool Raw(void* v, size_t n) {
        if (!Left(n)) return false;
        std::memcpy(v, bytes_.data() + pos_, n);  // the stand-in runs little-endian, as the file is
        pos_ += n;
        return true;
    }
    const std::string& bytes_;
    size_t pos_ = 0;
};

std::string RealText(double v) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

}  // namespace

bool PrefsMirror::ReadScalars(const std::string& path, std::map<std::string, std::string>* entries, std::string* why) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *why = "cannot read " + path;
        return false;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string bytes = ss.str();
    Reader r(bytes);
    std::string magic;
    int32_t count = 0;
    if (!r.Text(4, &magic) || magic != "QVPF" || !r.Int(&count) || count < 0) {
        *why = "not a preferences mirror file";
        return false;
    }
    for (int32_t i = 0; i < count; ++i) {
        uint8_t type = 0;
        std::string typeByte, name;
        int32_t length = 0;
        if (!r.Text(1, &typeByte) || !r.Int(&length) || !r.Text(length, &name)) {
            *why = "entry " + std::to_string(i) + " is cut short";
            return false;
        }
        type = uint8_t(typeByte[0]);
        bool ok = true;
        if (type == 1) {
            int32_t v = 0;
            ok = r.Int(&v);
            (*entries)[name] = std::to_string(v);
        } else if (type == 2) {
            double v = 0.0;
            ok = r.Real(&v);
            (*entries)[name] = RealText(v);
        } else if (type == 3) {
            std::string text;
            ok = r.Int(&length) && r.Text(length, &text);
            (*entries)[name] = text;
        } else if (type >= 4 && type <= 6) {
            int32_t rows = 0, columns = 0;
            ok = r.Int(&rows) && r.Int(&columns) && rows >= 0 && columns >= 0;
            const int64_t n = ok && rows > 0 && columns > 0 ? int64_t(rows) * columns : 0;
            for (int64_t k = 0; ok && k < n; ++k) {
                if (type == 6)
                    ok = r.Int(&length) && length >= 0 && r.Skip(uint64_t(length));
                else
                    ok = r.Skip(type == 4 ? 4 : 8);
            }
        } else {
            ok = false;
        }
        if (!ok) {
            *why = "entry \"" + name + "\" is cut short or of an unknown type";
            return false;
        }
    }
    return true;
}
