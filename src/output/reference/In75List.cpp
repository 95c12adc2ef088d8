#include "output/reference/In75List.h"

#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "ingredients/CsvReader.h"
#include "ingredients/CsvWriter.h"
#include "output/labels/current/Rdc429Rules.h"
#include "output/reference/ReferenceValuesCsv.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace fs = std::filesystem;

namespace {

std::string Failure(const std::string& detail) {
    return W("Não foi possível instalar a lista de valores de referência (IN 75/2020, Anexo V): ") +
           detail;
}

int Column(const std::vector<std::string>& header, std::string_view name) {
    for (size_t i = 0; i < header.size(); ++i) {
        if (header[i] == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The group of an annex heading: "Grupo I: Produtos de panificação …".
std::optional<size_t> GroupOfHeading(std::string_view heading) {
    constexpr std::string_view kPrefix = "Grupo ";
    if (heading.substr(0, kPrefix.size()) != kPrefix) {
        return std::nullopt;
    }
    heading.remove_prefix(kPrefix.size());
    const size_t colon = heading.find(':');
    return colon == std::string_view::npos ? std::nullopt
                                           : In75GroupOfNumeral(heading.substr(0, colon));
}

// Names of the annex that hold a character no name of the list may hold (":"): the name as
// the list keeps it.
std::string ListedName(const std::string& food) {
    if (food == "Preparações à base de soja tipo: milanesa, almondegas e hambúrguer") {
        return "Preparações à base de soja tipo milanesa, almondegas e hambúrguer";
    }
    return food;
}

// The annex as the spreadsheet the reference list is imported from (UTF-8).
std::string ImportSheet(std::istream& annex) {
    CsvReader reader(annex, ';');
    const auto header = reader.Next();
    const int group = header ? Column(header->fields, "grupo") : -1;
    const int food = header ? Column(header->fields, "alimento") : -1;
    const int portion = header ? Column(header->fields, "porcao") : -1;
    const int unit = header ? Column(header->fields, "unidade") : -1;
    const int measure = header ? Column(header->fields, "medida_caseira") : -1;
    if (group < 0 || food < 0 || portion < 0 || unit < 0 || measure < 0) {
        throw StorageError("faltam colunas no arquivo do anexo");
    }
    std::vector<std::string> cells;
    for (const ReferenceColumn& column : kReferenceColumns) {
        cells.emplace_back(column.header);
    }
    std::string sheet = CsvRow(cells);
    while (const auto row = reader.Next()) {
        if (row->fields.size() != header->fields.size()) {
            throw StorageError("linha " + std::to_string(row->line) +
                               " do anexo sem os campos do cabeçalho");
        }
        auto at = [&](int c) { return row->fields[static_cast<size_t>(c)]; };
        const auto g = GroupOfHeading(at(group));
        if (!g) {
            throw StorageError("linha " + std::to_string(row->line) + " do anexo sem grupo");
        }
        cells = {ListedName(at(food)),
                 at(portion),
                 at(unit),
                 at(measure),
                 "",
                 "",
                 std::string(kIn75GroupNames[*g])};
        sheet += CsvRow(cells);
    }
    return sheet;
}

bool HasLines(const fs::path& path) {
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        return false;
    }
    for (const std::string& line : SplitLines(ReadFileBytes(path))) {
        if (!line.empty()) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::optional<size_t> In75GroupOfNumeral(std::string_view numeral) {
    std::string upper(numeral);
    for (char& c : upper) {
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    for (size_t i = 0; i < rdc429::kPortionGroups.size(); ++i) {
        if (rdc429::kPortionGroups[i].numeral == upper) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<size_t> In75GroupOfTable(std::string_view table) {
    const std::string name = TrimTrailingSpaces(table);
    for (size_t i = 0; i < kIn75GroupNames.size(); ++i) {
        if (W(kIn75GroupNames[i]) == name) {
            return i;
        }
    }
    return std::nullopt;
}

bool ReferenceListPending(const fs::path& home) {
    std::error_code ec;
    return !fs::exists(DataFolder(home) / kIn75Marker, ec) && !ec;
}

std::string InstallReferenceList(const fs::path& deliveredDir, const fs::path& home) {
    if (!ReferenceListPending(home)) {
        return {};
    }
    std::error_code ec;
    const fs::path csvPath = deliveredDir / kIn75Csv;
    if (!fs::is_regular_file(csvPath, ec)) {
        return {};  // not delivered with this program
    }
    try {
        if (!HasLines(ReferenceValuesLocation(home))) {
            // The tables the home names already stay beside the annex's groups.
            std::vector<std::string> ownTables;
            if (HasLines(ReferenceTableLocation(home))) {
                LineTable tables;
                LoadLineTable(ReferenceTableLocation(home), tables);
                RefuseDamaged(tables.lines.Check());
                ownTables = tables.lines.Items();
            }
            std::ifstream annex(csvPath, std::ios::binary);
            if (!annex) {
                return Failure(W("o arquivo ") + W(csvPath.string()) + W(" não pode ser lido."));
            }
            std::istringstream sheet(ImportSheet(annex));
            const ReferenceImportResult result = ImportReferenceValues(home, sheet, false);
            if (!result.written) {
                return Failure(result.errors.empty() ? W("nada foi gravado.")
                                                     : result.errors.front().message);
            }
            if (!ownTables.empty()) {
                LineTable tables;
                LoadLineTable(ReferenceTableLocation(home), tables);
                bool added = false;
                for (std::string& line : ownTables) {
                    if (!line.empty() && !FindKey(tables.keys, RecordKey(line)).found) {
                        InsertRecord(tables, std::move(line));
                        added = true;
                    }
                }
                if (added) {
                    SaveLineTable(ReferenceTableLocation(home), tables.lines);
                }
            }
        }
        WriteFileAtomic(DataFolder(home) / kIn75Marker,
                        W("Valores de referência da IN 75/2020 (Anexo V) fornecidos com o "
                          "programa: já tratados nesta pasta de dados. Para instalá-los de novo "
                          "(só numa pasta sem lista de valores de referência), exclua este "
                          "arquivo.\r\n"));
    } catch (const std::exception& e) {
        return Failure(*Utf8ToCp1252(e.what(), '?'));
    }
    return {};
}

}  // namespace velmaro
