#include "library/LibraryPlan.hpp"

#include "library/LibraryWords.hpp"

namespace {
struct KindWord {
    LibPlanItem::Kind kind;
    const char* word;
    size_t minNames, maxNames;
};
constexpr KindWord kKinds[] = {
    {LibPlanItem::Kind::Line, "line", 1, 1},         {LibPlanItem::Kind::Outline, "outline", 1, 1},
    {LibPlanItem::Kind::Outlines, "outlines", 2, 2}, {LibPlanItem::Kind::Foot, "foot", 3, 3},
    {LibPlanItem::Kind::Contours, "contours", 3, 5}, {LibPlanItem::Kind::Below, "below", 1, 1},
    {LibPlanItem::Kind::Daylight, "daylight", 0, 0}};
}  // namespace

bool ParsePlanItem(const std::string& text, LibPlanItem* item, std::string* why) {
    std::string kindWord;
    std::vector<std::string> words;
    const bool read = ItemWords(text, &kindWord, &words, why);
    const KindWord* kind = nullptr;
    for (const KindWord& k : kKinds)
        if (kindWord == k.word) kind = &k;
    if (kind == nullptr) {
        *why = "unknown plan item '" + kindWord + "' (line, outline, outlines, foot, contours, below or daylight)";
        return false;
    }
    if (!read) return false;
    *item = LibPlanItem();
    item->kind = kind->kind;
    for (size_t i = 0; i < words.size(); ++i) {
        // A foot's side follows its line.
        if (item->kind == LibPlanItem::Kind::Foot && i == 1) {
            if (words[i] != "left" && words[i] != "right") {
                *why = "a foot names its side, left or right, after the line";
                return false;
            }
            item->left = words[i] == "left";
            continue;
        }
        item->params.push_back(words[i]);
    }
    if (item->params.size() < kind->minNames || item->params.size() > kind->maxNames) {
        *why = std::string("plan ") + kind->word + " names " +
            (kind->minNames == kind->maxNames
                 ? std::to_string(kind->minNames)
                 : std::to_string(kind->minNames) + " to " + std::to_string(kind->maxNames)) +
            " parameters";
        return false;
    }
    return true;
}

std::string DescribePlanItem(const LibPlanItem& item) {
    std::string out;
    for (const KindWord& k : kKinds)
        if (k.kind == item.kind) out = k.word;
    for (size_t i = 0; i < item.params.size(); ++i) {
        out += " " + item.params[i];
        if (item.kind == LibPlanItem::Kind::Foot && i == 0) out += item.left ? " left" : " right";
    }
    return out;
}
