#include "preparations/IngredientLine.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "preparations/ValueLimits.h"
#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "storage/PreparationRecord.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

// The messages of one edit step. A refusal is shown once per step: the step recomputes
// the correction factor several times from the same weights.
class StepMessages {
  public:
    explicit StepMessages(Ui& ui) : m_ui(ui) {}
    void Show(const std::string& text) { m_ui.ShowMessageBox(text, MessageKind::Ok); }
    void Refuse(const std::string& text) {
        if (std::find(m_refused.begin(), m_refused.end(), text) != m_refused.end()) {
            return;
        }
        m_refused.push_back(text);
        Show(text);
    }

  private:
    Ui& m_ui;
    std::vector<std::string> m_refused;
};

// The refusals of values that do not fit their fields.
std::string CorrectionFactorTooLarge() {
    return W(
        "ERRO! F.C. calculado (Peso Bruto / Peso Líquido) maior que 999,99! "
        "Foi mantido o F.C. do ingrediente; confira os pesos bruto e líquido.");
}
std::string CookingFactorTooLarge() {
    return W(
        "ERRO! F.C.C. calculado (Peso Cozido / Peso Cru) maior que 999,99! "
        "Foi mantido o F.C.C. do ingrediente; confira os pesos cozido e cru.");
}
std::string NetFromGrossTooLarge() {
    return W(
        "ERRO! Peso Líquido calculado (Peso Bruto / F.C.) maior que 999999,9 g! "
        "O peso líquido não foi preenchido; confira o peso bruto e o F.C.");
}
std::string GrossFromNetTooLarge() {
    return W(
        "ERRO! Peso Bruto calculado (Peso Líquido x F.C.) maior que 999999,9 g! "
        "O peso bruto não foi preenchido; confira o peso líquido e o F.C.");
}
std::string CookedFromRawTooLarge() {
    return W(
        "ERRO! Peso Cozido calculado (Peso Cru x F.C.C.) maior que 999999,9 g! "
        "O peso cozido não foi preenchido; confira o peso cru e o F.C.C.");
}
std::string RawFromCookedTooLarge() {
    return W(
        "ERRO! Peso Cru calculado (Peso Cozido / F.C.C.) maior que 999999,9 g! "
        "O peso cru não foi preenchido; confira o peso cozido e o F.C.C.");
}
std::string NetFromMeasuresTooLarge() {
    return W(
        "ERRO! Peso Líquido calculado (medida caseira x quantidade) maior que "
        "999999,9 g! O peso líquido não foi alterado; confira a quantidade de "
        "medidas caseiras.");
}
std::string MeasureCountTooLarge() {
    return W(
        "ERRO! Quantidade de medidas caseiras calculada (Peso Líquido / medida "
        "caseira) maior que 999,99! A quantidade ficou em branco; confira o peso "
        "líquido e a medida caseira.");
}
std::string CostTooLarge() {
    return W(
        "ERRO! Custo calculado (Peso Bruto x Custo / 1000) maior que 999999,99! "
        "O custo ficou em branco; confira o peso bruto e o custo do ingrediente.");
}

long double Value(std::string_view text) {
    return TextToNumber(text);
}

// An ingredient value as stored; a field the record does not have is blank.
std::string IngredientText(std::string_view record, int field, std::string_view mask) {
    std::string text = GetField(field, record);
    return text.empty() ? BlankMaskText(mask) : text;
}

const NutrientFields* NutrientOfIngredientField(int ingredientField) {
    for (const auto& n : kNutrients) {
        if (n.ingredientField == ingredientField) {
            return &n;
        }
    }
    return nullptr;
}

// Writes `value` into `target` when it fits the field; otherwise reports the refusal
// and leaves `target` alone. Gives whether it was written.
bool Store(std::string& target, int decimals, int width, long double value, StepMessages& messages,
           const std::string& refusal) {
    if (auto text = FittingNumberText(decimals, width, value)) {
        target = *text;
        return true;
    }
    messages.Refuse(refusal);
    return false;
}

void CorrectionFactor(IngredientLine& l, StepMessages& m) {
    const long double net = Value(l.netWeight);
    if (net > 0 && !IsBlankValue(l.grossWeight) &&
        Store(l.correctionFactor, 2, 6, Value(l.grossWeight) / net, m,
              CorrectionFactorTooLarge())) {
        return;
    }
    l.correctionFactor = IngredientText(l.ingredientRecord, ing::kCorrectionFactor, kFactorMask);
}

void CookingFactor(IngredientLine& l, StepMessages& m) {
    const long double raw = Value(l.rawWeight);
    if (!IsBlankValue(l.cookedWeight) && raw > 0 &&
        Store(l.cookingFactor, 2, 6, Value(l.cookedWeight) / raw, m, CookingFactorTooLarge())) {
        return;
    }
    l.cookingFactor = IngredientText(l.ingredientRecord, ing::kCookingFactor, kFactorMask);
}

void Quantity(IngredientLine& l, StepMessages& m) {
    const long double uma = Value(l.measureWeight);
    if (!IsBlankValue(l.netWeight) && uma > 0 &&
        Store(l.measureCount, 2, 6, Value(l.netWeight) / uma, m, MeasureCountTooLarge())) {
        return;
    }
    l.measureCount = BlankMaskText(kMeasureCountMask);
}

void NetFromGrossWeight(IngredientLine& l, StepMessages& m) {
    const long double fc = Value(l.correctionFactor);
    if (IsBlankValue(l.netWeight) && !IsBlankValue(l.grossWeight) && fc > 0 &&
        Store(l.netWeight, 1, 8, Value(l.grossWeight) / fc, m, NetFromGrossTooLarge())) {
        Quantity(l, m);
    }
}

void LineCost(IngredientLine& l, StepMessages& m) {
    if (!IsBlankValue(l.grossWeight) && !IsBlankValue(l.unitCost) &&
        Store(l.computedCost, 2, 9, Value(l.grossWeight) * Value(l.unitCost) / 1000, m,
              CostTooLarge())) {
        return;
    }
    l.computedCost = BlankMaskText(kMoneyMask);
}

void GrossFromNetWeight(IngredientLine& l, StepMessages& m) {
    if (IsBlankValue(l.grossWeight) && !IsBlankValue(l.netWeight) &&
        !IsBlankValue(l.correctionFactor)) {
        Store(l.grossWeight, 1, 8, Value(l.netWeight) * Value(l.correctionFactor), m,
              GrossFromNetTooLarge());
    }
    CorrectionFactor(l, m);
    LineCost(l, m);
}

void CookedFromRawWeight(IngredientLine& l, StepMessages& m) {
    if (IsBlankValue(l.cookedWeight) && !IsBlankValue(l.rawWeight) &&
        !IsBlankValue(l.cookingFactor)) {
        Store(l.cookedWeight, 1, 8, Value(l.rawWeight) * Value(l.cookingFactor), m,
              CookedFromRawTooLarge());
    }
}

void RawFromCookedWeight(IngredientLine& l, StepMessages& m) {
    const long double fcc = Value(l.cookingFactor);
    if (IsBlankValue(l.rawWeight) && !IsBlankValue(l.cookedWeight) && fcc > 0) {
        Store(l.rawWeight, 1, 8, Value(l.cookedWeight) / fcc, m, RawFromCookedTooLarge());
    }
}

void NetFromMeasureCount(IngredientLine& l, StepMessages& m) {
    if (!IsBlankValue(l.measureWeight) && !IsBlankValue(l.measureCount)) {
        Store(l.netWeight, 1, 8, Value(l.measureWeight) * Value(l.measureCount), m,
              NetFromMeasuresTooLarge());
    }
    CorrectionFactor(l, m);
}

std::string Amount(std::string_view record, int ingredientField, std::string_view netWeight,
                   StepMessages& m) {
    const std::string perHundred =
        IngredientText(record, ingredientField, ing::ValueMask(ingredientField));
    if (IsBlankValue(perHundred)) {
        return BlankMaskText(kAmountMask);
    }
    long double amount = Value(netWeight) * Value(perHundred) / 100;
    if (AboveAmountLimit(amount)) {
        const NutrientFields* nutrient = NutrientOfIngredientField(ingredientField);
        m.Show(W(std::string("ERRO! Quantidade de ") + (nutrient ? nutrient->amountName : "") +
                 " para o peso líquido maior que 999999,99!"));
        m.Show(ReduceWeightsMessage());
        amount = kAmountLimit;
    }
    return FormatNumber(2, 9, amount);
}

void LineNutrients(IngredientLine& l, StepMessages& m) {
    if (IsBlankValue(l.netWeight)) {
        return;
    }
    for (size_t i = 0; i < kNutrients.size(); ++i) {
        l.amounts[i] = Amount(l.ingredientRecord, kNutrients[i].ingredientField, l.netWeight, m);
    }
}

void BlankAmounts(IngredientLine& l) {
    for (auto& amount : l.amounts) {
        amount = BlankMaskText(kAmountMask);
    }
}

}  // namespace

bool IsBlankValue(std::string_view text) {
    return text.find_first_not_of(" ,") == std::string_view::npos;
}

IngredientLine BlankIngredientLine() {
    IngredientLine l;
    l.grossWeight = l.netWeight = l.cookedWeight = l.rawWeight = BlankMaskText(kWeightMask);
    l.correctionFactor = l.cookingFactor = BlankMaskText(kFactorMask);
    l.unitCost = l.computedCost = BlankMaskText(kMoneyMask);
    l.quotationDate = BlankMaskText(kDateMask);
    l.measureCount = BlankMaskText(kMeasureCountMask);
    BlankAmounts(l);
    l.measureWeight = BlankMaskText(kWeightMask);
    return l;
}

IngredientLine ReadIngredientLine(std::string_view storedLine) {
    namespace F = IngredientLineField;
    IngredientLine l = BlankIngredientLine();
    l.ingredient = GetField(F::kIngredient, storedLine);
    l.grossWeight = GetField(F::kGrossWeight, storedLine);
    l.netWeight = GetField(F::kNetWeight, storedLine);
    l.cookedWeight = GetField(F::kCookedWeight, storedLine);
    l.rawWeight = GetField(F::kRawWeight, storedLine);
    l.correctionFactor = GetField(F::kCorrectionFactor, storedLine);
    l.cookingFactor = GetField(F::kCookingFactor, storedLine);
    l.unitCost = GetField(F::kUnitCost, storedLine);
    l.computedCost = GetField(F::kComputedCost, storedLine);
    l.quotationDate = GetField(F::kQuotationDate, storedLine);
    l.measure = GetField(F::kMeasure, storedLine);
    l.measureCount = GetField(F::kMeasureCount, storedLine);
    for (size_t i = 0; i < kNutrients.size(); ++i) {
        l.amounts[i] = GetField(kNutrients[i].lineField, storedLine);
    }
    return l;
}

std::string ComposeIngredientLine(const IngredientLine& l) {
    std::string line;
    for (const std::string* field :
         {&l.ingredient, &l.grossWeight, &l.netWeight, &l.cookedWeight, &l.rawWeight,
          &l.correctionFactor, &l.cookingFactor, &l.unitCost, &l.computedCost, &l.quotationDate,
          &l.measure, &l.measureCount}) {
        line += *field;
        line += '|';
    }
    for (const auto& amount : l.amounts) {
        line += amount;
        line += '|';
    }
    return line;
}

void TakeIngredientDefaults(IngredientLine& l) {
    l.correctionFactor = IngredientText(l.ingredientRecord, ing::kCorrectionFactor, kFactorMask);
    l.cookingFactor = IngredientText(l.ingredientRecord, ing::kCookingFactor, kFactorMask);
    l.unitCost = IngredientText(l.ingredientRecord, ing::kCostPerKilogram, kMoneyMask);
    l.quotationDate = IngredientText(l.ingredientRecord, ing::kQuotationDate, kDateMask);
}

void ComputeCorrectionFactor(IngredientLine& line, Ui& ui) {
    StepMessages m(ui);
    CorrectionFactor(line, m);
}

void ComputeCookingFactor(IngredientLine& line, Ui& ui) {
    StepMessages m(ui);
    CookingFactor(line, m);
}

void NetFromGross(IngredientLine& line, Ui& ui) {
    StepMessages m(ui);
    NetFromGrossWeight(line, m);
}

void GrossFromNet(IngredientLine& line, Ui& ui) {
    StepMessages m(ui);
    GrossFromNetWeight(line, m);
}

void CookedFromRaw(IngredientLine& line, Ui& ui) {
    StepMessages m(ui);
    CookedFromRawWeight(line, m);
}

void RawFromCooked(IngredientLine& line, Ui& ui) {
    StepMessages m(ui);
    RawFromCookedWeight(line, m);
}

void MeasureQuantity(IngredientLine& line, Ui& ui) {
    StepMessages m(ui);
    Quantity(line, m);
}

void NetFromMeasures(IngredientLine& line, Ui& ui) {
    StepMessages m(ui);
    NetFromMeasureCount(line, m);
}

void ComputeLineCost(IngredientLine& line, Ui& ui) {
    StepMessages m(ui);
    LineCost(line, m);
}

void AfterGrossWeight(IngredientLine& line, Ui& ui) {
    StepMessages m(ui);
    if (!IsBlankValue(line.grossWeight)) {
        NetFromGrossWeight(line, m);
        CorrectionFactor(line, m);
        LineNutrients(line, m);
    }
    CorrectionFactor(line, m);
    GrossFromNetWeight(line, m);
}

void AfterNetWeight(IngredientLine& line, Ui& ui) {
    StepMessages m(ui);
    if (!IsBlankValue(line.netWeight)) {
        GrossFromNetWeight(line, m);
        LineNutrients(line, m);
    } else {
        CorrectionFactor(line, m);
        BlankAmounts(line);
    }
    Quantity(line, m);
}

void AfterCookedWeight(IngredientLine& line, Ui& ui) {
    StepMessages m(ui);
    if (!IsBlankValue(line.cookedWeight)) {
        RawFromCookedWeight(line, m);
    }
    CookingFactor(line, m);
}

void AfterRawWeight(IngredientLine& line, Ui& ui) {
    StepMessages m(ui);
    if (!IsBlankValue(line.rawWeight)) {
        CookedFromRawWeight(line, m);
    }
    CookingFactor(line, m);
    RawFromCookedWeight(line, m);
}

void AfterMeasureCount(IngredientLine& line, Ui& ui) {
    StepMessages m(ui);
    if (IsBlankValue(line.measureCount)) {
        return;
    }
    NetFromMeasureCount(line, m);
    // The net weight has changed: what follows from it is brought up to date at once, so
    // the line never holds amounts or a cost of an earlier net weight. The count typed
    // by the user is kept as typed.
    if (!IsBlankValue(line.netWeight)) {
        GrossFromNetWeight(line, m);
        LineNutrients(line, m);
    }
}

void ComputeLineNutrients(IngredientLine& line, Ui& ui) {
    StepMessages m(ui);
    LineNutrients(line, m);
}

std::string NutrientAmount(std::string_view ingredientRecord, int ingredientField,
                           std::string_view netWeight, Ui& ui) {
    StepMessages m(ui);
    return Amount(ingredientRecord, ingredientField, netWeight, m);
}

}  // namespace velmaro
