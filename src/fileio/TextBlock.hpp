#pragma once
// TextBlock: a block of a file's text in memory of its own, taken straight from the system, so that it goes back
// to the system the moment the block is freed. The column readers free the blocks of a large file one by one as
// they interpret them; from the allocator's pool, freed blocks would stay with the process while the points grow.
#include <cstddef>

class TextBlock {
public:
    TextBlock() = default;
    // `capacity` bytes; empty (Data() null) when they cannot be had.
    explicit TextBlock(size_t capacity);
    TextBlock(TextBlock&& other) noexcept;
    TextBlock& operator=(TextBlock&& other) noexcept;
    TextBlock(const TextBlock&) = delete;
    TextBlock& operator=(const TextBlock&) = delete;
    ~TextBlock() { Release(); }

    char* Data() const { return data_; }
    size_t Size() const { return size_; }
    // The bytes in use: at most the capacity.
    void SetSize(size_t size) { size_ = size < capacity_ ? size : capacity_; }
    // Drops the first `count` bytes in use.
    void DropFront(size_t count);
    void Release();

private:
    char* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};
