#include <gtest/gtest.h>

#include "storage/Collation.h"
#include "storage/Cp1252.h"

namespace velmaro {
namespace {

TEST(Cp1252, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string utf8 = Cp1252ToUtf8(all);
    const auto back = Utf8ToCp1252(utf8);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Cp1252, HighBlockAndRefusals) {
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "€");
    EXPECT_EQ(Cp1252ToUtf8("\x9C"), "œ");
    EXPECT_EQ(Cp1252ToUtf8("\xE7\xE3"), "çã");
    EXPECT_EQ(W("Feijão"), "Feij\xE3o");
    EXPECT_FALSE(Utf8ToCp1252("日本").has_value());
    EXPECT_EQ(*Utf8ToCp1252("a日b", '?'), "a?b");
    EXPECT_EQ(*Utf8ToCp1252("a\xC3", '?'), "a?");        // truncated sequence
    EXPECT_EQ(*Utf8ToCp1252("\xED\xA0\x80", '?'), "?");  // a surrogate is not a character
}

TEST(Collation, CaseInsensitiveAccentsCount) {
    EXPECT_EQ(CompareText("ARROZ", "arroz"), 0);
    EXPECT_EQ(CompareText(W("AÇÚCAR"), W("açúcar")), 0);
    EXPECT_NE(CompareText(W("açucar"), "acucar"), 0);
    EXPECT_LT(CompareText("abacate", "Banana"), 0);
    EXPECT_LT(CompareText(W("Café"), "Cafeteira"), 0);
    EXPECT_LT(CompareText("A  ", "AB "), 0);  // padded keys: a space before a letter
    EXPECT_EQ(CollationKey("Arroz") == CollationKey("ARROZ"), true);
    EXPECT_LT(CollationKey("abacate"), CollationKey("Banana"));
}

}  // namespace
}  // namespace velmaro
