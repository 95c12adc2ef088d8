#include <gtest/gtest.h>

#include "output/LabelFixtures.h"
#include "output/labels/legacy/LabelComposition.h"
#include "output/labels/legacy/LabelRounding.h"
#include "storage/Cp1252.h"
#include "storage/Paths.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::LabelRecord;

std::string TrimLeft(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first);
}

TEST(LabelRounding, HalvesToEvenAndHalvesDown) {
    EXPECT_EQ(RoundHalfEven(2.5L), 2);
    EXPECT_EQ(RoundHalfEven(3.5L), 4);
    EXPECT_EQ(RoundHalfEven(-2.5L), -2);
    EXPECT_EQ(RoundHalfEven(2.5000001L), 3);
    EXPECT_EQ(NearestFive(12.5L), 10);
    EXPECT_EQ(NearestFive(17.5L), 15);
    EXPECT_EQ(NearestFive(12.6L), 15);
    EXPECT_EQ(NearestHalf(1.25L), 1.0L);
    EXPECT_EQ(NearestHalf(1.75L), 1.5L);
    EXPECT_EQ(NearestHalf(1.76L), 2.0L);
    EXPECT_EQ(MmToDots(67, 300), 791);
    EXPECT_EQ(MmToDots(5, 300), 59);
    EXPECT_EQ(RoundToDots(1e30L), kMaxLabelDots);  // absurd settings never overflow
    EXPECT_EQ(FixedText(1, 12), "      12,0");
    EXPECT_EQ(FixedText(0, 123456789012.0L), "123456789012");  // never cut
}

// Each declaration rule at the bounds the label regulation draws, and the %VD computed
// from the declared number.
TEST(LabelComposition, DeclaredValuesAndDailyPercentages) {
    struct Case {
        int index;
        const char* amount;
        const char* declared;  // without leading spaces
        const char* percent;   // nullptr: not checked
    };
    const Case cases[] = {
        // energy
        {2, "4,90", "0 Kcal", "0%"},
        {2, "5,00", "5 Kcal", nullptr},
        {2, "12,50", "10 Kcal", nullptr},
        {2, "13,00", "15 Kcal", nullptr},
        {2, "50,00", "50 Kcal", nullptr},
        {2, "50,50", "50 Kcal", nullptr},
        {2, "65,00", "60 Kcal", nullptr},
        {2, "75,00", "80 Kcal", nullptr},
        {2, "120,00", "120 Kcal", "5%"},
        // carbohydrates, proteins and fibre share one rule
        {3, "0,40", "0,0 g ", "0%"},
        {3, "0,70", "menos de 1g", "0%"},
        {3, "1,00", "1,0 g ", nullptr},
        {3, "2,50", "2,0 g ", nullptr},
        {3, "3,50", "4,0 g ", nullptr},
        {4, "0,99", "menos de 1g", "0%"},
        {4, "25,00", "25,0 g ", "50%"},
        {8, "0,50", "menos de 1g", nullptr},
        {8, "3,00", "3,0 g ", "10%"},
        // total and saturated fat
        {5, "0,49", "0,0 g ", nullptr},
        {5, "0,50", "0,5 g ", nullptr},
        {5, "1,25", "1,0 g ", nullptr},
        {5, "1,30", "1,5 g ", "2%"},
        {5, "4,90", "5,0 g ", nullptr},
        {5, "5,50", "6,0 g ", nullptr},
        {6, "1,75", "1,5 g ", "6%"},
        {6, "5,00", "5,0 g ", nullptr},
        // cholesterol
        {7, "1,90", "0,0 mg", "0%"},
        {7, "2,00", "menos de 5mg", "0%"},
        {7, "5,00", "menos de 5mg", nullptr},
        {7, "7,50", "5,0 mg", nullptr},
        {7, "8,00", "10,0 mg", nullptr},
        // calcium and iron: not rounded above the threshold
        {9, "0,79", "n\xE3o significativa", "0%"},
        {9, "0,80", "0,8 mg", "0%"},
        {9, "120,00", "120,0 mg", "15%"},
        {10, "0,13", "n\xE3o significativa", "0%"},
        {10, "0,14", "0,14 mg", "1%"},
        // sodium
        {11, "24,00", "0 mg", nullptr},
        {11, "25,00", "25 mg", nullptr},
        {11, "27,50", "25 mg", nullptr},
        {11, "140,00", "140 mg", nullptr},
        {11, "145,00", "140 mg", nullptr},
        {11, "155,00", "160 mg", nullptr},
        {11, "1200,00", "1200 mg", "50%"},
        // an empty or unreadable amount counts as 0
        {2, "         ", "0 Kcal", "0%"},
        {3, "", "0,0 g ", "0%"},
        {9, "abc", "n\xE3o significativa", "0%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.index) + " " + c.amount);
        EXPECT_EQ(TrimLeft(DeclaredValue(c.index, c.amount).text), c.declared);
        if (c.percent != nullptr) {
            EXPECT_EQ(TrimLeft(DailyValuePercent(c.index, c.amount)), c.percent);
        }
    }
    EXPECT_EQ(DeclaredValue(2, "120").text, "       120 Kcal");  // F(0, v): width 10
    EXPECT_EQ(DeclaredValue(5, "1,3").value, 1.5L);
    EXPECT_EQ(DeclaredValue(1, "10").text, "");
    EXPECT_EQ(DailyValuePercent(12, "10"), "");
}

TEST(LabelComposition, RowsOfARecord) {
    const std::string record = LabelRecord(
        {"120,00", "20,00", "0,70", "2,50", "0,30", "3,00", "1,20", "0,50", "0,35", "140,00"});
    EXPECT_EQ(ValueRow(record),
              W("Quantidade por porção|120 Kcal|20,0 g |menos de 1g|2,5 g |0,0 g |menos de 5mg|"
                "1,0 g |não significativa|0,35 mg|140 mg|"));
    EXPECT_EQ(DailyValueRow(record), "%VD(*)|5%|5%|0%|3%|0%|0%|3%|0%|3%|6%|");
    EXPECT_EQ(PortionSizeText("30,60"), "31");
    EXPECT_EQ(PortionSizeText("    30"), "30");
    EXPECT_EQ(PortionSizeText("      "), "0");
}

TEST(LabelComposition, CaptionRowTakesDefaultsForMissingKeys) {
    const IniFile file = IniFile::FromBytes(
        "[CfgEti]\r\nDesKAL=Energia\r\nDesSOD=  S\xF3"
        "dio Na \r\n");
    EXPECT_EQ(CaptionRow(file),
              W("Quantidade por porção|Energia|Carboidratos|Proteínas|Gorduras totais|"
                "Gorduras saturadas|Colesterol|Fibra alimentar|Cálcio|Ferro|Sódio Na|"));
}

class LabelDataFile : public test::DataHomeTest {
  protected:
    fs::path Path() { return LabelFilePath(Home(), "Minha", W("Bolo de fubá")); }
};

TEST_F(LabelDataFile, SaveWritesSectionDadRotAndKeepsTheChoices) {
    {
        IniFile file(Path());
        file.WriteString("CfgEti", "DesKAL", "Energia");  // the sheet setup stays
        const std::string record = LabelRecord(
            {"120,00", "20,00", "0,70", "2,50", "0,30", "3,00", "1,20", "0,50", "0,35", "140,00"},
            "30,60");
        SaveLabelData(file, W("Bolo de fubá   "), record, {3, true});
    }
    const std::string bytes = test::ReadBytes(Path());
    EXPECT_EQ(bytes,
              W("[CfgEti]\r\nDesKAL=Energia\r\n\r\n[DadRot]\r\nNomPre=Bolo de fubá\r\nQuaPag=1\r\n"
                "QuaEti=0\r\nValRef=31\r\n"
                "DesDad=Quantidade por porção|Energia|Carboidratos|Proteínas|Gorduras totais|"
                "Gorduras saturadas|Colesterol|Fibra alimentar|Cálcio|Ferro|Sódio|\r\n"
                "ValPor=Quantidade por porção|120 Kcal|20,0 g |menos de 1g|2,5 g |0,0 g |"
                "menos de 5mg|1,0 g |não significativa|0,35 mg|140 mg|\r\n"
                "ValDia=%VD(*)|5%|5%|0%|3%|0%|0%|3%|0%|3%|6%|\r\n"
                "TipRot=3\r\nImpNomPre=1\r\n"));
    const LabelChoice choice = LoadLabelChoice(IniFile(Path()));
    EXPECT_EQ(choice.layout, 3);
    EXPECT_TRUE(choice.withName);
}

TEST_F(LabelDataFile, EmptyRecordWritesNothingAndChoicesDefault) {
    IniFile file(Path());
    SaveLabelData(file, "Bolo", "   ", {2, true});
    EXPECT_EQ(test::ReadBytes(Path()), "");
    const LabelChoice choice = LoadLabelChoice(file);
    EXPECT_EQ(choice.layout, 1);
    EXPECT_FALSE(choice.withName);
}

}  // namespace
}  // namespace velmaro
