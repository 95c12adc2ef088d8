#pragma once

// Pictures drawn by the logic made real with Qt: into an image control, a monochrome BMP
// or PNG file or a vector PDF file.

#include <functional>

#include "platform/ImageOutput.h"

namespace velmaro::qt {

class QtImageOutput : public ImageOutput {
  public:
    void RenderToImage(const Drawing& draw, int width, int height, int dpi, Image& image) override;
    void Measure(const Drawing& draw, int dpi) override;
    void SaveMonochromeBmp(const Drawing& draw, int width, int height, int dpi,
                           const std::filesystem::path& path) override;
    void SaveMonochromePng(const Drawing& draw, int width, int height, int dpi,
                           const std::filesystem::path& path) override;
    void SavePdf(const Drawing& draw, double widthMm, double heightMm, int dpi,
                 const std::filesystem::path& path) override;
    // Pages drawn one after the other, each as SavePdf draws its one page.
    using PageDrawing = std::function<void(Canvas& canvas, int page)>;
    void SavePdfPages(const PageDrawing& draw, int pages, double widthMm, double heightMm, int dpi,
                      const std::filesystem::path& path);
};

}  // namespace velmaro::qt
