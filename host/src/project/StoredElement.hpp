#pragma once
// One element as the project database stores it: its record, memo, user data and what the host keeps beside them.
#include "APIDefs.hpp"
#include "APIElements.hpp"
#include "project/ElementMemo.hpp"
#include "project/MemoPart.hpp"
#include "project/ElementRecord.hpp"
#include "project/PackedBytes.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct StoredUserData {
    int16_t dataVersion = 0;
    uint16_t platformSign = 0;
    uint32_t flags = 0;
    PackedBytes bytes;
};

// A 3D body given to an element by a script or a test (the host would run the library part's script for it):
// vertices relative to the element's placement (position, level above its story, angle 0) and polygons as rings
// of vertex numbers from 1.
struct StoredBody {
    std::vector<API_Coord3D> vertices;
    std::vector<std::vector<int32_t>> polygons;
};

// The bodies given to an element behind one pointer: most elements have none.
class StoredBodies {
public:
    StoredBodies() = default;
    StoredBodies(const StoredBodies& other) { *this = other; }
    StoredBodies(StoredBodies&& other) noexcept = default;
    StoredBodies& operator=(const StoredBodies& other) {
        if (this != &other) list_ = other.list_ ? std::make_unique<std::vector<StoredBody>>(*other.list_) : nullptr;
        return *this;
    }
    StoredBodies& operator=(StoredBodies&& other) noexcept = default;
    StoredBodies& operator=(const std::vector<StoredBody>& bodies) {
        list_ = bodies.empty() ? nullptr : std::make_unique<std::vector<StoredBody>>(bodies);
        return *this;
    }

    size_t size() const { return list_ ? list_->size() : 0; }
    bool empty() const { return size() == 0; }
    StoredBody* begin() { return list_ ? list_->data() : nullptr; }
    StoredBody* end() { return list_ ? list_->data() + list_->size() : nullptr; }
    const StoredBody* begin() const { return list_ ? list_->data() : nullptr; }
    const StoredBody* end() const { return list_ ? list_->data() + list_->size() : nullptr; }

private:
    std::unique_ptr<std::vector<StoredBody>> list_;
};

// An element's memo behind one pointer: most elements (a survey's points, lines) have none, and a memo's sixteen
// parts would cost each of them 128 bytes. Reads as a StoredMemo (an empty one when there is none).
class StoredMemoBox {
public:
    StoredMemoBox& operator=(StoredMemo memo) {
        if (memo.IsEmpty())
            memo_.reset();
        else
            memo_ = std::move(memo);
        return *this;
    }

    const StoredMemo& operator*() const { return memo_ ? *memo_ : Empty(); }
    const StoredMemo* operator->() const { return &**this; }
    operator const StoredMemo&() const { return **this; }
    // The memo to change in place; DropIfEmpty after the change gives the memory back if it left nothing.
    StoredMemo& Mutable() { return memo_ ? *memo_ : memo_.emplace(); }
    void DropIfEmpty() {
        if (memo_ && memo_->IsEmpty()) memo_.reset();
    }

private:
    static const StoredMemo& Empty() {
        static const StoredMemo empty;
        return empty;
    }
    MemoPart<StoredMemo> memo_;  // copies deeply, as a memo part does
};

struct StoredElement {
    ElementRecord record;
    StoredMemoBox memo;
    std::optional<StoredUserData> userData;
    API_Guid database = {};  // the database the element lives in
    uint64_t serial = 0;     // creation order
    std::string name;        // a name given by a script or test ("" none)
    StoredBodies bodies;     // given 3D bodies (library-part objects)
};
