// The shared dialogs driven through FormsUi, with a platform part that plays the user
// inside each dialog shown modally and fixed measures for the message dialog.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>

#include "platform/Interaction.h"
#include "shell/FormsUi.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/Paths.h"
#include "support/TestEnv.h"

namespace velmaro::test {
namespace {

class TestFormsUi : public FormsUi {
  public:
    explicit TestFormsUi(fs::path home) : FormsUi(std::move(home)) {}

    // Measures of the message dialog.
    int textWidth = 100;
    int charWidth = 0;  // when set, a text is this many pixels per character wide
    std::pair<int, int> picture{120, 150};
    int MeasureTextWidth(const std::string& text) override {
        return charWidth > 0 ? charWidth * static_cast<int>(text.size()) : textWidth;
    }
    int TextLineHeight() override { return 16; }
    int ButtonWidth() override { return 75; }
    std::pair<int, int> PictureSize() override { return picture; }

    // Plays the user inside a form of this class shown modally. A message dialog
    // without a script is answered with its default button.
    void OnShow(const std::string& className, std::function<void(Form&)> script) {
        scripts[className].push_back(std::move(script));
    }
    int ShowModal(Form& form) override {
        shown.push_back(form.ClassName());
        form.ResetClose();
        if (form.onActivate) {
            form.onActivate();
        }
        auto& queue = scripts[form.ClassName()];
        if (!queue.empty()) {
            auto script = std::move(queue.front());
            queue.pop_front();
            script(form);
        } else if (&form == &MesDlg()) {
            messages.push_back(MesDlg().MenLabel.caption);
            Button& b = MesDlg().OkBitBtn.visible ? MesDlg().OkBitBtn : MesDlg().SimBitBtn;
            PressButton(*this, form, b);
        }
        const int result = form.modalResult;
        form.ResetClose();
        return result;
    }
    void ShowModeless(Form& form) override { modeless.push_back("show " + form.ClassName()); }
    void UpdateModeless(Form& form) override {
        modeless.push_back("update " + form.ClassName());
        (void)form;
    }
    void CloseModeless(Form& form) override { modeless.push_back("close " + form.ClassName()); }

    std::string saveName;
    bool printerOk = true;
    std::string AskSaveFileName(const std::string& filter, const std::string&) override {
        saveFilters.push_back(filter);
        return saveName;
    }
    bool ConfirmPrinter() override { return printerOk; }
    void PrinterSetup() override {}
    void PrintText(const TextPrintJob& job) override { jobs.push_back(job); }
    PrintJob* BeginPrintJob(bool) override { return nullptr; }
    void Beep() override {}

    std::map<std::string, std::deque<std::function<void(Form&)>>> scripts;
    std::vector<std::string> shown;
    std::vector<std::string> messages;
    std::vector<std::string> modeless;
    std::vector<std::string> saveFilters;
    std::vector<TextPrintJob> jobs;
};

class DialogsTest : public DataHomeTest {
  protected:
    TestFormsUi ui{Home()};
};

// --- message dialog ---------------------------------------------------------------

struct LayoutCase {
    int textWidth;
    MessageKind kind;
    int labelLeft;
    int windowWidth;
    int okLeft;   // kind OK
    int simLeft;  // kind SIM/NÃO
    int naoLeft;
};

TEST_F(DialogsTest, MessageDialogLayoutFollowsTheTextWidth) {
    // Buttons 75 wide, picture 120 × 150; halves round to the even neighbour.
    const LayoutCase cases[] = {
        {100, MessageKind::Ok, 115, 330 + 120, 128, 0, 0},      // (330-100)/2; 165-37.5
        {101, MessageKind::YesNo, 114, 330 + 120, 0, 52, 202},  // 114.5; 52.5; 202.5
        {299, MessageKind::Ok, 16, 330 + 120, 128, 0, 0},       // 15.5
        {300, MessageKind::Ok, 15, 330 + 120, 128, 0, 0},       // wide: 300 + 30
        {400, MessageKind::YesNo, 15, 430 + 120, 0, 102, 252},  // 215-112.5; 215+37.5
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.textWidth);
        ui.textWidth = c.textWidth;
        ui.ShowMessageBox("Mensagem", c.kind);
        const TMesDlgForm& d = ui.MesDlg();
        EXPECT_EQ(d.MenLabel.caption, "Mensagem");
        EXPECT_EQ(d.MenLabel.left, c.labelLeft);
        EXPECT_EQ(d.width, c.windowWidth);
        EXPECT_EQ(d.height, 150);
        EXPECT_EQ(d.DesImage.left, c.windowWidth - 120);
        EXPECT_TRUE(d.DesImage.visible);
        if (c.kind == MessageKind::Ok) {
            EXPECT_TRUE(d.OkBitBtn.visible && d.OkBitBtn.isDefault);
            EXPECT_FALSE(d.SimBitBtn.visible || d.NaoBitBtn.visible);
            EXPECT_EQ(d.OkBitBtn.left, c.okLeft);
        } else {
            EXPECT_FALSE(d.OkBitBtn.visible);
            EXPECT_TRUE(d.SimBitBtn.visible && d.SimBitBtn.isDefault && d.NaoBitBtn.visible);
            EXPECT_EQ(d.SimBitBtn.left, c.simLeft);
            EXPECT_EQ(d.NaoBitBtn.left, c.naoLeft);
        }
    }
}

TEST_F(DialogsTest, MessageDialogWithoutPictureStillShowsTextAndButtons) {
    ui.picture = {0, 0};
    ui.ShowMessageBox("Mensagem", MessageKind::Ok);
    const TMesDlgForm& d = ui.MesDlg();
    EXPECT_FALSE(d.DesImage.visible);
    EXPECT_EQ(d.width, 330);
    EXPECT_EQ(d.height, TMesDlgForm::kMinHeight);
    EXPECT_GT(d.OkBitBtn.top, d.MenLabel.top);
    EXPECT_LE(d.OkBitBtn.top + d.OkBitBtn.height, d.height);
}

// A message of several lines is as wide as its widest line (not as all of them in a row)
// and tall enough for all of them above the buttons; a line wider than the dialog allows
// is broken between words.
TEST_F(DialogsTest, MessageDialogFitsALongMessageOfManyLines) {
    ui.charWidth = 10;
    const std::string longLine =
        "Açúcares totais (g): " + std::string(50, 'a') + ", " + std::string(30, 'b') + ", c";
    ui.ShowMessageBox(W("Atenção!\n") + W(longLine) + "\nfim", MessageKind::YesNo);
    const TMesDlgForm& d = ui.MesDlg();
    const std::string first = W("Açúcares totais (g): ") + std::string(50, 'a') + ",";
    EXPECT_EQ(d.MenLabel.caption,
              W("Atenção!\n") + first + "\n" + std::string(30, 'b') + ", c\nfim");
    EXPECT_EQ(d.MenLabel.width, 10 * static_cast<int>(first.size()));
    EXPECT_LE(d.MenLabel.width, TMesDlgForm::kMaxTextWidth);
    EXPECT_EQ(d.width, d.MenLabel.width + 30 + 120);
    // Five lines of 16 px from the text's top (20), then 10 px, the buttons and 15 px.
    EXPECT_EQ(d.height, 20 + 5 * 16 + 10 + 25 + 15);
    EXPECT_EQ(d.SimBitBtn.top, d.height - 25 - 15);

    // A word wider than the dialog stays whole on its own line.
    ui.ShowMessageBox("curta " + std::string(100, 'x') + " fim", MessageKind::Ok);
    EXPECT_EQ(d.MenLabel.caption, "curta\n" + std::string(100, 'x') + "\nfim");
    EXPECT_EQ(d.MenLabel.width, 1000);
    EXPECT_EQ(d.height, 150) << "the picture is taller than three lines";
}

TEST_F(DialogsTest, MessageDialogAnswersWithThePressedButtonOnly) {
    const auto press = [this](Button TMesDlgForm::*button) {
        return [this, button](Form& f) {
            // The close box does not close the dialog.
            EXPECT_FALSE(RequestClose(f));
            EXPECT_FALSE(f.CloseRequested());
            PressButton(ui, f, ui.MesDlg().*button);
        };
    };
    ui.OnShow("TMesDlgForm", press(&TMesDlgForm::SimBitBtn));
    EXPECT_EQ(ui.ShowMessageBox(W("Confirma inclusão?"), MessageKind::YesNo), kAnswerYes);
    ui.OnShow("TMesDlgForm", press(&TMesDlgForm::NaoBitBtn));
    EXPECT_EQ(ui.ShowMessageBox(W("Confirma inclusão?"), MessageKind::YesNo), kAnswerNo);
    ui.OnShow("TMesDlgForm", press(&TMesDlgForm::OkBitBtn));
    EXPECT_EQ(ui.ShowMessageBox("Ok", MessageKind::Ok), kAnswerOk);
    // The hidden OK button of a question cannot answer it.
    ui.OnShow("TMesDlgForm", [this](Form& f) {
        PressButton(ui, f, ui.MesDlg().OkBitBtn);
        EXPECT_FALSE(f.CloseRequested());
        PressButton(ui, f, ui.MesDlg().NaoBitBtn);
    });
    EXPECT_EQ(ui.ShowMessageBox("?", MessageKind::YesNo), kAnswerNo);
    EXPECT_EQ(ui.MesDlg().NaoBitBtn.caption, W("&NÃO"));
    EXPECT_FALSE(ui.MesDlg().borderIcons);
}

// --- list picker ------------------------------------------------------------------

TEST_F(DialogsTest, ListPickerClosedByItsCloseBoxKeepsThePreselection) {
    const std::vector<std::string> items{"A", "B", "C"};
    ui.OnShow("TLisForm", [](Form& f) { EXPECT_TRUE(RequestClose(f)); });
    EXPECT_EQ(ui.PickFromList("LISTA DE TABELAS", items, 1), 1);
    EXPECT_EQ(ui.Lis().caption, "LISTA DE TABELAS");
    EXPECT_EQ(ui.Lis().ListBox.items, items);

    ui.OnShow("TLisForm", [](Form& f) {
        auto& lis = static_cast<TLisForm&>(f);
        UserSelect(lis.ListBox, 2);
        EXPECT_FALSE(f.CloseRequested());
        PressEnter(f);
        EXPECT_TRUE(f.CloseRequested());
    });
    EXPECT_EQ(ui.PickFromList("", items, 0), 2);
    EXPECT_EQ(ui.Lis().caption, "TELA LISTA ITENS");

    ui.OnShow("TLisForm", [](Form& f) {
        auto& lis = static_cast<TLisForm&>(f);
        UserSelect(lis.ListBox, 0);
        lis.ListBox.onDblClick();
        EXPECT_TRUE(f.CloseRequested());
    });
    EXPECT_EQ(ui.PickFromList("LISTA", items, 2), 0);
}

// --- rename dialog ----------------------------------------------------------------

TEST_F(DialogsTest, RenameDialogFiltersTheNewNameAndConfirms) {
    const std::string mask = "cccccccccc;0; ";
    ui.OnShow("TAltNomForm", [this](Form& f) {
        auto& d = static_cast<TAltNomForm&>(f);
        EXPECT_EQ(f.ActiveControl(), &d.NovNomMaskEdit);
        EXPECT_FALSE(d.NomAtuMaskEdit.enabled);
        EXPECT_EQ(d.NomAtuMaskEdit.text, Pad("Velho", 10));
        EXPECT_EQ(d.NovNomMaskEdit.text, Pad("", 10));
        TypeText(f, d.NovNomMaskEdit, "No_vo");
        PressEnter(f);  // to the next control, like Tab
        EXPECT_EQ(f.ActiveControl(), &d.ConBitBtn);
        PressButton(ui, f, d.ConBitBtn);
    });
    const RenameResult r = ui.AskNewName("Altera nome do grupo", mask, Pad("Velho", 10));
    EXPECT_TRUE(r.confirmed);
    EXPECT_EQ(r.newName, Pad("Novo", 10));
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{W("Não é permitido utilizar o caracter (_) !")});
    EXPECT_EQ(ui.AltNom().caption, "Altera nome do grupo");

    ui.OnShow("TAltNomForm", [this](Form& f) {
        auto& d = static_cast<TAltNomForm&>(f);
        TypeText(f, d.NovNomMaskEdit, "Outro");
        PressButton(ui, f, d.CanBitBtn);
    });
    EXPECT_FALSE(ui.AskNewName("", mask, Pad("Velho", 10)).confirmed);
    EXPECT_EQ(ui.AltNom().caption, "TELA ALTERA NOME");
    // The close box is no confirmation either.
    ui.OnShow("TAltNomForm", [](Form& f) { RequestClose(f); });
    EXPECT_FALSE(ui.AskNewName("", mask, Pad("Velho", 10)).confirmed);
}

// --- items-in-use report ----------------------------------------------------------

TEST_F(DialogsTest, ItemsInUseReportSplitsTheMessageAndAddsTheRule) {
    const std::string rule(73, '=');
    const struct {
        std::string message;
        std::vector<std::string> lines;
    } cases[] = {
        {"A//B//C", {"A", "B", "C", rule, "item 1", "item 2"}},
        {"A//", {"A", rule, "item 1", "item 2"}},
        {"A", {"A", rule, "item 1", "item 2"}},
        {"//B", {"", "B", rule, "item 1", "item 2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        ui.OnShow("TIteVerForm", [this, &c](Form& f) {
            auto& r = static_cast<TIteVerForm&>(f);
            EXPECT_EQ(r.IteVerListBox.items, c.lines);
            PressButton(ui, f, r.BitBtn3);
        });
        ui.ShowItemsInUse(c.message, {"item 1", "item 2"});
        EXPECT_EQ(ui.shown.back(), "TIteVerForm");
    }
    EXPECT_EQ(ui.IteVer().caption, W("ATENÇÃO"));
}

TEST_F(DialogsTest, ItemsInUseReportPrintsAndSavesItsLines) {
    TIteVerForm& r = ui.IteVer();
    r.Fill("Grupo em uso//por:", {"Arroz", "Feij\xE3o"});
    const std::vector<std::string> lines = r.IteVerListBox.items;

    ui.printerOk = false;
    PressButton(ui, r, r.BitBtn1);
    EXPECT_TRUE(ui.jobs.empty());
    ui.printerOk = true;
    PressButton(ui, r, r.BitBtn1);
    ASSERT_EQ(ui.jobs.size(), 1u);
    EXPECT_EQ(ui.jobs[0].lines, lines);

    ui.saveName = (Scratch() / "lista.txt").string();
    PressButton(ui, r, r.BitBtn2);
    EXPECT_EQ(ui.saveFilters.back(), "txt|*.txt");
    EXPECT_EQ(ReadBytes(Scratch() / "lista.txt"),
              "Grupo em uso\r\npor:\r\n" + std::string(73, '=') + "\r\nArroz\r\nFeij\xE3o\r\n");

    // A folder that cannot exist (below a regular file): a clear message, no crash.
    WriteBytes(Scratch() / "arquivo", "x");
    ui.saveName = (Scratch() / "arquivo" / "lista.txt").string();
    PressButton(ui, r, r.BitBtn2);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind(W("Não foi possível gravar a lista no arquivo"), 0), 0u);

    // Cancelling the save dialog writes nothing and says nothing.
    ui.saveName.clear();
    PressButton(ui, r, r.BitBtn2);
    EXPECT_EQ(ui.messages.size(), 1u);
}

// --- progress window --------------------------------------------------------------

TEST_F(DialogsTest, ProgressWindowIsShownWithoutWaitingAndClosedByTheCaller) {
    // A clock that moves only when told: 40 ms between the positions below.
    ProgressPacer::TimePoint now{};
    ui.PaceProgressWith([&now] { return now; });
    ProgressSink& p = ui.Progress();
    p.Begin(50);
    EXPECT_EQ(ui.Con().ProgressBar.maximum, 50);
    now += std::chrono::milliseconds(40);
    p.SetPosition(20);
    EXPECT_EQ(ui.Con().ProgressBar.position, 20);
    now += std::chrono::milliseconds(40);
    p.SetPosition(70);
    EXPECT_EQ(ui.Con().ProgressBar.position, 50);
    p.End();
    p.Begin(0);
    EXPECT_EQ(ui.Con().ProgressBar.maximum, 100);
    EXPECT_EQ(ui.Con().ProgressBar.position, 0);
    p.End();
    p.End();
    EXPECT_EQ(ui.modeless,
              (std::vector<std::string>{"show TConForm", "update TConForm", "update TConForm",
                                        "close TConForm", "show TConForm", "close TConForm"}));
    EXPECT_EQ(ui.Con().caption, "Aguarde Processamento ...");
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(DialogsTest, ProgressWindowIsDrawnAgainOnlyWhenItsPercentageChangesAtMost30TimesASecond) {
    ProgressPacer::TimePoint now{};
    ui.PaceProgressWith([&now] { return now; });
    ProgressSink& p = ui.Progress();

    // 50,000 records read in no time: the bar follows, the window is not drawn again.
    p.Begin(50000);
    for (int i = 1; i <= 50000; ++i) {
        p.SetPosition(i);
    }
    EXPECT_EQ(ui.Con().ProgressBar.position, 50000);
    EXPECT_EQ(ui.modeless, (std::vector<std::string>{"show TConForm"}));

    // One record every millisecond: a new percentage every 500 records, each drawn
    // (after the drawing that Begin of the open window gives).
    ui.modeless.clear();
    p.Begin(50000);
    for (int i = 1; i <= 50000; ++i) {
        now += std::chrono::milliseconds(1);
        p.SetPosition(i);
    }
    EXPECT_EQ(std::count(ui.modeless.begin(), ui.modeless.end(), "update TConForm"), 101);

    // A new percentage every 10 ms: drawn no closer than 33 ms, at 40 and 80 ms.
    ui.modeless.clear();
    p.Begin(10);
    for (int i = 1; i <= 10; ++i) {
        now += std::chrono::milliseconds(10);
        p.SetPosition(i);
    }
    EXPECT_EQ(ui.modeless,
              (std::vector<std::string>{"update TConForm", "update TConForm", "update TConForm"}));
    p.End();
}

// --- help screen ------------------------------------------------------------------

TEST_F(DialogsTest, HelpPrintsANewPageAtEachPageBreakLine) {
    WriteBytes(HelpFilePath(Home()), W("Capítulo 1\r\ntexto\r\n<quebra página>\r\nCapítulo 2\r\n"
                                       "  <quebra página>  \r\nCapítulo 3\r\n"));
    ui.OnShow("TAjuForm", [this](Form& f) {
        auto& h = static_cast<TAjuForm&>(f);
        EXPECT_EQ(f.caption, "TELA AJUDA - VELMARO 4.0");
        EXPECT_EQ(h.AjuMemo.lines.size(), 6u);
        PressButton(ui, f, h.ImpBitBtn);
        PressButton(ui, f, h.BitBtn1);
        EXPECT_TRUE(f.CloseRequested());
    });
    ui.ShowHelp();
    // One job, so that every part goes to the printer or file chosen in the dialog.
    ASSERT_EQ(ui.jobs.size(), 1u);
    EXPECT_EQ(ui.jobs[0].lines, (std::vector<std::string>{W("Capítulo 1"), "texto", W("Capítulo 2"),
                                                          W("Capítulo 3")}));
    EXPECT_EQ(ui.jobs[0].pageStarts, (std::vector<std::size_t>{0, 2, 3}));
    EXPECT_EQ(ui.jobs[0].fontFamily, ui.Aju().AjuMemo.fontFamily);
    EXPECT_TRUE(ui.messages.empty());

    // Cancelling the print dialog prints nothing.
    ui.printerOk = false;
    PressButton(ui, ui.Aju(), ui.Aju().ImpBitBtn);
    EXPECT_EQ(ui.jobs.size(), 1u);
}

TEST_F(DialogsTest, HelpWritesBackOnlyAChangedText) {
    const fs::path file = HelpFilePath(Home());
    WriteBytes(file, "linha 1\nlinha 2\n");
    TAjuForm& h = ui.Aju();
    ui.ShowHelp();
    h.onDeactivate();
    EXPECT_EQ(ReadBytes(file), "linha 1\nlinha 2\n");  // unchanged: not rewritten
    h.AjuMemo.lines.push_back("linha 3");
    h.onDeactivate();
    EXPECT_EQ(ReadBytes(file), "linha 1\r\nlinha 2\r\nlinha 3\r\n");
}

TEST_F(DialogsTest, MissingHelpFileGivesAnEmptyTextAndAMessage) {
    TAjuForm& h = ui.Aju();
    h.AjuMemo.lines = {"antigo"};
    ui.ShowHelp();
    EXPECT_TRUE(h.AjuMemo.lines.empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("Ajuda.hlp"), std::string::npos);
    h.onDeactivate();
    EXPECT_FALSE(fs::exists(HelpFilePath(Home())));
}

// A file delivered with the program, in the data/ folder of the source tree.
fs::path DeliveredFile(const std::string& name) {
    const char* src = std::getenv("VELMARO_SOURCE_DIR");
    return fs::path(src != nullptr ? src : ".") / "data" / name;
}

TEST(DeliveredHelp, HasPageBreaksBetweenChaptersAndWindowsLines) {
    const std::string bytes = ReadBytes(DeliveredFile("Ajuda.hlp"));
    ASSERT_FALSE(bytes.empty());
    EXPECT_GE(SplitHelpPages(SplitLines(bytes)).size(), 3u);
    EXPECT_NE(bytes.find(W("Cria NOVA Tabela de Ingredientes")), std::string::npos);
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);          // CR LF lines
    EXPECT_NE(bytes.find(W("Configuração")), std::string::npos);  // Windows-1252, not UTF-8
}

}  // namespace
}  // namespace velmaro::test
