#pragma once

// The limits of the computed values: what a field can hold, and the ceiling of the
// nutrient amounts and of the sums of a preparation.

#include <optional>
#include <string>

namespace velmaro {

// The largest nutrient amount, cost total and sum kept: 999999,99.
inline constexpr long double kAmountLimit = 999999.99L;

// True when `value` is above 999999,99. Values are read from two-decimal texts, so a
// value within a millionth of the limit is the limit itself.
bool AboveAmountLimit(long double value);

// "Solução : diminua os pesos de todos os ingredientes na mesma proporção!" (Windows-1252),
// the second message of every amount or sum held at the limit.
std::string ReduceWeightsMessage();

// FormatNumber(decimals, width, value) when the value's text fits the width; nothing
// when FormatNumber would have to cut it.
std::optional<std::string> FittingNumberText(int decimals, int width, long double value);

}  // namespace velmaro
