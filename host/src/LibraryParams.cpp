// The Goodies family of the host table: one library part's default parameter list at a time is opened ('OPAR'),
// copied out to the add-on ('GPAR') and closed ('CPAR'). FailCall("Goodies", <selector word>) fails one selector.
#include "StandinHost.hpp"

#include <string>

GSErrCode StandinHost::Goodies(const API_SelectorCall* call) {
    if (call == nullptr) return APIERR_BADPARS;
    GSErrCode err;
    if (Failing("Goodies", int32_t(call->selector), &err)) return err;
    switch (call->selector) {
        case APIAny_OpenParametersID.code: {
            if (!CheckRecord("Goodies", call, sizeof(API_ParamOwnerType), 0)) return APIERR_BADPARS;
            const auto* owner = static_cast<const API_ParamOwnerType*>(call->par1);
            // Placed elements' parameters are read through their memo; here only library parts' defaults.
            if (owner->guid != APINULLGuid) {
                Log("  host: 'OPAR' refused: parameters of a placed element are read through its memo");
                return APIERR_BADPARS;
            }
            if (project_.libraries.Part(owner->libInd) == nullptr) return APIERR_BADINDEX;
            if (openParams_ != 0)
                Log("  host: 'OPAR' replaces the open parameters of library part " + std::to_string(openParams_));
            openParams_ = owner->libInd;
            return NoError;
        }
        case APIAny_GetActParametersID.code: {
            if (!CheckRecord("Goodies", call, sizeof(API_GetParamsType), 0)) return APIERR_BADPARS;
            auto* out = static_cast<API_GetParamsType*>(call->par1);
            *out = API_GetParamsType{};
            if (openParams_ == 0 || project_.libraries.Part(openParams_) == nullptr) {
                Log("  host: 'GPAR' without open parameters");
                return APIERR_GENERAL;
            }
            const LibPartDef& part = *project_.libraries.Part(openParams_);
            for (const LibParamDef& p : part.params) {
                if (p.dim1 != 0 || p.numbers.empty()) continue;
                if (p.name == "A") out->a = p.numbers[0];
                if (p.name == "B") out->b = p.numbers[0];
            }
            out->params = project_.libraries.MakeParamHandle(openParams_);
            if (out->params == nullptr) return ErrMemoryFull;
            out->count = int32_t(part.params.size());
            return NoError;
        }
        case APIAny_CloseParametersID.code: {
            if (!CheckRecord("Goodies", call, 0, 0)) return APIERR_BADPARS;
            openParams_ = 0;
            return NoError;
        }
        default: return Refuse("Goodies", call->selector);
    }
}
