#pragma once

// The numbers and lists of the front-of-pack "ALTO EM" mark of IN 75/2020 and RDC 429/2020:
// its geometry (Anexo XVIII), the foods that may not carry it (Anexo XVI) and the package
// size under which it is optional (RDC 429, art. 18, § 3º). A correction of the rules is a
// change of one line here; the limits themselves are in Rdc429Rules.h.
//
// Words are UTF-8 source text; W() gives their Windows-1252 bytes.

#include <array>
#include <string_view>

namespace velmaro::frontofpack {

// The geometry is set in two measures of the mark's own font: Y, the height of the "A" of
// "ALTO EM", and Z, the width of the "I" of "SÓDIO".
inline constexpr std::string_view kFontFamily = "Arial Narrow";  // bold capitals
// The size of the mark's font: 9 pt is the most a panel of 35 to 100 cm² may have and the
// least a larger one may have.
inline constexpr long double kFontPoints = 9;

inline constexpr long double kBorderZ = 1;        // the outer border, rounded
inline constexpr long double kMarginZ = 2;        // inside the border
inline constexpr long double kBlockGapZ = 2;      // between the blocks
inline constexpr long double kModuleHeightY = 3;  // the title and each nutrient
inline constexpr long double kModuleWidthY = 8;
inline constexpr long double kTitleRightZ = 2;  // "ALTO EM" ends this far from its block's right
// The magnifying glass, left in the "ALTO EM" block and this far from its edge, its axis
// tilted from the vertical, the ring on top and the handle down to the left.
inline constexpr long double kGlassLeftZ = 1;
inline constexpr long double kGlassTiltDegrees = 30;
inline constexpr long double kGlassHeightY = 3;  // what the parts below add up to
inline constexpr long double kHandleLengthY = 1.3L;
inline constexpr long double kHandleThicknessZ = 2.6L;  // its ends rounded
inline constexpr long double kRingDiameterY = 1.7L;     // outside
inline constexpr long double kRingThicknessZ = 1.4L;
inline constexpr long double kNeckLengthZ = 1.2L;  // between the ring and the handle
inline constexpr long double kNeckThicknessZ = 1.5L;

// Left to the drawing (the text sets no number): the radius of the modules' corners (a
// part of Y), the space between two lines of a nutrient's name (a part of their capitals)
// and the size of the words of an incomplete mark (a part of the mark's font).
inline constexpr long double kModuleCornerY = 0.25L;
inline constexpr long double kLineGapY = 0.5L;
inline constexpr long double kWordsFontPart = 0.5L;

// RDC 429, art. 18, § 3º: the mark is optional under this main-panel area.
inline constexpr int kOptionalBelowCm2 = 35;

// A food of the list whose front-of-pack labelling is forbidden.
struct ForbiddenFood {
    int item;
    std::string_view name;
    // Items 1 to 6: forbidden only while no ingredient added to the food brings it added
    // sugars or a significant amount of saturated fat or sodium; the mark then shows the
    // nutrients those ingredients altered.
    bool unlessAltered;
};

inline constexpr std::array<ForbiddenFood, 19> kForbiddenFoods{{
    {1,
     "Frutas, hortaliças, leguminosas, tubérculos, cereais, nozes, castanhas, sementes e "
     "cogumelos",
     true},
    {2, "Farinhas", true},
    {3, "Carnes e pescados embalados, refrigerados ou congelados", true},
    {4, "Ovos", true},
    {5, "Leites fermentados", true},
    {6, "Queijos", true},
    {7, "Leites de todas as espécies de animais mamíferos", false},
    {8, "Leite em pó", false},
    {9, "Azeite de oliva e outros óleos vegetais, prensados a frio ou refinados", false},
    {10, "Sal destinado ao consumo humano", false},
    {11, "Fórmulas infantis", false},
    {12, "Fórmulas para nutrição enteral", false},
    {13, "Alimentos para controle de peso", false},
    {14, "Suplementos alimentares", false},
    {15, "Bebidas alcoólicas", false},
    {16, "Produtos destinados exclusivamente ao processamento industrial", false},
    {17, "Produtos destinados exclusivamente aos serviços de alimentação", false},
    {18, "Aditivos alimentares e coadjuvantes de tecnologia", false},
    {19, "Fórmulas dietoterápicas para erros inatos do metabolismo", false},
}};

}  // namespace velmaro::frontofpack
