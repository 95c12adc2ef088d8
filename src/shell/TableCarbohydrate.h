#pragma once

// Whether the carbohydrate of a composition table includes dietary fibre. A table whose
// carbohydrate is a total by difference (100 - moisture - protein - fat - ash, as TACO
// gives it) holds the fibre inside it; the available carbohydrate of the current label
// rules is then carbohydrate - fibre. Tables differ, so each one says which it is.
//
// The answer lives in a small file of its own in the table's folder, so that it follows
// the folder and leaves the table list and the ingredient records as they were:
//
//     Dados\<tabela>\Carboidrato.ini
//     [Tabela]
//     CarboidratoIncluiFibra=1      ("1" sim, "0" não)
//
// No file means "não": a table of the user's starts so, and a data home made before the
// file existed reads as it always did. A supplied table gets its file from its
// definition when it is installed (CompositionTableSetup::carbohydrateIncludesFibre).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace velmaro {

inline constexpr const char* kCarbohydrateFibreFileName = "Carboidrato.ini";

// The file of a table; nothing is created.
std::filesystem::path CarbohydrateFibreFileLocation(const std::filesystem::path& home,
                                                    std::string_view table);

// What the file of the table says; nothing when the table has no file. A file that did
// not read whole, or whose value is neither "0" nor "1", is refused (StorageError; a
// DamagedFileError for the first), never taken for "não".
std::optional<bool> StoredCarbohydrateIncludesFibre(const std::filesystem::path& home,
                                                    std::string_view table);

// The one answer every part of the program asks: the stored choice, "não" without one.
// Throws StorageError as StoredCarbohydrateIncludesFibre.
bool CarbohydrateIncludesFibre(const std::filesystem::path& home, std::string_view table);

// The whole content of the file for a choice, and the write of it (atomic; the table's
// folder is created when missing). The write throws StorageError, leaving the file as it
// was.
std::string CarbohydrateFibreFileBytes(bool includesFibre);
void StoreCarbohydrateIncludesFibre(const std::filesystem::path& home, std::string_view table,
                                    bool includesFibre);

// The carbohydrate of an ingredient (its "9999,99" text, per 100 g) as the other kind of
// table records it: without the fibre when `fromIncludesFibre` (carbohydrate - fibre,
// never below 0), with it otherwise (carbohydrate + fibre). Blank when the carbohydrate
// or the fibre is not known: an unknown fibre leaves the other carbohydrate unknown.
std::string ConvertedCarbohydrate(std::string_view carbohydrate, std::string_view fibre,
                                  bool fromIncludesFibre);

}  // namespace velmaro
