#pragma once

// The values per 100 g that the 30-field ingredient record has no field for: total
// sugars, added sugars and trans fat, each with the source it was taken from. They live
// in a file of their own beside each composition table's ingredient file
// ("Ingrediente\ArqIngCpl.dad"), one plain line per ingredient that has any of them:
//
//     name (60, padded)|açúcares totais|açúcares adicionados|gorduras trans|
//     fonte açúcares totais|fonte açúcares adicionados|fonte gorduras trans|
//
// The values are texts of the mask "9999,99" as in the ingredient record. Blank means
// "not known" (never zero), and an ingredient without a line has all three unknown, so
// a data home made before the file existed reads as all unknown. Whenever the
// ingredient file changes, this file is written in the same FileBatch.

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/LineTable.h"

namespace velmaro {

inline constexpr const char* kExtraValuesFileName = "ArqIngCpl.dad";

// The three values, in the order of the file's fields and of every row that shows them.
enum class ExtraValue { TotalSugars = 0, AddedSugars = 1, TransFat = 2 };
inline constexpr std::size_t kExtraValueCount = 3;
inline constexpr int kExtraFieldCount = 7;  // the name, the values, their sources
// The mask of each value (that of carbohydrate).
inline constexpr std::string_view kExtraValueMask = "9999,99;1;_";

// The values and sources of one ingredient.
struct ExtraValues {
    // Mask texts ("   1,50"); blank ("    ,  ") or empty: not known.
    std::array<std::string, kExtraValueCount> values;
    std::array<std::string, kExtraValueCount> sources;

    const std::string& Text(ExtraValue v) const { return values[static_cast<std::size_t>(v)]; }
    const std::string& Source(ExtraValue v) const { return sources[static_cast<std::size_t>(v)]; }
    // The amount per 100 g, or nothing when it is not known.
    std::optional<long double> Value(ExtraValue v) const;
    bool Known(ExtraValue v) const { return Value(v).has_value(); }
    // No value known and no source written: such an ingredient needs no line.
    bool Empty() const;

    bool operator==(const ExtraValues&) const = default;
};

// The file of a table: "Dados\" T "Ingrediente\ArqIngCpl.dad". The Location form creates
// nothing (a home made before the file existed has none, and must stay as it is when it is
// only read).
std::filesystem::path ExtraValuesFileLocation(const std::filesystem::path& home,
                                              std::string_view table);

// The key under which an ingredient's values are kept: its name padded to 60 characters
// (a trimmed name, or one padded to another width, finds the same line).
std::string ExtraValuesKey(std::string_view ingredientName);

// What a reader found in the file that it could not use: the line number (1-based) and
// what was wrong, in Portuguese (Windows-1252).
struct ExtraValuesProblem {
    int line = 0;
    std::string what;
};

// The extra values of one composition table, as a line table of the records above
// (sorted, case-insensitive keys as every line table).
class ExtraValuesTable {
  public:
    // The values of an ingredient; all unknown when it has no line.
    ExtraValues Find(std::string_view ingredientName) const;
    bool Has(std::string_view ingredientName) const;
    // Stores the values of an ingredient (an empty set removes its line).
    void Set(std::string_view ingredientName, const ExtraValues& values);
    void Remove(std::string_view ingredientName);
    // Moves the line of `oldName` to `newName` (nothing when it has none).
    void Rename(std::string_view oldName, std::string_view newName);

    int Count() const { return m_table.lines.Count(); }
    // The names that have a line, in sort order, as stored (60 characters).
    std::vector<std::string> Names() const;
    // Lines the reader could not use (fewer fields than the format, no name, a name
    // twice); they are kept out of the table.
    const std::vector<ExtraValuesProblem>& Problems() const { return m_problems; }
    // "O arquivo <path> está danificado (linha N): <what>." for the first problem
    // (UTF-8); empty when the file read clean.
    std::string DamageMessage(const std::filesystem::path& path) const;

    // The whole file: the lines in sort order, each followed by CR LF.
    std::string Bytes() const;

    // The reading itself (LoadExtraValues* below).
    static ExtraValuesTable FromBytes(std::string_view bytes);

  private:
    LineTable m_table;
    std::vector<ExtraValuesProblem> m_problems;
};

// The file of a table as it stands; no file is an empty table (and none is created).
// Throws StorageError when the file exists but cannot be read.
ExtraValuesTable LoadExtraValues(const std::filesystem::path& home, std::string_view table);
ExtraValuesTable LoadExtraValuesFile(const std::filesystem::path& path);

// Values that cannot be right. Errors: a value that is not a number, a negative one, more
// than 100 g per 100 g. Warnings (the user may confirm them on the screen; the import takes
// them only when forced): added sugars above total sugars, total sugars above the
// carbohydrate, saturated and trans fat together above the total fat.
inline constexpr long double kMostPer100Grams = 100.0L;
struct ExtraValueFinding {
    bool error = false;
    ExtraValue value = ExtraValue::TotalSugars;  // the value it is about (its field)
    std::string text;  // Portuguese (UTF-8): "o valor de ... é negativo."
};
// `carbohydrate`, `totalFat`, `saturatedFat`: the ingredient's values per 100 g (nothing
// when not known). Errors first, in the order of the values.
std::vector<ExtraValueFinding> CheckExtraValues(const ExtraValues& values,
                                                std::optional<long double> carbohydrate,
                                                std::optional<long double> totalFat,
                                                std::optional<long double> saturatedFat);
// The same against the values of a 30-field ingredient record.
std::vector<ExtraValueFinding> CheckExtraValuesOf(const ExtraValues& values,
                                                  std::string_view ingredientRecord);

// The record of one ingredient (for writers that compose the file line by line) and its
// parse; a line of fewer than seven fields gives nothing.
std::string ExtraValuesRecord(std::string_view ingredientName, const ExtraValues& values);
std::optional<ExtraValues> ParseExtraValuesRecord(std::string_view line);

}  // namespace velmaro
