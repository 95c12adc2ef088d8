#pragma once

// The recipe totals of a preparation record scaled to a portion, a tablespoon and the
// label portion, and the portion weight from the yield and the number of portions. The
// functions work on the record line as stored (56 fields), so the register screen and
// the carrying of ingredient changes into the preparations scale the same way.

#include <optional>
#include <string>
#include <string_view>

namespace velmaro {

// The three scaled rows of the preparation record.
enum class ScaledRow { Portion, Tablespoon, Label };

struct ScaledRowFields {
    int weight;  // the row's weight: 15, 27 or 41
    int first;   // the first of its eleven values (ten nutrients, then the cost)
};
ScaledRowFields RowFields(ScaledRow row);

// The text of a weight or a number of portions ("999999") and of a value ("999999,99")
// when nothing is in it.
inline constexpr std::string_view kBlankWeight = "      ";
inline constexpr std::string_view kBlankAmount = "      ,  ";

// The portion weight for a yield and a number of portions: blank when either is blank;
// the yield divided by the number of portions, rounded to whole grams, when that number
// is above 0; nothing (the weight is left as it is) when it is not.
std::optional<std::string> PortionWeight(std::string_view yield, std::string_view portions);

// Scales the recipe totals (fields 3 to 13) to the row's weight: each value times
// weight / yield, with two decimals in the width of 9; a blank total gives a blank
// value. Nothing happens when the yield is blank or not above 0, or the row's weight is
// blank. A value above 999999,99 does not fit its field: the row is then left as it is
// and the result is false (the caller tells the user, ScaledValueTooLargeMessage).
[[nodiscard]] bool ScaleFromYield(std::string& record, ScaledRow row);
// "ERRO! Valor calculado para ... maior que 999999,99! ..." for the row (Windows-1252).
std::string ScaledValueTooLargeMessage(ScaledRow row);

// Whether the row's stored values cannot be those of its weight: it has a weight and the
// yield is above 0, but its values would not fit (ScaleFromYield refuses), or they are all
// blank while the totals give values. Such a row is never printed as if computed.
bool ScaledRowIsStale(std::string_view record, ScaledRow row);

// The row's eleven values blank (its weight stays).
void BlankScaledRow(std::string& record, ScaledRow row);

}  // namespace velmaro
