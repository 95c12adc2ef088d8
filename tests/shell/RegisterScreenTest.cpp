// The register-screen steps that the table register does not use: the dirty flag with
// its question, the numeric field rule, rename, Enter, and a file that cannot be read.
// They run on a small screen of the kind the later registers are.

#include "shell/RegisterScreen.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/Interaction.h"
#include "shell/NameRules.h"
#include "storage/Cp1252.h"
#include "storage/Paths.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;
using test::ReadBytes;

// Records: code (10) | name (20) | value "999,99" |
class TTesteForm : public RegisterScreen {
  public:
    TTesteForm(Ui& ui, std::filesystem::path folder)
        : RegisterScreen("TTesteForm", ui, std::move(folder)),
          AltNomBitBtn(*this, "AltNomBitBtn", ""),
          CodMaskEdit(*this, "CodMaskEdit", "cccccccccc;1;_"),
          NomMaskEdit(*this, "NomMaskEdit", "cccccccccccccccccccc;0;_"),
          ValMaskEdit(*this, "ValMaskEdit", "999,99;1;_") {
        SetRenameButton(AltNomBitBtn);
        SetKeyField(CodMaskEdit);
        AddTextField(NomMaskEdit);
        AddNumericField(ValMaskEdit);
    }

    Button AltNomBitBtn;
    MaskEdit CodMaskEdit;
    MaskEdit NomMaskEdit;
    MaskEdit ValMaskEdit;
    std::vector<std::pair<std::string, std::string>> renamed;

  protected:
    std::string Title() const override { return "CADASTRO DE TESTE - Tabela ativa : " + tableName; }
    std::string ListTitle() const override { return "LISTA DE TESTE"; }
    std::filesystem::path TablePath() const override {
        return IngredientGroupsPath(programFolder, tableName);
    }
    void ShowRecord(int index) override {
        PutText(CodMaskEdit, GetRecordField(table.lines, index, 1));
        PutText(NomMaskEdit, GetRecordField(table.lines, index, 2));
        PutText(ValMaskEdit, GetRecordField(table.lines, index, 3));
    }
    std::string ComposeRecord() const override {
        return CodMaskEdit.text + "|" + NomMaskEdit.text + "|" + ValMaskEdit.text + "|";
    }
    void ClearFields() override {
        CodMaskEdit.Clear();
        NomMaskEdit.Clear();
        ValMaskEdit.Clear();
    }
    bool HasDirtyFlag() const override { return true; }
    std::string RenameCaption() const override { return "Altera nome do teste"; }
    std::string RenameExistsMessage() const override { return W("Nome já existe!"); }
    void AfterRename(const std::string& oldName, const std::string& newName) override {
        renamed.emplace_back(oldName, newName);
    }
};

std::string Record(std::string_view code, std::string_view name, std::string_view value) {
    return Pad(code, 10) + "|" + Pad(name, 20) + "|" + std::string(value) + "|\r\n";
}

const std::string kArroz = Record("Arroz", "Arroz branco", " 12,50");
const std::string kFeijao = Record("Feijao", "Feijao preto", "   ,  ");

class RegisterScreenTest : public test::DataHomeTest {
  protected:
    RegisterScreenTest() {
        form.tableName = Pad("Minha", 20);
        test::WriteBytes(FilePath(), kArroz + kFeijao);
    }
    fs::path FilePath() const { return Home() / "Dados" / "Minha" / "ArqGruIng.dad"; }
    void Open() {
        form.startPending = true;
        ui.Activate(form);
    }
    void Show(const std::string& code) {
        ui.Type(form, form.CodMaskEdit, code);
        ui.MoveFocus(form, form.NomMaskEdit);
    }

    test::ScriptedUi ui;
    TTesteForm form{ui, Home()};
};

TEST_F(RegisterScreenTest, ModeDisplay) {
    struct Row {
        ScreenMode mode;
        bool key, data, gra, exc, antPro, lis, altNom;
        Control* focus;
    };
    const std::vector<Row> rows{
        {ScreenMode::Empty, true, false, false, false, false, true, false, &form.CodMaskEdit},
        {ScreenMode::Inserting, false, true, true, false, false, false, false, &form.NomMaskEdit},
        {ScreenMode::Showing, false, true, true, true, true, true, true, &form.NomMaskEdit},
        {ScreenMode::ReadOnly, false, false, false, false, true, true, false, &form.LisBitBtn},
    };
    Open();
    EXPECT_EQ(form.caption, "CADASTRO DE TESTE - Tabela ativa : " + Pad("Minha", 20));
    for (const Row& r : rows) {
        form.mode = r.mode;
        form.SetFocus(&form.LisBitBtn);
        form.ApplyMode();
        const auto m = static_cast<int>(r.mode);
        EXPECT_EQ(form.CodMaskEdit.enabled, r.key) << m;
        EXPECT_EQ(form.NomMaskEdit.enabled, r.data) << m;
        EXPECT_EQ(form.ValMaskEdit.enabled, r.data) << m;
        EXPECT_EQ(form.GraBitBtn.enabled, r.gra) << m;
        EXPECT_EQ(form.NovBitBtn.enabled, r.mode != ScreenMode::ReadOnly) << m;
        EXPECT_EQ(form.ExcBitBtn.enabled, r.exc) << m;
        EXPECT_EQ(form.AntBitBtn.enabled, r.antPro) << m;
        EXPECT_EQ(form.ProBitBtn.enabled, r.antPro) << m;
        EXPECT_EQ(form.LisBitBtn.enabled, r.lis) << m;
        EXPECT_TRUE(form.AjuBitBtn.enabled) << m;
        EXPECT_TRUE(form.RetBitBtn.enabled) << m;
        EXPECT_EQ(form.AltNomBitBtn.enabled, r.altNom) << m;
        EXPECT_EQ(form.ActiveControl(), r.focus) << m;
    }
    EXPECT_EQ(static_cast<int>(ScreenMode::Deleting), 2);
    EXPECT_EQ(static_cast<int>(ScreenMode::Altering), 3);
}

TEST_F(RegisterScreenTest, EnterWalksThroughTheFieldsAndLeavesEachOne) {
    Open();
    ui.Type(form, form.CodMaskEdit, "Milho");
    PressEnter(form);
    EXPECT_EQ(form.mode, ScreenMode::Inserting);
    EXPECT_EQ(form.ActiveControl(), &form.NomMaskEdit);
    PressEnter(form);
    EXPECT_EQ(form.ActiveControl(), &form.ValMaskEdit);
    ui.Type(form, form.ValMaskEdit, "12.5");  // "." is taken as ","
    PressEnter(form);
    EXPECT_EQ(form.ValMaskEdit.text, " 12,50");
    EXPECT_EQ(form.ActiveControl(), &form.GraBitBtn);
}

// A click in the middle of the empty key field puts the caret at its start, and blanks
// before a key are dropped before it is looked up: "   Arroz" shows Arroz, no second record.
TEST_F(RegisterScreenTest, AKeyNeverStartsWithBlanks) {
    Open();
    ui.MoveFocus(form, form.CodMaskEdit);
    UserClickAt(form.CodMaskEdit, 6);
    EXPECT_EQ(form.CodMaskEdit.caret, 0);
    ui.Type(form, form.CodMaskEdit, "Arr");
    UserClickAt(form.CodMaskEdit, 8);  // beyond the text: at its end
    EXPECT_EQ(form.CodMaskEdit.caret, 3);
    UserClickAt(form.CodMaskEdit, 1);  // inside it: where clicked
    EXPECT_EQ(form.CodMaskEdit.caret, 1);

    UserSetText(form.CodMaskEdit, "   Arroz  ");
    ui.MoveFocus(form, form.NomMaskEdit);
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(form.CodMaskEdit.text, Pad("Arroz", 10));
    EXPECT_EQ(form.NomMaskEdit.text, Pad("Arroz branco", 20));

    ui.Press(form, form.NovBitBtn);
    UserSetText(form.CodMaskEdit, "  Milho   ");
    ui.MoveFocus(form, form.NomMaskEdit);
    EXPECT_EQ(form.mode, ScreenMode::Inserting);
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(test::ReadBytes(FilePath()).find("  Milho"), std::string::npos);
    EXPECT_NE(test::ReadBytes(FilePath()).find(Pad("Milho", 10) + "|"), std::string::npos);
}

TEST_F(RegisterScreenTest, UnsavedChangesAreStoredOrDroppedAsAnswered) {
    struct Case {
        int answer;
        std::string fileAfter;
    };
    const std::vector<Case> cases{
        {kAnswerYes, Record("Arroz", "Arroz integral", " 12,50") + kFeijao},
        {kAnswerNo, kArroz + kFeijao},
    };
    for (const Case& c : cases) {
        test::WriteBytes(FilePath(), kArroz + kFeijao);
        ui.ClearMessages();
        Open();
        Show("arroz");
        EXPECT_FALSE(form.dirty);
        form.NomMaskEdit.Clear();
        ui.Type(form, form.NomMaskEdit, "Arroz integral");
        EXPECT_TRUE(form.dirty);
        ui.Answer(c.answer);
        ui.Press(form, form.ProBitBtn);
        EXPECT_EQ(ReadBytes(FilePath()), c.fileAfter) << c.answer;
        EXPECT_FALSE(form.dirty);
        EXPECT_EQ(form.CodMaskEdit.text, Pad("Feijao", 10)) << "Próximo still moves on";
        EXPECT_EQ(ui.MessageTexts().front(), W("Os dados não foram gravados! Deseja gravá-los?"));
        if (c.answer == kAnswerYes) {
            EXPECT_EQ(ui.LastMessage(), W("Alteração efetuada com sucesso!"));
        }
        ui.Press(form, form.RetBitBtn);
    }

    // A new record being typed is inserted when the screen is left.
    ui.ClearMessages();
    Open();
    Show("Milho");
    ui.Type(form, form.NomMaskEdit, "Milho verde");
    ui.AnswerYes();
    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(ui.LastMessage(), W("Inclusão efetuada com sucesso!"));
    EXPECT_EQ(ReadBytes(FilePath()), kArroz + kFeijao + Record("Milho", "Milho verde", "   ,  "));
}

// "Sim" to storing the edits, and the file cannot be written: the failure is told and the
// screen stays on the record with the edits, still unsaved, whichever way it was being left;
// a later "Não" leaves it.
TEST_F(RegisterScreenTest, EditsThatCannotBeStoredOnLeavingStayOnScreen) {
    struct Way {
        const char* what;
        Button TTesteForm::*button;
    };
    const std::vector<Way> ways{{"Próximo", &TTesteForm::ProBitBtn},
                                {"Anterior", &TTesteForm::AntBitBtn},
                                {"Novo", &TTesteForm::NovBitBtn},
                                {"Lista", &TTesteForm::LisBitBtn},
                                {"Retorna", &TTesteForm::RetBitBtn}};
    for (const Way& way : ways) {
        ui.ClearMessages();
        Open();
        Show("feijao");
        form.NomMaskEdit.Clear();
        ui.Type(form, form.NomMaskEdit, "Feijao carioca");
        ui.AnswerYes();
        {
            test::FileSizeLimit limit(16);
            ui.Press(form, form.*way.button);
        }
        EXPECT_EQ(ui.LastMessage(), W("Erro durante a alteração!")) << way.what;
        EXPECT_EQ(ReadBytes(FilePath()), kArroz + kFeijao) << way.what;
        EXPECT_FALSE(form.CloseRequested()) << way.what;
        EXPECT_EQ(form.mode, ScreenMode::Showing) << way.what;
        EXPECT_EQ(form.CodMaskEdit.text, Pad("Feijao", 10)) << way.what;
        EXPECT_EQ(form.NomMaskEdit.text, Pad("Feijao carioca", 20)) << way.what;
        EXPECT_TRUE(form.dirty) << way.what;

        ui.AnswerYes();  // tried again, now that it can be written
        ui.Press(form, form.GraBitBtn);
        EXPECT_EQ(ReadBytes(FilePath()), kArroz + Record("Feijao", "Feijao carioca", "   ,  "))
            << way.what;
        test::WriteBytes(FilePath(), kArroz + kFeijao);
        form.mode = ScreenMode::Empty;
        form.ApplyMode();
        ui.Press(form, form.RetBitBtn);
    }

    // The close box asks as Retorna does, and a failed save keeps the window open.
    ui.ClearMessages();
    Open();
    Show("arroz");
    ui.Type(form, form.ValMaskEdit, "1");
    ui.AnswerYes();
    {
        test::FileSizeLimit limit(16);
        EXPECT_FALSE(form.FormCloseQuery());
    }
    EXPECT_EQ(ui.LastMessage(), W("Erro durante a alteração!"));
    ui.AnswerNo();
    EXPECT_TRUE(form.FormCloseQuery());
    EXPECT_EQ(ReadBytes(FilePath()), kArroz + kFeijao);
}

TEST_F(RegisterScreenTest, RenameRefusesExistingAndEscapingNamesAndRewritesTheFile) {
    Open();
    Show("Feijao");
    struct Refused {
        std::string newName;
        std::string message;
    };
    for (const Refused& r : std::vector<Refused>{{"ARROZ", W("Nome já existe!")},
                                                 {"..", W(kEscapingNameMessage)},
                                                 {"", W("Código inválido!")}}) {
        ui.ClearMessages();
        ui.Rename(true, Pad(r.newName, 10));
        ui.Press(form, form.AltNomBitBtn);
        EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{r.message}) << r.newName;
    }
    ui.Rename(false, Pad("Cancelado", 10));
    ui.Press(form, form.AltNomBitBtn);
    EXPECT_EQ(ReadBytes(FilePath()), kArroz + kFeijao);
    EXPECT_TRUE(form.renamed.empty());

    ui.ClearMessages();
    ui.Rename(true, Pad("Abobora", 10));
    ui.Press(form, form.AltNomBitBtn);
    EXPECT_TRUE(ui.Messages().empty());
    const test::RenameCall& call = ui.RenameCalls().back();
    EXPECT_EQ(call.caption, "Altera nome do teste");
    EXPECT_EQ(call.mask, "cccccccccc;1;_");
    EXPECT_EQ(call.currentName, Pad("Feijao", 10));
    EXPECT_EQ(ReadBytes(FilePath()), Record("Abobora", "Feijao preto", "   ,  ") + kArroz);
    EXPECT_EQ(form.currentIndex, 0);
    EXPECT_EQ(form.CodMaskEdit.text, Pad("Abobora", 10));
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(form.renamed, (std::vector<std::pair<std::string, std::string>>{
                                {Pad("Feijao", 10), Pad("Abobora", 10)}}));
}

TEST_F(RegisterScreenTest, AFileThatCannotBeReadIsNotOpened) {
    form.tableName = Pad("", 20);  // no table: its folder cannot be named
    Open();
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{
                                     W("Erro durante a leitura do arquivo! Verifique se o arquivo "
                                       "pode ser lido.")});
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(form.table.lines.Count(), 0);
}

TEST_F(RegisterScreenTest, ComingBackFromADialogDoesNotReload) {
    Open();
    Show("Arroz");
    ui.Press(form, form.AjuBitBtn);
    ui.Activate(form);  // the help screen closed
    EXPECT_EQ(ui.HelpShown(), 1);
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(form.CodMaskEdit.text, Pad("Arroz", 10));
}

}  // namespace
}  // namespace velmaro
