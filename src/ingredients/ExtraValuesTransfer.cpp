#include "ingredients/ExtraValuesTransfer.h"

#include "storage/Text.h"

namespace velmaro {

ExtraValuesTaken TakeExtraValues(const ExtraValues& ingredient, const ExtraValues& food,
                                 std::string_view foodName, std::string_view tableName,
                                 bool replace) {
    ExtraValuesTaken result{ingredient, 0};
    for (size_t i = 0; i < kExtraValueCount; ++i) {
        const auto which = static_cast<ExtraValue>(i);
        if (!food.Known(which) || (ingredient.Known(which) && !replace)) {
            continue;
        }
        const std::string foodSource = TrimTrailingSpaces(food.sources[i]);
        result.values.values[i] = food.values[i];
        result.values.sources[i] =
            (foodSource.empty() ? TrimTrailingSpaces(tableName) : foodSource) + ": " +
            TrimTrailingSpaces(foodName);
        ++result.taken;
    }
    if (result.taken > 0) {
        for (std::string& v : result.values.values) {
            if (v.empty()) {
                v = BlankMaskText(kExtraValueMask);
            }
        }
    }
    return result;
}

bool LacksExtraValues(const ExtraValues& values) {
    for (size_t i = 0; i < kExtraValueCount; ++i) {
        if (!values.Known(static_cast<ExtraValue>(i))) {
            return true;
        }
    }
    return false;
}

}  // namespace velmaro
