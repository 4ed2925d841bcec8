#include "fileio/TextBlock.hpp"

#include <cstring>
#include <new>
#include <utility>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/mman.h>
#define LODRAVIX_TEXT_BLOCK_MMAP 1
#endif

TextBlock::TextBlock(size_t capacity) {
    if (capacity == 0) return;
#ifdef LODRAVIX_TEXT_BLOCK_MMAP
    void* memory = mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return;
    data_ = static_cast<char*>(memory);
#else
    data_ = new (std::nothrow) char[capacity];
    if (data_ == nullptr) return;
#endif
    capacity_ = capacity;
    size_ = capacity;
}

TextBlock::TextBlock(TextBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

TextBlock& TextBlock::operator=(TextBlock&& other) noexcept {
    if (this != &other) {
        Release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

void TextBlock::DropFront(size_t count) {
    if (count > size_) count = size_;
    std::memmove(data_, data_ + count, size_ - count);
    size_ -= count;
}

void TextBlock::Release() {
    if (data_ == nullptr) return;
#ifdef LODRAVIX_TEXT_BLOCK_MMAP
    munmap(data_, capacity_);
#else
    delete[] data_;
#endif
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
}
