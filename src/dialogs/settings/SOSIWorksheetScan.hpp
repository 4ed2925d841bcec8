#pragma once
// The independent worksheets of the project as the worksheet import's dialog proposes a new one: whether a
// reference id and name pair is taken, and the next reference id to try.
#include "foundation/QV_String.hpp"

#include <cstdint>

// 1 when an independent worksheet has exactly this reference id and this name (letter case counts), 0 when none
// has, -1 when the host cannot list them. A worksheet whose info cannot be read counts as another.
int32_t ScanIndependentWorksheets(const QV_String& referenceId, const QV_String& name);

// The trailing number raised by one, zero-padded to its former width (VY-01 -> VY-02, X9 -> X10, A-099 ->
// A-100), or "-01" appended when the id does not end in a digit. Digits are counted as text, so a run of any
// length carries over.
QV_String NextWorksheetReference(const QV_String& referenceId);

// Proposes the first pair no worksheet holds, advancing the reference id while the scan finds it taken; stops
// at the first free pair or when the worksheets cannot be listed.
void ProposeFreeWorksheetReference(QV_String& referenceId, const QV_String& name);
