#pragma once
// Selection records (API_Neig) made from element heads.
#include "APIElements.hpp"

// Fills `neig` for the element of `head`: the selection record kind of its type, its GUID and the "whole
// element" flag. False (and `neig` zeroed) for element types that have no selection record here.
bool ElemHeadToNeig(API_Neig* neig, const API_Elem_Head* head);
