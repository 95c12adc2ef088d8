#include "shell/CadTabForm.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Interaction.h"
#include "shell/NameRules.h"
#include "shell/TableCarbohydrate.h"
#include "storage/Cp1252.h"
#include "storage/Paths.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;
using test::ReadBytes;

std::string Record(std::string_view name, std::string_view description, std::string_view flag) {
    return Pad(name, 20) + "|" + std::string(description) + "|" + std::string(flag) + "|\r\n";
}

// A user table and a table supplied with the installation.
const std::string kMinha = Record("Minha", Pad("Tabela propria", 65), "1");
const std::string kOficial = Record("Oficial", "Tabela oficial", "0");

class CadTabFormTest : public test::DataHomeTest {
  protected:
    CadTabFormTest() { test::WriteBytes(ListPath(), kMinha + kOficial); }

    fs::path ListPath() const { return Home() / "Dados" / "ArqTab.dad"; }
    std::string ListBytes() const { return ReadBytes(ListPath()); }

    void Open() {
        form.startPending = true;
        ui.Activate(form);
    }
    // Types a name into the empty key field and leaves it for `next`.
    void Leave(const std::string& name, Control& next) {
        ui.Type(form, form.TabMaskEdit, name);
        ui.MoveFocus(form, next);
    }
    void Show(const std::string& name) { Leave(name, form.DesTabMaskEdit); }

    test::ScriptedUi ui;
    TCadTabForm form{ui, Home()};
};

TEST_F(CadTabFormTest, OpensEmptyWithTheButtonBar) {
    Open();
    EXPECT_EQ(form.caption, "CADASTRA NOME PARA NOVA TABELA DE INGREDIENTES");
    EXPECT_EQ(form.mode, ScreenMode::Empty);
    EXPECT_EQ(form.ActiveControl(), &form.TabMaskEdit);
    EXPECT_EQ(form.TabMaskEdit.text, Pad("", 20));
    EXPECT_FALSE(form.DesTabMaskEdit.enabled);
    std::vector<std::string> captions;
    for (Button* b : {&form.GraBitBtn, &form.NovBitBtn, &form.ExcBitBtn, &form.AntBitBtn,
                      &form.ProBitBtn, &form.LisBitBtn, &form.AjuBitBtn, &form.RetBitBtn}) {
        captions.push_back(Cp1252ToUtf8(b->caption));
        EXPECT_EQ(b->width, 60);
        EXPECT_EQ(b->height, 50);
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"&Grava", "&Novo", "&Exclui", "&Anterior",
                                                  "&Próximo", "&Lista", "A&juda", "&Retorna"}));
    EXPECT_EQ(form.Layout().children.front().kind, LayoutItem::Kind::Row);
}

TEST_F(CadTabFormTest, ExistingNameInAnotherCaseIsShownWithItsStoredSpelling) {
    Open();
    Show("mINHA");
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(form.TabMaskEdit.text, Pad("Minha", 20));
    EXPECT_EQ(form.DesTabMaskEdit.text, Pad("Tabela propria", 65));
    EXPECT_FALSE(form.TabMaskEdit.enabled);
    EXPECT_TRUE(form.DesTabMaskEdit.enabled);
    EXPECT_EQ(form.ActiveControl(), &form.DesTabMaskEdit);
    // Storing it again rewrites the one record; no second table of that name appears.
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{W("Confirma alteração?"),
                                                           W("Alteração efetuada com sucesso!")}));
    EXPECT_EQ(ListBytes(), kMinha + kOficial);
    EXPECT_EQ(form.mode, ScreenMode::Empty);
}

TEST_F(CadTabFormTest, LeavingABlankNameIsRefusedUnlessForRetornaListaNovoOrAjuda) {
    Open();
    for (Control* exempt : std::vector<Control*>{&form.RetBitBtn, &form.LisBitBtn, &form.NovBitBtn,
                                                 &form.AjuBitBtn}) {
        form.SetFocus(&form.TabMaskEdit);
        EXPECT_TRUE(ui.MoveFocus(form, *exempt)) << exempt->Name();
        EXPECT_TRUE(ui.Messages().empty()) << exempt->Name();
    }
    // Tab or Enter: with the data fields and Grava disabled they walk onto Novo, which
    // is no press of it.
    for (const bool enter : {false, true}) {
        ui.ClearMessages();
        form.SetFocus(&form.TabMaskEdit);
        if (enter) {
            PressEnterKey(form);
        } else {
            ui.Tab(form);
        }
        EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Código inválido!")}) << enter;
        EXPECT_EQ(form.ActiveControl(), &form.TabMaskEdit) << enter;
        EXPECT_EQ(form.mode, ScreenMode::Empty);
        EXPECT_FALSE(form.CloseRequested());
    }

    ui.ClearMessages();
    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CadTabFormTest, AnteriorOnTheFirstAndProximoOnTheLastDisableThemselves) {
    Open();
    ui.Pick(0);
    ui.Press(form, form.LisBitBtn);
    ASSERT_EQ(ui.Pickers().size(), 1u);
    EXPECT_EQ(ui.Pickers()[0].caption, "LISTA DE NOMES DAS TABELAS");
    EXPECT_EQ(ui.Pickers()[0].items,
              (std::vector<std::string>{Pad("Minha", 20), Pad("Oficial", 20)}));
    EXPECT_EQ(form.mode, ScreenMode::Showing);

    ui.Press(form, form.AntBitBtn);
    EXPECT_FALSE(form.AntBitBtn.enabled);
    EXPECT_EQ(form.TabMaskEdit.text, Pad("Minha", 20));

    ui.Press(form, form.ProBitBtn);
    EXPECT_TRUE(form.AntBitBtn.enabled);
    EXPECT_EQ(form.TabMaskEdit.text, Pad("Oficial", 20));
    EXPECT_EQ(form.DesTabMaskEdit.text, Pad("Tabela oficial", 65));
    EXPECT_FALSE(form.DesTabMaskEdit.enabled) << "a supplied table cannot be described";

    ui.Press(form, form.ProBitBtn);
    EXPECT_FALSE(form.ProBitBtn.enabled);
    EXPECT_EQ(form.TabMaskEdit.text, Pad("Oficial", 20));

    ui.Press(form, form.AntBitBtn);
    EXPECT_EQ(form.TabMaskEdit.text, Pad("Minha", 20));
    EXPECT_TRUE(form.DesTabMaskEdit.enabled);
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CadTabFormTest, ListaOnAnEmptyFileSaysSo) {
    test::WriteBytes(ListPath(), "");
    Open();
    ui.Press(form, form.LisBitBtn);
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Não existem registros no arquivo!")});
    EXPECT_TRUE(ui.Pickers().empty());
    EXPECT_EQ(form.mode, ScreenMode::Empty);
}

TEST_F(CadTabFormTest, ExcluiAfterDecliningAnAlterationIsALogicErrorAndCloses) {
    Open();
    Show("Minha");
    ui.AnswerNo();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(form.mode, ScreenMode::Altering);
    EXPECT_EQ(form.ActiveControl(), &form.DesTabMaskEdit);
    ui.Press(form, form.ExcBitBtn);
    EXPECT_EQ(ui.MessageTexts(),
              (std::vector<std::string>{W("Confirma alteração?"), W("Erro de lógica!")}));
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(ListBytes(), kMinha + kOficial);
}

TEST_F(CadTabFormTest, InclusionEmptiesTheScreenAndWritesOnlyTheTableList) {
    Open();
    Leave("Nova", form.DesTabMaskEdit);
    EXPECT_EQ(form.mode, ScreenMode::Inserting);
    EXPECT_FALSE(form.TabMaskEdit.enabled);
    EXPECT_TRUE(form.DesTabMaskEdit.enabled);
    EXPECT_EQ(form.ActiveControl(), &form.DesTabMaskEdit);
    EXPECT_FALSE(form.ExcBitBtn.enabled);
    EXPECT_FALSE(form.LisBitBtn.enabled);
    ui.Type(form, form.DesTabMaskEdit, "Tabela nova");

    ui.AnswerNo();  // NÃO keeps the record being typed
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(form.mode, ScreenMode::Inserting);
    EXPECT_EQ(form.ActiveControl(), &form.DesTabMaskEdit);
    EXPECT_EQ(ListBytes(), kMinha + kOficial);

    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Inclusão efetuada com sucesso!"));
    EXPECT_EQ(form.mode, ScreenMode::Empty);
    EXPECT_EQ(form.ActiveControl(), &form.TabMaskEdit);
    EXPECT_TRUE(form.TabMaskEdit.enabled);
    EXPECT_EQ(form.TabMaskEdit.text, Pad("", 20));
    EXPECT_EQ(form.DesTabMaskEdit.text, Pad("", 65));
    EXPECT_EQ(ListBytes(), kMinha + Record("Nova", Pad("Tabela nova", 65), "1") + kOficial);
    EXPECT_FALSE(fs::exists(Home() / "Dados" / "Nova"));
}

TEST_F(CadTabFormTest, ForbiddenCharactersAreRefusedAsTheyAreTyped) {
    Open();
    ui.Type(form, form.TabMaskEdit, "Min_ha");
    EXPECT_EQ(ui.MessageTexts(),
              std::vector<std::string>{W("Não é permitido utilizar o caracter (_) !")});
    EXPECT_EQ(form.TabMaskEdit.text, Pad("Minha", 20));

    for (const char c : std::string("\\:*?\"<>|")) {
        ui.ClearMessages();
        form.TabMaskEdit.Clear();
        ui.Type(form, form.TabMaskEdit, std::string("A") + c + "/");
        EXPECT_EQ(ui.LastMessage(), ForbiddenCharMessage(c));
        EXPECT_EQ(form.TabMaskEdit.text, Pad("A/", 20)) << c;
    }

    form.TabMaskEdit.Clear();
    Leave("Nova", form.DesTabMaskEdit);
    ui.ClearMessages();
    ui.Type(form, form.DesTabMaskEdit, "a|b");
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{ForbiddenCharMessage('|')});
    EXPECT_EQ(form.DesTabMaskEdit.text, Pad("ab", 65));

    // A pasted text gets the same treatment: no "|" can reach a record.
    ui.ClearMessages();
    UserSetText(form.DesTabMaskEdit, Pad("colado|aqui", 65));
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{ForbiddenCharMessage('|')});
    EXPECT_EQ(form.DesTabMaskEdit.text, Pad("colado aqui", 65));
}

TEST_F(CadTabFormTest, SuppliedTableCanOnlyBeConsulted) {
    const std::string message = W("A tabela Oficial está disponível somente para consulta!");
    for (Button* button : {&form.GraBitBtn, &form.ExcBitBtn}) {
        ui.ClearMessages();
        Open();
        Show("oficial");
        EXPECT_EQ(form.mode, ScreenMode::Showing);
        EXPECT_FALSE(form.DesTabMaskEdit.enabled);
        EXPECT_NE(form.ActiveControl(), &form.DesTabMaskEdit);
        ui.Press(form, *button);
        EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{message}) << button->Name();
        EXPECT_EQ(form.mode, ScreenMode::Showing);
        EXPECT_FALSE(form.CloseRequested());
        EXPECT_EQ(ListBytes(), kMinha + kOficial);
        ui.Press(form, form.RetBitBtn);
    }
}

TEST_F(CadTabFormTest, DeletingAndCreatingATableAgainFindsItsOldFolder) {
    const fs::path ingredients = IngredientFilePath(Home(), Pad("Minha", 20));
    test::WriteBytes(ingredients, "ingredientes antigos\r\n");
    Open();
    Show("Minha");
    ui.AnswerYes();
    ui.Press(form, form.ExcBitBtn);
    EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{W("Confirma exclusão?"),
                                                           W("Exclusão efetuada com sucesso!")}));
    EXPECT_EQ(form.mode, ScreenMode::Empty);
    EXPECT_EQ(ListBytes(), kOficial);
    EXPECT_EQ(ReadBytes(ingredients), "ingredientes antigos\r\n");

    Leave("Minha", form.DesTabMaskEdit);
    EXPECT_EQ(form.mode, ScreenMode::Inserting);
    ui.Type(form, form.DesTabMaskEdit, "De volta");
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ListBytes(), Record("Minha", Pad("De volta", 65), "1") + kOficial);
    EXPECT_EQ(IngredientFilePath(Home(), Pad("Minha", 20)), ingredients);
    EXPECT_EQ(ReadBytes(ingredients), "ingredientes antigos\r\n");
}

// Whether a table's carbohydrate includes fibre: "Não" unless chosen, kept in a file of
// its own in the table's folder, read back when the table is shown, found again by a
// table created anew under the name of a deleted one; a supplied table shows its answer.
TEST_F(CadTabFormTest, CarbohydrateWithFibreIsAChoiceKeptBesideTheTable) {
    const fs::path nova = CarbohydrateFibreFileLocation(Home(), Pad("Nova", 20));
    Open();
    Leave("Nova", form.DesTabMaskEdit);
    EXPECT_EQ(form.CarFibComboBox.SelectedText(), W("Não"));
    EXPECT_TRUE(form.CarFibComboBox.enabled);
    ui.Type(form, form.DesTabMaskEdit, "Tabela nova");
    UserSelect(form.CarFibComboBox, 1);
    ui.AnswerYes();
    {
        // The list cannot be written after the choice was: the choice is undone too.
        test::FileSizeLimit limit(60);
        ui.Press(form, form.GraBitBtn);
    }
    EXPECT_EQ(ui.LastMessage(), W("Erro durante inclusão!"));
    EXPECT_FALSE(fs::exists(nova));
    EXPECT_EQ(ListBytes(), kMinha + kOficial);

    Leave("Nova", form.DesTabMaskEdit);
    ui.Type(form, form.DesTabMaskEdit, "Tabela nova");
    UserSelect(form.CarFibComboBox, 1);
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Inclusão efetuada com sucesso!"));
    EXPECT_EQ(ReadBytes(nova), "[Tabela]\r\nCarboidratoIncluiFibra=1\r\n");
    EXPECT_TRUE(CarbohydrateIncludesFibre(Home(), Pad("Nova", 20)));
    EXPECT_EQ(form.CarFibComboBox.itemIndex, 0) << "an emptied screen starts at N\xE3o";

    Show("Minha");  // no file: "Não"
    EXPECT_EQ(form.CarFibComboBox.itemIndex, 0);
    ui.Press(form, form.NovBitBtn);
    Show("nova");
    EXPECT_EQ(form.CarFibComboBox.itemIndex, 1);
    UserSelect(form.CarFibComboBox, 0);
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ReadBytes(nova), "[Tabela]\r\nCarboidratoIncluiFibra=0\r\n");
    EXPECT_FALSE(CarbohydrateIncludesFibre(Home(), Pad("Nova", 20)));

    // Deleted, the folder keeps the answer; created again, the table finds it.
    StoreCarbohydrateIncludesFibre(Home(), Pad("Nova", 20), true);
    Show("Nova");
    ui.AnswerYes();
    ui.Press(form, form.ExcBitBtn);
    EXPECT_TRUE(fs::exists(nova));
    Leave("Nova", form.DesTabMaskEdit);
    EXPECT_EQ(form.mode, ScreenMode::Inserting);
    EXPECT_EQ(form.CarFibComboBox.itemIndex, 1);
    ui.Press(form, form.NovBitBtn);

    // A supplied table shows its answer and cannot change it.
    StoreCarbohydrateIncludesFibre(Home(), Pad("Oficial", 20), true);
    Show("Oficial");
    EXPECT_EQ(form.CarFibComboBox.SelectedText(), "Sim");
    EXPECT_FALSE(form.CarFibComboBox.enabled);
    ui.Press(form, form.NovBitBtn);

    // A damaged file is told, never taken for "Não", and left as it is by Grava.
    const std::string damaged =
        "[Tabela]\r\nCarboidratoIncluiFibra=1\r\nCarboidratoIncluiFibra=0\r\n";
    test::WriteBytes(nova, damaged);
    ui.ClearMessages();
    Show("Nova");
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_NE(ui.LastMessage().find("danificado"), std::string::npos) << ui.LastMessage();
    EXPECT_EQ(form.CarFibComboBox.itemIndex, -1);
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ReadBytes(nova), damaged);
}

TEST_F(CadTabFormTest, NamesThatWouldLeaveTheDataFolderAreRefused) {
    Open();
    // The names of the files all tables share in "Dados" too: such a table's folder would
    // take their place.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {".", W(kEscapingNameMessage)},
        {"..", W(kEscapingNameMessage)},
        {"ValRef.dad", W("Nome inválido! \"ValRef.dad\" é o nome de um arquivo da pasta Dados e "
                         "não pode ser o nome de uma tabela.")},
        {"TabValRef.dad", ReservedTableNameMessage("TabValRef.dad")},
        {"arqtab.DAD", ReservedTableNameMessage("arqtab.DAD")},
    };
    for (const auto& [name, message] : cases) {
        ui.ClearMessages();
        form.TabMaskEdit.Clear();
        Leave(name, form.DesTabMaskEdit);
        EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{message}) << name;
        EXPECT_EQ(form.mode, ScreenMode::Empty);
        EXPECT_EQ(form.ActiveControl(), &form.TabMaskEdit);
    }
    EXPECT_EQ(ListBytes(), kMinha + kOficial);
    EXPECT_FALSE(fs::exists(Home() / "Dados" / "ValRef.dad"));

    // A name with a control character pasted into the key, and Grava: refused the same way.
    ui.ClearMessages();
    form.SetFocus(&form.TabMaskEdit);
    form.TabMaskEdit.text = Pad("A\tB", 20);
    ui.MoveFocus(form, form.DesTabMaskEdit);
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W(kControlCharNameMessage)});
    EXPECT_EQ(form.mode, ScreenMode::Empty);

    // A refused name still in the key: Retorna leaves without storing it, as any key not
    // taken.
    ui.ClearMessages();
    form.TabMaskEdit.Clear();
    ui.Type(form, form.TabMaskEdit, "..");
    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(ListBytes(), kMinha + kOficial);
}

TEST_F(CadTabFormTest, FailedWritesAreReportedAndLeaveTheFileAsItWas) {
    struct Case {
        const char* what;
        std::function<void()> start;  // brings the screen to the write
        Button* button;
        const char* message;
        ScreenMode modeWhenRetyped;  // the table in memory is as on disk
    };
    const std::vector<Case> cases{
        {"inclusion",
         [&] {
             Leave("Nova", form.DesTabMaskEdit);
             ui.Type(form, form.DesTabMaskEdit, "Tabela nova");
         },
         &form.GraBitBtn, "Erro durante inclusão!", ScreenMode::Inserting},
        {"alteration",
         [&] {
             Show("Minha");
             form.DesTabMaskEdit.Clear();
             ui.Type(form, form.DesTabMaskEdit, "Outra descricao");
         },
         &form.GraBitBtn, "Erro durante a alteração!", ScreenMode::Showing},
        {"deletion", [&] { Show("Minha"); }, &form.ExcBitBtn, "Erro durante exclusão!",
         ScreenMode::Showing},
    };
    for (const Case& c : cases) {
        Open();
        ui.ClearMessages();
        c.start();
        ui.AnswerYes();
        {
            test::FileSizeLimit limit(16);
            ui.Press(form, *c.button);
        }
        EXPECT_EQ(ui.LastMessage(), W(c.message)) << c.what;
        EXPECT_EQ(form.mode, ScreenMode::Empty) << c.what;
        EXPECT_EQ(ListBytes(), kMinha + kOficial) << c.what;

        const std::string name = c.modeWhenRetyped == ScreenMode::Inserting ? "Nova" : "Minha";
        Show(name);
        EXPECT_EQ(form.mode, c.modeWhenRetyped) << c.what;
        if (c.modeWhenRetyped == ScreenMode::Showing) {
            EXPECT_EQ(form.DesTabMaskEdit.text, Pad("Tabela propria", 65)) << c.what;
        }
        ui.Press(form, form.NovBitBtn);
        ui.Press(form, form.RetBitBtn);
    }
}

// A table list that did not read whole (the same table twice) opens for consultation only,
// with a message naming the file and the line; nothing can write it.
TEST_F(CadTabFormTest, ADamagedListOpensForConsultationOnly) {
    const std::string damaged = kMinha + kOficial + kMinha;
    test::WriteBytes(ListPath(), damaged);
    Open();
    ASSERT_FALSE(ui.Messages().empty());
    EXPECT_EQ(ui.Messages().front().text,
              W("O arquivo " + ListPath().string() +
                " está danificado (linha 3): o código \"Minha\" repete o da linha 1. Ele foi "
                "aberto somente para consulta: nada será gravado nele. Para repará-lo, use "
                "\"velmaro-cli verificar --reparar\"."));
    EXPECT_EQ(form.mode, ScreenMode::ReadOnly);
    EXPECT_FALSE(form.GraBitBtn.enabled);
    EXPECT_FALSE(form.NovBitBtn.enabled);
    EXPECT_FALSE(form.ExcBitBtn.enabled);
    EXPECT_FALSE(form.TabMaskEdit.enabled);
    EXPECT_TRUE(form.ProBitBtn.enabled);
    form.ProBitBtn.Click();
    form.RetBitBtn.Click();
    EXPECT_EQ(ListBytes(), damaged);
}

}  // namespace
}  // namespace velmaro
