// A whole technical sheet built through the real windows, as a nutritionist builds one:
// a preparation with its yield and portions, three ingredient lines entered by net
// weight, by gross weight and by household measure, and the values per portion.

#include <gtest/gtest.h>

#include <QComboBox>

#include "e2e/AppFixture.h"
#include "storage/Cp1252.h"

namespace velmaro::test {
namespace {

class TechnicalSheetE2e : public AppE2e {};

// Goes to a drop-down and picks the item that starts with `text`.
void Choose(const std::string& className, const std::string& control, const QString& text) {
    auto* combo = qobject_cast<QComboBox*>(AppDriver::Widget(className, control));
    ASSERT_NE(combo, nullptr);
    combo->setFocus(Qt::MouseFocusReason);
    const int index = combo->findText(text, Qt::MatchStartsWith);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
}

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

}  // namespace
}  // namespace velmaro::test
