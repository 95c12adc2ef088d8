#include "output/labels/ImpRotForm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "output/LabelFixtures.h"
#include "platform/Interaction.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "storage/Paths.h"
#include "support/RecordingImageOutput.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;
using test::RecordedImage;

const std::string kTable = Pad("Minha", 20);
const std::string kPreparation = Pad(W("Bolo de fubá"), 40);
constexpr const char* kDoesNotFit =
    "O conteúdo do rótulo não cabe na etiqueta escolhida. Deseja continuar?";

std::string Record() {
    return test::LabelRecord(
        {"120,00", "20,00", "0,70", "2,50", "0,30", "3,00", "1,20", "0,50", "0,35", "140,00"});
}

long Count(const std::vector<std::string>& calls, const std::string& prefix) {
    return std::count_if(calls.begin(), calls.end(),
                         [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
}

std::string First(const std::vector<std::string>& calls, const std::string& prefix) {
    for (const auto& c : calls) {
        if (c.rfind(prefix, 0) == 0) {
            return c;
        }
    }
    return {};
}

bool Drew(const std::vector<std::string>& calls, const std::string& text) {
    return std::any_of(calls.begin(), calls.end(), [&](const std::string& c) {
        return c.rfind("Text ", 0) == 0 && c.substr(c.find(' ', 5) + 1) == text;
    });
}

class ImpRotFormTest : public test::DataHomeTest {
  protected:
    void Open() {
        form.Prepare(kTable, kPreparation, Record());
        ui.Activate(form);
    }
    fs::path File() const { return LabelFilePath(Home(), kTable, kPreparation); }
    IniFile Label() const { return IniFile(File()); }
    // The sheet setup as the setup screen would have stored it.
    void SetSheet(const std::string& cfgEti) { test::WriteBytes(File(), "[CfgEti]\r\n" + cfgEti); }
    const RecordedImage& Preview() const {
        for (auto it = images.records.rbegin(); it != images.records.rend(); ++it) {
            if (it->kind == RecordedImage::Kind::Picture) {
                return *it;
            }
        }
        static const RecordedImage none;
        return none;
    }

    test::ScriptedUi ui;
    test::RecordingImageOutput images;
    TCfgRotForm cfg{ui, Home(), images};
    TImpRotForm form{ui, Home(), images, cfg};
};

TEST_F(ImpRotFormTest, OpeningComposesTheLabelAndDrawsThePreview) {
    Open();
    EXPECT_EQ(form.caption, W("RÓTULO NUTRICIONAL"));
    EXPECT_EQ(form.NomPreLabel.caption, W("Bolo de fubá"));
    const IniFile label = Label();
    EXPECT_EQ(label.ReadString("DadRot", "NomPre", ""), W("Bolo de fubá"));
    EXPECT_EQ(label.ReadString("DadRot", "ValPor", ""), ValueRow(Record()));
    EXPECT_EQ(label.ReadString("DadRot", "ValDia", ""), DailyValueRow(Record()));
    EXPECT_EQ(label.ReadString("DadRot", "TipRot", ""), "1");
    EXPECT_EQ(label.ReadString("DadRot", "ImpNomPre", ""), "0");
    EXPECT_TRUE(form.ModVerRadioButton.checked);
    EXPECT_FALSE(form.ModHorRadioButton.checked || form.ModLinRadioButton.checked ||
                 form.ModPerRadioButton.checked || form.ImpNomPreCheckBox.checked);

    const RecordedImage& preview = Preview();
    EXPECT_EQ(preview.width, 500);
    EXPECT_EQ(preview.height, 258);
    EXPECT_EQ(form.RotImage.pixelWidth, 500);
    EXPECT_EQ(preview.calls.front(), "Clear 0,0,500,258");
    EXPECT_TRUE(Drew(preview.calls, W("INFORMAÇÃO NUTRICIONAL")));
    EXPECT_TRUE(Drew(preview.calls, "120 Kcal"));

    // A second activation without the caller's flag changes nothing.
    const std::string bytes = test::ReadBytes(File());
    const size_t drawn = images.records.size();
    form.preparationRecord = test::LabelRecord({"999,00"});
    ui.Activate(form);
    EXPECT_EQ(test::ReadBytes(File()), bytes);
    EXPECT_EQ(images.records.size(), drawn);

    // Opened with the name alone, the screen takes the record from the preparation list.
    test::WriteBytes(PreparationListPath(Home(), kTable), Record() + "\r\n");
    form.Prepare(kTable, kPreparation);
    EXPECT_EQ(form.preparationRecord, Record());
    EXPECT_TRUE(form.startPending);
}

// Models 1 to 4 carry the notice of their revoked rules; a preparation without a yield,
// whose label of those models comes out all 0, is warned about as model 5 warns.
TEST_F(ImpRotFormTest, RevokedModelsAreNoticedAndANoYieldLabelIsWarned) {
    EXPECT_EQ(form.RevRdcLabel.caption,
              W("Modelos 1 a 4: regras revogadas (RDC 360/2003) — para embalagens novas use o "
                "modelo 5"));
    Open();
    EXPECT_TRUE(ui.Messages().empty());

    std::string record = Record();
    const size_t from = record.find('|') + 1;
    record.replace(from, record.find('|', from) - from, "      ");  // field 2, the yield
    form.Prepare(kTable, kPreparation, record);
    ui.Activate(form);
    EXPECT_EQ(ui.MessageTexts(),
              std::vector<std::string>{
                  W("Atenção para ausência de valores na tabela nutricional!\nRendimento da "
                    "preparação\nSem o rendimento, todos os valores do rótulo saem 0: não usar em "
                    "embalagem.")});
}

TEST_F(ImpRotFormTest, LayoutAndNameOptionAreStoredOnClosingAndRestored) {
    Open();
    PressRadioButton(ui, form, form.ModHorRadioButton);
    EXPECT_EQ(form.choice.layout, 2);
    EXPECT_TRUE(Drew(Preview().calls, "VD*"));  // the horizontal layout
    PressCheckBox(ui, form, form.ImpNomPreCheckBox);
    EXPECT_TRUE(form.choice.withName);
    EXPECT_TRUE(Drew(Preview().calls, W("Bolo de fubá")));
    EXPECT_EQ(Label().ReadString("DadRot", "TipRot", ""), "1");  // nothing written while open

    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(Label().ReadString("DadRot", "TipRot", ""), "2");
    EXPECT_EQ(Label().ReadString("DadRot", "ImpNomPre", ""), "1");

    Open();
    EXPECT_TRUE(form.ModHorRadioButton.checked);
    EXPECT_FALSE(form.ModVerRadioButton.checked);
    EXPECT_TRUE(form.ImpNomPreCheckBox.checked);
    EXPECT_TRUE(Drew(Preview().calls, "VD*"));

    // The window's close box stores the choice too.
    PressRadioButton(ui, form, form.ModPerRadioButton);
    EXPECT_TRUE(RequestClose(form));
    EXPECT_EQ(Label().ReadString("DadRot", "TipRot", ""), "4");
}

TEST_F(ImpRotFormTest, ImprimeDrawsOneSheetInDotsOfTheSheetResolution) {
    Open();
    ui.AnswerNo();
    ui.Press(form, form.ImpBitBtn);
    EXPECT_TRUE(ui.PrintJobs().empty());

    // Without setup the sheet has 5 x 5 labels at 300 dpi; the first frame is at 79, 79.
    // (With the recording canvas' wide letters the footnote leaves the label: the user is
    // told and goes on.)
    for (const int dpi : {300, 600}) {
        SCOPED_TRACE(dpi);
        ui.printerDpi = dpi;
        ui.ProgressLog() = {};
        ui.AnswerYes();
        ui.AnswerYes();
        ui.Press(form, form.ImpBitBtn);
        auto& job = *ui.PrintJobs().back();
        EXPECT_TRUE(job.ended);
        EXPECT_FALSE(job.landscape);
        EXPECT_EQ(job.pages, 1);
        const auto& calls = job.canvas.calls;
        EXPECT_EQ(Count(calls, "Rect "), 25);
        EXPECT_EQ(First(calls, "Rect "),
                  dpi == 300 ? "Rect 79,79,830,731" : "Rect 158,158,1660,1462");
        EXPECT_EQ(First(calls, "Font "),
                  dpi == 300 ? "Font Arial h40 bold" : "Font Arial h80 bold");
        EXPECT_EQ(ui.ProgressLog().begins, 1);
        EXPECT_EQ(ui.ProgressLog().ends, 1);
        EXPECT_EQ(ui.ProgressLog().positions.back(), 100);
    }
    EXPECT_EQ(ui.MessageTexts().front(), W("Confirma impressão de uma folha de etiquetas? "));

    // The sheet goes out in the orientation chosen in the printer set-up.
    ui.setUpLandscape = true;
    ui.AnswerYes();
    ui.AnswerYes();
    ui.Press(form, form.ImpBitBtn);
    EXPECT_TRUE(ui.PrintJobs().back()->landscape);

    ui.printerAvailable = false;
    ui.AnswerYes();
    ui.AnswerYes();
    ui.Press(form, form.ImpBitBtn);
    EXPECT_EQ(ui.LastMessage(),
              W("Não foi possível iniciar a impressão! Verifique a impressora escolhida."));
}

TEST_F(ImpRotFormTest, LabelsThatDoNotFitThePageAreWarnedAboutAndStillPrinted) {
    struct Case {
        int dpi;
        int pageWidth;
        int pageHeight;
        bool warned;
    };
    // A4 at the printer's resolution holds 2 x 4 of the 5 x 5 labels of 67 mm.
    for (const Case c :
         {Case{300, 2480, 3508, true}, Case{600, 4960, 7016, true}, Case{300, 5000, 5000, false}}) {
        SCOPED_TRACE(c.dpi);
        ui.ClearMessages();
        ui.printerDpi = c.dpi;
        ui.printerPageWidth = c.pageWidth;
        ui.printerPageHeight = c.pageHeight;
        Open();
        ui.AnswerYes();
        ui.AnswerYes();
        ui.Press(form, form.ImpBitBtn);
        // The texts of the label fit it (drawn smaller where they must): no question of it.
        std::vector<std::string> expected{W("Confirma impressão de uma folha de etiquetas? ")};
        if (c.warned) {
            expected.push_back(
                W("Apenas 8 das 25 etiquetas da folha cabem inteiras na página "
                  "da impressora; as demais sairão cortadas."));
        }
        EXPECT_EQ(ui.MessageTexts(), expected);
        ASSERT_FALSE(ui.PrintJobs().empty());
        EXPECT_GE(Count(ui.PrintJobs().back()->canvas.calls, "Rect "), 8);
    }
}

TEST_F(ImpRotFormTest, ImagemSavesThePreviewAsMonochromeBmp) {
    Open();
    ui.AnswerNo();
    ui.Press(form, form.ImaBitBtn);
    EXPECT_TRUE(images.Of(RecordedImage::Kind::Bmp).empty());

    ui.AnswerYes();
    ui.AnswerYes();
    ui.Press(form, form.ImaBitBtn);
    const auto bmps = images.Of(RecordedImage::Kind::Bmp);
    ASSERT_EQ(bmps.size(), 1u);
    const fs::path path = Home() / "Dados" / "Minha" / "Rotulo" / "Imagens" / "Bolo de fubá.bmp";
    EXPECT_EQ(bmps[0].path, path);
    EXPECT_EQ(bmps[0].width, 500);
    EXPECT_EQ(bmps[0].height, 258);
    EXPECT_EQ(bmps[0].calls, Preview().calls);
    EXPECT_EQ(ui.MessageTexts().front(), W("Gera imagem do rótulo?"));
    EXPECT_EQ(ui.LastMessage(), W("Foi gerado o arquivo : ") + W(path.string()));

    images.failWrites = true;
    ui.AnswerYes();
    ui.AnswerYes();
    ui.Press(form, form.ImaBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Não foi possível gerar o arquivo : ") + W(path.string()));
}

TEST_F(ImpRotFormTest, PdfSavesTheWholeSheetAtItsRealSize) {
    // 65 x 40 mm labels, 3 across and 7 down, margins 10 and 5 mm, gaps 3 and 2 mm: in
    // dots of 300 dpi 768 x 472 labels, margins 118 and 59, gaps 35 and 24.
    SetSheet(
        "ResImp=300\r\nQuaEtiLin=3\r\nQuaEtiCol=7\r\nLarEti=65\r\nAltEti=40\r\nMarEsq=10\r\n"
        "MarSup=5\r\nDisHorEti=3\r\nDisVerEti=2\r\n");
    Open();
    ui.AnswerYes();
    ui.SaveAs(LabelPdfLocation(Home(), kTable, kPreparation).string());
    ui.Press(form, form.PdfBitBtn);
    const auto pdfs = images.Of(RecordedImage::Kind::Pdf);
    ASSERT_EQ(pdfs.size(), 1u);
    const fs::path path = Home() / "Dados" / "Minha" / "Rotulo" / "Imagens" / "Bolo de fubá.pdf";
    EXPECT_EQ(pdfs[0].path, path);
    EXPECT_EQ(pdfs[0].dpi, 300);
    EXPECT_NEAR(pdfs[0].widthMm, (2 * 118 + 3 * 768 + 2 * 35) * 25.4 / 300, 1e-9);
    EXPECT_NEAR(pdfs[0].heightMm, (2 * 59 + 7 * 472 + 6 * 24) * 25.4 / 300, 1e-9);
    EXPECT_EQ(Count(pdfs[0].calls, "Rect "), 21);
    EXPECT_EQ(ui.MessageTexts(),
              (std::vector<std::string>{W("Gera arquivo PDF da folha de etiquetas?"),
                                        W("Foi gerado o arquivo : ") + W(path.string())}));

    // A sheet without labels has no page to draw.
    SetSheet("QuaEtiLin=0\r\n");
    ui.AnswerYes();
    ui.SaveAs(LabelPdfLocation(Home(), kTable, kPreparation).string());
    ui.Press(form, form.PdfBitBtn);
    EXPECT_EQ(images.Of(RecordedImage::Kind::Pdf).size(), 1u);
    EXPECT_EQ(ui.LastMessage(), W("A folha de etiquetas não pode ser gerada em PDF! Verifique a "
                                  "configuração das etiquetas."));
}

TEST_F(ImpRotFormTest, ASheetTooLargeToDrawIsRefusedBeforeAnythingIsDrawn) {
    // 1,000 x 1,000 labels of 5 x 5 mm without margins: typed within the setup screen's
    // limits, but a million labels to draw.
    SetSheet(
        "ResImp=300\r\nQuaEtiLin=1000\r\nQuaEtiCol=1000\r\nLarEti=5\r\nAltEti=5\r\n"
        "MarEsq=0\r\nMarSup=0\r\nDisHorEti=0\r\nDisVerEti=0\r\n");
    Open();
    const std::string refusal =
        W("A folha de etiquetas tem 1000000 etiquetas; o programa desenha no máximo 10000 numa "
          "folha. Diminua a quantidade de etiquetas numa linha ou numa coluna na configuração "
          "das etiquetas.");
    ui.AnswerYes();
    ui.SaveAs(LabelPdfLocation(Home(), kTable, kPreparation).string());
    ui.Press(form, form.PdfBitBtn);
    EXPECT_EQ(ui.LastMessage(), refusal);
    EXPECT_TRUE(images.Of(RecordedImage::Kind::Pdf).empty());
    ui.AnswerYes();
    ui.Press(form, form.ImpBitBtn);
    EXPECT_EQ(ui.LastMessage(), refusal);
    EXPECT_TRUE(ui.PrintJobs().empty());
}

TEST_F(ImpRotFormTest, EtiquetasOpensTheSheetSetupAndRedrawsThePreview) {
    Open();
    const std::string frameBefore = First(Preview().calls, "Rect ");
    ui.OnShow("TCfgRotForm", [this](Form&) {
        EXPECT_EQ(cfg.tableName, kTable);
        EXPECT_EQ(cfg.LarEtiMaskEdit.text, "   65");
        ui.MoveFocus(cfg, cfg.AltEtiMaskEdit);
        UserSetText(cfg.AltEtiMaskEdit, "   20");
        ui.AnswerYes();
        ui.Press(cfg, cfg.GraBitBtn);
    });
    ui.Press(form, form.CfgBitBtn);
    EXPECT_EQ(ui.ShownForms(), std::vector<std::string>{"TCfgRotForm"});
    EXPECT_EQ(Label().ReadString("CfgEti", "AltEti", ""), "20");
    // 65 x 20 mm fills the width: 500 x 153, centred from y 52.
    EXPECT_NE(First(Preview().calls, "Rect "), frameBefore);
    EXPECT_EQ(First(Preview().calls, "Rect ").rfind("Rect 12,56,", 0), 0u);

    ui.Press(form, form.BitBtn1);
    EXPECT_EQ(ui.PrinterSetups(), 1);
    ui.Press(form, form.AjuBitBtn);
    EXPECT_EQ(ui.HelpShown(), 1);
}

// A label data file with a NUL byte is shown as it stands and never written: opening does
// not store the composed label in it.
TEST_F(ImpRotFormTest, ADamagedLabelFileIsShownButNotWritten) {
    const std::string bytes = std::string("[DadRot]\r\nNomPre=x\r\n\0[CfgEti]\r\nNumCol=2\r\n", 41);
    test::WriteBytes(File(), bytes);
    Open();
    ASSERT_FALSE(ui.Messages().empty());
    EXPECT_EQ(
        ui.Messages().front().text.rfind(
            W("O arquivo " + File().string() + " está danificado (linha 3): contém um byte nulo."),
            0),
        0u)
        << ui.Messages().front().text;
    EXPECT_EQ(test::ReadBytes(File()), bytes);
}

TEST_F(ImpRotFormTest, ALabelWhoseTextsDoNotFitIsMadeOnlyWhenTheUserGoesOn) {
    // Layout 2 with a caption of 120 letters: it runs into the amount beside it even at the
    // least size the texts are drawn at.
    SetSheet("DesKAL=" + std::string(120, 'x') + "\r\n");
    Open();
    PressRadioButton(ui, form, form.ModHorRadioButton);
    const auto none = [this] {
        return ui.PrintJobs().empty() && images.Of(RecordedImage::Kind::Bmp).empty() &&
               images.Of(RecordedImage::Kind::Pdf).empty();
    };
    for (Button* b : {&form.ImpBitBtn, &form.ImaBitBtn, &form.PdfBitBtn}) {
        SCOPED_TRACE(b->Name());
        ui.ClearMessages();
        ui.AnswerYes();
        ui.AnswerNo();
        ui.SaveAs(LabelPdfLocation(Home(), kTable, kPreparation).string());
        ui.Press(form, *b);
        ASSERT_EQ(ui.MessageTexts().size(), 2u);
        EXPECT_EQ(ui.MessageTexts()[1], W(kDoesNotFit));
        EXPECT_TRUE(none());
    }
    ui.AnswerYes();
    ui.AnswerYes();
    ui.Press(form, form.ImpBitBtn);
    EXPECT_EQ(ui.PrintJobs().size(), 1u);

    // A label wide enough for the layout is made without a question.
    SetSheet("LarEti=200\r\nAltEti=25\r\nQuaEtiLin=1\r\nQuaEtiCol=1\r\n");
    ui.ClearMessages();
    ui.AnswerYes();
    ui.SaveAs(LabelPdfLocation(Home(), kTable, kPreparation).string());
    ui.Press(form, form.PdfBitBtn);
    EXPECT_EQ(images.Of(RecordedImage::Kind::Pdf).size(), 1u);
    EXPECT_EQ(ui.MessageTexts().size(), 2u);  // the question and "Foi gerado"
}

}  // namespace
}  // namespace velmaro
