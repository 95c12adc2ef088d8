#include "ingredients/CompositionImport.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "ingredients/CsvReader.h"
#include "shell/NameRules.h"
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

struct ValueField {
    const char* caption;  // UTF-8, as the ingredient screen labels the field
    std::string_view mask;
};

// Fields 2 to 11 of the ingredient record, in the nutrient order.
constexpr std::array<ValueField, ing::kNutrientCount> kValueFields = {{
    {"Calorias (KCal)", ing::ValueMask(ing::kEnergy)},
    {"Glicídios (g)", ing::ValueMask(ing::kCarbohydrate)},
    {"Proteínas (g)", ing::ValueMask(ing::kProtein)},
    {"Gordura Total (g)", ing::ValueMask(ing::kTotalFat)},
    {"Gordura Saturada (g)", ing::ValueMask(ing::kSaturatedFat)},
    {"Colesterol (mg)", ing::ValueMask(ing::kCholesterol)},
    {"Fibra (g)", ing::ValueMask(ing::kFibre)},
    {"Cálcio (mg)", ing::ValueMask(ing::kCalcium)},
    {"Ferro (mg)", ing::ValueMask(ing::kIron)},
    {"Sódio (mg)", ing::ValueMask(ing::kSodium)},
}};

std::string Quoted(std::string_view cp1252) {
    return "\"" + std::string(cp1252) + "\"";
}

std::string AtLine(int line, const std::string& message) {
    return W("Linha ") + std::to_string(line) + ": " + message;
}

std::string Pad(std::string text, size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

bool IsBlankChar(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Ends trimmed, inner runs of white space made one space.
std::string CleanSpaces(std::string_view text) {
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

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

bool IsOneOf(std::string_view cell, const std::vector<std::string>& codes) {
    const std::string lower = AsciiLower(cell);
    return std::any_of(codes.begin(), codes.end(), [&](const std::string& code) {
        return AsciiLower(CleanSpaces(code)) == lower;
    });
}

// The reason a text cannot be stored in a name field, or in a free text field when
// `isName` is false (there only "|" and control characters are refused), or nothing.
// `what` is the Windows-1252 subject of the message ("o nome", "o grupo", "a fonte").
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

std::string Capitalized(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    return text;
}

// The Windows-1252 form of a UTF-8 cell, or the reason it has none.
std::optional<std::string> ToCp1252(std::string_view utf8, std::string_view what,
                                    std::string& problem) {
    auto text = Utf8ToCp1252(utf8);
    if (!text) {
        problem = std::string(what) + " " + Quoted(*Utf8ToCp1252(utf8, '?')) +
                  W(" tem caracteres que o programa não consegue gravar.");
    }
    return text;
}

struct Columns {
    int name = -1;
    int group = -1;
    int source = -1;
    std::array<int, 10> values{};
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

// The text of a value cell in its mask, blank for "no value"; nothing (and a problem)
// when the cell cannot be stored.
std::optional<std::string> ValueText(std::string_view rawCell, const ValueField& field,
                                     const CompositionTableSpec& setup, std::string& problem) {
    const std::string cell = CleanSpaces(rawCell);
    const int width = MaskWidth(field.mask);
    const int decimals = MaskDecimals(field.mask);
    const std::string shown = Quoted(*Utf8ToCp1252(cell, '?'));
    const std::string of = W(" de ") + W(field.caption);
    if (cell.empty() || IsOneOf(cell, setup.blankCodes)) {
        return BlankMaskText(field.mask);
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
                  std::string(MaskPattern(field.mask)) + ").";
        return std::nullopt;
    }
    return PadLeft(digits, width);
}

struct TableTexts {
    std::string name;         // padded to 20
    std::string description;  // padded to 65
    std::string flag;
};

void CheckTable(const CompositionTableSpec& setup, TableTexts& out,
                std::vector<ImportError>& errors) {
    std::string problem;
    const std::string cleanName = CleanSpaces(setup.tableName);
    if (cleanName.empty()) {
        errors.push_back({0, W("O nome da tabela está em branco.")});
    } else if (auto name = ToCp1252(cleanName, W("O nome da tabela"), problem); !name) {
        errors.push_back({0, problem});
    } else if (auto p = NameProblem(*name, W("o nome da tabela"), kTableNameWidth, true)) {
        errors.push_back({0, Capitalized(*p)});
    } else if (IsEscapingName(*name)) {
        errors.push_back({0, W(kEscapingNameMessage)});
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

struct Parsed {
    LineTable ingredients;
    LineTable groups;
};

void Fill(LineTable& table, std::vector<std::string> lines) {
    table.Clear();
    table.lines.SetSorted(false);
    table.lines.Assign(std::move(lines));
    SortLineTable(table);
}

void ParseRows(const CompositionTableSpec& setup, std::istream& csv, Parsed& parsed,
               std::vector<ImportError>& errors) {
    CsvReader reader(csv, setup.separator);
    auto refuse = [&](int line, const std::string& message) {
        errors.push_back({line, AtLine(line, message)});
    };
    try {
        const auto header = reader.Next();
        if (!header) {
            errors.push_back({0, W("O arquivo está vazio: falta a linha de cabeçalho.")});
            return;
        }
        Columns columns;
        bool missing = false;
        auto need = [&](const std::string& name, bool required) {
            if (name.empty() && !required) {
                return -1;
            }
            const int index = FindColumn(header->fields, name);
            if (index < 0) {
                refuse(header->line, W("falta a coluna ") + Quoted(*Utf8ToCp1252(name, '?')) + ".");
                missing = true;
            }
            return index;
        };
        columns.name = need(setup.nameColumn, true);
        columns.group = need(setup.groupColumn, false);
        columns.source = need(setup.sourceColumn, false);
        for (size_t i = 0; i < columns.values.size(); ++i) {
            columns.values[i] = need(setup.valueColumns[i], true);
        }
        if (missing) {
            return;
        }

        // Keys (by the collation of the line tables) of the names and groups already seen.
        std::map<std::string, int> nameLines;
        std::map<std::string, std::string> groupSpelling;
        std::vector<std::string> records;
        int rows = 0;
        while (const auto row = reader.Next()) {
            ++rows;
            const int line = row->line;
            if (row->fields.size() != header->fields.size()) {
                refuse(line, W("a linha tem ") + std::to_string(row->fields.size()) +
                                 W(" campos, mas o cabeçalho tem ") +
                                 std::to_string(header->fields.size()) + ".");
                continue;
            }
            auto cell = [&](int index) {
                return index < 0 ? std::string() : row->fields[static_cast<size_t>(index)];
            };
            bool rowOk = true;
            std::string problem;

            // Name.
            std::string name = CleanSpaces(cell(columns.name));
            if (auto renamed = setup.renamedFoods.find(name); renamed != setup.renamedFoods.end()) {
                name = CleanSpaces(renamed->second);
            }
            std::string nameText;
            if (name.empty()) {
                refuse(line, W("o nome do alimento está em branco."));
                rowOk = false;
            } else if (auto cp = ToCp1252(name, W("o nome"), problem); !cp) {
                refuse(line, problem);
                rowOk = false;
            } else if (auto p = NameProblem(*cp, W("o nome"), kNameWidth, true)) {
                refuse(line, *p);
                rowOk = false;
            } else if (IsEscapingName(*cp)) {
                refuse(line, W(kEscapingNameMessage));
                rowOk = false;
            } else {
                nameText = *cp;
                const auto [it, isNew] = nameLines.emplace(CollationKey(nameText), line);
                if (!isNew) {
                    refuse(line, W("o nome ") + Quoted(nameText) + W(" repete o da linha ") +
                                     std::to_string(it->second) +
                                     W(" (maiúsculas e minúsculas não distinguem nomes)."));
                    rowOk = false;
                }
            }

            // Group.
            std::string group = CleanSpaces(cell(columns.group));
            if (auto mapped = setup.groupNames.find(group); mapped != setup.groupNames.end()) {
                group = CleanSpaces(mapped->second);
            }
            std::string groupText;
            if (!group.empty()) {
                if (auto cp = ToCp1252(group, W("o grupo"), problem); !cp) {
                    refuse(line, problem);
                    rowOk = false;
                } else if (auto p = NameProblem(*cp, W("o grupo"), kGroupWidth, true)) {
                    refuse(line, *p);
                    rowOk = false;
                } else {
                    // Groups that differ only in case are one group, spelt as first seen.
                    groupText = groupSpelling.emplace(CollationKey(*cp), Pad(*cp, kGroupWidth))
                                    .first->second;
                }
            }

            // Source.
            std::string source = CleanSpaces(cell(columns.source));
            if (source.empty()) {
                source = CleanSpaces(setup.sourceText);
            }
            std::string sourceText;
            if (auto cp = ToCp1252(source, W("a fonte"), problem); !cp) {
                refuse(line, problem);
                rowOk = false;
            } else if (auto p = NameProblem(*cp, W("a fonte"), 0, false)) {
                refuse(line, *p);
                rowOk = false;
            } else {
                sourceText = *cp;
            }

            // Values.
            std::array<std::string, 10> values;
            for (size_t i = 0; i < values.size(); ++i) {
                auto text = ValueText(cell(columns.values[i]), kValueFields[i], setup, problem);
                if (!text) {
                    refuse(line, problem);
                    rowOk = false;
                } else {
                    values[i] = *text;
                }
            }
            if (!rowOk) {
                continue;
            }

            std::string record = Pad(nameText, kNameWidth) + "|";
            for (const auto& value : values) {
                record += value + "|";
            }
            record += "|" + groupText + "|";
            record += BlankMaskText(ing::kFactorMask) + "|" + BlankMaskText(ing::kFactorMask) + "|";
            record += BlankMaskText(ing::kCostMask) + "|" + BlankMaskText(ing::kDateMask) + "|";
            for (size_t i = 0; i < values.size(); ++i) {
                const bool blank = values[i] == BlankMaskText(kValueFields[i].mask);
                record += (blank ? std::string() : sourceText) + "|";
            }
            record += "|||";  // sources of the factors and of the cost
            records.push_back(std::move(record));
        }
        if (rows == 0) {
            errors.push_back({0, W("O arquivo não tem nenhum alimento.")});
        }
        // Sorted once at the end: the names are known to be unique by now.
        Fill(parsed.ingredients, std::move(records));
        std::vector<std::string> groupRecords;
        for (const auto& [key, spelling] : groupSpelling) {
            groupRecords.push_back(spelling + "|");
        }
        Fill(parsed.groups, std::move(groupRecords));
    } catch (const CsvError& e) {
        refuse(e.line, e.what());
    }
}

// A file of the table that already holds something other than what the import writes.
bool HoldsOtherData(const fs::path& path, const std::string& bytes) {
    const std::string existing = ReadFileBytes(path);
    return !existing.empty() && existing != bytes;
}

}  // namespace

ImportResult ImportCompositionTable(const fs::path& home, const CompositionTableSpec& setup,
                                    std::istream& csv) {
    ImportResult result;
    TableTexts table;
    CheckTable(setup, table, result.errors);
    Parsed parsed;
    ParseRows(setup, csv, parsed, result.errors);
    if (!result.errors.empty()) {
        result.status = ImportStatus::InvalidData;
        return result;
    }
    result.ingredientCount = parsed.ingredients.lines.Count();
    result.groupCount = parsed.groups.lines.Count();
    const std::string shownName = Quoted(TrimTrailingSpaces(table.name));

    struct Written {
        fs::path path;
        std::string previous;
    };
    std::vector<Written> written;
    try {
        // An existing table is never written over: neither a record in the table list
        // nor files left in the table's folder (a table deleted from the list keeps them).
        LineTable list;
        const fs::path listPath = TableListPath(home);
        LoadLineTable(listPath, list);
        if (FindKey(list.keys, table.name).found) {
            result.status = ImportStatus::TableExists;
            result.errors.push_back(
                {0, W("A tabela ") + shownName + W(" já existe na lista de tabelas!")});
            return result;
        }
        const std::string ingredientBytes = ScrambledLineTableBytes(parsed.ingredients.lines);
        const std::string groupBytes = LineTableBytes(parsed.groups.lines);
        std::error_code ec;
        if (fs::exists(TableFolder(home, table.name), ec)) {
            if (HoldsOtherData(IngredientFilePath(home, table.name), ingredientBytes) ||
                HoldsOtherData(IngredientGroupsPath(home, table.name), groupBytes)) {
                result.status = ImportStatus::TableExists;
                result.errors.push_back(
                    {0, W("A pasta da tabela ") + shownName +
                            W(" já tem ingredientes ou grupos gravados; nada foi importado.")});
                return result;
            }
        }

        // The table appears in the list only once its files are complete.
        NullProgress progress;
        const fs::path ingredientPath = IngredientFilePath(home, table.name);
        written.push_back({ingredientPath, ReadFileBytes(ingredientPath)});
        SaveScrambledLineTable(ingredientPath, parsed.ingredients.lines, progress);
        const fs::path groupPath = IngredientGroupsPath(home, table.name);
        written.push_back({groupPath, ReadFileBytes(groupPath)});
        SaveLineTable(groupPath, parsed.groups.lines);
        InsertRecord(list, table.name + "|" + table.description + "|" + table.flag + "|");
        SaveLineTable(listPath, list.lines);
    } catch (const std::exception& e) {
        for (auto it = written.rbegin(); it != written.rend(); ++it) {
            try {
                WriteFileAtomic(it->path, it->previous);
            } catch (const std::exception&) {
                // The first failure is the one reported.
            }
        }
        result.status = ImportStatus::WriteFailed;
        result.errors.push_back({0, W("Erro ao gravar a tabela ") + shownName + ": " +
                                        *Utf8ToCp1252(e.what(), '?') + W(". Nada foi importado.")});
        return result;
    }
    result.status = ImportStatus::Imported;
    return result;
}

}  // namespace velmaro
