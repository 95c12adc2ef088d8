// The lists of the viewers: keyword search with folded accents, group filter, ordering.

#include "shell/ListBuilding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "storage/Cp1252.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;

struct KeywordCase {
    const char* keyword;  // UTF-8, as typed (the field upper-cases it)
    const char* name;     // UTF-8, as stored
    bool matches;
};

TEST(KeywordSearch, NamesAreFoldedUpperCasedAndJoinedByDashes) {
    const KeywordCase cases[] = {
        {"FEIJAO", "FEIJÃO PRETO COZIDO", true},
        {"FEIJÃO", "FEIJÃO PRETO COZIDO", false},  // the keyword is folded by "Ok", not here
        {"FEIJAO", "feijão preto cozido", true},
        {"FEIJAO PRETO", "FEIJÃO PRETO COZIDO", true},
        {"FEIJAO PRETO", "FEIJÃO BRANCO COZIDO", false},
        {"PRETO FEIJAO", "FEIJÃO PRETO COZIDO", true},  // words in any order
        {"PRETO-COZIDO", "FEIJÃO PRETO COZIDO", true},
        {"PRETO-COZIDO", "FEIJÃO COZIDO PRETO", false},
        {"PRETO-COZIDO", "PRETO, COZIDO", false},
        {"ARROZ-BRANCO", "Arroz branco tipo 1", true},
        {"FEIJAO  PRETO", "FEIJÃO PRETO COZIDO", false},  // two spaces: an empty word
        {" FEIJAO", "FEIJÃO PRETO COZIDO", false},        // leading space: an empty word
        {"FEIJAO      ", "FEIJÃO PRETO COZIDO", true},    // trailing blanks are no words
        {"MACA", "Maçã fuji", true},
        {"PINA", "Piña colada", false},  // Ñ is not folded
        {"PIÑA", "PIÑA COLADA", true},
        {"AGUA", "ÁGUA DE COCO", true},
    };
    for (const auto& c : cases) {
        const auto words = SplitKeywordWords(W(c.keyword));
        EXPECT_EQ(MatchesKeyword(words, Pad(W(c.name), 60)), c.matches)
            << c.keyword << " / " << c.name;
    }
}

TEST(KeywordSearch, WordsAreSplitAtEverySpace) {
    using Words = std::vector<std::string>;
    EXPECT_EQ(SplitKeywordWords("FEIJAO PRETO        "), (Words{"FEIJAO", "PRETO"}));
    EXPECT_EQ(SplitKeywordWords("A  B"), (Words{"A", "", "B"}));
    EXPECT_EQ(SplitKeywordWords(" A"), (Words{"", "A"}));
    EXPECT_EQ(SplitKeywordWords("                    "), Words{});
    EXPECT_TRUE(MatchesKeyword({}, "ANY"));
}

TEST(KeywordSearch, FoldingTouchesExactlyTheLettersOfTheTable) {
    EXPECT_EQ(FoldAccents(W("ÀÁÂÃÇÈÉÊÌÍÒÓÔÕÙÚàáâãçèéêìíòóôõùú")),
              "AAAACEEEIIOOOOUUaaaaceeeiioooouu");
    const std::string untouched = W("ÄËÎÏÖÛÜÑäëîïöûüñ aZ-1,");
    EXPECT_EQ(FoldAccents(untouched), untouched);
    EXPECT_EQ(KeywordSearchName(W("Pão de açúcar")), "PAO-DE-ACUCAR");
}

// Ingredient-like rows: name (10) | energy "9999,99" | group |
std::string Row(const std::string& name, const std::string& energy, const std::string& group) {
    return Pad(name, 10) + "|" + energy + "|" + group + "|";
}

std::vector<std::string> Names(const BuiltList& list) {
    std::vector<std::string> names;
    for (const auto& row : list.rows) {
        names.push_back(row.substr(0, row.find(' ')));
    }
    return names;
}

using Names_ = std::vector<std::string>;

class BuildListTest : public ::testing::Test {
  protected:
    const std::string cereais = Pad("Cereais", 20);
    const std::string carnes = Pad("Carnes", 20);
    const std::vector<std::string> rows = {
        Row("Arroz", "  12,50", cereais), Row("Bife", " 100,00", carnes),
        Row("Aveia", "   5,00", cereais), Row("Frango", "  12,50", carnes),
        Row("Milho", "       ", cereais),
    };
};

TEST_F(BuildListTest, OrderingByANumericColumnIsNumericAndKeepsWholeRows) {
    ListQuery q;
    q.orderField = 2;
    const BuiltList list = BuildList(rows, q);
    EXPECT_TRUE(list.filteredOrOrdered);
    EXPECT_EQ(Names(list), (Names_{"Milho", "Aveia", "Arroz", "Frango", "Bife"}));
    EXPECT_EQ(list.rows[1], rows[2]);
    // Texts are ordered without regard to case; the names are the line list's order.
    const std::vector<std::string> mixed = {Row("A", "", "frutas"), Row("B", "", "Carnes"),
                                            Row("C", "", "DOCES")};
    q.orderField = 3;
    EXPECT_EQ(Names(BuildList(mixed, q)), (Names_{"B", "C", "A"}));
    q.orderField = 1;
    EXPECT_EQ(BuildList(mixed, q).rows, mixed);
}

TEST_F(BuildListTest, GroupFilterComparesTheStoredTextExactly) {
    ListQuery q;
    q.groupField = 3;
    q.group = &cereais;
    EXPECT_EQ(Names(BuildList(rows, q)), (Names_{"Arroz", "Aveia", "Milho"}));
    const std::string upper = Pad("CEREAIS", 20);
    q.group = &upper;
    EXPECT_TRUE(BuildList(rows, q).rows.empty());
    const std::string unpadded = "Cereais";
    q.group = &unpadded;
    EXPECT_TRUE(BuildList(rows, q).rows.empty());
}

TEST_F(BuildListTest, FilterOrderingAndKeywordCombine) {
    const std::vector<std::string> words = {"A"};
    ListQuery q;
    q.groupField = 3;
    q.group = &cereais;
    q.orderField = 2;
    q.words = &words;
    EXPECT_EQ(Names(BuildList(rows, q)), (Names_{"Aveia", "Arroz"}));
    // The keyword alone keeps the file order and is no narrowing for the selection.
    ListQuery k;
    k.words = &words;
    const BuiltList byKeyword = BuildList(rows, k);
    EXPECT_EQ(Names(byKeyword), (Names_{"Arroz", "Aveia", "Frango"}));
    EXPECT_FALSE(byKeyword.filteredOrOrdered);
    // A keyword with no words, or none at all, lists every row.
    const std::vector<std::string> none;
    k.words = &none;
    EXPECT_EQ(BuildList(rows, k).rows, rows);
    EXPECT_EQ(BuildList(rows, ListQuery{}).rows, rows);
}

}  // namespace
}  // namespace velmaro
