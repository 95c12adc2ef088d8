#pragma once

// Text and number helpers on Windows-1252 byte strings. Numbers live in records as the
// text of their fields: right-aligned, comma as decimal sign, all decimals written.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

std::string Replicate(std::string_view text, int count);
std::string RemoveAll(std::string_view text, std::string_view piece);
std::string RemoveSpaces(std::string_view text);
std::string TrimTrailingSpaces(std::string_view text);
std::string CenterText(std::string_view text, int width);
std::string AlignIntegerText(std::string_view text);
std::string AlignDecimalText(std::string_view text);
std::string ZeroFillDecimals(std::string_view text);
std::string ReplaceChar(char newChar, char oldChar, std::string_view text);
// "A" to "Z" made lower case; every other byte as it is.
std::string AsciiLower(std::string_view text);
std::string PadLeft(std::string_view text, int width);
// The items one after the other with `separator` between them.
std::string Join(const std::vector<std::string>& items, std::string_view separator);
// The words of `text` (separated by single spaces) in lines no wider than `width` as
// `widthOf` measures them, as many words a line as fit; a word wider than that stands on a
// line of its own. No line for an empty text.
std::vector<std::string> WrapWords(std::string_view text, int width,
                                   const std::function<int(const std::string&)>& widthOf);

// Parses a decimal number with "," (or ".") as decimal sign; 0 for anything that is
// not a number, blank and half-typed texts included.
long double TextToNumber(std::string_view text);
// The same parse, telling a text that is not a number apart.
std::optional<long double> ParseNumber(std::string_view text);
// A floating value in general notation with up to 15 significant digits and "," as
// decimal sign (as configuration values are written).
std::string FloatToText(long double value);

// Fixed notation with `decimals` decimals (halves rounded away from zero on the
// value's 15 significant digits), comma as decimal sign, PadLeft to `width`.
std::string FormatNumber(int decimals, int width, long double value);

int MaskDecimals(std::string_view mask);
std::string BlankMaskText(std::string_view mask);
// The pattern part of an edit mask (before the first ";").
std::string_view MaskPattern(std::string_view mask);
// The width of a field with this mask (the pattern without its case marks).
int MaskWidth(std::string_view mask);

// The numeric field rule. On a key press: "." is taken as ","; a "," first aligns the
// field's integer part against the comma. Returns the character the field receives.
char NumericFieldKeyPress(std::string& fieldText, char key);
// On leaving the field: a non-blank text is aligned and its decimals zero-filled.
std::string NumericFieldExit(std::string_view fieldText, std::string_view mask);
// The variant of the whole-number fields of the label sheet setup: always aligned.
std::string WholeNumberFieldExit(std::string_view fieldText);

bool IsAllSpaces(std::string_view text);

}  // namespace velmaro
