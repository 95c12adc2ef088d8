#include "storage/Cp1252.h"

#include <array>

namespace velmaro {

namespace {

constexpr std::array<char32_t, 32> kHighBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `i`; returns false for an invalid one (advancing one byte).
bool DecodeUtf8(std::string_view s, size_t& i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int extra = 0;
    if (b0 < 0x80) {
        cp = b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        cp = b0 & 0x1Fu;
        extra = 1;
    } else if ((b0 & 0xF0) == 0xE0) {
        cp = b0 & 0x0Fu;
        extra = 2;
    } else if ((b0 & 0xF8) == 0xF0) {
        cp = b0 & 0x07u;
        extra = 3;
    } else {
        ++i;
        return false;
    }
    if (i + static_cast<size_t>(extra) >= s.size()) {
        ++i;
        return false;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return false;
        }
        cp = (cp << 6) | (b & 0x3Fu);
    }
    const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    i += static_cast<size_t>(extra) + 1;
    return cp >= minimum[extra] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    size_t i = 0;
    char32_t cp = 0;
    while (i < text.size()) {
        if (!DecodeUtf8(text, i, cp)) {
            return false;
        }
    }
    return true;
}

char32_t Cp1252ToCodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return kHighBlock[byte - 0x80u];
    }
    return byte;
}

std::optional<unsigned char> CodePointToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<unsigned char>(cp);
    }
    for (size_t k = 0; k < kHighBlock.size(); ++k) {
        if (kHighBlock[k] == cp) {
            return static_cast<unsigned char>(0x80 + k);
        }
    }
    return std::nullopt;
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        AppendUtf8(out, Cp1252ToCodePoint(static_cast<unsigned char>(c)));
    }
    return out;
}

std::optional<std::string> Utf8ToCp1252(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        const bool ok = DecodeUtf8(utf8, i, cp);
        const auto byte = ok ? CodePointToCp1252(cp) : std::nullopt;
        if (byte) {
            out += static_cast<char>(*byte);
        } else if (replacement != 0) {
            out += replacement;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

}  // namespace velmaro
