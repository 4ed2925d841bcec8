#include "fileio/ImportPoint.hpp"

namespace ASCFile {

namespace {
const PointTexts& TextsOf(const std::vector<PointTexts>& texts, const ASCFilePoint& point) {
    static const PointTexts none;
    return point.texts == 0 || point.texts > texts.size() ? none : texts[point.texts - 1];
}
}  // namespace

const QV_String& PointCode(const std::vector<PointTexts>& texts, const ASCFilePoint& point) {
    return TextsOf(texts, point).code;
}

const QV_String& PointComment(const std::vector<PointTexts>& texts, const ASCFilePoint& point) {
    return TextsOf(texts, point).comment;
}

}  // namespace ASCFile
