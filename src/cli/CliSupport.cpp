#include "cli/CliSupport.h"

#include "storage/Cp1252.h"

namespace velmaro::cli {

std::string Utf8(std::string_view cp1252) {
    return Cp1252ToUtf8(cp1252);
}

std::string FromUtf8(std::string_view utf8, std::string_view what) {
    auto text = Utf8ToCp1252(utf8);
    if (!text) {
        throw UserError(std::string(what) + " \"" + std::string(utf8) +
                        "\" tem caracteres que o programa não consegue gravar.");
    }
    return *text;
}

std::string TrimmedName(std::string_view utf8) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!utf8.empty() && blank(utf8.front())) {
        utf8.remove_prefix(1);
    }
    while (!utf8.empty() && blank(utf8.back())) {
        utf8.remove_suffix(1);
    }
    return std::string(utf8);
}

std::filesystem::path ArgumentPath(std::string_view utf8) {
    return std::filesystem::path(std::string(utf8));
}

std::string Shown(const std::filesystem::path& path) {
    return path.string();
}

}  // namespace velmaro::cli
