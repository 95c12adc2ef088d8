// The ingredient viewer: what it shows, narrowing and ordering through its controls,
// movement, the remembered state, choosing a row and viewing another table.

#include "shell/VisLisIngForm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ViewerFixtures.h"
#include "storage/Config.h"
#include "storage/IniFile.h"

namespace velmaro {
namespace {

using test::Pad;
using Names = std::vector<std::string>;

class VisLisIngFormTest : public test::IngredientViewerTest {
  protected:
    std::string Config(const std::string& key) const {
        return IniFile(ConfigFilePath()).ReadString("Lista Ingredientes", key, "<none>");
    }
    void WriteConfig(const std::string& text) {
        test::WriteBytes(ConfigFilePath(), "[Lista Ingredientes]\r\n" + text);
    }
    // The energy column of the rows shown.
    std::vector<std::string> Energies() const {
        std::vector<std::string> values;
        for (const auto& row : form.LisFilOrdListBox.items) {
            values.push_back(GetField(2, row));
        }
        return values;
    }
};

TEST_F(VisLisIngFormTest, OpensOnTheActiveTableWithTheCallersRecordSelected) {
    Open(2);
    EXPECT_EQ(form.caption, "TELA VISUALIZA INGREDIENTES - TABELA ATIVA : " + kMinha +
                                " - TABELA VISUALIZADA : " + kMinha);
    EXPECT_EQ(form.CabLabel.caption, std::string(24, ' ') + "INGREDIENTE" + std::string(25, ' ') +
                                         "| KCAL  |  CHO  |  PTN  |G.TOTAL|G.SATUR|COLESTE|");
    EXPECT_EQ(form.LisFilOrdListBox.items, active.lines.Items());
    EXPECT_EQ(form.LisFilOrdListBox.itemIndex, 2);
    EXPECT_EQ(form.LisFilOrdListBox.fontFamily, "Courier New");
    EXPECT_TRUE(form.LisFilOrdListBox.fontBold);
    EXPECT_EQ(form.ActiveControl(), &form.LisFilOrdListBox);
    EXPECT_TRUE(form.NomTabCheckBox.checked);
    EXPECT_FALSE(form.NomTabComboBox.enabled);
    EXPECT_EQ(form.NomTabComboBox.SelectedText(), kMinha);
    EXPECT_FALSE(form.CopIngBitBtn.enabled);
    EXPECT_TRUE(form.RetBitBtn.enabled);
    ASSERT_EQ(form.NomCamComboBox.items.size(), 11u);
    EXPECT_EQ(form.NomCamComboBox.items[4], W("LIPÍDIOS - LIP"));
    EXPECT_EQ(form.NomCamComboBox.items[10], W("SÓDIO - SOD"));
    EXPECT_EQ(form.NomGruComboBox.items,
              (Names{Pad("Carnes", 20), Pad("Cereais", 20), Pad("Leguminosas", 20)}));
    // A fresh configuration: nothing narrowed or ordered.
    EXPECT_FALSE(form.AtiFilCheckBox.checked);
    EXPECT_FALSE(form.NomGruComboBox.enabled);
    EXPECT_FALSE(form.PalChaMaskEdit.enabled);
}

TEST_F(VisLisIngFormTest, OrderingByEnergyListsTheValuesInNumericOrder) {
    Open();
    Check(form.AtiOrdCheckBox);
    EXPECT_TRUE(form.NomCamComboBox.enabled);
    EXPECT_EQ(form.ActiveControl(), &form.NomCamComboBox);
    UserSelect(form.NomCamComboBox, 1);  // "CALORIAS - KCAL"
    EXPECT_EQ(Energies(), (Names{"   5,00", "  12,50", "  50,00", " 100,00"}));
    Check(form.AtiOrdCheckBox);  // off: back to the file's order
    EXPECT_FALSE(form.NomCamComboBox.enabled);
    EXPECT_EQ(form.NomCamComboBox.itemIndex, -1);
    EXPECT_EQ(form.LisFilOrdListBox.items, active.lines.Items());
}

TEST_F(VisLisIngFormTest, GroupFilterNeedsTheGroupExactlyAsTheIngredientsHoldIt) {
    Open();
    Check(form.AtiFilCheckBox);
    EXPECT_EQ(form.ActiveControl(), &form.NomGruComboBox);
    EXPECT_EQ(form.LisFilOrdListBox.items.size(), 4u);  // nothing chosen yet
    UserSelect(form.NomGruComboBox, 1);                 // "Cereais"
    EXPECT_EQ(Shown(), (Names{"Arroz branco", "Aveia em flocos"}));
    UserSelect(form.NomGruComboBox, 0);  // "Carnes"; the bife holds "CARNES"
    EXPECT_TRUE(form.LisFilOrdListBox.items.empty());
    EXPECT_EQ(form.LisFilOrdListBox.itemIndex, -1);
}

TEST_F(VisLisIngFormTest, KeywordIsFoldedByOkAndDroppedWithItsCheckBox) {
    Open();
    Check(form.PalChaCheckBox);
    EXPECT_TRUE(form.PalChaBitBtn.enabled);
    ASSERT_EQ(form.ActiveControl(), &form.PalChaMaskEdit);
    ui.Type(form, form.PalChaMaskEdit, W("feijão preto"));
    ui.Press(form, form.PalChaBitBtn);
    EXPECT_EQ(form.PalChaMaskEdit.text, Pad("FEIJAO PRETO", 20));
    EXPECT_EQ(Shown(), (Names{"FEIJÃO PRETO COZIDO"}));
    EXPECT_EQ(form.LisFilOrdListBox.itemIndex, 0);
    Check(form.PalChaCheckBox);
    EXPECT_EQ(form.PalChaMaskEdit.text, Pad("", 20));
    EXPECT_FALSE(form.PalChaMaskEdit.enabled);
    EXPECT_EQ(form.LisFilOrdListBox.items.size(), 4u);
}

TEST_F(VisLisIngFormTest, MovementStepsByAQuarterOfTheRowsWithinTheList) {
    struct Case {
        int rows;
        int start;
        Button TVisLisIngForm::*button;
        int expected;
    };
    const Case cases[] = {
        {3, 1, &TVisLisIngForm::BitBtn3, 1},  // 3 / 4 = 0 rows
        {3, 1, &TVisLisIngForm::BitBtn1, 1},
        {3, 1, &TVisLisIngForm::UltBitBtn, 2},
        {3, 1, &TVisLisIngForm::PriBitBtn, 0},
        {9, 2, &TVisLisIngForm::BitBtn3, 4},
        {9, 7, &TVisLisIngForm::BitBtn3, 8},  // stops at the last row
        {9, 6, &TVisLisIngForm::BitBtn1, 4},
        {9, 1, &TVisLisIngForm::BitBtn1, 0},  // stops at the first row
        {0, -1, &TVisLisIngForm::PriBitBtn, -1},
        {0, -1, &TVisLisIngForm::BitBtn3, -1},
    };
    for (const auto& c : cases) {
        std::vector<test::TestIngredient> ingredients;
        for (int i = 0; i < c.rows; ++i) {
            ingredients.emplace_back("Item " + std::to_string(i));
        }
        active = test::TableOf(ingredients);
        Open(c.start);
        ui.Press(form, form.*c.button);
        EXPECT_EQ(form.LisFilOrdListBox.itemIndex, c.expected)
            << (form.*c.button).caption << " from " << c.start << " of " << c.rows;
        ui.Press(form, form.RetBitBtn);
    }
}

TEST_F(VisLisIngFormTest, RememberedPositionBeyondAShorterListSelectsNothing) {
    for (const auto& [position, expected] : {std::pair{2, 2}, {3, 3}, {4, -1}, {9, -1}}) {
        WriteConfig("AtiOrd=1\r\nCamOrd=CALORIAS - KCAL|\r\nPosFilOrd=" + std::to_string(position) +
                    "\r\n");
        Open();
        EXPECT_EQ(form.NomCamComboBox.itemIndex, 1);
        EXPECT_EQ(form.LisFilOrdListBox.itemIndex, expected) << position;
        // The position holds for the first list only; the next one starts at the top.
        UserSelect(form.NomCamComboBox, 0);
        EXPECT_EQ(form.LisFilOrdListBox.itemIndex, 0);
        ui.Press(form, form.RetBitBtn);
    }
}

TEST_F(VisLisIngFormTest, StateIsSavedOnLeavingAndRestoredOnOpening) {
    Open();
    Check(form.AtiFilCheckBox);
    UserSelect(form.NomGruComboBox, 1);  // "Cereais"
    Check(form.AtiOrdCheckBox);
    UserSelect(form.NomCamComboBox, 1);
    Check(form.PalChaCheckBox);
    ui.Type(form, form.PalChaMaskEdit, "a");
    ui.Press(form, form.PalChaBitBtn);
    EXPECT_EQ(Shown(), (Names{"Aveia em flocos", "Arroz branco"}));
    UserSelect(form.LisFilOrdListBox, 1);
    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(form.chosenIndex, KeyIndex("Arroz branco"));

    EXPECT_EQ(Config("AtiFil"), "1");
    EXPECT_EQ(Config("GruFil"), Pad("Cereais", 20) + "|");
    EXPECT_EQ(Config("AtiOrd"), "1");
    EXPECT_EQ(Config("CamOrd"), "CALORIAS - KCAL|");
    EXPECT_EQ(Config("AtiFilPalCha"), "1");
    EXPECT_EQ(Config("PalCha"), "A");
    EXPECT_EQ(Config("PosFilOrd"), "1");

    TVisLisIngForm again(ui, Home(), activeTable);
    again.Prepare(kMinha, active, 0);
    ui.Activate(again);
    EXPECT_TRUE(again.AtiFilCheckBox.checked);
    EXPECT_TRUE(again.NomGruComboBox.enabled);
    EXPECT_EQ(again.NomGruComboBox.SelectedText(), Pad("Cereais", 20));
    EXPECT_TRUE(again.AtiOrdCheckBox.checked);
    EXPECT_EQ(again.NomCamComboBox.itemIndex, 1);
    EXPECT_TRUE(again.PalChaCheckBox.checked);
    EXPECT_TRUE(again.PalChaMaskEdit.enabled);
    EXPECT_EQ(again.PalChaMaskEdit.text, Pad("A", 20));
    EXPECT_EQ(again.KeywordWords(), Names{"A"});
    ASSERT_EQ(again.LisFilOrdListBox.items.size(), 2u);
    EXPECT_EQ(TrimName(again.LisFilOrdListBox.items[1]), "Arroz branco");
    EXPECT_EQ(again.LisFilOrdListBox.itemIndex, 1);
}

TEST_F(VisLisIngFormTest, StoredNamesThatAreGoneChooseNothingAndListEverything) {
    WriteConfig("AtiFil=1\r\nGruFil=" + Pad("Frutas", 20) +
                "|\r\nAtiOrd=1\r\nCamOrd=VITAMINA C|\r\nPosFilOrd=1\r\n");
    Open(3);
    EXPECT_TRUE(form.AtiFilCheckBox.checked);
    EXPECT_TRUE(form.NomGruComboBox.enabled);
    EXPECT_EQ(form.NomGruComboBox.itemIndex, -1);
    EXPECT_EQ(form.NomCamComboBox.itemIndex, -1);
    EXPECT_EQ(form.LisFilOrdListBox.items, active.lines.Items());
    EXPECT_EQ(form.LisFilOrdListBox.itemIndex, 3);  // unfiltered: the caller's record
}

TEST_F(VisLisIngFormTest, EnterOrDoubleClickLeavesWithTheRowsIndexInTheCallersList) {
    Open();
    Check(form.AtiOrdCheckBox);
    UserSelect(form.NomCamComboBox, 1);
    SelectRow("FEIJÃO PRETO COZIDO");
    form.SetFocus(&form.LisFilOrdListBox);
    PressEnterKey(form);
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(form.chosenIndex, KeyIndex("FEIJÃO PRETO COZIDO"));
    EXPECT_FALSE(form.copied);

    Open();
    SelectRow("Bife");
    form.LisFilOrdListBox.onDblClick();
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(form.chosenIndex, KeyIndex("Bife"));

    // Nothing selected: the first record, and the position remembered as none.
    Open();
    Check(form.AtiFilCheckBox);
    UserSelect(form.NomGruComboBox, 0);
    ui.Press(form, form.RetBitBtn);
    EXPECT_EQ(form.chosenIndex, 0);
    EXPECT_EQ(Config("PosFilOrd"), "-1");
}

TEST_F(VisLisIngFormTest, AnotherTableIsViewedWithItsOwnRowsAndGroups) {
    test::WriteIngredientFile(Home(), "Oficial",
                              {{"Lentilha", "       ", "Leguminosas"}, {"Chuchu"}});
    test::WriteGroups(Home(), "Oficial", {"Hortaliças", "Leguminosas"});
    Open();
    Check(form.AtiOrdCheckBox);
    UserSelect(form.NomCamComboBox, 1);

    Check(form.NomTabCheckBox);
    EXPECT_TRUE(form.NomTabComboBox.enabled);
    EXPECT_EQ(form.ActiveControl(), &form.NomTabComboBox);
    EXPECT_FALSE(form.RetBitBtn.enabled);
    EXPECT_TRUE(form.CopIngBitBtn.enabled);
    View("Oficial");
    EXPECT_FALSE(form.ViewingActiveTable());
    EXPECT_EQ(form.caption, "TELA VISUALIZA INGREDIENTES - TABELA ATIVA : " + kMinha +
                                " - TABELA VISUALIZADA : " + Pad("Oficial", 20));
    EXPECT_EQ(Shown(), (Names{"Chuchu", "Lentilha"}));
    EXPECT_EQ(form.LisFilOrdListBox.itemIndex, 0);
    EXPECT_EQ(form.NomGruComboBox.items, (Names{Pad(W("Hortaliças"), 20), Pad("Leguminosas", 20)}));
    EXPECT_FALSE(form.AtiOrdCheckBox.checked);
    EXPECT_FALSE(form.PalChaCheckBox.checked);
    // The active table's view was remembered when the viewer turned away from it.
    EXPECT_EQ(Config("CamOrd"), "CALORIAS - KCAL|");

    // A table whose ingredient file is still empty shows an empty list.
    View("Outra");
    EXPECT_TRUE(form.LisFilOrdListBox.items.empty());
    EXPECT_EQ(Config("CamOrd"), "CALORIAS - KCAL|");

    Check(form.NomTabCheckBox);
    EXPECT_TRUE(form.ViewingActiveTable());
    EXPECT_FALSE(form.NomTabComboBox.enabled);
    EXPECT_EQ(form.NomTabComboBox.SelectedText(), kMinha);
    EXPECT_TRUE(form.RetBitBtn.enabled);
    EXPECT_FALSE(form.CopIngBitBtn.enabled);
    EXPECT_TRUE(form.AtiOrdCheckBox.checked);
    EXPECT_EQ(Energies(), (Names{"   5,00", "  12,50", "  50,00", " 100,00"}));

    // Choosing the active table in the drop-down is the same as the check box.
    View("Oficial");
    View("Minha");
    EXPECT_TRUE(form.NomTabCheckBox.checked);
    EXPECT_TRUE(form.ViewingActiveTable());
}

}  // namespace
}  // namespace velmaro
