// Label model 5 on the label screen, in a data home made before the extra values existed:
// the legacy labels stay as they were, the table comes out with its sugars unknown.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "output/labels/ImpRotForm.h"
#include "output/labels/current/NutritionTable.h"
#include "output/labels/legacy/LabelComposition.h"
#include "output/labels/mark/FrontOfPack.h"
#include "platform/Interaction.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/Progress.h"
#include "storage/Text.h"
#include "support/RecordingImageOutput.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;
using test::RecordedImage;

const std::string kTable = Pad("Minha", 20);
const std::string kPreparation = Pad("Pudim", 40);

// Yield 400 g, totals of 200 g of milk (energy 122, carbohydrates 9,6, protein 6,6,
// fat 6,6, saturated 4,2, fibre 0, sodium 86), label portion 100 g.
std::string Record(const char* sodium = "86,00") {
    std::string record;
    const char* const totals[] = {"122,00", "9,60", "6,60",   "6,60", "4,20",
                                  "28,00",  "0,00", "246,00", "0,20", sodium};
    for (int f = 1; f <= 56; ++f) {
        std::string field;
        if (f == 1) {
            field = kPreparation;
        } else if (f == 2) {
            field = "   400";
        } else if (f >= 3 && f <= 12) {
            field = PadLeft(totals[f - 3], 9);
        } else if (f == 41) {
            field = "   100";
        } else if (f == 55) {
            field = "g";
        } else if (f == 56) {
            field = "1 taça";
        }
        record += W(field) + "|";
    }
    return record;
}

class NutritionLabelScreenTest : public test::DataHomeTest {
  protected:
    void SetUp() override {
        test::DataHomeTest::SetUp();
        std::string milk = Pad("Leite integral", 60) + "|";
        for (const char* v : {"  61,00", "   4,80", "   3,30", "   3,30", "   2,10", "  14,00",
                              "   0,00", " 123,00", "   0,10", "   43,00"}) {
            milk += std::string(v) + "|";
        }
        for (int f = 12; f <= 30; ++f) {
            milk += "|";
        }
        LineList ingredients;
        ingredients.Add(milk);
        NullProgress quiet;
        SaveScrambledLineTable(IngredientFilePath(Home(), kTable), ingredients, quiet);
        std::string line = Pad("Leite integral", 60) + "|";
        for (int f = 2; f <= 22; ++f) {
            line += (f == 3 ? std::string("   200,0") : std::string()) + "|";
        }
        test::WriteBytes(PreparationFilePath(Home(), kTable, kPreparation), line + "\r\n");
    }
    void Open(const std::string& record = Record()) {
        form.Prepare(kTable, kPreparation, record);
        ui.Activate(form);
    }
    fs::path File() const { return LabelFilePath(Home(), kTable, kPreparation); }
    std::vector<std::string> Texts(const RecordedImage& image) const {
        std::vector<std::string> texts;
        for (const std::string& c : image.calls) {
            if (c.rfind("Text ", 0) == 0) {
                texts.push_back(c.substr(c.find(' ', 5) + 1));
            }
        }
        return texts;
    }
    const RecordedImage& LastPicture(int width) const {
        for (auto it = images.records.rbegin(); it != images.records.rend(); ++it) {
            if (it->kind == RecordedImage::Kind::Picture && it->width == width) {
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

TEST_F(NutritionLabelScreenTest, LegacyLayoutsWriteTheLabelFileAsBefore) {
    for (int layout = 1; layout <= 4; ++layout) {
        test::WriteBytes(File(), "[DadRot]\r\nTipRot=" + std::to_string(layout) + "\r\n");
        IniFile expected = IniFile::FromBytes(test::ReadBytes(File()));
        SaveLabelData(expected, "Pudim", Record(), {layout, false});
        Open();
        ui.Press(form, form.RetBitBtn);
        EXPECT_EQ(test::ReadBytes(File()), expected.Bytes()) << layout;
        EXPECT_FALSE(form.ConLiqMaskEdit.visible);
        EXPECT_TRUE(ui.Messages().empty());
    }
}

TEST_F(NutritionLabelScreenTest, OldHomeComposesModelFiveWithTheSugarsIncomplete) {
    Open();
    PressRadioButton(ui, form, form.ModRdcRadioButton);
    ASSERT_EQ(ui.Messages().size(), 1U);
    const std::string warning = ui.Messages()[0].text;
    EXPECT_NE(warning.find(W("Açúcares totais (g): Leite integral")), std::string::npos);
    EXPECT_NE(warning.find(W("Açúcares adicionados (g): Leite integral")), std::string::npos);
    EXPECT_NE(warning.find("Gorduras trans (g): Leite integral"), std::string::npos);
    EXPECT_NE(warning.find(W("inconclusivo para: AÇÚCAR ADICIONADO")), std::string::npos);
    EXPECT_TRUE(form.ConLiqMaskEdit.visible);
    EXPECT_TRUE(form.AltEmImage.visible);
    EXPECT_NE(form.SitRotLabel.caption.find("INCOMPLETA"), std::string::npos);

    // The preview: known values declared, the sugars "?" and never 0, the words across.
    std::vector<std::string> texts = Texts(LastPicture(500));
    const auto at = std::find(texts.begin(), texts.end(), W("Açúcares totais (g)"));
    ASSERT_NE(at, texts.end());
    EXPECT_EQ(*(at + 1), "?");
    EXPECT_EQ(*(at + 2), "?");
    EXPECT_NE(std::find(texts.begin(), texts.end(), W("INCOMPLETO – NÃO USAR EM EMBALAGEM")),
              texts.end());
    const auto energy = std::find(texts.begin(), texts.end(), W("Valor energético (kcal)"));
    ASSERT_NE(energy, texts.end());
    // From the declared 2,4 g carbohydrates, 1,7 g proteins and 1,7 g fat (9,6, 6,6 and
    // 6,6 g in 400 g): 9,6 + 6,8 + 15,3 = 31,7 kcal, not the milk's 122 / 4 = 30,5.
    EXPECT_EQ(*(energy + 1), "32");
    EXPECT_EQ(*(energy + 2), "32");

    // Kept with the label data, with the rules it was composed under.
    ui.MoveFocus(form, form.ConLiqMaskEdit);
    form.ConLiqMaskEdit.text = "500   ";
    ui.MoveFocus(form, form.ImpBitBtn);
    EXPECT_EQ(form.ConLiqMaskEdit.text, "   500");
    const IniFile label{File()};
    EXPECT_EQ(label.ReadString("DadRot", "RegRot", ""), "RDC 429/2020 + IN 75/2020");
    EXPECT_EQ(label.ReadString("DadRot", "ConLiq", ""), "500");
    EXPECT_EQ(label.ReadString("DadRot", "PorEmb", ""), "5");
    EXPECT_EQ(label.ReadString("DadRot", "TipRot", ""), "5");

    // Saved: the label's picture and the mark's beside it, both crossed out.
    ui.ClearMessages();
    ui.AnswerYes();
    ui.Press(form, form.ImaBitBtn);
    const auto bmps = images.Of(RecordedImage::Kind::Bmp);
    ASSERT_EQ(bmps.size(), 2U);
    EXPECT_EQ(bmps[1].path, LabelMarkImagePath(Home(), kTable, kPreparation));
    const std::vector<std::string> mark = Texts(bmps[1]);
    EXPECT_NE(std::find(mark.begin(), mark.end(), W("AÇÚCAR ?")), mark.end());
    EXPECT_EQ(ui.MessageTexts().back(), W("Foi gerado o arquivo : ") + W(bmps[1].path.string()));

    // Reopened, the screen starts on model 5 and warns before showing it.
    ui.Press(form, form.RetBitBtn);
    ui.ClearMessages();
    Open();
    EXPECT_TRUE(form.ModRdcRadioButton.checked);
    EXPECT_EQ(form.ConLiqMaskEdit.text, "   500");
    ASSERT_FALSE(ui.Messages().empty());
    EXPECT_NE(ui.Messages()[0].text.find(W("Açúcares totais")), std::string::npos);
}

// A preparation file that did not read whole (its one line twice) is not summed: the
// table would declare twice the milk. The reading error is told and nothing is declared.
TEST_F(NutritionLabelScreenTest, APreparationFileReadDamagedComposesNoTable) {
    const fs::path lines = PreparationFilePath(Home(), kTable, kPreparation);
    const std::string line = test::ReadBytes(lines);
    test::WriteBytes(lines, line + line);
    Open();
    ui.ClearMessages();
    PressRadioButton(ui, form, form.ModRdcRadioButton);
    ASSERT_FALSE(ui.Messages().empty());
    EXPECT_NE(ui.Messages()[0].text.find(W("está danificado (linha 2)")), std::string::npos)
        << ui.Messages()[0].text;
    EXPECT_TRUE(form.nutritionTable.incomplete);
    EXPECT_NE(form.SitRotLabel.caption.find("INCOMPLETA"), std::string::npos);
}

// A table stored under the earlier rules (no rules version beside its name) is not
// trusted: opening the label composes it again under these; one that cannot be composed
// again (its file damaged, shown as it stands) is drawn crossed out as incomplete.
TEST_F(NutritionLabelScreenTest, ATableOfEarlierRulesIsComposedAgainOnOpening) {
    const std::string earlier =
        W("[DadRot]\r\nTipRot=5\r\nRegRot=RDC 429/2020 + IN 75/2020\r\nPorEmb=\r\n"
          "PorRot=100 g (1 taça)\r\nCabTab=100 g|100 g|\r\n"
          "TabNut=31|31|2|2,4|2,4|1|0|0||0|0|0|1,7|1,7|3|1,7|1,7|3|1,1|1,1|5|0|0|0|0|0|0|"
          "22|22|1|\r\nAltEm=\r\nAltEmInc=\r\nIncRot=\r\n");
    EXPECT_TRUE(LoadNutritionTable(IniFile::FromBytes(earlier)).incomplete);

    const std::string damaged = earlier + std::string("[CfgEti]\r\n\0", 12);
    test::WriteBytes(File(), damaged);
    Open();
    EXPECT_EQ(test::ReadBytes(File()), damaged);
    std::vector<std::string> texts = Texts(LastPicture(500));
    EXPECT_NE(std::find(texts.begin(), texts.end(), W("INCOMPLETO – NÃO USAR EM EMBALAGEM")),
              texts.end());
    ui.Press(form, form.RetBitBtn);

    test::WriteBytes(File(), earlier);
    Open();
    const IniFile label{File()};
    EXPECT_EQ(label.ReadString("DadRot", "RegRot", ""), "RDC 429/2020 + IN 75/2020");
    EXPECT_EQ(label.ReadString("DadRot", "VerReg", ""), "2");
    EXPECT_EQ(GetField(1, label.ReadString("DadRot", "TabNut", "")), "32");
    texts = Texts(LastPicture(500));
    const auto energy = std::find(texts.begin(), texts.end(), W("Valor energético (kcal)"));
    ASSERT_NE(energy, texts.end());
    EXPECT_EQ(*(energy + 1), "32");
}

// On the default 67 x 67 mm label the table and its mark do not fit: the sheet is made
// only when the user goes on; a label large enough is made without the question.
TEST_F(NutritionLabelScreenTest, ASheetWhoseLabelCannotHoldTheTableAsksFirst) {
    const std::string doesNotFit =
        W("O conteúdo do rótulo não cabe na etiqueta escolhida. Deseja continuar?");
    Open();
    PressRadioButton(ui, form, form.ModRdcRadioButton);
    for (Button* b : {&form.PdfBitBtn, &form.ImpBitBtn}) {
        ui.ClearMessages();
        ui.AnswerYes();  // the PDF, or the sheet to the printer
        ui.AnswerNo();   // does not fit: stop
        ui.SaveAs(LabelPdfLocation(Home(), kTable, kPreparation).string());
        ui.Press(form, *b);
        ASSERT_EQ(ui.MessageTexts().size(), 2U) << b->Name();
        EXPECT_EQ(ui.MessageTexts()[1], doesNotFit) << b->Name();
    }
    EXPECT_TRUE(images.Of(RecordedImage::Kind::Pdf).empty());
    EXPECT_TRUE(ui.PrintJobs().empty());
    ui.Press(form, form.RetBitBtn);

    IniFile label{File()};
    label.Hold();
    for (const auto& [key, value] :
         {std::pair{"LarEti", "150"}, {"AltEti", "150"}, {"QuaEtiLin", "1"}, {"QuaEtiCol", "1"}}) {
        label.WriteString("CfgEti", key, value);
    }
    label.Commit();
    ui.ClearMessages();
    Open();
    ui.ClearMessages();
    ui.AnswerYes();
    ui.SaveAs(LabelPdfLocation(Home(), kTable, kPreparation).string());
    ui.Press(form, form.PdfBitBtn);
    EXPECT_EQ(images.Of(RecordedImage::Kind::Pdf).size(), 1U);
    for (const std::string& m : ui.MessageTexts()) {
        EXPECT_NE(m, doesNotFit);
    }
}

// Sodium of 650 mg/100 g reaches its limit: the screen says once when the mark is optional.
// Marked as cheese (a food whose front-of-pack labelling is forbidden) the mark is drawn
// nowhere, the state says why, and the choice is kept with the label data.
TEST_F(NutritionLabelScreenTest, AForbiddenFoodHasNoMarkAndTheStateSaysWhy) {
    const std::string salty = Record("2600,00");
    Open(salty);
    PressRadioButton(ui, form, form.ModRdcRadioButton);
    const auto told = [this] {
        const std::vector<std::string> texts = ui.MessageTexts();
        return std::count(texts.begin(), texts.end(), OptionalMarkNotice());
    };
    EXPECT_EQ(told(), 1);
    EXPECT_NE(OptionalMarkNotice().find(W("próprio estabelecimento")), std::string::npos);
    ui.MoveFocus(form, form.ConLiqMaskEdit);
    form.ConLiqMaskEdit.text = "500   ";
    ui.MoveFocus(form, form.ImpBitBtn);
    EXPECT_EQ(told(), 1);  // once
    EXPECT_TRUE(form.SemFroComboBox.visible);
    EXPECT_EQ(form.SemFroComboBox.items.size(), 20U);
    EXPECT_EQ(form.nutritionTable.highIn, std::vector<std::string>{W("SÓDIO")});
    EXPECT_NE(Texts(LastPicture(kMarkPreviewWidth)).size(), 0U);

    UserSelect(form.SemFroComboBox, 6);
    const std::string& state = form.SitRotLabel.caption;
    EXPECT_NE(state.find(W("Rotulagem frontal vedada: 6 – Queijos.")), std::string::npos) << state;
    EXPECT_NE(state.find(W("somente aos nutrientes alterados por esses ingredientes")),
              std::string::npos);
    EXPECT_TRUE(Texts(LastPicture(kMarkPreviewWidth)).empty());
    EXPECT_EQ(IniFile(File()).ReadString("DadRot", "SemFro", ""), "6");
    // The picture saved has no mark beside it.
    ui.ClearMessages();
    ui.AnswerYes();
    ui.Press(form, form.ImaBitBtn);
    EXPECT_EQ(images.Of(RecordedImage::Kind::Bmp).size(), 1U);
    // Nor does the sheet.
    ui.AnswerYes();
    ui.AnswerYes();
    ui.SaveAs(LabelPdfLocation(Home(), kTable, kPreparation).string());
    ui.Press(form, form.PdfBitBtn);
    const auto pdfs = images.Of(RecordedImage::Kind::Pdf);
    ASSERT_EQ(pdfs.size(), 1U);
    const std::vector<std::string> sheet = Texts(pdfs[0]);
    EXPECT_EQ(std::find(sheet.begin(), sheet.end(), "ALTO EM"), sheet.end());
    EXPECT_NE(std::find(sheet.begin(), sheet.end(), W("INFORMAÇÃO NUTRICIONAL")), sheet.end());
    ui.Press(form, form.RetBitBtn);

    // Reopened: still marked, nothing said about the optional mark; salt needs no proviso.
    ui.ClearMessages();
    Open(salty);
    EXPECT_EQ(form.SemFroComboBox.itemIndex, 6);
    EXPECT_EQ(told(), 0);
    UserSelect(form.SemFroComboBox, 10);
    EXPECT_NE(form.SitRotLabel.caption.find(W("vedada: 10 – Sal destinado ao consumo humano.")),
              std::string::npos);
    EXPECT_EQ(form.SitRotLabel.caption.find("somente"), std::string::npos);
    // Unmarked, the mark is back (and the notice said, once).
    UserSelect(form.SemFroComboBox, 0);
    EXPECT_EQ(form.SitRotLabel.caption.find("vedada"), std::string::npos);
    EXPECT_FALSE(Texts(LastPicture(kMarkPreviewWidth)).empty());
    EXPECT_EQ(told(), 1);
    EXPECT_EQ(IniFile(File()).ReadString("DadRot", "SemFro", ""), "0");
}

// A 90 x 80 mm label holds the table or its mark, not both side by side: the sheet is
// made of the part chosen, without the question of the fit.
TEST_F(NutritionLabelScreenTest, ASheetOfTheTablesOrOfTheMarksAlone) {
    const std::string doesNotFit =
        W("O conteúdo do rótulo não cabe na etiqueta escolhida. Deseja continuar?");
    Open();
    PressRadioButton(ui, form, form.ModRdcRadioButton);
    ASSERT_TRUE(form.ParFolComboBox.visible);
    ui.Press(form, form.RetBitBtn);
    IniFile label{File()};
    label.Hold();
    for (const auto& [key, value] :
         {std::pair{"LarEti", "90"}, {"AltEti", "80"}, {"QuaEtiLin", "2"}, {"QuaEtiCol", "3"}}) {
        label.WriteString("CfgEti", key, value);
    }
    label.Commit();
    Open();
    EXPECT_EQ(form.ParFolComboBox.itemIndex, 0);
    ui.ClearMessages();
    ui.AnswerYes();
    ui.AnswerNo();
    ui.SaveAs(LabelPdfLocation(Home(), kTable, kPreparation).string());
    ui.Press(form, form.PdfBitBtn);
    ASSERT_EQ(ui.MessageTexts().size(), 2U);
    EXPECT_EQ(ui.MessageTexts()[1], doesNotFit);

    struct Case {
        int item;
        size_t tables;
        size_t marks;
    };
    for (const Case& c : {Case{1, 6, 0}, Case{2, 0, 6}}) {
        SCOPED_TRACE(c.item);
        UserSelect(form.ParFolComboBox, c.item);
        ui.ClearMessages();
        ui.AnswerYes();
        ui.SaveAs(LabelPdfLocation(Home(), kTable, kPreparation).string());
        ui.Press(form, form.PdfBitBtn);
        EXPECT_EQ(ui.MessageTexts().size(), 2U) << "the question and the file made";
        // Asked where to save, starting in the label images folder, as the reports ask.
        ASSERT_FALSE(ui.SaveDialogs().empty());
        EXPECT_EQ(ui.SaveDialogs().back().suggested,
                  LabelPdfLocation(Home(), kTable, kPreparation).string());
        const auto pdfs = images.Of(RecordedImage::Kind::Pdf);
        ASSERT_FALSE(pdfs.empty());
        const std::vector<std::string> texts = Texts(pdfs.back());
        EXPECT_EQ(static_cast<size_t>(
                      std::count(texts.begin(), texts.end(), W("INFORMAÇÃO NUTRICIONAL"))),
                  c.tables);
        EXPECT_EQ(static_cast<size_t>(std::count(texts.begin(), texts.end(), "ALTO EM")), c.marks);
    }
}

}  // namespace
}  // namespace velmaro
