#include "platform/qt/QtImageOutput.h"

#include <QBuffer>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "platform/qt/QtCanvas.h"
#include "storage/FileIo.h"

namespace velmaro::qt {

void QtImageOutput::RenderToImage(const Drawing& draw, int width, int height, int dpi,
                                  Image& image) {
    QtBitmap bitmap(width, height, dpi);
    if (draw) {
        draw(bitmap.PageCanvas());
    }
    image.pixelWidth = bitmap.Width();
    image.pixelHeight = bitmap.Height();
    image.pixels = bitmap.GrayPixels();
    ++image.revision;
}

void QtImageOutput::Measure(const Drawing& draw, int dpi) {
    QtBitmap scratch(1, 1, dpi);
    if (draw) {
        draw(scratch.PageCanvas());
    }
}

void QtImageOutput::SaveMonochromeBmp(const Drawing& draw, int width, int height, int dpi,
                                      const std::filesystem::path& path) {
    QtBitmap bitmap(width, height, dpi);
    if (draw) {
        draw(bitmap.PageCanvas());
    }
    bitmap.SaveMonochromeBmp(path);
}

void QtImageOutput::SaveMonochromePng(const Drawing& draw, int width, int height, int dpi,
                                      const std::filesystem::path& path) {
    QtBitmap bitmap(width, height, dpi);
    if (draw) {
        draw(bitmap.PageCanvas());
    }
    bitmap.SaveMonochromePng(path);
}

void QtImageOutput::SavePdf(const Drawing& draw, double widthMm, double heightMm, int dpi,
                            const std::filesystem::path& path) {
    SavePdfPages(
        [&draw](Canvas& canvas, int) {
            if (draw) {
                draw(canvas);
            }
        },
        1, widthMm, heightMm, dpi, path);
}

void QtImageOutput::SavePdfPages(const PageDrawing& draw, int pages, double widthMm,
                                 double heightMm, int dpi, const std::filesystem::path& path) {
    // Made in memory and written whole: a failed write leaves an earlier file as it was.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(dpi);
        writer.setPageLayout(
            QPageLayout(QPageSize(QSizeF(widthMm, heightMm), QPageSize::Millimeter),
                        QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter(&writer);
        QtCanvas canvas(painter, dpi);
        for (int page = 0; page < std::max(pages, 1); ++page) {
            if (page > 0) {
                writer.newPage();
            }
            if (draw) {
                draw(canvas, page);
            }
        }
    }
    const QByteArray bytes = buffer.data();
    WriteFileAtomic(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

}  // namespace velmaro::qt
