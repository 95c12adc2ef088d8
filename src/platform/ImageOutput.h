#pragma once

// Pictures the logic draws through a Canvas and the platform makes real: a picture shown
// in an Image control (previews, diagrams), a monochrome BMP or PNG file and a vector PDF
// file of one page or several. The drawing is a callback so the same routine serves every target;
// the Qt skin paints it with QPainter on a QImage or a QPdfWriter, tests record it.

#include <filesystem>
#include <functional>

#include "platform/Canvas.h"
#include "platform/Controls.h"

namespace velmaro {

class ImageOutput {
  public:
    using Drawing = std::function<void(Canvas&)>;

    virtual ~ImageOutput() = default;

    // A white picture of width x height pixels whose canvas works at `dpi`, drawn by
    // `draw`, put into the control: pixelWidth, pixelHeight, pixels (one byte a pixel,
    // row by row, 0 black, 255 white) and revision + 1.
    virtual void RenderToImage(const Drawing& draw, int width, int height, int dpi,
                               Image& image) = 0;
    // Runs `draw` on a canvas working at `dpi` that measures texts as this output's
    // pictures and files do, keeping nothing of what is drawn (checks of a layout before
    // it is made).
    virtual void Measure(const Drawing& draw, int dpi) = 0;
    // The same picture turned to one bit per pixel (dark pixels black, the others white)
    // and saved as a BMP file at `path` (UTF-8), replacing an earlier file; `dpi` goes
    // into its header. Throws StorageError when the file cannot be written.
    virtual void SaveMonochromeBmp(const Drawing& draw, int width, int height, int dpi,
                                   const std::filesystem::path& path) = 0;
    // The same one-bit picture as a PNG file, its resolution in its header.
    virtual void SaveMonochromePng(const Drawing& draw, int width, int height, int dpi,
                                   const std::filesystem::path& path) = 0;
    // A PDF file of one page of widthMm x heightMm millimetres, drawn by `draw` in vector
    // form on a canvas whose dots are those of `dpi` (so a drawing made for a printer of
    // that resolution comes out at its real size). Replaces an earlier file. Throws
    // StorageError when the file cannot be written.
    virtual void SavePdf(const Drawing& draw, double widthMm, double heightMm, int dpi,
                         const std::filesystem::path& path) = 0;
    // A drawing of several pages: `page` counts from 0.
    using PageDrawing = std::function<void(Canvas& canvas, int page)>;
    // A PDF file of `pages` pages (at least 1), each widthMm x heightMm millimetres and
    // drawn as SavePdf draws its one page, page after page in order. Replaces an earlier
    // file. Throws StorageError when the file cannot be written.
    virtual void SavePdfPages(const PageDrawing& draw, int pages, double widthMm, double heightMm,
                              int dpi, const std::filesystem::path& path) = 0;
};

}  // namespace velmaro
