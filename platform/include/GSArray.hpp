// GS::Array<T>: the host's growable array. Index access is checked and throws GS::OutOfRangeException,
// the one exception the host's containers raise.
#pragma once

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace GS {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

class OutOfRangeException : public Exception {
public:
    using Exception::Exception;
};

constexpr uint32_t MaxUIndex = 0xFFFFFFFFu;

template <class T>
class Array {
    // Boxed so that Array<bool> hands out real references.
    struct Box {
        T value;
    };

public:
    class ConstIterator;
    class Iterator {
    public:
        explicit Iterator(typename std::vector<Box>::iterator it) : it_(it) {}
        T& operator*() const { return it_->value; }
        T* operator->() const { return &it_->value; }
        Iterator& operator++() {
            ++it_;
            return *this;
        }
        bool operator==(const Iterator& o) const { return it_ == o.it_; }
        bool operator!=(const Iterator& o) const { return it_ != o.it_; }

    private:
        typename std::vector<Box>::iterator it_;
    };
    class ConstIterator {
    public:
        explicit ConstIterator(typename std::vector<Box>::const_iterator it) : it_(it) {}
        const T& operator*() const { return it_->value; }
        const T* operator->() const { return &it_->value; }
        ConstIterator& operator++() {
            ++it_;
            return *this;
        }
        bool operator==(const ConstIterator& o) const { return it_ == o.it_; }
        bool operator!=(const ConstIterator& o) const { return it_ != o.it_; }

    private:
        typename std::vector<Box>::const_iterator it_;
    };

    Array() = default;
    Array(std::initializer_list<T> items) {
        for (const T& item : items) Push(item);
    }

    void Push(const T& item) { items_.push_back(Box{item}); }
    void Push(T&& item) { items_.push_back(Box{std::move(item)}); }

    uint32_t GetSize() const { return static_cast<uint32_t>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }

    T& operator[](uint32_t index) { return items_[Check(index)].value; }
    const T& operator[](uint32_t index) const { return items_[Check(index)].value; }
    T& Get(uint32_t index) { return (*this)[index]; }
    const T& Get(uint32_t index) const { return (*this)[index]; }
    T& GetFirst() { return (*this)[0]; }
    const T& GetFirst() const { return (*this)[0]; }
    T& GetLast() { return (*this)[GetSize() - 1]; }
    const T& GetLast() const { return (*this)[GetSize() - 1]; }

    // Inserts before `index`; an index equal to the size appends.
    void Insert(uint32_t index, const T& item) {
        if (index > GetSize()) ThrowOutOfRange(index);
        items_.insert(items_.begin() + index, Box{item});
    }
    void Delete(uint32_t index) { items_.erase(items_.begin() + Check(index)); }
    void DeleteLast() { Delete(GetSize() - 1); }
    void Pop(T* item) {
        *item = std::move(GetLast());
        items_.pop_back();
    }
    void Clear() { items_.clear(); }
    // Grows with default-constructed items or cuts at `newSize`.
    void SetSize(uint32_t newSize) { items_.resize(newSize); }

    uint32_t FindFirst(const T& item) const {
        for (uint32_t i = 0; i < GetSize(); ++i)
            if (items_[i].value == item) return i;
        return MaxUIndex;
    }
    bool Contains(const T& item) const { return FindFirst(item) != MaxUIndex; }

    Iterator begin() { return Iterator(items_.begin()); }
    Iterator end() { return Iterator(items_.end()); }
    ConstIterator begin() const { return ConstIterator(items_.begin()); }
    ConstIterator end() const { return ConstIterator(items_.end()); }

    bool operator==(const Array& other) const {
        if (GetSize() != other.GetSize()) return false;
        for (uint32_t i = 0; i < GetSize(); ++i)
            if (!(items_[i].value == other.items_[i].value)) return false;
        return true;
    }
    bool operator!=(const Array& other) const { return !(*this == other); }

private:
    uint32_t Check(uint32_t index) const {
        if (index >= GetSize()) ThrowOutOfRange(index);
        return index;
    }
    [[noreturn]] void ThrowOutOfRange(uint32_t index) const {
        throw OutOfRangeException("GS::Array index " + std::to_string(index) + " out of range (size " +
                                  std::to_string(GetSize()) + ")");
    }

    std::vector<Box> items_;
};

}  // namespace GS
