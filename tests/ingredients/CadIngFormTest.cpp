// The ingredient register through ScriptedUi, with a handler that records what would
// reach the preparations (the propagation itself is tested with the preparations).

#include "ingredients/CadIngForm.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "ingredients/ExtraValues.h"
#include "platform/Interaction.h"
#include "shell/VisLisIngForm.h"
#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "storage/Text.h"
#include "support/FailingDisk.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;

struct RecordingChanges final : IngredientChangeHandler {
    bool CheckIngredientInUse(Ui&, const fs::path&, std::string_view, std::string_view name,
                              IngredientUse purpose) override {
        calls.push_back(
            std::string(purpose == IngredientUse::Alteration ? "check-alter " : "check-delete ") +
            TrimTrailingSpaces(name));
        return false;
    }
    // Writes the files it is given (the ingredient file), as the real handler does in one
    // batch with the preparations' files.
    void CarryIngredientChange(Ui& ui, const fs::path& home, std::string_view table,
                               const IngredientEdit& edit,
                               const std::vector<FileContent>& withFiles) override {
        calls.push_back("carry " + TrimTrailingSpaces(edit.name));
        edits.push_back(edit);
        if (failCarry) {
            throw StorageError("carry");
        }
        NoIngredientChanges().CarryIngredientChange(ui, home, table, edit, withFiles);
    }
    void RemoveIngredientFromPreparations(Ui& ui, const fs::path& home, std::string_view table,
                                          std::string_view name,
                                          const std::vector<FileContent>& withFiles) override {
        calls.push_back("remove " + TrimTrailingSpaces(name));
        if (failRemove) {
            throw StorageError("remove");
        }
        NoIngredientChanges().RemoveIngredientFromPreparations(ui, home, table, name, withFiles);
    }
    // Writes the files it is given (the ingredient file), as the real handler does with
    // its own.
    void RenameIngredient(Ui& ui, const fs::path& home, std::string_view table,
                          std::string_view oldName, std::string_view newName,
                          const std::vector<FileContent>& withFiles) override {
        calls.push_back("rename " + TrimTrailingSpaces(oldName) + " > " +
                        TrimTrailingSpaces(newName));
        if (failRename) {
            throw StorageError("rename");
        }
        NoIngredientChanges().RenameIngredient(ui, home, table, oldName, newName, withFiles);
    }
    std::vector<std::string> calls;
    std::vector<IngredientEdit> edits;
    bool failCarry = false;
    bool failRemove = false;
    bool failRename = false;
};

const std::string kTable = Pad("Minha", 20);
const std::string kBlankValue = "    ,  ";

// An ingredient record of 30 fields: every value blank unless given, no group, no date,
// no source.
std::string Ingredient(std::string_view name, const std::map<int, std::string>& fields = {}) {
    std::string record = Pad(name, 60) + "|";
    for (int f = 2; f <= ing::kFieldCount; ++f) {
        std::string text;
        if (auto it = fields.find(f); it != fields.end()) {
            text = it->second;
        } else if ((f >= ing::kEnergy && f <= ing::kSodium) ||
                   (f >= ing::kCorrectionFactor && f <= ing::kCostPerKilogram)) {
            text = BlankMaskText(ing::ValueMask(f));
        } else if (f == ing::kQuotationDate) {
            text = "  /  /  ";
        }
        record += text + "|";
    }
    return record;
}

class CadIngFormTest : public test::DataHomeTest {
  protected:
    CadIngFormTest() {
        active.name = kTable;
        active.editable = true;
        test::WriteBytes(IngredientGroupsPath(Home(), kTable),
                         Pad("Cereais", 20) + "|\r\n" + Pad("Leguminosas", 20) + "|\r\n");
    }
    void Store(const std::vector<std::string>& records) {
        LineTable t;
        for (const auto& r : records) {
            InsertRecord(t, r);
        }
        NullProgress progress;
        SaveScrambledLineTable(IngredientFilePath(Home(), active.name), t.lines, progress);
    }
    std::vector<std::string> Stored() {
        LineTable t;
        NullProgress progress;
        LoadScrambledLineTable(IngredientFilePath(Home(), active.name), t, progress);
        return t.lines.Items();
    }
    void Open() {
        form.tableName = active.name;
        form.mode = ScreenMode::Empty;
        form.startPending = true;
        ui.Activate(form);
    }
    void Show(const std::string& name) {
        ui.Type(form, form.IngMaskEdit, name);
        ui.MoveFocus(form, form.kalMaskEdit);
    }
    // Replaces a field's whole text by typing, as a user who selected it all.
    void Retype(MaskEdit& field, const std::string& text) {
        ui.MoveFocus(form, field);
        field.SelectAll();
        ui.Type(form, field, text);
    }

    test::ScriptedUi ui;
    ActiveTable active;
    RecordingChanges changes;
    TCadIngForm form{ui, Home(), active, changes};
};

TEST_F(CadIngFormTest, ComposedRecordOfANewIngredientWithOnlyItsEnergy) {
    Store({});
    Open();
    EXPECT_EQ(form.caption, "CADASTRO DE INGREDIENTES - TABELA ATIVA : " + kTable);
    Show("Arroz");
    EXPECT_EQ(form.mode, ScreenMode::Inserting);
    EXPECT_EQ(form.ActiveControl(), &form.kalMaskEdit);
    ui.Type(form, form.kalMaskEdit, "128,00");
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);

    const std::string expected = Pad("Arroz", 60) + "| 128,00|" + "    ,  |" + "    ,  |" +
                                 "    ,  |" + "    ,  |" + "    ,  |" + "    ,  |" + "    ,  |" +
                                 "    ,  |" + "     ,  |" + "|" + "|" + "   ,  |" + "   ,  |" +
                                 "      ,  |" + "  /  /  |" + std::string(13, '|');
    EXPECT_EQ(std::count(expected.begin(), expected.end(), '|'), 30);
    EXPECT_EQ(form.ComposeIngredientRecord(), expected);
    // No notice, no file yet: the screen stays on the record and writes at Retorna.
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Confirma inclusão?")});
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_TRUE(form.unsavedTable);
    EXPECT_TRUE(Stored().empty());
    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(Stored(), std::vector<std::string>{expected});
    EXPECT_TRUE(changes.calls.empty());
}

TEST_F(CadIngFormTest, ModeDisplay) {
    Store({Ingredient("Arroz")});
    Open();
    struct Row {
        ScreenMode mode;
        bool name, data, altNom, nov, gra, exc, antPro, lis;
        Control* focus;
    };
    const std::vector<Row> rows{
        {ScreenMode::Empty, true, false, false, true, false, false, false, true, &form.IngMaskEdit},
        {ScreenMode::Inserting, false, true, false, true, true, false, false, false,
         &form.kalMaskEdit},
        {ScreenMode::Showing, false, true, true, true, true, true, true, true, &form.kalMaskEdit},
        {ScreenMode::ReadOnly, false, false, false, false, false, false, true, true,
         &form.RetBitBtn},
    };
    for (const Row& r : rows) {
        form.mode = r.mode;
        form.SetFocus(&form.RetBitBtn);
        form.ApplyMode();
        const auto m = static_cast<int>(r.mode);
        EXPECT_EQ(form.IngMaskEdit.enabled, r.name) << m;
        for (Control* c : std::vector<Control*>{&form.kalMaskEdit, &form.SodFonMaskEdit,
                                                &form.DatCotMaskEdit, &form.CusFonMaskEdit,
                                                &form.NomGruComboBox, &form.LimNomGruBitBtn}) {
            EXPECT_EQ(c->enabled, r.data) << m << " " << c->Name();
        }
        EXPECT_EQ(form.AltNomBitBtn.enabled, r.altNom) << m;
        EXPECT_EQ(form.NovBitBtn.enabled, r.nov) << m;
        EXPECT_EQ(form.GraBitBtn.enabled, r.gra) << m;
        EXPECT_EQ(form.ExcBitBtn.enabled, r.exc) << m;
        EXPECT_EQ(form.AntBitBtn.enabled, r.antPro) << m;
        EXPECT_EQ(form.ProBitBtn.enabled, r.antPro) << m;
        EXPECT_EQ(form.LisBitBtn.enabled, r.lis) << m;
        EXPECT_TRUE(form.AjuBitBtn.enabled && form.RetBitBtn.enabled) << m;
        EXPECT_EQ(form.ActiveControl(), r.focus) << m;
    }
    // Enter walks the fields in their order: each value, then its source.
    form.mode = ScreenMode::Showing;
    form.ApplyMode();
    PressEnter(form);
    EXPECT_EQ(form.ActiveControl(), &form.KALFonMaskEdit);
    PressEnter(form);
    EXPECT_EQ(form.ActiveControl(), &form.CHOMaskEdit);
}

TEST_F(CadIngFormTest, AReadOnlyTableIsBrowsedWithTheTableAsSourceOfEveryValueItHas) {
    active.name = Pad("TACO", 20);
    active.editable = false;
    Store({Ingredient("Arroz", {{ing::kEnergy, " 128,00"},
                                {ing::kSodium, "    1,00"},
                                {ing::kFirstSource, "IBGE"},
                                {ing::kFirstSource + 6, "IBGE"}}),
           Ingredient("Feijao")});
    const std::string fileBefore = test::ReadBytes(IngredientFilePath(Home(), active.name));
    Open();
    EXPECT_EQ(form.mode, ScreenMode::ReadOnly);
    EXPECT_EQ(form.IngMaskEdit.text, Pad("Arroz", 60));
    EXPECT_EQ(form.KALFonMaskEdit.text, Pad("TACO", 20));
    EXPECT_EQ(form.SodFonMaskEdit.text, Pad("TACO", 20));
    EXPECT_EQ(form.FibFonMaskEdit.text, "") << "a blank fibre has no source";
    EXPECT_EQ(form.CHOFonMaskEdit.text, "");
    EXPECT_FALSE(form.GraBitBtn.enabled);
    EXPECT_FALSE(form.NovBitBtn.enabled);

    ui.Press(form, form.ProBitBtn);
    EXPECT_EQ(form.IngMaskEdit.text, Pad("Feijao", 60));
    EXPECT_EQ(form.KALFonMaskEdit.text, "");
    EXPECT_EQ(form.mode, ScreenMode::ReadOnly);

    // Grava cannot be pressed; called all the same it refuses the consultation table.
    form.mode = ScreenMode::Inserting;
    form.GraBitBtnClick();
    EXPECT_EQ(ui.LastMessage(), W("A tabela TACO está disponível somente para consulta!"));
    EXPECT_EQ(form.mode, ScreenMode::ReadOnly);

    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(test::ReadBytes(IngredientFilePath(Home(), active.name)), fileBefore);

    // A consultation table without records opens on the empty screen.
    Store({});
    Open();
    EXPECT_EQ(form.mode, ScreenMode::ReadOnly);
    EXPECT_EQ(form.IngMaskEdit.text, Pad("", 60));
}

TEST_F(CadIngFormTest, AGroupMissingFromTheGroupFileShowsAsNoneAndIsSavedEmpty) {
    Store({Ingredient("Arroz", {{ing::kGroup, Pad("Cereais", 20)}}),
           Ingredient("Feijao", {{ing::kGroup, Pad("Graos", 20)}})});
    Open();
    Show("Arroz");
    EXPECT_EQ(form.NomGruComboBox.itemIndex, 0);
    EXPECT_EQ(form.NomGruComboBox.items,
              (std::vector<std::string>{Pad("Cereais", 20), Pad("Leguminosas", 20)}));
    ui.Press(form, form.ProBitBtn);
    EXPECT_EQ(form.NomGruComboBox.itemIndex, -1);
    EXPECT_FALSE(form.dirty);
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    ui.Press(form, form.RetBitBtn);
    EXPECT_EQ(GetField(ing::kGroup, Stored()[1]), "");
    EXPECT_EQ(Stored()[1], Ingredient("Feijao"));
}

TEST_F(CadIngFormTest, ClearGroupAsksAndMarksTheRecordChanged) {
    Store({Ingredient("Arroz", {{ing::kGroup, Pad("Cereais", 20)}})});
    Open();
    Show("Arroz");
    ui.AnswerNo();
    ui.Press(form, form.LimNomGruBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Limpa o campo \"Grupo\"?"));
    EXPECT_EQ(form.NomGruComboBox.itemIndex, 0);
    EXPECT_FALSE(form.dirty);
    ui.AnswerYes();
    ui.Press(form, form.LimNomGruBitBtn);
    EXPECT_EQ(form.NomGruComboBox.itemIndex, -1);
    EXPECT_TRUE(form.dirty);
    EXPECT_EQ(GetField(ing::kGroup, form.ComposeIngredientRecord()), "");
    // Choosing a group is an edit too.
    form.dirty = false;
    UserSelect(form.NomGruComboBox, 1);
    EXPECT_TRUE(form.dirty);
    EXPECT_EQ(GetField(ing::kGroup, form.ComposeIngredientRecord()), Pad("Leguminosas", 20));
}

TEST_F(CadIngFormTest, ValuesFollowTheNumericFieldRuleAndSourcesRefuseForbiddenCharacters) {
    Store({Ingredient("Arroz")});
    Open();
    Show("Arroz");
    ui.Type(form, form.kalMaskEdit, "12.5");
    EXPECT_EQ(form.kalMaskEdit.text, "  12,5 ") << "'.' acts as ','";
    ui.MoveFocus(form, form.KALFonMaskEdit);
    EXPECT_EQ(form.kalMaskEdit.text, "  12,50");
    EXPECT_EQ(form.Edit().edited[0], "  12,50");
    EXPECT_EQ(form.Edit().shown[0], kBlankValue);

    ui.Type(form, form.KALFonMaskEdit, "TACO|4");
    EXPECT_EQ(ui.LastMessage(), W("Não é permitido utilizar o caracter (|) !"));
    EXPECT_EQ(form.KALFonMaskEdit.text, "TACO4");
    ui.Type(form, form.CusFonMaskEdit, std::string(40, 'x'));
    EXPECT_EQ(form.CusFonMaskEdit.text, std::string(33, 'x'));

    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    ui.Press(form, form.RetBitBtn);
    EXPECT_EQ(Stored(), std::vector<std::string>{
                            Ingredient("Arroz", {{ing::kEnergy, "  12,50"},
                                                 {ing::kFirstSource, "TACO4"},
                                                 {ing::kLastSource, std::string(33, 'x')}})});
}

TEST_F(CadIngFormTest, QuotationDateIsCheckedAsDayMonthAndTwoDigitYear) {
    Store({Ingredient("Arroz")});
    Open();
    Show("Arroz");
    struct Case {
        std::string typed;
        bool valid;
    };
    for (const Case& c : std::vector<Case>{{"310225", false},
                                           {"290225", false},
                                           {"290224", true},
                                           {"291300", false},
                                           {"1503", false},
                                           {"010199", true}}) {
        ui.ClearMessages();
        ui.MoveFocus(form, form.DatCotMaskEdit);
        form.DatCotMaskEdit.Clear();
        ui.Type(form, form.DatCotMaskEdit, c.typed);
        const std::string text = form.DatCotMaskEdit.text;
        ui.MoveFocus(form, form.CusFonMaskEdit);
        EXPECT_EQ(ui.MessageTexts().empty(), c.valid) << text;
        EXPECT_EQ(form.ActiveControl(),
                  c.valid ? static_cast<Control*>(&form.CusFonMaskEdit) : &form.DatCotMaskEdit)
            << text;
        EXPECT_EQ(form.DatCotMaskEdit.text, text) << "kept as typed";
        EXPECT_EQ(form.Edit().edited[11], text);
    }
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{});
    ui.MoveFocus(form, form.DatCotMaskEdit);
    form.DatCotMaskEdit.Clear();
    ui.MoveFocus(form, form.CusFonMaskEdit);
    EXPECT_TRUE(ui.Messages().empty()) << "a blank date is no date";
    ui.ClearMessages();
    ui.MoveFocus(form, form.DatCotMaskEdit);
    ui.Type(form, form.DatCotMaskEdit, "310225");
    ui.MoveFocus(form, form.CusFonMaskEdit);
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Data inválida!")});
}

TEST_F(CadIngFormTest, DeclinedDeletionKeepsTheRecordAndGravaWorksAgain) {
    Store({Ingredient("Arroz"), Ingredient("Feijao")});
    Open();
    Show("Arroz");
    ui.AnswerNo();
    ui.Press(form, form.ExcBitBtn);
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Confirma exclusão?")});
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(form.table.lines.Count(), 2);
    EXPECT_EQ(changes.calls, std::vector<std::string>{"check-delete Arroz"});

    Retype(form.kalMaskEdit, "90");
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_FALSE(form.CloseRequested());
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(changes.calls,
              (std::vector<std::string>{"check-delete Arroz", "check-alter Arroz", "carry Arroz"}));
    ASSERT_EQ(changes.edits.size(), 1u);
    EXPECT_EQ(changes.edits[0].shown[0], kBlankValue);
    EXPECT_EQ(changes.edits[0].edited[0], "  90,00");
    EXPECT_FALSE(changes.edits[0].Changed(ing::kCostPerKilogram));
    EXPECT_EQ(GetField(ing::kEnergy, form.table.lines[0]), "  90,00");
}

TEST_F(CadIngFormTest, DeclinedAlterationRestoresTheRecordAndExcluiThenIsALogicError) {
    Store({Ingredient("Arroz", {{ing::kEnergy, " 128,00"}})});
    Open();
    // A confirmed inclusion, held in memory only.
    Show("Milho");
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    ASSERT_TRUE(form.unsavedTable);

    Retype(form.kalMaskEdit, "100");
    ui.AnswerNo();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(form.mode, ScreenMode::Altering);
    EXPECT_EQ(form.kalMaskEdit.text, "    ,  ") << "the edits are dropped";
    EXPECT_FALSE(form.dirty);
    EXPECT_EQ(form.ActiveControl(), &form.kalMaskEdit);

    ui.Press(form, form.ExcBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Erro de lógica!"));
    EXPECT_TRUE(form.CloseRequested());
    // Closing on the error still writes what was confirmed.
    EXPECT_EQ(Stored(), (std::vector<std::string>{Ingredient("Arroz", {{ing::kEnergy, " 128,00"}}),
                                                  Ingredient("Milho")}));
}

TEST_F(CadIngFormTest, UnsavedEditsAreAskedForAndTheIncludedIngredientIsWrittenAtRetorna) {
    Store({Ingredient("Arroz"), Ingredient("Feijao")});
    Open();
    Show("Milho");
    Retype(form.kalMaskEdit, "360");
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);

    Retype(form.kalMaskEdit, "350");
    ui.AnswerNo();
    ui.Press(form, form.AntBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Os dados não foram gravados! Deseja gravá-los?"));
    EXPECT_EQ(form.IngMaskEdit.text, Pad("Feijao", 60));
    EXPECT_FALSE(form.dirty);
    ui.Press(form, form.RetBitBtn);
    EXPECT_EQ(Stored(),
              (std::vector<std::string>{Ingredient("Arroz"), Ingredient("Feijao"),
                                        Ingredient("Milho", {{ing::kEnergy, " 360,00"}})}));
    EXPECT_TRUE(changes.edits.empty());

    // SIM stores the shown record and carries its change; no success notice follows.
    Open();
    Show("Arroz");
    Retype(form.PTNMaskEdit, "7");
    ui.ClearMessages();
    ui.AnswerYes();
    ui.Press(form, form.ProBitBtn);
    EXPECT_EQ(ui.MessageTexts(),
              std::vector<std::string>{W("Os dados não foram gravados! Deseja gravá-los?")});
    ASSERT_EQ(changes.edits.size(), 1u);
    EXPECT_TRUE(changes.edits[0].Changed(ing::kProtein));
    EXPECT_FALSE(changes.edits[0].Changed(ing::kEnergy));
    ui.Press(form, form.RetBitBtn);
    EXPECT_EQ(GetField(ing::kProtein, Stored()[0]), "   7,00");
}

TEST_F(CadIngFormTest, ANewRecordKeepsItsEditsWhenTheQuestionIsAnsweredNo) {
    Store({});
    Open();
    Show("Milho");
    Retype(form.kalMaskEdit, "360");
    ui.AnswerNo();
    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(form.dirty) << "NÃO leaves a new record's edits pending";
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_TRUE(Stored().empty());
}

TEST_F(CadIngFormTest, ANameInAnotherCaseFindsTheRecord) {
    Store({Ingredient("Arroz", {{ing::kEnergy, " 128,00"}})});
    Open();
    Show("ARROZ");
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(form.IngMaskEdit.text, Pad("Arroz", 60));
    EXPECT_EQ(form.kalMaskEdit.text, " 128,00");
}

TEST_F(CadIngFormTest, DeletionRemovesTheIngredientEverywhereAndItsMeasuresFile) {
    Store({Ingredient("Arroz"), Ingredient("Feijao")});
    const fs::path measures = Home() / "Dados" / "Minha" / "Medidas";
    test::WriteBytes(measures / "Arroz.med", "Xicara|   120,0|\r\n");
    Open();
    Show("Arroz");
    ui.AnswerYes();
    ui.Press(form, form.ExcBitBtn);
    EXPECT_EQ(changes.calls, (std::vector<std::string>{"check-delete Arroz", "remove Arroz"}));
    EXPECT_FALSE(fs::exists(measures / "Arroz.med"));
    EXPECT_EQ(form.mode, ScreenMode::Empty);
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Confirma exclusão?")});

    Show("Feijao");
    ui.AnswerYes();
    ui.Press(form, form.ExcBitBtn);
    EXPECT_TRUE(fs::is_directory(measures)) << "without a measures file the folder stays";
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>(2, W("Confirma exclusão?")));
    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(Stored().empty());
}

// A change that cannot be carried leaves the preparations and the ingredient file as they
// were, and keeps the edit on the screen: Grava (or SIM on leaving) tries again. A change
// that is carried writes the ingredient file in the same go.
TEST_F(CadIngFormTest, ACarryThatFailsChangesNoFileAndKeepsTheEditForAnotherTry) {
    Store({Ingredient("Arroz"), Ingredient("Feijao")});
    const std::string file = test::ReadBytes(IngredientFilePath(Home(), kTable));
    Open();
    Show("Arroz");
    Retype(form.kalMaskEdit, "130");
    changes.failCarry = true;
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Erro durante a alteração!"));
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_FALSE(form.unsavedTable);
    EXPECT_TRUE(form.dirty);
    EXPECT_EQ(form.kalMaskEdit.text, " 130,00");
    EXPECT_EQ(form.table.lines[0], Ingredient("Arroz")) << "the table keeps the stored value";
    EXPECT_TRUE(form.Edit().Changed(ing::kEnergy));

    // Grava again on the same failing disk: the same, the file untouched.
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Erro durante a alteração!"));
    EXPECT_TRUE(form.dirty);
    EXPECT_EQ(test::ReadBytes(IngredientFilePath(Home(), kTable)), file);

    changes.failCarry = false;
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    ASSERT_EQ(changes.edits.size(), 3u);
    EXPECT_TRUE(changes.edits[2].Changed(ing::kEnergy));
    EXPECT_FALSE(form.Edit().Changed(ing::kEnergy));
    EXPECT_FALSE(form.dirty);
    EXPECT_FALSE(form.unsavedTable);
    EXPECT_EQ(GetField(ing::kEnergy, Stored()[0]), " 130,00") << "written with the carry";

    // A deletion that cannot be carried keeps the ingredient, in memory and on disk.
    changes.failRemove = true;
    ui.AnswerYes();
    ui.Press(form, form.ExcBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Erro durante exclusão!"));
    EXPECT_FALSE(form.unsavedTable);
    EXPECT_EQ(form.table.lines.Count(), 2);
    EXPECT_EQ(Stored().size(), 2u);
    changes.failRemove = false;
    Show("Arroz");
    ui.AnswerYes();
    ui.Press(form, form.ExcBitBtn);
    EXPECT_EQ(Stored(), std::vector<std::string>{Ingredient("Feijao")});
    EXPECT_FALSE(form.unsavedTable);
}

TEST_F(CadIngFormTest, RetornaThatCannotWriteKeepsTheScreenOpen) {
    Store({Ingredient("Arroz")});
    Open();
    Show("Feijao");
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    {
        test::FileSizeLimit limit(16);
        ui.Press(form, form.RetBitBtn);
    }
    EXPECT_FALSE(form.CloseRequested());
    EXPECT_EQ(ui.LastMessage(),
              W("Erro durante a gravação do arquivo de ingredientes! As alterações foram "
                "mantidas na tela; tente novamente."));
    EXPECT_EQ(form.table.lines.Count(), 2);
    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(Stored().size(), 2u);
}

TEST_F(CadIngFormTest, RenameWritesTheFileAtOnceOrPutsEverythingBack) {
    Store({Ingredient("Arroz"), Ingredient("Feijao")});
    Open();
    Show("Feijao");
    Retype(form.kalMaskEdit, "76");  // an unsaved edit goes with the renamed record
    ui.Rename(true, "arroz");
    ui.Press(form, form.AltNomBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Já existe um ingrediente com o novo nome!"));
    EXPECT_EQ(ui.RenameCalls().back().caption, "Altera nome do ingrediente");
    EXPECT_EQ(ui.RenameCalls().back().mask, std::string(ing::kNameMask));

    changes.failRename = true;
    ui.ClearMessages();
    ui.Rename(true, "Feijao preto");
    ui.Press(form, form.AltNomBitBtn);
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Erro durante a alteração!")});
    EXPECT_EQ(form.IngMaskEdit.text, Pad("Feijao", 60));
    EXPECT_EQ(Stored(), (std::vector<std::string>{Ingredient("Arroz"), Ingredient("Feijao")}));
    EXPECT_EQ(form.table.lines.Items(), Stored());

    // The ingredient file cannot be written: it goes with the preparations' files, which
    // keep the old name as it does.
    changes.failRename = false;
    changes.calls.clear();
    ui.ClearMessages();
    ui.Rename(true, "Feijao preto");
    {
        test::FileSizeLimit limit(16);
        ui.Press(form, form.AltNomBitBtn);
    }
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Erro durante a alteração!")});
    EXPECT_EQ(changes.calls, (std::vector<std::string>{"rename Feijao > Feijao preto"}));
    EXPECT_EQ(form.IngMaskEdit.text, Pad("Feijao", 60));
    EXPECT_EQ(Stored(), (std::vector<std::string>{Ingredient("Arroz"), Ingredient("Feijao")}));

    ui.ClearMessages();
    ui.Rename(true, "Feijao preto");
    ui.Press(form, form.AltNomBitBtn);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(changes.calls.back(), "rename Feijao > Feijao preto");
    EXPECT_EQ(Stored(),
              (std::vector<std::string>{Ingredient("Arroz"),
                                        Ingredient("Feijao preto", {{ing::kEnergy, "  76,00"}})}));
    EXPECT_FALSE(form.unsavedTable);
    EXPECT_TRUE(form.dirty) << "the edit is still to be carried";
    EXPECT_EQ(form.mode, ScreenMode::Showing);
}

TEST_F(CadIngFormTest, ListaPicksFromTheNamesAndReloadsTheGroups) {
    Store({Ingredient("Arroz", {{ing::kGroup, Pad("Massas", 20)}}), Ingredient("Feijao")});
    Open();
    test::WriteBytes(IngredientGroupsPath(Home(), kTable), Pad("Massas", 20) + "|\r\n");
    ui.Pick(0);
    ui.Press(form, form.LisBitBtn);
    ASSERT_EQ(ui.Pickers().size(), 1u);
    EXPECT_EQ(ui.Pickers()[0].items,
              (std::vector<std::string>{Pad("Arroz", 60), Pad("Feijao", 60)}));
    EXPECT_EQ(form.mode, ScreenMode::Showing);
    EXPECT_EQ(form.NomGruComboBox.items, std::vector<std::string>{Pad("Massas", 20)});
    EXPECT_EQ(form.NomGruComboBox.itemIndex, 0);
}

// Enter walks through the controls like Tab, buttons included: it never presses one.
TEST_F(CadIngFormTest, EnterOnAButtonWalksOnWithoutPressingIt) {
    Store({Ingredient("Arroz", {{ing::kGroup, Pad("Cereais", 20)}})});
    Open();
    Show("Arroz");
    for (Button* button : {&form.LimNomGruBitBtn, &form.ExcBitBtn, &form.GraBitBtn}) {
        form.SetFocus(button);
        PressEnterKey(form);  // a question asked here would fail the test
        EXPECT_EQ(form.ActiveControl(), form.NextControl(button)) << button->Name();
    }
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(form.NomGruComboBox.SelectedText(), Pad("Cereais", 20));
    EXPECT_EQ(form.mode, ScreenMode::Showing);
}

// The viewer gives back a row that is not in the active table (one of another table
// viewed beside it): the screen is emptied, as for no choice at all.
TEST_F(CadIngFormTest, ListaGivingNoRowOfTheTableEmptiesTheScreen) {
    Store({Ingredient("Arroz"), Ingredient("Feijao")});
    test::WriteBytes(TableListPath(Home()),
                     kTable + "|Minha|1|\r\n" + Pad("Oficial", 20) + "|Oficial|0|\r\n");
    {
        LineTable other;
        InsertRecord(other, Ingredient("Lentilha"));
        NullProgress progress;
        SaveScrambledLineTable(IngredientFilePath(Home(), Pad("Oficial", 20)), other.lines,
                               progress);
    }
    TVisLisIngForm viewer(ui, Home(), active);
    form.listViewer = &viewer;
    Open();
    Show("Arroz");
    ASSERT_EQ(form.mode, ScreenMode::Showing);
    ui.OnShow("TVisLisIngForm", [this](Form& f) {
        auto& v = static_cast<TVisLisIngForm&>(f);
        if (v.NomTabCheckBox.checked) {
            PressCheckBox(ui, v, v.NomTabCheckBox);
        }
        UserSelect(v.NomTabComboBox, 1);
        ASSERT_FALSE(v.ViewingActiveTable());
        UserSelect(v.LisFilOrdListBox, 0);
        EXPECT_TRUE(RequestClose(v));
    });
    ui.Press(form, form.LisBitBtn);
    EXPECT_EQ(ui.ShownForms(), std::vector<std::string>{"TVisLisIngForm"});
    EXPECT_EQ(form.mode, ScreenMode::Empty);
    EXPECT_EQ(form.IngMaskEdit.text, Pad("", 60));
    EXPECT_EQ(form.kalMaskEdit.text, kBlankValue);
    EXPECT_TRUE(form.IngMaskEdit.enabled);
    EXPECT_EQ(form.ActiveControl(), &form.IngMaskEdit);
}

// An ingredient file with a NUL byte opens for consultation only, every line read, and is
// never written back.
TEST_F(CadIngFormTest, ADamagedIngredientFileOpensForConsultationOnly) {
    Store({Ingredient("Arroz", {{ing::kEnergy, "  128,00"}}), Ingredient("Feijao")});
    const fs::path path = IngredientFilePath(Home(), active.name);
    std::string bytes = test::ReadBytes(path);
    bytes.insert(bytes.find("\r\n") + 2, 1, '\0');
    test::WriteBytes(path, bytes);
    Open();
    ASSERT_FALSE(ui.Messages().empty());
    EXPECT_EQ(
        ui.Messages().front().text.rfind(
            W("O arquivo ") + path.string() + W(" está danificado (linha 2): contém um byte nulo."),
            0),
        0u)
        << ui.Messages().front().text;
    EXPECT_EQ(form.mode, ScreenMode::ReadOnly);
    EXPECT_EQ(form.table.lines.Count(), 2);
    EXPECT_FALSE(form.GraBitBtn.enabled);
    form.RetBitBtn.Click();
    EXPECT_EQ(test::ReadBytes(path), bytes);
}

// ---- sugars and trans fat, kept beside the record ----

ExtraValues Extras(std::string total, std::string added, std::string trans,
                   std::array<std::string, 3> sources = {}) {
    ExtraValues v;
    v.values = {std::move(total), std::move(added), std::move(trans)};
    v.sources = std::move(sources);
    return v;
}

TEST_F(CadIngFormTest, SugarsAndTransFatAreEditedBesideTheOthersAndWrittenInTheirOwnFile) {
    Store({Ingredient("Arroz")});
    const std::string ingredientFile = test::ReadBytes(IngredientFilePath(Home(), kTable));
    const fs::path extrasFile = ExtraValuesFileLocation(Home(), kTable);
    Open();
    EXPECT_EQ(form.ACTMaskEdit.label, W("Açúcares totais (g)"));
    EXPECT_EQ(form.ACAMaskEdit.label, W("Açúcares adicionados (g)"));
    EXPECT_EQ(form.TRAMaskEdit.label, W("Gorduras trans (g)"));
    EXPECT_EQ(form.TraFonMaskEdit.label, "Fonte do dado");

    // Opened and left with a change of another value: a home without the file gets none.
    Show("Arroz");
    EXPECT_EQ(form.ACTMaskEdit.text, kBlankValue);
    // Enter walks from sodium's source into them, then on to F.C.
    EXPECT_EQ(form.NextControl(&form.SodFonMaskEdit), &form.ACTMaskEdit);
    EXPECT_EQ(form.NextControl(&form.TraFonMaskEdit), &form.FCMaskEdit);
    EXPECT_TRUE(form.TRAMaskEdit.enabled);
    Retype(form.kalMaskEdit, "128");
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    ui.Press(form, form.RetBitBtn);
    EXPECT_FALSE(fs::exists(extrasFile));
    EXPECT_EQ(GetField(ing::kEnergy, Stored()[0]), " 128,00");

    // The numeric field rule, as for carbohydrate; 0 is a value, blank is not known.
    Open();
    Show("Feijao");
    Retype(form.ACTMaskEdit, "0.5");
    ui.MoveFocus(form, form.ACTFonMaskEdit);
    EXPECT_EQ(form.ACTMaskEdit.text, "   0,50");
    ui.Type(form, form.ACTFonMaskEdit, "TBCA|");
    EXPECT_EQ(form.ACTFonMaskEdit.text, "TBCA") << "forbidden characters refused";
    Retype(form.TRAMaskEdit, "0");
    ui.MoveFocus(form, form.TraFonMaskEdit);
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_FALSE(fs::exists(extrasFile)) << "written at Retorna, with the ingredient file";
    ui.Press(form, form.RetBitBtn);
    EXPECT_EQ(test::ReadBytes(extrasFile),
              Pad("Feijao", 60) + "|   0,50|    ,  |   0,00|TBCA|||\r\n");
    const std::vector<std::string> stored = Stored();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[1], Ingredient("Feijao")) << "the 30-field record is unchanged";
    EXPECT_NE(test::ReadBytes(IngredientFilePath(Home(), kTable)), ingredientFile);

    // Shown again; a rename takes them along, a deletion takes them away.
    Open();
    Show("feijao");
    EXPECT_EQ(form.ACTMaskEdit.text, "   0,50");
    EXPECT_EQ(form.ACTFonMaskEdit.text, "TBCA");
    EXPECT_EQ(form.ACAMaskEdit.text, kBlankValue);
    EXPECT_EQ(form.TRAMaskEdit.text, "   0,00");
    ui.Rename(true, "Feijao preto");
    ui.Press(form, form.AltNomBitBtn);
    EXPECT_EQ(LoadExtraValuesFile(extrasFile).Names(),
              std::vector<std::string>{Pad("Feijao preto", 60)});
    ui.AnswerYes();
    ui.Press(form, form.ExcBitBtn);
    EXPECT_EQ(changes.calls.back(), "remove Feijao preto");
    ui.Press(form, form.RetBitBtn);
    EXPECT_EQ(test::ReadBytes(extrasFile), "");
    EXPECT_EQ(Stored(), std::vector<std::string>{Ingredient("Arroz", {{ing::kEnergy, " 128,00"}})});
}

TEST_F(CadIngFormTest, SugarsAndTransFatOfAConsultationTableAreShownWithTheTableAsSource) {
    active.name = Pad("TACO", 20);
    active.editable = false;
    Store({Ingredient("Arroz"), Ingredient("Biscoito")});
    ExtraValuesTable extras;
    extras.Set("Arroz", Extras("    ,  ", "    ,  ", "   0,00", {"", "", "TACO 4"}));
    extras.Set("Biscoito", Extras("  20,00", "    ,  ", "   1,58", {"x", "y", "z"}));
    test::WriteBytes(ExtraValuesFileLocation(Home(), active.name), extras.Bytes());
    Open();
    EXPECT_EQ(form.IngMaskEdit.text, Pad("Arroz", 60));
    EXPECT_EQ(form.TRAMaskEdit.text, "   0,00");
    EXPECT_EQ(form.TraFonMaskEdit.text, Pad("TACO", 20));
    EXPECT_EQ(form.ACTFonMaskEdit.text, "") << "an unknown value has no source";
    EXPECT_FALSE(form.TRAMaskEdit.enabled);
    EXPECT_FALSE(form.TraFonMaskEdit.enabled);
    ui.Press(form, form.ProBitBtn);
    EXPECT_EQ(form.ACTMaskEdit.text, "  20,00");
    EXPECT_EQ(form.ACTFonMaskEdit.text, Pad("TACO", 20));
    EXPECT_EQ(form.ACAFonMaskEdit.text, "");
}

TEST_F(CadIngFormTest, ADamagedFileOfSugarsKeepsTheTableToConsultation) {
    Store({Ingredient("Arroz")});
    const std::string damaged = Pad("Feijao", 60) + "|   1,00|\r\n" + Pad("Arroz", 60) +
                                "|    ,  |    ,  |   0,10|||Rotulo X|\r\n";
    test::WriteBytes(ExtraValuesFileLocation(Home(), kTable), damaged);
    Open();
    EXPECT_EQ(ui.LastMessage().find(W("está danificado (linha 1): registro incompleto")) !=
                  std::string::npos,
              true)
        << ui.LastMessage();
    EXPECT_EQ(form.mode, ScreenMode::ReadOnly);
    // Still the user's own table: its values show the sources stored with them.
    ui.Press(form, form.ProBitBtn);
    EXPECT_EQ(form.IngMaskEdit.text, Pad("Arroz", 60));
    EXPECT_EQ(form.TRAMaskEdit.text, "   0,10");
    EXPECT_EQ(form.TraFonMaskEdit.text, "Rotulo X");
    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(test::ReadBytes(ExtraValuesFileLocation(Home(), kTable)), damaged);
}

// The ingredient file and the file beside it are written together or not at all.
TEST_F(CadIngFormTest, AChangeWritesBothFilesOrNeither) {
    Store({Ingredient("Arroz")});
    const std::string ingredientFile = test::ReadBytes(IngredientFilePath(Home(), kTable));
    const fs::path extrasFile = ExtraValuesFileLocation(Home(), kTable);
    test::WriteBytes(extrasFile, "");
    Open();
    Show("Arroz");
    Retype(form.kalMaskEdit, "10");
    Retype(form.ACAMaskEdit, "5");
    ui.MoveFocus(form, form.ACAFonMaskEdit);
    for (int failAt : {1, 2}) {
        SCOPED_TRACE(failAt);
        test::FailingDisk disk(failAt, ENOSPC);
        ui.AnswerYes();
        ui.Press(form, form.GraBitBtn);
        EXPECT_EQ(ui.LastMessage(), W("Erro durante a alteração!"));
        EXPECT_TRUE(form.dirty);
        EXPECT_EQ(test::ReadBytes(IngredientFilePath(Home(), kTable)), ingredientFile);
        EXPECT_EQ(test::ReadBytes(extrasFile), "");
    }
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(GetField(ing::kEnergy, Stored()[0]), "  10,00");
    EXPECT_EQ(test::ReadBytes(extrasFile), Pad("Arroz", 60) + "|    ,  |   5,00|    ,  ||||\r\n");

    // Retorna writes an inclusion the same way.
    Retype(form.TRAMaskEdit, "1");
    ui.AnswerYes();
    ui.Press(form, form.NovBitBtn);
    Show("Feijao");
    Retype(form.ACTMaskEdit, "2");
    ui.MoveFocus(form, form.ACTFonMaskEdit);
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    const std::string both = test::ReadBytes(extrasFile);
    {
        test::FailingDisk disk(2, ENOSPC);
        ui.Press(form, form.RetBitBtn);
        EXPECT_FALSE(form.CloseRequested());
        EXPECT_EQ(test::ReadBytes(extrasFile), both);
        EXPECT_EQ(Stored().size(), 1u);
    }
    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(Stored().size(), 2u);
    EXPECT_EQ(LoadExtraValuesFile(extrasFile).Find("Feijao").Text(ExtraValue::TotalSugars),
              "   2,00");
}

// Sugars and trans fat that cannot be right are never stored; those that disagree with
// the carbohydrate or the fats are stored only when the user confirms them.
TEST_F(CadIngFormTest, ImpossibleSugarsAreRefusedAndDoubtfulOnesConfirmed) {
    Store({Ingredient("Arroz", {{ing::kCarbohydrate, "  28,10"},
                                {ing::kTotalFat, "   0,20"},
                                {ing::kSaturatedFat, "   0,10"}})});
    Open();
    Show("Arroz");
    struct Case {
        MaskEdit* field;
        std::string text;
        std::string message;
    };
    const std::vector<Case> refused = {
        {&form.ACTMaskEdit, "  -5,00", "O valor de açúcares totais (\"-5,00\") é negativo."},
        {&form.ACAMaskEdit, "9999,99",
         "O valor de açúcares adicionados (\"9999,99\") passa de 100 g por 100 g."},
        {&form.TRAMaskEdit, "    1e5",
         "O valor de gorduras trans (\"1e5\") passa de 100 g por 100 g."},
        {&form.TRAMaskEdit, "   x,10", "O valor de gorduras trans (\"x,10\") não é um número."},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.text);
        const std::string was = c.field->text;
        c.field->text = c.text;  // as a pasted text would leave it
        ui.ClearMessages();
        ui.Press(form, form.GraBitBtn);
        EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W(c.message)});
        EXPECT_EQ(form.ActiveControl(), c.field);
        EXPECT_TRUE(changes.calls.empty()) << "nothing carried, nothing stored";
        c.field->text = was;
    }

    // Added sugars above the total: NÃO keeps them on the screen, SIM stores them.
    Retype(form.ACTMaskEdit, "1");
    Retype(form.ACAMaskEdit, "2");
    ui.MoveFocus(form, form.ACAFonMaskEdit);
    const std::string doubt =
        W("Os açúcares adicionados (2,00 g) passam dos açúcares totais (1,00 g). Confirma estes "
          "valores?");
    ui.ClearMessages();
    ui.AnswerNo();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{doubt});
    EXPECT_EQ(form.ActiveControl(), &form.ACAMaskEdit);
    EXPECT_TRUE(changes.calls.empty());
    ui.ClearMessages();
    ui.AnswerYes();
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{doubt, W("Confirma alteração?")}));
    EXPECT_EQ(form.ExtraValuesInMemory().Find("Arroz").Text(ExtraValue::AddedSugars), "   2,00");

    // Saturated and trans fat above the total fat, and total sugars above the carbohydrate.
    Retype(form.TRAMaskEdit, "0,5");
    Retype(form.ACTMaskEdit, "30");
    ui.MoveFocus(form, form.ACTFonMaskEdit);
    ui.ClearMessages();
    ui.AnswerYes();
    ui.AnswerNo();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.MessageTexts(),
              (std::vector<std::string>{
                  W("Os açúcares totais (30,00 g) passam dos carboidratos (28,10 g). Confirma "
                    "estes valores?"),
                  W("As gorduras saturadas e trans somadas (0,60 g) passam das gorduras totais "
                    "(0,20 g). Confirma estes valores?")}));
    EXPECT_EQ(form.ActiveControl(), &form.TRAMaskEdit);
    EXPECT_EQ(form.ExtraValuesInMemory().Find("Arroz").Text(ExtraValue::TotalSugars), "   1,00");
}

}  // namespace
}  // namespace velmaro
