#include "output/reference/ReferencePortion.h"

#include <cmath>
#include <vector>

#include "output/labels/current/Rdc429Rules.h"
#include "output/reference/In75List.h"
#include "storage/Cp1252.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

std::string Trimmed(std::string_view text) {
    std::string t = TrimTrailingSpaces(text);
    t.erase(0, std::min(t.find_first_not_of(' '), t.size()));
    return t;
}

std::string Decimal(long double value) {
    std::string text = RemoveSpaces(FormatNumber(2, 12, value));
    while (!text.empty() && text.back() == '0') {
        text.pop_back();
    }
    if (!text.empty() && text.back() == ',') {
        text.pop_back();
    }
    return text;
}

struct Amount {
    long double value;
    std::string unit;
};

// "60 g", "130 ml", "60 g ou 130 ml": every amount; nothing when the text is not made of
// them alone.
std::optional<std::vector<Amount>> Amounts(std::string_view text) {
    std::vector<Amount> amounts;
    std::string rest = Trimmed(text);
    while (true) {
        const size_t orAt = rest.find(" ou ");
        const std::string part = rest.substr(0, orAt);
        const size_t space = part.find(' ');
        if (space == std::string::npos) {
            return std::nullopt;
        }
        const auto value = ParseNumber(part.substr(0, space));
        const std::string unit = part.substr(space + 1);
        if (!value || (unit != "g" && unit != "ml")) {
            return std::nullopt;
        }
        amounts.push_back({*value, unit});
        if (orAt == std::string::npos) {
            return amounts;
        }
        rest = rest.substr(orAt + 4);
    }
}

}  // namespace

std::string ReferencePortionLine(const LabelPortionData& data) {
    if (!data.food.empty()) {
        std::string where;
        if (const auto group = In75GroupOfTable(data.table)) {
            where = "IN 75, Anexo V, Grupo " + std::string(rdc429::kPortionGroups[*group].numeral);
        } else {
            where = data.table.empty() ? W("lista de valores de referência") : data.table;
        }
        const std::string portion = data.unit.empty() ? data.value : data.value + " " + data.unit;
        return W("Porção de referência: ") + data.food + W(" — ") + portion + " (" + where + ")";
    }
    if (!data.origin.empty()) {
        return W("Porção de referência: ") + data.value + " " + data.unit + " (" + data.origin +
               ")";
    }
    return {};
}

std::string PortionDifferenceWarning(const LabelPortionData& data, std::string_view weight,
                                     std::string_view unit) {
    if (data.food.empty() && data.origin.empty()) {
        return {};
    }
    const std::string reference =
        data.unit.empty() ? data.value : Trimmed(data.value) + " " + data.unit;
    const auto amounts = Amounts(reference);
    const auto label = ParseNumber(RemoveSpaces(weight));
    if (!amounts || !label) {
        return {};
    }
    std::string labelUnit = Trimmed(unit);
    if (labelUnit.empty()) {
        labelUnit = "g";
    }
    for (const Amount& a : *amounts) {
        if (a.unit == labelUnit && std::fabs(a.value - *label) < 1e-9L) {
            return {};
        }
    }
    return W("A porção do rótulo (") + Decimal(*label) + " " + labelUnit +
           W(") difere da porção de referência (") + reference + ").";
}

GroupEnergyPortion PortionFromGroupEnergy(size_t group, std::optional<long double> kcalPerGram) {
    GroupEnergyPortion result;
    if (group >= rdc429::kPortionGroups.size()) {
        result.refusal = W("Grupo desconhecido: use I, II, III, IV, V, VI, VII ou VIII.");
        return result;
    }
    const rdc429::PortionGroup& g = rdc429::kPortionGroups[group];
    const std::string name = "Grupo " + std::string(g.numeral);
    if (g.meanKcal <= 0) {
        result.refusal = W("O ") + name +
                         W(" não tem valor energético médio da porção (IN 75, Anexo V): a "
                           "porção do rótulo não pode ser obtida dele.");
        return result;
    }
    if (!kcalPerGram || !(*kcalPerGram > 0)) {
        result.refusal =
            W("A preparação não tem valor energético e rendimento: a porção não "
              "pode ser obtida da energia média do grupo.");
        return result;
    }
    const long double exact = g.meanKcal / *kcalPerGram;
    result.grams = static_cast<int>(std::floor(exact + 0.5L));
    if (result.grams < 1) {
        result.refusal = W("A porção pela energia média do ") + name + W(" daria menos de 1 g.");
        return result;
    }
    result.explanation = W("porção pela energia média do ") + name + " (" +
                         std::to_string(g.meanKcal) + W(" kcal ÷ ") + Decimal(*kcalPerGram) +
                         W(" kcal/g = ") + Decimal(exact) + W(" g, arredondado para ") +
                         std::to_string(result.grams) + W(" g; RDC 429, art. 9º IX)");
    return result;
}

}  // namespace velmaro
