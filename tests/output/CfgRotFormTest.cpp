#include "output/labels/CfgRotForm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Interaction.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "storage/Paths.h"
#include "storage/Text.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingImageOutput.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;

const std::string kTable = Pad("Minha", 20);
const std::string kPreparation = Pad(W("Bolo de fubá"), 40);

class CfgRotFormTest : public test::DataHomeTest {
  protected:
    void Open() {
        form.Prepare(kTable, kPreparation);
        ui.Activate(form);
    }
    fs::path File() const { return LabelFilePath(Home(), kTable, kPreparation); }
    std::string Stored(const std::string& key) const {
        return IniFile(File()).ReadString("CfgEti", key, "<absent>");
    }
    std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (size_t i = 0; i < kSheetFieldCount; ++i) {
            texts.push_back(form.Field(i).text);
        }
        return texts;
    }

    test::ScriptedUi ui;
    test::RecordingImageOutput images;
    TCfgRotForm form{ui, Home(), images};
};

TEST_F(CfgRotFormTest, WithoutLabelFileShowsTheDefaultsAndRetornaWritesNothing) {
    Open();
    EXPECT_EQ(form.caption, W("CONFIGURA ETIQUETAS DE RÓTULO NUTRICIONAL"));
    const std::vector<std::string> expected = {"  300",
                                               "    1",
                                               "    1",
                                               "   65",
                                               "   65",
                                               "   10",
                                               "   10",
                                               "   10",
                                               "   10",
                                               " 95",
                                               " 95",
                                               Pad(W("Quantidade por porção"), 21),
                                               Pad(W("Valor calórico"), 21),
                                               Pad("Carboidratos", 21),
                                               Pad(W("Proteínas"), 21),
                                               Pad("Gorduras totais", 21),
                                               Pad("Gorduras saturadas", 21),
                                               Pad("Colesterol", 21),
                                               Pad("Fibra alimentar", 21),
                                               Pad(W("Cálcio"), 21),
                                               Pad("Ferro", 21),
                                               Pad(W("Sódio"), 21)};
    EXPECT_EQ(Texts(), expected);
    EXPECT_EQ(form.LarEtiMaskEdit.Mask(), "ccccc;0;_");
    EXPECT_EQ(form.ResImpMaskEdit.hint, W("Resolução da Impressora em Pontos Por Polegada - ppp"));
    EXPECT_EQ(form.DisVerEtiMaskEdit.hint, W("Distância Vertical entre Etiquetas em Milímetros"));
    EXPECT_FALSE(form.dirty);

    // The diagram: a picture with the six numbered distances.
    ASSERT_EQ(images.records.size(), 1u);
    EXPECT_EQ(form.Image1.pixelWidth, TCfgRotForm::kDiagramWidth);
    std::vector<std::string> numbers;
    for (const auto& call : images.records[0].calls) {
        if (call.rfind("Text ", 0) == 0) {
            numbers.push_back(call.substr(call.rfind(' ') + 1));
        }
    }
    EXPECT_EQ(numbers, (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));

    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(test::ReadBytes(File()), "");
}

TEST_F(CfgRotFormTest, GravaStoresEveryFieldWithTheDecimalPointAsComma) {
    Open();
    ui.MoveFocus(form, form.QuaEtiLinMaskEdit);
    ui.Type(form, form.QuaEtiLinMaskEdit, "3");
    PressEnter(form);  // Enter walks on; the count is aligned when left
    EXPECT_EQ(form.ActiveControl(), &form.QuaEtiColMaskEdit);
    EXPECT_EQ(form.QuaEtiLinMaskEdit.text, "    3");
    ui.MoveFocus(form, form.LarEtiMaskEdit);
    ui.Type(form, form.LarEtiMaskEdit, "65.5");
    EXPECT_EQ(form.LarEtiMaskEdit.text, "65,5 ");
    EXPECT_TRUE(form.dirty);

    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.MessageTexts(),
              (std::vector<std::string>{W("Confirma gravação dos dados?"),
                                        W("Os dados foram gravados com sucesso!")}));
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(Stored("LarEti"), "65,5");
    EXPECT_EQ(Stored("QuaEtiLin"), "3");
    EXPECT_EQ(Stored("ResImp"), "300");
    EXPECT_EQ(Stored("DesKAL"), W("Valor calórico"));

    // The next opening shows what was stored.
    Open();
    EXPECT_EQ(form.LarEtiMaskEdit.text, AlignDecimalText("65,5 "));
    EXPECT_EQ(form.QuaEtiLinMaskEdit.text, "    3");
    EXPECT_FALSE(form.dirty);
}

TEST_F(CfgRotFormTest, MillimetreFieldWithoutNumberCannotBeLeft) {
    for (const std::string bad : {"     ", "abc  ", "6,5,5", "-,   "}) {
        SCOPED_TRACE(bad);
        ui.ClearMessages();
        Open();
        ui.MoveFocus(form, form.LarEtiMaskEdit);
        UserSetText(form.LarEtiMaskEdit, bad);
        EXPECT_FALSE(ui.MoveFocus(form, form.AltEtiMaskEdit));
        EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Valor inválido!")});
        EXPECT_EQ(form.ActiveControl(), &form.LarEtiMaskEdit);
        EXPECT_EQ(form.LarEtiMaskEdit.text, "     ");

        // Grava is swallowed by the refusal: no question, nothing written.
        ui.ClearMessages();
        ui.Press(form, form.GraBitBtn);
        EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Valor inválido!")});
        EXPECT_EQ(test::ReadBytes(File()), "");

        UserSetText(form.LarEtiMaskEdit, "  70 ");
        EXPECT_TRUE(ui.MoveFocus(form, form.AltEtiMaskEdit));
        ui.AnswerNo();
        ui.Press(form, form.RetBitBtn);
        EXPECT_TRUE(form.CloseRequested());
    }
}

// The setup keeps the limits the printing keeps: told on the field, which keeps the focus,
// and Grava writes nothing while one is broken.
TEST_F(CfgRotFormTest, ResolutionAndLabelCountsOutsideThePrintLimitsAreRefusedOnTheField) {
    struct Case {
        MaskEdit TCfgRotForm::*field;
        std::string text;
        std::string reason;  // UTF-8; empty: taken
    };
    const std::string tooMany =
        "A folha de etiquetas tem 10200 etiquetas; o programa desenha no máximo 10000 numa "
        "folha. Diminua a quantidade de etiquetas numa linha ou numa coluna na configuração "
        "das etiquetas.";
    const std::vector<Case> cases{
        {&TCfgRotForm::ResImpMaskEdit, "    1",
         "A resolução da impressora deve ser de pelo menos 72 ppp."},
        {&TCfgRotForm::ResImpMaskEdit, "   71",
         "A resolução da impressora deve ser de pelo menos 72 ppp."},
        {&TCfgRotForm::ResImpMaskEdit, "   72", ""},
        {&TCfgRotForm::QuaEtiLinMaskEdit, "    0",
         "A folha precisa de pelo menos uma etiqueta numa linha."},
        {&TCfgRotForm::QuaEtiColMaskEdit, "10200", tooMany},  // 1 across
        {&TCfgRotForm::QuaEtiLinMaskEdit, "10000", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ui.ClearMessages();
        Open();
        MaskEdit& field = form.*c.field;
        ui.MoveFocus(form, field);
        UserSetText(field, c.text);
        const bool left = ui.MoveFocus(form, form.LarEtiMaskEdit);
        if (c.reason.empty()) {
            EXPECT_TRUE(left);
            EXPECT_TRUE(ui.MessageTexts().empty());
            continue;
        }
        EXPECT_FALSE(left);
        EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Valor inválido! " + c.reason)});
        EXPECT_EQ(form.ActiveControl(), &field);

        ui.ClearMessages();
        ui.Press(form, form.GraBitBtn);
        EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{W("Valor inválido! " + c.reason)});
        EXPECT_EQ(test::ReadBytes(File()), "");
        ui.AnswerNo();
        ui.Press(form, form.RetBitBtn);
    }
}

TEST_F(CfgRotFormTest, UnsavedChangesAreAskedForOnLeaving) {
    Open();
    ui.MoveFocus(form, form.DesKALMaskEdit);
    ui.Type(form, form.DesKALMaskEdit, "Ene|rgia");  // a "|" would split the caption row
    EXPECT_EQ(ui.LastMessage(), W("Não é permitido utilizar o caracter (|) !"));
    EXPECT_EQ(form.DesKALMaskEdit.text, Pad("Energia", 21));
    ui.ClearMessages();

    ui.AnswerNo();
    ui.Press(form, form.RetBitBtn);
    EXPECT_EQ(ui.MessageTexts(),
              std::vector<std::string>{W("Os dados não foram gravados! Deseja gravá-los?")});
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(test::ReadBytes(File()), "");

    Open();
    EXPECT_EQ(form.DesKALMaskEdit.text, Pad(W("Valor calórico"), 21));
    UserSetText(form.DesKALMaskEdit, Pad("Energia", 21));
    ui.ClearMessages();
    ui.AnswerYes();
    EXPECT_TRUE(RequestClose(form));  // the close box asks too
    EXPECT_EQ(ui.LastMessage(), W("Os dados foram gravados com sucesso!"));
    EXPECT_EQ(Stored("DesKAL"), "Energia");
    EXPECT_EQ(Stored("AltUti"), "95");
}

TEST_F(CfgRotFormTest, FailedSaveKeepsTheScreenOpenWithTheEdits) {
    Open();
    UserSetText(form.AltEtiMaskEdit, "   40");
    {
        test::FileSizeLimit limit(20);
        ui.AnswerYes();
        ui.Press(form, form.GraBitBtn);
    }
    EXPECT_EQ(ui.LastMessage(), W("Erro durante a gravação dos dados!"));
    EXPECT_FALSE(form.CloseRequested());
    EXPECT_EQ(form.AltEtiMaskEdit.text, "   40");
    EXPECT_TRUE(form.dirty);
    EXPECT_EQ(test::ReadBytes(File()), "");
}

}  // namespace
}  // namespace velmaro
