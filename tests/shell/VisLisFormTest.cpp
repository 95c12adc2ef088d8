// The list viewer on what its caller hands over: a preparation list with its groups,
// narrowed, ordered, chosen from, and remembered in the caller's section.

#include "shell/VisLisForm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Interaction.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "storage/Paths.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;
using Names = std::vector<std::string>;

// Rows: name (12) | yield | kcal | group (10) |
std::string Row(const std::string& name, const std::string& kcal, const std::string& group) {
    return Pad(name, 12) + "|  1000|" + kcal + "|" + Pad(group, 10) + "|";
}

class VisLisFormTest : public test::DataHomeTest {
  protected:
    VisLisFormTest() {
        LoadLineTableFromBytes(Row("Bolo", "  300,00", "Doces") + "\r\n" +
                                   Row("Arroz doce", "  150,00", "Doces") + "\r\n" +
                                   Row("Sopa", "   80,00", "Salgados") + "\r\n" +
                                   Row("Torta", " 1200,00", "Salgados") + "\r\n",
                               prepared);
        LoadLineTableFromBytes(Pad("Doces", 10) + "|\r\n" + Pad("Salgados", 10) + "|\r\n", groups);
        input.kind = W("FICHA TÉCNICA");
        input.tableName = Pad("Minha", 20);
        input.groupField = 4;
        input.currentIndex = 2;
        input.columnNames = {"NOME", "RENDIMENTO", "CALORIAS"};
        input.groups = &groups.keys;
        input.keys = &prepared.keys;
        input.rows = &prepared.lines;
        input.header = "NOME        |RENDIM|  KCAL  |";
        input.section = W("Lista Preparações");
    }
    void Open() {
        form.Prepare(input);
        ui.Activate(form);
    }
    std::string Config(const std::string& section, const std::string& key) const {
        return IniFile(ConfigFilePath()).ReadString(W(section), key, "<none>");
    }
    Names Shown() const {
        Names names;
        for (const auto& row : form.LisFilOrdListBox.items) {
            names.push_back(row.substr(0, row.find("  ")));
        }
        return names;
    }

    LineTable prepared;
    LineTable groups;
    ListViewerInput input;
    test::ScriptedUi ui;
    TVisLisForm form{ui};
};

TEST_F(VisLisFormTest, ShowsTheCallersRowsUnderItsHeader) {
    Open();
    EXPECT_EQ(form.caption,
              W("VISUALIZA LISTA DE FICHA TÉCNICA - TABELA ATIVA : ") + Pad("Minha", 20));
    EXPECT_EQ(form.CabMemo.lines, Names{input.header});
    EXPECT_TRUE(form.CabMemo.readOnly);
    EXPECT_EQ(form.LisFilOrdListBox.items, prepared.lines.Items());
    EXPECT_EQ(form.LisFilOrdListBox.itemIndex, 2);
    EXPECT_EQ(form.NomCamComboBox.items, input.columnNames);
    EXPECT_EQ(form.NomGruComboBox.items, groups.keys.Items());
    EXPECT_EQ(form.BitBtn3.caption, W("&Avança"));
}

TEST_F(VisLisFormTest, FilterAndOrderingAreRememberedInTheCallersSectionOnly) {
    Open();
    PressCheckBox(ui, form, form.AtiFilCheckBox);
    UserSelect(form.NomGruComboBox, 1);  // "Salgados"
    PressCheckBox(ui, form, form.AtiOrdCheckBox);
    UserSelect(form.NomCamComboBox, 2);  // by the kcal field
    EXPECT_EQ(Shown(), (Names{"Sopa", "Torta"}));
    ui.Press(form, form.UltBitBtn);
    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(form.chosenIndex, FindKey(prepared.keys, Pad("Torta", 12)).index);

    EXPECT_EQ(Config("Lista Preparações", "AtiFil"), "1");
    EXPECT_EQ(Config("Lista Preparações", "GruFil"), Pad("Salgados", 10) + "|");
    EXPECT_EQ(Config("Lista Preparações", "AtiOrd"), "1");
    EXPECT_EQ(Config("Lista Preparações", "CamOrd"), "CALORIAS|");
    EXPECT_EQ(Config("Lista Preparações", "PosFilOrd"), "1");
    EXPECT_EQ(Config("Lista Preparações", "AtiFilPalCha"), "<none>");
    EXPECT_FALSE(IniFile(ConfigFilePath()).SectionExists("Lista Ingredientes"));

    Open();
    EXPECT_TRUE(form.AtiFilCheckBox.checked);
    EXPECT_EQ(form.NomGruComboBox.SelectedText(), Pad("Salgados", 10));
    EXPECT_EQ(form.NomCamComboBox.SelectedText(), "CALORIAS");
    EXPECT_EQ(Shown(), (Names{"Sopa", "Torta"}));
    EXPECT_EQ(form.LisFilOrdListBox.itemIndex, 1);
}

TEST_F(VisLisFormTest, ARowWhoseKeyTheCallerLacksGivesMinusOne) {
    LineTable others;
    LoadLineTableFromBytes(Pad("Bolo", 12) + "|\r\n", others);
    input.keys = &others.keys;
    Open();
    UserSelect(form.LisFilOrdListBox, 3);  // "Torta"
    form.LisFilOrdListBox.onDblClick();
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(form.chosenIndex, -1);
}

}  // namespace
}  // namespace velmaro
