#pragma once
// What an import placed inside its undoable command, so that a failure part-way can take it back: the host keeps
// what a failed command made, and a failed import must leave the project as it was.
#include "APIDefs.hpp"
#include "GSArray.hpp"

#include <cstddef>

class PlacedElements {
public:
    void Add(const API_Guid& guid) { guids_.Push(guid); }
    size_t Count() const { return guids_.GetSize(); }
    // Deletes every element added and forgets them; true when the host deleted them all (or there were none).
    bool TakeBack();

private:
    GS::Array<API_Guid> guids_;
};
