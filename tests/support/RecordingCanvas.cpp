#include "support/RecordingCanvas.h"

namespace velmaro::test {

namespace {
std::string N(int v) { return std::to_string(v); }
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

void RecordingCanvas::SetPenWidth(int width) { Record("Pen " + N(width)); }

void RecordingCanvas::MoveTo(int x, int y) { Record("MoveTo " + N(x) + "," + N(y)); }

void RecordingCanvas::LineTo(int x, int y) { Record("LineTo " + N(x) + "," + N(y)); }

void RecordingCanvas::Rectangle(int left, int top, int right, int bottom) {
    Record("Rect " + N(left) + "," + N(top) + "," + N(right) + "," + N(bottom));
}

void RecordingCanvas::Clear(int left, int top, int right, int bottom) {
    Record("Clear " + N(left) + "," + N(top) + "," + N(right) + "," + N(bottom));
}

}  // namespace velmaro::test
