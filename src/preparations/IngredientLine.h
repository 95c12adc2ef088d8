#pragma once

// The ingredient line under edit and the computation that fills it in: the weights and
// factors that follow from each other, the cost, and the nutrient amounts of the net
// weight. Every value is held as the text of its field (Windows-1252, right-aligned in
// the field's width, comma decimals) and every computed value is rounded to its field
// before the next step reads it back, so the chain works on what the screen shows.
//
// A value that would not fit its field (a factor of 1000 or more, a weight of 1000000 g
// or more, a number of measures of 1000 or more, a cost of 1000000 or more) is refused
// with a message: the field then gets what it gets when the value cannot be computed at
// all (the ingredient's default factor, a blank cost or count, the weight left as it was).
// Within one edit step a refusal is reported once, however often the step recomputes it.

#include <array>
#include <string>
#include <string_view>

#include "platform/Ui.h"

namespace velmaro {

struct IngredientLine {
    // The 22 fields of the stored line.
    std::string ingredient;        //  1 the ingredient's key (60 characters, padded)
    std::string grossWeight;       //  2 "999999,9" g as bought
    std::string netWeight;         //  3 "999999,9" g edible part
    std::string cookedWeight;      //  4 "999999,9" g
    std::string rawWeight;         //  5 "999999,9" g
    std::string correctionFactor;  //  6 "999,99" F.C.
    std::string cookingFactor;     //  7 "999,99" F.C.C.
    std::string unitCost;          //  8 "999999,99" per 1000 g
    std::string computedCost;      //  9 "999999,99"
    std::string quotationDate;     // 10 "99/99/99"
    std::string measure;           // 11 key of the chosen household measure, empty for none
    std::string measureCount;      // 12 "999,99"
    // 13 to 22: energy, carbohydrate, protein, total fat, saturated fat, cholesterol,
    // fibre, calcium, iron, sodium for the net weight, "999999,99".
    std::array<std::string, 10> amounts;

    // What the computation reads besides the line (not stored in it).
    std::string ingredientRecord;  // the chosen ingredient's record as stored (30 fields)
    std::string measureWeight;     // Uma: one chosen measure in g, "999999,9"; blank for none
};

// A numeric text is blank when it holds nothing but spaces and the decimal comma (the
// blank text of its mask, or an empty text). A blank value counts as 0 but is not a 0.
bool IsBlankValue(std::string_view text);

// Every field at the blank text of its mask, no ingredient, no measure.
IngredientLine BlankIngredientLine();
// The line's 22 fields from a stored line; the ingredient record stays empty and the
// measure weight blank.
IngredientLine ReadIngredientLine(std::string_view storedLine);
// The 22 fields in order, each followed by "|".
std::string ComposeIngredientLine(const IngredientLine& line);
// A new line takes the chosen ingredient's F.C., F.C.C., unit cost and quotation date
// (ingredient fields 14 to 17) from `line.ingredientRecord`.
void TakeIngredientDefaults(IngredientLine& line);

// The weight relations. Each replaces some texts of the line:
// F.C. := gross / net (net above 0, gross not blank), else the ingredient's default.
void ComputeCorrectionFactor(IngredientLine& line, Ui& ui);
// F.C.C. := cooked / raw (cooked not blank, raw above 0), else the ingredient's default.
void ComputeCookingFactor(IngredientLine& line, Ui& ui);
// Net := gross / F.C. when net is blank, gross is not and F.C. is above 0; then the
// number of measures follows.
void NetFromGross(IngredientLine& line, Ui& ui);
// Gross := net x F.C. when gross is blank and net and F.C. are not; in every case then
// the correction factor and the cost.
void GrossFromNet(IngredientLine& line, Ui& ui);
// Cooked := raw x F.C.C. when cooked is blank and raw and F.C.C. are not.
void CookedFromRaw(IngredientLine& line, Ui& ui);
// Raw := cooked / F.C.C. when raw is blank, cooked is not and F.C.C. is above 0.
void RawFromCooked(IngredientLine& line, Ui& ui);
// Number of measures := net / Uma (net not blank, Uma above 0), else blank.
void MeasureQuantity(IngredientLine& line, Ui& ui);
// Net := Uma x number of measures when both are not blank; in every case then the
// correction factor.
void NetFromMeasures(IngredientLine& line, Ui& ui);
// Computed cost := gross x unit cost / 1000 when both are not blank, else blank.
void ComputeLineCost(IngredientLine& line, Ui& ui);

// The edit steps, run when the user leaves a field (after the numeric field rule).
void AfterGrossWeight(IngredientLine& line, Ui& ui);
void AfterNetWeight(IngredientLine& line, Ui& ui);
void AfterCookedWeight(IngredientLine& line, Ui& ui);
void AfterRawWeight(IngredientLine& line, Ui& ui);
// A number of measures that is not blank gives the net weight, and the line follows the
// new net weight as when the net weight is left (gross when blank, cost, amounts). A blank
// number is the screen's to handle.
void AfterMeasureCount(IngredientLine& line, Ui& ui);

// The ten nutrient amounts of the net weight; nothing when the net weight is blank.
void ComputeLineNutrients(IngredientLine& line, Ui& ui);
// The amount of one nutrient (ingredient field 2 to 11) in `netWeight` g: blank when the
// ingredient has no value for it, held at 999999,99 with two messages above that.
std::string NutrientAmount(std::string_view ingredientRecord, int ingredientField,
                           std::string_view netWeight, Ui& ui);

}  // namespace velmaro
