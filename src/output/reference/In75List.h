#pragma once

// The reference portions delivered with the program: IN 75/2020 Anexo V (ANVISA), 138 foods
// in 8 groups, installed into a data home's "ValRef.dad" and "TabValRef.dad" once, when the
// home has no reference list of its own.
//
// The records: food as printed in the annex (one name without the ":" that names of the
// list cannot hold); reference value as printed ("60", or a text
// such as "Quantidade suficiente para preparar 200 ml" or "60 g ou 130 ml", kept word for
// word); unit "g" or "ml" (empty for a text); the household measure the annex suggests
// ("Fatia ou fração"); no average weight (the annex gives none); no label presentation
// (the preparation's measure helper writes it); the table: the group's name below.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace velmaro {

// Beside the program, in its data folder ("data/" of the project): the annex as transcribed,
// ";"-separated UTF-8 with the columns grupo, alimento, porcao, unidade, medida_caseira.
inline constexpr const char* kIn75Csv = "in75/anexo_v.csv";
// In the data home's "Dados" folder, written once the delivered list has been dealt with.
inline constexpr const char* kIn75Marker = ".instalado-valores-referencia";

// The names of the annex's groups as reference tables (within the 76 characters of the
// field), in the order of rdc429::kPortionGroups; UTF-8 source text.
inline constexpr std::array<std::string_view, 8> kIn75GroupNames = {
    "I – Panificação, cereais, leguminosas, raízes, tubérculos e derivados",
    "II – Verduras, hortaliças e conservas vegetais",
    "III – Frutas, sucos, néctares e refrescos de frutas",
    "IV – Leites e derivados",
    "V – Carnes e ovos",
    "VI – Óleos, gorduras e sementes oleaginosas",
    "VII – Açúcares e produtos com energia de carboidratos e gorduras",
    "VIII – Molhos, temperos, caldos, sopas, pratos prontos e bebidas alcoólicas",
};

// The group (index of rdc429::kPortionGroups) of a reference table name as stored
// (Windows-1252, padding ignored), when it is one of the annex's.
std::optional<size_t> In75GroupOfTable(std::string_view table);
// The group of a numeral "I" … "VIII" (case ignored).
std::optional<size_t> In75GroupOfNumeral(std::string_view numeral);

// Installs the delivered list when the data home never dealt with it (no marker): when its
// "ValRef.dad" is missing or holds no line, the annex goes in (the table names already in
// "TabValRef.dad" stay beside the annex's groups); a list the user has is left as it is.
// Either way the marker is written. Returns an empty text when all is well or nothing was
// delivered, or a message in Portuguese (Windows-1252); the marker is not written then.
std::string InstallReferenceList(const std::filesystem::path& deliveredDir,
                                 const std::filesystem::path& home);

// Whether InstallReferenceList has anything to do in the home (no marker yet).
bool ReferenceListPending(const std::filesystem::path& home);

}  // namespace velmaro
