// Resource modules loaded from text files: <folder>/<TYPE>/<id>.txt (see resources/README.md).
// A bad line is reported and skipped; a bad file name or an oversized file is reported and the file skipped.
#include "Resources.hpp"
#include "ResourceDriver.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <iostream>
#include <map>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

struct Resource {
    std::map<int32_t, GS::UniString> strings;  // STRS, MENU
    RSDialogLayout dialog;                     // DLOG
    GS::UniString description;                 // ICON, PICT
};

struct Module {
    std::string folder;
    std::map<std::pair<GSResType, int32_t>, Resource> resources;
};

std::map<GSResModule, Module>& Modules() {
    static std::map<GSResModule, Module> modules;
    return modules;
}

std::vector<std::string>& ErrorList() {
    static std::vector<std::string> errors;
    return errors;
}

void Report(const std::string& file, int line, const std::string& problem) {
    std::string text = file;
    if (line > 0) text += ":" + std::to_string(line);
    text += ": " + problem;
    std::cerr << "resources: " << text << '\n';
    ErrorList().push_back(std::move(text));
}

const Resource* Find(GSResType type, int32_t resId, GSResModule module) {
    const auto m = Modules().find(module);
    if (m == Modules().end()) return nullptr;
    const auto r = m->second.resources.find({type, resId});
    return r == m->second.resources.end() ? nullptr : &r->second;
}

bool IsStringType(GSResType type) { return type == RSType_STRS || type == RSType_MENU; }

// Strict decimal integer: optional '-', 1 to 9 digits.
bool ParseInt(const std::string& text, int32_t* value) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && text[i] == '-') negative = true, ++i;
    if (i == text.size() || text.size() - i > 9) return false;
    int32_t result = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        result = result * 10 + (text[i] - '0');
    }
    *value = negative ? -result : result;
    return true;
}

// Undoes the escapes \n, \t and \\ and decodes UTF-8. False with `problem` set on a bad text.
bool DecodeText(const std::string& raw, GS::UniString* out, std::string* problem) {
    std::string bytes;
    bytes.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            bytes.push_back(raw[i]);
            continue;
        }
        if (i + 1 == raw.size()) {
            *problem = "text ends inside an escape (a lone \"\\\" at the end)";
            return false;
        }
        const char c = raw[++i];
        if (c == 'n')
            bytes.push_back('\n');
        else if (c == 't')
            bytes.push_back('\t');
        else if (c == '\\')
            bytes.push_back('\\');
        else {
            *problem = std::string("unknown escape \"\\") + c + "\"";
            return false;
        }
    }
    if (!GS::UniString::DecodeUtf8(bytes.data(), static_cast<uint32_t>(bytes.size()), out)) {
        *problem = "text is not valid UTF-8";
        return false;
    }
    return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

const char* OtherWhiteSpaceName(char c) {
    switch (c) {
        case '\v': return "vertical tab";
        case '\f': return "form feed";
        case '\r': return "carriage return";
        default: return nullptr;
    }
}

// Splits a dialog line into its first `count` words (all of them for npos) and the text after them. Blanks
// (spaces and tabs) alone part words, and a text starts after the one blank that ends the last word: the one
// rule for both, so a word never swallows a text. Other white space among the words would leave the line
// meaning something else to every reader: false, with `problem` set.
bool SplitDialogLine(const std::string& line, size_t count, std::vector<std::string>* words, std::string* text,
                     std::string* problem) {
    words->clear();
    text->clear();
    size_t pos = 0;
    while (words->size() < count) {
        while (pos < line.size() && IsBlank(line[pos])) ++pos;
        if (pos == line.size()) return true;
        const size_t start = pos;
        while (pos < line.size() && !IsBlank(line[pos])) {
            if (const char* name = OtherWhiteSpaceName(line[pos])) {
                *problem = std::string("a ") + name + " stands among the words (only blanks and tabs part them)";
                return false;
            }
            ++pos;
        }
        words->push_back(line.substr(start, pos - start));
    }
    if (pos < line.size()) *text = line.substr(pos + 1);
    return true;
}

struct Line {
    int number;
    std::string text;
};

// Reads the file into its content lines (comments and blank lines dropped). False when it must be skipped.
bool ReadLines(const std::string& path, std::vector<Line>* lines) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        Report(path, 0, "cannot be read");
        return false;
    }
    if (static_cast<uint64_t>(st.st_size) > ResourceDriver::MaxResourceFileSize) {
        Report(path, 0,
               "file of " + std::to_string(st.st_size) + " bytes is larger than the limit of " +
                   std::to_string(ResourceDriver::MaxResourceFileSize) + "; skipped");
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Report(path, 0, "cannot be read");
        return false;
    }
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (content.compare(0, 3, "\xEF\xBB\xBF") == 0) content.erase(0, 3);
    int number = 0;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string text = content.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.find('\0') != std::string::npos) {
            Report(path, number, "line holds a NUL byte; skipped");
            continue;
        }
        const size_t first = text.find_first_not_of(" \t");
        if (first == std::string::npos || text[first] == '#') continue;
        lines->push_back(Line{number, std::move(text)});
    }
    return true;
}

void ParseStringTable(const std::string& path, const std::vector<Line>& lines, Resource* res) {
    for (const Line& line : lines) {
        const size_t eq = line.text.find('=');
        if (eq == std::string::npos) {
            Report(path, line.number, "no \"=\" after the index (truncated line?); skipped");
            continue;
        }
        std::string indexText = line.text.substr(0, eq);
        while (!indexText.empty() && (indexText.back() == ' ' || indexText.back() == '\t')) indexText.pop_back();
        while (!indexText.empty() && (indexText.front() == ' ' || indexText.front() == '\t')) indexText.erase(0, 1);
        int32_t index = 0;
        if (!ParseInt(indexText, &index)) {
            Report(path, line.number, "index \"" + indexText + "\" is not a number; skipped");
            continue;
        }
        if (index < 1 || index > ResourceDriver::MaxStringIndex) {
            Report(path, line.number,
                   "index " + indexText + " outside 1.." + std::to_string(ResourceDriver::MaxStringIndex) +
                       "; skipped");
            continue;
        }
        GS::UniString text;
        std::string problem;
        if (!DecodeText(line.text.substr(eq + 1), &text, &problem)) {
            Report(path, line.number, problem + "; skipped");
            continue;
        }
        if (!res->strings.emplace(index, std::move(text)).second)
            Report(path, line.number, "index " + indexText + " given twice; the first one is kept");
    }
}

const std::pair<const char*, RSDialogItemKind> kDialogItemKinds[] = {{"button", RSDialogItemKind::Button},
                                                                     {"static", RSDialogItemKind::Static},
                                                                     {"edit", RSDialogItemKind::Edit},
                                                                     {"intedit", RSDialogItemKind::IntEdit},
                                                                     {"realedit", RSDialogItemKind::RealEdit},
                                                                     {"list", RSDialogItemKind::List},
                                                                     {"popup", RSDialogItemKind::PopUp},
                                                                     {"check", RSDialogItemKind::Check},
                                                                     {"radio", RSDialogItemKind::Radio},
                                                                     {"user", RSDialogItemKind::User},
                                                                     {"icon", RSDialogItemKind::Icon},
                                                                     {"picture", RSDialogItemKind::Picture},
                                                                     {"separator", RSDialogItemKind::Separator},
                                                                     {"lengthedit", RSDialogItemKind::LengthEdit},
                                                                     {"angleedit", RSDialogItemKind::AngleEdit},
                                                                     {"slider", RSDialogItemKind::Slider},
                                                                     {"usercontrol", RSDialogItemKind::UserControl},
                                                                     {"tab", RSDialogItemKind::TabControl},
                                                                     {"groupbox", RSDialogItemKind::GroupBox},
                                                                     {"richedit", RSDialogItemKind::RichEdit}};

bool KindFromName(const std::string& name, RSDialogItemKind* kind) {
    for (const auto& k : kDialogItemKinds)
        if (name == k.first) {
            *kind = k.second;
            return true;
        }
    return false;
}

constexpr int32_t MaxDialogExtent = 10000;
constexpr int32_t MaxTextLimit = 65535;
constexpr int32_t MaxTabPages = 99;

// Strict real number: optional sign, digits with an optional fraction, an optional exponent; finite.
bool ParseReal(const std::string& text, double* value) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
        size_t exponent = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++exponent;
        if (exponent == 0) return false;
    }
    if (i != text.size()) return false;
    const double v = std::strtod(text.c_str(), nullptr);
    if (!std::isfinite(v)) return false;
    *value = v;
    return true;
}

// An attribute line (range, limit, group) waits for the end of its layout or page, since items may follow it.
struct PendingAttribute {
    int line = 0;
    std::string keyword;
    int16_t item = 0;
    double first = 0.0;
    double second = 0.0;
};

// A layout or a tab page being read.
struct Scope {
    GS::Array<RSDialogItem>* items = nullptr;
    std::vector<PendingAttribute> attributes;
};

RSDialogItem* ItemOf(GS::Array<RSDialogItem>& items, int16_t id) {
    for (RSDialogItem& item : items)
        if (item.id == id) return &item;
    return nullptr;
}

// Applies the attribute lines of a scope, then puts the radios that name no group into the group of their run
// of consecutive radio items (the first run is group 1).
void CloseScope(const std::string& path, Scope& scope) {
    for (const PendingAttribute& a : scope.attributes) {
        RSDialogItem* item = ItemOf(*scope.items, a.item);
        const std::string itemName = "item " + std::to_string(a.item);
        if (item == nullptr) {
            Report(path, a.line, "\"" + a.keyword + "\": no " + itemName + " here; skipped");
            continue;
        }
        const std::string kindName = RSDialogItemKindName(item->kind);
        if (a.keyword == "range") {
            if (!RSDialogItemTakesRange(item->kind)) {
                Report(path, a.line, "\"range\": " + itemName + " is a " + kindName + " and takes none; skipped");
                continue;
            }
            const bool whole = item->kind == RSDialogItemKind::IntEdit || item->kind == RSDialogItemKind::Slider;
            if (whole && (a.first != std::trunc(a.first) || a.second != std::trunc(a.second))) {
                Report(path, a.line, "\"range\": " + itemName + " takes whole numbers; skipped");
                continue;
            }
            item->hasRange = true;
            item->minValue = a.first;
            item->maxValue = a.second;
        } else if (a.keyword == "limit") {
            if (!RSDialogItemTakesLimit(item->kind)) {
                Report(path, a.line, "\"limit\": " + itemName + " is a " + kindName + " and takes none; skipped");
                continue;
            }
            item->textLimit = static_cast<int32_t>(a.first);
        } else {
            if (item->kind != RSDialogItemKind::Radio) {
                Report(path, a.line, "\"group\": " + itemName + " is a " + kindName + ", not a radio; skipped");
                continue;
            }
            item->radioGroup = static_cast<int16_t>(a.first);
        }
    }
    int16_t run = 0;
    bool inRun = false;
    for (RSDialogItem& item : *scope.items) {
        const bool radio = item.kind == RSDialogItemKind::Radio;
        if (radio && !inRun) ++run;
        inRun = radio;
        if (radio && item.radioGroup == 0) item.radioGroup = run;
    }
    scope.attributes.clear();
}

// A dialog layout being read, and one of its lines split into words and its quoted text.
struct DialogReader {
    const std::string& path;
    RSDialogLayout& layout;
    bool haveSize = false;
    Scope dialogScope;
    Scope pageScope;
    bool inPage = false;
    int pageLine = 0;
    Scope& Current() { return inPage ? pageScope : dialogScope; }
};

struct DialogLine {
    int number = 0;
    std::vector<std::string> tokens;
    std::string text;
};

void ReadSize(DialogReader& r, const DialogLine& line) {
    int32_t w = 0, h = 0;
    const std::vector<std::string>& tokens = line.tokens;
    if (tokens.size() != 3 || !ParseInt(tokens[1], &w) || !ParseInt(tokens[2], &h) || w < 0 || h < 0 ||
        w > MaxDialogExtent || h > MaxDialogExtent) {
        Report(r.path, line.number,
               "\"size\" needs a width and a height in 0.." + std::to_string(MaxDialogExtent) + "; skipped");
        return;
    }
    r.layout.clientWidth = w;
    r.layout.clientHeight = h;
    r.haveSize = true;
}

void ReadTitle(DialogReader& r, const DialogLine& line) {
    GS::UniString title;
    std::string problem;
    if (!DecodeText(line.text, &title, &problem)) {
        Report(r.path, line.number, problem + "; skipped");
        return;
    }
    r.layout.title = title;
}

// An item's id, kind and geometry; false (reported) when the line cannot give an item.
bool ReadItemHead(DialogReader& r, const DialogLine& line, RSDialogItem* item) {
    const std::vector<std::string>& tokens = line.tokens;
    if (tokens.size() < 7) {
        Report(r.path, line.number, "\"item\" needs id, kind, x, y, width and height (truncated line?); skipped");
        return false;
    }
    int32_t id = 0;
    int32_t geometry[4];
    bool numbersOk = ParseInt(tokens[1], &id);
    for (int k = 0; k < 4; ++k) numbersOk = numbersOk && ParseInt(tokens[3 + k], &geometry[k]);
    if (!numbersOk) {
        Report(r.path, line.number, "item id and geometry must be numbers; skipped");
        return false;
    }
    if (id < 1 || id > 32767) {
        Report(r.path, line.number, "item id " + tokens[1] + " outside 1..32767; skipped");
        return false;
    }
    if (!KindFromName(tokens[2], &item->kind)) {
        Report(r.path, line.number, "unknown item kind \"" + tokens[2] + "\"; skipped");
        return false;
    }
    if (r.inPage && item->kind == RSDialogItemKind::TabControl) {
        Report(r.path, line.number, "a tab page cannot hold a tab control; skipped");
        return false;
    }
    bool geometryOk = true;
    for (int k = 0; k < 4; ++k)
        geometryOk = geometryOk && geometry[k] >= -MaxDialogExtent && geometry[k] <= MaxDialogExtent;
    if (!geometryOk || geometry[2] < 0 || geometry[3] < 0) {
        Report(r.path, line.number, "item geometry out of range; skipped");
        return false;
    }
    item->id = static_cast<int16_t>(id);
    item->x = geometry[0];
    item->y = geometry[1];
    item->width = geometry[2];
    item->height = geometry[3];
    return true;
}

void ReadItem(DialogReader& r, const DialogLine& line) {
    RSDialogItem item;
    if (!ReadItemHead(r, line, &item)) return;
    std::string problem;
    if (!DecodeText(line.text, &item.text, &problem)) {
        Report(r.path, line.number, problem + "; skipped");
        return;
    }
    Scope& scope = r.Current();
    if (ItemOf(*scope.items, item.id) != nullptr) {
        Report(r.path, line.number, "item " + line.tokens[1] + " given twice; skipped");
        return;
    }
    scope.items->Push(item);
}

// "range", "limit" or "group": kept until the scope ends.
void ReadAttribute(DialogReader& r, const DialogLine& line) {
    const std::vector<std::string>& tokens = line.tokens;
    const std::string& keyword = tokens[0];
    PendingAttribute a;
    a.line = line.number;
    a.keyword = keyword;
    int32_t id = 0;
    const size_t wanted = keyword == "range" ? 4 : 3;
    bool ok = tokens.size() == wanted && ParseInt(tokens[1], &id) && id >= 1 && id <= 32767;
    if (ok && keyword == "range") {
        ok = ParseReal(tokens[2], &a.first) && ParseReal(tokens[3], &a.second) && a.first <= a.second;
    } else if (ok) {
        int32_t n = 0;
        const int32_t most = keyword == "limit" ? MaxTextLimit : 32767;
        ok = ParseInt(tokens[2], &n) && n >= 1 && n <= most;
        a.first = n;
    }
    if (!ok) {
        const std::string form = keyword == "range" ? "an item and its lowest and highest value"
            : keyword == "limit" ? "an item and a character count in 1.." + std::to_string(MaxTextLimit)
                                 : "an item and a group number in 1..32767";
        Report(r.path, line.number, "\"" + keyword + "\" needs " + form + "; skipped");
        return;
    }
    a.item = static_cast<int16_t>(id);
    r.Current().attributes.push_back(a);
}

// The page's tab control and number; false (reported) when the line begins no page.
bool ReadPageHead(DialogReader& r, const DialogLine& line, RSTabPage* page) {
    const std::vector<std::string>& tokens = line.tokens;
    int32_t tab = 0, number = 0;
    if (tokens.size() < 3 || !ParseInt(tokens[1], &tab) || !ParseInt(tokens[2], &number) || tab < 1 || tab > 32767 ||
        number < 1 || number > MaxTabPages) {
        Report(r.path, line.number,
               "\"page\" needs a tab control item and a page number in 1.." + std::to_string(MaxTabPages) +
                   "; the page is skipped");
        return false;
    }
    const RSDialogItem* control = ItemOf(r.layout.items, static_cast<int16_t>(tab));
    if (control == nullptr || control->kind != RSDialogItemKind::TabControl) {
        Report(r.path, line.number,
               "\"page\": item " + tokens[1] + " is no tab control given above; the page is skipped");
        return false;
    }
    int32_t before = 0;
    for (const RSTabPage& p : r.layout.pages) before += p.tabItem == tab ? 1 : 0;
    if (number != before + 1) {
        Report(r.path, line.number,
               "\"page\": tab control " + tokens[1] + " has " + std::to_string(before) +
                   " pages, so its next page is " + std::to_string(before + 1) + "; the page is skipped");
        return false;
    }
    page->tabItem = static_cast<int16_t>(tab);
    page->page = static_cast<int16_t>(number);
    return true;
}

void ReadPage(DialogReader& r, const DialogLine& line) {
    if (r.inPage) {
        Report(r.path, line.number,
               "\"page\" inside the page begun on line " + std::to_string(r.pageLine) +
                   " (an \"endpage\" is missing); that page ends here");
        CloseScope(r.path, r.pageScope);
        r.inPage = false;
    }
    RSTabPage page;
    if (!ReadPageHead(r, line, &page)) return;
    std::string problem;
    if (!DecodeText(line.text, &page.title, &problem)) {
        Report(r.path, line.number, problem + "; the title is left empty");
        page.title = GS::UniString();
    }
    r.layout.pages.Push(page);
    r.pageScope = Scope{&r.layout.pages.GetLast().items, {}};
    r.inPage = true;
    r.pageLine = line.number;
}

void ReadEndPage(DialogReader& r, const DialogLine& line) {
    if (!r.inPage) {
        Report(r.path, line.number, "\"endpage\" without a page; skipped");
        return;
    }
    CloseScope(r.path, r.pageScope);
    r.inPage = false;
}

// The line split as its keyword wants: false (reported) when it cannot be; empty words for a blank line.
bool SplitLine(const std::string& path, const Line& line, DialogLine* split) {
    std::string problem;
    split->number = line.number;
    if (!SplitDialogLine(line.text, 1, &split->tokens, &split->text, &problem)) {
        Report(path, line.number, problem + "; skipped");
        return false;
    }
    if (split->tokens.empty()) return true;
    const std::string keyword = split->tokens[0];
    const size_t wordCount = keyword == "title" ? 1 : keyword == "item" ? 7 : keyword == "page" ? 3 : std::string::npos;
    if (!SplitDialogLine(line.text, wordCount, &split->tokens, &split->text, &problem)) {
        Report(path, line.number, problem + "; skipped");
        return false;
    }
    return true;
}

void ParseDialog(const std::string& path, const std::vector<Line>& lines, Resource* res) {
    DialogReader r{path, res->dialog, false, Scope{&res->dialog.items, {}}, Scope{}};
    using Reader = void (*)(DialogReader&, const DialogLine&);
    static const std::pair<const char*, Reader> readers[] = {
        {"size", ReadSize},       {"title", ReadTitle},     {"item", ReadItem}, {"range", ReadAttribute},
        {"limit", ReadAttribute}, {"group", ReadAttribute}, {"page", ReadPage}, {"endpage", ReadEndPage}};
    for (const Line& line : lines) {
        DialogLine split;
        if (!SplitLine(path, line, &split) || split.tokens.empty()) continue;  // reported, or blanks only
        Reader reader = nullptr;
        for (const auto& [keyword, read] : readers)
            if (split.tokens[0] == keyword) reader = read;
        if (reader != nullptr)
            reader(r, split);
        else
            Report(path, line.number, "unknown line \"" + split.tokens[0] + "\"; skipped");
    }
    if (r.inPage) {
        Report(path, r.pageLine, "the page begun here has no \"endpage\"; it ends with the file");
        CloseScope(path, r.pageScope);
    }
    CloseScope(path, r.dialogScope);
    if (!r.haveSize) Report(path, 0, "no \"size\" line; the client size is 0 x 0");
}

bool TypeFromFolderName(const std::string& name, GSResType* type) {
    if (name.size() != 4) return false;
    const GSResType known[] = {RSType_STRS, RSType_MENU, RSType_DLOG, RSType_ICON, RSType_PICT};
    const char code[5] = {name[0], name[1], name[2], name[3], 0};
    const GSResType t = RSMakeType(code);
    for (GSResType k : known)
        if (k == t) {
            *type = t;
            return true;
        }
    return false;
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool IsFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void LoadTypeFolder(const std::string& typeFolder, GSResType type, Module* module) {
    for (const std::string& name : ListFolder(typeFolder)) {
        const std::string path = typeFolder + "/" + name;
        if (name.size() < 5 || name.compare(name.size() - 4, 4, ".txt") != 0) continue;  // not a resource file
        int32_t id = 0;
        if (!ParseInt(name.substr(0, name.size() - 4), &id) || id < 1 || id > 65535) {
            Report(path, 0, "file name is not a resource id (1..65535) followed by .txt; skipped");
            continue;
        }
        std::vector<Line> lines;
        if (!ReadLines(path, &lines)) continue;
        Resource res;
        if (IsStringType(type))
            ParseStringTable(path, lines, &res);
        else if (type == RSType_DLOG)
            ParseDialog(path, lines, &res);
        else if (!lines.empty()) {
            std::string problem;
            if (!DecodeText(lines.front().text, &res.description, &problem))
                Report(path, lines.front().number, problem + "; description left empty");
        }
        module->resources[{type, id}] = std::move(res);
    }
}

}  // namespace

const char* RSDialogItemKindName(RSDialogItemKind kind) {
    for (const auto& k : kDialogItemKinds)
        if (k.second == kind) return k.first;
    return "unknown";
}

bool RSDialogItemTakesRange(RSDialogItemKind kind) {
    return kind == RSDialogItemKind::IntEdit || kind == RSDialogItemKind::RealEdit ||
        kind == RSDialogItemKind::LengthEdit || kind == RSDialogItemKind::AngleEdit || kind == RSDialogItemKind::Slider;
}

bool RSDialogItemTakesLimit(RSDialogItemKind kind) {
    return kind == RSDialogItemKind::Edit || kind == RSDialogItemKind::RichEdit;
}

bool RSGetIndStringOfType(GSResType type, GS::UniString* out, int32_t resId, int32_t index, GSResModule module) {
    if (!IsStringType(type)) return false;
    const Resource* res = Find(type, resId, module);
    if (res == nullptr) return false;
    const auto it = res->strings.find(index);
    if (it == res->strings.end()) return false;
    if (out != nullptr) *out = it->second;
    return true;
}

bool RSGetIndString(GS::UniString* out, int32_t resId, int32_t index, GSResModule module) {
    return RSGetIndStringOfType(RSType_STRS, out, resId, index, module);
}

int32_t RSGetIndStringCount(GSResType type, int32_t resId, GSResModule module) {
    if (!IsStringType(type)) return -1;
    const Resource* res = Find(type, resId, module);
    if (res == nullptr) return -1;
    return res->strings.empty() ? 0 : res->strings.rbegin()->first;
}

bool RSGetStringTableData(GSResType type, int32_t resId, GSResModule module, GS::Array<char>* data) {
    if (!IsStringType(type) || data == nullptr) return false;
    const Resource* res = Find(type, resId, module);
    if (res == nullptr) return false;
    std::string body;
    const int32_t count = res->strings.empty() ? 0 : res->strings.rbegin()->first;
    for (int32_t i = 1; i <= count; ++i) {
        const auto it = res->strings.find(i);
        if (it != res->strings.end()) body += it->second.ToUtf8();
        body.push_back('\0');
    }
    const uint32_t length = static_cast<uint32_t>(body.size());
    data->Clear();
    for (int k = 0; k < 4; ++k) data->Push(static_cast<char>((length >> (8 * k)) & 0xFF));
    for (char c : body) data->Push(c);
    return true;
}

bool RSResourceExists(GSResType type, int32_t resId, GSResModule module) {
    return Find(type, resId, module) != nullptr;
}

bool RSGetMenu(int32_t resId, GSResModule module, GS::Array<GS::UniString>* lines) {
    const Resource* res = Find(RSType_MENU, resId, module);
    if (res == nullptr || lines == nullptr) return false;
    lines->Clear();
    const int32_t count = res->strings.empty() ? 0 : res->strings.rbegin()->first;
    for (int32_t i = 1; i <= count; ++i) {
        const auto it = res->strings.find(i);
        lines->Push(it != res->strings.end() ? it->second : GS::UniString());
    }
    return true;
}

bool RSGetDialogLayout(int32_t resId, GSResModule module, RSDialogLayout* layout) {
    const Resource* res = Find(RSType_DLOG, resId, module);
    if (res == nullptr || layout == nullptr) return false;
    *layout = res->dialog;
    return true;
}

bool RSGetIcon(int32_t resId, GSResModule module, GS::UniString* description) {
    const Resource* res = Find(RSType_ICON, resId, module);
    if (res == nullptr) return false;
    if (description != nullptr) *description = res->description;
    return true;
}

bool RSGetPicture(int32_t resId, GSResModule module, GS::UniString* description) {
    const Resource* res = Find(RSType_PICT, resId, module);
    if (res == nullptr) return false;
    if (description != nullptr) *description = res->description;
    return true;
}

namespace ResourceDriver {

GSResModule OpenResourceFolder(const std::string& folder) {
    static GSResModule nextHandle = 1;
    if (!IsFolder(folder)) {
        Report(folder, 0, "resource folder cannot be read");
        return InvalidResModule;
    }
    Module module;
    module.folder = folder;
    for (const std::string& name : ListFolder(folder)) {
        const std::string path = folder + "/" + name;
        if (!IsFolder(path)) continue;  // README and the like
        GSResType type = 0;
        if (!TypeFromFolderName(name, &type)) {
            Report(path, 0, "unknown resource type folder; skipped");
            continue;
        }
        LoadTypeFolder(path, type, &module);
    }
    const GSResModule handle = nextHandle++;
    Modules()[handle] = std::move(module);
    return handle;
}

void CloseResourceModule(GSResModule module) { Modules().erase(module); }

const std::vector<std::string>& Errors() { return ErrorList(); }

void ClearErrors() { ErrorList().clear(); }

}  // namespace ResourceDriver
