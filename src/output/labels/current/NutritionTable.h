#pragma once

// The nutrition table of the current Brazilian rules (label model 5): from the amounts of
// a preparation to the texts of the table, and those texts kept in the label data file.
// Drawing them is NutritionTableLayout.
//
// Unknown is not zero: an amount that misses the value of some ingredient is incomplete,
// its cells say "?" and the table as a whole is marked incomplete; so is a "0" whose
// condition depends on an unknown value. An "ALTO EM" limit is reached when the known part
// of the amount reaches it (what is unknown can only add to it); one not reached on an
// incomplete amount is inconclusive, never "below".

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
    // In the table's row order. Energy is not taken from here: it is computed from the
    // declared carbohydrates, proteins and total fat.
    std::array<RecipeAmount, rdc429::kRowCount> amounts;
    long double yield = 0;                  // g, or ml for a liquid (field 2)
    long double portion = 0;                // label portion weight (field 41)
    bool liquid = false;                    // field 55 says "ml"
    std::string measure;                    // household measure of the portion (field 56)
    std::optional<long double> netContent;  // net content of the package, g or ml
    // The reference portion of the food in IN 75 Anexo V when the preparation was labelled
    // under one; whether the package is an individual one is judged on it when set, on the
    // label portion otherwise.
    std::optional<long double> referencePortion;
};

struct NutritionTableRow {
    std::string per100;      // declared value per 100 g (ml), or "?"
    std::string perPortion;  // declared value per portion, or "?"
    std::string dailyValue;  // %VD of the portion, empty for total sugars, "?" when unknown
};

// The composed table: every text in Windows-1252.
struct NutritionTable {
    std::string rules;               // the name of the rules it was composed under
    int rulesVersion = 0;            // rdc429::kRulesVersion when composed under these rules
    std::string servings;            // "4", "Cerca de 3"; empty: the line is left out
    std::string portion;             // "30 g (1 fatia)", "45 g (1 embalagem)"
    bool individualPackage = false;  // the portion is the whole content (not stored)
    std::string per100Head;          // "100 g" / "100 ml"
    std::string portionHead;         // "30 g" / "200 ml"
    std::array<NutritionTableRow, rdc429::kRowCount> rows;
    // Words of the limits reached (by the known part of the amount), in mark order.
    std::vector<std::string> highIn;
    // Words of the limits not reached by the known part, on an incomplete amount.
    std::vector<std::string> highInInconclusive;
    bool incomplete = false;
    // The item of the list of foods whose front-of-pack labelling is forbidden that the
    // user marked (key SemFro, kept apart from the composition); 0: none. Such a table
    // has no mark, whatever its limits.
    int frontOfPackForbidden = 0;
    // What is missing, for the warning: one text per row with "?" cells, "Caption:
    // ingredient, ingredient" (the ingredients whose unknown values make them "?", those
    // of the rows it depends on included); a missing yield or portion is said too, and a
    // stored table of earlier rules.
    std::vector<std::string> missing;
};

// An amount of a row rounded as IN 75 Anexo III says ("12", "2,5", "2", "0,4", "0,35",
// "0,8") and the number it stands for: a whole number from 10 on (energy always), one
// decimal from 1 (a decimal of 0 not written), below 1 one decimal for grams, two for
// milligrams (one when the second is 0); halves up. Whether the amount is declared "0"
// instead (not significant) is a question of the whole table: ComposeNutritionTable.
struct Rdc429Declared {
    std::string text;
    long double value = 0;
};
Rdc429Declared RoundRdc429(int row, long double amount);
// The %VD of a declared per-portion value: value / daily value x 100, rounded half up to
// a whole number; empty for a row without a daily value.
std::string DailyValueRdc429(int row, long double declaredPerPortion);
// "Porções por embalagem": content / portion, the whole number when it is whole, else
// "Cerca de N" (N by the first decimal: below 5 kept, 5 or more one up; at least 1); empty
// when either is not above 0. (An individual package has no such line: the composition
// leaves it out.)
std::string ServingsPerPackage(long double content, long double portion);

// The caption of a row (Windows-1252), without indentation.
std::string NutritionRowCaption(int row);

NutritionTable ComposeNutritionTable(const NutritionTableInput& input);

// The warning shown before an incomplete table; empty for a complete one.
std::string NutritionTableWarning(const NutritionTable& table);

// The lines of `velmaro-cli rotulo --modelo 5 --dados` (Windows-1252, no line ends).
std::vector<std::string> NutritionTableDataLines(const NutritionTable& table);

// The composed table in section DadRot of the label data file (keys RegRot, VerReg,
// PorEmb, PorRot, CabTab, TabNut, AltEm, AltEmInc, IncRot), and read back for drawing. A
// table read back that was composed under other rules (VerReg not this kRulesVersion, or
// none) is incomplete, with a line in `missing` that says so: it is composed again, never
// put on a package as it stands.
void SaveNutritionTable(IniFile& labelFile, const NutritionTable& table);
NutritionTable LoadNutritionTable(const IniFile& labelFile);

// The net content of the package kept with the label data (key ConLiq): the text as typed
// (mask "999999"), blank when none was typed.
std::string LoadNetContent(const IniFile& labelFile);
void SaveNetContent(IniFile& labelFile, std::string_view text);

}  // namespace velmaro
