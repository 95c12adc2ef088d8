// A TACO ingredient copied into a table of the user's brings the household measures
// delivered with TACO, and a preparation line turns a number of them into its net weight.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ingredients/SuppliedTables.h"
#include "preparations/IngredientLine.h"
#include "shell/IngredientCopy.h"
#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;

fs::path DeliveredData() {
    const char* src = std::getenv("VELMARO_SOURCE_DIR");
    return fs::path(src != nullptr ? src : ".") / "data";
}

class TacoMeasureLineTest : public test::DataHomeTest {};

TEST_F(TacoMeasureLineTest, TwoServingSpoonsOfCopiedRiceAreItsNetWeight) {
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    const std::string taco = Pad("TACO", 20);
    const std::string minha = Pad("Minha", 20);
    const std::string arroz = Pad("Arroz, tipo 1, cozido", 60);
    LineTable tacoIngredients;
    NullProgress progress;
    LoadScrambledLineTable(IngredientFilePath(Home(), taco), tacoIngredients, progress);
    const FindResult row = FindKey(tacoIngredients.keys, arroz);
    ASSERT_TRUE(row.found);

    test::ScriptedUi ui;
    LineTable active;
    ui.AnswerYes();
    ASSERT_TRUE(CopyIngredient(ui, Home(), true, minha, active,
                               {taco, Pad(W(kTacoDescription), 65), "0"},
                               tacoIngredients.lines[row.index]));

    // The measures the preparation ingredients screen offers for the copied ingredient.
    LineTable measures;
    LoadLineTable(MeasureFilePath(Home(), minha, arroz, false), measures);
    const FindResult spoon = FindKey(measures.keys, Pad("Colher servir cheia", 20));
    ASSERT_TRUE(spoon.found);

    IngredientLine line = BlankIngredientLine();
    line.ingredient = arroz;
    line.ingredientRecord = active.lines[FindKey(active.keys, arroz).index];
    TakeIngredientDefaults(line);
    line.measure = measures.keys[spoon.index];
    line.measureWeight = GetRecordField(measures.lines, spoon.index, 2);
    line.measureCount = "  2,00";
    AfterMeasureCount(line, ui);
    EXPECT_EQ(line.measureWeight, "    45,0");
    EXPECT_EQ(line.netWeight, "    90,0");
    EXPECT_EQ(line.amounts[0], "   115,20");  // 128 kcal per 100 g
    EXPECT_EQ(line.amounts[1], "    25,29");  // 28,1 g of carbohydrate per 100 g
}

}  // namespace
}  // namespace velmaro
