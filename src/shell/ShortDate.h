#pragma once

// Dates as the program's date fields hold them: day/month/year with "/" between, in the
// masks "99/99/99" (quotation dates) and "99/99/9999" (preparation dates).

#include <optional>
#include <string_view>

namespace velmaro {

struct CalendarDate {
    int day = 0;
    int month = 0;
    int year = 0;
};

// The century given to a two-digit year: 00-49 are 2000-2049, 50-99 are 1950-1999.
int FullYear(int twoDigitYear);

// The date of "dd/mm/yy" or "dd/mm/yyyy" when every position holds its digit and the
// day exists in that month of that year (29/02 only in leap years); nothing otherwise,
// half-typed texts included.
std::optional<CalendarDate> ParseShortDate(std::string_view text);

}  // namespace velmaro
