// Spreadsheets far stranger than a user exports: one line of 10 MB, a million empty lines.
// The import refuses or takes them with a message a user can read.

#include <gtest/gtest.h>

#include <sstream>

#include "ingredients/CompositionImport.h"
#include "storage/Cp1252.h"
#include "storage/Paths.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

class DamagedSpreadsheetTest : public test::DataHomeTest {
  protected:
    ImportResult Import(const std::string& csv) {
        CompositionTableSetup setup;
        setup.tableName = "Planilha";
        setup.separator = kDetectSeparator;
        setup.encoding = CompositionTableSetup::Encoding::Detect;
        setup.recogniseColumns = true;
        std::istringstream in(csv);
        return ImportCompositionTable(Home(), setup, in);
    }
};

TEST_F(DamagedSpreadsheetTest, ALineOfTenMegabytesIsRefusedWithAShortMessage) {
    const ImportResult result =
        Import("nome;energia (kcal)\n" + std::string(10 * 1024 * 1024, 'a') + ";12\n");
    EXPECT_EQ(result.status, ImportStatus::InvalidData);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(result.errors[0].message, W("Linha 2: o nome \"" + std::string(100, 'a') +
                                          "...\" tem 10485760 caracteres; o máximo é 60."));
    EXPECT_FALSE(fs::exists(DataFolder(Home())));
}

TEST_F(DamagedSpreadsheetTest, AMillionEmptyLinesAreSkipped) {
    std::string empty;
    for (int i = 0; i < 1000000; ++i) {
        empty += "\r\n";
    }
    ImportResult result = Import(empty);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(result.errors[0].message, W("O arquivo está vazio: falta a linha de cabeçalho."));
    result = Import("nome;energia (kcal)\n" + empty + "Sal;0\n");
    EXPECT_TRUE(result.Ok());
    EXPECT_EQ(result.ingredientCount, 1);
}

}  // namespace
}  // namespace velmaro
