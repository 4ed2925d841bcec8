#pragma once
// The user's selection: elements on a hidden layer cannot be selected, elements that went away drop out.
#include "project/ProjectCore.hpp"

class ProjectSelection : public virtual ProjectCore {
public:
    GSErrCode Select(const API_Neig* neigs, int32_t count, bool add);
    void DeselectAll();
    // Fills info (with a new, empty marquee handle) and the records; an empty selection answers APIERR_NOSEL,
    // or NoError when emptySelectionIsError is cleared.
    GSErrCode GetSelection(API_SelectionInfo* info, std::vector<API_Neig>* neigs, bool onlyEditable) const;
    // The selected elements that still exist, in selection order.
    std::vector<API_Guid> Selection() const;
    bool emptySelectionIsError = true;
};
