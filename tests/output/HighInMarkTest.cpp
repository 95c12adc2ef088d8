// The "ALTO EM" mark drawn to its geometry, measured on the recorded drawing at 300 dpi (the
// recording canvas' fixed metrics: a capital of half the cell, an "I" of two thirds of its
// advance), and the foods whose front-of-pack labelling is forbidden. The same mark drawn
// by Qt and measured in its pixels: tests/e2e/HighInMarkPictureTest.cpp.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "output/labels/current/NutritionTableLayout.h"
#include "output/labels/mark/FrontOfPack.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "support/RecordingCanvas.h"

namespace velmaro {
namespace {

using test::RecordingCanvas;

NutritionTable Reached(std::vector<std::string> words) {
    NutritionTable t;
    t.rules = "RDC 429/2020 + IN 75/2020";
    t.highIn = std::move(words);
    return t;
}

struct Box {
    int left, top, right, bottom;
    std::string ink;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

std::vector<Box> RoundRects(const RecordingCanvas& c) {
    std::vector<Box> boxes;
    for (const std::string& call : c.calls) {
        Box b{};
        int radius = 0;
        char ink[8] = {};
        if (std::sscanf(call.c_str(), "RoundRect %d,%d,%d,%d r=%d %7s", &b.left, &b.top, &b.right,
                        &b.bottom, &radius, ink) == 6) {
            b.ink = ink;
            boxes.push_back(b);
        }
    }
    return boxes;
}

TEST(HighInMark, DrawnToTheGeometryOfItsTwoMeasuresAt300Dpi) {
    RecordingCanvas canvas(300);
    const HighInMarkMeasures m = MeasureHighInMark(canvas, 300);
    // The mark's own font: Arial Narrow (Liberation Sans Narrow) bold, 9 pt at least.
    EXPECT_EQ(canvas.font.family, "Arial Narrow");
    EXPECT_TRUE(canvas.font.bold);
    EXPECT_EQ(canvas.font.height, FontCellDots(9, 300));
    EXPECT_EQ(m.y, canvas.TextInkBox("A").Height());
    EXPECT_EQ(m.z, canvas.TextInkBox("I").Width());
    const int Y = m.y;
    const int Z = m.z;
    ASSERT_EQ(Y, 22);
    ASSERT_EQ(Z, 16);

    canvas.calls.clear();
    const NutritionTable t = Reached({W("AÇÚCAR ADICIONADO"), "GORDURA SATURADA", W("SÓDIO")});
    const PictureSize size = DrawHighInMark(canvas, t, 100, 200, 300);
    // Border 1Z, margin 2Z, four blocks of 3Y x 8Y with 2Z between them.
    EXPECT_EQ(size.width, 2 * Z + 4 * Z + 8 * Y);
    EXPECT_EQ(size.height, 2 * Z + 4 * Z + 4 * 3 * Y + 3 * 2 * Z);
    const std::vector<Box> boxes = RoundRects(canvas);
    ASSERT_EQ(boxes.size(), 5U);
    EXPECT_EQ(boxes[0].left, 100);
    EXPECT_EQ(boxes[0].top, 200);
    EXPECT_EQ(boxes[0].Width(), size.width);
    EXPECT_EQ(boxes[0].ink, "black");
    EXPECT_EQ(boxes[1].left - boxes[0].left, Z);  // the border
    EXPECT_EQ(boxes[0].bottom - boxes[1].bottom, Z);
    EXPECT_EQ(boxes[1].ink, "white");
    const int left = 100 + 3 * Z;
    for (int i = 0; i < 3; ++i) {
        const Box& module = boxes[static_cast<size_t>(2 + i)];
        EXPECT_EQ(module.ink, "black");
        EXPECT_EQ(module.Width(), 8 * Y);
        EXPECT_EQ(module.Height(), 3 * Y);
        EXPECT_EQ(module.left, left);
        // Under the "ALTO EM" block and the one before, 2Z apart.
        EXPECT_EQ(module.top, 200 + 3 * Z + (i + 1) * (3 * Y + 2 * Z));
    }

    // "ALTO EM" in black ends 2Z from its block's right; the names in white, centred, the
    // long ones in two lines; the glass to the left of "ALTO EM", 1Z from the block's edge.
    std::vector<std::string> texts;
    std::string ink = "black";
    int titleInkRight = 0;
    int titleX = 0;
    for (const std::string& call : canvas.calls) {
        int x = 0;
        int y = 0;
        int n = 0;
        if (call.rfind("TextInk ", 0) == 0) {
            ink = call.substr(8);
        } else if (std::sscanf(call.c_str(), "Text %d,%d%n", &x, &y, &n) == 2) {
            const std::string text = call.substr(static_cast<size_t>(n) + 1);
            texts.push_back(text + " " + ink);
            if (text == "ALTO EM") {
                canvas.SetFont(canvas.font);
                titleX = x;
                titleInkRight = x + canvas.TextInkBox(text).right;
            }
        }
    }
    EXPECT_EQ(texts,
              (std::vector<std::string>{"ALTO EM black", W("AÇÚCAR white"), "ADICIONADO white",
                                        "GORDURA white", "SATURADA white", W("SÓDIO white")}));
    EXPECT_EQ(titleInkRight, left + 8 * Y - 2 * Z);
    // (Where the glass ends and how high it is, with the font's real proportions: in the
    // picture test.)
    int glassLeft = 1 << 30;
    for (const std::string& call : canvas.calls) {
        int l = 0, tp = 0, r = 0, b = 0;
        if (std::sscanf(call.c_str(), "Ellipse %d,%d,%d,%d", &l, &tp, &r, &b) == 4) {
            glassLeft = std::min(glassLeft, l);
        }
    }
    EXPECT_NEAR(glassLeft, left + Z, 1);
    EXPECT_GT(titleX, left);
}

TEST(HighInMark, NoMarkWithoutALimitOrForAFoodThatMayNotCarryIt) {
    RecordingCanvas canvas(300);
    EXPECT_FALSE(HasHighInMark(Reached({})));
    NutritionTable t = Reached({W("SÓDIO")});
    EXPECT_TRUE(HasHighInMark(t));
    t.frontOfPackForbidden = 10;
    EXPECT_FALSE(HasHighInMark(t));
    const PictureSize none = DrawHighInMark(canvas, t, 0, 0, 300);
    EXPECT_EQ(none.width, 0);
    EXPECT_EQ(none.height, 0);
    // Nor beside the table on a label.
    const PictureSize label = DrawNutritionLabel(canvas, t, "", 0, 0, 300, 0, false);
    t.frontOfPackForbidden = 0;
    EXPECT_GT(DrawNutritionLabel(canvas, t, "", 0, 0, 300, 0, false).width, label.width);
}

TEST(HighInMark, TheForbiddenFoodIsStoredAndSaid) {
    const std::vector<std::string> items = ForbiddenFoodTexts();
    ASSERT_EQ(items.size(), 19U);
    EXPECT_EQ(items[0], W("1 – Frutas, hortaliças, leguminosas, tubérculos, cereais, nozes, "
                          "castanhas, sementes e cogumelos"));
    EXPECT_EQ(items[18], W("19 – Fórmulas dietoterápicas para erros inatos do metabolismo"));

    IniFile ini = IniFile::FromBytes("[DadRot]\r\nAltEm=SÓDIO\r\n");
    EXPECT_EQ(LoadForbiddenFood(ini), 0);
    SaveForbiddenFood(ini, 6);
    EXPECT_EQ(ini.ReadString("DadRot", "SemFro", ""), "6");
    EXPECT_EQ(LoadForbiddenFood(ini), 6);
    EXPECT_EQ(LoadNutritionTable(ini).frontOfPackForbidden, 6);
    for (const char* stored : {"20", "-1", "x"}) {
        ini.WriteString("DadRot", "SemFro", stored);
        EXPECT_EQ(LoadForbiddenFood(ini), 0) << stored;
    }

    // Items 1 to 6 hold while no added ingredient alters the nutrients; the others always.
    const std::string cheese = ForbiddenFoodState(6);
    EXPECT_EQ(cheese.rfind(W("Rotulagem frontal vedada: 6 – Queijos."), 0), 0U) << cheese;
    EXPECT_NE(cheese.find(W("somente aos nutrientes alterados")), std::string::npos);
    EXPECT_EQ(ForbiddenFoodState(7), W("Rotulagem frontal vedada: 7 – Leites de todas as "
                                       "espécies de animais mamíferos."));
    EXPECT_EQ(ForbiddenFoodState(0), "");
    EXPECT_NE(OptionalMarkNotice().find(W("menor que 35 cm²")), std::string::npos);
}

}  // namespace
}  // namespace velmaro
