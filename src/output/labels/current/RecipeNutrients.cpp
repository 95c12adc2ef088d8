#include "output/labels/current/RecipeNutrients.h"

#include <algorithm>
#include <array>
#include <optional>

#include <system_error>

#include "preparations/LabelPortion.h"
#include "shell/TableCarbohydrate.h"
#include "storage/FileDamage.h"
#include "storage/FileIo.h"
#include "storage/IngredientRecord.h"
#include "storage/IniFile.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/PreparationRecord.h"
#include "storage/Progress.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

constexpr long double kLargestAmount = 999999.99L;

// Where each row of the table comes from: a total of the record and a field of the
// ingredient record, or one of the extra values.
struct RowSource {
    int totalField;       // 0 for the extra values
    int ingredientField;  // 0 for the extra values
    ExtraValue extra;
};

constexpr std::array<RowSource, rdc429::kRowCount> kSources{{
    {PreparationRecordField::kEnergyTotal, ing::kEnergy, ExtraValue::TotalSugars},
    {PreparationRecordField::kCarbohydrateTotal, ing::kCarbohydrate, ExtraValue::TotalSugars},
    {0, 0, ExtraValue::TotalSugars},
    {0, 0, ExtraValue::AddedSugars},
    {PreparationRecordField::kProteinTotal, ing::kProtein, ExtraValue::TotalSugars},
    {PreparationRecordField::kTotalFatTotal, ing::kTotalFat, ExtraValue::TotalSugars},
    {PreparationRecordField::kSaturatedFatTotal, ing::kSaturatedFat, ExtraValue::TotalSugars},
    {0, 0, ExtraValue::TransFat},
    {PreparationRecordField::kFibreTotal, ing::kFibre, ExtraValue::TotalSugars},
    {PreparationRecordField::kSodiumTotal, ing::kSodium, ExtraValue::TotalSugars},
}};

bool Blank(std::string_view text) {
    return !ParseNumber(text).has_value();
}

}  // namespace

NutritionTableInput NutritionInputFrom(std::string_view record, const LineList& lines,
                                       const LineTable& ingredients,
                                       const ExtraValuesTable& extraValues,
                                       std::optional<long double> netContent,
                                       bool carbohydrateIncludesFibre) {
    NutritionTableInput in;
    in.yield = TextToNumber(GetField(PreparationRecordField::kYield, record));
    in.portion = TextToNumber(GetField(PreparationRecordField::kLabelPortionWeight, record));
    std::string unit = RemoveSpaces(GetField(PreparationRecordField::kLabelPortionUnit, record));
    std::transform(unit.begin(), unit.end(), unit.begin(), [](char c) {
        return c == 'M' ? 'm' : c == 'L' ? 'l' : c;
    });
    in.liquid = unit == "ml";
    in.measure = GetField(PreparationRecordField::kLabelPortionMeasure, record);
    in.netContent = netContent;

    for (size_t k = 0; k < kSources.size(); ++k) {
        if (kSources[k].totalField != 0) {
            in.amounts[k].known = TextToNumber(GetField(kSources[k].totalField, record));
        }
    }
    // The fibre inside the recorded carbohydrates, line by line.
    long double fibreInCarbohydrate = 0;
    RecipeAmount& carbohydrates = in.amounts[rdc429::kCarbohydrates];
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string& line = lines[i];
        const std::string key = GetField(IngredientLineField::kIngredient, line);
        const std::string name = TrimTrailingSpaces(key);
        const FindResult found = FindKey(ingredients.keys, key);
        const std::string ingredient = found.found ? ingredients.lines[found.index] : std::string();
        const ExtraValues extra = extraValues.Find(key);
        const long double net = TextToNumber(GetField(IngredientLineField::kNetWeight, line));
        for (size_t k = 0; k < kSources.size(); ++k) {
            const RowSource& source = kSources[k];
            RecipeAmount& amount = in.amounts[k];
            std::optional<long double> per100;
            if (source.ingredientField != 0) {
                const std::string value = GetField(source.ingredientField, ingredient);
                if (found.found && !Blank(value)) {
                    per100 = TextToNumber(value);
                }
            } else if (found.found) {
                per100 = extra.Value(source.extra);
                // A value that cannot be right (below zero, above 100 g per 100 g) is
                // not known: the table says it lacks it rather than print it.
                if (per100 && (*per100 < 0 || *per100 > kMostPer100Grams)) {
                    per100.reset();
                }
            }
            if (!per100) {
                if (std::find(amount.missingIn.begin(), amount.missingIn.end(), name) ==
                    amount.missingIn.end()) {
                    amount.missingIn.push_back(name);
                }
                continue;
            }
            if (source.totalField == 0) {
                const long double lineAmount =
                    TextToNumber(FormatNumber(2, 9, std::min(kLargestAmount, net * *per100 / 100)));
                amount.known = std::min(kLargestAmount, amount.known + lineAmount);
            }
        }
        if (carbohydrateIncludesFibre && found.found) {
            const std::optional<long double> carbohydrate =
                ParseNumber(GetField(ing::kCarbohydrate, ingredient));
            const std::optional<long double> fibre = ParseNumber(GetField(ing::kFibre, ingredient));
            if (!fibre) {
                if (std::find(carbohydrates.missingIn.begin(), carbohydrates.missingIn.end(),
                              name) == carbohydrates.missingIn.end()) {
                    carbohydrates.missingIn.push_back(name);
                }
            } else if (carbohydrate) {
                const long double per100 = std::max(0.0L, std::min(*carbohydrate, *fibre));
                fibreInCarbohydrate +=
                    TextToNumber(FormatNumber(2, 9, std::min(kLargestAmount, net * per100 / 100)));
            }
        }
    }
    carbohydrates.known = std::max(0.0L, carbohydrates.known - fibreInCarbohydrate);
    return in;
}

namespace {

// Whether the file is there; a file that cannot be looked at, or that is no regular file
// (a FIFO would hold the reader for good), is a StorageError.
bool Present(const std::filesystem::path& path) {
    return DataFilePresent(path);
}

}  // namespace

// A file that did not read whole is not used: a line cut short, or an ingredient twice,
// would give another amount than the recipe's (DamagedFileError).
TableNutrientSources LoadTableNutrientSources(const std::filesystem::path& home,
                                              std::string_view table) {
    TableNutrientSources sources;
    NullProgress quiet;
    const std::filesystem::path ingredientsPath = IngredientFileLocation(home, table);
    if (Present(ingredientsPath)) {
        LoadScrambledLineTable(ingredientsPath, sources.ingredients, quiet);
        RefuseDamaged(sources.ingredients.lines.Check());
    }
    const std::filesystem::path extraPath = ExtraValuesFileLocation(home, table);
    sources.extraValues = LoadExtraValuesFile(extraPath);
    // Known values would read as missing, or another ingredient's as this one's.
    if (const std::string damage = sources.extraValues.DamageMessage(extraPath); !damage.empty()) {
        throw NutrientSourceError(damage + " A tabela nutricional não foi composta.");
    }
    sources.carbohydrateIncludesFibre = CarbohydrateIncludesFibre(home, table);
    return sources;
}

NutritionTableInput NutritionInputOf(const std::filesystem::path& home, std::string_view table,
                                     std::string_view preparationName, std::string_view record,
                                     std::optional<long double> netContent,
                                     const TableNutrientSources* sources) {
    LineTable lines;
    const std::filesystem::path linesPath = PreparationFileLocation(home, table, preparationName);
    if (Present(linesPath)) {
        LoadLineTable(linesPath, lines);
        RefuseDamaged(lines.lines.Check());
    } else if (!TotalsAreZero(record)) {
        // Its lines are gone (a rename that did not end, a link to nothing): no line would
        // give the sugars and trans fat, and the table would show them as zero.
        throw NutrientSourceError("o arquivo de ingredientes " + linesPath.string() +
                                  " da preparação não existe, mas o registro tem totais; a "
                                  "tabela nutricional não foi composta.");
    }
    std::optional<TableNutrientSources> loaded;
    if (sources == nullptr) {
        sources = &loaded.emplace(LoadTableNutrientSources(home, table));
    }
    NutritionTableInput input =
        NutritionInputFrom(record, lines.lines, sources->ingredients, sources->extraValues,
                           netContent, sources->carbohydrateIncludesFibre);
    // The reference portion of the food the preparation was labelled under, when the list
    // gives it as a number (kept with the label data).
    const std::filesystem::path labelPath = LabelFileLocation(home, table, preparationName);
    if (Present(labelPath)) {
        input.referencePortion = NumericReferencePortion(LoadLabelPortion(IniFile(labelPath)));
    }
    return input;
}

std::optional<long double> NetContentValue(std::string_view text) {
    const std::optional<long double> value = ParseNumber(RemoveSpaces(text));
    if (value && *value > 0) {
        return value;
    }
    return std::nullopt;
}

}  // namespace velmaro

namespace velmaro {

NutritionTable ComposeNutritionTableOf(const std::filesystem::path& home, std::string_view table,
                                       std::string_view preparationName, std::string_view record,
                                       std::optional<long double> netContent,
                                       const TableNutrientSources* sources) {
    return ComposeNutritionTable(
        NutritionInputOf(home, table, preparationName, record, netContent, sources));
}

NutritionTable StoreNutritionTable(IniFile& labelFile, const std::filesystem::path& home,
                                   std::string_view table, std::string_view preparationName,
                                   std::string_view record, const TableNutrientSources* sources) {
    const NutritionTable composed = ComposeNutritionTableOf(
        home, table, preparationName, record, NetContentValue(LoadNetContent(labelFile)), sources);
    SaveNutritionTable(labelFile, composed);
    return composed;
}

}  // namespace velmaro
