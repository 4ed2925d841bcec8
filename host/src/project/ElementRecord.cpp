#include "project/ElementRecord.hpp"

#include <algorithm>
#include <cstring>

namespace {
// The length up to the last byte that is not zero. Most of a record is zeros behind a few dozen bytes: the zeros
// are passed eight at a time.
size_t KeptLength(const uint8_t* bytes, size_t size) {
    while (size >= 8) {
        uint64_t word;
        std::memcpy(&word, bytes + size - 8, sizeof word);
        if (word != 0) break;
        size -= 8;
    }
    while (size > 0 && bytes[size - 1] == 0) --size;
    return size;
}
}  // namespace

size_t ElementRecord::TailSize() const {
    if (!tail_) return 0;
    uint16_t n;
    std::memcpy(&n, tail_.get(), sizeof n);
    return n;
}

ElementRecord::ElementRecord(const ElementRecord& other) : header(other.header) {
    const size_t size = other.TailSize();
    if (size > 0) {
        tail_ = std::make_unique<uint8_t[]>(2 + size);
        std::memcpy(tail_.get(), other.tail_.get(), 2 + size);
    }
}

ElementRecord& ElementRecord::operator=(const ElementRecord& other) {
    if (this != &other) *this = ElementRecord(other);
    return *this;
}

ElementRecord& ElementRecord::operator=(const API_Element& record) {
    std::memcpy(&header, record.bytes, sizeof header);
    const uint8_t* tail = record.bytes + sizeof(API_Elem_Head);
    const size_t size = KeptLength(tail, kTailCapacity);
    if (size != TailSize()) tail_ = size > 0 ? std::make_unique<uint8_t[]>(2 + size) : nullptr;
    if (size > 0) {
        const uint16_t n = uint16_t(size);
        std::memcpy(tail_.get(), &n, sizeof n);
        std::memcpy(tail_.get() + 2, tail, size);
    }
    return *this;
}

API_Element ElementRecord::Get() const {
    API_Element r;
    std::memcpy(r.bytes, &header, sizeof header);
    uint8_t* tail = r.bytes + sizeof(API_Elem_Head);
    const size_t size = TailSize();
    if (size > 0) std::memcpy(tail, Tail(), size);
    std::memset(tail + size, 0, kTailCapacity - size);
    return r;
}

void ElementRecord::CopyBytes(size_t offset, size_t count, void* out) const {
    uint8_t* o = static_cast<uint8_t*>(out);
    for (; count > 0 && offset < sizeof header; --count) *o++ = reinterpret_cast<const uint8_t*>(&header)[offset++];
    if (count == 0) return;
    const size_t from = offset - sizeof header, size = TailSize();
    const size_t kept = from < size ? std::min(count, size - from) : 0;
    if (kept > 0) std::memcpy(o, Tail() + from, kept);
    std::memset(o + kept, 0, count - kept);
}

bool ElementRecord::SameAs(const API_Element& record) const {
    if (std::memcmp(&header, record.bytes, sizeof header) != 0) return false;
    const uint8_t* tail = record.bytes + sizeof(API_Elem_Head);
    const size_t size = TailSize();
    if (size > 0 && std::memcmp(Tail(), tail, size) != 0) return false;
    return KeptLength(tail + size, kTailCapacity - size) == 0;
}

uint64_t ElementRecord::Hash() const {
    uint64_t h = 1469598103934665603ull;  // FNV-1a over the head, the tail kept and its length
    const auto add = [&h](const uint8_t* p, size_t n) {
        for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    };
    add(reinterpret_cast<const uint8_t*>(&header), sizeof header);
    const size_t size = TailSize();
    if (size > 0) add(Tail(), size);
    // The zeros after the tail are implied by its length (it ends at the last byte that is not zero).
    const uint64_t length = size;
    add(reinterpret_cast<const uint8_t*>(&length), sizeof length);
    return h;
}
