#include "ui/UserControlCalls.hpp"

#include "APISelectors.hpp"
#include "DGDriver.hpp"
#include "HostCalls.hpp"
#include "project/ProjectDatabase.hpp"

namespace {

// A pick is an attribute index of the project: pens by their range, the other choosers by the attribute
// table; building materials are no table of this host, so any index from 1 is one.
DGDriver::UserControlCheck CheckFor(HostCalls& host, uint32_t type) {
    API_AttrTypeID table = 0;
    const char* name = nullptr;
    switch (type) {
        case APIUserControl_Pen:
        case APIUserControl_PenWithZero: {
            const int32_t lowest = type == APIUserControl_Pen ? 1 : 0;
            return [lowest](int32_t value, std::string* why) {
                if (value >= lowest && value <= 255) return true;
                *why = "pen " + std::to_string(value) + " is not one of the pens " + std::to_string(lowest) + "..255";
                return false;
            };
        }
        case APIUserControl_BuildingMaterial:
            return [](int32_t value, std::string* why) {
                if (value >= 1) return true;
                *why = "building material " + std::to_string(value) + " does not exist";
                return false;
            };
        case APIUserControl_Fill: table = API_FilltypeID, name = "fill"; break;
        case APIUserControl_Material: table = API_MaterialID, name = "material"; break;
        case APIUserControl_Layer: table = API_LayerID, name = "layer"; break;
        case APIUserControl_LineType:
        case APIUserControl_LineTypeAlt: table = API_LinetypeID, name = "line type"; break;
        default: return nullptr;
    }
    HostCalls* hostPtr = &host;
    return [hostPtr, table, name](int32_t value, std::string* why) {
        API_Attribute attribute = {};
        attribute.header.typeID = table;
        attribute.header.index = value;
        if (value >= 1 && hostPtr->Database().GetAttribute(&attribute) == NoError) return true;
        *why = std::string(name) + " " + std::to_string(value) + " does not exist in the project";
        return false;
    };
}

GSErrCode BindUserControl(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Interface", call, sizeof(API_UserControlBinding), 0)) return APIERR_BADPARS;
    const auto* rec = static_cast<const API_UserControlBinding*>(call->par1);
    DGDriver::UserControlCheck check = CheckFor(host, rec->type);
    std::string why;
    if (!check) {
        why = "no attribute chooser of type " + std::to_string(rec->type);
    } else if (DGDriver::BindUserControl(rec->dialogID, rec->itemID, int32_t(rec->type), check, &why)) {
        return NoError;
    }
    host.ReportHostError("'SUCC': " + why);
    return APIERR_BADPARS;
}

}  // namespace

void InstallUserControlCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Interface, APIIo_SetUserControlCallbackID.code, BindUserControl);
}
