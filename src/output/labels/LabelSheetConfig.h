#pragma once

// The label sheet setup of one preparation, as its setup screen shows and stores it:
// printer resolution, labels across and down, label size, margins and gaps in
// millimetres, the share of the label the panel uses, and the eleven label captions, all
// kept as field texts in section CfgEti of the label data file.
//
// The label drawing reads the same keys with its own defaults for absent geometry (see
// LabelLayouts.h); the defaults here are what the screen proposes.

#include <array>
#include <string>
#include <string_view>

#include "storage/IniFile.h"

namespace velmaro {

enum class SheetFieldKind {
    Resolution,   // whole number, aligned when loaded
    Count,        // whole number, aligned when loaded and when left
    Millimetres,  // decimal number, checked when left
    Percent,      // whole number, aligned when loaded and when left
    Caption,      // free text, shown as read
};

struct SheetField {
    std::string key;      // key in section CfgEti
    std::string control;  // the entry field of the setup screen
    std::string mask;     // its edit mask
    int width;            // characters of the field
    SheetFieldKind kind;
    std::string defaultText;  // Windows-1252
};

inline constexpr int kSheetFieldCount = 22;
// In the order the fields are stored: ResImp, QuaEtiLin, QuaEtiCol, LarEti, AltEti,
// MarEsq, MarSup, DisHorEti, DisVerEti, ComUti, AltUti, then the eleven captions DesQuaPor
// to DesSOD (those of the label rows, with their default captions).
const std::array<SheetField, kSheetFieldCount>& SheetFields();

using SheetTexts = std::array<std::string, kSheetFieldCount>;

// Each field's text as the screen shows it: the stored text, or the default for a key the
// file does not hold; numbers right-aligned in their width (AlignDecimalText). A number
// stored blank stays blank (the full width of spaces): the drawing reads it as absent,
// and showing it as "0" would turn it into 0 on the next save.
SheetTexts LoadSheetTexts(const IniFile& labelFile);
// Writes every text to its key, in the order of kSheetFields. Throws StorageError when
// the file cannot be written.
void SaveSheetTexts(IniFile& labelFile, const SheetTexts& texts);

// The check of a millimetre field when it is left: the text is a decimal number with ","
// or "." as decimal sign (an empty text is not one).
bool IsValidMillimetreText(std::string_view text);
// While typing in a millimetre field a "." becomes ",". (A count or percent field that is
// left takes WholeNumberFieldExit of its text.)
char MillimetreKeyPress(char key);

}  // namespace velmaro
