#include "output/reference/ReferenceValuesCsv.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "ingredients/CompositionColumns.h"
#include "ingredients/CsvReader.h"
#include "ingredients/CsvWriter.h"
#include "ingredients/FileRewrites.h"
#include "ingredients/SheetCells.h"
#include "output/reference/ValRefForms.h"
#include "storage/Collation.h"
#include "storage/Cp1252.h"
#include "storage/FileDamage.h"
#include "storage/FileIo.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace fs = std::filesystem;

namespace {

using sheet::AtLine;
using sheet::CleanSpaces;
using sheet::NameProblem;
using sheet::Pad;
using sheet::Quoted;
using sheet::ToCp1252;

constexpr size_t kColumnCount = kReferenceColumns.size();

// The folded headers (FoldedHeader) that name each column, in field order.
const std::array<std::vector<std::string_view>, kColumnCount>& Aliases() {
    static const std::array<std::vector<std::string_view>, kColumnCount> aliases = {{
        {"alimento", "alimentos", "nome", "nome do alimento"},
        {"valor de referencia", "valor referencia", "valor", "porcao", "porcao de referencia",
         "porcao referencia"},
        {"unidade", "unid", "un"},
        {"medida caseira", "medida"},
        {"peso medio", "peso medio por medida caseira", "peso medio da medida caseira", "peso"},
        {"apresentacao no rotulo", "apresentacao", "apresentacao da medida caseira no rotulo",
         "formas de apresentacao das medidas caseiras no rotulo com arredondamento"},
        {"tabela", "tabela de referencia", "grupo", "grupo de alimentos", "grupo do alimento"},
    }};
    return aliases;
}

// The field (0-based column of kReferenceColumns) a header names, or nothing.
std::optional<size_t> ColumnOf(std::string_view utf8Header) {
    const std::string folded = FoldedHeader(utf8Header);
    for (size_t i = 0; i < kColumnCount; ++i) {
        const auto& names = Aliases()[i];
        if (std::find(names.begin(), names.end(), folded) != names.end()) {
            return i;
        }
    }
    return std::nullopt;
}

constexpr size_t kFood = valref::kFood - 1;
constexpr size_t kValue = valref::kValue - 1;
constexpr size_t kUnit = valref::kUnit - 1;
constexpr size_t kTable = valref::kTable - 1;

bool IsRequired(size_t column) {
    return column == kFood || column == kValue || column == kUnit || column == kTable;
}

// The subject of a message about a cell of the column, Windows-1252.
std::string Subject(size_t column) {
    static constexpr std::array<std::string_view, kColumnCount> kSubjects = {
        "o alimento",   "o valor de referência",    "a unidade", "a medida caseira",
        "o peso médio", "a apresentação no rótulo", "a tabela"};
    return W(kSubjects[column]);
}

using Row = std::array<std::string, kColumnCount>;  // Windows-1252, trimmed

struct ParsedRows {
    std::vector<std::pair<int, Row>> rows;  // line, fields
    std::vector<std::string> ignoredColumns;
    int refused = 0;
    bool fatal = false;
};

// The columns of the header: the index of each field's column (-1 none). False, with the
// errors noted, when the file cannot be read with them.
bool ReadHeader(const CsvRecord& header, std::array<int, kColumnCount>& columns, ParsedRows& parsed,
                std::vector<ImportError>& errors) {
    columns.fill(-1);
    bool ok = true;
    auto refuse = [&](const std::string& message) {
        errors.push_back({header.line, AtLine(header.line, message)});
        ok = false;
    };
    for (size_t i = 0; i < header.fields.size(); ++i) {
        const std::string cell = CleanSpaces(header.fields[i]);
        const auto column = ColumnOf(cell);
        if (!column) {
            if (!cell.empty()) {
                parsed.ignoredColumns.push_back(*Utf8ToCp1252(cell, '?'));
            }
            continue;
        }
        int& slot = columns[*column];
        if (slot >= 0) {
            const std::string first = CleanSpaces(header.fields[static_cast<size_t>(slot)]);
            refuse(W("as colunas ") + Quoted(*Utf8ToCp1252(first, '?')) + W(" e ") +
                   Quoted(*Utf8ToCp1252(cell, '?')) + W(" são do mesmo campo."));
            continue;
        }
        slot = static_cast<int>(i);
    }
    for (size_t column = 0; column < kColumnCount; ++column) {
        if (IsRequired(column) && columns[column] < 0) {
            refuse(W("falta a coluna \"") + W(kReferenceColumns[column].header) + "\".");
        }
    }
    return ok;
}

// The checks of one cell; nothing, with the reason in `problem`, when it cannot be stored.
std::optional<std::string> CellText(std::string_view rawCell, size_t column, std::string& problem) {
    const std::string subject = Subject(column);
    const std::string utf8 = CleanSpaces(rawCell, false);
    auto text = ToCp1252(utf8, subject, problem);
    if (!text) {
        return std::nullopt;
    }
    // The unit may be left out only for a portion given as a text (checked with the row).
    if (IsRequired(column) && column != kUnit && text->empty()) {
        problem = subject + W(" está em branco.");
        return std::nullopt;
    }
    if (column == kUnit && text->empty()) {
        return text;
    }
    if (column == kUnit) {
        const std::string unit = sheet::AsciiLower(*text);
        if (unit != "g" && unit != "ml") {
            problem = subject + " " + Quoted(*text) + W(" não é g nem ml.");
            return std::nullopt;
        }
        return unit;
    }
    const bool isName = column == kFood || column == kTable;
    if (auto p = NameProblem(*text, subject, kReferenceColumns[column].width, isName)) {
        problem = *p;
        return std::nullopt;
    }
    return text;
}

void ParseRows(const std::string& text, ParsedRows& parsed, std::vector<ImportError>& errors) {
    std::istringstream in(text);
    CsvReader reader(in, DetectCsvSeparator(text));
    auto refuse = [&](int line, const std::string& message) {
        errors.push_back({line, AtLine(line, message)});
    };
    try {
        const auto header = reader.Next();
        if (!header) {
            errors.push_back({0, W("O arquivo está vazio: falta a linha de cabeçalho.")});
            parsed.fatal = true;
            return;
        }
        std::array<int, kColumnCount> columns{};
        if (!ReadHeader(*header, columns, parsed, errors)) {
            parsed.fatal = true;
            return;
        }
        std::map<std::string, int> foodLines;  // collation key of a food, its first line
        int rows = 0;
        while (const auto record = reader.Next()) {
            ++rows;
            const int line = record->line;
            if (record->fields.size() != header->fields.size()) {
                refuse(line, W("a linha tem ") + std::to_string(record->fields.size()) +
                                 W(" campos, mas o cabeçalho tem ") +
                                 std::to_string(header->fields.size()) + ".");
                ++parsed.refused;
                continue;
            }
            Row row;
            bool rowOk = true;
            for (size_t column = 0; column < kColumnCount; ++column) {
                if (columns[column] < 0) {
                    continue;
                }
                std::string problem;
                const auto cell =
                    CellText(record->fields[static_cast<size_t>(columns[column])], column, problem);
                if (!cell) {
                    refuse(line, problem);
                    rowOk = false;
                    continue;
                }
                row[column] = *cell;
            }
            if (rowOk && row[kUnit].empty() && ParseNumber(row[kValue])) {
                refuse(line, Subject(kUnit) + W(" está em branco (só um valor de referência em "
                                                "texto fica sem unidade)."));
                rowOk = false;
            }
            if (!row[kFood].empty()) {
                const auto [it, isNew] = foodLines.emplace(CollationKey(row[kFood]), line);
                if (!isNew) {
                    refuse(line, W("o alimento ") + Quoted(row[kFood]) + W(" repete o da linha ") +
                                     std::to_string(it->second) +
                                     W(" (maiúsculas e minúsculas não distinguem nomes)."));
                    rowOk = false;
                }
            }
            if (rowOk) {
                parsed.rows.emplace_back(line, std::move(row));
            } else {
                ++parsed.refused;
            }
        }
        if (rows == 0) {
            errors.push_back({0, W("O arquivo não tem nenhum alimento.")});
            parsed.fatal = true;
        }
    } catch (const CsvError& e) {
        refuse(e.line, e.what());
        parsed.fatal = true;
    }
}

std::string SortedBytes(std::vector<std::string> lines) {
    LineList list;
    list.SetSorted(false);
    list.Assign(std::move(lines));
    list.SetSorted(true);
    return LineTableBytes(list);
}

bool HoldsRecord(std::string_view line) {
    return !line.empty() && line.back() == '|' &&
           std::count(line.begin(), line.end(), '|') == valref::kFieldCount;
}

// The bytes of a file of the data home, empty when there is none.
std::string StoredBytes(const fs::path& path) {
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        return {};
    }
    return ReadFileBytes(path);
}

}  // namespace

ReferenceImportResult ImportReferenceValues(const fs::path& home, std::istream& csv,
                                            bool importValidRows) {
    ReferenceImportResult result;
    ParsedRows parsed;
    ParseRows(SpreadsheetTextAsUtf8(
                  {std::istreambuf_iterator<char>(csv), std::istreambuf_iterator<char>()}),
              parsed, result.errors);
    result.refusedRows = parsed.refused;
    result.ignoredColumns = parsed.ignoredColumns;
    if (parsed.fatal || (parsed.refused > 0 && !importValidRows)) {
        return result;
    }
    if (parsed.rows.empty()) {
        result.errors.push_back({0, W("Nenhuma linha do arquivo pôde ser importada.")});
        return result;
    }

    // The reference tables, one for names that differ only in case, spelt as first seen.
    std::map<std::string, std::string> tables;
    std::vector<std::string> foodLines;
    for (auto& [line, row] : parsed.rows) {
        const std::string& table =
            tables.emplace(CollationKey(row[kTable]), row[kTable]).first->second;
        row[kTable] = table;
        std::string record;
        for (size_t column = 0; column < kColumnCount; ++column) {
            record += Pad(row[column], kReferenceColumns[column].width) + "|";
        }
        foodLines.push_back(std::move(record));
    }
    std::vector<std::string> tableLines;
    for (const auto& [key, table] : tables) {
        tableLines.push_back(Pad(table, kReferenceColumns[kTable].width) + "|");
    }

    try {
        const fs::path valuesPath = ReferenceValuesLocation(home);
        const fs::path tablesPath = ReferenceTableLocation(home);
        result.previousFoods = static_cast<int>(ReadReferenceValues(home).foods.size());
        EnsureFolder(DataFolder(home));
        // The list and its tables go together, or neither changes.
        WriteAllOrRestore({{valuesPath, SortedBytes(std::move(foodLines))},
                           {tablesPath, SortedBytes(std::move(tableLines))}});
    } catch (const StorageError& e) {
        result.errors.push_back({0, W("Erro ao gravar os valores de referência: ") +
                                        *Utf8ToCp1252(e.what(), '?') + W(". Nada foi importado.")});
        return result;
    }
    result.written = true;
    result.imported = static_cast<int>(parsed.rows.size());
    result.tables = static_cast<int>(tables.size());
    return result;
}

StoredReferenceValues ReadReferenceValues(const fs::path& home) {
    StoredReferenceValues stored;
    // Every line is read (a NUL byte hides none after it); the line that held it is named,
    // not exported.
    ReadCheck check;
    const std::vector<std::string> lines =
        ReadCheckedLines(StoredBytes(ReferenceValuesLocation(home)), check);
    std::set<int> damaged;
    for (const Damage& damage : check.damages) {
        damaged.insert(damage.line);
    }
    std::map<std::string, int> names;  // collation keys of the names read, and their lines
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty() && !damaged.contains(static_cast<int>(i + 1))) {
            continue;
        }
        if (!HoldsRecord(lines[i]) || damaged.contains(static_cast<int>(i + 1))) {
            stored.unreadableLines.push_back(static_cast<int>(i + 1));
            continue;
        }
        const auto [first, isNew] = names.emplace(
            CollationKey(TrimTrailingSpaces(RecordKey(lines[i]))), static_cast<int>(i + 1));
        if (!isNew) {
            stored.repeatedLines.emplace_back(static_cast<int>(i + 1), first->second);
            continue;
        }
        std::array<std::string, kColumnCount> food;
        for (size_t column = 0; column < kColumnCount; ++column) {
            food[column] = TrimTrailingSpaces(GetField(static_cast<int>(column) + 1, lines[i]));
        }
        stored.foods.push_back(std::move(food));
    }
    return stored;
}

ReferenceExportResult ExportReferenceValues(const fs::path& home) {
    const StoredReferenceValues stored = ReadReferenceValues(home);
    ReferenceExportResult result;
    result.unreadableLines = stored.unreadableLines;
    result.repeatedLines = stored.repeatedLines;
    result.csv += kCsvByteOrderMark;
    std::vector<std::string> cells;
    for (const ReferenceColumn& column : kReferenceColumns) {
        cells.emplace_back(column.header);
    }
    result.csv += CsvRow(cells);
    std::map<std::string, bool> named;  // collation keys of the tables the foods name
    for (const auto& food : stored.foods) {
        cells.clear();
        for (const std::string& field : food) {
            cells.push_back(Cp1252ToUtf8(field));
        }
        result.csv += CsvRow(cells);
        named[CollationKey(food[kTable])] = true;
        ++result.exported;
    }
    for (const std::string& line : SplitLines(StoredBytes(ReferenceTableLocation(home)))) {
        const std::string table = TrimTrailingSpaces(RecordKey(line));
        if (!line.empty() && !named.contains(CollationKey(table))) {
            result.tablesWithoutFoods.push_back(table);
        }
    }
    return result;
}

}  // namespace velmaro
