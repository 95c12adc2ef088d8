#include "output/labels/current/NutritionTableLayout.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "output/labels/legacy/LabelRounding.h"
#include "storage/Cp1252.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

// Sizes in points.
constexpr long double kTitlePoints = 10;
constexpr long double kWordsPoints = 9;
constexpr long double kPadPoints = 2;
constexpr long double kRowGapPoints = 3;
constexpr long double kIndentPoints = 6;
constexpr long double kMarkGapPoints = 6;
// Ascent plus descent of Liberation Sans is 1.117 em; a little more keeps the em at or
// above the size asked for whatever the rounding.
constexpr long double kCellPerEm = 1.15L;

class Pen {
  public:
    Pen(Canvas& canvas, long double dpi, bool draw) : m_canvas(canvas), m_dpi(dpi), m_draw(draw) {}

    int Dots(long double points) const { return RoundToDots(points * m_dpi / 72); }
    int Font(long double points, bool bold) {
        FontSpec font;
        font.height = std::max(1, FontCellDots(points, m_dpi));
        font.bold = bold;
        m_canvas.SetFont(font);
        return font.height;
    }
    int Tw(const std::string& text) { return m_canvas.TextWidth(text); }
    void Text(int x, int y, const std::string& text) {
        if (m_draw && !text.empty()) {
            m_canvas.TextOut(x, y, text);
        }
    }
    void Centred(int a, int b, int y, const std::string& text) {
        Text(a + RoundToDots((b - a - Tw(text)) / 2.0L), y, text);
    }
    void Line(int x1, int y1, int x2, int y2) {
        if (m_draw) {
            m_canvas.MoveTo(x1, y1);
            m_canvas.LineTo(x2, y2);
        }
    }
    void Frame(int x1, int y1, int x2, int y2) {
        if (m_draw) {
            m_canvas.Rectangle(x1, y1, x2, y2);
        }
    }
    void Width(int dots) {
        if (m_draw) {
            m_canvas.SetPenWidth(std::max(1, dots));
        }
    }
    void Clear(int x1, int y1, int x2, int y2) {
        if (m_draw) {
            m_canvas.Clear(x1, y1, x2, y2);
        }
    }
    bool Drawing() const { return m_draw; }
    Pen Measuring() const { return Pen(m_canvas, m_dpi, false); }

  private:
    Canvas& m_canvas;
    long double m_dpi;
    bool m_draw;
};

// Words of `text` in lines no wider than `width` (a word wider than that on its own line).
std::vector<std::string> Wrap(Pen& pen, const std::string& text, int width) {
    return WrapWords(text, width, [&pen](const std::string& line) { return pen.Tw(line); });
}

// The incomplete words in a framed band across a picture from x1 to x2, its top at `top`
// (one line when they fit, else two); gives the band's height. The band is a row of its
// own, so it hides none of the values.
int IncompleteBand(Pen& pen, int x1, int x2, int top) {
    const int cell = pen.Font(kWordsPoints, true);
    const std::string whole = IncompleteWords();
    const int pad = pen.Dots(kPadPoints);
    std::vector<std::string> lines{whole};
    if (pen.Tw(whole) > x2 - x1 - 2 * pad) {
        const auto dash = whole.find(" \x96 ");
        lines = {whole.substr(0, dash + 2), whole.substr(dash + 3)};
    }
    const int bandHeight = static_cast<int>(lines.size()) * cell + 2 * pad;
    pen.Width(pen.Dots(1));
    pen.Frame(x1, top, x2 + 1, top + bandHeight + 1);
    pen.Width(1);
    for (size_t i = 0; i < lines.size(); ++i) {
        pen.Centred(x1, x2, top + pad + static_cast<int>(i) * cell, lines[i]);
    }
    return bandHeight;
}

PictureSize LayOutTable(Pen& pen, const NutritionTable& t, int x, int y, int minWidth) {
    const int pad = pen.Dots(kPadPoints);
    const int indent = pen.Dots(kIndentPoints);
    const std::string title = W("INFORMAÇÃO NUTRICIONAL");
    const std::string servings =
        t.servings.empty() ? std::string() : W("Porções por embalagem: ") + t.servings;
    const std::string portion = W("Porção: ") + t.portion;
    const std::string vdHead = "%VD*";
    const std::string footnote = W("*Percentual de valores diários fornecidos pela porção.");

    const int titleCell = pen.Font(kTitlePoints, true);
    const int titleWidth = pen.Tw(title);
    const int cell = pen.Font(kNutritionBodyPoints, false);
    const int rowHeight = cell + pen.Dots(kRowGapPoints);
    const int titleHeight = titleCell + pen.Dots(kRowGapPoints);

    int captionWidth = 0;
    int valueWidth = std::max({pen.Tw(t.per100Head), pen.Tw(t.portionHead), pen.Tw(vdHead)});
    for (int k = 0; k < rdc429::kRowCount; ++k) {
        const NutritionTableRow& row = t.rows[static_cast<size_t>(k)];
        captionWidth =
            std::max(captionWidth, rdc429::kRows[static_cast<size_t>(k)].indent * indent +
                                       pen.Tw(NutritionRowCaption(k)));
        valueWidth = std::max(
            {valueWidth, pen.Tw(row.per100), pen.Tw(row.perPortion), pen.Tw(row.dailyValue)});
    }
    captionWidth += 2 * pad;
    valueWidth += 2 * pad;
    int width = std::max({captionWidth + 3 * valueWidth, titleWidth + 2 * pad,
                          pen.Tw(servings) + 2 * pad, pen.Tw(portion) + 2 * pad, minWidth});
    captionWidth = width - 3 * valueWidth;
    const std::vector<std::string> notes = Wrap(pen, footnote, width - 2 * pad);

    Pen measure = pen.Measuring();
    const int band = t.incomplete ? IncompleteBand(measure, x, x + width, y) : 0;
    const int headRows = servings.empty() ? 1 : 2;
    const int tableTop = y + titleHeight + band + headRows * rowHeight;
    const int tableBottom = tableTop + (1 + rdc429::kRowCount) * rowHeight;
    const int height =
        tableBottom - y + static_cast<int>(notes.size()) * cell + pen.Dots(kRowGapPoints);
    if (!pen.Drawing()) {
        return {width, height};
    }

    const int textLift = (rowHeight - cell) / 2;
    pen.Width(1);
    pen.Frame(x, y, x + width + 1, y + height + 1);
    pen.Font(kTitlePoints, true);
    pen.Centred(x, x + width, y + (titleHeight - titleCell) / 2, title);
    pen.Width(pen.Dots(1));
    pen.Line(x, y + titleHeight, x + width, y + titleHeight);
    pen.Width(1);
    if (t.incomplete) {
        IncompleteBand(pen, x, x + width, y + titleHeight);
    }
    pen.Font(kNutritionBodyPoints, false);
    int yr = y + titleHeight + band;
    if (!servings.empty()) {
        pen.Text(x + pad, yr + textLift, servings);
        yr += rowHeight;
        pen.Line(x, yr, x + width, yr);
    }
    pen.Text(x + pad, yr + textLift, portion);
    yr += rowHeight;

    const int c1 = x + captionWidth;
    const int c2 = c1 + valueWidth;
    const int c3 = c2 + valueWidth;
    pen.Width(pen.Dots(1));
    pen.Line(x, yr, x + width, yr);
    pen.Width(1);
    pen.Centred(c1, c2, yr + textLift, t.per100Head);
    pen.Centred(c2, c3, yr + textLift, t.portionHead);
    pen.Centred(c3, x + width, yr + textLift, vdHead);
    for (int k = 0; k < rdc429::kRowCount; ++k) {
        yr += rowHeight;
        const NutritionTableRow& row = t.rows[static_cast<size_t>(k)];
        pen.Line(x, yr, x + width, yr);
        pen.Text(x + pad + rdc429::kRows[static_cast<size_t>(k)].indent * indent, yr + textLift,
                 NutritionRowCaption(k));
        pen.Centred(c1, c2, yr + textLift, row.per100);
        pen.Centred(c2, c3, yr + textLift, row.perPortion);
        pen.Centred(c3, x + width, yr + textLift, row.dailyValue);
    }
    for (const int xc : {c1, c2, c3}) {
        pen.Line(xc, tableTop, xc, tableBottom);
    }
    pen.Width(pen.Dots(1));
    pen.Line(x, tableBottom, x + width, tableBottom);
    pen.Width(1);
    int yn = tableBottom + pen.Dots(kRowGapPoints) / 2;
    for (const std::string& note : notes) {
        pen.Text(x + pad, yn, note);
        yn += cell;
    }
    return {width, height};
}

}  // namespace

int FontCellDots(long double points, long double dpi) {
    return static_cast<int>(std::ceil(points * kCellPerEm * dpi / 72 - 1e-9L));
}

std::string IncompleteWords() {
    return W("INCOMPLETO – NÃO USAR EM EMBALAGEM");
}

long double FittingDpi(Canvas& canvas, int width, int height,
                       const std::function<PictureSize(long double dpi)>& measure) {
    long double dpi = canvas.DotsPerInch();
    for (int i = 0; i < 40 && dpi > 1; ++i) {
        const PictureSize s = measure(dpi);
        if (s.width <= width && s.height <= height) {
            break;
        }
        const long double factor =
            std::min(static_cast<long double>(width) / std::max(1, s.width),
                     static_cast<long double>(height) / std::max(1, s.height));
        dpi *= std::min(0.98L, factor);
    }
    return dpi;
}

PictureSize DrawNutritionTable(Canvas& canvas, const NutritionTable& table, int x, int y,
                               long double dpi, int minWidth, bool draw) {
    Pen pen(canvas, dpi, draw);
    return LayOutTable(pen, table, x, y, minWidth);
}

PictureSize DrawNutritionLabel(Canvas& canvas, const NutritionTable& table, std::string_view name,
                               int x, int y, long double dpi, int usedWidth, bool draw) {
    Pen pen(canvas, dpi, draw);
    int top = y;
    int nameWidth = 0;
    if (!name.empty()) {
        const int cell = pen.Font(kNutritionBodyPoints, true);
        nameWidth = pen.Tw(std::string(name));
        pen.Text(x, y, std::string(name));
        top += cell + pen.Dots(kRowGapPoints);
    }
    const PictureSize mark = DrawHighInMark(canvas, table, 0, 0, dpi, false);
    const int gap = mark.width > 0 ? pen.Dots(kMarkGapPoints) : 0;
    const PictureSize tableSize =
        LayOutTable(pen, table, x, top, std::max(0, usedWidth - mark.width - gap));
    if (mark.width > 0) {
        DrawHighInMark(canvas, table, x + tableSize.width + gap, top, dpi, draw);
    }
    return {std::max(nameWidth, tableSize.width + gap + mark.width),
            top - y + std::max(tableSize.height, mark.height)};
}

void DrawNutritionTablePreview(Canvas& canvas, const NutritionTable& table, int width, int height) {
    canvas.Clear(0, 0, width, height);
    const long double dpi = FittingDpi(canvas, width, height, [&](long double d) {
        return DrawNutritionTable(canvas, table, 0, 0, d, 0, false);
    });
    const PictureSize s = DrawNutritionTable(canvas, table, 0, 0, dpi, 0, false);
    DrawNutritionTable(canvas, table, std::max(0, (width - s.width) / 2),
                       std::max(0, (height - s.height) / 2), dpi);
}

}  // namespace velmaro
