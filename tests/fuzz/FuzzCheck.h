#pragma once

// What the fuzz targets share: the input as bytes, and a check that stops the run (a
// finding) when a property of the code does not hold.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

namespace velmaro::fuzz {

// Takes the input apart: a byte at a time from the front, the rest as text.
class Input {
  public:
    Input(const uint8_t* data, size_t size) : m_rest(reinterpret_cast<const char*>(data), size) {}
    uint8_t Byte() {
        if (m_rest.empty()) {
            return 0;
        }
        const auto b = static_cast<uint8_t>(m_rest.front());
        m_rest.remove_prefix(1);
        return b;
    }
    bool Empty() const { return m_rest.empty(); }
    // The text up to the next byte `end` (dropped), or all that is left.
    std::string_view Until(char end) {
        const size_t at = m_rest.find(end);
        const std::string_view piece = m_rest.substr(0, at);
        m_rest.remove_prefix(at == std::string_view::npos ? m_rest.size() : at + 1);
        return piece;
    }
    std::string_view Rest() {
        const std::string_view rest = m_rest;
        m_rest = {};
        return rest;
    }

  private:
    std::string_view m_rest;
};

}  // namespace velmaro::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
