#include "sosi/SOSIDialogHooks.hpp"

namespace {
SOSIDialogHooks hooks;
}

void SetSOSIDialogs(const SOSIDialogHooks& h) { hooks = h; }
const SOSIDialogHooks& SOSIDialogs() { return hooks; }
