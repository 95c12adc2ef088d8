#include "output/reference/ValRefForms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Interaction.h"
#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;

const std::string kGroupOne = Pad("Grupo I - cereais", 76);
const std::string kGroupTwo = Pad("Grupo II - bebidas", 76);

std::string Rec(const std::string& food, const std::string& value, const std::string& unit,
                const std::string& measure, const std::string& presentation,
                const std::string& table) {
    return Pad(W(food), 140) + "|" + Pad(value, 70) + "|" + Pad(unit, 2) + "|" +
           Pad(W(measure), 60) + "|" + Pad(value, 70) + "|" + Pad(W(presentation), 70) + "|" +
           table + "|";
}

// Written out of order; the store's order is Arroz, Bolo, Feijão, Pao, Suco.
const std::vector<std::string> kLines = {
    Rec("Suco de uva", "200", "ml", "1 copo", "1 copo", kGroupTwo),
    Rec("Pao de forma", "50", "g", "2 fatias", "2 fatias", kGroupOne),
    Rec("Arroz branco cozido", "125", "g", "1 xícara", "1 xícara", kGroupOne),
    Rec("Feijão cozido", "60", "g", "1 concha", "1 concha", kGroupOne),
    Rec("Bolo simples", "60", "g", "1 fatia", "1 fatia", kGroupTwo),
};

std::string Bytes(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line + "\r\n";
    }
    return bytes;
}

class ValRefFormsTest : public test::DataHomeTest {
  protected:
    void WriteValues(const std::vector<std::string>& lines) {
        test::WriteBytes(ReferenceValuesPath(Home()), Bytes(lines));
        test::WriteBytes(ReferenceTablePath(Home()), Bytes({kGroupTwo + "|", kGroupOne + "|"}));
    }
    void Open() {
        form.startPending = true;
        ui.Activate(form);
    }
    std::string Food() const { return form.NomAliMaskEdit.text.substr(0, 20); }
    // The names the viewer lists, trailing blanks removed.
    std::vector<std::string> Shown() const {
        std::vector<std::string> names;
        for (std::string name : viewer.LisFilOrdListBox.items) {
            name.erase(name.find_last_not_of(' ') + 1);
            names.push_back(name);
        }
        return names;
    }
    // Opens the viewer from the screen (the record shown: `index`) and runs `script` in it.
    void InViewer(int index, const std::function<void(TVisLisValRefForm&)>& script) {
        while (form.CurrentIndex() < index) {
            ui.Press(form, form.ProBitBtn);
        }
        ui.OnShow("TVisLisValRefForm",
                  [script](Form& f) { script(static_cast<TVisLisValRefForm&>(f)); });
        ui.Press(form, form.LisBitBtn);
    }

    test::ScriptedUi ui;
    TVisLisValRefForm viewer{ui, Home()};
    TCadValRefForm form{ui, Home(), viewer};
};

TEST_F(ValRefFormsTest, BrowsesInStoreOrderAndStopsAtBothEnds) {
    WriteValues(kLines);
    Open();
    EXPECT_EQ(form.caption,
              W("Valores de referência de alimentos embalados para fins de rotulagem nutricional"));
    EXPECT_TRUE(form.NomAliMaskEdit.readOnly);
    EXPECT_EQ(form.NomAliMaskEdit.maxLength, 140);
    EXPECT_EQ(form.NomTabValRefMaskEdit.maxLength, 76);
    for (int n = 1; n <= 7; ++n) {
        EXPECT_EQ(form.Field(n).text, GetField(n, kLines[2])) << "field " << n;
    }
    ui.Press(form, form.AntBitBtn);  // the first: nothing happens
    EXPECT_EQ(form.CurrentIndex(), 0);
    EXPECT_EQ(Food(), Pad("Arroz branco cozido", 20));
    const std::vector<std::string> order = {"Bolo simples", W("Feijão cozido"), "Pao de forma",
                                            "Suco de uva", "Suco de uva"};
    for (const std::string& expected : order) {
        ui.Press(form, form.ProBitBtn);  // the last press, on the last record, changes nothing
        EXPECT_EQ(Food(), Pad(expected, 20));
    }
    EXPECT_EQ(form.CurrentIndex(), 4);
    ui.Press(form, form.AntBitBtn);
    EXPECT_EQ(Food(), Pad("Pao de forma", 20));
}

TEST_F(ValRefFormsTest, SelecionaHandsBackFieldsOneTwoThreeAndSixOfTheRecordShown) {
    WriteValues(kLines);
    const ReferenceValueTarget target = ReferenceValueTargetFor(form);
    ASSERT_EQ(target.form, &form);

    // Reached with Próximo.
    target.prepare(std::nullopt);
    ui.OnShow("TCadValRefForm", [this](Form&) {
        ui.Press(form, form.ProBitBtn);
        ui.Press(form, form.AjuBitBtn);
    });
    int result = ui.ShowModal(form);
    EXPECT_EQ(result, kValRefSelected);
    std::optional<ReferenceValueChoice> choice = target.chosen(result);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->food, GetField(1, kLines[4]));
    EXPECT_EQ(choice->value, GetField(2, kLines[4]));
    EXPECT_EQ(choice->unit, GetField(3, kLines[4]));
    EXPECT_EQ(choice->presentation, GetField(6, kLines[4]));

    // Reached through the list: double click on "Suco de uva".
    target.prepare(std::nullopt);
    ui.OnShow("TCadValRefForm", [this](Form&) {
        ui.OnShow("TVisLisValRefForm", [](Form& f) {
            auto& v = static_cast<TVisLisValRefForm&>(f);
            UserSelect(v.LisFilOrdListBox, 4);
            v.LisFilOrdListBox.onDblClick();
        });
        ui.Press(form, form.LisBitBtn);
        ui.Press(form, form.AjuBitBtn);
    });
    result = ui.ShowModal(form);
    choice = target.chosen(result);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->food, GetField(1, kLines[0]));
    EXPECT_EQ(choice->unit, "ml");

    // Cancela and the close box hand nothing back, even after a record was chosen.
    target.prepare(std::nullopt);
    ui.OnShow("TCadValRefForm", [this](Form&) { ui.Press(form, form.RetBitBtn); });
    result = ui.ShowModal(form);
    EXPECT_EQ(result, kValRefCancelled);
    EXPECT_FALSE(target.chosen(result));
    target.prepare(std::nullopt);
    ui.OnShow("TCadValRefForm", [this](Form&) { RequestClose(form); });
    result = ui.ShowModal(form);
    EXPECT_FALSE(target.chosen(result));
}

TEST_F(ValRefFormsTest, ClosingRewritesTheFileInSortedOrderThroughTheAtomicSave) {
    WriteValues(kLines);
    Open();
    ui.Press(form, form.RetBitBtn);
    LineTable sorted;
    LoadLineTableFromBytes(Bytes(kLines), sorted);
    EXPECT_EQ(test::ReadBytes(ReferenceValuesPath(Home())), LineTableBytes(sorted.lines));
    EXPECT_NE(Bytes(kLines), LineTableBytes(sorted.lines));
    // Nothing but the two data files is left in the folder (no temporary file).
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(DataFolder(Home()))) {
        ++files;
    }
    EXPECT_EQ(files, 2);
}

TEST_F(ValRefFormsTest, AnEmptyFileShowsEmptyFieldsAndListaSaysFileEmpty) {
    WriteValues({});
    Open();
    EXPECT_EQ(form.NomAliMaskEdit.text, "");
    ui.Press(form, form.ProBitBtn);
    ui.Press(form, form.LisBitBtn);
    ASSERT_EQ(ui.Messages().size(), 1U);
    EXPECT_EQ(ui.LastMessage(), "File empty!");
    EXPECT_EQ(ui.Messages()[0].kind, MessageKind::Ok);
    EXPECT_TRUE(ui.ShownForms().empty());
    // Seleciona with no record shown leaves the caller's fields alone.
    const ReferenceValueTarget target = ReferenceValueTargetFor(form);
    ui.Press(form, form.AjuBitBtn);
    EXPECT_FALSE(target.chosen(kValRefSelected));
}

// A list that cannot be read is reported and not written back, so closing cannot replace
// it with an empty one.
TEST_F(ValRefFormsTest, AnUnreadableFileIsReportedAndNotRewritten) {
    fs::create_directories(DataFolder(Home()) / "ValRef.dad" / "inner");
    Open();
    EXPECT_EQ(ui.LastMessage(),
              W("Erro durante a leitura do arquivo! Verifique se o arquivo pode ser lido."));
    EXPECT_EQ(form.NomAliMaskEdit.text, "");
    ui.ClearMessages();
    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(fs::is_directory(DataFolder(Home()) / "ValRef.dad" / "inner"));
}

TEST_F(ValRefFormsTest, ViewerListsGroupsAndSelectsTheRecordShown) {
    WriteValues(kLines);
    Open();
    InViewer(2, [this](TVisLisValRefForm& v) {
        EXPECT_EQ(v.caption, W("Lista de valores para Porção de Referência"));
        EXPECT_EQ(v.LisFilOrdListBox.fontFamily, "Courier New");
        EXPECT_TRUE(v.LisFilOrdListBox.fontBold);
        EXPECT_EQ(v.NomGruComboBox.items, (std::vector<std::string>{kGroupOne, kGroupTwo}));
        EXPECT_EQ(v.NomGruComboBox.itemIndex, -1);
        EXPECT_EQ(Shown().size(), 5U);
        EXPECT_EQ(v.LisFilOrdListBox.itemIndex, 2);
        // "Ver :" on with no group chosen: the group filter is ignored.
        ui.MoveFocus(v, v.AtiFilCheckBox);
        PressCheckBox(ui, v, v.AtiFilCheckBox);
        EXPECT_TRUE(v.NomGruComboBox.enabled);
        EXPECT_EQ(Shown().size(), 5U);
        UserSelect(v.NomGruComboBox, 1);
        EXPECT_EQ(Shown(), (std::vector<std::string>{"Bolo simples", "Suco de uva"}));
        EXPECT_EQ(ui.ProgressLog().begins, 1);
        EXPECT_EQ(ui.ProgressLog().maximum, 5);
        EXPECT_FALSE(ui.ProgressLog().open);
        // Off again: every food, the group cleared.
        PressCheckBox(ui, v, v.AtiFilCheckBox);
        EXPECT_EQ(v.NomGruComboBox.itemIndex, -1);
        EXPECT_EQ(Shown().size(), 5U);
        // Enter on "Pao de forma" chooses it.
        ui.MoveFocus(v, v.LisFilOrdListBox);
        UserSelect(v.LisFilOrdListBox, 3);
        PressEnter(v);
    });
    EXPECT_EQ(form.CurrentIndex(), 3);
    EXPECT_EQ(Food(), Pad("Pao de forma", 20));

    // Closed with its close box: the screen keeps its record.
    InViewer(3, [](TVisLisValRefForm& v) {
        UserSelect(v.LisFilOrdListBox, 0);
        RequestClose(v);
    });
    EXPECT_EQ(form.CurrentIndex(), 3);
    // Chosen with nothing selected: the first record.
    InViewer(3, [](TVisLisValRefForm& v) {
        UserSelect(v.LisFilOrdListBox, -1);
        v.LisFilOrdListBox.onDblClick();
    });
    EXPECT_EQ(form.CurrentIndex(), 0);
}

TEST_F(ValRefFormsTest, KeywordsFoldAccentsAndMatchWithTheSharedSearch) {
    WriteValues(kLines);
    Open();
    struct Case {
        std::string typed;  // UTF-8
        bool groupTwo;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"",
         false,
         {"Arroz branco cozido", "Bolo simples", W("Feijão cozido"), "Pao de forma",
          "Suco de uva"}},
        {"PÃO", false, {"Pao de forma"}},         // accented keyword, plain name
        {"feijao", false, {W("Feijão cozido")}},  // plain keyword, accented name
        {"DE-FORMA", false, {"Pao de forma"}},    // "-" stands for a space
        {"COZIDO ARROZ", false, {"Arroz branco cozido"}},
        {" ARROZ", false, {}},           // leading space: an empty word
        {"ARROZ  COZIDO", false, {}},    // two spaces in a row
        {"UVA", true, {"Suco de uva"}},  // with the group
        {"ARROZ", true, {}},
    };
    for (const Case& c : cases) {
        InViewer(0, [&](TVisLisValRefForm& v) {
            PressCheckBox(ui, v, v.PalChaCheckBox);
            ASSERT_TRUE(v.PalChaMaskEdit.enabled);
            if (c.groupTwo) {
                PressCheckBox(ui, v, v.AtiFilCheckBox);
                UserSelect(v.NomGruComboBox, 1);
            }
            ui.MoveFocus(v, v.PalChaMaskEdit);
            ui.Type(v, v.PalChaMaskEdit, W(c.typed));
            ui.Press(v, v.PalChaBitBtn);
            EXPECT_EQ(Shown(), c.expected) << c.typed;
            EXPECT_EQ(v.PalChaMaskEdit.text.find(W("Ã")), std::string::npos);
            EXPECT_EQ(v.LisFilOrdListBox.itemIndex, -1);
            // Off again: the field emptied, every food listed.
            PressCheckBox(ui, v, v.PalChaCheckBox);
            EXPECT_FALSE(v.PalChaMaskEdit.enabled);
            EXPECT_EQ(v.PalChaMaskEdit.text, std::string(30, ' '));
            if (c.groupTwo) {
                EXPECT_EQ(Shown().size(), 2U);
                PressCheckBox(ui, v, v.AtiFilCheckBox);
            }
            EXPECT_EQ(Shown().size(), 5U);
            RequestClose(v);
        });
    }
}

}  // namespace
}  // namespace velmaro
