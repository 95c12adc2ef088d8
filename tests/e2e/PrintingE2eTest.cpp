// Printing from the running application: a print that cannot start is told and leaves
// nothing behind, so the next print works in the same run.

#include <gtest/gtest.h>

#include <QPrinter>
#include <memory>

#include "e2e/AppDriver.h"
#include "platform/Canvas.h"
#include "storage/Cp1252.h"
#include "support/TestEnv.h"

namespace velmaro::test {
namespace {

class PrintingE2e : public DataHomeTest {
  protected:
    PrintingE2e() {
        EXPECT_EQ(driver.App().PrepareHome(), "");
        driver.App().CreateScreens();
    }
    AppDriver driver;
};

TEST_F(PrintingE2e, APrintThatFailsToStartLeavesTheNextOneToAPdfFileWorking) {
    QtUi& ui = driver.App().Ui();
    // The first printer refuses (its file cannot be made); the next one writes a PDF file.
    const fs::path refused = Scratch() / "sem-pasta" / "rotulo.pdf";
    const fs::path pdf = Scratch() / "relatorio.pdf";
    int made = 0;
    ui.SetPrinterFactory([&](const qt::PrinterChoice& choice) {
        std::unique_ptr<QPrinter> printer = qt::MakePrinter(choice);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString((made++ == 0 ? refused : pdf).string()));
        return printer;
    });
    bool firstStarted = true;
    bool secondStarted = false;
    driver
        .On("TNutForm",
            [&] {
                firstStarted = ui.BeginPrintJob(false) != nullptr;
                PrintJob* job = ui.BeginPrintJob(true);
                secondStarted = job != nullptr;
                if (job != nullptr) {
                    job->PageCanvas().TextOut(100, 100, W("Informação Nutricional"));
                    job->NewPage();
                    job->PageCanvas().Rectangle(50, 50, 500, 500);
                    job->End();
                }
            })
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();
    EXPECT_FALSE(firstStarted);
    EXPECT_FALSE(fs::exists(refused.parent_path()));
    ASSERT_TRUE(secondStarted);
    const std::string bytes = ReadBytes(pdf);
    EXPECT_EQ(bytes.substr(0, 4), "%PDF");
    EXPECT_NE(bytes.find("/Type /Page\n"), bytes.rfind("/Type /Page\n"));  // two pages
}

}  // namespace
}  // namespace velmaro::test
