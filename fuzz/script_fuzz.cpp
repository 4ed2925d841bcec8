// The stand-in host's script parser on any text: parsed, or refused with errors that each name a line of it; a
// parsed script written back word by word parses to the same commands, and written again is the same text
// (read-write-read is a fixed point).
#include "FuzzSupport.hpp"

#include "script/ScriptLanguage.hpp"
#include "script/StandardLanguage.hpp"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

bool NamesALine(const std::string& error, size_t lines) {
    if (error.compare(0, 5, "line ") != 0) return false;
    size_t i = 5, n = 0;
    while (i < error.size() && i < 25 && std::isdigit(static_cast<unsigned char>(error[i]))) n = n * 10 + size_t(error[i++] - '0');
    return i > 5 && error.compare(i, 2, ": ") == 0 && n >= 1 && n <= lines;
}


std::string WriteBack(const std::vector<ScriptCommand>& commands) {
    std::string out;
    for (const ScriptCommand& c : commands) {
        std::vector<ScriptToken> tokens;
        std::string why;
        FUZZ_CHECK(TokenizeScriptLine(c.source, &tokens, &why), "a parsed command's line splits: " + why);
        for (size_t t = 0; t < tokens.size(); ++t) out += (t ? " " : "") + WrittenScriptToken(tokens[t]);
        out += "\n";
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::BeginInput();
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ScriptLanguage& language = StandardScriptLanguage();
    std::vector<ScriptCommand> commands;
    std::vector<std::string> errors;
    const bool ok = language.Parse(text, &commands, &errors);
    FUZZ_CHECK(ok == errors.empty(), "a script is refused exactly when it has errors");
    const size_t lines = size_t(std::count(text.begin(), text.end(), '\n')) + 1;
    for (const std::string& e : errors) FUZZ_CHECK(NamesALine(e, lines), "an error names a line: " + e);
    if (!ok) return 0;
    int previous = 0;
    for (const ScriptCommand& c : commands) {
        FUZZ_CHECK(c.line > previous && size_t(c.line) <= lines, "commands keep their lines in order");
        previous = c.line;
    }
    const std::string rewritten = WriteBack(commands);
    std::vector<ScriptCommand> again;
    std::vector<std::string> againErrors;
    FUZZ_CHECK(language.Parse(rewritten, &again, &againErrors), "what was written back parses");
    FUZZ_CHECK(again.size() == commands.size(), "written back, the same number of commands");
    for (size_t i = 0; i < again.size(); ++i) FUZZ_CHECK(again[i].form == commands[i].form, "the same commands");
    FUZZ_CHECK(WriteBack(again) == rewritten, "read-write-read is a fixed point");
    return 0;
}
