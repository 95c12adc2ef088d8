#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "ingredients/CadIngForm.h"
#include "ingredients/ExtraValues.h"
#include "ingredients/SuppliedTables.h"
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

// What scripts/taco_gordura_trans.py reports for the delivered data/taco/gordura_trans.csv.
constexpr int kTacoFoodsWithTransFat = 265;

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

class SuppliedTransFatTest : public test::DataHomeTest {
  protected:
    const std::string kTaco = Pad("TACO", 20);

    ExtraValues Taco(std::string_view utf8Food) const {
        return LoadExtraValues(Home(), kTaco).Find(W(utf8Food));
    }
    // A delivered folder of an earlier program: the table and its measures, no trans fat.
    fs::path WithoutTransFat() const {
        const fs::path folder = Scratch() / "anterior";
        fs::create_directories(folder / "taco");
        fs::copy_file(DeliveredData() / kTacoCsv, folder / kTacoCsv);
        return folder;
    }
};

TEST_F(SuppliedTransFatTest, AFreshHomeGetsTheTransFatOfTacoAndNoSugars) {
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    EXPECT_TRUE(fs::exists(DataFolder(Home()) / kTacoTransMarker));
    const ExtraValuesTable extras = LoadExtraValues(Home(), kTaco);
    EXPECT_TRUE(extras.Problems().empty());
    EXPECT_EQ(extras.Count(), kTacoFoodsWithTransFat);
    const std::string source = W(kTacoSource);
    for (const std::string& name : extras.Names()) {
        SCOPED_TRACE(name);
        const ExtraValues v = extras.Find(name);
        EXPECT_TRUE(v.Known(ExtraValue::TransFat));
        EXPECT_EQ(v.Source(ExtraValue::TransFat), source);
        EXPECT_FALSE(v.Known(ExtraValue::TotalSugars));
        EXPECT_FALSE(v.Known(ExtraValue::AddedSugars));
        EXPECT_EQ(v.Source(ExtraValue::TotalSugars) + v.Source(ExtraValue::AddedSugars), "");
    }
    // 18:1t 1.29 + 18:2t 0.29; "Tr" + "Tr" is 0; "Tr" + empty is 0; both empty: unknown.
    EXPECT_EQ(Taco("Biscoito, doce, maisena").Text(ExtraValue::TransFat), "   1,58");
    EXPECT_EQ(Taco("Margarina, óleo interesterificado, com sal (65% de lipídeos)")
                  .Text(ExtraValue::TransFat),
              "   0,33");
    EXPECT_EQ(Taco("Arroz, tipo 1, cru").Text(ExtraValue::TransFat), "   0,00");
    EXPECT_FALSE(Taco("Arroz, integral, cozido").Known(ExtraValue::TransFat));
    EXPECT_FALSE(Taco("Abacate, cru").Known(ExtraValue::TransFat));
}

TEST_F(SuppliedTransFatTest, EveryFoodOfTheDeliveredFileIsInTheTable) {
    ASSERT_EQ(InstallSuppliedTables(WithoutTransFat(), Home()), "");
    fs::remove(ExtraValuesFileLocation(Home(), kTaco));
    std::ifstream csv(DeliveredData() / kTacoTransCsv, std::ios::binary);
    const TransInstallResult result = InstallTransFat(Home(), kTaco, csv);
    ASSERT_TRUE(result.Ok()) << result.error;
    EXPECT_EQ(result.values, kTacoFoodsWithTransFat);
    EXPECT_EQ(result.unknownFoods, 0);
    EXPECT_EQ(result.kept, 0);
}

TEST_F(SuppliedTransFatTest, AHomeThatHadTacoGetsTheTransFatOnceWithoutTouchingWhatIsThere) {
    ASSERT_EQ(InstallSuppliedTables(WithoutTransFat(), Home()), "");
    ASSERT_TRUE(fs::exists(DataFolder(Home()) / kTacoMarker));
    ASSERT_FALSE(fs::exists(ExtraValuesFileLocation(Home(), kTaco)));

    // Values already there for two foods (a trans fat, and a sugar with a trans source).
    ExtraValuesTable mine;
    ExtraValues biscuit;
    biscuit.values = {"    ,  ", "    ,  ", "   9,99"};
    biscuit.sources = {"", "", "rotulo"};
    ExtraValues rice;
    rice.values = {"   0,10", "    ,  ", "    ,  "};
    rice.sources = {"TBCA", "", "a conferir"};
    mine.Set(W("Biscoito, doce, maisena"), biscuit);
    mine.Set(W("Arroz, tipo 1, cru"), rice);
    WriteBytes(ExtraValuesFileLocation(Home(), kTaco), mine.Bytes());

    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    EXPECT_EQ(Taco("Biscoito, doce, maisena"), biscuit);
    EXPECT_EQ(Taco("Arroz, tipo 1, cru"), rice);
    EXPECT_EQ(Taco("Biscoito, doce, recheado com chocolate").Text(ExtraValue::TransFat), "   4,21");
    EXPECT_EQ(LoadExtraValues(Home(), kTaco).Count(), kTacoFoodsWithTransFat);

    // Once dealt with, nothing comes back.
    WriteBytes(ExtraValuesFileLocation(Home(), kTaco), "");
    const auto before = Snapshot(Home());
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    EXPECT_EQ(Snapshot(Home()), before);
}

TEST_F(SuppliedTransFatTest, ADamagedFileOfExtraValuesIsNotWrittenOver) {
    ASSERT_EQ(InstallSuppliedTables(WithoutTransFat(), Home()), "");
    const std::string damaged = Pad(W("Arroz, tipo 1, cru"), 60) + "|   1,00|\r\n";
    WriteBytes(ExtraValuesFileLocation(Home(), kTaco), damaged);
    const std::string notice = InstallSuppliedTables(DeliveredData(), Home());
    EXPECT_NE(notice.find(W("danificado (linha 1)")), std::string::npos) << notice;
    EXPECT_EQ(ReadBytes(ExtraValuesFileLocation(Home(), kTaco)), damaged);
    EXPECT_FALSE(fs::exists(DataFolder(Home()) / kTacoTransMarker));
}

// Nothing goes into a home whose table list did not read whole, as for TACO itself.
TEST_F(SuppliedTransFatTest, NothingIsInstalledIntoADamagedTableList) {
    // Delivered: the table, then its trans fat (no measures, whose step would come first).
    const fs::path delivered = WithoutTransFat();
    ASSERT_EQ(InstallSuppliedTables(delivered, Home()), "");
    const std::string list = ReadBytes(TableListPath(Home())) + std::string(1, '\0') +
                             Pad("Minha", 20) + "|" + Pad("", 65) + "|1|\r\n";
    WriteBytes(TableListPath(Home()), list);
    fs::copy_file(DeliveredData() / kTacoTransCsv, delivered / kTacoTransCsv);
    const std::string notice = InstallSuppliedTables(delivered, Home());
    EXPECT_NE(notice.find(W("gordura trans da tabela TACO")), std::string::npos) << notice;
    EXPECT_NE(notice.find(W("danificado")), std::string::npos) << notice;
    EXPECT_FALSE(fs::exists(ExtraValuesFileLocation(Home(), kTaco)));
    EXPECT_FALSE(fs::exists(DataFolder(Home()) / kTacoTransMarker));
    EXPECT_EQ(ReadBytes(TableListPath(Home())), list);
}

TEST(InstallTransFatRows, ARefusedRowWritesNothing) {
    test::TempDir dir;
    const fs::path home = dir.Path();
    const std::string table = Pad("TACO", 20);
    for (const char* text : {"alimento,gordura_trans_g\nX,abc\n", "alimento,outra\nX,1\n",
                             "alimento,gordura_trans_g\nX,-1\n", "alimento,gordura_trans_g\nX\n"}) {
        SCOPED_TRACE(text);
        std::istringstream csv(text);
        const TransInstallResult result = InstallTransFat(home, table, csv);
        EXPECT_FALSE(result.Ok());
        EXPECT_FALSE(fs::exists(ExtraValuesFileLocation(home, table)));
    }
}

// Copying through the ingredient viewer of the register: the values beside the record
// come along, with the supplied table's description as their source, and are written with
// the active ingredient file.
class TransFatCopyTest : public test::IngredientViewerTest {};

TEST_F(TransFatCopyTest, CopyingATacoIngredientBringsItsTransFat) {
    ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), "");
    NoIngredientChanges changes;
    TCadIngForm reg(ui, Home(), activeTable, changes);
    reg.tableName = kMinha;
    form.companions = &reg;
    Open();
    View("TACO");
    for (const char* food : {"Biscoito, doce, maisena", "Abacate, cru"}) {
        SelectRow(food);
        ui.AnswerYes();
        ui.Press(form, form.CopIngBitBtn);
    }
    EXPECT_TRUE(form.copied);
    EXPECT_FALSE(fs::exists(ExtraValuesFileLocation(Home(), kMinha)));
    Check(form.NomTabCheckBox);  // back to the active table
    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(form.wroteFile);
    const std::string description = TrimTrailingSpaces(W(kTacoDescription));
    EXPECT_EQ(ReadBytes(ExtraValuesFileLocation(Home(), kMinha)),
              Pad(W("Biscoito, doce, maisena"), 60) + "|    ,  |    ,  |   1,58|||" + description +
                  "|\r\n")
        << "the avocado, without a trans fat, adds no line";
}

}  // namespace
}  // namespace velmaro
