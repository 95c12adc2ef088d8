#pragma once

// The composition tables delivered with the program. At start the program installs each
// one into the data home that never had it; a table the user deleted afterwards is not
// brought back, and a user's table or file of the same name is never touched.

#include <filesystem>
#include <istream>
#include <string>

#include "ingredients/CompositionImport.h"

namespace velmaro {

// The delivered table "TACO": Tabela Brasileira de Composição de Alimentos, 4ª edição,
// NEPA/UNICAMP 2011, consultation only.
inline constexpr const char* kTacoTableName = "TACO";
inline constexpr const char* kTacoDescription =
    "TACO 4ª edição, NEPA/UNICAMP 2011 - Tab. Bras. Comp. Alimentos";
inline constexpr const char* kTacoSource = "TACO 4ª ed. NEPA/UNICAMP 2011";
// Beside the program, in its data folder ("data/" of the project).
inline constexpr const char* kTacoCsv = "taco/taco4_nutrientes_rotulo.csv";
// In the data home's "Dados" folder, written once TACO has been dealt with there.
inline constexpr const char* kTacoMarker = ".instalado-taco";

// The trans fat of the TACO foods (18:1t + 18:2t of TACO's fatty-acid table, made by
// scripts/taco_gordura_trans.py): a CSV in UTF-8 with a header row and the columns
// "alimento" (the food's name as the table stores it) and "gordura_trans_g" ("." as
// decimal sign). TACO has no sugars: they stay unknown.
inline constexpr const char* kTacoTransCsv = "taco/gordura_trans.csv";
// In the data home's "Dados" folder, written once the trans fat has been dealt with there.
inline constexpr const char* kTacoTransMarker = ".instalado-taco-trans";

// The delivered table "IBGE": Tabela de Composição Nutricional dos Alimentos Consumidos no
// Brasil, Pesquisa de Orçamentos Familiares 2008–2009, consultation only. One food a row of
// each food x preparation of the survey (scripts/ibge_composicao.py makes the CSV and
// documents its names), with the IBGE codes in the CSV; its total sugars, added sugars and
// trans fat go to the table's file of values beside the records.
inline constexpr const char* kIbgeTableName = "IBGE";
inline constexpr const char* kIbgeDescription =
    "IBGE POF 2008–2009 - Composição Nutricional dos Alim. Consumidos";
inline constexpr const char* kIbgeSource = "IBGE POF 2008–2009";
inline constexpr const char* kIbgeCsv = "ibge/pof2008_composicao.csv";
inline constexpr const char* kIbgeMarker = ".instalado-ibge";

// The columns of a delivered CSV that hold the values beside the records ("." as decimal
// sign; an empty cell: not known).
inline constexpr const char* kTotalSugarsColumn = "acucares_totais_g";
inline constexpr const char* kAddedSugarsColumn = "acucares_adicionados_g";
inline constexpr const char* kTransFatColumn = "gordura_trans_g";

struct TransInstallResult {
    std::string error;     // empty when all went well; Portuguese, Windows-1252
    int values = 0;        // foods that received their trans fat
    int kept = 0;          // foods that had a trans fat or its source already: left alone
    int unknownFoods = 0;  // foods of the CSV that the table does not hold
    bool Ok() const { return error.empty(); }
};

// Gives each ingredient of `table` that the CSV names (column `foodColumn`) the values of
// the columns above that the CSV has, each with `source`, where the ingredient has neither
// that value nor a source for it yet; an empty cell gives nothing. Everything else in the
// file of the values beside the records stays as it is. Nothing is written when a row is
// refused or that file cannot be read whole. `values` counts the foods that received any.
TransInstallResult InstallExtraValues(const std::filesystem::path& home, std::string_view table,
                                      std::istream& csv, std::string_view foodColumn,
                                      std::string_view source);

// Gives each ingredient of `table` that the CSV names its trans fat, with the TACO source,
// where the ingredient has neither a trans fat value nor a source for it yet; everything
// else in the file of the values beside the records stays as it is. Nothing is written
// when a row is refused or that file cannot be read whole.
TransInstallResult InstallTransFat(const std::filesystem::path& home, std::string_view table,
                                   std::istream& csv);

// How the delivered CSV is read: its columns, codes, group names and name fixes, and
// whether its carbohydrate includes fibre (yes: the import writes it beside the table).
CompositionTableSetup TacoSetup();
CompositionTableSetup IbgeSetup();

// Installs every delivered table that the data home never had (no marker yet): the table
// is imported from `deliveredDir` and the marker written. A table list that already names
// the table, or a table folder that holds other data, is left alone and only marked.
// Then, once per data home as well (a marker of their own, so that a home that got the
// table before the measures were delivered gets them too), the table's household
// measures (SuppliedMeasures.h): into the delivered table only, and only for ingredients
// whose measures file holds no measure yet; and the same way its trans fat
// (InstallTransFat), so that a home that got TACO before it was delivered gets it once;
// and TACO's answer to "carbohydrate includes fibre" where the table has none yet.
// Returns an empty text when all is well, or a message in Portuguese (Windows-1252) when
// a table or its measures could not be installed (that step is not marked then; a later
// start tries again).
std::string InstallSuppliedTables(const std::filesystem::path& deliveredDir,
                                  const std::filesystem::path& home);

}  // namespace velmaro
