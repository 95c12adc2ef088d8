// The carbohydrates of label model 5 are the available ones: for a table whose
// carbohydrate includes dietary fibre (TACO), each line gives up its fibre.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output/labels/current/NutritionTable.h"
#include "output/labels/current/RecipeNutrients.h"
#include "output/labels/legacy/LabelComposition.h"
#include "shell/TableCarbohydrate.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/Progress.h"
#include "storage/Text.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using ::testing::Contains;
using test::Pad;

// An ingredient record with its carbohydrate and fibre per 100 g (blank: not known).
std::string Ingredient(std::string_view name, std::string_view carbohydrate,
                       std::string_view fibre) {
    auto value = [](std::string_view v) {
        return v.empty() ? std::string("    ,  ") : PadLeft(v, 7);
    };
    std::string record = Pad(name, 60) + "| 100,00|" + value(carbohydrate) + "|   1,00|   1,00|" +
                         "   0,10|    ,  |" + value(fibre) + "|    ,  |    ,  |    1,00|";
    for (int f = 12; f <= 30; ++f) {
        record += "|";
    }
    return record;
}

// A line of a preparation: the ingredient, its net weight and its carbohydrate and fibre
// amounts as the ingredients screen writes them.
std::string Line(std::string_view name, std::string_view net) {
    std::string line = Pad(name, 60) + "|";
    for (int f = 2; f <= 22; ++f) {
        line += (f == 3 ? PadLeft(net, 8) : std::string()) + "|";
    }
    return line;
}

// A preparation record: yield, the carbohydrate total (field 4), a 100 g portion.
std::string Record(std::string_view yield, std::string_view carbohydrateTotal) {
    std::string record;
    for (int f = 1; f <= 56; ++f) {
        std::string field = "     1,00";
        if (f == 1) {
            field = Pad("Prato", 40);
        } else if (f == 2) {
            field = PadLeft(yield, 6);
        } else if (f == 4) {
            field = PadLeft(carbohydrateTotal, 9);
        } else if (f == 41) {
            field = "   100";
        } else if (f == 43) {
            field = "    77,77";  // the label portion's carbohydrate of the legacy models
        } else if (f == 55) {
            field = "g";
        } else if (f == 56) {
            field = "1 prato";
        }
        record += field + "|";
    }
    return record;
}

// TACO values: rice (carbohydrate 25,8, fibre 2,7), beans (13,6 and 8,5), condensed milk
// (57, fibre not known) and a bran whose fibre is above its carbohydrate (2 and 40).
LineTable Ingredients() {
    LineTable table;
    LoadLineTableFromBytes(Ingredient("Arroz, integral, cozido", "25,80", "2,70") + "\r\n" +
                               Ingredient("Farelo", "2,00", "40,00") + "\r\n" +
                               Ingredient("Feijao, carioca, cozido", "13,60", "8,50") + "\r\n" +
                               Ingredient("Leite, condensado", "57,00", "") + "\r\n",
                           table);
    return table;
}

struct Case {
    const char* what;
    std::vector<std::pair<const char*, const char*>> lines;  // name, net weight
    const char* carbohydrateTotal;                           // the record's, fibre included
    bool includesFibre;
    long double available;
    std::vector<std::string> missing;
};

// Worked out line by line: net x min(carbohydrate, fibre) / 100 leaves the total.
TEST(AvailableCarbohydrate, EachLineGivesUpItsFibreNeverMoreThanItsCarbohydrate) {
    const std::vector<Case> cases = {
        // 51,60 + 13,60 - (200 x 2,7 / 100 = 5,40) - (100 x 8,5 / 100 = 8,50)
        {"rice and beans",
         {{"Arroz, integral, cozido", "200,0"}, {"Feijao, carioca, cozido", "100,0"}},
         "65,20",
         true,
         51.30L,
         {}},
        {"a table without fibre in its carbohydrate",
         {{"Arroz, integral, cozido", "200,0"}, {"Feijao, carioca, cozido", "100,0"}},
         "65,20",
         false,
         65.20L,
         {}},
        // The bran gives up its 0,20 g of carbohydrate, not its 4 g of fibre.
        {"fibre above the carbohydrate",
         {{"Arroz, integral, cozido", "200,0"}, {"Farelo", "10,0"}},
         "51,80",
         true,
         46.20L,
         {}},
        {"fibre not known",
         {{"Arroz, integral, cozido", "200,0"}, {"Leite, condensado", "50,0"}},
         "80,10",
         true,
         74.70L,
         {"Leite, condensado"}},
        {"fibre not known, no fibre to take",
         {{"Leite, condensado", "50,0"}},
         "28,50",
         false,
         28.50L,
         {}},
    };
    const LineTable ingredients = Ingredients();
    for (const Case& c : cases) {
        LineTable lines;
        std::string bytes;
        for (const auto& [name, net] : c.lines) {
            bytes += Line(name, net) + "\r\n";
        }
        LoadLineTableFromBytes(bytes, lines);
        const NutritionTableInput in =
            NutritionInputFrom(Record("300", c.carbohydrateTotal), lines.lines, ingredients,
                               ExtraValuesTable(), std::nullopt, c.includesFibre);
        const RecipeAmount& carbohydrates = in.amounts[rdc429::kCarbohydrates];
        EXPECT_NEAR(static_cast<double>(carbohydrates.known), static_cast<double>(c.available),
                    1e-9)
            << c.what;
        EXPECT_EQ(carbohydrates.missingIn, c.missing) << c.what;
        // The fibre row itself is the recorded one either way.
        EXPECT_NEAR(static_cast<double>(in.amounts[rdc429::kFibre].known), 1.0, 1e-9) << c.what;
    }
}

// From the files of a data home: TACO says its carbohydrate includes fibre, so model 5
// declares the available carbohydrate; models 1 to 4 show the recorded one; an unknown
// fibre makes the carbohydrates "?".
class AvailableCarbohydrateHome : public test::DataHomeTest {
  protected:
    const std::string table = Pad("TACO", 20);

    void Write(const std::vector<std::pair<const char*, const char*>>& lines) {
        LineTable ingredients = Ingredients();
        NullProgress quiet;
        SaveScrambledLineTable(IngredientFilePath(Home(), table), ingredients.lines, quiet);
        LineTable prep;
        std::string bytes;
        for (const auto& [name, net] : lines) {
            bytes += Line(name, net) + "\r\n";
        }
        LoadLineTableFromBytes(bytes, prep);
        SaveLineTable(PreparationFilePath(Home(), table, Pad("Prato", 40)), prep.lines);
    }
    NutritionTable Compose(std::string_view carbohydrateTotal) {
        return ComposeNutritionTableOf(Home(), table, Pad("Prato", 40),
                                       Record("300", carbohydrateTotal), std::nullopt);
    }
};

TEST_F(AvailableCarbohydrateHome, TacoDeclaresAvailableCarbohydrateInModel5Only) {
    Write({{"Arroz, integral, cozido", "200,0"}, {"Feijao, carioca, cozido", "100,0"}});
    // Without the answer the table reads as it always did: 65,2 / 3 = 21,7 per 100 g.
    EXPECT_EQ(Compose("65,20").rows[rdc429::kCarbohydrates].per100, "22");
    StoreCarbohydrateIncludesFibre(Home(), table, true);
    // 51,3 / 3 = 17,1 per 100 g and per portion of 100 g.
    const NutritionTable t = Compose("65,20");
    EXPECT_EQ(t.rows[rdc429::kCarbohydrates].per100, "17");
    EXPECT_EQ(t.rows[rdc429::kCarbohydrates].perPortion, "17");
    EXPECT_TRUE(t.rows[rdc429::kCarbohydrates].dailyValue != "?");
    for (const std::string& missing : t.missing) {
        EXPECT_EQ(missing.find("Carboidratos"), std::string::npos) << missing;
    }
    // The legacy models read the record's label values, fibre included.
    EXPECT_NE(ValueRow(Record("300", "65,20")).find("|78,0 g |"), std::string::npos)
        << ValueRow(Record("300", "65,20"));

    Write({{"Arroz, integral, cozido", "200,0"}, {"Leite, condensado", "50,0"}});
    const NutritionTable unknown = Compose("80,10");
    EXPECT_EQ(unknown.rows[rdc429::kCarbohydrates].per100, "?");
    EXPECT_EQ(unknown.rows[rdc429::kCarbohydrates].perPortion, "?");
    EXPECT_TRUE(unknown.incomplete);
    // Energy, computed from the declared carbohydrates, is unknown with them.
    EXPECT_THAT(unknown.missing, Contains("Carboidratos (g): Leite, condensado"));
    EXPECT_EQ(unknown.rows[rdc429::kFibre].per100, "?");
}

}  // namespace
}  // namespace velmaro
