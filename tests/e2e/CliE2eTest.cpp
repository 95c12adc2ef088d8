// velmaro-cli with the Qt image output: the label and the report of a preparation as
// real BMP, PNG and PDF files of the size the screens give them.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliFixtures.h"
#include "platform/qt/QtImageOutput.h"

namespace velmaro::test {
namespace {

unsigned long Little(const std::string& bytes, size_t at, size_t count) {
    unsigned long value = 0;
    for (size_t i = count; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

unsigned long Big(const std::string& bytes, size_t at) {
    unsigned long value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// The width and height of the first page of a PDF, in millimetres.
std::pair<double, double> PageMm(const std::string& pdf) {
    const size_t box = pdf.find("/MediaBox");
    if (box == std::string::npos) {
        return {0, 0};
    }
    std::istringstream numbers(pdf.substr(pdf.find('[', box) + 1, 60));
    double left = 0, bottom = 0, right = 0, top = 0;
    numbers >> left >> bottom >> right >> top;
    return {(right - left) * 25.4 / 72, (top - bottom) * 25.4 / 72};
}

class CliFiles : public CliTest {
  protected:
    void SetUp() override { MakeKitchen(); }
    std::string Made(const std::vector<std::string>& args) {
        const CliRun run = Cli(args, false, &qtImages);
        EXPECT_EQ(run.status, 0) << run.err;
        return ReadBytes(args[args.size() - 1]);
    }
    qt::QtImageOutput qtImages;
};

TEST_F(CliFiles, LabelAndReportFiles) {
    const std::string bmp = Made({"rotulo", "Minha", "Salada", "--modelo", "1", "--saida",
                                  (Scratch() / "salada.bmp").string()});
    ASSERT_GT(bmp.size(), 62u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(Little(bmp, 18, 4), 500u);
    EXPECT_EQ(Little(bmp, 22, 4), 258u);
    EXPECT_EQ(Little(bmp, 28, 2), 1u);  // one bit per pixel

    const std::string png = Made({"rotulo", "Minha", "Salada", "--modelo", "2", "--saida",
                                  (Scratch() / "salada.png").string()});
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1A\n");
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(Big(png, 16), 500u);
    EXPECT_EQ(Big(png, 20), 258u);
    EXPECT_EQ(static_cast<int>(png[24]), 1);  // bit depth

    // The default sheet: 5 x 5 labels of 67 mm, margins and gaps of 5 mm, at 300 dpi.
    const std::string sheet = Made({"rotulo", "Minha", "Salada", "--modelo", "3", "--folha",
                                    "--saida", (Scratch() / "folha.pdf").string()});
    EXPECT_EQ(sheet.substr(0, 5), "%PDF-");
    const auto [sheetWidth, sheetHeight] = PageMm(sheet);
    EXPECT_NEAR(sheetWidth, 4309 * 25.4 / 300, 0.2);
    EXPECT_NEAR(sheetHeight, 4309 * 25.4 / 300, 0.2);

    const std::string report = Made({"relatorio", "Minha", "Arroz com feijão", "--tipo", "2",
                                     "--saida", (Scratch() / "ficha.pdf").string()});
    EXPECT_EQ(report.substr(0, 5), "%PDF-");
    const auto [reportWidth, reportHeight] = PageMm(report);
    EXPECT_NEAR(reportWidth, 297, 0.5);  // landscape A4
    EXPECT_NEAR(reportHeight, 210, 0.5);
}

}  // namespace
}  // namespace velmaro::test
