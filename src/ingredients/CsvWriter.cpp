#include "ingredients/CsvWriter.h"

#include "ingredients/CsvFormulaCells.h"

namespace velmaro {

std::string CsvCell(std::string_view text) {
    // A cell a spreadsheet would run as a formula is written as text; the reader takes
    // the apostrophe off again.
    const std::string utf8 = GuardFormulaCell(text);
    if (utf8.find_first_of(";\"\r\n") == std::string::npos) {
        return utf8;
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
