#include "storage/Text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace velmaro {

std::string Replicate(std::string_view text, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += text;
    }
    return out;
}

std::string RemoveAll(std::string_view text, std::string_view piece) {
    std::string out(text);
    if (piece.empty()) {
        return out;
    }
    for (auto pos = out.find(piece); pos != std::string::npos; pos = out.find(piece)) {
        out.erase(pos, 1);
    }
    return out;
}

std::string RemoveSpaces(std::string_view text) {
    return RemoveAll(text, " ");
}

std::string TrimTrailingSpaces(std::string_view text) {
    auto end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

bool IsAllSpaces(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

std::string CenterText(std::string_view text, int width) {
    const int diff = width - static_cast<int>(text.size());
    if (diff <= 0) {
        return std::string(text.substr(0, static_cast<size_t>(width < 0 ? 0 : width)));
    }
    const int left = diff / 2;
    const int right = diff % 2 != 0 ? left + 1 : left;
    return std::string(static_cast<size_t>(left), ' ') + std::string(text) +
           std::string(static_cast<size_t>(right), ' ');
}

std::string AlignIntegerText(std::string_view text) {
    std::string out(text);
    if (out.empty()) {
        return out;
    }
    if (IsAllSpaces(out)) {
        out.back() = '0';
    }
    while (out.back() == ' ') {
        out.pop_back();
        out.insert(out.begin(), ' ');
    }
    return out;
}

std::string AlignDecimalText(std::string_view text) {
    const auto comma = text.find(',');
    if (comma == std::string_view::npos) {
        return AlignIntegerText(text);
    }
    std::string out(text);
    if (comma == 0) {
        return out;  // no room for an integer part; no mask of the program has this shape
    }
    if (IsAllSpaces(out.substr(0, comma))) {
        out[comma - 1] = '0';
    }
    while (out[comma - 1] == ' ') {
        out.erase(comma - 1, 1);
        out.insert(out.begin(), ' ');
    }
    return out;
}

std::string ZeroFillDecimals(std::string_view text) {
    std::string out(text);
    const auto comma = out.find(',');
    if (comma == std::string::npos) {
        return out;
    }
    for (auto i = comma; i < out.size(); ++i) {
        if (out[i] == ' ') {
            out[i] = '0';
        }
    }
    return out;
}

std::string ReplaceChar(char newChar, char oldChar, std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == oldChar) {
            c = newChar;
        }
    }
    return out;
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::string PadLeft(std::string_view text, int width) {
    if (width <= 0) {
        return {};
    }
    const auto w = static_cast<size_t>(width);
    if (text.size() < w) {
        return std::string(w - text.size(), ' ') + std::string(text);
    }
    return std::string(text.substr(0, w));
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// [sign] digits [sep digits] [e [sign] digits], with at least one mantissa digit.
bool IsDecimalNumber(std::string_view s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        ++i;
    }
    size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            ++i;
        }
        size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i])) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0) {
            return false;
        }
    }
    return i == s.size();
}

}  // namespace

long double TextToNumber(std::string_view text) {
    return ParseNumber(text).value_or(0);
}

std::string FloatToText(long double value) {
    if (!std::isfinite(value)) {
        return "0";
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15Lg", value);
    return ReplaceChar(',', '.', buf);
}

std::optional<long double> ParseNumber(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const auto last = text.find_last_not_of(" \t");
    std::string s(text.substr(first, last - first + 1));
    for (char& c : s) {
        if (c == ',') {
            c = '.';
        }
    }
    if (!IsDecimalNumber(s)) {
        return std::nullopt;
    }
    const char* begin = s.data();
    if (*begin == '+') {
        ++begin;
    }
    long double value = 0;
    const auto [ptr, ec] = std::from_chars(begin, s.data() + s.size(), value);
    if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string FormatNumber(int decimals, int width, long double value) {
    if (decimals < 0) {
        decimals = 0;
    }
    if (!std::isfinite(value)) {
        value = 0;
    }
    const bool negative = std::signbit(value);
    // 15 significant digits, as the value is meant; then halves away from zero.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14Le", std::fabs(value));
    std::string digits;
    const char* p = buf;
    for (; *p != 'e'; ++p) {
        if (IsDigit(*p)) {
            digits += *p;
        }
    }
    const int exponent = std::atoi(p + 1) + 1;  // value = 0.<digits> x 10^exponent
    std::string intPart;
    std::string fracPart;
    if (exponent > 0) {
        const auto e = static_cast<size_t>(exponent);
        intPart =
            e >= digits.size() ? digits + std::string(e - digits.size(), '0') : digits.substr(0, e);
        fracPart = e >= digits.size() ? std::string() : digits.substr(e);
    } else {
        intPart = "0";
        fracPart = std::string(static_cast<size_t>(-exponent), '0') + digits;
    }
    const auto d = static_cast<size_t>(decimals);
    if (fracPart.size() > d) {
        const bool roundUp = fracPart[d] >= '5';
        fracPart.resize(d);
        if (roundUp) {
            std::string all = intPart + fracPart;
            int i = static_cast<int>(all.size()) - 1;
            for (; i >= 0; --i) {
                auto& c = all[static_cast<size_t>(i)];
                if (c == '9') {
                    c = '0';
                } else {
                    ++c;
                    break;
                }
            }
            if (i < 0) {
                all.insert(all.begin(), '1');
            }
            intPart = all.substr(0, all.size() - d);
            fracPart = all.substr(all.size() - d);
        }
    } else {
        fracPart.append(d - fracPart.size(), '0');
    }
    const auto nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? "0" : intPart.substr(nz);
    const bool zero = intPart == "0" && fracPart.find_first_not_of('0') == std::string::npos;
    std::string out = (negative && !zero ? "-" : "") + intPart;
    if (d > 0) {
        out += "," + fracPart;
    }
    return PadLeft(out, width);
}

std::string_view MaskPattern(std::string_view mask) {
    return mask.substr(0, mask.find(';'));
}

int MaskWidth(std::string_view mask) {
    int width = 0;
    for (char c : MaskPattern(mask)) {
        width += (c == '>' || c == '<') ? 0 : 1;
    }
    return width;
}

int MaskDecimals(std::string_view mask) {
    const auto pattern = MaskPattern(mask);
    const auto comma = pattern.find(',');
    return comma == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - comma - 1);
}

std::string BlankMaskText(std::string_view mask) {
    return ReplaceChar(' ', '9', MaskPattern(mask));
}

char NumericFieldKeyPress(std::string& fieldText, char key) {
    if (key == '.') {
        key = ',';
    }
    if (key == ',') {
        fieldText = AlignDecimalText(fieldText);
    }
    return key;
}

std::string NumericFieldExit(std::string_view fieldText, std::string_view mask) {
    if (fieldText == BlankMaskText(mask)) {
        return std::string(fieldText);
    }
    return ZeroFillDecimals(AlignDecimalText(fieldText));
}

std::string Join(const std::vector<std::string>& items, std::string_view separator) {
    std::string text;
    for (const std::string& item : items) {
        text += (text.empty() ? "" : std::string(separator)) + item;
    }
    return text;
}

std::vector<std::string> WrapWords(std::string_view text, int width,
                                   const std::function<int(const std::string&)>& widthOf) {
    std::vector<std::string> lines;
    std::string line;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find(' ', at), text.size());
        const std::string word(text.substr(at, end - at));
        const std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && widthOf(longer) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
        at = end + 1;
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

std::string WholeNumberFieldExit(std::string_view fieldText) {
    return AlignDecimalText(fieldText);
}

}  // namespace velmaro
