#include "output/labels/mark/HighInMark.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "output/labels/legacy/LabelRounding.h"
#include "output/labels/mark/FrontOfPack.h"
#include "storage/Cp1252.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

namespace r = frontofpack;

constexpr long double kPi = 3.14159265358979323846L;

// One module under the "ALTO EM" block.
struct Module {
    std::string words;
    bool judged;  // false: the limit could not be judged
};

std::vector<Module> Modules(const NutritionTable& t) {
    std::vector<Module> modules;
    for (const std::string& words : t.highIn) {
        modules.push_back({words, true});
    }
    for (const std::string& words : t.highInInconclusive) {
        modules.push_back({words, false});
    }
    return modules;
}

FontSpec MarkFont(long double dpi, long double part = 1) {
    FontSpec font;
    font.family = std::string(r::kFontFamily);
    font.bold = true;
    font.height = std::max(1, FontCellDots(r::kFontPoints * part, dpi));
    return font;
}

// The mark laid out in dots of the canvas, from its two measures.
class MarkPen {
  public:
    MarkPen(Canvas& canvas, long double dpi, bool draw)
        : m_canvas(canvas), m_draw(draw), m_measures(MeasureHighInMark(canvas, dpi)) {}

    long double Y() const { return m_measures.y; }
    long double Z() const { return m_measures.z; }
    int D(long double v) const { return RoundToDots(v); }

    void RoundRect(long double l, long double t, long double w, long double h, long double radius,
                   Ink ink) {
        if (m_draw) {
            m_canvas.FillRoundRect(D(l), D(t), D(l + w), D(t + h), D(radius), ink);
        }
    }
    void Circle(long double cx, long double cy, long double radius, Ink ink) {
        if (m_draw) {
            m_canvas.FillEllipse(D(cx - radius), D(cy - radius), D(cx + radius), D(cy + radius),
                                 ink);
        }
    }
    // A bar along the unit direction (dx, dy) from distance s0 to s1 of (cx, cy), `thick`
    // across.
    void Bar(long double cx, long double cy, long double dx, long double dy, long double s0,
             long double s1, long double thick, Ink ink) {
        if (!m_draw) {
            return;
        }
        const long double px = -dy * thick / 2;
        const long double py = dx * thick / 2;
        const long double ax = cx + dx * s0;
        const long double ay = cy + dy * s0;
        const long double bx = cx + dx * s1;
        const long double by = cy + dy * s1;
        m_canvas.FillPolygon({{D(ax + px), D(ay + py)},
                              {D(bx + px), D(by + py)},
                              {D(bx - px), D(by - py)},
                              {D(ax - px), D(ay - py)}},
                             ink);
    }
    // A text placed by its ink: its left at `left`, its capitals'
    // top at `capTop`.
    void Text(long double left, long double capTop, const std::string& text, Ink ink) {
        if (!m_draw) {
            return;
        }
        const InkBox a = m_canvas.TextInkBox("A");
        const InkBox box = m_canvas.TextInkBox(text);
        m_canvas.SetTextInk(ink);
        m_canvas.TextOut(D(left) - box.left, D(capTop) - a.top, text);
        m_canvas.SetTextInk(Ink::Black);
    }
    long double InkWidth(const std::string& text) { return m_canvas.TextInkBox(text).Width(); }

  private:
    Canvas& m_canvas;
    bool m_draw;
    HighInMarkMeasures m_measures;
};

// The glass: the ring on top, the neck and the handle down to the left, the axis tilted
// from the vertical; its ink's left at `left`, its height centred on `middle`.
void Glass(MarkPen& pen, long double left, long double middle) {
    const long double Y = pen.Y();
    const long double Z = pen.Z();
    const long double tilt = r::kGlassTiltDegrees * kPi / 180;
    const long double dx = -std::sin(tilt);
    const long double dy = std::cos(tilt);
    const long double ring = r::kRingDiameterY * Y / 2;
    const long double neckEnd = ring + r::kNeckLengthZ * Z;
    const long double handleEnd = neckEnd + r::kHandleLengthY * Y;
    const long double cap = r::kHandleThicknessZ * Z / 2;  // the radius of its rounded ends
    // The centres of the handle's two rounded ends, along the axis.
    const long double tip = handleEnd - cap;
    const long double start = std::min(neckEnd + cap, tip);
    // Where the parts reach, from the ring's centre.
    const long double tipX = dx * tip;
    const long double tipY = dy * tip;
    const long double minX = std::min(-ring, tipX - cap);
    const long double minY = -ring;
    const long double maxY = std::max(ring, tipY + cap);
    const long double cx = left - minX;
    const long double cy = middle - (minY + maxY) / 2;

    pen.Circle(cx, cy, ring, Ink::Black);
    if (ring > r::kRingThicknessZ * Z) {
        pen.Circle(cx, cy, ring - r::kRingThicknessZ * Z, Ink::White);
    }
    // The neck starts inside the ring's band so the two meet without a gap.
    pen.Bar(cx, cy, dx, dy, ring - r::kRingThicknessZ * Z / 2, start, r::kNeckThicknessZ * Z,
            Ink::Black);
    pen.Bar(cx, cy, dx, dy, start, tip, 2 * cap, Ink::Black);
    pen.Circle(cx + dx * start, cy + dy * start, cap, Ink::Black);
    pen.Circle(cx + tipX, cy + tipY, cap, Ink::Black);
}

// The lines of a nutrient's name in a module (two for "AÇÚCAR ADICIONADO"); a limit not
// judged has a "?" after the first.
std::vector<std::string> ModuleLines(MarkPen& pen, const Module& m, long double width) {
    std::vector<std::string> lines =
        WrapWords(m.words, static_cast<int>(width),
                  [&pen](const std::string& line) { return static_cast<int>(pen.InkWidth(line)); });
    if (!m.judged && !lines.empty()) {
        lines.front() += " ?";
    }
    return lines;
}

PictureSize LayOutMark(Canvas& canvas, const NutritionTable& t, int x, int y, long double dpi,
                       bool draw) {
    if (!HasHighInMark(t)) {
        return {};
    }
    const std::vector<Module> modules = Modules(t);
    MarkPen pen(canvas, dpi, draw);
    const long double Y = pen.Y();
    const long double Z = pen.Z();
    const long double border = r::kBorderZ * Z;
    const long double margin = r::kMarginZ * Z;
    const long double gap = r::kBlockGapZ * Z;
    const long double moduleW = r::kModuleWidthY * Y;
    const long double moduleH = r::kModuleHeightY * Y;
    const long double corner = r::kModuleCornerY * Y;

    // The words of an incomplete mark, smaller, in as many lines as the width needs: only
    // when a limit could not be judged. A mark whose limits are all reached by the known
    // part is right whatever is missing (the table still says it is incomplete).
    std::vector<std::string> words;
    long double wordsCell = 0;
    if (!t.highInInconclusive.empty()) {
        canvas.SetFont(MarkFont(dpi, r::kWordsFontPart));
        wordsCell = canvas.TextHeight(IncompleteWords());
        words = WrapWords(IncompleteWords(), static_cast<int>(moduleW),
                          [&canvas](const std::string& line) { return canvas.TextWidth(line); });
    }
    const long double band =
        words.empty() ? 0 : gap + static_cast<long double>(words.size()) * wordsCell;
    const auto n = static_cast<long double>(modules.size());
    const long double width = 2 * (border + margin) + moduleW;
    const long double height = 2 * (border + margin) + (n + 1) * moduleH + n * gap + band;
    const PictureSize size{pen.D(width), pen.D(height)};
    if (!draw) {
        return size;
    }

    const long double outer = corner + margin + border;
    pen.RoundRect(x, y, width, height, outer, Ink::Black);
    pen.RoundRect(x + border, y + border, width - 2 * border, height - 2 * border, outer - border,
                  Ink::White);
    const long double left = x + border + margin;
    long double top = y + border + margin;

    // "ALTO EM": black on white, its capitals centred in the block, ending short of its right.
    canvas.SetFont(MarkFont(dpi));
    const std::string title = "ALTO EM";
    pen.Text(left + moduleW - r::kTitleRightZ * Z - pen.InkWidth(title), top + (moduleH - Y) / 2,
             title, Ink::Black);
    Glass(pen, left + r::kGlassLeftZ * Z, top + moduleH / 2);

    for (const Module& m : modules) {
        top += moduleH + gap;
        if (m.judged) {
            pen.RoundRect(left, top, moduleW, moduleH, corner, Ink::Black);
        } else {
            pen.RoundRect(left, top, moduleW, moduleH, corner, Ink::Black);
            pen.RoundRect(left + border, top + border, moduleW - 2 * border, moduleH - 2 * border,
                          corner - border, Ink::White);
        }
        // A name whose longest line would come nearer than 2Z to the module's sides is
        // written smaller, and its lines spaced by half its capitals.
        canvas.SetFont(MarkFont(dpi));
        const long double inner = moduleW - 4 * Z;
        const std::vector<std::string> lines = ModuleLines(pen, m, inner);
        long double widest = 0;
        for (const std::string& line : lines) {
            widest = std::max(widest, pen.InkWidth(line));
        }
        if (widest > inner) {
            canvas.SetFont(MarkFont(dpi, inner / widest));
        }
        const long double cap = std::max(1, canvas.TextInkBox("A").Height());
        const long double gapBetween = r::kLineGapY * cap;
        const auto k = static_cast<long double>(lines.size());
        long double capTop = top + (moduleH - (k * cap + (k - 1) * gapBetween)) / 2;
        for (const std::string& line : lines) {
            pen.Text(left + (moduleW - pen.InkWidth(line)) / 2, capTop, line,
                     m.judged ? Ink::White : Ink::Black);
            capTop += cap + gapBetween;
        }
    }
    if (!words.empty()) {
        canvas.SetFont(MarkFont(dpi, r::kWordsFontPart));
        long double line = top + moduleH + gap;
        for (const std::string& w : words) {
            canvas.TextOut(pen.D(left + (moduleW - canvas.TextWidth(w)) / 2), pen.D(line), w);
            line += wordsCell;
        }
    }
    return size;
}

}  // namespace

HighInMarkMeasures MeasureHighInMark(Canvas& canvas, long double dpi) {
    canvas.SetFont(MarkFont(dpi));
    return {std::max(1, canvas.TextInkBox("A").Height()),
            std::max(1, canvas.TextInkBox("I").Width())};
}

bool HasHighInMark(const NutritionTable& table) {
    return table.frontOfPackForbidden == 0 &&
           (!table.highIn.empty() || !table.highInInconclusive.empty());
}

PictureSize DrawHighInMark(Canvas& canvas, const NutritionTable& table, int x, int y,
                           long double dpi, bool draw) {
    return LayOutMark(canvas, table, x, y, dpi, draw);
}

void DrawHighInMarkPreview(Canvas& canvas, const NutritionTable& table, int width, int height) {
    canvas.Clear(0, 0, width, height);
    if (!HasHighInMark(table)) {
        return;
    }
    const long double dpi = FittingDpi(canvas, width, height, [&](long double d) {
        return DrawHighInMark(canvas, table, 0, 0, d, false);
    });
    const PictureSize s = DrawHighInMark(canvas, table, 0, 0, dpi, false);
    DrawHighInMark(canvas, table, std::max(0, (width - s.width) / 2),
                   std::max(0, (height - s.height) / 2), dpi);
}

}  // namespace velmaro
