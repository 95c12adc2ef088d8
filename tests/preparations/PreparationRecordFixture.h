#pragma once

// Preparation records for tests: every field at its blank text, with the fields a test
// names filled in.

#include <map>
#include <string>

#include "storage/PreparationRecord.h"
#include "support/TestEnv.h"

namespace velmaro::test {

// The blank text of field n of the preparation record.
inline std::string BlankPreparationField(int n) {
    namespace F = PreparationRecordField;
    switch (n) {
        case F::kYield:
        case F::kPortions:
        case F::kPortionWeight:
        case F::kTablespoonWeight:
        case F::kLabelPortionWeight:
            return "      ";
        case F::kGroup:
        case F::kFoodGroup:
        case F::kReferenceNorm:
        case F::kLabelPortionUnit:
        case F::kLabelPortionMeasure:
            return "";
        case F::kDate:
            return "  /  /    ";
        default:
            return "      ,  ";
    }
}

// A record line (without its line end) named `name`, padded to 40.
inline std::string PreparationLine(const std::string& name,
                                   const std::map<int, std::string>& fields = {}) {
    std::string line;
    for (int n = 1; n <= PreparationRecordField::kCount; ++n) {
        const auto it = fields.find(n);
        line += n == PreparationRecordField::kName ? Pad(name, 40)
                : it != fields.end()               ? it->second
                                                   : BlankPreparationField(n);
        line += '|';
    }
    return line;
}

}  // namespace velmaro::test
