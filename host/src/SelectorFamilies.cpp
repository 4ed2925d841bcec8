#include "SelectorFamilies.hpp"

namespace {
const char* Name(SelectorFamily family) {
    static const char* const kNames[] = {"Environment", "Interface", "Database", "Automate", "Goodies"};
    return kNames[static_cast<int>(family)];
}

GSErrCode Serve(SelectorFamily family, const API_SelectorCall* call) {
    HostCalls* host = HostCalls::Current();
    if (host == nullptr) return APIERR_GENERAL;
    if (call == nullptr) return APIERR_BADPARS;
    GSErrCode err;
    // The key of an injected failure is the selector word.
    if (host->InjectedFailure(Name(family), int32_t(call->selector), &err, call->selector)) return err;
    const SelectorHandler handler = host->FindSelector(family, call->selector);
    return handler != nullptr ? handler(*host, call) : host->RefuseSelector(Name(family), call->selector);
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
