#pragma once

// An ImageOutput for screen tests: every picture, BMP, PNG and PDF asked for is recorded with
// its size, resolution and path, and drawn on a RecordingCanvas so tests can read what it
// showed. A picture put into an Image control is white; `failWrites` makes the files fail
// as a full disk would.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/ImageOutput.h"
#include "support/RecordingCanvas.h"

namespace velmaro::test {

struct RecordedImage {
    enum class Kind { Picture, Bmp, Png, Pdf };
    Kind kind = Kind::Picture;
    int width = 0;  // pixels or dots
    int height = 0;
    int dpi = 0;
    double widthMm = 0;  // PDF only
    double heightMm = 0;
    int pages = 1;                   // PDF only
    std::filesystem::path path;      // files only
    std::vector<std::string> calls;  // what the drawing did; "NewPage" between pages
};

class RecordingImageOutput : public ImageOutput {
  public:
    void RenderToImage(const Drawing& draw, int width, int height, int dpi, Image& image) override;
    // Measures with the recording canvas' metrics and records nothing.
    void Measure(const Drawing& draw, int dpi) override;
    void SaveMonochromeBmp(const Drawing& draw, int width, int height, int dpi,
                           const std::filesystem::path& path) override;
    void SaveMonochromePng(const Drawing& draw, int width, int height, int dpi,
                           const std::filesystem::path& path) override;
    void SavePdf(const Drawing& draw, double widthMm, double heightMm, int dpi,
                 const std::filesystem::path& path) override;
    void SavePdfPages(const PageDrawing& draw, int pages, double widthMm, double heightMm, int dpi,
                      const std::filesystem::path& path) override;

    // The records of one kind, in order.
    std::vector<RecordedImage> Of(RecordedImage::Kind kind) const;

    std::vector<RecordedImage> records;
    bool failWrites = false;

  private:
    void SaveBitmap(RecordedImage::Kind kind, const Drawing& draw, int width, int height, int dpi,
                    const std::filesystem::path& path);
};

}  // namespace velmaro::test
