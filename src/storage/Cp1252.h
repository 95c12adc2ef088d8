#pragma once

// Windows-1252 <-> Unicode. Records and control texts are Windows-1252 byte strings;
// every boundary with UTF-8 (Qt widgets, file names, the console) goes through here.

#include <optional>
#include <string>
#include <string_view>

namespace velmaro {

// The Unicode code point of a Windows-1252 byte. The five bytes that code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value,
// so every byte round-trips.
char32_t Cp1252ToCodePoint(unsigned char byte);
// The byte for a code point, or nothing when Windows-1252 cannot hold it.
std::optional<unsigned char> CodePointToCp1252(char32_t cp);

std::string Cp1252ToUtf8(std::string_view text);
// Characters that Windows-1252 cannot hold become `replacement` (or make the whole
// conversion fail when `replacement` is 0). Invalid UTF-8 bytes count as such too.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8, char replacement = 0);
// Whether the bytes are well-formed UTF-8 (shortest forms, no surrogates, nothing beyond
// U+10FFFF).
bool IsValidUtf8(std::string_view text);

// A text of the program written in UTF-8 source (a message, a caption, a section
// name) as the Windows-1252 bytes that records, controls and files use.
inline std::string W(std::string_view utf8) {
    return *Utf8ToCp1252(utf8, '?');
}

}  // namespace velmaro
