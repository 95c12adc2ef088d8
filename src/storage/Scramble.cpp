#include "storage/Scramble.h"

#include <cstdint>
#include <utility>

namespace velmaro {

namespace {

std::uint64_t SplitMix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

bool IsForbiddenOutput(unsigned char b) {
    return b == 0 || b == 10 || b == 13;
}

// A Fisher-Yates shuffle from a fixed seed, then the outputs NUL, LF and CR moved onto
// inputs below 32 (control characters, which records never hold), so that no character
// of a record is ever enciphered into a line break or a text end.
ScrambleAlphabet MakeAlphabet(std::uint64_t seed) {
    ScrambleAlphabet a{};
    for (int i = 0; i < 256; ++i) {
        a[static_cast<size_t>(i)] = static_cast<unsigned char>(i);
    }
    std::uint64_t state = seed;
    for (size_t i = 255; i > 0; --i) {
        const auto j = static_cast<size_t>(SplitMix64(state) % (i + 1));
        std::swap(a[i], a[j]);
    }
    for (size_t x = 32; x < 256; ++x) {
        if (!IsForbiddenOutput(a[x])) {
            continue;
        }
        for (size_t y = 0; y < 32; ++y) {
            if (!IsForbiddenOutput(a[y])) {
                std::swap(a[x], a[y]);
                break;
            }
        }
    }
    return a;
}

struct Tables {
    std::array<ScrambleAlphabet, 5> forward;
    std::array<ScrambleAlphabet, 5> inverse;
};

const Tables& GetTables() {
    static const Tables tables = [] {
        Tables t{};
        constexpr std::uint64_t kSeeds[5] = {0x56454C4D41524F31ull, 0x56454C4D41524F32ull,
                                             0x56454C4D41524F33ull, 0x56454C4D41524F34ull,
                                             0x56454C4D41524F35ull};
        for (size_t k = 0; k < 5; ++k) {
            t.forward[k] = MakeAlphabet(kSeeds[k]);
            for (size_t i = 0; i < 256; ++i) {
                t.inverse[k][t.forward[k][i]] = static_cast<unsigned char>(i);
            }
        }
        return t;
    }();
    return tables;
}

}  // namespace

const std::array<ScrambleAlphabet, 5>& ScrambleAlphabets() {
    return GetTables().forward;
}

int ScrambleAlphabetFor(std::size_t p) {
    if (p % 5 == 0) {
        return 5;
    }
    if (p % 4 == 0) {
        return 4;
    }
    if (p % 3 == 0) {
        return 3;
    }
    return p % 2 != 0 ? 1 : 2;
}

namespace {

// p = i + j + 1 runs through the alphabets with period 60; the table for one period
// spares the divisions in the per-character loop.
const std::array<unsigned char, 60>& AlphabetCycle() {
    static const std::array<unsigned char, 60> cycle = [] {
        std::array<unsigned char, 60> c{};
        for (size_t p = 0; p < 60; ++p) {
            c[p] = static_cast<unsigned char>(ScrambleAlphabetFor(p) - 1);
        }
        return c;
    }();
    return cycle;
}

std::string Apply(const std::array<ScrambleAlphabet, 5>& alphabets, std::size_t lineIndex,
                  std::string_view line) {
    const auto& cycle = AlphabetCycle();
    std::string out(line.size(), '\0');
    std::size_t p = (lineIndex + 1) % 60;
    for (std::size_t j = 0; j < line.size(); ++j) {
        out[j] = static_cast<char>(alphabets[cycle[p]][static_cast<unsigned char>(line[j])]);
        if (++p == 60) {
            p = 0;
        }
    }
    return out;
}

}  // namespace

std::string ScrambleLine(std::size_t lineIndex, std::string_view line) {
    return Apply(GetTables().forward, lineIndex, line);
}

std::string UnscrambleLine(std::size_t lineIndex, std::string_view line) {
    return Apply(GetTables().inverse, lineIndex, line);
}

}  // namespace velmaro
