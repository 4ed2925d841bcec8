#pragma once
// The host's own edit of elements, for the objects that follow a lifted or dragged terrain. Made by the shell when
// the module starts (shell/Wiring) and handed to the terrain's model-update step.
#include "terrain/ElementEditor.hpp"

class HostElementEditor final : public ElementEditor {
public:
    GSErrCode Edit(const GS::Array<API_Neig>& neigs, const API_EditPars& pars) override;
};
