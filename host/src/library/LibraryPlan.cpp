#include "library/LibraryPlan.hpp"

#include "library/LibraryWords.hpp"

#include <sstream>

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
    std::istringstream in(text);
    std::string kindWord, word;
    in >> kindWord;
    const KindWord* kind = nullptr;
    for (const KindWord& k : kKinds)
        if (kindWord == k.word) kind = &k;
    if (kind == nullptr) {
        *why = "unknown plan item '" + kindWord + "' (line, outline, outlines, foot, contours, below or daylight)";
        return false;
    }
    *item = LibPlanItem();
    item->kind = kind->kind;
    bool sideSeen = false;
    while (in >> word) {
        if (item->kind == LibPlanItem::Kind::Foot && item->params.size() == 1 && !sideSeen) {
            if (word != "left" && word != "right") {
                *why = "a foot names its side, left or right, after the line";
                return false;
            }
            item->left = word == "left";
            sideSeen = true;
            continue;
        }
        if (!IsParamName(word) || word.size() > 31) {
            *why = "'" + word + "' is not a parameter name";
            return false;
        }
        item->params.push_back(word);
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
