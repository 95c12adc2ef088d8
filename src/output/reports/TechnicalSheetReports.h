#pragma once

// The three technical-sheet reports of a preparation, drawn on a Canvas in device dots:
//   1 "Análise Química - Completo" (portrait): the recipe, portion and tablespoon rows and
//     three rows per ingredient with weights, factors, cost and nutrients, each nutrient and
//     the cost with its share of the recipe's total;
//   2 "Ficha Técnica" (landscape): the recipe, portion and tablespoon rows, one row per
//     ingredient, and the method of preparation in two columns;
//   3 "Medidas Caseiras - Modo de Preparo" (portrait): the recipe row, the ingredients with
//     their weights and household measures, and the method of preparation.
// Each report is a grid of rows of one height, with lines and centred texts; every size
// comes from the resolution: the printer's (ResImp) on paper and in the PDF, 93.98 dots per
// inch in the preview picture.
//
// The preview draws the whole report in one picture, rows beyond the page included, as far
// as the picture reaches. On paper and in the PDF a report that has more rows than its page
// holds goes on to further pages; each of them repeats the two header rows and the column
// captions of the ingredients, and an ingredient's rows, like the method of preparation,
// are never split between pages.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"
#include "platform/ImageOutput.h"
#include "storage/IniFile.h"

namespace velmaro {

enum class ReportKind {
    Complete = 1,           // "Análise Química - Completo"
    TechnicalSheet = 2,     // "Ficha Técnica"
    HouseholdMeasures = 3,  // "Medidas Caseiras - Modo de Preparo"
};

// The resolution of the preview picture, in dots per inch.
inline constexpr long double kPreviewResolution = 93.98L;
// The same, whole, for the picture's and the BMP file's header.
inline constexpr int kPreviewDpi = 94;

// What a report shows of one preparation. Texts are Windows-1252, as stored.
struct ReportData {
    std::string tableName;        // the table's key (padded)
    std::string preparationName;  // the preparation's key (padded)
    std::string record;           // its line of the preparation list; empty when absent
    std::vector<std::string> ingredientLines;  // its ingredient file, in file order
    std::vector<std::string> methodLines;      // its method of preparation, line by line
    // NomTec and ConTec of section "Técnico" when the configuration holds them; an absent
    // key gives each report its own default.
    std::optional<std::string> technicianName;
    std::optional<std::string> technicianContact;
};

// Reads the preparation's ingredient file and method text (the path builders create them
// empty when missing) and the technician keys of the configuration. Throws StorageError
// when a file cannot be read.
ReportData LoadReportData(const std::filesystem::path& home, const IniFile& config,
                          std::string_view table, std::string_view preparation, std::string record);
// The preparation's line of the table's preparation list; empty when it is not there.
// Throws StorageError when the list cannot be read.
std::string ReadPreparationRecord(const std::filesystem::path& home, std::string_view table,
                                  std::string_view preparation);

// The sizes of a report at a resolution, in dots.
struct ReportGeometry {
    int width = 0;       // W
    int rowHeight = 0;   // h
    int fontHeight = 0;  // character-cell height of the texts
};
ReportGeometry GeometryOf(ReportKind kind, long double resolution);

// The report's page: A4, landscape for report 2.
bool IsLandscape(ReportKind kind);
double PageWidthMm(ReportKind kind);
double PageHeightMm(ReportKind kind);
// Where the report stands on a PDF page, in dots of `resolution`: centred across, and
// its page of rows centred down.
int PdfLeft(ReportKind kind, long double resolution);
int PdfTop(ReportKind kind, long double resolution);

// The preview picture in pixels: 743 x 1039, 1000 x 743, 743 x 1000.
int PreviewWidth(ReportKind kind);
int PreviewHeight(ReportKind kind);

// Rows a page holds: 63, 44 and 61 (report 3's first page runs to row 62, its method
// frame ending there).
int RowsPerPage(ReportKind kind);
// The pages of the report on paper (at least 1).
int ReportPageCount(ReportKind kind, const ReportData& data);

// Draws the report with its top-left corner at (left, top). `page` (from 0) draws that page
// of the paper form; kWholeReport draws every row in one go, as the preview does.
inline constexpr int kWholeReport = -1;
void DrawReport(Canvas& canvas, ReportKind kind, const ReportData& data, long double resolution,
                int page = kWholeReport, int left = 0, int top = 0);

// The resolution reports are printed at, as the report screen starts with it: ResImp of
// section "Técnico" of the configuration, or 300 when that is absent or not a whole number
// from 1 to 99999.
int StoredReportResolution(const IniFile& config);
inline constexpr int kMaxReportResolution = 99999;

// The report as a PDF file at the printer's geometry for `resolution`: its A4 pages one
// after the other, the report centred on each. Throws StorageError when the file cannot
// be written.
void SaveReportPdf(ImageOutput& images, ReportKind kind, const ReportData& data, int resolution,
                   const std::filesystem::path& path);

// The texts of the two header rows.
std::string TechnicianHeader(ReportKind kind, const ReportData& data);
std::string PreparationHeader(const ReportData& data);
// " " + the percentage of value in total, whole, in 3 characters, + "%"; "    %" when the
// total is not above 0. Both are field texts.
std::string ShareText(std::string_view value, std::string_view total);

}  // namespace velmaro
