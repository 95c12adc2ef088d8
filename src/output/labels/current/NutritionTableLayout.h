#pragma once

// The drawing of label model 5 on a Canvas: the nutrition table and, beside it, the
// "ALTO EM" mark (HighInMark), from the texts composed by NutritionTable. Sizes are set in points
// and turned into dots of the drawing's resolution, so at print size no value or caption is smaller
// than 8 pt (Liberation Sans, the canvas' "Arial"); the table's height follows its rows.
//
// A table with an unknown value carries the words "INCOMPLETO – NÃO USAR EM EMBALAGEM"
// across it, and so does its mark.

#include "output/labels/current/LabelPicture.h"
#include "output/labels/current/NutritionTable.h"
#include "output/labels/mark/HighInMark.h"
#include "platform/Canvas.h"

namespace velmaro {

// The smallest font of the table, in points.
inline constexpr long double kNutritionBodyPoints = 8;

// The table with its top-left corner at (x, y), at least `minWidth` dots wide; with
// `draw` false nothing is drawn and only the size is given.
PictureSize DrawNutritionTable(Canvas& canvas, const NutritionTable& table, int x, int y,
                               long double dpi, int minWidth = 0, bool draw = true);

// One label of the sheet: the preparation name (when asked) over the table, the mark
// beside the table; the table fills at least `usedWidth` less what the mark takes.
PictureSize DrawNutritionLabel(Canvas& canvas, const NutritionTable& table, std::string_view name,
                               int x, int y, long double dpi, int usedWidth, bool draw = true);

// The table as large as fits (at most its print size at the canvas' resolution), centred
// in a cleared width x height area.
void DrawNutritionTablePreview(Canvas& canvas, const NutritionTable& table, int width, int height);

}  // namespace velmaro
