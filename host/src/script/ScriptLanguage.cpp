#include "script/ScriptLanguage.hpp"

#include "TextFields.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>

// --- words and numbers ---------------------------------------------------------------------------------------

bool TokenizeScriptLine(const std::string& line, std::vector<ScriptToken>* tokens, std::string* error) {
    tokens->clear();
    size_t i = 0;
    const size_t n = line.size();
    while (i < n) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#') break;
        ScriptToken tok;
        if (c == '"') {
            tok.quoted = true;
            ++i;
            bool closed = false;
            while (i < n) {
                const char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d != '\\') {
                    tok.text += d;
                    continue;
                }
                if (i >= n) break;
                const char e = line[i++];
                switch (e) {
                    case 'n': tok.text += '\n'; break;
                    case 'r': tok.text += '\r'; break;
                    case 't': tok.text += '\t'; break;
                    case '\\': tok.text += '\\'; break;
                    case '"': tok.text += '"'; break;
                    default: *error = std::string("unknown escape \\") + e + " in quoted text"; return false;
                }
            }
            if (!closed) {
                *error = "quoted text is not closed";
                return false;
            }
            if (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
                *error = "a blank must follow quoted text";
                return false;
            }
        } else {
            while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
                if (line[i] == '"') {
                    *error = "a quote inside a word";
                    return false;
                }
                tok.text += line[i++];
            }
        }
        tokens->push_back(tok);
    }
    return true;
}

bool ParseScriptInt(const std::string& text, int64_t* value) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    int base = 10;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    uint64_t v = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = v * uint64_t(base) + uint64_t(d);
        if (v > 0xFFFFFFFFull) return false;
    }
    if (negative) {
        if (v > 0x80000000ull) return false;
        *value = -int64_t(v);
    } else {
        *value = int64_t(v);
    }
    return true;
}

bool ParseScriptReal(const std::string& text, double* value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    *value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(*value);
}

namespace {
// "x,y" or "x,y,z".
bool ParseScriptPoint(const std::string& word) {
    std::vector<std::string> parts(1);
    for (const char c : word) {
        if (c == ',')
            parts.emplace_back();
        else
            parts.back().push_back(c);
    }
    double v = 0.0;
    for (const std::string& p : parts)
        if (!ParseScriptReal(p, &v)) return false;
    return parts.size() == 2 || parts.size() == 3;
}

// Edits that turn one word into the other (letters added, removed or replaced).
size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}
}  // namespace

bool ParseScriptDialogRef(const std::string& text, int16_t* dialog, int16_t* tabItem, int16_t* page) {
    std::vector<int16_t> parts;
    size_t start = 0;
    for (;;) {
        const size_t slash = text.find('/', start);
        int64_t v = 0;
        if (!ParseScriptInt(text.substr(start, slash - start), &v) || v < 1 || v > 32767) return false;
        parts.push_back(int16_t(v));
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    if (parts.size() != 1 && parts.size() != 3) return false;
    *dialog = parts[0];
    *tabItem = parts.size() == 3 ? parts[1] : 0;
    *page = parts.size() == 3 ? parts[2] : 0;
    return true;
}

const std::string& ScriptArgs::Text(const std::string& name) const {
    static const std::string empty;
    const auto it = values_.find(name);
    return it != values_.end() ? it->second : empty;
}

int32_t ScriptArgs::Int(const std::string& name) const {
    const auto it = numbers_.find(name);
    return it != numbers_.end() ? int32_t(uint32_t(uint64_t(it->second))) : 0;
}

int64_t ScriptArgs::Number(const std::string& name) const {
    const auto it = numbers_.find(name);
    return it != numbers_.end() ? it->second : 0;
}

// --- patterns ------------------------------------------------------------------------------------------------

void ScriptLanguage::AddWords(const std::string& kind, const std::string& what, std::vector<std::string> shown,
                              std::function<bool(const std::string&)> accepts) {
    words_[kind] = WordList{what, std::move(shown), std::move(accepts)};
}

void ScriptLanguage::Add(const std::string& pattern, bool isCheck, ScriptHandler handler, const std::string& help) {
    Form form;
    form.pattern = pattern;
    form.isCheck = isCheck;
    form.handler = std::move(handler);
    form.help = help;
    std::istringstream in(pattern);
    std::string word;
    while (in >> word) {
        Slot slot;
        if (word.size() > 2 && word.front() == '[' && word.back() == ']') {
            slot.optional = true;
            word = word.substr(1, word.size() - 2);
        }
        if (word.size() > 2 && word.front() == '<' && word.back() == '>') {
            slot.literal = false;
            const std::string inner = word.substr(1, word.size() - 2);
            const size_t colon = inner.find(':');
            slot.text = inner.substr(0, colon);
            const std::string kind = colon == std::string::npos ? "text" : inner.substr(colon + 1);
            static const std::map<std::string, Slot::Kind> kNamedKinds = {{"int", Slot::Int},
                                                                          {"number", Slot::Number},
                                                                          {"point", Slot::Point},
                                                                          {"points", Slot::Points},
                                                                          {"text", Slot::Text},
                                                                          {"dialog", Slot::Dialog},
                                                                          {"element", Slot::Element},
                                                                          {"new-element", Slot::NewElement},
                                                                          {"element-text", Slot::ElementText}};
            const auto named = kNamedKinds.find(kind);
            if (named != kNamedKinds.end()) {
                slot.kind = named->second;
            } else if (words_.count(kind) != 0) {
                slot.kind = Slot::Words;
                slot.choices = {kind};
            } else {
                slot.kind = Slot::Choice;
                std::string choice;
                std::istringstream cs(kind);
                while (std::getline(cs, choice, '|')) slot.choices.push_back(choice);
            }
        } else {
            slot.text = word;
        }
        form.slots.push_back(slot);
    }
    forms_.push_back(std::move(form));
}

namespace {
// Matches tokens against a form; `matched` counts the leading tokens that fit.
bool MatchForm(const ScriptLanguage::Form& form, const std::vector<ScriptToken>& tokens, ScriptArgs* args,
               size_t* matched, std::string* why) {
    using Slot = ScriptLanguage::Slot;
    *matched = 0;
    for (size_t i = 0; i < form.slots.size(); ++i) {
        const Slot& slot = form.slots[i];
        if (i >= tokens.size()) {
            if (slot.optional) break;
            *why = slot.literal ? "missing '" + slot.text + "'" : "missing <" + slot.text + ">";
            return false;
        }
        const ScriptToken& tok = tokens[i];
        if (slot.literal) {
            if (tok.quoted || tok.text != slot.text) {
                *why = "expected '" + slot.text + "' instead of '" + tok.text + "'";
                return false;
            }
        } else if (slot.kind == Slot::Int) {
            int64_t v = 0;
            if (!ParseScriptInt(tok.text, &v)) {
                *why = "'" + tok.text + "' is not a number (<" + slot.text + ">: decimal or 0x hexadecimal, " +
                    "-2147483648 to 0xFFFFFFFF)";
                return false;
            }
            args->Set(slot.text, tok.text, v);
        } else if (slot.kind == Slot::Number) {
            double v = 0.0;
            if (!ParseScriptReal(tok.text, &v)) {
                *why = "'" + tok.text + "' is not a number (<" + slot.text + ">: a decimal number such as 2.5 or -300)";
                return false;
            }
            args->Set(slot.text, tok.text, 0);
        } else if (slot.kind == Slot::Point || slot.kind == Slot::Points) {
            std::istringstream words(tok.text);
            std::string word;
            size_t count = 0;
            while (words >> word) {
                ++count;
                if (slot.kind == Slot::Point && count > 1) {
                    *why = "'" + tok.text + "' holds more than one point (<" + slot.text + ">: one x,y or x,y,z)";
                    return false;
                }
                if (!ParseScriptPoint(word)) {
                    *why = "'" + word + "' is not a point (<" + slot.text + ">: x,y or x,y,z, numbers without blanks" +
                        (slot.kind == Slot::Points ? ", points separated by blanks in one quoted text)" : ")");
                    return false;
                }
            }
            if (count == 0) {
                *why = "<" + slot.text + "> holds no point";
                return false;
            }
            args->Set(slot.text, tok.text, 0);
        } else if (slot.kind == Slot::Dialog) {
            int16_t dialog = 0, tab = 0, page = 0;
            int64_t number = 0;
            // A whole number outside the dialogs' range is a dialog the names check refuses, with the nearest.
            if (!tok.quoted && !ParseScriptDialogRef(tok.text, &dialog, &tab, &page) &&
                ParseScriptInt(tok.text, &number)) {
                args->Set(slot.text, tok.text, number);
                *matched = i + 1;
                continue;
            }
            if (tok.quoted || !ParseScriptDialogRef(tok.text, &dialog, &tab, &page)) {
                *why = "'" + tok.text + "' is not a number or a tab page (<" + slot.text +
                    ">: a dialog id, or dialog/tab control/page, each 1 to 32767)";
                return false;
            }
            args->Set(slot.text, tok.text, dialog);
        } else if (slot.kind == Slot::Choice) {
            bool ok = false;
            for (const std::string& c : slot.choices) ok = ok || (!tok.quoted && c == tok.text);
            if (!ok) {
                std::string list;
                for (const std::string& c : slot.choices) list += (list.empty() ? "" : "|") + c;
                *why = "'" + tok.text + "' is not one of " + list;
                return false;
            }
            args->Set(slot.text, tok.text, 0);
        } else {
            args->Set(slot.text, tok.text, 0);
        }
        *matched = i + 1;
    }
    if (tokens.size() > form.slots.size()) {
        *why = "unexpected '" + tokens[form.slots.size()].text + "'";
        return false;
    }
    return true;
}
}  // namespace

std::string ScriptLanguage::ClosestForms(const std::vector<ScriptToken>& tokens, size_t matched) const {
    // The forms that go as far as the line did before it went wrong; when there are many, those whose next word
    // is a letter or two from the line's.
    std::vector<const Form*> reach, near;
    for (const Form& fm : forms_) {
        ScriptArgs ignored;
        size_t m = 0;
        std::string w;
        MatchForm(fm, tokens, &ignored, &m, &w);
        if (m != matched) continue;
        reach.push_back(&fm);
        if (matched < fm.slots.size() && matched < tokens.size() && fm.slots[matched].literal &&
            EditDistance(fm.slots[matched].text, tokens[matched].text) <= 2)
            near.push_back(&fm);
    }
    const size_t kMany = 6;
    const std::vector<const Form*>& shown = reach.size() <= kMany || near.empty() ? reach : near;
    if (shown.size() > kMany) {
        std::vector<std::string> next;
        for (const Form* f : shown)
            if (matched < f->slots.size() && f->slots[matched].literal &&
                std::find(next.begin(), next.end(), f->slots[matched].text) == next.end())
                next.push_back(f->slots[matched].text);
        std::string words;
        for (const std::string& w : next) words += (words.empty() ? "" : ", ") + w;
        if (!words.empty()) return "; the word after '" + tokens[matched - 1].text + "' is one of: " + words;
    }
    std::string forms;
    for (const Form* f : shown) forms += "\n    " + f->pattern;
    return std::string("; the closest form") + (shown.size() > 1 ? "s are:" : " is:") + forms;
}

namespace {
// The names of `known` nearest to `word` (fewest edits, at most three, none much further than the nearest):
// "is 'a'" or "are 'a', 'b'".
std::string NearestNames(const std::string& word, const std::vector<std::string>& known) {
    std::vector<std::pair<size_t, std::string>> ranked;
    for (const std::string& k : known) ranked.emplace_back(EditDistance(word, k), k);
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string out;
    size_t shown = 0;
    for (; shown < ranked.size() && shown < 3 && ranked[shown].first <= ranked[0].first + 1; ++shown)
        out += (shown == 0 ? "'" : ", '") + ranked[shown].second + "'";
    return (shown > 1 ? "are " : "is ") + out;
}

// The dialog numbers of `known` nearest to `id`, in ascending order: "are 32570, 32571, 32575".
std::string NearestDialogs(int64_t id, const std::set<int32_t>& known) {
    std::vector<int32_t> ranked(known.begin(), known.end());
    std::stable_sort(ranked.begin(), ranked.end(),
                     [id](int32_t a, int32_t b) { return std::llabs(a - id) < std::llabs(b - id); });
    ranked.resize(std::min<size_t>(ranked.size(), 3));
    std::sort(ranked.begin(), ranked.end());
    std::string out;
    for (int32_t n : ranked) out += (out.empty() ? "" : ", ") + std::to_string(n);
    return (ranked.size() > 1 ? "are " : "is ") + out;
}

// A dialog slot's number: one of `known` (any from 1 to 32767 while none is known); false with why.
bool CheckDialogNumber(int64_t id, const std::string& where, const std::set<int32_t>& known, std::string* why) {
    if (id >= 1 && id <= 32767 && (known.empty() || known.count(int32_t(id)) != 0)) return true;
    *why = (id >= 1 && id <= 32767 ? "the module has no dialog " + std::to_string(id)
                                   : std::to_string(id) + " is no dialog number (1 to 32767)") +
        " (" + where + ")" + (known.empty() ? "" : "; the nearest of its dialogs " + NearestDialogs(id, known));
    return false;
}

// The names in "{X}" of an element-text.
std::vector<std::string> BracedNames(const std::string& text) {
    std::vector<std::string> names;
    for (size_t open = text.find('{'); open != std::string::npos; open = text.find('{', open + 1)) {
        const size_t close = text.find('}', open);
        if (close == std::string::npos) break;
        names.push_back(text.substr(open + 1, close - open - 1));
        open = close;
    }
    return names;
}
}  // namespace

bool ScriptLanguage::CheckNames(const Form& form, const ScriptArgs& args, const Known& known, std::string* why) const {
    const std::set<std::string>& named = known.names;
    for (const Slot& slot : form.slots) {
        if (slot.literal || !args.Has(slot.text)) continue;
        const std::string& word = args.Text(slot.text);
        const std::string where = "<" + slot.text + "> of '" + form.pattern + "'";
        if (slot.text == "dialog" && (slot.kind == Slot::Dialog || slot.kind == Slot::Int)) {
            if (!CheckDialogNumber(args.Number(slot.text), where, known.dialogs, why)) return false;
            continue;
        }
        if (slot.kind == Slot::Words) {
            const WordList& list = words_.at(slot.choices[0]);
            if (std::find(list.shown.begin(), list.shown.end(), word) != list.shown.end() ||
                (list.accepts && list.accepts(word)))
                continue;
            *why =
                "'" + word + "' is no " + list.what + " (" + where + "); the closest " + NearestNames(word, list.shown);
            return false;
        }
        std::vector<std::string> names;
        if (slot.kind == Slot::Element) names = {word};
        if (slot.kind == Slot::ElementText) names = BracedNames(word);
        for (const std::string& name : names) {
            if (named.count(name) != 0) continue;
            *why = "no line before names an element '" + name + "' (" + where + ")" +
                (named.empty()
                     ? "; none names any element"
                     : "; the closest " + NearestNames(name, std::vector<std::string>(named.begin(), named.end())));
            return false;
        }
    }
    return true;
}

bool ScriptLanguage::Parse(const std::string& text, std::vector<ScriptCommand>* commands,
                           std::vector<std::string>* errors, const std::set<std::string>& namedBefore,
                           const std::set<int32_t>& dialogs) const {
    commands->clear();
    Known known{namedBefore, dialogs};
    std::set<std::string>& named = known.names;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        std::vector<ScriptToken> tokens;
        std::string why;
        if (!TokenizeScriptLine(line, &tokens, &why)) {
            errors->push_back("line " + std::to_string(lineNo) + ": " + why);
            continue;
        }
        if (tokens.empty()) continue;
        size_t bestMatched = 0;
        std::string bestWhy, nameWhy;
        bool bestLiteral = false;
        bool done = false;
        for (size_t s = 0; s < forms_.size() && !done; ++s) {
            // A form whose first word is another fails at it and tells nothing (it matched nothing): passed over before
            // its texts are made.
            const std::vector<Slot>& slots = forms_[s].slots;
            if (!slots.empty() && slots[0].literal && (tokens[0].quoted || tokens[0].text != slots[0].text)) continue;
            ScriptArgs args;
            size_t matched = 0;
            std::string w;
            if (MatchForm(forms_[s], tokens, &args, &matched, &w)) {
                // A line that fits a form but names what is not there may still fit a later form.
                if (!CheckNames(forms_[s], args, known, &w)) {
                    if (nameWhy.empty()) nameWhy = w;
                    continue;
                }
                for (const Slot& slot : forms_[s].slots)
                    if (!slot.literal && slot.kind == Slot::NewElement && args.Has(slot.text))
                        named.insert(args.Text(slot.text));
                ScriptCommand cmd;
                cmd.line = lineNo;
                cmd.source = line;
                while (!cmd.source.empty() && (cmd.source.back() == '\r' || cmd.source.back() == ' '))
                    cmd.source.pop_back();
                cmd.form = s;
                cmd.args = args;
                commands->push_back(cmd);
                done = true;
            } else {
                // A bad argument tells more than a word that belongs to another form.
                const bool literal = matched < forms_[s].slots.size() && forms_[s].slots[matched].literal;
                if (matched > bestMatched || (matched == bestMatched && bestLiteral && !literal)) {
                    bestMatched = matched;
                    bestWhy = w;
                    bestLiteral = literal;
                }
            }
        }
        if (done) continue;
        if (!nameWhy.empty()) {
            errors->push_back("line " + std::to_string(lineNo) + ": " + nameWhy);
            continue;
        }
        if (bestMatched > 0 && bestLiteral && bestMatched < tokens.size()) {
            std::string before;
            for (size_t i = 0; i < bestMatched; ++i) before += (i == 0 ? "" : " ") + tokens[i].text;
            bestWhy = "'" + tokens[bestMatched].text + "' does not follow '" + before + "'";
        }
        if (bestMatched == 0) {
            // A mistyped command word: the words a letter or two away.
            std::string near;
            for (const std::string& word : tokens[0].quoted ? std::vector<std::string>() : CommandWords())
                if (EditDistance(word, tokens[0].text) <= std::max<size_t>(1, std::min<size_t>(2, word.size() / 3)))
                    near += (near.empty() ? "" : ", ") + ("'" + word + "'");
            errors->push_back("line " + std::to_string(lineNo) + ": unknown command '" + tokens[0].text + "'" +
                              (near.empty() ? "" : "; did you mean " + near + "?"));
        } else {
            errors->push_back("line " + std::to_string(lineNo) + ": " + bestWhy + ClosestForms(tokens, bestMatched));
        }
    }
    return errors->empty();
}

std::string ScriptLanguage::Usage() const {
    std::string out;
    for (const Form& s : forms_) out += "  " + s.pattern + (s.help.empty() ? "" : "\n      " + s.help) + "\n";
    return out;
}

std::string ScriptLanguage::WordsUsage() const {
    std::string out;
    for (const auto& [kind, list] : words_) {
        std::string line = "<...:" + kind + ">: one of the " + list.what + " words";
        for (size_t i = 0; i < list.shown.size(); ++i) {
            const std::string word =
                " " + WrittenScriptToken({list.shown[i], true}) + (i + 1 < list.shown.size() ? "," : "");
            if (line.size() + word.size() > 110) {
                out += line + "\n";
                line.clear();
            }
            line += word;
        }
        out += line + "\n";
    }
    return out;
}

std::vector<std::string> ScriptLanguage::CommandWords() const {
    std::vector<std::string> words;
    for (const Form& f : forms_)
        if (!f.slots.empty() && f.slots[0].literal &&
            std::find(words.begin(), words.end(), f.slots[0].text) == words.end())
            words.push_back(f.slots[0].text);
    return words;
}

std::string WrittenScriptToken(const ScriptToken& token) {
    if (!token.quoted) return token.text;
    return QuotedText(token.text);
}
