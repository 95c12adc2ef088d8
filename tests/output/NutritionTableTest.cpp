#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "output/labels/current/NutritionTable.h"
#include "output/labels/current/RecipeNutrients.h"
#include "storage/Cp1252.h"
#include "storage/Text.h"

namespace velmaro {
namespace {

using namespace rdc429;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A case of the declaration rules: a recipe of 100 g (ml) with these amounts (every other
// row 0), a label portion, a package, and the data lines the table must have.
struct DeclarationCase {
    const char* rule;
    std::vector<std::pair<int, long double>> per100;
    long double portion = 100;
    std::vector<int> unknown = {};  // rows some ingredient has no value for
    std::optional<long double> content = std::nullopt;
    std::optional<long double> reference = std::nullopt;
    std::vector<std::string> lines = {};  // UTF-8
};

// The rules of IN 75 Anexos III, IV and VI and RDC 429 arts. 7, 10, 12 and 32 at their
// edges: each limit at, just below and just above in one column and in both, each
// condition of a "0" on and off, the rounding bands, energy from the declared amounts,
// the individual package and "Cerca de".
TEST(NutritionTable, DeclarationRules) {
    const std::string kcal = "Valor energético (kcal)|";
    const std::string cho = "Carboidratos (g)|";
    const std::string act = "Açúcares totais (g)|";
    const std::string aca = "Açúcares adicionados (g)|";
    const std::string ptn = "Proteínas (g)|";
    const std::string lip = "Gorduras totais (g)|";
    const std::string sat = "Gorduras saturadas (g)|";
    const std::string tra = "Gorduras trans (g)|";
    const std::string fib = "Fibras alimentares (g)|";
    const std::string sod = "Sódio (mg)|";
    const DeclarationCase cases[] = {
        // Not significant: at or below the limit per 100 g and per portion both.
        {"sodium at 5 mg in both", {{kSodium, 5}}, 100, {}, {}, {}, {sod + "0|0|0"}},
        {"sodium below", {{kSodium, 4.99L}}, 100, {}, {}, {}, {sod + "0|0|0"}},
        {"sodium just above in both", {{kSodium, 5.01L}}, 100, {}, {}, {}, {sod + "5|5|0"}},
        {"sodium above per 100 g alone", {{kSodium, 8}}, 10, {}, {}, {}, {sod + "8|0,8|0"}},
        {"sodium above per portion alone", {{kSodium, 4}}, 200, {}, {}, {}, {sod + "4|8|0"}},
        {"sodium at 5 per 100 g, just above per portion",
         {{kSodium, 5}},
         101,
         {},
         {},
         {},
         {sod + "5|5,1|0"}},
        {"saturated at 0,1 in both",
         {{kSaturatedFat, 0.1L}, {kTotalFat, 0.1L}},
         100,
         {},
         {},
         {},
         {sat + "0|0|0", lip + "0|0|0"}},
        {"saturated just above",
         {{kSaturatedFat, 0.11L}, {kTotalFat, 0.11L}},
         100,
         {},
         {},
         {},
         {sat + "0,1|0,1|1", lip + "0,1|0,1|0"}},
        {"saturated above per 100 g alone",
         {{kSaturatedFat, 0.5L}, {kTotalFat, 0.6L}},
         10,
         {},
         {},
         {},
         {sat + "0,5|0,1|1", lip + "0,6|0,1|0"}},
        {"trans at 0,1", {{kTransFat, 0.1L}, {kTotalFat, 0.1L}}, 100, {}, {}, {}, {tra + "0|0|0"}},
        {"trans above per 100 g alone",
         {{kTransFat, 0.2L}, {kTotalFat, 2}},
         25,
         {},
         {},
         {},
         {tra + "0,2|0,1|5"}},
        {"carbohydrates at 0,5", {{kCarbohydrates, 0.5L}}, 100, {}, {}, {}, {cho + "0|0|0"}},
        {"carbohydrates just above",
         {{kCarbohydrates, 0.51L}},
         100,
         {},
         {},
         {},
         {cho + "0,5|0,5|0"}},
        {"carbohydrates above per 100 g alone",
         {{kCarbohydrates, 2}},
         25,
         {},
         {},
         {},
         {cho + "2|0,5|0", kcal + "8|2|0"}},
        {"proteins at 0,5 and just above",
         {{kProteins, 0.5L}, {kFibre, 0.51L}},
         100,
         {},
         {},
         {},
         {ptn + "0|0|0", fib + "0,5|0,5|2"}},
        {"proteins just above, fibre at 0,5",
         {{kProteins, 0.55L}, {kFibre, 0.5L}},
         100,
         {},
         {},
         {},
         {ptn + "0,6|0,6|1", fib + "0|0|0"}},
        // Energy from the declared carbohydrates, proteins and fat; 4 kcal in both is "0".
        {"energy at 4 kcal in both", {{kCarbohydrates, 1}}, 100, {}, {}, {}, {kcal + "0|0|0"}},
        {"energy below 4 kcal", {{kCarbohydrates, 0.9L}}, 100, {}, {}, {}, {kcal + "0|0|0"}},
        {"energy just above 4 kcal",
         {{kCarbohydrates, 1.1L}},
         100,
         {},
         {},
         {},
         {kcal + "4|4|0", cho + "1,1|1,1|0"}},
        {"energy at 4 per 100 g, above per portion",
         {{kCarbohydrates, 1}},
         200,
         {},
         {},
         {},
         {kcal + "4|8|0", cho + "1|2|1"}},
        {"energy from the declared values, not the composition table's",
         {{kEnergy, 999}, {kCarbohydrates, 10.44L}, {kProteins, 5.55L}, {kTotalFat, 3.33L}},
         50,
         {},
         {},
         {},
         {kcal + "92|47|2", cho + "10|5,2|2", ptn + "5,6|2,8|6", lip + "3,3|1,7|3"}},
        // The conditions of a "0".
        {"carbohydrates 0 with total sugars declared 0",
         {{kCarbohydrates, 0.4L}, {kTotalSugars, 0.2L}},
         100,
         {},
         {},
         {},
         {cho + "0|0|0", act + "0|0|"}},
        {"carbohydrates declared when total sugars are not 0 (added sugars)",
         {{kCarbohydrates, 0.4L}, {kTotalSugars, 0.3L}, {kAddedSugars, 0.3L}},
         100,
         {},
         {},
         {},
         {cho + "0,4|0,4|0", act + "0,3|0,3|", aca + "0,3|0,3|1"}},
        {"carbohydrates unknown when total sugars are unknown",
         {{kCarbohydrates, 0.4L}},
         100,
         {kTotalSugars},
         {},
         {},
         {cho + "?|?|?", act + "?|?|", kcal + "?|?|?"}},
        {"significant carbohydrates do not wait on the sugars",
         {{kCarbohydrates, 2}},
         100,
         {kTotalSugars},
         {},
         {},
         {cho + "2|2|1", kcal + "8|8|0"}},
        {"total sugars unknown when added sugars are unknown",
         {{kTotalSugars, 0.3L}, {kCarbohydrates, 3}},
         100,
         {kAddedSugars},
         {},
         {},
         {act + "?|?|", aca + "?|?|?", cho + "3|3|1"}},
        {"added sugars have no limit",
         {{kAddedSugars, 0.04L}, {kTotalSugars, 0.04L}, {kCarbohydrates, 0.04L}},
         100,
         {},
         {},
         {},
         {aca + "0,0|0,0|0", act + "0,0|0,0|", cho + "0,0|0,0|0"}},
        {"total fat 0 with saturated and trans declared 0",
         {{kTotalFat, 0.4L}, {kSaturatedFat, 0.1L}, {kTransFat, 0.1L}},
         100,
         {},
         {},
         {},
         {lip + "0|0|0", sat + "0|0|0", tra + "0|0|0"}},
        {"total fat declared when saturated is not 0",
         {{kTotalFat, 0.4L}, {kSaturatedFat, 0.2L}},
         100,
         {},
         {},
         {},
         {lip + "0,4|0,4|1", sat + "0,2|0,2|1", tra + "0|0|0"}},
        {"total fat declared when trans is not 0",
         {{kTotalFat, 0.4L}, {kTransFat, 0.2L}},
         100,
         {},
         {},
         {},
         {lip + "0,4|0,4|1", tra + "0,2|0,2|10"}},
        {"total fat unknown when trans is unknown",
         {{kTotalFat, 0.4L}},
         100,
         {kTransFat},
         {},
         {},
         {lip + "?|?|?", tra + "?|?|?", kcal + "?|?|?"}},
        {"significant total fat does not wait on trans",
         {{kTotalFat, 3}},
         100,
         {kTransFat},
         {},
         {},
         {lip + "3|3|5", kcal + "27|27|1"}},
        // Rounding bands.
        {"9,95 to 10; 4,975 to 5", {{kProteins, 9.95L}}, 50, {}, {}, {}, {ptn + "10|5|10"}},
        {"9,94 to 9,9; 4,97 to 5", {{kProteins, 9.94L}}, 50, {}, {}, {}, {ptn + "9,9|5|10"}},
        {"10,5 to 11; 1,05 to 1,1", {{kProteins, 10.5L}}, 10, {}, {}, {}, {ptn + "11|1,1|2"}},
        {"10,49 to 10; 1,049 to 1", {{kProteins, 10.49L}}, 10, {}, {}, {}, {ptn + "10|1|2"}},
        {"2 and not 2,0", {{kProteins, 20}}, 10, {}, {}, {}, {ptn + "20|2|4"}},
        {"0,95 g to 1; 0,94 g to 0,9",
         {{kProteins, 9.5L}, {kFibre, 9.4L}},
         10,
         {},
         {},
         {},
         {ptn + "9,5|1|2", fib + "9,4|0,9|4"}},
        {"below 0,05 g: 0,0",
         {{kSaturatedFat, 0.3L}, {kTotalFat, 1}},
         10,
         {},
         {},
         {},
         {sat + "0,3|0,0|0"}},
        {"below 1 mg: two decimals", {{kSodium, 8.4L}}, 5, {}, {}, {}, {sod + "8,4|0,42|0"}},
        {"below 1 mg: 0,425 to 0,43", {{kSodium, 8.5L}}, 5, {}, {}, {}, {sod + "8,5|0,43|0"}},
        {"below 1 mg: 0,999 to 1", {{kSodium, 9.99L}}, 10, {}, {}, {}, {sod + "10|1|0"}},
        {"below 1 mg: one decimal when the second is 0",
         {{kSodium, 6.02L}},
         10,
         {},
         {},
         {},
         {sod + "6|0,6|0"}},
        // Portions per package and the individual package.
        {"3 whole portions",
         {{kSodium, 300}},
         100,
         {},
         300,
         {},
         {"Porções por embalagem|3", "Porção|100 g (1 fatia)", sod + "300|300|15"}},
        {"4,4 portions", {}, 100, {}, 440, {}, {"Porções por embalagem|Cerca de 4"}},
        {"4,5 portions", {}, 100, {}, 450, {}, {"Porções por embalagem|Cerca de 5"}},
        {"exactly 2 portions: an individual package",
         {{kSodium, 300}},
         100,
         {},
         200,
         {},
         {"Porções por embalagem|", "Porção|200 g (1 embalagem)", sod + "300|600|30"}},
        {"just above 2 portions",
         {{kSodium, 300}},
         100,
         {},
         201,
         {},
         {"Porções por embalagem|Cerca de 2", "Porção|100 g (1 fatia)", sod + "300|300|15"}},
        {"less than one portion", {}, 100, {}, 60, {}, {"Porção|60 g (1 embalagem)"}},
        {"judged on the reference portion when there is one",
         {},
         100,
         {},
         250,
         150,
         {"Porções por embalagem|", "Porção|250 g (1 embalagem)"}},
        {"no package: no line", {}, 100, {}, {}, {}, {"Porções por embalagem|"}},
    };
    for (const DeclarationCase& c : cases) {
        NutritionTableInput in;
        in.yield = 100;
        in.portion = c.portion;
        in.measure = "1 fatia";
        in.netContent = c.content;
        in.referencePortion = c.reference;
        for (const auto& [row, amount] : c.per100) {
            in.amounts[static_cast<size_t>(row)].known = amount;
        }
        for (const int row : c.unknown) {
            in.amounts[static_cast<size_t>(row)].missingIn = {"Mel"};
        }
        const NutritionTable t = ComposeNutritionTable(in);
        const std::vector<std::string> lines = NutritionTableDataLines(t);
        for (const std::string& line : c.lines) {
            EXPECT_THAT(lines, Contains(W(line))) << c.rule;
        }
        EXPECT_EQ(t.incomplete, !c.unknown.empty()) << c.rule;
    }
}

TEST(NutritionTable, DailyValuesFromTheDeclaredPortion) {
    struct Case {
        int row;
        long double declared;
        const char* percent;
    };
    const Case cases[] = {
        {kEnergy, 100, "5"},         {kEnergy, 0, "0"},       {kCarbohydrates, 1.5L, "1"},
        {kCarbohydrates, 1.4L, "0"}, {kTotalSugars, 30, ""},  {kAddedSugars, 2.5L, "5"},
        {kProteins, 0.75L, "2"},     {kTotalFat, 3.25L, "5"}, {kSaturatedFat, 0.1L, "1"},
        {kTransFat, 0.1L, "5"},      {kFibre, 0.6L, "2"},     {kSodium, 2000, "100"},
        {kSodium, 9, "0"},           {kSodium, 10, "1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DailyValueRdc429(c.row, c.declared), c.percent)
            << kRows[static_cast<size_t>(c.row)].code << " " << static_cast<double>(c.declared);
    }
}

TEST(NutritionTable, ServingsPerPackage) {
    EXPECT_EQ(ServingsPerPackage(450, 50), "9");
    EXPECT_EQ(ServingsPerPackage(450, 60), "Cerca de 8");  // 7,5 half up
    EXPECT_EQ(ServingsPerPackage(440, 60), "Cerca de 7");
    EXPECT_EQ(ServingsPerPackage(20, 60), "Cerca de 1");  // never 0
    EXPECT_EQ(ServingsPerPackage(0, 60), "");
    EXPECT_EQ(ServingsPerPackage(450, 0), "");
}

// Amounts per 100 g (or ml): a yield of 100 and a portion of 100 make every column the
// amount itself.
NutritionTableInput Per100(std::initializer_list<std::pair<int, long double>> amounts,
                           bool liquid = false) {
    NutritionTableInput in;
    in.yield = 100;
    in.portion = 100;
    in.liquid = liquid;
    for (const auto& [row, amount] : amounts) {
        in.amounts[static_cast<size_t>(row)].known = amount;
    }
    return in;
}

TEST(NutritionTable, HighInLimitsSolidAndLiquid) {
    struct Case {
        bool liquid;
        int row;
        long double per100;
        bool reached;
    };
    const Case cases[] = {
        {false, kAddedSugars, 15, true},  {false, kAddedSugars, 14.99L, false},
        {false, kSaturatedFat, 6, true},  {false, kSaturatedFat, 5.99L, false},
        {false, kSodium, 600, true},      {false, kSodium, 599.99L, false},
        {true, kAddedSugars, 7.5L, true}, {true, kAddedSugars, 7.49L, false},
        {true, kSaturatedFat, 3, true},   {true, kSaturatedFat, 2.99L, false},
        {true, kSodium, 300, true},       {true, kSodium, 299.99L, false},
    };
    for (const Case& c : cases) {
        const NutritionTable t = ComposeNutritionTable(Per100({{c.row, c.per100}}, c.liquid));
        EXPECT_EQ(t.highIn.size(), c.reached ? 1U : 0U)
            << kRows[static_cast<size_t>(c.row)].code << (c.liquid ? " ml " : " g ")
            << static_cast<double>(c.per100);
        EXPECT_THAT(t.highInInconclusive, IsEmpty());
    }
    const NutritionTable all =
        ComposeNutritionTable(Per100({{kSodium, 700}, {kSaturatedFat, 7}, {kAddedSugars, 20}}));
    EXPECT_THAT(all.highIn, ElementsAre(W("AÇÚCAR ADICIONADO"), "GORDURA SATURADA", W("SÓDIO")));
    EXPECT_EQ(all.per100Head, "100 g");
    EXPECT_EQ(ComposeNutritionTable(Per100({}, true)).per100Head, "100 ml");
}

// A 56-field preparation record: yield, the ten recipe totals, the label portion, its
// unit and household measure.
std::string Record(std::string_view yield, const std::array<std::string_view, 10>& totals,
                   std::string_view portion, std::string_view unit, std::string_view measure) {
    std::string record;
    for (int f = 1; f <= 56; ++f) {
        std::string field = "  8888,88";  // filler: a wrong field number shows
        if (f == 1) {
            field = "Bolo" + std::string(36, ' ');
        } else if (f == 2) {
            field = PadLeft(yield, 6);
        } else if (f >= 3 && f <= 12) {
            field = PadLeft(totals[static_cast<size_t>(f - 3)], 9);
        } else if (f == 41) {
            field = PadLeft(portion, 6);
        } else if (f == 55) {
            field = unit;
        } else if (f == 56) {
            field = measure;
        }
        record += field + "|";
    }
    return record;
}

std::string Name(std::string_view name) {
    return std::string(name) + std::string(60 - name.size(), ' ');
}

// An ingredient record: the ten values per 100 g (blank "    ,  " when empty).
std::string Ingredient(std::string_view name, const std::array<std::string_view, 10>& values) {
    std::string record = Name(name) + "|";
    for (const std::string_view v : values) {
        record += (v.empty() ? std::string("    ,  ") : PadLeft(v, 7)) + "|";
    }
    for (int f = 12; f <= 30; ++f) {
        record += "|";
    }
    return record;
}

std::string Line(std::string_view name, std::string_view net) {
    std::string line = Name(name) + "|";
    for (int f = 2; f <= 22; ++f) {
        line += (f == 3 ? PadLeft(net, 8) : std::string()) + "|";
    }
    return line;
}

ExtraValues Extra(std::string_view total, std::string_view added, std::string_view trans) {
    ExtraValues v;
    v.values = {std::string(total), std::string(added), std::string(trans)};
    return v;
}

struct Cake {
    LineTable ingredients;
    LineTable lines;
    ExtraValuesTable extra;
    std::string record;
};

// A cake of 500 g: 250 g flour, 150 g sugar, 100 g butter; label portion 60 g.
// Recipe totals as the ingredients screen sums them (each line to two decimals):
// energy 900 + 580,5 + 717; carbohydrates 187,5 + 149,25 + 0,1; proteins 25 + 0 + 0,9;
// fat 3,5 + 0 + 81; saturated 0,63 + 0 + 51; fibre 5,75; sodium 2,5 + 1,5 + 640.
Cake MakeCake() {
    Cake c;
    LoadLineTableFromBytes(
        Ingredient("Farinha de trigo", {"360,00", "75,00", "10,00", "1,40", "0,25", "", "2,30",
                                        "18,00", "1,00", "1,00"}) +
            "\r\n" +
            Ingredient("A\xE7\xFA"
                       "car",
                       {"387,00", "99,50", "0,00", "0,00", "0,00", "", "0,00", "", "", "1,00"}) +
            "\r\n" +
            Ingredient("Manteiga",
                       {"717,00", "0,10", "0,90", "81,00", "51,00", "", "0,00", "", "", "640,00"}) +
            "\r\n",
        c.ingredients);
    LoadLineTableFromBytes(Line("Farinha de trigo", "250,0") + "\r\n" +
                               Line("A\xE7\xFA"
                                    "car",
                                    "150,0") +
                               "\r\n" + Line("Manteiga", "100,0") + "\r\n",
                           c.lines);
    c.extra.Set("Farinha de trigo", Extra("   0,30", "   0,00", "   0,00"));
    c.extra.Set(
        "A\xE7\xFA"
        "car",
        Extra("  99,50", "  99,50", "   0,00"));
    c.extra.Set("Manteiga", Extra("   0,10", "   0,00", "   3,30"));
    c.record = Record(
        "500", {"2197,50", "336,85", "25,90", "84,50", "51,63", "", "5,75", "", "", "644,00"}, "60",
        "g", "1 fatia");
    return c;
}

// Worked out by hand. Per 100 g (/ 5): carbohydrates 67,37; total sugars 30,02 (0,75 +
// 149,25 + 0,1); added 29,85; proteins 5,18; fat 16,9; saturated 10,326; trans 0,66;
// fibre 1,15; sodium 128,8. Per portion (x 0,12): 40,422; 18,012; 17,91; 3,108; 10,14;
// 6,1956; 0,396; 0,69; 77,28. Energy from the declared values, not the recipe's 2197,5
// kcal: 4 x 67 + 4 x 5,2 + 9 x 17 = 441,8 and 4 x 40 + 4 x 3,1 + 9 x 10 = 262,4. %VD from
// the declared portion values. 450 g hold 7,5 portions: "Cerca de 8".
TEST(NutritionTable, AWholePreparationWorkedOutByHand) {
    const Cake c = MakeCake();
    const NutritionTable t = ComposeNutritionTable(
        NutritionInputFrom(c.record, c.lines.lines, c.ingredients, c.extra, 450.0L));
    EXPECT_FALSE(t.incomplete);
    EXPECT_THAT(NutritionTableDataLines(t),
                ElementsAre(W("Porções por embalagem|Cerca de 8"), W("Porção|60 g (1 fatia)"),
                            W("Valor energético (kcal)|442|262|13"), "Carboidratos (g)|67|40|13",
                            W("Açúcares totais (g)|30|18|"), W("Açúcares adicionados (g)|30|18|36"),
                            W("Proteínas (g)|5,2|3,1|6"), "Gorduras totais (g)|17|10|15",
                            "Gorduras saturadas (g)|10|6,2|31", "Gorduras trans (g)|0,7|0,4|20",
                            "Fibras alimentares (g)|1,2|0,7|3", W("Sódio (mg)|129|77|4"),
                            W("ALTO EM|AÇÚCAR ADICIONADO, GORDURA SATURADA")));
    EXPECT_EQ(t.rules, "RDC 429/2020 + IN 75/2020");
    EXPECT_FALSE(t.individualPackage);

    // In a package of 120 g, two slices: the portion is the package.
    const NutritionTable single = ComposeNutritionTable(
        NutritionInputFrom(c.record, c.lines.lines, c.ingredients, c.extra, 120.0L));
    EXPECT_TRUE(single.individualPackage);
    EXPECT_EQ(single.portionHead, "120 g");
    EXPECT_THAT(NutritionTableDataLines(single),
                ElementsAre(W("Porções por embalagem|"), W("Porção|120 g (1 embalagem)"),
                            W("Valor energético (kcal)|442|529|26"), "Carboidratos (g)|67|81|27",
                            W("Açúcares totais (g)|30|36|"), W("Açúcares adicionados (g)|30|36|72"),
                            W("Proteínas (g)|5,2|6,2|12"), "Gorduras totais (g)|17|20|31",
                            "Gorduras saturadas (g)|10|12|60", "Gorduras trans (g)|0,7|0,8|40",
                            "Fibras alimentares (g)|1,2|1,4|6", W("Sódio (mg)|129|155|8"),
                            W("ALTO EM|AÇÚCAR ADICIONADO, GORDURA SATURADA")));
}

// Unknown is never zero: a blank value of one ingredient makes its rows "?", the table
// incomplete and a limit on it inconclusive.
TEST(NutritionTable, UnknownValuesAreIncompleteNeverZero) {
    Cake c = MakeCake();
    c.extra.Set(
        "A\xE7\xFA"
        "car",
        Extra("", "", "   0,00"));
    c.extra.Remove("Manteiga");
    const NutritionTable t = ComposeNutritionTable(
        NutritionInputFrom(c.record, c.lines.lines, c.ingredients, c.extra, std::nullopt));
    EXPECT_TRUE(t.incomplete);
    const std::vector<std::string> lines = NutritionTableDataLines(t);
    EXPECT_EQ(lines[0], W("Porções por embalagem|"));
    EXPECT_EQ(lines[4], W("Açúcares totais (g)|?|?|"));
    EXPECT_EQ(lines[5], W("Açúcares adicionados (g)|?|?|?"));
    EXPECT_EQ(lines[9], "Gorduras trans (g)|?|?|?");
    EXPECT_EQ(lines[12], "ALTO EM|GORDURA SATURADA");
    EXPECT_EQ(lines[13], W("ALTO EM inconclusivo|AÇÚCAR ADICIONADO"));
    EXPECT_THAT(t.missing, ElementsAre(W("Açúcares totais (g): Açúcar, Manteiga"),
                                       W("Açúcares adicionados (g): Açúcar, Manteiga"),
                                       "Gorduras trans (g): Manteiga"));
    const std::string warning = NutritionTableWarning(t);
    EXPECT_NE(warning.find(W("Açúcares adicionados (g): Açúcar, Manteiga")), std::string::npos);
    EXPECT_NE(warning.find(W("INCOMPLETO – NÃO USAR EM EMBALAGEM")), std::string::npos);
    EXPECT_NE(warning.find(W("inconclusivo para: AÇÚCAR ADICIONADO")), std::string::npos);

    // An ingredient no longer in the table knows nothing: a limit the known part (the
    // record's saturated fat total) reaches stays reached, the others cannot be judged.
    LoadLineTableFromBytes(Line("Fermento", "5,0") + "\r\n", c.lines);
    const NutritionTable gone = ComposeNutritionTable(
        NutritionInputFrom(c.record, c.lines.lines, c.ingredients, c.extra, std::nullopt));
    EXPECT_EQ(gone.rows[kEnergy].per100, "?");
    EXPECT_THAT(gone.highIn, ElementsAre("GORDURA SATURADA"));
    EXPECT_THAT(gone.highInInconclusive, ElementsAre(W("AÇÚCAR ADICIONADO"), W("SÓDIO")));
}

// "ALTO EM" is certain when the known part alone reaches the limit: with the butter's
// sugars unknown, the sugar alone gives 29,85 g of added sugars per 100 g (limit 15), and
// an unknown amount can only add to it. The table is still incomplete.
TEST(NutritionTable, ALimitTheKnownPartReachesIsCertain) {
    Cake c = MakeCake();
    c.extra.Set("Manteiga", Extra("", "", "   3,30"));
    const NutritionTable t = ComposeNutritionTable(
        NutritionInputFrom(c.record, c.lines.lines, c.ingredients, c.extra, 450.0L));
    EXPECT_TRUE(t.incomplete);
    const std::vector<std::string> lines = NutritionTableDataLines(t);
    ASSERT_EQ(lines.size(), 13U);
    EXPECT_EQ(lines[4], W("Açúcares totais (g)|?|?|"));
    EXPECT_EQ(lines[5], W("Açúcares adicionados (g)|?|?|?"));
    EXPECT_EQ(lines[12], W("ALTO EM|AÇÚCAR ADICIONADO, GORDURA SATURADA"));
    EXPECT_THAT(t.highInInconclusive, IsEmpty());
    EXPECT_EQ(NutritionTableWarning(t).find("inconclusivo"), std::string::npos);
}

TEST(NutritionTable, KeptInTheLabelDataAndReadBack) {
    const Cake c = MakeCake();
    NutritionTable t = ComposeNutritionTable(
        NutritionInputFrom(c.record, c.lines.lines, c.ingredients, c.extra, 450.0L));
    IniFile file = IniFile::FromBytes("");
    SaveNutritionTable(file, t);
    EXPECT_EQ(file.ReadString("DadRot", "RegRot", ""), "RDC 429/2020 + IN 75/2020");
    const NutritionTable back = LoadNutritionTable(file);
    EXPECT_EQ(NutritionTableDataLines(back), NutritionTableDataLines(t));
    EXPECT_FALSE(back.incomplete);
    EXPECT_EQ(back.per100Head, "100 g");
    EXPECT_EQ(back.portionHead, "60 g");
    // Never composed: nothing to put on a package.
    EXPECT_TRUE(LoadNutritionTable(IniFile::FromBytes("")).incomplete);

    // Composed under earlier rules (no version, or another one): not trusted as it stands.
    for (const std::string version : {"", "1"}) {
        IniFile old = IniFile::FromBytes(file.Bytes());
        old.WriteString("DadRot", "VerReg", version);
        const NutritionTable earlier = LoadNutritionTable(old);
        EXPECT_TRUE(earlier.incomplete) << version;
        EXPECT_THAT(earlier.missing,
                    ElementsAre(W("Tabela composta por regras anteriores: componha o rótulo de "
                                  "novo")));
    }
}

TEST(NutritionTable, LiquidPortionAndNoMeasure) {
    const Cake c = MakeCake();
    const std::string record = Record("1000", {"400,00", "100,00"}, "200", "ml", "   ");
    const NutritionTable t = ComposeNutritionTable(
        NutritionInputFrom(record, LineList(), c.ingredients, c.extra, 1000.0L));
    EXPECT_EQ(t.portion, "200 ml");
    EXPECT_EQ(t.portionHead, "200 ml");
    EXPECT_EQ(t.per100Head, "100 ml");
    EXPECT_EQ(t.servings, "5");
    EXPECT_EQ(t.rows[kEnergy].per100, "40");
    EXPECT_EQ(t.rows[kEnergy].perPortion, "80");
}

}  // namespace
}  // namespace velmaro
