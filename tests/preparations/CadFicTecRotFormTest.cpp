// The preparation register: the scaled rows as the weights are typed, storing, the
// screens reached from it, the reference value, rename and deletion with the
// preparation's files.

#include "preparations/CadFicTecRotForm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Interaction.h"
#include "preparations/CadRecForm.h"
#include "preparations/PreparationRecordFixture.h"
#include "preparations/PreparationScaling.h"
#include "shell/NameRules.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/IniFile.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "storage/Text.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

namespace F = PreparationRecordField;
using test::Pad;
using test::PreparationLine;
using test::ReadBytes;
using test::WriteBytes;

// Yield 1000 g, 10 portions of 100 g, a tablespoon of 15 g; energy 2500 kcal, cost 12,00.
std::map<int, std::string> Bolo() {
    return {{F::kYield, "  1000"},
            {F::kEnergyTotal, "  2500,00"},
            {F::kCostTotal, "    12,00"},
            {F::kPortions, "    10"},
            {F::kPortionWeight, "   100"},
            {F::kPortionEnergy, "   250,00"},
            {F::kPortionCost, "     1,20"},
            {F::kTablespoonWeight, "    15"},
            {F::kTablespoonEnergy, "    37,50"},
            {F::kTablespoonCost, "     0,18"}};
}

class CadFicTecRotFormTest : public test::DataHomeTest {
  protected:
    CadFicTecRotFormTest() {
        form.tableName = Pad("Minha", 20);
        WriteList({PreparationLine("Bolo", Bolo()), PreparationLine("Feijao")});
    }

    fs::path TableDir() const { return Home() / "Dados" / "Minha"; }
    fs::path ListPath() const { return TableDir() / "Ficha Tecnica" / "ArqFicTec.dad"; }
    void WriteList(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const auto& l : lines) {
            bytes += l + "\r\n";
        }
        WriteBytes(ListPath(), bytes);
    }
    std::string ListBytes() const { return ReadBytes(ListPath()); }
    // Every file under the table's folder.
    std::vector<fs::path> AllFiles() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::recursive_directory_iterator(TableDir())) {
            if (entry.is_regular_file()) {
                files.push_back(entry.path());
            }
        }
        return files;
    }
    // The files of a preparation besides its record.
    std::vector<fs::path> FilesOf(const std::string& name) const {
        return {TableDir() / "Ficha Tecnica" / (name + ".dad"),
                TableDir() / "Receita" / (name + ".rec"),
                TableDir() / "Etiqueta" / (name + ".eti"),
                TableDir() / "Rotulo" / (name + ".rot"),
                TableDir() / "Rotulo" / "Imagens" / (name + ".bmp"),
                TableDir() / "Rotulo" / "Imagens" / (name + ".pdf"),
                TableDir() / "Rotulo" / "Imagens" / (name + "-alto-em.bmp")};
    }
    void WriteFilesOf(const std::string& name) {
        for (const fs::path& f : FilesOf(name)) {
            WriteBytes(f, "de " + name + " " + f.extension().string());
        }
    }

    void Open() {
        form.startPending = true;
        ui.Activate(form);
    }
    // Types a name into the empty key field and leaves it.
    void Show(const std::string& name) {
        ui.Type(form, form.NomPreMaskEdit, name);
        ui.MoveFocus(form, form.DatPreMaskEdit);
    }
    // Types into a field and leaves it for `next`.
    void Fill(MaskEdit& field, const std::string& text, Control& next) {
        ui.MoveFocus(form, field);
        ui.Type(form, field, text);
        ui.MoveFocus(form, next);
    }

    test::ScriptedUi ui;
    TCadFicTecRotForm form{ui, Home()};
};

TEST_F(CadFicTecRotFormTest, ANewPreparationIsInsertedAndStaysOnScreen) {
    Open();
    EXPECT_EQ(form.caption, W("CADASTRO DE PREPARAÇÕES - TABELA ATIVA : ") + Pad("Minha", 20));
    Show("Bolo de milho");
    EXPECT_EQ(form.mode, ScreenMode::Inserting);
    EXPECT_TRUE(form.dirty) << "a new name is a change to store";
    EXPECT_EQ(form.ActiveControl(), &form.DatPreMaskEdit);
    EXPECT_TRUE(form.IngBitBtn.enabled);
    EXPECT_FALSE(form.AltNomBitBtn.enabled);
    EXPECT_FALSE(form.RenPorMaskEdit.enabled);
    EXPECT_FALSE(form.KALPesMaskEdit.enabled);

    Fill(form.RenPesMaskEdit, "1000", form.NumPorMaskEdit);
    Fill(form.NumPorMaskEdit, "10", form.RenColSopMaskEdit);
    Fill(form.RenColSopMaskEdit, "15", form.SelValRefBitBtn);
    EXPECT_EQ(form.RenPorMaskEdit.text, "   100");
    // No ingredients yet: the totals are blank, and so is every scaled value.
    EXPECT_EQ(form.KALPorMaskEdit.text, "      ,  ");
    EXPECT_EQ(form.CUSColSopMaskEdit.text, "      ,  ");

    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{W("Confirma inclusão?"),
                                                           W("Inclusão efetuada com sucesso!")}));
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_FALSE(form.dirty);
    EXPECT_TRUE(form.AltNomBitBtn.enabled);
    EXPECT_EQ(form.NomPreMaskEdit.text, Pad("Bolo de milho", 40));
    EXPECT_EQ(ListBytes(),
              PreparationLine("Bolo", Bolo()) + "\r\n" +
                  PreparationLine("Bolo de milho", {{F::kYield, "  1000"},
                                                    {F::kPortions, "    10"},
                                                    {F::kPortionWeight, "   100"},
                                                    {F::kTablespoonWeight, "    15"}}) +
                  "\r\n" + PreparationLine("Feijao") + "\r\n");

    // Stored again: "Confirma alteração?", and the screen still shows it.
    ui.ClearMessages();
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Alteração efetuada com sucesso!"));
    EXPECT_EQ(form.mode, ScreenMode::Showing);
}

TEST_F(CadFicTecRotFormTest, EnterWalksTheOrderOfEntry) {
    Open();
    Show("Bolo");
    std::vector<std::string> walked{form.ActiveControl()->Name()};
    for (int i = 0; i < 19; ++i) {
        PressEnter(form);
        walked.push_back(form.ActiveControl()->Name());
    }
    EXPECT_EQ(
        walked,
        (std::vector<std::string>{
            "DatPreMaskEdit",    "NomGruPreComboBox", "IngBitBtn",          "RecBitBtn",
            "ImpFicTecBitBtn",   "ImpRotBitBtn",      "RenPesMaskEdit",     "NumPorMaskEdit",
            "RenColSopMaskEdit", "SelValRefBitBtn",   "RenRotMaskEdit",     "UniPorMaskEdit",
            "AMCMaskEdit",       "MedCasComboBox",    "PesMedMaskEdit",     "NorValRefMaskEdit",
            "GruAliMaskEdit",    "AltNomBitBtn",      "LimNomGruPreBitBtn", "GraBitBtn"}));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CadFicTecRotFormTest, TheRowsFollowTheWeightsAsTheyAreLeft) {
    Open();
    Show("bolo");
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(form.KALPorMaskEdit.text, "   250,00");
    EXPECT_EQ(ui.ProgressLog().maximum, 52);
    EXPECT_EQ(ui.ProgressLog().ends, 1);

    Fill(form.NumPorMaskEdit, "3", form.RenColSopMaskEdit);
    EXPECT_EQ(form.RenPorMaskEdit.text, "   333");
    EXPECT_EQ(form.KALPorMaskEdit.text, "   832,50") << "333/1000 of the total, not a third";
    EXPECT_EQ(form.CUSPorMaskEdit.text, "     4,00");

    Fill(form.RenRotMaskEdit, "60", form.UniPorMaskEdit);
    EXPECT_EQ(form.RenRotMaskEdit.text, "    60");
    EXPECT_EQ(form.KALRotMaskEdit.text, "   150,00");

    Fill(form.NumPorMaskEdit, "0", form.RenColSopMaskEdit);
    EXPECT_EQ(ui.LastMessage(), W("Número de porções deve ser maior que zero!"));
    EXPECT_EQ(form.ActiveControl(), &form.NumPorMaskEdit);
    EXPECT_EQ(form.RenPorMaskEdit.text, "   333") << "nothing computed from 0 portions";
    form.NumPorMaskEdit.SelectAll();
    ui.Type(form, form.NumPorMaskEdit, "10");

    // Emptying the yield empties every weight and the three rows; the totals stay.
    Fill(form.RenPesMaskEdit, "\b", form.NumPorMaskEdit);
    EXPECT_EQ(form.RenPesMaskEdit.text, "      ");
    for (MaskEdit* w : {&form.NumPorMaskEdit, &form.RenPorMaskEdit, &form.RenColSopMaskEdit,
                        &form.RenRotMaskEdit}) {
        EXPECT_EQ(w->text, "      ") << w->Name();
    }
    for (MaskEdit* v : {&form.KALPorMaskEdit, &form.CUSPorMaskEdit, &form.KALColSopMaskEdit,
                        &form.CUSColSopMaskEdit, &form.KALRotMaskEdit, &form.CusRotMaskEdit}) {
        EXPECT_EQ(v->text, "      ,  ") << v->Name();
    }
    EXPECT_EQ(form.KALPesMaskEdit.text, "  2500,00");
    EXPECT_EQ(form.CusPesMaskEdit.text, "    12,00");
    EXPECT_TRUE(form.dirty);
}

// A tablespoon of 999999 g from a yield of 1000 g would hold 2499997,50 kcal: refused
// with a message, the row blank (never the values of the old weight beside the new one),
// the focus back in the weight; stored so, and no label is printed from it.
TEST_F(CadFicTecRotFormTest, AScaledValueThatDoesNotFitIsNeverStoredAsComputed) {
    Open();
    Show("Bolo");
    Fill(form.RenColSopMaskEdit, "999999", form.SelValRefBitBtn);
    EXPECT_EQ(ui.MessageTexts(),
              std::vector<std::string>{W("ERRO! Valor calculado para a colher de sopa maior que "
                                         "999999,99! Os valores da colher de sopa ficaram em "
                                         "branco; confira o rendimento e o peso da colher de "
                                         "sopa.")});
    EXPECT_EQ(form.ActiveControl(), &form.RenColSopMaskEdit);
    EXPECT_EQ(form.KALColSopMaskEdit.text, "      ,  ");
    EXPECT_EQ(form.CUSColSopMaskEdit.text, "      ,  ");

    // Grava cannot take the focus from the refused weight: nothing is stored.
    const std::string list = ListBytes();
    ui.ClearMessages();
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.MessageTexts().size(), 1u);
    EXPECT_EQ(form.ActiveControl(), &form.RenColSopMaskEdit);
    EXPECT_EQ(ListBytes(), list);

    // Corrected, the row is computed again and stored.
    form.RenColSopMaskEdit.SelectAll();
    ui.Type(form, form.RenColSopMaskEdit, "20");
    ui.ClearMessages();
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{W("Confirma alteração?"),
                                                           W("Alteração efetuada com sucesso!")}));
    const std::string stored = SplitLines(ListBytes())[0];
    EXPECT_EQ(GetField(F::kTablespoonWeight, stored), "    20");
    EXPECT_EQ(GetField(F::kTablespoonEnergy, stored), "    50,00");
    EXPECT_FALSE(ScaledRowIsStale(stored, ScaledRow::Tablespoon));

    // A row left blank beside its weight (as a refusal leaves it) is stale: never printed.
    std::string blanked = stored;
    BlankScaledRow(blanked, ScaledRow::Tablespoon);
    EXPECT_TRUE(ScaledRowIsStale(blanked, ScaledRow::Tablespoon));
    SetField(F::kTablespoonWeight, blanked, "999999");
    EXPECT_TRUE(ScaledRowIsStale(blanked, ScaledRow::Tablespoon));
}

TEST_F(CadFicTecRotFormTest, BlankWeightsBlankTheirRows) {
    Open();
    Show("Bolo");
    Fill(form.NumPorMaskEdit, "\b", form.RenColSopMaskEdit);
    EXPECT_EQ(form.RenPorMaskEdit.text, "      ");
    EXPECT_EQ(form.KALPorMaskEdit.text, "      ,  ");
    Fill(form.RenColSopMaskEdit, "\b", form.SelValRefBitBtn);
    EXPECT_EQ(form.KALColSopMaskEdit.text, "      ,  ");
    EXPECT_EQ(form.CUSColSopMaskEdit.text, "      ,  ");
}

TEST_F(CadFicTecRotFormTest, ReturningFromTheIngredientsStoresTheRecordWithFreshRows) {
    struct Case {
        std::string newEnergyTotal;  // written by the ingredients screen; empty: nothing
        std::string portionEnergy, tablespoonEnergy;
    };
    const std::vector<Case> cases{{"", "   250,00", "    37,50"},
                                  {"  3000,00", "   300,00", "    45,00"}};
    for (const Case& c : cases) {
        // Stale rows on disk: returning scales them again even when nothing changed.
        std::map<int, std::string> stale = Bolo();
        stale[F::kPortionEnergy] = "     1,00";
        stale[F::kTablespoonEnergy] = "     2,00";
        WriteList({PreparationLine("Bolo", stale), PreparationLine("Feijao")});
        ui.ClearMessages();
        Form ingredients("TCadIngFicTecForm");
        std::string preparedTable, preparedName, listAtOpening;
        form.targets.ingredients.form = &ingredients;
        form.targets.ingredients.prepare = [&](const std::string& table, const std::string& name) {
            preparedTable = table;
            preparedName = name;
            listAtOpening = ListBytes();
        };
        ui.OnShow("TCadIngFicTecForm", [&](Form&) {
            if (!c.newEnergyTotal.empty()) {
                SetRecordField(form.table.lines, form.currentIndex, F::kEnergyTotal,
                               c.newEnergyTotal);
            }
        });
        Open();
        Show("Bolo");
        Fill(form.DatPreMaskEdit, "01022024", form.IngBitBtn);
        ui.Press(form, form.IngBitBtn);

        EXPECT_TRUE(ui.Messages().empty()) << "the pending date is stored without a question";
        EXPECT_NE(listAtOpening.find("01/02/2024"), std::string::npos);
        EXPECT_EQ(preparedTable, Pad("Minha", 20));
        EXPECT_EQ(preparedName, Pad("Bolo", 40));
        std::map<int, std::string> fresh = Bolo();
        fresh[F::kDate] = "01/02/2024";
        if (!c.newEnergyTotal.empty()) {
            fresh[F::kEnergyTotal] = c.newEnergyTotal;
        }
        fresh[F::kPortionEnergy] = c.portionEnergy;
        fresh[F::kTablespoonEnergy] = c.tablespoonEnergy;
        EXPECT_EQ(ListBytes(),
                  PreparationLine("Bolo", fresh) + "\r\n" + PreparationLine("Feijao") + "\r\n");
        EXPECT_EQ(form.KALPorMaskEdit.text, c.portionEnergy);
        EXPECT_EQ(form.mode, ScreenMode::Showing);
        EXPECT_FALSE(form.dirty);
        EXPECT_EQ(form.ActiveControl(), &form.RenPesMaskEdit);
        ui.Press(form, form.RetBitBtn);
    }
}

TEST_F(CadFicTecRotFormTest, TheOtherScreensGetThePreparationAfterItIsStored) {
    Form reports("TSelRelForm");
    Form label("TImpRotForm");
    TCadRecForm method(ui, Home());
    std::vector<std::string> records;
    auto record = [&](const std::string&, const std::string&) {
        records.push_back(form.CurrentRecord());
    };
    form.targets.reports = {&reports, record};
    form.targets.label = {&label, record};
    form.UseMethodTextScreen(method);
    Open();
    Show("Pudim");  // a new preparation: stored before any other screen opens
    ui.OnShow("TCadRecForm", [&](Form&) {
        EXPECT_EQ(method.caption, "DIGITA MODO DE PREPARO");
        EXPECT_EQ(method.preparationName, Pad("Pudim", 40));
        EXPECT_EQ(method.NomPreLabel.caption, Pad("Pudim", 40));
        ui.Press(method, method.RetBitBtn);
    });
    ui.Press(form, form.RecBitBtn);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_NE(ListBytes().find(PreparationLine("Pudim")), std::string::npos);

    ui.Press(form, form.ImpFicTecBitBtn);
    ui.Press(form, form.ImpRotBitBtn);
    EXPECT_EQ(ui.ShownForms(),
              (std::vector<std::string>{"TCadRecForm", "TSelRelForm", "TImpRotForm"}));
    EXPECT_EQ(records, (std::vector<std::string>(2, PreparationLine("Pudim"))));
    EXPECT_TRUE(ui.Messages().empty());

    // A screen not built yet says so and nothing else happens.
    form.targets.label = {};
    ui.Press(form, form.ImpRotBitBtn);
    ui.Press(form, form.SelValRefBitBtn);
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>(2, W("Esta tela ainda não está "
                                                               "disponível.")));
    EXPECT_EQ(ui.ShownForms().size(), 3u);
}

TEST_F(CadFicTecRotFormTest, AChosenReferenceValueFillsTheLabelPortion) {
    struct Case {
        std::string value, unit;
        std::string labelPortion;                    // as handed over
        std::string labelWeight, norm, labelEnergy;  // after leaving the label portion
    };
    const std::vector<Case> cases{
        {"25", "g", "25", "    25", "25g", "    62,50"},
        {"200", "ml", "200", "   200", "200ml", "   500,00"},
        {W("1/2 xícara"), "g", "", "      ", W("1/2 xícara"), "      ,  "},
    };
    Form reference("TCadValRefForm");
    form.targets.referenceValue.form = &reference;
    form.targets.referenceValue.prepare = [&](std::optional<long double>) {
        reference.startPending = true;
    };
    for (const Case& c : cases) {
        form.targets.referenceValue.chosen = [&](int) {
            return ReferenceValueChoice{W("Bolos e tortas"), c.value, c.unit, "1 fatia"};
        };
        Open();
        Show("Bolo");
        ui.Press(form, form.SelValRefBitBtn);
        EXPECT_TRUE(reference.startPending) << c.value;
        EXPECT_EQ(TrimTrailingSpaces(form.RenRotMaskEdit.text), c.labelPortion);
        EXPECT_EQ(form.NorValRefMaskEdit.text, c.norm);
        EXPECT_EQ(form.GruAliMaskEdit.text, W("Bolos e tortas"));
        EXPECT_EQ(form.UniPorMaskEdit.text, c.unit);
        EXPECT_EQ(form.AMCMaskEdit.text, "1 fatia");
        EXPECT_TRUE(form.dirty);
        EXPECT_EQ(form.ActiveControl(), &form.RenRotMaskEdit);
        ui.MoveFocus(form, form.UniPorMaskEdit);  // leaving computes the label row
        EXPECT_EQ(form.RenRotMaskEdit.text, c.labelWeight) << c.value;
        EXPECT_EQ(form.KALRotMaskEdit.text, c.labelEnergy) << c.value;
        reference.startPending = false;
        ui.AnswerNo();
        ui.Press(form, form.RetBitBtn);
    }

    // Cancelled: nothing changes.
    form.targets.referenceValue.chosen = [](int) { return std::optional<ReferenceValueChoice>(); };
    Open();
    Show("Bolo");
    ui.Press(form, form.SelValRefBitBtn);
    EXPECT_EQ(form.NorValRefMaskEdit.text, "");
    EXPECT_EQ(form.RenRotMaskEdit.text, "      ");
    EXPECT_FALSE(form.dirty);
}

TEST_F(CadFicTecRotFormTest, RenamingMovesThePreparationFiles) {
    WriteFilesOf("Bolo");
    WriteFilesOf("Feijao");
    WriteBytes(FilesOf("Torta")[0], "esquecido");  // a file left under the new name
    Open();
    Show("Bolo");

    ui.Rename(true, Pad("feijao", 40));
    ui.Press(form, form.AltNomBitBtn);
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Nome da preparação já existe!")});
    ui.Rename(true, Pad("", 40));
    ui.Press(form, form.AltNomBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Código inválido!"));
    EXPECT_EQ(ReadBytes(FilesOf("Bolo")[0]), "de Bolo .dad");

    ui.ClearMessages();
    ui.Rename(true, Pad("Torta", 40));
    ui.Press(form, form.AltNomBitBtn);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(ui.RenameCalls().back().caption, W("Altera nome da preparação"));
    EXPECT_EQ(ui.RenameCalls().back().mask, std::string(40, 'c') + ";1;_");
    EXPECT_EQ(ListBytes(),
              PreparationLine("Feijao") + "\r\n" + PreparationLine("Torta", Bolo()) + "\r\n");
    const auto oldFiles = FilesOf("Bolo");
    const auto newFiles = FilesOf("Torta");
    for (size_t i = 0; i < oldFiles.size(); ++i) {
        EXPECT_FALSE(fs::exists(oldFiles[i])) << oldFiles[i];
        EXPECT_EQ(ReadBytes(newFiles[i]), "de Bolo " + newFiles[i].extension().string());
    }
    EXPECT_EQ(ReadBytes(FilesOf("Feijao")[1]), "de Feijao .rec");
    EXPECT_EQ(form.NomPreMaskEdit.text, Pad("Torta", 40));
    EXPECT_EQ(form.currentIndex, 1);
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    // Nothing is left beside the files.
    for (const fs::path& f : newFiles) {
        for (const auto& entry : fs::directory_iterator(f.parent_path())) {
            EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
        }
    }
}

// The "ALTO EM" mark is a file only some labels have: without it the rest moves and no
// mark appears under the new name.
TEST_F(CadFicTecRotFormTest, RenamingAPreparationWithoutAMarkCreatesNone) {
    WriteFilesOf("Bolo");
    fs::remove(FilesOf("Bolo").back());
    Open();
    Show("Bolo");
    ui.Rename(true, Pad("Torta", 40));
    ui.Press(form, form.AltNomBitBtn);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(ReadBytes(FilesOf("Torta")[3]), "de Bolo .rot");
    EXPECT_FALSE(fs::exists(FilesOf("Torta").back()));
    EXPECT_FALSE(fs::exists(FilesOf("Bolo").back()));
}

// A preparation without label data, PDF or method text makes none by being renamed or
// deleted; a file left under the new name by an earlier preparation goes.
TEST_F(CadFicTecRotFormTest, RenamingOrDeletingCreatesNoFile) {
    WriteBytes(FilesOf("Feijao")[0], "de Feijao .dad");
    WriteBytes(FilesOf("Torta").back(), "esquecido");
    Open();
    const std::vector<fs::path> before = AllFiles();
    Show("Feijao");
    ui.Rename(true, Pad("Torta", 40));
    ui.Press(form, form.AltNomBitBtn);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(ReadBytes(FilesOf("Torta")[0]), "de Feijao .dad");
    for (size_t i = 1; i < FilesOf("Torta").size(); ++i) {
        EXPECT_FALSE(fs::exists(FilesOf("Torta")[i])) << FilesOf("Torta")[i];
    }
    ui.AnswerYes();
    ui.Press(form, form.ExcBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Exclusão efetuada com sucesso!"));
    for (const fs::path& f : AllFiles()) {
        EXPECT_TRUE(std::find(before.begin(), before.end(), f) != before.end()) << f;
    }
    for (const fs::path& f : FilesOf("Torta")) {
        EXPECT_FALSE(fs::exists(f)) << f;
    }
}

// A preparation's record is "Ficha Tecnica/<nome>.dad": one named after the preparation
// list's file would be written over the list.
TEST_F(CadFicTecRotFormTest, TheNameOfThePreparationListIsRefused) {
    const std::string list = ListBytes();
    Open();
    for (const std::string name : {"ArqFicTec", "arqfictec", ".."}) {
        ui.ClearMessages();
        form.NomPreMaskEdit.Clear();
        Show(name);
        const std::string message =
            name == ".." ? W(kEscapingNameMessage) : ReservedPreparationNameMessage(name);
        EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{message}) << name;
        EXPECT_EQ(form.mode, ScreenMode::Empty) << name;
        EXPECT_EQ(form.ActiveControl(), &form.NomPreMaskEdit) << name;
    }
    form.NomPreMaskEdit.Clear();
    Show("Bolo");
    ui.ClearMessages();
    ui.Rename(true, Pad("ArqFicTec", 40));
    ui.Press(form, form.AltNomBitBtn);
    EXPECT_EQ(ui.MessageTexts(),
              std::vector<std::string>{ReservedPreparationNameMessage("ArqFicTec")});
    EXPECT_EQ(form.NomPreMaskEdit.text, Pad("Bolo", 40));
    EXPECT_EQ(ListBytes(), list);
    EXPECT_THROW(PreparationFilePath(Home(), Pad("Minha", 20), Pad("ArqFICTEC", 40)), StorageError);
}

TEST_F(CadFicTecRotFormTest, ARenameThatCannotBeCompletedChangesNothing) {
    const std::vector<std::function<void()>> faults{
        [&] {  // the PDF left under the new name cannot be set aside for Bolo's
            WriteBytes(TableDir() / "Rotulo" / "Imagens" / "Torta.pdf", "esquecido");
            WriteBytes(TableDir() / "Rotulo" / "Imagens" / ".Torta.pdf.renomeando" / "x", "x");
        },
        [&] {  // the files moved, but the list cannot be written: it is a folder
            fs::remove(ListPath());
            fs::create_directory(ListPath());
        },
    };
    const std::string list = ListBytes();
    for (size_t k = 0; k < faults.size(); ++k) {
        WriteFilesOf("Bolo");
        ui.ClearMessages();
        Open();
        Show("Bolo");
        faults[k]();
        ui.Rename(true, Pad("Torta", 40));
        ui.Press(form, form.AltNomBitBtn);
        EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Erro durante a alteração!")}) << k;
        const auto oldFiles = FilesOf("Bolo");
        const auto newFiles = FilesOf("Torta");
        for (size_t i = 0; i + 3 < oldFiles.size(); ++i) {  // not the three pictures
            EXPECT_EQ(ReadBytes(oldFiles[i]), "de Bolo " + oldFiles[i].extension().string()) << k;
            EXPECT_FALSE(fs::exists(newFiles[i])) << newFiles[i];
        }
        EXPECT_EQ(form.NomPreMaskEdit.text, Pad("Bolo", 40));
        EXPECT_EQ(form.table.keys[form.currentIndex], Pad("Bolo", 40));
        ui.Press(form, form.RetBitBtn);
        fs::remove_all(TableDir() / "Rotulo" / "Imagens" / ".Torta.pdf.renomeando");
        fs::remove(TableDir() / "Rotulo" / "Imagens" / "Torta.pdf");
        if (fs::is_directory(ListPath())) {
            fs::remove(ListPath());
            WriteBytes(ListPath(), list);
        }
        EXPECT_EQ(ListBytes(), list);
    }
}

TEST_F(CadFicTecRotFormTest, DeletingRemovesTheRecordAndItsFiles) {
    WriteFilesOf("Bolo");
    WriteFilesOf("Feijao");
    Open();
    Show("Bolo");
    ui.AnswerYes();
    ui.Press(form, form.ExcBitBtn);
    EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{W("Confirma exclusão?"),
                                                           W("Exclusão efetuada com sucesso!")}));
    EXPECT_EQ(ListBytes(), PreparationLine("Feijao") + "\r\n");
    for (const fs::path& f : FilesOf("Bolo")) {
        EXPECT_FALSE(fs::exists(f)) << f;
    }
    for (const fs::path& f : FilesOf("Feijao")) {
        EXPECT_TRUE(fs::exists(f)) << f;
    }
    EXPECT_EQ(form.mode, ScreenMode::Empty);
    EXPECT_EQ(form.currentIndex, 0);
    EXPECT_EQ(form.NomPreMaskEdit.text, Pad("", 40));
    EXPECT_EQ(form.ActiveControl(), &form.NomPreMaskEdit);
}

TEST_F(CadFicTecRotFormTest, AnInsertionThatFailsKeepsInserting) {
    Open();
    Show("Pudim");
    fs::remove(ListPath());
    fs::create_directory(ListPath());  // the list cannot be written
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Erro durante inclusão!"));
    EXPECT_EQ(form.mode, ScreenMode::Inserting);
    EXPECT_TRUE(form.dirty);
    EXPECT_FALSE(FindKey(form.table.keys, Pad("Pudim", 40)).found);

    fs::remove(ListPath());
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Inclusão efetuada com sucesso!"));
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(ListBytes(), PreparationLine("Bolo", Bolo()) + "\r\n" + PreparationLine("Feijao") +
                               "\r\n" + PreparationLine("Pudim") + "\r\n");
}

TEST_F(CadFicTecRotFormTest, ADateMustBeACalendarDate) {
    Open();
    Show("Bolo");
    struct Case {
        std::string typed;
        bool refused;
    };
    for (const Case& c : std::vector<Case>{
             {"31022024", true}, {"29022024", false}, {"0101", true}, {"\b", false}}) {
        ui.ClearMessages();
        Fill(form.DatPreMaskEdit, c.typed, form.RenPesMaskEdit);
        EXPECT_EQ(!ui.Messages().empty(), c.refused) << form.DatPreMaskEdit.text;
        if (c.refused) {
            EXPECT_EQ(ui.LastMessage(), W("Data inválida!"));
            EXPECT_EQ(form.ActiveControl(), &form.DatPreMaskEdit);
        }
    }
}

TEST_F(CadFicTecRotFormTest, TheGroupIsChosenOrClearedAndStoredInField39) {
    WriteBytes(TableDir() / "ArqGruPre.dad", "Doces|\r\nSalgados|\r\n");
    std::map<int, std::string> fields = Bolo();
    fields[F::kGroup] = "Doces";
    WriteList(
        {PreparationLine("Bolo", fields), PreparationLine("Feijao", {{F::kGroup, "Sumido"}})});
    Open();
    EXPECT_EQ(form.NomGruPreComboBox.items, (std::vector<std::string>{"Doces", "Salgados"}));
    Show("Feijao");
    EXPECT_EQ(form.NomGruPreComboBox.itemIndex, -1) << "a group not in the list";
    ui.Press(form, form.AntBitBtn);
    EXPECT_EQ(form.NomGruPreComboBox.itemIndex, 0);
    EXPECT_FALSE(form.dirty);

    ui.AnswerNo();
    ui.Press(form, form.LimNomGruPreBitBtn);
    EXPECT_EQ(form.NomGruPreComboBox.itemIndex, 0);
    ui.AnswerYes();
    ui.Press(form, form.LimNomGruPreBitBtn);
    EXPECT_EQ(ui.MessageTexts().back(), W("Limpa o campo \"Grupo da Ficha Técnica\"?"));
    EXPECT_EQ(form.NomGruPreComboBox.itemIndex, -1);
    EXPECT_TRUE(form.dirty);
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(GetField(F::kGroup, form.table.lines[0]), "");

    UserSelect(form.NomGruPreComboBox, 1);
    EXPECT_TRUE(form.dirty);
    ui.AnswerYes();  // "Os dados não foram gravados! Deseja gravá-los?"
    ui.Press(form, form.NovBitBtn);
    EXPECT_EQ(ListBytes().substr(0, ListBytes().find("\r\n")), PreparationLine("Bolo", [&] {
                  auto f = Bolo();
                  f[F::kGroup] = "Salgados";
                  return f;
              }()));
}

TEST_F(CadFicTecRotFormTest, ListaHandsTheListViewerItsData) {
    Open();
    ui.Pick(1);
    ui.Press(form, form.LisBitBtn);  // no viewer yet: the list picker
    ASSERT_EQ(ui.Pickers().size(), 1u);
    EXPECT_EQ(ui.Pickers()[0].items,
              (std::vector<std::string>{Pad("Bolo", 40), Pad("Feijao", 40)}));
    EXPECT_EQ(form.NomPreMaskEdit.text, Pad("Feijao", 40));
    EXPECT_EQ(form.mode, ScreenMode::Showing);

    // What the viewer is given.
    const ListViewerInput view = form.ListView();
    EXPECT_EQ(view.kind, W("FICHA TÉCNICA"));
    EXPECT_EQ(view.tableName, Pad("Minha", 20));
    EXPECT_EQ(view.groupField, 39);
    EXPECT_EQ(view.currentIndex, 1);
    EXPECT_EQ(view.columnNames.size(), 9u);
    EXPECT_EQ(view.columnNames[1], "RENDIMENTO");
    EXPECT_EQ(view.columnNames[8], W("FIBRAS - PORÇÃO"));
    EXPECT_EQ(view.header, std::string(13, ' ') + W("FICHA TÉCNICA") + std::string(14, ' ') +
                               "|RENDIM|  KCAL   |   CHO   |   PTN   |   LIP   |   SAT   |   COL"
                               "   |   FIB   |");
    EXPECT_EQ(view.section, W("Lista Preparações"));
    EXPECT_EQ(view.keys, &form.table.keys);
    EXPECT_EQ(view.rows, &form.table.lines);
    EXPECT_EQ(view.groups, &form.groups.keys);

    // Through the viewer: the row chosen there is shown.
    TVisLisForm viewer(ui);
    form.listViewer = &viewer;
    std::vector<std::string> listed;
    ui.OnShow("TVisLisForm", [&](Form&) {
        listed = viewer.LisFilOrdListBox.items;
        EXPECT_EQ(viewer.CabMemo.lines, std::vector<std::string>{view.header});
        UserSelect(viewer.LisFilOrdListBox, 0);
        viewer.LisFilOrdListBoxDblClick();
    });
    ui.Press(form, form.LisBitBtn);
    EXPECT_EQ(listed, form.table.lines.Items());
    EXPECT_EQ(form.NomPreMaskEdit.text, Pad("Bolo", 40));
    EXPECT_EQ(form.currentIndex, 0);
    EXPECT_EQ(form.mode, ScreenMode::Showing);

    WriteList({});
    Open();
    ui.ClearMessages();
    ui.Press(form, form.LisBitBtn);
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Não existem registros no arquivo!")});
}

// The annex food a preparation was labelled under and the helper's measure go with it
// (its label data file); the measure's text follows the portion.
TEST_F(CadFicTecRotFormTest, TheMeasureHelperWritesTheLabelMeasureAndFollowsThePortion) {
    Form reference("TCadValRefForm");
    form.targets.referenceValue.form = &reference;
    std::optional<long double> handedKcal;
    form.targets.referenceValue.prepare = [&](std::optional<long double> kcal) {
        handedKcal = kcal;
        reference.startPending = true;
    };
    const std::string group =
        W("I – Panificação, cereais, leguminosas, raízes, tubérculos e "
          "derivados");
    ReferenceValueChoice choice{
        "Bolos, todos os tipos sem recheio", "60", "g", "", W("Fatia ou fração"), group};
    form.targets.referenceValue.chosen = [&](int) { return std::optional(choice); };
    Open();
    Show("Bolo");
    ui.Press(form, form.SelValRefBitBtn);
    ASSERT_TRUE(handedKcal);
    EXPECT_DOUBLE_EQ(static_cast<double>(*handedKcal), 2.5);  // 2500 kcal in 1000 g
    EXPECT_EQ(TrimTrailingSpaces(form.RenRotMaskEdit.text), "60");
    EXPECT_EQ(form.MedCasComboBox.text, "fatia");  // the annex's suggestion
    EXPECT_EQ(form.AMCMaskEdit.text, "");          // no weight of a slice yet
    Fill(form.PesMedMaskEdit, "60", form.NorValRefMaskEdit);
    EXPECT_EQ(form.AMCMaskEdit.text, "1 fatia");

    form.MedCasComboBox.text = "colher de sopa";
    form.MedCasComboBox.onChange();
    Fill(form.PesMedMaskEdit, "10", form.NorValRefMaskEdit);
    Fill(form.RenRotMaskEdit, "15", form.UniPorMaskEdit);
    EXPECT_EQ(form.AMCMaskEdit.text, "1 1/2 colher de sopa");
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    const IniFile label(TableDir() / "Rotulo" / "Bolo.rot");
    const LabelPortionData stored = LoadLabelPortion(label);
    EXPECT_EQ(stored.food, "Bolos, todos os tipos sem recheio");
    EXPECT_EQ(stored.table, group);
    EXPECT_EQ(stored.value, "60");
    EXPECT_EQ(stored.unit, "g");
    EXPECT_EQ(stored.measure, "colher de sopa");
    EXPECT_EQ(stored.weight, "10,0");

    // Another day: the typed weight is still there, and a new portion rewrites the text.
    ui.AnswerNo();
    ui.Press(form, form.RetBitBtn);
    Open();
    Show("Bolo");
    EXPECT_EQ(form.PesMedMaskEdit.text, "    10,0");
    Fill(form.RenRotMaskEdit, "20", form.UniPorMaskEdit);
    EXPECT_EQ(form.AMCMaskEdit.text, "2 colheres de sopa");

    // A portion the list gives as a text: the texts, and the amount asked for.
    choice = ReferenceValueChoice{"Sorvetes de massa", "60 g ou 130 ml",   "", "",
                                  "Bolas ou unidades", W("VII – Açúcares")};
    ui.Press(form, form.SelValRefBitBtn);
    EXPECT_EQ(form.RenRotMaskEdit.text, "    20");
    EXPECT_EQ(form.NorValRefMaskEdit.text, "60 g ou 130 ml");
    ASSERT_FALSE(ui.Messages().empty());
    EXPECT_EQ(ui.Messages().back().text,
              W("A porção de referência de \"Sorvetes de massa\" é \"60 g ou 130 ml\": informe "
                "em VR a quantidade do produto que corresponde a ela e, em Unid, g ou ml."));
}

}  // namespace
}  // namespace velmaro
