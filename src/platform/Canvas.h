#pragma once

// Drawing on a printer page or a bitmap, in device dots. Labels and reports draw
// through it; the Qt skin paints with QPainter, tests record the calls with fixed
// text metrics.

#include <string>

namespace velmaro {

struct FontSpec {
    std::string family = "Arial";  // "Arial" resolves to Liberation Sans, "Courier New" to Liberation Mono
    int size = 10;                  // points, at the canvas' dots per inch
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
    virtual int TextWidth(const std::string& text) = 0;   // Windows-1252 text
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
};

}  // namespace velmaro
