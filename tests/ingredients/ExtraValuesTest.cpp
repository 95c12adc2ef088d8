#include <gtest/gtest.h>

#include "ingredients/ExtraValues.h"
#include "storage/Paths.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;
using test::ReadBytes;
using test::WriteBytes;

ExtraValues Values(std::string total, std::string added, std::string trans,
                   std::string transSource = "") {
    ExtraValues v;
    v.values = {std::move(total), std::move(added), std::move(trans)};
    v.sources = {"", "", std::move(transSource)};
    return v;
}

class ExtraValuesTest : public test::DataHomeTest {
  protected:
    std::string table = Pad("Minha", 20);
};

TEST_F(ExtraValuesTest, AHomeWithoutTheFileReadsAsAllUnknownAndStaysAsItIs) {
    const ExtraValuesTable extras = LoadExtraValues(Home(), table);
    EXPECT_EQ(extras.Count(), 0);
    const ExtraValues v = extras.Find("Arroz");
    for (ExtraValue e : {ExtraValue::TotalSugars, ExtraValue::AddedSugars, ExtraValue::TransFat}) {
        EXPECT_FALSE(v.Known(e));
    }
    EXPECT_FALSE(fs::exists(ExtraValuesFileLocation(Home(), table)));
    EXPECT_FALSE(fs::exists(DataFolder(Home())));
}

TEST_F(ExtraValuesTest, LooksUpByNameIgnoringCaseAndPadding) {
    const fs::path file = ExtraValuesFileLocation(Home(), table);
    EXPECT_EQ(file, IngredientFileLocation(Home(), table).parent_path() / "ArqIngCpl.dad");
    WriteBytes(file, Pad("Bolo de chocolate", 60) +
                         "|  30,50|  20,00|    ,  |TBCA||Fabricante|\r\n" + Pad("Margarina", 60) +
                         "|    ,  |    ,  |   0,10|||rotulo|\r\n");
    const ExtraValuesTable extras = LoadExtraValues(Home(), table);
    EXPECT_TRUE(extras.Problems().empty());
    ASSERT_EQ(extras.Count(), 2);

    const ExtraValues bolo = extras.Find("BOLO DE CHOCOLATE");
    EXPECT_EQ(*bolo.Value(ExtraValue::TotalSugars), 30.5L);
    EXPECT_EQ(*bolo.Value(ExtraValue::AddedSugars), 20.0L);
    EXPECT_FALSE(bolo.Known(ExtraValue::TransFat));  // blank is unknown, never 0
    EXPECT_EQ(bolo.Source(ExtraValue::TotalSugars), "TBCA");
    EXPECT_EQ(bolo.Source(ExtraValue::TransFat), "Fabricante");

    const ExtraValues margarina = extras.Find(Pad("margarina", 60));
    EXPECT_EQ(margarina.Text(ExtraValue::TransFat), "   0,10");
    EXPECT_FALSE(margarina.Known(ExtraValue::TotalSugars));
    EXPECT_FALSE(extras.Has("Manteiga"));
}

TEST_F(ExtraValuesTest, WritesBackWhatItReadAndDropsIngredientsWithNothingKnown) {
    ExtraValuesTable extras;
    extras.Set("Margarina", Values("    ,  ", "    ,  ", "   0,10"));
    extras.Set("Acucar", Values(" 100,00", "    ,  ", "    ,  "));
    extras.Set("Nada", Values("    ,  ", "", ""));  // nothing known: no line
    const std::string bytes = extras.Bytes();
    EXPECT_EQ(bytes, Pad("Acucar", 60) + "| 100,00|    ,  |    ,  ||||\r\n" + Pad("Margarina", 60) +
                         "|    ,  |    ,  |   0,10||||\r\n");
    EXPECT_EQ(ExtraValuesTable::FromBytes(bytes).Bytes(), bytes);

    // A source alone is worth keeping: the nutritionist wrote where the value is to come from.
    extras.Set("Nada", Values("", "", "", "a pesquisar"));
    EXPECT_TRUE(extras.Has("Nada"));

    extras.Rename("margarina", "Margarina vegetal");
    EXPECT_FALSE(extras.Has("Margarina"));
    EXPECT_EQ(extras.Find("Margarina vegetal").Text(ExtraValue::TransFat), "   0,10");
    extras.Set("Acucar", ExtraValues{});
    extras.Remove("Nada");
    EXPECT_EQ(extras.Names(), std::vector<std::string>{Pad("Margarina vegetal", 60)});
}

TEST_F(ExtraValuesTest, ReportsLinesItCannotUseAndKeepsTheOthers) {
    const std::string good = Pad("Leite", 60) + "|   4,50|    ,  |    ,  ||||";
    const ExtraValuesTable extras = ExtraValuesTable::FromBytes(
        good + "\r\n" + Pad("Curto", 60) + "|   1,00|\r\n" + "|   1,00|||||||\r\n" +
        Pad("LEITE", 60) + "|   9,00|||||||\r\n" + Pad("Depois", 60) + "|||   1,00||||\r\n" +
        std::string(1, '\0') + "escondido");
    EXPECT_EQ(extras.Count(), 2);
    EXPECT_EQ(*extras.Find("leite").Value(ExtraValue::TotalSugars), 4.5L);  // the first one wins
    ASSERT_EQ(extras.Problems().size(), 4u);
    EXPECT_EQ(extras.Problems()[0].line, 2);
    EXPECT_EQ(extras.Problems()[0].what, "registro incompleto");
    EXPECT_EQ(extras.Problems()[1].line, 3);
    EXPECT_EQ(extras.Problems()[1].what, "registro sem nome de ingrediente");
    EXPECT_EQ(extras.Problems()[2].line, 4);
    EXPECT_EQ(extras.Problems()[2].what, "ingrediente repetido");
    EXPECT_EQ(extras.Problems()[3].line, 6);
}

}  // namespace
}  // namespace velmaro
