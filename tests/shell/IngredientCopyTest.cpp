// Copying ingredients from another table into the active one through the ingredient
// viewer: sources, groups, measures, refusals, and the one write of the ingredient file.

#include "shell/IngredientCopy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ViewerFixtures.h"
#include "shell/TableCarbohydrate.h"
#include "storage/FileIo.h"
#include "support/FileSizeLimit.h"

namespace velmaro {
namespace {

using test::Pad;
using test::ReadBytes;
using Names = std::vector<std::string>;

const std::string kConfirm = W("Confirma inclusão do ingrediente na Tabela Ativa?");
const std::string kCopied = W("O ingrediente foi copiado com sucesso para a tabela ativa!");

class IngredientCopyTest : public test::IngredientViewerTest {
  protected:
    IngredientCopyTest() {
        test::TestIngredient lentilha("Lentilha", "  93,00", "Leguminosas");
        lentilha.protein = "   6,30";
        lentilha.cost = "    12,00";
        oficial = {
            lentilha,
            {"Manga", "  64,00", "Frutas"},
            {"Chuchu", "  17,00", " "},
            {"Milho", "       ", "cereais"},
            {"ARROZ BRANCO", " 128,00"},
        };
        test::WriteIngredientFile(Home(), "Oficial", oficial);
        test::WriteIngredientFile(Home(), "Outra", {{"Lentilha", "  93,00"}});
    }

    // Views the table, selects the row and presses "Copia Ingrediente p/ Ativa".
    void Copy(const std::string& table, const std::string& name, bool answerYes = true) {
        if (form.ViewedTableName() != Pad(table, 20)) {
            View(table);
        }
        SelectRow(name);
        if (answerYes) {
            ui.AnswerYes();
        }
        ui.Press(form, form.CopIngBitBtn);
    }
    std::string ActiveRow(const std::string& name) const {
        const FindResult found = FindKey(active.keys, Pad(W(name), 60));
        return found.found ? active.lines[found.index] : std::string();
    }
    fs::path Measures(const std::string& table, const std::string& name) const {
        return MeasureFilePath(Home(), Pad(table, 20), Pad(name, 60), false);
    }
    fs::path ActiveGroups() const { return IngredientGroupsPath(Home(), kMinha); }

    std::vector<test::TestIngredient> oficial;
};

TEST_F(IngredientCopyTest, FromASuppliedTableTheFilledValuesTakeItsDescriptionAsSource) {
    Open();
    Copy("Oficial", "Lentilha");
    EXPECT_EQ(ui.MessageTexts(), (Names{kConfirm, kCopied}));
    EXPECT_TRUE(form.copied);
    const std::string row = ActiveRow("Lentilha");
    ASSERT_FALSE(row.empty());
    for (int field = 18; field <= 30; ++field) {
        // Energy (2), protein (4) and cost (16) hold values; the rest are blank.
        const bool filled = field == 18 || field == 20 || field == 30;
        EXPECT_EQ(GetField(field, row), filled ? "Tabela X" : "Fonte " + std::to_string(field))
            << field;
    }
    for (int field = 1; field <= 17; ++field) {
        EXPECT_EQ(GetField(field, row), GetField(field, test::IngredientRow(oficial[0]))) << field;
    }
    // The viewer goes on showing the other table with the row selected as it was.
    EXPECT_FALSE(form.ViewingActiveTable());
    EXPECT_EQ(Shown()[static_cast<size_t>(form.LisFilOrdListBox.itemIndex)], "Lentilha");
    EXPECT_EQ(
        GetField(18,
                 form.LisFilOrdListBox.items[static_cast<size_t>(form.LisFilOrdListBox.itemIndex)]),
        "Fonte 18");
}

TEST_F(IngredientCopyTest, FromAUserTableTheSourcesStayAsTheyWere) {
    Open();
    Copy("Outra", "Lentilha");
    EXPECT_EQ(ActiveRow("Lentilha"), test::IngredientRow({"Lentilha", "  93,00"}));
}

// "Oficial" records its carbohydrate with the fibre inside (as TACO), "Minha" and "Outra"
// without: the copy converts, and an unknown fibre leaves the carbohydrate unknown.
TEST_F(IngredientCopyTest, CarbohydrateIsConvertedBetweenTablesThatCountFibreDifferently) {
    auto withCarbohydrate = [](const std::string& name, const std::string& carbohydrate,
                               const std::string& fibre) {
        std::string row = test::IngredientRow({name, " 100,00"});
        SetField(3, row, carbohydrate);
        SetField(8, row, fibre);
        return row;
    };
    LineTable oficialTable;
    LoadLineTableFromBytes(withCarbohydrate("Aveia", "  66,60", "   9,10") + "\r\n" +
                               withCarbohydrate("Farelo", "   2,00", "  40,00") + "\r\n" +
                               withCarbohydrate("Leite condensado", "  57,00", "    ,  ") + "\r\n",
                           oficialTable);
    NullProgress quiet;
    SaveScrambledLineTable(IngredientFilePath(Home(), Pad("Oficial", 20)), oficialTable.lines,
                           quiet);
    LineTable outraTable;
    LoadLineTableFromBytes(withCarbohydrate("Centeio", "  60,00", "  15,00") + "\r\n", outraTable);
    SaveScrambledLineTable(IngredientFilePath(Home(), Pad("Outra", 20)), outraTable.lines, quiet);
    StoreCarbohydrateIncludesFibre(Home(), Pad("Oficial", 20), true);

    Open();
    Copy("Oficial", "Aveia");
    EXPECT_EQ(GetField(3, ActiveRow("Aveia")), "  57,50");  // 66,6 - 9,1
    EXPECT_EQ(GetField(19, ActiveRow("Aveia")), "Tabela X");
    EXPECT_EQ(GetField(8, ActiveRow("Aveia")), "   9,10");
    Copy("Oficial", "Farelo");
    EXPECT_EQ(GetField(3, ActiveRow("Farelo")), "   0,00");  // never below 0
    ui.ClearMessages();
    Copy("Oficial", "Leite condensado");
    EXPECT_EQ(GetField(3, ActiveRow("Leite condensado")), "    ,  ");
    EXPECT_EQ(GetField(19, ActiveRow("Leite condensado")), "");
    EXPECT_EQ(ui.MessageTexts(),
              (Names{kConfirm,
                     W("A fibra alimentar de Leite condensado não é conhecida: o carboidrato foi "
                       "copiado em branco (desconhecido), pois a tabela Oficial inclui a fibra no "
                       "carboidrato e a tabela Minha não."),
                     kCopied}));

    // The other way: the fibre is added to the carbohydrate.
    StoreCarbohydrateIncludesFibre(Home(), kMinha, true);
    StoreCarbohydrateIncludesFibre(Home(), Pad("Oficial", 20), false);
    Copy("Outra", "Centeio");
    EXPECT_EQ(GetField(3, ActiveRow("Centeio")), "  75,00");
    EXPECT_EQ(GetField(19, ActiveRow("Centeio")), "Fonte 19");

    // A file that cannot be read stops the copy before anything is written.
    test::WriteBytes(CarbohydrateFibreFileLocation(Home(), Pad("Outra", 20)),
                     "[Tabela]\r\nCarboidratoIncluiFibra=talvez\r\n");
    ui.ClearMessages();
    active.Clear();
    Copy("Outra", "Centeio", false);
    EXPECT_EQ(ui.Messages().size(), 1u);
    EXPECT_NE(ui.LastMessage().find("danificado"), std::string::npos) << ui.LastMessage();
    EXPECT_TRUE(ActiveRow("Centeio").empty());
}

TEST(WithSourcesFrom, TrimsTheDescriptionAndKeepsTheCostSourceToItsWidth) {
    test::TestIngredient setup("X", "  10,00");
    setup.cost = "     1,00";
    std::string row = test::IngredientRow(setup);
    SetField(3, row, "");  // a field without even its blank text holds no value
    const std::string description = Pad(W("Tabela Brasileira de Composição de Alimentos"), 65);
    const std::string copied = WithSourcesFrom(row, description);
    EXPECT_EQ(GetField(18, copied), W("Tabela Brasileira de Composição de Alimentos"));
    EXPECT_EQ(GetField(19, copied), "Fonte 19");
    EXPECT_EQ(GetField(30, copied), W("Tabela Brasileira de Composição d"));  // 33 characters
}

TEST_F(IngredientCopyTest, AMissingGroupIsAddedToTheActiveGroupFileABlankOneIsNot) {
    const std::string before = ReadBytes(ActiveGroups());
    Open();
    Copy("Oficial", "Chuchu");  // a group of spaces only
    Copy("Oficial", "Milho");   // "cereais": the active table has "Cereais"
    EXPECT_EQ(ReadBytes(ActiveGroups()), before);
    Copy("Oficial", "Manga");
    EXPECT_EQ(ReadBytes(ActiveGroups()), Pad("Carnes", 20) + "|\r\n" + Pad("Cereais", 20) +
                                             "|\r\n" + Pad("Frutas", 20) + "|\r\n" +
                                             Pad("Leguminosas", 20) + "|\r\n");
    EXPECT_EQ(GetField(13, ActiveRow("Manga")), Pad("Frutas", 20));
}

TEST_F(IngredientCopyTest, AMeasuresFileReplacesTheActiveOneOfTheSameName) {
    const std::string concha = Pad("Concha", 20) + "|   100,0|\r\n";
    test::WriteBytes(Measures("Oficial", "Lentilha"), concha);
    test::WriteBytes(Measures("Minha", "Lentilha"), Pad("Velha", 20) + "|    10,0|\r\n");
    const std::string untouched = Pad("Fatia", 20) + "|    30,0|\r\n";
    test::WriteBytes(Measures("Minha", "Manga"), untouched);
    Open();
    Copy("Oficial", "Lentilha");
    Copy("Oficial", "Manga");   // no measures of its own: the active file stays
    Copy("Oficial", "Chuchu");  // none on either side: none made
    EXPECT_EQ(ReadBytes(Measures("Minha", "Lentilha")), concha);
    EXPECT_EQ(ReadBytes(Measures("Minha", "Manga")), untouched);
    EXPECT_FALSE(fs::exists(Measures("Minha", "Chuchu")));
}

TEST_F(IngredientCopyTest, TwoCopiesThenLeavingWriteTheIngredientFileOnceWithBoth) {
    const fs::path file = IngredientFilePath(Home(), kMinha);
    NullProgress quiet;
    SaveScrambledLineTable(file, active.lines, quiet);
    const std::string before = ReadBytes(file);
    Open();
    Copy("Oficial", "Lentilha");
    Copy("Oficial", "Manga");
    EXPECT_EQ(ReadBytes(file), before);  // nothing written while copying
    EXPECT_EQ(active.keys.Count(), 6);

    Check(form.NomTabCheckBox);  // back to the active table, which lists the copies
    EXPECT_EQ(form.LisFilOrdListBox.items, active.lines.Items());
    const int savesBefore = ui.ProgressLog().begins;
    SelectRow("Manga");
    ui.Press(form, form.RetBitBtn);
    EXPECT_EQ(ui.ProgressLog().begins, savesBefore + 1);
    EXPECT_TRUE(form.copied);
    EXPECT_TRUE(form.wroteFile);
    EXPECT_EQ(form.chosenIndex, KeyIndex("Manga"));

    const std::string written = ReadBytes(file);
    EXPECT_EQ(written.find("Lentilha"), std::string::npos);  // scrambled
    LineTable reread;
    LoadScrambledLineTable(file, reread, quiet);
    EXPECT_EQ(reread.lines.Items(), active.lines.Items());
    EXPECT_EQ(ActiveRow("Lentilha").substr(0, 60), Pad("Lentilha", 60));
}

TEST_F(IngredientCopyTest, RefusedForATableThatCannotChangeOrANameItHolds) {
    test::WriteBytes(Measures("Oficial", "ARROZ BRANCO"), Pad("Xícara", 20) + "|   160,0|\r\n");
    const std::vector<std::string> lines = active.lines.Items();
    Open();
    Copy("Oficial", "ARROZ BRANCO", false);  // "Arroz branco" is there already
    EXPECT_EQ(ui.MessageTexts(), (Names{W("O ingrediente já existe na Tabela Ativa!")}));
    EXPECT_FALSE(fs::exists(Measures("Minha", "ARROZ BRANCO")));

    ui.ClearMessages();
    ui.AnswerNo();
    Copy("Oficial", "Manga", false);
    EXPECT_EQ(ui.MessageTexts(), (Names{kConfirm}));

    ui.ClearMessages();
    activeTable.editable = false;
    Copy("Oficial", "Manga", false);
    EXPECT_EQ(ui.MessageTexts(), (Names{W("A tabela Minha não pode ser alterada!")}));

    EXPECT_EQ(active.lines.Items(), lines);
    EXPECT_FALSE(form.copied);
    EXPECT_EQ(ReadBytes(ActiveGroups()).find("Frutas"), std::string::npos);
    Check(form.NomTabCheckBox);
    ui.Press(form, form.RetBitBtn);
    EXPECT_FALSE(form.wroteFile);

    // A table its register keeps to consultation (a file beside it did not read whole), or
    // whose ingredient file did not: nothing is copied into it, no file is touched.
    activeTable.editable = true;
    for (const bool damagedFile : {false, true}) {
        SCOPED_TRACE(damagedFile);
        LineTable target = active;
        if (damagedFile) {
            LoadLineTableFromBytes(JoinLinesCrLf(lines) + JoinLinesCrLf({lines[0]}), target);
            ASSERT_TRUE(target.lines.Damaged());
            form.Prepare(kMinha, target, 0);
            ui.Activate(form);
        } else {
            Open(0, false);
        }
        ui.ClearMessages();
        Copy("Oficial", "Manga", false);
        EXPECT_EQ(ui.MessageTexts(), (Names{W("A tabela Minha não pode ser alterada!")}));
        EXPECT_FALSE(form.copied);
        EXPECT_FALSE(fs::exists(Measures("Minha", "Manga")));
        EXPECT_EQ(ReadBytes(ActiveGroups()).find("Frutas"), std::string::npos);
        Check(form.NomTabCheckBox);
        ui.Press(form, form.RetBitBtn);
        EXPECT_FALSE(form.wroteFile);
    }
}

TEST_F(IngredientCopyTest, EnterAsksFirstADoubleClickCopiesAtOnce) {
    Open();
    View("Oficial");
    SelectRow("Lentilha");
    form.SetFocus(&form.LisFilOrdListBox);
    ui.AnswerNo();
    PressEnterKey(form);
    EXPECT_EQ(ui.MessageTexts(), (Names{W("Copia ingrediente para tabela ativa?")}));
    EXPECT_FALSE(form.CloseRequested());

    ui.ClearMessages();
    ui.AnswerYes();
    ui.AnswerYes();
    PressEnterKey(form);
    EXPECT_EQ(ui.MessageTexts(),
              (Names{W("Copia ingrediente para tabela ativa?"), kConfirm, kCopied}));

    ui.ClearMessages();
    SelectRow("Manga");
    ui.AnswerYes();
    form.LisFilOrdListBox.onDblClick();
    EXPECT_EQ(ui.MessageTexts(), (Names{kConfirm, kCopied}));
    EXPECT_FALSE(form.CloseRequested());
    EXPECT_FALSE(ActiveRow("Manga").empty());
}

TEST_F(IngredientCopyTest, AFailedWriteOnLeavingIsReportedAndTheCopiesStayWithTheCaller) {
    Open();
    Copy("Oficial", "Lentilha");
    Check(form.NomTabCheckBox);
    ui.ClearMessages();
    {
        test::FileSizeLimit limit(800);  // less than the ingredient file, more than the settings
        ui.Press(form, form.RetBitBtn);
    }
    EXPECT_EQ(ui.MessageTexts(), (Names{W("Erro durante inclusão!")}));
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_TRUE(form.copied);
    EXPECT_FALSE(form.wroteFile);
    EXPECT_FALSE(ActiveRow("Lentilha").empty());
}

}  // namespace
}  // namespace velmaro
