#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>

#include "output/LabelFixtures.h"
#include "output/labels/legacy/LabelLayouts.h"
#include "storage/Cp1252.h"
#include "support/RecordingCanvas.h"

namespace velmaro {
namespace {

using test::LabelRecord;
using test::RecordingCanvas;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

const char* const kOneLabel = "[CfgEti]\r\nQuaEtiLin=1\r\nQuaEtiCol=1\r\n";

// A label data file in memory holding `cfgEti` and the label of the example record.
IniFile LabelFile(const std::string& cfgEti, std::string_view measure = "1 fatia") {
    IniFile file = IniFile::FromBytes(cfgEti);
    SaveLabelData(file, "Bolo",
                  LabelRecord({"120,00", "20,00", "0,70", "2,50", "0,30", "3,00", "1,20", "0,50",
                               "0,35", "140,00"},
                              "    30", "g", measure),
                  {});
    return file;
}

std::string Record(std::string_view measure = "1 fatia") {
    return LabelRecord({}, "    30", "g", measure);
}

struct Point {
    int x;
    int y;
    bool operator==(const Point&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Point& p) {
        return out << "(" << p.x << ", " << p.y << ")";
    }
};

// Where `text` was drawn (the first time).
std::optional<Point> TextAt(const RecordingCanvas& c, const std::string& text) {
    for (const auto& call : c.calls) {
        int x = 0;
        int y = 0;
        int n = 0;
        if (std::sscanf(call.c_str(), "Text %d,%d%n", &x, &y, &n) == 2 &&
            call.substr(static_cast<size_t>(n) + 1) == text) {
            return Point{x, y};
        }
    }
    return std::nullopt;
}

std::vector<std::string> DrawnTexts(const RecordingCanvas& c) {
    std::vector<std::string> texts;
    for (const auto& call : c.calls) {
        if (call.rfind("Text ", 0) == 0) {
            texts.push_back(call.substr(call.find(' ', 5) + 1));
        }
    }
    return texts;
}

long Count(const RecordingCanvas& c, const std::string& prefix) {
    return std::count_if(c.calls.begin(), c.calls.end(),
                         [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
}

// Draws one label of `layout` with the sheet geometry of `file`.
RecordingCanvas Draw(const IniFile& file, int layout, bool withName, std::string_view name = "Bolo",
                     std::string_view measure = "1 fatia") {
    RecordingCanvas canvas;
    DrawLabelSheet(canvas, file, name, Record(measure), {layout, withName}, nullptr);
    return canvas;
}

TEST(LabelGeometry, DefaultsOfTheDrawingAt300Dpi) {
    const IniFile empty = IniFile::FromBytes("");
    const LabelGeometry g = SheetGeometry(empty);
    EXPECT_EQ(g.resolution, 300);
    EXPECT_EQ(g.labelWidth, 791);
    EXPECT_EQ(g.labelHeight, 791);
    EXPECT_EQ(g.left, 59);
    EXPECT_EQ(g.top, 59);
    EXPECT_EQ(g.gapAcross, 59);
    EXPECT_EQ(g.gapDown, 59);
    EXPECT_EQ(g.across, 5);
    EXPECT_EQ(g.down, 5);

    struct Case {
        int layout;
        bool withName;
        int rowHeight;
        int y0;
    };
    for (const Case c : {Case{1, false, 50, 79}, Case{1, true, 47, 126}, Case{2, false, 107, 79},
                         Case{3, false, 107, 79}, Case{4, false, 83, 79}}) {
        const LabelPlacement pl = PlaceLabels(g, c.layout, c.withName);
        SCOPED_TRACE(c.layout);
        EXPECT_EQ(pl.usedWidth, 751);
        EXPECT_EQ(pl.usedHeight, 751);
        EXPECT_EQ(pl.x0, 79);
        EXPECT_EQ(pl.rowHeight, c.rowHeight);
        EXPECT_EQ(pl.y0, c.y0);
    }

    // Unreadable keys take the defaults; the locale's "." is read as well as ",".
    const LabelGeometry odd = SheetGeometry(IniFile::FromBytes(
        "[CfgEti]\r\nResImp=abc\r\nLarEti=x\r\nAltEti=25.4\r\nQuaEtiLin=\r\nComUti=  \r\n"));
    EXPECT_EQ(odd.resolution, 300);
    EXPECT_EQ(odd.labelWidth, 791);
    EXPECT_EQ(odd.labelHeight, 300);
    EXPECT_EQ(odd.across, 5);
    EXPECT_EQ(odd.widthUsed, 95);
}

TEST(LabelLayouts, VerticalLayoutGeometry) {
    const RecordingCanvas c = Draw(LabelFile(kOneLabel), 1, false);
    // s = 50, q = 188, f9 = 45, f8 = 40: every text 40 dots high, 20 wide a character.
    EXPECT_THAT(c.calls, Contains("Font Arial h40 bold"));
    EXPECT_THAT(c.calls, Not(Contains(HasSubstr("Font Arial h4 "))));
    EXPECT_THAT(c.calls, Contains("Rect 79,79,830,731"));
    EXPECT_EQ(TextAt(c, W("INFORMAÇÃO NUTRICIONAL")), (Point{235, 83}));
    EXPECT_EQ(TextAt(c, W("Porção de 30 g ( 1 fatia )")), (Point{195, 129}));
    const std::vector<std::string> lines = {"MoveTo 455,229", "LineTo 455,731", "MoveTo 643,179",
                                            "LineTo 643,731"};
    EXPECT_NE(std::search(c.calls.begin(), c.calls.end(), lines.begin(), lines.end()),
              c.calls.end());
    for (int y = 179; y <= 679; y += 50) {
        EXPECT_THAT(c.calls, Contains("MoveTo 79," + std::to_string(y)));
        EXPECT_THAT(c.calls, Contains("LineTo 830," + std::to_string(y)));
    }
    EXPECT_EQ(TextAt(c, W("Quantidade por porção")), (Point{85, 185}));
    EXPECT_EQ(TextAt(c, "%VD(*)"), (Point{676, 183}));
    EXPECT_EQ(TextAt(c, W("Valor calórico")), (Point{85, 235}));
    EXPECT_EQ(TextAt(c, "120 Kcal"), (Point{468, 233}));
    EXPECT_EQ(TextAt(c, "5%"), (Point{716, 233}));
    EXPECT_EQ(TextAt(c, "140 mg"), (Point{488, 683}));
    EXPECT_EQ(TextAt(c, W("* Valores diários de referência com base")), (Point{79, 733}));
    EXPECT_EQ(TextAt(c, "   em uma dieta de 2500 calorias"), (Point{79, 783}));
}

TEST(LabelLayouts, NameAboveTheLabelCutTo37OnlyInTheVerticalLayout) {
    const std::string name = W("Bolo de fubá com goiabada e queijo minas");
    ASSERT_EQ(name.size(), 40u);
    const IniFile file = LabelFile(kOneLabel);

    const RecordingCanvas vertical = Draw(file, 1, true, name);
    // s = 47, f8 = 38: the 37 characters are 703 dots wide, centred in 751, one row up.
    EXPECT_EQ(TextAt(vertical, name.substr(0, 37)), (Point{103, 79}));
    EXPECT_FALSE(TextAt(vertical, name));
    EXPECT_THAT(vertical.calls, Contains("Rect 79,126,830,739"));

    for (int layout : {2, 3, 4}) {
        const RecordingCanvas other = Draw(file, layout, true, name + "   ");
        SCOPED_TRACE(layout);
        const auto at = TextAt(other, name);
        ASSERT_TRUE(at);
        EXPECT_EQ(at->y, 79);
    }
    EXPECT_THAT(Draw(file, 2, false, name).calls, Not(Contains(HasSubstr("queijo"))));
}

TEST(LabelLayouts, HorizontalLayoutGeometryAndPortionSplit) {
    const RecordingCanvas c = Draw(LabelFile(kOneLabel), 2, false);
    // r = 107, u = 58, f8 = 86, f7 = 75.
    EXPECT_THAT(c.calls, Contains("Rect 79,79,834,722"));
    for (int x : {253, 514, 572, 775}) {
        EXPECT_THAT(c.calls, Contains("MoveTo " + std::to_string(x) + ",79"));
        EXPECT_THAT(c.calls, Contains("LineTo " + std::to_string(x) + ",722"));
    }
    EXPECT_THAT(c.calls, Contains("Font Arial h75 bold"));
    // "Porção de 30 g" is wider than 3u = 174: three lines, each shrunk to fit 3u less a
    // gap of 4 at each side and lowered by half of what it lost to stay on its row.
    EXPECT_EQ(TextAt(c, W("Porção"))->y, 388 + (86 - 55) / 2);
    EXPECT_EQ(TextAt(c, "de 30 g")->y, 495 + (86 - 47) / 2);
    EXPECT_EQ(TextAt(c, " ( 1 fatia )")->y, 602 + (86 - 27) / 2);
    EXPECT_FALSE(TextAt(c, W("Porção de 30 g")));
    // Two tables of five: energy beside cholesterol, right-aligned amounts; a caption and
    // its amount share the cell of 4.5u and shrink together to fit it.
    EXPECT_EQ(TextAt(c, W("Valor calórico")), (Point{266, 228}));
    EXPECT_EQ(TextAt(c, "120 Kcal"), (Point{429, 228}));
    EXPECT_EQ(TextAt(c, "Colesterol")->y, 229);
    EXPECT_EQ(TextAt(c, W("Sódio"))->y, 652);
    // The long footnote does not fit 751 dots: two lines under the frame, as high as the
    // first fits the width (37 dots).
    EXPECT_EQ(TextAt(c, W("* Valores diários de referência com base")), (Point{79, 723}));
    EXPECT_EQ(TextAt(c, "  em uma dieta de 2500 calorias"), (Point{79, 760}));

    // A wide, low label: 3u = 519 holds the portion on one line.
    const RecordingCanvas wide =
        Draw(LabelFile(std::string(kOneLabel) + "LarEti=200\r\nAltEti=30\r\n"), 2, false);
    EXPECT_EQ(TextAt(wide, W("Porção de 30 g"))->y, 254);
    EXPECT_EQ(TextAt(wide, " ( 1 fatia )")->y, 302);
    EXPECT_FALSE(TextAt(wide, W("Porção")));
}

TEST(LabelLayouts, LinearLayoutRunsTheValuesWithoutSpaces) {
    const RecordingCanvas c = Draw(LabelFile(kOneLabel), 3, false);
    // r = 107, f9 = 96, f8 = 86; no frame and no lines. Every line is wider than the label
    // at those sizes: each is shrunk to fit 751 dots and lowered to stay on its row.
    EXPECT_EQ(Count(c, "Rect"), 0);
    EXPECT_EQ(Count(c, "LineTo"), 0);
    EXPECT_EQ(TextAt(c, W("INFORMAÇÃO NUTRICIONAL")), (Point{79, 115}));
    EXPECT_EQ(TextAt(c, W(" Porção de 30 g ( 1 fatia );")), (Point{387, 111}));
    EXPECT_EQ(
        TextAt(c, W("Caloria 120Kcal (5%*);Carboidrato 20,0g (5%); Proteína menosde1g (0%); ")),
        (Point{79, 223}));
    EXPECT_EQ(
        TextAt(c, "Gord.Total 2,5g (3%); Gord.Saturada 0,0g (0%); Colesterol menosde5mg (0%); "),
        (Point{79, 331}));
    EXPECT_EQ(TextAt(c, W("Fibra 1,0g (3%); Cálcio nãosignificativa (0%); Ferro 0,35mg (3%); "
                          "Sódio 140mg (6%); ")),
              (Point{79, 439}));
    EXPECT_EQ(
        TextAt(c, W("*Valores diários de referência com base em uma dieta de 2500 calorias.")),
        (Point{79, 539}));
}

TEST(LabelLayouts, CustomLayoutGeometry) {
    const RecordingCanvas c = Draw(LabelFile(kOneLabel), 4, false);
    // e = 83, t = 75, f8 = 66.
    EXPECT_THAT(c.calls, Contains("Rect 79,79,830,661"));
    for (int x : {379, 454, 754, 829}) {
        EXPECT_THAT(c.calls, Contains("MoveTo " + std::to_string(x) + ",162"));
        EXPECT_THAT(c.calls, Contains("LineTo " + std::to_string(x) + ",661"));
    }
    for (int y = 162; y <= 577; y += 83) {
        EXPECT_THAT(c.calls, Contains("LineTo 829," + std::to_string(y)));
    }
    // The texts too wide for their cells are shrunk and lowered by half of what they lost.
    EXPECT_EQ(TextAt(c, W("INFORMAÇÃO NUTRICIONAL   Porção de 30 g ( 1 fatia )"))->y, 104);
    EXPECT_EQ(TextAt(c, "VD*")->y, 180);
    EXPECT_EQ(TextAt(c, W("Valor calórico")), (Point{89, 273}));
    EXPECT_EQ(TextAt(c, "120 Kcal"), (Point{280, 273}));  // right-aligned on 4t
    EXPECT_EQ(TextAt(c, "5%")->x, 79 + 300 + 4);
}

// 0.45 of the font height wide, about the width of a letter of the printed typeface.
class NarrowCanvas : public RecordingCanvas {
  public:
    int TextWidth(const std::string& text) override {
        return static_cast<int>(text.size()) * std::max(font.height, 1) * 45 / 100;
    }
};

// The boxes of the texts and the lines of a label recorded on a NarrowCanvas.
struct Drawing {
    struct Box {
        std::string text;
        int left, top, right, bottom;  // right and bottom exclusive
        int height;
    };
    struct Segment {
        int x1, y1, x2, y2;  // both ends drawn
    };
    std::vector<Box> texts;
    std::vector<Segment> lines;
};

Drawing Parse(const RecordingCanvas& c) {
    Drawing d;
    int h = 0;
    Point at{0, 0};
    for (const auto& call : c.calls) {
        int a = 0;
        int b = 0;
        int r = 0;
        int e = 0;
        int n = 0;
        if (std::sscanf(call.c_str(), "Font Arial h%d", &a) == 1) {
            h = a;
        } else if (std::sscanf(call.c_str(), "Text %d,%d%n", &a, &b, &n) == 2) {
            const std::string text = call.substr(static_cast<size_t>(n) + 1);
            d.texts.push_back(
                {text, a, b, a + static_cast<int>(text.size()) * h * 45 / 100, b + h, h});
        } else if (std::sscanf(call.c_str(), "MoveTo %d,%d", &a, &b) == 2) {
            at = {a, b};
        } else if (std::sscanf(call.c_str(), "LineTo %d,%d", &a, &b) == 2) {
            d.lines.push_back({at.x, at.y, a, b});
            at = {a, b};
        } else if (std::sscanf(call.c_str(), "Rect %d,%d,%d,%d", &a, &b, &r, &e) == 4) {
            d.lines.push_back({a, b, r - 1, b});
            d.lines.push_back({a, e - 1, r - 1, e - 1});
            d.lines.push_back({a, b, a, e - 1});
            d.lines.push_back({r - 1, b, r - 1, e - 1});
        }
    }
    return d;
}

bool Crosses(const Drawing::Box& t, const Drawing::Segment& l) {
    const int x1 = std::min(l.x1, l.x2);
    const int x2 = std::max(l.x1, l.x2);
    const int y1 = std::min(l.y1, l.y2);
    const int y2 = std::max(l.y1, l.y2);
    return t.left <= x2 && x1 < t.right && t.top <= y2 && y1 < t.bottom;
}

Drawing DrawNarrow(int layout, bool withName) {
    NarrowCanvas canvas;
    DrawLabelSheet(canvas, LabelFile(kOneLabel), W("Bolo de fubá com goiabada e queijo"), Record(),
                   {layout, withName}, nullptr);
    return Parse(canvas);
}

// Layouts 2 to 4 on the default 67 mm label had texts wider than their cells and the label;
// layout 1 its "menos de 1g" across the line of its cell. Each text is now drawn at the
// largest size that fits, the layout's own where it fits.
TEST(LabelLayouts, TextsShrinkToStayInsideTheirCellsAndTheLabel) {
    for (int layout = 1; layout <= 4; ++layout) {
        for (const bool withName : {false, true}) {
            SCOPED_TRACE(std::to_string(layout) + (withName ? " with the name" : ""));
            const Drawing d = DrawNarrow(layout, withName);
            ASSERT_GT(d.texts.size(), 5u);
            for (size_t i = 0; i < d.texts.size(); ++i) {
                const auto& t = d.texts[i];
                SCOPED_TRACE(t.text);
                EXPECT_GE(t.left, 59);
                EXPECT_GE(t.top, 59);
                EXPECT_LE(t.right, 850);
                EXPECT_LE(t.bottom, 850);
                EXPECT_GE(t.height, 17);  // 4 points at 300 dpi, the least size
                for (const auto& l : d.lines) {
                    EXPECT_FALSE(Crosses(t, l))
                        << l.x1 << "," << l.y1 << " " << l.x2 << "," << l.y2;
                }
                for (size_t j = i + 1; j < d.texts.size(); ++j) {
                    const auto& o = d.texts[j];
                    EXPECT_FALSE(t.left < o.right && o.left < t.right && t.top < o.bottom &&
                                 o.top < t.bottom)
                        << o.text;
                }
            }
        }
    }

    // Layout 1: "menos de 1g" (11 characters, 198 dots at 40) inside its cell of q = 188
    // between the lines at 455 and 643, at the largest height that leaves a gap of 2 each
    // side; the amounts and captions that fit keep the layout's 40 dots.
    const Drawing vertical = DrawNarrow(1, false);
    const auto box = [&](const std::string& text) {
        const auto it = std::find_if(vertical.texts.begin(), vertical.texts.end(),
                                     [&](const auto& t) { return t.text == text; });
        EXPECT_NE(it, vertical.texts.end()) << text;
        return it == vertical.texts.end() ? Drawing::Box{} : *it;
    };
    const auto lessThan1g = box("menos de 1g");
    EXPECT_GT(lessThan1g.left, 455);
    EXPECT_LT(lessThan1g.right, 643);
    EXPECT_EQ(lessThan1g.height, 37);
    for (const std::string& text :
         {std::string("120 Kcal"), std::string("140 mg"), W("Valor calórico"), std::string("5%")}) {
        EXPECT_EQ(box(text).height, 40) << text;
    }
}

TEST(LabelLayouts, EmptyOrBlankMeasurePrintsNoParentheses) {
    const IniFile file = LabelFile(kOneLabel);
    for (int layout = 1; layout <= 4; ++layout) {
        SCOPED_TRACE(layout);
        EXPECT_THAT(DrawnTexts(Draw(file, layout, false, "Bolo", "1 fatia")),
                    Contains(HasSubstr(" ( 1 fatia )")));
        for (std::string_view measure : {"", "     "}) {
            EXPECT_THAT(DrawnTexts(Draw(file, layout, false, "Bolo", measure)),
                        Not(Contains(HasSubstr(" ( "))));
        }
    }
}

TEST(LabelLayouts, CaptionsComeFromTheSheetSetupAtEveryDrawing) {
    IniFile file = LabelFile(kOneLabel);  // DadRot holds the default captions
    file.WriteString("CfgEti", "DesKAL", "Energia");
    const RecordingCanvas c = Draw(file, 1, false);
    EXPECT_TRUE(TextAt(c, "Energia"));
    EXPECT_FALSE(TextAt(c, W("Valor calórico")));
}

TEST(LabelLayouts, NewPreparationDrawsTheFrameWithoutValues) {
    const RecordingCanvas c = Draw(IniFile::FromBytes(kOneLabel), 4, false);
    EXPECT_THAT(c.calls, Contains("Rect 79,79,830,661"));
    EXPECT_TRUE(TextAt(c, W("Valor calórico")));
    EXPECT_FALSE(TextAt(c, "%VD(*)"));
}

class ProgressRecorder : public ProgressSink {
  public:
    void Begin(int) override {}
    void SetPosition(int position) override { positions.push_back(position); }
    void End() override {}
    std::vector<int> positions;
};

TEST(LabelSheet, EveryLabelOfTheSheetWithProgressByRow) {
    const IniFile file = LabelFile("");
    RecordingCanvas c;
    ProgressRecorder progress;
    DrawLabelSheet(c, file, "Bolo", Record(), {1, false}, &progress);
    EXPECT_EQ(Count(c, "Rect "), 25);
    EXPECT_THAT(c.calls, Contains("Rect 79,79,830,731"));
    EXPECT_THAT(c.calls, Contains("Rect 3479,3479,4230,4131"));  // 79 + 4 x (791 + 59)
    EXPECT_EQ(progress.positions, (std::vector<int>{20, 40, 60, 80, 100}));

    for (const char* none : {"[CfgEti]\r\nQuaEtiLin=0\r\n", "[CfgEti]\r\nAltUti=0\r\n",
                             "[CfgEti]\r\nResImp=0\r\n", "[CfgEti]\r\nQuaEtiCol=-2\r\n"}) {
        RecordingCanvas nothing;
        DrawLabelSheet(nothing, LabelFile(none), "Bolo", Record(), {1, false}, nullptr);
        EXPECT_EQ(Count(nothing, "Text"), 0) << none;
    }
}

TEST(LabelSheet, LabelsThatDoNotFitThePageAreCountedAndClipped) {
    const PageArea a4{2480, 3508};  // 210 x 297 mm at 300 dpi
    const LabelFit fit = LabelsFittingPage(SheetGeometry(IniFile::FromBytes("")), a4);
    EXPECT_EQ(fit.fitting, 8);  // 2 across, 4 down
    EXPECT_EQ(fit.total, 25);
    EXPECT_EQ(LabelFitWarning(fit), W("Apenas 8 das 25 etiquetas da folha cabem inteiras na página "
                                      "da impressora; as demais sairão cortadas."));
    EXPECT_EQ(LabelFitWarning({1, 25}), W("Apenas 1 das 25 etiquetas da folha cabe inteira na "
                                          "página da impressora; as demais sairão cortadas."));
    EXPECT_EQ(LabelFitWarning({0, 25}), W("Nenhuma das 25 etiquetas da folha cabe inteira na "
                                          "página da impressora: todas sairão cortadas."));
    const LabelFit all =
        LabelsFittingPage(SheetGeometry(IniFile::FromBytes(kOneLabel)), PageArea{850, 850});
    EXPECT_EQ(all.fitting, 1);
    EXPECT_EQ(all.total, 1);
    EXPECT_EQ(LabelFitWarning(all), "");
    EXPECT_EQ(
        LabelsFittingPage(SheetGeometry(IniFile::FromBytes(kOneLabel)), PageArea{849, 850}).fitting,
        0);

    // A sheet of 99999 x 99999 labels: only those near the page are drawn.
    RecordingCanvas c;
    DrawLabelSheet(c, LabelFile("[CfgEti]\r\nQuaEtiLin=99999\r\nQuaEtiCol=99999\r\n"), "Bolo",
                   Record(), {4, false}, nullptr, a4);
    EXPECT_GE(Count(c, "Rect "), 8);
    EXPECT_LE(Count(c, "Rect "), 100);
    EXPECT_THAT(c.calls, Contains("Rect 79,79,830,661"));

    // Absurd sizes and gaps never fail.
    for (const char* odd : {"[CfgEti]\r\nLarEti=9e99\r\nResImp=99999\r\n",
                            "[CfgEti]\r\nDisHorEti=-67\r\nQuaEtiLin=99999\r\n",
                            "[CfgEti]\r\nComUti=99999\r\nAltUti=99999\r\n"}) {
        RecordingCanvas any;
        DrawLabelSheet(any, LabelFile(odd), "Bolo", Record(), {2, true}, nullptr, a4);
        (void)LabelsFittingPage(SheetGeometry(LabelFile(odd)), a4);
    }
}

TEST(LabelSheet, SheetsTooLargeToDrawAreRefused) {
    struct Case {
        int across, down;
        std::optional<PageArea> picture;
        bool refused;
        int resolution = 300;
    };
    const std::vector<Case> cases = {
        {5, 5, std::nullopt, false},
        {100, 100, std::nullopt, false},  // 10,000 labels: the most a sheet draws
        {100, 101, std::nullopt, true},
        {1000, 1000, std::nullopt, true},
        {99999, 99999, std::nullopt, true},
        {10, 10, PageArea{14142, 14142}, false},  // just under 200 million dots
        {10, 10, PageArea{14143, 14142}, true},
        {10, 10, PageArea{59000, 59000}, true},
        {1000, 1000, PageArea{59000, 59000}, true},
        {0, 5, std::nullopt, true},  // no label across
        {5, -1, std::nullopt, true},
        {5, 5, std::nullopt, false, 72},  // the least resolution
        {5, 5, std::nullopt, true, 71},
        {5, 5, std::nullopt, true, 1},
    };
    for (const Case& c : cases) {
        LabelGeometry sheet;
        sheet.across = c.across;
        sheet.down = c.down;
        sheet.resolution = c.resolution;
        const std::string refusal = SheetTooLarge(sheet, c.picture);
        EXPECT_EQ(!refusal.empty(), c.refused) << c.across << " x " << c.down << ": " << refusal;
    }
    LabelGeometry sheet;
    sheet.across = 10;
    EXPECT_EQ(SheetTooLarge(sheet, PageArea{20000, 20000}),
              W("A imagem da folha de etiquetas teria 20000 x 20000 pontos, mais do que os 200 "
                "milhões que o programa desenha numa imagem. Diminua a resolução, o tamanho ou a "
                "quantidade de etiquetas, ou gere a folha em PDF."));
}

TEST(LabelPreview, OneLabelCentredInThePreview) {
    const IniFile file = LabelFile("");
    const LabelGeometry g = *PreviewGeometry(file);
    EXPECT_EQ(g.labelWidth, 258);
    EXPECT_EQ(g.labelHeight, 258);
    EXPECT_EQ(g.left, 121);
    EXPECT_EQ(g.top, 0);
    EXPECT_EQ(g.across, 1);
    EXPECT_EQ(g.down, 1);
    const LabelGeometry wide =
        *PreviewGeometry(IniFile::FromBytes("[CfgEti]\r\nLarEti=100\r\nAltEti=30\r\n"));
    EXPECT_EQ(wide.labelWidth, 500);
    EXPECT_EQ(wide.labelHeight, 150);
    EXPECT_EQ(wide.left, 0);
    EXPECT_EQ(wide.top, 54);

    RecordingCanvas c;
    RedrawPreview(c, file, "Bolo", Record(), {1, false});
    ASSERT_FALSE(c.calls.empty());
    EXPECT_EQ(c.calls.front(), "Clear 0,0,500,258");
    EXPECT_EQ(Count(c, "Rect "), 1);
    // usedW = usedH = 245, x0 = 121 + 6 = 127, y0 = 0 + 6 + 0 = 6; s = 16.
    EXPECT_THAT(c.calls, Contains("Rect 127,6,372,216"));
}

TEST(LabelPreview, SizesThatRoundToZeroOrNoLayoutLeaveItEmpty) {
    for (const auto& [cfg, layout] :
         std::vector<std::pair<std::string, int>>{{"[CfgEti]\r\nLarEti=0\r\n", 1},
                                                  {"[CfgEti]\r\nAltEti=0,4\r\n", 2},
                                                  {"[CfgEti]\r\nAltEti=-10\r\n", 3},
                                                  {"[CfgEti]\r\nLarEti=0,5\r\n", 4},
                                                  {"", 0},
                                                  {"", 6}}) {
        RecordingCanvas c;
        RedrawPreview(c, LabelFile(cfg), "Bolo", Record(), {layout, true});
        EXPECT_EQ(c.calls, std::vector<std::string>{"Clear 0,0,500,258"}) << cfg << layout;
    }
}

// Text metrics near those of the sans-serif face the labels are printed in: a character
bool Fits(const std::string& cfgEti, int layout, bool withName = false,
          std::string_view measure = "1 fatia") {
    const IniFile file = LabelFile(cfgEti, measure);
    NarrowCanvas measuring;
    const bool fits = LabelContentFits(measuring, LoadLabelContent(file, "Bolo", Record(measure)),
                                       SheetGeometry(file), layout, withName);
    EXPECT_TRUE(measuring.calls.empty() ||
                std::none_of(measuring.calls.begin(), measuring.calls.end(), [](const auto& c) {
                    return c.rfind("Text ", 0) == 0 || c.rfind("Rect ", 0) == 0;
                }));  // measured, nothing drawn
    return fits;
}

TEST(LabelContentFit, TextsThatOverlapOrLeaveTheLabelDoNotFit) {
    struct Case {
        const char* what;
        std::string cfgEti;
        int layout;
        bool withName;
        std::string_view measure;
        bool fits;
    };
    const std::string wide = "[CfgEti]\r\nLarEti=200\r\nAltEti=30\r\n";
    const std::string small = "[CfgEti]\r\nLarEti=25\r\nAltEti=25\r\n";
    const Case cases[] = {
        {"vertical, default label", "", 1, false, "1 fatia", true},
        {"vertical with the name", "", 1, true, "1 fatia", true},
        // The texts too wide for their cells are drawn smaller, down to 4 points.
        {"horizontal, default label", "", 2, false, "1 fatia", true},
        {"horizontal, wide label", wide, 2, false, "1 fatia", true},
        {"linear, default label", "", 3, false, "1 fatia", true},
        {"custom, default label", "", 4, false, "1 fatia", true},
        {"custom, wide label", wide, 4, false, "1 fatia", true},
        {"vertical, long caption", "[CfgEti]\r\nDesKAL=Valor energetico da porcao\r\n", 1, false,
         "1 fatia", true},
        {"vertical, long measure", "", 1, false, "2 colheres de sopa cheias e bem medidas", true},
        // What does not fit even at 4 points: a label 15 mm wide, a label of 25 mm.
        {"vertical, narrow label", "[CfgEti]\r\nLarEti=15\r\n", 1, false, "1 fatia", false},
        {"horizontal, small label", small, 2, false, "1 fatia", false},
        {"linear, small label", small, 3, false, "1 fatia", false},
        {"custom, small label", small, 4, false, "1 fatia", false},
        // A caption that takes the whole cell from the amount beside it.
        {"custom, long caption",
         "[CfgEti]\r\nDesKAL=Valor energetico da porcao de referencia em quilocalorias\r\n", 4,
         false, "1 fatia", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Fits(c.cfgEti, c.layout, c.withName, c.measure), c.fits);
    }
}

TEST(LabelContentFit, NoLayoutOrNoRoomHasNothingToCheck) {
    EXPECT_TRUE(Fits("", 0));
    EXPECT_TRUE(Fits("[CfgEti]\r\nLarEti=0\r\n", 1));
}

}  // namespace
}  // namespace velmaro
