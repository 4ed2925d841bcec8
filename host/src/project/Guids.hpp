#pragma once
// GUIDs as text and as keys of ordered maps.
#include "APIDefs.hpp"

#include <string>

struct GuidLess {
    bool operator()(const API_Guid& a, const API_Guid& b) const;
};

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX"
std::string GuidText(const API_Guid& guid);
bool ParseGuidText(const std::string& text, API_Guid* guid);
