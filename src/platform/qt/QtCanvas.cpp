#include "platform/qt/QtCanvas.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "platform/qt/QtText.h"
#include "storage/FileIo.h"
#include "storage/StorageError.h"

namespace velmaro::qt {

QFont CanvasFont(const FontSpec& setup, int dpi) {
    QFont font(MapFontFamily(setup.family));
    font.setBold(setup.bold);
    font.setItalic(setup.italic);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    if (setup.height > 0) {
        // The cell height (ascent + descent) is given: find the em size that gives it.
        font.setPixelSize(setup.height);
        const double cell = QFontMetricsF(font).height();
        if (cell > 0) {
            font.setPixelSize(
                std::max(1, static_cast<int>(std::lround(setup.height * setup.height / cell))));
        }
    } else {
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(setup.size * dpi / 72.0))));
    }
    return font;
}

QtCanvas::QtCanvas(QPainter& painter, int dpi) : m_painter(painter), m_dpi(dpi) {
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, false);
    m_painter.setBrush(Qt::NoBrush);
    ApplyPen();
    SetFont(FontSpec{});
}

void QtCanvas::SetFont(const FontSpec& font) {
    m_painter.setFont(CanvasFont(font, m_dpi));
}

int QtCanvas::TextWidth(const std::string& text) {
    return QFontMetrics(m_painter.font(), m_painter.device()).horizontalAdvance(ToQt(text));
}

int QtCanvas::TextHeight(const std::string&) {
    return QFontMetrics(m_painter.font(), m_painter.device()).height();
}

void QtCanvas::TextOut(int x, int y, const std::string& text) {
    const QFontMetrics fm(m_painter.font(), m_painter.device());
    m_painter.setPen(QPen(m_textInk == Ink::White ? Qt::white : Qt::black));
    m_painter.drawText(QPoint(x, y + fm.ascent()), ToQt(text));
    ApplyPen();
}

void QtCanvas::SetPenWidth(int width) {
    m_penWidth = std::max(width, 1);
    ApplyPen();
}

void QtCanvas::ApplyPen() {
    QPen pen(Qt::black);
    pen.setWidth(m_penWidth);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    m_painter.setPen(pen);
}

void QtCanvas::MoveTo(int x, int y) {
    m_position = QPoint(x, y);
}

void QtCanvas::LineTo(int x, int y) {
    // As the desktop draws it: the end point itself is not painted.
    const QPoint end(x, y);
    const QPoint delta = end - m_position;
    if (delta != QPoint(0, 0)) {
        const int steps = std::max(std::abs(delta.x()), std::abs(delta.y()));
        const QPoint last(
            m_position.x() + static_cast<int>(std::lround(delta.x() * (steps - 1.0) / steps)),
            m_position.y() + static_cast<int>(std::lround(delta.y() * (steps - 1.0) / steps)));
        m_painter.drawLine(m_position, last);
    }
    m_position = end;
}

void QtCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (right - left < 1 || bottom - top < 1) {
        return;
    }
    // The frame lies inside right and bottom, which are exclusive.
    m_painter.setBrush(Qt::NoBrush);
    if (m_penWidth <= 1) {
        m_painter.drawRect(
            QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).adjusted(0, 0, -1, -1));
        return;
    }
    const int w = m_penWidth;
    m_painter.fillRect(QRect(left, top, right - left, std::min(w, bottom - top)), Qt::black);
    m_painter.fillRect(
        QRect(left, std::max(top, bottom - w), right - left, std::min(w, bottom - top)), Qt::black);
    m_painter.fillRect(QRect(left, top, std::min(w, right - left), bottom - top), Qt::black);
    m_painter.fillRect(
        QRect(std::max(left, right - w), top, std::min(w, right - left), bottom - top), Qt::black);
}

void QtCanvas::Clear(int left, int top, int right, int bottom) {
    if (right > left && bottom > top) {
        m_painter.fillRect(QRect(left, top, right - left, bottom - top), Qt::white);
    }
}

// Shapes are filled as they are drawn on paper: no outline, and, like the texts, without
// antialiasing, so a one-bit picture keeps their edges.
void QtCanvas::Fill(const QPainterPath& path, Ink ink) {
    m_painter.fillPath(path, ink == Ink::White ? Qt::white : Qt::black);
}

void QtCanvas::FillRoundRect(int left, int top, int right, int bottom, int radius, Ink ink) {
    if (right - left < 1 || bottom - top < 1) {
        return;
    }
    const qreal r = std::clamp<qreal>(radius, 0, std::min(right - left, bottom - top) / 2.0);
    QPainterPath path;
    path.addRoundedRect(QRectF(left, top, right - left, bottom - top), r, r);
    Fill(path, ink);
}

void QtCanvas::FillEllipse(int left, int top, int right, int bottom, Ink ink) {
    if (right - left < 1 || bottom - top < 1) {
        return;
    }
    QPainterPath path;
    path.addEllipse(QRectF(left, top, right - left, bottom - top));
    Fill(path, ink);
}

void QtCanvas::FillPolygon(const std::vector<Point>& points, Ink ink) {
    if (points.size() < 3) {
        return;
    }
    QPolygonF polygon;
    for (const Point& p : points) {
        polygon << QPointF(p.x, p.y);
    }
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    Fill(path, ink);
}

// From the outlines of the glyphs, so a capital's height and a stem's width are those of
// the font, not of its character cell.
InkBox QtCanvas::TextInkBox(const std::string& text) {
    const QFontMetrics fm(m_painter.font(), m_painter.device());
    QPainterPath path;
    path.addText(QPointF(0, fm.ascent()), m_painter.font(), ToQt(text));
    const QRectF box = path.boundingRect();
    if (box.isEmpty()) {
        return {};
    }
    return {static_cast<int>(std::lround(box.left())), static_cast<int>(std::lround(box.top())),
            static_cast<int>(std::lround(box.right())),
            static_cast<int>(std::lround(box.bottom()))};
}

QtBitmap::QtBitmap(int width, int height, int dpi)
    : m_image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32), m_dpi(dpi) {
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    m_image.setDotsPerMeterX(dotsPerMeter);
    m_image.setDotsPerMeterY(dotsPerMeter);
    m_image.fill(Qt::white);
    m_painter = std::make_unique<QPainter>(&m_image);
    m_canvas = std::make_unique<QtCanvas>(*m_painter, dpi);
}

QtBitmap::~QtBitmap() {
    m_canvas.reset();
    if (m_painter) {
        m_painter->end();
    }
}

const QImage& QtBitmap::Image() {
    return m_image;  // painting on an image is immediate
}

std::vector<unsigned char> QtBitmap::GrayPixels() {
    const QImage gray = Image().convertToFormat(QImage::Format_Grayscale8);
    std::vector<unsigned char> pixels;
    pixels.reserve(static_cast<size_t>(gray.width()) * static_cast<size_t>(gray.height()));
    for (int y = 0; y < gray.height(); ++y) {
        const uchar* row = gray.constScanLine(y);
        pixels.insert(pixels.end(), row, row + gray.width());
    }
    return pixels;
}

void QtBitmap::SaveMonochromeBmp(const std::filesystem::path& path) {
    WriteFileAtomic(path, MonochromeBmpBytes(Image(), m_dpi));
}

void QtBitmap::SaveMonochromePng(const std::filesystem::path& path) {
    WriteFileAtomic(path, MonochromePngBytes(Image(), m_dpi));
}

namespace {

void Put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, unsigned long value) {
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

}  // namespace

std::string MonochromeBmpBytes(const QImage& image, int dpi) {
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    const auto width = static_cast<unsigned long>(gray.width());
    const auto height = static_cast<unsigned long>(gray.height());
    const unsigned long rowBytes = ((width + 31) / 32) * 4;
    const unsigned long pixelBytes = rowBytes * height;
    const unsigned long offset = 14 + 40 + 8;
    const auto dotsPerMeter = static_cast<unsigned long>(std::lround(std::max(dpi, 1) / 0.0254));

    std::string out;
    out.reserve(offset + pixelBytes);
    out += "BM";
    Put32(out, offset + pixelBytes);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);  // the information header
    Put32(out, width);
    Put32(out, height);  // positive: rows stored bottom-up
    Put16(out, 1);       // planes
    Put16(out, 1);       // bits per pixel
    Put32(out, 0);       // no compression
    Put32(out, pixelBytes);
    Put32(out, dotsPerMeter);
    Put32(out, dotsPerMeter);
    Put32(out, 2);  // colours in the palette
    Put32(out, 2);
    Put32(out, 0x00000000);  // index 0: black
    Put32(out, 0x00FFFFFF);  // index 1: white
    for (unsigned long y = height; y-- > 0;) {
        const uchar* row = gray.constScanLine(static_cast<int>(y));
        std::string bits(rowBytes, '\0');
        for (unsigned long x = 0; x < width; ++x) {
            if (row[x] >= 128) {
                bits[x / 8] =
                    static_cast<char>(static_cast<unsigned char>(bits[x / 8]) | (0x80U >> (x % 8)));
            }
        }
        out += bits;
    }
    return out;
}

std::string MonochromePngBytes(const QImage& image, int dpi) {
    // Black where the BMP has black: luminance below one half.
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    QImage mono(gray.width(), gray.height(), QImage::Format_Mono);
    mono.setColorCount(2);
    mono.setColor(0, qRgb(0, 0, 0));
    mono.setColor(1, qRgb(255, 255, 255));
    for (int y = 0; y < gray.height(); ++y) {
        const uchar* row = gray.constScanLine(y);
        for (int x = 0; x < gray.width(); ++x) {
            mono.setPixel(x, y, row[x] >= 128 ? 1U : 0U);
        }
    }
    const int dotsPerMeter = static_cast<int>(std::lround(std::max(dpi, 1) / 0.0254));
    mono.setDotsPerMeterX(dotsPerMeter);
    mono.setDotsPerMeterY(dotsPerMeter);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!mono.save(&buffer, "PNG")) {
        throw StorageError("Não foi possível compor a imagem PNG");
    }
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace velmaro::qt
