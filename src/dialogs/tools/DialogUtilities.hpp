#pragma once
// Small routines the tool dialogs and several tools share: the general alert with up to three buttons, a path's
// extension replaced, and the sort order of text lists.
#include "foundation/QV_String.hpp"

#include <cstdint>

// The host's modal alert; empty texts and captions are left out. The number of the button pressed.
int16_t ShowAlert(int16_t alertType, const QV_String& largeText, const QV_String& smallText, const QV_String& guideText,
                  const QV_String& button1, const QV_String& button2, const QV_String& button3);

// The path with its extension replaced by `extension` (given without the dot), or appended when the file name
// has none (a dot in a folder name does not count). An empty path stays empty.
void ReplaceExtension(QV_String& path, const QV_String& extension);

// The sort predicate of text lists.
bool CompareStringsLess(const QV_String& a, const QV_String& b);
