#include "project/PackedBytes.hpp"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
// Zeros inside a literal run cost a byte each; a run of zeros cuts the literal only when it saves bytes.
constexpr size_t kMinZeroRun = 4;

void PutNumber(std::vector<uint8_t>& out, size_t n) {
    while (n >= 0x80) {
        out.push_back(uint8_t(n | 0x80));
        n >>= 7;
    }
    out.push_back(uint8_t(n));
}

// The first byte from `i` on that is not zero (`size` when none), eight at a time over the long runs of zeros.
size_t SkipZeros(const uint8_t* in, size_t i, size_t size) {
    for (uint64_t w; i + 8 <= size; i += 8) {
        std::memcpy(&w, in + i, sizeof w);
        if (w != 0) break;
    }
    while (i < size && in[i] == 0) ++i;
    return i;
}

size_t GetNumber(const uint8_t*& p) {
    size_t n = 0;
    for (int shift = 0;; shift += 7) {
        const uint8_t b = *p++;
        n |= size_t(b & 0x7F) << shift;
        if ((b & 0x80) == 0) return n;
    }
}

}  // namespace

PackedBytes::Head PackedBytes::ReadHead() const {
    Head h;
    if (!block_) return h;
    const uint8_t* p = block_.get();
    h.size = GetNumber(p);
    h.packedLength = GetNumber(p);
    h.packed = p;
    return h;
}

PackedBytes::PackedBytes(const PackedBytes& other) {
    if (other.block_) {
        const Head h = other.ReadHead();
        const size_t n = size_t(h.packed - other.block_.get()) + h.packedLength;
        block_ = std::make_unique<uint8_t[]>(n);
        std::memcpy(block_.get(), other.block_.get(), n);
    }
}

PackedBytes& PackedBytes::operator=(const PackedBytes& other) {
    if (this != &other) *this = PackedBytes(other);
    return *this;
}

size_t PackedBytes::size() const { return ReadHead().size; }

void PackedBytes::assign(const void* data, size_t size) {
    block_.reset();
    if (size == 0) return;
    const uint8_t* in = static_cast<const uint8_t*>(data);
    static thread_local std::vector<uint8_t> packed;
    packed.clear();
    size_t i = 0;
    while (i < size) {
        const size_t zerosFrom = i;
        i = SkipZeros(in, i, size);
        if (i == size) break;  // the zeros at the end are implied
        const size_t literalFrom = i;
        // A literal run ends at the end or at a run of zeros long enough to leave out.
        size_t end = i;
        while (end < size) {
            if (in[end] != 0) {
                ++end;
                continue;
            }
            const size_t z = SkipZeros(in, end, size);
            if (z == size || z - end >= kMinZeroRun) break;
            end = z;
        }
        PutNumber(packed, literalFrom - zerosFrom);
        PutNumber(packed, end - literalFrom);
        packed.insert(packed.end(), in + literalFrom, in + end);
        i = end;
    }
    std::vector<uint8_t> head;
    PutNumber(head, size);
    PutNumber(head, packed.size());
    block_ = std::make_unique<uint8_t[]>(head.size() + packed.size());
    std::memcpy(block_.get(), head.data(), head.size());
    if (!packed.empty()) std::memcpy(block_.get() + head.size(), packed.data(), packed.size());
}

void PackedBytes::CopyTo(void* out, size_t count) const {
    if (!block_) return;
    uint8_t* o = static_cast<uint8_t*>(out);
    const Head h = ReadHead();
    const size_t total = std::min(count, h.size);
    const uint8_t* p = h.packed;
    const uint8_t* const end = p + h.packedLength;
    size_t at = 0;
    while (p < end && at < total) {
        const size_t zeros = std::min(GetNumber(p), total - at);
        const size_t literal = GetNumber(p);
        std::memset(o + at, 0, zeros);
        at += zeros;
        const size_t copied = std::min(literal, total - at);
        std::memcpy(o + at, p, copied);
        p += literal;
        at += copied;
    }
    std::memset(o + at, 0, total - at);
}

std::string PackedBytes::str() const {
    std::string s(size(), '\0');
    CopyTo(s.data());
    return s;
}

bool operator==(const PackedBytes& a, const PackedBytes& b) {
    // One byte string has one packed form.
    const PackedBytes::Head x = a.ReadHead(), y = b.ReadHead();
    if (x.size != y.size || x.packedLength != y.packedLength) return false;
    return x.packedLength == 0 || std::memcmp(x.packed, y.packed, x.packedLength) == 0;
}
