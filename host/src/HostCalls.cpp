#include "HostCalls.hpp"

#include "LogText.hpp"

#include <algorithm>
#include <cstdio>
#include <iostream>

namespace {
HostCalls* g_current = nullptr;
}  // namespace

HostCalls::HostCalls(const HostSettings& settings, std::ostream* logStream)
    : settings_(settings), logStream_(logStream) {
    if (g_current != nullptr) std::cerr << "standin-host: a second host replaces the first\n";
    g_current = this;
}

HostCalls::~HostCalls() {
    if (g_current == this) g_current = nullptr;
}

HostCalls* HostCalls::Current() { return g_current; }

void HostCalls::Log(const std::string& line) {
    if (logStream_ != nullptr && logLevel_ != LogLevel::Quiet) *logStream_ << LogText(line) << '\n';
}

void HostCalls::LogDetail(const std::string& line) {
    if (logStream_ != nullptr && logLevel_ == LogLevel::Verbose) *logStream_ << LogText(line) << '\n';
}

void HostCalls::LogAlways(const std::string& line) {
    if (logStream_ != nullptr) *logStream_ << LogText(line) << '\n';
}

void HostCalls::OpenSelectionAccount() {
    if (selectionAccounts_++ == 0) selectionReads_.clear();
}

void HostCalls::NoteSelectionRead(const std::string& what) {
    if (selectionAccounts_ == 0) return;
    // Told as it is read, before the dialogs it leads to; a tool reads the selection once per element type.
    if (std::find(selectionReads_.begin(), selectionReads_.end(), what) != selectionReads_.end()) return;
    selectionReads_.push_back(what);
    Log("  selection: " + what + (what == "nothing selected" ? "" : " read"));
}

void HostCalls::CloseSelectionAccount() {
    if (selectionAccounts_ > 0 && --selectionAccounts_ == 0) selectionReads_.clear();
}

void HostCalls::CountEvent(const std::string& what) {
    for (auto& [name, count] : eventCounts_)
        if (name == what) {
            ++count;
            return;
        }
    eventCounts_.emplace_back(what, 1);
}

std::vector<std::pair<std::string, int64_t>> HostCalls::TakeEventCounts() {
    std::vector<std::pair<std::string, int64_t>> counts;
    counts.swap(eventCounts_);
    return counts;
}

void HostCalls::ReportHostError(const std::string& text) {
    errors_.push_back(text);
    LogAlways("  host error: " + text);
}

void HostCalls::ReceiveModuleReport(const std::string& line) {
    reports_.push_back(line);
    // What the module reports of what an action did (an import's counts, an outline refused and why) is kept at
    // every level; only its notes of the calls it ran are left out of a quiet log.
    if (line.rfind("call: ", 0) == 0)
        Log("  module: " + line);
    else
        LogAlways("  module: " + line);
}

bool HostCalls::InjectedFailure(const char* function, int32_t key, GSErrCode* error, int64_t selector) {
    if (calledNames_ != nullptr) ++(*calledNames_)[function];
    if (callsExceeded_ != nullptr && callsLeft_-- == 0) callsExceeded_();
    if (callHeard_ != nullptr) callHeard_(function);
    // Most runs set no failure: no key is made for them.
    if (failures_.empty()) return false;
    auto it = failures_.find({function, key});
    if (it == failures_.end()) it = failures_.find({function, -1});
    if (it == failures_.end()) return false;
    const auto pass = passes_.find(it->first);
    if (pass != passes_.end() && pass->second > 0) {
        --pass->second;
        return false;
    }
    const auto answers = answers_.find(it->first);
    if (answers != answers_.end()) {
        if (answers->second <= 0) return false;
        --answers->second;
    }
    *error = it->second;
    refusals_.push_back({function, *error});
    if (failureHeard_ != nullptr) failureHeard_(function, selector);
    Log(std::string("  host: ") + function + (key >= 0 ? " " + std::to_string(key) : std::string()) +
        " fails on purpose with " + ErrorText(*error));
    return true;
}

GSErrCode HostCalls::RefuseSelector(const char* family, uint32_t selector) {
    const std::string text = std::string(family) + " " + SelectorText(selector);
    refusedSelectors_.push_back(text);
    Log("  host: refused unknown selector " + text);
    return APIERR_BADPARS;
}

SelectorHandler HostCalls::FindSelector(SelectorFamily family, uint32_t selector) const {
    const auto it = selectors_.find({family, selector});
    return it != selectors_.end() ? it->second : nullptr;
}

bool HostCalls::CheckSelectorRecord(const char* family, const API_SelectorCall* call, uint32_t par1Size,
                                    uint32_t par2Size) {
    const bool ok = call->par1Size == par1Size && (par1Size == 0 || call->par1 != nullptr) &&
        call->par2Size == par2Size && (par2Size == 0 || call->par2 != nullptr);
    if (!ok)
        ReportHostError(std::string(family) + " " + SelectorText(call->selector) + ": records of " +
                        std::to_string(call->par1Size) + "/" + std::to_string(call->par2Size) + " bytes, expected " +
                        std::to_string(par1Size) + "/" + std::to_string(par2Size));
    return ok;
}

std::string SelectorText(uint32_t selector) {
    std::string s = "'";
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = char((selector >> shift) & 0xFF);
        s += (c >= 32 && c < 127) ? c : '?';
    }
    return s + "'";
}

std::string ErrorText(GSErrCode err) {
    if (err >= 0) return std::to_string(err);
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", uint32_t(err));
    return buf;
}
