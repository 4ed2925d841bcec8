#include "ui/SettingsDialogCalls.hpp"

#include "APISettingsDialogs.hpp"
#include "HostCalls.hpp"
#include "library/LibraryStore.hpp"
#include "library/LibraryWords.hpp"
#include "project/ElementMemo.hpp"
#include "project/ProjectDatabase.hpp"
#include "ui/SettingsDialogAnswers.hpp"

#include "UniString.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

namespace {

bool HasLibPart(API_ElemTypeID type) {
    return type == API_WindowID || type == API_DoorID || type == API_ObjectID || type == API_LampID ||
        type == API_ZoneID;
}

// "{main}" of a normalised "{main}-{revision}".
std::string MainGuid(const std::string& unID) {
    const size_t close = unID.find('}');
    return close == std::string::npos ? unID : unID.substr(0, close + 1);
}

// Whether part `index` descends from `filter` (a normalised unique id), through its parents in the libraries.
bool DescendsFrom(const LibraryStore& store, int32_t index, const std::string& filter) {
    const std::string wanted = MainGuid(filter);
    std::set<std::string> seen;
    std::string parent = store.Part(index)->parent;
    while (!parent.empty() && seen.insert(parent).second) {
        if (MainGuid(parent) == wanted) return true;
        const int32_t up = store.FindByUnID(parent);
        if (up < 1) return false;
        parent = store.Part(up)->parent;
    }
    return false;
}

bool SetValue(StoredParam& p, const std::string& value, std::string* why) {
    if (p.IsArray()) {
        *why = std::string("parameter ") + p.record.name + " is an array";
        return false;
    }
    if (p.record.typeID == APIParT_Text) {
        std::u16string text;
        if (!Utf8ToUtf16(value, &text) || text.size() > 255) {
            *why = "the text for " + std::string(p.record.name) + " is no UTF-8 or longer than 255 units";
            return false;
        }
        std::memset(p.record.value.uStr, 0, sizeof p.record.value.uStr);
        std::memcpy(p.record.value.uStr, text.data(), text.size() * sizeof(char16_t));
        return true;
    }
    char* end = nullptr;
    errno = 0;
    const double number = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || errno != 0 || !std::isfinite(number)) {
        *why = "\"" + value + "\" is no number for " + p.record.name;
        return false;
    }
    p.record.value.real = number;
    return true;
}

double SizeValue(const std::vector<StoredParam>& params, const char* name) {
    for (const StoredParam& p : params)
        if (std::strncmp(p.record.name, name, sizeof p.record.name) == 0 && !p.IsArray() &&
            p.record.typeID != APIParT_Text)
            return p.record.value.real;
    return 0.0;
}

// Applies an OK answer to the tool's defaults; the new defaults come back in `element` and `params`.
bool ApplyAnswer(HostCalls& host, const API_ToolBoxItem& tool, const SettingsDialogAnswer& answer,
                 const std::string& filter, API_Element* element, std::vector<StoredParam>* params, std::string* why) {
    ProjectDatabase& db = host.Database();
    std::memset(static_cast<void*>(element), 0, sizeof *element);
    element->header.typeID = tool.typeID;
    element->header.variationID = tool.variationID;
    API_ElementMemo memo = {};
    if (db.GetDefaults(element, &memo) != NoError) {
        *why = "the tool " + std::to_string(tool.typeID) + "/" + std::to_string(tool.variationID) + " is unknown";
        return false;
    }
    StoredMemo stored = ReadApiMemo(memo, APIMemoMask_All);
    DisposeApiMemo(&memo);
    *params = stored.params ? *stored.params : std::vector<StoredParam>();

    const LibraryStore& store = host.Libraries();
    if (!answer.libPart.empty()) {
        if (!HasLibPart(tool.typeID)) {
            *why = "the tool " + std::to_string(tool.typeID) + " takes no library part";
            return false;
        }
        const int32_t index = store.FindByName(answer.libPart, 0);
        if (index < 1) {
            *why = "no library part " + answer.libPart;
            return false;
        }
        if (!filter.empty() && !DescendsFrom(store, index, filter)) {
            *why = answer.libPart + " is not of the subtype " + filter;
            return false;
        }
        element->object.libInd = index;
        params->clear();
        if (db.libPartDefaults) db.libPartDefaults(index, params);
    }
    for (const auto& [name, value] : answer.values) {
        StoredParam* found = nullptr;
        for (StoredParam& p : *params)
            if (name == std::string(p.record.name, strnlen(p.record.name, sizeof p.record.name))) found = &p;
        if (found == nullptr) {
            *why = "no parameter " + name;
            return false;
        }
        if (!SetValue(*found, value, why)) return false;
    }
    if (tool.typeID == API_ObjectID || tool.typeID == API_LampID) {
        element->object.xRatio = SizeValue(*params, "A");
        element->object.yRatio = SizeValue(*params, "B");
    }
    stored.params = *params;
    API_ElementMemo next = {};
    if (WriteApiMemo(stored, APIMemoMask_AddPars, &next) != NoError) {
        *why = "out of memory";
        return false;
    }
    const GSErrCode err = db.ChangeDefaults(*element, &next, nullptr);
    DisposeApiMemo(&next);
    if (err != NoError) {
        *why = "the defaults were refused: " + db.LastRefusal();
        return false;
    }
    return true;
}

std::string ToolText(const API_ToolBoxItem& tool) {
    return std::to_string(tool.typeID) + "/" + std::to_string(tool.variationID);
}

// One run of either dialog: the answer applied, logged and noted.
GSErrCode RunDialog(HostCalls& host, SettingsDialogAnswers::Dialog dialog, const API_ToolBoxItem& tool,
                    const std::string& filter, API_Element* element, std::vector<StoredParam>* params) {
    SettingsDialogAnswers& answers = host.SettingsDialogs();
    SettingsDialogAnswer answer;
    const bool queued = answers.Next(dialog, &answer);
    SettingsDialogAnswers::Shown shown;
    shown.dialog = dialog;
    shown.tool = tool;
    shown.filter = filter;
    std::string why;
    if (queued && !answer.ok) {
        shown.answer = "cancel";
        shown.result = APIERR_CANCEL;
    } else if (!ApplyAnswer(host, tool, answer, filter, element, params, &why)) {
        host.ReportHostError(std::string(dialog == SettingsDialogAnswers::ToolSettings ? "'SETD'" : "'OBJS'") + ": " +
                             why);
        shown.answer = why;
        shown.result = APIERR_CANCEL;
    } else {
        shown.answer = answer.libPart.empty() ? "OK" : "OK " + answer.libPart;
    }
    answers.Note(shown);
    // A dialog the user sees: in the log at every level, as the module's own dialogs are.
    host.LogAlways(std::string("  host: ") +
                   (dialog == SettingsDialogAnswers::ToolSettings ? "settings dialog of tool "
                                                                  : "object settings dialog of tool ") +
                   ToolText(tool) + (filter.empty() ? "" : " (subtype " + filter + ")") + " -> " + shown.answer +
                   (queued ? "" : ", nothing queued"));
    return shown.result;
}

GSErrCode ToolSettingsDialog(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Interface", call, sizeof(API_ToolBoxItem), 0)) return APIERR_BADPARS;
    API_Element element;
    std::vector<StoredParam> params;
    return RunDialog(host, SettingsDialogAnswers::ToolSettings, *static_cast<const API_ToolBoxItem*>(call->par1), "",
                     &element, &params);
}

GSErrCode ObjectSettingsDialog(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Interface", call, sizeof(API_ObjectSettingsPars), 0)) return APIERR_BADPARS;
    auto* record = static_cast<API_ObjectSettingsPars*>(call->par1);
    record->params = nullptr;
    record->paramCount = 0;
    std::string filter;
    const size_t length = strnlen(record->subtypeID, sizeof record->subtypeID);
    if (length > 0 && !ParseLibPartUnID(std::string(record->subtypeID, length), &filter)) {
        host.Log("  host: 'OBJS' refused: the subtype filter is no unique id");
        return APIERR_BADPARS;
    }
    API_Element element;
    std::vector<StoredParam> params;
    const GSErrCode err =
        RunDialog(host, SettingsDialogAnswers::ObjectSettings, record->tool, filter, &element, &params);
    if (err != NoError) return err;
    API_AddParType** handle = MakeParamHandle(params);
    if (handle == nullptr) return APIERR_MEMFULL;
    record->element = element;
    record->params = reinterpret_cast<GSHandle>(handle);
    record->paramCount = int32_t(params.size());
    return NoError;
}

GSErrCode CompareUnIds(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Goodies", call, sizeof(API_LibPartUnIDText), sizeof(API_LibPartUnIDText)))
        return APIERR_BADPARS;
    const auto* a = static_cast<const API_LibPartUnIDText*>(call->par1);
    const auto* b = static_cast<const API_LibPartUnIDText*>(call->par2);
    std::string first, second;
    if (!ParseLibPartUnID(std::string(a->text, strnlen(a->text, sizeof a->text)), &first) ||
        !ParseLibPartUnID(std::string(b->text, strnlen(b->text, sizeof b->text)), &second))
        return APIERR_BADPARS;
    if (first == second) return APIERR_COMPEQUAL;
    return MainGuid(first) == MainGuid(second) ? NoError : APIERR_GENERAL;
}

}  // namespace

void InstallSettingsDialogCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Interface, APIIo_SettingsDialogID.code, ToolSettingsDialog);
    set.AddSelector(SelectorFamily::Interface, APIIo_ObjectSettingsID.code, ObjectSettingsDialog);
    set.AddSelector(SelectorFamily::Goodies, APIAny_CompareLibPartUnIdsID.code, CompareUnIds);
}
