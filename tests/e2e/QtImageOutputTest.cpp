// The pictures the logic draws, made real by Qt: in an image control, a BMP file and a
// one-page PDF file of the size asked for.

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "platform/Form.h"
#include "platform/qt/QtImageOutput.h"
#include "storage/StorageError.h"
#include "support/TestEnv.h"

namespace velmaro::test {
namespace {

class QtImages : public DataHomeTest {
  protected:
    qt::QtImageOutput output;
    ImageOutput::Drawing frame = [](Canvas& c) { c.Rectangle(0, 0, 20, 10); };
};

TEST_F(QtImages, ADrawingGoesIntoTheImageControlAsGrayPixels) {
    Form form("TTesteForm");
    Image image(form, "PreImage");
    output.RenderToImage(frame, 30, 12, 96, image);
    EXPECT_EQ(image.pixelWidth, 30);
    EXPECT_EQ(image.pixelHeight, 12);
    ASSERT_EQ(image.pixels.size(), 30U * 12U);
    EXPECT_EQ(image.pixels[0], 0);             // the frame's corner
    EXPECT_EQ(image.pixels[5 * 30 + 5], 255);  // inside it
    EXPECT_EQ(image.pixels[5 * 30 + 25], 255);
    EXPECT_EQ(image.revision, 1);
    output.RenderToImage(frame, 30, 12, 96, image);
    EXPECT_EQ(image.revision, 2);
}

TEST_F(QtImages, BmpAndPdfFilesAreWrittenWholeOrNotAtAll) {
    const fs::path bmp = Scratch() / "rotulo.bmp";
    output.SaveMonochromeBmp(frame, 30, 12, 300, bmp);
    EXPECT_EQ(ReadBytes(bmp).substr(0, 2), "BM");

    const fs::path pdf = Scratch() / "rotulo.pdf";
    output.SavePdf(frame, 100.0, 50.0, 300, pdf);
    const std::string bytes = ReadBytes(pdf);
    EXPECT_EQ(bytes.substr(0, 4), "%PDF");
    // The page: 100 x 50 mm, in points.
    const size_t box = bytes.find("/MediaBox");
    ASSERT_NE(box, std::string::npos);
    std::istringstream numbers(bytes.substr(bytes.find('[', box) + 1, 60));
    double left = -1, bottom = -1, right = 0, top = 0;
    numbers >> left >> bottom >> right >> top;
    EXPECT_NEAR(right - left, 100.0 / 25.4 * 72.0, 0.5) << bytes.substr(box, 60);
    EXPECT_NEAR(top - bottom, 50.0 / 25.4 * 72.0, 0.5) << bytes.substr(box, 60);

    // Several pages, each drawn in turn.
    std::vector<int> drawn;
    output.SavePdfPages(
        [&drawn](Canvas& c, int page) {
            drawn.push_back(page);
            c.Rectangle(0, 0, 20 + page, 10);
        },
        3, 100.0, 50.0, 300, Scratch() / "folha.pdf");
    EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2}));
    const std::string sheet = ReadBytes(Scratch() / "folha.pdf");
    size_t pageObjects = 0;
    for (size_t at = sheet.find("/Type /Page\n"); at != std::string::npos;
         at = sheet.find("/Type /Page\n", at + 1)) {
        ++pageObjects;
    }
    EXPECT_EQ(pageObjects, 3U);

    WriteBytes(Scratch() / "arquivo", "x");
    EXPECT_THROW(output.SavePdf(frame, 100.0, 50.0, 300, Scratch() / "arquivo" / "r.pdf"),
                 StorageError);
    EXPECT_THROW(output.SaveMonochromeBmp(frame, 30, 12, 300, Scratch() / "arquivo" / "r.bmp"),
                 StorageError);
}

}  // namespace
}  // namespace velmaro::test
