#include "shell/CfgNutForm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Interaction.h"
#include "storage/Config.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;
using test::ReadBytes;

// The active table written in another case than the table list has it, a technician,
// and remembered viewer state in both viewers.
const std::string kConfig =
    W("[Fixa Tabela]\r\nFixTab=1\r\nNomTab=OFICIAL             |\r\n\r\n"
      "[Técnico]\r\nNomTec=Ana Souza\r\nConTec=CRN 1234\r\n\r\n"
      "[Lista Ingredientes]\r\nAtiFil=1\r\nGruFil=Frutas              |\r\nAtiOrd=1\r\n"
      "PosFilOrd=7\r\nPalCha=arroz\r\n\r\n"
      "[Lista Preparações]\r\nAtiFil=1\r\nPosFilOrd=3\r\n");

class CfgNutFormTest : public test::DataHomeTest {
  protected:
    CfgNutFormTest() {
        test::WriteBytes(Home() / "Dados" / "ArqTab.dad",
                         Pad("Minha", 20) + "|Tabela propria|1|\r\n" + Pad("Oficial", 20) +
                             "|Tabela oficial|0|\r\n");
        test::WriteBytes(Config(), kConfig);
    }
    void Open() {
        form.startPending = true;
        ui.Activate(form);
    }
    IniFile Ini() const { return IniFile(Config()); }
    bool ViewerStateKept() const {
        const IniFile ini = Ini();
        return ini.ReadBool(W(cfg::kIngredientListSection), cfg::kAtiFil, false) &&
               ini.ReadInteger(W(cfg::kIngredientListSection), cfg::kPosFilOrd, 0) == 7 &&
               ini.ReadInteger(W(cfg::kPreparationListSection), cfg::kPosFilOrd, 0) == 3;
    }
    bool ViewerStateReset() const {
        const IniFile ini = Ini();
        for (const auto section : {cfg::kIngredientListSection, cfg::kPreparationListSection}) {
            if (ini.ReadBool(W(section), cfg::kAtiFil, true) ||
                ini.ReadInteger(W(section), cfg::kPosFilOrd, -1) != 0 ||
                !ini.ReadString(W(section), cfg::kGruFil, "x").empty()) {
                return false;
            }
        }
        return true;
    }

    test::ScriptedUi ui;
    TCfgNutForm form{ui, Home()};
};

TEST_F(CfgNutFormTest, OpensWithTheSettingsAndLeavingUntouchedWritesNothing) {
    Open();
    EXPECT_EQ(form.caption, W("CONFIGURAÇÃO - DEFINE TABELA DE INGREDIENTES ATIVA"));
    EXPECT_TRUE(form.FixTabCheckBox.checked);
    EXPECT_TRUE(form.NomTabComboBox.enabled);
    EXPECT_EQ(form.NomTabComboBox.items,
              (std::vector<std::string>{Pad("Minha", 20), Pad("Oficial", 20)}));
    EXPECT_EQ(form.NomTabComboBox.itemIndex, 1);
    EXPECT_EQ(form.NomTecMaskEdit.text, Pad("Ana Souza", 50));
    EXPECT_EQ(form.ConTecMaskEdit.text, Pad("CRN 1234", 50));
    EXPECT_FALSE(form.changed);

    ui.Press(form, form.AjuBitBtn);
    ui.Press(form, form.RetBitBtn);
    EXPECT_EQ(ui.HelpShown(), 1);
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(ReadBytes(Config()), kConfig);
}

TEST_F(CfgNutFormTest, WithoutAConfigurationTheProgramIsTheTechnician) {
    test::WriteBytes(Config(), "");
    Open();
    EXPECT_FALSE(form.FixTabCheckBox.checked);
    EXPECT_FALSE(form.NomTabComboBox.enabled);
    EXPECT_EQ(form.NomTabComboBox.itemIndex, -1);
    EXPECT_EQ(form.NomTecMaskEdit.text, Pad(W(cfg::kDefaultTechnician), 50));
    EXPECT_EQ(form.ConTecMaskEdit.text, Pad(W(cfg::kDefaultContact), 50));
    ui.Press(form, form.RetBitBtn);
    EXPECT_EQ(ReadBytes(Config()), "");
}

TEST_F(CfgNutFormTest, ChangingOnlyTheTechnicianKeepsTheViewerState) {
    Open();
    form.NomTecMaskEdit.Clear();
    ui.Type(form, form.NomTecMaskEdit, W("Bruno Lima  "));
    EXPECT_TRUE(form.changed);
    EXPECT_FALSE(form.tableChanged);
    ui.AnswerYes();
    ui.Press(form, form.RetBitBtn);
    EXPECT_EQ(ui.MessageTexts(),
              std::vector<std::string>{W("Os dados não foram salvos! Deseja salvá-los?")});
    EXPECT_TRUE(form.CloseRequested());
    const IniFile ini = Ini();
    EXPECT_EQ(ini.ReadString(W(cfg::kTechnicianSection), cfg::kNomTec, ""), "Bruno Lima");
    EXPECT_EQ(ini.ReadString(W(cfg::kTechnicianSection), cfg::kConTec, ""), "CRN 1234");
    EXPECT_EQ(ReadPaddedName(ini, W(cfg::kFixedTableSection), cfg::kNomTab), Pad("Oficial", 20));
    EXPECT_TRUE(ViewerStateKept());
    EXPECT_EQ(ini.ReadString(W(cfg::kIngredientListSection), cfg::kPalCha, ""), "arroz");
}

TEST_F(CfgNutFormTest, ChangingTheTableResetsTheViewerStateAndTheNameSurvivesWithItsSpaces) {
    Open();
    UserSelect(form.NomTabComboBox, 0);
    EXPECT_TRUE(form.tableChanged);
    ui.Press(form, form.GraBitBtn);
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_TRUE(ui.Messages().empty());
    const IniFile ini = Ini();
    EXPECT_EQ(ini.ReadString(W(cfg::kFixedTableSection), cfg::kNomTab, ""), Pad("Minha", 20) + "|");
    EXPECT_TRUE(ViewerStateReset());
    EXPECT_EQ(ini.ReadString(W(cfg::kIngredientListSection), cfg::kPalCha, ""), "arroz");

    Open();
    EXPECT_EQ(form.NomTabComboBox.itemIndex, 0);
    EXPECT_EQ(form.NomTabComboBox.SelectedText(), Pad("Minha", 20));
    EXPECT_FALSE(form.changed);
}

TEST_F(CfgNutFormTest, FixaTabelaSelectsTheFirstTableOrNone) {
    struct Case {
        bool checkedBefore;
        int selectionAfter;
        std::string nomTab;
    };
    for (const Case& c : std::vector<Case>{{true, -1, "|"}, {false, 0, Pad("Minha", 20) + "|"}}) {
        test::WriteBytes(Config(), kConfig);
        ui.ClearMessages();
        Open();
        form.FixTabCheckBox.checked = c.checkedBefore;
        UserToggle(form.FixTabCheckBox);
        EXPECT_EQ(form.NomTabComboBox.enabled, !c.checkedBefore);
        EXPECT_EQ(form.NomTabComboBox.itemIndex, c.selectionAfter);
        ui.Press(form, form.GraBitBtn);
        const IniFile ini = Ini();
        EXPECT_EQ(ini.ReadBool(W(cfg::kFixedTableSection), cfg::kFixTab, c.checkedBefore),
                  !c.checkedBefore);
        EXPECT_EQ(ini.ReadString(W(cfg::kFixedTableSection), cfg::kNomTab, "?"), c.nomTab);
        EXPECT_TRUE(ViewerStateReset()) << "the active table changed";
    }
}

// Retorna and the window's close box ask alike; NÃO writes nothing, SIM saves.
TEST_F(CfgNutFormTest, LeavingWithChangesAsksWhetherToSave) {
    for (const bool closeBox : {false, true}) {
        for (const int answer : {kAnswerNo, kAnswerYes}) {
            test::WriteBytes(Config(), kConfig);
            ui.ClearMessages();
            Open();
            UserSelect(form.NomTabComboBox, 0);
            ui.Answer(answer);
            if (closeBox) {
                EXPECT_TRUE(RequestClose(form));
            } else {
                ui.Press(form, form.RetBitBtn);
            }
            EXPECT_TRUE(form.CloseRequested());
            EXPECT_EQ(ui.MessageTexts(),
                      std::vector<std::string>{W("Os dados não foram salvos! Deseja salvá-los?")})
                << closeBox;
            EXPECT_EQ(ReadPaddedName(Ini(), W(cfg::kFixedTableSection), cfg::kNomTab),
                      Pad(answer == kAnswerYes ? "Minha" : "OFICIAL", 20))
                << closeBox << answer;
            form.ResetClose();
        }
    }
    // Nothing changed: the close box closes without a question.
    ui.ClearMessages();
    Open();
    EXPECT_TRUE(RequestClose(form));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CfgNutFormTest, ACloseBoxSaveThatFailsKeepsTheScreenOpen) {
    Open();
    UserSelect(form.NomTabComboBox, 0);
    ui.AnswerYes();
    {
        test::FileSizeLimit limit(16);
        EXPECT_FALSE(RequestClose(form));
    }
    EXPECT_EQ(ui.LastMessage(), W("Erro durante a alteração!"));
    EXPECT_FALSE(form.CloseRequested());
    EXPECT_EQ(ReadBytes(Config()), kConfig);
}

TEST_F(CfgNutFormTest, AFailedSaveIsReportedAndTheScreenStaysOpen) {
    Open();
    UserSelect(form.NomTabComboBox, 0);
    {
        test::FileSizeLimit limit(16);
        ui.Press(form, form.GraBitBtn);
    }
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Erro durante a alteração!")});
    EXPECT_FALSE(form.CloseRequested());
    EXPECT_TRUE(form.changed);
    EXPECT_EQ(ReadBytes(Config()), kConfig);
}

}  // namespace
}  // namespace velmaro
