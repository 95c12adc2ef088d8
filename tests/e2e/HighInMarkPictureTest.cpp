// The "ALTO EM" mark drawn by Qt at 300 dpi in Liberation Sans Narrow Bold, measured in its
// pixels: Y (the height of the "A" of "ALTO EM") and Z (the width of the "I" of "SÓDIO") as
// printed, and the border, the modules and the glass in those measures.

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <vector>

#include "output/labels/mark/HighInMark.h"
#include "platform/qt/QtCanvas.h"
#include "storage/Cp1252.h"

namespace velmaro::test {
namespace {

using qt::QtBitmap;

struct Pixels {
    QtBitmap& bitmap;
    bool Black(int x, int y) const { return qGray(bitmap.Image().pixel(x, y)) < 128; }
    // The runs of black pixels along a row or a column, from..to (inclusive), as
    // (start, length).
    std::vector<std::pair<int, int>> Runs(bool row, int at, int from, int to, bool black) const {
        std::vector<std::pair<int, int>> runs;
        for (int i = from; i <= to; ++i) {
            const bool b = row ? Black(i, at) : Black(at, i);
            if (b == black) {
                if (!runs.empty() && runs.back().first + runs.back().second == i) {
                    ++runs.back().second;
                } else {
                    runs.push_back({i, 1});
                }
            }
        }
        return runs;
    }
};

TEST(HighInMarkPicture, MeasuredInThePixelsOfAMarkAt300Dpi) {
    QtBitmap bitmap(600, 900, 300);
    Canvas& canvas = bitmap.PageCanvas();
    const HighInMarkMeasures m = MeasureHighInMark(canvas, 300);
    NutritionTable t;
    t.rules = "RDC 429/2020 + IN 75/2020";
    t.highIn = {W("AÇÚCAR ADICIONADO"), "GORDURA SATURADA", W("SÓDIO")};
    constexpr int x0 = 20;
    constexpr int y0 = 20;
    const PictureSize size = DrawHighInMark(canvas, t, x0, y0, 300);
    if (const char* keep = std::getenv("VELMARO_KEEP_MARK")) {
        bitmap.SaveMonochromePng(std::filesystem::path(keep));
    }
    const int Y = m.y;
    const int Z = m.z;
    std::cout << "Y = " << Y << " dots, Z = " << Z << " dots at 300 dpi; the mark " << size.width
              << " x " << size.height << " dots\n";
    // 9 pt of Liberation Sans Narrow Bold: a capital of about 6,5 pt, a stem about a sixth
    // of it.
    EXPECT_NEAR(Y, 9 * 0.72 * 300 / 72, 2.5);
    EXPECT_GT(Z * 4, Y * 0.5);
    EXPECT_LT(Z * 4, Y * 1.2);
    const Pixels px{bitmap};

    // The border, 1Z, at the middle of the left side.
    const auto border = px.Runs(true, y0 + size.height / 2, x0, x0 + 3 * Z, true);
    ASSERT_FALSE(border.empty());
    EXPECT_EQ(border[0].first, x0);
    EXPECT_NEAR(border[0].second, Z, 1);

    // Down a column inside the modules, clear of their corners and of the names, below the
    // "ALTO EM" block (3Y under the border and the margin): three modules 3Y high, 2Z
    // apart, then the margin and the bottom border.
    const int left = x0 + 3 * Z;
    const int blocksTop = y0 + 3 * Z + 3 * Y;
    const auto down = px.Runs(false, left + 2 * Z - 1, blocksTop, y0 + size.height - 1, true);
    ASSERT_EQ(down.size(), 4U);
    std::vector<std::pair<int, int>> column{{blocksTop, 0}};
    column.insert(column.end(), down.begin(), down.end());
    for (size_t i = 1; i <= 3; ++i) {
        EXPECT_NEAR(column[i].second, 3 * Y, 1) << i;
        EXPECT_NEAR(column[i].first - (column[i - 1].first + column[i - 1].second), 2 * Z, 1) << i;
    }
    EXPECT_NEAR(column[4].first - (column[3].first + column[3].second), 2 * Z, 1);
    EXPECT_NEAR(column[4].second, Z, 1);

    // Across the middle of each module: black from its left to its right, 8Y.
    for (size_t i = 1; i <= 3; ++i) {
        const int middle = column[i].first + column[i].second / 2;
        const auto runs = px.Runs(true, middle, x0 + Z, x0 + size.width - 1 - Z, true);
        ASSERT_FALSE(runs.empty());
        const int from = runs.front().first;
        const int to = runs.back().first + runs.back().second;
        EXPECT_NEAR(from, left, 1);
        EXPECT_NEAR(to - from, 8 * Y, 1) << i;
    }

    // The "I" of "SÓDIO" as printed: white across the middle of the capitals, the fourth
    // letter; S and I cross that row once, Ó, D and O twice.
    {
        const int middle = column[3].first + column[3].second / 2;
        const auto white = px.Runs(true, middle, left, left + 8 * Y - 1, false);
        ASSERT_EQ(white.size(), 8U);
        EXPECT_NEAR(white[5].second, Z, 1);
    }

    // The title block: "ALTO EM" black, its "A" Y high; the glass left of it, 1Z from the
    // block's edge, 3Y high.
    const int titleTop = y0 + 3 * Z;
    const int titleBottom = titleTop + 3 * Y - 1;
    std::vector<int> inkColumns;
    for (int x = left; x < left + 8 * Y; ++x) {
        if (!px.Runs(false, x, titleTop, titleBottom, true).empty()) {
            inkColumns.push_back(x);
        }
    }
    ASSERT_FALSE(inkColumns.empty());
    EXPECT_NEAR(inkColumns.front(), left + Z, 1);
    EXPECT_NEAR(inkColumns.back(), left + 8 * Y - 2 * Z - 1, 1);
    // Columns of the glass, then a gap, then the letters.
    size_t gapAt = 1;
    while (gapAt < inkColumns.size() && inkColumns[gapAt] == inkColumns[gapAt - 1] + 1) {
        ++gapAt;
    }
    ASSERT_LT(gapAt, inkColumns.size()) << "the glass touches the words";
    int glassTop = 1 << 30;
    int glassBottom = 0;
    for (size_t i = 0; i < gapAt; ++i) {
        const auto runs = px.Runs(false, inkColumns[i], titleTop - Z, titleBottom + Z, true);
        glassTop = std::min(glassTop, runs.front().first);
        glassBottom = std::max(glassBottom, runs.back().first + runs.back().second);
    }
    std::cout << "the glass: " << glassBottom - glassTop << " dots high (3Y = " << 3 * Y << ")\n";
    EXPECT_NEAR(glassBottom - glassTop, 3 * Y, 0.06 * 3 * Y);
    // The "A": the first letter's columns, their ink from the capitals' top to the baseline.
    size_t aEnd = gapAt + 1;
    while (aEnd < inkColumns.size() && inkColumns[aEnd] == inkColumns[aEnd - 1] + 1) {
        ++aEnd;
    }
    int aTop = 1 << 30;
    int aBottom = 0;
    for (size_t i = gapAt; i < aEnd; ++i) {
        const auto runs = px.Runs(false, inkColumns[i], titleTop, titleBottom, true);
        aTop = std::min(aTop, runs.front().first);
        aBottom = std::max(aBottom, runs.back().first + runs.back().second);
    }
    EXPECT_NEAR(aBottom - aTop, Y, 1);
    // Centred in the block.
    EXPECT_NEAR(aTop - titleTop, (3 * Y - (aBottom - aTop)) / 2.0, 1.5);
}

}  // namespace
}  // namespace velmaro::test
