#pragma once

// Canvas drawing with QPainter: on a printer page, a PDF page or an image in memory.
// Coordinates are device dots; fonts are sized at the canvas' dots per inch.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPoint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace velmaro::qt {

// The font of a FontSpec at `dpi` dots per inch: `size` points, or a character cell
// `height` dots high when that is given.
QFont CanvasFont(const FontSpec& setup, int dpi);

class QtCanvas : public Canvas {
  public:
    // Draws through a painter that is already active on its device.
    QtCanvas(QPainter& painter, int dpi);

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
    void SetTextInk(Ink ink) override { m_textInk = ink; }
    InkBox TextInkBox(const std::string& text) override;

  private:
    void ApplyPen();
    void Fill(const QPainterPath& path, Ink ink);

    QPainter& m_painter;
    int m_dpi;
    QPoint m_position;
    int m_penWidth = 1;
    Ink m_textInk = Ink::Black;
};

// A white bitmap in memory with a canvas on it: previews take its pixels, and it is
// saved as a one-bit-per-pixel BMP file.
class QtBitmap {
  public:
    QtBitmap(int width, int height, int dpi);
    ~QtBitmap();
    QtBitmap(const QtBitmap&) = delete;
    QtBitmap& operator=(const QtBitmap&) = delete;

    Canvas& PageCanvas() { return *m_canvas; }
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    // The drawing so far as one byte a pixel, row by row: 0 black, 255 white.
    std::vector<unsigned char> GrayPixels();
    // The drawing as a monochrome BMP file (throws StorageError when it cannot be written).
    void SaveMonochromeBmp(const std::filesystem::path& path);
    // The same as a one-bit PNG file.
    void SaveMonochromePng(const std::filesystem::path& path);
    const QImage& Image();

  private:
    QImage m_image;
    int m_dpi;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<QtCanvas> m_canvas;
};

// The bytes of a one-bit-per-pixel BMP file of the image: dark pixels (luminance below
// one half) black, the others white; `dpi` goes into the header.
std::string MonochromeBmpBytes(const QImage& image, int dpi);
// The same picture as the bytes of a one-bit-per-pixel PNG file.
std::string MonochromePngBytes(const QImage& image, int dpi);

}  // namespace velmaro::qt
