#pragma once

// The ingredient record of a composition table's ingredient file: 30 fields, each
// followed by "|". Amounts are per 100 g, in the text form of their masks.

#include <array>
#include <string_view>

namespace velmaro::ing {

inline constexpr int kFieldCount = 30;
inline constexpr int kNameWidth = 60;
inline constexpr std::string_view kNameMask =
    "cccccccccccccccccccccccccccccccccccccccccccccccccccccccccccc;1;_";

inline constexpr int kName = 1;
inline constexpr int kEnergy = 2;             // kcal, "9999,99"
inline constexpr int kCarbohydrate = 3;       // g
inline constexpr int kProtein = 4;            // g
inline constexpr int kTotalFat = 5;           // g
inline constexpr int kSaturatedFat = 6;       // g
inline constexpr int kCholesterol = 7;        // mg
inline constexpr int kFibre = 8;              // g
inline constexpr int kCalcium = 9;            // mg
inline constexpr int kIron = 10;              // mg
inline constexpr int kSodium = 11;            // mg, "99999,99"
inline constexpr int kReserved = 12;          // always empty
inline constexpr int kGroup = 13;             // a key of the ingredient group file, or empty
inline constexpr int kCorrectionFactor = 14;  // "999,99"
inline constexpr int kCookingFactor = 15;     // "999,99"
inline constexpr int kCostPerKilogram = 16;   // "999999,99"
inline constexpr int kQuotationDate = 17;     // "99/99/99"
inline constexpr int kFirstSource = 18;       // sources of fields 2-11, 14, 15, 16: 18-30
inline constexpr int kLastSource = 30;
inline constexpr int kCostSourceMaxLength = 33;

inline constexpr std::string_view kValueMask = "9999,99;1;_";
inline constexpr std::string_view kSodiumMask = "99999,99;1;_";
inline constexpr std::string_view kFactorMask = "999,99;1;_";
inline constexpr std::string_view kCostMask = "999999,99;1;_";
inline constexpr std::string_view kDateMask = "99/99/99;1;_";

// The ten nutrients in the order every row of the program uses, with their codes.
inline constexpr int kNutrientCount = 10;
inline constexpr std::array<std::string_view, kNutrientCount> kNutrientCodes = {
    "KAL", "CHO", "PTN", "LIP", "SAT", "COL", "FIB", "CAL", "FER", "SOD"};

// The record field of nutrient i (0-based, in nutrient order).
constexpr int NutrientField(int i) {
    return kEnergy + i;
}
// The mask of a value field (2-11, 14-16).
constexpr std::string_view ValueMask(int field) {
    return field == kSodium                                          ? kSodiumMask
           : (field == kCorrectionFactor || field == kCookingFactor) ? kFactorMask
           : field == kCostPerKilogram                               ? kCostMask
                                                                     : kValueMask;
}
// The value field whose source is `sourceField` (18-30).
constexpr int SourceValueField(int sourceField) {
    const int k = sourceField - kFirstSource;  // 0..12
    return k < 10 ? kEnergy + k : kCorrectionFactor + (k - 10);
}

}  // namespace velmaro::ing
