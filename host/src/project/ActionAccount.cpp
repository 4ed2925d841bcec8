#include "project/ActionAccount.hpp"

#include "project/ElementTypes.hpp"
#include "project/ProjectDatabase.hpp"

#include <cstring>

namespace {
std::string Counted(int32_t count, const std::string& name) {
    if (count == 1) return "1 " + name;
    // "fill" -> "fills", "section marker" -> "section markers"
    return std::to_string(count) + " " + name + (name.back() == 's' ? "es" : "s");
}

std::string ToolName(API_ElemTypeID type) { return type == API_ZombieElemID ? "arrow" : ElementTypeName(type); }
}  // namespace

ActionAccount::ActionAccount(HostCalls& host) : host_(host) {
    host_.Database().GetToolBox(&toolbox_);
    defaults_ = host_.Database().DefaultRecords();
    host_.OpenSelectionAccount();
}

ActionAccount::~ActionAccount() {
    API_ToolBoxItem now = {};
    host_.Database().GetToolBox(&now);
    if (now.typeID != toolbox_.typeID || now.variationID != toolbox_.variationID)
        host_.LogAlways("  toolbox: " + ToolName(now.typeID) + " tool chosen");
    for (const auto& [key, record] : host_.Database().DefaultRecords()) {
        const auto before = defaults_.find(key);
        if (before != defaults_.end() && std::memcmp(&before->second, &record, sizeof record) == 0) continue;
        host_.LogAlways("  defaults: " + ToolName(key.first) + " tool's defaults stored");
    }
    host_.CloseSelectionAccount();
}

std::string ActionAccount::SelectionText(const std::map<API_ElemTypeID, int32_t>& types) {
    std::string text;
    for (const auto& [type, count] : types) text += (text.empty() ? "" : ", ") + Counted(count, ElementTypeName(type));
    return text.empty() ? "nothing selected" : text;
}
