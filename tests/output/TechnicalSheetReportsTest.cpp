#include "output/reports/TechnicalSheetReports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "output/ReportFixtures.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "support/RecordingCanvas.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::ReportLine;
using test::ReportLines;
using test::ReportRecord;

constexpr ReportKind kAllKinds[] = {ReportKind::Complete, ReportKind::TechnicalSheet,
                                    ReportKind::HouseholdMeasures};

ReportData Data(std::vector<std::string> lines = {}, std::string record = ReportRecord()) {
    ReportData data;
    data.tableName = test::Pad("Minha", 20);
    data.preparationName = test::Pad("Bolo", 40);
    data.record = std::move(record);
    data.ingredientLines = std::move(lines);
    return data;
}

std::vector<std::string> Draw(ReportKind kind, const ReportData& data, long double resolution = 300,
                              int page = kWholeReport) {
    test::RecordingCanvas canvas(300);
    DrawReport(canvas, kind, data, resolution, page);
    return canvas.calls;
}

bool Has(const std::vector<std::string>& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

// A line drawn from (x1, y1) to (x2, y2).
bool HasLine(const std::vector<std::string>& calls, int x1, int y1, int x2, int y2) {
    const std::string from = "MoveTo " + std::to_string(x1) + "," + std::to_string(y1);
    const std::string to = "LineTo " + std::to_string(x2) + "," + std::to_string(y2);
    for (size_t i = 0; i + 1 < calls.size(); ++i) {
        if (calls[i] == from && calls[i + 1] == to) {
            return true;
        }
    }
    return false;
}

// How many texts end with `text`.
long TextsEndingWith(const std::vector<std::string>& calls, const std::string& text) {
    return std::count_if(calls.begin(), calls.end(), [&](const std::string& c) {
        return c.rfind("Text ", 0) == 0 && c.size() >= text.size() &&
               c.compare(c.size() - text.size(), text.size(), text) == 0;
    });
}

TEST(TechnicalSheetReports, GeometryAtThePrinterAndPreviewResolutions) {
    struct Case {
        ReportKind kind;
        long double resolution;
        int width;
        int rowHeight;
        int fontHeight;
    };
    for (const Case c : {Case{ReportKind::Complete, 300, 2362, 52, 44},
                         Case{ReportKind::TechnicalSheet, 300, 3189, 54, 49},
                         Case{ReportKind::HouseholdMeasures, 300, 2362, 52, 47},
                         Case{ReportKind::Complete, kPreviewResolution, 740, 16, 14},
                         Case{ReportKind::TechnicalSheet, kPreviewResolution, 999, 17, 15}}) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        SCOPED_TRACE(static_cast<double>(c.resolution));
        const ReportGeometry g = GeometryOf(c.kind, c.resolution);
        EXPECT_EQ(g.width, c.width);
        EXPECT_EQ(g.rowHeight, c.rowHeight);
        EXPECT_EQ(g.fontHeight, c.fontHeight);
        // The drawing uses them: its font, the line at the top of the page and the one
        // under the first row, across the width.
        const auto calls = Draw(c.kind, Data({ReportLine("Arroz")}), c.resolution);
        EXPECT_TRUE(Has(calls, "Font Arial h" + std::to_string(c.fontHeight)));
        EXPECT_TRUE(Has(calls, "Pen 1"));
        EXPECT_TRUE(HasLine(calls, 0, 0, c.width, 0));
        EXPECT_TRUE(HasLine(calls, 0, c.rowHeight, c.width, c.rowHeight));
    }
}

TEST(TechnicalSheetReports, SharesOfTheRecipeAreCentredOneDotLeftInsideTheirCells) {
    const struct {
        const char* value;
        const char* total;
        const char* share;
    } cases[] = {
        {"     1,00", "     3,00", "  33%"}, {"     2,00", "     3,00", "  67%"},
        {"   500,00", "  1000,00", "  50%"}, {"   500,00", "     0,00", "    %"},
        {"   500,00", "         ", "    %"}, {"   500,00", "   -10,00", "    %"},
        {"  1234,00", "   100,00", " 123%"},  // 1234 % keeps its first three characters
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShareText(c.value, c.total), c.share) << c.value << " / " << c.total;
    }

    // Report 1: the ingredient's third row holds the nutrients, each with its share, centred
    // in a column of 236 dots and then one dot to the left (row 13: y = 627).
    const auto calls = Draw(ReportKind::Complete, Data({ReportLine("Arroz", {{15, "1,00"}})},
                                                       ReportRecord({{5, "     4,00"}})));
    EXPECT_TRUE(Has(calls, "Text 490,627 1,00  25%"));  // 2 x 236 + Round((236 - 198) / 2) - 1
    EXPECT_TRUE(Has(calls, "Text 973,627 i17    %"));   // no recipe total
    // A text whose visible part would cross a line of its cell is centred between them, in
    // a smaller font when it is still too wide: the energy (11 characters of 22 dots)...
    const std::vector<std::string> energy = {"Font Arial h42", "Text -60,628    500,00  50%",
                                             "Font Arial h44"};
    EXPECT_NE(std::search(calls.begin(), calls.end(), energy.begin(), energy.end()), calls.end());
    // ...and the cost in the ingredient's second row (row 12: y = 575), which fits.
    EXPECT_TRUE(Has(calls, "Text 1572,575     12,50  25%"));  // 1653 + 7 - 4 spaces
}

TEST(TechnicalSheetReports, HeaderRowsWithAndWithoutGroupAndTechnician) {
    ReportData data = Data();
    EXPECT_EQ(PreparationHeader(data), W("Preparação : Bolo  -  Tabela : Minha"));
    const auto calls = Draw(ReportKind::Complete, data);
    EXPECT_TRUE(Has(calls, "Text 10,55 " + W("Preparação : Bolo  -  Tabela : Minha")));

    data.record = ReportRecord({{39, test::Pad("Doces", 30)}});
    EXPECT_EQ(PreparationHeader(data), W("Preparação : Bolo  -  Grupo : Doces  -  Tabela : Minha"));

    // Without the technician keys reports 1 and 2 name the program, report 3 a student.
    const struct {
        ReportKind kind;
        std::string header;
        int x;
    } defaults[] = {
        {ReportKind::Complete,
         "Velmaro Nutricional Ficha técnica gerada pelo Velmaro Nutricional  -  Data : 05/03/2024",
         10},
        {ReportKind::TechnicalSheet,
         "Velmaro Nutricional Ficha técnica gerada pelo Velmaro Nutricional  -  Data: 05/03/2024",
         11},
        {ReportKind::HouseholdMeasures, "Aluno Turma  -  Data: 05/03/2024", 10},
    };
    for (const auto& d : defaults) {
        SCOPED_TRACE(static_cast<int>(d.kind));
        EXPECT_EQ(TechnicianHeader(d.kind, data), W(d.header));
        EXPECT_TRUE(Has(Draw(d.kind, data), "Text " + std::to_string(d.x) + ",3 " + W(d.header)));
    }
    data.technicianName = "Maria Souza";
    data.technicianContact = "CRN 1234";
    EXPECT_EQ(TechnicianHeader(ReportKind::HouseholdMeasures, data),
              "Maria Souza CRN 1234  -  Data: 05/03/2024");
    EXPECT_EQ(TechnicianHeader(ReportKind::Complete, data),
              "Maria Souza CRN 1234  -  Data : 05/03/2024");
}

TEST(TechnicalSheetReports, CompleteReportRowsAndColumns) {
    const auto calls = Draw(ReportKind::Complete, Data({ReportLine("Arroz", {{11, "Colher"}})}));
    // Row 3: the three totals, spaces removed, at the cells' x + 10.
    EXPECT_TRUE(Has(calls, "Text 10,107 (1) Receita = r2g  $50,00"));
    EXPECT_TRUE(Has(calls, "Text 797,107 (2) Per capita = r14 de r15g  $r26"));
    EXPECT_TRUE(Has(calls, "Text 1584,107 (3) Colher sopa = r27g  $r38"));
    // Rows 5 to 7 begin with their number; the last column of row 7 is field 37.
    EXPECT_EQ(TextsEndingWith(calls, "(1)   1000,00"), 1);
    EXPECT_EQ(TextsEndingWith(calls, "(2) r16"), 1);
    EXPECT_EQ(TextsEndingWith(calls, "(3) r28"), 1);
    EXPECT_EQ(TextsEndingWith(calls, " r37"), 1);
    // The ingredient's first row: name and household measure without trailing spaces.
    EXPECT_TRUE(Has(calls, "Text 535,523 Arroz"));  // centred in [0, 1180]
    EXPECT_TRUE(Has(calls, "Text 1586,523 Colher"));
    // The right border runs down the ten header rows and the three of the ingredient.
    EXPECT_TRUE(HasLine(calls, 2362, 0, 2362, 13 * 52));
    // The ingredient's second row: its cells' lines, and the date cell running on to W.
    EXPECT_TRUE(HasLine(calls, 8 * 236, 11 * 52, 8 * 236, 12 * 52));
    EXPECT_TRUE(Has(calls, "Text 2092,575 i10"));  // 1888 + Round((474 - 66) / 2)
}

TEST(TechnicalSheetReports, TechnicalSheetPrintsTheMethodInTwoHalves) {
    ReportData data = Data({ReportLine("Arroz"), ReportLine("Feijao")});
    for (int i = 1; i <= 40; ++i) {
        data.methodLines.push_back("linha " + std::to_string(i));
    }
    const auto calls = Draw(ReportKind::TechnicalSheet, data);
    // Two ingredients in rows 8 and 9, "Modo de preparo" in row 10, the frame of 16 rows.
    EXPECT_TRUE(Has(calls, "Text 11,381 Arroz" + std::string(55, ' ')));
    EXPECT_TRUE(Has(calls, "Rect 0,540,3190,1405"));
    EXPECT_TRUE(HasLine(calls, 1594, 540, 1594, 1404));  // Round(3189 / 2), halves to even
    EXPECT_TRUE(Has(calls, "Font Arial h40"));           // Round(0.75 x 54)
    EXPECT_TRUE(Has(calls, "Text 16,543 linha 1"));
    EXPECT_TRUE(Has(calls, "Text 16,1353 linha 16"));
    EXPECT_TRUE(Has(calls, "Text 1610,543 linha 17"));
    EXPECT_TRUE(Has(calls, "Text 1610,1353 linha 32"));
    EXPECT_EQ(TextsEndingWith(calls, "linha 33"), 0);
    // The right border stops at (N + 7) x h, above the "Modo de preparo" row.
    EXPECT_TRUE(HasLine(calls, 3189, 0, 3189, 9 * 54));
    EXPECT_FALSE(HasLine(calls, 3189, 0, 3189, 540));
    // The recipe row and an ingredient's net weight, centred 3 dots left.
    EXPECT_TRUE(Has(calls, "Text 48,165 Receita"));
    EXPECT_TRUE(Has(calls, "Text 1195,381 i3"));  // 6 x 188 + Round(69.5) - 3
}

TEST(TechnicalSheetReports, HouseholdMeasuresFrameAndMethod) {
    ReportData data = Data({ReportLine("Arroz", {{2, "   15,0"}, {11, "Xicara"}})});
    data.methodLines = {"Lave o arroz.", "Cozinhe."};
    const auto calls = Draw(ReportKind::HouseholdMeasures, data);
    EXPECT_TRUE(Has(calls, "Text 1700,263 Xicara"));   // 10 x 169 + 10
    EXPECT_TRUE(Has(calls, "Text 1016,263    15,0"));  // 1014 + Round(2.5), halves to even
    // The frame of rows 5 to 28, whatever the number of ingredients.
    EXPECT_TRUE(HasLine(calls, 0, 208, 0, 1456));
    EXPECT_TRUE(HasLine(calls, 0, 1456, 2362, 1456));
    EXPECT_TRUE(HasLine(calls, 2362, 1456, 2362, 0));
    // The method: its title in row 30, its lines from row 31 at 7 x h, in a frame to 62 x h.
    EXPECT_EQ(TextsEndingWith(calls, "Modo de preparo"), 1);
    EXPECT_TRUE(Has(calls, "Rect 0,1560,2363,3225"));
    EXPECT_TRUE(Has(calls, "Text 364,1563 Lave o arroz."));
    EXPECT_TRUE(Has(calls, "Text 364,1615 Cozinhe."));
}

TEST(TechnicalSheetReports, LongReportsGoOnToFurtherPagesLosingNoIngredient) {
    const struct {
        ReportKind kind;
        int ingredients;
        int pages;
    } cases[] = {
        {ReportKind::Complete, 17, 1},           {ReportKind::Complete, 18, 2},
        {ReportKind::Complete, 20, 2},           {ReportKind::Complete, 37, 3},
        {ReportKind::TechnicalSheet, 20, 1},  // the method still fits under them
        {ReportKind::TechnicalSheet, 21, 2},  // the method goes to the next page
        {ReportKind::TechnicalSheet, 38, 2},     {ReportKind::TechnicalSheet, 100, 3},
        {ReportKind::HouseholdMeasures, 23, 1},  {ReportKind::HouseholdMeasures, 24, 2},
        {ReportKind::HouseholdMeasures, 100, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        SCOPED_TRACE(c.ingredients);
        ReportData data = Data(ReportLines(c.ingredients));
        data.methodLines = {"Misture tudo."};
        ASSERT_EQ(ReportPageCount(c.kind, data), c.pages);
        std::vector<std::string> all;
        for (int page = 0; page < c.pages; ++page) {
            const auto calls = Draw(c.kind, data, 300, page);
            // Every page has the two header rows and stays inside the page's rows (report
            // 3's first page ends with its method frame at row 62).
            EXPECT_EQ(TextsEndingWith(calls, W("Preparação : Bolo  -  Tabela : Minha")), 1);
            const int h = GeometryOf(c.kind, 300).rowHeight;
            const int limit = (RowsPerPage(c.kind) + 1) * h + 1;
            for (const auto& call : calls) {
                if (call.rfind("LineTo ", 0) == 0) {
                    EXPECT_LE(std::stoi(call.substr(call.find(',') + 1)), limit) << call;
                }
            }
            all.insert(all.end(), calls.begin(), calls.end());
        }
        for (int i = 1; i <= c.ingredients; ++i) {
            const std::string number = (i < 10 ? "0" : "") + std::to_string(i);
            const std::string name = "Ingrediente " + number;
            EXPECT_EQ(TextsEndingWith(all, name) +
                          TextsEndingWith(all, name + std::string(60 - name.size(), ' ')),
                      1)
                << number;
        }
        EXPECT_EQ(TextsEndingWith(all, "Misture tudo."), c.kind == ReportKind::Complete ? 0 : 1);
        EXPECT_TRUE(Draw(c.kind, data, 300, c.pages).empty());
    }

    // The second page of report 1 repeats the captions in rows 3 to 5, then the rest.
    const auto second = Draw(ReportKind::Complete, Data(ReportLines(20)), 300, 1);
    EXPECT_TRUE(Has(second, "Text 469,107 Ingrediente"));  // row 3: Round(2.05 x 52)
    EXPECT_TRUE(Has(second, "Text 436,263 Ingrediente 18"));
    EXPECT_TRUE(HasLine(second, 2362, 0, 2362, 14 * 52));
}

TEST(TechnicalSheetReports, AReportThatFitsItsPageIsThePreview) {
    for (const ReportKind kind : kAllKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        ReportData data = Data(ReportLines(5));
        data.methodLines = {"Misture tudo."};
        EXPECT_EQ(Draw(kind, data, 300, 0), Draw(kind, data, 300));
    }
    // The preview draws on below the page: report 3 with 25 ingredients in one picture.
    const auto preview = Draw(ReportKind::HouseholdMeasures, Data(ReportLines(25)));
    EXPECT_EQ(TextsEndingWith(preview, "Ingrediente 25" + std::string(46, ' ')), 1);
}

TEST(TechnicalSheetReports, PagesAndPicturesHaveTheirSizes) {
    EXPECT_EQ(PreviewWidth(ReportKind::Complete), 743);
    EXPECT_EQ(PreviewHeight(ReportKind::Complete), 1039);
    EXPECT_EQ(PreviewWidth(ReportKind::TechnicalSheet), 1000);
    EXPECT_EQ(PreviewHeight(ReportKind::TechnicalSheet), 743);
    EXPECT_EQ(PreviewWidth(ReportKind::HouseholdMeasures), 743);
    EXPECT_EQ(PreviewHeight(ReportKind::HouseholdMeasures), 1000);
    EXPECT_TRUE(IsLandscape(ReportKind::TechnicalSheet));
    EXPECT_FALSE(IsLandscape(ReportKind::Complete) || IsLandscape(ReportKind::HouseholdMeasures));
    EXPECT_EQ(PageWidthMm(ReportKind::TechnicalSheet), 297);
    EXPECT_EQ(PageHeightMm(ReportKind::TechnicalSheet), 210);
    // On the PDF page the report stands 5 mm from the left and 8,5 mm from the top.
    EXPECT_EQ(PdfLeft(ReportKind::Complete, 300), 59);
    EXPECT_EQ(PdfTop(ReportKind::Complete, 300), 100);
}

class ReportDataTest : public test::DataHomeTest {};

TEST_F(ReportDataTest, FilesAreReadInTheirOrderAndMissingOnesAreEmpty) {
    const std::string table = test::Pad("Minha", 20);
    const std::string prep = test::Pad(W("Feijão"), 40);
    const IniFile empty = IniFile::FromBytes("");
    ReportData data = LoadReportData(Home(), empty, table, prep, ReportRecord());
    EXPECT_TRUE(data.ingredientLines.empty());
    EXPECT_TRUE(data.methodLines.empty());
    EXPECT_FALSE(data.technicianName || data.technicianContact);

    test::WriteBytes(PreparationFilePath(Home(), table, prep),
                     ReportLine("Zebra") + "\r\n\r\n" + ReportLine("Abacate") + "\r\n");
    test::WriteBytes(RecipeTextPath(Home(), table, prep), "Lave.\r\n\r\nCozinhe.\r\n");
    const IniFile config = IniFile::FromBytes(W("[Técnico]\r\nNomTec=Maria Souza\r\nConTec=\r\n"));
    data = LoadReportData(Home(), config, table, prep, ReportRecord());
    EXPECT_EQ(data.ingredientLines,
              (std::vector<std::string>{ReportLine("Zebra"), ReportLine("Abacate")}));
    EXPECT_EQ(data.methodLines, (std::vector<std::string>{"Lave.", "", "Cozinhe."}));
    EXPECT_EQ(data.technicianName, "Maria Souza");
    EXPECT_EQ(data.technicianContact, "");

    // The record comes from the preparation list; a preparation not there has none.
    test::WriteBytes(PreparationListPath(Home(), table), ReportRecord() + "\r\n");
    EXPECT_EQ(ReadPreparationRecord(Home(), table, test::Pad("bolo", 40)), ReportRecord());
    EXPECT_EQ(ReadPreparationRecord(Home(), table, prep), "");

    // A folder where the ingredient file should be cannot be read.
    const auto file = PreparationFilePath(Home(), table, prep);
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_THROW(LoadReportData(Home(), config, table, prep, ReportRecord()), StorageError);
}

}  // namespace
}  // namespace velmaro
