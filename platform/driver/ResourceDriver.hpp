// Driver side of the resource functions: the host opens the module's resource folder (resources/ beside the
// module) and hands the module handle on; problems met while loading are collected here.
#pragma once

#include "Resources.hpp"

#include <string>
#include <vector>

namespace ResourceDriver {

// Loads every resource under `folder` (<folder>/<TYPE>/<id>.txt). Answers the new module handle, or
// InvalidResModule when the folder cannot be read. Bad files or lines are skipped and reported in Errors().
GSResModule OpenResourceFolder(const std::string& folder);
void CloseResourceModule(GSResModule module);

// "<file>:<line>: <problem>" for every problem met since the last ClearErrors (also written to stderr).
const std::vector<std::string>& Errors();
void ClearErrors();

// Largest resource file accepted, in bytes; larger files are refused whole.
constexpr std::size_t MaxResourceFileSize = 1 << 20;
// Largest string-table or menu index accepted.
constexpr int32_t MaxStringIndex = 9999;

}  // namespace ResourceDriver
