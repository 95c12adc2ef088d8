#include <gtest/gtest.h>

#include "output/labels/LabelSheetConfig.h"
#include "storage/Cp1252.h"
#include "storage/Paths.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

class LabelSheetConfigTest : public test::DataHomeTest {
  protected:
    fs::path Path() { return LabelFilePath(Home(), "Minha", "Bolo"); }
};

TEST_F(LabelSheetConfigTest, WithoutLabelFileTheScreenDefaultsShow) {
    const SheetTexts texts = LoadSheetTexts(IniFile(Path()));
    const SheetTexts expected = {"  300",
                                 "    1",
                                 "    1",
                                 "   65",
                                 "   65",
                                 "   10",
                                 "   10",
                                 "   10",
                                 "   10",
                                 " 95",
                                 " 95",
                                 W("Quantidade por porção"),
                                 W("Valor calórico"),
                                 "Carboidratos",
                                 W("Proteínas"),
                                 "Gorduras totais",
                                 "Gorduras saturadas",
                                 "Colesterol",
                                 "Fibra alimentar",
                                 W("Cálcio"),
                                 "Ferro",
                                 W("Sódio")};
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(test::ReadBytes(Path()), "");  // loading writes nothing
}

TEST_F(LabelSheetConfigTest, StoredTextsAreAlignedAndSavedInOrder) {
    test::WriteBytes(Path(),
                     "[CfgEti]\r\nResImp=600\r\nQuaEtiLin=     \r\nLarEti=65,5\r\nComUti=9\r\n"
                     "DesKAL=Energia\r\n");
    SheetTexts texts = LoadSheetTexts(IniFile(Path()));
    EXPECT_EQ(texts[0], "  600");
    EXPECT_EQ(texts[1], "     ");  // stored blank: stays blank (read as absent when drawing)
    EXPECT_EQ(texts[2], "    1");
    EXPECT_EQ(texts[3], "65,5 ");  // the integer part against the comma
    EXPECT_EQ(texts[9], "  9");
    EXPECT_EQ(texts[12], "Energia");

    IniFile file(Path());
    SaveSheetTexts(file, texts);
    const IniFile back(Path());
    EXPECT_EQ(LoadSheetTexts(back), texts);
    EXPECT_EQ(back.ReadString("CfgEti", "LarEti", ""), "65,5");
    IniFile fresh = IniFile::FromBytes("");
    SaveSheetTexts(fresh, texts);
    const std::string bytes = fresh.Bytes();
    size_t previous = 0;
    for (const SheetField& field : SheetFields()) {  // every key, in the table's order
        const auto at = bytes.find("\r\n" + std::string(field.key) + "=");
        ASSERT_NE(at, std::string::npos) << field.key;
        EXPECT_GT(at, previous) << field.key;
        previous = at;
    }
}

TEST(LabelSheetConfig, MillimetreCheck) {
    for (const char* ok : {"65,5", "65.5", "  65 ", "0", "-3"}) {
        EXPECT_TRUE(IsValidMillimetreText(ok)) << ok;
    }
    for (const char* bad : {"", "     ", "6a", ",", "65,5,"}) {
        EXPECT_FALSE(IsValidMillimetreText(bad)) << bad;
    }
    EXPECT_EQ(MillimetreKeyPress('.'), ',');
    EXPECT_EQ(MillimetreKeyPress('5'), '5');
}

}  // namespace
}  // namespace velmaro
