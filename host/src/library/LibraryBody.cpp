#include "library/LibraryBody.hpp"

#include "library/LibraryWords.hpp"

#include <sstream>

namespace {
struct KindWord {
    LibBodyItem::Kind kind;
    const char* word;
    size_t names;
};
constexpr KindWord kKinds[] = {{LibBodyItem::Kind::Role, "role", 1},
                               {LibBodyItem::Kind::Platform, "platform", 4},
                               {LibBodyItem::Kind::Incline, "incline", 4},
                               {LibBodyItem::Kind::Strip, "strip", 6}};
}  // namespace

bool ParseBodyItem(const std::string& text, LibBodyItem* item, std::string* why) {
    std::istringstream in(text);
    std::string kindWord, word;
    in >> kindWord;
    const KindWord* kind = nullptr;
    for (const KindWord& k : kKinds)
        if (kindWord == k.word) kind = &k;
    if (kind == nullptr) {
        *why = "unknown body item '" + kindWord + "' (role, platform, incline or strip)";
        return false;
    }
    *item = LibBodyItem();
    item->kind = kind->kind;
    while (in >> word) {
        if (!IsParamName(word) || word.size() > 31) {
            *why = "'" + word + "' is not a parameter name";
            return false;
        }
        item->params.push_back(word);
    }
    if (item->params.size() != kind->names) {
        *why = std::string("body ") + kind->word + " names " + std::to_string(kind->names) + " parameters";
        return false;
    }
    return true;
}

std::string DescribeBodyItem(const LibBodyItem& item) {
    std::string out;
    for (const KindWord& k : kKinds)
        if (k.kind == item.kind) out = k.word;
    for (const std::string& p : item.params) out += " " + p;
    return out;
}
