#pragma once
// Picture files of a library folder: each is a library part of the picture type, named after its file without
// the extension, whose file is the picture itself.
#include "library/LibraryPart.hpp"

#include <string>
#include <vector>

// The picture parts of `folder` ("/" separated), in file-name order.
std::vector<LibPartDef> PicturePartsOf(const std::string& folder);
