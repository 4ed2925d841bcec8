#pragma once
// The host reports edits, moves and deletions only of elements an observer is attached to. New elements get
// theirs when the add-on creates them; the add-on's elements already in a project get theirs from this pass.

// Walks the project's hotspots, lines, meshes and placed objects and attaches the element observer to each
// whose element data record belongs to one of the add-on's kinds for that element type. Every host failure
// only skips the element or the element type concerned; nothing is reported.
void AttachObserversToAddOnElements();
