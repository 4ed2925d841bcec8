#pragma once
// TextBlock: a file's text in memory of its own, taken straight from the system, so that the part already read
// goes back to the system while the rest is still in use. The column readers let the text of a large file go
// page by page as they interpret it; from the allocator's pool, freed text would stay with the process while
// the points grow. A small text comes from the pool and goes back whole: giving a page back costs the system more
// than the page is worth.
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
    // Gives back the whole pages before `at` (a place in the block); they are not to be read again.
    void ReleaseBefore(const char* at);
    void Release();

private:
    char* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
    size_t released_ = 0;  // bytes from the start already given back
    bool mapped_ = false;  // from the system (a large text), else from the pool
};
