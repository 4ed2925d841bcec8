#pragma once
// The solid-link entries of the host table, over the serving host's project.
class HostFunctionSet;

void InstallSolidLinkCalls(HostFunctionSet& set);
