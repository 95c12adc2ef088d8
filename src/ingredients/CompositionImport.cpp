#include "ingredients/CompositionImport.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string_view>

#include "ingredients/CompositionColumns.h"
#include "ingredients/CsvReader.h"
#include "ingredients/ExtraValues.h"
#include "ingredients/SheetCells.h"
#include "shell/NameRules.h"
#include "shell/ShortDate.h"
#include "shell/TableCarbohydrate.h"
#include "storage/Collation.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/IngredientRecord.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/Progress.h"
#include "storage/Text.h"

namespace velmaro {

namespace fs = std::filesystem;

namespace {

constexpr size_t kNameWidth = ing::kNameWidth;
constexpr size_t kGroupWidth = 20;
constexpr size_t kTableNameWidth = 20;
constexpr size_t kDescriptionWidth = 65;
constexpr size_t kCostSourceWidth = ing::kCostSourceMaxLength;

// The numeric fields of the ingredient record that a file may give, then those of the
// values kept beside it (CompositionColumns.h).
constexpr std::array<int, 16> kValueFields = {
    ing::kEnergy,          ing::kCarbohydrate,     ing::kProtein,
    ing::kTotalFat,        ing::kSaturatedFat,     ing::kCholesterol,
    ing::kFibre,           ing::kCalcium,          ing::kIron,
    ing::kSodium,          ing::kCorrectionFactor, ing::kCookingFactor,
    ing::kCostPerKilogram, kFirstExtraField,       kFirstExtraField + 1,
    kFirstExtraField + 2};
constexpr size_t kRecordValueCount = 13;  // the first ones, in the 30-field record

// Every field a row may give: the record's 30 and the six beside it.
constexpr size_t kRowFieldCount = kLastExtraField + 1;

// The source field (18 to 30, 34 to 36) of each entry of kValueFields, in the same order.
constexpr int SourceField(size_t valueIndex) {
    return valueIndex < kRecordValueCount
               ? ing::kFirstSource + static_cast<int>(valueIndex)
               : kFirstExtraSourceField + static_cast<int>(valueIndex - kRecordValueCount);
}

using sheet::AsciiLower;
using sheet::AtLine;
using sheet::Capitalized;
using sheet::CleanSpaces;
using sheet::NameProblem;
using sheet::Pad;
using sheet::Quoted;
using sheet::ToCp1252;

bool IsOneOf(std::string_view cell, const std::vector<std::string>& codes) {
    const std::string lower = AsciiLower(cell);
    return std::any_of(codes.begin(), codes.end(), [&](const std::string& code) {
        return AsciiLower(CleanSpaces(code)) == lower;
    });
}

// The column of each field of the record (index: field number; -1 none) and of the one
// source of every value.
struct Columns {
    std::array<int, kRowFieldCount> field{};
    int source = -1;
    int includesFibre = -1;  // "Carboidrato inclui fibra"
    Columns() { field.fill(-1); }
};

int FindColumn(const std::vector<std::string>& header, const std::string& name) {
    const std::string wanted = AsciiLower(CleanSpaces(name));
    for (size_t i = 0; i < header.size(); ++i) {
        if (AsciiLower(CleanSpaces(header[i])) == wanted) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The text of a numeric cell in the mask of its field, blank for "no value"; nothing (and
// a problem) when the cell cannot be stored.
std::optional<std::string> ValueText(std::string_view rawCell, int field,
                                     const CompositionTableSetup& setup, std::string& problem) {
    const std::string_view mask = ing::ValueMask(field);
    const std::string cell = CleanSpaces(rawCell);
    const int width = MaskWidth(mask);
    const int decimals = MaskDecimals(mask);
    const std::string shown = Quoted(*Utf8ToCp1252(cell, '?'));
    const std::string of = W(" de ") + FieldCaption(field);
    if (cell.empty() || IsOneOf(cell, setup.blankCodes)) {
        return BlankMaskText(mask);
    }
    if (IsOneOf(cell, setup.traceCodes)) {
        return FormatNumber(decimals, width, 0);
    }
    const auto value = ParseNumber(cell);
    if (!value) {
        problem = W("o valor ") + shown + of + W(" não é um número nem um código conhecido.");
        return std::nullopt;
    }
    // Formatted without the width of the mask first, so that a value too wide for it is
    // seen, never cut.
    const std::string roomy = FormatNumber(decimals, 40, *value);
    const std::string digits = roomy.substr(roomy.find_first_not_of(' '));
    if (digits.front() == '-') {
        problem = W("o valor ") + shown + of + W(" é negativo.");
        return std::nullopt;
    }
    if (digits.size() > static_cast<size_t>(width)) {
        problem = W("o valor ") + shown + of + W(" não cabe no campo (máximo ") +
                  std::string(MaskPattern(mask)) + ").";
        return std::nullopt;
    }
    return PadLeft(digits, width);
}

// Digits only, 1 to `maxDigits` of them.
std::optional<int> SmallNumber(std::string_view text, size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string TwoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10 % 10)) +
           static_cast<char>('0' + value % 10);
}

// A quotation date as "dd/mm/yy": from "d/m/yy", "dd/mm/yyyy" (years 1950 to 2049, those a
// two-digit year stands for) or "yyyy-mm-dd"; blank for an empty cell or a "no value" code.
std::optional<std::string> DateText(std::string_view rawCell, const CompositionTableSetup& setup,
                                    std::string& problem) {
    const std::string cell = CleanSpaces(rawCell);
    if (cell.empty() || IsOneOf(cell, setup.blankCodes)) {
        return BlankMaskText(ing::kDateMask);
    }
    std::vector<std::string> parts;
    char separator = cell.find('-') != std::string::npos ? '-' : '/';
    size_t start = 0;
    for (size_t i = 0; i <= cell.size(); ++i) {
        if (i == cell.size() || cell[i] == separator) {
            parts.push_back(cell.substr(start, i - start));
            start = i + 1;
        }
    }
    std::optional<int> day;
    std::optional<int> month;
    std::optional<int> year;
    if (parts.size() == 3 && separator == '-' && parts[0].size() == 4) {
        year = SmallNumber(parts[0], 4);
        month = SmallNumber(parts[1], 2);
        day = SmallNumber(parts[2], 2);
    } else if (parts.size() == 3 && separator == '/' &&
               (parts[2].size() == 2 || parts[2].size() == 4)) {
        day = SmallNumber(parts[0], 2);
        month = SmallNumber(parts[1], 2);
        year = SmallNumber(parts[2], 4);
        if (year && parts[2].size() == 2) {
            year = FullYear(*year);
        }
    }
    if (day && month && year && *year >= 1950 && *year <= 2049) {
        const std::string text = TwoDigits(*day) + "/" + TwoDigits(*month) + "/" + TwoDigits(*year);
        if (ParseShortDate(text)) {
            return text;
        }
    }
    problem = W("a data ") + Quoted(*Utf8ToCp1252(cell, '?')) + W(" de ") +
              FieldCaption(ing::kQuotationDate) +
              W(" não é uma data válida (dd/mm/aa, entre 1950 e 2049).");
    return std::nullopt;
}

struct TableTexts {
    std::string name;         // padded to 20
    std::string description;  // padded to 65
    std::string flag;
};

void CheckTable(const CompositionTableSetup& setup, TableTexts& out,
                std::vector<ImportError>& errors) {
    std::string problem;
    const std::string cleanName = CleanSpaces(setup.tableName);
    if (HasControlChar(setup.tableName)) {
        errors.push_back({0, W(kControlCharNameMessage)});
    } else if (cleanName.empty()) {
        errors.push_back({0, W("O nome da tabela está em branco.")});
    } else if (auto name = ToCp1252(cleanName, W("O nome da tabela"), problem); !name) {
        errors.push_back({0, problem});
    } else if (auto p = NameProblem(*name, W("o nome da tabela"), kTableNameWidth, true)) {
        errors.push_back({0, Capitalized(*p)});
    } else if (IsEscapingName(*name)) {
        errors.push_back({0, W(kEscapingNameMessage)});
    } else if (IsReservedTableName(*name)) {
        errors.push_back({0, ReservedTableNameMessage(*name)});
    } else {
        out.name = Pad(*name, kTableNameWidth);
    }
    const std::string cleanDescription = CleanSpaces(setup.description);
    if (auto description = ToCp1252(cleanDescription, W("A descrição da tabela"), problem);
        !description) {
        errors.push_back({0, problem});
    } else if (auto p =
                   NameProblem(*description, W("a descrição da tabela"), kDescriptionWidth, true)) {
        errors.push_back({0, Capitalized(*p)});
    } else {
        out.description = Pad(*description, kDescriptionWidth);
    }
    if (setup.flag.size() != 1 || static_cast<unsigned char>(setup.flag[0]) < 32 ||
        setup.flag[0] == '|' || static_cast<unsigned char>(setup.flag[0]) > 126) {
        errors.push_back({0, W("A marca da tabela deve ser um só caracter (\"1\" para uma tabela "
                               "do usuário).")});
    } else {
        out.flag = setup.flag;
    }
}

// One valid row of the file: the food's name and the texts of the fields the file has a
// column for (values in their masks, the group trimmed and not yet padded, sources as
// given).
struct ParsedRow {
    int line = 0;
    std::string name;  // Windows-1252, trimmed
    std::array<std::optional<std::string>, kRowFieldCount> fields;
    std::string source;  // the one source of every value present; may be empty
};

struct Parsed {
    std::vector<ParsedRow> rows;
    std::vector<std::string> ignoredColumns;
    bool fatal = false;  // an error of the whole file: nothing can be imported
    int refused = 0;
    // What the column "Carboidrato inclui fibra" says, and the first line that said it.
    std::optional<bool> includesFibre;
    int includesFibreLine = 0;
};

// The column "Carboidrato inclui fibra", found by its name in either way of finding
// columns. False (with the error noted) when two columns name it.
bool FindFibreColumn(const CsvRecord& header, Columns& columns,
                     const std::function<void(const std::string&)>& refuse) {
    for (size_t i = 0; i < header.fields.size(); ++i) {
        if (!IsCarbohydrateFibreColumn(CleanSpaces(header.fields[i]))) {
            continue;
        }
        if (columns.includesFibre >= 0) {
            refuse(W("há duas colunas \"Carboidrato inclui fibra\"."));
            return false;
        }
        columns.includesFibre = static_cast<int>(i);
    }
    return true;
}

// The columns of the header, by the names the setup gives or by their Portuguese names.
// False (with the errors noted) when the file cannot be read with them.
bool ReadHeader(const CompositionTableSetup& setup, const CsvRecord& header, Columns& columns,
                Parsed& parsed, std::vector<ImportError>& errors) {
    auto refuse = [&](const std::string& message) {
        errors.push_back({header.line, AtLine(header.line, message)});
    };
    bool ok = FindFibreColumn(header, columns, refuse);
    if (!setup.recogniseColumns) {
        auto need = [&](const std::string& name, bool required) {
            if (name.empty() && !required) {
                return -1;
            }
            const int index = FindColumn(header.fields, name);
            if (index < 0) {
                refuse(W("falta a coluna ") + Quoted(*Utf8ToCp1252(name, '?')) + ".");
                ok = false;
            }
            return index;
        };
        columns.field[ing::kName] = need(setup.nameColumn, true);
        columns.field[ing::kGroup] = need(setup.groupColumn, false);
        columns.source = need(setup.sourceColumn, false);
        for (size_t i = 0; i < setup.valueColumns.size(); ++i) {
            columns.field[static_cast<size_t>(ing::NutrientField(static_cast<int>(i)))] =
                need(setup.valueColumns[i], true);
        }
        return ok;
    }
    for (size_t i = 0; i < header.fields.size(); ++i) {
        if (static_cast<int>(i) == columns.includesFibre) {
            continue;
        }
        const std::string cell = CleanSpaces(header.fields[i]);
        const RecognisedColumn column = RecogniseColumn(cell);
        int* slot = column.generalSource ? &columns.source
                    : column.field > 0   ? &columns.field[static_cast<size_t>(column.field)]
                                         : nullptr;
        if (slot == nullptr) {
            if (!cell.empty()) {
                parsed.ignoredColumns.push_back(*Utf8ToCp1252(cell, '?'));
            }
            continue;
        }
        if (*slot >= 0) {
            const std::string first = CleanSpaces(header.fields[static_cast<size_t>(*slot)]);
            refuse(W("as colunas ") + Quoted(*Utf8ToCp1252(first, '?')) + W(" e ") +
                   Quoted(*Utf8ToCp1252(cell, '?')) + W(" são do mesmo campo."));
            ok = false;
            continue;
        }
        *slot = static_cast<int>(i);
    }
    if (columns.field[ing::kName] < 0) {
        refuse(W("falta a coluna \"nome\"."));
        ok = false;
    }
    return ok;
}

void ParseRows(const CompositionTableSetup& setup, const std::string& text, Parsed& parsed,
               std::vector<ImportError>& errors) {
    std::istringstream in(text);
    const char separator =
        setup.separator == kDetectSeparator ? DetectCsvSeparator(text) : setup.separator;
    CsvReader reader(in, separator);
    auto refuse = [&](int line, const std::string& message) {
        errors.push_back({line, AtLine(line, message)});
    };
    const bool collapse = setup.collapseSpaces;
    try {
        const auto header = reader.Next();
        if (!header) {
            errors.push_back({0, W("O arquivo está vazio: falta a linha de cabeçalho.")});
            parsed.fatal = true;
            return;
        }
        Columns columns;
        if (!ReadHeader(setup, *header, columns, parsed, errors)) {
            parsed.fatal = true;
            return;
        }

        // Keys (by the collation of the line tables) of the names already seen.
        std::map<std::string, int> nameLines;
        int rows = 0;
        while (const auto row = reader.Next()) {
            ++rows;
            const int line = row->line;
            if (row->fields.size() != header->fields.size()) {
                refuse(line, W("a linha tem ") + std::to_string(row->fields.size()) +
                                 W(" campos, mas o cabeçalho tem ") +
                                 std::to_string(header->fields.size()) + ".");
                ++parsed.refused;
                continue;
            }
            auto cell = [&](int index) {
                return index < 0 ? std::string() : row->fields[static_cast<size_t>(index)];
            };
            ParsedRow out;
            out.line = line;
            bool rowOk = true;
            std::string problem;
            auto fail = [&](const std::string& message) {
                refuse(line, message);
                rowOk = false;
            };

            // Name.
            std::string name = CleanSpaces(cell(columns.field[ing::kName]), collapse);
            if (auto renamed = setup.renamedFoods.find(name); renamed != setup.renamedFoods.end()) {
                name = CleanSpaces(renamed->second, collapse);
            }
            if (name.empty()) {
                fail(W("o nome do alimento está em branco."));
            } else if (auto cp = ToCp1252(name, W("o nome"), problem); !cp) {
                fail(problem);
            } else if (auto p = NameProblem(*cp, W("o nome"), kNameWidth, true)) {
                fail(*p);
            } else if (IsEscapingName(*cp)) {
                fail(W(kEscapingNameMessage));
            } else {
                out.name = *cp;
                const auto [it, isNew] = nameLines.emplace(CollationKey(out.name), line);
                if (!isNew) {
                    fail(W("o nome ") + Quoted(out.name) + W(" repete o da linha ") +
                         std::to_string(it->second) +
                         W(" (maiúsculas e minúsculas não distinguem nomes)."));
                }
            }

            // Group.
            if (const int column = columns.field[ing::kGroup]; column >= 0) {
                std::string group = CleanSpaces(cell(column), collapse);
                if (auto mapped = setup.groupNames.find(group); mapped != setup.groupNames.end()) {
                    group = CleanSpaces(mapped->second, collapse);
                }
                if (group.empty()) {
                    out.fields[ing::kGroup] = std::string();
                } else if (auto cp = ToCp1252(group, W("o grupo"), problem); !cp) {
                    fail(problem);
                } else if (auto p = NameProblem(*cp, W("o grupo"), kGroupWidth, true)) {
                    fail(*p);
                } else {
                    out.fields[ing::kGroup] = *cp;
                }
            }

            // The one source of every value present.
            std::string source = CleanSpaces(cell(columns.source), collapse);
            if (source.empty()) {
                source = CleanSpaces(setup.sourceText, collapse);
            }
            if (auto cp = ToCp1252(source, W("a fonte"), problem); !cp) {
                fail(problem);
            } else if (auto p = NameProblem(*cp, W("a fonte"), 0, false)) {
                fail(*p);
            } else {
                out.source = *cp;
            }

            // Values, and the source of each.
            for (size_t i = 0; i < kValueFields.size(); ++i) {
                const int field = kValueFields[i];
                if (const int column = columns.field[static_cast<size_t>(field)]; column >= 0) {
                    if (auto value = ValueText(cell(column), field, setup, problem)) {
                        out.fields[static_cast<size_t>(field)] = *value;
                    } else {
                        fail(problem);
                    }
                }
            }
            if (const int column = columns.field[ing::kQuotationDate]; column >= 0) {
                if (auto date = DateText(cell(column), setup, problem)) {
                    out.fields[ing::kQuotationDate] = *date;
                } else {
                    fail(problem);
                }
            }
            for (size_t i = 0; i < kValueFields.size(); ++i) {
                const int field = SourceField(i);
                const int column = columns.field[static_cast<size_t>(field)];
                if (column < 0) {
                    continue;
                }
                const std::string what = W("a fonte de ") + FieldCaption(kValueFields[i]);
                const size_t width = field == ing::kLastSource ? kCostSourceWidth : 0;
                if (auto cp = ToCp1252(CleanSpaces(cell(column), collapse), what, problem); !cp) {
                    fail(problem);
                } else if (auto p = NameProblem(*cp, what, width, false)) {
                    fail(*p);
                } else {
                    out.fields[static_cast<size_t>(field)] = *cp;
                }
            }

            // One answer for the whole table.
            if (const int column = columns.includesFibre; column >= 0) {
                const std::string answerCell = CleanSpaces(cell(column));
                const std::optional<bool> answer = CarbohydrateFibreAnswer(answerCell);
                if (answerCell.empty()) {
                    // says nothing
                } else if (!answer) {
                    fail(W("\"Carboidrato inclui fibra\" deve ser \"sim\" ou \"não\", não ") +
                         Quoted(*Utf8ToCp1252(answerCell, '?')) + ".");
                } else if (parsed.includesFibre && *parsed.includesFibre != *answer) {
                    fail(W("\"Carboidrato inclui fibra\" é ") +
                         (*answer ? "\"sim\"" : W("\"não\"")) + W(", mas a linha ") +
                         std::to_string(parsed.includesFibreLine) + W(" diz ") +
                         (*answer ? W("\"não\"") : "\"sim\"") +
                         W(": a tabela tem uma só resposta."));
                } else if (!parsed.includesFibre) {
                    parsed.includesFibre = answer;
                    parsed.includesFibreLine = line;
                }
            }

            // Sugars and trans fat that cannot be right are refused; those that disagree
            // with the row's carbohydrate or fats too, unless the import is forced (then
            // they are listed, and the row taken).
            if (rowOk) {
                ExtraValues extras;
                for (size_t i = 0; i < kExtraValueCount; ++i) {
                    extras.values[i] =
                        out.fields[static_cast<size_t>(kFirstExtraField) + i].value_or("");
                }
                auto number = [&](int field) {
                    const auto& given = out.fields[static_cast<size_t>(field)];
                    return given ? ParseNumber(*given) : std::nullopt;
                };
                for (const ExtraValueFinding& finding :
                     CheckExtraValues(extras, number(ing::kCarbohydrate), number(ing::kTotalFat),
                                      number(ing::kSaturatedFat))) {
                    const std::string said = *Utf8ToCp1252(finding.text, '?');
                    if (finding.error) {
                        fail(said);
                    } else if (!setup.importValidRows) {
                        fail(said + W(" Confira os valores (forçada, a importação aceita a "
                                      "linha assim mesmo)."));
                    } else {
                        errors.push_back({line, AtLine(line, W("aviso: ") + said)});
                    }
                }
            }
            if (rowOk) {
                parsed.rows.push_back(std::move(out));
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

void Fill(LineTable& table, std::vector<std::string> lines) {
    table.Clear();
    table.lines.SetSorted(false);
    table.lines.Assign(std::move(lines));
    SortLineTable(table);
}

// The record of a row: over the food's stored record when the table has it (its key and
// the fields the file has no column for stay), else over a record of blank fields; the
// same for the values kept beside the record, given back in `extras`.
// `group` is the group's key as the group file holds it.
std::string ComposeRecord(const ParsedRow& row, const std::string* stored,
                          const ExtraValues& storedExtras, const std::string& key,
                          const std::string& group, ExtraValues& extras) {
    std::array<std::string, kRowFieldCount> f;
    for (size_t i = 0; i < kExtraValueCount; ++i) {
        const ExtraValues& from = stored != nullptr ? storedExtras : ExtraValues{};
        f[static_cast<size_t>(kFirstExtraField) + i] =
            from.values[i].empty() ? BlankMaskText(kExtraValueMask) : from.values[i];
        f[static_cast<size_t>(kFirstExtraSourceField) + i] = from.sources[i];
    }
    for (int n = ing::kEnergy; n <= ing::kFieldCount; ++n) {
        const auto i = static_cast<size_t>(n);
        if (stored != nullptr) {
            f[i] = GetField(n, *stored);
        } else if (n == ing::kQuotationDate) {
            f[i] = BlankMaskText(ing::kDateMask);
        } else if ((n >= ing::kEnergy && n <= ing::kSodium) ||
                   (n >= ing::kCorrectionFactor && n <= ing::kCostPerKilogram)) {
            f[i] = BlankMaskText(ing::ValueMask(n));
        }
    }
    f[ing::kReserved].clear();
    if (row.fields[ing::kGroup]) {
        f[ing::kGroup] = group;
    }
    if (row.fields[ing::kQuotationDate]) {
        f[ing::kQuotationDate] = *row.fields[ing::kQuotationDate];
    }
    for (size_t i = 0; i < kValueFields.size(); ++i) {
        const auto value = static_cast<size_t>(kValueFields[i]);
        const auto source = static_cast<size_t>(SourceField(i));
        const bool valueGiven = row.fields[value].has_value();
        if (valueGiven) {
            f[value] = *row.fields[value];
        }
        const bool blank = f[value] == BlankMaskText(ing::ValueMask(kValueFields[i]));
        if (row.fields[source] && (!row.fields[source]->empty() || !valueGiven || blank)) {
            f[source] = *row.fields[source];  // a source column of its own, blank values too
        } else if (valueGiven && blank) {
            f[source].clear();
        } else if (valueGiven && !row.source.empty()) {
            f[source] = row.source;
        } else if (row.fields[source]) {
            f[source].clear();
        }
    }
    for (size_t i = 0; i < kExtraValueCount; ++i) {
        extras.values[i] = f[static_cast<size_t>(kFirstExtraField) + i];
        extras.sources[i] = f[static_cast<size_t>(kFirstExtraSourceField) + i];
    }
    std::string record = key + "|";
    for (int n = ing::kEnergy; n <= ing::kFieldCount; ++n) {
        record += f[static_cast<size_t>(n)] + "|";
    }
    return record;
}

// The rows merged into the table's ingredients and groups (both sorted again once).
void MergeRows(const std::vector<ParsedRow>& rows, LineTable& ingredients, LineTable& groups,
               ExtraValuesTable& extraValues, ImportResult& result) {
    // Groups new to the table, spelt as first seen (groups that differ only in case are
    // one group).
    std::map<std::string, std::string> newGroups;
    auto groupKey = [&](const std::optional<std::string>& text) -> std::string {
        if (!text || text->empty()) {
            return {};
        }
        const std::string padded = Pad(*text, kGroupWidth);
        if (const FindResult found = FindKey(groups.keys, padded); found.found) {
            return groups.keys[found.index];
        }
        return newGroups.emplace(CollationKey(*text), padded).first->second;
    };

    std::vector<std::string> lines = ingredients.lines.Items();
    lines.reserve(lines.size() + rows.size());
    for (const ParsedRow& row : rows) {
        const std::string padded = Pad(row.name, kNameWidth);
        const std::string group = groupKey(row.fields[ing::kGroup]);
        const FindResult found = FindKey(ingredients.keys, padded);
        ExtraValues extras;
        if (found.found) {
            const auto index = static_cast<size_t>(found.index);
            const std::string key = ingredients.keys[found.index];
            lines[index] =
                ComposeRecord(row, &lines[index], extraValues.Find(key), key, group, extras);
            extraValues.Set(key, extras);
            result.replacedNames.push_back(key);
            ++result.replaced;
        } else {
            lines.push_back(ComposeRecord(row, nullptr, {}, padded, group, extras));
            extraValues.Set(padded, extras);
            ++result.added;
        }
    }
    Fill(ingredients, std::move(lines));

    if (!newGroups.empty()) {
        std::vector<std::string> groupLines = groups.lines.Items();
        for (const auto& [key, spelling] : newGroups) {
            groupLines.push_back(spelling + "|");
        }
        Fill(groups, std::move(groupLines));
    }
    result.groupCount = static_cast<int>(newGroups.size());
}

// A file of the table that already holds something other than what the import writes.
bool HoldsOtherData(const fs::path& path, const std::string& bytes) {
    const std::string existing = ReadFileBytes(path);
    return !existing.empty() && existing != bytes;
}

// The text of the file as UTF-8.
std::string DecodedText(const CompositionTableSetup& setup, std::istream& csv) {
    std::string text{std::istreambuf_iterator<char>(csv), std::istreambuf_iterator<char>()};
    if (setup.encoding == CompositionTableSetup::Encoding::Detect) {
        return SpreadsheetTextAsUtf8(std::move(text));
    }
    return text;
}

}  // namespace

ImportResult ImportCompositionTable(const fs::path& home, const CompositionTableSetup& setup,
                                    std::istream& csv) {
    ImportResult result;
    TableTexts table;
    CheckTable(setup, table, result.errors);
    const bool tableOk = result.errors.empty();
    Parsed parsed;
    ParseRows(setup, DecodedText(setup, csv), parsed, result.errors);
    result.refusedRows = parsed.refused;
    result.ignoredColumns = parsed.ignoredColumns;
    if (!tableOk || parsed.fatal || (parsed.refused > 0 && !setup.importValidRows)) {
        result.status = ImportStatus::InvalidData;
        return result;
    }
    if (parsed.rows.empty()) {
        result.status = ImportStatus::InvalidData;
        result.errors.push_back({0, W("Nenhuma linha do arquivo pôde ser importada.")});
        return result;
    }
    result.ingredientCount = static_cast<int>(parsed.rows.size());
    const std::string shownName = Quoted(TrimTrailingSpaces(table.name));

    struct Written {
        fs::path path;
        std::string previous;
        bool removeOnUndo = false;  // the file did not exist before
    };
    std::vector<Written> written;
    try {
        LineTable list;
        const fs::path listPath = TableListPath(home);
        LoadLineTable(listPath, list);
        // A file that did not read whole is left as it is: nothing is imported.
        RefuseDamaged(list.lines.Check());
        const FindResult listed = FindKey(list.keys, table.name);
        LineTable ingredients;
        LineTable groups;
        ExtraValuesTable extraValues;
        std::string key = table.name;
        // The table's answer to "carbohydrate includes fibre" after the import, and
        // whether its file is to be written.
        bool includesFibre = parsed.includesFibre.value_or(setup.carbohydrateIncludesFibre);
        bool writeFibre = !listed.found;
        if (listed.found) {
            // An existing table is written over only when that is asked for, and a table
            // for consultation only when the import is for such a table.
            if (!setup.addToExistingTable) {
                result.status = ImportStatus::TableExists;
                result.errors.push_back(
                    {0, W("A tabela ") + shownName + W(" já existe na lista de tabelas!")});
                return result;
            }
            key = list.keys[listed.index];
            if (GetRecordField(list.lines, listed.index, 3) != "1" && setup.flag == "1") {
                result.status = ImportStatus::ReadOnlyTable;
                result.errors.push_back({0, W("A tabela ") + Quoted(TrimTrailingSpaces(key)) +
                                                W(" é somente para consulta.")});
                return result;
            }
            NullProgress progress;
            LoadScrambledLineTable(IngredientFilePath(home, key), ingredients, progress);
            LoadLineTable(IngredientGroupsPath(home, key), groups);
            RefuseDamaged(ingredients.lines.Check());
            RefuseDamaged(groups.lines.Check());
            extraValues = LoadExtraValues(home, key);
            // A supplied table keeps what its definition gave it.
            const bool userTable = GetRecordField(list.lines, listed.index, 3) == "1";
            const bool stored = CarbohydrateIncludesFibre(home, key);
            writeFibre = userTable && parsed.includesFibre && *parsed.includesFibre != stored;
            if (writeFibre && ingredients.lines.Count() > 0) {
                result.status = ImportStatus::InvalidData;
                result.errors.push_back(
                    {0, W("A tabela ") + Quoted(TrimTrailingSpaces(key)) +
                            (stored ? W(" tem o carboidrato com a fibra alimentar incluída")
                                    : W(" tem o carboidrato sem a fibra alimentar")) +
                            W(", mas o arquivo diz o contrário (coluna \"Carboidrato inclui "
                              "fibra\"); nada foi importado. Corrija o arquivo ou mude a "
                              "escolha no Cadastro de tabelas.")});
                return result;
            }
            if (!writeFibre) {
                includesFibre = stored;
            }
            // Lines of it that cannot be read would be lost by writing it back.
            if (!extraValues.Problems().empty()) {
                const ExtraValuesProblem& first = extraValues.Problems().front();
                result.status = ImportStatus::WriteFailed;
                result.errors.push_back(
                    {0, W("O arquivo ") + W(ExtraValuesFileLocation(home, key).string()) +
                            W(" está danificado (linha ") + std::to_string(first.line) +
                            "): " + first.what + W(". Nada foi importado.")});
                return result;
            }
        }
        MergeRows(parsed.rows, ingredients, groups, extraValues, result);
        const std::string ingredientBytes = ScrambledLineTableBytes(ingredients.lines);
        const std::string groupBytes = LineTableBytes(groups.lines);
        const std::string extraBytes = extraValues.Bytes();
        const fs::path extraPath = ExtraValuesFileLocation(home, key);
        std::error_code ec;
        // Files left in the folder of a table deleted from the list are never replaced.
        if (!listed.found && fs::exists(TableFolder(home, key), ec)) {
            const bool otherExtras =
                fs::exists(extraPath, ec) && HoldsOtherData(extraPath, extraBytes);
            if (HoldsOtherData(IngredientFilePath(home, key), ingredientBytes) ||
                HoldsOtherData(IngredientGroupsPath(home, key), groupBytes) || otherExtras) {
                result.status = ImportStatus::TableExists;
                result.errors.push_back(
                    {0, W("A pasta da tabela ") + shownName +
                            W(" já tem ingredientes ou grupos gravados; nada foi importado.")});
                return result;
            }
        }

        // The ingredient file and the values beside its records (with the groups) go in one
        // batch: both new or both as they were, never the energy of one import with the
        // sugars of another. A new table appears in the list only once its files are
        // complete.
        const fs::path ingredientPath = IngredientFilePath(home, key);
        FileBatch batch;
        // A table without any values beside its records keeps having no file of them.
        if (!extraBytes.empty() || fs::exists(extraPath, ec)) {
            const bool existed = fs::exists(extraPath, ec);
            written.push_back({extraPath, existed ? ReadFileBytes(extraPath) : std::string()});
            written.back().removeOnUndo = !existed;
            EnsureFolder(extraPath.parent_path());
            batch.Add(extraPath, extraBytes);
        }
        written.push_back({ingredientPath, ReadFileBytes(ingredientPath)});
        batch.Add(ingredientPath, ingredientBytes);
        // "Não" needs no file, unless one is there already (left by a deleted table).
        const fs::path fibrePath = CarbohydrateFibreFileLocation(home, key);
        const bool fibreExisted = fs::exists(fibrePath, ec);
        if (writeFibre && (includesFibre || fibreExisted)) {
            written.push_back({fibrePath, fibreExisted ? ReadFileBytes(fibrePath) : std::string(),
                               !fibreExisted});
            batch.Add(fibrePath, CarbohydrateFibreFileBytes(includesFibre));
        }
        result.carbohydrateIncludesFibre = includesFibre;
        if (!listed.found || result.groupCount > 0) {
            const fs::path groupPath = IngredientGroupsPath(home, key);
            written.push_back({groupPath, ReadFileBytes(groupPath)});
            batch.Add(groupPath, groupBytes);
        }
        // Only the files the batch replaced are put back after a failure.
        try {
            batch.Commit();
        } catch (const StorageError&) {
            written.resize(batch.Committed());
            throw;
        }
        if (!listed.found) {
            InsertRecord(list, table.name + "|" + table.description + "|" + table.flag + "|");
            SaveLineTable(listPath, list.lines);
            result.tableCreated = true;
        }
    } catch (const std::exception& e) {
        for (auto it = written.rbegin(); it != written.rend(); ++it) {
            try {
                if (it->removeOnUndo) {
                    std::error_code removed;
                    fs::remove(it->path, removed);
                    continue;
                }
                WriteFileAtomic(it->path, it->previous);
            } catch (const std::exception&) {
                // The first failure is the one reported.
            }
        }
        result.status = ImportStatus::WriteFailed;
        const std::string reason = *Utf8ToCp1252(e.what(), '?');
        result.errors.push_back({0, dynamic_cast<const DamagedFileError*>(&e) != nullptr
                                        ? reason + W(" Nada foi importado.")
                                        : W("Erro ao gravar a tabela ") + shownName + ": " +
                                              reason + W(". Nada foi importado.")});
        return result;
    }
    result.status = ImportStatus::Imported;
    return result;
}

}  // namespace velmaro
