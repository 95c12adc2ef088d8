#pragma once

// Position-dependent substitution of the ingredient files: the character at position j
// of line i goes through one of five fixed alphabets chosen by p = i + j + 1.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace velmaro {

using ScrambleAlphabet = std::array<unsigned char, 256>;

// The five alphabets (numbered 1 to 5 in the file format, 0 to 4 here). They are part of
// the stored format of every ingredient file: never change them.
const std::array<ScrambleAlphabet, 5>& ScrambleAlphabets();
// 1..5: the alphabet used for the number p.
int ScrambleAlphabetFor(std::size_t p);

std::string ScrambleLine(std::size_t lineIndex, std::string_view line);
std::string UnscrambleLine(std::size_t lineIndex, std::string_view line);

}  // namespace velmaro
