#pragma once

// The columns of a composition spreadsheet by their Portuguese names: which field of the
// ingredient record a column header names ("Energia (kcal)", "proteína", "Gordura total",
// "Fonte cálcio", "data_cotacao" ...), and the header the export writes, which the import
// reads back.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

// The values kept beside the ingredient record (ExtraValues.h) count as fields after its
// 30: 31 açúcares totais, 32 açúcares adicionados, 33 gordura trans (mask "9999,99"), and
// 34 to 36 the source of each.
inline constexpr int kFirstExtraField = 31;
inline constexpr int kFirstExtraSourceField = 34;
inline constexpr int kLastExtraField = 36;
constexpr bool IsExtraField(int field) {
    return field >= kFirstExtraField && field <= kLastExtraField;
}

// What a recognised column holds: a field of the ingredient record (1 to 30, 12 never) or
// of the values beside it (31 to 36), or the one source text of every value present in
// the row.
struct RecognisedColumn {
    int field = 0;               // 0: not a column of the record
    bool generalSource = false;  // "fonte": the source of every value present
};

// The column a header names. Case, accents, units in parentheses or after the name
// ("kcal", "g", "mg", "R$/kg") and the separators "_", "-", "/" are ignored, and the dots
// of abbreviations ("F.C.C." is "fcc"). Headers are UTF-8.
RecognisedColumn RecogniseColumn(std::string_view utf8Header);

// A header as RecogniseColumn compares it: its words folded (no case, no accents), the
// parenthesised parts, the dots and the units at its end dropped, joined by one space
// ("Peso médio (g)" is "peso medio"). Headers are UTF-8.
std::string FoldedHeader(std::string_view utf8Header);

// The header names the export writes, one per exported field, in this order: name,
// group, energy to sodium, F.C., F.C.C., cost, quotation date, the thirteen sources, then
// the values kept beside the record and their sources (UTF-8).
struct ExportColumn {
    int field;
    std::string_view header;
};
inline constexpr std::array<ExportColumn, 35> kExportColumns = {{
    {1, "nome"},
    {13, "grupo"},
    {2, "energia (kcal)"},
    {3, "carboidrato (g)"},
    {4, "proteína (g)"},
    {5, "lipídeos (g)"},
    {6, "saturada (g)"},
    {7, "colesterol (mg)"},
    {8, "fibra (g)"},
    {9, "cálcio (mg)"},
    {10, "ferro (mg)"},
    {11, "sódio (mg)"},
    {14, "fc"},
    {15, "fcc"},
    {16, "custo (R$/kg)"},
    {17, "data cotação"},
    {18, "fonte energia"},
    {19, "fonte carboidrato"},
    {20, "fonte proteína"},
    {21, "fonte lipídeos"},
    {22, "fonte saturada"},
    {23, "fonte colesterol"},
    {24, "fonte fibra"},
    {25, "fonte cálcio"},
    {26, "fonte ferro"},
    {27, "fonte sódio"},
    {28, "fonte fc"},
    {29, "fonte fcc"},
    {30, "fonte custo"},
    {31, "açúcares totais (g)"},
    {32, "açúcares adicionados (g)"},
    {33, "gordura trans (g)"},
    {34, "fonte açúcares totais"},
    {35, "fonte açúcares adicionados"},
    {36, "fonte gordura trans"},
}};

// The column that says, for the whole table, whether its carbohydrate includes dietary
// fibre (CompositionImport.h): its header as the export writes it, and whether a header
// names it ("Carboidrato inclui fibra", "carboidrato_inclui_fibra_alimentar"; UTF-8).
inline constexpr std::string_view kCarbohydrateFibreHeader = "carboidrato inclui fibra";
bool IsCarbohydrateFibreColumn(std::string_view utf8Header);
// A cell of that column: true for "sim", "s", "1"; false for "não", "nao", "n", "0";
// nothing for anything else. Case and accents do not count (UTF-8).
std::optional<bool> CarbohydrateFibreAnswer(std::string_view utf8Cell);
// The columns the import recognises, as a reader is told them: every field that has a
// name of its own in the import (name, group, the values, factors, cost, quotation date
// and the values kept beside the record), by the header the export writes for it, in that
// order; then the source columns of those that have one. UTF-8.
struct RecognisedColumnNames {
    std::vector<std::string_view> values;
    std::vector<std::string_view> sources;
};
RecognisedColumnNames RecognisedColumnsByName();

// How a field is named in messages ("Calorias (KCal)", "F.C", "Data cotação"), as the
// ingredient screen labels it; Windows-1252.
std::string FieldCaption(int field);

}  // namespace velmaro
