#pragma once

// Taking the sugars and trans fat of an ingredient of the user's from a food of another
// composition table (IBGE's above all): the ingredient register does it for one
// ingredient, "velmaro-cli tabela acucares" for a list of them. Only the three values
// beside the record and their sources change.

#include <string>
#include <string_view>

#include "ingredients/ExtraValues.h"

namespace velmaro {

struct ExtraValuesTaken {
    ExtraValues values;  // the ingredient's values after the transfer
    int taken = 0;       // how many of the three came from the food
};

// The values of `ingredient` with those of `food` put in: each value the food knows goes
// where the ingredient has none (or over it, with `replace`); a value the food does not
// know never takes one away. Each value taken gets the source "<the food's source of
// it>: <foodName>" ("IBGE POF 2008–2009: Açúcar"), or "<tableName>: <foodName>" when
// the food's value has no source. Texts are Windows-1252; names may be padded.
ExtraValuesTaken TakeExtraValues(const ExtraValues& ingredient, const ExtraValues& food,
                                 std::string_view foodName, std::string_view tableName,
                                 bool replace);

// Whether any of the three values of the ingredient is not known (a value to take).
bool LacksExtraValues(const ExtraValues& values);

}  // namespace velmaro
