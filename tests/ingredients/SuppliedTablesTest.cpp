#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "ingredients/SuppliedTables.h"
#include "shell/TableCarbohydrate.h"
#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/Text.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;
using test::ReadBytes;
using test::WriteBytes;

fs::path DeliveredData() {
    const char* src = std::getenv("VELMARO_SOURCE_DIR");
    return fs::path(src != nullptr ? src : ".") / "data";
}

// Every file under the data home with its bytes.
std::map<fs::path, std::string> Snapshot(const fs::path& home) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(home)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), home)] = ReadBytes(entry.path());
        }
    }
    return files;
}

class SuppliedTablesTest : public test::DataHomeTest {
  protected:
    std::string TacoKey() const { return Pad("TACO", 20); }
    // The delivered folder with TACO alone (IBGE has tests of its own).
    fs::path TacoOnly() const {
        const fs::path folder = Scratch() / "so-taco";
        fs::create_directories(folder);
        fs::create_directory_symlink(fs::absolute(DeliveredData() / "taco"), folder / "taco");
        return folder;
    }
};

TEST_F(SuppliedTablesTest, FreshHomeGetsTaco) {
    ASSERT_EQ(InstallSuppliedTables(TacoOnly(), Home()), "");

    const std::string description = W(kTacoDescription);
    EXPECT_LE(description.size(), 65u);
    EXPECT_NE(description.find(W("TACO 4ª edição, NEPA/UNICAMP 2011")), std::string::npos);
    EXPECT_EQ(ReadBytes(TableListPath(Home())), TacoKey() + "|" + Pad(description, 65) + "|0|\r\n");

    LineTable groups;
    LoadLineTable(IngredientGroupsPath(Home(), TacoKey()), groups);
    const std::vector<std::string> expectedGroups = {"Alimentos preparados", "Bebidas",
                                                     "Carnes e derivados",   "Cereais e derivados",
                                                     "Frutas e derivados",   "Gorduras e óleos",
                                                     "Industrializados",     "Leguminosas",
                                                     "Leite e derivados",    "Miscelâneas",
                                                     "Nozes e sementes",     "Ovos e derivados",
                                                     "Pescados e mariscos",  "Produtos açucarados",
                                                     "Verduras, hortaliças"};
    std::vector<std::string> groupLines;
    for (const auto& g : expectedGroups) {
        groupLines.push_back(Pad(W(g), 20) + "|");
    }
    EXPECT_EQ(groups.lines.Items(), groupLines);

    LineTable ingredients;
    NullProgress progress;
    LoadScrambledLineTable(IngredientFilePath(Home(), TacoKey()), ingredients, progress);
    ASSERT_EQ(ingredients.lines.Count(), 597);
    EXPECT_EQ(ingredients.keys.Count(), 597);
    const std::string source = W(kTacoSource);
    const std::string blank7 = "    ,  ";
    for (const auto& line : ingredients.lines.Items()) {
        SCOPED_TRACE(line);
        ASSERT_EQ(std::count(line.begin(), line.end(), '|'), 30);
        ASSERT_EQ(line.back(), '|');
        const std::string name = TrimTrailingSpaces(GetField(1, line));
        EXPECT_EQ(GetField(1, line).size(), 60u);
        EXPECT_EQ(name.find("  "), std::string::npos);
        EXPECT_NE(name.front(), ' ');
        EXPECT_TRUE(groups.keys.Count() > 0 && FindKey(groups.keys, GetField(13, line)).found);
        // Every present value has the TACO source, every blank one none.
        for (int i = 0; i < 10; ++i) {
            const bool blankValue = IsAllSpaces(RemoveAll(GetField(2 + i, line), ","));
            EXPECT_EQ(GetField(18 + i, line), blankValue ? "" : source) << "value " << i;
        }
        EXPECT_EQ(GetField(28, line) + GetField(29, line) + GetField(30, line), "");
    }

    auto record = [&](std::string_view name) {
        const auto found = FindKey(ingredients.keys, Pad(W(name), 60));
        return found.found ? ingredients.lines[found.index] : std::string("(falta)");
    };
    const std::string s = source;
    EXPECT_EQ(record("Arroz, tipo 1, cozido"),
              Pad("Arroz, tipo 1, cozido", 60) + "| 128,00|  28,10|   2,50|   0,20|   0,20|" +
                  blank7 + "|   1,60|   4,00|   0,10|    1,00||" + Pad("Cereais e derivados", 20) +
                  "|   ,  |   ,  |      ,  |  /  /  |" + s + "|" + s + "|" + s + "|" + s + "|" + s +
                  "||" + s + "|" + s + "|" + s + "|" + s + "||||");
    // Fat "Tr" is 0 with its source; no fatty-acid row and cholesterol "NA" stay blank.
    const std::string milho = record("Milho, amido, cru");
    EXPECT_EQ(GetField(5, milho), "   0,00");
    EXPECT_EQ(GetField(21, milho), source);
    EXPECT_EQ(GetField(6, milho), blank7);
    EXPECT_EQ(GetField(7, milho), blank7);
    EXPECT_EQ(GetField(23, milho), "");
    // Names cleaned and abbreviated.
    for (const char* name : {"Cana, aguardente", "Cerveja, pilsen", "Coco, verde, cru",
                             "Salmão, filé, com pele, fresco, grelhado",
                             "Margarina, óleo interesterificado, com sal (65% de lipídeos)",
                             "Margarina, óleo interesterificado, sem sal (65% de lipídeos)",
                             "Ovo, de galinha, inteiro, cozido/10minutos"}) {
        EXPECT_NE(record(name), "(falta)") << name;
    }
    EXPECT_EQ(GetField(13, record("Cerveja, pilsen")), Pad("Bebidas", 20));
}

// TACO's carbohydrate is a total by difference: its definition says the fibre is inside,
// and the table gets that answer; so does a home that got TACO before the answer existed.
TEST_F(SuppliedTablesTest, TacoCarbohydrateIncludesFibre) {
    EXPECT_TRUE(TacoSetup().carbohydrateIncludesFibre);
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    EXPECT_EQ(StoredCarbohydrateIncludesFibre(Home(), TacoKey()), true);
    fs::remove(CarbohydrateFibreFileLocation(Home(), TacoKey()));
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    EXPECT_TRUE(CarbohydrateIncludesFibre(Home(), TacoKey()));
}

TEST_F(SuppliedTablesTest, InstallingAgainChangesNothing) {
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    const auto first = Snapshot(Home());
    EXPECT_TRUE(first.count(fs::path("Dados") / kTacoMarker));
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    EXPECT_EQ(Snapshot(Home()), first);

    // The user deleted TACO from the table list: it does not come back.
    WriteBytes(TableListPath(Home()), Pad("Minha", 20) + "|" + Pad("", 65) + "|1|\r\n");
    const auto deleted = Snapshot(Home());
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    EXPECT_EQ(Snapshot(Home()), deleted);
}

TEST_F(SuppliedTablesTest, UserTableOfThatNameIsLeftAlone) {
    const std::string list = Pad("taco", 20) + "|" + Pad("Minha tabela", 65) + "|1|\r\n";
    WriteBytes(TableListPath(Home()), list);
    ASSERT_EQ(InstallSuppliedTables(TacoOnly(), Home()), "");
    EXPECT_EQ(ReadBytes(TableListPath(Home())), list);
    EXPECT_FALSE(fs::exists(TableFolder(Home(), "TACO")));
    EXPECT_TRUE(fs::exists(DataFolder(Home()) / kTacoMarker));
}

// A table list that did not read whole (a NUL byte hides the tables after it from the
// documented reading) gets nothing: the start says why and tries again next time.
TEST_F(SuppliedTablesTest, NothingIsInstalledIntoADamagedTableList) {
    const std::string list = Pad("Minha", 20) + "|" + Pad("", 65) + "|1|\r\n" + '\0' +
                             Pad("Outra", 20) + "|" + Pad("", 65) + "|1|\r\n";
    WriteBytes(TableListPath(Home()), list);
    const auto before = Snapshot(Home());
    const std::string message = InstallSuppliedTables(DeliveredData(), Home());
    EXPECT_NE(message.find(W("ArqTab.dad está danificado (linha 2): contém um byte nulo.")),
              std::string::npos)
        << message;
    EXPECT_EQ(Snapshot(Home()), before);
}

}  // namespace
}  // namespace velmaro
