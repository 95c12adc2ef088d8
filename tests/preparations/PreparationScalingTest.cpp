#include "preparations/PreparationScaling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "preparations/PreparationRecordFixture.h"
#include "storage/LineTable.h"

namespace velmaro {
namespace {

namespace F = PreparationRecordField;
using test::PreparationLine;

TEST(PreparationScalingTest, PortionWeightIsTheYieldPerPortionInWholeGrams) {
    struct Case {
        std::string yield, portions;
        std::optional<std::string> weight;
    };
    const std::vector<Case> cases{
        {"  1000", "     3", "   333"},     {"  1000", "    10", "   100"},
        {"  1001", "     2", "   501"},  // halves away from zero
        {"  1000", "      ", "      "},     {"      ", "     4", "      "},
        {"  1000", "     0", std::nullopt},  // left as it is
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PortionWeight(c.yield, c.portions), c.weight) << c.yield << "/" << c.portions;
    }
}

// Recipe: yield 1000 g, energy 2500 kcal, protein blank, cost 12,00.
std::string Recipe(std::map<int, std::string> more = {}) {
    more.emplace(F::kYield, "  1000");
    more.emplace(F::kEnergyTotal, "  2500,00");
    more.emplace(F::kCostTotal, "    12,00");
    return PreparationLine("Bolo", more);
}

TEST(PreparationScalingTest, EachRowScalesTheTotalsByItsWeightOverTheYield) {
    std::string line = Recipe({{F::kPortionWeight, "   333"},
                               {F::kTablespoonWeight, "    15"},
                               {F::kLabelPortionWeight, "    60"}});
    for (ScaledRow row : {ScaledRow::Portion, ScaledRow::Tablespoon, ScaledRow::Label}) {
        EXPECT_TRUE(ScaleFromYield(line, row));
    }
    // 333/1000 of the totals, not a third.
    EXPECT_EQ(GetField(F::kPortionEnergy, line), "   832,50");
    EXPECT_EQ(GetField(F::kPortionCost, line), "     4,00");
    EXPECT_EQ(GetField(F::kTablespoonEnergy, line), "    37,50");
    EXPECT_EQ(GetField(F::kTablespoonCost, line), "     0,18");
    EXPECT_EQ(GetField(F::kLabelEnergy, line), "   150,00");
    EXPECT_EQ(GetField(F::kLabelCost, line), "     0,72");
    // A blank total gives a blank value.
    EXPECT_EQ(GetField(F::kPortionEnergy + 2, line), "      ,  ");
    EXPECT_EQ(GetField(F::kLabelEnergy + 2, line), "      ,  ");
    EXPECT_EQ(GetField(F::kYield, line), "  1000");
}

TEST(PreparationScalingTest, NothingIsScaledWithoutAYieldAboveZeroOrWithoutTheRowWeight) {
    const std::string stale = "     9,99";
    struct Case {
        std::string yield, weight;
    };
    for (const Case& c :
         std::vector<Case>{{"      ", "   100"}, {"     0", "   100"}, {"  1000", "      "}}) {
        std::string line = PreparationLine("Bolo", {{F::kYield, c.yield},
                                                    {F::kEnergyTotal, "  2500,00"},
                                                    {F::kPortionWeight, c.weight},
                                                    {F::kPortionEnergy, stale}});
        const std::string before = line;
        EXPECT_TRUE(ScaleFromYield(line, ScaledRow::Portion));
        EXPECT_EQ(line, before) << "'" << c.yield << "' '" << c.weight << "'";
    }
}

// A value that does not fit its field is refused like every other: the row keeps what it
// had, as when it cannot be computed at all, and the caller is told.
TEST(PreparationScalingTest, AValueBeyondItsFieldLeavesTheRowAsItWas) {
    std::string line = PreparationLine("Bolo", {{F::kYield, "     1"},
                                                {F::kEnergyTotal, "  2500,00"},
                                                {F::kCostTotal, "     1,00"},
                                                {F::kTablespoonWeight, "999999"},
                                                {F::kTablespoonEnergy, "    37,50"}});
    const std::string before = line;
    EXPECT_FALSE(ScaleFromYield(line, ScaledRow::Tablespoon));
    EXPECT_EQ(line, before);
    // Below the largest value kept it fits.
    SetField(F::kTablespoonWeight, line, "   400");
    SetField(F::kEnergyTotal, line, "  2499,99");
    EXPECT_TRUE(ScaleFromYield(line, ScaledRow::Tablespoon));
    EXPECT_EQ(GetField(F::kTablespoonEnergy, line), "999996,00");
    EXPECT_EQ(GetField(F::kTablespoonCost, line), "   400,00");
    EXPECT_EQ(ScaledValueTooLargeMessage(ScaledRow::Tablespoon).substr(0, 49),
              "ERRO! Valor calculado para a colher de sopa maior");

    BlankScaledRow(line, ScaledRow::Tablespoon);
    EXPECT_EQ(GetField(F::kTablespoonEnergy, line), "      ,  ");
    EXPECT_EQ(GetField(F::kTablespoonWeight, line), "   400");
    EXPECT_EQ(std::count(line.begin(), line.end(), '|'), F::kCount);
}

}  // namespace
}  // namespace velmaro
