#include "preparations/ValueLimits.h"

#include "storage/Cp1252.h"
#include "storage/Text.h"

namespace velmaro {

bool AboveAmountLimit(long double value) {
    return value > kAmountLimit + 1e-6L;
}

std::string ReduceWeightsMessage() {
    return W("Solução : diminua os pesos de todos os ingredientes na mesma proporção!");
}

std::optional<std::string> FittingNumberText(int decimals, int width, long double value) {
    // Wide enough for any value that could fit, so a longer text shows the overflow.
    const std::string wide = FormatNumber(decimals, width + 2, value);
    if (wide[0] != ' ' || wide[1] != ' ') {
        return std::nullopt;
    }
    return wide.substr(2);
}

}  // namespace velmaro
