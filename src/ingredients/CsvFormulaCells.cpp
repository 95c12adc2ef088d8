#include "ingredients/CsvFormulaCells.h"

#include <algorithm>

namespace velmaro {

namespace {

bool IsFormulaStart(char c) {
    return c == '=' || c == '+' || c == '-' || c == '@';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A sign, digits and at most one decimal comma or point: a spreadsheet reads it as the
// number it is, not as a formula.
bool IsPlainNumber(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    if (text.empty() || !IsDigit(text.front()) || !IsDigit(text.back())) {
        return false;
    }
    const auto separators =
        std::count_if(text.begin(), text.end(), [](char c) { return c == ',' || c == '.'; });
    return separators <= 1 && std::all_of(text.begin(), text.end(), [](char c) {
               return IsDigit(c) || c == ',' || c == '.';
           });
}

// Apostrophes, then a character that starts a formula.
bool NeedsGuard(std::string_view text) {
    const size_t first = text.find_first_not_of('\'');
    return first != std::string_view::npos && IsFormulaStart(text[first]) &&
           !(first == 0 && IsPlainNumber(text));
}

}  // namespace

std::string GuardFormulaCell(std::string_view text) {
    return NeedsGuard(text) ? "'" + std::string(text) : std::string(text);
}

std::string UnguardFormulaCell(std::string_view cell) {
    if (cell.size() >= 2 && cell.front() == '\'' && NeedsGuard(cell.substr(1))) {
        cell.remove_prefix(1);
    }
    return std::string(cell);
}

}  // namespace velmaro
