#pragma once
// The host's edit of elements by their selection records (a drag, a lift), through which the objects linked to a
// terrain follow it. The shell implements it with the host's call (shell/HostElementEditor) and registers the
// terrain's model-update step with it; a test passes its own to see what would be moved.
#include "APIElements.hpp"
#include "APIInteraction.hpp"
#include "GSArray.hpp"

class ElementEditor {
public:
    virtual ~ElementEditor() = default;

    virtual GSErrCode Edit(const GS::Array<API_Neig>& neigs, const API_EditPars& pars) = 0;
};
