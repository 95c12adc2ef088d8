#include <gtest/gtest.h>

#include "ingredients/CadIngForm.h"
#include "ingredients/ExtraValues.h"
#include "platform/Interaction.h"
#include "shell/ViewerFixtures.h"
#include "storage/Cp1252.h"
#include "storage/Paths.h"
#include "storage/Text.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;
using test::ReadBytes;
using test::WriteBytes;

ExtraValues Values(std::array<std::string, 3> values, std::array<std::string, 3> sources) {
    ExtraValues v;
    v.values = std::move(values);
    v.sources = std::move(sources);
    return v;
}

// The register of "Minha" with "Açúcar, refinado" (its trans fat known, no sugars), beside
// the supplied "IBGE" (its sugar with all three values) and a table "Alfa" that comes
// before it in the list.
class SugarsFromAnotherTableTest : public test::DataHomeTest {
  protected:
    const std::string kMinha = Pad("Minha", 20);
    const std::string kIbge = Pad("IBGE", 20);
    const std::string kSugar = Pad(W("Açúcar, refinado"), 60);

    SugarsFromAnotherTableTest() {
        WriteBytes(TableListPath(Home()), test::TableRecord("Alfa", "Outra", "1") +
                                              test::TableRecord("IBGE", "IBGE POF", "0") +
                                              test::TableRecord("Minha", "Minha", "1"));
        test::WriteIngredientFile(Home(), "Minha", {{"Açúcar, refinado", " 387,00"}});
        test::WriteIngredientFile(Home(), "Alfa", {{"Açúcar", " 300,00"}});
        test::WriteIngredientFile(Home(), "IBGE", {{"Açúcar", " 387,00"}, {"Mel", " 309,00"}});
        ExtraValuesTable ibge;
        ibge.Set(W("Açúcar"), Values({"  99,91", "  99,98", "   0,00"},
                                     {W("IBGE POF 2008–2009"), W("IBGE POF 2008–2009"),
                                      W("IBGE POF 2008–2009")}));
        WriteBytes(ExtraValuesFileLocation(Home(), kIbge), ibge.Bytes());
        ExtraValuesTable minha;
        minha.Set(W("Açúcar, refinado"),
                  Values({"    ,  ", "    ,  ", "   0,10"}, {"", "", "medido"}));
        WriteBytes(ExtraValuesFileLocation(Home(), kMinha), minha.Bytes());
        active.name = kMinha;
        active.editable = true;
        form.listViewer = &viewer;
        form.tableName = kMinha;
        form.mode = ScreenMode::Empty;
        form.startPending = true;
        ui.Activate(form);
        ui.Type(form, form.IngMaskEdit, W("Açúcar, refinado"));
        ui.MoveFocus(form, form.kalMaskEdit);
    }

    // In the viewer: the food `name` of the table viewed chosen, and Retorna.
    void PickInViewer(const std::string& name) {
        ui.OnShow("TVisLisIngForm", [this, name](Form& f) {
            auto& v = static_cast<TVisLisIngForm&>(f);
            viewedTable = v.ViewedTableName();
            copyEnabled = v.CopIngBitBtn.enabled;
            for (size_t i = 0; i < v.LisFilOrdListBox.items.size(); ++i) {
                if (RecordKey(v.LisFilOrdListBox.items[i]) == Pad(W(name), 60)) {
                    UserSelect(v.LisFilOrdListBox, static_cast<int>(i));
                }
            }
            ui.Press(v, v.RetBitBtn);
        });
    }

    test::ScriptedUi ui;
    ActiveTable active;
    NoIngredientChanges changes;
    TVisLisIngForm viewer{ui, Home(), active};
    TCadIngForm form{ui, Home(), active, changes};
    std::string viewedTable;
    bool copyEnabled = true;
};

TEST_F(SugarsFromAnotherTableTest, TheBlankValuesComeFromTheFoodPickedInIbge) {
    ASSERT_EQ(form.mode, ScreenMode::Showing);
    const std::string ingredients = ReadBytes(IngredientFilePath(Home(), kMinha));
    PickInViewer("Açúcar");
    ui.AnswerYes();
    ui.Press(form, form.AcuBitBtn);

    EXPECT_EQ(viewedTable, kIbge) << "IBGE first, though another table comes before it";
    EXPECT_EQ(RecordKey(viewer.pickedRow), Pad(W("Açúcar"), 60));
    EXPECT_FALSE(copyEnabled);
    const std::string question = Cp1252ToUtf8(ui.LastMessage());
    EXPECT_NE(question.find("Alimento (IBGE): Açúcar"), std::string::npos) << question;
    EXPECT_NE(question.find("Açúcares totais (g)            ?     99,91"), std::string::npos)
        << question;
    EXPECT_NE(question.find("Gorduras trans (g)          0,10      0,00"), std::string::npos)
        << question;

    const std::string source = W("IBGE POF 2008–2009: Açúcar");
    EXPECT_EQ(ReadBytes(ExtraValuesFileLocation(Home(), kMinha)),
              kSugar + "|  99,91|  99,98|   0,10|" + source + "|" + source + "|medido|\r\n");
    EXPECT_EQ(ReadBytes(IngredientFilePath(Home(), kMinha)), ingredients);
    EXPECT_EQ(form.ACTMaskEdit.text, "  99,91");
    EXPECT_EQ(form.ACAFonMaskEdit.text.substr(0, source.size()), source);
    EXPECT_EQ(form.TRAMaskEdit.text, "   0,10");
}

TEST_F(SugarsFromAnotherTableTest, NothingChangesWhenTheUserDeclinesOrPicksNothing) {
    const std::string before = ReadBytes(ExtraValuesFileLocation(Home(), kMinha));
    PickInViewer("Açúcar");
    ui.AnswerNo();
    ui.Press(form, form.AcuBitBtn);
    EXPECT_EQ(ReadBytes(ExtraValuesFileLocation(Home(), kMinha)), before);

    // A food without the values that are missing: told so, nothing written.
    PickInViewer("Mel");
    ui.Press(form, form.AcuBitBtn);
    EXPECT_NE(Cp1252ToUtf8(ui.LastMessage()).find("não tem os valores que faltam"),
              std::string::npos)
        << Cp1252ToUtf8(ui.LastMessage());
    EXPECT_EQ(ReadBytes(ExtraValuesFileLocation(Home(), kMinha)), before);
}

}  // namespace
}  // namespace velmaro
