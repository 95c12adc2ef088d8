// The household measures delivered with the TACO table: installed with it on a fresh data
// home, added once to a home that got the table before, checked row by row, and carried
// along when a TACO ingredient is copied into a table of the user's.

#include "ingredients/SuppliedMeasures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "GroupMeasureFixtures.h"
#include "ingredients/CadMedCas2Form.h"
#include "ingredients/SuppliedTables.h"
#include "shell/DataHome.h"
#include "shell/NameRules.h"
#include "shell/ViewerFixtures.h"
#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/Text.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;
using test::ReadBytes;
using test::WriteBytes;

// What scripts/taco_medidas.py reports for the delivered data/taco/medidas.csv.
constexpr int kTacoFoodsWithMeasures = 329;
constexpr int kTacoMeasures = 2480;

fs::path DeliveredData() {
    const char* src = std::getenv("VELMARO_SOURCE_DIR");
    return fs::path(src != nullptr ? src : ".") / "data";
}

std::map<fs::path, std::string> Snapshot(const fs::path& home) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(home)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), home)] = ReadBytes(entry.path());
        }
    }
    return files;
}

std::string Measure(std::string_view utf8Name, std::string_view weight) {
    return Pad(W(utf8Name), 20) + "|" + std::string(weight) + "|";
}

class SuppliedMeasuresTest : public test::DataHomeTest {
  protected:
    const std::string kTaco = Pad("TACO", 20);

    fs::path TacoMeasures(std::string_view utf8Food) const {
        return MeasureFilePath(Home(), kTaco, Pad(W(utf8Food), 60), false);
    }
    fs::path MeasuresFolder() const { return TableFolder(Home(), kTaco) / "Medidas"; }

    // A delivered folder with the TACO table but not its measures (an earlier program).
    fs::path TableOnly() const {
        const fs::path folder = Scratch() / "anterior";
        fs::create_directories(folder / "taco");
        fs::copy_file(DeliveredData() / kTacoCsv, folder / kTacoCsv);
        return folder;
    }
};

TEST_F(SuppliedMeasuresTest, AFreshHomeGetsTheMeasuresOfTacoWithTheTable) {
    // As at start: the delivered files, then the supplied tables. The measures are read
    // where they are delivered, never copied into the data home.
    ASSERT_EQ(PrepareDataHome(DeliveredData(), Home()), "");
    EXPECT_FALSE(fs::exists(Home() / "taco"));
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    EXPECT_TRUE(fs::exists(DataFolder(Home()) / kTacoMeasuresMarker));

    // Every exact measure of IBGE's cooked rice, in the order of a line table.
    EXPECT_EQ(
        ReadBytes(TacoMeasures("Arroz, tipo 1, cozido")),
        test::Lines({Measure("Colher de café", "     3,1"), Measure("Colher de chá", "     6,3"),
                     Measure("Colher de sobremesa", "    12,5"),
                     Measure("Colher de sopa cheia", "    25,0"),
                     Measure("Colher servir cheia", "    45,0"),
                     Measure("Concha média cheia", "   100,0"), Measure("Copo grande", "   200,0"),
                     Measure("Copo médio", "   200,0"), Measure("Escumad. média cheia", "    85,0"),
                     Measure("Garfada", "    25,0"), Measure("Pegador", "    25,0"),
                     Measure("Porção (Guia Alim.)", "   125,0"),
                     Measure("Prato fundo cheio", "   200,0")}));

    // Stored names: "/" makes "_" in the file name, a renamed food keeps the stored name.
    LineTable ovo;
    LoadLineTable(MeasuresFolder() / "Ovo, de galinha, inteiro, cozido_10minutos.med", ovo);
    EXPECT_EQ(ovo.lines[FindKey(ovo.keys, Pad(W("Unidade média"), 20)).index],
              Measure("Unidade média", "    45,0"));
    EXPECT_TRUE(fs::exists(TacoMeasures("Cana, aguardente")));
    // The one decimal of the field: 56,75 g rounds half away from zero.
    LineTable graviola;
    LoadLineTable(TacoMeasures("Graviola, crua"), graviola);
    EXPECT_EQ(graviola.lines[FindKey(graviola.keys, Pad(W("Pedaço"), 20)).index],
              Measure("Pedaço", "    56,8"));
    // A food that IBGE has no measure for gets no file.
    EXPECT_FALSE(fs::exists(TacoMeasures("Arroz, integral, cru")));
}

TEST_F(SuppliedMeasuresTest, EveryInstalledRecordIsAMeasureTheScreenCouldHaveWritten) {
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    LineTable ingredients;
    NullProgress progress;
    LoadScrambledLineTable(IngredientFilePath(Home(), kTaco), ingredients, progress);
    std::map<fs::path, std::string> ingredientFiles;
    for (const std::string& key : ingredients.keys.Items()) {
        ingredientFiles[MeasureFilePath(Home(), kTaco, key, false).filename()] = key;
    }

    int files = 0;
    int measures = 0;
    for (const auto& entry : fs::directory_iterator(MeasuresFolder())) {
        SCOPED_TRACE(entry.path().filename().string());
        ++files;
        EXPECT_TRUE(ingredientFiles.count(entry.path().filename())) << "no such ingredient";
        const std::string bytes = ReadBytes(entry.path());
        LineTable table;
        LoadLineTableFromBytes(bytes, table);
        ASSERT_GT(table.lines.Count(), 0);
        // In the order of a line table as written, no two names equal ignoring case.
        EXPECT_EQ(LineTableBytes(table.lines), bytes);
        EXPECT_EQ(table.keys.Count(), table.lines.Count());
        for (const std::string& line : table.lines.Items()) {
            SCOPED_TRACE(Cp1252ToUtf8(line));
            ++measures;
            ASSERT_EQ(std::count(line.begin(), line.end(), '|'), 2);
            ASSERT_EQ(line.back(), '|');
            const std::string name = GetField(1, line);
            const std::string weight = GetField(2, line);
            EXPECT_EQ(name.size(), 20u);
            EXPECT_FALSE(IsAllSpaces(name));
            EXPECT_NE(name.front(), ' ');
            for (char c : name) {
                EXPECT_FALSE(IsForbiddenNameChar(c) || static_cast<unsigned char>(c) < 32) << c;
            }
            // "999999,9": right-aligned digits, a comma, one decimal, above 0.
            ASSERT_EQ(weight.size(), 8u);
            EXPECT_EQ(weight[6], ',');
            EXPECT_NE(weight[5], ' ');
            EXPECT_EQ(AlignDecimalText(weight), weight);
            EXPECT_EQ(FormatNumber(1, 8, TextToNumber(weight)), weight);
            EXPECT_GT(TextToNumber(weight), 0);
        }
    }
    EXPECT_EQ(files, kTacoFoodsWithMeasures);
    EXPECT_EQ(measures, kTacoMeasures);
}

TEST_F(SuppliedMeasuresTest, TheMeasuresScreenListsThemWithTheirQuantities) {
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    test::ScriptedUi ui;
    TCadMedCas2Form form{ui, Home()};
    form.tableName = kTaco;
    form.mode = ScreenMode::Empty;
    form.startPending = true;
    ui.Activate(form);
    const auto& choices = form.NomIngComboBox.items;
    const auto arroz = std::find(choices.begin(), choices.end(), Pad("Arroz, tipo 1, cozido", 60));
    ASSERT_NE(arroz, choices.end());
    ui.MoveFocus(form, form.NomIngComboBox);
    UserSelect(form.NomIngComboBox, static_cast<int>(arroz - choices.begin()));
    ui.Pick(4);
    ui.Press(form, form.LisBitBtn);
    ASSERT_EQ(ui.Pickers().size(), 1u);
    EXPECT_EQ(ui.Pickers()[0].caption, "MEDIDAS CASEIRAS - Arroz, tipo 1, cozido - (g/ml)");
    EXPECT_EQ(ui.Pickers()[0].items.size(), 13u);
    EXPECT_EQ(form.MedCasMaskEdit.text, Pad("Colher servir cheia", 20));
    EXPECT_EQ(form.QuaMaskEdit.text, "    45,0");
}

TEST_F(SuppliedMeasuresTest, AHomeThatHadTacoGetsItsMeasuresOnceLeavingTheUsersFilesAlone) {
    ASSERT_EQ(InstallSuppliedTables(TableOnly(), Home()), "");
    ASSERT_TRUE(fs::exists(DataFolder(Home()) / kTacoMarker));
    ASSERT_FALSE(fs::exists(MeasuresFolder()));

    // Measures the user typed for one food; an empty file that the measures screen made
    // when it showed another.
    const std::string mine = test::Lines({Measure("Minha colher", "    50,0")});
    WriteBytes(TacoMeasures("Arroz, tipo 1, cozido"), mine);
    WriteBytes(TacoMeasures("Arroz, integral, cozido"), "");
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    EXPECT_TRUE(fs::exists(DataFolder(Home()) / kTacoMeasuresMarker));
    EXPECT_EQ(ReadBytes(TacoMeasures("Arroz, tipo 1, cozido")), mine);
    EXPECT_NE(ReadBytes(TacoMeasures("Arroz, integral, cozido"))
                  .find(Measure("Colher servir cheia", "    63,0")),
              std::string::npos);
    EXPECT_TRUE(fs::exists(TacoMeasures("Feijão, carioca, cozido")));

    // Once dealt with, measures the user removes do not come back.
    fs::remove(TacoMeasures("Feijão, carioca, cozido"));
    const auto before = Snapshot(Home());
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    EXPECT_EQ(Snapshot(Home()), before);
}

// Reinstalling (the marker removed) over a measures file the user changed and that took
// damage: the file is the user's whatever it held, so nothing is written and start-up
// names it, line and all; once repaired, the next start installs.
TEST_F(SuppliedMeasuresTest, ADamagedMeasuresFileIsNeverReplacedAndIsNamed) {
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    const fs::path file = TacoMeasures("Arroz, tipo 1, cozido");
    const std::string damaged = test::Lines({Measure("Minha colher", "    50,0")}) +
                                std::string("\0", 1) +
                                test::Lines({Measure("Meu prato", "   200,0")});
    WriteBytes(file, damaged);
    fs::remove(DataFolder(Home()) / kTacoMeasuresMarker);
    const auto before = Snapshot(Home());

    const std::string notice = InstallSuppliedTables(DeliveredData(), Home());
    EXPECT_NE(notice.find(W("medidas caseiras da tabela TACO")), std::string::npos) << notice;
    EXPECT_NE(notice.find(W(file.string())), std::string::npos) << notice;
    EXPECT_NE(notice.find("(linha 2)"), std::string::npos) << notice;
    EXPECT_EQ(ReadBytes(file), damaged);
    EXPECT_EQ(Snapshot(Home()), before);

    const std::string repaired =
        test::Lines({Measure("Minha colher", "    50,0"), Measure("Meu prato", "   200,0")});
    WriteBytes(file, repaired);
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    EXPECT_EQ(ReadBytes(file), repaired);
    EXPECT_TRUE(fs::exists(DataFolder(Home()) / kTacoMeasuresMarker));
}

TEST_F(SuppliedMeasuresTest, AUsersTableCalledTacoGetsNone) {
    const std::string taco = Pad("taco", 20);
    WriteBytes(TableListPath(Home()), taco + "|" + Pad("Minha tabela", 65) + "|1|\r\n");
    test::WriteIngredients(Home(), taco, {test::IngredientRecord("Arroz, tipo 1, cozido", "")});
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    EXPECT_TRUE(fs::exists(DataFolder(Home()) / kTacoMeasuresMarker));
    EXPECT_FALSE(fs::exists(TableFolder(Home(), taco) / "Medidas"));
}

class InstallMeasuresTest : public test::DataHomeTest {
  protected:
    InstallMeasuresTest() {
        test::WriteIngredients(
            Home(), kTable,
            {test::IngredientRecord("Arroz", ""), test::IngredientRecord(W("Feijão"), ""),
             test::IngredientRecord("Ovo cozido/10min", "")});
    }
    MeasureInstallResult Install(const std::string& csv) {
        std::istringstream in(csv);
        return InstallMeasures(Home(), kTable, in);
    }
    fs::path File(std::string_view cp1252Food) const {
        return MeasureFilePath(Home(), kTable, Pad(cp1252Food, 60), false);
    }
    const std::string kTable = Pad("Minha", 20);
};

TEST_F(InstallMeasuresTest, WritesEachFoodsMeasuresSortedUnderItsStoredName) {
    WriteBytes(File("Arroz"), test::Lines({Measure("Caneca", "   100,0")}));
    const auto result = Install(
        "id,alimento,medida,gramas\n"
        "1,Arroz,Xícara,120\n"  // the user's measures stand: not written
        "2,FEIJÃO,colher,\"12,5\"\n"
        "2,FEIJÃO,Concha,80.25\n"
        "2,FEIJÃO,Xícara de chá,999999.9\n"
        "3,Ovo cozido/10min,Unidade,45\n"
        "4,Batata,Unidade,100\n");  // not in the table
    ASSERT_TRUE(result.Ok()) << result.error;
    EXPECT_EQ(result.files, 2);
    EXPECT_EQ(result.measures, 4);
    EXPECT_EQ(result.keptFiles, 1);
    EXPECT_EQ(result.unknownFoods, 1);
    EXPECT_EQ(ReadBytes(File("Arroz")), test::Lines({Measure("Caneca", "   100,0")}));
    EXPECT_EQ(ReadBytes(File(W("Feijão"))),
              test::Lines({Measure("colher", "    12,5"), Measure("Concha", "    80,3"),
                           Measure("Xícara de chá", "999999,9")}));
    EXPECT_EQ(ReadBytes(File("Ovo cozido/10min")), test::Lines({Measure("Unidade", "    45,0")}));
    EXPECT_TRUE(fs::exists(TableFolder(Home(), kTable) / "Medidas" / "Ovo cozido_10min.med"));
    EXPECT_FALSE(fs::exists(File("Batata")));
}

TEST_F(InstallMeasuresTest, ARefusedRowWritesNothing) {
    const std::string header = "alimento,medida,gramas\nArroz,Concha,80\n";
    const struct {
        std::string row;
        std::string message;  // UTF-8, after "Linha 3: "
    } cases[] = {
        {"Arroz,Colher de sopa cheia grande,20",
         "o nome da medida \"Colher de sopa cheia "
         "grande\" tem mais de 20 caracteres."},
        {"Arroz,Colher_sopa,20",
         "o nome da medida \"Colher_sopa\" tem o caracter (_), que não é permitido."},
        {"Arroz,,20", "o nome da medida está em branco."},
        {"Arroz,CONCHA,90",
         "a medida \"CONCHA\" repete-se em \"Arroz\" (maiúsculas e minúsculas não distinguem "
         "nomes)."},
        {"Arroz,Copo,0", "o peso \"0\" não é maior que 0."},
        {"Arroz,Copo,0.04", "o peso \"0.04\" não é maior que 0."},
        {"Arroz,Copo,-5", "o peso \"-5\" não é maior que 0."},
        {"Arroz,Copo,muito", "o peso \"muito\" não é um número."},
        {"Arroz,Copo,1000000", "o peso \"1000000\" não cabe no campo (máximo 999999,9)."},
        {"Arroz,Copo", "a linha não tem os campos do cabeçalho."},
        {",Copo,10", "o nome do alimento está em branco ou é longo demais."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        const auto result = Install(header + c.row + "\nFeijão,Copo,10\n");
        EXPECT_EQ(result.error, W("Não foi possível instalar as medidas caseiras da tabela "
                                  "Minha: Linha 3: " +
                                  c.message));
        EXPECT_FALSE(fs::exists(File("Arroz")));
        EXPECT_FALSE(fs::exists(File(W("Feijão"))));
    }
    EXPECT_NE(Install("alimento,gramas\nArroz,10\n").error.find(W("faltam as colunas")),
              std::string::npos);
}

// Copying a TACO ingredient into a table of the user's through the ingredient viewer.
class TacoCopyTest : public test::IngredientViewerTest {};

TEST_F(TacoCopyTest, CopyingATacoIngredientBringsItsMeasures) {
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    const std::string arroz = Pad("Arroz, tipo 1, cozido", 60);
    const fs::path source = MeasureFilePath(Home(), Pad("TACO", 20), arroz, false);
    const fs::path target = MeasureFilePath(Home(), kMinha, arroz, false);
    ASSERT_TRUE(fs::exists(source));
    ASSERT_FALSE(fs::exists(target));
    Open();
    View("TACO");
    SelectRow("Arroz, tipo 1, cozido");
    ui.AnswerYes();
    ui.Press(form, form.CopIngBitBtn);
    EXPECT_TRUE(form.copied);
    EXPECT_TRUE(FindKey(active.keys, arroz).found);
    EXPECT_EQ(ReadBytes(target), ReadBytes(source));
}

}  // namespace
}  // namespace velmaro
