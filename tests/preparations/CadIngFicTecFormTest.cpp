// The ingredients of a preparation, opened from the preparation register as the
// application opens it: the list of lines with its sums, choosing an ingredient, the
// household measure, storing and deleting lines with the preparation's totals, moving
// between lines, the ingredient viewer and the copy from another preparation.
//
// The table "Minha" holds four ingredients (in key order):
//   Arroz branco    every value; F.C. 1,30 now (its line in Bolo was stored with 1,25)
//   Arroz integral  no sodium value
//   Feijao          no cholesterol and no fibre value
//   Leite           two household measures: Copo 200,0 g and Xicara 150,0 g
// Bolo has a line of each Arroz; Pudim a line of Feijao.

#include "preparations/CadIngFicTecForm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Interaction.h"
#include "preparations/CadFicTecRotForm.h"
#include "preparations/PreparationRecordFixture.h"
#include "shell/ActiveTable.h"
#include "shell/VisLisForm.h"
#include "shell/VisLisIngForm.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "support/FailingDisk.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

namespace F = PreparationRecordField;
using test::Pad;
using test::PreparationLine;
using test::ReadBytes;
using test::WriteBytes;
using Texts = std::vector<std::string>;
using Values = std::array<std::string, 10>;

const std::string kTable = Pad("Minha", 20);

// A record of the ingredient file: name, ten values per 100 g, group, F.C., F.C.C., cost
// per kilogram, quotation date, thirteen sources.
std::string Ingredient(const std::string& name, const Values& values, const std::string& fc,
                       const std::string& fcc, const std::string& cost, const std::string& date) {
    std::string r = Pad(name, 60) + "|";
    for (const std::string& v : values) {
        r += v + "|";
    }
    r += "||" + fc + "|" + fcc + "|" + cost + "|" + date + "|";
    for (int i = 18; i <= 30; ++i) {
        r += "Fonte|";
    }
    return r;
}

// A stored ingredient line: the texts of fields 2 to 12 and the ten amounts.
std::string StoredLine(const std::string& name, const Texts& fields2to12, const Values& amounts) {
    std::string line = Pad(name, 60) + "|";
    for (const std::string& f : fields2to12) {
        line += f + "|";
    }
    for (const std::string& a : amounts) {
        line += a + "|";
    }
    return line;
}

const std::string kArrozLine =
    StoredLine("Arroz branco",
               {"   125,0", "   100,0", "      , ", "      , ", "  1,25", "  2,50", "    12,40",
                "     1,55", "01/03/24", "", "   ,  "},
               {"   130,00", "    28,00", "     2,50", "     0,20", "     0,10", "     0,00",
                "     1,60", "    10,00", "     0,30", "     1,00"});
const std::string kIntegralLine =
    StoredLine("Arroz integral",
               {"    50,0", "    50,0", "      , ", "      , ", "  1,00", "   ,  ", "      ,  ",
                "      ,  ", "  /  /  ", "", "   ,  "},
               {"    62,00", "     0,50", "     0,50", "     0,50", "     0,50", "     0,50",
                "     0,50", "     0,50", "     0,50", "      ,  "});
const std::string kFeijaoLine =
    StoredLine("Feijao",
               {"   200,0", "   200,0", "      , ", "      , ", "  1,00", "  2,00", "     8,00",
                "     1,60", "02/03/24", "", "   ,  "},
               {"   660,00", "     2,00", "     2,00", "     2,00", "     2,00", "      ,  ",
                "      ,  ", "     2,00", "     2,00", "     2,00"});

// Bolo's sums: net weight, the ten totals (record fields 3 to 12), the cost (field 13).
const std::string kBoloFooter =
    "Som|   150,0|   192,00|    28,50|     3,00|     0,70|     0,60|     0,50|     2,10|    "
    "10,50|     0,80|     1,00|";

std::string Lines(const Texts& lines) {
    std::string bytes;
    for (const std::string& l : lines) {
        bytes += l + "\r\n";
    }
    return bytes;
}

class CadIngFicTecFormTest : public test::DataHomeTest {
  protected:
    CadIngFicTecFormTest() {
        LineList ingredients;
        ingredients.Assign({
            Ingredient("Arroz branco",
                       {" 130,00", "  28,00", "   2,50", "   0,20", "   0,10", "   0,00", "   1,60",
                        "  10,00", "   0,30", "    1,00"},
                       "  1,30", "  2,50", "    12,40", "01/03/24"),
            Ingredient("Arroz integral",
                       {" 124,00", "   1,00", "   1,00", "   1,00", "   1,00", "   1,00", "   1,00",
                        "   1,00", "   1,00", "     ,  "},
                       "  1,00", "   ,  ", "      ,  ", "  /  /  "),
            Ingredient("Feijao",
                       {" 330,00", "   1,00", "   1,00", "   1,00", "   1,00", "    ,  ", "    ,  ",
                        "   1,00", "   1,00", "    1,00"},
                       "  1,00", "  2,00", "     8,00", "02/03/24"),
            Ingredient("Leite",
                       {"  61,00", "   4,70", "   3,20", "   3,30", "   2,00", "  14,00", "   0,00",
                        " 120,00", "   0,10", "   50,00"},
                       "  1,00", "  1,00", "     5,00", "03/03/24"),
        });
        NullProgress progress;
        SaveScrambledLineTable(IngredientFilePath(Home(), kTable), ingredients, progress);
        WriteBytes(Dir() / "Medidas" / "Leite.med",
                   Lines({Pad("Copo", 20) + "|   200,0|", Pad("Xicara", 20) + "|   150,0|"}));
        WriteBytes(ListPath(), Lines({PreparationLine("Bolo"), PreparationLine("Pudim")}));
        WriteBytes(FilePath("Bolo"), Lines({kArrozLine, kIntegralLine}));
        WriteBytes(FilePath("Pudim"), Lines({kFeijaoLine}));

        activeTable.name = kTable;
        activeTable.editable = true;
        form.ingredientViewer = &ingredientViewer;
        form.listViewer = &listViewer;
        reg.listViewer = &listViewer;
        // As the application hands the screen to the register.
        reg.targets.ingredients.form = &form;
        reg.targets.ingredients.prepare = [this](const std::string& table,
                                                 const std::string& preparation) {
            form.Prepare(table, preparation, reg.table, reg.currentIndex, reg.ListView());
        };
    }

    fs::path Dir() const { return Home() / "Dados" / "Minha"; }
    fs::path ListPath() const { return Dir() / "Ficha Tecnica" / "ArqFicTec.dad"; }
    fs::path FilePath(const std::string& preparation) const {
        return Dir() / "Ficha Tecnica" / (preparation + ".dad");
    }

    // The register shows the preparation; the ingredients screen opens on it.
    void Open(const std::string& preparation = "Bolo") {
        reg.tableName = kTable;
        reg.startPending = true;
        ui.Activate(reg);
        ui.Type(reg, reg.NomPreMaskEdit, preparation);
        ui.MoveFocus(reg, reg.DatPreMaskEdit);
        reg.targets.ingredients.prepare(reg.tableName, reg.NomPreMaskEdit.text);
        ui.Activate(form);
        ui.ClearMessages();
    }
    std::string Record() const { return reg.table.lines[reg.currentIndex]; }

    // Chooses an ingredient in the drop-down and leaves it for the list of lines.
    void Choose(const std::string& ingredient) {
        const auto& items = form.NomIngComboBox.items;
        const auto it = std::find(items.begin(), items.end(), Pad(ingredient, 60));
        ASSERT_NE(it, items.end()) << ingredient;
        ui.MoveFocus(form, form.NomIngComboBox);
        UserSelect(form.NomIngComboBox, static_cast<int>(it - items.begin()));
        ui.MoveFocus(form, form.IngFicTecListBox);
    }
    // Types into a field and leaves it for `next`.
    void Fill(MaskEdit& field, const std::string& text, Control& next) {
        ui.MoveFocus(form, field);
        ui.Type(form, field, text);
        ui.MoveFocus(form, next);
    }

    // Which of the controls of the mode table are enabled.
    std::map<std::string, bool> Enabled() const {
        std::map<std::string, bool> on;
        for (const Control* c : std::initializer_list<const Control*>{
                 &form.PesLiqMaskEdit, &form.PesBruMaskEdit, &form.PesCozMaskEdit,
                 &form.PesCruMaskEdit, &form.NomMedCasComboBox, &form.LimNomMedCasBitBtn,
                 &form.NomIngComboBox, &form.TabBitBtn, &form.NovBitBtn, &form.GraBitBtn,
                 &form.ExcBitBtn, &form.AntBitBtn, &form.ProBitBtn, &form.LisBitBtn,
                 &form.RetBitBtn, &form.CopBitBtn, &form.AjuBitBtn}) {
            on[c->Name()] = c->enabled;
        }
        return on;
    }
    static std::map<std::string, bool> ModeTable(ScreenMode mode) {
        const bool empty = mode == ScreenMode::Empty;
        const bool showing = mode == ScreenMode::Showing;
        return {{"PesLiqMaskEdit", !empty},
                {"PesBruMaskEdit", !empty},
                {"PesCozMaskEdit", !empty},
                {"PesCruMaskEdit", !empty},
                {"NomMedCasComboBox", !empty},
                {"LimNomMedCasBitBtn", !empty},
                {"NomIngComboBox", empty},
                {"TabBitBtn", empty},
                {"NovBitBtn", true},
                {"GraBitBtn", !empty},
                {"ExcBitBtn", showing},
                {"AntBitBtn", showing},
                {"ProBitBtn", showing},
                {"LisBitBtn", !(mode == ScreenMode::Inserting)},
                {"RetBitBtn", true},
                {"CopBitBtn", true},
                {"AjuBitBtn", true}};
    }

    test::ScriptedUi ui;
    ActiveTable activeTable;
    TVisLisIngForm ingredientViewer{ui, Home(), activeTable};
    TVisLisForm listViewer{ui};
    TCadFicTecRotForm reg{ui, Home()};
    TCadIngFicTecForm form{ui, Home()};
};

TEST_F(CadIngFicTecFormTest, OpensOnTheLinesWithTheirSumsAndNothingChosen) {
    Open();
    EXPECT_EQ(form.caption, W("INCLUSÃO DE INGREDIENTES NA PREPARAÇÃO - TABELA ATIVA : ") + kTable);
    EXPECT_EQ(form.NomPreMaskEdit.text, Pad("Bolo", 40));
    EXPECT_EQ(form.NomIngComboBox.items, (Texts{Pad("Arroz branco", 60), Pad("Arroz integral", 60),
                                                Pad("Feijao", 60), Pad("Leite", 60)}));
    EXPECT_EQ(form.IngFicTecListBox.items,
              (Texts{"Arr|   100,0|   130,00|    28,00|     2,50|     0,20|     0,10|     0,00|"
                     "     1,60|    10,00|     0,30|     1,00|",
                     "Arr|    50,0|    62,00|     0,50|     0,50|     0,50|     0,50|     0,50|"
                     "     0,50|     0,50|     0,50|      ,  |"}));
    EXPECT_EQ(form.RodLabel.caption, kBoloFooter);
    // The header's columns stand over the rows' and the footer's.
    const std::string& header = form.CabLabel.caption;
    EXPECT_EQ(header,
              "Ing|  PL(g) |  Kcal   | CHO(g)  | PTN(g)  | LIP(g)  | SAT(g)  | COL(mg) | FIB(g)  "
              "| CAL(mg) | FER(mg) |  Na(mg) |");
    for (const std::string& text : {form.IngFicTecListBox.items[0], form.RodLabel.caption}) {
        ASSERT_EQ(text.size(), 113u);
        for (size_t i = 0; i < header.size(); ++i) {
            EXPECT_EQ(header[i] == '|', text[i] == '|') << "column " << i << " of " << text;
        }
    }
    // The totals went into the register's record in memory (fields 3 to 13).
    EXPECT_EQ(GetField(F::kEnergyTotal, Record()), "   192,00");
    EXPECT_EQ(GetField(F::kSodiumTotal, Record()), "     1,00");
    EXPECT_EQ(GetField(F::kCostTotal, Record()), "     1,55");
    EXPECT_EQ(form.Sums().net, 150.0L);
    EXPECT_EQ(form.Sums().gross, 175.0L);

    EXPECT_EQ(form.mode, ScreenMode::Empty);
    EXPECT_EQ(Enabled(), ModeTable(ScreenMode::Empty));
    EXPECT_FALSE(form.QuaMedCasMaskEdit.enabled);
    EXPECT_EQ(form.ActiveControl(), &form.NomIngComboBox);
    EXPECT_EQ(form.IngFicTecListBox.itemIndex, -1);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CadIngFicTecFormTest, ANewIngredientWarnsOfEachMissingValueInOrderAndStartsALine) {
    struct Case {
        std::string ingredient;
        Texts warnings;  // UTF-8
    };
    const std::vector<Case> cases{
        {"Feijao",
         {"Atenção para ausência do valor do Colesterol!",
          "Atenção para ausência do valor dos Fibras!"}},
        {"Leite", {}},
    };
    Open();
    for (const Case& c : cases) {
        ui.ClearMessages();
        Choose(c.ingredient);
        Texts expected;
        for (const std::string& w : c.warnings) {
            expected.push_back(W(w));
        }
        EXPECT_EQ(ui.MessageTexts(), expected) << c.ingredient;
        EXPECT_EQ(form.mode, ScreenMode::Inserting);
        EXPECT_EQ(Enabled(), ModeTable(ScreenMode::Inserting));
        EXPECT_EQ(form.ActiveControl(), &form.NomMedCasComboBox);
        EXPECT_FALSE(form.dirty);
        ui.Press(form, form.NovBitBtn);
        EXPECT_EQ(form.mode, ScreenMode::Empty);
    }
    // The new line takes the ingredient's factors, cost and date; its composition is shown.
    Choose("Feijao");
    EXPECT_EQ(form.FCMaskEdit.text, "  1,00");
    EXPECT_EQ(form.FCCMaskEdit.text, "  2,00");
    EXPECT_EQ(form.CusUniMaskEdit.text, "     8,00");
    EXPECT_EQ(form.DatCotMaskEdit.text, "02/03/24");
    EXPECT_EQ(form.KALMaskEdit.text, " 330,00");
    EXPECT_EQ(form.COLMaskEdit.text, "    ,  ");
    EXPECT_EQ(form.SODMaskEdit.text, "    1,00");
    EXPECT_EQ(form.PesLiqMaskEdit.text, "      , ");
    EXPECT_TRUE(form.NomMedCasComboBox.items.empty());
    EXPECT_EQ(form.IngFicTecListBox.items.size(), 2u) << "nothing stored yet";
}

TEST_F(CadIngFicTecFormTest, AnIngredientAlreadyInThePreparationShowsItsStoredLine) {
    Open();
    Choose("Arroz branco");
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(Enabled(), ModeTable(ScreenMode::Showing));
    EXPECT_EQ(form.currentIndex, 0);
    EXPECT_EQ(form.IngFicTecListBox.itemIndex, 0);
    EXPECT_EQ(form.PesBruMaskEdit.text, "   125,0");
    EXPECT_EQ(form.PesLiqMaskEdit.text, "   100,0");
    EXPECT_EQ(form.FCMaskEdit.text, "  1,25") << "the stored factor, not the ingredient's 1,30";
    EXPECT_EQ(form.CusCalMaskEdit.text, "     1,55");
    EXPECT_EQ(form.PesPorKalMaskEdit.text, "   130,00");
    EXPECT_EQ(form.KALMaskEdit.text, " 130,00");
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_FALSE(form.dirty);

    // Storing it again alters the one line; no second line appears.
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.MessageTexts(),
              (Texts{W("Confirma alteração?"), W("Alteração efetuada com sucesso!")}));
    EXPECT_EQ(ReadBytes(FilePath("Bolo")), Lines({kArrozLine, kIntegralLine}));
}

// Tab walks from the chosen ingredient to "Consulta Tabelas" (or "&Novo"): that is no
// press of the button, so the ingredient is taken as when any other control is reached.
TEST_F(CadIngFicTecFormTest, TabFromTheChosenIngredientTakesIt) {
    Open();
    const auto& items = form.NomIngComboBox.items;
    const auto it = std::find(items.begin(), items.end(), Pad("Arroz branco", 60));
    ASSERT_NE(it, items.end());
    ui.MoveFocus(form, form.NomIngComboBox);
    UserSelect(form.NomIngComboBox, static_cast<int>(it - items.begin()));
    ui.Tab(form);
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(form.PesLiqMaskEdit.text, "   100,0");
}

// An ingredient chosen from the open list with the mouse is chosen as Enter chooses it: a
// new one starts a line with the weights open, one already there shows its line.
TEST_F(CadIngFicTecFormTest, AClickThatChoosesAnIngredientIsTheChoiceEnterMakes) {
    Open();
    const auto& items = form.NomIngComboBox.items;
    const auto index = [&](const std::string& name) {
        const auto it = std::find(items.begin(), items.end(), Pad(name, 60));
        return it == items.end() ? -1 : static_cast<int>(it - items.begin());
    };
    ASSERT_GE(index("Leite"), 0);
    UserChoose(form.NomIngComboBox, index("Leite"));
    EXPECT_EQ(form.mode, ScreenMode::Inserting);
    EXPECT_EQ(Enabled(), ModeTable(ScreenMode::Inserting));
    EXPECT_TRUE(form.PesLiqMaskEdit.enabled);
    EXPECT_EQ(form.ActiveControl(), &form.NomMedCasComboBox);

    ui.Press(form, form.NovBitBtn);
    UserChoose(form.NomIngComboBox, index("Arroz branco"));
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(form.PesLiqMaskEdit.text, "   100,0");
    EXPECT_TRUE(ui.Messages().empty());
}

// A line stored or deleted on a disk that fails at its write (no space left, permission
// denied): the screen's message, the preparation's file as it was, and the screen goes on.
TEST_F(CadIngFicTecFormTest, StoringAndDeletingOnAFailingDisk) {
    const std::string bolo = ReadBytes(FilePath("Bolo"));
    struct Operation {
        const char* what;
        std::function<void()> act;
        const char* failed;
    };
    const Operation operations[] = {
        {"alteration",
         [&] {
             Choose("Arroz branco");
             ui.AnswerYes();
             ui.Press(form, form.GraBitBtn);
         },
         "Erro durante a alteração!"},
        {"deletion",
         [&] {
             Choose("Arroz integral");
             ui.AnswerYes();
             ui.Press(form, form.ExcBitBtn);
         },
         "Erro durante exclusão!"},
    };
    for (const Operation& op : operations) {
        for (const auto& [error, stays] : {std::pair{ENOSPC, false}, std::pair{EACCES, true}}) {
            SCOPED_TRACE(std::string(op.what) + (stays ? ", read-only" : ", no space"));
            const int writes =
                test::FailEachWriteInTurn(error, stays, [&](const test::FailingDisk& disk) {
                    Open();
                    op.act();
                    if (disk.Failed()) {
                        EXPECT_EQ(ui.LastMessage(), W(op.failed));
                        EXPECT_EQ(ReadBytes(FilePath("Bolo")), bolo);
                        EXPECT_EQ(form.IngFicTecListBox.items.size(), 2u);
                    } else {
                        EXPECT_NE(ui.LastMessage(), W(op.failed));
                        WriteBytes(FilePath("Bolo"), bolo);
                    }
                    if (form.dirty) {
                        ui.AnswerNo();
                    }
                    ui.Press(form, form.RetBitBtn);
                    EXPECT_TRUE(form.CloseRequested());
                });
            EXPECT_EQ(writes, 1);
        }
    }
}

TEST_F(CadIngFicTecFormTest, RowsThatShareAPrefixEachShowTheirOwnLine) {
    Open();
    ASSERT_EQ(form.IngFicTecListBox.items.size(), 2u);
    EXPECT_EQ(form.IngFicTecListBox.items[0].substr(0, 4), "Arr|");
    EXPECT_EQ(form.IngFicTecListBox.items[1].substr(0, 4), "Arr|");

    UserSelect(form.IngFicTecListBox, 1);
    EXPECT_EQ(form.NomIngComboBox.text, Pad("Arroz integral", 60));
    EXPECT_EQ(form.ChosenIngredient(), 1);
    EXPECT_EQ(form.PesLiqMaskEdit.text, "    50,0");
    EXPECT_EQ(form.PesPorKalMaskEdit.text, "    62,00");
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(ui.MessageTexts(), Texts{W("Atenção para ausência do valor do Sódio!")});

    ui.ClearMessages();
    UserSelect(form.IngFicTecListBox, 0);
    EXPECT_EQ(form.NomIngComboBox.text, Pad("Arroz branco", 60));
    EXPECT_EQ(form.PesLiqMaskEdit.text, "   100,0");
    EXPECT_EQ(form.currentIndex, 0);
    EXPECT_TRUE(ui.Messages().empty());

    // "&Lista" picks from the ingredient names the same way.
    ui.Pick(1);
    ui.Press(form, form.LisBitBtn);
    ASSERT_EQ(ui.Pickers().size(), 1u);
    EXPECT_EQ(ui.Pickers()[0].caption, W("LISTA DE INGREDIENTES DA FICHA TÉCNICA"));
    EXPECT_EQ(ui.Pickers()[0].items, (Texts{Pad("Arroz branco", 60), Pad("Arroz integral", 60)}));
    EXPECT_EQ(ui.Pickers()[0].preselected, 0);
    EXPECT_EQ(form.PesLiqMaskEdit.text, "    50,0");
    EXPECT_EQ(form.IngFicTecListBox.itemIndex, 1);
}

TEST_F(CadIngFicTecFormTest, EnterWalksTheWeightsAndLeadsFromTheRawWeightToGrava) {
    Open();
    Choose("Leite");
    ASSERT_EQ(form.ActiveControl(), &form.NomMedCasComboBox);
    PressEnter(form);
    EXPECT_EQ(form.ActiveControl(), &form.PesLiqMaskEdit) << "no measure: no number of measures";
    ui.Type(form, form.PesLiqMaskEdit, "100");
    PressEnter(form);
    EXPECT_EQ(form.ActiveControl(), &form.PesBruMaskEdit);
    EXPECT_EQ(form.PesBruMaskEdit.text, "   100,0");
    PressEnter(form);
    EXPECT_EQ(form.ActiveControl(), &form.PesCozMaskEdit);
    PressEnter(form);
    EXPECT_EQ(form.ActiveControl(), &form.PesCruMaskEdit);
    ui.Type(form, form.PesCruMaskEdit, "100");
    PressEnter(form);
    EXPECT_EQ(form.ActiveControl(), &form.GraBitBtn);
    EXPECT_EQ(form.PesCozMaskEdit.text, "   100,0") << "cooked from raw and the F.C.C. 1,00";
    EXPECT_EQ(form.FCCMaskEdit.text, "  1,00");
}

TEST_F(CadIngFicTecFormTest, AMeasureAndItsNumberGiveTheNetWeight) {
    Open();
    Choose("Leite");
    EXPECT_EQ(form.NomMedCasComboBox.items, (Texts{Pad("Copo", 20), Pad("Xicara", 20)}));
    UserSelect(form.NomMedCasComboBox, 1);
    EXPECT_TRUE(form.dirty);
    EXPECT_EQ(form.ChosenMeasure(), 1);
    EXPECT_EQ(form.UmaMedCasMaskEdit.text, "   150,0");
    ASSERT_TRUE(form.QuaMedCasMaskEdit.enabled);
    PressEnter(form);
    EXPECT_EQ(form.ActiveControl(), &form.QuaMedCasMaskEdit);
    ui.Type(form, form.QuaMedCasMaskEdit, "2");
    PressEnter(form);
    EXPECT_EQ(form.QuaMedCasMaskEdit.text, "  2,00");
    EXPECT_EQ(form.PesLiqMaskEdit.text, "   300,0");
    EXPECT_EQ(form.PesBruMaskEdit.text, "   300,0");
    EXPECT_EQ(form.CusCalMaskEdit.text, "     1,50");
    EXPECT_EQ(form.PesPorKalMaskEdit.text, "   183,00");

    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    const std::string stored = ReadBytes(FilePath("Bolo"));
    const Texts lines = SplitLines(stored);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2],
              StoredLine("Leite",
                         {"   300,0", "   300,0", "      , ", "      , ", "  1,00", "  1,00",
                          "     5,00", "     1,50", "03/03/24", Pad("Xicara", 20), "  2,00"},
                         {"   183,00", "    14,10", "     9,60", "     9,90", "     6,00",
                          "    42,00", "     0,00", "   360,00", "     0,30", "   150,00"}));

    // Shown again, the line brings its measure and number back.
    ui.Press(form, form.NovBitBtn);
    UserSelect(form.IngFicTecListBox, 2);
    EXPECT_EQ(form.NomMedCasComboBox.SelectedText(), Pad("Xicara", 20));
    EXPECT_EQ(form.UmaMedCasMaskEdit.text, "   150,0");
    EXPECT_EQ(form.QuaMedCasMaskEdit.text, "  2,00");
    EXPECT_TRUE(form.QuaMedCasMaskEdit.enabled);
}

TEST_F(CadIngFicTecFormTest, ABlankNumberOfMeasuresAsksWhetherToKeepTheMeasure) {
    for (const int answer : {kAnswerNo, kAnswerYes}) {
        Open();
        Choose("Leite");
        UserSelect(form.NomMedCasComboBox, 0);
        ui.Answer(answer);
        Fill(form.QuaMedCasMaskEdit, "", form.PesLiqMaskEdit);
        EXPECT_EQ(ui.MessageTexts(), Texts{W("Deseja manter descrição da medida caseira?")});
        if (answer == kAnswerNo) {
            EXPECT_EQ(form.ChosenMeasure(), -1);
            EXPECT_EQ(form.NomMedCasComboBox.itemIndex, -1);
            EXPECT_EQ(form.UmaMedCasMaskEdit.text, "      , ");
            EXPECT_EQ(form.QuaMedCasMaskEdit.text, "   ,  ");
            EXPECT_FALSE(form.QuaMedCasMaskEdit.enabled);
        } else {
            EXPECT_EQ(form.NomMedCasComboBox.SelectedText(), Pad("Copo", 20));
            EXPECT_EQ(form.UmaMedCasMaskEdit.text, "   200,0");
            EXPECT_TRUE(form.QuaMedCasMaskEdit.enabled);
        }
        ui.AnswerNo();  // unsaved changes: dropped
        ui.Press(form, form.RetBitBtn);
    }

    // The clear button asks too, and clears only on SIM.
    Open();
    Choose("Leite");
    UserSelect(form.NomMedCasComboBox, 1);
    ui.AnswerNo();
    ui.Press(form, form.LimNomMedCasBitBtn);
    EXPECT_EQ(form.ChosenMeasure(), 1);
    ui.AnswerYes();
    ui.Press(form, form.LimNomMedCasBitBtn);
    EXPECT_EQ(ui.MessageTexts(),
              (Texts{"Limpa o campo \"Medida Caseira\"?", "Limpa o campo \"Medida Caseira\"?"}));
    EXPECT_EQ(form.ChosenMeasure(), -1);
    EXPECT_EQ(form.UmaMedCasMaskEdit.text, "      , ");
    EXPECT_FALSE(form.QuaMedCasMaskEdit.enabled);
}

TEST_F(CadIngFicTecFormTest, InsertAlterAndDeleteWriteTheFileTheTotalsAndTheFooter) {
    Open();
    Choose("Leite");
    Fill(form.PesLiqMaskEdit, "200", form.PesBruMaskEdit);
    EXPECT_TRUE(form.dirty);
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.MessageTexts(),
              (Texts{W("Confirma inclusão?"), W("Inclusão efetuada com sucesso!")}));
    const std::string leite =
        StoredLine("Leite",
                   {"   200,0", "   200,0", "      , ", "      , ", "  1,00", "  1,00", "     5,00",
                    "     1,00", "03/03/24", "", "   ,  "},
                   {"   122,00", "     9,40", "     6,40", "     6,60", "     4,00", "    28,00",
                    "     0,00", "   240,00", "     0,20", "   100,00"});
    EXPECT_EQ(ReadBytes(FilePath("Bolo")), Lines({kArrozLine, kIntegralLine, leite}));
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_FALSE(form.dirty);
    EXPECT_EQ(form.currentIndex, 2);
    EXPECT_EQ(form.IngFicTecListBox.itemIndex, 2);
    ASSERT_EQ(form.IngFicTecListBox.items.size(), 3u);
    EXPECT_EQ(form.IngFicTecListBox.items[2], IngredientListRow(leite));
    EXPECT_EQ(form.RodLabel.caption,
              "Som|   350,0|   314,00|    37,90|     9,40|     7,30|     4,60|    28,50|     "
              "2,10|   250,50|     1,00|   101,00|");
    EXPECT_EQ(GetField(F::kEnergyTotal, Record()), "   314,00");
    EXPECT_EQ(GetField(F::kCostTotal, Record()), "     2,55");

    // Altered: a typed net weight keeps the gross weight, which gives the new F.C.
    ui.ClearMessages();
    Fill(form.PesLiqMaskEdit, "100", form.PesBruMaskEdit);
    EXPECT_EQ(form.FCMaskEdit.text, "  2,00");
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.MessageTexts(),
              (Texts{W("Confirma alteração?"), W("Alteração efetuada com sucesso!")}));
    const Texts altered = SplitLines(ReadBytes(FilePath("Bolo")));
    ASSERT_EQ(altered.size(), 3u);
    EXPECT_EQ(GetField(3, altered[2]), "   100,0");
    EXPECT_EQ(GetField(6, altered[2]), "  2,00");
    EXPECT_EQ(GetField(13, altered[2]), "    61,00");
    EXPECT_EQ(form.IngFicTecListBox.items[2], IngredientListRow(altered[2]));
    EXPECT_EQ(form.RodLabel.caption.substr(0, 23), "Som|   250,0|   253,00|");
    EXPECT_EQ(GetField(F::kEnergyTotal, Record()), "   253,00");
    EXPECT_EQ(form.mode, ScreenMode::Showing);

    // Deleted: back to the two lines and their sums, nothing chosen.
    ui.ClearMessages();
    ui.AnswerYes();
    ui.Press(form, form.ExcBitBtn);
    EXPECT_EQ(ui.MessageTexts(),
              (Texts{W("Confirma exclusão?"), W("Exclusão efetuada com sucesso!")}));
    EXPECT_EQ(ReadBytes(FilePath("Bolo")), Lines({kArrozLine, kIntegralLine}));
    EXPECT_EQ(form.IngFicTecListBox.items.size(), 2u);
    EXPECT_EQ(form.RodLabel.caption, kBoloFooter);
    EXPECT_EQ(GetField(F::kEnergyTotal, Record()), "   192,00");
    EXPECT_EQ(form.mode, ScreenMode::Empty);
    EXPECT_EQ(form.ActiveControl(), &form.NomIngComboBox);
    EXPECT_EQ(form.PesLiqMaskEdit.text, "      , ");
}

TEST_F(CadIngFicTecFormTest, MovingToAnotherLineWithUnsavedChangesAsks) {
    const std::string question = W("Os dados não foram gravados! Deseja gravá-los?");
    // SIM in Inserting: the new line is inserted, then the clicked line is shown.
    Open();
    Choose("Leite");
    Fill(form.PesLiqMaskEdit, "200", form.PesBruMaskEdit);
    ui.AnswerYes();
    UserSelect(form.IngFicTecListBox, 1);
    EXPECT_EQ(ui.MessageTexts(), (Texts{question, W("Inclusão efetuada com sucesso!"),
                                        W("Atenção para ausência do valor do Sódio!")}));
    EXPECT_EQ(SplitLines(ReadBytes(FilePath("Bolo"))).size(), 3u);
    EXPECT_EQ(form.NomIngComboBox.text, Pad("Arroz integral", 60));
    EXPECT_EQ(form.currentIndex, 1);
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(form.IngFicTecListBox.items.size(), 3u);

    // NÃO in Showing: the change is dropped and the next line shown.
    UserSelect(form.IngFicTecListBox, 0);
    const std::string before = ReadBytes(FilePath("Bolo"));
    ui.ClearMessages();
    Fill(form.PesLiqMaskEdit, "90", form.PesBruMaskEdit);
    ui.AnswerNo();
    ui.Press(form, form.ProBitBtn);
    EXPECT_EQ(ui.MessageTexts(), Texts{question}) << "no warnings on Próximo";
    EXPECT_EQ(ReadBytes(FilePath("Bolo")), before);
    EXPECT_EQ(form.currentIndex, 1);
    EXPECT_EQ(form.IngFicTecListBox.itemIndex, 1);
    EXPECT_EQ(form.PesLiqMaskEdit.text, "    50,0");
    EXPECT_FALSE(form.dirty);
    ui.Press(form, form.AntBitBtn);
    EXPECT_EQ(form.PesLiqMaskEdit.text, "   100,0") << "the dropped 90 is not kept";
    ui.Press(form, form.AntBitBtn);
    EXPECT_FALSE(form.AntBitBtn.enabled) << "at the first line";
    EXPECT_EQ(form.currentIndex, 0);
}

TEST_F(CadIngFicTecFormTest, CopiaTakesTheLinesOfTheChosenPreparation) {
    Open();
    Texts listed;
    ui.OnShow("TVisLisForm", [&](Form&) {
        listed = listViewer.LisFilOrdListBox.items;
        EXPECT_EQ(listViewer.CabMemo.lines, Texts{TCadFicTecRotForm::ListHeader()});
        EXPECT_EQ(listViewer.LisFilOrdListBox.itemIndex, 0) << "this preparation selected";
        UserSelect(listViewer.LisFilOrdListBox, 1);
        listViewer.LisFilOrdListBoxDblClick();
    });
    const Texts preparations = reg.table.lines.Items();
    ui.AnswerYes();
    ui.Press(form, form.CopBitBtn);
    EXPECT_EQ(listed, preparations);
    EXPECT_EQ(listViewer.caption, W("VISUALIZA LISTA DE FICHA TÉCNICA - TABELA ATIVA : ") + kTable);
    EXPECT_EQ(ui.MessageTexts(), Texts{"Confirma copia dos ingredientes?"});
    EXPECT_EQ(ReadBytes(FilePath("Bolo")), Lines({kFeijaoLine}));
    EXPECT_EQ(form.IngFicTecListBox.items, Texts{IngredientListRow(kFeijaoLine)});
    EXPECT_EQ(form.RodLabel.caption,
              "Som|   200,0|   660,00|     2,00|     2,00|     2,00|     2,00|     0,00|     "
              "0,00|     2,00|     2,00|     2,00|");
    EXPECT_EQ(GetField(F::kCostTotal, Record()), "     1,60");
    EXPECT_EQ(form.mode, ScreenMode::Empty);
    EXPECT_EQ(form.ActiveControl(), &form.NomIngComboBox);

    // NÃO changes nothing.
    ui.ClearMessages();
    ui.OnShow("TVisLisForm", [&](Form&) { listViewer.LisFilOrdListBoxDblClick(); });
    ui.AnswerNo();
    ui.Press(form, form.CopBitBtn);
    EXPECT_EQ(ReadBytes(FilePath("Bolo")), Lines({kFeijaoLine}));
    EXPECT_EQ(form.IngFicTecListBox.items.size(), 1u);
}

TEST_F(CadIngFicTecFormTest, ConsultaTabelasChoosesAnIngredientInTheViewer) {
    Open();
    ui.OnShow("TVisLisIngForm", [&](Form&) {
        EXPECT_EQ(ingredientViewer.LisFilOrdListBox.items, form.Ingredients().lines.Items());
        UserSelect(ingredientViewer.LisFilOrdListBox, 3);
        ingredientViewer.LisFilOrdListBoxDblClick();
    });
    ui.Press(form, form.TabBitBtn);
    EXPECT_EQ(form.ChosenIngredient(), 3);
    EXPECT_EQ(form.NomIngComboBox.text, Pad("Leite", 60));
    EXPECT_EQ(form.ActiveControl(), &form.NomIngComboBox);
    EXPECT_EQ(form.KALMaskEdit.text, "  61,00");
    EXPECT_EQ(form.NomMedCasComboBox.items.size(), 2u);
    EXPECT_EQ(form.mode, ScreenMode::Empty) << "the choice is made on leaving the drop-down";
    ui.MoveFocus(form, form.IngFicTecListBox);
    EXPECT_EQ(form.mode, ScreenMode::Inserting);

    // An empty ingredient file has nothing to browse.
    LineList none;
    NullProgress progress;
    SaveScrambledLineTable(IngredientFilePath(Home(), kTable), none, progress);
    Open();
    ui.Press(form, form.TabBitBtn);
    EXPECT_EQ(ui.MessageTexts(), Texts{W("Não existem registros no arquivo!")});
}

TEST_F(CadIngFicTecFormTest, AnInsertionThatCannotBeWrittenKeepsInserting) {
    Open();
    Choose("Leite");
    Fill(form.PesLiqMaskEdit, "200", form.PesBruMaskEdit);
    fs::remove(FilePath("Bolo"));
    fs::create_directory(FilePath("Bolo"));  // the file cannot be written
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Erro durante inclusão!"));
    EXPECT_EQ(form.mode, ScreenMode::Inserting) << "no stored line to alter";
    EXPECT_TRUE(form.dirty);
    EXPECT_EQ(form.IngFicTecListBox.items.size(), 2u);
    EXPECT_EQ(form.RodLabel.caption, kBoloFooter);
    EXPECT_EQ(GetField(F::kEnergyTotal, Record()), "   192,00");

    fs::remove(FilePath("Bolo"));
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Inclusão efetuada com sucesso!"));
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(SplitLines(ReadBytes(FilePath("Bolo"))).size(), 3u);
}

TEST_F(CadIngFicTecFormTest, TheRegisterShowsAndStoresTheNewTotalsWhenTheScreenCloses) {
    reg.tableName = kTable;
    reg.startPending = true;
    ui.Activate(reg);
    ui.Type(reg, reg.NomPreMaskEdit, "Bolo");
    ui.MoveFocus(reg, reg.DatPreMaskEdit);
    ui.OnShow("TCadIngFicTecForm", [&](Form&) {
        EXPECT_EQ(form.NomPreMaskEdit.text, Pad("Bolo", 40));
        Choose("Leite");
        Fill(form.PesLiqMaskEdit, "200", form.PesBruMaskEdit);
        ui.AnswerYes();
        ui.Press(form, form.GraBitBtn);
        ui.Press(form, form.RetBitBtn);
    });
    ui.Press(reg, reg.IngBitBtn);
    EXPECT_EQ(ui.ShownForms(), Texts{"TCadIngFicTecForm"});
    EXPECT_EQ(reg.KALPesMaskEdit.text, "   314,00");
    EXPECT_EQ(reg.CusPesMaskEdit.text, "     2,55");
    const std::string stored = SplitLines(ReadBytes(ListPath()))[0];
    EXPECT_EQ(GetField(F::kEnergyTotal, stored), "   314,00");
    EXPECT_EQ(GetField(F::kSodiumTotal, stored), "   101,00");
}

}  // namespace
}  // namespace velmaro
