#include "cli/CliSupport.h"

#include "shell/OutputFiles.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/StorageError.h"

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

std::string Plural(int count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::optional<std::filesystem::path> WriteCsvOutput(std::string_view operand, std::string_view csv,
                                                    CliIo& io) {
    if (operand == "-") {
        io.out << csv;
        io.out.flush();
        return std::nullopt;
    }
    const std::filesystem::path file = ArgumentPath(operand);
    if (const std::string refusal = OutputFileRefusal(io.home, file); !refusal.empty()) {
        throw UserError(refusal);
    }
    try {
        WriteFileAtomic(file, csv);
    } catch (const StorageError&) {
        throw UserError("não foi possível gravar o arquivo \"" + Shown(file) + "\".");
    }
    return file;
}

}  // namespace velmaro::cli
