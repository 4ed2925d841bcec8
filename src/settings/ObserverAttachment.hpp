#pragma once
// The host reports edits, moves and deletions only of elements an observer is attached to. New elements get
// theirs when the add-on creates them; the add-on's elements already in a project get theirs from this pass.

#include <cstdint>

// Walks the project's hotspots, lines, meshes and placed objects and attaches the element observer to each
// whose element data record belongs to one of the add-on's kinds for that element type. A host failure skips the
// element or the element type concerned and the pass goes on with the rest; the answer is then
// ErrObjectInformation (0 when every element was looked at), for the caller to tell the user that some of the
// add-on's elements may not follow their edits.
int32_t AttachObserversToAddOnElements();
