#include "SelectorFamilies.hpp"

namespace {
struct FamilyRules {
    const char* name;
    bool failsPerSelector;  // FailCall's key is the selector word
};

const FamilyRules& Rules(SelectorFamily family) {
    static const FamilyRules kRules[] = {
        {"Environment", false}, {"Interface", false}, {"Database", true}, {"Automate", true}, {"Goodies", true}};
    return kRules[static_cast<int>(family)];
}

GSErrCode Serve(SelectorFamily family, const API_SelectorCall* call) {
    const FamilyRules& rules = Rules(family);
    HostCalls* host = HostCalls::Current();
    if (host == nullptr) return APIERR_GENERAL;
    if (call == nullptr) return APIERR_BADPARS;
    GSErrCode err;
    if (host->InjectedFailure(rules.name, rules.failsPerSelector ? int32_t(call->selector) : -1, &err, call->selector))
        return err;
    const SelectorHandler handler = host->FindSelector(family, call->selector);
    return handler != nullptr ? handler(*host, call) : host->RefuseSelector(rules.name, call->selector);
}

GSErrCode T_Environment(const API_SelectorCall* call) { return Serve(SelectorFamily::Environment, call); }
GSErrCode T_Interface(const API_SelectorCall* call) { return Serve(SelectorFamily::Interface, call); }
GSErrCode T_Database(const API_SelectorCall* call) { return Serve(SelectorFamily::Database, call); }
GSErrCode T_Automate(const API_SelectorCall* call) { return Serve(SelectorFamily::Automate, call); }
GSErrCode T_Goodies(const API_SelectorCall* call) { return Serve(SelectorFamily::Goodies, call); }
}  // namespace

void InstallSelectorFamilies(HostFunctionSet& set) {
    set.Put("Environment", &API_HostFunctionTable::Environment, T_Environment);
    set.Put("Interface", &API_HostFunctionTable::Interface, T_Interface);
    set.Put("Database", &API_HostFunctionTable::Database, T_Database);
    set.Put("Automate", &API_HostFunctionTable::Automate, T_Automate);
    set.Put("Goodies", &API_HostFunctionTable::Goodies, T_Goodies);
}
