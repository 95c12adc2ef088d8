// A TACO ingredient copied into a table of the user's brings the household measures
// delivered with TACO, and the preparation ingredients screen offers them and turns a
// number of them into the line's net weight.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "ingredients/SuppliedTables.h"
#include "platform/Interaction.h"
#include "preparations/CadIngFicTecForm.h"
#include "preparations/PreparationRecordFixture.h"
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

    // The copy that the ingredient viewer makes, into the table "Minha".
    test::ScriptedUi ui;
    LineTable active;
    ui.AnswerYes();
    ASSERT_TRUE(CopyIngredient(ui, Home(), true, minha, active,
                               {taco, Pad(W(kTacoDescription), 65), "0"},
                               tacoIngredients.lines[row.index]));
    SaveScrambledLineTable(IngredientFilePath(Home(), minha), active.lines, progress);

    // A preparation of "Minha" gets the rice by two serving spoons.
    LineTable preparations;
    LoadLineTableFromBytes(test::PreparationLine("Arroz de forno") + "\r\n", preparations);
    TCadIngFicTecForm form{ui, Home()};
    form.Prepare(minha, Pad("Arroz de forno", 40), preparations, 0, ListViewerInput{});
    ui.Activate(form);
    ui.ClearMessages();
    ui.MoveFocus(form, form.NomIngComboBox);
    UserSelect(form.NomIngComboBox, 0);
    ui.MoveFocus(form, form.IngFicTecListBox);
    ASSERT_EQ(form.NomIngComboBox.text, arroz);
    const auto& offered = form.NomMedCasComboBox.items;
    EXPECT_EQ(offered.size(), 13u);
    const auto spoon = std::find(offered.begin(), offered.end(), Pad("Colher servir cheia", 20));
    ASSERT_NE(spoon, offered.end());
    UserSelect(form.NomMedCasComboBox, static_cast<int>(spoon - offered.begin()));
    EXPECT_EQ(form.UmaMedCasMaskEdit.text, "    45,0");
    PressEnter(form);
    ASSERT_EQ(form.ActiveControl(), &form.QuaMedCasMaskEdit);
    ui.Type(form, form.QuaMedCasMaskEdit, "2");
    PressEnter(form);
    EXPECT_EQ(form.QuaMedCasMaskEdit.text, "  2,00");
    EXPECT_EQ(form.PesLiqMaskEdit.text, "    90,0");
    EXPECT_EQ(form.PesPorKalMaskEdit.text, "   115,20");  // 128 kcal per 100 g
}

}  // namespace
}  // namespace velmaro
