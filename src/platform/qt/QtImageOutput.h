#pragma once

// Pictures drawn by the logic made real with Qt: into an image control, a monochrome BMP
// file or a one-page vector PDF file.

#include "platform/ImageOutput.h"

namespace velmaro::qt {

class QtImageOutput : public ImageOutput {
  public:
    void RenderToImage(const Drawing& draw, int width, int height, int dpi, Image& image) override;
    void SaveMonochromeBmp(const Drawing& draw, int width, int height, int dpi,
                           const std::filesystem::path& path) override;
    void SavePdf(const Drawing& draw, double widthMm, double heightMm, int dpi,
                 const std::filesystem::path& path) override;
};

}  // namespace velmaro::qt
