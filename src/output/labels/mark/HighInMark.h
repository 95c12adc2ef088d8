#pragma once

// The front-of-pack "ALTO EM" mark of a nutrition table, drawn to the geometry of IN 75,
// Anexo XVIII (numbers in FrontOfPackRules.h): inside an outer border with rounded corners,
// the "ALTO EM" block with its magnifying glass, then one black module per limit reached
// with the nutrient's name in white capitals, one under the other. A limit that could not
// be judged has a white module with a black border and a "?" after the name's first line,
// and a mark with such a limit carries "INCOMPLETO – NÃO USAR EM EMBALAGEM" under them (a
// mark whose limits are all reached by the known values carries none, even when the table
// is incomplete).
// A table marked as a food whose front-of-pack labelling is forbidden has no mark.

#include "output/labels/current/LabelPicture.h"
#include "output/labels/current/NutritionTable.h"
#include "platform/Canvas.h"

namespace velmaro {

// Whether the table has a mark: a limit reached or one that could not be judged, and no
// forbidden food marked.
bool HasHighInMark(const NutritionTable& table);

// The mark with its top-left corner at (x, y), its font sized for `dpi`; with `draw` false
// nothing is drawn and only the size is given. Nothing (0 x 0) when there is no mark.
PictureSize DrawHighInMark(Canvas& canvas, const NutritionTable& table, int x, int y,
                           long double dpi, bool draw = true);

// The mark as large as fits (at most its print size at the canvas' resolution), centred in
// a cleared width x height area.
void DrawHighInMarkPreview(Canvas& canvas, const NutritionTable& table, int width, int height);

// The two measures of the mark's geometry in dots, for a mark drawn at `dpi`: Y, the height
// of the "A" of "ALTO EM", and Z, the width of the "I" of "SÓDIO" (each at least 1). Sets
// the mark's font on the canvas.
struct HighInMarkMeasures {
    int y = 1;
    int z = 1;
};
HighInMarkMeasures MeasureHighInMark(Canvas& canvas, long double dpi);

}  // namespace velmaro
