#include "foundation/VersionBanner.hpp"

namespace {

const char* const kLanguageCodes[7] = {"ita", "int", "fra", "ger", "spa", "jap", "rus"};

// Decimal value of a piece of text, in 0 to 65535 (no digits: 0).
uint16_t ReadNumber(const QV_String& text) {
    const std::string bytes = text.ToStdString(Encoding_System);
    size_t i = 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t')) ++i;
    bool negative = false;
    if (i < bytes.size() && (bytes[i] == '+' || bytes[i] == '-')) negative = bytes[i++] == '-';
    uint32_t value = 0;
    for (; i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9'; ++i) {
        value = value * 10 + uint32_t(bytes[i] - '0');
        if (value > 0xFFFF) value = 0xFFFF;
    }
    return negative ? 0 : uint16_t(value);
}

bool IsWordSeparator(GS::UniChar u) { return u == u' ' || u == u'\t'; }

}  // namespace

void VersionInfo::Clear() {
    name.Clear();
    versionText.Clear();
    major = minor = release = build = 0;
    hostVersion = 0;
    date.Clear();
    dateText.Clear();
    languages.Clear();
    extraText.Clear();
}

void SplitWords(const QV_String& text, QV_List<QV_String>& words) {
    words.Clear();
    const uint32_t length = text.GetLength();
    uint32_t start = 0;
    uint32_t i = 0;
    QV_String word;
    while (i < length) {
        if (!IsWordSeparator(text.GetAt(i))) {
            ++i;
            continue;
        }
        text.SubString(word, start, i - start);
        words.Insert(word);
        while (i < length && IsWordSeparator(text.GetAt(i))) ++i;
        start = i;
    }
    text.SubString(word, start, length - start);
    if (!word.HasBuffer()) word = "";  // a text without buffer still gives one empty word
    words.Insert(word);
}

void SplitAtChar(const QV_String& text, QV_List<QV_String>& pieces, char separator) {
    pieces.Clear();
    const GS::UniChar unit = QV_String::WideFromAnsiChar(separator, Encoding_System);
    const uint32_t length = text.GetLength();
    uint32_t start = 0;
    QV_String piece;
    for (uint32_t i = 0; i < length; ++i) {
        if (unit == 0 || text.GetAt(i) != unit) continue;
        text.SubString(piece, start, i - start);
        pieces.Insert(piece);
        start = i + 1;
    }
    text.SubString(piece, start, length - start);
    if (!piece.HasBuffer()) piece = "";
    pieces.Insert(piece);
}

bool DateToSortable(QV_String& out, const QV_String& date) {
    if (date.GetLength() < 10) {
        out = "";
        return false;
    }
    QV_String year, month, day;
    date.SubString(year, 6, 4);
    date.SubString(month, 3, 2);
    date.SubString(day, 0, 2);
    out = year + month + day;
    return true;
}

bool ParseVersionBanner(QV_String text, VersionInfo& info) {
    info.Clear();
    if (text.GetLength() == 0) return false;

    QV_List<QV_String> words;
    SplitWords(text, words);
    if (words.GetCount() < 4) return false;  // name, version, host and date must all be there

    info.name = words[0];
    info.versionText = words[1];

    QV_List<QV_String> numbers;
    SplitAtChar(words[1], numbers, '.');
    uint16_t* fields[4] = {&info.major, &info.minor, &info.release, &info.build};
    for (int32_t k = 0; k < 4; ++k)
        if (const QV_String* piece = numbers.Get(k)) *fields[k] = ReadNumber(*piece);

    // The host word is three characters, the number, two characters: "(ZO25),".
    const QV_String& host = words[2];
    if (host.GetLength() > 5) {
        QV_String number;
        host.SubString(number, 3, host.GetLength() - 5);
        info.hostVersion = ReadNumber(number);
    }

    DateToSortable(info.date, words[3]);
    info.dateText = words[3];

    for (int32_t w = 4; w < words.GetCount(); ++w) {
        for (uint16_t language = 0; language < 7; ++language) {
            if (words[w].CompareNoCase(QV_String(kLanguageCodes[language])) == 0) {
                info.languages.Insert(language);
                break;
            }
        }
    }
    return true;
}
