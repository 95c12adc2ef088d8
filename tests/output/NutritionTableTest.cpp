#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "output/labels/current/NutritionTable.h"
#include "output/labels/current/RecipeNutrients.h"
#include "storage/Cp1252.h"
#include "storage/Text.h"

namespace velmaro {
namespace {

using namespace rdc429;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct DeclarationCase {
    int row;
    long double amount;
    const char* declared;
};

// Every threshold and rounding band at, just below and just above its bound.
TEST(NutritionTable, DeclarationRules) {
    const DeclarationCase cases[] = {
        {kEnergy, 3.99L, "0"},
        {kEnergy, 4, "0"},
        {kEnergy, 4.01L, "4"},
        {kEnergy, 4.05L, "4,1"},
        {kEnergy, 9.94L, "9,9"},
        {kEnergy, 9.95L, "10"},
        {kEnergy, 10, "10"},
        {kEnergy, 10.49L, "10"},
        {kEnergy, 10.5L, "11"},
        {kCarbohydrates, 0.49L, "0"},
        {kCarbohydrates, 0.5L, "0"},
        {kCarbohydrates, 0.51L, "0,5"},
        {kCarbohydrates, 0.55L, "0,6"},
        {kCarbohydrates, 0.95L, "1"},
        {kCarbohydrates, 0.99L, "1"},
        {kCarbohydrates, 1, "1"},
        {kCarbohydrates, 1.04L, "1"},
        {kCarbohydrates, 1.05L, "1,1"},
        {kCarbohydrates, 9.96L, "10"},
        {kCarbohydrates, 10.5L, "11"},
        {kTotalSugars, 0.5L, "0"},
        {kTotalSugars, 0.51L, "0,5"},
        {kAddedSugars, 0.5L, "0"},
        {kAddedSugars, 0.56L, "0,6"},
        {kProteins, 0.5L, "0"},
        {kProteins, 2.25L, "2,3"},
        {kTotalFat, 0.5L, "0"},
        {kTotalFat, 0.6L, "0,6"},
        {kFibre, 0.5L, "0"},
        {kFibre, 0.65L, "0,7"},
        {kSaturatedFat, 0.09L, "0"},
        {kSaturatedFat, 0.1L, "0"},
        {kSaturatedFat, 0.11L, "0,1"},
        {kSaturatedFat, 0.15L, "0,2"},
        {kTransFat, 0.1L, "0"},
        {kTransFat, 0.14L, "0,1"},
        {kTransFat, 0.15L, "0,2"},
        {kSodium, 4.99L, "0"},
        {kSodium, 5, "0"},
        {kSodium, 5.01L, "5"},
        {kSodium, 5.05L, "5,1"},
        {kSodium, 9.95L, "10"},
        {kSodium, 999.5L, "1000"},
    };
    for (const DeclarationCase& c : cases) {
        EXPECT_EQ(DeclareRdc429(c.row, c.amount).text, c.declared)
            << kRows[static_cast<size_t>(c.row)].code << " " << static_cast<double>(c.amount);
    }
    EXPECT_EQ(DeclareRdc429(kCarbohydrates, 0.55L).value, 0.6L);
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
    EXPECT_EQ(ServingsPerPackage(450, 60), "cerca de 8");  // 7,5 half up
    EXPECT_EQ(ServingsPerPackage(440, 60), "cerca de 7");
    EXPECT_EQ(ServingsPerPackage(20, 60), "cerca de 1");  // never 0
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

// Worked out by hand. Per 100 g (/ 5): energy 439,5; carbohydrates 67,37; total sugars
// 30,02 (0,75 + 149,25 + 0,1); added 29,85; proteins 5,18; fat 16,9; saturated 10,326;
// trans 0,66; fibre 1,15; sodium 128,8. Per portion (x 0,12): 263,7; 40,422; 18,012;
// 17,91; 3,108; 10,14; 6,1956; 0,396; 0,69; 77,28. %VD from the declared portion values.
TEST(NutritionTable, AWholePreparationWorkedOutByHand) {
    const Cake c = MakeCake();
    const NutritionTable t = ComposeNutritionTable(
        NutritionInputFrom(c.record, c.lines.lines, c.ingredients, c.extra, 450.0L));
    EXPECT_FALSE(t.incomplete);
    EXPECT_THAT(NutritionTableDataLines(t),
                ElementsAre(W("Porções por embalagem|cerca de 8"), W("Porção|60 g (1 fatia)"),
                            W("Valor energético (kcal)|440|264|13"), "Carboidratos (g)|67|40|13",
                            W("Açúcares totais (g)|30|18|"), W("Açúcares adicionados (g)|30|18|36"),
                            W("Proteínas (g)|5,2|3,1|6"), "Gorduras totais (g)|17|10|15",
                            "Gorduras saturadas (g)|10|6,2|31", "Gorduras trans (g)|0,7|0,4|20",
                            "Fibras alimentares (g)|1,2|0,7|3", W("Sódio (mg)|129|77|4"),
                            W("ALTO EM|AÇÚCAR ADICIONADO, GORDURA SATURADA")));
    EXPECT_EQ(t.rules, "RDC 429/2020 + IN 75/2020");
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

    // An ingredient no longer in the table knows nothing.
    LoadLineTableFromBytes(Line("Fermento", "5,0") + "\r\n", c.lines);
    const NutritionTable gone = ComposeNutritionTable(
        NutritionInputFrom(c.record, c.lines.lines, c.ingredients, c.extra, std::nullopt));
    EXPECT_EQ(gone.rows[kEnergy].per100, "?");
    EXPECT_THAT(gone.highInInconclusive,
                ElementsAre(W("AÇÚCAR ADICIONADO"), "GORDURA SATURADA", W("SÓDIO")));
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
}

TEST(NutritionTable, LiquidPortionAndNoMeasure) {
    const Cake c = MakeCake();
    const std::string record = Record("1000", {"400,00"}, "200", "ml", "   ");
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
