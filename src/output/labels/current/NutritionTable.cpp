#include "output/labels/current/NutritionTable.h"

#include <algorithm>
#include <cmath>

#include "output/labels/mark/FrontOfPack.h"
#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

using rdc429::kRows;

constexpr std::string_view kUnknown = "?";

// An amount computed in binary floating point, taken to nine decimals so that a value
// meant to be 0,5 compares as 0,5 with the thresholds.
long double Clean(long double x) {
    return std::round(x * 1e9L) / 1e9L;
}

const rdc429::Row& RowAt(int row) {
    return kRows[static_cast<size_t>(std::clamp(row, 0, rdc429::kRowCount - 1))];
}

// x (>= 0) rounded half up to `decimals` decimals, comma as decimal sign, a decimal part
// of zero left out.
std::string HalfUpText(long double x, int decimals) {
    std::string text = FormatNumber(decimals, 30, x);
    text.erase(0, text.find_first_not_of(' '));
    const auto comma = text.find(',');
    if (comma != std::string::npos && text.find_first_not_of('0', comma + 1) == std::string::npos) {
        text.erase(comma);
    }
    return text;
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string> items;
    while (!text.empty()) {
        const auto at = text.find(separator);
        items.emplace_back(text.substr(0, at));
        if (at == std::string_view::npos) {
            break;
        }
        text.remove_prefix(at + separator.size());
    }
    return items;
}

std::string UnitWord(bool liquid) {
    return liquid ? "ml" : "g";
}

}  // namespace

Rdc429Declared DeclareRdc429(int row, long double amount) {
    const rdc429::Row& r = RowAt(row);
    const long double x = Clean(amount);
    if (x <= r.zeroAtOrBelow) {
        return {"0", 0};
    }
    int decimals = 0;
    if (x >= rdc429::kWholeFrom) {
        decimals = 0;
    } else if (x >= rdc429::kOneDecimalFrom || r.unit != rdc429::Unit::Milligram) {
        decimals = 1;
    } else {
        decimals = 2;
    }
    Rdc429Declared d;
    d.text = HalfUpText(x, decimals);
    d.value = TextToNumber(d.text);
    return d;
}

std::string DailyValueRdc429(int row, long double declaredPerPortion) {
    const rdc429::Row& r = RowAt(row);
    if (r.dailyValue <= 0) {
        return {};
    }
    return HalfUpText(Clean(declaredPerPortion * 100 / r.dailyValue), 0);
}

std::string ServingsPerPackage(long double content, long double portion) {
    if (!(content > 0) || !(portion > 0)) {
        return {};
    }
    const long double n = Clean(content / portion);
    if (n == std::floor(n)) {
        return HalfUpText(n, 0);
    }
    return "cerca de " + HalfUpText(std::max(1.0L, std::floor(n + 0.5L)), 0);
}

std::string NutritionRowCaption(int row) {
    return W(RowAt(row).caption);
}

NutritionTable ComposeNutritionTable(const NutritionTableInput& in) {
    NutritionTable t;
    t.rules = std::string(rdc429::kRulesName);
    const std::string unit = UnitWord(in.liquid);
    const bool hasYield = in.yield > 0;
    const bool hasPortion = in.portion > 0;
    const std::string portionText = HalfUpText(in.portion > 0 ? in.portion : 0, 0);
    if (in.netContent) {
        t.servings = ServingsPerPackage(*in.netContent, in.portion);
    }
    t.portion = portionText + " " + unit;
    if (!IsAllSpaces(in.measure)) {
        t.portion += " (" + TrimTrailingSpaces(in.measure) + ")";
    }
    t.per100Head = "100 " + unit;
    t.portionHead = portionText + " " + unit;
    if (!hasYield) {
        t.missing.push_back(W("Rendimento da preparação"));
    }
    if (!hasPortion) {
        t.missing.push_back(W("Porção do rótulo"));
    }

    std::array<std::optional<long double>, rdc429::kRowCount> per100{};
    for (int k = 0; k < rdc429::kRowCount; ++k) {
        const RecipeAmount& a = in.amounts[static_cast<size_t>(k)];
        NutritionTableRow& row = t.rows[static_cast<size_t>(k)];
        const bool known = a.Complete();
        if (!known) {
            t.missing.push_back(TrimTrailingSpaces(NutritionRowCaption(k)) + ": " +
                                Join(a.missingIn, ", "));
        }
        row.per100 = std::string(kUnknown);
        row.perPortion = std::string(kUnknown);
        row.dailyValue = RowAt(k).dailyValue > 0 ? std::string(kUnknown) : std::string();
        if (!known || !hasYield) {
            continue;
        }
        per100[static_cast<size_t>(k)] = a.known * 100 / in.yield;
        row.per100 = DeclareRdc429(k, *per100[static_cast<size_t>(k)]).text;
        if (hasPortion) {
            const Rdc429Declared portion = DeclareRdc429(k, a.known * in.portion / in.yield);
            row.perPortion = portion.text;
            row.dailyValue = DailyValueRdc429(k, portion.value);
        }
    }
    t.incomplete = !t.missing.empty();

    for (const rdc429::HighInLimit& limit : rdc429::kHighIn) {
        const auto& amount = per100[static_cast<size_t>(limit.row)];
        if (!amount) {
            t.highInInconclusive.push_back(W(limit.words));
        } else if (Clean(*amount) >= (in.liquid ? limit.liquidPer100ml : limit.solidPer100g)) {
            t.highIn.push_back(W(limit.words));
        }
    }
    return t;
}

std::string NutritionTableWarning(const NutritionTable& table) {
    if (!table.incomplete) {
        return {};
    }
    std::string text = W("Atenção para ausência de valores na tabela nutricional!");
    for (const std::string& line : table.missing) {
        text += "\n" + line;
    }
    text +=
        W("\nOs valores desconhecidos aparecem como \"?\" e a tabela sai marcada "
          "\"INCOMPLETO – NÃO USAR EM EMBALAGEM\".");
    if (!table.highInInconclusive.empty()) {
        text += W("\n\"ALTO EM\" inconclusivo para: ") + Join(table.highInInconclusive, ", ") + ".";
    }
    return text;
}

std::vector<std::string> NutritionTableDataLines(const NutritionTable& t) {
    std::vector<std::string> lines;
    lines.push_back(W("Porções por embalagem|") + t.servings);
    lines.push_back(W("Porção|") + t.portion);
    for (int k = 0; k < rdc429::kRowCount; ++k) {
        const NutritionTableRow& row = t.rows[static_cast<size_t>(k)];
        lines.push_back(NutritionRowCaption(k) + "|" + row.per100 + "|" + row.perPortion + "|" +
                        row.dailyValue);
    }
    lines.push_back("ALTO EM|" + Join(t.highIn, ", "));
    if (!t.highInInconclusive.empty()) {
        lines.push_back("ALTO EM inconclusivo|" + Join(t.highInInconclusive, ", "));
    }
    return lines;
}

namespace {
constexpr std::string_view kSection = "DadRot";
}  // namespace

void SaveNutritionTable(IniFile& file, const NutritionTable& t) {
    file.WriteString(kSection, "RegRot", t.rules);
    file.WriteString(kSection, "PorEmb", t.servings);
    file.WriteString(kSection, "PorRot", t.portion);
    file.WriteString(kSection, "CabTab", t.per100Head + "|" + t.portionHead + "|");
    std::string cells;
    for (const NutritionTableRow& row : t.rows) {
        cells += row.per100 + "|" + row.perPortion + "|" + row.dailyValue + "|";
    }
    file.WriteString(kSection, "TabNut", cells);
    file.WriteString(kSection, "AltEm", Join(t.highIn, ", "));
    file.WriteString(kSection, "AltEmInc", Join(t.highInInconclusive, ", "));
    file.WriteString(kSection, "IncRot", Join(t.missing, "; "));
}

NutritionTable LoadNutritionTable(const IniFile& file) {
    NutritionTable t;
    t.rules = file.ReadString(kSection, "RegRot", "");
    t.servings = file.ReadString(kSection, "PorEmb", "");
    t.portion = file.ReadString(kSection, "PorRot", "");
    const std::string heads = file.ReadString(kSection, "CabTab", "");
    t.per100Head = GetField(1, heads);
    t.portionHead = GetField(2, heads);
    const std::string cells = file.ReadString(kSection, "TabNut", "");
    for (int k = 0; k < rdc429::kRowCount; ++k) {
        NutritionTableRow& row = t.rows[static_cast<size_t>(k)];
        row.per100 = GetField(3 * k + 1, cells);
        row.perPortion = GetField(3 * k + 2, cells);
        row.dailyValue = GetField(3 * k + 3, cells);
    }
    t.highIn = Split(file.ReadString(kSection, "AltEm", ""), ", ");
    t.highInInconclusive = Split(file.ReadString(kSection, "AltEmInc", ""), ", ");
    t.missing = Split(file.ReadString(kSection, "IncRot", ""), "; ");
    // A table never composed is not a table to put on a package either.
    t.incomplete = !t.missing.empty() || t.rules.empty();
    t.frontOfPackForbidden = LoadForbiddenFood(file);
    return t;
}

std::string LoadNetContent(const IniFile& file) {
    return file.ReadString(kSection, "ConLiq", "");
}

void SaveNetContent(IniFile& file, std::string_view text) {
    file.WriteString(kSection, "ConLiq", std::string(text));
}

}  // namespace velmaro
