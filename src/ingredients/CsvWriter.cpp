#include "ingredients/CsvWriter.h"

namespace velmaro {

std::string CsvCell(std::string_view utf8) {
    if (utf8.find_first_of(";\"\r\n") == std::string_view::npos) {
        return std::string(utf8);
    }
    std::string out = "\"";
    for (char c : utf8) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

std::string CsvRow(const std::vector<std::string>& cells) {
    std::string out;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            out += kCsvSeparator;
        }
        out += CsvCell(cells[i]);
    }
    out += kCsvLineEnd;
    return out;
}

}  // namespace velmaro
