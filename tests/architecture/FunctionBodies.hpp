#pragma once
// The function bodies of a C++ source text and their lengths, as the length check reads them: every brace block
// that follows a parameter list (functions, constructors, lambdas) or a lambda's capture, but not one of if, for,
// while, switch or catch. Comments, string and character literals and preprocessor lines are read as blanks.
#include <cctype>
#include <set>
#include <string>
#include <vector>

namespace FunctionBodies {

struct Body {
    int firstLine = 0;  // the line of its opening brace, from 1
    int lines = 0;      // from the opening brace's line to the closing brace's, both counted
};

// The text with comments, literals and preprocessor lines blanked; line breaks stay where they were.
inline std::string Blanked(const std::string& text) {
    std::string out = text;
    const size_t n = text.size();
    auto blank = [&](size_t from, size_t to) {
        for (size_t k = from; k < to && k < n; ++k)
            if (out[k] != '\n') out[k] = ' ';
    };
    bool lineStart = true;
    for (size_t i = 0; i < n;) {
        const char c = text[i];
        if (c == '\n') {
            lineStart = true;
            ++i;
            continue;
        }
        if (lineStart && c == '#') {
            size_t j = i;  // to the end of the line and of its continuations
            while (j < n && !(text[j] == '\n' && (j == 0 || text[j - 1] != '\\'))) ++j;
            blank(i, j);
            i = j;
            continue;
        }
        if (c != ' ' && c != '\t') lineStart = false;
        if (c == '/' && i + 1 < n && text[i + 1] == '/') {
            size_t j = text.find('\n', i);
            if (j == std::string::npos) j = n;
            blank(i, j);
            i = j;
        } else if (c == '/' && i + 1 < n && text[i + 1] == '*') {
            size_t j = text.find("*/", i + 2);
            j = j == std::string::npos ? n : j + 2;
            blank(i, j);
            i = j;
        } else if (c == 'R' && i + 1 < n && text[i + 1] == '"' &&
                   (i == 0 || !(std::isalnum(static_cast<unsigned char>(text[i - 1])) || text[i - 1] == '_'))) {
            const size_t open = text.find('(', i + 2);
            if (open == std::string::npos) return out;
            const std::string close = ")" + text.substr(i + 2, open - i - 2) + "\"";
            size_t j = text.find(close, open);
            j = j == std::string::npos ? n : j + close.size();
            blank(i, j);
            i = j;
        } else if (c == '"' || (c == '\'' && !(i > 0 && std::isxdigit(static_cast<unsigned char>(text[i - 1]))))) {
            size_t j = i + 1;
            while (j < n && text[j] != c && text[j] != '\n') j += text[j] == '\\' ? 2 : 1;
            blank(i, j + 1);
            i = j + 1;
        } else {
            ++i;
        }
    }
    return out;
}

// Whether the brace at `brace` of a blanked text opens a function body.
inline bool OpensFunction(const std::string& t, size_t brace) {
    static const std::set<std::string> qualifiers = {"const", "override", "noexcept", "final", "mutable"};
    static const std::set<std::string> control = {"if", "for", "while", "switch", "catch", "constexpr"};
    auto isWord = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    size_t p = brace;
    auto skipSpaces = [&] {
        while (p > 0 && std::isspace(static_cast<unsigned char>(t[p - 1]))) --p;
    };
    auto wordBefore = [&] {
        size_t start = p;
        while (start > 0 && isWord(t[start - 1])) --start;
        return t.substr(start, p - start);
    };
    skipSpaces();
    for (std::string w = wordBefore(); qualifiers.count(w) != 0; w = wordBefore()) {
        p -= w.size();
        skipSpaces();
    }
    if (p == 0) return false;
    if (t[p - 1] == ']') return true;  // a lambda without a parameter list
    if (t[p - 1] == '}') return true;  // a constructor whose last member is set with braces
    if (t[p - 1] != ')') {
        // A trailing return type: "-> Type" after the parameter list.
        size_t q = p;
        while (q > 0 && (isWord(t[q - 1]) || std::string(":<>*&, \t\n").find(t[q - 1]) != std::string::npos)) --q;
        if (q < 2 || t[q - 1] != '>' || t[q - 2] != '-') return false;
        p = q - 2;
        skipSpaces();
        return p > 0 && t[p - 1] == ')';
    }
    int depth = 0;  // back to the parenthesis that opens the list
    for (--p;; --p) {
        if (t[p] == ')') ++depth;
        if (t[p] == '(' && --depth == 0) break;
        if (p == 0) return false;
    }
    skipSpaces();
    return control.count(wordBefore()) == 0;
}

// Every function body of the text, in the order of their closing braces.
inline std::vector<Body> Find(const std::string& text) {
    const std::string t = Blanked(text);
    std::vector<Body> bodies;
    struct Open {
        int line;
        bool function;
    };
    std::vector<Open> open;
    int line = 1;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '\n') ++line;
        if (t[i] == '{') open.push_back({line, OpensFunction(t, i)});
        if (t[i] == '}' && !open.empty()) {
            if (open.back().function) bodies.push_back({open.back().line, line - open.back().line + 1});
            open.pop_back();
        }
    }
    return bodies;
}

}  // namespace FunctionBodies
