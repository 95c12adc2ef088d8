#pragma once

// The numbers of the Brazilian nutrition labelling rules RDC 429/2020 and IN 75/2020, in
// one table: the rows of the nutrition table in their printed order with their captions,
// the amount at or below which a value is not significant, what else its "0" needs, the
// daily reference value that divides the %VD, the energy factors, the portions of an
// individual package, and the "ALTO EM" front-of-pack limits per 100 g (solid) and per
// 100 ml (liquid). A correction of the rules is a change of one line here (and of
// kRulesVersion when it changes what a table declares).
//
// Captions and words are UTF-8 source text; W() gives their Windows-1252 bytes.

#include <array>
#include <string_view>

namespace velmaro::rdc429 {

// The name stored beside every label composed under these numbers.
inline constexpr std::string_view kRulesName = "RDC 429/2020 + IN 75/2020";

// The version of these rules a stored table was composed under, stored beside the name.
// Raised whenever a change of the rules or of their reading changes what a table declares:
// a table stored under another version (or none: the first one) is composed again, and
// until it is, it is not a table to put on a package.
inline constexpr int kRulesVersion = 2;

enum class Unit { Kcal, Gram, Milligram };

// The rows of the table, top to bottom.
enum RowIndex : int {
    kEnergy = 0,
    kCarbohydrates,
    kTotalSugars,
    kAddedSugars,
    kProteins,
    kTotalFat,
    kSaturatedFat,
    kTransFat,
    kFibre,
    kSodium,
    kRowCount
};

inline constexpr int kNoRow = -1;

struct Row {
    std::string_view code;     // short name of the row, for data lines and tests
    std::string_view caption;  // as printed, without the indentation
    int indent;                // 0, 1 (a part of the row above) or 2 (a part of that one)
    Unit unit;
    // Not significant at or below this, per 100 g (ml) and per portion both: declared "0".
    // Added sugars have no such amount: "0" only when there are none (0 here).
    long double zeroAtOrBelow;
    // The rows that must be declared "0" too for this one to be "0" (kNoRow: none): the
    // conditions of IN 75 Anexo IV. "No added sugars" is added sugars declared "0".
    std::array<int, 2> zeroAlsoNeeds;
    long double dailyValue;  // divisor of the %VD; 0: the row has no %VD
};

inline constexpr std::array<Row, kRowCount> kRows{{
    {"KAL", "Valor energético (kcal)", 0, Unit::Kcal, 4, {kNoRow, kNoRow}, 2000},
    {"CHO", "Carboidratos (g)", 0, Unit::Gram, 0.5L, {kTotalSugars, kNoRow}, 300},
    {"ACT", "Açúcares totais (g)", 1, Unit::Gram, 0.5L, {kAddedSugars, kNoRow}, 0},
    {"ACA", "Açúcares adicionados (g)", 2, Unit::Gram, 0, {kNoRow, kNoRow}, 50},
    {"PTN", "Proteínas (g)", 0, Unit::Gram, 0.5L, {kNoRow, kNoRow}, 50},
    {"LIP", "Gorduras totais (g)", 0, Unit::Gram, 0.5L, {kSaturatedFat, kTransFat}, 65},
    {"SAT", "Gorduras saturadas (g)", 1, Unit::Gram, 0.1L, {kNoRow, kNoRow}, 20},
    {"TRA", "Gorduras trans (g)", 1, Unit::Gram, 0.1L, {kNoRow, kNoRow}, 2},
    {"FIB", "Fibras alimentares (g)", 0, Unit::Gram, 0.5L, {kNoRow, kNoRow}, 25},
    {"SOD", "Sódio (mg)", 0, Unit::Milligram, 5, {kNoRow, kNoRow}, 2000},
}};

// Rounding of IN 75 Anexo III, on the amount as computed: from kWholeFrom a whole number;
// from kOneDecimalFrom one decimal, a decimal of 0 not written; below it one decimal for
// grams, two for milligrams (one when the second is 0). Energy is always a whole number.
inline constexpr long double kWholeFrom = 10;
inline constexpr long double kOneDecimalFrom = 1;

// Energy is computed from the declared (rounded) amounts of these rows in the same column.
struct EnergyFactor {
    RowIndex row;
    long double kcalPerGram;
};
inline constexpr std::array<EnergyFactor, 3> kEnergyFactors{{
    {kCarbohydrates, 4},
    {kProteins, 4},
    {kTotalFat, 9},
}};

// A row's "0" depends only on rows below it (energy on its factors too), so a table is
// declared from the bottom up.
constexpr bool DependenciesPointDown() {
    for (int k = 0; k < kRowCount; ++k) {
        for (const int needed : kRows[static_cast<std::size_t>(k)].zeroAlsoNeeds) {
            if (needed != kNoRow && needed <= k) {
                return false;
            }
        }
    }
    for (const EnergyFactor& f : kEnergyFactors) {
        if (f.row <= kEnergy) {
            return false;
        }
    }
    return true;
}
static_assert(DependenciesPointDown());

// A package holding this many portions or fewer is an individual package: its portion is
// the whole content, its household measure kIndividualMeasure, and it has no "Porções por
// embalagem" line.
inline constexpr long double kIndividualPackageUpTo = 2;
inline constexpr std::string_view kIndividualMeasure = "1 embalagem";

constexpr bool IsIndividualPackage(long double content, long double portion) {
    return content > 0 && portion > 0 && content <= kIndividualPackageUpTo * portion;
}

// "Porções por embalagem" of a number of portions that is not whole: this word, then the
// number rounded by its first decimal (below 5 kept, 5 or more one up).
inline constexpr std::string_view kAboutServings = "Cerca de ";

// A front-of-pack limit: the nutrient is "high" when its unrounded amount per 100 g (per
// 100 ml for a liquid) is at or above the limit.
struct HighInLimit {
    RowIndex row;
    std::string_view words;  // the line of the mark
    long double solidPer100g;
    long double liquidPer100ml;
};

// In the order the mark lists them.
inline constexpr std::array<HighInLimit, 3> kHighIn{{
    {kAddedSugars, "AÇÚCAR ADICIONADO", 15, 7.5L},
    {kSaturatedFat, "GORDURA SATURADA", 6, 3},
    {kSodium, "SÓDIO", 600, 300},
}};

// The food groups of the reference portions (IN 75 Anexo V) and the mean energy of a
// portion of each (RDC 429 art. 9 IX: the portion of a food the list does not name, nor
// anything like it, is the amount of the group's mean energy). Group VIII has none (0).
struct PortionGroup {
    std::string_view numeral;
    int meanKcal;
};
inline constexpr std::array<PortionGroup, 8> kPortionGroups{{
    {"I", 150},
    {"II", 30},
    {"III", 70},
    {"IV", 125},
    {"V", 125},
    {"VI", 100},
    {"VII", 100},
    {"VIII", 0},
}};

}  // namespace velmaro::rdc429
