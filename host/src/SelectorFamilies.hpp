#pragma once
// The entries of the table that take a selector word (Environment, Interface, Database, Automate, Goodies):
// each hands the call to the family of host functions that added its selector, and refuses the others.
// FailCall(<family>, <selector word>) fails one selector of a family, FailCall(<family>, -1) all of them.
#include "HostCalls.hpp"

void InstallSelectorFamilies(HostFunctionSet& set);
