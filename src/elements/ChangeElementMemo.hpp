#pragma once
// Writing an edited memo back to one placed element.
#include "APIElements.hpp"

// Hands the memo to the host for the element alone (its GUID in a one-element list), with the element record and
// an all-zero mask, so only the memo's parts change. 0 when the element took them; the host's error otherwise.
GSErrCode ChangeElementMemo(API_Element* element, API_ElementMemo* memo);
