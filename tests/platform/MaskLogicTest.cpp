#include <gtest/gtest.h>

#include "platform/Interaction.h"
#include "platform/MaskLogic.h"
#include "storage/Cp1252.h"
#include "storage/Text.h"

namespace velmaro {
namespace {

std::string Typed(const std::string& mask, const std::string& keys) {
    std::string text = MaskEmptyText(mask);
    int caret = 0;
    for (char k : keys) {
        MaskTypeChar(mask, text, caret, k);
    }
    return text;
}

TEST(MaskLogic, TypingFillsTheFullWidthText) {
    struct Case {
        const char* mask;
        std::string keys;
        std::string text;
    };
    const Case cases[] = {
        {"9999,99;1;_", "12", "12  ,  "},
        {"9999,99;1;_", "12,5", "12  ,5 "},
        {"9999,99;1;_", "12.5", "125 ,  "},  // "." is no digit and no literal: refused
        {"9999,99;1;_", "1a2b", "12  ,  "},
        {"9999,99;1;_", "1234567", "1234,56"},
        {"999999;1;_", "12a3", "123   "},
        {"99/99/99;1;_", "010203", "01/02/03"},
        {"99/99/99;1;_", "1/2/", "1 /2 /  "},
        {">cccccccccccccccccccc;0;_", W("feijão 1"), W("FEIJÃO 1") + std::string(12, ' ')},
        {"cccccccccccccccccccc;1;_", "Ab_c", "Ab_c" + std::string(16, ' ')},
        {"ccc;0;_", "abcd", "abc"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Typed(c.mask, c.keys), c.text) << c.mask << " <- " << c.keys;
    }
    EXPECT_EQ(MaskEmptyText("99/99/9999;1;_"), "  /  /    ");
    EXPECT_EQ(MaskDisplayText("9999,99;1;_", "  12,5 "), "__12,5_");
    EXPECT_EQ(MaskTextFromDisplay("9999,99;1;_", "__12,5_"), "  12,5 ");
    // Spaces typed between words stay spaces on screen; empty positions show "_".
    EXPECT_EQ(MaskDisplayText("cccccccccccc;1;_", " Minha  tab "), "_Minha  tab_");
    EXPECT_EQ(MaskDisplayText("99/99/99;1;_", " 1/ 2/1 "), "_1/_2/1_");
    EXPECT_EQ(MaskTextFromDisplay("cccccccccccc;1;_", "_Minha  tab_"), " Minha  tab ");
    EXPECT_EQ(MaskWidth(">cccccccccccccccccccc;0;_"), 20);
}

TEST(MaskLogic, BackspaceAndDeleteSkipLiterals) {
    std::string text = "12  ,5 ";
    int caret = 5;
    MaskBackspace("9999,99;1;_", text, caret);
    EXPECT_EQ(text, "12  ,5 ");  // the blank before the comma
    EXPECT_EQ(caret, 3);
    text = "  12,50";
    MaskDelete("9999,99;1;_", text, 4);
    EXPECT_EQ(text, "  12, 0");
}

// A screen may put a text of another width in a field (a record of a damaged file): the
// keys bring it to the mask's width and never write past its end.
TEST(MaskLogic, KeysOnATextOfAnotherWidth) {
    std::string text = "1";
    int caret = 6;
    MaskBackspace("9999,99;1;_", text, caret);
    EXPECT_EQ(text, "1   ,  ");
    EXPECT_EQ(caret, 5);
    text = "12";
    MaskDelete("9999,99;1;_", text, 3);
    EXPECT_EQ(text, "12  ,  ");
    text = "123456789";
    caret = 99;
    MaskBackspace("99/99/99;1;_", text, caret);
    EXPECT_EQ(text, "1234567 ");
    EXPECT_EQ(caret, 7);

    Form form("TTest");
    MaskEdit edit(form, "NomMaskEdit", "ccccc;1;_");
    edit.text = "ab";
    edit.caret = 1;
    edit.selLength = 4;  // the user selected to the end of the field as shown
    TypeChar(form, edit, 'x');
    EXPECT_EQ(edit.text, "ax   ");
}

// The numeric field rule on a real field: a "," aligns the integer part first, then the
// caret jumps past the comma.
// A click beyond what is typed puts the caret right after it; literals do not count as
// typed, and a field without a mask counts its text.
TEST(MaskLogic, AClickBeyondTheTextPutsTheCaretAtItsEnd) {
    struct Case {
        std::string_view mask;
        std::string_view text;
        int clicked;
        int caret;
    };
    for (const Case& c :
         {Case{"cccccc;1;_", "      ", 4, 0}, Case{"cccccc;1;_", "ab    ", 5, 2},
          Case{"cccccc;1;_", "ab    ", 1, 1}, Case{"cccccc;1;_", "a b   ", 6, 3},
          Case{"99/99/99;1;_", "12/  /  ", 7, 2}, Case{"9999,99;1;_", "  12,  ", 6, 4},
          Case{"", "abc   ", 5, 3}, Case{"cccccc;1;_", "ab    ", -3, 0}}) {
        EXPECT_EQ(MaskClickCaret(c.mask, c.text, c.clicked), c.caret)
            << c.mask << " '" << c.text << "' " << c.clicked;
    }
}

TEST(MaskLogic, NumericRuleThroughTheForm) {
    Form form("TTest");
    MaskEdit edit(form, "PesMaskEdit", "9999,99;1;_");
    edit.onKeyPress = [&](char& key) { key = NumericFieldKeyPress(edit.text, key); };
    int changes = 0;
    edit.onChange = [&] { ++changes; };
    TypeText(form, edit, "12.5");
    EXPECT_EQ(edit.text, "  12,5 ");
    EXPECT_EQ(NumericFieldExit(edit.text, edit.Mask()), "  12,50");
    EXPECT_EQ(changes, 3);
}

TEST(Interaction, ExitHandlerCanKeepTheFocusAndSwallowTheClick) {
    struct NoUi : Ui {
        int ShowMessageBox(const std::string&, MessageKind) override {
            CountDialog();
            return kAnswerOk;
        }
        int PickFromList(const std::string&, const std::vector<std::string>&, int p) override {
            return p;
        }
        RenameResult AskNewName(const std::string&, const std::string&,
                                const std::string&) override {
            return {};
        }
        void ShowItemsInUse(const std::string&, const std::vector<std::string>&) override {}
        ProgressSink& Progress() override { return progress; }
        void ShowHelp() override {}
        std::string AskSaveFileName(const std::string&, const std::string&) override { return {}; }
        bool ConfirmPrinter() override { return false; }
        void PrinterSetup() override {}
        void PrintText(const TextPrintJob&) override {}
        PrintJob* BeginPrintJob(bool) override { return nullptr; }
        void Beep() override {}
        int ShowModal(Form&) override { return 0; }
        NullProgress progress;
    } ui;
    Form form("TTest");
    MaskEdit key(form, "KeyMaskEdit", "ccc;1;_");
    Button ok(form, "GraBitBtn", "&Grava");
    int clicks = 0;
    ok.onClick = [&] { ++clicks; };
    bool complain = true;
    key.onExit = [&](Control*) {
        if (complain) {
            ui.ShowMessageBox("x", MessageKind::Ok);
            form.SetFocus(&key);
        }
    };
    form.SetFocus(&key);
    PressButton(ui, form, ok);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(form.ActiveControl(), &key);
    complain = false;
    PressButton(ui, form, ok);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form.ActiveControl(), &ok);
    EXPECT_EQ(form.NextControl(&ok), &key);
}

}  // namespace
}  // namespace velmaro
