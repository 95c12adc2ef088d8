#pragma once

// Cells that a spreadsheet would run as a formula. A cell whose text begins with "=", "+",
// "-" or "@" (a name such as "=SOMA(A1:A9)", a source "-Tabela B") is written with an
// apostrophe in front, which every spreadsheet takes as "show as text"; the reader takes
// one such apostrophe off again, so what is written is read back as it was. A text that
// begins with apostrophes before one of those characters gets one apostrophe more, for
// the same reason. Plain numbers ("-1,5") are left as numbers.

#include <string>
#include <string_view>

namespace velmaro {

// The text of a cell as it is written (before any quoting).
std::string GuardFormulaCell(std::string_view text);
// The text of a cell as read (after unquoting): the one apostrophe GuardFormulaCell put
// in front taken off.
std::string UnguardFormulaCell(std::string_view cell);

}  // namespace velmaro
