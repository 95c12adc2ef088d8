#pragma once

// Field numbers (1-based) and masks of the two records of the preparations: the
// ingredient line of a preparation's ingredient file and the preparation record of the
// preparation list. The ingredient record of a composition table is storage/IngredientRecord.h.

#include <array>
#include <string_view>

#include "storage/IngredientRecord.h"
#include "storage/LineTable.h"
#include "storage/Text.h"

namespace velmaro {

// One line of a preparation's ingredient file: the ingredient's weights, factors, cost,
// household measure and the nutrient amounts of its net weight. 22 fields.
namespace IngredientLineField {
inline constexpr int kIngredient = 1;  // the ingredient's key, 60 characters
inline constexpr int kGrossWeight = 2;
inline constexpr int kNetWeight = 3;
inline constexpr int kCookedWeight = 4;
inline constexpr int kRawWeight = 5;
inline constexpr int kCorrectionFactor = 6;
inline constexpr int kCookingFactor = 7;
inline constexpr int kUnitCost = 8;      // money per 1000 g
inline constexpr int kComputedCost = 9;  // money
inline constexpr int kQuotationDate = 10;
inline constexpr int kMeasure = 11;  // key of a household measure, or empty
inline constexpr int kMeasureCount = 12;
inline constexpr int kEnergy = 13;
inline constexpr int kCarbohydrate = 14;
inline constexpr int kProtein = 15;
inline constexpr int kTotalFat = 16;
inline constexpr int kSaturatedFat = 17;
inline constexpr int kCholesterol = 18;
inline constexpr int kFibre = 19;
inline constexpr int kCalcium = 20;
inline constexpr int kIron = 21;
inline constexpr int kSodium = 22;
inline constexpr int kCount = 22;
}  // namespace IngredientLineField

// The preparation record ("ArqFicTec.dad"): yield, recipe totals and the rows scaled to
// a portion, a tablespoon and the label portion. 56 fields.
namespace PreparationRecordField {
inline constexpr int kName = 1;  // 40 characters
inline constexpr int kYield = 2;
// Recipe totals: energy to sodium in fields 3 to 12, the cost in 13.
inline constexpr int kEnergyTotal = 3;
inline constexpr int kCarbohydrateTotal = 4;
inline constexpr int kProteinTotal = 5;
inline constexpr int kTotalFatTotal = 6;
inline constexpr int kSaturatedFatTotal = 7;
inline constexpr int kCholesterolTotal = 8;
inline constexpr int kFibreTotal = 9;
inline constexpr int kCalciumTotal = 10;
inline constexpr int kIronTotal = 11;
inline constexpr int kSodiumTotal = 12;
inline constexpr int kCostTotal = 13;
inline constexpr int kPortions = 14;
inline constexpr int kPortionWeight = 15;
inline constexpr int kPortionEnergy = 16;  // to sodium in 25
inline constexpr int kPortionCost = 26;
inline constexpr int kTablespoonWeight = 27;
inline constexpr int kTablespoonEnergy = 28;  // to sodium in 37
inline constexpr int kTablespoonCost = 38;
inline constexpr int kGroup = 39;
inline constexpr int kDate = 40;
inline constexpr int kLabelPortionWeight = 41;
inline constexpr int kLabelEnergy = 42;  // to sodium in 51
inline constexpr int kLabelCost = 52;
inline constexpr int kFoodGroup = 53;
inline constexpr int kReferenceNorm = 54;
inline constexpr int kLabelPortionUnit = 55;
inline constexpr int kLabelPortionMeasure = 56;
inline constexpr int kCount = 56;
}  // namespace PreparationRecordField

// Edit masks (pattern part) of the ingredient line's numeric fields.
inline constexpr const char* kWeightMask = "999999,9";  // gross, net, cooked, raw; Uma
inline constexpr const char* kFactorMask = "999,99";    // F.C., F.C.C.
inline constexpr const char* kMoneyMask = "999999,99";  // unit cost, computed cost
inline constexpr const char* kDateMask = "99/99/99";
inline constexpr const char* kMeasureCountMask = "999,99";
inline constexpr const char* kAmountMask = "999999,99";  // nutrient amounts and totals

// The ten nutrients in their fixed order (energy, carbohydrate, protein, total fat,
// saturated fat, cholesterol, fibre, calcium, iron, sodium): where each stands in the
// three records and the names the limit messages give it (UTF-8; W() for the screen).
struct NutrientFields {
    int ingredientField;  // value per 100 g
    int lineField;        // amount for the line's net weight
    int recordField;      // recipe total
    const char* amountName;
    const char* sumName;
};

inline constexpr std::array<NutrientFields, 10> kNutrients = {{
    {ing::kEnergy, IngredientLineField::kEnergy, PreparationRecordField::kEnergyTotal, "Calorias",
     "Calorias"},
    {ing::kCarbohydrate, IngredientLineField::kCarbohydrate,
     PreparationRecordField::kCarbohydrateTotal, "Carbo hidratos", "Carboidratos"},
    {ing::kProtein, IngredientLineField::kProtein, PreparationRecordField::kProteinTotal,
     "Proteínas", "Proteinas"},
    {ing::kTotalFat, IngredientLineField::kTotalFat, PreparationRecordField::kTotalFatTotal,
     "Lipídios", "Lipídios"},
    {ing::kSaturatedFat, IngredientLineField::kSaturatedFat,
     PreparationRecordField::kSaturatedFatTotal, "Gordura Saturada", "Gordura Saturada"},
    {ing::kCholesterol, IngredientLineField::kCholesterol,
     PreparationRecordField::kCholesterolTotal, "Colesterol", "Colesterol"},
    {ing::kFibre, IngredientLineField::kFibre, PreparationRecordField::kFibreTotal, "Fibra",
     "Fibras"},
    {ing::kCalcium, IngredientLineField::kCalcium, PreparationRecordField::kCalciumTotal, "Cálcio",
     "Cálcio"},
    {ing::kIron, IngredientLineField::kIron, PreparationRecordField::kIronTotal, "Ferro", "Ferro"},
    {ing::kSodium, IngredientLineField::kSodium, PreparationRecordField::kSodiumTotal, "Sódio",
     "Sódio"},
}};

// Whether every total of a preparation record (energy to sodium, and the cost) is zero or
// blank: a record that holds totals needs the ingredient file they were summed from.
inline bool TotalsAreZero(std::string_view record) {
    for (const auto& nutrient : kNutrients) {
        if (TextToNumber(GetField(nutrient.recordField, record)) != 0) {
            return false;
        }
    }
    return TextToNumber(GetField(PreparationRecordField::kCostTotal, record)) == 0;
}

}  // namespace velmaro
