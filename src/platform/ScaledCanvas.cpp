#include "platform/ScaledCanvas.h"

#include <algorithm>
#include <cmath>

namespace velmaro {

namespace {

// Scaled values are held well inside an int.
constexpr long double kLimit = 1 << 30;

int ToInt(long double v) {
    return static_cast<int>(std::llround(std::clamp(v, -kLimit, kLimit)));
}

}  // namespace

ScaledCanvas::ScaledCanvas(Canvas& device, int dpi)
    : m_device(device),
      m_dpi(dpi),
      m_factor(dpi > 0 ? static_cast<long double>(device.DotsPerInch()) / dpi : 1.0L) {}

int ScaledCanvas::ToDevice(int v) const {
    return ToInt(v * m_factor);
}

int ScaledCanvas::FromDevice(int v) const {
    return m_factor > 0 ? ToInt(v / m_factor) : v;
}

void ScaledCanvas::SetFont(const FontSpec& font) {
    FontSpec scaled = font;
    if (font.height > 0) {
        scaled.height = std::max(1, ToDevice(font.height));
    }
    m_device.SetFont(scaled);  // a size in points is the same on any device
}

int ScaledCanvas::TextWidth(const std::string& text) {
    return FromDevice(m_device.TextWidth(text));
}

int ScaledCanvas::TextHeight(const std::string& text) {
    return FromDevice(m_device.TextHeight(text));
}

void ScaledCanvas::TextOut(int x, int y, const std::string& text) {
    m_device.TextOut(ToDevice(x), ToDevice(y), text);
}

void ScaledCanvas::SetPenWidth(int width) {
    m_device.SetPenWidth(std::max(1, ToDevice(width)));
}

void ScaledCanvas::MoveTo(int x, int y) {
    m_device.MoveTo(ToDevice(x), ToDevice(y));
}

void ScaledCanvas::LineTo(int x, int y) {
    m_device.LineTo(ToDevice(x), ToDevice(y));
}

void ScaledCanvas::Rectangle(int left, int top, int right, int bottom) {
    m_device.Rectangle(ToDevice(left), ToDevice(top), ToDevice(right), ToDevice(bottom));
}

void ScaledCanvas::Clear(int left, int top, int right, int bottom) {
    m_device.Clear(ToDevice(left), ToDevice(top), ToDevice(right), ToDevice(bottom));
}

void ScaledCanvas::FillRoundRect(int left, int top, int right, int bottom, int radius, Ink ink) {
    m_device.FillRoundRect(ToDevice(left), ToDevice(top), ToDevice(right), ToDevice(bottom),
                           ToDevice(radius), ink);
}

void ScaledCanvas::FillEllipse(int left, int top, int right, int bottom, Ink ink) {
    m_device.FillEllipse(ToDevice(left), ToDevice(top), ToDevice(right), ToDevice(bottom), ink);
}

void ScaledCanvas::FillPolygon(const std::vector<Point>& points, Ink ink) {
    std::vector<Point> scaled;
    scaled.reserve(points.size());
    for (const Point& p : points) {
        scaled.push_back({ToDevice(p.x), ToDevice(p.y)});
    }
    m_device.FillPolygon(scaled, ink);
}

void ScaledCanvas::SetTextInk(Ink ink) {
    m_device.SetTextInk(ink);
}

InkBox ScaledCanvas::TextInkBox(const std::string& text) {
    const InkBox box = m_device.TextInkBox(text);
    return {FromDevice(box.left), FromDevice(box.top), FromDevice(box.right),
            FromDevice(box.bottom)};
}

}  // namespace velmaro
