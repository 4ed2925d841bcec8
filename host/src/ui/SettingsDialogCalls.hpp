#pragma once
// The host's own settings dialogs (ui/SettingsDialogAnswers.hpp): 'SETD' opens a tool's settings dialog and
// 'OBJS' the object settings dialog with a subtype filter. On OK the tool's defaults take the answer's library
// part (its default parameters, with the answer's values typed over them); the object settings dialog also
// hands back the new defaults and their parameters. An answer that cannot apply (an unknown part or parameter,
// a part outside the subtype filter, a tool without library parts) is a host error and the dialog answers
// cancelled. Also 'COMP', which compares two library-part unique ids.
class HostFunctionSet;

void InstallSettingsDialogCalls(HostFunctionSet& set);
