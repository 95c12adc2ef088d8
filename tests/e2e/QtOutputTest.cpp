// Drawing through the Qt canvas on images, PDF pages and printers; the monochrome BMP
// files; the message dialog's JPEG picture.

#include <gtest/gtest.h>

#include <unistd.h>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <cstdint>
#include <memory>

#include "platform/qt/JpegImage.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtPrinting.h"
#include "storage/Cp1252.h"
#include "storage/StorageError.h"
#include "support/TestEnv.h"

namespace velmaro::test {
namespace {

using qt::QtBitmap;

uint32_t Le32(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) {
        v |= static_cast<uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    }
    return v;
}

uint16_t Le16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) |
                                 (static_cast<unsigned char>(b[at + 1]) << 8));
}

bool Black(QtBitmap& bitmap, int x, int y) {
    return qGray(bitmap.Image().pixel(x, y)) < 128;
}

// Black pixel (x, y) of a 1-bit BMP file, rows stored bottom-up.
bool BmpBlack(const std::string& bmp, int x, int y) {
    const auto width = static_cast<int>(Le32(bmp, 18));
    const auto height = static_cast<int>(Le32(bmp, 22));
    const int rowBytes = ((width + 31) / 32) * 4;
    const size_t at = Le32(bmp, 10) + static_cast<size_t>((height - 1 - y) * rowBytes + x / 8);
    const auto bits = static_cast<unsigned char>(bmp[at]);
    return (bits & (0x80U >> (x % 8))) == 0;  // palette index 0 is black
}

class QtOutput : public DataHomeTest {};

TEST_F(QtOutput, FramesAndLinesLeaveTheirRightAndBottomEdgesOpen) {
    QtBitmap bitmap(200, 100, 300);
    Canvas& c = bitmap.PageCanvas();
    c.Rectangle(10, 10, 50, 30);
    EXPECT_TRUE(Black(bitmap, 10, 10));
    EXPECT_TRUE(Black(bitmap, 49, 10));
    EXPECT_TRUE(Black(bitmap, 49, 29));
    EXPECT_TRUE(Black(bitmap, 10, 29));
    EXPECT_FALSE(Black(bitmap, 50, 10));
    EXPECT_FALSE(Black(bitmap, 10, 30));
    EXPECT_FALSE(Black(bitmap, 30, 20));  // not filled

    c.MoveTo(60, 50);
    c.LineTo(100, 50);
    EXPECT_TRUE(Black(bitmap, 60, 50));
    EXPECT_TRUE(Black(bitmap, 99, 50));
    EXPECT_FALSE(Black(bitmap, 100, 50));

    c.SetPenWidth(3);
    c.Rectangle(120, 10, 160, 40);
    EXPECT_TRUE(Black(bitmap, 122, 20));
    EXPECT_FALSE(Black(bitmap, 123, 20));
    EXPECT_TRUE(Black(bitmap, 157, 20));
    EXPECT_FALSE(Black(bitmap, 160, 20));

    c.Clear(0, 0, 200, 100);
    EXPECT_FALSE(Black(bitmap, 10, 10));
}

TEST_F(QtOutput, FontsTakeTheirSizeInPointsAtTheCanvasResolutionOrACellHeight) {
    QtBitmap bitmap(600, 200, 300);
    Canvas& c = bitmap.PageCanvas();
    FontSpec arial;
    arial.size = 10;  // 10 points at 300 dpi: an em of 42 dots, a cell of about 47
    c.SetFont(arial);
    EXPECT_NEAR(c.TextHeight("Xg"), 47, 2);
    const int narrow = c.TextWidth("iiii");
    const int wide = c.TextWidth("WWWW");
    EXPECT_LT(narrow, wide);
    FontSpec mono;
    mono.family = "Courier New";
    mono.height = 40;
    c.SetFont(mono);
    EXPECT_NEAR(c.TextHeight("X"), 40, 1);
    EXPECT_EQ(c.TextWidth("iiii"), c.TextWidth("WWWW"));  // a fixed pitch

    c.SetFont(arial);
    c.TextOut(10, 10, W("Feijão"));
    bool inked = false;
    for (int y = 10; y < 10 + c.TextHeight("X") && !inked; ++y) {
        for (int x = 10; x < 10 + c.TextWidth(W("Feijão")) && !inked; ++x) {
            inked = Black(bitmap, x, y);
        }
    }
    EXPECT_TRUE(inked);
    EXPECT_FALSE(Black(bitmap, 5, 5));
}

TEST_F(QtOutput, BitmapsAreSavedAsOneBitBmpFiles) {
    QtBitmap bitmap(37, 5, 300);  // 37 pixels: rows padded to 8 bytes
    bitmap.PageCanvas().MoveTo(0, 1);
    bitmap.PageCanvas().LineTo(37, 1);
    bitmap.PageCanvas().Rectangle(30, 2, 33, 5);
    const fs::path file = Scratch() / "Imagens" / "rotulo.bmp";
    fs::create_directories(file.parent_path());
    bitmap.SaveMonochromeBmp(file);
    const std::string bmp = ReadBytes(file);
    ASSERT_EQ(bmp.size(), 62U + 8U * 5U);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(Le32(bmp, 2), bmp.size());
    EXPECT_EQ(Le32(bmp, 10), 62U);
    EXPECT_EQ(Le32(bmp, 14), 40U);
    EXPECT_EQ(Le32(bmp, 18), 37U);
    EXPECT_EQ(Le32(bmp, 22), 5U);
    EXPECT_EQ(Le16(bmp, 26), 1U);
    EXPECT_EQ(Le16(bmp, 28), 1U);      // one bit per pixel
    EXPECT_EQ(Le32(bmp, 38), 11811U);  // 300 dpi in dots per metre
    EXPECT_EQ(Le32(bmp, 54), 0x000000U);
    EXPECT_EQ(Le32(bmp, 58), 0xFFFFFFU);
    for (int x = 0; x < 37; ++x) {
        EXPECT_TRUE(BmpBlack(bmp, x, 1)) << x;
        EXPECT_FALSE(BmpBlack(bmp, x, 0)) << x;
    }
    EXPECT_TRUE(BmpBlack(bmp, 30, 4));
    EXPECT_FALSE(BmpBlack(bmp, 31, 3));
    EXPECT_EQ(bitmap.GrayPixels().size(), 37U * 5U);
    EXPECT_EQ(bitmap.GrayPixels()[37], 0);
    EXPECT_EQ(bitmap.GrayPixels()[0], 255);

    // A folder that cannot be made (a file stands in its place): the write fails.
    WriteBytes(Scratch() / "arquivo", "x");
    EXPECT_THROW(bitmap.SaveMonochromeBmp(Scratch() / "arquivo" / "rotulo.bmp"), StorageError);
}

TEST_F(QtOutput, PdfPagesAndTextPrintJobs) {
    const fs::path pdf = Scratch() / "pagina.pdf";
    {
        QPdfWriter writer(QString::fromStdString(pdf.string()));
        writer.setResolution(300);
        QPainter painter(&writer);
        qt::QtCanvas canvas(painter, writer.resolution());
        EXPECT_EQ(canvas.DotsPerInch(), 300);
        canvas.TextOut(100, 100, W("Informação Nutricional"));
        canvas.Rectangle(50, 50, 1000, 400);
    }
    EXPECT_EQ(ReadBytes(pdf).substr(0, 4), "%PDF");

    QPrinter printer(QPrinter::HighResolution);
    const fs::path printed = Scratch() / "lista.pdf";
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(printed.string()));
    TextPrintJob job;
    job.fontFamily = "Courier New";
    job.fontSize = 10;
    for (int i = 0; i < 150; ++i) {
        job.lines.push_back(W("linha ") + std::to_string(i));
    }
    ASSERT_TRUE(qt::PrintTextLines(printer, job));
    const std::string bytes = ReadBytes(printed);
    size_t pages = 0;
    for (size_t at = bytes.find("/Type /Page\n"); at != std::string::npos;
         at = bytes.find("/Type /Page\n", at + 1)) {
        ++pages;
    }
    EXPECT_GE(pages, 2U);  // 150 lines of 10 points do not fit one page

    // Parts that begin on a page of their own (the help text's page breaks), in one job.
    const auto pageCount = [](const std::string& pdfBytes) {
        size_t n = 0;
        for (size_t at = pdfBytes.find("/Type /Page\n"); at != std::string::npos;
             at = pdfBytes.find("/Type /Page\n", at + 1)) {
            ++n;
        }
        return n;
    };
    EXPECT_EQ(pageCount(bytes), pages);
    QPrinter parts(QPrinter::HighResolution);
    const fs::path partsPdf = Scratch() / "partes.pdf";
    parts.setOutputFormat(QPrinter::PdfFormat);
    parts.setOutputFileName(QString::fromStdString(partsPdf.string()));
    TextPrintJob three;
    three.lines = {"um", "dois", "tres"};
    three.pageStarts = {0, 1, 2};
    ASSERT_TRUE(qt::PrintTextLines(parts, three));
    EXPECT_EQ(pageCount(ReadBytes(partsPdf)), 3U);

    auto owned = std::make_unique<QPrinter>(QPrinter::HighResolution);
    owned->setOutputFormat(QPrinter::PdfFormat);
    owned->setOutputFileName(QString::fromStdString((Scratch() / "desenho.pdf").string()));
    const int resolution = owned->resolution();
    qt::QtPrintJob drawing(std::move(owned), QPageLayout::Landscape);
    ASSERT_TRUE(drawing.Started());
    EXPECT_EQ(drawing.DotsPerInch(), resolution);
    // Landscape: the printable area is wider than high, in printer dots.
    EXPECT_GT(drawing.PageWidth(), drawing.PageHeight());
    EXPECT_GT(drawing.PageHeight(), 5 * resolution);
    drawing.PageCanvas().Rectangle(0, 0, 100, 100);
    drawing.NewPage();
    drawing.End();
}

TEST_F(QtOutput, APrinterChoiceCarriesThePrinterAndItsOptionsButNeverAFile) {
    QPrinter chosen(QPrinter::HighResolution);
    chosen.setOutputFormat(QPrinter::PdfFormat);
    chosen.setOutputFileName(QString::fromStdString((Scratch() / "relatorio.pdf").string()));
    chosen.setPageSize(QPageSize(QPageSize::A5));
    chosen.setPageOrientation(QPageLayout::Landscape);
    chosen.setCopyCount(2);
    const qt::PrinterChoice choice = qt::ChoiceOf(chosen);
    EXPECT_TRUE(choice.printerName.isEmpty());  // a file names no printer
    const std::unique_ptr<QPrinter> next = qt::MakePrinter(choice);
    EXPECT_TRUE(next->outputFileName().isEmpty());
    EXPECT_EQ(next->pageLayout().pageSize().id(), QPageSize::A5);
    EXPECT_EQ(next->pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(next->copyCount(), 2);
}

TEST_F(QtOutput, TheDialogPictureIsDecodedWithLibjpegAndBadFilesGiveNoPicture) {
    const std::string jpeg = ReadBytes(fs::path(VELMARO_DATA_DIR) / "MesDlg.jpg");
    ASSERT_FALSE(jpeg.empty());
    const QImage picture = qt::DecodeJpeg(jpeg);
    EXPECT_EQ(picture.size(), QSize(110, 150));
    EXPECT_TRUE(qt::DecodeJpeg("not a picture at all").isNull());
    EXPECT_TRUE(qt::DecodeJpeg(jpeg.substr(0, 20)).isNull());
    EXPECT_TRUE(qt::LoadJpegFile((Scratch() / "nenhum.jpg").string()).isNull());
    // A damaged file still decodes what it holds, never more than its size.
    const QImage cut = qt::DecodeJpeg(jpeg.substr(0, jpeg.size() / 2));
    EXPECT_TRUE(cut.isNull() || cut.size() == QSize(110, 150));
}

}  // namespace
}  // namespace velmaro::test
