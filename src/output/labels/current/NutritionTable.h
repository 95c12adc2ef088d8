#pragma once

// The nutrition table of the current Brazilian rules (label model 5): from the amounts of
// a preparation to the texts of the table, and those texts kept in the label data file.
// Drawing them is NutritionTableLayout.
//
// Unknown is not zero: an amount that misses the value of some ingredient is incomplete,
// its cells say "?" and the table as a whole is marked incomplete; an "ALTO EM" limit
// on an incomplete amount is inconclusive, never "below".

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/labels/current/Rdc429Rules.h"
#include "storage/IniFile.h"

namespace velmaro {

inline constexpr int kNutritionTableModel = 5;

// The amount of one row in the whole recipe, as the sum of what is known, and the
// ingredients (names without trailing spaces) whose value for it is not known.
struct RecipeAmount {
    long double known = 0;
    std::vector<std::string> missingIn;
    bool Complete() const { return missingIn.empty(); }
};

// What the table is composed from.
struct NutritionTableInput {
    std::array<RecipeAmount, rdc429::kRowCount> amounts;  // in the table's row order
    long double yield = 0;                                // g, or ml for a liquid (field 2)
    long double portion = 0;                              // label portion weight (field 41)
    bool liquid = false;                                  // field 55 says "ml"
    std::string measure;                    // household measure of the portion (field 56)
    std::optional<long double> netContent;  // net content of the package, g or ml
};

struct NutritionTableRow {
    std::string per100;      // declared value per 100 g (ml), or "?"
    std::string perPortion;  // declared value per portion, or "?"
    std::string dailyValue;  // %VD of the portion, empty for total sugars, "?" when unknown
};

// The composed table: every text in Windows-1252.
struct NutritionTable {
    std::string rules;        // the name of the rules it was composed under
    std::string servings;     // "4", "cerca de 3"; empty: the line is left out
    std::string portion;      // "30 g (1 fatia)"
    std::string per100Head;   // "100 g" / "100 ml"
    std::string portionHead;  // "30 g" / "200 ml"
    std::array<NutritionTableRow, rdc429::kRowCount> rows;
    std::vector<std::string> highIn;              // words of the limits reached, in mark order
    std::vector<std::string> highInInconclusive;  // words of the limits that cannot be judged
    bool incomplete = false;
    // The item of the list of foods whose front-of-pack labelling is forbidden that the
    // user marked (key SemFro, kept apart from the composition); 0: none. Such a table
    // has no mark, whatever its limits.
    int frontOfPackForbidden = 0;
    // What is missing, for the warning: one text per incomplete row, "Caption: ingredient,
    // ingredient"; a missing yield or portion is said too.
    std::vector<std::string> missing;
};

// The declared text of an amount of a row ("0", "12", "2,5", "0,35") and the number it
// stands for: "0" at or below the row's threshold, otherwise rounded half up to a whole
// number from 10 on, to one decimal from 1, below 1 to one decimal (two for mg); a
// decimal part of zero is not written.
struct Rdc429Declared {
    std::string text;
    long double value = 0;
};
Rdc429Declared DeclareRdc429(int row, long double amount);
// The %VD of a declared per-portion value: value / daily value x 100, rounded half up to
// a whole number; empty for a row without a daily value.
std::string DailyValueRdc429(int row, long double declaredPerPortion);
// "Porções por embalagem": content / portion, the whole number when it is whole, else
// "cerca de N" (N half up, at least 1); empty when either is not above 0.
std::string ServingsPerPackage(long double content, long double portion);

// The caption of a row (Windows-1252), without indentation.
std::string NutritionRowCaption(int row);

NutritionTable ComposeNutritionTable(const NutritionTableInput& input);

// The warning shown before an incomplete table; empty for a complete one.
std::string NutritionTableWarning(const NutritionTable& table);

// The lines of `velmaro-cli rotulo --modelo 5 --dados` (Windows-1252, no line ends).
std::vector<std::string> NutritionTableDataLines(const NutritionTable& table);

// The composed table in section DadRot of the label data file (keys RegRot, PorEmb,
// PorRot, CabTab, TabNut, AltEm, AltEmInc, IncRot), and read back for drawing.
void SaveNutritionTable(IniFile& labelFile, const NutritionTable& table);
NutritionTable LoadNutritionTable(const IniFile& labelFile);

// The net content of the package kept with the label data (key ConLiq): the text as typed
// (mask "999999"), blank when none was typed.
std::string LoadNetContent(const IniFile& labelFile);
void SaveNetContent(IniFile& labelFile, std::string_view text);

}  // namespace velmaro
