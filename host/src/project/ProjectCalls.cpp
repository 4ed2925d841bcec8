#include "project/ProjectCalls.hpp"

GSErrCode ServeProjectSelector(const char* family, HostCalls& host, const API_SelectorCall* call,
                               SelectorHandler body) {
    ProjectDatabase& db = host.Database();
    db.ClearRefusal();
    const GSErrCode err = body(host, call);
    if (family != nullptr && err != NoError && !db.LastRefusal().empty())
        host.Log(std::string("  host: ") + family + " " + SelectorText(call->selector) + " refused (" + ErrorText(err) +
                 "): " + db.LastRefusal());
    return err;
}
