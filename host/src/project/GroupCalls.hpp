#pragma once
// Groups of elements: whether grouping is suspended ('ISSG'), turning the suspension on and off ('SUSP') and
// making a new group of listed elements ('GRUP').
class HostFunctionSet;

void InstallGroupCalls(HostFunctionSet& set);
