#include "output/labels/legacy/LabelRounding.h"

#include <cmath>

#include "storage/Text.h"

namespace velmaro {

long double RoundHalfEven(long double x) {
    if (!std::isfinite(x)) {
        return x;
    }
    const long double below = std::floor(x);
    const long double fraction = x - below;  // exact
    if (fraction > 0.5L) {
        return below + 1;
    }
    if (fraction < 0.5L) {
        return below;
    }
    return std::fmod(below, 2.0L) == 0 ? below : below + 1;
}

long double TruncTowardZero(long double x) {
    return std::trunc(x);
}

long double NearestFive(long double x) {
    const long double whole = TruncTowardZero(x / 5);
    return 5 * (whole + RoundHalfEven(x / 5 - whole));
}

long double NearestHalf(long double x) {
    const long double whole = TruncTowardZero(2 * x);
    return (whole + RoundHalfEven(2 * x - whole)) / 2;
}

int RoundToDots(long double x) {
    if (std::isnan(x)) {
        return 0;
    }
    const long double r = RoundHalfEven(x);
    if (r > kMaxLabelDots) {
        return kMaxLabelDots;
    }
    if (r < -kMaxLabelDots) {
        return -kMaxLabelDots;
    }
    return static_cast<int>(r);
}

std::string FixedText(int decimals, long double x) {
    const std::string wide = FormatNumber(decimals, 64, x);
    const auto first = wide.find_first_not_of(' ');
    const std::string digits = first == std::string::npos ? wide : wide.substr(first);
    return digits.size() < 10 ? PadLeft(digits, 10) : digits;
}

int MmToDots(long double mm, long double dpi) {
    return RoundToDots(mm * dpi / 25.4L);
}

}  // namespace velmaro
