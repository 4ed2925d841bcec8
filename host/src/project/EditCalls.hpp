#pragma once
// The module's own edits of elements (Element_Edit): the dragging and lifting an edit tool does, applied to the
// elements' records and memos inside the module's undoable command.
class HostFunctionSet;

void InstallEditCalls(HostFunctionSet& set);
