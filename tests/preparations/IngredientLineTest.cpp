#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preparations/IngredientLine.h"
#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;
using test::ScriptedUi;

const std::string kBlankWeight = "      , ";
const std::string kBlankFactor = "   ,  ";
const std::string kBlankMoney = "      ,  ";

// An ingredient record of 30 fields: values per 100 g, F.C., F.C.C., cost, date.
struct Ingredient {
    std::string kcal = " 130,00";
    std::string cho = "  28,10";
    std::string ptn = "   2,50";
    std::string lip = "   0,20";
    std::string sat = "   0,05";
    std::string col = "    ,  ";  // no cholesterol value
    std::string fib = "   1,60";
    std::string cal = "  10,00";
    std::string fer = "   0,30";
    std::string sod = "    1,00";
    std::string fc = "  1,25";
    std::string fcc = "  2,50";
    std::string cost = "    12,40";
    std::string date = "01/03/24";

    std::string Record() const {
        std::string r = Pad("Arroz cozido", 60) + "|";
        for (const auto* v : {&kcal, &cho, &ptn, &lip, &sat, &col, &fib, &cal, &fer, &sod}) {
            r += *v + "|";
        }
        r += "||" + fc + "|" + fcc + "|" + cost + "|" + date + "|";
        for (int i = 18; i <= 30; ++i) {
            r += "fonte|";
        }
        return r;
    }
};

// The line as the screen holds it when an ingredient has just been chosen.
IngredientLine NewLine(const Ingredient& ingredient) {
    IngredientLine line = BlankIngredientLine();
    line.ingredient = Pad("Arroz cozido", 60);
    line.ingredientRecord = ingredient.Record();
    TakeIngredientDefaults(line);
    return line;
}

enum class F { Gross, Net, Cooked, Raw, Fc, Fcc, UnitCost, Cost, Count, Uma, Kcal, Cho, Col };

std::string& At(IngredientLine& l, F f) {
    switch (f) {
        case F::Gross:
            return l.grossWeight;
        case F::Net:
            return l.netWeight;
        case F::Cooked:
            return l.cookedWeight;
        case F::Raw:
            return l.rawWeight;
        case F::Fc:
            return l.correctionFactor;
        case F::Fcc:
            return l.cookingFactor;
        case F::UnitCost:
            return l.unitCost;
        case F::Cost:
            return l.computedCost;
        case F::Count:
            return l.measureCount;
        case F::Uma:
            return l.measureWeight;
        case F::Kcal:
            return l.amounts[0];
        case F::Cho:
            return l.amounts[1];
        case F::Col:
            return l.amounts[5];
    }
    return l.ingredient;
}

const char* Name(F f) {
    static const char* const names[] = {"gross",  "net",       "cooked", "raw",   "F.C.",
                                        "F.C.C.", "unit cost", "cost",   "count", "Uma",
                                        "kcal",   "CHO",       "COL"};
    return names[static_cast<int>(f)];
}

enum class Step { Gross, Net, Cooked, Raw, MeasureCount };

void Run(Step step, IngredientLine& line, Ui& ui) {
    switch (step) {
        case Step::Gross:
            AfterGrossWeight(line, ui);
            break;
        case Step::Net:
            AfterNetWeight(line, ui);
            break;
        case Step::Cooked:
            AfterCookedWeight(line, ui);
            break;
        case Step::Raw:
            AfterRawWeight(line, ui);
            break;
        case Step::MeasureCount:
            AfterMeasureCount(line, ui);
            break;
    }
}

using Texts = std::vector<std::pair<F, std::string>>;

struct StepCase {
    const char* name;
    Ingredient ingredient;
    Texts typed;  // the line's texts before the step (over the new line's)
    Step step;
    Texts expected;
    std::vector<std::string> messages;  // UTF-8
};

const char* kReduce = "Solução : diminua os pesos de todos os ingredientes na mesma proporção!";
const char* kFcTooLarge =
    "ERRO! F.C. calculado (Peso Bruto / Peso Líquido) maior que 999,99! Foi mantido o F.C. do "
    "ingrediente; confira os pesos bruto e líquido.";
const char* kFccTooLarge =
    "ERRO! F.C.C. calculado (Peso Cozido / Peso Cru) maior que 999,99! Foi mantido o F.C.C. do "
    "ingrediente; confira os pesos cozido e cru.";
const char* kNetFromGrossTooLarge =
    "ERRO! Peso Líquido calculado (Peso Bruto / F.C.) maior que 999999,9 g! O peso líquido não "
    "foi preenchido; confira o peso bruto e o F.C.";
const char* kGrossFromNetTooLarge =
    "ERRO! Peso Bruto calculado (Peso Líquido x F.C.) maior que 999999,9 g! O peso bruto não foi "
    "preenchido; confira o peso líquido e o F.C.";
const char* kCookedTooLarge =
    "ERRO! Peso Cozido calculado (Peso Cru x F.C.C.) maior que 999999,9 g! O peso cozido não foi "
    "preenchido; confira o peso cru e o F.C.C.";
const char* kRawTooLarge =
    "ERRO! Peso Cru calculado (Peso Cozido / F.C.C.) maior que 999999,9 g! O peso cru não foi "
    "preenchido; confira o peso cozido e o F.C.C.";
const char* kNetFromMeasuresTooLarge =
    "ERRO! Peso Líquido calculado (medida caseira x quantidade) maior que 999999,9 g! O peso "
    "líquido não foi alterado; confira a quantidade de medidas caseiras.";
const char* kCountTooLarge =
    "ERRO! Quantidade de medidas caseiras calculada (Peso Líquido / medida caseira) maior que "
    "999,99! A quantidade ficou em branco; confira o peso líquido e a medida caseira.";
const char* kCostTooLarge =
    "ERRO! Custo calculado (Peso Bruto x Custo / 1000) maior que 999999,99! O custo ficou em "
    "branco; confira o peso bruto e o custo do ingrediente.";

Ingredient WithFc(std::string fc) {
    Ingredient i;
    i.fc = std::move(fc);
    return i;
}
Ingredient WithFcc(std::string fcc) {
    Ingredient i;
    i.fcc = std::move(fcc);
    return i;
}
Ingredient WithCost(std::string cost) {
    Ingredient i;
    i.cost = std::move(cost);
    return i;
}
Ingredient EnergyDense() {
    Ingredient i;
    i.kcal = "9999,99";
    i.fc = "  1,00";
    return i;
}

void RunCases(const std::vector<StepCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        IngredientLine line = NewLine(c.ingredient);
        for (const auto& [field, text] : c.typed) {
            At(line, field) = text;
        }
        ScriptedUi ui;
        Run(c.step, line, ui);
        for (const auto& [field, text] : c.expected) {
            EXPECT_EQ(At(line, field), text) << Name(field);
        }
        std::vector<std::string> expectedMessages;
        for (const auto& m : c.messages) {
            expectedMessages.push_back(W(m));
        }
        EXPECT_EQ(ui.MessageTexts(), expectedMessages);
    }
}

TEST(IngredientLineSteps, WeightsFactorsAndCostFollowEachOther) {
    RunCases({
        {"gross typed after the net: F.C. measured, then the cost",
         {},
         {{F::Net, "   120,0"}, {F::Gross, "   150,0"}},
         Step::Gross,
         {{F::Fc, "  1,25"}, {F::Cost, "     1,86"}, {F::Net, "   120,0"}, {F::Kcal, "   156,00"}},
         {}},
        {"net typed after the gross keeps the gross",
         WithFc("  1,10"),
         {{F::Gross, "   150,0"}, {F::Net, "   120,0"}},
         Step::Net,
         {{F::Gross, "   150,0"}, {F::Fc, "  1,25"}, {F::Cost, "     1,86"}},
         {}},
        {"gross with a blank net: the net follows F.C.",
         {},
         {{F::Gross, "   150,0"}},
         Step::Gross,
         {{F::Net, "   120,0"}, {F::Fc, "  1,25"}, {F::Kcal, "   156,00"}, {F::Cost, "     1,86"}},
         {}},
        {"gross with F.C. blank: no net, no amounts",
         WithFc(kBlankFactor),
         {{F::Gross, "   150,0"}},
         Step::Gross,
         {{F::Net, kBlankWeight}, {F::Kcal, kBlankMoney}, {F::Fc, kBlankFactor}},
         {}},
        {"gross with F.C. 0: no net, no amounts",
         WithFc("  0,00"),
         {{F::Gross, "   150,0"}},
         Step::Gross,
         {{F::Net, kBlankWeight}, {F::Kcal, kBlankMoney}, {F::Fc, "  0,00"}},
         {}},
        {"net with a blank gross: the gross follows F.C.",
         {},
         {{F::Net, "   120,0"}},
         Step::Net,
         {{F::Gross, "   150,0"},
          {F::Fc, "  1,25"},
          {F::Cost, "     1,86"},
          {F::Kcal, "   156,00"}},
         {}},
        {"gross emptied: it follows the net and the default F.C. again",
         {},
         {{F::Net, "   120,0"}, {F::Fc, "  1,50"}},
         Step::Gross,
         {{F::Gross, "   150,0"}, {F::Fc, "  1,25"}},
         {}},
        {"net emptied: every amount blank, the default F.C., no number of measures",
         {},
         {{F::Gross, "   150,0"},
          {F::Fc, "  1,50"},
          {F::Uma, "   150,0"},
          {F::Count, "  2,00"},
          {F::Kcal, "   130,00"},
          {F::Cho, "    28,10"},
          {F::Col, "     1,00"}},
         Step::Net,
         {{F::Fc, "  1,25"},
          {F::Count, kBlankFactor},
          {F::Gross, "   150,0"},
          {F::Kcal, kBlankMoney},
          {F::Cho, kBlankMoney},
          {F::Col, kBlankMoney}},
         {}},
        {"the net is rounded to its field before the amounts read it",
         WithFc("  3,00"),
         {{F::Gross, "   100,0"}},
         Step::Gross,
         {{F::Net, "    33,3"}, {F::Kcal, "    43,29"}, {F::Fc, "  3,00"}, {F::Cost, "     1,24"}},
         {}},
        {"the gross is rounded to its field before F.C. and the cost read it",
         WithFc("  1,13"),
         {{F::Net, "    33,3"}, {F::UnitCost, "  1000,00"}},
         Step::Net,
         {{F::Gross, "    37,6"}, {F::Cost, "    37,60"}, {F::Fc, "  1,13"}},
         {}},
        {"no unit cost: no computed cost",
         WithCost(kBlankMoney),
         {{F::Net, "   120,0"}},
         Step::Net,
         {{F::Gross, "   150,0"}, {F::Cost, kBlankMoney}},
         {}},
    });
}

TEST(IngredientLineSteps, HouseholdMeasuresAndCookingFactor) {
    RunCases({
        {"measures give the net, and the line follows it",
         {},
         {{F::Uma, "   150,0"}, {F::Count, "  2,00"}},
         Step::MeasureCount,
         {{F::Net, "   300,0"},
          {F::Count, "  2,00"},
          {F::Gross, "   375,0"},
          {F::Fc, "  1,25"},
          {F::Kcal, "   390,00"},
          {F::Cost, "     4,65"}},
         {}},
        {"a new number of measures replaces a typed net",
         {},
         {{F::Uma, "   150,0"}, {F::Count, "  0,50"}, {F::Net, "   120,0"}, {F::Kcal, "   156,00"}},
         Step::MeasureCount,
         {{F::Net, "    75,0"}, {F::Kcal, "    97,50"}},
         {}},
        {"a blank number of measures changes nothing",
         {},
         {{F::Uma, "   150,0"}, {F::Net, "   120,0"}},
         Step::MeasureCount,
         {{F::Net, "   120,0"}, {F::Gross, kBlankWeight}, {F::Kcal, kBlankMoney}},
         {}},
        {"the net gives the number of measures",
         {},
         {{F::Uma, "   150,0"}, {F::Net, "    75,0"}},
         Step::Net,
         {{F::Count, "  0,50"}},
         {}},
        {"without a measure the number stays blank",
         {},
         {{F::Net, "    75,0"}},
         Step::Net,
         {{F::Count, kBlankFactor}},
         {}},
        {"the net from the gross gives the number of measures",
         {},
         {{F::Uma, "    60,0"}, {F::Gross, "   150,0"}},
         Step::Gross,
         {{F::Net, "   120,0"}, {F::Count, "  2,00"}},
         {}},
        {"cooked and raw give F.C.C. (cooked left)",
         {},
         {{F::Cooked, "    80,0"}, {F::Raw, "   100,0"}},
         Step::Cooked,
         {{F::Fcc, "  0,80"}},
         {}},
        {"cooked and raw give F.C.C. (raw left)",
         {},
         {{F::Cooked, "    80,0"}, {F::Raw, "   100,0"}},
         Step::Raw,
         {{F::Fcc, "  0,80"}, {F::Cooked, "    80,0"}},
         {}},
        {"raw with F.C.C. 0,80 gives the cooked weight",
         WithFcc("  0,80"),
         {{F::Raw, "   100,0"}},
         Step::Raw,
         {{F::Cooked, "    80,0"}, {F::Fcc, "  0,80"}},
         {}},
        {"cooked with F.C.C. 0,80 gives the raw weight",
         WithFcc("  0,80"),
         {{F::Cooked, "    80,0"}},
         Step::Cooked,
         {{F::Raw, "   100,0"}, {F::Fcc, "  0,80"}},
         {}},
        {"raw emptied: the default F.C.C. and the raw weight from it",
         WithFcc("  0,80"),
         {{F::Cooked, "    80,0"}, {F::Fcc, "  0,50"}},
         Step::Raw,
         {{F::Fcc, "  0,80"}, {F::Raw, "   100,0"}},
         {}},
        {"cooked with F.C.C. 0 leaves the raw weight blank",
         WithFcc("  0,00"),
         {{F::Cooked, "    80,0"}},
         Step::Cooked,
         {{F::Raw, kBlankWeight}, {F::Fcc, "  0,00"}},
         {}},
    });
}

TEST(IngredientLineSteps, AmountsAndTheirLimit) {
    RunCases({
        {"a missing cholesterol value stays blank",
         {},
         {{F::Net, "   100,0"}},
         Step::Net,
         {{F::Col, kBlankMoney}, {F::Kcal, "   130,00"}, {F::Cho, "    28,10"}},
         {}},
        {"net 999999,9 g at 9999,99 kcal: both messages, amount held",
         EnergyDense(),
         {{F::Net, "999999,9"}},
         Step::Net,
         {{F::Kcal, "999999,99"}, {F::Gross, "999999,9"}},
         {"ERRO! Quantidade de Calorias para o peso líquido maior que 999999,99!", kReduce}},
        {"an amount just under the limit is no error",
         EnergyDense(),
         {{F::Net, "  9999,9"}},
         Step::Net,
         {{F::Kcal, "999989,00"}},
         {}},
    });
}

TEST(IngredientLineSteps, ValuesThatDoNotFitTheirFieldsAreRefused) {
    RunCases({
        {"F.C. of 1000 or more: the default F.C., reported once",
         {},
         {{F::Net, "     0,1"}, {F::Gross, "   150,0"}},
         Step::Gross,
         {{F::Fc, "  1,25"}, {F::Gross, "   150,0"}, {F::Net, "     0,1"}, {F::Kcal, "     0,13"}},
         {kFcTooLarge}},
        {"F.C. 999,90 fits",
         {},
         {{F::Net, "     1,0"}, {F::Gross, "   999,9"}},
         Step::Gross,
         {{F::Fc, "999,90"}},
         {}},
        {"a net from the gross of 1000000 g or more stays blank",
         WithFc("  0,50"),
         {{F::Gross, "999999,9"}},
         Step::Gross,
         {{F::Net, kBlankWeight}, {F::Kcal, kBlankMoney}, {F::Fc, "  0,50"}},
         {kNetFromGrossTooLarge}},
        {"a gross from the net of 1000000 g or more stays blank, and so does the cost",
         WithFc("  2,00"),
         {{F::Net, "600000,0"}},
         Step::Net,
         {{F::Gross, kBlankWeight},
          {F::Cost, kBlankMoney},
          {F::Fc, "  2,00"},
          {F::Kcal, "780000,00"}},
         {kGrossFromNetTooLarge}},
        {"a cooked weight of 1000000 g or more stays blank",
         WithFcc("  2,00"),
         {{F::Raw, "600000,0"}},
         Step::Raw,
         {{F::Cooked, kBlankWeight}, {F::Fcc, "  2,00"}},
         {kCookedTooLarge}},
        {"a raw weight of 1000000 g or more stays blank",
         WithFcc("  0,50"),
         {{F::Cooked, "600000,0"}},
         Step::Cooked,
         {{F::Raw, kBlankWeight}, {F::Fcc, "  0,50"}},
         {kRawTooLarge}},
        {"F.C.C. of 1000 or more: the default F.C.C.",
         {},
         {{F::Cooked, "  1000,0"}, {F::Raw, "     0,5"}},
         Step::Cooked,
         {{F::Fcc, "  2,50"}},
         {kFccTooLarge}},
        {"1000 measures or more: the number stays blank",
         {},
         {{F::Uma, "     0,5"}, {F::Net, "  1000,0"}},
         Step::Net,
         {{F::Count, kBlankFactor}, {F::Gross, "  1250,0"}},
         {kCountTooLarge}},
        {"a net from the measures of 1000000 g or more leaves the net alone",
         {},
         {{F::Uma, "600000,0"}, {F::Count, "  2,00"}, {F::Net, "   100,0"}},
         Step::MeasureCount,
         {{F::Net, "   100,0"}, {F::Count, "  2,00"}, {F::Kcal, "   130,00"}},
         {kNetFromMeasuresTooLarge}},
        {"a cost of 1000000 or more stays blank",
         WithCost("999999,99"),
         {{F::Net, "  1000,1"}, {F::Gross, "  1000,1"}},
         Step::Gross,
         {{F::Cost, kBlankMoney}, {F::Fc, "  1,00"}},
         {kCostTooLarge}},
        {"a cost of 999999,99 fits",
         WithCost("999999,99"),
         {{F::Net, "  1000,0"}, {F::Gross, "  1000,0"}},
         Step::Gross,
         {{F::Cost, "999999,99"}},
         {}},
    });
}

TEST(IngredientLineBlocks, EachBlockOnItsOwn) {
    ScriptedUi ui;
    IngredientLine line = NewLine({});
    line.grossWeight = "   150,0";
    NetFromGross(line, ui);
    EXPECT_EQ(line.netWeight, "   120,0");

    line.netWeight = "   100,0";
    NetFromGross(line, ui);  // a net already there is never overwritten
    EXPECT_EQ(line.netWeight, "   100,0");
    ComputeCorrectionFactor(line, ui);
    EXPECT_EQ(line.correctionFactor, "  1,50");
    GrossFromNet(line, ui);  // nor a gross
    EXPECT_EQ(line.grossWeight, "   150,0");
    ComputeLineCost(line, ui);
    EXPECT_EQ(line.computedCost, "     1,86");

    line.measureWeight = "    40,0";
    MeasureQuantity(line, ui);
    EXPECT_EQ(line.measureCount, "  2,50");
    line.measureCount = "  3,00";
    NetFromMeasures(line, ui);
    EXPECT_EQ(line.netWeight, "   120,0");
    EXPECT_EQ(line.correctionFactor, "  1,25");

    line.rawWeight = "   100,0";
    line.cookingFactor = "  0,75";
    CookedFromRaw(line, ui);
    EXPECT_EQ(line.cookedWeight, "    75,0");
    line.rawWeight = kBlankWeight;
    RawFromCooked(line, ui);
    EXPECT_EQ(line.rawWeight, "   100,0");
    line.cookedWeight = "    90,0";
    ComputeCookingFactor(line, ui);
    EXPECT_EQ(line.cookingFactor, "  0,90");

    // A block called on its own reports its own refusal.
    line.grossWeight = "   150,0";
    line.netWeight = "     0,1";
    ComputeCorrectionFactor(line, ui);
    ComputeCorrectionFactor(line, ui);
    EXPECT_EQ(line.correctionFactor, "  1,25");
    EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{W(kFcTooLarge), W(kFcTooLarge)}));
}

TEST(IngredientLineNutrients, AmountOfOneNutrient) {
    ScriptedUi ui;
    Ingredient ingredient;
    const std::string record = ingredient.Record();
    EXPECT_EQ(NutrientAmount(record, 2, "   250,0", ui), "   325,00");
    EXPECT_EQ(NutrientAmount(record, 11, "   250,0", ui), "     2,50");  // sodium, width 8
    EXPECT_EQ(NutrientAmount(record, 7, "   250,0", ui), kBlankMoney);
    EXPECT_EQ(NutrientAmount(record, 2, kBlankWeight, ui), "     0,00");
    ingredient.sod = "     ,  ";
    EXPECT_EQ(NutrientAmount(ingredient.Record(), 11, "   250,0", ui), kBlankMoney);
    EXPECT_TRUE(ui.Messages().empty());

    // Every nutrient over the limit gives its own pair of messages, in nutrient order.
    Ingredient dense;
    for (auto* v : {&dense.kcal, &dense.cho, &dense.ptn, &dense.lip, &dense.sat, &dense.col,
                    &dense.fib, &dense.cal, &dense.fer}) {
        *v = "9999,99";
    }
    dense.sod = "99999,99";
    IngredientLine line = NewLine(dense);
    line.netWeight = "999999,9";
    ComputeLineNutrients(line, ui);
    std::vector<std::string> expected;
    for (const char* name :
         {"Calorias", "Carbo hidratos", "Proteínas", "Lipídios", "Gordura Saturada", "Colesterol",
          "Fibra", "Cálcio", "Ferro", "Sódio"}) {
        expected.push_back(W(std::string("ERRO! Quantidade de ") + name +
                             " para o peso líquido maior que 999999,99!"));
        expected.push_back(W(kReduce));
    }
    EXPECT_EQ(ui.MessageTexts(), expected);
    for (const auto& amount : line.amounts) {
        EXPECT_EQ(amount, "999999,99");
    }
}

TEST(IngredientLineRecord, ComposedAndReadBack) {
    IngredientLine line = NewLine({});
    line.netWeight = "   120,0";
    line.grossWeight = "   150,0";
    line.measure = Pad(W("Colher de sopa cheia"), 40);
    line.measureCount = "  2,00";
    line.measureWeight = "    60,0";
    ScriptedUi ui;
    AfterGrossWeight(line, ui);
    const std::string composed = ComposeIngredientLine(line);
    EXPECT_EQ(composed, Pad("Arroz cozido", 60) + "|   150,0|   120,0|" + kBlankWeight + "|" +
                            kBlankWeight + "|  1,25|  2,50|    12,40|     1,86|01/03/24|" +
                            Pad(W("Colher de sopa cheia"), 40) +
                            "|  2,00|   156,00|    33,72|     3,00|     0,24|     0,06|" +
                            kBlankMoney + "|     1,92|    12,00|     0,36|     1,20|");
    EXPECT_EQ(GetField(23, composed), "");
    EXPECT_EQ(ComposeIngredientLine(ReadIngredientLine(composed)), composed);

    // A cleared line: every field at the blank text of its mask, field 11 empty.
    std::string blank = "|" + kBlankWeight + "|" + kBlankWeight + "|" + kBlankWeight + "|" +
                        kBlankWeight + "|" + kBlankFactor + "|" + kBlankFactor + "|" + kBlankMoney +
                        "|" + kBlankMoney + "|  /  /  ||" + kBlankFactor + "|";
    for (int i = 0; i < 10; ++i) {
        blank += kBlankMoney + "|";
    }
    EXPECT_EQ(ComposeIngredientLine(BlankIngredientLine()), blank);
}

TEST(IngredientLineRecord, BlankValues) {
    EXPECT_TRUE(IsBlankValue("      , "));
    EXPECT_TRUE(IsBlankValue("   ,  "));
    EXPECT_TRUE(IsBlankValue(""));
    EXPECT_FALSE(IsBlankValue("     0,0"));
    EXPECT_FALSE(IsBlankValue("  0,  "));
}

}  // namespace
}  // namespace velmaro
