#include "terrain/ToolDialogHooks.hpp"

namespace {
ToolDialogHooks Wired;
}

ToolDialogHooks& WiredToolDialogs() { return Wired; }

void ResetToolDialogs() { Wired = ToolDialogHooks(); }
