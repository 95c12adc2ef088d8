#pragma once

// Realistic data folders for the benchmarks: ingredient records of 30 fields with
// Portuguese names, accented letters, numbers in their field forms and source texts.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace velmaro::bench {

// `count` distinct ingredient records (plain lines), in no particular order.
// A fresh temporary folder named after `prefix`, made once per prefix and process.
const std::filesystem::path& BenchFolder(const std::string& prefix);

std::vector<std::string> MakeIngredientRecords(std::size_t count, unsigned seed = 1);

// A table's preparations: the preparation list and one ingredient file per preparation.
struct PreparationFolderSetup {
    std::string table = "Bench";      // the table's name (padded to 20 in the files' keys)
    std::size_t preparations = 2000;  // records of the preparation list
    std::size_t linesPerPreparation = 20;
    std::size_t users = 500;           // preparations holding `ingredient`, spread evenly
    std::string ingredient = "Arroz";  // trimmed; stored padded to 60
    unsigned seed = 1;
};

// Writes the preparation list and the preparations' ingredient files of the setup's table
// under the data home `home` (as the register screens would have written them: 56-field
// records, 22-field lines with consistent amounts, totals and per-portion values). Gives
// the ingredient's stored key.
std::string MakePreparationFolder(const std::filesystem::path& home,
                                  const PreparationFolderSetup& setup);

}  // namespace velmaro::bench
