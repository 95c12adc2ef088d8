#include "output/reports/SelRelForm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "output/ReportFixtures.h"
#include "platform/Interaction.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "storage/Paths.h"
#include "support/RecordingImageOutput.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::RecordedImage;

const std::string kTable = test::Pad("Minha", 20);
const std::string kPreparation = test::Pad("Bolo", 40);

bool Has(const std::vector<std::string>& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

long Count(const std::vector<std::string>& calls, const std::string& call) {
    return std::count(calls.begin(), calls.end(), call);
}

class SelRelFormTest : public test::DataHomeTest {
  protected:
    SelRelFormTest() {
        test::WriteBytes(PreparationListPath(Home(), kTable), test::ReportRecord() + "\r\n");
        SetIngredients(1);
    }
    void SetIngredients(int n) {
        std::string bytes;
        for (const auto& line : test::ReportLines(n)) {
            bytes += line + "\r\n";
        }
        test::WriteBytes(PreparationFilePath(Home(), kTable, kPreparation), bytes);
    }
    void Open() {
        form.Prepare(kTable, kPreparation);
        ui.Activate(form);
    }
    int StoredResolution() const {
        return IniFile(Config()).ReadInteger(W("Técnico"), "ResImp", -1);
    }
    void SetResolution(const std::string& text) {
        ui.MoveFocus(form, form.ResImpMaskEdit);
        UserSetText(form.ResImpMaskEdit, text);
        ui.MoveFocus(form, form.MedCasRadioButton);
    }
    // Previews the chosen report; the preview is closed by a double click on its picture.
    void Preview() {
        ui.OnShow("TVisRelForm", [](Form& f) {
            auto& shown = static_cast<TVisRelForm&>(f);
            shown.RelImage.onDblClick();
            EXPECT_TRUE(shown.CloseRequested());
        });
        ui.Press(form, form.VisBitBtn);
    }

    test::ScriptedUi ui;
    test::RecordingImageOutput images;
    TVisRelForm vis;
    TSelRelForm form{ui, Home(), images, vis};
};

TEST_F(SelRelFormTest, EveryOpeningChecksReportOneAndReadsTheResolution) {
    Open();
    EXPECT_EQ(form.caption, W("Selecione o Tipo de Relatório"));
    EXPECT_TRUE(form.MedCasRadioButton.checked);
    EXPECT_EQ(form.resolution, 300);
    EXPECT_EQ(form.ResImpMaskEdit.text, "300  ");

    // Coming back from the preview keeps the choice and the typed resolution.
    PressRadioButton(ui, form, form.RelCozRadioButton);
    SetResolution("600  ");
    ui.AnswerNo();
    Preview();
    ui.Activate(form);
    EXPECT_TRUE(form.RelCozRadioButton.checked);
    EXPECT_EQ(form.resolution, 600);

    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(StoredResolution(), 600);

    // The next opening: report 1 again, the stored resolution.
    Open();
    EXPECT_TRUE(form.MedCasRadioButton.checked);
    EXPECT_FALSE(form.CusRadioButton.checked || form.RelCozRadioButton.checked);
    EXPECT_EQ(form.ResImpMaskEdit.text, "600  ");
}

TEST_F(SelRelFormTest, AResolutionThatIsNotAWholeNumberKeepsThePreviousOne) {
    Open();
    const struct {
        const char* typed;
        int resolution;
        bool told;
    } cases[] = {
        {"1200 ", 1200, false}, {"  720", 720, false}, {"     ", 720, true},
        {"00000", 720, true},   {"7 2  ", 720, true},  {"99999", 99999, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ui.ClearMessages();
        SetResolution(c.typed);
        EXPECT_EQ(form.resolution, c.resolution);
        EXPECT_EQ(form.ResImpMaskEdit.text, test::Pad(std::to_string(c.resolution), 5));
        if (c.told) {
            EXPECT_EQ(ui.MessageTexts(),
                      std::vector<std::string>{W("Resolução inválida! Será mantida a resolução "
                                                 "de 720 ppp.")});
        } else {
            EXPECT_TRUE(ui.Messages().empty());
        }
    }
    // A click that left an empty field does not print.
    ui.MoveFocus(form, form.ResImpMaskEdit);
    UserSetText(form.ResImpMaskEdit, "     ");
    ui.Press(form, form.ImpBitBtn);
    EXPECT_TRUE(ui.PrintJobs().empty());

    // The close box stores the resolution as "&Retorna" does.
    EXPECT_TRUE(RequestClose(form));
    EXPECT_EQ(StoredResolution(), 99999);
}

TEST_F(SelRelFormTest, ImprimePrintsEachReportInItsOrientationPageAfterPage) {
    Open();
    ui.AnswerNo();
    ui.Press(form, form.ImpBitBtn);
    EXPECT_TRUE(ui.PrintJobs().empty());
    EXPECT_EQ(ui.LastMessage(), W("Confirma impressão? "));

    const struct {
        RadioButton* button;
        bool landscape;
        std::string font;
        std::string where;  // the second header row
    } cases[] = {
        {&form.MedCasRadioButton, false, "Font Arial h44", "Text 10,55 "},
        {&form.CusRadioButton, true, "Font Arial h49", "Text 11,57 "},
        {&form.RelCozRadioButton, false, "Font Arial h47", "Text 10,55 "},
    };
    for (const auto& c : cases) {
        PressRadioButton(ui, form, *c.button);
        ui.AnswerYes();
        ui.Press(form, form.ImpBitBtn);
        const auto& job = *ui.PrintJobs().back();
        EXPECT_EQ(job.landscape, c.landscape);
        EXPECT_TRUE(job.ended);
        EXPECT_TRUE(Has(job.canvas.calls, c.font));
        EXPECT_TRUE(Has(job.canvas.calls, c.where + W("Preparação : Bolo  -  Tabela : Minha")));
    }

    // 20 ingredients of report 1 take two pages; a printer of 600 dpi gets the report at
    // its size on paper.
    SetIngredients(20);
    PressRadioButton(ui, form, form.MedCasRadioButton);
    ui.printerDpi = 600;
    ui.AnswerYes();
    ui.Press(form, form.ImpBitBtn);
    const auto& job = *ui.PrintJobs().back();
    EXPECT_EQ(Count(job.canvas.calls, "NewPage"), 1);
    EXPECT_TRUE(Has(job.canvas.calls, "Font Arial h88"));
    EXPECT_TRUE(Has(job.canvas.calls, "LineTo 4724,104"));  // under row 1: 2 x 2362, 2 x 52

    // The print dialog cancelled, or no printer.
    const size_t jobs = ui.PrintJobs().size();
    ui.PrinterAnswer(false);
    ui.AnswerYes();
    ui.Press(form, form.ImpBitBtn);
    EXPECT_EQ(ui.PrintJobs().size(), jobs);
    ui.printerAvailable = false;
    ui.PrinterAnswer(true);
    ui.AnswerYes();
    ui.Press(form, form.ImpBitBtn);
    EXPECT_EQ(ui.LastMessage(),
              W("Não foi possível iniciar a impressão! Verifique a impressora escolhida."));
}

TEST_F(SelRelFormTest, VisualizaShowsThePreviewInAWindowThatFitsTheScreen) {
    Open();
    const struct {
        RadioButton* button;
        int width;
        int height;
        int windowWidth;
        bool horizontal;
    } cases[] = {
        {&form.MedCasRadioButton, 743, 1039, 743, false},
        {&form.CusRadioButton, 1000, 743, 780, true},
        {&form.RelCozRadioButton, 743, 1000, 743, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        PressRadioButton(ui, form, *c.button);
        ui.AnswerNo();
        Preview();
        const RecordedImage picture = images.Of(RecordedImage::Kind::Picture).back();
        EXPECT_EQ(picture.width, c.width);
        EXPECT_EQ(picture.height, c.height);
        EXPECT_EQ(picture.dpi, 94);
        EXPECT_EQ(vis.RelImage.pixelWidth, c.width);
        EXPECT_EQ(vis.width, c.windowWidth);
        EXPECT_EQ(vis.height, 540);
        EXPECT_EQ(vis.horizontalScrollBar, c.horizontal);
        EXPECT_TRUE(vis.verticalScrollBar);
        EXPECT_EQ(ui.LastMessage(), W("Gera imagem do relatório?"));
    }
    EXPECT_EQ(vis.caption, W("TELA VISUALIZA RELATÓRIO - click duas vezes para voltar..."));
    EXPECT_TRUE(ui.SaveDialogs().empty());
    // Report 1 in the preview: rows of 16 dots, 740 wide.
    PressRadioButton(ui, form, form.MedCasRadioButton);
    ui.AnswerNo();
    Preview();
    EXPECT_TRUE(Has(images.Of(RecordedImage::Kind::Picture).back().calls, "LineTo 740,16"));
}

TEST_F(SelRelFormTest, ThePreviewIsSavedAsBmpOrTheReportAsPdf) {
    SetIngredients(20);
    Open();
    ui.AnswerYes();
    ui.SaveAs((Scratch() / "saida" / "Bolo").string());
    Preview();
    ASSERT_EQ(ui.SaveDialogs().size(), 1u);
    EXPECT_EQ(ui.SaveDialogs()[0].filter, "*.bmp|*.bmp|*.pdf|*.pdf");
    EXPECT_EQ(ui.SaveDialogs()[0].suggested, "Bolo");
    auto bmps = images.Of(RecordedImage::Kind::Bmp);
    ASSERT_EQ(bmps.size(), 1u);
    EXPECT_EQ(bmps[0].path, Scratch() / "saida" / "Bolo.bmp");  // the default extension
    EXPECT_EQ(bmps[0].width, 743);
    EXPECT_EQ(bmps[0].height, 1039);
    EXPECT_EQ(bmps[0].dpi, 94);
    EXPECT_EQ(bmps[0].calls, images.Of(RecordedImage::Kind::Picture).back().calls);
    EXPECT_EQ(ui.LastMessage(), W("Gera imagem do relatório?"));  // nothing told afterwards

    // A PDF of report 1 at the printer's resolution: 20 ingredients on two A4 pages.
    ui.AnswerYes();
    ui.SaveAs((Scratch() / "Bolo.PDF").string());
    Preview();
    const auto pdfs = images.Of(RecordedImage::Kind::Pdf);
    ASSERT_EQ(pdfs.size(), 1u);
    EXPECT_EQ(pdfs[0].pages, 2);
    EXPECT_EQ(pdfs[0].widthMm, 210);
    EXPECT_EQ(pdfs[0].heightMm, 297);
    EXPECT_EQ(pdfs[0].dpi, 300);
    EXPECT_EQ(Count(pdfs[0].calls, "NewPage"), 1);
    EXPECT_TRUE(Has(pdfs[0].calls, "MoveTo 59,100"));  // the report 5 mm in, 8,5 mm down
    EXPECT_TRUE(Has(pdfs[0].calls, "LineTo 2421,152"));

    // Report 2 on a landscape page; a cancelled dialog saves nothing.
    PressRadioButton(ui, form, form.CusRadioButton);
    ui.AnswerYes();
    ui.SaveAs((Scratch() / "Ficha.pdf").string());
    Preview();
    EXPECT_EQ(images.Of(RecordedImage::Kind::Pdf).back().widthMm, 297);
    const size_t saved = images.records.size();
    ui.AnswerYes();
    Preview();
    EXPECT_EQ(images.records.size(), saved + 1);  // the picture only

    // A name given as a PNG picture gets a PNG file.
    ui.AnswerYes();
    ui.SaveAs((Scratch() / "Ficha.png").string());
    Preview();
    const auto pngs = images.Of(RecordedImage::Kind::Png);
    ASSERT_EQ(pngs.size(), 1u);
    EXPECT_EQ(pngs[0].path, Scratch() / "Ficha.png");
    EXPECT_EQ(pngs[0].width, 1000);
    EXPECT_EQ(pngs[0].height, 743);

    // A file that cannot be written is told.
    images.failWrites = true;
    ui.AnswerYes();
    ui.SaveAs((Scratch() / "Bolo.bmp").string());
    Preview();
    EXPECT_EQ(ui.LastMessage(),
              W("Não foi possível gerar o arquivo : " + (Scratch() / "Bolo.bmp").string()));
}

TEST_F(SelRelFormTest, AReportIsNeverSavedOverTheProgramsFilesOrOverAFolder) {
    Open();
    const fs::path list = Home() / "Dados" / "ArqTab.dad";
    test::WriteBytes(list, "tabelas\r\n");
    fs::create_directories(Scratch() / "pasta.bmp");
    const std::vector<std::pair<fs::path, std::string>> cases = {
        {list, "O arquivo \"" + list.string() +
                   "\" é um arquivo do programa (da pasta de dados ou da configuração) e não "
                   "pode ser substituído; escolha outro lugar."},
        {Home() / "Dados" / "Minha" / "Bolo.pdf", "é um arquivo do programa"},
        {Scratch() / "pasta.bmp", "não é um arquivo comum"},
    };
    for (const auto& [path, message] : cases) {
        ui.AnswerYes();
        ui.SaveAs(path.string());
        Preview();
        EXPECT_NE(ui.LastMessage().find(W(message)), std::string::npos) << ui.LastMessage();
    }
    EXPECT_TRUE(images.Of(RecordedImage::Kind::Bmp).empty());
    EXPECT_TRUE(images.Of(RecordedImage::Kind::Pdf).empty());
    EXPECT_EQ(test::ReadBytes(list), "tabelas\r\n");
}

TEST_F(SelRelFormTest, PdfSavesTheChosenReportStraightToTheFileChosen) {
    SetIngredients(20);
    Open();
    // Report 1 on two A4 pages, in a name typed without extension; no preview first.
    ui.SaveAs((Scratch() / "Bolo").string());
    ui.Press(form, form.PdfBitBtn);
    ASSERT_EQ(ui.SaveDialogs().size(), 1u);
    EXPECT_EQ(ui.SaveDialogs()[0].filter, "*.pdf|*.pdf");
    EXPECT_EQ(ui.SaveDialogs()[0].suggested, "Bolo.pdf");
    EXPECT_TRUE(images.Of(RecordedImage::Kind::Picture).empty());
    auto pdfs = images.Of(RecordedImage::Kind::Pdf);
    ASSERT_EQ(pdfs.size(), 1u);
    EXPECT_EQ(pdfs[0].path, Scratch() / "Bolo.pdf");
    EXPECT_EQ(pdfs[0].pages, 2);
    EXPECT_EQ(pdfs[0].widthMm, 210);
    EXPECT_EQ(ui.LastMessage(), W("Foi gerado o arquivo : " + (Scratch() / "Bolo.pdf").string()));

    // Report 2 on a landscape page; a cancelled dialog saves nothing.
    PressRadioButton(ui, form, form.CusRadioButton);
    ui.SaveAs((Scratch() / "Ficha.pdf").string());
    ui.Press(form, form.PdfBitBtn);
    EXPECT_EQ(images.Of(RecordedImage::Kind::Pdf).back().widthMm, 297);
    const size_t saved = images.records.size();
    ui.Press(form, form.PdfBitBtn);
    EXPECT_EQ(images.records.size(), saved);

    // A file that cannot be written is told.
    images.failWrites = true;
    ui.SaveAs((Scratch() / "Ficha.pdf").string());
    ui.Press(form, form.PdfBitBtn);
    EXPECT_EQ(ui.LastMessage(),
              W("Não foi possível gerar o arquivo : " + (Scratch() / "Ficha.pdf").string()));
}

TEST_F(SelRelFormTest, AnIngredientFileThatCannotBeReadDrawsNothing) {
    const auto file = PreparationFilePath(Home(), kTable, kPreparation);
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    Open();
    ui.Press(form, form.VisBitBtn);
    EXPECT_TRUE(images.records.empty());
    EXPECT_EQ(ui.LastMessage(),
              W("Erro durante a leitura do arquivo! Verifique se o arquivo pode ser lido."));
    ui.AnswerYes();
    ui.Press(form, form.ImpBitBtn);
    EXPECT_TRUE(ui.PrintJobs().empty());
}

}  // namespace
}  // namespace velmaro
