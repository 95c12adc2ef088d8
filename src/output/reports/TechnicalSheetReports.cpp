#include "output/reports/TechnicalSheetReports.h"

#include <algorithm>
#include <array>
#include <utility>

#include "output/labels/legacy/LabelRounding.h"
#include "storage/Config.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/PreparationRecord.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

namespace Rec = PreparationRecordField;
namespace Line = IngredientLineField;

constexpr int kMethodLineLimit = 32;  // the method text's own limit
constexpr int kMethodColumnLines = 16;
constexpr double kA4ShortMm = 210;
constexpr double kA4LongMm = 297;

// Report 1: the header, then rows 3 to 7 of totals, three rows of captions and three rows
// for each ingredient.
constexpr int kCompleteRowsPerPage = 63;
constexpr int kCompleteFirstIngredientRow = 11;
constexpr int kCompleteNextIngredientRow = 6;  // after the header and the captions
// Report 2: the header, rows 3 to 6 of totals, a row of captions, a row per ingredient, and
// the method of preparation: its title row and a frame of 16 rows.
constexpr int kSheetRowsPerPage = 44;
constexpr int kSheetFirstIngredientRow = 8;
constexpr int kSheetNextIngredientRow = 4;
constexpr int kSheetMethodRows = 1 + kMethodColumnLines;
// Report 3: the header, rows 3 and 4 of totals, the captions in row 5 and the ingredients
// from row 6 inside a frame that ends under row 28; the method's title in row 30 and its
// frame from row 31 to 62.
constexpr int kMeasuresRowsPerPage = 61;
constexpr int kMeasuresFirstIngredientRow = 6;
constexpr int kMeasuresFrameLastRow = 28;
constexpr int kMeasuresMethodTitleRow = 30;
constexpr int kMeasuresNextIngredientRow = 4;

std::vector<std::string> Captions(std::string_view utf8) {
    std::vector<std::string> out;
    const std::string text = W(utf8);
    size_t start = 0;
    for (size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', start)) {
        out.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    return out;
}

const std::vector<std::string>& CompleteNutrientCaptions() {
    static const std::vector<std::string> captions = Captions(
        "Caloria(Kcal)|Glicídio(g)|Proteína(g)|Lipídio(g)|Saturada(g)|Colest.(mg)|Fibra(g)|"
        "Cálcio(mg)|Ferro(mg)|Sódio(mg)|");
    return captions;
}

const std::vector<std::string>& CompleteWeightCaptions() {
    static const std::vector<std::string> captions = Captions(
        "P.Bruto(g)|P.Líquido(g)|FC|P.Cru(g)|P.Cozido(g)|FCC|$ Kg|$ P.Bruto|Data cotação|");
    return captions;
}

const std::vector<std::string>& SheetTotalCaptions() {
    static const std::vector<std::string> captions = Captions(
        "Rendimento|(g,ml)|Caloria(KCal)|Glicídios(g)|Proteínas(g)|Lípidios(g)|Saturada(g)|"
        "Colest.(mg)|Fibra(g)|Cálcio(mg)|Ferro(mg)|Sódio(mg)|");
    return captions;
}

const std::vector<std::string>& SheetIngredientCaptions() {
    static const std::vector<std::string> captions =
        Captions("PL(g)|KCal|CHO(g)|PTN(g)|LIP(g)|SAT(g)|COL(mg)|FIB(g)|Ca(mg)|Fe(mg)|Na(mg)|");
    return captions;
}

const std::vector<std::string>& MeasuresTotalCaptions() {
    static const std::vector<std::string> captions = Captions(
        "Rend.(g,ml)|Caloria(Kcal)|Glicídio(g)|Proteína(g)|Lipídio(g)|Saturada(g)|Colest.(mg)|"
        "Fibra(g)|Cálcio(mg)|Ferro(mg)|Sódio(mg)|");
    return captions;
}

// What one page of the paper form holds.
struct PagePlan {
    bool first = true;        // the report's own first page, with the totals
    int firstIngredient = 0;  // index of the first ingredient line on the page
    int ingredients = 0;      // how many
    bool method = false;      // the method of preparation (reports 2 and 3)
};

std::vector<PagePlan> PlanPages(ReportKind kind, int lines) {
    std::vector<PagePlan> pages;
    auto add = [&pages](bool first, int from, int count, bool method) {
        pages.push_back(PagePlan{first, from, count, method});
    };
    switch (kind) {
        case ReportKind::Complete: {
            const int firstRoom = (kCompleteRowsPerPage - kCompleteFirstIngredientRow + 1) / 3;
            const int nextRoom = (kCompleteRowsPerPage - kCompleteNextIngredientRow + 1) / 3;
            int done = std::min(lines, firstRoom);
            add(true, 0, done, false);
            while (done < lines) {
                const int count = std::min(lines - done, nextRoom);
                add(false, done, count, false);
                done += count;
            }
            break;
        }
        case ReportKind::TechnicalSheet: {
            int done = 0;
            bool first = true;
            bool methodPlaced = false;
            while (!methodPlaced) {
                const int startRow = first          ? kSheetFirstIngredientRow
                                     : done < lines ? kSheetNextIngredientRow
                                                    : 3;
                const int count = std::min(lines - done, kSheetRowsPerPage - startRow + 1);
                const int nextRow = startRow + count;
                const bool method =
                    done + count == lines && nextRow + kSheetMethodRows - 1 <= kSheetRowsPerPage;
                add(first, done, count, method);
                done += count;
                methodPlaced = method;
                first = false;
            }
            break;
        }
        case ReportKind::HouseholdMeasures: {
            const int firstRoom = kMeasuresFrameLastRow - kMeasuresFirstIngredientRow + 1;
            const int nextRoom = kMeasuresRowsPerPage - kMeasuresNextIngredientRow + 1;
            int done = std::min(lines, firstRoom);
            add(true, 0, done, true);
            while (done < lines) {
                const int count = std::min(lines - done, nextRoom);
                add(false, done, count, false);
                done += count;
            }
            break;
        }
    }
    return pages;
}

// Row n covers y from (n - 1) x h to n x h; its texts have their top at
// Round((n - 0.95) x h). Coordinates are the report's; the painter adds the origin.
class Painter {
  public:
    Painter(Canvas& canvas, const ReportGeometry& g, int left, int top)
        : m_canvas(canvas), m_g(g), m_left(left), m_top(top) {}

    int W() const { return m_g.width; }
    int H() const { return m_g.rowHeight; }
    int RowTop(int row) const { return (row - 1) * m_g.rowHeight; }
    int RowBottom(int row) const { return row * m_g.rowHeight; }
    int Part(long double rows) const { return RoundToDots(rows * m_g.rowHeight); }

    void Font(int height) {
        m_fontHeight = height;
        SetFontHeight(height);
    }
    void Pen() { m_canvas.SetPenWidth(1); }

    void HLine(int x1, int y, int x2) {
        m_canvas.MoveTo(m_left + x1, m_top + y);
        m_canvas.LineTo(m_left + x2, m_top + y);
    }
    void VLine(int x, int y1, int y2) {
        m_canvas.MoveTo(m_left + x, m_top + y1);
        m_canvas.LineTo(m_left + x, m_top + y2);
    }
    // A frame whose lines stand on left, top, right and bottom.
    void Frame(int left, int top, int right, int bottom) {
        m_canvas.Rectangle(m_left + left, m_top + top, m_left + right + 1, m_top + bottom + 1);
    }
    // A vertical line at the left of every cell of the row (the first is the left border)
    // and a line under the row across the width.
    void RowLines(int row, const std::vector<int>& cells) {
        for (int x : cells) {
            VLine(x, RowTop(row), RowBottom(row));
        }
        HLine(0, RowBottom(row), W());
    }

    // A text at x in the cell [a, b] of the row (a and b being the cell's lines).
    void Left(int x, int a, int b, int row, const std::string& text) {
        Place(x, a, b, row, text, false);
    }
    // Centred in [a, b], then `shift` dots to the left.
    void Centred(int a, int b, int row, const std::string& text, int shift = 0) {
        const int width = m_canvas.TextWidth(text);
        Place(a + RoundToDots((b - a - width) / 2.0L) - shift, a, b, row, text, true);
    }

  private:
    // The text's width, and where its visible part (without the spaces around it) starts
    // and how wide it is.
    struct Extent {
        int lead = 0;
        int ink = 0;
    };
    Extent Measure(const std::string& text) {
        const auto first = text.find_first_not_of(' ');
        if (first == std::string::npos) {
            return {};
        }
        const auto last = text.find_last_not_of(' ');
        const int lead = first == 0 ? 0 : m_canvas.TextWidth(text.substr(0, first));
        const int upToLast = m_canvas.TextWidth(text.substr(0, last + 1));
        return {lead, upToLast - lead};
    }

    // Draws the text with its top in the row at x, unless its visible part would cross a
    // line of its cell: it is then put inside the cell (centred, for a centred text) and,
    // when even that is too narrow, drawn in the largest smaller font that fits, its middle
    // on the middle of the row's font.
    void Place(int x, int a, int b, int row, const std::string& text, bool centred) {
        b = std::min(b, W());  // the last column may run past the right border
        const int y = Part(row - 0.95L);
        Extent e = Measure(text);
        const int low = a + 1;  // the ink keeps off the cell's lines
        const int room = b - 1 - low;
        if (e.ink == 0 || room <= 0 || (x + e.lead >= low && x + e.lead + e.ink <= b - 1)) {
            m_canvas.TextOut(m_left + x, m_top + y, text);
            return;
        }
        int height = m_fontHeight;
        if (e.ink > room) {
            height =
                std::max(1, static_cast<int>(static_cast<long long>(m_fontHeight) * room / e.ink));
            SetFontHeight(height);
            e = Measure(text);
            while (e.ink > room && height > 1) {
                SetFontHeight(--height);
                e = Measure(text);
            }
        }
        int nx = x;
        if (centred) {
            nx = low + RoundToDots((room - e.ink) / 2.0L) - e.lead;
        } else if (x + e.lead + e.ink > b - 1) {
            nx = std::max(low - e.lead, b - 1 - e.ink - e.lead);
        } else if (x + e.lead < low) {
            nx = low - e.lead;
        }
        m_canvas.TextOut(m_left + nx, m_top + y + (m_fontHeight - height) / 2, text);
        if (height != m_fontHeight) {
            SetFontHeight(m_fontHeight);
        }
    }

    void SetFontHeight(int height) {
        FontSpec font;
        font.family = "Arial";
        font.height = height;
        m_canvas.SetFont(font);
    }

    Canvas& m_canvas;
    ReportGeometry m_g;
    int m_left;
    int m_top;
    int m_fontHeight = 0;
};

std::string Field(int n, const std::string& line) {
    return GetField(n, line);
}

// The cells of `count` columns of width `step`, the first at `from`.
std::vector<int> Columns(int from, int step, int count) {
    std::vector<int> xs;
    for (int k = 0; k < count; ++k) {
        xs.push_back(from + k * step);
    }
    return xs;
}

// The line at y = 0 and the two header rows.
void DrawHeader(Painter& p, ReportKind kind, const ReportData& data) {
    p.HLine(0, 0, p.W());
    const int x = p.Part(0.2L);
    p.Left(x, 0, p.W(), 1, TechnicianHeader(kind, data));
    p.RowLines(1, {0});
    p.Left(x, 0, p.W(), 2, PreparationHeader(data));
    p.RowLines(2, {0});
}

// ---- report 1 ----

void DrawCompleteCaptions(Painter& p, int row) {
    const int c10 = RoundToDots(p.W() / 10.0L);
    p.Centred(0, 5 * c10, row, "Ingrediente");
    p.Centred(5 * c10, 9 * c10, row, "Medida caseira");
    p.Centred(9 * c10, 10 * c10, row, "Quantidade");
    p.RowLines(row, {0, 5 * c10, 9 * c10});
    const auto& weights = CompleteWeightCaptions();
    for (int k = 0; k < 9; ++k) {
        const int right = k == 8 ? p.W() : (k + 1) * c10;
        p.Centred(k * c10, right, row + 1, weights[static_cast<size_t>(k)]);
    }
    p.RowLines(row + 1, Columns(0, c10, 9));
    const auto& nutrients = CompleteNutrientCaptions();
    for (int k = 0; k < 10; ++k) {
        p.Centred(k * c10, (k + 1) * c10, row + 2, nutrients[static_cast<size_t>(k)]);
    }
    p.RowLines(row + 2, Columns(0, c10, 10));
}

void DrawCompleteIngredient(Painter& p, const std::string& record, const std::string& line,
                            int row) {
    const int c10 = RoundToDots(p.W() / 10.0L);
    p.Centred(0, 5 * c10, row, TrimTrailingSpaces(Field(Line::kIngredient, line)));
    p.Centred(5 * c10, 9 * c10, row, TrimTrailingSpaces(Field(Line::kMeasure, line)));
    p.Centred(9 * c10, 10 * c10, row, Field(Line::kMeasureCount, line));
    p.RowLines(row, {0, 5 * c10, 9 * c10});

    constexpr std::array<int, 7> kWeightFields = {
        Line::kGrossWeight,  Line::kNetWeight,     Line::kCorrectionFactor, Line::kRawWeight,
        Line::kCookedWeight, Line::kCookingFactor, Line::kUnitCost};
    for (size_t k = 0; k < kWeightFields.size(); ++k) {
        const int x = static_cast<int>(k) * c10;
        p.Centred(x, x + c10, row + 1, Field(kWeightFields[k], line));
    }
    const std::string cost = Field(Line::kComputedCost, line);
    p.Centred(7 * c10, 8 * c10, row + 1, cost + ShareText(cost, Field(Rec::kCostTotal, record)), 1);
    p.Centred(8 * c10, p.W(), row + 1, Field(Line::kQuotationDate, line));
    p.RowLines(row + 1, Columns(0, c10, 9));

    for (int k = 0; k < 10; ++k) {
        const std::string amount = Field(Line::kEnergy + k, line);
        p.Centred(k * c10, (k + 1) * c10, row + 2,
                  amount + ShareText(amount, Field(Rec::kEnergyTotal + k, record)), 1);
    }
    p.RowLines(row + 2, Columns(0, c10, 10));
}

void DrawCompletePage(Painter& p, const ReportData& data, const PagePlan& plan) {
    const std::string& rec = data.record;
    int row = kCompleteNextIngredientRow - 3;
    if (plan.first) {
        const int c3 = RoundToDots(p.W() / 3.0L);
        const int c10 = RoundToDots(p.W() / 10.0L);
        const int inset = p.Part(0.2L);
        auto f = [&rec](int n) { return RemoveSpaces(Field(n, rec)); };
        p.Left(inset, 0, c3, 3, "(1) Receita = " + f(Rec::kYield) + "g  $" + f(Rec::kCostTotal));
        p.Left(c3 + inset, c3, 2 * c3, 3,
               "(2) Per capita = " + f(Rec::kPortions) + " de " + f(Rec::kPortionWeight) + "g  $" +
                   f(Rec::kPortionCost));
        p.Left(2 * c3 + inset, 2 * c3, p.W(), 3,
               "(3) Colher sopa = " + f(Rec::kTablespoonWeight) + "g  $" + f(Rec::kTablespoonCost));
        p.RowLines(3, {0, c3, 2 * c3});

        const auto& captions = CompleteNutrientCaptions();
        for (int k = 0; k < 10; ++k) {
            p.Centred(k * c10, (k + 1) * c10, 4, captions[static_cast<size_t>(k)]);
        }
        p.RowLines(4, Columns(0, c10, 10));
        constexpr std::array<std::pair<int, const char*>, 3> kRows = {
            {{Rec::kEnergyTotal, "(1) "},
             {Rec::kPortionEnergy, "(2) "},
             {Rec::kTablespoonEnergy, "(3) "}}};
        for (size_t r = 0; r < kRows.size(); ++r) {
            const int at = 5 + static_cast<int>(r);
            for (int k = 0; k < 10; ++k) {
                const std::string value = Field(kRows[r].first + k, rec);
                p.Centred(k * c10, (k + 1) * c10, at, k == 0 ? kRows[r].second + value : value);
            }
            p.RowLines(at, Columns(0, c10, 10));
        }
        row = kCompleteFirstIngredientRow - 3;
    }
    DrawCompleteCaptions(p, row);
    row += 3;
    for (int i = 0; i < plan.ingredients; ++i) {
        DrawCompleteIngredient(
            p, rec, data.ingredientLines[static_cast<size_t>(plan.firstIngredient + i)], row);
        row += 3;
    }
    p.VLine(p.W(), 0, p.RowBottom(row - 1));
}

// ---- report 2 ----

void DrawSheetCaptions(Painter& p, int row) {
    const int c17 = RoundToDots(p.W() / 17.0L);
    p.Centred(0, 6 * c17, row, "Ingrediente");
    const auto& captions = SheetIngredientCaptions();
    for (int k = 0; k < 11; ++k) {
        const int x = (6 + k) * c17;
        p.Centred(x, x + c17, row, captions[static_cast<size_t>(k)], 3);
    }
    std::vector<int> cells = {0};
    for (int x : Columns(6 * c17, c17, 11)) {
        cells.push_back(x);
    }
    p.RowLines(row, cells);
}

void DrawSheetIngredient(Painter& p, const std::string& line, int row) {
    const int c17 = RoundToDots(p.W() / 17.0L);
    p.Left(p.Part(0.2L), 0, 6 * c17, row, Field(Line::kIngredient, line).substr(0, 60));
    std::vector<int> cells = {0};
    for (int k = 0; k < 11; ++k) {
        const int x = (6 + k) * c17;
        const int field = k == 0 ? Line::kNetWeight : Line::kEnergy + k - 1;
        p.Centred(x, x + c17, row, Field(field, line), 3);
        cells.push_back(x);
    }
    p.RowLines(row, cells);
}

// The title row and the frame of 16 rows under it, split in two halves of 16 lines each.
void DrawSheetMethod(Painter& p, const ReportGeometry& g, const ReportData& data, int row) {
    p.Centred(0, p.W(), row, W("Modo de preparo"));
    p.RowLines(row, {0});
    const int top = p.RowBottom(row);
    const int bottom = p.RowBottom(row + kMethodColumnLines);
    const int half = RoundToDots(p.W() / 2.0L);
    p.Frame(0, top, p.W(), bottom);
    p.VLine(half, top, bottom);
    p.Font(RoundToDots(0.75L * g.rowHeight));
    const int inset = p.Part(0.3L);
    const int count = std::min(static_cast<int>(data.methodLines.size()), kMethodLineLimit);
    for (int i = 0; i < count; ++i) {
        const int x = i < kMethodColumnLines ? inset : half + inset;
        const bool left = i < kMethodColumnLines;
        p.Left(x, left ? 0 : half, left ? half : p.W(), row + 1 + i % kMethodColumnLines,
               data.methodLines[static_cast<size_t>(i)]);
    }
    p.Font(g.fontHeight);
}

void DrawSheetPage(Painter& p, const ReportGeometry& g, const ReportData& data,
                   const PagePlan& plan) {
    const std::string& rec = data.record;
    int row = 3;
    if (plan.first) {
        const int c12 = RoundToDots(p.W() / 12.0L);
        const std::vector<int> cells = Columns(0, c12, 12);
        const auto& captions = SheetTotalCaptions();
        for (int k = 0; k < 12; ++k) {
            p.Centred(k * c12, (k + 1) * c12, 3, captions[static_cast<size_t>(k)]);
        }
        p.RowLines(3, cells);
        constexpr std::array<std::pair<const char*, int>, 3> kRows = {
            {{"Receita", Rec::kYield},
             {"Per Capita", Rec::kPortionWeight},
             {"Colher Sopa", Rec::kTablespoonWeight}}};
        for (size_t r = 0; r < kRows.size(); ++r) {
            const int at = 4 + static_cast<int>(r);
            p.Centred(0, c12, at, kRows[r].first);
            for (int k = 1; k < 12; ++k) {
                p.Centred(k * c12, (k + 1) * c12, at, Field(kRows[r].second + k - 1, rec));
            }
            p.RowLines(at, cells);
        }
        row = 7;
    }
    if (plan.first || plan.ingredients > 0) {
        DrawSheetCaptions(p, row);
        ++row;
    }
    for (int i = 0; i < plan.ingredients; ++i) {
        DrawSheetIngredient(p, data.ingredientLines[static_cast<size_t>(plan.firstIngredient + i)],
                            row);
        ++row;
    }
    // The right border runs down the rows above the method's title, (N + 7) x h on a
    // first page; the method's frame has its own.
    p.VLine(p.W(), 0, p.RowBottom(row - 1));
    if (plan.method) {
        DrawSheetMethod(p, g, data, row);
    }
}

// ---- report 3 ----

void DrawMeasuresCaptions(Painter& p, int row) {
    const int c14 = RoundToDots(p.W() / 14.0L);
    p.Centred(0, 6 * c14, row, "Ingredientes");
    p.Centred(6 * c14, 7 * c14, row, "PB(g)");
    p.Centred(7 * c14, 8 * c14, row, "FC");
    p.Centred(8 * c14, 9 * c14, row, "PL(g)");
    p.Centred(9 * c14, 10 * c14, row, "Quant");
    p.Centred(10 * c14, 13 * c14, row, "Medida caseira");
    for (int k = 6; k <= 10; ++k) {
        p.VLine(k * c14, p.RowTop(row), p.RowBottom(row));
    }
    p.HLine(0, p.RowBottom(row), p.W());
}

void DrawMeasuresIngredient(Painter& p, const std::string& line, int row) {
    const int c14 = RoundToDots(p.W() / 14.0L);
    const int inset = p.Part(0.2L);
    p.Left(inset, 0, 6 * c14, row, Field(Line::kIngredient, line));
    constexpr std::array<int, 4> kFields = {Line::kGrossWeight, Line::kCorrectionFactor,
                                            Line::kNetWeight, Line::kMeasureCount};
    for (size_t k = 0; k < kFields.size(); ++k) {
        const int x = (6 + static_cast<int>(k)) * c14;
        p.Centred(x, x + c14, row, Field(kFields[k], line));
    }
    p.Left(10 * c14 + inset, 10 * c14, p.W(), row, Field(Line::kMeasure, line));
    p.HLine(0, p.RowBottom(row), p.W());
}

void DrawMeasuresPage(Painter& p, const ReportData& data, const PagePlan& plan) {
    int row = kMeasuresNextIngredientRow - 1;
    if (plan.first) {
        const int c11 = RoundToDots(p.W() / 11.0L);
        const std::vector<int> cells = Columns(0, c11, 11);
        const auto& captions = MeasuresTotalCaptions();
        for (int k = 0; k < 11; ++k) {
            p.Centred(k * c11, (k + 1) * c11, 3, captions[static_cast<size_t>(k)]);
            p.Centred(k * c11, (k + 1) * c11, 4, Field(Rec::kYield + k, data.record));
        }
        p.RowLines(3, cells);
        p.RowLines(4, cells);
        row = kMeasuresFirstIngredientRow - 1;
    }
    const int frameTop = p.RowTop(row);
    DrawMeasuresCaptions(p, row);
    ++row;
    for (int i = 0; i < plan.ingredients; ++i) {
        DrawMeasuresIngredient(
            p, data.ingredientLines[static_cast<size_t>(plan.firstIngredient + i)], row);
        ++row;
    }
    // The frame of the ingredients: on the first page a fixed one down to row 28 (rows
    // beyond it, in the preview, run on below); on the next pages it closes under the last.
    const int frameBottom = plan.first ? p.RowBottom(kMeasuresFrameLastRow) : p.RowBottom(row - 1);
    p.VLine(0, frameTop, frameBottom);
    p.HLine(0, frameBottom, p.W());
    p.VLine(p.W(), frameBottom, 0);
    if (plan.method) {
        const int title = kMeasuresMethodTitleRow;
        p.Centred(0, p.W(), title, W("Modo de preparo"));
        p.Frame(0, p.RowBottom(title), p.W(), p.RowBottom(title + kMethodLineLimit));
        const int count = std::min(static_cast<int>(data.methodLines.size()), kMethodLineLimit);
        for (int i = 0; i < count; ++i) {
            p.Left(7 * p.H(), 0, p.W(), title + 1 + i, data.methodLines[static_cast<size_t>(i)]);
        }
    }
}

}  // namespace

ReportGeometry GeometryOf(ReportKind kind, long double resolution) {
    ReportGeometry g;
    switch (kind) {
        case ReportKind::Complete:
            g.width = MmToDots(200, resolution);
            g.rowHeight = MmToDots(280.0L / 63, resolution);
            g.fontHeight = RoundToDots(0.85L * g.rowHeight);
            break;
        case ReportKind::TechnicalSheet:
            g.width = MmToDots(270, resolution);
            g.rowHeight = MmToDots(200.0L / 44, resolution);
            g.fontHeight = RoundToDots(0.9L * g.rowHeight);
            break;
        case ReportKind::HouseholdMeasures:
            g.width = MmToDots(200, resolution);
            g.rowHeight = MmToDots(270.0L / 61, resolution);
            g.fontHeight = RoundToDots(0.9L * g.rowHeight);
            break;
    }
    return g;
}

bool IsLandscape(ReportKind kind) {
    return kind == ReportKind::TechnicalSheet;
}

double PageWidthMm(ReportKind kind) {
    return IsLandscape(kind) ? kA4LongMm : kA4ShortMm;
}

double PageHeightMm(ReportKind kind) {
    return IsLandscape(kind) ? kA4ShortMm : kA4LongMm;
}

namespace {
// The report's width and the height of its page of rows, in millimetres.
std::pair<long double, long double> ReportSizeMm(ReportKind kind) {
    switch (kind) {
        case ReportKind::Complete:
            return {200, 280};
        case ReportKind::TechnicalSheet:
            return {270, 200};
        case ReportKind::HouseholdMeasures:
            break;
    }
    return {200, 270};
}
}  // namespace

int PdfLeft(ReportKind kind, long double resolution) {
    return MmToDots((PageWidthMm(kind) - ReportSizeMm(kind).first) / 2, resolution);
}

int PdfTop(ReportKind kind, long double resolution) {
    return MmToDots((PageHeightMm(kind) - ReportSizeMm(kind).second) / 2, resolution);
}

int PreviewWidth(ReportKind kind) {
    return kind == ReportKind::TechnicalSheet ? 1000 : 743;
}

int PreviewHeight(ReportKind kind) {
    switch (kind) {
        case ReportKind::Complete:
            return 1039;
        case ReportKind::TechnicalSheet:
            return 743;
        case ReportKind::HouseholdMeasures:
            break;
    }
    return 1000;
}

int RowsPerPage(ReportKind kind) {
    switch (kind) {
        case ReportKind::Complete:
            return kCompleteRowsPerPage;
        case ReportKind::TechnicalSheet:
            return kSheetRowsPerPage;
        case ReportKind::HouseholdMeasures:
            break;
    }
    return kMeasuresRowsPerPage;
}

int ReportPageCount(ReportKind kind, const ReportData& data) {
    return static_cast<int>(PlanPages(kind, static_cast<int>(data.ingredientLines.size())).size());
}

void DrawReport(Canvas& canvas, ReportKind kind, const ReportData& data, long double resolution,
                int page, int left, int top) {
    const int lines = static_cast<int>(data.ingredientLines.size());
    PagePlan plan{true, 0, lines, true};
    if (page != kWholeReport) {
        const std::vector<PagePlan> pages = PlanPages(kind, lines);
        if (page < 0 || page >= static_cast<int>(pages.size())) {
            return;
        }
        plan = pages[static_cast<size_t>(page)];
    }
    const ReportGeometry g = GeometryOf(kind, resolution);
    Painter p(canvas, g, left, top);
    p.Pen();
    p.Font(g.fontHeight);
    DrawHeader(p, kind, data);
    switch (kind) {
        case ReportKind::Complete:
            DrawCompletePage(p, data, plan);
            break;
        case ReportKind::TechnicalSheet:
            DrawSheetPage(p, g, data, plan);
            break;
        case ReportKind::HouseholdMeasures:
            DrawMeasuresPage(p, data, plan);
            break;
    }
}

std::string TechnicianHeader(ReportKind kind, const ReportData& data) {
    const bool student = kind == ReportKind::HouseholdMeasures;
    const std::string name =
        data.technicianName.value_or(student ? "Aluno" : W(cfg::kDefaultTechnician));
    const std::string contact =
        data.technicianContact.value_or(student ? "Turma" : W(cfg::kDefaultContact));
    const char* separator = kind == ReportKind::Complete ? "  -  Data : " : "  -  Data: ";
    return name + " " + contact + separator + GetField(Rec::kDate, data.record);
}

std::string PreparationHeader(const ReportData& data) {
    std::string text = W("Preparação : ") + TrimTrailingSpaces(data.preparationName);
    const std::string group = TrimTrailingSpaces(GetField(Rec::kGroup, data.record));
    if (!group.empty()) {
        text += "  -  Grupo : " + group;
    }
    return text + "  -  Tabela : " + TrimTrailingSpaces(data.tableName);
}

std::string ShareText(std::string_view value, std::string_view total) {
    const long double whole = TextToNumber(total);
    if (!(whole > 0)) {
        return "    %";
    }
    return " " + FormatNumber(0, 3, TextToNumber(value) / whole * 100) + "%";
}

ReportData LoadReportData(const std::filesystem::path& home, const IniFile& config,
                          std::string_view table, std::string_view preparation,
                          std::string record) {
    ReportData data;
    data.tableName = std::string(table);
    data.preparationName = std::string(preparation);
    data.record = std::move(record);
    // Read as they stand: a missing file is an empty one, and none is created, so that a
    // report can be drawn from a data home that cannot be written.
    const auto readIfAny = [](const std::filesystem::path& path) {
        std::error_code ec;
        return std::filesystem::exists(path, ec) ? ReadFileBytes(path) : std::string();
    };
    const std::filesystem::path linesPath = PreparationFileLocation(home, table, preparation);
    // A report of lines that did not read whole would print wrong totals as right ones.
    for (std::string& line : CleanLinesOf(linesPath, readIfAny(linesPath))) {
        if (!IsAllSpaces(line)) {
            data.ingredientLines.push_back(std::move(line));
        }
    }
    // The method text whole or no report: a NUL byte would hide the steps after it.
    ReadCheck methodCheck;
    methodCheck.file = RecordFileIn(RecipeFolder(home, table), preparation, ".rec");
    data.methodLines = ReadTextLines(readIfAny(methodCheck.file), methodCheck);
    RefuseDamaged(methodCheck);
    const std::string section = W(cfg::kTechnicianSection);
    if (config.ValueExists(section, cfg::kNomTec)) {
        data.technicianName = config.ReadString(section, cfg::kNomTec, "");
    }
    if (config.ValueExists(section, cfg::kConTec)) {
        data.technicianContact = config.ReadString(section, cfg::kConTec, "");
    }
    return data;
}

std::string ReadPreparationRecord(const std::filesystem::path& home, std::string_view table,
                                  std::string_view preparation) {
    // Read as it stands: a report creates no file.
    LineTable list;
    const std::filesystem::path path = PreparationListLocation(home, table);
    if (std::error_code ec; std::filesystem::exists(path, ec)) {
        LoadLineTable(path, list);
    }
    RefuseDamaged(list.lines.Check());
    const FindResult found = FindKey(list.keys, preparation);
    return found.found ? list.lines[found.index] : std::string();
}

int StoredReportResolution(const IniFile& config) {
    const int stored =
        config.ReadInteger(W(cfg::kTechnicianSection), cfg::kResImp, cfg::kDefaultResolution);
    return stored > 0 && stored <= kMaxReportResolution ? stored : cfg::kDefaultResolution;
}

void SaveReportPdf(ImageOutput& images, ReportKind kind, const ReportData& data, int resolution,
                   const std::filesystem::path& path) {
    const int left = PdfLeft(kind, resolution);
    const int top = PdfTop(kind, resolution);
    images.SavePdfPages(
        [&](Canvas& canvas, int page) {
            DrawReport(canvas, kind, data, resolution, page, left, top);
        },
        ReportPageCount(kind, data), PageWidthMm(kind), PageHeightMm(kind), resolution, path);
}

}  // namespace velmaro
