#pragma once

// The reference portion of a label: the line the label screen shows for the food of the
// reference list a preparation was labelled under, the warning when the label's portion
// is not that portion, and the portion of a food the list does not name, from the mean
// energy of its group (RDC 429 art. 9 VIII-IX).

#include <optional>
#include <string>
#include <string_view>

#include "preparations/LabelPortion.h"

namespace velmaro {

// "Porção de referência: Bolos, todos os tipos sem recheio — 60 g (IN 75, Anexo V, Grupo I)";
// for a table that is not one of the annex's groups, the table's name in the parentheses;
// for a portion obtained otherwise, how it was; empty when the preparation has neither.
// Windows-1252.
std::string ReferencePortionLine(const LabelPortionData& data);

// "A porção do rótulo (50 g) difere da porção de referência (60 g)." when the label portion
// (`weight` and `unit` as the record holds them; a blank unit is g) is not the reference
// portion, or none of the portions a text such as "60 g ou 130 ml" gives; empty when it is,
// or when the reference portion cannot be compared. Windows-1252.
std::string PortionDifferenceWarning(const LabelPortionData& data, std::string_view weight,
                                     std::string_view unit);

// The portion from a group's mean energy: kcal / (kcal of a gram), rounded half up to a
// whole gram.
struct GroupEnergyPortion {
    int grams = 0;
    std::string explanation;  // how it was obtained (Windows-1252)
    std::string refusal;      // why there is none (Windows-1252); empty when there is
};
// `group`: index of rdc429::kPortionGroups.
GroupEnergyPortion PortionFromGroupEnergy(size_t group, std::optional<long double> kcalPerGram);

}  // namespace velmaro
