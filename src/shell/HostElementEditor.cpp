#include "shell/HostElementEditor.hpp"

#include "foundation/ACAPI.hpp"

GSErrCode HostElementEditor::Edit(const GS::Array<API_Neig>& neigs, const API_EditPars& pars) {
    return ACAPI_Element_Edit(neigs, pars);
}
