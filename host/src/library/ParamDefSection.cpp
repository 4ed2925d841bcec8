#include "library/ParamDefSection.hpp"

#include "library/LibraryParams.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
// The parameter definition block: a head, then per parameter its type, sizes, name and cells (numbers as
// doubles; texts as a unit count and the units).
constexpr uint32_t kParamDefMagic = API_SectParamDef;
constexpr uint32_t kParamDefVersion = 2;

struct ParamDefHead {
    uint32_t magic;
    uint32_t version;
    double a;
    double b;
    API_LibPartDetails details;
    uint32_t count;
    uint32_t reserved;
};
static_assert(sizeof(ParamDefHead) == 64, "parameter definition head");

template <typename T>
void Put(std::string& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// Reads bounded pieces of a block.
class BlockReader {
public:
    BlockReader(const char* data, size_t size) : data_(data), size_(size) {}
    template <typename T>
    bool Get(T* value) {
        if (size_ - pos_ < sizeof(T)) return false;
        std::memcpy(value, data_ + pos_, sizeof(T));
        pos_ += sizeof(T);
        return true;
    }
    bool Bytes(size_t n, std::string* out) {
        if (size_ - pos_ < n) return false;
        out->assign(data_ + pos_, n);
        pos_ += n;
        return true;
    }
    size_t Left() const { return size_ - pos_; }

private:
    const char* data_;
    size_t size_;
    size_t pos_ = 0;
};

}  // namespace

GSHandle MakeParamDefSection(const std::vector<LibParamDef>& params, double a, double b,
                             const API_LibPartDetails& details) {
    std::string block;
    ParamDefHead head = {};
    head.magic = kParamDefMagic;
    head.version = kParamDefVersion;
    head.a = a;
    head.b = b;
    head.details = details;
    head.count = uint32_t(params.size());
    Put(block, head);
    for (const LibParamDef& p : params) {
        Put(block, p.typeID);
        Put(block, p.dim1);
        Put(block, p.dim2);
        Put(block, uint32_t(p.name.size()));
        block += p.name;
        Put(block, uint32_t(p.description.size()));
        block.append(reinterpret_cast<const char*>(p.description.data()), p.description.size() * sizeof(char16_t));
        // Every declared cell: those past the part's values are 0 / "".
        const size_t count = p.CellCount();
        if (p.typeID == LibParType::Text) {
            const size_t given = std::min(p.texts.size(), count);
            for (size_t c = 0; c < given; ++c) {
                Put(block, uint32_t(p.texts[c].size()));
                block.append(reinterpret_cast<const char*>(p.texts[c].data()), p.texts[c].size() * sizeof(char16_t));
            }
            for (size_t c = given; c < count; ++c) Put(block, uint32_t(0));
        } else {
            const size_t given = std::min(p.numbers.size(), count);
            block.append(reinterpret_cast<const char*>(p.numbers.data()), given * sizeof(double));
            block.append((count - given) * sizeof(double), '\0');
        }
    }
    GSHandle h = BMAllocateHandle(GSSize(block.size()), 0, 0);
    if (h != nullptr) std::memcpy(*h, block.data(), block.size());
    return h;
}

bool ReadParamDefSection(GSConstHandle section, std::vector<LibParamDef>* params, double* a, double* b,
                         API_LibPartDetails* details, std::string* why) {
    params->clear();
    if (section == nullptr || *section == nullptr) {
        *why = "no parameter definition section";
        return false;
    }
    BlockReader in(*section, size_t(BMGetHandleSize(section)));
    ParamDefHead head;
    if (!in.Get(&head) || head.magic != kParamDefMagic) {
        *why = "the block is not a parameter definition section";
        return false;
    }
    if (head.version != kParamDefVersion) {
        *why = "parameter definition section of version " + std::to_string(head.version);
        return false;
    }
    if (!std::isfinite(head.a) || !std::isfinite(head.b)) {
        *why = "the sizes A and B are not finite";
        return false;
    }
    // Every parameter takes at least 16 bytes: a count beyond that is a lie.
    if (head.count > LibParamCountMax || head.count > in.Left() / 16) {
        *why = "parameter definition section names " + std::to_string(head.count) + " parameters";
        return false;
    }
    const std::string cut = "parameter definition section cut short";
    for (uint32_t i = 0; i < head.count; ++i) {
        LibParamDef p;
        uint32_t nameLen = 0;
        if (!in.Get(&p.typeID) || !in.Get(&p.dim1) || !in.Get(&p.dim2) || !in.Get(&nameLen) ||
            nameLen > LibParamNameMax || !in.Bytes(nameLen, &p.name))
            return (*why = cut, false);
        uint32_t descLen = 0;
        std::string desc;
        if (!in.Get(&descLen) || descLen > 255 || !in.Bytes(size_t(descLen) * sizeof(char16_t), &desc))
            return (*why = cut, false);
        p.description.assign(descLen, u'\0');
        if (descLen > 0) std::memcpy(&p.description[0], desc.data(), desc.size());
        const bool array = p.dim1 != 0 || p.dim2 != 0;
        if (array && (p.dim1 < 1 || p.dim2 < 1 || int64_t(p.dim1) * p.dim2 > LibArrayCellsMax))
            return (*why = "parameter '" + p.name + "' has bad sizes", false);
        const size_t cells = array ? size_t(int64_t(p.dim1) * p.dim2) : 1;
        if (p.typeID == LibParType::Text) {
            for (size_t c = 0; c < cells; ++c) {
                uint32_t units = 0;
                std::string bytes;
                if (!in.Get(&units) || units > in.Left() / sizeof(char16_t) ||
                    !in.Bytes(size_t(units) * sizeof(char16_t), &bytes))
                    return (*why = cut, false);
                std::u16string t(units, u'\0');
                if (units > 0) std::memcpy(&t[0], bytes.data(), bytes.size());
                p.texts.push_back(std::move(t));
            }
        } else {
            std::string bytes;
            if (cells > in.Left() / sizeof(double) || !in.Bytes(cells * sizeof(double), &bytes))
                return (*why = cut, false);
            p.numbers.resize(cells);
            std::memcpy(p.numbers.data(), bytes.data(), bytes.size());
        }
        params->push_back(std::move(p));
    }
    if (in.Left() != 0) return (*why = "parameter definition section has bytes after its parameters", false);
    if (!ValidParams(*params, why)) return false;
    *a = head.a;
    *b = head.b;
    *details = head.details;
    return true;
}

bool SetParamDefSectionDetails(GSHandle section, const API_LibPartDetails& details) {
    if (section == nullptr || *section == nullptr || BMGetHandleSize(section) < GSSize(sizeof(ParamDefHead)))
        return false;
    ParamDefHead head;
    std::memcpy(&head, *section, sizeof head);
    if (head.magic != kParamDefMagic || head.version != kParamDefVersion) return false;
    head.details = details;
    std::memcpy(*section, &head, sizeof head);
    return true;
}
