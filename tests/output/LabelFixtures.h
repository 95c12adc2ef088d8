#pragma once

// A preparation record for label tests: 56 fields, the label portion in field 41, its ten
// amounts in fields 42 to 51, unit and household measure in 55 and 56; the other fields
// hold recognisable filler so a wrong field number shows.

#include <array>
#include <string>
#include <string_view>

#include "storage/Text.h"

namespace velmaro::test {

inline std::string LabelRecord(const std::array<std::string_view, 10>& amounts,
                               std::string_view portion = "    30", std::string_view unit = "g",
                               std::string_view measure = "1 fatia") {
    std::string record;
    for (int f = 1; f <= 56; ++f) {
        std::string field = "  9999,99";  // filler: a wrong field number shows
        if (f == 1) {
            field = std::string("Bolo de fub\xE1") + std::string(28, ' ');
        } else if (f == 41) {
            field = portion;
        } else if (f >= 42 && f <= 51) {
            field = PadLeft(amounts[static_cast<size_t>(f - 42)], 9);
        } else if (f == 55) {
            field = unit;
        } else if (f == 56) {
            field = measure;
        }
        record += field + "|";
    }
    return record;
}

}  // namespace velmaro::test
