#pragma once
// One optional part of an element's memo, kept behind a pointer: an absent part costs the element eight bytes,
// not the part's whole record. Reads and writes like std::optional.
#include <memory>
#include <optional>
#include <utility>

template <typename T>
class MemoPart {
public:
    MemoPart() = default;
    MemoPart(std::nullopt_t) {}
    MemoPart(const T& value) : value_(std::make_unique<T>(value)) {}
    MemoPart(T&& value) : value_(std::make_unique<T>(std::move(value))) {}
    MemoPart(const MemoPart& other) : value_(other.value_ ? std::make_unique<T>(*other.value_) : nullptr) {}
    MemoPart(MemoPart&& other) noexcept = default;
    MemoPart& operator=(const MemoPart& other) {
        if (this != &other) value_ = other.value_ ? std::make_unique<T>(*other.value_) : nullptr;
        return *this;
    }
    MemoPart& operator=(MemoPart&& other) noexcept = default;
    MemoPart& operator=(std::nullopt_t) {
        value_.reset();
        return *this;
    }
    template <typename U,
              typename = std::enable_if_t<!std::is_same<std::decay_t<U>, MemoPart>::value &&
                                          !std::is_same<std::decay_t<U>, std::nullopt_t>::value>>
    MemoPart& operator=(U&& value) {
        if (value_)
            *value_ = std::forward<U>(value);
        else
            value_ = std::make_unique<T>(std::forward<U>(value));
        return *this;
    }

    bool has_value() const { return value_ != nullptr; }
    explicit operator bool() const { return value_ != nullptr; }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return value_.get(); }
    const T* operator->() const { return value_.get(); }
    T& value() {
        if (!value_) throw std::bad_optional_access();
        return *value_;
    }
    const T& value() const {
        if (!value_) throw std::bad_optional_access();
        return *value_;
    }
    template <typename U>
    T value_or(U&& other) const {
        return value_ ? *value_ : T(std::forward<U>(other));
    }
    template <typename... Args>
    T& emplace(Args&&... args) {
        value_ = std::make_unique<T>(std::forward<Args>(args)...);
        return *value_;
    }
    void reset() { value_.reset(); }

    friend bool operator==(const MemoPart& a, const MemoPart& b) {
        return a.has_value() == b.has_value() && (!a.has_value() || *a == *b);
    }
    friend bool operator!=(const MemoPart& a, const MemoPart& b) { return !(a == b); }
    friend bool operator==(const MemoPart& a, std::nullopt_t) { return !a.has_value(); }
    friend bool operator!=(const MemoPart& a, std::nullopt_t) { return a.has_value(); }

private:
    std::unique_ptr<T> value_;
};
