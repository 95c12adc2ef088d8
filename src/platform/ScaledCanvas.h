#pragma once

// A drawing made in dots of one resolution, put on a device of another: positions, font
// heights and pen widths are multiplied by device dpi / drawing dpi, and measured texts
// divided by it, so the drawing keeps its size on paper. The label sheet is laid out in
// dots of the resolution stored with it; the printer's page may have its own.

#include <string>

#include "platform/Canvas.h"

namespace velmaro {

class ScaledCanvas : public Canvas {
  public:
    // `dpi` is the drawing's resolution (above 0).
    ScaledCanvas(Canvas& device, int dpi);

    long double Factor() const { return m_factor; }

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
    void FillRoundRect(int left, int top, int right, int bottom, int radius, Ink ink) override;
    void FillEllipse(int left, int top, int right, int bottom, Ink ink) override;
    void FillPolygon(const std::vector<Point>& points, Ink ink) override;
    void SetTextInk(Ink ink) override;
    InkBox TextInkBox(const std::string& text) override;

  private:
    int ToDevice(int v) const;
    int FromDevice(int v) const;

    Canvas& m_device;
    int m_dpi;
    long double m_factor;
};

}  // namespace velmaro
