#pragma once
// QV_List<T>: the module's dynamic array. A count and a host relocatable handle that holds the elements one
// after another. Index -1 on Insert appends. Clear and the destructor destroy the elements in index order.
//
// Elements are moved as raw bytes: the handle block may move on any reallocation, Insert and Remove shift
// the tail with one block move, and the sort swaps bytewise. So T must be relocatable: either trivially
// copyable (host records, numeric records) or a type that explicitly opts in because it holds no pointer
// into itself and no object keeps a pointer to it:
//
//     struct MyRecord { QV_String name; int32_t code; };
//     template <> struct QV_IsRelocatable<MyRecord> : std::true_type {};
//     // or, at namespace scope after including this header:  QV_DECLARE_RELOCATABLE(MyRecord);
//
// QV_String and every QV_List<U> are relocatable already. Elements of class type are copy-constructed into
// place and destroyed one by one.
//
// Failure handling: nothing throws. A failed growth leaves the list exactly as it was and answers false.
// A list can have no handle (copied or assigned from a list without handle, or whose copy could not be
// allocated): it has count 0 and refuses Insert.
#include "foundation/QV_String.hpp"

#include "GSRoot.hpp"

#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

template <typename T>
struct QV_IsRelocatable : std::is_trivially_copyable<T> {};

#define QV_DECLARE_RELOCATABLE(Type)                                                                                   \
    template <>                                                                                                        \
    struct QV_IsRelocatable<Type> : std::true_type {}

template <>
struct QV_IsRelocatable<QV_String> : std::true_type {};

template <typename T>
class QV_List;
template <typename U>
struct QV_IsRelocatable<QV_List<U>> : std::true_type {};

// Sort descriptor of QV_ListSort.
struct QV_ListSortDescriptor {
    void* scratch;                                               // one element, for swaps
    bool (*less)(const void* a, const void* b, void* userData);  // true when a must come before b
    void* first;                                                 // element number 1
    uint32_t elementSize;                                        // bytes
};

// Sorts the elements `first` to `last` (inclusive, numbered from 1) in place: quicksort with a middle
// pivot, elements swapped as raw bytes. Not stable. Returns without sorting when the pivot cannot be
// allocated.
void QV_ListSort(int32_t first, int32_t last, const QV_ListSortDescriptor& descriptor, void* userData);

template <typename T>
class QV_List {
    static_assert(QV_IsRelocatable<T>::value,
                  "QV_List moves its elements as raw bytes: T must be trivially copyable or opt in through "
                  "QV_IsRelocatable<T> (see QV_List.hpp)");

public:
    typedef bool (*LessFunction)(const T& a, const T& b, void* userData);

    QV_List() : count(0), handle(BMAllocateHandle(0, ALLOCATE_RELOCATABLE, 0)) {}

    QV_List(const QV_List& other) : count(0), handle(nullptr) { CopyFrom(other); }

    QV_List& operator=(const QV_List& other) {
        if (this == &other) return *this;
        DestroyElements();
        BMKillHandle(&handle);
        CopyFrom(other);
        return *this;
    }

    virtual ~QV_List() {
        DestroyElements();
        BMKillHandle(&handle);
    }

    // Destroys the elements and shrinks the block to 0 bytes; the handle stays, so Insert works again.
    void Clear() {
        DestroyElements();
        if (handle != nullptr) BMReallocHandle(handle, 0, 0, 0);  // on failure the larger block simply stays
    }

    // Inserts a copy of `item` before `index` (0 to count; -1 appends). `item` may be an element of this
    // list. False (and no change) for an index out of range, a list without handle or a failed growth.
    bool Insert(const T& item, int32_t index = -1) {
        if (handle == nullptr) return false;
        if (index == -1) index = count;
        if (index < 0 || index > count) return false;
        // The block may move on growth: remember where an aliased item lives by index.
        const int32_t aliasIndex = IndexOf(&item);
        if (!Grow(int64_t(count) + 1)) return false;
        T* data = Data();
        if (index < count)
            std::memmove(static_cast<void*>(data + index + 1), static_cast<const void*>(data + index),
                         sizeof(T) * size_t(count - index));
        const T* source = &item;
        if (aliasIndex >= 0) source = data + (aliasIndex >= index ? aliasIndex + 1 : aliasIndex);
        std::memset(static_cast<void*>(data + index), 0, sizeof(T));
        Construct(data + index, *source);
        ++count;
        return true;
    }

    // Inserts copies of all elements of `other` (may be this list) before `index` (-1 appends).
    bool InsertList(const QV_List& other, int32_t index = -1) {
        if (handle == nullptr) return false;
        if (index == -1) index = count;
        if (index < 0 || index > count) return false;
        const int32_t n = other.count;
        if (n == 0) return true;
        const bool self = &other == this;
        if (!Grow(int64_t(count) + n)) return false;
        T* data = Data();
        if (index < count)
            std::memmove(static_cast<void*>(data + index + n), static_cast<const void*>(data + index),
                         sizeof(T) * size_t(count - index));
        std::memset(static_cast<void*>(data + index), 0, sizeof(T) * size_t(n));
        for (int32_t k = 0; k < n; ++k) {
            // Copying from itself: the old elements now sit before `index` and after `index + n`.
            const T& source = self ? data[k < index ? k : k + n] : other.Data()[k];
            Construct(data + index + k, source);
        }
        count += n;
        return true;
    }

    // Destroys the element at `index` and closes the gap (the block keeps its size). False when out of range.
    bool Remove(int32_t index) {
        if (index < 0 || index >= count) return false;
        T* data = Data();
        data[index].~T();
        if (index < count - 1)
            std::memmove(static_cast<void*>(data + index), static_cast<const void*>(data + index + 1),
                         sizeof(T) * size_t(count - 1 - index));
        --count;
        return true;
    }

    // Makes room for `n` elements in all, so that a list filled one by one to a size known before is never held
    // twice while it grows nor left with room to spare. False (no change) for a list without handle or a failed
    // growth.
    bool Reserve(int32_t n) { return handle != nullptr && (n <= count || Grow(n)); }

    // Destroys every element whose index `drop` names and closes the gaps in one pass: the others keep their
    // order and move as raw bytes, never copied. `drop` is asked once per index, in rising order, before that
    // element moves.
    template <typename Drop>
    void RemoveIf(Drop drop) {
        T* data = Data();
        int32_t to = 0;
        for (int32_t i = 0; i < count; ++i) {
            if (drop(i)) {
                data[i].~T();
                continue;
            }
            if (to != i) std::memmove(static_cast<void*>(data + to), static_cast<const void*>(data + i), sizeof(T));
            ++to;
        }
        count = to;
    }

    // Sets the count: new elements are zero-filled and then value-initialised, dropped ones destroyed (from
    // the end). False (no change) for a negative count, a list without handle or a failed growth.
    bool SetSize(int32_t newCount) {
        if (newCount < 0 || handle == nullptr) return false;
        if (newCount < count) {
            T* data = Data();
            for (int32_t i = newCount; i < count; ++i) data[i].~T();
            count = newCount;
            return true;
        }
        if (newCount == count) return true;
        if (!Grow(newCount)) return false;
        T* data = Data();
        std::memset(static_cast<void*>(data + count), 0, sizeof(T) * size_t(newCount - count));
        for (int32_t i = count; i < newCount; ++i) new (data + i) T();
        count = newCount;
        return true;
    }

    // Replaces the elements by `n` copies of `items` (trivially copyable elements only), without first clearing
    // the new room: for bulk data read from a file. False (no change) for a negative count or a failed growth.
    bool Assign(const T* items, int32_t n) {
        static_assert(std::is_trivially_copyable<T>::value, "Assign copies bytes");
        if (n < 0 || handle == nullptr || !Grow(n)) return false;
        if (n > 0) std::memcpy(static_cast<void*>(Data()), static_cast<const void*>(items), sizeof(T) * size_t(n));
        count = n;
        return true;
    }

    // Sorts with QV_ListSort (not stable). Nothing happens for fewer than two elements.
    void Sort(LessFunction less, void* userData = nullptr) {
        if (count < 2 || less == nullptr) return;
        GSPtr scratch = BMAllocatePtr(GSSize(sizeof(T)), 0, 0);
        if (scratch == nullptr) return;
        struct Context {
            LessFunction less;
            void* userData;
        } context{less, userData};
        QV_ListSortDescriptor descriptor{scratch,
                                         [](const void* a, const void* b, void* ctx) {
                                             auto* c = static_cast<Context*>(ctx);
                                             return c->less(*static_cast<const T*>(a), *static_cast<const T*>(b),
                                                            c->userData);
                                         },
                                         Data(), uint32_t(sizeof(T))};
        QV_ListSort(1, count, descriptor, &context);
        BMKillPtr(&scratch);
    }

    int32_t GetCount() const { return count; }
    bool IsEmpty() const { return count == 0; }
    bool HasHandle() const { return handle != nullptr; }
    GSHandle GetHandle() const { return handle; }

    // Unchecked access (index 0 to count - 1). The address changes whenever the list grows.
    T& operator[](int32_t i) { return Data()[i]; }
    const T& operator[](int32_t i) const { return Data()[i]; }
    // Checked access: null when out of range.
    T* Get(int32_t i) { return i >= 0 && i < count ? Data() + i : nullptr; }
    const T* Get(int32_t i) const { return i >= 0 && i < count ? Data() + i : nullptr; }

    T* begin() { return count > 0 ? Data() : nullptr; }
    T* end() { return count > 0 ? Data() + count : nullptr; }
    const T* begin() const { return count > 0 ? Data() : nullptr; }
    const T* end() const { return count > 0 ? Data() + count : nullptr; }

private:
    T* Data() const { return handle != nullptr ? reinterpret_cast<T*>(*handle) : nullptr; }

    int32_t IndexOf(const T* item) const {
        if (count == 0) return -1;
        const T* data = Data();
        if (item < data || item >= data + count) return -1;
        return int32_t(item - data);
    }

    // Makes room for `elements` elements; the block grows to exactly that size when it is too small.
    bool Grow(int64_t elements) {
        if (elements > INT32_MAX) return false;
        const GSSize needed = GSSize(elements) * GSSize(sizeof(T));
        if (BMGetHandleSize(handle) >= needed) return true;
        return BMReallocHandle(handle, needed, 0, 0) != nullptr;  // on failure the old block is intact
    }

    static void Construct(T* place, const T& source) {
        if constexpr (std::is_trivially_copyable<T>::value)
            std::memcpy(static_cast<void*>(place), static_cast<const void*>(&source), sizeof(T));
        else
            new (place) T(source);
    }

    void DestroyElements() {
        if constexpr (!std::is_trivially_destructible<T>::value) {
            T* data = Data();
            for (int32_t i = 0; i < count; ++i) data[i].~T();
        }
        count = 0;
    }

    // Copies `other` into this list, which has no elements and no handle.
    void CopyFrom(const QV_List& other) {
        count = 0;
        handle = nullptr;
        if (other.handle == nullptr) return;
        handle = BMAllocateHandle(BMGetHandleSize(other.handle), ALLOCATE_RELOCATABLE, 0);
        if (handle == nullptr) return;
        T* data = Data();
        const T* source = other.Data();
        for (int32_t i = 0; i < other.count; ++i) {
            std::memset(static_cast<void*>(data + i), 0, sizeof(T));
            Construct(data + i, source[i]);
        }
        count = other.count;
    }

    int32_t count;
    GSHandle handle;
};

// Cuts `text` at every `separator` byte into strings in selector 2: n separators give n + 1 pieces (empty
// pieces included). The list is cleared first; a null text leaves it empty.
void SplitString(const char* text, char separator, QV_List<QV_String>& list);
