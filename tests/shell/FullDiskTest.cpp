// The table register and the help text on a disk that fails (no space left, permission
// denied): the screen shows its own message, the file is as before, and the screen goes
// on; with the disk whole again the same operation succeeds.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/Interaction.h"
#include "shell/AjuForm.h"
#include "shell/CadTabForm.h"
#include "storage/Cp1252.h"
#include "storage/Paths.h"
#include "support/FailingDisk.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;

const std::string kTables = Pad("Minha", 20) + "|" + Pad("Tabela propria", 65) + "|1|\r\n" +
                            Pad("Oficial", 20) + "|" + Pad("Tabela oficial", 65) + "|0|\r\n";

class FullDiskTest : public test::DataHomeTest {
  protected:
    FullDiskTest() {
        test::WriteBytes(TableListPath(Home()), kTables);
        test::WriteBytes(HelpFilePath(Home()), "Ajuda\r\n");
        before = test::DataFiles(Home());
    }
    void Restore() {
        fs::remove_all(Home() / "Dados");
        for (const auto& [path, bytes] : before) {
            test::WriteBytes(Home() / path, bytes);
        }
    }
    std::map<fs::path, std::string> before;
};

TEST_F(FullDiskTest, TableRegister) {
    struct Operation {
        const char* what;
        std::function<void(test::ScriptedUi&, TCadTabForm&)> act;
        const char* failed;
        const char* succeeded;
    };
    auto show = [](test::ScriptedUi& ui, TCadTabForm& form, const std::string& name) {
        ui.Type(form, form.TabMaskEdit, name);
        ui.MoveFocus(form, form.DesTabMaskEdit);
    };
    const Operation operations[] = {
        {"insertion",
         [&](test::ScriptedUi& ui, TCadTabForm& form) {
             show(ui, form, "Nova");
             ui.Type(form, form.DesTabMaskEdit, "Tabela nova");
             ui.AnswerYes();
             ui.Press(form, form.GraBitBtn);
         },
         "Erro durante inclusão!", "Inclusão efetuada com sucesso!"},
        {"alteration",
         [&](test::ScriptedUi& ui, TCadTabForm& form) {
             show(ui, form, "Minha");
             form.DesTabMaskEdit.Clear();
             ui.Type(form, form.DesTabMaskEdit, "Outra descricao");
             ui.AnswerYes();
             ui.Press(form, form.GraBitBtn);
         },
         "Erro durante a alteração!", "Alteração efetuada com sucesso!"},
        {"deletion",
         [&](test::ScriptedUi& ui, TCadTabForm& form) {
             show(ui, form, "Minha");
             ui.AnswerYes();
             ui.Press(form, form.ExcBitBtn);
         },
         "Erro durante exclusão!", "Exclusão efetuada com sucesso!"},
    };
    for (const Operation& op : operations) {
        for (const auto& [error, stays] : {std::pair{ENOSPC, false}, std::pair{EACCES, true}}) {
            SCOPED_TRACE(std::string(op.what) + (stays ? ", read-only" : ", no space"));
            const int writes =
                test::FailEachWriteInTurn(error, stays, [&](const test::FailingDisk& disk) {
                    test::ScriptedUi ui;
                    TCadTabForm form(ui, Home());
                    form.startPending = true;
                    ui.Activate(form);
                    op.act(ui, form);
                    if (disk.Failed()) {
                        EXPECT_EQ(ui.LastMessage(), W(op.failed));
                        EXPECT_EQ(test::DataFiles(Home()), before);
                        ui.Press(form, form.RetBitBtn);
                        EXPECT_TRUE(form.CloseRequested());
                    } else {
                        EXPECT_EQ(ui.LastMessage(), W(op.succeeded));
                        EXPECT_NE(test::DataFiles(Home()), before);
                        Restore();
                    }
                });
            EXPECT_EQ(writes, 1);
        }
    }
}

TEST_F(FullDiskTest, HelpText) {
    for (const auto& [error, stays] : {std::pair{ENOSPC, false}, std::pair{EACCES, true}}) {
        const int writes =
            test::FailEachWriteInTurn(error, stays, [&](const test::FailingDisk& disk) {
                test::ScriptedUi ui;
                TAjuForm help(ui, Home());
                help.onActivate();
                help.AjuMemo.lines.push_back("Uma linha nova");
                help.onDeactivate();  // the text is written when the screen loses the focus
                if (disk.Failed()) {
                    ASSERT_EQ(ui.Messages().size(), 1u);
                    EXPECT_EQ(
                        ui.LastMessage().rfind(W("Não foi possível gravar o arquivo de ajuda"), 0),
                        0u);
                    EXPECT_EQ(test::DataFiles(Home()), before);
                    // The edit is kept: the next loss of focus tries again.
                    EXPECT_EQ(help.AjuMemo.lines.back(), "Uma linha nova");
                } else {
                    EXPECT_TRUE(ui.Messages().empty());
                    EXPECT_EQ(test::ReadBytes(HelpFilePath(Home())), "Ajuda\r\nUma linha nova\r\n");
                    Restore();
                }
            });
        EXPECT_EQ(writes, 1);
    }
}

}  // namespace
}  // namespace velmaro
