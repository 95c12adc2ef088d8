// A nutritionist's whole journey through the real windows, on a fresh data home: a table
// with its groups, five ingredients with household measures, two preparations with their
// lines by net weight, gross weight and household measure, a method text, the labels in
// every layout and the three reports saved, then an ingredient changed and renamed, a
// preparation renamed, a group in use kept, a preparation deleted; at the end the data
// folder check finds nothing wrong.

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QTest>
#include <sstream>

#include "cli/Cli.h"
#include "e2e/AppFixture.h"
#include "platform/qt/QtImageOutput.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"

namespace velmaro::test {
namespace {

// "BM <width> x <height> x <bits per pixel>" of a BMP file.
std::string BmpHead(const std::string& bmp) {
    if (bmp.size() < 30) {
        return "(short)";
    }
    const auto little = [&bmp](size_t at, size_t count) {
        unsigned long value = 0;
        for (size_t i = count; i-- > 0;) {
            value = (value << 8) | static_cast<unsigned char>(bmp[at + i]);
        }
        return std::to_string(value);
    };
    return bmp.substr(0, 2) + " " + little(18, 4) + " x " + little(22, 4) + " x " + little(28, 2);
}

class JourneyE2e : public AppE2e {
  protected:
    // An ingredient typed into the register: its ten values per 100 g (energy to sodium),
    // its correction factor and its cost per kilogram, and its group.
    struct Food {
        const char* name;
        std::vector<const char*> values;
        const char* factor;
        const char* cost;
        const char* group;
        const char* measure;
        const char* measureGrams;
    };

    void TypeIngredient(const Food& food) {
        static const char* const kFields[] = {
            "kalMaskEdit", "CHOMaskEdit", "PTNMaskEdit", "LipMaskEdit", "SATMaskEdit",
            "COLMaskEdit", "FibMaskEdit", "CalMaskEdit", "FerMaskEdit", "SODMaskEdit"};
        driver.Fill("TCadIngForm", "IngMaskEdit", food.name)
            .Key("TCadIngForm", "IngMaskEdit", Qt::Key_Return);
        for (size_t i = 0; i < food.values.size(); ++i) {
            driver.Fill("TCadIngForm", kFields[i], food.values[i]);
        }
        driver.Fill("TCadIngForm", "FCMaskEdit", food.factor)
            .Fill("TCadIngForm", "CusUniMaskEdit", food.cost);
        if (food.group != nullptr) {
            const QString group = QString::fromUtf8(food.group);
            driver.On("TCadIngForm", [group] { Choose("TCadIngForm", "NomGruComboBox", group); });
        }
        driver.Click("TCadIngForm", "GraBitBtn")
            .Answer("SimBitBtn")
            .Click("TCadIngForm", "NovBitBtn");
    }

    void TypeMeasure(const Food& food) {
        const QString name = QString::fromUtf8(food.name);
        driver.On("TCadMedCas2Form", [name] { Choose("TCadMedCas2Form", "NomIngComboBox", name); })
            .Fill("TCadMedCas2Form", "MedCasMaskEdit", food.measure)
            .Key("TCadMedCas2Form", "MedCasMaskEdit", Qt::Key_Return)
            .Fill("TCadMedCas2Form", "QuaMaskEdit", food.measureGrams)
            .Click("TCadMedCas2Form", "GraBitBtn")
            .Answer("SimBitBtn")
            .Answer("OkBitBtn");
    }

    // A line of the preparation: the ingredient, then what `enter` types.
    template <typename Enter>
    void Line(const char* ingredient, Enter enter) {
        const QString name = QString::fromUtf8(ingredient);
        driver
            .On("TCadIngFicTecForm",
                [name] { Choose("TCadIngFicTecForm", "NomIngComboBox", name); })
            .Key("TCadIngFicTecForm", "NomIngComboBox", Qt::Key_Tab);
        enter();
        driver.Click("TCadIngFicTecForm", "GraBitBtn")
            .Answer("SimBitBtn")
            .Answer("OkBitBtn")
            .Click("TCadIngFicTecForm", "NovBitBtn");
    }
    void ByNet(const char* ingredient, const char* grams) {
        Line(ingredient,
             [this, grams] { driver.Fill("TCadIngFicTecForm", "PesLiqMaskEdit", grams); });
    }
    void ByGross(const char* ingredient, const char* grams) {
        Line(ingredient,
             [this, grams] { driver.Fill("TCadIngFicTecForm", "PesBruMaskEdit", grams); });
    }
    void ByMeasure(const char* ingredient, const char* measure, const char* count) {
        const QString name = QString::fromUtf8(measure);
        Line(ingredient, [this, name, count] {
            driver
                .On("TCadIngFicTecForm",
                    [name] { Choose("TCadIngFicTecForm", "NomMedCasComboBox", name); })
                .Fill("TCadIngFicTecForm", "QuaMedCasMaskEdit", count);
        });
    }

    // Opens a new preparation in the register with its yield, portions and group, and
    // stores it; the register stays open on it.
    void NewPreparation(const char* name, const char* yield, const char* portions) {
        driver.Click("TNutForm", "CadFicTecRotRotBitBtn")
            .Fill("TCadFicTecRotForm", "NomPreMaskEdit", name)
            .Key("TCadFicTecRotForm", "NomPreMaskEdit", Qt::Key_Return)
            .Fill("TCadFicTecRotForm", "RenPesMaskEdit", yield)
            .Fill("TCadFicTecRotForm", "NumPorMaskEdit", portions)
            .On("TCadFicTecRotForm",
                [] { Choose("TCadFicTecRotForm", "NomGruPreComboBox", QStringLiteral("Pratos")); })
            .Click("TCadFicTecRotForm", "GraBitBtn")
            .Answer("SimBitBtn")
            .Answer("OkBitBtn");
    }
    void StorePreparation() {
        driver.Click("TCadFicTecRotForm", "GraBitBtn").Answer("SimBitBtn").Answer("OkBitBtn");
    }

    // Opens a register, shows the record of `name`, renames it through the rename dialog.
    void Rename(const char* screen, const char* keyField, const char* name, const char* newName) {
        driver.Fill(screen, keyField, name)
            .Key(screen, keyField, Qt::Key_Return)
            .Click(screen, "AltNomBitBtn")
            .Type("TAltNomForm", "NovNomMaskEdit", newName)
            .Click("TAltNomForm", "ConBitBtn");
    }

    std::filesystem::path Sheets() const { return Home() / "Dados" / "Cozinha" / "Ficha Tecnica"; }
};

TEST_F(JourneyE2e, FromAnEmptyHomeToCheckedTechnicalSheetsLabelsAndReports) {
    const std::vector<Food> foods{
        {"Arroz",
         {"128", "28,1", "2,5", "0,2", "0,1", "0", "1,6", "4", "0,1", "1"},
         "1",
         "6",
         "Cereais",
         "Colher de servir",
         "45"},
        {"Feijão",
         {"76", "13,6", "4,8", "0,5", "0,1", "0", "8,5", "27", "1,3", "2"},
         "1",
         "9",
         "Leguminosas",
         "Concha média",
         "86"},
        {"Batata",
         {"52", "11,9", "1,2", "0", "0", "0", "1,3", "4", "0,2", "2"},
         "1,25",
         "4",
         nullptr,
         "Unidade média",
         "150"},
        {"Óleo de soja",
         {"884", "0", "0", "100", "15", "0", "0", "0", "0", "0"},
         "1",
         "8",
         nullptr,
         "Colher de sopa",
         "8"},
        {"Cebola",
         {"39", "8,9", "1,7", "0,1", "0", "0", "2,2", "14", "0,2", "1"},
         "1,1",
         "5",
         nullptr,
         "Unidade média",
         "70"}};

    // The table, fixed as the active one.
    driver.Click("TNutForm", "TabBitBtn")
        .Fill("TCadTabForm", "TabMaskEdit", "Cozinha")
        .Key("TCadTabForm", "TabMaskEdit", Qt::Key_Return)
        .Fill("TCadTabForm", "DesTabMaskEdit", "Cozinha do restaurante")
        .Click("TCadTabForm", "GraBitBtn")
        .Answer("SimBitBtn")
        .Answer("OkBitBtn")
        .Click("TCadTabForm", "RetBitBtn")
        .Click("TNutForm", "CfgNutBitBtn")
        .Click("TCfgNutForm", "FixTabCheckBox")
        .On("TCfgNutForm",
            [] { Choose("TCfgNutForm", "NomTabComboBox", QStringLiteral("Cozinha")); })
        .Click("TCfgNutForm", "GraBitBtn");
    // Its groups.
    driver.Click("TNutForm", "GruBitBtn");
    for (const char* group : {"Cereais", "Leguminosas"}) {
        driver.Fill("TCadGruIngForm", "GruMaskEdit", group)
            .Key("TCadGruIngForm", "GruMaskEdit", Qt::Key_Return)
            .Click("TCadGruIngForm", "GraBitBtn")
            .Answer("SimBitBtn")
            .Answer("OkBitBtn");
    }
    driver.Click("TCadGruIngForm", "RetBitBtn")
        .Click("TNutForm", "RelBitBtn")
        .Fill("TCadGruPreForm", "GruMaskEdit", "Pratos")
        .Key("TCadGruPreForm", "GruMaskEdit", Qt::Key_Return)
        .Click("TCadGruPreForm", "GraBitBtn")
        .Answer("SimBitBtn")
        .Answer("OkBitBtn")
        .Click("TCadGruPreForm", "RetBitBtn");
    // Five ingredients, then a household measure for each.
    driver.Click("TNutForm", "CadIngBitBtn");
    for (const Food& food : foods) {
        TypeIngredient(food);
    }
    driver.Click("TCadIngForm", "RetBitBtn").Click("TNutForm", "MedCasBitBtn");
    for (const Food& food : foods) {
        TypeMeasure(food);
    }
    driver.Click("TCadMedCas2Form", "RetBitBtn");

    // Two preparations.
    NewPreparation("Arroz com feijão", "600", "4");
    driver.Click("TCadFicTecRotForm", "IngBitBtn");
    ByNet("Arroz", "200");
    ByMeasure("Feijão", "Concha média", "2");
    ByNet("Óleo de soja", "10");
    ByGross("Cebola", "55");
    driver.Click("TCadIngFicTecForm", "RetBitBtn");
    StorePreparation();
    driver.Click("TCadFicTecRotForm", "RecBitBtn")
        .Type("TCadRecForm", "RecMemo", "Refogue a cebola no óleo, junte o arroz e o feijão.")
        .Click("TCadRecForm", "GraBitBtn")
        .Answer("SimBitBtn")
        .Answer("OkBitBtn")
        .Click("TCadRecForm", "RetBitBtn");

    // Its label in every layout, as a picture and as a sheet of labels in PDF.
    // A layout whose texts do not fit the 67 mm label is asked about and made all the same.
    driver.Click("TCadFicTecRotForm", "ImpRotBitBtn");
    std::vector<std::string> labelHeads;
    std::vector<std::string> notFitting;
    const auto goOnIfAsked = [this, &notFitting](const std::string& layout) {
        driver.Then(
            "a question whether to go on, or the file made",
            [this] {
                // The next message: past the one that asked whether to make the file.
                auto* text = qobject_cast<QLabel*>(AppDriver::Widget("TMesDlgForm", "MenLabel"));
                return (driver.OnTop("TMesDlgForm") && text != nullptr &&
                        !text->text().startsWith(QStringLiteral("Gera "))) ||
                       qobject_cast<QFileDialog*>(QApplication::activeModalWidget()) != nullptr;
            },
            [this, &notFitting, layout] {
                auto* text = qobject_cast<QLabel*>(AppDriver::Widget("TMesDlgForm", "MenLabel"));
                if (driver.OnTop("TMesDlgForm") && text != nullptr &&
                    text->text().contains(QStringLiteral("não cabe"))) {
                    notFitting.push_back(layout);
                    QTest::mouseClick(AppDriver::Widget("TMesDlgForm", "SimBitBtn"),
                                      Qt::LeftButton);
                }
            });
    };
    for (const char* layout :
         {"ModVerRadioButton", "ModHorRadioButton", "ModLinRadioButton", "ModPerRadioButton"}) {
        driver.Click("TImpRotForm", layout).Click("TImpRotForm", "ImaBitBtn").Answer("SimBitBtn");
        goOnIfAsked(std::string(layout) + " Imagem");
        driver.Answer("OkBitBtn").Click("TImpRotForm", "PdfBitBtn").Answer("SimBitBtn");
        goOnIfAsked(std::string(layout) + " PDF");
        // Where to save: the name the dialog proposes, in the label images folder.
        driver.Then(
            "the save dialog of the label PDF",
            [] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()) != nullptr; },
            [] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                ASSERT_NE(edit, nullptr);
                QTest::keyClick(edit, Qt::Key_Return);
            });
        driver.Answer("OkBitBtn").On("TImpRotForm", [this, &labelHeads] {
            labelHeads.push_back(
                BmpHead(ReadBytes(LabelImagePath(Home(), "Cozinha", W("Arroz com feijão")))) + " " +
                ReadBytes(LabelPdfPath(Home(), "Cozinha", W("Arroz com feijão"))).substr(0, 5));
            std::filesystem::remove(LabelImagePath(Home(), "Cozinha", W("Arroz com feijão")));
            std::filesystem::remove(LabelPdfPath(Home(), "Cozinha", W("Arroz com feijão")));
        });
    }
    driver.Click("TImpRotForm", "RetBitBtn");

    // The three reports, previewed and saved.
    driver.Click("TCadFicTecRotForm", "ImpFicTecBitBtn");
    const std::vector<std::pair<const char*, std::string>> reports{
        {"MedCasRadioButton", "analise.bmp"},
        {"CusRadioButton", "ficha.pdf"},
        {"RelCozRadioButton", "medidas.bmp"}};
    for (const auto& [radio, file] : reports) {
        const QString folder = QString::fromStdString(Scratch().string());
        const QString name = QString::fromStdString(file);
        driver.Click("TSelRelForm", radio)
            .Click("TSelRelForm", "VisBitBtn")
            .On("TVisRelForm",
                [] {
                    QTest::mouseDClick(AppDriver::Widget("TVisRelForm", "RelImage"), Qt::LeftButton,
                                       {}, QPoint(5, 5));
                })
            .Answer("SimBitBtn")
            .Then(
                "the save dialog",
                [] {
                    return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()) != nullptr;
                },
                [folder, name] {
                    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                    dialog->setDirectory(folder);
                    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                    ASSERT_NE(edit, nullptr);
                    edit->setText(name);
                    QTest::keyClick(edit, Qt::Key_Return);
                });
    }
    driver.Click("TSelRelForm", "RetBitBtn").Click("TCadFicTecRotForm", "RetBitBtn");

    NewPreparation("Batata sauté", "300", "3");
    driver.Click("TCadFicTecRotForm", "IngBitBtn");
    ByGross("Batata", "375");
    ByNet("Óleo de soja", "15");
    ByMeasure("Cebola", "Unidade média", "1");
    driver.Click("TCadIngFicTecForm", "RetBitBtn");
    StorePreparation();
    driver.Click("TCadFicTecRotForm", "RetBitBtn");

    // The rice costs more energy now; the onion gets a fuller name.
    driver.Click("TNutForm", "CadIngBitBtn")
        .Fill("TCadIngForm", "IngMaskEdit", "Arroz")
        .Key("TCadIngForm", "IngMaskEdit", Qt::Key_Return)
        .Fill("TCadIngForm", "kalMaskEdit", "130")
        .Click("TCadIngForm", "GraBitBtn")
        .Click("TIteVerForm", "BitBtn3")  // the preparations that use it: a warning
        .Answer("SimBitBtn")
        .Click("TCadIngForm", "NovBitBtn");
    Rename("TCadIngForm", "IngMaskEdit", "Cebola", "Cebola branca");
    driver.Click("TCadIngForm", "RetBitBtn");

    // A group in use stays.
    QStringList groupReport;
    driver.Click("TNutForm", "GruBitBtn")
        .Fill("TCadGruIngForm", "GruMaskEdit", "Cereais")
        .Key("TCadGruIngForm", "GruMaskEdit", Qt::Key_Return)
        .Click("TCadGruIngForm", "ExcBitBtn")
        .On("TIteVerForm",
            [&groupReport] {
                auto* list =
                    qobject_cast<QListView*>(AppDriver::Widget("TIteVerForm", "IteVerListBox"));
                for (int i = 0; list != nullptr && i < list->model()->rowCount(); ++i) {
                    groupReport << list->model()->index(i, 0).data().toString();
                }
            })
        .Click("TIteVerForm", "BitBtn3")
        .Click("TCadGruIngForm", "RetBitBtn");

    // The second preparation renamed, then deleted.
    driver.Click("TNutForm", "CadFicTecRotRotBitBtn");
    Rename("TCadFicTecRotForm", "NomPreMaskEdit", "Batata sauté", "Batata corada");
    driver.Click("TCadFicTecRotForm", "ExcBitBtn")
        .Answer("SimBitBtn")
        .Answer("OkBitBtn")
        .Click("TCadFicTecRotForm", "RetBitBtn")
        .Click("TNutForm", "BitBtn1");

    ASSERT_TRUE(driver.Run(240000)) << driver.Failure();

    // Nothing went wrong on the way and no value was missing.
    for (const std::string& message : driver.Messages()) {
        EXPECT_EQ(message.rfind("Erro", 0), std::string::npos) << message;
        EXPECT_EQ(message.rfind("Atenção", 0), std::string::npos) << message;
    }
    // The label picture is the preview of 500 x 258, the reports' pictures their page
    // images, all of one bit per pixel.
    EXPECT_EQ(labelHeads, std::vector<std::string>(4, "BM 500 x 258 x 1 %PDF-"));
    // On the 67 mm label every layout fits with the printed typeface: the texts too wide for
    // their cells are drawn smaller.
    EXPECT_EQ(notFitting, std::vector<std::string>{});
    EXPECT_EQ(BmpHead(ReadBytes(Scratch() / "analise.bmp")), "BM 743 x 1039 x 1");
    EXPECT_EQ(ReadBytes(Scratch() / "ficha.pdf").substr(0, 5), "%PDF-");
    EXPECT_EQ(BmpHead(ReadBytes(Scratch() / "medidas.bmp")), "BM 743 x 1000 x 1");
    EXPECT_EQ(groupReport.filter(QStringLiteral("Arroz")).size(), 1)
        << groupReport.join('\n').toStdString();

    // By hand, per 100 g: rice 200,0 g at 130 kcal (after the change) 260,00; beans 2
    // ladles of 86,0 g at 76 kcal 130,72; oil 10,0 g at 884 kcal 88,40; onion 55,0 g gross
    // at F.C. 1,10, 50,0 g net, at 39 kcal 19,50: 498,62 kcal. Carbohydrate 56,20 + 23,39
    // + 0,00 + 4,45 = 84,04; a quarter of the yield per portion: 21,01.
    const std::string list = ReadBytes(Sheets() / "ArqFicTec.dad");
    EXPECT_EQ(list.rfind(Pad(W("Arroz com feijão"), 40) + "|   600|   498,62|    84,04|", 0), 0u)
        << list;
    EXPECT_NE(list.find("|     4|   150|"), std::string::npos) << list;
    EXPECT_NE(list.find("|    21,01|"), std::string::npos) << list;
    EXPECT_EQ(SplitLines(list).size(), 1u) << list;
    const std::string lines = ReadBytes(Sheets() / "Arroz com feijão.dad");
    EXPECT_NE(lines.find(Pad("Cebola branca", 60) + "|    55,0|    50,0|"), std::string::npos)
        << lines;
    EXPECT_NE(lines.find(Pad("Arroz", 60) + "|   200,0|   200,0|"), std::string::npos) << lines;
    EXPECT_TRUE(
        std::filesystem::exists(Home() / "Dados" / "Cozinha" / "Medidas" / "Cebola branca.med"));
    EXPECT_FALSE(std::filesystem::exists(Home() / "Dados" / "Cozinha" / "Medidas" / "Cebola.med"));
    EXPECT_FALSE(std::filesystem::exists(Sheets() / "Batata corada.dad"));
    EXPECT_FALSE(std::filesystem::exists(Sheets() / "Batata sauté.dad"));

    // The data folder check finds nothing.
    qt::QtImageOutput images;
    std::ostringstream out;
    std::ostringstream err;
    cli::CliIo io{Home(), images, out, err};
    EXPECT_EQ(cli::RunCli({"verificar"}, io), 0) << out.str() << err.str();
}

}  // namespace
}  // namespace velmaro::test
