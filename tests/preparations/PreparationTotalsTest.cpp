#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "preparations/PreparationTotals.h"
#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;
using test::ScriptedUi;

const std::string kBlankAmount = "      ,  ";
const std::string kTable = Pad("Minha", 20);
const char* kReduce = "Solução : diminua os pesos de todos os ingredientes na mesma proporção!";

// An ingredient line: weights, cost and the ten amounts; the rest at blank texts.
std::string Line(const std::string& name, const std::string& gross, const std::string& net,
                 const std::string& cost, const std::vector<std::string>& amounts) {
    std::string line = Pad(name, 60) + "|" + gross + "|" + net +
                       "|      , |      , |  1,25|   ,  |    12,40|" + cost + "|01/03/24||   ,  |";
    for (const auto& a : amounts) {
        line += a + "|";
    }
    return line;
}

// A preparation record of 56 fields whose fields past the yield hold "F<n>".
std::string Record(const std::string& name) {
    std::string record = Pad(name, 40) + "|  1000|";
    for (int n = 3; n <= 56; ++n) {
        record += "F" + std::to_string(n) + "|";
    }
    return record;
}

struct Preparations {
    LineTable list;
    int bolo = 0;
    Preparations() {
        InsertRecord(list, Record("Arroz doce"));
        InsertRecord(list, Record("Bolo"));
        InsertRecord(list, Record("Torta"));
        bolo = FindKey(list.keys, Pad("Bolo", 40)).index;
    }
    std::string Field(int n) const { return GetRecordField(list.lines, bolo, n); }
    std::vector<std::string> Totals() const {
        std::vector<std::string> totals;
        for (int n = 3; n <= 13; ++n) {
            totals.push_back(Field(n));
        }
        return totals;
    }
};

LineList Lines(const std::vector<std::string>& lines) {
    LineTable t;
    for (const auto& l : lines) {
        InsertRecord(t, l);
    }
    return t.lines;
}

const std::string kArroz = Line("Arroz", "   150,0", "   120,0", "     1,86",
                                {"   156,00", "    33,72", "     3,00", "     0,24", "     0,06",
                                 kBlankAmount, "     1,92", "    12,00", "     0,36", "     1,20"});
const std::string kFeijao = Line(W("Feijão"), "   125,0", "   100,0", "     0,95",
                                 {"    76,00", "    13,60", "     4,80", "     0,50", "     0,10",
                                  "     2,00", "     8,50", "    27,00", "     1,30", "     2,00"});

TEST(PreparationTotals, SumsOfTheLinesGoIntoTheRecord) {
    Preparations p;
    ScriptedUi ui;
    const WeightSums sums =
        UpdatePreparationTotals(Lines({kArroz, kFeijao}), p.list.lines, p.bolo, ui);
    EXPECT_DOUBLE_EQ(static_cast<double>(sums.gross), 275.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(sums.net), 220.0);
    // The blank cholesterol of the first line counts 0.
    EXPECT_EQ(p.Totals(),
              (std::vector<std::string>{"   232,00", "    47,32", "     7,80", "     0,74",
                                        "     0,16", "     2,00", "    10,42", "    39,00",
                                        "     1,66", "     3,20", "     2,81"}));
    EXPECT_EQ(p.Field(2), "  1000");
    EXPECT_EQ(p.Field(14), "F14");
    EXPECT_EQ(p.Field(56), "F56");
    EXPECT_EQ(GetRecordField(p.list.lines, 0, 3), "F3") << "other preparations untouched";
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(PreparationTotals, EmptyPreparationHasZeroTotals) {
    Preparations p;
    ScriptedUi ui;
    const WeightSums sums = UpdatePreparationTotals(LineList(), p.list.lines, p.bolo, ui);
    EXPECT_EQ(sums.gross, 0);
    EXPECT_EQ(sums.net, 0);
    EXPECT_EQ(p.Totals(), std::vector<std::string>(11, "     0,00"));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(PreparationTotals, SumsAboveTheLimitAreHeldWithMessagesInOrder) {
    const std::vector<std::string> big(10, "600000,00");
    // The amounts of a line with this energy and 1,00 of every other nutrient.
    auto Energy = [](const char* kcal) {
        std::vector<std::string> amounts(10, "     1,00");
        amounts[0] = kcal;
        return amounts;
    };
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::vector<std::string> messages;  // UTF-8
        std::string energyTotal;
        long double netSum;
    };
    const std::vector<Case> cases = {
        {"energy alone",
         {Line("A", "   100,0", "   100,0", "     1,00", Energy("600000,00")),
          Line("B", "   100,0", "   100,0", "     1,00", Energy("500000,00"))},
         {"ERRO! Somatório do Calorias maior que 999999,99!", kReduce},
         "999999,99",
         200.0L},
        // In floating point these three add up to a hair above 999999,99.
        {"a sum of exactly 999999,99 is no error",
         {Line("A", "   100,0", "   100,0", "     1,00", Energy("262514,86")),
          Line("B", "   100,0", "   100,0", "     1,00", Energy("333333,33")),
          Line("C", "   100,0", "   100,0", "     1,00", Energy("404151,80"))},
         {},
         "999999,99",
         300.0L},
        {"weights, every nutrient and the cost, in this order",
         {Line("A", "600000,0", "600000,0", "600000,00", big),
          Line("B", "600000,0", "600000,0", "600000,00", big)},
         {"ERRO! Somatório do Peso Bruto maior que 999999,99!",
          kReduce,
          "ERRO! Somatório do Peso líquido maior que 999999,99!",
          kReduce,
          "ERRO! Somatório do Calorias maior que 999999,99!",
          kReduce,
          "ERRO! Somatório do Carboidratos maior que 999999,99!",
          kReduce,
          "ERRO! Somatório do Proteinas maior que 999999,99!",
          kReduce,
          "ERRO! Somatório do Lipídios maior que 999999,99!",
          kReduce,
          "ERRO! Somatório do Gordura Saturada maior que 999999,99!",
          kReduce,
          "ERRO! Somatório do Colesterol maior que 999999,99!",
          kReduce,
          "ERRO! Somatório do Fibras maior que 999999,99!",
          kReduce,
          "ERRO! Somatório do Cálcio maior que 999999,99!",
          kReduce,
          "ERRO! Somatório do Ferro maior que 999999,99!",
          kReduce,
          "ERRO! Somatório do Sódio maior que 999999,99!",
          kReduce,
          "ERRO! Somatório do Custo Calculado maior que 999999,99!",
          kReduce},
         "999999,99",
         999999.99L},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Preparations p;
        ScriptedUi ui;
        const WeightSums sums = UpdatePreparationTotals(Lines(c.lines), p.list.lines, p.bolo, ui);
        std::vector<std::string> expected;
        for (const auto& m : c.messages) {
            expected.push_back(W(m));
        }
        EXPECT_EQ(ui.MessageTexts(), expected);
        EXPECT_EQ(p.Field(3), c.energyTotal);
        EXPECT_EQ(sums.net, c.netSum);
    }
}

TEST(PreparationTotals, SumRecordFieldHoldsTheLimitSilently) {
    const LineList lines = Lines(
        {Line("A", "600000,0", "   100,0", "     1,00", std::vector<std::string>(10, "600000,00")),
         Line("B", "600000,0", "    50,5", kBlankAmount,
              std::vector<std::string>(10, "400000,00"))});
    EXPECT_EQ(SumRecordField(lines, 2), 999999.99L);
    EXPECT_EQ(SumRecordField(lines, 3), 150.5L);
    EXPECT_EQ(SumRecordField(lines, 9), 1.0L);
    EXPECT_EQ(SumRecordField(lines, 14), 999999.99L);
    ScriptedUi ui;
    EXPECT_EQ(SumLineField(lines, 13, ui), 999999.99L);
    EXPECT_EQ(ui.MessageTexts(),
              (std::vector<std::string>{W("ERRO! Somatório do Calorias maior que 999999,99!"),
                                        W(kReduce)}));
}

TEST(PreparationTotals, IndexOutsideTheListOnlySums) {
    Preparations p;
    ScriptedUi ui;
    const std::string before = p.list.lines[p.bolo];
    const WeightSums sums = UpdatePreparationTotals(Lines({kArroz}), p.list.lines, 3, ui);
    EXPECT_DOUBLE_EQ(static_cast<double>(sums.net), 120.0);
    EXPECT_EQ(p.list.lines[p.bolo], before);
    UpdatePreparationTotals(Lines({kArroz}), p.list.lines, -1, ui);
    EXPECT_EQ(p.list.lines[p.bolo], before);
}

class CopyIngredientsTest : public test::DataHomeTest {
  protected:
    std::filesystem::path File(const char* prep) {
        return PreparationFilePath(Home(), kTable, Pad(prep, 40));
    }
    // The preparation "Bolo" as the ingredients screen holds it: one line, saved.
    void SetUp() override {
        InsertRecord(lines, kArroz);
        SaveLineTable(File("Bolo"), lines.lines);
        UpdatePreparationTotals(lines.lines, p.list.lines, p.bolo, ui);
    }
    WeightSums Copy(const char* source) {
        return CopyIngredients(lines, Home(), kTable, Pad("Bolo", 40), Pad(source, 40),
                               p.list.lines, p.bolo, ui);
    }
    LineTable lines;
    Preparations p;
    ScriptedUi ui;
};

TEST_F(CopyIngredientsTest, TheSourceLinesReplaceAllLinesAsStored) {
    const std::string feijao2 = Line(W("Feijão preto"), "      , ", "    10,0", "      ,  ",
                                     std::vector<std::string>(10, "     9,99"));
    const std::string sourceBytes = feijao2 + "\r\n" + kFeijao + "\r\n";
    test::WriteBytes(File("Torta"), sourceBytes);

    const WeightSums sums = Copy("Torta");
    EXPECT_EQ(lines.lines.Items(), (std::vector<std::string>{kFeijao, feijao2}));
    EXPECT_EQ(lines.keys.Items(),
              (std::vector<std::string>{Pad(W("Feijão"), 60), Pad(W("Feijão preto"), 60)}));
    EXPECT_EQ(test::ReadBytes(File("Bolo")), kFeijao + "\r\n" + feijao2 + "\r\n");
    EXPECT_EQ(test::ReadBytes(File("Torta")), sourceBytes) << "the source is not touched";
    EXPECT_DOUBLE_EQ(static_cast<double>(sums.net), 110.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(sums.gross), 125.0);
    EXPECT_EQ(p.Field(3), "    85,99");
    EXPECT_EQ(p.Field(13), "     0,95");
}

TEST_F(CopyIngredientsTest, AnEmptySourceLeavesNoLines) {
    const WeightSums sums = Copy("Arroz doce");
    EXPECT_TRUE(lines.lines.Empty());
    EXPECT_TRUE(lines.keys.Empty());
    EXPECT_EQ(test::ReadBytes(File("Bolo")), "");
    EXPECT_EQ(sums.net, 0);
    EXPECT_EQ(p.Totals(), std::vector<std::string>(11, "     0,00"));
}

TEST_F(CopyIngredientsTest, OntoItselfChangesNothing) {
    const std::string record = p.list.lines[p.bolo];
    Copy("Bolo");
    EXPECT_EQ(lines.lines.Items(), std::vector<std::string>{kArroz});
    EXPECT_EQ(test::ReadBytes(File("Bolo")), kArroz + "\r\n");
    EXPECT_EQ(p.list.lines[p.bolo], record);
}

TEST_F(CopyIngredientsTest, AFailedWriteChangesNothing) {
    test::WriteBytes(File("Torta"), kFeijao + "\r\n");
    // The preparation's file cannot be replaced: a folder stands in its place.
    const auto target = File("Bolo");
    std::filesystem::remove(target);
    std::filesystem::create_directories(target / "ocupado");
    const std::string record = p.list.lines[p.bolo];

    EXPECT_THROW(Copy("Torta"), StorageError);
    EXPECT_EQ(lines.lines.Items(), std::vector<std::string>{kArroz});
    EXPECT_EQ(lines.keys.Items(), std::vector<std::string>{Pad("Arroz", 60)});
    EXPECT_EQ(p.list.lines[p.bolo], record);
    EXPECT_TRUE(ui.Messages().empty());
}

}  // namespace
}  // namespace velmaro
