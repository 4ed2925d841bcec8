#include "fileio/TextBlock.hpp"

#include <new>
#include <utility>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/mman.h>
#include <unistd.h>
#define LODRAVIX_TEXT_BLOCK_MMAP 1
#endif

namespace {
#ifdef LODRAVIX_TEXT_BLOCK_MMAP
size_t PageSize() {
    static const size_t size = size_t(sysconf(_SC_PAGESIZE));
    return size;
}
#endif
// Below this a text is taken from the pool and never given back page by page.
constexpr size_t SmallText = size_t(4) << 20;
}  // namespace

TextBlock::TextBlock(size_t capacity) {
    if (capacity == 0) return;
#ifdef LODRAVIX_TEXT_BLOCK_MMAP
    if (capacity < SmallText) {
        data_ = new (std::nothrow) char[capacity];
        if (data_ == nullptr) return;
        capacity_ = capacity;
        size_ = capacity;
        return;
    }
    int flags = MAP_PRIVATE | MAP_ANONYMOUS;
#ifdef MAP_POPULATE
    // Every page is written at once: one call maps them all.
    flags |= MAP_POPULATE;
#endif
    void* memory = mmap(nullptr, capacity, PROT_READ | PROT_WRITE, flags, -1, 0);
    if (memory == MAP_FAILED) return;
    data_ = static_cast<char*>(memory);
    mapped_ = true;
#else
    data_ = new (std::nothrow) char[capacity];
    if (data_ == nullptr) return;
#endif
    capacity_ = capacity;
    size_ = capacity;
}

TextBlock::TextBlock(TextBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)), released_(std::exchange(other.released_, 0)),
      mapped_(std::exchange(other.mapped_, false)) {}

TextBlock& TextBlock::operator=(TextBlock&& other) noexcept {
    if (this != &other) {
        Release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        released_ = std::exchange(other.released_, 0);
        mapped_ = std::exchange(other.mapped_, false);
    }
    return *this;
}

void TextBlock::ReleaseBefore(const char* at) {
#ifdef LODRAVIX_TEXT_BLOCK_MMAP
    if (data_ == nullptr || !mapped_ || at < data_ || at > data_ + capacity_) return;
    const size_t page = PageSize();
    const size_t upTo = size_t(at - data_) / page * page;
    if (upTo <= released_) return;
    munmap(data_ + released_, upTo - released_);
    released_ = upTo;
#else
    (void)at;
#endif
}

void TextBlock::Release() {
    if (data_ == nullptr) return;
#ifdef LODRAVIX_TEXT_BLOCK_MMAP
    if (!mapped_)
        delete[] data_;
    else if (released_ < capacity_)
        munmap(data_ + released_, capacity_ - released_);
#else
    delete[] data_;
#endif
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
    released_ = 0;
    mapped_ = false;
}
