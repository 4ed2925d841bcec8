#include "elements/OldIdentifiers.hpp"

#include "elements/BaseLP.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/GuidText.hpp"

#include "APIOldIdentifiers.hpp"

#include <cmath>
#include <limits>
#include <string>

OldIdLookup OldIdToGuidText(int32_t oldId, const API_DatabaseInfo& database, QV_String& outText) {
    if (oldId == -1 || oldId == -2) {
        GuidToText(outText, APINULLGuid);
        return OldIdLookup::Found;
    }
    API_OldIdentifier id = {};
    id.oldId = oldId;
    API_DatabaseInfo db = database;
    const GSErrCode err = ACAPI_Database(APIDb_OldIdToGuidID, &id, &db);
    if (err == APIERR_BADID) return OldIdLookup::Unknown;
    if (err != NoError) return OldIdLookup::Failed;
    QV_String text;
    GuidToText(text, id.guid);
    if (text.IsEmpty()) return OldIdLookup::Failed;
    outText = text;
    return OldIdLookup::Found;
}

OldIdLookup ReadOldIdParam(BaseLP& view, const char* name, const API_DatabaseInfo& database, QV_String& outGuidText) {
    double value = 0.0;
    if (!view.GetSetDoubleByName(QV_String(name), value, LPMode_Get)) return OldIdLookup::Unknown;
    const double truncated = std::trunc(value);
    if (!std::isfinite(truncated) || truncated < double(std::numeric_limits<int32_t>::min()) ||
        truncated > double(std::numeric_limits<int32_t>::max()))
        return OldIdLookup::Unknown;
    return OldIdToGuidText(int32_t(truncated), database, outGuidText);
}

bool LeadingOldId(const QV_String& text, int32_t& oldId) {
    const std::string s = text.ToStdString();
    const size_t end = std::min(s.find('_'), s.size());
    size_t i = 0;
    const bool negative = end > 0 && s[0] == '-';
    if (negative) ++i;
    if (i == end || end - i > 10) return false;
    int64_t value = 0;
    for (; i < end; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        value = value * 10 + (s[i] - '0');
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) return false;
    oldId = int32_t(value);
    return true;
}

QV_String TextAfterFirstUnderscore(const QV_String& text) {
    const int32_t at = text.FindChar('_');
    if (at < 0) return text;
    QV_String rest;
    text.Mid(rest, uint32_t(at) + 1);
    return rest;
}
