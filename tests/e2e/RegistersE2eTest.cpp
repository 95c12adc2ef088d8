// The registers of ingredients, groups and measures through the real windows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QListView>
#include <QRegularExpression>

#include "e2e/AppFixture.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"

namespace velmaro::test {
namespace {

class RegistersE2e : public AppE2e {};

QStringList Rows(const std::string& className, const std::string& control) {
    QStringList rows;
    if (auto* list = qobject_cast<QListView*>(AppDriver::Widget(className, control))) {
        for (int i = 0; i < list->model()->rowCount(); ++i) {
            rows << list->model()->index(i, 0).data().toString();
        }
    }
    return rows;
}

// The messages answered, one a line, for a failure's report.
std::string Said(const AppDriver& driver) {
    std::string said;
    for (const std::string& m : driver.Messages()) {
        said += m + "\n";
    }
    return said;
}

TEST_F(RegistersE2e, AGroupGivenToAnIngredientCannotBeDeleted) {
    FixUserTable("Minha");
    WriteIngredients("Minha", {Pad("Arroz", 60) + "| 128,00|" + std::string(28, '|')});

    QStringList report;
    driver.Click("TNutForm", "GruBitBtn")
        .Type("TCadGruIngForm", "GruMaskEdit", "Cereais")
        .Key("TCadGruIngForm", "GruMaskEdit", Qt::Key_Return)
        .Click("TCadGruIngForm", "GraBitBtn")
        .Answer("SimBitBtn")
        .Answer("OkBitBtn")
        .Click("TCadGruIngForm", "RetBitBtn")
        .Click("TNutForm", "CadIngBitBtn")
        .Type("TCadIngForm", "IngMaskEdit", "Arroz")
        .Key("TCadIngForm", "IngMaskEdit", Qt::Key_Return)
        .On("TCadIngForm", [] { Choose("TCadIngForm", "NomGruComboBox", "Cereais"); })
        .Click("TCadIngForm", "GraBitBtn")
        .Answer("SimBitBtn")  // the ingredient register tells no success
        .Click("TCadIngForm", "RetBitBtn")
        .Click("TNutForm", "GruBitBtn")
        .Type("TCadGruIngForm", "GruMaskEdit", "Cereais")
        .Key("TCadGruIngForm", "GruMaskEdit", Qt::Key_Return)
        .Click("TCadGruIngForm", "ExcBitBtn")
        .On("TIteVerForm", [&] { report = Rows("TIteVerForm", "IteVerListBox"); })
        .Click("TIteVerForm", "BitBtn3")
        .Click("TCadGruIngForm", "RetBitBtn")
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure() << "\n" << Said(driver);
    EXPECT_EQ(driver.Messages(),
              (std::vector<std::string>{"Confirma inclusão?", "Inclusão efetuada com sucesso!",
                                        "Confirma alteração?"}));
    EXPECT_EQ(report.filter(QStringLiteral("Arroz")).size(), 1) << report.join('\n').toStdString();
    EXPECT_NE(ReadBytes(IngredientGroupsPath(Home(), "Minha")).find(Pad("Cereais", 20) + "|"),
              std::string::npos);
}

// The control that has the keyboard focus.
std::string Focused() {
    QWidget* w = QApplication::focusWidget();
    return w == nullptr ? std::string() : w->objectName().toStdString();
}

// Tab or Enter from a blank key is refused and keeps the focus there (with the data
// fields disabled they would land on "&Novo"); Enter on a focused button walks on
// without pressing it.
TEST_F(RegistersE2e, TabAndEnterWalkWithoutPressingButtons) {
    FixUserTable("Minha");
    WriteIngredients("Minha", {Pad("Arroz", 60) + "| 128,00|" + std::string(28, '|')});
    std::vector<std::string> focus;
    const auto note = [&focus] { focus.push_back(Focused()); };
    driver.Click("TNutForm", "TabBitBtn")
        .Key("TCadTabForm", "TabMaskEdit", Qt::Key_Tab)
        .Answer("OkBitBtn")
        .On("TCadTabForm", note)
        .Key("TCadTabForm", "TabMaskEdit", Qt::Key_Return)
        .Answer("OkBitBtn")
        .On("TCadTabForm", note)
        .Click("TCadTabForm", "RetBitBtn")
        .Click("TNutForm", "GruBitBtn")
        .Key("TCadGruIngForm", "GruMaskEdit", Qt::Key_Tab)
        .Answer("OkBitBtn")
        .On("TCadGruIngForm", note)
        .Click("TCadGruIngForm", "RetBitBtn")
        .Click("TNutForm", "CadIngBitBtn")
        .Type("TCadIngForm", "IngMaskEdit", "Arroz")
        .Key("TCadIngForm", "IngMaskEdit", Qt::Key_Return)
        .On("TCadIngForm",
            [] {
                AppDriver::Widget("TCadIngForm", "LimNomGruBitBtn")->setFocus(Qt::TabFocusReason);
            })
        .Key("TCadIngForm", "LimNomGruBitBtn", Qt::Key_Return)
        .On("TCadIngForm", note)
        .Click("TCadIngForm", "RetBitBtn")
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure() << "\n" << Said(driver);
    EXPECT_EQ(driver.Messages(), (std::vector<std::string>(3, "Código inválido!")));
    EXPECT_EQ(focus, (std::vector<std::string>{"TabMaskEdit", "TabMaskEdit", "GruMaskEdit",
                                               "NomGruComboBox"}));
}

// The configuration's close box asks as "&Retorna" does, and SIM saves.
TEST_F(RegistersE2e, TheConfigurationCloseBoxAsksToSave) {
    FixUserTable("Minha");
    driver.Click("TNutForm", "CfgNutBitBtn")
        .Click("TCfgNutForm", "FixTabCheckBox")
        .On("TCfgNutForm", [] { AppDriver::Window("TCfgNutForm")->close(); })
        .Answer("SimBitBtn")
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure() << "\n" << Said(driver);
    EXPECT_EQ(driver.Messages(),
              std::vector<std::string>{"Os dados não foram salvos! Deseja salvá-los?"});
    EXPECT_FALSE(IniFile(Config()).ReadBool("Fixa Tabela", "FixTab", true));
}

TEST_F(RegistersE2e, ANewEnergyTypedInTheRegisterReachesEveryPreparationUsingTheIngredient) {
    std::filesystem::copy(FixturePath("ingredient-used-by-preparations"), Home(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    FixUserTable("Minha");
    // Arroz as the preparations were computed with: 100 kcal per 100 g.
    WriteIngredients("Minha", {Pad("Arroz", 60) +
                               "| 100,00|  28,00|   2,50|   0,20|   0,10|    ,  |   1,60|"
                               "   4,00|   0,20|    1,00|||  1,67|   ,  |     8,00|01/10/25|" +
                               std::string(13, '|')});
    const auto preparation = [this](const std::string& name) {
        return ReadBytes(Home() / "Dados" / "Minha" / "Ficha Tecnica" / (name + ".dad"));
    };
    const std::string saladBefore = preparation("Salada");

    QStringList report;
    driver.Click("TNutForm", "CadIngBitBtn")
        .Type("TCadIngForm", "IngMaskEdit", "Arroz")
        .Key("TCadIngForm", "IngMaskEdit", Qt::Key_Return)
        .Type("TCadIngForm", "kalMaskEdit", "120")
        .Click("TCadIngForm", "GraBitBtn")
        .On("TIteVerForm", [&] { report = Rows("TIteVerForm", "IteVerListBox"); })
        .Click("TIteVerForm", "BitBtn3")
        .Answer("SimBitBtn")
        .Click("TCadIngForm", "RetBitBtn")
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure() << "\n" << Said(driver);

    EXPECT_EQ(driver.Messages(), std::vector<std::string>{"Confirma alteração?"});
    EXPECT_EQ(report.filter(QStringLiteral("Arroz doce")).size(), 1)
        << report.join('\n').toStdString();
    // 150,0 g of Arroz at 120 kcal per 100 g; the preparation's total with Leite's 122,00.
    const std::string line = preparation("Arroz doce");
    EXPECT_NE(line.find("|   180,00|"), std::string::npos) << line;
    const std::string list = preparation("ArqFicTec");
    EXPECT_NE(list.find(Pad("Arroz doce", 40) + "|   300|   302,00|"), std::string::npos) << list;
    EXPECT_EQ(preparation("Salada"), saladBefore);
    // The ingredient file is written when the register is left.
    LineTable stored;
    NullProgress progress;
    LoadScrambledLineTable(IngredientFilePath(Home(), "Minha"), stored, progress);
    ASSERT_EQ(stored.lines.Count(), 1);
    EXPECT_EQ(stored.lines[0].substr(60, 9), "| 120,00|");
}

TEST_F(RegistersE2e, TheDeliveredTacoTableIsConsultedWithItsSourcesAndHouseholdMeasures) {
    WriteBytes(Config(), "[Fixa Tabela]\r\nFixTab=1\r\nNomTab=" + Pad("TACO", 20) + "|\r\n");
    QString first;
    QString source;
    bool gravaEnabled = true;
    QStringList measures;
    driver.Click("TNutForm", "CadIngBitBtn")
        .On("TCadIngForm",
            [&] {
                first = Text("TCadIngForm", "IngMaskEdit");
                source = Text("TCadIngForm", "KALFonMaskEdit");
                gravaEnabled = AppDriver::Widget("TCadIngForm", "GraBitBtn")->isEnabled();
            })
        .Click("TCadIngForm", "RetBitBtn")
        .Click("TNutForm", "MedCasBitBtn")
        .On("TCadMedCas2Form",
            [] { Choose("TCadMedCas2Form", "NomIngComboBox", "Arroz, tipo 1, cozido"); })
        .Click("TCadMedCas2Form", "LisBitBtn")
        .On("TLisForm", [&] { measures = Rows("TLisForm", "ListBox"); })
        .Key("TLisForm", "ListBox", Qt::Key_Return)
        .Click("TCadMedCas2Form", "RetBitBtn")
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure() << "\n" << Said(driver);

    // A table delivered with the program is only consulted: it opens on its first food,
    // each value's source naming the table.
    EXPECT_TRUE(first.startsWith(QStringLiteral("Abacate, cru"))) << first.toStdString();
    EXPECT_TRUE(source.startsWith(QStringLiteral("TACO"))) << source.toStdString();
    EXPECT_FALSE(gravaEnabled);
    EXPECT_TRUE(measures
                    .filter(QRegularExpression(QStringLiteral("^Colher servir cheia *\\|"
                                                              " +45,0\\|$")))
                    .size() == 1)
        << measures.join('\n').toStdString();
}

TEST_F(RegistersE2e, AMeasureIsAddedAndAMeasureInUseIsRenamedInThePreparations) {
    std::filesystem::copy(FixturePath("ingredient-used-by-preparations"), Home(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    FixUserTable("Minha");
    WriteIngredients("Minha", {Pad("Arroz", 60) + "| 100,00|" + std::string(28, '|'),
                               Pad("Leite", 60) + "|  61,00|" + std::string(28, '|')});
    const auto dir = Home() / "Dados" / "Minha";
    WriteBytes(dir / "Medidas" / "Arroz.med", Pad("Concha", 20) + "|   100,0|\r\n");
    // The rice of "Arroz doce" is measured in ladles.
    const auto sweet = dir / "Ficha Tecnica" / "Arroz doce.dad";
    std::string lines = ReadBytes(sweet);
    const size_t at = lines.find("|01/10/25||");
    ASSERT_NE(at, std::string::npos);
    lines.replace(at, 11, "|01/10/25|" + Pad("Concha", 20) + "|");
    WriteBytes(sweet, lines);

    driver.Click("TNutForm", "MedCasBitBtn")
        .On("TCadMedCas2Form", [] { Choose("TCadMedCas2Form", "NomIngComboBox", "Arroz"); })
        .Fill("TCadMedCas2Form", "MedCasMaskEdit", "Xícara")
        .Key("TCadMedCas2Form", "MedCasMaskEdit", Qt::Key_Return)
        .Fill("TCadMedCas2Form", "QuaMaskEdit", "120")
        .Click("TCadMedCas2Form", "GraBitBtn")
        .Answer("SimBitBtn")
        .Answer("OkBitBtn")
        .Fill("TCadMedCas2Form", "MedCasMaskEdit", "Concha")
        .Key("TCadMedCas2Form", "MedCasMaskEdit", Qt::Key_Return)
        .Click("TCadMedCas2Form", "AltNomBitBtn")
        .Type("TAltNomForm", "NovNomMaskEdit", "Concha grande")
        .Click("TAltNomForm", "ConBitBtn")
        .Click("TCadMedCas2Form", "RetBitBtn")
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure() << "\n" << Said(driver);

    EXPECT_EQ(driver.Messages(),
              (std::vector<std::string>{"Confirma inclusão?", "Inclusão efetuada com sucesso!"}));
    EXPECT_EQ(
        ReadBytes(dir / "Medidas" / "Arroz.med"),
        Pad("Concha grande", 20) + "|   100,0|\r\n" + Pad(W("Xícara"), 20) + "|   120,0|\r\n");
    EXPECT_NE(ReadBytes(sweet).find("|01/10/25|" + Pad("Concha grande", 20) + "|"),
              std::string::npos);
}

}  // namespace
}  // namespace velmaro::test
