#include "preparations/PreparationScaling.h"

#include <array>

#include "preparations/IngredientLine.h"
#include "preparations/ValueLimits.h"
#include "storage/Cp1252.h"
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

bool ScaleFromYield(std::string& record, ScaledRow row) {
    const ScaledRowFields fields = RowFields(row);
    const std::string yield = GetField(F::kYield, record);
    const std::string weight = GetField(fields.weight, record);
    if (IsBlankValue(yield) || TextToNumber(yield) <= 0 || IsBlankValue(weight)) {
        return true;
    }
    const double ratio =
        static_cast<double>(TextToNumber(weight)) / static_cast<double>(TextToNumber(yield));
    std::array<std::string, kValuesPerRow> scaled;
    for (int k = 0; k < kValuesPerRow; ++k) {
        const std::string total = GetField(F::kEnergyTotal + k, record);
        std::string& text = scaled[static_cast<size_t>(k)];
        text = kBlankAmount;
        if (!IsBlankValue(total)) {
            const long double value = TextToNumber(total) * static_cast<long double>(ratio);
            if (AboveAmountLimit(value)) {
                return false;  // the row keeps its values, as when it cannot be computed
            }
            text = FormatNumber(2, 9, value);
        }
    }
    for (int k = 0; k < kValuesPerRow; ++k) {
        SetField(fields.first + k, record, scaled[static_cast<size_t>(k)]);
    }
    return true;
}

bool ScaledRowIsStale(std::string_view record, ScaledRow row) {
    std::string scaled(record);
    if (!ScaleFromYield(scaled, row)) {
        return true;
    }
    const int first = RowFields(row).first;
    bool storedBlank = true;
    bool scaledBlank = true;
    for (int k = 0; k < kValuesPerRow; ++k) {
        storedBlank = storedBlank && IsBlankValue(GetField(first + k, record));
        scaledBlank = scaledBlank && IsBlankValue(GetField(first + k, scaled));
    }
    return storedBlank && !scaledBlank;
}

std::string ScaledValueTooLargeMessage(ScaledRow row) {
    switch (row) {
        case ScaledRow::Portion:
            return W(
                "ERRO! Valor calculado para a porção per capita maior que 999999,99! "
                "Os valores da porção ficaram em branco; confira o rendimento e o "
                "número de porções.");
        case ScaledRow::Tablespoon:
            return W(
                "ERRO! Valor calculado para a colher de sopa maior que 999999,99! "
                "Os valores da colher de sopa ficaram em branco; confira o rendimento "
                "e o peso da colher de sopa.");
        case ScaledRow::Label:
            break;
    }
    return W(
        "ERRO! Valor calculado para a porção do rótulo maior que 999999,99! "
        "Os valores da porção do rótulo ficaram em branco; confira o rendimento e o "
        "peso da porção do rótulo.");
}

void BlankScaledRow(std::string& record, ScaledRow row) {
    const int first = RowFields(row).first;
    for (int k = 0; k < kValuesPerRow; ++k) {
        SetField(first + k, record, kBlankAmount);
    }
}

}  // namespace velmaro
