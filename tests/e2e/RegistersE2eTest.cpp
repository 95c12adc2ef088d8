// The registers of ingredients, groups and measures through the real windows.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>

#include "e2e/AppFixture.h"
#include "storage/Cp1252.h"

namespace velmaro::test {
namespace {

class RegistersE2e : public AppE2e {};

// Picks the item of a drop-down that starts with `text`.
void Choose(const std::string& className, const std::string& control, const QString& text) {
    auto* combo = qobject_cast<QComboBox*>(AppDriver::Widget(className, control));
    ASSERT_NE(combo, nullptr);
    const int index = combo->findText(text, Qt::MatchStartsWith);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
}

QStringList Rows(const std::string& className, const std::string& control) {
    QStringList rows;
    if (auto* list = qobject_cast<QListWidget*>(AppDriver::Widget(className, control))) {
        for (int i = 0; i < list->count(); ++i) {
            rows << list->item(i)->text();
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

}  // namespace
}  // namespace velmaro::test
