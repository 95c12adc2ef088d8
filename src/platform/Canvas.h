#pragma once

// Drawing on a printer page or a bitmap, in device dots. Labels and reports draw
// through it; the Qt skin paints with QPainter, tests record the calls with fixed
// text metrics.

#include <string>
#include <vector>

namespace velmaro {

// The two inks of a label: everything is black on white, or white on black.
enum class Ink { Black, White };

struct Point {
    int x = 0;
    int y = 0;
};

// Where the glyphs of a text leave ink, relative to the point TextOut places the text at
// (right and bottom exclusive): the height of a capital, the width of a stem.
struct InkBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct FontSpec {
    // "Arial" resolves to Liberation Sans, "Arial Narrow" to Liberation Sans Narrow,
    // "Courier New" to Liberation Mono.
    std::string family = "Arial";
    int size = 10;  // points, at the canvas' dots per inch
    // When above 0: the character-cell height in dots, in place of `size` (the label
    // layouts size their texts in device dots).
    int height = 0;
    bool bold = false;
    bool italic = false;
};

class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual int DotsPerInch() const = 0;
    virtual void SetFont(const FontSpec& font) = 0;
    virtual int TextWidth(const std::string& text) = 0;  // Windows-1252 text
    virtual int TextHeight(const std::string& text) = 0;
    virtual void TextOut(int x, int y, const std::string& text) = 0;  // top-left of the text
    virtual void SetPenWidth(int width) = 0;
    virtual void MoveTo(int x, int y) = 0;
    // A line from the current position; as Windows draws it, the end point itself is not
    // drawn (label frames and their inner lines meet on that rule).
    virtual void LineTo(int x, int y) = 0;
    // The frame of a rectangle (not filled), as Windows draws it: right and bottom exclusive.
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    // Fills a rectangle with white (clearing a preview).
    virtual void Clear(int left, int top, int right, int bottom) = 0;

    // Filled shapes without an outline (right and bottom exclusive): a rectangle whose
    // corners are quarter circles of `radius`, the ellipse inside a rectangle, a polygon.
    virtual void FillRoundRect(int left, int top, int right, int bottom, int radius, Ink ink) = 0;
    virtual void FillEllipse(int left, int top, int right, int bottom, Ink ink) = 0;
    virtual void FillPolygon(const std::vector<Point>& points, Ink ink) = 0;
    // The ink of the texts drawn from now on (black until changed).
    virtual void SetTextInk(Ink ink) = 0;
    // The ink of `text` in the current font, as TextOut at (0, 0) would leave it.
    virtual InkBox TextInkBox(const std::string& text) = 0;
};

}  // namespace velmaro
