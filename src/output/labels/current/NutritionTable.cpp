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

Rdc429Declared RoundRdc429(int row, long double amount) {
    const rdc429::Row& r = RowAt(row);
    const long double x = Clean(std::max(0.0L, amount));
    int decimals = 0;
    if (r.unit == rdc429::Unit::Kcal || x >= rdc429::kWholeFrom) {
        decimals = 0;
    } else if (x >= rdc429::kOneDecimalFrom || r.unit != rdc429::Unit::Milligram) {
        decimals = 1;
    } else {
        decimals = 2;
    }
    std::string text = FormatNumber(decimals, 30, x);
    text.erase(0, text.find_first_not_of(' '));
    const long double rounded = TextToNumber(text);
    if (rounded >= rdc429::kOneDecimalFrom) {
        // From 1 on a decimal part of zero is not written ("2", "10"; also 0,96 g -> "1").
        const auto comma = text.find(',');
        if (comma != std::string::npos &&
            text.find_first_not_of('0', comma + 1) == std::string::npos) {
            text.erase(comma);
        }
    } else if (decimals == 2 && text.back() == '0') {
        text.pop_back();  // below 1 mg: one decimal when the second is 0 ("0,8")
    }
    return {text, rounded};
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
    return W(rdc429::kAboutServings) + HalfUpText(std::max(1.0L, std::floor(n + 0.5L)), 0);
}

std::string NutritionRowCaption(int row) {
    return W(RowAt(row).caption);
}

namespace {

// Whether a row is declared "0": its amount not significant in both columns and the rows
// its "0" needs declared "0"; unknown when that depends on something unknown.
enum class Zero { Yes, No, Unknown };

// The two columns of a row: per 100 g (ml) and per portion; none where unknown.
using Columns = std::array<std::optional<long double>, 2>;

// What is known of a row as the table is declared from the bottom up.
struct RowState {
    Columns amounts;                   // as computed, unrounded
    Columns declared;                  // the numbers the cells stand for
    Zero zero = Zero::Unknown;         // the row's "0"
    std::vector<std::string> lacking;  // ingredients whose unknown values make it "?"
};

void AddMissing(std::vector<std::string>& to, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (std::find(to.begin(), to.end(), name) == to.end()) {
            to.push_back(name);
        }
    }
}

Zero ZeroOf(int k, const Columns& amounts, const std::array<RowState, rdc429::kRowCount>& rows) {
    const rdc429::Row& r = RowAt(k);
    bool unknown = false;
    for (const auto& amount : amounts) {
        if (!amount) {
            unknown = true;
        } else if (*amount > r.zeroAtOrBelow) {
            return Zero::No;  // significant in one column: declared in both
        }
    }
    if (unknown) {
        return Zero::Unknown;
    }
    Zero zero = Zero::Yes;
    for (const int needed : r.zeroAlsoNeeds) {
        if (needed == rdc429::kNoRow) {
            continue;
        }
        const Zero other = rows[static_cast<size_t>(needed)].zero;
        if (other == Zero::No) {
            return Zero::No;
        }
        if (other == Zero::Unknown) {
            zero = Zero::Unknown;
        }
    }
    return zero;
}

// Declares row k from its amounts and the rows below it; the cells of `out`.
void DeclareRow(int k, std::array<RowState, rdc429::kRowCount>& rows, NutritionTableRow& out) {
    RowState& row = rows[static_cast<size_t>(k)];
    row.zero = ZeroOf(k, row.amounts, rows);
    if (row.zero == Zero::Unknown && row.amounts[0] && row.amounts[1]) {
        // Both amounts known and not significant: the "0" waits on the rows it needs.
        for (const int needed : RowAt(k).zeroAlsoNeeds) {
            if (needed != rdc429::kNoRow) {
                AddMissing(row.lacking, rows[static_cast<size_t>(needed)].lacking);
            }
        }
    }
    std::array<std::string, 2> cells;
    for (size_t c = 0; c < 2; ++c) {
        if (!row.amounts[c] || row.zero == Zero::Unknown) {
            cells[c] = std::string(kUnknown);
        } else if (row.zero == Zero::Yes) {
            cells[c] = "0";
            row.declared[c] = 0;
        } else {
            const Rdc429Declared d = RoundRdc429(k, *row.amounts[c]);
            cells[c] = d.text;
            row.declared[c] = d.value;
        }
    }
    out.per100 = cells[0];
    out.perPortion = cells[1];
    if (RowAt(k).dailyValue <= 0) {
        out.dailyValue.clear();
    } else if (row.declared[1]) {
        out.dailyValue = DailyValueRdc429(k, *row.declared[1]);
    } else {
        out.dailyValue = std::string(kUnknown);
    }
}

}  // namespace

NutritionTable ComposeNutritionTable(const NutritionTableInput& in) {
    NutritionTable t;
    t.rules = std::string(rdc429::kRulesName);
    t.rulesVersion = rdc429::kRulesVersion;
    const std::string unit = UnitWord(in.liquid);
    const bool hasYield = in.yield > 0;

    // An individual package: the portion is the whole content.
    const long double judgedOn =
        in.referencePortion && *in.referencePortion > 0 ? *in.referencePortion : in.portion;
    t.individualPackage = in.netContent && rdc429::IsIndividualPackage(*in.netContent, judgedOn);
    const long double portion = t.individualPackage ? *in.netContent : in.portion;
    const bool hasPortion = portion > 0;
    const std::string portionText = HalfUpText(hasPortion ? portion : 0, 0);
    if (in.netContent && !t.individualPackage) {
        t.servings = ServingsPerPackage(*in.netContent, in.portion);
    }
    t.portion = portionText + " " + unit;
    if (t.individualPackage) {
        t.portion += " (" + W(rdc429::kIndividualMeasure) + ")";
    } else if (!IsAllSpaces(in.measure)) {
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

    std::array<RowState, rdc429::kRowCount> rows{};
    for (int k = 0; k < rdc429::kRowCount; ++k) {
        const RecipeAmount& a = in.amounts[static_cast<size_t>(k)];
        RowState& row = rows[static_cast<size_t>(k)];
        if (k == rdc429::kEnergy) {
            continue;  // computed from the declared rows below
        }
        row.lacking = a.missingIn;
        if (!a.Complete() || !hasYield) {
            continue;
        }
        row.amounts[0] = Clean(a.known * 100 / in.yield);
        if (hasPortion) {
            row.amounts[1] = Clean(a.known * portion / in.yield);
        }
    }
    // Bottom up: a row's "0" and the energy depend only on rows below them.
    for (int k = rdc429::kRowCount - 1; k >= 0; --k) {
        RowState& row = rows[static_cast<size_t>(k)];
        if (k == rdc429::kEnergy) {
            for (size_t c = 0; c < 2; ++c) {
                long double kcal = 0;
                bool known = true;
                for (const rdc429::EnergyFactor& f : rdc429::kEnergyFactors) {
                    const RowState& from = rows[static_cast<size_t>(f.row)];
                    known = known && from.declared[c].has_value();
                    kcal += from.declared[c].value_or(0) * f.kcalPerGram;
                }
                if (known) {
                    row.amounts[c] = Clean(kcal);
                }
            }
            for (const rdc429::EnergyFactor& f : rdc429::kEnergyFactors) {
                AddMissing(row.lacking, rows[static_cast<size_t>(f.row)].lacking);
            }
        }
        DeclareRow(k, rows, t.rows[static_cast<size_t>(k)]);
    }
    for (int k = 0; k < rdc429::kRowCount; ++k) {
        const std::vector<std::string>& lacking = rows[static_cast<size_t>(k)].lacking;
        if (!lacking.empty()) {
            t.missing.push_back(TrimTrailingSpaces(NutritionRowCaption(k)) + ": " +
                                Join(lacking, ", "));
        }
    }
    t.incomplete = !t.missing.empty();

    // "ALTO EM" on the unrounded amount per 100 g (ml): the known part reaching the limit
    // is enough, for an unknown part can only add to it.
    for (const rdc429::HighInLimit& limit : rdc429::kHighIn) {
        const RecipeAmount& a = in.amounts[static_cast<size_t>(limit.row)];
        const long double reachedAt = in.liquid ? limit.liquidPer100ml : limit.solidPer100g;
        if (hasYield && Clean(a.known * 100 / in.yield) >= reachedAt) {
            t.highIn.push_back(W(limit.words));
        } else if (!hasYield || !a.Complete()) {
            t.highInInconclusive.push_back(W(limit.words));
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
    file.WriteString(kSection, "VerReg", std::to_string(t.rulesVersion));
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
    t.rulesVersion = static_cast<int>(TextToNumber(file.ReadString(kSection, "VerReg", "")));
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
    if (!t.rules.empty() && t.rulesVersion != rdc429::kRulesVersion) {
        t.missing.push_back(W("Tabela composta por regras anteriores: componha o rótulo de novo"));
    }
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
