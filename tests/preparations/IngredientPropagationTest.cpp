// Ingredient changes carried into the preparations, on a data folder of four
// preparations (tests/data/ingredient-used-by-preparations), in this file order:
//   Salada      - no Arroz; its file has LF line ends, so any rewrite would show
//   Arroz doce  - Arroz (gross 250,0, net 150,0) and Leite; yield 300, portion 100,
//                 tablespoon 15, label portion 50
//   Bolo        - Arroz (net 100,0) and Ovo; yield 0, every derived value '    11,11'
//   Arroz puro  - only Arroz (net 200,0); yield 200, portion 100, no tablespoon weight,
//                 label portion 100
// Arroz has 100,00 kcal and costs 8,00 per kilogram.

#include "preparations/IngredientPropagation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "ingredients/CadIngForm.h"
#include "platform/Interaction.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "storage/Text.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;
using test::ReadBytes;

const std::string kTable = Pad("Minha", 20);
const std::string kArroz = Pad("Arroz", 60);

class IngredientPropagationTest : public test::DataHomeTest {
  protected:
    IngredientPropagationTest() {
        fs::copy(test::FixturePath("ingredient-used-by-preparations"), Home(),
                 fs::copy_options::recursive);
        for (const char* name : {"ArqFicTec", "Salada", "Arroz doce", "Bolo", "Arroz puro"}) {
            before[name] = ReadBytes(File(name));
        }
    }

    fs::path File(const std::string& name) const {
        return Home() / "Dados" / "Minha" / "Ficha Tecnica" / (name + ".dad");
    }
    fs::path Measures(const std::string& name) const {
        return Home() / "Dados" / "Minha" / "Medidas" / (name + ".med");
    }
    static std::vector<std::string> Lines(const std::string& bytes) { return SplitLines(bytes); }
    // The preparation's record in the list as the test began, and as it is now.
    std::string RecordBefore(const std::string& name) const {
        return Find(before.at("ArqFicTec"), name, 40);
    }
    std::string RecordNow(const std::string& name) const {
        return Find(ReadBytes(File("ArqFicTec")), name, 40);
    }
    std::string LineBefore(const std::string& prep, const std::string& ingredient) const {
        return Find(before.at(prep), ingredient, 60);
    }
    std::string LineNow(const std::string& prep, const std::string& ingredient) const {
        return Find(ReadBytes(File(prep)), ingredient, 60);
    }
    static std::string Find(const std::string& bytes, const std::string& key, size_t width) {
        for (const std::string& line : SplitLines(bytes)) {
            if (RecordKey(line) == Pad(key, width)) {
                return line;
            }
        }
        return "(none)";
    }
    static std::string With(std::string line, const std::map<int, std::string>& fields) {
        for (const auto& [n, text] : fields) {
            SetField(n, line, text);
        }
        return line;
    }
    // The names of the preparations in the list, in file order.
    std::vector<std::string> ListOrder() const {
        std::vector<std::string> names;
        for (const std::string& line : Lines(ReadBytes(File("ArqFicTec")))) {
            names.push_back(RecordKey(line));
        }
        return names;
    }
    IngredientEdit Edit(std::map<int, std::pair<std::string, std::string>> changes) const {
        IngredientEdit edit;
        edit.name = kArroz;
        for (size_t i = 0; i < kCarriedIngredientFields.size(); ++i) {
            const int field = kCarriedIngredientFields[i];
            const auto it = changes.find(field);
            edit.shown[i] = edit.edited[i] =
                field == ing::kQuotationDate ? "01/10/25" : BlankMaskText(ing::ValueMask(field));
            if (it != changes.end()) {
                edit.shown[i] = it->second.first;
                edit.edited[i] = it->second.second;
            }
        }
        return edit;
    }

    test::ScriptedUi ui;
    std::map<std::string, std::string> before;
};

TEST_F(IngredientPropagationTest, InUseReportListsThePreparationsInFileOrderAndIsOnlyAWarning) {
    EXPECT_TRUE(CheckIngredientInUse(ui, Home(), kTable, kArroz, IngredientUse::Alteration));
    ASSERT_EQ(ui.InUseReports().size(), 1u);
    EXPECT_EQ(ui.InUseReports()[0].message,
              W("AVISO : // O ingrediente <<<Arroz>>>// está sendo utilizado pelas preparações "
                "listadas abaixo.//"));
    EXPECT_EQ(
        ui.InUseReports()[0].items,
        (std::vector<std::string>{Pad("Arroz doce", 40), Pad("Bolo", 40), Pad("Arroz puro", 40)}));
    EXPECT_EQ(ui.ProgressLog().maximum, 4);
    EXPECT_FALSE(ui.ProgressLog().open);

    // The stored text is compared as it is: another case is another text.
    EXPECT_FALSE(
        CheckIngredientInUse(ui, Home(), kTable, Pad("ARROZ", 60), IngredientUse::Deletion));
    EXPECT_FALSE(
        CheckIngredientInUse(ui, Home(), kTable, Pad("Chuchu", 60), IngredientUse::Deletion));
    EXPECT_EQ(ui.InUseReports().size(), 1u);
}

TEST_F(IngredientPropagationTest, EnergyChangeRecomputesLinesTotalsAndDerivedValues) {
    CarryIngredientChange(ui, Home(), kTable, Edit({{ing::kEnergy, {" 100,00", " 120,00"}}}));

    // 150,0 g at 120,00 kcal; the total with Leite's 122,00 over a yield of 300.
    EXPECT_EQ(LineNow("Arroz doce", "Arroz"),
              With(LineBefore("Arroz doce", "Arroz"), {{13, "   180,00"}}));
    EXPECT_EQ(LineNow("Arroz doce", "Leite"), LineBefore("Arroz doce", "Leite"));
    EXPECT_EQ(RecordNow("Arroz doce"),
              With(RecordBefore("Arroz doce"),
                   {{3, "   302,00"}, {16, "   100,67"}, {28, "    15,10"}, {42, "    50,33"}}));

    // Yield 0: the total follows, the derived values stay as they were.
    EXPECT_EQ(LineNow("Bolo", "Arroz"), With(LineBefore("Bolo", "Arroz"), {{13, "   120,00"}}));
    EXPECT_EQ(RecordNow("Bolo"), With(RecordBefore("Bolo"), {{3, "   263,00"}}));

    // No tablespoon weight: that row keeps its texts.
    EXPECT_EQ(
        RecordNow("Arroz puro"),
        With(RecordBefore("Arroz puro"), {{3, "   240,00"}, {16, "   120,00"}, {42, "   120,00"}}));

    EXPECT_EQ(ReadBytes(File("Salada")), before["Salada"]);
    EXPECT_EQ(ListOrder(), (std::vector<std::string>{Pad("Salada", 40), Pad("Arroz doce", 40),
                                                     Pad("Bolo", 40), Pad("Arroz puro", 40)}));
    EXPECT_EQ(ui.ProgressLog().begins, 1);
    EXPECT_FALSE(ui.ProgressLog().open);
}

TEST_F(IngredientPropagationTest, CostChangeUsesTheGrossWeightAndDateOnlyChangesTheLines) {
    CarryIngredientChange(ui, Home(), kTable,
                          Edit({{ing::kCostPerKilogram, {"     8,00", "    10,00"}}}));
    EXPECT_EQ(LineNow("Arroz doce", "Arroz"),
              With(LineBefore("Arroz doce", "Arroz"), {{8, "    10,00"}, {9, "     2,50"}}));
    EXPECT_EQ(RecordNow("Arroz doce"),
              With(RecordBefore("Arroz doce"),
                   {{13, "     3,72"}, {26, "     1,24"}, {38, "     0,19"}, {52, "     0,62"}}));

    const std::string list = ReadBytes(File("ArqFicTec"));
    CarryIngredientChange(ui, Home(), kTable,
                          Edit({{ing::kQuotationDate, {"01/10/25", "15/11/26"}}}));
    for (const char* prep : {"Arroz doce", "Bolo", "Arroz puro"}) {
        EXPECT_EQ(GetField(10, LineNow(prep, "Arroz")), "15/11/26") << prep;
    }
    EXPECT_EQ(ReadBytes(File("ArqFicTec")), list) << "no total changes";
    EXPECT_EQ(ReadBytes(File("Salada")), before["Salada"]);
}

// An emptied value counts as 0: the line's amount and cost are written as 0,00, never
// as blank texts that the screens and reports would show as nothing.
TEST_F(IngredientPropagationTest, AnEmptiedValueOrCostIsCarriedAsZero) {
    CarryIngredientChange(ui, Home(), kTable,
                          Edit({{ing::kEnergy, {" 100,00", "    ,  "}},
                                {ing::kCostPerKilogram, {"     8,00", "      ,  "}}}));
    EXPECT_EQ(LineNow("Arroz doce", "Arroz"),
              With(LineBefore("Arroz doce", "Arroz"),
                   {{8, "      ,  "}, {9, "     0,00"}, {13, "     0,00"}}));
    EXPECT_EQ(GetField(3, RecordNow("Arroz doce")), "   122,00");  // Leite's alone
}

TEST_F(IngredientPropagationTest, UnchangedValuesAndUnusedIngredientsWriteNothing) {
    const auto times = [this] {
        std::vector<fs::file_time_type> t;
        for (const auto& entry : before) {
            t.push_back(fs::last_write_time(File(entry.first)));
        }
        return t;
    };
    const auto timesBefore = times();
    IngredientEdit unused = Edit({{ing::kEnergy, {" 100,00", " 120,00"}}});
    unused.name = Pad("Chuchu", 60);
    CarryIngredientChange(ui, Home(), kTable, unused);
    RemoveIngredientFromPreparations(ui, Home(), kTable, Pad("Chuchu", 60));
    for (const auto& [name, bytes] : before) {
        EXPECT_EQ(ReadBytes(File(name)), bytes) << name;
    }
    EXPECT_EQ(times(), timesBefore);

    // A used ingredient whose shown and edited texts agree changes no value.
    CarryIngredientChange(ui, Home(), kTable, Edit({{ing::kEnergy, {" 100,00", " 100,00"}}}));
    for (const auto& [name, bytes] : before) {
        EXPECT_EQ(ReadBytes(File(name)), bytes) << name;
    }
}

TEST_F(IngredientPropagationTest, TheLookupOfTheLineIgnoresCase) {
    IngredientEdit edit = Edit({{ing::kEnergy, {" 100,00", " 120,00"}}});
    edit.name = Pad("arroz", 60);
    CarryIngredientChange(ui, Home(), kTable, edit);
    EXPECT_EQ(GetField(13, LineNow("Arroz doce", "Arroz")), "   180,00");
}

TEST_F(IngredientPropagationTest, RemovalRecomputesEveryTotalAndLeavesZeroForTheOnlyIngredient) {
    RemoveIngredientFromPreparations(ui, Home(), kTable, kArroz);

    EXPECT_EQ(Lines(ReadBytes(File("Arroz puro"))), std::vector<std::string>{});
    std::map<int, std::string> zero;
    for (int n = 3; n <= 13; ++n) {
        zero[n] = zero[n + 13] = zero[n + 39] = "     0,00";  // totals, portion, label portion
    }
    EXPECT_EQ(RecordNow("Arroz puro"), With(RecordBefore("Arroz puro"), zero));

    // Leite alone; its blank fibre counts 0.
    EXPECT_EQ(Lines(ReadBytes(File("Arroz doce"))),
              std::vector<std::string>{LineBefore("Arroz doce", "Leite")});
    const std::string doce = RecordNow("Arroz doce");
    const std::vector<std::string> totals = {"   122,00", "     9,00", "     6,40", "     6,60",
                                             "     4,00", "    20,00", "     0,00", "   240,00",
                                             "     0,20", "   100,00", "     1,22"};
    for (int n = 3; n <= 13; ++n) {
        EXPECT_EQ(GetField(n, doce), totals[static_cast<size_t>(n - 3)]) << n;
    }
    EXPECT_EQ(GetField(16, doce), "    40,67");
    EXPECT_EQ(GetField(38, doce), "     0,06");
    EXPECT_EQ(GetField(52, doce), "     0,20");

    const std::string bolo = RecordNow("Bolo");
    for (int n = 16; n <= 52; ++n) {
        if (n != 27 && n != 39 && n != 40 && n != 41) {
            EXPECT_EQ(GetField(n, bolo), "    11,11") << "yield 0 keeps derived field " << n;
        }
    }
    EXPECT_EQ(ReadBytes(File("Salada")), before["Salada"]);
}

TEST_F(IngredientPropagationTest, AFailedWriteLeavesEveryFileWhole) {
    // The preparation files (500 bytes and less) can be written, the list (2292) cannot:
    // they are written together, so none of them is replaced.
    {
        test::FileSizeLimit limit(1000);
        EXPECT_THROW(CarryIngredientChange(ui, Home(), kTable,
                                           Edit({{ing::kEnergy, {" 100,00", " 120,00"}}})),
                     StorageError);
    }
    EXPECT_EQ(ReadBytes(File("ArqFicTec")), before["ArqFicTec"]);
    EXPECT_EQ(ReadBytes(File("Arroz doce")), before["Arroz doce"]);
    EXPECT_FALSE(ui.ProgressLog().open);

    // A preparation that cannot be read stops the walk before anything is written.
    const std::string list = ReadBytes(File("ArqFicTec"));
    const std::string doce = ReadBytes(File("Arroz doce"));
    fs::remove(File("Bolo"));
    fs::create_directory(File("Bolo"));
    EXPECT_THROW(
        CarryIngredientChange(ui, Home(), kTable, Edit({{ing::kEnergy, {" 120,00", " 130,00"}}})),
        StorageError);
    EXPECT_EQ(ReadBytes(File("ArqFicTec")), list);
    EXPECT_EQ(ReadBytes(File("Arroz doce")), doce);
    EXPECT_FALSE(ui.ProgressLog().open);
    EXPECT_EQ(
        std::distance(fs::directory_iterator(File("Bolo").parent_path()), fs::directory_iterator()),
        5)
        << "no temporary file is left behind";
}

TEST_F(IngredientPropagationTest, RenameMovesTheMeasuresAndRewritesOnlyFilesHoldingTheName) {
    struct Case {
        std::string measures;  // the old name's measures file; "(none)" for no file
        bool newFileExpected;
    };
    for (const Case& c : std::vector<Case>{{"", false}, {"Xicara|   120,0|\r\n", true}}) {
        fs::remove_all(Home() / "Dados" / "Minha" / "Medidas");
        test::WriteBytes(Measures("Arroz"), c.measures);
        RenameIngredient(ui, Home(), kTable, kArroz, Pad("Arroz branco", 60));
        EXPECT_FALSE(fs::exists(Measures("Arroz")));
        EXPECT_EQ(fs::exists(Measures("Arroz branco")), c.newFileExpected);
        if (c.newFileExpected) {
            EXPECT_EQ(ReadBytes(Measures("Arroz branco")), c.measures);
        }
        EXPECT_EQ(LineNow("Arroz doce", "Arroz branco"),
                  With(LineBefore("Arroz doce", "Arroz"), {{1, Pad("Arroz branco", 60)}}));
        EXPECT_EQ(LineNow("Arroz puro", "Arroz branco"),
                  With(LineBefore("Arroz puro", "Arroz"), {{1, Pad("Arroz branco", 60)}}));
        EXPECT_EQ(ReadBytes(File("Salada")), before["Salada"]);
        EXPECT_EQ(ReadBytes(File("ArqFicTec")), before["ArqFicTec"]);
        RenameIngredient(ui, Home(), kTable, Pad("Arroz branco", 60), kArroz);  // back
    }
}

TEST_F(IngredientPropagationTest, AFailedRenameLeavesEveryFileAsItWas) {
    test::WriteBytes(Measures("Arroz"), "Xicara|   120,0|\r\n");
    {
        // The measures file can be written, the preparation files cannot.
        test::FileSizeLimit limit(100);
        EXPECT_THROW(RenameIngredient(ui, Home(), kTable, kArroz, Pad("Arroz branco", 60)),
                     StorageError);
    }
    EXPECT_EQ(ReadBytes(Measures("Arroz")), "Xicara|   120,0|\r\n");
    EXPECT_FALSE(fs::exists(Measures("Arroz branco")));
    for (const auto& [name, bytes] : before) {
        EXPECT_EQ(ReadBytes(File(name)), bytes) << name;
    }
}

// The register and the preparations together: an altered, deleted or renamed
// ingredient reaches the preparation files through the screen.
class RegisterWithPreparationsTest : public IngredientPropagationTest {
  protected:
    RegisterWithPreparationsTest() {
        LineTable ingredients;
        std::string arroz = kArroz + "| 100,00|";
        for (int f = 3; f <= 10; ++f) {
            arroz += "    ,  |";
        }
        arroz += "     ,  |||   ,  |   ,  |     8,00|01/10/25|";
        arroz += std::string(13, '|');
        InsertRecord(ingredients, arroz);
        NullProgress progress;
        SaveScrambledLineTable(IngredientFilePath(Home(), kTable), ingredients.lines, progress);
        active.name = kTable;
        active.editable = true;
        form.tableName = kTable;
        form.startPending = true;
        ui.Activate(form);
        ui.Type(form, form.IngMaskEdit, "Arroz");
        ui.MoveFocus(form, form.kalMaskEdit);
    }
    std::vector<std::string> StoredIngredients() {
        LineTable t;
        NullProgress progress;
        LoadScrambledLineTable(IngredientFilePath(Home(), kTable), t, progress);
        return t.lines.Items();
    }

    ActiveTable active;
    IngredientPropagation propagation;
    TCadIngForm form{ui, Home(), active, propagation};
};

TEST_F(RegisterWithPreparationsTest, GravaWarnsAndCarriesTheNewEnergy) {
    ASSERT_EQ(form.mode, ScreenMode::Showing);
    ui.Type(form, form.kalMaskEdit, "120");
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.InUseReports().size(), 1u);
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Confirma alteração?")});
    EXPECT_EQ(GetField(13, LineNow("Arroz doce", "Arroz")), "   180,00");
    EXPECT_EQ(GetField(3, RecordNow("Arroz doce")), "   302,00");

    // Back to 100: carried again, so the preparations never keep the value in between.
    ui.Type(form, form.kalMaskEdit, "100");
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ReadBytes(File("Arroz doce")), before["Arroz doce"]);
    EXPECT_EQ(ReadBytes(File("ArqFicTec")), before["ArqFicTec"]);
}

TEST_F(RegisterWithPreparationsTest, ExcluiRemovesTheIngredientFromThePreparations) {
    ui.AnswerYes();
    ui.Press(form, form.ExcBitBtn);
    EXPECT_EQ(ui.InUseReports().size(), 1u);
    EXPECT_EQ(LineNow("Arroz doce", "Arroz"), "(none)");
    EXPECT_EQ(GetField(3, RecordNow("Arroz puro")), "     0,00");
    EXPECT_EQ(form.mode, ScreenMode::Empty);
    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(StoredIngredients().empty());
}

TEST_F(RegisterWithPreparationsTest, RenameWritesTheIngredientFileAndThePreparations) {
    ui.Rename(true, "ARROZ");
    ui.Press(form, form.AltNomBitBtn);
    EXPECT_EQ(ui.MessageTexts(),
              std::vector<std::string>{W("Já existe um ingrediente com o novo nome!")});
    EXPECT_EQ(ReadBytes(File("Arroz doce")), before["Arroz doce"]);

    test::WriteBytes(Measures("Arroz"), "");
    ui.ClearMessages();
    ui.Rename(true, "Arroz agulhinha");
    ui.Press(form, form.AltNomBitBtn);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(form.IngMaskEdit.text, Pad("Arroz agulhinha", 60));
    ASSERT_EQ(StoredIngredients().size(), 1u);
    EXPECT_EQ(RecordKey(StoredIngredients()[0]), Pad("Arroz agulhinha", 60));
    EXPECT_FALSE(form.unsavedTable);
    EXPECT_FALSE(fs::exists(Measures("Arroz")));
    EXPECT_FALSE(fs::exists(Measures("Arroz agulhinha")));
    EXPECT_EQ(RecordKey(LineNow("Arroz doce", "Arroz agulhinha")), Pad("Arroz agulhinha", 60));
}

// A preparation file that stops a carry is named on the screen, and nothing is written.
TEST_F(RegisterWithPreparationsTest, ACarryStoppedByAPreparationFileNamesIt) {
    const std::string damaged = std::string(1, '\0') + before["Arroz doce"];
    test::WriteBytes(File("Arroz doce"), damaged);
    const std::string ingredients = ReadBytes(IngredientFilePath(Home(), kTable));
    const std::string named =
        W("Erro durante a alteração!\nO arquivo de ingredientes da preparação "
          "\"Arroz doce\" impediu a alteração: O arquivo ") +
        File("Arroz doce").string() +
        W(" está danificado (linha 1): contém um byte nulo. Nenhum arquivo "
          "foi alterado.");
    ui.Type(form, form.kalMaskEdit, "120");
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.LastMessage(), named);
    ui.Rename(true, "Arroz agulhinha");
    ui.Press(form, form.AltNomBitBtn);
    EXPECT_EQ(ui.LastMessage(), named);
    EXPECT_EQ(ReadBytes(File("Arroz doce")), damaged);
    EXPECT_EQ(ReadBytes(IngredientFilePath(Home(), kTable)), ingredients);
    for (const char* name : {"ArqFicTec", "Salada", "Bolo", "Arroz puro"}) {
        EXPECT_EQ(ReadBytes(File(name)), before[name]) << name;
    }
}

}  // namespace
}  // namespace velmaro
