// The active table, the main menu and the data home at start.

#include <gtest/gtest.h>

#include "shell/ActiveTable.h"
#include "shell/DataHome.h"
#include "shell/NutForm.h"
#include "storage/Config.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "storage/Paths.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro::test {
namespace {

const std::string kPlainCaption = W("TELA PRINCIPAL - VELMARO NUTRICIONAL versão 4.0");

class MainMenuTest : public DataHomeTest {
  protected:
    void Configure(bool fixed, const std::string& name) {
        IniFile ini(ConfigFilePath());
        const std::string section = W(cfg::kFixedTableSection);
        ini.WriteBool(section, cfg::kFixTab, fixed);
        WritePaddedName(ini, section, cfg::kNomTab, name);
    }
    void WriteTables(const std::string& bytes) {
        WriteBytes(Home() / "Dados" / "ArqTab.dad", bytes);
    }
    static std::string Table(const std::string& name, const std::string& desc,
                             const std::string& own) {
        return Pad(name, 20) + "|" + desc + "|" + own + "|\r\n";
    }

    ScriptedUi ui;
    ActiveTable table;
    std::string caption;
};

TEST_F(MainMenuTest, FixedTableFoundInAnotherCaseTakesTheStoredSpelling) {
    WriteTables(Table("Minha Tabela", "Tabela propria", "1") + Table("Consulta", "Oficial", "0"));
    Configure(true, Pad("MINHA tabela", 20));
    RefreshActiveTable(Home(), table, caption);
    EXPECT_TRUE(table.fixed);
    EXPECT_EQ(table.name, Pad("Minha Tabela", 20));
    EXPECT_EQ(table.description, "Tabela propria");
    EXPECT_TRUE(table.editable);
    // The caption names the table as configured, padding included.
    EXPECT_EQ(caption, kPlainCaption + " - Tabela Ativa :" + Pad("MINHA tabela", 20));

    Configure(true, Pad("consulta", 20));
    RefreshActiveTable(Home(), table, caption);
    EXPECT_EQ(table.name, Pad("Consulta", 20));
    EXPECT_FALSE(table.editable);
}

TEST_F(MainMenuTest, FixedTableMissingFromTheListBehavesAsNotFixed) {
    WriteTables(Table("Outra", "Outra tabela", "1"));
    Configure(true, Pad("Sumida", 20));
    table.description = "antes";
    RefreshActiveTable(Home(), table, caption);
    EXPECT_FALSE(table.fixed);
    EXPECT_EQ(table.name, Pad("Sumida", 20));
    EXPECT_EQ(table.description, "antes");
    EXPECT_EQ(caption, kPlainCaption + " - Tabela Ativa :" + Pad("Sumida", 20));

    // Opening the ingredients asks for a table.
    TNutForm menu(ui, Home(), table);
    Form screen("TCadIngForm");
    menu.targets.ingredients.form = &screen;
    ui.Pick(0);
    ui.Activate(menu);
    ui.Press(menu, menu.CadIngBitBtn);
    ASSERT_EQ(ui.Pickers().size(), 1u);
    EXPECT_EQ(ui.Pickers()[0].caption, "LISTA DE TABELAS");
    EXPECT_EQ(ui.ShownForms(), std::vector<std::string>{"TCadIngForm"});
    EXPECT_EQ(table.name, Pad("Outra", 20));
}

TEST_F(MainMenuTest, NotFixedGivesThePlainCaption) {
    Configure(false, Pad("Minha", 20));
    table.editable = true;
    RefreshActiveTable(Home(), table, caption);
    EXPECT_FALSE(table.fixed);
    EXPECT_EQ(table.name, Pad("Minha", 20));
    EXPECT_TRUE(table.editable);  // kept as it was
    EXPECT_EQ(caption, kPlainCaption);
}

TEST_F(MainMenuTest, ChoosingFromAnEmptyListRefusesWithAMessage) {
    EXPECT_FALSE(ChooseTable(ui, Home(), table));
    EXPECT_TRUE(ui.Pickers().empty());
    EXPECT_EQ(ui.LastMessage(), W("Não existem tabelas cadastradas! Crie uma tabela em \"Cria "
                                  "NOVA Tabela de Ingredientes\"."));

    // Nothing valid chosen (an entry deselected).
    WriteTables(Table("Minha", "d", "1"));
    ui.Pick(-1);
    EXPECT_FALSE(ChooseTable(ui, Home(), table));
    EXPECT_EQ(ui.LastMessage(), W("Nenhuma tabela foi escolhida!"));
}

TEST_F(MainMenuTest, ChoosingATableTakesItsRecord) {
    WriteTables(Table("Alfa", "Primeira", "1") + Table("Beta", "Segunda", "0"));
    ui.Pick(1);
    ASSERT_TRUE(ChooseTable(ui, Home(), table));
    EXPECT_EQ(ui.Pickers()[0].items, (std::vector<std::string>{Pad("Alfa", 20), Pad("Beta", 20)}));
    EXPECT_EQ(ui.Pickers()[0].preselected, 0);
    EXPECT_EQ(table.name, Pad("Beta", 20));
    EXPECT_EQ(table.description, "Segunda");
    EXPECT_FALSE(table.editable);
}

TEST_F(MainMenuTest, FreshHomeGetsTheDataFolderAndTheMenuItsNineButtons) {
    ASSERT_FALSE(fs::exists(Home() / "Dados"));
    TNutForm menu(ui, Home(), table);
    EXPECT_TRUE(fs::is_directory(Home() / "Dados"));
    EXPECT_EQ(menu.caption, W("Nutrição"));

    const std::vector<std::pair<std::string, std::string>> expected{
        {"FimBitBtn", "Ajuda"},
        {"TabBitBtn", "Cria NOVA Tabela de Ingredientes"},
        {"CfgNutBitBtn", W("Configuração - Define Tabela Ativa")},
        {"GruBitBtn", "Grupos de Ingredientes da Tabela Ativa"},
        {"CadIngBitBtn", "Ingredientes da Tabela Ativa"},
        {"MedCasBitBtn", "Medidas Caseiras para os Ingredientes"},
        {"RelBitBtn", W("Grupos de Preparações da Tabela Ativa")},
        {"CadFicTecRotRotBitBtn", W("Cadastra Preparações da Tabela Ativa")},
        {"BitBtn1", "FIM"},
    };
    ASSERT_EQ(menu.Controls().size(), expected.size());
    const LayoutItem grid = menu.Layout();
    EXPECT_EQ(grid.kind, LayoutItem::Kind::Grid);
    EXPECT_EQ(grid.columns, 3);
    for (size_t i = 0; i < expected.size(); ++i) {
        const Control* c = menu.Controls()[i];
        EXPECT_EQ(c->Name(), expected[i].first);
        EXPECT_EQ(c->caption, expected[i].second);
        EXPECT_EQ(c->width, 250);
        EXPECT_EQ(c->height, 140);
        EXPECT_EQ(grid.children[i].control, c);
    }

    ui.Activate(menu);
    EXPECT_EQ(menu.caption, kPlainCaption);
    ui.Press(menu, menu.FimBitBtn);
    EXPECT_EQ(ui.HelpShown(), 1);
    ui.Press(menu, menu.BitBtn1);
    EXPECT_TRUE(menu.CloseRequested());
}

TEST_F(MainMenuTest, ScreensOpenForTheActiveTable) {
    WriteTables(Table("Minha", "d", "1"));
    Configure(true, Pad("minha", 20));
    TNutForm menu(ui, Home(), table);
    Form ingredients("TCadIngForm");
    Form groups("TCadGruIngForm");
    std::vector<std::pair<std::string, bool>> prepared;
    const auto record = [&](const std::string& name, bool editable) {
        prepared.emplace_back(name, editable);
    };
    menu.targets.ingredients = {&ingredients, record};
    menu.targets.ingredientGroups = {&groups, record};
    ui.Activate(menu);
    ui.Press(menu, menu.CadIngBitBtn);
    ui.Press(menu, menu.GruBitBtn);
    EXPECT_TRUE(ui.Pickers().empty());  // fixed: no choice asked
    EXPECT_EQ(ui.ShownForms(), (std::vector<std::string>{"TCadIngForm", "TCadGruIngForm"}));
    EXPECT_EQ(prepared, (std::vector<std::pair<std::string, bool>>{{Pad("Minha", 20), true},
                                                                   {Pad("Minha", 20), true}}));

    // A screen not yet wired says so instead of failing.
    ui.Press(menu, menu.MedCasBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Esta tela ainda não está disponível."));
    EXPECT_EQ(ui.ShownForms().size(), 2u);
}

TEST_F(MainMenuTest, GroupRegistersWithoutAnActiveTableSaySoAndStayClosed) {
    WriteTables(Table("Minha", "d", "1"));
    Configure(false, "");
    TNutForm menu(ui, Home(), table);
    Form ingredients("TCadIngForm");
    Form ingredientGroups("TCadGruIngForm");
    Form preparationGroups("TCadGruPreForm");
    menu.targets.ingredients.form = &ingredients;
    menu.targets.ingredientGroups.form = &ingredientGroups;
    menu.targets.preparationGroups.form = &preparationGroups;
    ui.Activate(menu);
    // A table chosen for the ingredient register holds for that opening only.
    ui.Pick(0);
    ui.Press(menu, menu.CadIngBitBtn);
    ui.Activate(menu);
    ui.Press(menu, menu.GruBitBtn);
    ui.Press(menu, menu.RelBitBtn);
    EXPECT_EQ(ui.ShownForms(), std::vector<std::string>{"TCadIngForm"});
    const std::string noTable = W("Nenhuma tabela ativa! Fixe uma tabela em Configuração.");
    EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{noTable, noTable}));
}

TEST_F(MainMenuTest, EmptyTableListKeepsTheRegisterClosed) {
    TNutForm menu(ui, Home(), table);
    Form preparations("TCadFicTecRotForm");
    menu.targets.preparations.form = &preparations;
    ui.Activate(menu);
    ui.Press(menu, menu.CadFicTecRotRotBitBtn);
    EXPECT_TRUE(ui.ShownForms().empty());
    EXPECT_EQ(ui.Messages().size(), 1u);
}

TEST_F(MainMenuTest, ConfigurationClosingRefreshesTheCaption) {
    WriteTables(Table("Minha", "d", "1"));
    TNutForm menu(ui, Home(), table);
    Form config("TCfgNutForm");
    menu.targets.configuration.form = &config;
    ui.OnShow("TCfgNutForm", [this](Form&) { Configure(true, Pad("Minha", 20)); });
    ui.Activate(menu);
    EXPECT_EQ(menu.caption, kPlainCaption);
    ui.Press(menu, menu.CfgNutBitBtn);
    EXPECT_EQ(menu.caption, kPlainCaption + " - Tabela Ativa :" + Pad("Minha", 20));
    EXPECT_TRUE(table.fixed);
}

// --- data home --------------------------------------------------------------------

TEST_F(MainMenuTest, DataHomeInstallsDeliveredFilesWithoutOverwriting) {
    const fs::path delivered = Scratch() / "entregue";
    WriteBytes(delivered / "Ajuda.hlp", "ajuda nova");
    WriteBytes(delivered / "Dados" / "ValRef.dad", "valores");
    WriteBytes(delivered / "exemplos" / "valores-referencia-exemplo.csv", "exemplo");
    const fs::path home = Scratch() / "nova";
    WriteBytes(home / "Ajuda.hlp", "ajuda do usuario");

    EXPECT_EQ(PrepareDataHome(delivered, home), "");
    EXPECT_TRUE(fs::is_directory(home / "Dados"));
    EXPECT_EQ(ReadBytes(home / "Ajuda.hlp"), "ajuda do usuario");
    EXPECT_EQ(ReadBytes(home / "Dados" / "ValRef.dad"), "valores");
    // The examples are read where they are delivered.
    EXPECT_EQ(std::distance(fs::directory_iterator(home), fs::directory_iterator()), 2);

    // A second start changes nothing; no delivered folder is no error.
    WriteBytes(home / "Dados" / "ValRef.dad", "editado");
    EXPECT_EQ(PrepareDataHome(delivered, home), "");
    EXPECT_EQ(ReadBytes(home / "Dados" / "ValRef.dad"), "editado");
    EXPECT_EQ(PrepareDataHome(Scratch() / "nada", Scratch() / "vazia"), "");
    EXPECT_TRUE(fs::is_directory(Scratch() / "vazia" / "Dados"));
}

TEST_F(MainMenuTest, UnwritableDataHomeGivesAMessageNamingTheFolder) {
    WriteBytes(Scratch() / "arquivo.txt", "x");
    const fs::path home = Scratch() / "arquivo.txt" / "home";
    const std::string message = PrepareDataHome(Scratch() / "nada", home);
    EXPECT_EQ(message.rfind(W("Não foi possível criar ou gravar a pasta de dados"), 0), 0u);
    EXPECT_NE(message.find(home.string()), std::string::npos);
}

}  // namespace
}  // namespace velmaro::test
