#include "preparations/PreparationTotals.h"

#include <string>

#include "preparations/ValueLimits.h"
#include "storage/Cp1252.h"
#include "storage/Paths.h"
#include "storage/PreparationRecord.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

long double RawSum(const LineList& lines, int field) {
    long double sum = 0;
    for (const auto& line : lines.Items()) {
        sum += TextToNumber(GetField(field, line));
    }
    return sum;
}

// The name a sum of this line field has in its limit message (UTF-8).
const char* SumName(int field) {
    switch (field) {
        case IngredientLineField::kGrossWeight:
            return "Peso Bruto";
        case IngredientLineField::kNetWeight:
            return "Peso líquido";
        case IngredientLineField::kComputedCost:
            return "Custo Calculado";
        default:
            break;
    }
    for (const auto& n : kNutrients) {
        if (n.lineField == field) {
            return n.sumName;
        }
    }
    return "";
}

}  // namespace

long double SumRecordField(const LineList& lines, int field) {
    const long double sum = RawSum(lines, field);
    return AboveAmountLimit(sum) ? kAmountLimit : sum;
}

long double SumLineField(const LineList& lines, int field, Ui& ui) {
    const long double sum = RawSum(lines, field);
    if (!AboveAmountLimit(sum)) {
        return sum;
    }
    ui.ShowMessageBox(
        W(std::string("ERRO! Somatório do ") + SumName(field) + " maior que 999999,99!"),
        MessageKind::Ok);
    ui.ShowMessageBox(ReduceWeightsMessage(), MessageKind::Ok);
    return kAmountLimit;
}

WeightSums UpdatePreparationTotals(const LineList& lines, LineList& preparations, int recordIndex,
                                   Ui& ui) {
    WeightSums sums;
    sums.gross = SumLineField(lines, IngredientLineField::kGrossWeight, ui);
    sums.net = SumLineField(lines, IngredientLineField::kNetWeight, ui);
    const bool haveRecord = recordIndex >= 0 && recordIndex < preparations.Count();
    auto writeTotal = [&](int lineField, int recordField) {
        const std::string total = FormatNumber(2, 9, SumLineField(lines, lineField, ui));
        if (haveRecord) {
            SetRecordField(preparations, recordIndex, recordField, total);
        }
    };
    for (const auto& n : kNutrients) {
        writeTotal(n.lineField, n.recordField);
    }
    writeTotal(IngredientLineField::kComputedCost, PreparationRecordField::kCostTotal);
    return sums;
}

WeightSums CopyIngredients(LineTable& lines, const std::filesystem::path& home,
                           std::string_view table, std::string_view preparation,
                           std::string_view source, LineList& preparations, int recordIndex,
                           Ui& ui) {
    LineTable copied;
    LoadLineTable(PreparationFilePath(home, table, source), copied);
    SaveLineTable(PreparationFilePath(home, table, preparation), copied.lines);
    lines = std::move(copied);
    return UpdatePreparationTotals(lines.lines, preparations, recordIndex, ui);
}

}  // namespace velmaro
