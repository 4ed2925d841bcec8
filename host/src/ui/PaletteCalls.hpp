#pragma once
// The module's modeless windows (palettes): registered with their control callback and flags while their
// dialog is open, unregistered when it closes; the host's messages to them (close, hide, show, disable,
// enable) go through the callback when the flags take them.
#include <cstdint>
#include <string>

class HostFunctionSet;
class HostCalls;

void InstallPaletteCalls(HostFunctionSet& set);

// Sends palette message `message` (APIPaletteMessage_...) to the window registered as `referenceID`. False
// with `why` when no such window is registered or its flags do not take that message.
bool SendPaletteMessage(HostCalls& host, int32_t referenceID, int32_t message, std::string* why);
// The module is about to be released: every registered window that takes the close message gets it.
void ClosePalettesForRelease(HostCalls& host);
// After the module's FreeData: a window still registered, or a dialog still open, is a fault of the module; the
// dialogs are destroyed without a message (their code is about to go).
void CheckPalettesAfterRelease(HostCalls& host);
