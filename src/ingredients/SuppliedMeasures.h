#pragma once

// The household measures delivered with the TACO table: weights of spoons, ladles, units
// and the like that IBGE's household budget survey (POF 2008-2009) measured for the
// foods, chosen for each TACO food by scripts/taco_medidas.py. They become the measures
// files of the TACO table, once per data home, beside the table itself.

#include <filesystem>
#include <istream>
#include <string>
#include <string_view>

namespace velmaro {

// Beside the program, in its data folder ("data/" of the project): a CSV in UTF-8 with
// a header row and the columns "alimento" (the food's name as the TACO table stores it),
// "medida" (the measure's name) and "gramas" (the weight of one measure, "." or ","
// as decimal sign); other columns are not read.
inline constexpr const char* kTacoMeasuresCsv = "taco/medidas.csv";
// In the data home's "Dados" folder, written once the measures have been dealt with there.
inline constexpr const char* kTacoMeasuresMarker = ".instalado-taco-medidas";

struct MeasureInstallResult {
    std::string error;     // empty when all went well; Portuguese, Windows-1252
    int files = 0;         // measures files written
    int measures = 0;      // records in them
    int keptFiles = 0;     // measures files that already held measures, left as they were
    int unknownFoods = 0;  // foods of the CSV that the table does not hold
    bool Ok() const { return error.empty(); }
};

// Writes the measures file (`MeasureFilePath`) of each ingredient of `table` that the CSV
// gives measures for: one record per measure, the name padded to 20 and the weight in
// the "999999,9" form, sorted as a line table sorts them. The ingredient is looked up in
// the table's ingredient file and its stored name names the file. A measures file that
// already holds a measure is the user's and is left alone; an empty one is filled. A
// measures file (or the ingredient file) that does not read whole and clean (FileDamage.h)
// stops the install: nothing is written and the error names the file and its line.
//
// Every row is checked first, and nothing is written when one is refused: a measure name
// blank, over 20 characters or with a character that names cannot hold, a name repeated
// within a food (case not counted), a weight that is not a number above 0 or does not
// fit "999999,9". All files are replaced in one go; a failure leaves each file whole.
MeasureInstallResult InstallMeasures(const std::filesystem::path& home, std::string_view table,
                                     std::istream& csv);

}  // namespace velmaro
