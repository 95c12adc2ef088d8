#include "support/RecordingImageOutput.h"

#include "storage/StorageError.h"

namespace velmaro::test {

namespace {

std::vector<std::string> Drawn(const ImageOutput::Drawing& draw, int dpi) {
    RecordingCanvas canvas(dpi);
    draw(canvas);
    return canvas.calls;
}

}  // namespace

void RecordingImageOutput::RenderToImage(const Drawing& draw, int width, int height, int dpi,
                                         Image& image) {
    RecordedImage r;
    r.kind = RecordedImage::Kind::Picture;
    r.width = width;
    r.height = height;
    r.dpi = dpi;
    r.calls = Drawn(draw, dpi);
    records.push_back(std::move(r));
    image.pixelWidth = width;
    image.pixelHeight = height;
    image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 255);
    ++image.revision;
}

void RecordingImageOutput::Measure(const Drawing& draw, int dpi) {
    RecordingCanvas canvas(dpi);
    if (draw) {
        draw(canvas);
    }
}

void RecordingImageOutput::SaveMonochromeBmp(const Drawing& draw, int width, int height, int dpi,
                                             const std::filesystem::path& path) {
    SaveBitmap(RecordedImage::Kind::Bmp, draw, width, height, dpi, path);
}

void RecordingImageOutput::SaveMonochromePng(const Drawing& draw, int width, int height, int dpi,
                                             const std::filesystem::path& path) {
    SaveBitmap(RecordedImage::Kind::Png, draw, width, height, dpi, path);
}

void RecordingImageOutput::SaveBitmap(RecordedImage::Kind kind, const Drawing& draw, int width,
                                      int height, int dpi, const std::filesystem::path& path) {
    RecordedImage r;
    r.kind = kind;
    r.width = width;
    r.height = height;
    r.dpi = dpi;
    r.path = path;
    r.calls = Drawn(draw, dpi);
    records.push_back(std::move(r));
    if (failWrites) {
        throw StorageError("disco cheio");
    }
}

void RecordingImageOutput::SavePdf(const Drawing& draw, double widthMm, double heightMm, int dpi,
                                   const std::filesystem::path& path) {
    RecordedImage r;
    r.kind = RecordedImage::Kind::Pdf;
    r.widthMm = widthMm;
    r.heightMm = heightMm;
    r.dpi = dpi;
    r.path = path;
    r.calls = Drawn(draw, dpi);
    records.push_back(std::move(r));
    if (failWrites) {
        throw StorageError("disco cheio");
    }
}

void RecordingImageOutput::SavePdfPages(const PageDrawing& draw, int pages, double widthMm,
                                        double heightMm, int dpi,
                                        const std::filesystem::path& path) {
    RecordedImage r;
    r.kind = RecordedImage::Kind::Pdf;
    r.widthMm = widthMm;
    r.heightMm = heightMm;
    r.dpi = dpi;
    r.pages = pages;
    r.path = path;
    RecordingCanvas canvas(dpi);
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            canvas.Record("NewPage");
        }
        draw(canvas, page);
    }
    r.calls = canvas.calls;
    records.push_back(std::move(r));
    if (failWrites) {
        throw StorageError("disco cheio");
    }
}

std::vector<RecordedImage> RecordingImageOutput::Of(RecordedImage::Kind kind) const {
    std::vector<RecordedImage> out;
    for (const auto& r : records) {
        if (r.kind == kind) {
            out.push_back(r);
        }
    }
    return out;
}

}  // namespace velmaro::test
