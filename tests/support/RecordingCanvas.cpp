#include "support/RecordingCanvas.h"

namespace velmaro::test {

namespace {
std::string N(int v) {
    return std::to_string(v);
}
std::string InkName(Ink ink) {
    return ink == Ink::White ? "white" : "black";
}
}  // namespace

void RecordingCanvas::SetFont(const FontSpec& f) {
    font = f;
    const std::string size = f.height > 0 ? "h" + N(f.height) : N(f.size);
    Record("Font " + f.family + " " + size + (f.bold ? " bold" : ""));
}

int RecordingCanvas::TextHeight(const std::string&) {
    return font.height > 0 ? font.height : font.size * m_dpi / 72;
}

int RecordingCanvas::TextWidth(const std::string& text) {
    if (font.height > 0) {
        return static_cast<int>(text.size()) * font.height / 2;
    }
    return static_cast<int>(text.size()) * font.size * m_dpi / 144;
}

void RecordingCanvas::TextOut(int x, int y, const std::string& text) {
    Record("Text " + N(x) + "," + N(y) + " " + text);
}

void RecordingCanvas::SetPenWidth(int width) {
    Record("Pen " + N(width));
}

void RecordingCanvas::MoveTo(int x, int y) {
    Record("MoveTo " + N(x) + "," + N(y));
}

void RecordingCanvas::LineTo(int x, int y) {
    Record("LineTo " + N(x) + "," + N(y));
}

void RecordingCanvas::Rectangle(int left, int top, int right, int bottom) {
    Record("Rect " + N(left) + "," + N(top) + "," + N(right) + "," + N(bottom));
}

void RecordingCanvas::Clear(int left, int top, int right, int bottom) {
    Record("Clear " + N(left) + "," + N(top) + "," + N(right) + "," + N(bottom));
}

void RecordingCanvas::FillRoundRect(int left, int top, int right, int bottom, int radius, Ink ink) {
    Record("RoundRect " + N(left) + "," + N(top) + "," + N(right) + "," + N(bottom) +
           " r=" + N(radius) + " " + InkName(ink));
}

void RecordingCanvas::FillEllipse(int left, int top, int right, int bottom, Ink ink) {
    Record("Ellipse " + N(left) + "," + N(top) + "," + N(right) + "," + N(bottom) + " " +
           InkName(ink));
}

void RecordingCanvas::FillPolygon(const std::vector<Point>& points, Ink ink) {
    std::string call = "Polygon";
    for (const Point& p : points) {
        call += " " + N(p.x) + "," + N(p.y);
    }
    Record(call + " " + InkName(ink));
}

void RecordingCanvas::SetTextInk(Ink ink) {
    Record("TextInk " + InkName(ink));
}

InkBox RecordingCanvas::TextInkBox(const std::string& text) {
    const int w = TextWidth(text);
    const int h = TextHeight(text);
    return {w / 6, h / 4, w - w / 6, h - h / 4};
}

}  // namespace velmaro::test
