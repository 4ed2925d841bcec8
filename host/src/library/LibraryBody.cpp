#include "library/LibraryBody.hpp"

#include "library/LibraryWords.hpp"

#include <algorithm>
#include <iterator>

namespace {
struct KindWord {
    LibBodyItem::Kind kind;
    const char* word;
    size_t names;
};
constexpr KindWord kKinds[] = {{LibBodyItem::Kind::Role, "role", 1},       {LibBodyItem::Kind::Platform, "platform", 4},
                               {LibBodyItem::Kind::Incline, "incline", 4}, {LibBodyItem::Kind::Strip, "strip", 6},
                               {LibBodyItem::Kind::Walk, "walk", 3},       {LibBodyItem::Kind::Obstacle, "obstacle", 2},
                               {LibBodyItem::Kind::Wall, "wall", 5},       {LibBodyItem::Kind::Faces, "faces", 6},
                               {LibBodyItem::Kind::Block, "block", 4},     {LibBodyItem::Kind::Deck, "deck", 10},
                               {LibBodyItem::Kind::Roof, "roof", 2},       {LibBodyItem::Kind::Railings, "railings", 2},
                               {LibBodyItem::Kind::Rails, "rails", 4}};
}  // namespace

bool ParseBodyItem(const std::string& text, LibBodyItem* item, std::string* why) {
    std::string kindWord;
    std::vector<std::string> words;
    const bool read = ItemWords(text, &kindWord, &words, why);
    const auto kind =
        std::find_if(std::begin(kKinds), std::end(kKinds), [&](const KindWord& k) { return kindWord == k.word; });
    if (kind == std::end(kKinds)) {
        *why = "unknown body item '" + kindWord +
            "' (role, platform, incline, strip, walk, obstacle, wall, faces, block, deck, roof, railings or rails)";
        return false;
    }
    if (!read) return false;
    if (words.size() != kind->names) {
        *why = std::string("body ") + kind->word + " names " + std::to_string(kind->names) + " parameters";
        return false;
    }
    item->kind = kind->kind;
    item->params = std::move(words);
    return true;
}

std::string DescribeBodyItem(const LibBodyItem& item) {
    std::string out;
    for (const KindWord& k : kKinds)
        if (k.kind == item.kind) out = k.word;
    for (const std::string& p : item.params) out += " " + p;
    return out;
}
