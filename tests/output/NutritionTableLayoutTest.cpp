#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "output/labels/current/NutritionTableLayout.h"
#include "output/labels/legacy/LabelLayouts.h"
#include "storage/Cp1252.h"
#include "support/RecordingCanvas.h"

namespace velmaro {
namespace {

using namespace rdc429;
using test::RecordingCanvas;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// A cake of 500 g in 60 g slices, every amount known.
NutritionTableInput CakeInput() {
    NutritionTableInput in;
    in.yield = 500;
    in.portion = 60;
    in.measure = "1 fatia";
    in.netContent = 450;
    const long double amounts[] = {2197.5L, 336.85L, 150.1L, 149.25L, 25.9L,
                                   84.5L,   51.63L,  3.3L,   5.75L,   644};
    for (int k = 0; k < kRowCount; ++k) {
        in.amounts[static_cast<size_t>(k)].known = amounts[k];
    }
    return in;
}

NutritionTable Table(bool incomplete) {
    NutritionTableInput in = CakeInput();
    if (incomplete) {
        // The added sugars known reach their limit all the same; the sodium known does not.
        in.amounts[kAddedSugars].missingIn = {"Mel"};
        in.amounts[kSodium].missingIn = {"Mel"};
    }
    return ComposeNutritionTable(in);
}

struct Drawn {
    int x;
    int y;
    std::string text;
};

std::vector<Drawn> Texts(const RecordingCanvas& c) {
    std::vector<Drawn> texts;
    for (const std::string& call : c.calls) {
        int x = 0;
        int y = 0;
        int n = 0;
        if (std::sscanf(call.c_str(), "Text %d,%d%n", &x, &y, &n) == 2) {
            texts.push_back({x, y, call.substr(static_cast<size_t>(n) + 1)});
        }
    }
    return texts;
}

std::vector<std::string> Words(const std::vector<Drawn>& texts) {
    std::vector<std::string> words;
    for (const Drawn& d : texts) {
        words.push_back(d.text);
    }
    return words;
}

// The smallest font cell drawn, in dots.
int SmallestFont(const RecordingCanvas& c) {
    int smallest = 1 << 30;
    for (const std::string& call : c.calls) {
        int h = 0;
        if (std::sscanf(call.c_str(), "Font Arial h%d", &h) == 1) {
            smallest = std::min(smallest, h);
        }
    }
    return smallest;
}

// At print size (300 dots per inch) the table reads top to bottom as the rules set it, no
// text smaller than 8 pt, every row below the one before.
TEST(NutritionTableLayout, TableAtPrintSizeInItsOrder) {
    RecordingCanvas canvas(300);
    const PictureSize size = DrawNutritionTable(canvas, Table(false), 100, 200, 300);
    const std::vector<Drawn> texts = Texts(canvas);
    std::vector<std::string> words = Words(texts);
    // The footnote is wrapped to the table's width: its lines read as one.
    std::string footnote;
    while (words.size() > 45) {
        footnote = words.back() + (footnote.empty() ? "" : " ") + footnote;
        words.pop_back();
    }
    EXPECT_EQ(footnote, W("*Percentual de valores diários fornecidos pela porção."));
    EXPECT_THAT(words,
                ElementsAreArray(std::vector<std::string>{W("INFORMAÇÃO NUTRICIONAL"),
                                                          W("Porções por embalagem: Cerca de 8"),
                                                          W("Porção: 60 g (1 fatia)"),
                                                          "100 g",
                                                          "60 g",
                                                          "%VD*",
                                                          W("Valor energético (kcal)"),
                                                          "442",
                                                          "262",
                                                          "13",
                                                          "Carboidratos (g)",
                                                          "67",
                                                          "40",
                                                          "13",
                                                          W("Açúcares totais (g)"),
                                                          "30",
                                                          "18",
                                                          W("Açúcares adicionados (g)"),
                                                          "30",
                                                          "18",
                                                          "36",
                                                          W("Proteínas (g)"),
                                                          "5,2",
                                                          "3,1",
                                                          "6",
                                                          "Gorduras totais (g)",
                                                          "17",
                                                          "10",
                                                          "15",
                                                          "Gorduras saturadas (g)",
                                                          "10",
                                                          "6,2",
                                                          "31",
                                                          "Gorduras trans (g)",
                                                          "0,7",
                                                          "0,4",
                                                          "20",
                                                          "Fibras alimentares (g)",
                                                          "1,2",
                                                          "0,7",
                                                          "3",
                                                          W("Sódio (mg)"),
                                                          "129",
                                                          "77",
                                                          "4"}));
    for (size_t i = 1; i < texts.size(); ++i) {
        EXPECT_GE(texts[i].y, texts[i - 1].y) << texts[i].text;
    }
    // Indentation: sugars under carbohydrates, added sugars under them, saturated and trans
    // under total fat.
    const auto xOf = [&](const std::string& caption) {
        for (const Drawn& d : texts) {
            if (d.text == caption) {
                return d.x;
            }
        }
        return -1;
    };
    EXPECT_LT(xOf("Carboidratos (g)"), xOf(W("Açúcares totais (g)")));
    EXPECT_LT(xOf(W("Açúcares totais (g)")), xOf(W("Açúcares adicionados (g)")));
    EXPECT_LT(xOf("Gorduras totais (g)"), xOf("Gorduras trans (g)"));
    EXPECT_GE(SmallestFont(canvas), FontCellDots(kNutritionBodyPoints, 300));
    EXPECT_GE(FontCellDots(kNutritionBodyPoints, 300), 8 * 1.117 * 300 / 72);
    EXPECT_GT(size.height, 0);
    EXPECT_GT(size.width, 0);
}

// Every picture of an incomplete table carries the words across it; its unknown cells
// say "?", and an undecided limit shows on the mark as such.
TEST(NutritionTableLayout, IncompleteTableAndMarkCarryTheWords) {
    const NutritionTable t = Table(true);
    RecordingCanvas table(300);
    DrawNutritionTable(table, t, 0, 0, 300);
    const std::vector<std::string> words = Words(Texts(table));
    std::string all;
    for (const std::string& w : words) {
        all += w + "\n";
    }
    EXPECT_NE(all.find(W("INCOMPLETO – NÃO USAR EM EMBALAGEM")), std::string::npos) << all;
    EXPECT_NE(all.find(W("Açúcares adicionados (g)\n?\n?\n?\n")), std::string::npos);

    RecordingCanvas mark(300);
    DrawHighInMark(mark, t, 0, 0, 300);
    std::string marked;
    for (const std::string& w : Words(Texts(mark))) {
        marked += w + "|";
    }
    EXPECT_EQ(marked.substr(0, marked.find(W("INCOMPLETO"))),
              W("ALTO EM|AÇÚCAR|ADICIONADO|GORDURA|SATURADA|SÓDIO ?|"));
    EXPECT_NE(marked.find("EMBALAGEM|"), std::string::npos) << marked;

    // The sheet: the mark beside each table.
    RecordingCanvas sheet(300);
    LabelGeometry g;
    g.labelWidth = 1200;
    g.labelHeight = 900;
    g.across = 2;
    g.down = 1;
    g.gapAcross = 50;
    DrawNutritionLabels(sheet, t, "Bolo", g, true);
    const std::vector<Drawn> texts = Texts(sheet);
    int titles = 0;
    int marks = 0;
    int tableX = -1;
    for (const Drawn& d : texts) {
        if (d.text == W("INFORMAÇÃO NUTRICIONAL")) {
            ++titles;
            tableX = d.x;
        } else if (d.text == "ALTO EM") {
            ++marks;
            EXPECT_GT(d.x, tableX);
        }
    }
    EXPECT_EQ(titles, 2);
    EXPECT_EQ(marks, 2);
    EXPECT_EQ(texts.front().text, "Bolo");
}

// A mark whose limits are all reached by the known part is right whatever is missing: it
// carries no words of its own (and is no taller than the complete table's), while the
// table still does.
TEST(NutritionTableLayout, ACertainMarkOfAnIncompleteTableCarriesNoWords) {
    NutritionTableInput in = CakeInput();
    in.amounts[kProteins].missingIn = {"Mel"};
    const NutritionTable t = ComposeNutritionTable(in);
    ASSERT_TRUE(t.incomplete);
    ASSERT_TRUE(t.highInInconclusive.empty());
    ASSERT_FALSE(t.highIn.empty());

    RecordingCanvas table(300);
    DrawNutritionTable(table, t, 0, 0, 300);
    std::string all;
    for (const std::string& w : Words(Texts(table))) {
        all += w + "\n";
    }
    EXPECT_NE(all.find("INCOMPLETO"), std::string::npos) << all;

    RecordingCanvas mark(300);
    const PictureSize drawn = DrawHighInMark(mark, t, 0, 0, 300);
    std::string marked;
    for (const std::string& w : Words(Texts(mark))) {
        marked += w + "|";
    }
    EXPECT_EQ(marked.find("INCOMPLETO"), std::string::npos) << marked;
    EXPECT_EQ(marked.find("EMBALAGEM"), std::string::npos) << marked;
    RecordingCanvas whole(300);
    EXPECT_EQ(drawn.height, DrawHighInMark(whole, Table(false), 0, 0, 300, false).height);
}

// A sheet label of the nutrition table fits when the table, the mark beside it and the
// name over it stay inside the label as the sheet places them; measured, nothing drawn.
TEST(NutritionTableLayout, ALabelOfTheTableFitsOnlyALabelLargeEnough) {
    const NutritionTable t = Table(false);
    RecordingCanvas measure(300);
    const PictureSize drawn = DrawNutritionLabel(measure, t, "", 0, 0, 300, 0, false);
    ASSERT_TRUE(measure.calls.empty() ||
                std::none_of(measure.calls.begin(), measure.calls.end(),
                             [](const std::string& c) { return c.rfind("Text ", 0) == 0; }));
    // A label with room for exactly that: the content sits in the used 95 % of it.
    const auto label = [](int width, int height) {
        LabelGeometry g;
        g.labelWidth = width;
        g.labelHeight = height;
        g.left = 59;
        g.top = 59;
        g.widthUsed = 100;
        g.heightUsed = 100;
        return g;
    };
    EXPECT_TRUE(NutritionLabelFits(measure, t, "Bolo", label(drawn.width, drawn.height), false));
    EXPECT_FALSE(
        NutritionLabelFits(measure, t, "Bolo", label(drawn.width - 1, drawn.height), false));
    EXPECT_FALSE(
        NutritionLabelFits(measure, t, "Bolo", label(drawn.width, drawn.height - 1), false));
    // The name over the table takes a row.
    EXPECT_FALSE(NutritionLabelFits(measure, t, "Bolo", label(drawn.width, drawn.height), true));
    // The default 67 x 67 mm label (791 dots at 300 dpi) is too small for table and mark.
    LabelGeometry standard = label(791, 791);
    standard.widthUsed = 95;
    standard.heightUsed = 95;
    EXPECT_FALSE(NutritionLabelFits(measure, t, "Bolo", standard, false));
}

// A common 90 x 80 mm label: the table and its mark side by side run out of it; a sheet
// of the tables alone or of the marks alone fits, each label carrying only its part.
TEST(NutritionTableLayout, ASheetOfTheTablesOrOfTheMarksAlone) {
    const NutritionTable t = Table(false);
    ASSERT_TRUE(HasHighInMark(t));
    const LabelGeometry g = SheetGeometry(IniFile::FromBytes(
        "[CfgEti]\r\nResImp=300\r\nLarEti=90\r\nAltEti=80\r\nQuaEtiLin=2\r\nQuaEtiCol=3\r\n"));
    RecordingCanvas measure(300);
    EXPECT_FALSE(NutritionLabelFits(measure, t, "Bolo", g, false, SheetPart::Both));
    EXPECT_TRUE(NutritionLabelFits(measure, t, "Bolo", g, true, SheetPart::Tables));
    EXPECT_TRUE(NutritionLabelFits(measure, t, "Bolo", g, false, SheetPart::Marks));

    struct Case {
        SheetPart part;
        int tables;
        int marks;
    };
    for (const Case& c : {Case{SheetPart::Tables, 6, 0}, Case{SheetPart::Marks, 0, 6},
                          Case{SheetPart::Both, 6, 6}}) {
        RecordingCanvas sheet(300);
        DrawNutritionLabels(sheet, t, "Bolo", g, false, nullptr, std::nullopt, c.part);
        const std::vector<Drawn> texts = Texts(sheet);
        const auto count = [&](const std::string& text) {
            return std::count_if(texts.begin(), texts.end(),
                                 [&](const Drawn& d) { return d.text == text; });
        };
        EXPECT_EQ(count(W("INFORMAÇÃO NUTRICIONAL")), c.tables);
        EXPECT_EQ(count("ALTO EM"), c.marks);
    }
    // A table without a mark has no sheet of marks.
    const NutritionTable plain = [] {
        NutritionTable p = Table(false);
        p.highIn.clear();
        return p;
    }();
    RecordingCanvas none(300);
    DrawNutritionLabels(none, plain, "Bolo", g, false, nullptr, std::nullopt, SheetPart::Marks);
    EXPECT_TRUE(Texts(none).empty());
}

TEST(NutritionTableLayout, PreviewFitsTheArea) {
    RecordingCanvas canvas(96);
    DrawNutritionTablePreview(canvas, Table(true), kPreviewWidth, kPreviewHeight);
    for (const Drawn& d : Texts(canvas)) {
        EXPECT_GE(d.x, 0) << d.text;
        EXPECT_LE(d.y, kPreviewHeight) << d.text;
    }
    RecordingCanvas none(96);
    NutritionTableInput in;
    in.yield = 100;
    in.portion = 100;
    DrawHighInMarkPreview(none, ComposeNutritionTable(in), kMarkPreviewWidth, kPreviewHeight);
    EXPECT_TRUE(Texts(none).empty());
}

}  // namespace
}  // namespace velmaro
