#include "script/CommandSupport.hpp"

#include "StandinHost.hpp"
#include "TextFields.hpp"
#include "project/ElementTypes.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

#include <filesystem>
#include <cmath>
#include <cstdlib>
#include <sstream>

std::string Quote(const std::string& s) { return "\"" + s + "\""; }

bool Compare(const std::string& what, int64_t found, int64_t expected, std::string* message) {
    *message = what + " " + std::to_string(found) + (found == expected ? "" : ", expected " + std::to_string(expected));
    return found == expected;
}

bool CompareText(const std::string& what, const std::string& found, const std::string& expected, std::string* message) {
    *message = what + " " + Quote(found) + (found == expected ? "" : ", expected " + Quote(expected));
    return found == expected;
}

namespace {
// The text's lines, each with its line end ("\r\n" stays visible when the ends differ).
std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        const size_t next = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, next - start));
        start = next;
    }
    return lines;
}

// A line as a script writes it, cut after 200 bytes.
std::string ShownLine(const std::string& line) {
    return line.size() <= 200 ? QuotedText(line) : QuotedText(line.substr(0, 200)) + "...";
}
}  // namespace

bool CompareLines(const std::string& what, const std::string& found, const std::string& expected,
                  std::string* message) {
    const std::vector<std::string> has = LinesOf(found), wanted = LinesOf(expected);
    size_t i = 0;
    while (i < has.size() && i < wanted.size() && has[i] == wanted[i]) ++i;
    if (i == has.size() && i == wanted.size()) {
        *message = what + " holds the text expected (" + std::to_string(has.size()) + " lines)";
        return true;
    }
    const std::string line = what + " line " + std::to_string(i + 1) + ": ";
    if (i == has.size())
        *message = line + "expected " + ShownLine(wanted[i]) + ", the file ends after " + std::to_string(i) + " lines";
    else if (i == wanted.size())
        *message = line + ShownLine(has[i]) + ", the text expected ends after " + std::to_string(i) + " lines";
    else
        *message = line + "expected " + ShownLine(wanted[i]) + ", found " + ShownLine(has[i]);
    return false;
}

std::string Thousands(double value) {
    std::ostringstream s;
    s.setf(std::ios::fixed);
    s.precision(0);
    s << std::fabs(value);
    std::string digits = s.str();
    for (int i = int(digits.size()) - 3; i > 0; i -= 3) digits.insert(size_t(i), ",");
    return (value < 0 && digits != "0" ? "-" : "") + digits;
}

bool ParseScriptNumber(const std::string& text, double* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    *value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(*value);
}

bool ScriptNumber(const std::string& text, double* value, std::string* message) {
    if (ParseScriptNumber(text, value)) return true;
    *message = "'" + text + "' is not a number";
    return false;
}

bool ScriptNumbers(const ScriptArgs& args, const std::vector<std::string>& names, std::vector<double>* out,
                   std::string* message) {
    out->clear();
    for (const std::string& n : names) {
        double v = 0.0;
        if (!ScriptNumber(args.Text(n), &v, message)) return false;
        out->push_back(v);
    }
    return true;
}

std::vector<std::string> ElementTypeWords() {
    std::vector<std::string> words;
    for (API_ElemTypeID t = 1; t <= API_LastElemTypeID; ++t)
        if (ElementTypeName(t).rfind("type ", 0) != 0) words.push_back(ElementTypeName(t));
    return words;
}

bool ElementTypeIs(API_ElemTypeID type, const std::string& word) {
    return ElementTypeName(type) == word || std::to_string(type) == word;
}

bool IsElementTypeWord(const std::string& word) {
    for (API_ElemTypeID t = 1; t <= API_LastElemTypeID; ++t)
        if (ElementTypeIs(t, word)) return true;
    return false;
}

ProjectDatabase& Db(ScriptContext& run) { return run.Host().Database(); }

bool Named(ScriptContext& run, const std::string& name, API_Guid* guid, std::string* message) {
    if (Db(run).FindByName(name, guid)) return true;
    const std::string removedBy = run.RemovedBy(name);
    *message = "no element is named " + name + (removedBy.empty() ? "" : ": " + removedBy + " removed it");
    return false;
}

std::string HostPath(ScriptContext& run, const std::string& path) {
    const std::string mark = "@module";
    const std::string user = "@user";
    // Made absolute, so that a folder given relative (`--user-folder uf3`) is not then taken beside the script.
    const auto inside = [&path](const std::string& folder, size_t skip) {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::absolute(folder, ec);
        std::string text = ec ? folder : base.lexically_normal().string();
        while (text.size() > 1 && text.back() == '/') text.pop_back();
        return text + path.substr(skip);
    };
    if (path.compare(0, user.size(), user) == 0) return inside(run.Host().Settings().userFolder, user.size());
    if (path.compare(0, mark.size(), mark) != 0) return path;
    return inside(run.Host().Settings().moduleDir, mark.size());
}
