#pragma once

// The order of every line table: Brazilian Portuguese collation that ignores case
// (accents still count). Texts are Windows-1252 byte strings.

#include <string>
#include <string_view>

namespace velmaro {

// <0, 0 or >0. Texts that differ only in case compare equal.
int CompareText(std::string_view a, std::string_view b);
bool TextEquals(std::string_view a, std::string_view b);
// A byte string whose memcmp order is the order of CompareText.
std::string CollationKey(std::string_view text);

}  // namespace velmaro
