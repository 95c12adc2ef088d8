#include "shell/ShortDate.h"

namespace velmaro {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number of the digits text[from, from + count), or -1 when one is not a digit.
int Digits(std::string_view text, size_t from, size_t count) {
    int value = 0;
    for (size_t i = from; i < from + count; ++i) {
        if (!IsDigit(text[i])) {
            return -1;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int month, int year) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

int FullYear(int twoDigitYear) {
    return twoDigitYear < 50 ? 2000 + twoDigitYear : 1900 + twoDigitYear;
}

std::optional<CalendarDate> ParseShortDate(std::string_view text) {
    if ((text.size() != 8 && text.size() != 10) || text[2] != '/' || text[5] != '/') {
        return std::nullopt;
    }
    CalendarDate date;
    date.day = Digits(text, 0, 2);
    date.month = Digits(text, 3, 2);
    const int year = Digits(text, 6, text.size() - 6);
    if (date.day < 1 || date.month < 1 || date.month > 12 || year < 0) {
        return std::nullopt;
    }
    date.year = text.size() == 8 ? FullYear(year) : year;
    if (date.year < 1 || date.day > DaysInMonth(date.month, date.year)) {
        return std::nullopt;
    }
    return date;
}

}  // namespace velmaro
