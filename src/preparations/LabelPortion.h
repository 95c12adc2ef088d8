#pragma once

// What a preparation's label portion carries besides its record's fields: the food of the
// reference list it was labelled under (its table, portion and unit as the list gave them),
// or how a portion not taken from the list was obtained; and the household measure the
// helper writes the portion in, with the weight of one measure as typed, so that a later
// change of the portion rewrites the measure's text. Kept in the preparation's label data
// file, section PorRot (keys AliRef, TabRef, PorRef, UniRef, OriPor, MedCas, PesMed), which
// follows the preparation when it is renamed and goes with it when it is deleted.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/IniFile.h"

namespace velmaro {

inline constexpr std::string_view kLabelPortionSection = "PorRot";

// Every text in Windows-1252, without the spaces around it.
struct LabelPortionData {
    std::string food;     // the food of the reference list; empty: none chosen
    std::string table;    // its reference table (food group)
    std::string value;    // its reference portion as the list gives it ("60", or a text)
    std::string unit;     // "g" or "ml"; empty for a portion given as a text
    std::string origin;   // how a portion not from the list was obtained; empty: none
    std::string measure;  // the helper's household measure ("fatia", "colher de sopa")
    std::string weight;   // the weight (g or ml) of one measure as typed ("    10,0")
    bool operator==(const LabelPortionData&) const = default;
    bool Empty() const { return *this == LabelPortionData{}; }
};

LabelPortionData LoadLabelPortion(const IniFile& labelFile);
// Writes every key of the section (an empty value for what is not there).
void SaveLabelPortion(IniFile& labelFile, const LabelPortionData& data);

// The reference portion when the list gave it as a number (with a unit).
std::optional<long double> NumericReferencePortion(const LabelPortionData& data);

// The household measures the helper offers: the utensils of IN 75 Anexo VII, then the unit
// words of RDC 429 art. 11 (Windows-1252, singular).
const std::vector<std::string>& HouseholdMeasureWords();
// The capacity of an Anexo VII utensil in ml ("copo": 200), when the word names one.
std::optional<int> UtensilCapacity(std::string_view measure);

// The plural of a household measure ("colher de sopa" -> "colheres de sopa", "fração" ->
// "frações", "prato raso" -> "pratos rasos"), Windows-1252.
std::string MeasurePlural(std::string_view measure);

// The household measure of `portion` in measures of `weightOfOne` (both g or ml): the
// amount portion / weightOfOne written as a whole number, or a whole number and an
// irreducible fraction of halves, thirds or quarters, the nearest (at a tie the larger),
// then the measure, in the plural from 2 on: "1 fatia", "1/2 xícara", "1 1/2 colher de
// sopa", "6 unidades". Nothing when the amount comes to 0 (less than 1/8 of a measure) or a
// number is not above 0.
std::optional<std::string> HouseholdMeasureText(long double portion, long double weightOfOne,
                                                std::string_view measure);

// The measure the reference list suggests ("Fatia ou fração", "Colheres de sopa") as one of
// HouseholdMeasureWords(), when its first choice names one.
std::string SuggestedMeasureWord(std::string_view suggestion);

}  // namespace velmaro
