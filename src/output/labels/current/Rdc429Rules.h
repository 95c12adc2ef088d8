#pragma once

// The numbers of the Brazilian nutrition labelling rules RDC 429/2020 and IN 75/2020, in
// one table: the rows of the nutrition table in their printed order with their captions,
// the amount at or below which a value is declared as "0" and the daily reference value
// that divides the %VD; and the "ALTO EM" front-of-pack limits per 100 g (solid) and per
// 100 ml (liquid). A correction of the rules is a change of one line here.
//
// Captions and words are UTF-8 source text; W() gives their Windows-1252 bytes.

#include <array>
#include <string_view>

namespace velmaro::rdc429 {

// The name stored beside every label composed under these numbers.
inline constexpr std::string_view kRulesName = "RDC 429/2020 + IN 75/2020";

enum class Unit { Kcal, Gram, Milligram };

struct Row {
    std::string_view code;     // short name of the row, for data lines and tests
    std::string_view caption;  // as printed, without the indentation
    int indent;                // 0, 1 (a part of the row above) or 2 (a part of that one)
    Unit unit;
    long double zeroAtOrBelow;  // an amount at or below this is declared "0"
    long double dailyValue;     // divisor of the %VD; 0: the row has no %VD
};

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

inline constexpr std::array<Row, kRowCount> kRows{{
    {"KAL", "Valor energético (kcal)", 0, Unit::Kcal, 4, 2000},
    {"CHO", "Carboidratos (g)", 0, Unit::Gram, 0.5L, 300},
    {"ACT", "Açúcares totais (g)", 1, Unit::Gram, 0.5L, 0},
    {"ACA", "Açúcares adicionados (g)", 2, Unit::Gram, 0.5L, 50},
    {"PTN", "Proteínas (g)", 0, Unit::Gram, 0.5L, 50},
    {"LIP", "Gorduras totais (g)", 0, Unit::Gram, 0.5L, 65},
    {"SAT", "Gorduras saturadas (g)", 1, Unit::Gram, 0.1L, 20},
    {"TRA", "Gorduras trans (g)", 1, Unit::Gram, 0.1L, 2},
    {"FIB", "Fibras alimentares (g)", 0, Unit::Gram, 0.5L, 25},
    {"SOD", "Sódio (mg)", 0, Unit::Milligram, 5, 2000},
}};

// Above this a rounded value is a whole number; from kOneDecimalFrom up to it, one decimal;
// below kOneDecimalFrom one decimal for grams and kcal, two for milligrams.
inline constexpr long double kWholeFrom = 10;
inline constexpr long double kOneDecimalFrom = 1;

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
