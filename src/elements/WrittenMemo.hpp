#pragma once
// A new object's memo once a parameter view has written into it: the steps every object writer ends
// with before the object is created.
#include "elements/BaseLP.hpp"

#include "APIElements.hpp"

// The view detached and its parameter handle (which the array writes may have replaced) back in the memo. A memo
// not `written` in full is disposed. Answers `written`.
bool EndMemoWriting(API_ElementMemo& memo, BaseLP& view, bool written);

// The object created from the memo (which the host takes) with the element-written flag raised, and lowered again
// when the host refuses. True when the object exists.
bool CreateFlaggedObject(API_Element& object, API_ElementMemo& memo);
