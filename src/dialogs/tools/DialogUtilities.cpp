#include "dialogs/tools/DialogUtilities.hpp"

#include "DG.hpp"

namespace {
GS::UniString ToUni(const QV_String& text) { return GS::UniString(text.GetBuffer(), text.GetLength()); }
}  // namespace

int16_t ShowAlert(int16_t alertType, const QV_String& largeText, const QV_String& smallText, const QV_String& guideText,
                  const QV_String& button1, const QV_String& button2, const QV_String& button3) {
    const int32_t answer = DGAlert(alertType, ToUni(largeText), ToUni(smallText), ToUni(guideText), ToUni(button1),
                                   ToUni(button2), ToUni(button3));
    return int16_t(answer & 0xffff);
}

void ReplaceExtension(QV_String& path, const QV_String& extension) {
    if (path.IsEmpty()) return;
    int32_t cut = path.ReverseFindChar('.');
    if (cut < 0 || cut < path.ReverseFindChar('\\')) cut = int32_t(path.GetLength());
    QV_String result;
    path.Left(result, uint32_t(cut));
    result += ".";
    result += extension;
    path = result;
}

bool CompareStringsLess(const QV_String& a, const QV_String& b) { return a < b; }
