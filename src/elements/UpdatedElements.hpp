#pragma once
// The elements of the user's edit that a step of the model update takes up. The host's element filter answers a
// bare yes or no, and a host that cannot answer says no: a step that took that "no" at its word would pass over
// the user's copy without a word, so a "no" is checked against what makes an element read-only.
#include "APIElements.hpp"

#include <cstdint>

class ElemDescriptor;  // elements/ElemDataRecord.hpp

enum class FilterAnswer { Yes, No, Unknown };

// The host's element filter with `bits` (APIFilt_IsEditable, or 0: any element of the current database). Its "no"
// stands for an element not in the current database and, with APIFilt_IsEditable, for a locked element, one of a
// hotlinked module or one on a hidden or locked layer; for any other element it is the host's failure (Unknown),
// as is an element or layer the host cannot read.
FilterAnswer FilterElement(const API_Guid& guid, uint32_t bits);

// The element of `head` when the filter with `bits` passes it and it carries a data record of `kind` (with the
// kind's tag), read into `element` and `record`; `taken` tells. False when the host failed.
bool ReadUpdatedElement(const API_Elem_Head& head, uint32_t bits, int32_t kind, API_Element& element,
                        ElemDescriptor& record, bool& taken);
