#include <gtest/gtest.h>

#include <random>
#include <set>

#include "storage/Scramble.h"

namespace velmaro {
namespace {

TEST(Scramble, AlphabetsArePermutationsWithoutLineBreaks) {
    for (const auto& a : ScrambleAlphabets()) {
        std::set<unsigned char> seen(a.begin(), a.end());
        EXPECT_EQ(seen.size(), 256u);
        for (int c = 32; c < 256; ++c) {
            const auto out = a[static_cast<size_t>(c)];
            EXPECT_TRUE(out != 0 && out != 10 && out != 13) << c;
        }
    }
}

// The alphabets are part of every ingredient file ever written: this pins them.
TEST(Scramble, AlphabetsNeverChange) {
    std::uint64_t h = 1469598103934665603ull;
    for (const auto& a : ScrambleAlphabets()) {
        for (auto b : a) {
            h = (h ^ b) * 1099511628211ull;
        }
    }
    EXPECT_EQ(h, 18153216875342082217ull);
    EXPECT_EQ(ScrambleLine(0, "Arroz|"), "\x93O\xD6w\xEC\xEC");
}

TEST(Scramble, AlphabetChoice) {
    EXPECT_EQ(ScrambleAlphabetFor(5), 5);
    EXPECT_EQ(ScrambleAlphabetFor(20), 5);
    EXPECT_EQ(ScrambleAlphabetFor(8), 4);
    EXPECT_EQ(ScrambleAlphabetFor(9), 3);
    EXPECT_EQ(ScrambleAlphabetFor(12), 4);
    EXPECT_EQ(ScrambleAlphabetFor(7), 1);
    EXPECT_EQ(ScrambleAlphabetFor(2), 2);
    EXPECT_EQ(ScrambleAlphabetFor(1), 1);
}

TEST(Scramble, RoundTripOfAThousandLines) {
    std::mt19937 rng(2024);
    for (size_t i = 0; i < 1000; ++i) {
        std::string line(rng() % 300, ' ');
        for (auto& c : line) {
            c = static_cast<char>(32 + rng() % 224);
        }
        const std::string s = ScrambleLine(i, line);
        ASSERT_EQ(s.size(), line.size());
        EXPECT_EQ(s.find_first_of(std::string("\r\n\0", 3)), std::string::npos) << i;
        EXPECT_EQ(UnscrambleLine(i, s), line) << i;
    }
}

TEST(Scramble, DependsOnIndexAndPosition) {
    EXPECT_EQ(ScrambleLine(3, ""), "");
    const std::string line = "Arroz|Arroz|Arroz|";
    const std::string a = ScrambleLine(0, line);
    const std::string b = ScrambleLine(1, line);
    EXPECT_NE(a, b);
    EXPECT_EQ(UnscrambleLine(0, a), line);
    EXPECT_NE(UnscrambleLine(1, a), line);
    EXPECT_EQ(a.find('|'), std::string::npos);
    EXPECT_NE(ScrambleLine(0, "aaaaa").substr(0, 1), ScrambleLine(0, "aaaaa").substr(1, 1));
}

}  // namespace
}  // namespace velmaro
