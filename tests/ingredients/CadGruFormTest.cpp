#include "ingredients/CadGruForm.h"

#include <gtest/gtest.h>

#include <memory>
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
using test::PreparationRecord;
using test::ReadBytes;

const std::string kTable = Pad("Minha", 20);

std::string Group20(std::string_view name) {
    return Pad(name, 20) + "|";
}
std::string Group30(std::string_view name) {
    return Pad(name, 30) + "|";
}

class CadGruFormTest : public test::DataHomeTest {
  protected:
    fs::path IngGroups() const { return IngredientGroupsPath(Home(), kTable); }
    fs::path PreGroups() const { return PreparationGroupsPath(Home(), kTable); }
    fs::path PrepList() const { return PreparationListPath(Home(), kTable); }

    void Open(TCadGruForm& form) {
        form.tableName = kTable;
        form.startPending = true;
        ui.Activate(form);
    }
    // Types a name into the empty name field and leaves it.
    void Show(TCadGruForm& form, const std::string& name) {
        ui.MoveFocus(form, form.GruMaskEdit);
        ui.Type(form, form.GruMaskEdit, name);
        ui.MoveFocus(form, form.AltNomBitBtn);
    }

    test::ScriptedUi ui;
    TCadGruIngForm ing{ui, Home()};
    TCadGruPreForm pre{ui, Home()};
};

TEST_F(CadGruFormTest, EachScreenWorksOnItsOwnFileWithItsTitleAndWidth) {
    struct Case {
        TCadGruForm* form;
        std::string title;
        fs::path file;
        int width;
    };
    const std::vector<Case> cases{
        {&ing, "CADASTRO DE GRUPOS DE INGREDIENTES - Tabela ativa : Minha", IngGroups(), 20},
        {&pre, W("CADASTRO DE GRUPOS DE PREPARAÇÕES - Tabela ativa : Minha"), PreGroups(), 30},
    };
    for (const Case& c : cases) {
        TCadGruForm& form = *c.form;
        ui.ClearMessages();
        Open(form);
        EXPECT_EQ(form.caption, c.title);
        EXPECT_EQ(form.GruMaskEdit.maxLength, c.width);
        EXPECT_EQ(form.ActiveControl(), &form.GruMaskEdit);
        EXPECT_FALSE(form.AltNomBitBtn.enabled);

        ui.Press(form, form.LisBitBtn);
        EXPECT_EQ(ui.LastMessage(), W("Não existem registros no arquivo!"));

        Show(form, "Cereais");
        EXPECT_EQ(form.mode, ScreenMode::Inserting);
        EXPECT_EQ(form.ActiveControl(), &form.GraBitBtn);
        ui.AnswerYes();
        ui.Press(form, form.GraBitBtn);
        EXPECT_EQ(ui.LastMessage(), W("Inclusão efetuada com sucesso!"));
        EXPECT_EQ(ReadBytes(c.file), Pad("Cereais", static_cast<size_t>(c.width)) + "|\r\n");
        EXPECT_EQ(form.mode, ScreenMode::Empty);
        EXPECT_EQ(form.ActiveControl(), &form.GruMaskEdit);

        ui.Pick(0);
        ui.Press(form, form.LisBitBtn);
        EXPECT_EQ(ui.Pickers().back().caption, "LISTA DE GRUPOS");
        EXPECT_EQ(form.mode, ScreenMode::Showing);
        EXPECT_TRUE(form.AltNomBitBtn.enabled);
        ui.Press(form, form.RetBitBtn);
        EXPECT_TRUE(form.CloseRequested());
    }
}

TEST_F(CadGruFormTest, ANameInAnotherCaseIsFoundAndRefusedByTheRename) {
    test::WriteBytes(IngGroups(), Lines({Group20("Cereais"), Group20("Frutas")}));
    Open(ing);
    Show(ing, "cEREAIS");
    EXPECT_EQ(ing.mode, ScreenMode::Showing);
    EXPECT_EQ(ing.GruMaskEdit.text, Pad("Cereais", 20));

    struct Refused {
        std::string newName;
        std::string message;
    };
    for (const Refused& r : std::vector<Refused>{{"FRUTAS", W("Nome do grupo já existe!")},
                                                 {"", W("Código inválido!")}}) {
        ui.ClearMessages();
        ui.Rename(true, r.newName);
        ui.Press(ing, ing.AltNomBitBtn);
        EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{r.message}) << r.newName;
    }
    EXPECT_EQ(ui.RenameCalls().back().caption, "Altera nome do grupo de ingredientes");
    EXPECT_EQ(ui.RenameCalls().back().mask, ing.GruMaskEdit.Mask());
    EXPECT_EQ(ReadBytes(IngGroups()), Lines({Group20("Cereais"), Group20("Frutas")}));
}

TEST_F(CadGruFormTest, AnIngredientGroupInUseIsReportedWithItsIngredientsAndKept) {
    test::WriteBytes(IngGroups(), Lines({Group20("Cereais"), Group20("Frutas")}));
    // The ingredient named "Cereais" holds the padded group name in its own name only.
    test::WriteIngredients(Home(), kTable,
                           {IngredientRecord("Arroz", Pad("Cereais", 20)),
                            IngredientRecord("Aveia", Pad("Cereais", 20)),
                            IngredientRecord("Cereais", Pad("Frutas", 20)),
                            IngredientRecord(W("Maçã"), Pad("Frutas", 20))});
    Open(ing);
    Show(ing, "Cereais");
    ui.Press(ing, ing.ExcBitBtn);
    ASSERT_EQ(ui.InUseReports().size(), 1u);
    EXPECT_EQ(ui.InUseReports()[0].message,
              W(" O grupo de ingrediente <<<Cereais>>>//"
                " não pode ser excluido porque é o grupo definido para os//"
                " ingredientes listados abaixo. Se realmente deseja excluí-lo,//"
                " você deve alterar o grupo dos ingredientes da lista.//"
                " Para facilitar seu trabalho imprima ou salve a lista.//"));
    EXPECT_EQ(ui.InUseReports()[0].items,
              (std::vector<std::string>{Pad("Arroz", 60), Pad("Aveia", 60)}));
    EXPECT_TRUE(ui.Messages().empty()) << "no question while the group is in use";
    EXPECT_EQ(ing.mode, ScreenMode::Deleting);
    EXPECT_EQ(ReadBytes(IngGroups()), Lines({Group20("Cereais"), Group20("Frutas")}));
    EXPECT_EQ(ui.ProgressLog().maximum, 4);
    EXPECT_FALSE(ui.ProgressLog().open);

    // Both ingredients moved to another group: the next Exclui scans again and deletes.
    test::WriteIngredients(
        Home(), kTable,
        {IngredientRecord("Arroz", Pad("Frutas", 20)), IngredientRecord("Aveia", ""),
         IngredientRecord("Cereais", Pad("Frutas", 20)),
         IngredientRecord(W("Maçã"), Pad("Frutas", 20))});
    ui.AnswerYes();
    ui.Press(ing, ing.ExcBitBtn);
    EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{W("Confirma exclusão?"),
                                                           W("Exclusão efetuada com sucesso!")}));
    EXPECT_EQ(ui.InUseReports().size(), 1u);
    EXPECT_EQ(ReadBytes(IngGroups()), Lines({Group20("Frutas")}));
    EXPECT_EQ(ing.mode, ScreenMode::Empty);
}

TEST_F(CadGruFormTest, APreparationGroupRenameChangesField39OfExactlyItsPreparations) {
    test::WriteBytes(PreGroups(), Lines({Group30("Pratos"), Group30("Sobremesas")}));
    // In the order of the file, which the rename keeps.
    const std::vector<std::string> before{
        PreparationRecord("Pudim", Pad("Sobremesas", 30)),
        PreparationRecord("Feijoada", Pad("Pratos", 30)),
        PreparationRecord("Arroz doce", Pad("Sobremesas", 30)),
        PreparationRecord("Salada", ""),
    };
    test::WriteBytes(PrepList(), Lines(before));
    Open(pre);
    Show(pre, "Sobremesas");
    ui.Press(pre, pre.ExcBitBtn);
    ASSERT_EQ(ui.InUseReports().size(), 1u);
    EXPECT_EQ(ui.InUseReports()[0].message,
              W(" O grupo de preparação <<<Sobremesas>>>//"
                " não pode ser excluido porque é o grupo definido para as//"
                " preparações listadas abaixo. Se realmente deseja excluí-lo,//"
                " você deve alterar o grupo das preparações da lista.//"
                " Para facilitar seu trabalho imprima ou salve a lista."));
    EXPECT_EQ(ui.InUseReports()[0].items,
              (std::vector<std::string>{Pad("Pudim", 40), Pad("Arroz doce", 40)}));

    pre.NovBitBtn.Click();
    Show(pre, "Sobremesas");
    ui.Rename(true, "Doces");
    ui.Press(pre, pre.AltNomBitBtn);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(ui.RenameCalls().back().caption, W("Altera nome do grupo de preparações"));
    EXPECT_EQ(pre.GruMaskEdit.text, Pad("Doces", 30));
    EXPECT_EQ(pre.mode, ScreenMode::Showing);
    EXPECT_EQ(pre.currentIndex, 0);
    EXPECT_EQ(ReadBytes(PreGroups()), Lines({Group30("Doces"), Group30("Pratos")}));
    EXPECT_EQ(ReadBytes(PrepList()),
              Lines({PreparationRecord("Pudim", Pad("Doces", 30)), before[1],
                     PreparationRecord("Arroz doce", Pad("Doces", 30)), before[3]}));
}

TEST_F(CadGruFormTest, AnIngredientGroupRenameRewritesTheIngredientFileScrambled) {
    test::WriteBytes(IngGroups(), Lines({Group20("Cereais"), Group20("Legumes")}));
    const std::string arroz = IngredientRecord("Arroz", Pad("Cereais", 20));
    const std::string milho = IngredientRecord("Milho", Pad("Cereais", 20));
    const std::string chuchu = IngredientRecord("Chuchu", Pad("Legumes", 20));
    // Scrambled in an order of its own: a rewrite puts the records in key order.
    LineList unsorted;
    unsorted.SetSorted(false);
    unsorted.Assign({milho, chuchu, arroz});
    test::WriteBytes(IngredientFilePath(Home(), kTable), ScrambledLineTableBytes(unsorted));
    auto scrambled = [](std::vector<std::string> lines) {
        LineList list;
        list.Assign(std::move(lines));
        return ScrambledLineTableBytes(list);
    };

    Open(ing);
    Show(ing, "Legumes");  // used by no ingredient but Chuchu: renamed, the file rewritten
    ui.Rename(true, "Verduras");
    ui.Press(ing, ing.AltNomBitBtn);
    const std::string chuchuRenamed = IngredientRecord("Chuchu", Pad("Verduras", 20));
    EXPECT_EQ(ReadBytes(IngredientFilePath(Home(), kTable)),
              scrambled({arroz, chuchuRenamed, milho}));

    ing.NovBitBtn.Click();
    Show(ing, "Cereais");
    ui.Rename(true, W("Grãos"));
    ui.Press(ing, ing.AltNomBitBtn);
    const std::vector<std::string> after{IngredientRecord("Arroz", Pad(W("Grãos"), 20)),
                                         chuchuRenamed,
                                         IngredientRecord("Milho", Pad(W("Grãos"), 20))};
    EXPECT_EQ(test::ReadIngredients(Home(), kTable), after);
    const std::string bytes = ReadBytes(IngredientFilePath(Home(), kTable));
    EXPECT_EQ(bytes, scrambled(after));
    EXPECT_EQ(bytes.find("Arroz"), std::string::npos);
    EXPECT_EQ(ReadBytes(IngGroups()), Lines({Group20(W("Grãos")), Group20("Verduras")}));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CadGruFormTest, AFailedRenameLeavesEveryFileAsItWas) {
    // Many groups, so that the group file is the write that fails.
    std::vector<std::string> groups;
    for (int i = 0; i < 30; ++i) {
        groups.push_back(Group20("Grupo " + std::to_string(10 + i)));
    }
    test::WriteBytes(IngGroups(), Lines(groups));
    test::WriteIngredients(Home(), kTable, {IngredientRecord("Arroz", Pad("Grupo 10", 20))});
    const std::string ingredientsBefore = ReadBytes(IngredientFilePath(Home(), kTable));
    Open(ing);
    Show(ing, "Grupo 10");
    {
        test::FileSizeLimit limit(400);
        ui.Rename(true, "Cereais");
        ui.Press(ing, ing.AltNomBitBtn);
    }
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Erro durante a alteração!")});
    EXPECT_EQ(ReadBytes(IngGroups()), Lines(groups));
    EXPECT_EQ(ReadBytes(IngredientFilePath(Home(), kTable)), ingredientsBefore);
    EXPECT_EQ(ing.GruMaskEdit.text, Pad("Grupo 10", 20));
    EXPECT_EQ(ing.table.keys[ing.currentIndex], Pad("Grupo 10", 20));
    EXPECT_EQ(ing.mode, ScreenMode::Showing);
    EXPECT_FALSE(ui.ProgressLog().open);
}

TEST_F(CadGruFormTest, EveryChangeIsReportedAsDoneOrFailed) {
    struct Case {
        const char* what;
        std::string name;  // typed into the empty field
        Button TCadGruForm::*button;
        bool failWrite;
        std::vector<std::string> messages;
        std::string fileAfter;
    };
    const std::string both = Lines({Group20("Cereais"), Group20("Frutas")});
    const std::vector<Case> cases{
        {"inclusion",
         "Massas",
         &TCadGruForm::GraBitBtn,
         false,
         {W("Confirma inclusão?"), W("Inclusão efetuada com sucesso!")},
         Lines({Group20("Cereais"), Group20("Frutas"), Group20("Massas")})},
        {"inclusion",
         "Massas",
         &TCadGruForm::GraBitBtn,
         true,
         {W("Confirma inclusão?"), W("Erro durante inclusão!")},
         both},
        {"alteration",
         "Frutas",
         &TCadGruForm::GraBitBtn,
         false,
         {W("Confirma alteração?"), W("Alteração efetuada com sucesso!")},
         both},
        {"alteration",
         "Frutas",
         &TCadGruForm::GraBitBtn,
         true,
         {W("Confirma alteração?"), W("Erro durante a alteração!")},
         both},
        {"deletion",
         "Frutas",
         &TCadGruForm::ExcBitBtn,
         false,
         {W("Confirma exclusão?"), W("Exclusão efetuada com sucesso!")},
         Lines({Group20("Cereais")})},
        {"deletion",
         "Frutas",
         &TCadGruForm::ExcBitBtn,
         true,
         {W("Confirma exclusão?"), W("Erro durante exclusão!")},
         both},
    };
    for (const Case& c : cases) {
        test::WriteBytes(IngGroups(), both);
        ui.ClearMessages();
        Open(ing);
        Show(ing, c.name);
        ui.AnswerYes();
        {
            std::unique_ptr<test::FileSizeLimit> limit;
            if (c.failWrite) {
                limit = std::make_unique<test::FileSizeLimit>(16);
            }
            ui.Press(ing, ing.*c.button);
        }
        EXPECT_EQ(ui.MessageTexts(), c.messages) << c.what << c.failWrite;
        EXPECT_EQ(ReadBytes(IngGroups()), c.fileAfter) << c.what << c.failWrite;
        EXPECT_EQ(ing.mode, ScreenMode::Empty) << c.what << c.failWrite;
        ui.Press(ing, ing.RetBitBtn);
    }
}

}  // namespace
}  // namespace velmaro
