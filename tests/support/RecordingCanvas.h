#pragma once

// A canvas that records every call as a line of text, with fixed text metrics: each
// character is (size x dpi / 72) x 0.5 dots wide, text height (size x dpi / 72) dots.
// A font given by its height in dots (FontSpec::height) is that high and each character
// half that wide; it is recorded as "Font Arial h40". The ink of a text covers the middle
// half of the cell's height (a capital of h/2) and its width less a sixth at each side
// (an "I" of a 40-dot cell: 20 wide, ink 14).
// Layout tests compare the recorded geometry with the expected numbers.

#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace velmaro::test {

class RecordingCanvas : public Canvas {
  public:
    explicit RecordingCanvas(int dpi = 300) : m_dpi(dpi) {}
    int DotsPerInch() const override { return m_dpi; }
    void SetFont(const FontSpec& font) override;
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    void TextOut(int x, int y, const std::string& text) override;
    void SetPenWidth(int width) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void Clear(int left, int top, int right, int bottom) override;
    // "RoundRect l,t,r,b r=radius black", "Ellipse l,t,r,b white",
    // "Polygon x,y x,y x,y black", "TextInk white".
    void FillRoundRect(int left, int top, int right, int bottom, int radius, Ink ink) override;
    void FillEllipse(int left, int top, int right, int bottom, Ink ink) override;
    void FillPolygon(const std::vector<Point>& points, Ink ink) override;
    void SetTextInk(Ink ink) override;
    InkBox TextInkBox(const std::string& text) override;

    void Record(std::string call) { calls.push_back(std::move(call)); }
    std::vector<std::string> calls;
    FontSpec font;

  private:
    int m_dpi;
};

}  // namespace velmaro::test
