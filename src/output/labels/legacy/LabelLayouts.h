#pragma once

// The four nutrition label layouts drawn on a Canvas, once scaled into the preview area
// of the label screen or as a sheet of identical labels on a printer page.
//
// All geometry is in device dots. The sheet geometry comes from the millimetre settings
// and the printer resolution of section CfgEti (the page canvas works in dots of that
// resolution); the preview geometry fits one label into 500 x 258 pixels. Every label is a
// fixed list of texts, frames and lines placed in fractions of a usable area inside it.
// Font heights are character-cell heights in dots (FontSpec::height); the typeface is the
// canvas default and only the weight changes.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "output/labels/current/NutritionTable.h"
#include "output/labels/legacy/LabelComposition.h"
#include "platform/Canvas.h"
#include "storage/IniFile.h"
#include "storage/Progress.h"

namespace velmaro {

inline constexpr int kPreviewWidth = 500;
inline constexpr int kPreviewHeight = 258;
// The preview of the "ALTO EM" mark of model 5, beside the label's.
inline constexpr int kMarkPreviewWidth = 180;

// Where the labels go, in dots.
struct LabelGeometry {
    int resolution = 300;  // R, dots per inch of the sheet
    int labelWidth = 0;    // W
    int labelHeight = 0;   // H
    int left = 0;          // L, left margin of the sheet
    int top = 0;           // T, top margin of the sheet
    int gapAcross = 0;     // GH, horizontal gap between labels
    int gapDown = 0;       // GV, vertical gap between labels
    int across = 1;        // NA, labels in one line
    int down = 1;          // ND, labels in one column
    int widthUsed = 95;    // CU, per cent of the label width the panel uses
    int heightUsed = 95;   // AU, per cent of the label height the panel uses
};

// The sheet: ResImp (default 300), LarEti and AltEti (67 mm), MarEsq, MarSup, DisHorEti,
// DisVerEti (5 mm), QuaEtiLin and QuaEtiCol (5), ComUti and AltUti (95); a key that is
// absent or does not read as a number takes its default.
LabelGeometry SheetGeometry(const IniFile& labelFile);
// One label centred in the preview area, as large as fits. Nothing when the label width
// or height rounds to 0 mm or less: the preview then stays empty.
std::optional<LabelGeometry> PreviewGeometry(const IniFile& labelFile);

// The usable area of a label and the origin of the first one.
struct LabelPlacement {
    int usedWidth = 0;   // usedW
    int usedHeight = 0;  // usedH
    int rowHeight = 0;   // h: the usable height over the layout's rows (+1 with the name)
    int x0 = 0;
    int y0 = 0;  // below the name row when the name is printed
};

// Rows of a layout: vertical 15, horizontal 7, linear 7, custom 9, the nutrition table 1
// (one block as high as its rows); 0 for no layout.
int LayoutRows(int layout);
LabelPlacement PlaceLabels(const LabelGeometry& geometry, int layout, bool withName);

// What a label shows.
struct LabelContent {
    std::string name;         // preparation name, trailing spaces removed
    std::string unit;         // " " + portion unit
    std::string measure;      // MeasureText of the household measure
    std::string portionSize;  // ValRef
    // Positions 1 to 11 of the caption, value and daily-value rows, at index k - 1.
    std::array<std::string, kLabelRowSize> captions;
    std::array<std::string, kLabelRowSize> values;
    std::array<std::string, kLabelRowSize> dailyValues;
};

// " ( " + measure + " )", or empty when the measure holds nothing but spaces.
std::string MeasureText(std::string_view householdMeasure);
// The label as drawn now: ValRef, ValPor and ValDia of section DadRot, captions built
// afresh from section CfgEti (so caption changes show without recomposing), name, unit
// (field 55) and household measure (field 56) from the screen's preparation record.
LabelContent LoadLabelContent(const IniFile& labelFile, std::string_view preparationName,
                              std::string_view record);

// The printable part of a page, in the canvas' dots; labels wholly outside it are not
// drawn (they would be cut anyway), which also keeps absurd label counts quick.
struct PageArea {
    int width = 0;
    int height = 0;
};

// Draws `layout` (1 to 4; any other draws nothing) for every label of the geometry, row by
// row. `progress`, when given, is set to the share of rows done (0 to 100) before each row.
void DrawLabels(Canvas& canvas, const LabelContent& content, const LabelGeometry& geometry,
                int layout, bool withName, ProgressSink* progress = nullptr,
                std::optional<PageArea> page = std::nullopt);

// Model 5 for every label of the geometry: the nutrition table with its "ALTO EM" mark
// beside it, the name over it when asked.
// With `part` Tables the table alone (the name over it when asked); with Marks the mark
// alone, nothing for a table without one.
void DrawNutritionLabels(Canvas& canvas, const NutritionTable& table, std::string_view name,
                         const LabelGeometry& geometry, bool withName,
                         ProgressSink* progress = nullptr,
                         std::optional<PageArea> page = std::nullopt,
                         SheetPart part = SheetPart::Both);
// Why a sheet of this choice would carry nothing (a sheet of marks of a table that has no
// mark), in Portuguese (Windows-1252); empty when it carries labels.
std::string EmptySheetPart(const IniFile& labelFile, const LabelChoice& choice);

// The preview: a cleared 500 x 258 area and, for model 5, the table as large as fits (the
// mark has a picture of its own); for a layout 1 to 4 and a label size that
// can be scaled, that layout drawn with the preview geometry.
void RedrawPreview(Canvas& preview, const IniFile& labelFile, std::string_view preparationName,
                   std::string_view record, const LabelChoice& choice);
// One sheet of labels on a page canvas whose dots are those of the sheet resolution.
void DrawLabelSheet(Canvas& page, const IniFile& labelFile, std::string_view preparationName,
                    std::string_view record, const LabelChoice& choice, ProgressSink* progress,
                    std::optional<PageArea> area = std::nullopt);

// Whether the texts of a label of `layout` stay inside the label and clear of one another,
// with the text metrics of `measure` (a canvas at the resolution the label is made at). One label
// of the geometry is laid out; nothing is drawn on `measure`. A layout outside 1 to 4, or a label
// too small to lay out, fits.
bool LabelContentFits(Canvas& measure, const LabelContent& content, const LabelGeometry& geometry,
                      int layout, bool withName);
// The same for a label of the nutrition table (the table, the mark beside it and the name
// over it, as the sheet draws them): whether it stays inside the label.
bool NutritionLabelFits(Canvas& measure, const NutritionTable& table,
                        std::string_view preparationName, const LabelGeometry& geometry,
                        bool withName, SheetPart part = SheetPart::Both);
// Whether a label of the chosen layout, as the sheet draws it from the label file, fits the
// label of `geometry`: the check above that belongs to the layout.
bool LabelFits(Canvas& measure, const IniFile& labelFile, std::string_view preparationName,
               std::string_view record, const LabelChoice& choice, const LabelGeometry& geometry);

// The whole sheet as a page, in dots of its resolution: the labels with the left and top
// margins repeated on the right and at the bottom. Nothing when the sheet has no label or
// a label of no size, or when the page would be larger than 200 inches (the largest page a
// PDF file holds).
std::optional<PageArea> LabelSheetPage(const LabelGeometry& sheet);

// The bounds of a sheet that is drawn: at most kMaxSheetLabels labels (a PDF file holds
// every label drawn, some 14 kB of memory each while it is made, and each takes about
// 2 ms), and a picture held in memory (a BMP or PNG file of the whole sheet) of at most
// kMaxPictureDots dots (about 1 GB while it is drawn and turned to one bit a dot).
inline constexpr long long kMaxSheetLabels = 10'000;
inline constexpr long long kMaxPictureDots = 200'000'000;
// The least resolution a sheet is set up and drawn at: below it a label's smallest text
// would be a dot or two high.
inline constexpr int kMinSheetResolution = 72;

// The limits of a sheet's setup that every drawing of the sheet keeps: a resolution of at
// least kMinSheetResolution, at least one label across and down, at most kMaxSheetLabels
// labels. The setup screen checks them as its fields are left; the printing, the PDF and
// the command line refuse a sheet beyond them (SheetTooLarge).
enum class SheetLimit { Resolution, Across, Down };
struct SheetLimitBreach {
    SheetLimit limit;
    std::string reason;  // Portuguese, Windows-1252
};
std::optional<SheetLimitBreach> SheetBeyondLimits(const LabelGeometry& sheet);

// Why the sheet cannot be drawn, in Portuguese (Windows-1252): beyond its limits above, or
// too large; empty when it can.
// `picture`: the size of the picture the sheet is drawn into when it is one held in
// memory; none for a printer or a PDF file.
std::string SheetTooLarge(const LabelGeometry& sheet, std::optional<PageArea> picture);

// How many labels of a sheet lie wholly on a printable area (in dots of the sheet
// resolution), out of how many the sheet has.
struct LabelFit {
    long long fitting = 0;
    long long total = 0;
};
LabelFit LabelsFittingPage(const LabelGeometry& sheet, const PageArea& page);
// The warning shown before printing a sheet whose labels do not all fit; empty when they
// do.
std::string LabelFitWarning(const LabelFit& fit);

}  // namespace velmaro
