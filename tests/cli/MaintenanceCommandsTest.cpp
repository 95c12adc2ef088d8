// recalcular, verificar.

#include <gtest/gtest.h>

#include <map>

#include "cli/CliFixtures.h"
#include "ingredients/ExtraValues.h"
#include "ingredients/IngredientChanges.h"
#include "preparations/IngredientPropagation.h"
#include "shell/TableCarbohydrate.h"
#include "storage/FileIo.h"
#include "storage/Scramble.h"

namespace velmaro {
namespace {

using test::CliRun;
using test::Pad;
using test::ReadBytes;
using test::WriteBytes;

namespace R = PreparationRecordField;

const std::string kTable = Pad("Minha", 20);

// Every file under a folder with its bytes.
std::map<fs::path, std::string> Snapshot(const fs::path& folder) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        files[fs::relative(entry.path(), folder)] =
            entry.is_regular_file() ? ReadBytes(entry.path()) : "<pasta>";
    }
    return files;
}

class MaintenanceCommandsTest : public test::CliTest {
  protected:
    void SetUp() override { MakeKitchen(); }

    fs::path ListPath() const { return PreparationListPath(Home(), kTable); }

    // The list with one field of one record replaced.
    void Corrupt(const std::string& preparation, int field, const std::string& text) {
        std::vector<std::string> lines = SplitLines(ReadBytes(ListPath()));
        for (std::string& line : lines) {
            if (RecordKey(line) == Pad(W(preparation), 40)) {
                SetField(field, line, text);
            }
        }
        WriteBytes(ListPath(), JoinLinesCrLf(lines));
    }
};

TEST_F(MaintenanceCommandsTest, ConsistentFolderHasNothingToDo) {
    const auto before = Snapshot(Home());
    CliRun run = Cli({"verificar"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "Nenhum problema encontrado.\n");
    run = Cli({"recalcular", "Minha"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "2 preparações recalculadas; nenhuma alterada.\n");
    EXPECT_EQ(Snapshot(Home()), before);
}

TEST_F(MaintenanceCommandsTest, RecomputeFixesAHandCorruptedTotal) {
    const std::string list = ReadBytes(ListPath());
    Corrupt("Salada", R::kEnergyTotal, "   999,00");

    CliRun run = Cli({"verificar", "minha"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "Minha: preparação \"Salada\": o total de energia (999,00) difere da soma das "
              "linhas (22,00).\n1 problema encontrado.\n");

    const auto corrupted = Snapshot(Home());
    run = Cli({"recalcular", "Minha", "--simular"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "Preparação \"Salada\":\n"
              "  totais: energia 999,00 -> 22,00\n"
              "2 preparações recalculadas; 1 seria alterada (simulação: nada foi gravado).\n");
    EXPECT_EQ(Snapshot(Home()), corrupted);

    run = Cli({"recalcular", "Minha"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1),
              "2 preparações recalculadas; 1 alterada e gravada.\n");
    EXPECT_EQ(ReadBytes(ListPath()), list);
    EXPECT_EQ(Cli({"verificar"}).status, 0);
}

// A new composition and price of an ingredient give the preparations, through the
// recomputation, the very files the ingredient register's carrying of the change gives.
TEST_F(MaintenanceCommandsTest, RecomputeGivesWhatCarryingTheChangeGives) {
    const fs::path other = Scratch() / "carried";
    fs::copy(Home(), other, fs::copy_options::recursive);

    ImportCsv("Minha",
              "nome;energia;proteína;custo;data cotação\n"
              "Arroz, tipo 1, cozido;130;2,6;7,20;20/05/24\n");
    CliRun run = Cli({"recalcular", "Minha"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "Preparação \"Arroz com feijão\":\n"
              "  \"Arroz, tipo 1, cozido\": custo unitário 6,50 -> 7,20; custo 3,90 -> 4,32; data "
              "de cotação 10/03/24 -> 20/05/24; energia 768,00 -> 780,00; proteína 15,00 -> "
              "15,60\n"
              "  totais: energia 1072,00 -> 1084,00; proteína 34,20 -> 34,80; custo 8,31 -> 8,73\n"
              "  valores da porção, da colher de sopa e da porção do rótulo recalculados\n"
              "2 preparações recalculadas; 1 alterada e gravada.\n");

    IngredientEdit edit;
    edit.name = Pad("Arroz, tipo 1, cozido", 60);
    const LineTable before = [&] {
        LineTable t;
        NullProgress progress;
        LoadScrambledLineTable(IngredientFilePath(other, kTable), t, progress);
        return t;
    }();
    const std::string record = before.lines[FindKey(before.keys, edit.name).index];
    for (size_t i = 0; i < kCarriedIngredientFields.size(); ++i) {
        edit.shown[i] = edit.edited[i] = GetField(kCarriedIngredientFields[i], record);
    }
    edit.edited[static_cast<size_t>(IngredientEdit::Slot(ing::kEnergy))] = " 130,00";
    edit.edited[static_cast<size_t>(IngredientEdit::Slot(ing::kProtein))] = "   2,60";
    edit.edited[static_cast<size_t>(IngredientEdit::Slot(ing::kCostPerKilogram))] = "     7,20";
    edit.edited[static_cast<size_t>(IngredientEdit::Slot(ing::kQuotationDate))] = "20/05/24";
    cli::CliUi ui;
    CarryIngredientChange(ui, other, kTable, edit);

    const auto recomputed = Snapshot(DataFolder(Home()) / "Minha" / "Ficha Tecnica");
    const auto carried = Snapshot(DataFolder(other) / "Minha" / "Ficha Tecnica");
    EXPECT_EQ(recomputed, carried);
}

TEST_F(MaintenanceCommandsTest, RecomputeLeavesWhatItCannotComputeAndSaysSo) {
    // A line for an ingredient the table no longer has, and a record cut short.
    const fs::path salada = PreparationFilePath(Home(), kTable, Pad("Salada", 40));
    const std::string tomato = Pad("Tomate", 60) + "|" + std::string(21, '|');
    WriteBytes(salada, ReadBytes(salada) + tomato + "\r\n");
    const std::string wholeList = ReadBytes(ListPath());
    std::vector<std::string> lines = SplitLines(wholeList);
    lines[0] = lines[0].substr(0, lines[0].size() - 1);  // "Arroz com feijão": 55 fields
    lines[0] = lines[0].substr(0, lines[0].rfind('|') + 1);
    WriteBytes(ListPath(), JoinLinesCrLf(lines));
    const auto before = Snapshot(Home());

    // A list with a record cut short did not read whole: nothing is computed from it.
    CliRun run = Cli({"recalcular", "Minha"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("ArqFicTec.dad está danificado (linha 1): tem 55 campos; deveria "
                           "ter 56."),
              std::string::npos)
        << run.err;
    EXPECT_EQ(Snapshot(Home()), before);

    // The line of an ingredient the table no longer has stays as it is.
    WriteBytes(ListPath(), wholeList);
    run = Cli({"recalcular", "Minha"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "Preparação \"Salada\":\n"
              "  aviso: o ingrediente \"Tomate\" não existe na tabela; a linha ficou como estava.\n"
              "2 preparações recalculadas; nenhuma alterada.\n");

    // A record named after the list's own file: its "ingredients" would be the list.
    lines = SplitLines(wholeList);
    const std::string reserved = Pad("ArqFicTec", 40) + lines[1].substr(lines[1].find('|'));
    WriteBytes(ListPath(), wholeList + reserved + "\r\n");
    const std::string listBefore = ReadBytes(ListPath());
    run = Cli({"recalcular", "Minha"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("Preparação \"ArqFicTec\":\n  erro: Nome reservado para a lista de "
                           "preparações"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(ReadBytes(ListPath()), listBefore);
}

// A stray CR breaks a line of a preparation's ingredient file: at the start of a line it
// leaves an empty line (nothing lost, the file reads clean) and the line is named by its
// place in the file, not as an ingredient with no name; a piece of a name is named as such.
TEST_F(MaintenanceCommandsTest, ALineBrokenByAStrayCrIsNamedByItsPlace) {
    const fs::path salada = PreparationFilePath(Home(), kTable, Pad("Salada", 40));
    const std::string bytes = ReadBytes(salada);
    WriteBytes(salada, "\r" + bytes);
    CliRun run = Cli({"recalcular", "Minha"});
    EXPECT_NE(run.out.find("aviso: Salada.dad, linha 1 (vazia): não tem os 22 campos de uma "
                           "linha de ingrediente; ficou como estava."),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("\"\""), std::string::npos) << run.out;
    EXPECT_EQ(ReadBytes(salada), "\r" + bytes);
    run = Cli({"verificar"});
    EXPECT_NE(run.out.find("Minha: preparação \"Salada\", linha 1: "), std::string::npos)
        << run.out;

    std::string broken = bytes;
    broken.insert(5, "\r");
    WriteBytes(salada, broken);
    run = Cli({"recalcular", "Minha"});
    EXPECT_NE((run.out + run.err).find("Salada.dad está danificado (linha 1)"), std::string::npos)
        << run.out << run.err;
    EXPECT_EQ(ReadBytes(salada), broken);
}

// The table's answer on fibre in carbohydrate is data like the rest: a damaged file is
// found, named and left for the user (the NUL stands over the answer), and so is an answer
// that is neither of the two.
TEST_F(MaintenanceCommandsTest, CheckReadsTheTablesCarbohydrateFile) {
    const fs::path file = CarbohydrateFibreFileLocation(Home(), kTable);
    const std::string damaged = std::string("[Tabela]\r\nCarboidratoIncluiFibra=\0\r\n", 36);
    WriteBytes(file, damaged);
    CliRun run = Cli({"verificar"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("Minha: carboidrato com fibra \"Carboidrato.ini\", linha 2: contém "
                           "um byte nulo."),
              std::string::npos)
        << run.out;
    run = Cli({"verificar", "--reparar"});
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_EQ(ReadBytes(file), damaged);

    WriteBytes(file, "[Tabela]\r\nCarboidratoIncluiFibra=2\r\n");
    run = Cli({"verificar"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("Carboidrato.ini está danificado: CarboidratoIncluiFibra deve ser 0 "
                           "ou 1, não \"2\"."),
              std::string::npos)
        << run.out;
}

TEST_F(MaintenanceCommandsTest, CheckFindsEachKindOfFault) {
    // A label of each preparation (not a fault), then one of each fault.
    ASSERT_EQ(Cli({"rotulo", "Minha", "Salada", "--dados"}).status, 0);
    ASSERT_EQ(Cli({"rotulo", "Minha", "Arroz com feijão", "--dados"}).status, 0);
    WriteBytes(TableListPath(Home()), ReadBytes(TableListPath(Home())) + "Quebrada|\r\n");
    const fs::path ingredients = IngredientFilePath(Home(), kTable);
    WriteBytes(ingredients,
               ReadBytes(ingredients) + ScrambleLine(3, "Tomate|sem campos|") + "\r\n");
    WriteBytes(IngredientGroupsPath(Home(), kTable),
               ReadBytes(IngredientGroupsPath(Home(), kTable)) + "Doces|Bolos|\r\n");
    WriteBytes(ListPath(), ReadBytes(ListPath()) + Pad("Torta", 40) + "|1|2|\r\n");
    Corrupt("Arroz com feijão", R::kCostTotal, "     9,99");
    const fs::path salada = PreparationFilePath(Home(), kTable, Pad("Salada", 40));
    WriteBytes(salada, ReadBytes(salada) + Pad("Tomate", 60) + "|" + std::string(21, '|') +
                           "\r\nlinha solta\r\n");
    WriteBytes(MeasureFilePath(Home(), kTable, Pad("Pepino", 60), true),
               Pad(W("Xícara"), 20) + "|   120,0|\r\n");
    WriteBytes(MeasureFilePath(Home(), kTable, Pad("Arroz, tipo 1, cozido", 60), true),
               Pad("Colher", 20) + "|   25,0|\r\nConcha|\r\n");
    WriteBytes(LabelFilePath(Home(), kTable, Pad("Antiga", 40)), "[DadRot]\r\n");
    WriteBytes(ExtraValuesFileLocation(Home(), kTable),
               Pad("Pepino", 60) + "|   1,00|    ,  |    ,  ||||\r\n" + Pad("Tomate", 60) +
                   "|   1,00|\r\n" + Pad("Arroz, tipo 1, cozido", 60) + "|  x,1 |||||||\r\n");
    const auto before = Snapshot(Home());

    const CliRun run = Cli({"verificar"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "lista de tabelas, linha 2: tem 1 campo; deveria ter 3.\n"
              "Minha: ingredientes, linha 4: não se decifra nos 30 campos de um ingrediente (tem "
              "2 campos).\n"
              "Minha: açúcares e gordura trans, linha 2: registro incompleto.\n"
              "Minha: açúcares e gordura trans, ingrediente \"Arroz, tipo 1, cozido\": o valor "
              "de açúcares totais (\"x,1\") não é um número.\n"
              "Minha: açúcares e gordura trans: o ingrediente \"Pepino\" não existe na tabela.\n"
              "Minha: grupos de ingredientes, linha 4: tem 2 campos; deveria ter 1.\n"
              "Minha: lista de preparações, linha 3: tem 3 campos; deveria ter 56.\n"
              "Minha: preparação \"Arroz com feijão\": o total de custo (9,99) difere da soma das "
              "linhas (8,31).\n"
              "Minha: preparação \"Salada\", linha 3: não termina em \"|\"; deveria ter 22.\n"
              "Minha: preparação \"Salada\": o ingrediente \"Tomate\" não existe na tabela.\n"
              "Minha: medidas caseiras \"Arroz, tipo 1, cozido.med\", linha 2: tem 1 campo; "
              "deveria ter 2.\n"
              "Minha: medidas caseiras \"Pepino.med\": nenhum ingrediente da tabela tem esse "
              "nome.\n"
              "Minha: rótulo \"Antiga.rot\": a preparação não existe mais.\n"
              "13 problemas encontrados.\n");
    EXPECT_EQ(Snapshot(Home()), before);  // nothing written, nothing created

    EXPECT_EQ(Cli({"verificar", "Minha"}).out, run.out);
    fs::remove_all(Home());
    const CliRun empty = Cli({"verificar"});
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err, "velmaro-cli: a pasta de dados \"" + DataFolder(Home()).string() +
                             "\" não existe.\n");
    EXPECT_FALSE(fs::exists(Home()));
}

// Values that disagree with each other may be what the user confirmed on the register: told
// as a notice, not counted as a problem.
TEST_F(MaintenanceCommandsTest, DisagreeingSugarsAreANoticeNotAProblem) {
    WriteBytes(ExtraValuesFileLocation(Home(), kTable),
               Pad("Arroz, tipo 1, cozido", 60) + "|   1,00|   2,00|    ,  ||||\r\n");
    const CliRun run = Cli({"verificar"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out,
              "aviso: Minha: açúcares e gordura trans, ingrediente \"Arroz, tipo 1, cozido\": os "
              "açúcares adicionados (2,00 g) passam dos açúcares totais (1,00 g).\n"
              "Nenhum problema encontrado.\n");
}

}  // namespace
}  // namespace velmaro
