// A whole technical sheet built through the real windows, as a nutritionist builds one:
// a preparation with its yield and portions, three ingredient lines entered by net
// weight, by gross weight and by household measure, and the values per portion.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QListView>
#include <QTest>

#include <sstream>

#include "cli/Cli.h"
#include "e2e/AppFixture.h"
#include "storage/Cp1252.h"
#include "support/RecordingImageOutput.h"

namespace velmaro::test {
namespace {

class TechnicalSheetE2e : public AppE2e {};

// An ingredient record: name, the ten values per 100 g, the factors, the cost per kg.
std::string Ingredient(const std::string& name, const std::string& values,
                       const std::string& factor, const std::string& cost) {
    return Pad(name, 60) + "|" + values + "||" + "|" + factor + "|   ,  |" + cost + "|01/12/26|" +
           std::string(13, '|');
}

TEST_F(TechnicalSheetE2e, ThreeLinesByNetWeightGrossWeightAndMeasureGiveTheValuesPerPortion) {
    FixUserTable("Minha");
    WriteIngredients(
        "Minha",
        {Ingredient("Arroz",
                    " 128,00|  28,10|   2,50|   0,20|   0,05|   0,00|   1,60|   4,00|   0,10|"
                    "    1,00",
                    "  1,00", "     6,00"),
         Ingredient("Batata",
                    "  52,00|  11,90|   1,20|   0,00|   0,00|   0,00|   1,30|   4,00|   0,20|"
                    "    2,00",
                    "  1,25", "     4,00"),
         Ingredient(W("Feijão"),
                    "  76,00|  13,60|   4,80|   0,50|   0,10|   0,00|   8,50|  27,00|   1,30|"
                    "    2,00",
                    "  1,00", "     9,00")});
    WriteBytes(MeasureFilePath(Home(), "Minha", W("Feijão"), true),
               W("Concha média        |    86,0|\r\n"));

    // One line: the ingredient chosen, the screen leaving the drop-down, then the typing.
    const auto line = [this](const char* ingredient, auto&& enter) {
        driver
            .On("TCadIngFicTecForm",
                [ingredient] {
                    Choose("TCadIngFicTecForm", "NomIngComboBox", QString::fromUtf8(ingredient));
                })
            .Key("TCadIngFicTecForm", "NomIngComboBox", Qt::Key_Tab);
        enter();
        driver.Click("TCadIngFicTecForm", "GraBitBtn")
            .Answer("SimBitBtn")
            .Answer("OkBitBtn")
            .Click("TCadIngFicTecForm", "NovBitBtn");
    };

    driver.Click("TNutForm", "CadFicTecRotRotBitBtn")
        .Type("TCadFicTecRotForm", "NomPreMaskEdit", "Prato feito")
        .Key("TCadFicTecRotForm", "NomPreMaskEdit", Qt::Key_Return)
        .Click("TCadFicTecRotForm", "RenPesMaskEdit")
        .Type("TCadFicTecRotForm", "RenPesMaskEdit", "500")
        .Click("TCadFicTecRotForm", "NumPorMaskEdit")
        .Type("TCadFicTecRotForm", "NumPorMaskEdit", "5")
        .Click("TCadFicTecRotForm", "GraBitBtn")
        .Answer("SimBitBtn")
        .Answer("OkBitBtn")
        .Click("TCadFicTecRotForm", "IngBitBtn");
    line("Arroz", [this] { driver.Fill("TCadIngFicTecForm", "PesLiqMaskEdit", "200"); });
    line("Batata", [this] { driver.Fill("TCadIngFicTecForm", "PesBruMaskEdit", "150"); });
    line("Feijão", [this] {
        driver
            .On("TCadIngFicTecForm",
                [] {
                    Choose("TCadIngFicTecForm", "NomMedCasComboBox",
                           QStringLiteral("Concha média"));
                })
            .Fill("TCadIngFicTecForm", "QuaMedCasMaskEdit", "2");
    });
    QString perPortion;
    driver.Click("TCadIngFicTecForm", "RetBitBtn")
        .On("TCadFicTecRotForm", [&] { perPortion = Text("TCadFicTecRotForm", "KALPorMaskEdit"); })
        .Click("TCadFicTecRotForm", "GraBitBtn")
        .Answer("SimBitBtn")
        .Answer("OkBitBtn")
        .Click("TCadFicTecRotForm", "RetBitBtn")
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();

    const std::string inclusion[] = {"Confirma inclusão?", "Inclusão efetuada com sucesso!"};
    std::vector<std::string> expected(inclusion, inclusion + 2);
    for (int i = 0; i < 3; ++i) {
        expected.insert(expected.end(), inclusion, inclusion + 2);
    }
    expected.insert(expected.end(), {"Confirma alteração?", "Alteração efetuada com sucesso!"});
    EXPECT_EQ(driver.Messages(), expected);

    // By hand, per 100 g: Arroz 200,0 g net; Batata 150,0 g gross at F.C. 1,25, 120,0 g
    // net; Feijão 2 ladles of 86,0 g, 172,0 g net.
    //   kcal: 256,00 + 62,40 + 130,72 = 449,12; per portion of 100 g in 500 g: 89,82
    //   carbohydrate: 56,20 + 14,28 + 23,39 = 93,87; per portion 18,77
    //   cost: 200 g at 6,00/kg 1,20 + 150 g at 4,00 0,60 + 172 g at 9,00 1,55 = 3,35
    const std::string lines =
        ReadBytes(Home() / "Dados" / "Minha" / "Ficha Tecnica" / "Prato feito.dad");
    EXPECT_NE(lines.find(Pad("Arroz", 60) + "|   200,0|   200,0|"), std::string::npos) << lines;
    EXPECT_NE(lines.find(Pad("Batata", 60) + "|   150,0|   120,0|"), std::string::npos) << lines;
    EXPECT_NE(lines.find(Pad(W("Feijão"), 60) + "|   172,0|   172,0|"), std::string::npos) << lines;
    EXPECT_NE(lines.find(W("|Concha média        |  2,00|")), std::string::npos) << lines;
    const std::string list =
        ReadBytes(Home() / "Dados" / "Minha" / "Ficha Tecnica" / "ArqFicTec.dad");
    EXPECT_NE(list.find(Pad("Prato feito", 40) + "|   500|   449,12|    93,87|"), std::string::npos)
        << list;
    EXPECT_NE(list.find("|    89,82|    18,77|"), std::string::npos) << list;
    EXPECT_NE(list.find("|     3,35|"), std::string::npos) << list;
    EXPECT_EQ(perPortion, QStringLiteral("____89,82"));
}

TEST_F(TechnicalSheetE2e, AReferenceValueFoundByGroupAndKeywordFillsTheLabelPortion) {
    FixUserTable("Minha");
    // Reference values made up for the test (not those of any regulation).
    const std::string breads = Pad("Grupo de teste A", 76);
    const std::string milks = Pad("Grupo de teste B", 76);
    WriteBytes(ReferenceTablePath(Home()), breads + "|\r\n" + milks + "|\r\n");
    const auto record = [](const char* food, const char* value, const char* unit,
                           const char* presentation, const std::string& group) {
        return Pad(W(food), 140) + "|" + Pad(value, 70) + "|" + Pad(unit, 2) + "|" +
               Pad("fatia", 60) + "|" + Pad("25 g", 70) + "|" + Pad(presentation, 70) + "|" +
               group + "|\r\n";
    };
    WriteBytes(ReferenceValuesPath(Home()),
               record("Biscoito salgado", "30", "g", "6 unidades", breads) +
                   record("Leite de teste", "200", "ml", "1 copo", milks) +
                   record("Pão de forma", "50", "g", "2 fatias", breads) +
                   record("Pão doce", "50 a 60", "g", "1 unidade", milks));

    QStringList shown;
    QString portion;
    QString unit;
    QString norm;
    QString measure;
    driver.Click("TNutForm", "CadFicTecRotRotBitBtn")
        .Type("TCadFicTecRotForm", "NomPreMaskEdit", "Torrada")
        .Key("TCadFicTecRotForm", "NomPreMaskEdit", Qt::Key_Return)
        .Click("TCadFicTecRotForm", "GraBitBtn")
        .Answer("SimBitBtn")
        .Answer("OkBitBtn")
        .Click("TCadFicTecRotForm", "SelValRefBitBtn")
        .Click("TCadValRefForm", "LisBitBtn")
        .Click("TVisLisValRefForm", "AtiFilCheckBox")
        .On("TVisLisValRefForm",
            [] {
                Choose("TVisLisValRefForm", "NomGruComboBox", QStringLiteral("Grupo de teste A"));
            })
        .Click("TVisLisValRefForm", "PalChaCheckBox")
        .Type("TVisLisValRefForm", "PalChaMaskEdit", "pão")
        .Click("TVisLisValRefForm", "PalChaBitBtn")
        .On("TVisLisValRefForm",
            [&] {
                auto* list = qobject_cast<QListView*>(
                    AppDriver::Widget("TVisLisValRefForm", "LisFilOrdListBox"));
                ASSERT_NE(list, nullptr);
                for (int i = 0; i < list->model()->rowCount(); ++i) {
                    shown << list->model()->index(i, 0).data().toString().trimmed();
                }
                ASSERT_EQ(list->model()->rowCount(), 1);
                const QRect row = list->visualRect(list->model()->index(0, 0));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
            })
        .Click("TCadValRefForm", "AjuBitBtn")
        .On("TCadFicTecRotForm",
            [&] {
                portion = Text("TCadFicTecRotForm", "RenRotMaskEdit");
                unit = Text("TCadFicTecRotForm", "UniPorMaskEdit");
                norm = Text("TCadFicTecRotForm", "NorValRefMaskEdit");
                measure = Text("TCadFicTecRotForm", "AMCMaskEdit");
            })
        .Click("TCadFicTecRotForm", "GraBitBtn")
        .Answer("SimBitBtn")
        .Answer("OkBitBtn")
        .Click("TCadFicTecRotForm", "RetBitBtn")
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();

    // Only the bread of group A holds the keyword "PAO" (the accent folded).
    EXPECT_EQ(shown, QStringList{QStringLiteral("Pão de forma")});
    EXPECT_EQ(portion.remove(QLatin1Char('_')).trimmed(), QStringLiteral("50"));
    EXPECT_EQ(unit.trimmed(), QStringLiteral("g"));
    EXPECT_EQ(norm.trimmed(), QStringLiteral("50g"));
    EXPECT_EQ(measure.trimmed(), QStringLiteral("2 fatias"));
    const std::string list =
        ReadBytes(Home() / "Dados" / "Minha" / "Ficha Tecnica" / "ArqFicTec.dad");
    EXPECT_NE(list.find(W("|Pão de forma|")), std::string::npos) << list;
}

// The example list delivered with the program, loaded with velmaro-cli as the help tells,
// gives the reference value a nutritionist picks from the preparation register.
TEST_F(TechnicalSheetE2e, TheLoadedExampleListGivesTheReferenceValueChosen) {
    FixUserTable("Minha");
    RecordingImageOutput images;
    std::ostringstream out;
    std::ostringstream err;
    cli::CliIo io{Home(), images, out, err, false, 80};
    const fs::path example =
        fs::path(VELMARO_DATA_DIR) / "exemplos" / "valores-referencia-exemplo.csv";
    ASSERT_EQ(cli::RunCli({"valores-referencia", "importar", example.string()}, io), 0)
        << err.str();

    QStringList shown;
    QString portion;
    QString unit;
    QString norm;
    QString measure;
    driver.Click("TNutForm", "CadFicTecRotRotBitBtn")
        .Type("TCadFicTecRotForm", "NomPreMaskEdit", "Vitamina")
        .Key("TCadFicTecRotForm", "NomPreMaskEdit", Qt::Key_Return)
        .Click("TCadFicTecRotForm", "GraBitBtn")
        .Answer("SimBitBtn")
        .Answer("OkBitBtn")
        .Click("TCadFicTecRotForm", "SelValRefBitBtn")
        .Click("TCadValRefForm", "LisBitBtn")
        .Click("TVisLisValRefForm", "AtiFilCheckBox")
        .On("TVisLisValRefForm",
            [] {
                Choose("TVisLisValRefForm", "NomGruComboBox", QStringLiteral("Exemplo B - leites"));
            })
        .On("TVisLisValRefForm",
            [&] {
                auto* list = qobject_cast<QListView*>(
                    AppDriver::Widget("TVisLisValRefForm", "LisFilOrdListBox"));
                ASSERT_NE(list, nullptr);
                const int rows = list->model()->rowCount();
                for (int i = 0; i < rows; ++i) {
                    shown << list->model()->index(i, 0).data().toString().trimmed();
                }
                ASSERT_EQ(rows, 2);
                const QRect row = list->visualRect(list->model()->index(0, 0));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
            })
        .Click("TCadValRefForm", "AjuBitBtn")
        .On("TCadFicTecRotForm",
            [&] {
                portion = Text("TCadFicTecRotForm", "RenRotMaskEdit");
                unit = Text("TCadFicTecRotForm", "UniPorMaskEdit");
                norm = Text("TCadFicTecRotForm", "NorValRefMaskEdit");
                measure = Text("TCadFicTecRotForm", "AMCMaskEdit");
            })
        .Click("TCadFicTecRotForm", "GraBitBtn")
        .Answer("SimBitBtn")
        .Answer("OkBitBtn")
        .Click("TCadFicTecRotForm", "RetBitBtn")
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();

    EXPECT_EQ(shown, (QStringList{QStringLiteral("Exemplo - bebida láctea"),
                                  QStringLiteral("Exemplo - iogurte")}));
    EXPECT_EQ(portion.remove(QLatin1Char('_')).trimmed(), QStringLiteral("200"));
    EXPECT_EQ(unit.trimmed(), QStringLiteral("ml"));
    EXPECT_EQ(norm.trimmed(), QStringLiteral("200ml"));
    EXPECT_EQ(measure.trimmed(), QStringLiteral("1 copo"));
    const std::string list =
        ReadBytes(Home() / "Dados" / "Minha" / "Ficha Tecnica" / "ArqFicTec.dad");
    EXPECT_NE(list.find(W("|Exemplo - bebida láctea")), std::string::npos) << list;
}

}  // namespace
}  // namespace velmaro::test
