#include "project/LineTypeDefinitions.hpp"

#include "project/ProjectRecords.hpp"
#include "project/ProjectCalls.hpp"

#include <cstring>

namespace {

template <typename T>
GSHandle HandleOf(const std::vector<T>& records) {
    if (records.empty()) return nullptr;
    GSHandle handle = BMAllocateHandle(GSSize(records.size() * sizeof(T)), 0, 0);
    if (handle != nullptr) std::memcpy(*handle, records.data(), records.size() * sizeof(T));
    return handle;
}

GSErrCode GetLineTypeDef(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kDatabaseFamily, call, sizeof(API_Attr_Head), sizeof(API_LineTypeDef)))
        return APIERR_BADPARS;
    const auto* head = static_cast<const API_Attr_Head*>(call->par1);
    auto* out = static_cast<API_LineTypeDef*>(call->par2);
    *out = API_LineTypeDef{};
    if (head->typeID != API_LinetypeID) return APIERR_BADPARS;
    API_Attribute attribute = {};
    attribute.header.typeID = API_LinetypeID;
    attribute.header.index = head->index;
    const GSErrCode err = host.Database().GetAttribute(&attribute);
    if (err != NoError) return err;
    // A line type nobody described further is what its record says, without dashes or items.
    LineTypeDefinition def;
    def.kind = attribute.linetype.type;
    def.period = attribute.linetype.period;
    const auto& known = host.Records().lineTypes.byIndex;
    const auto it = known.find(head->index);
    if (it != known.end()) def = it->second;
    out->kind = def.kind;
    out->scaleDependent = def.scaleDependent ? 1 : 0;
    out->period = def.period;
    out->dashItems = HandleOf(def.dashes);
    out->lineItems = HandleOf(def.items);
    if ((!def.dashes.empty() && out->dashItems == nullptr) || (!def.items.empty() && out->lineItems == nullptr)) {
        BMKillHandle(&out->dashItems);
        BMKillHandle(&out->lineItems);
        return ErrMemoryFull;
    }
    return NoError;
}

GSErrCode DisposeLineTypeDef(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kDatabaseFamily, call, sizeof(API_LineTypeDef), 0)) return APIERR_BADPARS;
    auto* def = static_cast<API_LineTypeDef*>(call->par1);
    BMKillHandle(&def->dashItems);
    BMKillHandle(&def->lineItems);
    return NoError;
}

GSErrCode GetDrawingScale(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kDatabaseFamily, call, sizeof(double), 0)) return APIERR_BADPARS;
    *static_cast<double*>(call->par1) = host.Records().lineTypes.drawingScale;
    return NoError;
}

}  // namespace

void InstallLineTypeDefCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Database, APIDb_GetLineTypeDefID.code,
                    ProjectSelector<kDatabaseFamily, GetLineTypeDef>);
    set.AddSelector(SelectorFamily::Database, APIDb_DisposeLineTypeDefID.code,
                    ProjectSelector<kDatabaseFamily, DisposeLineTypeDef>);
    set.AddSelector(SelectorFamily::Database, APIDb_GetDrawingScaleID.code,
                    ProjectSelector<kDatabaseFamily, GetDrawingScale>);
}
