#pragma once

// The nutrition label of a preparation: the declaration rules of each nutrient, the
// percentage of the daily reference value (%VD, 2500 kcal diet), the three "|" rows that
// make up a label and the label data file that keeps them (section DadRot, beside the
// sheet setup in section CfgEti).
//
// A label row has eleven positions: 1 is the header, 2 to 11 the nutrients in the order
// energy, carbohydrates, proteins, total fat, saturated fat, cholesterol, fibre, calcium,
// iron, sodium. The amount of position k is field 40 + k of the preparation record.

#include <array>
#include <string>
#include <string_view>

#include "storage/IniFile.h"

namespace velmaro {

inline constexpr std::string_view kLabelDataSection = "DadRot";
inline constexpr std::string_view kLabelSheetSection = "CfgEti";
inline constexpr int kLabelRowSize = 11;

// One position of a label row.
struct LabelRowItem {
    std::string_view code;            // "KAL" ... "SOD"; empty for the header
    std::string_view captionKey;      // key of its caption in section CfgEti
    std::string_view defaultCaption;  // UTF-8 source text (W() gives the bytes)
    long double dailyReference;       // divisor of the %VD; 0 for the header
};
// Positions 1 to 11, at index k - 1.
inline constexpr std::array<LabelRowItem, kLabelRowSize> kLabelRowItems{{
    {"", "DesQuaPor", "Quantidade por porção", 0},
    {"KAL", "DesKAL", "Valor calórico", 2500},
    {"CHO", "DesCHO", "Carboidratos", 375},
    {"PTN", "DesPTN", "Proteínas", 50},
    {"LIP", "DesLIP", "Gorduras totais", 80},
    {"SAT", "DesSAT", "Gorduras saturadas", 25},
    {"COL", "DesCOL", "Colesterol", 300},
    {"FIB", "DesFIB", "Fibra alimentar", 30},
    {"CAL", "DesCAL", "Cálcio", 800},
    {"FER", "DesFER", "Ferro", 14},
    {"SOD", "DesSOD", "Sódio", 2400},
}};
// Position 1 to 11; any other index gives the header.
const LabelRowItem& LabelRowItemAt(int index);
// The default caption of a position, in Windows-1252.
std::string DefaultCaption(int index);

struct DeclaredAmount {
    std::string text;       // as F(d, v) gives it: left-padded to 10 characters, unit after
    long double value = 0;  // the declared number the %VD is computed from
};

// The declared text and number of an amount (a comma-decimal text; anything that is not
// a number counts as 0) for nutrient position 2 to 11. Other positions give an empty
// text and 0.
DeclaredAmount DeclaredValue(int index, std::string_view amountText);
// F(0, declared value x 100 / daily reference) followed by "%".
std::string DailyValuePercent(int index, std::string_view amountText);
// The portion size as a whole number without surrounding spaces ('30,60' gives '31').
std::string PortionSizeText(std::string_view text);

// The eleven captions of section CfgEti (defaults for missing keys), each followed by "|".
std::string CaptionRow(const IniFile& labelFile);
// "Quantidade por porção|" and the declared texts of the record's label amounts, each
// without its leading spaces and followed by "|".
std::string ValueRow(std::string_view record);
// "%VD(*)|" and the %VD texts of the record's label amounts, each followed by "|".
std::string DailyValueRow(std::string_view record);

// The user's choices on the label screen: layout 1 "Modelo Vertical", 2 "Modelo
// Horizontal", 3 "Modelo Linear", 4 "Personalizado" (any other number draws nothing), and
// whether the preparation name is printed above each label.
// What a sheet of model 5 carries: the table with its "ALTO EM" mark beside it, the
// tables alone, or the marks alone (the mark goes on the main panel of the package, the
// table elsewhere). Chosen for each print, never stored.
enum class SheetPart { Both, Tables, Marks };

struct LabelChoice {
    int layout = 1;
    bool withName = false;
    SheetPart part = SheetPart::Both;  // model 5 only
};

// Models 1 to 4 follow labelling rules that were revoked: shown beside them on the label
// screen and told by the command line when one of them is asked for (Windows-1252).
std::string RevokedLayoutsNotice();
// The warning of a label of models 1 to 4 whose values all come out as 0 because the
// preparation has no yield (the words model 5 uses for a missing yield); empty otherwise.
// Windows-1252.
std::string NoYieldWarning(std::string_view record);

// TipRot (default 1) and ImpNomPre (default off) of section DadRot.
LabelChoice LoadLabelChoice(const IniFile& labelFile);

// Writes section DadRot from the preparation record just stored by the register: the
// name (trailing spaces removed), QuaPag 1, QuaEti 0, the portion size, the caption,
// value and daily-value rows, the layout and the name option. A record that is empty or
// all spaces writes nothing. Throws StorageError when the file cannot be written.
void SaveLabelData(IniFile& labelFile, std::string_view preparationName, std::string_view record,
                   const LabelChoice& choice);

}  // namespace velmaro
