#include <gtest/gtest.h>

#include "storage/Text.h"

namespace velmaro {
namespace {

TEST(Text, ReplicateRemoveCenterPad) {
    EXPECT_EQ(Replicate("ab", 3), "ababab");
    EXPECT_EQ(Replicate("ab", 0), "");
    EXPECT_EQ(Replicate("ab", -1), "");
    EXPECT_EQ(RemoveSpaces(" a b  c "), "abc");
    EXPECT_EQ(RemoveAll("aabb", "ab"), "bb");  // one character at each first occurrence
    EXPECT_EQ(TrimTrailingSpaces("ab \t  "), "ab \t");
    EXPECT_EQ(TrimTrailingSpaces("    "), "");
    EXPECT_EQ(CenterText("ab", 5), " ab  ");
    EXPECT_EQ(CenterText("abcdef", 4), "abcd");
    EXPECT_EQ(CenterText("ab", 2), "ab");
    EXPECT_EQ(PadLeft("abc", 5), "  abc");
    EXPECT_EQ(PadLeft("abc", 2), "ab");
    EXPECT_EQ(ReplaceChar('_', '/', "a/b/"), "a_b_");
}

TEST(Text, AlignAndZeroFill) {
    struct Case {
        const char* in;
        const char* aligned;
    };
    const Case cases[] = {
        {"12  ", "  12"},       {"    ", "   0"},       {"  12", "  12"},
        {"1 2 ", " 1 2"},       {"1234,56", "1234,56"}, {"    ,5 ", "   0,5 "},
        {"12  ,5 ", "  12,5 "}, {"    ,  ", "   0,  "}, {"1   ,  ", "   1,  "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AlignDecimalText(c.in), c.aligned) << '"' << c.in << '"';
    }
    EXPECT_EQ(ZeroFillDecimals("   0,5 "), "   0,50");
    EXPECT_EQ(ZeroFillDecimals("  12,5 "), "  12,50");
    EXPECT_EQ(ZeroFillDecimals("  12 "), "  12 ");
}

TEST(Text, TextToNumber) {
    struct Case {
        const char* in;
        long double value;
    };
    const Case cases[] = {
        {"  12,50", 12.5L},   {"    ,  ", 0},    {"", 0},
        {"12,5x", 0},         {"-3,25", -3.25L}, {"  7", 7},
        {"1.5", 1.5L},        {"1,5e2", 150},    {"+2", 2},
        {"12,", 12},          {",5", 0.5L},      {"inf", 0},
        {"nan", 0},           {"0x10", 0},       {"1 2", 0},
        {"--1", 0},           {",", 0},          {"1e", 0},
        {"  -0,01 ", -0.01L},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextToNumber(c.in), c.value) << '"' << c.in << '"';
    }
}

TEST(Text, FormatNumber) {
    struct Case {
        int d;
        int w;
        long double v;
        const char* out;
    };
    const Case cases[] = {
        {2, 7, 12.5L, "  12,50"},
        {0, 3, 7, "  7"},
        {2, 9, -1.5L, "    -1,50"},
        {2, 7, 12345.678L, "12345,6"},  // cut to the field width
        {2, 7, 0.285, "   0,29"},       // halves away from zero on the decimal value
        {2, 7, 2.675, "   2,68"},
        {2, 7, -2.675, "  -2,68"},
        {1, 8, 0.05, "     0,1"},
        {2, 7, -0.001, "   0,00"},  // no negative zero
        {2, 10, 999999.995, "1000000,00"},
        {2, 9, 999999.99, "999999,99"},
        {0, 6, 0.5, "     1"},
        {3, 8, 1e-7L, "   0,000"},
        {2, 16, 1e12L, "1000000000000,00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumber(c.d, c.w, c.v), c.out) << static_cast<double>(c.v);
    }
}

TEST(Text, Masks) {
    EXPECT_EQ(MaskDecimals("9999,99;1;_"), 2);
    EXPECT_EQ(MaskDecimals("999999,9;1;_"), 1);
    EXPECT_EQ(MaskDecimals("999999;1;_"), 0);
    EXPECT_EQ(MaskDecimals("99/99/9999;1;_"), 0);
    EXPECT_EQ(BlankMaskText("9999,99;1;_"), "    ,  ");
    EXPECT_EQ(BlankMaskText("99/99/9999;1;_"), "  /  /    ");
    EXPECT_EQ(MaskWidth("9999,99;1;_"), 7);
}

TEST(Text, NumericFieldRule) {
    std::string text = "12  ,  ";  // typed "12" into "9999,99"
    EXPECT_EQ(NumericFieldKeyPress(text, '.'), ',');
    EXPECT_EQ(text, "  12,  ");
    std::string other = "12  ,  ";
    EXPECT_EQ(NumericFieldKeyPress(other, '5'), '5');
    EXPECT_EQ(other, "12  ,  ");

    EXPECT_EQ(NumericFieldExit("12  ,5 ", "9999,99;1;_"), "  12,50");
    EXPECT_EQ(NumericFieldExit("    ,  ", "9999,99;1;_"), "    ,  ");  // blank stays blank
    EXPECT_EQ(NumericFieldExit("7  ", "999;1;_"), "  7");
    EXPECT_EQ(WholeNumberFieldExit("   "), "  0");
}

}  // namespace
}  // namespace velmaro
