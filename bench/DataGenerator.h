#pragma once

// Realistic data folders for the benchmarks: ingredient records of 30 fields with
// Portuguese names, accented letters, numbers in their field forms and source texts.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace velmaro::bench {

// `count` distinct ingredient records (plain lines), in no particular order.
std::vector<std::string> MakeIngredientRecords(std::size_t count, unsigned seed = 1);

}  // namespace velmaro::bench
