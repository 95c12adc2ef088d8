#include "output/reference/In75List.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "output/reference/ReferenceValuesCsv.h"
#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

namespace fs = std::filesystem;

fs::path DeliveredData() {
    const char* src = std::getenv("VELMARO_SOURCE_DIR");
    return fs::path(src != nullptr ? src : ".") / "data";
}

class In75ListTest : public test::DataHomeTest {
  protected:
    std::string Values() const { return test::ReadBytes(ReferenceValuesLocation(Home())); }
    std::string Tables() const { return test::ReadBytes(ReferenceTableLocation(Home())); }
};

TEST_F(In75ListTest, AFreshHomeGetsTheWholeAnnexOnceWithTheTextPortionsKeptWordForWord) {
    ASSERT_EQ(InstallReferenceList(DeliveredData(), Home()), "");
    const StoredReferenceValues stored = ReadReferenceValues(Home());
    ASSERT_EQ(stored.foods.size(), 138u);
    EXPECT_TRUE(stored.unreadableLines.empty());
    LineTable tables;
    LoadLineTable(ReferenceTablePath(Home()), tables);
    ASSERT_EQ(tables.keys.Count(), 8);
    for (const std::string_view name : kIn75GroupNames) {
        EXPECT_TRUE(FindKey(tables.keys, test::Pad(W(name), 76)).found) << name;
        EXPECT_LE(W(name).size(), 76u);
    }

    int texts = 0;
    std::array<int, 8> perGroup{};
    for (const auto& food : stored.foods) {
        const auto group = In75GroupOfTable(food[6]);
        ASSERT_TRUE(group) << food[6];
        ++perGroup[*group];
        EXPECT_EQ(food[4], "");  // the annex gives no average weight
        EXPECT_EQ(food[5], "");  // the label's text is written by the measure helper
        if (food[2].empty()) {
            ++texts;
        }
        if (food[0] == "Bolos, todos os tipos sem recheio") {
            EXPECT_EQ(food[1], "60");
            EXPECT_EQ(food[2], "g");
            EXPECT_EQ(food[3], W("Fatia ou fração"));
            EXPECT_EQ(food[6], W(kIn75GroupNames[0]));
        }
        if (food[0] == "Sorvetes de massa") {
            EXPECT_EQ(food[1], "60 g ou 130 ml");
        }
    }
    EXPECT_EQ(texts, 23);
    EXPECT_EQ(perGroup, (std::array<int, 8>{43, 12, 6, 11, 15, 13, 27, 11}));
    EXPECT_TRUE(fs::exists(DataFolder(Home()) / kIn75Marker));

    // Once: a list the user emptied afterwards stays empty.
    test::WriteBytes(ReferenceValuesLocation(Home()), "");
    ASSERT_EQ(InstallReferenceList(DeliveredData(), Home()), "");
    EXPECT_EQ(Values(), "");

    // The delivered list goes out and comes back through the spreadsheet unchanged.
    fs::remove(DataFolder(Home()) / kIn75Marker);
    ASSERT_EQ(InstallReferenceList(DeliveredData(), Home()), "");
    const std::string values = Values();
    const std::string tablesBytes = Tables();
    std::istringstream sheet(ExportReferenceValues(Home()).csv);
    const ReferenceImportResult again = ImportReferenceValues(Home(), sheet, false);
    ASSERT_TRUE(again.written) << (again.errors.empty() ? "" : again.errors.front().message);
    EXPECT_EQ(Values(), values);
    EXPECT_EQ(Tables(), tablesBytes);
}

TEST_F(In75ListTest, AHomeWithItsOwnListKeepsItByteForByte) {
    const std::string own = test::Pad("Bolo da casa", 140) + "|" + test::Pad("70", 70) + "|g |" +
                            test::Pad("", 60) + "|" + test::Pad("", 70) + "|" +
                            test::Pad("1 fatia", 70) + "|" + test::Pad("Minha tabela", 76) +
                            "|\r\n";
    const std::string ownTables = test::Pad("Minha tabela", 76) + "|\r\n";
    test::WriteBytes(ReferenceValuesPath(Home()), own);
    test::WriteBytes(ReferenceTablePath(Home()), ownTables);
    ASSERT_EQ(InstallReferenceList(DeliveredData(), Home()), "");
    EXPECT_EQ(Values(), own);
    EXPECT_EQ(Tables(), ownTables);
    EXPECT_TRUE(fs::exists(DataFolder(Home()) / kIn75Marker));
}

TEST_F(In75ListTest, AnEmptyListIsFilledAndTheTableNamesAlreadyThereStay) {
    test::WriteBytes(ReferenceValuesPath(Home()), "");
    test::WriteBytes(ReferenceTablePath(Home()), test::Pad("Minha tabela", 76) + "|\r\n");
    ASSERT_EQ(InstallReferenceList(DeliveredData(), Home()), "");
    EXPECT_EQ(ReadReferenceValues(Home()).foods.size(), 138u);
    LineTable tables;
    LoadLineTable(ReferenceTablePath(Home()), tables);
    EXPECT_EQ(tables.keys.Count(), 9);
    EXPECT_TRUE(FindKey(tables.keys, test::Pad("Minha tabela", 76)).found);
}

TEST_F(In75ListTest, NothingDeliveredNothingInstalledAndNoMarker) {
    ASSERT_EQ(InstallReferenceList(Scratch() / "nada", Home()), "");
    EXPECT_FALSE(fs::exists(ReferenceValuesLocation(Home())));
    EXPECT_TRUE(ReferenceListPending(Home()));
}

TEST_F(In75ListTest, OnlyAPortionGivenAsATextMayComeWithoutAUnit) {
    const std::string header = "alimento;valor de referência;unidade;tabela\n";
    std::istringstream text(header +
                            "Pó para refresco;Quantidade suficiente para preparar 200 "
                            "ml;;VII\nSorvete;60 g ou 130 ml;;VII\n");
    const ReferenceImportResult accepted = ImportReferenceValues(Home(), text, false);
    EXPECT_TRUE(accepted.written);
    EXPECT_EQ(accepted.imported, 2);
    std::istringstream number(header + "Bolo;60;;I\n");
    const ReferenceImportResult refused = ImportReferenceValues(Home(), number, false);
    EXPECT_FALSE(refused.written);
    ASSERT_EQ(refused.errors.size(), 1u);
    EXPECT_EQ(refused.errors.front().message,
              W("Linha 2: a unidade está em branco (só um valor de referência em texto fica sem "
                "unidade)."));
}

}  // namespace
}  // namespace velmaro
