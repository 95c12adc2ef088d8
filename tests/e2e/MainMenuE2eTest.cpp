// The real application offscreen: the main menu, the screens it opens, the message
// dialog, and a table created and fixed through the windows.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <QListView>

#include "e2e/AppFixture.h"
#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "support/TestEnv.h"

namespace velmaro::test {
namespace {

class MainMenuE2e : public AppE2e {};

TEST_F(MainMenuE2e, ShowsTheNineButtonsOpensTheTableRegisterAndEndsWithFim) {
    std::vector<std::string> classes;
    for (const Form* f : driver.App().Screens()) {
        classes.push_back(f->ClassName());
    }
    EXPECT_EQ(
        classes,
        (std::vector<std::string>{
            "TNutForm",          "TCadFicTecRotForm", "TAjuForm",          "TCadRecForm",
            "TLisForm",          "TCadMedCas2Form",   "TCfgNutForm",       "TCadTabForm",
            "TSelRelForm",       "TCadGruIngForm",    "TCadGruPreForm",    "TVisLisIngForm",
            "TMesDlgForm",       "TCadIngForm",       "TImpRotForm",       "TVisLisForm",
            "TCadIngFicTecForm", "TConForm",          "TAltNomForm",       "TVisRelForm",
            "TCfgRotForm",       "TIteVerForm",       "TVisLisValRefForm", "TCadValRefForm"}));

    QStringList captions;
    QString title;
    bool registerShown = false;
    driver
        .On("TNutForm",
            [&] {
                title = AppDriver::Window("TNutForm")->windowTitle();
                for (const char* name :
                     {"FimBitBtn", "TabBitBtn", "CfgNutBitBtn", "GruBitBtn", "CadIngBitBtn",
                      "MedCasBitBtn", "RelBitBtn", "CadFicTecRotRotBitBtn", "BitBtn1"}) {
                    captions << Text("TNutForm", name);
                }
            })
        .Click("TNutForm", "TabBitBtn")
        .On("TCadTabForm",
            [&] {
                registerShown = true;
                AppDriver::Window("TCadTabForm")->close();  // the close box
            })
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();

    EXPECT_EQ(title, QStringLiteral("TELA PRINCIPAL - VELMARO NUTRICIONAL versão 4.0"));
    EXPECT_EQ(captions,
              (QStringList{
                  "Ajuda", "Cria NOVA Tabela de Ingredientes", "Configuração - Define Tabela Ativa",
                  "Grupos de Ingredientes da Tabela Ativa", "Ingredientes da Tabela Ativa",
                  "Medidas Caseiras para os Ingredientes", "Grupos de Preparações da Tabela Ativa",
                  "Cadastra Preparações da Tabela Ativa", "FIM"}));
    EXPECT_TRUE(registerShown);
    EXPECT_EQ(AppDriver::Window("TNutForm"), nullptr);
}

TEST_F(MainMenuE2e, MessageDialogTakesItsSizeFromTextAndPictureAndAnswersByButtonOrEnter) {
    QtUi& ui = driver.App().Ui();
    int clicked = 0;
    int entered = 0;
    int withoutPicture = 0;
    QSize size;
    QSize picture;
    QSize bare;
    bool okHidden = false;
    driver
        .On("TNutForm",
            [&] { clicked = ui.ShowMessageBox(W("Confirma exclusão?"), MessageKind::YesNo); })
        .On("TMesDlgForm",
            [&] {
                QWidget* dialog = AppDriver::Window("TMesDlgForm");
                size = dialog->size();
                picture = qobject_cast<QLabel*>(AppDriver::Widget("TMesDlgForm", "DesImage"))
                              ->pixmap()
                              .size();
                okHidden = AppDriver::Widget("TMesDlgForm", "OkBitBtn") == nullptr;
            })
        .Answer("NaoBitBtn")
        .On("TNutForm", [&] { entered = ui.ShowMessageBox(W("Grava?"), MessageKind::YesNo); })
        .Key("TMesDlgForm", "SimBitBtn", Qt::Key_Return)
        .On("TNutForm",
            [&] {
                ui.MesDlg().DesImage.filePath = (Scratch() / "sem-figura.jpg").string();
                withoutPicture = ui.ShowMessageBox(W("Atenção"), MessageKind::Ok);
            })
        .On("TMesDlgForm", [&] { bare = AppDriver::Window("TMesDlgForm")->size(); })
        .Answer("OkBitBtn")
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();

    EXPECT_EQ(clicked, kAnswerNo);
    EXPECT_EQ(entered, kAnswerYes);
    EXPECT_EQ(withoutPicture, kAnswerOk);
    EXPECT_EQ(driver.Messages().front(), "Confirma exclusão?");
    EXPECT_TRUE(okHidden);
    // A short text: 330 pixels plus the picture; the picture's height is the dialog's.
    EXPECT_EQ(picture, QSize(110, 150));
    EXPECT_EQ(size, QSize(330 + 110, 150));
    EXPECT_EQ(bare.width(), 330);
}

TEST_F(MainMenuE2e, ATableCreatedInItsRegisterAndFixedInTheConfigurationNamesTheMainMenu) {
    QString typedName;
    QString refusedShown;
    QString title;
    driver.Click("TNutForm", "TabBitBtn")
        .Type("TCadTabForm", "TabMaskEdit", "Min✓ha")
        .Then(
            "name typed", [] { return true; },
            [&] { typedName = Text("TCadTabForm", "TabMaskEdit"); })
        .Key("TCadTabForm", "TabMaskEdit", Qt::Key_Return)
        .Type("TCadTabForm", "DesTabMaskEdit", "Tabela própria")
        .Click("TCadTabForm", "GraBitBtn")
        .Answer("SimBitBtn")
        .Answer("OkBitBtn")
        .Click("TCadTabForm", "RetBitBtn")
        .Click("TNutForm", "CfgNutBitBtn")
        .Click("TCfgNutForm", "FixTabCheckBox")
        .On("TCfgNutForm",
            [&] {
                auto* combo =
                    qobject_cast<QComboBox*>(AppDriver::Widget("TCfgNutForm", "NomTabComboBox"));
                ASSERT_NE(combo, nullptr);
                const int index = combo->findText(QStringLiteral("Minha"), Qt::MatchStartsWith);
                ASSERT_GE(index, 0);
                combo->setCurrentIndex(index);
            })
        .Click("TCfgNutForm", "GraBitBtn")
        .On("TNutForm", [&] { title = AppDriver::Window("TNutForm")->windowTitle(); })
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();

    // "✓" has no place in Windows-1252: refused as it was typed.
    EXPECT_EQ(typedName, QStringLiteral("Minha_______________"));
    EXPECT_EQ(driver.Messages(),
              (std::vector<std::string>{"Confirma inclusão?", "Inclusão efetuada com sucesso!"}));
    EXPECT_NE(ReadBytes(Home() / "Dados" / "ArqTab.dad")
                  .find(Pad("Minha", 20) + "|" + Pad(W("Tabela própria"), 65) + "|1|"),
              std::string::npos);
    EXPECT_EQ(title, QStringLiteral("TELA PRINCIPAL - VELMARO NUTRICIONAL versão 4.0 - Tabela "
                                    "Ativa :Minha               "));
    EXPECT_TRUE(driver.App().Table().fixed);
    EXPECT_TRUE(driver.App().Table().editable);
}

TEST_F(MainMenuE2e, EveryButtonOpensItsScreenForTheFixedTable) {
    FixUserTable("Minha");
    std::vector<std::string> opened;
    const std::vector<std::pair<std::string, std::string>> buttons{
        {"FimBitBtn", "TAjuForm"},
        {"GruBitBtn", "TCadGruIngForm"},
        {"CadIngBitBtn", "TCadIngForm"},
        {"RelBitBtn", "TCadGruPreForm"},
        {"CadFicTecRotRotBitBtn", "TCadFicTecRotForm"}};
    for (const auto& [button, screen] : buttons) {
        driver.Click("TNutForm", button).On(screen, [&opened, screen] {
            opened.push_back(screen);
            AppDriver::Window(screen)->close();
        });
    }
    // No ingredient has measures to show yet: the screen says so and closes.
    driver.Click("TNutForm", "MedCasBitBtn").Answer("OkBitBtn").Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();
    EXPECT_EQ(opened, (std::vector<std::string>{"TAjuForm", "TCadGruIngForm", "TCadIngForm",
                                                "TCadGruPreForm", "TCadFicTecRotForm"}));
    EXPECT_EQ(driver.Messages(), std::vector<std::string>{"Não existem ingredientes cadastrados!"});
    EXPECT_TRUE(driver.App().Table().fixed);
}

TEST_F(MainMenuE2e, APreparationAndItsMethodTextAreTypedThroughTheWindows) {
    FixUserTable("Minha");
    driver.Click("TNutForm", "CadFicTecRotRotBitBtn")
        .Type("TCadFicTecRotForm", "NomPreMaskEdit", "Bolo de milho")
        .Key("TCadFicTecRotForm", "NomPreMaskEdit", Qt::Key_Return)
        .Click("TCadFicTecRotForm", "RenPesMaskEdit")
        .Type("TCadFicTecRotForm", "RenPesMaskEdit", "1000")
        .Click("TCadFicTecRotForm", "NumPorMaskEdit")
        .Type("TCadFicTecRotForm", "NumPorMaskEdit", "10")
        .Click("TCadFicTecRotForm", "RenColSopMaskEdit")
        .Type("TCadFicTecRotForm", "RenColSopMaskEdit", "15")
        .Click("TCadFicTecRotForm", "GraBitBtn")
        .Answer("SimBitBtn")
        .Answer("OkBitBtn")
        .Click("TCadFicTecRotForm", "RecBitBtn")
        .Type("TCadRecForm", "RecMemo", "Misture tudo e asse.")
        .Click("TCadRecForm", "GraBitBtn")
        .Answer("SimBitBtn")
        .Answer("OkBitBtn")
        .Click("TCadRecForm", "RetBitBtn")
        .Click("TCadFicTecRotForm", "RetBitBtn")
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();

    EXPECT_EQ(driver.Messages(),
              (std::vector<std::string>{"Confirma inclusão?", "Inclusão efetuada com sucesso!",
                                        "Grava receita?", "Receita gravada com sucesso!"}));
    const std::string list =
        ReadBytes(Home() / "Dados" / "Minha" / "Ficha Tecnica" / "ArqFicTec.dad");
    ASSERT_EQ(list.rfind(Pad("Bolo de milho", 40) + "|", 0), 0u) << list;
    // Yield 1000 g in 10 portions: portion weight 100 g; the tablespoon 15 g.
    EXPECT_NE(list.find("|    10|"), std::string::npos) << list;
    const std::string method =
        ReadBytes(Home() / "Dados" / "Minha" / "Receita" / "Bolo de milho.rec");
    EXPECT_EQ(method, "Misture tudo e asse.\r\n");
}

TEST_F(MainMenuE2e, TheIngredientListFindsAKeywordAndADoubleClickShowsThatIngredient) {
    FixUserTable("Minha");
    std::vector<std::string> records;
    for (const char* name : {"Arroz cozido", "Feij\xE3o preto cozido", "Milho verde"}) {
        records.push_back(Pad(name, 60) + "| 100,00|" + std::string(28, '|'));
    }
    WriteIngredients("Minha", records);

    int rows = -1;
    QString shown;
    bool deleteEnabled = false;
    QFont listFont;
    driver.Click("TNutForm", "CadIngBitBtn")
        .Click("TCadIngForm", "LisBitBtn")
        .Click("TVisLisIngForm", "PalChaCheckBox")
        .Type("TVisLisIngForm", "PalChaMaskEdit", "FEIJAO")
        .Click("TVisLisIngForm", "PalChaBitBtn")
        .On("TVisLisIngForm",
            [&] {
                auto* list = qobject_cast<QListView*>(
                    AppDriver::Widget("TVisLisIngForm", "LisFilOrdListBox"));
                ASSERT_NE(list, nullptr);
                listFont = list->font();
                rows = list->model()->rowCount();
                ASSERT_GE(rows, 1);
                const QRect row = list->visualRect(list->model()->index(0, 0));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
            })
        .On("TCadIngForm",
            [&] {
                shown = Text("TCadIngForm", "IngMaskEdit");
                deleteEnabled = AppDriver::Widget("TCadIngForm", "ExcBitBtn")->isEnabled();
            })
        .Click("TCadIngForm", "RetBitBtn")
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();
    EXPECT_EQ(rows, 1);
    // The rows in the fixed-pitch bold face, so that the fields stand in columns.
    EXPECT_TRUE(listFont.bold());
    EXPECT_TRUE(QFontInfo(listFont).fixedPitch()) << listFont.family().toStdString();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Feijão preto cozido"))) << shown.toStdString();
    EXPECT_TRUE(deleteEnabled);  // the record is shown (Exclui works only then)
}

}  // namespace
}  // namespace velmaro::test
