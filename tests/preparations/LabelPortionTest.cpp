#include "preparations/LabelPortion.h"

#include <gtest/gtest.h>

#include "storage/Cp1252.h"

namespace velmaro {
namespace {

struct MeasureCase {
    const char* what;
    long double portion;
    long double weight;
    const char* measure;   // UTF-8
    const char* expected;  // UTF-8; nullptr: no text
};

TEST(HouseholdMeasureText, WholeFractionsNearestAndPlurals) {
    const MeasureCase cases[] = {
        {"whole, one", 60, 60, "fatia", "1 fatia"},
        {"whole, many", 180, 30, "unidade", "6 unidades"},
        {"half", 100, 200, "xícara", "1/2 xícara"},
        {"whole and a half, singular below 2", 15, 10, "colher de sopa", "1 1/2 colher de sopa"},
        {"a quarter", 5, 20, "colher de sopa", "1/4 colher de sopa"},
        {"a third", 10, 30, "fatia", "1/3 fatia"},
        {"two thirds", 20, 30, "fatia", "2/3 fatia"},
        {"three quarters", 15, 20, "pedaço", "3/4 pedaço"},
        {"plural with a fraction", 250, 100, "xícara de chá", "2 1/2 xícaras de chá"},
        {"plural of -ão", 90, 30, "fração", "3 frações"},
        {"plural of an adjective", 500, 250, "prato fundo", "2 pratos fundos"},
        {"plural of -ço", 80, 40, "pedaço", "2 pedaços"},
        {"plural of colher", 20, 10, "colher de chá", "2 colheres de chá"},
        {"plural of a word typed", 40, 20, "rodela", "2 rodelas"},
        // The boundaries between neighbours (in 24ths: 3, 7, 10, 14, 17, 21): a tie goes up.
        {"below 1/8: nothing", 11.9L, 100, "fatia", nullptr},
        {"1/8: up to 1/4", 12.5L, 100, "fatia", "1/4 fatia"},
        {"just below 7/24: 1/4", 29, 100, "fatia", "1/4 fatia"},
        {"just above 7/24: 1/3", 29.5L, 100, "fatia", "1/3 fatia"},
        {"5/12: up to 1/2", 125, 300, "fatia", "1/2 fatia"},
        {"just below 5/12: 1/3", 41, 100, "fatia", "1/3 fatia"},
        {"7/12: up to 2/3", 175, 300, "fatia", "2/3 fatia"},
        {"17/24: up to 3/4", 170, 240, "fatia", "3/4 fatia"},
        {"just below 17/24: 2/3", 70, 100, "fatia", "2/3 fatia"},
        {"7/8: up to the next whole", 93.75L, 50, "fatia", "2 fatias"},
        {"just below 7/8: 3/4", 187, 100, "fatia", "1 3/4 fatia"},
        {"no weight", 60, 0, "fatia", nullptr},
        {"no portion", 0, 60, "fatia", nullptr},
        {"no measure", 60, 60, "", nullptr},
    };
    for (const MeasureCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto text = HouseholdMeasureText(c.portion, c.weight, W(c.measure));
        if (c.expected == nullptr) {
            EXPECT_FALSE(text) << *text;
        } else {
            ASSERT_TRUE(text);
            EXPECT_EQ(*text, W(c.expected));
        }
    }
}

TEST(HouseholdMeasureText, TheListsSuggestionPicksAMeasure) {
    EXPECT_EQ(SuggestedMeasureWord(W("Fatia ou fração")), "fatia");
    EXPECT_EQ(SuggestedMeasureWord("Colheres de sopa"), "colher de sopa");
    EXPECT_EQ(SuggestedMeasureWord(W("Xícaras ou copos")), W("xícara de chá"));
    EXPECT_EQ(SuggestedMeasureWord(W("Unidades, colheres de sopa ou frações")), "unidade");
    EXPECT_EQ(SuggestedMeasureWord("Pratos ou xícaras"), "");  // which plate cannot be told
    EXPECT_EQ(UtensilCapacity("copo"), 200);
    EXPECT_EQ(UtensilCapacity("Colher de sopa"), 10);
    EXPECT_FALSE(UtensilCapacity("prato raso"));  // given by its diameter
}

}  // namespace
}  // namespace velmaro
