#pragma once

// What the pictures of label model 5 (the nutrition table and the "ALTO EM" mark) share:
// their size, the cell of a font given in points, the words across an incomplete one and
// the resolution at which one fits a preview.

#include <functional>
#include <string>

#include "platform/Canvas.h"

namespace velmaro {

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The cell height of a font of `points` in dots at `dpi` (the cell of Liberation Sans is
// 1.15 em at most).
int FontCellDots(long double points, long double dpi);

// The words drawn across every picture of an incomplete table.
std::string IncompleteWords();

// The largest resolution, at most the canvas' own, at which the picture `measure` gives
// for a resolution fits width x height.
long double FittingDpi(Canvas& canvas, int width, int height,
                       const std::function<PictureSize(long double dpi)>& measure);

}  // namespace velmaro
