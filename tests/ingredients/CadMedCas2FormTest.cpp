#include "ingredients/CadMedCas2Form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GroupMeasureFixtures.h"
#include "storage/Cp1252.h"
#include "storage/Paths.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::IngredientRecord;
using test::Lines;
using test::Pad;
using test::PreparationLine;
using test::PreparationRecord;
using test::ReadBytes;

const std::string kTable = Pad("Minha", 20);
const std::string kArroz = "Arroz";
const std::string kFeijao = W("Feijão");
const std::string kXicara = W("Xícara");

std::string Measure(std::string_view name, std::string_view quantity) {
    return Pad(name, 20) + "|" + std::string(quantity) + "|";
}

const std::string kDash73(73, '-');

class CadMedCas2FormTest : public test::DataHomeTest {
  protected:
    CadMedCas2FormTest() {
        test::WriteIngredients(Home(), kTable,
                               {IngredientRecord(kFeijao, ""), IngredientRecord(kArroz, "")});
    }
    fs::path MeasureFile(std::string_view ingredient) const {
        return Home() / "Dados" / "Minha" / "Medidas" / (Cp1252ToUtf8(ingredient) + ".med");
    }
    fs::path PrepFile(std::string_view prep) const {
        return PreparationFilePath(Home(), kTable, prep);
    }
    // The preparation list and each preparation's ingredient lines.
    void WritePreparations(const std::vector<std::pair<std::string, std::vector<std::string>>>& p) {
        std::vector<std::string> list;
        for (const auto& [name, lines] : p) {
            list.push_back(PreparationRecord(name, ""));
            test::WriteBytes(PrepFile(name), Lines(lines));
        }
        test::WriteBytes(PreparationListPath(Home(), kTable), Lines(list));
    }

    void Open() {
        form.tableName = kTable;
        form.mode = ScreenMode::Empty;
        form.startPending = true;
        ui.Activate(form);
    }
    // Picks an ingredient and leaves the choice for `next`.
    void Choose(int index, Control& next) {
        ui.MoveFocus(form, form.NomIngComboBox);
        UserSelect(form.NomIngComboBox, index);
        ui.MoveFocus(form, next);
    }
    void Show(const std::string& name) {
        ui.MoveFocus(form, form.MedCasMaskEdit);
        ui.Type(form, form.MedCasMaskEdit, name);
        ui.MoveFocus(form, form.QuaMaskEdit);
    }

    test::ScriptedUi ui;
    TCadMedCas2Form form{ui, Home()};
};

TEST_F(CadMedCas2FormTest, WithoutIngredientsTheScreenTellsSoAndCloses) {
    test::WriteIngredients(Home(), kTable, {});
    Open();
    EXPECT_EQ(ui.MessageTexts(),
              std::vector<std::string>{W("Não existem ingredientes cadastrados!")});
    EXPECT_TRUE(form.CloseRequested());
}

TEST_F(CadMedCas2FormTest, ChoosingAnIngredientCreatesItsEmptyMeasuresFileAndShowsEmpty) {
    test::WriteBytes(MeasureFile(kFeijao), Lines({Measure("Concha", "    80,0")}));
    Open();
    EXPECT_EQ(form.caption, "CADASTRO DE MEDIDAS CASEIRAS - Tabela ativa : " + kTable);
    EXPECT_EQ(form.NomIngComboBox.items,
              (std::vector<std::string>{Pad(kArroz, 60), Pad(kFeijao, 60)}));
    EXPECT_EQ(form.currentIngredient, Pad(kArroz, 60));
    EXPECT_TRUE(fs::exists(MeasureFile(kArroz)));
    EXPECT_EQ(ReadBytes(MeasureFile(kArroz)), "");
    EXPECT_EQ(form.mode, ScreenMode::Empty);
    EXPECT_EQ(form.ActiveControl(), &form.MedCasMaskEdit);
    EXPECT_FALSE(form.QuaMaskEdit.enabled);

    // Another ingredient: the fields are cleared as soon as it is picked, and leaving the
    // choice loads its measures and empties the screen.
    Show("Copo");
    EXPECT_EQ(form.mode, ScreenMode::Inserting);
    ui.MoveFocus(form, form.NomIngComboBox);
    UserSelect(form.NomIngComboBox, 1);
    EXPECT_EQ(form.MedCasMaskEdit.text, Pad("", 20));
    EXPECT_EQ(form.QuaMaskEdit.text, "      , ");
    ui.MoveFocus(form, form.MedCasMaskEdit);
    EXPECT_EQ(form.currentIngredient, Pad(kFeijao, 60));
    EXPECT_EQ(form.mode, ScreenMode::Empty);
    EXPECT_EQ(form.table.lines.Count(), 1);

    // Leaving the choice for Lista lists the chosen ingredient's measures at once.
    Choose(0, form.MedCasMaskEdit);
    ui.MoveFocus(form, form.NomIngComboBox);
    UserSelect(form.NomIngComboBox, 1);
    ui.Pick(0);
    ui.Press(form, form.LisBitBtn);
    ASSERT_EQ(ui.Pickers().size(), 1u);
    EXPECT_EQ(ui.Pickers()[0].caption, W("MEDIDAS CASEIRAS - Feijão - (g/ml)"));
    EXPECT_EQ(form.MedCasMaskEdit.text, Pad("Concha", 20));
    EXPECT_EQ(form.mode, ScreenMode::Showing);

    fs::remove(MeasureFile(kArroz));
    Choose(0, form.MedCasMaskEdit);
    EXPECT_EQ(form.currentIngredient, Pad(kArroz, 60));
    EXPECT_EQ(ReadBytes(MeasureFile(kArroz)), "");
    EXPECT_EQ(form.mode, ScreenMode::Empty);
    EXPECT_EQ(form.ActiveControl(), &form.MedCasMaskEdit);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CadMedCas2FormTest, AQuantityLeftAsTypedIsStoredAlignedWithItsDecimal) {
    Open();
    Show(kXicara);
    EXPECT_EQ(form.ActiveControl(), &form.QuaMaskEdit);
    ui.Type(form, form.QuaMaskEdit, "120");
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{W("Confirma inclusão?"),
                                                           W("Inclusão efetuada com sucesso!")}));
    EXPECT_EQ(ReadBytes(MeasureFile(kArroz)), Lines({Measure(kXicara, "   120,0")}));
    EXPECT_EQ(form.mode, ScreenMode::Empty);
}

TEST_F(CadMedCas2FormTest, ABlankNameMayBeLeftForTheIngredientChoiceOnly) {
    Open();
    EXPECT_TRUE(ui.MoveFocus(form, form.NomIngComboBox));
    EXPECT_TRUE(ui.Messages().empty());
    ui.MoveFocus(form, form.MedCasMaskEdit);
    EXPECT_FALSE(ui.MoveFocus(form, form.QuaMaskEdit));
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Código inválido!")});
    EXPECT_EQ(form.ActiveControl(), &form.MedCasMaskEdit);
}

TEST_F(CadMedCas2FormTest, TheListShowsEachMeasureWithItsQuantityInNameOrderIgnoringCase) {
    test::WriteBytes(MeasureFile(kArroz),
                     Lines({Measure(kXicara, "   120,0"), Measure("colher", "    15,0"),
                            Measure("Concha", "    80,0")}));
    Open();
    ui.Pick(2);
    ui.Press(form, form.LisBitBtn);
    ASSERT_EQ(ui.Pickers().size(), 1u);
    EXPECT_EQ(ui.Pickers()[0].caption, "MEDIDAS CASEIRAS - Arroz - (g/ml)");
    EXPECT_EQ(ui.Pickers()[0].items, (std::vector<std::string>{Measure("colher", "    15,0"),
                                                               Measure("Concha", "    80,0"),
                                                               Measure(kXicara, "   120,0")}));
    EXPECT_EQ(form.MedCasMaskEdit.text, Pad(kXicara, 20));
    EXPECT_EQ(form.QuaMaskEdit.text, "   120,0");
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(form.ActiveControl(), &form.QuaMaskEdit);
}

TEST_F(CadMedCas2FormTest, ANameInAnotherCaseIsFoundAndRefusedByTheRename) {
    test::WriteBytes(MeasureFile(kArroz),
                     Lines({Measure("Colher", "    15,0"), Measure(kXicara, "   120,0")}));
    Open();
    Show(W("XÍCARA"));
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(form.MedCasMaskEdit.text, Pad(kXicara, 20));
    EXPECT_EQ(form.QuaMaskEdit.text, "   120,0");
    struct Refused {
        std::string newName;
        std::string message;
    };
    for (const Refused& r : std::vector<Refused>{{"colher", W("Nome da medida caseira já existe!")},
                                                 {"  ", W("Código inválido!")}}) {
        ui.ClearMessages();
        ui.Rename(true, r.newName);
        ui.Press(form, form.AltNomBitBtn);
        EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{r.message}) << r.newName;
    }
    EXPECT_EQ(ui.RenameCalls().back().caption, "Altera nome da medida caseira");
    EXPECT_EQ(ui.RenameCalls().back().mask, form.MedCasMaskEdit.Mask());
    EXPECT_EQ(ReadBytes(MeasureFile(kArroz)),
              Lines({Measure("Colher", "    15,0"), Measure(kXicara, "   120,0")}));
}

class MeasureInUseTest : public CadMedCas2FormTest {
  protected:
    MeasureInUseTest() {
        test::WriteBytes(MeasureFile(kArroz), Lines({Measure(kXicara, "   120,0")}));
        test::WriteBytes(MeasureFile(kFeijao), Lines({Measure(kXicara, "   150,0")}));
        // Only Arroz is measured in Xícaras in a preparation.
        WritePreparations(
            {{"Arroz doce", {arrozLine}}, {W("Feijão tropeiro"), {arrozPlain, feijaoPlain}}});
    }
    // Leaves the shown measure's quantity changed and presses `button`.
    void Press(Button& button) {
        ui.ClearMessages();
        ui.ProgressLog().positions.clear();
        ui.Press(form, button);
    }

    const std::string arrozLine = PreparationLine(kArroz, Pad(kXicara, 20));
    const std::string arrozPlain = PreparationLine(kArroz, "");
    const std::string feijaoPlain = PreparationLine(kFeijao, Pad("Concha", 20));
    const std::vector<std::string> reportItems{W("Preparação  : ") + Pad("Arroz doce", 40),
                                               "Ingrediente : " + Pad(kArroz, 60), kDash73};
};

TEST_F(MeasureInUseTest, AMeasureThisIngredientUsesCanBeNeitherAlteredNorDeleted) {
    Open();
    Show(kXicara);
    form.QuaMaskEdit.text = "   130,0";
    Press(form.GraBitBtn);
    ASSERT_EQ(ui.InUseReports().size(), 1u);
    EXPECT_EQ(ui.InUseReports()[0].message,
              W(" A medida caseira <<<Xícara>>>//"
                " não pode ser alterada porque é a medida definida para os//"
                " ingredientes nas preparações listadas abaixo. Se realmente//"
                " deseja alterá-la você deve excluí-la para os//"
                " ingredientes das preparações da lista abaixo.//"
                " Para facilitar seu trabalho imprima ou salve a lista."));
    EXPECT_EQ(ui.InUseReports()[0].items, reportItems);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(form.mode, ScreenMode::Altering);
    EXPECT_EQ(ui.ProgressLog().maximum, 2);
    EXPECT_EQ(ui.ProgressLog().positions, (std::vector<int>{0, 1}));
    EXPECT_FALSE(ui.ProgressLog().open);

    form.NovBitBtn.Click();
    Show(kXicara);
    Press(form.ExcBitBtn);
    ASSERT_EQ(ui.InUseReports().size(), 2u);
    EXPECT_EQ(ui.InUseReports()[1].message,
              W(" A medida caseira <<<Xícara>>>//"
                " não pode ser excluida porque é a medida definida para os//"
                " ingredientes nas preparações listadas abaixo. Se realmente//"
                " deseja excluí-la você deve alterar a medida caseira para os//"
                " ingredientes das preparações da lista abaixo.//"
                " Para facilitar seu trabalho imprima ou salve a lista."));
    EXPECT_EQ(ui.InUseReports()[1].items, reportItems);
    EXPECT_EQ(form.mode, ScreenMode::Deleting);
    EXPECT_EQ(ReadBytes(MeasureFile(kArroz)), Lines({Measure(kXicara, "   120,0")}));
}

TEST_F(MeasureInUseTest, AMeasureNamedLikeOneUsedForAnotherIngredientIsAlteredButNotDeleted) {
    Open();
    Choose(1, form.MedCasMaskEdit);  // Feijão: its own Xícara is in no preparation
    Show(kXicara);
    form.QuaMaskEdit.text = "   140,0";
    ui.AnswerYes();
    Press(form.GraBitBtn);
    EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{W("Confirma alteração?"),
                                                           W("Alteração efetuada com sucesso!")}));
    EXPECT_EQ(ReadBytes(MeasureFile(kFeijao)), Lines({Measure(kXicara, "   140,0")}));

    Show(kXicara);
    Press(form.ExcBitBtn);
    ASSERT_EQ(ui.InUseReports().size(), 1u);
    EXPECT_EQ(ui.InUseReports()[0].items, reportItems) << "the report names the other ingredient";
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(ReadBytes(MeasureFile(kFeijao)), Lines({Measure(kXicara, "   140,0")}));

    // A measure no preparation names is deleted.
    test::WriteBytes(MeasureFile(kFeijao), Lines({Measure("Copo", "   200,0")}));
    form.NovBitBtn.Click();
    Choose(1, form.MedCasMaskEdit);
    Show("Copo");
    ui.AnswerYes();
    Press(form.ExcBitBtn);
    EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{W("Confirma exclusão?"),
                                                           W("Exclusão efetuada com sucesso!")}));
    EXPECT_EQ(ReadBytes(MeasureFile(kFeijao)), "");
}

TEST_F(MeasureInUseTest, ARenameReachesTheLinesOfThisIngredientOnly) {
    // Feijão is also measured in Xícaras in a preparation: its own measure keeps its name.
    const std::string feijaoXicara = PreparationLine(kFeijao, Pad(kXicara, 20));
    WritePreparations({{"Arroz doce", {arrozLine}},
                       {W("Feijão tropeiro"), {arrozPlain, feijaoXicara}},
                       {"Sopa", {feijaoPlain}}});
    const std::string sopaBefore = ReadBytes(PrepFile("Sopa"));
    Open();
    Show(kXicara);
    ui.Rename(true, W("Xícara de chá"));
    ui.Press(form, form.AltNomBitBtn);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(form.MedCasMaskEdit.text, Pad(W("Xícara de chá"), 20));
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(ReadBytes(MeasureFile(kArroz)), Lines({Measure(W("Xícara de chá"), "   120,0")}));
    EXPECT_EQ(ReadBytes(PrepFile("Arroz doce")),
              Lines({PreparationLine(kArroz, Pad(W("Xícara de chá"), 20))}));
    EXPECT_EQ(ReadBytes(PrepFile(W("Feijão tropeiro"))), Lines({arrozPlain, feijaoXicara}));
    EXPECT_EQ(ReadBytes(PrepFile("Sopa")), sopaBefore);
    EXPECT_EQ(ReadBytes(MeasureFile(kFeijao)), Lines({Measure(kXicara, "   150,0")}));
}

TEST_F(MeasureInUseTest, AFailedRenameLeavesEveryFileAsItWas) {
    // Two preparations name the measure; the second one's file is too large to write.
    std::vector<std::string> bigLines{arrozLine};
    for (int i = 0; i < 3; ++i) {
        bigLines.push_back(PreparationLine("Ingrediente " + std::to_string(i), ""));
    }
    WritePreparations({{"Arroz doce", {arrozLine}}, {"Arroz grande", bigLines}});
    std::vector<std::string> measures;
    for (int i = 0; i < 20; ++i) {
        measures.push_back(Measure("Medida " + std::to_string(10 + i), "     1,0"));
    }
    measures.push_back(Measure(kXicara, "   120,0"));
    test::WriteBytes(MeasureFile(kArroz), Lines(measures));
    const std::string measuresBefore = ReadBytes(MeasureFile(kArroz));
    const std::string doceBefore = ReadBytes(PrepFile("Arroz doce"));
    const std::string grandeBefore = ReadBytes(PrepFile("Arroz grande"));
    ASSERT_LT(doceBefore.size(), 400u);
    ASSERT_GT(grandeBefore.size(), 400u);
    ASSERT_GT(measuresBefore.size(), 400u);

    // First the preparation file that cannot be written; then, with both preparations
    // small, the measures file written last.
    for (const bool failOnMeasures : {false, true}) {
        if (failOnMeasures) {
            WritePreparations({{"Arroz doce", {arrozLine}}, {"Arroz grande", {arrozLine}}});
        }
        const std::string grande = ReadBytes(PrepFile("Arroz grande"));
        ui.ClearMessages();
        Open();
        Show(kXicara);
        {
            test::FileSizeLimit limit(400);
            ui.Rename(true, "Caneca");
            ui.Press(form, form.AltNomBitBtn);
        }
        EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Erro durante a alteração!")});
        EXPECT_EQ(ReadBytes(PrepFile("Arroz doce")), doceBefore) << failOnMeasures;
        EXPECT_EQ(ReadBytes(PrepFile("Arroz grande")), grande) << failOnMeasures;
        EXPECT_EQ(ReadBytes(MeasureFile(kArroz)), measuresBefore) << failOnMeasures;
        EXPECT_EQ(form.MedCasMaskEdit.text, Pad(kXicara, 20));
        EXPECT_EQ(form.table.keys[form.currentIndex], Pad(kXicara, 20));
        EXPECT_FALSE(ui.ProgressLog().open);
        ui.Press(form, form.RetBitBtn);
    }
}

}  // namespace
}  // namespace velmaro
