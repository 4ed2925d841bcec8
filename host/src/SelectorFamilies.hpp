#pragma once
// The entries of the table that take a selector word (Environment, Interface, Database, Automate, Goodies):
// each hands the call to the family of host functions that added its selector, and refuses the others.
// FailCall("Database" | "Automate" | "Goodies", <selector word>) fails one selector of those families;
// "Environment" and "Interface" fail as a whole.
#include "HostCalls.hpp"

void InstallSelectorFamilies(HostFunctionSet& set);
