#pragma once

// The rounding words of the nutrition label, in one place. The declaration rules and the
// label geometry both round with these; all arithmetic is in long double.

#include <string>

namespace velmaro {

// Nearest integer, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
long double RoundHalfEven(long double x);
// The fraction dropped.
long double TruncTowardZero(long double x);
// 5 x (Trunc(x/5) + Round(x/5 - Trunc(x/5))): the fraction is rounded on its own, so an
// exact half goes down (12.5 gives 10, 17.5 gives 15).
long double NearestFive(long double x);
// (Trunc(2x) + Round(2x - Trunc(2x))) / 2, exact halves going down (1.25 gives 1.0).
long double NearestHalf(long double x);

// RoundHalfEven as an int, held within +-kMaxLabelDots so that label geometry built from
// hand-edited or absurd settings never overflows.
inline constexpr int kMaxLabelDots = 1 << 24;
int RoundToDots(long double x);

// A number with `decimals` decimals, comma as decimal sign, halves away from zero,
// left-padded with spaces to 10 characters (never cut when longer).
std::string FixedText(int decimals, long double x);

// Round(mm x dpi / 25.4): millimetres to device dots. The resolution need not be whole
// (the report preview works at 93.98 dots per inch).
int MmToDots(long double mm, long double dpi);

}  // namespace velmaro
