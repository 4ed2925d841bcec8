#pragma once
// A byte string kept with its runs of zeros left out: the module's user-data records are fixed-width texts that
// are mostly zeros (a terrain point's 650 bytes pack into a few dozen). It reads back byte for byte; one pointer
// wide, and an empty string allocates nothing.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class PackedBytes {
public:
    PackedBytes() = default;
    PackedBytes(const void* data, size_t size) { assign(data, size); }
    PackedBytes(std::string_view bytes) { assign(bytes.data(), bytes.size()); }
    PackedBytes(const std::string& bytes) { assign(bytes.data(), bytes.size()); }
    PackedBytes(const PackedBytes& other);
    PackedBytes(PackedBytes&& other) noexcept = default;
    PackedBytes& operator=(const PackedBytes& other);
    PackedBytes& operator=(PackedBytes&& other) noexcept = default;

    void assign(const void* data, size_t size);
    size_t size() const;
    bool empty() const { return size() == 0; }
    // Writes the size() bytes to `out`.
    void CopyTo(void* out) const { CopyTo(out, size()); }
    // Writes the first `count` bytes (at most size()) to `out`: a field at the front of a record is read without
    // unpacking the rest.
    void CopyTo(void* out, size_t count) const;
    std::string str() const;
    // Asks the processor for the block ahead of a read.
    void Prefetch() const { __builtin_prefetch(block_.get()); }

    friend bool operator==(const PackedBytes& a, const PackedBytes& b);
    friend bool operator!=(const PackedBytes& a, const PackedBytes& b) { return !(a == b); }
    friend bool operator==(const PackedBytes& a, std::string_view b) { return a.str() == b; }
    friend bool operator!=(const PackedBytes& a, std::string_view b) { return !(a == b); }
    friend bool operator==(const PackedBytes& a, const std::string& b) { return a == std::string_view(b); }
    friend bool operator!=(const PackedBytes& a, const std::string& b) { return !(a == b); }

private:
    // The block: the byte count and the packed length, then the packed form: pieces of a run of zeros and a run of
    // literal bytes, each with its two lengths before it; the zeros after the last piece are implied by the count.
    // Every number is written in base 128, seven bits a byte, the last byte without its high bit.
    struct Head {
        size_t size = 0;
        size_t packedLength = 0;
        const uint8_t* packed = nullptr;
    };
    Head ReadHead() const;
    std::unique_ptr<uint8_t[]> block_;
};
