#include "output/labels/legacy/LabelLayouts.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "output/labels/current/NutritionTableLayout.h"
#include "output/labels/legacy/LabelRounding.h"
#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "storage/PreparationRecord.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

// Defaults of the drawing for absent geometry keys.
constexpr int kDefaultResolution = 300;
constexpr double kDefaultLabelMm = 67;
constexpr double kDefaultSpacingMm = 5;
constexpr int kDefaultLabelCount = 5;
constexpr int kDefaultUsedPercent = 95;

// Label origins beyond this many dots from the page origin are never drawn, so that every
// coordinate of a label stays well inside an int.
constexpr long long kOriginLimit = 1LL << 26;

int R(long double x) {
    return RoundToDots(x);
}

int Percent(const IniFile& file, std::string_view key) {
    const long long v = file.ReadInteger(kLabelSheetSection, key, kDefaultUsedPercent);
    return static_cast<int>(std::clamp(v, -100000LL, 100000LL));
}

long double Millimetres(const IniFile& file, std::string_view key, double def) {
    return file.ReadFloat(kLabelSheetSection, key, def);
}

long long FloorDiv(long long a, long long b) {  // b > 0
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

long long CeilDiv(long long a, long long b) {  // b > 0
    return -FloorDiv(-a, b);
}

// The indexes k in [0, count) with lo <= origin + k * step <= hi, as [first, last]
// (first > last when there is none).
std::pair<long long, long long> IndexRange(long long origin, long long step, long long count,
                                           long long lo, long long hi) {
    if (count <= 0 || lo > hi) {
        return {0, -1};
    }
    long long first = 0;
    long long last = count - 1;
    if (step == 0) {
        return origin >= lo && origin <= hi ? std::pair{first, last} : std::pair{0LL, -1LL};
    }
    if (step > 0) {
        first = std::max(first, CeilDiv(lo - origin, step));
        last = std::min(last, FloorDiv(hi - origin, step));
    } else {
        first = std::max(first, CeilDiv(origin - hi, -step));
        last = std::min(last, FloorDiv(origin - lo, -step));
    }
    return {first, last};
}

// The drawing primitives of the layouts, with the canvas conventions of the labels.
class Painter {
  public:
    explicit Painter(Canvas& canvas) : m_canvas(canvas) {}

    void Font(int height, bool bold) {
        FontSpec font;
        font.height = std::max(1, height);
        font.bold = bold;
        m_canvas.SetFont(font);
    }
    int Tw(const std::string& text) { return m_canvas.TextWidth(text); }

    // Sets the font to the largest height from `height` down to the least legible one (4
    // points at the canvas' resolution) at which `widthAt(h)`, the width of what is drawn at
    // height h, stays within `room`: the layout's own size wherever it fits. Below the least
    // height nothing is shrunk; the fit check of the sheet then tells that the label does not
    // fit. The texts keep within their rows at every height up to the layout's own. `key`
    // names what is measured: the answer is the same for every label of a sheet.
    template <typename WidthAt>
    int FitFont(int height, bool bold, int room, const std::string& key, WidthAt widthAt) {
        const auto cached = m_fitted.find({height, bold, room, key});
        if (cached != m_fitted.end()) {
            Font(cached->second, bold);
            return cached->second;
        }
        const int least = std::max(1, R(4.0L * m_canvas.DotsPerInch() / 72));
        int fitted = std::max(1, height);
        if (fitted > least && widthAt(fitted) > room) {
            // The widths grow with the height: the largest height that fits lies in
            // [least, fitted - 1], or there is none and the least one stays.
            int lo = least;
            int hi = fitted - 1;
            fitted = least;
            while (lo <= hi) {
                const int mid = lo + (hi - lo) / 2;
                if (widthAt(mid) <= room) {
                    fitted = mid;
                    lo = mid + 1;
                } else {
                    hi = mid - 1;
                }
            }
        }
        m_fitted.emplace(std::tuple{height, bold, room, key}, fitted);
        Font(fitted, bold);
        return fitted;
    }
    // The same for texts drawn side by side in one font: their widths together within `room`.
    int FitFont(int height, bool bold, int room, std::initializer_list<std::string> texts) {
        std::string key;
        for (const std::string& text : texts) {
            key += text + '\x1f';
        }
        return FitFont(height, bold, room, key, [&](int h) {
            Font(h, bold);
            int width = 0;
            for (const std::string& text : texts) {
                width += Tw(text);
            }
            return width;
        });
    }
    void Text(int x, int y, const std::string& text) {
        if (!text.empty()) {
            m_canvas.TextOut(x, y, text);
        }
    }
    // Centred in [a, b] of a label at x.
    void Centred(int x, int a, int b, int y, const std::string& text) {
        Text(x + a + R((b - a - Tw(text)) / 2.0L), y, text);
    }
    void Line(int x1, int y1, int x2, int y2) {
        m_canvas.MoveTo(x1, y1);
        m_canvas.LineTo(x2, y2);
    }
    void Frame(int x1, int y1, int x2, int y2) { m_canvas.Rectangle(x1, y1, x2, y2); }

  private:
    Canvas& m_canvas;
    std::map<std::tuple<int, bool, int, std::string>, int> m_fitted;
};

const std::string& Caption(const LabelContent& c, int k) {
    return c.captions[static_cast<size_t>(k - 1)];
}
const std::string& Value(const LabelContent& c, int k) {
    return c.values[static_cast<size_t>(k - 1)];
}
const std::string& Daily(const LabelContent& c, int k) {
    return c.dailyValues[static_cast<size_t>(k - 1)];
}

struct Fixed {
    std::string title = W("INFORMAÇÃO NUTRICIONAL");
    std::string information = W("INFORMAÇÃO");
    std::string nutritional = "NUTRICIONAL";
    std::string portionOf = W("Porção de ");
    std::string portion = W("Porção");
    std::string footnoteTop = W("* Valores diários de referência com base");
    std::string footnoteWhole =
        W("* Valores diários de referência com base em uma dieta de 2500 calorias");
    std::string footnoteLinear =
        W("*Valores diários de referência com base em uma dieta de 2500 calorias.");
    std::string footnoteShortMeasured = W("*Val.diários de ref.com base em dieta de 2500 caloria");
    std::string footnoteShort = W("*Val.diários de ref.com base em dieta de 2500 cal.");
};

const Fixed& Texts() {
    static const Fixed fixed;
    return fixed;
}

// The room between two lines `a` and `b` dots apart for a text centred between them.
int CentredRoom(int a, int b, int pad) {
    return b - a - 2 * pad;
}

// How far down a text shrunk from `height` to `fitted` goes to stay centred on its row.
int Drop(int height, int fitted) {
    return (height - fitted) / 2;
}

// The gap a text keeps from the lines around it.
int Pad(int height) {
    return std::max(1, R(0.05L * height));
}

// The footnote of layouts 2 and 4 on two lines of `height`, as wide as the label's usable
// `width` allows.
void TwoLineFootnote(Painter& p, int x, int y, int height, int width) {
    const int h = p.FitFont(height, false, width, {Texts().footnoteTop});
    p.Text(x, y, Texts().footnoteTop);
    p.Text(x, y + h, "  em uma dieta de 2500 calorias");
}

// Layout 1, "Modelo Vertical": a title block of two rows over eleven table rows.
void DrawVertical(Painter& p, const LabelContent& c, const LabelPlacement& pl, int x, int y,
                  bool withName) {
    const int s = pl.rowHeight;
    const int w = pl.usedWidth;
    const int q = R(w / 4.0L);
    const int f9 = R(0.9L * s);
    const int f8 = R(0.8L * s);
    const int pad = Pad(f8);
    const int indent = R(0.15L * f8);
    if (withName) {
        const std::string name = c.name.size() >= 38 ? c.name.substr(0, 37) : c.name;
        p.FitFont(f8, true, w, {name});
        p.Centred(x, 0, w, y - s, name);
    }
    p.Frame(x, y, x + w, y + 13 * s + 2);
    int h = p.FitFont(f8, true, CentredRoom(0, w, pad), {Texts().title});
    p.Centred(x, 0, w, y + R(0.1L * f9) + Drop(f8, h), Texts().title);
    const std::string portion = Texts().portionOf + c.portionSize + c.unit + c.measure;
    h = p.FitFont(f8, false, CentredRoom(0, w, pad), {portion});
    p.Centred(x, 0, w, y + R(1.1L * f9) + Drop(f8, h), portion);
    p.Line(x + 2 * q, y + 3 * s, x + 2 * q, y + 13 * s + 2);
    p.Line(x + 3 * q, y + 2 * s, x + 3 * q, y + 13 * s + 2);
    for (int k = 1; k <= kLabelRowSize; ++k) {
        const int yk = y + 2 * s + (k - 1) * s;
        p.Line(x, yk, x + w, yk);
        // The heading row has no line between the captions and the amounts.
        const int captionEnd = k == 1 ? 3 * q : 2 * q;
        h = p.FitFont(f8, false, captionEnd - indent - pad, {Caption(c, k)});
        p.Text(x + indent, yk + R(0.15L * f8) + Drop(f8, h), Caption(c, k));
        if (k >= 2) {
            const std::string& v = Value(c, k);
            h = p.FitFont(f8, false, CentredRoom(2 * q, 3 * q, pad), {v});
            p.Text(x + R(0.625L * w - 0.5L * p.Tw(v)), yk + R(0.1L * f8) + Drop(f8, h), v);
        }
        const std::string& d = Daily(c, k);
        h = p.FitFont(f8, false, CentredRoom(3 * q, w, pad), {d});
        p.Text(x + R(0.875L * w - 0.5L * p.Tw(d)), yk + R(0.1L * f8) + Drop(f8, h), d);
    }
    p.FitFont(f8, false, w, {Texts().footnoteTop});
    p.Text(x, y + 13 * s + 4, Texts().footnoteTop);
    p.Text(x, y + 14 * s + 4, "   em uma dieta de 2500 calorias");
}

// Layout 2, "Modelo Horizontal": a title block three units wide and two tables of five
// nutrients side by side.
void DrawHorizontal(Painter& p, const LabelContent& c, const LabelPlacement& pl, int x, int y,
                    bool withName) {
    const int r = pl.rowHeight;
    const int w = pl.usedWidth;
    const int u = R(w / 13.0L);
    const int f8 = R(0.8L * r);
    const int f7 = R(0.7L * r);
    const int pad = Pad(f8);
    const int indent = R(0.15L * f8);
    const int trail = R(0.1L * f8);
    if (withName) {
        p.FitFont(f8, true, w, {c.name});
        p.Centred(x, 0, w, y - r, c.name);
    }
    p.Frame(x, y, x + 13 * u + 1, y + 6 * r + 1);
    for (const auto& [text, row] :
         {std::pair{&Texts().information, 1}, {&Texts().nutritional, 2}}) {
        const int h = p.FitFont(f7, true, CentredRoom(0, 3 * u, pad), {*text});
        p.Centred(x, 0, 3 * u, y + row * r + R(0.1L * f8) + Drop(f7, h), *text);
    }
    p.Line(x + 3 * u, y + r, x + 13 * u, y + r);

    const int yh = y + R(0.1L * r);
    const std::string& head = Caption(c, 1);
    const std::string vd = "VD*";
    int h = p.FitFont(f8, false, CentredRoom(3 * u, R(7.5L * u), pad), {head});
    p.Text(x + 3 * u + R((4.5L * u - p.Tw(head)) / 2), yh + Drop(f8, h), head);
    h = p.FitFont(f8, false, CentredRoom(R(7.5L * u), R(8.5L * u), pad), {vd});
    p.Text(x + R((u - 1 - p.Tw(vd)) / 2.0L + 7.5L * u), yh + Drop(f8, h), vd);
    h = p.FitFont(f8, false, CentredRoom(R(8.5L * u), 12 * u, pad), {head});
    p.Text(x + R((3.5L * u - p.Tw(head)) / 2 + 8.5L * u), yh + Drop(f8, h), head);
    h = p.FitFont(f8, false, CentredRoom(12 * u, 13 * u, pad), {vd});
    p.Text(x + 12 * u + R((u - 1 - p.Tw(vd)) / 2.0L), yh + Drop(f8, h), vd);

    p.Font(f8, false);
    if (p.Tw(Texts().footnoteWhole) < w) {
        p.Text(x, y + 6 * r + 2, Texts().footnoteWhole);
    } else {
        TwoLineFootnote(p, x, y + 6 * r + 2, f8, w);
    }

    const std::string sizeAndUnit = c.portionSize + c.unit;
    const int lift = R(1.1L * f8);
    const auto portionLine = [&](int row, const std::string& text) {
        const int fitted = p.FitFont(f8, false, CentredRoom(0, 3 * u, pad), {text});
        p.Centred(x, 0, 3 * u, y + row * r + lift + Drop(f8, fitted), text);
    };
    p.Font(f8, false);
    if (3 * u < p.Tw(Texts().portionOf + sizeAndUnit)) {
        portionLine(2, Texts().portion);
        portionLine(3, "de " + sizeAndUnit);
    } else {
        portionLine(3, Texts().portionOf + sizeAndUnit);
    }
    portionLine(4, c.measure);

    for (const int xl : {x + 3 * u, x + R(7.5L * u), x + R(8.5L * u), x + 12 * u}) {
        p.Line(xl, y, xl, y + 6 * r + 1);
    }
    for (int i = 1; i <= 4; ++i) {
        p.Line(x + 3 * u, y + r + i * r, x + 13 * u, y + r + i * r);
    }
    // A caption and its amount share a cell: the caption at its left, the amount at its right,
    // a space apart at least.
    const int space = R(0.3L * f8);
    const int leftCell = R(7.5L * u) - 3 * u - indent - trail - space;
    const int rightCell = 12 * u - R(8.5L * u) - indent - trail - space;
    for (int j = 2; j <= 6; ++j) {
        const int yj = y + (j - 1) * r + R(0.1L * f8);
        h = p.FitFont(f8, false, leftCell, {Caption(c, j), Value(c, j)});
        p.Text(x + 3 * u + indent, yj + Drop(f8, h), Caption(c, j));
        p.Text(x + R(7.5L * u - 0.1L * f8 - p.Tw(Value(c, j))), yj + Drop(f8, h), Value(c, j));
        h = p.FitFont(f8, false, CentredRoom(R(7.5L * u), R(8.5L * u), pad), {Daily(c, j)});
        p.Text(x + R((u - p.Tw(Daily(c, j))) / 2.0L + 7.5L * u), yj + Drop(f8, h), Daily(c, j));
        h = p.FitFont(f8, false, rightCell, {Caption(c, j + 5), Value(c, j + 5)});
        p.Text(x + R(8.5L * u + 0.15L * f8), yj + Drop(f8, h), Caption(c, j + 5));
        p.Text(x + R(12.0L * u - 0.1L * f8 - p.Tw(Value(c, j + 5))), yj + Drop(f8, h),
               Value(c, j + 5));
        h = p.FitFont(f8, false, CentredRoom(12 * u, 13 * u, pad), {Daily(c, j + 5)});
        p.Text(x + 12 * u + R((u - p.Tw(Daily(c, j + 5))) / 2.0L), yj + Drop(f8, h),
               Daily(c, j + 5));
    }
}

// Layout 3, "Modelo Linear": running text without frame or lines, with fixed nutrient
// words in place of the captions.
void DrawLinear(Painter& p, const LabelContent& c, const LabelPlacement& pl, int x, int y,
                bool withName) {
    const int r = pl.rowHeight;
    const int w = pl.usedWidth;
    const int f9 = R(0.9L * r);
    const int f8 = R(0.8L * r);
    if (withName) {
        p.FitFont(f9, false, w, {c.name});
        p.Centred(x, 0, w, y - r, c.name);
    }
    // The bold title and the portion after it on one line, shrunk together.
    const std::string portion = " " + Texts().portionOf + c.portionSize + c.unit + c.measure + ";";
    const auto portionHeight = [&](int titleHeight) { return R(1.0L * titleHeight * f9 / f8); };
    const int h8 = p.FitFont(f8, true, w, "linear title" + portion, [&](int h) {
        p.Font(h, true);
        const int title = p.Tw(Texts().title);
        p.Font(portionHeight(h), false);
        return title + p.Tw(portion);
    });
    const int h9 = portionHeight(h8);
    p.Text(x, y + R(0.15L * h8) + Drop(f9, h9), Texts().title);
    const int wt = p.Tw(Texts().title);
    p.Font(h9, false);
    p.Text(x + wt, y + Drop(f9, h9), portion);

    const auto v = [&c](int k) { return RemoveSpaces(Value(c, k)); };
    const auto d = [&c](int k) { return RemoveSpaces(Daily(c, k)); };
    const auto item = [&](std::string_view word, int k) {
        return W(word) + v(k) + " (" + d(k) + "); ";
    };
    const std::string lines[] = {
        "Caloria " + v(2) + " (" + d(2) + "*);" + item("Carboidrato ", 3) + item("Proteína ", 4),
        item("Gord.Total ", 5) + item("Gord.Saturada ", 6) + item("Colesterol ", 7),
        item("Fibra ", 8) + item("Cálcio ", 9) + item("Ferro ", 10) + item("Sódio ", 11)};
    for (int i = 0; i < 3; ++i) {
        const int h = p.FitFont(f9, false, w, {lines[i]});
        p.Text(x, y + (i + 1) * r + Drop(f9, h), lines[i]);
    }
    const int h = p.FitFont(f8, false, w, {Texts().footnoteLinear});
    p.Text(x, y + 4 * r + Drop(f8, h), Texts().footnoteLinear);
}

// Layout 4, "Personalizado": a one-row title across the top over a header row and two
// tables of five nutrients side by side.
void DrawCustom(Painter& p, const LabelContent& c, const LabelPlacement& pl, int x, int y,
                bool withName) {
    const int e = pl.rowHeight;
    const int w = pl.usedWidth;
    const int t = R(w / 10.0L);
    const int f8 = R(0.8L * e);
    const int pad = Pad(f8);
    const int indent = R(0.15L * f8);
    const int trail = R(0.1L * f8);
    if (withName) {
        p.FitFont(f8, true, w, {c.name});
        p.Centred(x, 0, w, y - e, c.name);
    }
    p.Frame(x, y, x + 10 * t + 1, y + 7 * e + 1);
    const std::string title =
        Texts().title + "   " + Texts().portionOf + c.portionSize + c.unit + c.measure;
    int h = p.FitFont(f8, true, CentredRoom(0, w, pad), {title});
    p.Centred(x, 0, w, y + R(0.1L * f8) + Drop(f8, h), title);

    const int yh = y + e + R(0.1L * e);
    const std::string vd = "VD*";
    h = p.FitFont(f8, false, CentredRoom(0, 4 * t, pad), {Caption(c, 1)});
    p.Centred(x, 0, 4 * t, yh + Drop(f8, h), Caption(c, 1));
    p.Centred(x, 5 * t, 9 * t, yh + Drop(f8, h), Caption(c, 1));
    h = p.FitFont(f8, false, CentredRoom(4 * t, 5 * t, pad), {vd});
    p.Centred(x, 4 * t, 5 * t, yh + Drop(f8, h), vd);
    p.Centred(x, 9 * t, 10 * t, yh + Drop(f8, h), vd);

    p.Font(f8, false);
    if (p.Tw(Texts().footnoteShortMeasured) < w) {
        p.FitFont(f8, false, w, {Texts().footnoteShort});
        p.Text(x, y + 7 * e + 2, Texts().footnoteShort);
    } else {
        TwoLineFootnote(p, x, y + 7 * e + 2, f8, w);
    }

    for (const int xl : {x + 4 * t, x + 5 * t, x + 9 * t, x + 10 * t}) {
        p.Line(xl, y + e, xl, y + 7 * e + 1);
    }
    for (int i = 0; i <= 5; ++i) {
        p.Line(x, y + e + i * e, x + 10 * t, y + e + i * e);
    }
    // A caption and its amount share a cell: the caption at its left, the amount at its right,
    // a space apart at least.
    const int cell = 4 * t - indent - trail - R(0.3L * f8);
    for (int j = 2; j <= 6; ++j) {
        const int yj = y + j * e + R(0.1L * f8);
        h = p.FitFont(f8, false, cell, {Caption(c, j), Value(c, j)});
        p.Text(x + indent, yj + Drop(f8, h), Caption(c, j));
        p.Text(x + 3 * t + R(t - 0.1L * f8 - p.Tw(Value(c, j))), yj + Drop(f8, h), Value(c, j));
        h = p.FitFont(f8, false, CentredRoom(4 * t, 5 * t, pad), {Daily(c, j)});
        p.Centred(x, 4 * t, 5 * t, yj + Drop(f8, h), Daily(c, j));
        h = p.FitFont(f8, false, cell, {Caption(c, j + 5), Value(c, j + 5)});
        p.Text(x + 5 * t + indent, yj + Drop(f8, h), Caption(c, j + 5));
        p.Text(x + 8 * t + R(t - 0.1L * f8 - p.Tw(Value(c, j + 5))), yj + Drop(f8, h),
               Value(c, j + 5));
        h = p.FitFont(f8, false, CentredRoom(9 * t, 10 * t, pad), {Daily(c, j + 5)});
        p.Centred(x, 9 * t, 10 * t, yj + Drop(f8, h), Daily(c, j + 5));
    }
}

// Where a label's texts fall, with the text metrics of another canvas: what the fit
// check looks at.
class LayoutRecorder : public Canvas {
  public:
    struct Box {
        long long left, top, right, bottom;  // right and bottom exclusive
    };

    explicit LayoutRecorder(Canvas& measure) : m_measure(measure) {}

    int DotsPerInch() const override { return m_measure.DotsPerInch(); }
    void SetFont(const FontSpec& font) override { m_measure.SetFont(font); }
    int TextWidth(const std::string& text) override { return m_measure.TextWidth(text); }
    int TextHeight(const std::string& text) override { return m_measure.TextHeight(text); }
    void TextOut(int x, int y, const std::string& text) override {
        const int w = TextWidth(text);
        const int h = TextHeight(text);
        if (w > 0 && h > 0) {
            texts.push_back({x, y, static_cast<long long>(x) + w, static_cast<long long>(y) + h});
        }
    }
    void SetPenWidth(int) override {}
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void Rectangle(int, int, int, int) override {}
    void Clear(int, int, int, int) override {}
    void FillRoundRect(int, int, int, int, int, Ink) override {}
    void FillEllipse(int, int, int, int, Ink) override {}
    void FillPolygon(const std::vector<Point>&, Ink) override {}
    void SetTextInk(Ink) override {}
    InkBox TextInkBox(const std::string& text) override { return m_measure.TextInkBox(text); }

    std::vector<Box> texts;

  private:
    Canvas& m_measure;
};

bool Overlap(const LayoutRecorder::Box& a, const LayoutRecorder::Box& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

LabelGeometry SheetGeometry(const IniFile& labelFile) {
    LabelGeometry g;
    const auto& f = labelFile;
    const auto s = kLabelSheetSection;
    g.resolution = f.ReadInteger(s, "ResImp", kDefaultResolution);
    g.labelWidth = MmToDots(Millimetres(f, "LarEti", kDefaultLabelMm), g.resolution);
    g.labelHeight = MmToDots(Millimetres(f, "AltEti", kDefaultLabelMm), g.resolution);
    g.left = MmToDots(Millimetres(f, "MarEsq", kDefaultSpacingMm), g.resolution);
    g.top = MmToDots(Millimetres(f, "MarSup", kDefaultSpacingMm), g.resolution);
    g.gapAcross = MmToDots(Millimetres(f, "DisHorEti", kDefaultSpacingMm), g.resolution);
    g.gapDown = MmToDots(Millimetres(f, "DisVerEti", kDefaultSpacingMm), g.resolution);
    g.across = f.ReadInteger(s, "QuaEtiLin", kDefaultLabelCount);
    g.down = f.ReadInteger(s, "QuaEtiCol", kDefaultLabelCount);
    g.widthUsed = Percent(f, "ComUti");
    g.heightUsed = Percent(f, "AltUti");
    return g;
}

std::optional<LabelGeometry> PreviewGeometry(const IniFile& labelFile) {
    const long long a = R(Millimetres(labelFile, "AltEti", kDefaultLabelMm));
    const long long b = R(Millimetres(labelFile, "LarEti", kDefaultLabelMm));
    if (a <= 0 || b <= 0) {
        return std::nullopt;
    }
    // c = min(IH / a, IW / b); H = Trunc(a c), W = Trunc(b c), in exact integers.
    long long h = 0;
    long long w = 0;
    if (kPreviewHeight * b < kPreviewWidth * a) {
        h = kPreviewHeight;
        w = b * kPreviewHeight / a;
    } else {
        w = kPreviewWidth;
        h = a * kPreviewWidth / b;
    }
    LabelGeometry g;
    g.resolution = labelFile.ReadInteger(kLabelSheetSection, "ResImp", kDefaultResolution);
    g.labelWidth = static_cast<int>(w);
    g.labelHeight = static_cast<int>(h);
    g.left = R((kPreviewWidth - w) / 2.0L);
    g.top = R((kPreviewHeight - h) / 2.0L);
    g.gapAcross = 0;
    g.gapDown = 0;
    g.across = 1;
    g.down = 1;
    g.widthUsed = Percent(labelFile, "ComUti");
    g.heightUsed = Percent(labelFile, "AltUti");
    return g;
}

int LayoutRows(int layout) {
    switch (layout) {
        case 1:
            return 15;
        case 2:
        case 3:
            return 7;
        case 4:
            return 9;
        case kNutritionTableModel:
            return 1;  // one block, as high as its rows
        default:
            return 0;
    }
}

LabelPlacement PlaceLabels(const LabelGeometry& g, int layout, bool withName) {
    LabelPlacement pl;
    pl.usedWidth = R(static_cast<long double>(g.widthUsed) * g.labelWidth / 100);
    pl.usedHeight = R(static_cast<long double>(g.heightUsed) * g.labelHeight / 100);
    const int n = withName ? 1 : 0;
    const int rows = LayoutRows(layout) + n;
    pl.rowHeight = rows > 0 ? R(static_cast<long double>(pl.usedHeight) / rows) : 0;
    pl.x0 = g.left + R((static_cast<long double>(g.labelWidth) - pl.usedWidth) / 2);
    pl.y0 =
        g.top + R((static_cast<long double>(g.labelHeight) - pl.usedHeight) / 2) + n * pl.rowHeight;
    return pl;
}

std::string MeasureText(std::string_view householdMeasure) {
    if (IsAllSpaces(householdMeasure)) {
        return {};
    }
    return " ( " + TrimTrailingSpaces(householdMeasure) + " )";
}

LabelContent LoadLabelContent(const IniFile& labelFile, std::string_view preparationName,
                              std::string_view record) {
    LabelContent c;
    c.name = TrimTrailingSpaces(preparationName);
    c.unit = " " + TrimTrailingSpaces(GetField(PreparationRecordField::kLabelPortionUnit, record));
    c.measure = MeasureText(GetField(PreparationRecordField::kLabelPortionMeasure, record));
    c.portionSize = labelFile.ReadString(kLabelDataSection, "ValRef", "");
    const std::string captions = CaptionRow(labelFile);
    const std::string values = labelFile.ReadString(kLabelDataSection, "ValPor", "");
    const std::string daily = labelFile.ReadString(kLabelDataSection, "ValDia", "");
    for (int k = 1; k <= kLabelRowSize; ++k) {
        const auto i = static_cast<size_t>(k - 1);
        c.captions[i] = GetField(k, captions);
        c.values[i] = GetField(k, values);
        c.dailyValues[i] = GetField(k, daily);
    }
    return c;
}

namespace {

// Calls `draw` with the origin of every label of the geometry that can show on the page,
// row by row, setting `progress` to the share of rows done before each row.
template <typename DrawOne>
void ForEachLabel(Canvas& canvas, const LabelGeometry& g, const LabelPlacement& pl,
                  ProgressSink* progress, std::optional<PageArea> page, DrawOne draw) {
    if (pl.usedWidth <= 0 || pl.usedHeight <= 0 || pl.rowHeight <= 0 || g.across <= 0 ||
        g.down <= 0) {
        return;  // nothing that could hold a legible label
    }
    // Which labels to draw: those whose origin lies near enough to the page to show on it.
    const long long span = 2LL * std::max({std::abs(g.labelWidth), std::abs(g.labelHeight),
                                           pl.usedWidth, pl.usedHeight, 1});
    const long long loX = page ? -span : -kOriginLimit;
    const long long loY = page ? -span : -kOriginLimit;
    const long long hiX = page ? page->width + span : kOriginLimit;
    const long long hiY = page ? page->height + span : kOriginLimit;
    const long long stepX = static_cast<long long>(g.labelWidth) + g.gapAcross;
    const long long stepY = static_cast<long long>(g.labelHeight) + g.gapDown;
    auto [firstJ, lastJ] = IndexRange(pl.x0, stepX, g.across, std::max(loX, -kOriginLimit),
                                      std::min(hiX, kOriginLimit));
    auto [firstI, lastI] =
        IndexRange(pl.y0, stepY, g.down, std::max(loY, -kOriginLimit), std::min(hiY, kOriginLimit));
    // Labels that all fall on the same spot are one label on paper.
    if (stepX == 0) {
        lastJ = std::min(lastJ, firstJ);
    }
    if (stepY == 0) {
        lastI = std::min(lastI, firstI);
    }

    canvas.SetPenWidth(1);
    for (long long i = firstI; i <= lastI; ++i) {
        if (progress != nullptr) {
            progress->SetPosition(R(static_cast<long double>(i + 1) * 100 / g.down));
        }
        const auto y = static_cast<int>(pl.y0 + i * stepY);
        for (long long j = firstJ; j <= lastJ; ++j) {
            draw(static_cast<int>(pl.x0 + j * stepX), y);
        }
    }
}

}  // namespace

void DrawLabels(Canvas& canvas, const LabelContent& content, const LabelGeometry& g, int layout,
                bool withName, ProgressSink* progress, std::optional<PageArea> page) {
    using Draw = void (*)(Painter&, const LabelContent&, const LabelPlacement&, int, int, bool);
    Draw draw = nullptr;
    switch (layout) {
        case 1:
            draw = DrawVertical;
            break;
        case 2:
            draw = DrawHorizontal;
            break;
        case 3:
            draw = DrawLinear;
            break;
        case 4:
            draw = DrawCustom;
            break;
        default:
            return;
    }
    const LabelPlacement pl = PlaceLabels(g, layout, withName);
    Painter painter(canvas);
    ForEachLabel(canvas, g, pl, progress, page,
                 [&](int x, int y) { draw(painter, content, pl, x, y, withName); });
}

namespace {

// One label of model 5 as the sheet part has it, with its top-left corner at (x, y); with
// `draw` false only its size. `alone`: the table without its mark (the tables part).
PictureSize DrawSheetPart(Canvas& canvas, const NutritionTable& table, const NutritionTable& alone,
                          std::string_view shown, int x, int y, int dpi, int usedWidth,
                          SheetPart part, bool draw) {
    switch (part) {
        case SheetPart::Marks:
            return DrawHighInMark(canvas, table, x, y, dpi, draw);
        case SheetPart::Tables:
            return DrawNutritionLabel(canvas, alone, shown, x, y, dpi, usedWidth, draw);
        case SheetPart::Both:
            break;
    }
    return DrawNutritionLabel(canvas, table, shown, x, y, dpi, usedWidth, draw);
}

// The table as drawn without its mark: the mark is all that its judgements draw.
NutritionTable WithoutMark(const NutritionTable& table) {
    NutritionTable alone = table;
    alone.highIn.clear();
    alone.highInInconclusive.clear();
    return alone;
}

}  // namespace

void DrawNutritionLabels(Canvas& canvas, const NutritionTable& table, std::string_view name,
                         const LabelGeometry& g, bool withName, ProgressSink* progress,
                         std::optional<PageArea> page, SheetPart part) {
    if (part == SheetPart::Marks && !HasHighInMark(table)) {
        return;
    }
    const LabelPlacement pl = PlaceLabels(g, kNutritionTableModel, false);
    const std::string shown = withName ? TrimTrailingSpaces(name) : std::string();
    const NutritionTable alone = part == SheetPart::Tables ? WithoutMark(table) : NutritionTable();
    ForEachLabel(canvas, g, pl, progress, page, [&](int x, int y) {
        DrawSheetPart(canvas, table, alone, shown, x, y, g.resolution, pl.usedWidth, part, true);
    });
}

std::string EmptySheetPart(const IniFile& labelFile, const LabelChoice& choice) {
    if (choice.layout != kNutritionTableModel || choice.part != SheetPart::Marks ||
        HasHighInMark(LoadNutritionTable(labelFile))) {
        return {};
    }
    return W("A tabela desta preparação não tem selo \"ALTO EM\": não há selos para imprimir.");
}

void RedrawPreview(Canvas& preview, const IniFile& labelFile, std::string_view preparationName,
                   std::string_view record, const LabelChoice& choice) {
    preview.Clear(0, 0, kPreviewWidth, kPreviewHeight);
    if (LayoutRows(choice.layout) == 0) {
        return;
    }
    if (choice.layout == kNutritionTableModel) {
        DrawNutritionTablePreview(preview, LoadNutritionTable(labelFile), kPreviewWidth,
                                  kPreviewHeight);
        return;
    }
    const auto geometry = PreviewGeometry(labelFile);
    if (!geometry) {
        return;
    }
    DrawLabels(preview, LoadLabelContent(labelFile, preparationName, record), *geometry,
               choice.layout, choice.withName);
}

void DrawLabelSheet(Canvas& page, const IniFile& labelFile, std::string_view preparationName,
                    std::string_view record, const LabelChoice& choice, ProgressSink* progress,
                    std::optional<PageArea> area) {
    if (choice.layout == kNutritionTableModel) {
        DrawNutritionLabels(page, LoadNutritionTable(labelFile), preparationName,
                            SheetGeometry(labelFile), choice.withName, progress, area, choice.part);
        return;
    }
    DrawLabels(page, LoadLabelContent(labelFile, preparationName, record), SheetGeometry(labelFile),
               choice.layout, choice.withName, progress, area);
}

bool LabelContentFits(Canvas& measure, const LabelContent& content, const LabelGeometry& geometry,
                      int layout, bool withName) {
    LabelGeometry one = geometry;
    one.across = 1;
    one.down = 1;
    LayoutRecorder recorder(measure);
    DrawLabels(recorder, content, one, layout, withName);
    const LayoutRecorder::Box label{one.left, one.top,
                                    static_cast<long long>(one.left) + one.labelWidth,
                                    static_cast<long long>(one.top) + one.labelHeight};
    const auto& texts = recorder.texts;
    for (size_t i = 0; i < texts.size(); ++i) {
        const auto& t = texts[i];
        if (t.left < label.left || t.top < label.top || t.right > label.right ||
            t.bottom > label.bottom) {
            return false;
        }
        for (size_t j = i + 1; j < texts.size(); ++j) {
            if (Overlap(t, texts[j])) {
                return false;
            }
        }
    }
    return true;
}

bool NutritionLabelFits(Canvas& measure, const NutritionTable& table,
                        std::string_view preparationName, const LabelGeometry& g, bool withName,
                        SheetPart part) {
    const LabelPlacement pl = PlaceLabels(g, kNutritionTableModel, false);
    const std::string shown = withName ? TrimTrailingSpaces(preparationName) : std::string();
    const NutritionTable alone = part == SheetPart::Tables ? WithoutMark(table) : NutritionTable();
    const PictureSize size =
        DrawSheetPart(measure, table, alone, shown, 0, 0, g.resolution, pl.usedWidth, part, false);
    // Where the sheet puts the label's content inside the label.
    const long long x = static_cast<long long>(pl.x0) - g.left;
    const long long y = static_cast<long long>(pl.y0) - g.top;
    return x >= 0 && y >= 0 && x + size.width <= g.labelWidth && y + size.height <= g.labelHeight;
}

bool LabelFits(Canvas& measure, const IniFile& labelFile, std::string_view preparationName,
               std::string_view record, const LabelChoice& choice, const LabelGeometry& geometry) {
    if (choice.layout == kNutritionTableModel) {
        return NutritionLabelFits(measure, LoadNutritionTable(labelFile), preparationName, geometry,
                                  choice.withName, choice.part);
    }
    return LabelContentFits(measure, LoadLabelContent(labelFile, preparationName, record), geometry,
                            choice.layout, choice.withName);
}

std::optional<PageArea> LabelSheetPage(const LabelGeometry& g) {
    // The largest page a PDF file can hold: 200 inches.
    constexpr double kMaxPageMm = 200 * 25.4;
    if (g.resolution <= 0 || g.across <= 0 || g.down <= 0 || g.labelWidth <= 0 ||
        g.labelHeight <= 0) {
        return std::nullopt;
    }
    const long long width = 2LL * g.left + static_cast<long long>(g.across) * g.labelWidth +
                            (static_cast<long long>(g.across) - 1) * g.gapAcross;
    const long long height = 2LL * g.top + static_cast<long long>(g.down) * g.labelHeight +
                             (static_cast<long long>(g.down) - 1) * g.gapDown;
    const double maxDots = kMaxPageMm * g.resolution / 25.4;
    if (width <= 0 || height <= 0 || static_cast<double>(width) > maxDots ||
        static_cast<double>(height) > maxDots) {
        return std::nullopt;
    }
    return PageArea{static_cast<int>(width), static_cast<int>(height)};
}

std::optional<SheetLimitBreach> SheetBeyondLimits(const LabelGeometry& g) {
    if (g.resolution < kMinSheetResolution) {
        return SheetLimitBreach{SheetLimit::Resolution,
                                W("A resolução da impressora deve ser de pelo menos ") +
                                    std::to_string(kMinSheetResolution) + " ppp."};
    }
    if (g.across < 1) {
        return SheetLimitBreach{SheetLimit::Across,
                                W("A folha precisa de pelo menos uma etiqueta numa linha.")};
    }
    if (g.down < 1) {
        return SheetLimitBreach{SheetLimit::Down,
                                W("A folha precisa de pelo menos uma etiqueta numa coluna.")};
    }
    const long long labels = static_cast<long long>(g.across) * g.down;
    if (labels > kMaxSheetLabels) {
        // The count that makes the sheet too large: the larger of the two.
        return SheetLimitBreach{
            g.across >= g.down ? SheetLimit::Across : SheetLimit::Down,
            W("A folha de etiquetas tem ") + std::to_string(labels) +
                W(" etiquetas; o programa desenha no máximo ") + std::to_string(kMaxSheetLabels) +
                W(" numa folha. Diminua a quantidade de etiquetas numa linha ou numa coluna na "
                  "configuração das etiquetas.")};
    }
    return std::nullopt;
}

std::string SheetTooLarge(const LabelGeometry& g, std::optional<PageArea> picture) {
    if (const auto breach = SheetBeyondLimits(g)) {
        return breach->reason;
    }
    if (picture && static_cast<long long>(picture->width) * picture->height > kMaxPictureDots) {
        return W("A imagem da folha de etiquetas teria ") + std::to_string(picture->width) + " x " +
               std::to_string(picture->height) +
               W(" pontos, mais do que os 200 milhões que o programa desenha numa imagem. "
                 "Diminua a resolução, o tamanho ou a quantidade de etiquetas, ou gere a folha "
                 "em PDF.");
    }
    return {};
}

LabelFit LabelsFittingPage(const LabelGeometry& sheet, const PageArea& page) {
    LabelFit fit;
    if (sheet.across <= 0 || sheet.down <= 0) {
        return fit;
    }
    fit.total = static_cast<long long>(sheet.across) * sheet.down;
    const auto count = [](int origin, int size, int gap, int n, int extent) {
        const auto [first, last] = IndexRange(origin, static_cast<long long>(size) + gap, n, 0,
                                              static_cast<long long>(extent) - size);
        return std::max(0LL, last - first + 1);
    };
    fit.fitting = count(sheet.left, sheet.labelWidth, sheet.gapAcross, sheet.across, page.width) *
                  count(sheet.top, sheet.labelHeight, sheet.gapDown, sheet.down, page.height);
    return fit;
}

std::string LabelFitWarning(const LabelFit& fit) {
    if (fit.fitting >= fit.total) {
        return {};
    }
    const std::string total = std::to_string(fit.total);
    if (fit.fitting == 0) {
        return W("Nenhuma das ") + total +
               W(" etiquetas da folha cabe inteira na página da impressora: todas sairão "
                 "cortadas.");
    }
    return W("Apenas ") + std::to_string(fit.fitting) + W(" das ") + total +
           (fit.fitting == 1 ? W(" etiquetas da folha cabe inteira")
                             : W(" etiquetas da folha cabem inteiras")) +
           W(" na página da impressora; as demais sairão cortadas.");
}

}  // namespace velmaro
