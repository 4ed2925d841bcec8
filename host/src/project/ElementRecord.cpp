#include "project/ElementRecord.hpp"

#include <cstring>

ElementRecord::ElementRecord(const ElementRecord& other) : header(other.header), tailSize_(other.tailSize_) {
    if (tailSize_ > 0) {
        tail_ = std::make_unique<uint8_t[]>(tailSize_);
        std::memcpy(tail_.get(), other.tail_.get(), tailSize_);
    }
}

ElementRecord& ElementRecord::operator=(const ElementRecord& other) {
    if (this != &other) *this = ElementRecord(other);
    return *this;
}

ElementRecord& ElementRecord::operator=(const API_Element& record) {
    std::memcpy(&header, record.bytes, sizeof header);
    const uint8_t* tail = record.bytes + sizeof(API_Elem_Head);
    size_t size = kTailCapacity;
    while (size > 0 && tail[size - 1] == 0) --size;
    if (size != tailSize_) {
        tail_ = size > 0 ? std::make_unique<uint8_t[]>(size) : nullptr;
        tailSize_ = uint32_t(size);
    }
    if (size > 0) std::memcpy(tail_.get(), tail, size);
    return *this;
}

API_Element ElementRecord::Get() const {
    API_Element r;
    std::memcpy(r.bytes, &header, sizeof header);
    uint8_t* tail = r.bytes + sizeof(API_Elem_Head);
    if (tailSize_ > 0) std::memcpy(tail, tail_.get(), tailSize_);
    std::memset(tail + tailSize_, 0, kTailCapacity - tailSize_);
    return r;
}

bool ElementRecord::SameAs(const API_Element& record) const {
    if (std::memcmp(&header, record.bytes, sizeof header) != 0) return false;
    const uint8_t* tail = record.bytes + sizeof(API_Elem_Head);
    if (tailSize_ > 0 && std::memcmp(tail_.get(), tail, tailSize_) != 0) return false;
    for (size_t i = tailSize_; i < kTailCapacity; ++i)
        if (tail[i] != 0) return false;
    return true;
}

uint64_t ElementRecord::Hash() const {
    uint64_t h = 1469598103934665603ull;  // FNV-1a over the whole record
    const auto add = [&h](const uint8_t* p, size_t n) {
        for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    };
    add(reinterpret_cast<const uint8_t*>(&header), sizeof header);
    if (tailSize_ > 0) add(tail_.get(), tailSize_);
    for (size_t i = tailSize_; i < kTailCapacity; ++i) h = h * 1099511628211ull;  // the zeros after it
    return h;
}
