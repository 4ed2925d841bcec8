#pragma once
// "Name new object...": the name of a new GIS object. OK is refused while the name is empty or names a loaded
// object, or holds a path ('\', '/' or ".."), since it becomes the part's file name in the library folder.
#include "foundation/QV_String.hpp"

#include <cstdint>

constexpr int16_t NewObjectNameDialogId = 32534;

struct NewObjectNameBlock {
    int16_t dialogId = 0;
    QV_String name;
};

// True on OK; the block's name is then the text as typed.
bool OpenNewObjectNameDialog(NewObjectNameBlock& block);
// The name may become a new object's: not empty, no path in it, and not a loaded object's (a trailing '\' and
// the extension left out for that check). A check the host refused (`refused` set, when given) accepts nothing.
bool NewObjectNameAccepted(const QV_String& typed, bool* refused = nullptr);

int16_t NewObjectNameCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData, intptr_t messageData);
