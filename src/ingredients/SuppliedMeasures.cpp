#include "ingredients/SuppliedMeasures.h"

#include <algorithm>
#include <map>
#include <optional>
#include <system_error>
#include <vector>

#include "ingredients/CadMedCas2Form.h"
#include "ingredients/CsvReader.h"
#include "shell/NameRules.h"
#include "storage/Collation.h"
#include "storage/Cp1252.h"
#include "storage/FileDamage.h"
#include "storage/FileIo.h"
#include "storage/IngredientRecord.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/Progress.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace fs = std::filesystem;

namespace {

constexpr size_t kMeasureNameWidth = 20;

std::string Padded(std::string text, size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

std::string Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string Quoted(std::string_view cp1252) {
    std::string out(1, '"');
    out += cp1252;
    out += '"';
    return out;
}

int FindColumn(const std::vector<std::string>& header, std::string_view name) {
    for (size_t i = 0; i < header.size(); ++i) {
        if (Trimmed(header[i]) == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The measures of one food, in the order of a line table.
struct FoodMeasures {
    std::string name;  // Windows-1252, as the CSV gives it
    LineTable measures;
};

// The reason a measure name cannot be stored, or nothing.
std::optional<std::string> NameProblem(std::string_view name) {
    if (name.empty()) {
        return W("o nome da medida está em branco.");
    }
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 32 || c == '|' || IsForbiddenNameChar(c)) {
            return W("o nome da medida ") + Quoted(name) + W(" tem o caracter (") +
                   std::string(1, c) + W("), que não é permitido.");
        }
    }
    if (name.size() > kMeasureNameWidth) {
        return W("o nome da medida ") + Quoted(name) + W(" tem mais de 20 caracteres.");
    }
    return std::nullopt;
}

// The weight in its field form ("999999,9"), or the reason it has none.
std::optional<std::string> WeightText(std::string_view cell, std::string& problem) {
    const std::string_view mask = TCadMedCas2Form::kQuantityMask;
    const std::string text = Trimmed(cell);
    const auto value = ParseNumber(text);
    const std::string shown = Quoted(*Utf8ToCp1252(text, '?'));
    if (!value) {
        problem = W("o peso ") + shown + W(" não é um número.");
        return std::nullopt;
    }
    // Formatted without the width of the field first, so that a value too wide is seen.
    const std::string roomy = FormatNumber(MaskDecimals(mask), 40, *value);
    const std::string digits = roomy.substr(roomy.find_first_not_of(' '));
    if (TextToNumber(digits) <= 0) {
        problem = W("o peso ") + shown + W(" não é maior que 0.");
        return std::nullopt;
    }
    if (digits.size() > static_cast<size_t>(MaskWidth(mask))) {
        problem = W("o peso ") + shown + W(" não cabe no campo (máximo 999999,9).");
        return std::nullopt;
    }
    return PadLeft(digits, MaskWidth(mask));
}

std::string AtLine(int line, const std::string& message) {
    return W("Linha ") + std::to_string(line) + ": " + message;
}

// Reads and checks the whole CSV; the foods in the order they first appear.
std::vector<FoodMeasures> ReadMeasures(std::istream& csv, std::string& error) {
    std::vector<FoodMeasures> foods;
    std::map<std::string, size_t> foodIndex;  // collation key of the name -> index
    try {
        CsvReader reader(csv);
        const auto header = reader.Next();
        if (!header) {
            error = W("o arquivo de medidas está vazio.");
            return {};
        }
        const int food = FindColumn(header->fields, "alimento");
        const int measure = FindColumn(header->fields, "medida");
        const int weight = FindColumn(header->fields, "gramas");
        if (food < 0 || measure < 0 || weight < 0) {
            error = W("faltam as colunas \"alimento\", \"medida\" e \"gramas\".");
            return {};
        }
        while (const auto row = reader.Next()) {
            if (row->fields.size() != header->fields.size()) {
                error = AtLine(row->line, W("a linha não tem os campos do cabeçalho."));
                return {};
            }
            auto cell = [&](int index) {
                return Utf8ToCp1252(Trimmed(row->fields[static_cast<size_t>(index)]));
            };
            const auto foodName = cell(food);
            const auto name = cell(measure);
            if (!foodName || !name) {
                error = AtLine(row->line, W("há caracteres que o programa não consegue gravar."));
                return {};
            }
            if (foodName->empty() || foodName->size() > static_cast<size_t>(ing::kNameWidth)) {
                error =
                    AtLine(row->line, W("o nome do alimento está em branco ou é longo demais."));
                return {};
            }
            if (auto problem = NameProblem(*name)) {
                error = AtLine(row->line, *problem);
                return {};
            }
            std::string problem;
            const auto weightText = WeightText(row->fields[static_cast<size_t>(weight)], problem);
            if (!weightText) {
                error = AtLine(row->line, problem);
                return {};
            }
            const auto [it, isNew] = foodIndex.emplace(CollationKey(*foodName), foods.size());
            if (isNew) {
                foods.push_back({*foodName, {}});
            }
            LineTable& table = foods[it->second].measures;
            const std::string key = Padded(*name, kMeasureNameWidth);
            if (FindKey(table.keys, key).found) {
                error = AtLine(row->line, W("a medida ") + Quoted(*name) + W(" repete-se em ") +
                                              Quoted(*foodName) +
                                              W(" (maiúsculas e minúsculas não distinguem "
                                                "nomes)."));
                return {};
            }
            InsertRecord(table, key + "|" + *weightText + "|");
        }
    } catch (const CsvError& e) {
        error = AtLine(e.line, e.what());
        return {};
    }
    return foods;
}

// A measures file that holds at least one record. A file that does not read whole and
// clean is the user's too (whatever it held is unknown): DamagedFileError, so that the
// install writes nothing and names it.
bool HoldsMeasures(const fs::path& path) {
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        return false;
    }
    const auto lines = ReadCleanLines(path);
    return std::any_of(lines.begin(), lines.end(),
                       [](const std::string& line) { return !IsAllSpaces(line); });
}

}  // namespace

MeasureInstallResult InstallMeasures(const fs::path& home, std::string_view table,
                                     std::istream& csv) {
    MeasureInstallResult result;
    const std::string prefix =
        W("Não foi possível instalar as medidas caseiras da tabela ") + Trimmed(table) + ": ";
    std::string error;
    const std::vector<FoodMeasures> foods = ReadMeasures(csv, error);
    if (!error.empty()) {
        result.error = prefix + error;
        return result;
    }
    try {
        LineTable ingredients;
        NullProgress progress;
        LoadScrambledLineTable(IngredientFilePath(home, table), ingredients, progress);
        RefuseDamaged(ingredients.lines.Check());
        FileBatch batch;
        int files = 0;
        int measures = 0;
        for (const FoodMeasures& food : foods) {
            const FindResult found =
                FindKey(ingredients.keys, Padded(food.name, static_cast<size_t>(ing::kNameWidth)));
            if (!found.found) {
                ++result.unknownFoods;
                continue;
            }
            const fs::path path =
                MeasureFilePath(home, table, ingredients.keys[found.index], false);
            if (HoldsMeasures(path)) {
                ++result.keptFiles;
                continue;
            }
            batch.Add(path, LineTableBytes(food.measures.lines));
            ++files;
            measures += food.measures.lines.Count();
        }
        batch.Commit();
        result.files = files;
        result.measures = measures;
    } catch (const DamagedFileError& e) {
        result.error = prefix + *Utf8ToCp1252(e.what(), '?') +
                       W(" Nada foi gravado; corrija o arquivo (verificar) e as medidas serão "
                         "instaladas no próximo início.");
    } catch (const std::exception& e) {
        result.error = prefix + *Utf8ToCp1252(e.what(), '?');
    }
    return result;
}

}  // namespace velmaro
