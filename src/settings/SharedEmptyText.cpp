#include "settings/SharedEmptyText.hpp"

const QV_String& SharedEmptyText() {
    // Without a buffer: building it allocates nothing, so it is safe at any time of the module's life.
    static const QV_String empty;
    return empty;
}
