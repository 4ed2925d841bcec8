#include "dialogs/settings/TextImportPreview.hpp"

#include <string>

namespace {

std::vector<std::string> Cut(const std::string& line, char delimiter) {
    std::vector<std::string> fields;
    size_t from = 0;
    while (true) {
        const size_t at = delimiter == 0 ? std::string::npos : line.find(delimiter, from);
        if (at == std::string::npos) break;
        fields.push_back(line.substr(from, at - from));
        from = at + 1;
    }
    fields.push_back(line.substr(from));
    return fields;
}

std::string Coordinate(const std::vector<std::string>& fields, int32_t index, double factor) {
    const std::string field = size_t(index) < fields.size() ? fields[size_t(index)] : "0.0";
    QV_String text;
    text.FromDouble(StrToDouble(field.c_str()) * factor, 0, 0);
    return text.ToStdString(Encoding_System);
}

std::string Word(const std::vector<std::string>& fields, int32_t index) {
    return size_t(index) < fields.size() ? fields[size_t(index)] : " ";
}

}  // namespace

std::vector<QV_String> ReadPreviewLines(TextFileCls& reader, bool skipFirst) {
    std::vector<QV_String> lines;
    reader.SetReaderFilePosition(0);
    QV_String line;
    reader.ReadLine(line, SampleCharacters);
    if (skipFirst) reader.ReadLine(line, SampleCharacters);
    for (int look = 0; look < 5; ++look) {
        if (!line.IsEmpty()) lines.push_back(line);
        if (look < 4) reader.ReadLine(line, SampleCharacters);
    }
    return lines;
}

QV_String FormatPreviewRow(int32_t layout, char delimiter, bool swapXY, double factor, const QV_String& line) {
    const std::vector<std::string> fields = Cut(line.ToStdString(Encoding_System), delimiter);
    const TextLayout& columns = GetTextLayout(layout);
    const int32_t xField = swapXY ? columns.y : columns.x;
    const int32_t yField = swapXY ? columns.x : columns.y;
    const std::string x = Coordinate(fields, xField, factor);
    const std::string y = Coordinate(fields, yField, factor);
    std::vector<std::string> row;
    switch (layout) {
        case 1: row = {x, y, Coordinate(fields, 2, factor), Word(fields, 3)}; break;
        case 2: row = {Word(fields, 0), x, y, Coordinate(fields, 3, factor)}; break;
        case 4:
        case 5: row = {x, y, Word(fields, 2), Word(fields, 3)}; break;
        case 6: row = {Word(fields, 0), x, y, Coordinate(fields, 3, factor), Word(fields, 4)}; break;
        case 7: row = {x, y, Coordinate(fields, 2, factor), Word(fields, 3), Word(fields, 4)}; break;
        default: row = {x, y, Coordinate(fields, 2, factor)}; break;
    }
    std::string joined;
    for (size_t i = 0; i < row.size(); ++i) joined += (i ? "\t" : "") + row[i];
    return QV_String(joined.c_str(), Encoding_System);
}
