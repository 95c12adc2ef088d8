// The method-of-preparation text: loading, the line limits checked as keys are typed,
// saving with and without a question, and leaving.

#include "preparations/CadRecForm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Interaction.h"
#include "storage/Cp1252.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

namespace fs = std::filesystem;
using test::Pad;
using test::ReadBytes;
using test::WriteBytes;

class CadRecFormTest : public test::DataHomeTest {
  protected:
    CadRecFormTest() {
        form.tableName = Pad("Minha", 20);
        form.preparationName = Pad("Bolo", 40);
    }
    fs::path TextPath() const { return Home() / "Dados" / "Minha" / "Receita" / "Bolo.rec"; }
    void Open() {
        form.startPending = true;
        ui.Activate(form);
    }
    // A text of `count` lines.
    static std::vector<std::string> Lines(int count) {
        std::vector<std::string> lines;
        for (int i = 1; i <= count; ++i) {
            lines.push_back("Passo " + std::to_string(i));
        }
        return lines;
    }
    char Key(char key) { return PreviewKey(form, form.RecMemo, key); }

    test::ScriptedUi ui;
    TCadRecForm form{ui, Home()};
};

TEST_F(CadRecFormTest, ANewPreparationHasAnEmptyTextAndLeavingItWritesNothing) {
    Open();
    EXPECT_EQ(form.caption, "DIGITA MODO DE PREPARO");
    EXPECT_TRUE(form.RecMemo.lines.empty());
    EXPECT_EQ(form.ActiveControl(), &form.RecMemo);
    ui.Press(form, form.ImpBitBtn);
    ui.Press(form, form.RetBitBtn);
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(ReadBytes(TextPath()), "");
}

TEST_F(CadRecFormTest, ImprimeSavesAChangedTextWithoutAQuestion) {
    // Written elsewhere without a final line end: any rewrite would add one.
    WriteBytes(TextPath(), "Misture tudo.\r\nAsse.");
    Open();
    EXPECT_EQ(form.RecMemo.lines, (std::vector<std::string>{"Misture tudo.", "Asse."}));
    ui.Press(form, form.ImpBitBtn);
    EXPECT_EQ(ReadBytes(TextPath()), "Misture tudo.\r\nAsse.");

    UserSetLines(form.RecMemo, {"Misture tudo.", W("Asse por 40 minutos, até dourar.")});
    EXPECT_TRUE(form.dirty);
    ui.Press(form, form.ImpBitBtn);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_FALSE(form.dirty);
    EXPECT_EQ(ReadBytes(TextPath()),
              "Misture tudo.\r\n" + W("Asse por 40 minutos, até dourar.") + "\r\n");
}

TEST_F(CadRecFormTest, GravaAsksFirst) {
    WriteBytes(TextPath(), "Antigo\r\n");
    Open();
    UserSetLines(form.RecMemo, {"Novo"});
    ui.AnswerNo();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ReadBytes(TextPath()), "Antigo\r\n");
    EXPECT_TRUE(form.dirty);
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{"Grava receita?", "Grava receita?",
                                                           "Receita gravada com sucesso!"}));
    EXPECT_EQ(ReadBytes(TextPath()), "Novo\r\n");
    EXPECT_FALSE(form.dirty);
}

TEST_F(CadRecFormTest, ClosingAfterAChangeAsksWhetherToSave) {
    struct Case {
        bool closeBox;  // else Retorna
        int answer;
        std::string fileAfter;
    };
    for (const Case& c : std::vector<Case>{{false, kAnswerNo, "Antigo\r\n"},
                                           {true, kAnswerNo, "Antigo\r\n"},
                                           {false, kAnswerYes, "Novo\r\n"},
                                           {true, kAnswerYes, "Novo\r\n"}}) {
        WriteBytes(TextPath(), "Antigo\r\n");
        ui.ClearMessages();
        Open();
        UserSetLines(form.RecMemo, {"Novo"});
        ui.Answer(c.answer);
        if (c.closeBox) {
            EXPECT_TRUE(RequestClose(form));
        } else {
            ui.Press(form, form.RetBitBtn);
        }
        EXPECT_TRUE(form.CloseRequested());
        EXPECT_EQ(ui.MessageTexts().front(), W("Grava alterações da receita?"));
        EXPECT_EQ(ReadBytes(TextPath()), c.fileAfter) << c.closeBox << " " << c.answer;
        if (c.answer == kAnswerYes) {
            EXPECT_EQ(ui.LastMessage(), "Receita gravada com sucesso!");
        }
    }
}

TEST_F(CadRecFormTest, ATextThatCannotBeSavedStaysOnScreen) {
    Open();
    fs::remove(TextPath());
    fs::create_directory(TextPath());
    UserSetLines(form.RecMemo, {"Novo"});
    ui.AnswerYes();
    ui.Press(form, form.RetBitBtn);
    EXPECT_EQ(ui.LastMessage(), W("Erro durante a gravação da receita!"));
    EXPECT_FALSE(form.CloseRequested());
    EXPECT_TRUE(form.dirty);
    EXPECT_EQ(form.RecMemo.lines, std::vector<std::string>{"Novo"});
}

TEST_F(CadRecFormTest, NoLineBeyondThe32nd) {
    const std::string limit = W("São permitadas no máximo 32 linhas!");
    Open();
    form.RecMemo.lines = Lines(31);
    EXPECT_TRUE(PressEnterKey(form)) << "a 32nd line may begin";
    EXPECT_TRUE(ui.Messages().empty());

    form.RecMemo.lines = Lines(32);
    form.RecMemo.caretLine = 3;
    EXPECT_FALSE(PressEnterKey(form));
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{limit});
    EXPECT_EQ(form.RecMemo.lines.size(), 32u);

    // The last position of the 32nd line takes nothing; the rest of it does.
    struct Case {
        int line, column;
        char key;
        bool taken;
    };
    for (const Case& c : std::vector<Case>{{31, 69, 'x', false},
                                           {31, 69, '\b', false},
                                           {31, 68, 'x', true},
                                           {30, 69, 'x', true},
                                           {31, 70, 'x', true}}) {
        ui.ClearMessages();
        form.RecMemo.caretLine = c.line;
        form.RecMemo.caretColumn = c.column;
        EXPECT_EQ(Key(c.key) != 0, c.taken) << c.line << ":" << c.column;
        EXPECT_EQ(ui.MessageTexts(),
                  c.taken ? std::vector<std::string>{} : std::vector<std::string>{limit});
    }
    EXPECT_EQ(ui.Beeps(), 0);

    // A longer text written elsewhere is shown whole, and no key is taken while it is.
    std::string longer;
    for (int i = 0; i < 33; ++i) {
        longer += "linha\r\n";
    }
    WriteBytes(TextPath(), longer);
    ui.ClearMessages();
    Open();
    EXPECT_EQ(form.RecMemo.lines.size(), 33u);
    form.RecMemo.caretLine = 0;
    form.RecMemo.caretColumn = 0;
    EXPECT_EQ(Key('x'), 0);
    EXPECT_EQ(Key('\b'), 0);
    EXPECT_EQ(ui.Beeps(), 2);
    EXPECT_TRUE(ui.Messages().empty());
}

// Typing and pasting as the Qt memo reports them: the whole lines after the edit, with
// the caret where the edit left it.
TEST_F(CadRecFormTest, TypedTextWrapsAtThe70thColumnAndTheCaretGoesWithIt) {
    struct Case {
        std::vector<std::string> lines;
        int caretLine, caretColumn;
        std::vector<std::string> wrapped;
        int wrappedLine, wrappedColumn;
    };
    const std::string word60(60, 'a');
    const std::string word75(75, 'b');
    const std::vector<Case> cases{
        // The word that does not fit goes to the next line; the caret goes with it.
        {{word60 + " tempero forte"}, 0, 74, {word60 + " tempero ", "forte"}, 1, 5},
        // A word longer than the line is cut at the 70th character.
        {{word75}, 0, 75, {std::string(70, 'b'), "bbbbb"}, 1, 5},
        // Lines after the broken one move down; short lines stay as they are.
        {{"curta", word60 + " mais um pouco", "fim"},
         2,
         1,
         {"curta", word60 + " mais um ", "pouco", "fim"},
         3,
         1},
    };
    for (const Case& c : cases) {
        Open();
        form.RecMemo.caretLine = c.caretLine;
        form.RecMemo.caretColumn = c.caretColumn;
        UserSetLines(form.RecMemo, c.lines);
        EXPECT_EQ(form.RecMemo.lines, c.wrapped);
        EXPECT_EQ(form.RecMemo.caretLine, c.wrappedLine);
        EXPECT_EQ(form.RecMemo.caretColumn, c.wrappedColumn);
        EXPECT_TRUE(form.dirty);
    }
}

// Words taken out of a wrapped paragraph bring the next line's words back up; a line
// break typed by the user stays where it is.
TEST_F(CadRecFormTest, TheParagraphBeingEditedFlowsAgain) {
    const std::string word60(60, 'a');
    Open();
    form.RecMemo.caretLine = 0;
    form.RecMemo.caretColumn = 74;
    UserSetLines(form.RecMemo, {word60 + " tempero forte", "Asse."});
    ASSERT_EQ(form.RecMemo.lines,
              (std::vector<std::string>{word60 + " tempero ", "forte", "Asse."}));
    // "tempero " deleted: "forte" comes back beside the a's; "Asse." stays on its line.
    form.RecMemo.caretLine = 0;
    form.RecMemo.caretColumn = 61;
    UserSetLines(form.RecMemo, {word60 + " ", "forte", "Asse."});
    EXPECT_EQ(form.RecMemo.lines, (std::vector<std::string>{word60 + " forte", "Asse."}));
    EXPECT_EQ(form.RecMemo.caretLine, 0);
    EXPECT_EQ(form.RecMemo.caretColumn, 61);

    // Backspace at the start of a wrapped line takes the space before it.
    UserSetLines(form.RecMemo, {word60 + " tempero forte", "Asse."});
    ASSERT_EQ(form.RecMemo.lines,
              (std::vector<std::string>{word60 + " tempero ", "forte", "Asse."}));
    form.RecMemo.caretLine = 0;
    form.RecMemo.caretColumn = static_cast<int>(word60.size()) + 9;
    ASSERT_EQ(Key('\b'), '\b');
    UserSetLines(form.RecMemo, {word60 + " tempero forte", "Asse."});
    EXPECT_EQ(form.RecMemo.lines,
              (std::vector<std::string>{word60 + " ", "temperoforte", "Asse."}));
}

// Whatever way it comes (typed, pasted), nothing goes beyond 32 lines or 2240 characters:
// the edit is undone whole, with the message, and the text saved is the one on screen.
TEST_F(CadRecFormTest, TypingOrPastingBeyondTheLimitsIsRefusedWhole) {
    const std::string limit = W("São permitadas no máximo 32 linhas!");
    const std::string full(70, 'x');
    Open();
    std::vector<std::string> lines(32, full);
    lines.back() = "fim";
    UserSetLines(form.RecMemo, lines);
    ASSERT_EQ(form.RecMemo.lines, lines);
    ASSERT_TRUE(ui.Messages().empty());

    // A word typed into a full line that pushes a 33rd line.
    std::vector<std::string> typed = lines;
    typed[3] = full.substr(0, 10) + " y" + full.substr(10);
    form.RecMemo.caretLine = 3;
    form.RecMemo.caretColumn = 12;
    UserSetLines(form.RecMemo, typed);
    EXPECT_EQ(form.RecMemo.lines, lines);
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{limit});
    EXPECT_EQ(form.RecMemo.caretLine, 3);
    EXPECT_EQ(form.RecMemo.caretColumn, 10);

    // A paste of many lines into a short text.
    ui.ClearMessages();
    UserSetLines(form.RecMemo, {"Misture."});
    std::vector<std::string> pasted{"Misture."};
    for (int i = 0; i < 40; ++i) {
        pasted.push_back("passo " + std::to_string(i));
    }
    form.RecMemo.caretLine = 40;
    form.RecMemo.caretColumn = 8;
    UserSetLines(form.RecMemo, pasted);
    EXPECT_EQ(form.RecMemo.lines, std::vector<std::string>{"Misture."});
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{limit});
    ui.AnswerYes();
    ui.Press(form, form.GraBitBtn);
    EXPECT_EQ(ReadBytes(TextPath()), "Misture.\r\n");
}

}  // namespace
}  // namespace velmaro
