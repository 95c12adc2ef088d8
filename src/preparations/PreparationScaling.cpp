#include "preparations/PreparationScaling.h"

#include <algorithm>

#include "preparations/IngredientLine.h"
#include "preparations/ValueLimits.h"
#include "storage/LineTable.h"
#include "storage/PreparationRecord.h"
#include "storage/Text.h"

namespace velmaro {

namespace F = PreparationRecordField;

namespace {

constexpr int kValuesPerRow = 11;  // ten nutrients and the cost

}  // namespace

ScaledRowFields RowFields(ScaledRow row) {
    switch (row) {
        case ScaledRow::Portion:
            return {F::kPortionWeight, F::kPortionEnergy};
        case ScaledRow::Tablespoon:
            return {F::kTablespoonWeight, F::kTablespoonEnergy};
        case ScaledRow::Label:
            break;
    }
    return {F::kLabelPortionWeight, F::kLabelEnergy};
}

std::optional<std::string> PortionWeight(std::string_view yield, std::string_view portions) {
    if (IsBlankValue(portions) || IsBlankValue(yield)) {
        return std::string(kBlankWeight);
    }
    const long double count = TextToNumber(portions);
    if (count <= 0) {
        return std::nullopt;
    }
    return FormatNumber(0, 6, TextToNumber(yield) / count);
}

void ScaleFromYield(std::string& record, ScaledRow row) {
    const ScaledRowFields fields = RowFields(row);
    const std::string yield = GetField(F::kYield, record);
    const std::string weight = GetField(fields.weight, record);
    if (IsBlankValue(yield) || TextToNumber(yield) <= 0 || IsBlankValue(weight)) {
        return;
    }
    const double ratio =
        static_cast<double>(TextToNumber(weight)) / static_cast<double>(TextToNumber(yield));
    for (int k = 0; k < kValuesPerRow; ++k) {
        const std::string total = GetField(F::kEnergyTotal + k, record);
        std::string scaled(kBlankAmount);
        if (!IsBlankValue(total)) {
            const long double value = TextToNumber(total) * static_cast<long double>(ratio);
            scaled = FormatNumber(2, 9, std::min(value, kAmountLimit));
        }
        SetField(fields.first + k, record, scaled);
    }
}

void BlankScaledRow(std::string& record, ScaledRow row) {
    const int first = RowFields(row).first;
    for (int k = 0; k < kValuesPerRow; ++k) {
        SetField(first + k, record, kBlankAmount);
    }
}

}  // namespace velmaro
