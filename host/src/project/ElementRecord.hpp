#pragma once
// An element's record as the project keeps it: the head as it is, and of the 912 bytes after it only those up to
// the last one that is not zero (a hotspot's part is a few dozen bytes, the rest of the record is zeros). It reads
// back as the whole record, byte for byte.
#include "APIDefs.hpp"
#include "APIElements.hpp"

#include <cstdint>
#include <memory>

class ElementRecord {
public:
    API_Elem_Head header = {};

    ElementRecord() = default;
    ElementRecord(const API_Element& record) { *this = record; }
    ElementRecord(const ElementRecord& other);
    ElementRecord(ElementRecord&& other) noexcept = default;
    ElementRecord& operator=(const ElementRecord& other);
    ElementRecord& operator=(ElementRecord&& other) noexcept = default;
    ElementRecord& operator=(const API_Element& record);

    // The whole record.
    API_Element Get() const;
    operator API_Element() const { return Get(); }
    // Changes the record through `edit` on the whole of it.
    template <typename F>
    void Edit(F&& edit) {
        API_Element r = Get();
        edit(r);
        *this = r;
    }
    bool SameAs(const API_Element& record) const;
    // Writes `count` bytes of the whole record from `offset` to `out`: a field read without the whole record.
    void CopyBytes(size_t offset, size_t count, void* out) const;
    // Asks the processor for the tail ahead of a read.
    void Prefetch() const { __builtin_prefetch(tail_.get()); }
    // A hash of the whole record's bytes.
    uint64_t Hash() const;

private:
    static constexpr size_t kTailCapacity = sizeof(API_Element) - sizeof(API_Elem_Head);
    static_assert(kTailCapacity < 65536, "the tail's size fits its two bytes");
    size_t TailSize() const;
    const uint8_t* Tail() const { return tail_.get() + 2; }
    // The bytes from the end of the head on, up to the last one that is not zero, after their count (two bytes);
    // null when they are all zero.
    std::unique_ptr<uint8_t[]> tail_;
};
