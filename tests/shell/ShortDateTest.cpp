#include "shell/ShortDate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmaro {
namespace {

TEST(ShortDate, DayMonthYearWithTheCenturyOfTwoDigitYears) {
    struct Case {
        std::string text;
        bool valid;
        int year;
    };
    const std::vector<Case> cases{
        {"15/03/25", true, 2025},   {"01/01/00", true, 2000}, {"31/12/49", true, 2049},
        {"01/01/50", true, 1950},   {"31/12/99", true, 1999}, {"29/02/24", true, 2024},
        {"29/02/00", true, 2000},   {"29/02/25", false, 0},   {"29/02/1900", false, 0},
        {"29/02/2000", true, 2000}, {"31/04/25", false, 0},   {"00/01/25", false, 0},
        {"01/13/25", false, 0},     {"01/00/25", false, 0},   {"15/03/  ", false, 0},
        {"1 /03/25", false, 0},     {"  /  /  ", false, 0},   {"15-03-25", false, 0},
        {"15/03/2025", true, 2025}, {"15/03/202", false, 0},  {"", false, 0},
    };
    for (const Case& c : cases) {
        const auto date = ParseShortDate(c.text);
        ASSERT_EQ(date.has_value(), c.valid) << c.text;
        if (date) {
            EXPECT_EQ(date->year, c.year) << c.text;
        }
    }
    const auto date = ParseShortDate("07/11/26");
    ASSERT_TRUE(date);
    EXPECT_EQ(date->day, 7);
    EXPECT_EQ(date->month, 11);
}

}  // namespace
}  // namespace velmaro
