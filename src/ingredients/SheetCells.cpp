#include "ingredients/SheetCells.h"

#include <algorithm>

#include "shell/NameRules.h"
#include "storage/Cp1252.h"

namespace velmaro::sheet {

namespace {

bool IsBlankChar(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

std::string CleanSpaces(std::string_view text, bool collapse) {
    if (!collapse) {
        const auto first = std::find_if_not(text.begin(), text.end(), IsBlankChar);
        const auto last = std::find_if_not(text.rbegin(), text.rend(), IsBlankChar).base();
        return first < last ? std::string(first, last) : std::string();
    }
    std::string out;
    bool pendingSpace = false;
    for (char c : text) {
        if (IsBlankChar(c)) {
            pendingSpace = !out.empty();
            continue;
        }
        if (pendingSpace) {
            out += ' ';
            pendingSpace = false;
        }
        out += c;
    }
    return out;
}

std::string Quoted(std::string_view cp1252) {
    constexpr size_t kShown = 100;
    if (cp1252.size() > kShown) {
        return "\"" + std::string(cp1252.substr(0, kShown)) + "...\"";
    }
    return "\"" + std::string(cp1252) + "\"";
}

std::string AtLine(int line, const std::string& message) {
    return W("Linha ") + std::to_string(line) + ": " + message;
}

std::string Capitalized(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    return text;
}

std::string Pad(std::string text, size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

std::optional<std::string> NameProblem(std::string_view cp1252, std::string_view what,
                                       size_t maxWidth, bool isName) {
    const std::string subject = std::string(what) + " " + Quoted(cp1252);
    for (char c : cp1252) {
        if (static_cast<unsigned char>(c) < 32) {
            return subject + W(" tem um caracter de controle.");
        }
        if (c == '|' || (isName && IsForbiddenNameChar(c))) {
            return subject + W(" tem o caracter (") + std::string(1, c) +
                   W("), que não é permitido.");
        }
    }
    if (maxWidth > 0 && cp1252.size() > maxWidth) {
        return subject + " tem " + std::to_string(cp1252.size()) + W(" caracteres; o máximo é ") +
               std::to_string(maxWidth) + ".";
    }
    return std::nullopt;
}

std::optional<std::string> ToCp1252(std::string_view utf8, std::string_view what,
                                    std::string& problem) {
    auto text = Utf8ToCp1252(utf8);
    if (!text) {
        problem = std::string(what) + " " + Quoted(*Utf8ToCp1252(utf8, '?')) +
                  W(" tem caracteres que o programa não consegue gravar.");
    }
    return text;
}

}  // namespace velmaro::sheet
